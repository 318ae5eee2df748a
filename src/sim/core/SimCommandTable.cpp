#include "sim/core/SimCommandTable.h"

#include <algorithm>
#include <array>
#include <cstdio>

#include "sim/core/SimText.h"

namespace rtu {

namespace {

using simtext::IsDigit;
using simtext::ParseDecimal;
using simtext::SplitCommas;
using K = ESimValueKind;
using R = ESimRowForm;

constexpr int kHexGroup = 4;         // hex digits per UCS-2 code unit
constexpr int kShortMaskDigits = 4;  // a 16-bit mask
constexpr unsigned kShortMaskMax = 0xFFFF;

bool IsDecimal(std::string_view text)
{
    if (text.empty() || text.size() > CSimCommandTable::kMaxDecimalChars) return false;
    if (text.front() == '-') text.remove_prefix(1);
    const std::size_t point = text.find('.');
    auto digits = [](std::string_view s) { return !s.empty() && std::all_of(s.begin(), s.end(), IsDigit); };
    return digits(text.substr(0, point)) && (point == std::string_view::npos || digits(text.substr(point + 1)));
}

bool IsPrintable(std::string_view text)
{
    return std::none_of(text.begin(), text.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte < 0x20 || byte == 0x7F;
    });
}

int HexDigitValue(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// Hex digits upper-case; nothing when one is no hex digit.
std::optional<std::string> UpperHex(std::string_view text)
{
    std::string upper(text);
    for (char& c : upper) {
        if (HexDigitValue(c) < 0) return std::nullopt;
        if (c >= 'a' && c <= 'f') c = static_cast<char>(c - 'a' + 'A');
    }
    return upper;
}

std::optional<std::string> Mask(std::string_view text)
{
    if (text.empty() || text.size() > CSimCommandTable::kMaxMaskDigits) return std::nullopt;
    unsigned long value = 0;
    for (char c : text) {
        const int digit = HexDigitValue(c);
        if (digit < 0) return std::nullopt;
        value = value * 16 + static_cast<unsigned long>(digit);
    }
    char out[16];
    std::snprintf(out, sizeof out, "%0*lX",
                  value > kShortMaskMax ? static_cast<int>(CSimCommandTable::kMaxMaskDigits) : kShortMaskDigits, value);
    return std::string(out);
}

// -1, 0 or 1 as the Modbus master writes a register's normal state.
std::optional<std::string> State(std::string_view text)
{
    const bool negative = !text.empty() && text.front() == '-';
    const auto n = ParseDecimal(negative ? text.substr(1) : text);
    if (!n || text.size() > CSimCommandTable::kMaxNumberDigits || *n > 1) return std::nullopt;
    return std::string(negative ? "0" : std::to_string(*n));
}

bool IsValue(const SSimField& f) { return f.kind != K::None; }
bool TakesText(const SSimField& f) { return IsValue(f) && f.kind != K::Constant; }

// How specific a rule's claim is: the characters of its keyword, written row and text after it.
std::size_t Specificity(const SSimRule& rule)
{
    std::size_t size = rule.keyword.size() + rule.after.size();
    if (rule.row.form == R::Fixed) size += rule.row.digits;
    if (rule.row.form == R::Hex) size += 1;
    return size;
}

bool Claims(const SSimRule& rule, std::string_view command)
{
    if (rule.exact) return command == rule.keyword;
    if (!command.starts_with(rule.keyword)) return false;
    std::string_view rest = command.substr(rule.keyword.size());
    switch (rule.row.form) {
    case R::Fixed:
        if (rest.size() < rule.row.digits || !std::all_of(rest.begin(), rest.begin() + rule.row.digits, IsDigit))
            return false;
        rest.remove_prefix(rule.row.digits);
        break;
    case R::Hex:
        if (rest.empty() || HexDigitValue(rest.front()) < 0) return false;
        rest.remove_prefix(1);
        break;
    case R::None: break;
    case R::UpTo:
    case R::List:
    case R::Each: return true;  // the row is read with the values
    }
    return rest.starts_with(rule.after);
}

// The rows a line names and the text of its values; nothing when the row is not one of the rule's.
std::optional<std::pair<std::vector<int>, std::string_view>> TakeRows(const SSimRule& rule, std::string_view args)
{
    const SSimRow& row = rule.row;
    std::vector<int> rows;
    switch (row.form) {
    case R::None:
    case R::Each: rows.push_back(0); break;
    case R::Fixed:
    case R::UpTo: {
        const std::size_t end = row.form == R::Fixed ? row.digits : args.find(rule.after);
        if (end == std::string_view::npos || args.size() < end) return std::nullopt;
        const auto n = ParseDecimal(args.substr(0, end), row.digits);
        if (!n || *n > row.max) return std::nullopt;
        rows.push_back(*n);
        args.remove_prefix(end);
        break;
    }
    case R::Hex: {
        const int n = args.empty() ? -1 : HexDigitValue(args.front());
        if (n < 0 || n > row.max) return std::nullopt;
        rows.push_back(n);
        args.remove_prefix(1);
        break;
    }
    case R::List:
        if (args.empty()) return std::nullopt;
        for (char c : args) {
            if (!IsDigit(c) || c - '0' > row.max) return std::nullopt;
            rows.push_back(c - '0');
        }
        args = {};
        break;
    }
    if (!args.starts_with(rule.after)) return std::nullopt;
    args.remove_prefix(rule.after.size());
    return std::pair{std::move(rows), args};
}

// The texts of the values: one digit per row for an Each rule, else comma-separated.
std::optional<std::vector<std::string_view>> SplitValues(const SSimRule& rule, std::string_view text)
{
    const auto count = static_cast<std::size_t>(std::count_if(rule.fields.begin(), rule.fields.end(), TakesText));
    if (rule.row.form == R::Each) {
        const auto rows = static_cast<std::size_t>(rule.row.max + 1);
        if (text.size() != count * rows) return std::nullopt;
        std::vector<std::string_view> digits;
        for (std::size_t i = 0; i < text.size(); ++i) digits.push_back(text.substr(i, 1));
        return digits;
    }
    if (count == 0) {
        if (!text.empty()) return std::nullopt;
        return std::vector<std::string_view>{};
    }
    if (count == 1) return std::vector<std::string_view>{text};
    std::vector<std::string_view> parts = SplitCommas(text);
    if (rule.lastTakesRest && parts.size() > count) {
        const std::size_t lastStart = static_cast<std::size_t>(parts[count - 1].data() - text.data());
        parts.resize(count);
        parts.back() = text.substr(lastStart);
    }
    if (parts.size() != count) return std::nullopt;
    return parts;
}

std::optional<std::vector<SSimAssignment>> ApplyForm(const SSimRule& rule, std::string_view args)
{
    const auto taken = TakeRows(rule, args);
    if (!taken) return std::nullopt;
    const auto texts = SplitValues(rule, taken->second);
    if (!texts) return std::nullopt;
    const bool each = rule.row.form == R::Each;
    const std::vector<int> rows = each ? std::vector<int>(static_cast<std::size_t>(rule.row.max + 1), 0) : taken->first;
    std::vector<SSimAssignment> out;
    std::size_t next = 0;  // the next value text
    for (const SSimField& field : rule.fields) {
        if (!IsValue(field)) break;
        for (std::size_t r = 0; r < rows.size(); ++r) {
            const int row = each ? static_cast<int>(r) : rows[r];
            auto value = field.kind == K::Constant ? std::optional(std::to_string(field.max))
                                                   : CSimCommandTable::NormaliseValue(field, (*texts)[next++]);
            if (!value) return std::nullopt;
            const int entry = row + rule.row.base + field.offset;
            if (field.join && !out.empty()) {
                out.back().value += "," + *value;
            } else if (!field.key.empty()) {
                out.push_back({CSimCommandTable::ExpandKey(field.key, entry, rule.row.keyDigits), *value, rule.group});
            }
            if (!field.list.empty())
                out.push_back({CSimCommandTable::ExpandKey(field.list, entry, rule.row.keyDigits), std::move(*value),
                               rule.group, field.item, field.items, field.creates});
        }
    }
    return out;
}

// Sets one item of a report that carries a comma-separated list.
bool StoreItem(CSimImage& image, const SSimAssignment& a)
{
    const auto old = image.Value(a.key);
    if (!old && !a.creates) return true;  // the unit keeps no such report for it
    std::vector<std::string> items;
    if (old)
        for (std::string_view item : SplitCommas(*old)) items.emplace_back(item);
    items.resize(static_cast<std::size_t>(a.items));
    items[static_cast<std::size_t>(a.item)] = a.value;
    std::string joined;
    for (std::size_t i = 0; i < items.size(); ++i) joined += (i ? "," : "") + items[i];
    return image.Set(a.key, joined, a.group);
}

}  // namespace

std::span<const SSimRule> CSimCommandTable::Rules()
{
    static const std::vector<SSimRule> all = [] {
        std::vector<SSimRule> rules;
        for (auto area :
             {UnitRules(), ServiceTestRules(), SystemRules(), IoRules(), NetRules(), AutomationRules(), SensorRules()})
            rules.insert(rules.end(), area.begin(), area.end());
        return rules;
    }();
    return all;
}

std::vector<const SSimRule*> CSimCommandTable::Claimants(std::span<const SSimRule> rules, std::string_view command)
{
    std::vector<const SSimRule*> best;
    std::size_t bestSize = 0;
    for (const SSimRule& rule : rules) {
        if (!Claims(rule, command)) continue;
        const std::size_t size = Specificity(rule);
        if (size < bestSize) continue;
        if (size > bestSize) best.clear();
        bestSize = size;
        best.push_back(&rule);
    }
    return best;
}

const SSimRule* CSimCommandTable::Find(std::string_view command)
{
    // The rules by the first letter of their keyword, most specific first: the first rule
    // that claims a line decides it.
    static const auto byLetter = [] {
        std::array<std::vector<const SSimRule*>, 256> rules;
        for (const SSimRule& rule : Rules())
            if (!rule.keyword.empty()) rules[static_cast<unsigned char>(rule.keyword.front())].push_back(&rule);
        for (auto& letter : rules)
            std::stable_sort(letter.begin(), letter.end(),
                             [](const auto* a, const auto* b) { return Specificity(*a) > Specificity(*b); });
        return rules;
    }();
    if (command.empty()) return nullptr;
    for (const SSimRule* rule : byLetter[static_cast<unsigned char>(command.front())])
        if (Claims(*rule, command)) return rule;
    return nullptr;
}

std::string CSimCommandTable::Sample(const SSimRule& rule)
{
    std::string line(rule.keyword);
    if (rule.row.form == R::Fixed || rule.row.form == R::UpTo) line.append(rule.row.digits, '0');
    if (rule.row.form == R::Hex) line += '0';
    return line.append(rule.after);
}

std::string CSimCommandTable::ExpandKey(std::string_view pattern, int entry, int digits)
{
    std::string key;
    for (char c : pattern) {
        if (c != '#') {
            key += c;
            continue;
        }
        char number[16];
        std::snprintf(number, sizeof number, "%0*d", digits, entry);
        key += number;
    }
    return key;
}

std::optional<std::string> CSimCommandTable::NormaliseValue(const SSimField& field, std::string_view text)
{
    switch (field.kind) {
    case K::None:
    case K::Constant: return std::nullopt;
    case K::Flag:
        if (text == "0" || text == "1") return std::string(text);
        return std::nullopt;
    case K::Number:
    case K::Output: {
        const auto value = ParseDecimal(text, field.length > 0 ? field.length : kMaxNumberDigits);
        if (!value || (*value > field.max && (field.kind != K::Output || *value != kNoOutput))) return std::nullopt;
        return std::to_string(*value);
    }
    case K::Digits: {
        const auto value = ParseDecimal(text, kMaxDigitsDigits);
        if (!value || *value > field.max) return std::nullopt;
        return std::string(text);
    }
    case K::State: return State(text);
    case K::Decimal:
        if (!IsDecimal(text)) return std::nullopt;
        return std::string(text);
    case K::Text:
    case K::Filled:
    case K::Item:
        if (text.size() > kMaxTextBytes || !IsPrintable(text)) return std::nullopt;
        if (field.kind == K::Filled && text.empty()) return std::nullopt;
        if (field.kind == K::Item && text.find(',') != std::string_view::npos) return std::nullopt;
        return std::string(text);
    case K::Ucs2Hex:
        if (text.size() > kMaxHexChars || text.size() % kHexGroup != 0) return std::nullopt;
        return UpperHex(text);
    case K::Mask: return Mask(text);
    case K::Hex:
        if (text.size() != field.length) return std::nullopt;
        return UpperHex(text);
    case K::Codes:
        if (text.size() != field.length ||
            !std::all_of(text.begin(), text.end(), [&](char c) { return IsDigit(c) && c - '0' <= field.max; }))
            return std::nullopt;
        return std::string(text);
    }
    return std::nullopt;
}

std::optional<std::vector<SSimAssignment>> CSimCommandTable::Apply(const SSimRule& rule, std::string_view args)
{
    for (const SSimRule* form = &rule; form; form = form->otherwise)
        if (auto out = ApplyForm(*form, args)) return out;
    return std::nullopt;
}

std::optional<std::vector<SSimAssignment>> CSimCommandTable::Parse(std::string_view command)
{
    const SSimRule* rule = Find(command);
    if (!rule || rule->action != ESimAction::Store) return std::nullopt;
    return Apply(*rule, command.substr(rule->keyword.size()));
}

bool CSimCommandTable::Store(CSimImage& image, const std::vector<SSimAssignment>& assignments)
{
    bool stored = true;
    for (const SSimAssignment& a : assignments)
        stored = (a.item >= 0 ? StoreItem(image, a) : image.Set(a.key, a.value, a.group)) && stored;
    return stored;
}

}  // namespace rtu
