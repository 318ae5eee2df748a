// Interlock actions: per output, what the unit does with it when an alarm source fires and
// when the alarm clears; the pulse length of pulse actions and two switches that keep the
// interlocks working while the system is disarmed.
#pragma once

#include <memory>

#include "pages/framework/PageBase.h"

namespace rtu {

struct CPageCio {
    static constexpr int kOutputs = 8;        // outputs 0-7; only 0-3 are shown
    static constexpr int kShownOutputs = 4;   // outputs with action boxes
    static constexpr int kLinkTypes = 7;      // items of an action box
    static constexpr int kAlarmSources = 20;  // items of an alarm-source box
    static constexpr int kPulseMax = 65535;   // the unit keeps the pulse time in 16 bits (seconds)

    static constexpr int kTitle = 1281;         // group box around the table
    static constexpr int kHeader0 = 1500;       // + 0..3: column headers T1-T4
    static constexpr int kRowLabel0 = 1510;     // + k: row label of output k
    static constexpr int kAlarmAction0 = 1520;  // + k (k 0-3): action when the alarm starts
    static constexpr int kClearAction0 = 1530;  // + k (k 0-3): action when the alarm clears
    static constexpr int kSource0 = 1540;       // + k (k 0-7): alarm source of output k
    static constexpr int kPulse = 1550;         // pulse time in seconds
    static constexpr int kDisarm = 1551;        // interlocks also while disarmed
    static constexpr int kUrgentDisarm = 1552;  // 24-hour zone interlocks while disarmed

    static constexpr int kWaitMs = 3000;  // ms a command line of this page waits

    static std::unique_ptr<CPageBase> Make(PageContext& context, const PageInfo& info);
};

}  // namespace rtu
