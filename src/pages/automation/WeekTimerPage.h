// The unit's seven weekly timers: each fires one action on a weekday at an hour and minute.
#pragma once

#include <memory>

#include "pages/framework/PageBase.h"

namespace rtu {

struct CWeekTimerPage {
    static constexpr int kTimers = 7;  // weekly timers 0-6
    // The controls of timer k are these ids + k: its weekday list, hour, minute and action.
    static constexpr int kDay0 = 1700, kHour0 = 1710, kMinute0 = 1720, kAction0 = 1730;
    static constexpr int kWaitMs = 2000;  // ms a command line of this page waits

    static std::unique_ptr<CPageBase> Make(PageContext& context, const PageInfo& info);
};

}  // namespace rtu
