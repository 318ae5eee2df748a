#include "pages/framework/FieldCheck.h"

#include <algorithm>
#include <charconv>

namespace rtu {
namespace {

// Characters of a UTF-8 text (continuation bytes don't start one).
std::size_t CharCount(std::string_view text)
{
    return static_cast<std::size_t>(
        std::count_if(text.begin(), text.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsHex(char c) { return IsDigit(c) || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f'); }

std::string CheckChars(CharRule rule, std::string_view text)
{
    switch (rule) {
    case CharRule::Any: return {};
    case CharRule::Digits:
        return std::all_of(text.begin(), text.end(), IsDigit) ? std::string{} : "Only the digits 0-9 are allowed.";
    case CharRule::Hex:
        return std::all_of(text.begin(), text.end(), IsHex) ? std::string{}
                                                            : "Only hexadecimal digits (0-9, A-F) are allowed.";
    }
    return {};
}

std::string CheckRange(const FieldDecl& f, std::string_view text)
{
    const std::string wanted =
        "Enter a whole number from " + std::to_string(f.minValue) + " to " + std::to_string(f.maxValue) + ".";
    if (text.empty()) return {};  // nothing typed and nothing reported: the page's load state decides
    long long n = 0;
    const char* end = text.data() + text.size();
    const auto [at, ec] = std::from_chars(text.data(), end, n);
    if (ec != std::errc{} || at != end) return wanted;
    if (n < f.minValue || n > f.maxValue) return std::string(text) + " is out of range. " + wanted;
    return {};
}

bool Writes(const FieldDecl& f)
{
    return (f.write.format || f.write.compose || f.write.partOf != 0) && !f.write.reportOnly;
}

// The fixed text of a format before its first conversion ("%%CC%s\r" -> "%CC").
std::string Keyword(const char* format)
{
    std::string out;
    for (const char* p = format; *p; ++p) {
        if (*p != '%') {
            if (*p == '\r' || *p == '\n') break;
            out += *p;
            continue;
        }
        if (p[1] != '%') break;
        out += '%';
        ++p;
    }
    return out;
}

}  // namespace

std::string CheckFieldValue(const FieldDecl& f, const FieldValue& value)
{
    if (!Writes(f) || !f.visible || f.readOnly || !HoldsText(f.kind) || f.kind == FieldKind::Value) return {};
    return CheckTypedValue(f, value.text);
}

std::string CheckTypedValue(const FieldDecl& f, std::string_view text)
{
    if (f.kind == FieldKind::Number && f.maxValue > f.minValue)
        if (std::string why = CheckRange(f, text); !why.empty()) return why;
    if (std::string why = CheckChars(f.chars, text); !why.empty()) return why;
    if (f.maxLength > 0 && CharCount(text) > static_cast<std::size_t>(f.maxLength))
        return "At most " + std::to_string(f.maxLength) + " characters are allowed.";
    return {};
}

std::vector<FieldProblem> CheckPage(const CPageBase& page)
{
    std::vector<FieldProblem> out;
    for (const FieldDecl& f : page.Fields()) {
        const FieldValue* v = page.FindValue(f.id);
        if (std::string why = CheckFieldValue(f, v ? *v : page.ValueOf(f.id)); !why.empty())
            out.push_back({f.id, FieldCaption(page, f), std::move(why)});
    }
    return out;
}

std::string DescribeProblems(const std::vector<FieldProblem>& problems)
{
    std::string out;
    for (const FieldProblem& p : problems) {
        if (!out.empty()) out += '\n';
        out += p.caption + ": " + p.reason;
    }
    return out;
}

std::string FieldCaption(const CPageBase& page, const FieldDecl& f)
{
    // Without a catalog text the fixed text stands in, then the catalog key itself.
    auto own = [&page](const FieldDecl& row) {
        std::string text = page.Resolve(row.caption);
        if (text.empty()) text = row.caption.text;
        return text.empty() ? row.caption.key : text;
    };
    if (std::string text = own(f); !text.empty()) return text;
    const FieldDecl* before = nullptr;
    for (const FieldDecl& row : page.Fields()) {
        if (&row == &f) break;
        if (row.kind != FieldKind::Button && row.id != ctl::kFrame && !own(row).empty()) before = &row;
    }
    if (before) return own(*before);
    const std::string keyword = f.write.format ? Keyword(f.write.format) : std::string{};
    return keyword.empty() ? "control " + std::to_string(f.id) : keyword;
}

std::string PageCaption(const CPageBase& page)
{
    if (const FieldDecl* frame = page.FindField(ctl::kFrame)) {
        std::string text = page.Resolve(frame->caption);
        if (text.empty()) text = frame->caption.text;
        if (!text.empty()) return text;
    }
    if (page.Info()->itemKey)
        if (std::string text = page.Tr("TABS", page.Info()->itemKey); !text.empty()) return text;
    return page.ClassName();
}

std::vector<const FieldDecl*> RowsOfLine(const CPageBase& page, std::string_view line, LineMatch match)
{
    while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.remove_suffix(1);
    auto withParts = [&page](const FieldDecl& owner) {
        std::vector<const FieldDecl*> rows{&owner};
        for (const FieldDecl& f : page.Fields())
            if (f.write.partOf == owner.id && &f != &owner) rows.push_back(&f);
        return rows;
    };
    for (const FieldDecl& f : page.Fields()) {
        if (match != LineMatch::Exact || !Writes(f) || f.write.partOf != 0) continue;
        std::optional<std::string> written = page.WriteLine(f);
        if (!written) continue;
        std::string_view w = *written;
        while (!w.empty() && (w.back() == '\r' || w.back() == '\n')) w.remove_suffix(1);
        if (w == line) return withParts(f);
    }
    const FieldDecl* best = nullptr;
    std::size_t bestLength = 0;
    for (const FieldDecl& f : page.Fields()) {
        if (match != LineMatch::Keyword || !Writes(f) || !f.write.format) continue;
        const std::string keyword = Keyword(f.write.format);
        if (keyword.size() > bestLength && line.substr(0, keyword.size()) == keyword) {
            best = &f;
            bestLength = keyword.size();
        }
    }
    return best ? withParts(*best) : std::vector<const FieldDecl*>{};
}

}  // namespace rtu
