// The unit's general alarm behaviour: alarm message repeats, ring and answer options, the
// alarm memo, serial-port events, entry and exit delays, the sound-alarm delay, and which
// kinds of report the unit may drop.
#pragma once

#include <memory>

#include "pages/framework/PageBase.h"

namespace rtu {

// The page's controls and its declaration; the model is the generic page over them.
struct CPageAlarmParams {
    static constexpr int kRepeats = 1023;  // edit with spin 1014: alarm message repeats
    static constexpr int kAlarmRing = 1091, kAnswer = 1092, kAlarmMemo = 1100, kUartEvent = 1093;
    // The entry and exit delays are edits with the spins 1015 and 1016.
    static constexpr int kEntryDelay = 1036, kExitDelay = 1037, kSoundDelay = 1587;
    // Hidden; they follow their reports and are never written.
    static constexpr int kSpeakerMute = 1094, kMicMute = 1095;
    static constexpr int kReports = 1307;  // group box around the report-dropping boxes
    // The report-dropping boxes; temperature and counter are hidden, still written.
    static constexpr int kDropTemp = 1308, kDropId = 1309, kDropArm = 1310, kDropRssi = 1311;
    static constexpr int kDropMemo = 1312, kDropPower = 1313, kDropDin = 1314, kDropExtTemp = 1315;
    static constexpr int kDropCounter = 1316;
    static constexpr int kDropAnalog0 = 1303;  // 1303-1306: analog channels 0-3
    static constexpr int kAnalogChannels = 4;

    static constexpr int kWaitMs = 2000;  // ms a command line of this page waits
    // The spin buttons' range: their buddies hold repeat counts and delays in seconds, which
    // the unit keeps as 16-bit numbers; the buttons step within 0-100 and typing goes beyond.
    static constexpr int kSpinMin = 0;
    static constexpr int kSpinMax = 100;

    static PageDecl Decl();
    static std::unique_ptr<CPageBase> Make(PageContext& context, const PageInfo& info);
};

}  // namespace rtu
