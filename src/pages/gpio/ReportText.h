// Small readers of the unit's report texts shared by the I/O and analog pages.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace rtu::io {

// The character at `at`, or '\0' past the end.
inline char At(std::string_view text, std::size_t at) { return at < text.size() ? text[at] : '\0'; }

// A one-digit channel at `at` within [0, count); nullopt for anything else.
std::optional<int> ChannelAt(std::string_view text, std::size_t at, int count);

// A run of decimal digits from `at` (at most `maxDigits`): its value and where it ends;
// nullopt when no digit is there.
struct DigitRun {
    long long value = 0;
    std::size_t end = 0;  // index of the first character after the run
};
std::optional<DigitRun> DigitsAt(std::string_view text, std::size_t at, std::size_t maxDigits);

// The leading decimal number (sign, digits, point, exponent) as the C library reads it;
// 0 when there is none.
double LeadingDouble(std::string_view text);

// Whether a text is a plain decimal number: an optional "-", digits, an optional point with
// digits after it.
bool IsDecimal(std::string_view text);
// Whether a text holds digits only (and at least one).
bool IsWhole(std::string_view text);

// Splits at every separator character; each separator starts a new field.
std::vector<std::string> SplitFields(std::string_view text, std::string_view separators, std::size_t maxFields,
                                     std::size_t maxLength);

}  // namespace rtu::io
