// The pulse counters 0 and 1: detection timer, units per pulse, upload timer, daily report
// time, upload threshold, the automatic upload mode, and each counter's current value. The
// save is not framed and reloads the page afterwards; the page has no profile section.
#pragma once

#include <memory>

#include "pages/framework/PageBase.h"

namespace rtu {

struct CPageCounter {
    static constexpr int kCounters = 2;
    // Per counter 0 / 1.
    static constexpr int kDetect[kCounters] = {1501, 1502};  // detection timer, seconds
    static constexpr int kValue[kCounters] = {1507, 1508};   // current value, read-only
    static constexpr int kUnits[kCounters] = {1503, 1504};   // units per pulse
    static constexpr int kUpload[kCounters] = {1505, 1506};  // upload timer, minutes
    static constexpr int kHour[kCounters] = {1509, 1511};    // daily report hour
    static constexpr int kMinute[kCounters] = {1510, 1512};  // daily report minute
    static constexpr int kThreshold[kCounters] = {1513, 1514};
    static constexpr int kAutoUpload = 1552;  // hidden
    static constexpr int kGroup = 1500;       // the group box around the counters

    static constexpr int kWaitMs = 3000;
    static constexpr int kParamMax = 65535;  // timers and thresholds: 16-bit numbers
    static constexpr int kHourMax = 23;
    static constexpr int kMinuteMax = 59;

    static PageDecl Decl();
    static std::unique_ptr<CPageBase> Make(PageContext& context, const PageInfo& info);
    // A "$COUNTER_" report: the text after the key names the field and carries its value.
    static void TakeReport(CPageBase& page, const RouteHit& hit);
};

}  // namespace rtu
