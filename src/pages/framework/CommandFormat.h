// Command lines from declared formats. A format is printf-like ("%%CS%d%s\r", "%%DINPRIO=%d,%4.4x,%4.4x\r")
// but comes from a table, not from the code, so it is checked against its arguments here:
// a conversion whose argument is missing or of the other type gives no line at all.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <variant>

namespace rtu {

using CommandArg = std::variant<long long, std::string>;

// The formatted line; nullopt when the format and the arguments do not agree. Conversions:
// d, x, X (numbers), s (texts), with flags "-0 +#", width and precision; "%%" is one '%'.
std::optional<std::string> FormatCommand(const char* format, std::span<const CommandArg> args);

// The conversion letters of a format in order ("%%UP%d\r" -> "d").
std::string ConversionsOf(const char* format);

// The literal start of a one-value write format ("%%UB%s\r" -> "%UB"); empty for others.
std::string FormatKey(const char* format);

}  // namespace rtu
