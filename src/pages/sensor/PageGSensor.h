// The motion sensor that raises a video call alarm.
#pragma once

#include <memory>

#include "pages/framework/PageBase.h"

namespace rtu {

struct CPageGSensor {
    static constexpr int kVideoCall = 1001;     // video call alarm
    static constexpr int kRecord = 1002;        // local recording after a trigger
    static constexpr int kChannel = 1003;       // video alarm channel: item 0 is channel 1
    static constexpr int kMinutes = 1004;       // alarm interval, minutes
    static constexpr int kStep = 1005;          // detection sensitivity
    static constexpr std::size_t kCharAt = 12;  // "$GSENSORxxx" lines: the value character
    static constexpr std::size_t kStepAt = 13;  // "$GSENSORSTEP" line: the sensitivity
    static std::unique_ptr<CPageBase> Make(PageContext& context, const PageInfo& info);
};

}  // namespace rtu
