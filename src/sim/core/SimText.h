// Text helpers the simulated unit's command rules share.
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

namespace rtu::simtext {

inline constexpr std::size_t kMaxDecimalDigits = 9;  // more digits could overflow an int

inline bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// A whole decimal number of at most `maxDigits` digits; nothing for anything else.
inline std::optional<int> ParseDecimal(std::string_view text, std::size_t maxDigits = kMaxDecimalDigits)
{
    if (text.empty() || text.size() > maxDigits || maxDigits > kMaxDecimalDigits) return std::nullopt;
    int value = 0;
    for (char c : text) {
        if (!IsDigit(c)) return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}

// The comma-separated parts of `text` (one empty part for an empty text).
inline std::vector<std::string_view> SplitCommas(std::string_view text)
{
    std::vector<std::string_view> parts;
    while (true) {
        const std::size_t comma = text.find(',');
        parts.push_back(text.substr(0, comma));
        if (comma == std::string_view::npos) return parts;
        text.remove_prefix(comma + 1);
    }
}

}  // namespace rtu::simtext
