// The unit's machine timers: six clock timers (hour and minute every day), four timers every
// N minutes and four every N seconds, each firing one action of the unit.
#pragma once

#include <memory>

#include "pages/automation/TimerReports.h"
#include "pages/framework/PageBase.h"

namespace rtu {

struct CPageMTimer {
    static constexpr int kClocks = 6;  // clock timers 0-5
    static constexpr int kSpans = 4;   // minute- and second-interval timers 0-3
    static constexpr int kWeekly = 2;  // the hidden weekly group's timers 0-1
    static constexpr int kHourMax = kTimerHourMax, kMinuteMax = kTimerMinuteMax;
    static constexpr int kSpanMax = 65535;  // the unit keeps an interval in 16 bits

    // The group boxes of the clock, minute-interval and second-interval timers, and the hidden
    // group of two weekly timers.
    static constexpr int kClockGroup = 1600, kMinuteGroup = 1601, kSecondGroup = 1602, kWeekGroup = 1603;
    // The controls of timer k are these ids + k: its row label, then its settings.
    static constexpr int kClockLabel0 = 1610, kClockHour0 = 1620, kClockMinute0 = 1630, kClockAction0 = 1640;
    static constexpr int kMinuteLabel0 = 1650, kMinuteSpan0 = 1655, kMinuteAction0 = 1660;
    static constexpr int kSecondLabel0 = 1665, kSecondSpan0 = 1670, kSecondAction0 = 1675;
    // The hidden weekly timer k has no row label.
    static constexpr int kWeekDay0 = 1680, kWeekHour0 = 1682, kWeekMinute0 = 1684, kWeekAction0 = 1686;

    static constexpr int kWaitMs = 2000;  // ms a command line of this page waits

    static std::unique_ptr<CPageBase> Make(PageContext& context, const PageInfo& info);
};

}  // namespace rtu
