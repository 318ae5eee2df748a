#include "session/JsonText.h"

#include <array>
#include <charconv>
#include <cstdint>

#include <nlohmann/json.hpp>

namespace rtu {

namespace {

constexpr std::size_t kIndent = 2;

// How a byte of a text goes into a JSON string: as it is, escaped (a control character, a
// quote, a backslash), or as part of a character beyond ASCII.
enum class ByteClass : std::uint8_t { Plain, Escaped, Wide };
constexpr auto kByteClass = [] {
    std::array<ByteClass, 256> classes{};
    for (std::size_t b = 0; b < 0x20; ++b) classes[b] = ByteClass::Escaped;
    classes['"'] = classes['\\'] = ByteClass::Escaped;
    for (std::size_t b = 0x80; b < classes.size(); ++b) classes[b] = ByteClass::Wide;
    return classes;
}();

// An escaped byte as nlohmann writes it: the short escapes JSON has, else \u00XX.
void AppendEscaped(std::string& out, unsigned char c)
{
    switch (c) {
    case '"': out += "\\\""; return;
    case '\\': out += "\\\\"; return;
    case '\b': out += "\\b"; return;
    case '\f': out += "\\f"; return;
    case '\n': out += "\\n"; return;
    case '\r': out += "\\r"; return;
    case '\t': out += "\\t"; return;
    default: {
        constexpr char kHex[] = "0123456789abcdef";
        const char escape[] = {'\\', 'u', '0', '0', kHex[c >> 4], kHex[c & 0xF]};
        out.append(escape, sizeof escape);
    }
    }
}

}  // namespace

void CJsonText::Indent(std::size_t level) { out_.append(level * kIndent, ' '); }

void CJsonText::Value()
{
    if (afterKey_) {
        afterKey_ = false;
        return;
    }
    if (open_.empty()) return;  // the outermost value
    // The separator, the line end and the indent in one piece when the indent is not too deep.
    static constexpr std::string_view kBreak = ",\n                                ";
    const bool first = open_.back() != 0;
    open_.back() = 0;
    const std::size_t indent = open_.size() * kIndent;
    if (indent + 2 <= kBreak.size()) {
        out_.append(kBreak.substr(first ? 1 : 0, indent + (first ? 1 : 2)));
    } else {
        out_ += first ? "\n" : ",\n";
        Indent(open_.size());
    }
}

void CJsonText::Open(char bracket)
{
    Value();
    out_ += bracket;
    open_.push_back(1);
}

void CJsonText::Close(char bracket)
{
    const bool empty = open_.back() != 0;
    open_.pop_back();
    if (!empty) {
        out_ += '\n';
        Indent(open_.size());
    }
    out_ += bracket;
}

void CJsonText::Key(std::string_view key)
{
    Value();
    AppendString(out_, key);
    out_ += ": ";
    afterKey_ = true;
}

void CJsonText::String(std::string_view text)
{
    Value();
    AppendString(out_, text);
}

void CJsonText::Number(long long n)
{
    Value();
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, n).ptr;
    out_.append(digits, end);
}

void CJsonText::AppendString(std::string& out, std::string_view text)
{
    const std::size_t start = out.size();
    out += '"';
    std::size_t plain = 0;  // start of the bytes not yet appended, which need no escape
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        const ByteClass kind = kByteClass[c];
        if (kind == ByteClass::Plain) continue;
        if (kind == ByteClass::Wide) {
            // Text beyond ASCII goes through nlohmann's own writer, which knows which byte
            // sequences are UTF-8 and what replaces the others.
            out.resize(start);
            out += nlohmann::json(std::string(text)).dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
            return;
        }
        out.append(text, plain, i - plain);
        plain = i + 1;
        AppendEscaped(out, c);
    }
    out.append(text, plain);
    out += '"';
}

}  // namespace rtu
