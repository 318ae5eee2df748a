// The unit's machine timers: six clock timers (hour and minute every day), four timers every
// N minutes and four every N seconds, each firing one action of the unit.
#pragma once

#include <memory>

#include "pages/framework/PageBase.h"

namespace rtu {

struct CPageMTimer {
    static constexpr int kClocks = 6;       // clock timers 0-5
    static constexpr int kSpans = 4;        // minute- and second-interval timers 0-3
    static constexpr int kWeekly = 2;       // the hidden weekly group's timers 0-1
    static constexpr int kHourMax = 23;     // an hour of the day
    static constexpr int kMinuteMax = 59;   // a minute of the hour
    static constexpr int kSpanMax = 65535;  // the unit keeps an interval in 16 bits

    static constexpr int kClockGroup = 1600;     // group box of the clock timers
    static constexpr int kMinuteGroup = 1601;    // group box of the minute-interval timers
    static constexpr int kSecondGroup = 1602;    // group box of the second-interval timers
    static constexpr int kWeekGroup = 1603;      // hidden group of two weekly timers
    static constexpr int kClockLabel0 = 1610;    // + k: row label of clock timer k
    static constexpr int kClockHour0 = 1620;     // + k
    static constexpr int kClockMinute0 = 1630;   // + k
    static constexpr int kClockAction0 = 1640;   // + k
    static constexpr int kMinuteLabel0 = 1650;   // + k: row label of minute-interval timer k
    static constexpr int kMinuteSpan0 = 1655;    // + k
    static constexpr int kMinuteAction0 = 1660;  // + k
    static constexpr int kSecondLabel0 = 1665;   // + k: row label of second-interval timer k
    static constexpr int kSecondSpan0 = 1670;    // + k
    static constexpr int kSecondAction0 = 1675;  // + k
    static constexpr int kWeekDay0 = 1680;       // + k: hidden weekly timer k's weekday
    static constexpr int kWeekHour0 = 1682;      // + k
    static constexpr int kWeekMinute0 = 1684;    // + k
    static constexpr int kWeekAction0 = 1686;    // + k

    static constexpr int kWaitMs = 2000;  // ms a command line of this page waits

    static std::unique_ptr<CPageBase> Make(PageContext& context, const PageInfo& info);
};

}  // namespace rtu
