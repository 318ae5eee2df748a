// One line the unit heard or said, with its time, for the trace file.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace rtu {

struct SSimTraceEntry {
    std::int64_t ms = 0;   // ms since the unit started
    char direction = '<';  // '<' received, '>' sent
    std::string text;      // the line without its terminator, raw bytes

    // "<ms> < line" or "<ms> > line", with non-printable bytes escaped.
    std::string Format() const;
    // Backslash becomes "\\", bytes outside 0x20..0x7E become "\xNN".
    static std::string Escape(std::string_view bytes);
};

}  // namespace rtu
