// The small readers and tests of texts that everything shares: digits, whole and decimal
// numbers, phone numbers, a report's leading index, fields cut at separators. One
// definition each, so a page and a check never disagree on what a digit or a number is.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace rtu {

inline bool IsDigit(char c) { return c >= '0' && c <= '9'; }
inline bool IsHexDigit(char c) { return IsDigit(c) || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f'); }

// Digits only, and at least one ("007").
bool IsWhole(std::string_view text);
// A whole number with an optional sign ("-3", "+12", "70000").
bool IsInteger(std::string_view text);
// A decimal as the unit reports one: an optional "-", digits, an optional point with digits
// after it ("1.5", "-3", "0.0000").
bool IsDecimal(std::string_view text);
// A phone number: digits, with one optional "+" in front ("+4915112340003", "112"; not "+").
bool IsPhoneNumber(std::string_view text);

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

// The leading whole number after blanks, with its sign; 0 when there is none. Digit runs
// beyond an int's range saturate.
int LeadingNumber(std::string_view text);
// The leading decimal number (sign, digits, point, exponent) as the C library reads it;
// 0 when there is none.
double LeadingDouble(std::string_view text);

// A report text that starts with an index: up to `maxDigits` digits, then one separating
// character, then the text. Without digits there is no index and the text starts after one
// character.
struct IndexedText {
    std::optional<long long> index{};
    std::string_view text{};
};
IndexedText SplitIndexed(std::string_view text, std::size_t maxDigits);

// Splits at every separator character; each separator starts a new field (two in a row give
// an empty field). At most `maxFields` fields, each cut to `maxLength` characters.
std::vector<std::string> SplitFields(std::string_view text, std::string_view separators, std::size_t maxFields,
                                     std::size_t maxLength);

}  // namespace rtu
