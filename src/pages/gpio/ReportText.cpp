#include "pages/gpio/ReportText.h"

#include <cstdlib>

namespace rtu::io {
namespace {
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
}  // namespace

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

double LeadingDouble(std::string_view text)
{
    const std::string copy(text);  // strtod needs a terminated string
    return std::strtod(copy.c_str(), nullptr);
}

bool IsDecimal(std::string_view text)
{
    if (!text.empty() && text.front() == '-') text.remove_prefix(1);
    const std::size_t point = text.find('.');
    const std::string_view whole = text.substr(0, point);
    if (!IsWhole(whole)) return false;
    return point == std::string_view::npos || IsWhole(text.substr(point + 1));
}

bool IsWhole(std::string_view text)
{
    if (text.empty()) return false;
    for (char c : text)
        if (!IsDigit(c)) return false;
    return true;
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

}  // namespace rtu::io
