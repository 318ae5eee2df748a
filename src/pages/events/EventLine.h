// One alarm or restore event as the unit reports it: a line holding "$:" with double-quoted
// fields, and the row of the event list made from it.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace rtu {

inline constexpr int kEventColumns = 6;
using EventRow = std::array<std::string, kEventColumns>;

struct EventLineRules {
    static constexpr std::size_t kFieldMax = 127;  // characters kept of one quoted field
    static constexpr int kTimeField = 6;           // the field shown with the PC's time
};

// Whether a received line is an event line.
inline bool IsEventLine(std::string_view line) { return line.find("$:") != std::string_view::npos; }

// The list row of an event line. `pcTime` is the local time "hh:mm:ss" when it arrived.
// Column 0: source, kind and SMS mark joined; columns 1-4: fields 2-5; column 5: field 6 and
// the time in parentheses (empty when the line has no field 6).
EventRow ParseEventLine(std::string_view line, std::string_view pcTime);

// The local time of day as "hh:mm:ss".
std::string LocalTimeOfDay();

}  // namespace rtu
