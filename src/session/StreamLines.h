// Lines the unit sends by itself, outside the reply to any command: the real-time
// temperature records it streams while it measures, and its alarm and restore events. They
// are listed and logged as usual, but they never answer a command, end a wait or keep one going.
#pragma once

#include <string_view>

namespace rtu {

// A line of real-time temperature records or an event line.
bool IsStreamLine(std::string_view line);

// A parameter report of a dump reply ("$" or "*" first) that is no stream line.
bool IsParameterReport(std::string_view line);

}  // namespace rtu
