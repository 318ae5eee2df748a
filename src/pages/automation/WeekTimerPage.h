// The unit's seven weekly timers: each fires one action on a weekday at an hour and minute.
#pragma once

#include <memory>

#include "pages/framework/PageBase.h"

namespace rtu {

struct CWeekTimerPage {
    static constexpr int kTimers = 7;      // weekly timers 0-6
    static constexpr int kHourMax = 23;    // an hour of the day
    static constexpr int kMinuteMax = 59;  // a minute of the hour
    static constexpr int kDay0 = 1700;     // + k: weekday list of timer k
    static constexpr int kHour0 = 1710;    // + k
    static constexpr int kMinute0 = 1720;  // + k
    static constexpr int kAction0 = 1730;  // + k
    static constexpr int kWaitMs = 2000;   // ms a command line of this page waits

    static std::unique_ptr<CPageBase> Make(PageContext& context, const PageInfo& info);
};

}  // namespace rtu
