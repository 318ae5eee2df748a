#include "pages/framework/Ucs2Hex.h"

#include "link/Utf8.h"

#include <cstdint>
#include <vector>

namespace rtu {

namespace {

constexpr char32_t kReplacement = 0xFFFD;     // stands in for what can't be decoded
constexpr char32_t kMaxCodePoint = 0x10FFFF;  // highest Unicode scalar value
constexpr char16_t kHighSurrogateFirst = 0xD800;
constexpr char16_t kLowSurrogateFirst = 0xDC00;
constexpr char16_t kSurrogateEnd = 0xE000;  // one past the last surrogate
constexpr char32_t kSupplementaryFirst = 0x10000;
constexpr std::size_t kHexDigitsPerUnit = 4;  // "0041" per UTF-16 code unit
constexpr int kInvalidDigitValue = 15;        // what a non-hex character counts as

bool IsHighSurrogate(char32_t u) { return u >= kHighSurrogateFirst && u < kLowSurrogateFirst; }
bool IsLowSurrogate(char32_t u) { return u >= kLowSurrogateFirst && u < kSurrogateEnd; }
bool IsSurrogate(char32_t u) { return u >= kHighSurrogateFirst && u < kSurrogateEnd; }

// Reads one character from UTF-8 at `pos` and advances past it. An ill-formed sequence
// yields U+FFFD and advances past its longest valid-looking prefix (at least one byte),
// so every byte is looked at exactly once and nothing past the end is read.
char32_t NextUtf8(std::string_view s, std::size_t& pos)
{
    const auto b0 = static_cast<unsigned char>(s[pos++]);
    if (b0 < 0x80) return b0;

    int more = 0;
    char32_t cp = 0;
    unsigned char lo = 0x80;  // allowed range of the second byte (rules out overlongs and surrogates)
    unsigned char hi = 0xBF;
    if (b0 >= 0xC2 && b0 <= 0xDF) {
        more = 1;
        cp = b0 & 0x1F;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
        more = 2;
        cp = b0 & 0x0F;
        if (b0 == 0xE0) lo = 0xA0;
        if (b0 == 0xED) hi = 0x9F;
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
        more = 3;
        cp = b0 & 0x07;
        if (b0 == 0xF0) lo = 0x90;
        if (b0 == 0xF4) hi = 0x8F;
    } else {
        return kReplacement;  // stray continuation byte or a lead byte that can't start anything
    }

    for (int i = 0; i < more; ++i) {
        if (pos >= s.size()) return kReplacement;
        const auto b = static_cast<unsigned char>(s[pos]);
        const unsigned char first = i == 0 ? lo : 0x80;
        const unsigned char last = i == 0 ? hi : 0xBF;
        if (b < first || b > last) return kReplacement;  // leave this byte for the next character
        cp = (cp << 6) | (b & 0x3F);
        ++pos;
    }
    return cp;
}

int HexDigitValue(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return kInvalidDigitValue;  // lower-case letters included: the unit sends upper case
}

}  // namespace

std::string EncodeUcs2Hex(std::string_view utf8)
{
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::vector<char16_t> units;
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        char32_t cp = NextUtf8(utf8, pos);
        if (cp > kMaxCodePoint || IsSurrogate(cp)) cp = kReplacement;
        if (cp >= kSupplementaryFirst) {
            if (units.size() + 2 > kUcs2MaxUnits) break;  // never leave half a pair
            const char32_t v = cp - kSupplementaryFirst;
            units.push_back(static_cast<char16_t>(kHighSurrogateFirst + (v >> 10)));
            units.push_back(static_cast<char16_t>(kLowSurrogateFirst + (v & 0x3FF)));
        } else {
            if (units.size() + 1 > kUcs2MaxUnits) break;
            units.push_back(static_cast<char16_t>(cp));
        }
    }

    std::string hex;
    hex.reserve(units.size() * kHexDigitsPerUnit);
    for (char16_t u : units) {
        for (int shift = 12; shift >= 0; shift -= 4) hex += kDigits[(u >> shift) & 0xF];
    }
    return hex;
}

std::string DecodeUcs2Hex(std::string_view hex)
{
    std::vector<char16_t> units;
    // A character takes at most two units, so more than this many are never looked at.
    constexpr std::size_t kMaxUnitsRead = 2 * kUcs2DecodedChars;
    for (std::size_t i = 0; i + kHexDigitsPerUnit <= hex.size() && units.size() < kMaxUnitsRead;
         i += kHexDigitsPerUnit) {
        unsigned value = 0;
        for (std::size_t k = 0; k < kHexDigitsPerUnit; ++k)
            value = (value << 4) | static_cast<unsigned>(HexDigitValue(hex[i + k]));
        if (value == 0) break;  // the text ends at its terminating zero
        units.push_back(static_cast<char16_t>(value));
    }

    std::string out;
    std::size_t chars = 0;
    for (std::size_t i = 0; i < units.size() && chars < kUcs2DecodedChars; ++i, ++chars) {
        char32_t cp = units[i];
        if (IsHighSurrogate(cp) && i + 1 < units.size() && IsLowSurrogate(units[i + 1])) {
            cp = kSupplementaryFirst + ((cp - kHighSurrogateFirst) << 10) + (units[i + 1] - kLowSurrogateFirst);
            ++i;
        } else if (IsSurrogate(cp)) {
            cp = kReplacement;
        }
        AppendUtf8(out, cp);
    }
    return out;
}

}  // namespace rtu
