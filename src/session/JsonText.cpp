#include "session/JsonText.h"

#include <charconv>

#include <nlohmann/json.hpp>

namespace rtu {

namespace {

constexpr std::size_t kIndent = 2;

}  // namespace

void CJsonText::Indent(std::size_t level) { out_.append(level * kIndent, ' '); }

void CJsonText::Value()
{
    if (afterKey_) {
        afterKey_ = false;
        return;
    }
    if (open_.empty()) return;  // the outermost value
    out_ += open_.back() ? "\n" : ",\n";
    open_.back() = 0;
    Indent(open_.size());
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
    // Text beyond ASCII goes through nlohmann's own writer, which knows which byte sequences
    // are UTF-8 and what replaces the others; ASCII is escaped here as it escapes it.
    for (const char c : text)
        if (static_cast<unsigned char>(c) >= 0x80) {
            out += nlohmann::json(std::string(text)).dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
            return;
        }
    out += '"';
    std::size_t plain = 0;  // start of the bytes not yet appended, which need no escape
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        const char* escape = nullptr;
        switch (c) {
        case '"': escape = "\\\""; break;
        case '\\': escape = "\\\\"; break;
        case '\b': escape = "\\b"; break;
        case '\f': escape = "\\f"; break;
        case '\n': escape = "\\n"; break;
        case '\r': escape = "\\r"; break;
        case '\t': escape = "\\t"; break;
        default:
            if (static_cast<unsigned char>(c) >= 0x20) continue;
        }
        out.append(text, plain, i - plain);
        plain = i + 1;
        if (escape) {
            out += escape;
        } else {
            constexpr char kHex[] = "0123456789abcdef";
            out += "\\u00";
            out += kHex[(c >> 4) & 0xF];
            out += kHex[c & 0xF];
        }
    }
    out.append(text, plain);
    out += '"';
}

}  // namespace rtu
