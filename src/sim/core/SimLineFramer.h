// The unit's receive side: cuts the bytes it hears into lines (CR, LF or CR LF end a
// line; empty lines are nothing) and spots the setup-mode burst of twelve "%" sent
// without a terminator. A line is held up to kMaxLineBytes; the rest of a longer line
// is discarded and the line is reported as over-long.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

namespace rtu {

class CSimLineFramer {
public:
    static constexpr std::size_t kMaxLineBytes = 4096;  // longest line the unit holds
    static constexpr std::size_t kBurstLength = 12;     // "%" characters of the setup-mode burst

    enum class EKind {
        Line,      // a complete line, without its terminator
        Overlong,  // a line that exceeded kMaxLineBytes; text holds its first bytes
        Burst,     // the setup-mode burst
    };
    struct SEvent {
        EKind kind;
        std::string text;
        std::size_t discarded = 0;  // bytes dropped from an over-long line
    };

    // Takes one received byte; returns an event when the byte completes one.
    std::optional<SEvent> Feed(char byte);
    std::size_t Held() const { return line_.size(); }

private:
    std::string line_;
    bool onlyPercent_ = true;    // the held line consists of "%" characters only
    std::size_t discarded_ = 0;  // bytes dropped from the current line
};

}  // namespace rtu
