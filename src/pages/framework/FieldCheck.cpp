#include "pages/framework/FieldCheck.h"

#include <algorithm>
#include <cstring>

#include "pages/framework/CommandFormat.h"
#include "pages/framework/Ucs2Hex.h"

namespace rtu {
namespace {

// Characters of a UTF-8 text (continuation bytes don't start one).
std::size_t CharCount(std::string_view text)
{
    return static_cast<std::size_t>(
        std::count_if(text.begin(), text.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

// A text longer than the unit keeps; a text that travels hex-encoded comes back decoded to
// at most kUcs2DecodedChars characters, whatever its row says.
std::string TooLong(const FieldDecl& f, std::string_view text)
{
    const bool encoded = f.report.decode == Decode::Hex || f.encoded;
    std::size_t most = f.maxLength > 0 ? static_cast<std::size_t>(f.maxLength) : 0;
    if (encoded && (most == 0 || most > kUcs2DecodedChars)) most = kUcs2DecodedChars;
    if (most > 0 && CharCount(text) > most) return "At most " + std::to_string(most) + " characters are allowed.";
    return {};
}

constexpr const char* kMayRefuse = "The unit may refuse this: ";

bool IsHex(std::string_view text) { return std::all_of(text.begin(), text.end(), IsHexDigit); }

// What a character rule lets through, the hint that the unit may refuse a text that breaks
// it, and the refusal of such a text in a strict field.
struct RuleWords {
    bool (*keeps)(std::string_view) = nullptr;  // nullptr: every text
    const char* hint = "";
    const char* refusal = "";
};

RuleWords WordsOf(CharRule rule)
{
    switch (rule) {
    case CharRule::Any: break;
    case CharRule::Digits: return {IsWhole, "it expects the digits 0-9 only.", "Enter digits 0-9 only."};
    case CharRule::Phone:
        return {IsPhoneNumber, "it expects digits, with one \"+\" at the start.",
                "A phone number holds digits only, with one optional \"+\" in front (no spaces or other signs)."};
    case CharRule::Hex:
        return {IsHex, "it expects hexadecimal digits (0-9, A-F).", "Enter hexadecimal digits (0-9, A-F) only."};
    case CharRule::Decimal:
        return {IsDecimal, "it expects a number such as 10, -3 or 0.5.", "Enter a number such as 10, -3 or 0.5."};
    }
    return {};
}

// The words (`hint` or `refusal`) for a text that breaks the rule; empty when it keeps to it
// (an empty text keeps to every rule: the unit reported none).
std::string Broken(CharRule rule, std::string_view text, const char* RuleWords::*words)
{
    const RuleWords r = WordsOf(rule);
    if (text.empty() || !r.keeps || r.keeps(text)) return {};
    return r.*words;
}

std::string CharHint(CharRule rule, std::string_view text) { return Broken(rule, text, &RuleWords::hint); }

std::string RangeHint(const FieldDecl& f, std::string_view text)
{
    if (f.kind != FieldKind::Number || f.maxValue <= f.minValue || !IsInteger(text)) return {};
    const long long n = LeadingNumber(text);
    if (n >= f.minValue && n <= f.maxValue) return {};
    return "it takes " + std::to_string(f.minValue) + " to " + std::to_string(f.maxValue) + ".";
}

// Why a text breaks a strict field's character rule; empty when it keeps to it.
std::string StrictRefusal(CharRule rule, std::string_view text) { return Broken(rule, text, &RuleWords::refusal); }

bool StartsWithNumber(std::string_view text)
{
    const std::size_t sign = !text.empty() && (text[0] == '-' || text[0] == '+') ? 1 : 0;
    return IsDigit(At(text, sign));
}

// Whether the row puts its value on the line as a whole number ("%d"): a text there can't be sent as typed.
bool WritesNumber(const FieldDecl& f)
{
    return f.write.format && !f.write.compose && HoldsText(f.kind) && ConversionsOf(f.write.format) == "d";
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

// Whether the user can mend the row's value: rows that write nothing, hidden and read-only
// controls are not the user's.
bool UserMends(const FieldDecl& f)
{
    return Writes(f) && f.visible && !f.readOnly && HoldsText(f.kind) && f.kind != FieldKind::Value;
}

std::string CheckFieldValue(const FieldDecl& f, const FieldValue& value)
{
    if (UserMends(f)) return CheckTypedValue(f, value.text);
    // A hidden row holds what the unit reported, which is never refused; but a line break
    // would cut its line (a report can't carry one), and a text longer than the unit keeps
    // would come back cut.
    if (!Writes(f) || f.readOnly || !HoldsText(f.kind) || f.kind == FieldKind::Value) return {};
    const bool encoded = f.report.decode == Decode::Hex || f.encoded;
    if (!encoded && value.text.find_first_of("\r\n") != std::string::npos) return "A value may not hold a line break.";
    return TooLong(f, value.text);
}

std::string SeparatorsOf(const FieldDecl& f)
{
    if (f.separators) return f.separators;
    if (f.write.partOf != 0 || f.write.compose) return ",";
    if (!f.write.format || ConversionsOf(f.write.format) != "s") return {};
    // The character right after the text in its format ends it ("%%X%s,%d\r" -> ',').
    const char* conv = std::strstr(f.write.format, "%s");
    if (!conv) return {};
    const char next = conv[2];
    if (next == '\0' || next == '\r' || next == '\n' || next == '%') return {};
    return std::string(1, next);
}

std::string CheckTypedValue(const FieldDecl& f, std::string_view text, const char* separators)
{
    // A text the unit keeps hex-encoded reaches the line as hex digits only: a message of several
    // lines may hold its line breaks there. Everything else is one line on the unit.
    const bool encoded = f.report.decode == Decode::Hex || f.encoded;
    if (!(encoded && f.kind == FieldKind::MultiLine) && text.find_first_of("\r\n") != std::string_view::npos)
        return "A value may not hold a line break.";
    if (!encoded && std::any_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < ' '; }))
        return "A value may not hold control characters.";
    const std::string ends = separators ? std::string(separators) : SeparatorsOf(f);
    if (!encoded && !ends.empty())
        if (const std::size_t at = text.find_first_of(ends); at != std::string_view::npos)
            return std::string("A value may not hold \"") + text[at] + "\" here: it ends the value on the command line.";
    // Its leading number goes out ("12x" as the unit reported it goes as 12); without one it would go as 0.
    if (WritesNumber(f) && !text.empty() && !StartsWithNumber(text)) return "Enter a whole number such as 10 or -3.";
    if (std::string why = TooLong(f, text); !why.empty()) return why;
    if (f.strict) return StrictRefusal(f.chars, text);
    return {};
}

std::string ValueHint(const FieldDecl& f, std::string_view text)
{
    if (!UserMends(f)) return {};
    std::string why = RangeHint(f, text);
    if (why.empty() && !f.strict) why = CharHint(f.chars, text);
    return why.empty() ? why : kMayRefuse + why;
}

std::optional<FieldProblem> CheckEditorValues(const CPageBase& page, const RowEdit& edit)
{
    for (const RowEditorDecl& e : page.RowEditors()) {
        if (e.listId != edit.listId) continue;
        for (const FieldDecl& f : e.fields) {
            const auto it = edit.values.find(f.id);
            if (it == edit.values.end() || f.readOnly || f.kind == FieldKind::Value) continue;
            // A drop-down whose choice goes on a line must name one of its items.
            const bool writes = f.write.format || f.write.partOf != 0;
            if (HoldsSelection(f.kind) && writes &&
                (it->second.sel < 0 || (!f.items.empty() && it->second.sel >= static_cast<int>(f.items.size()))))
                return FieldProblem{f.id, FieldCaption(page, f), "Choose one of the items."};
            if (!HoldsText(f.kind)) continue;
            if (std::string why = CheckTypedValue(f, it->second.text, f.separators ? f.separators : e.separators);
                !why.empty())
                return FieldProblem{f.id, FieldCaption(page, f), std::move(why)};
        }
        return std::nullopt;
    }
    return std::nullopt;
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
