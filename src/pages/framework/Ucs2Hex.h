// Free texts (names, messages) travel to and from the unit as four upper-case hexadecimal
// digits per UTF-16 code unit, high byte first. The tool's own texts are UTF-8.
#pragma once

#include <string>
#include <string_view>

namespace rtu {

inline constexpr std::size_t kUcs2MaxUnits = 1024;     // longest text encoded, in UTF-16 units
inline constexpr std::size_t kUcs2DecodedChars = 150;  // longest decoded text, in characters (code points)

// "AB" -> "00410042".
std::string EncodeUcs2Hex(std::string_view utf8);
// "004100420043" -> "ABC"; a digit outside 0-9 and A-F counts as 15. The text ends at a
// zero unit and keeps at most kUcs2DecodedChars characters, a surrogate pair being one.
std::string DecodeUcs2Hex(std::string_view hex);

}  // namespace rtu
