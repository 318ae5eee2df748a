#include "sim/core/SimLineFramer.h"

namespace rtu {

std::optional<CSimLineFramer::SEvent> CSimLineFramer::Feed(char byte)
{
    if (byte == '\r' || byte == '\n') {
        std::optional<SEvent> event;
        if (discarded_ > 0) event = SEvent{EKind::Overlong, std::move(line_), discarded_};
        else if (!line_.empty()) event = SEvent{EKind::Line, std::move(line_), 0};
        line_.clear();
        onlyPercent_ = true;
        discarded_ = 0;
        return event;
    }
    if (line_.size() >= kMaxLineBytes) {
        ++discarded_;
        return std::nullopt;
    }
    line_ += byte;
    onlyPercent_ = onlyPercent_ && byte == '%';
    if (onlyPercent_ && line_.size() == kBurstLength) {
        line_.clear();
        return SEvent{EKind::Burst, std::string(kBurstLength, '%'), 0};
    }
    return std::nullopt;
}

}  // namespace rtu
