#include "link/TextFields.h"

#include <algorithm>
#include <cstdlib>

namespace rtu {

bool IsWhole(std::string_view text) { return !text.empty() && std::all_of(text.begin(), text.end(), IsDigit); }

bool IsInteger(std::string_view text)
{
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) text.remove_prefix(1);
    return IsWhole(text);
}

bool IsDecimal(std::string_view text)
{
    if (!text.empty() && text.front() == '-') text.remove_prefix(1);
    const std::size_t point = text.find('.');
    if (!IsWhole(text.substr(0, point))) return false;
    return point == std::string_view::npos || IsWhole(text.substr(point + 1));
}

bool IsPhoneNumber(std::string_view text)
{
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    return IsWhole(text);
}

std::optional<int> ChannelAt(std::string_view text, std::size_t at, int count)
{
    const char c = At(text, at);
    if (!IsDigit(c) || c - '0' >= count) return std::nullopt;
    return c - '0';
}

std::optional<DigitRun> DigitsAt(std::string_view text, std::size_t at, std::size_t maxDigits)
{
    DigitRun run;
    run.end = at;
    while (run.end < text.size() && run.end - at < maxDigits && IsDigit(text[run.end]))
        run.value = run.value * 10 + (text[run.end++] - '0');
    if (run.end == at) return std::nullopt;
    return run;
}

int LeadingNumber(std::string_view text)
{
    constexpr long long kMax = 2147483647;  // an int's range; longer digit runs saturate
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r'))) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    long long value = 0;
    for (; i < text.size() && IsDigit(text[i]); ++i) value = std::min(value * 10 + (text[i] - '0'), kMax + 1);
    if (negative) return static_cast<int>(-value);
    return static_cast<int>(std::min(value, kMax));
}

double LeadingDouble(std::string_view text)
{
    const std::string copy(text);  // strtod needs a terminated string
    return std::strtod(copy.c_str(), nullptr);
}

IndexedText SplitIndexed(std::string_view text, std::size_t maxDigits)
{
    IndexedText out;
    const auto run = DigitsAt(text, 0, maxDigits);
    if (run) out.index = run->value;
    const std::size_t start = (run ? run->end : 0) + 1;  // skip the separating character
    out.text = start < text.size() ? text.substr(start) : std::string_view{};
    return out;
}

std::vector<std::string> SplitFields(std::string_view text, std::string_view separators, std::size_t maxFields,
                                     std::size_t maxLength)
{
    std::vector<std::string> fields(1);
    for (char c : text) {
        if (separators.find(c) != std::string_view::npos) {
            if (fields.size() == maxFields) break;
            fields.emplace_back();
        } else if (fields.back().size() < maxLength) {
            fields.back() += c;
        }
    }
    return fields;
}

}  // namespace rtu
