#include "sim/core/SimTrace.h"

#include <cstdio>

namespace rtu {

std::string SSimTraceEntry::Escape(std::string_view bytes)
{
    std::string out;
    out.reserve(bytes.size());
    for (char c : bytes) {
        auto byte = static_cast<unsigned char>(c);
        if (c == '\\') {
            out += "\\\\";
        } else if (byte < 0x20 || byte > 0x7E) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", byte);
            out += hex;
        } else {
            out += c;
        }
    }
    return out;
}

std::string SSimTraceEntry::Format() const { return std::to_string(ms) + ' ' + direction + ' ' + Escape(text); }

}  // namespace rtu
