// The internal temperature sensor's alarm: limits, calibration, message intervals, the
// alarm switches and the outputs linked to a too high or too low reading.
#pragma once

#include <memory>
#include <string_view>
#include <vector>

#include "pages/framework/PageBase.h"

namespace rtu {

// Control ids of the internal temperature and humidity pages (the same layout).
namespace climate {
inline constexpr int kHigh = 1001;        // normal upper limit
inline constexpr int kLow = 1002;         // normal lower limit
inline constexpr int kAdjust = 1003;      // calibration
inline constexpr int kCurrent = 1004;     // current reading (shown only)
inline constexpr int kInterval = 1005;    // minutes between alarm messages
inline constexpr int kRepeat = 1006;      // minutes between repeats while the alarm lasts
inline constexpr int kConfirm = 1007;     // alarm confirmation time, seconds
inline constexpr int kHysteresis = 1008;  // alarm hysteresis
inline constexpr int kUpload = 1009;      // upload trigger value
inline constexpr int kEnable = 1010;      // alarm enabled
inline constexpr int kUrgent = 1011;      // urgent alarm type
inline constexpr int kSound = 1012;       // may trigger the sound alarm
inline constexpr int kSms = 1013;         // may trigger SMS and call alarms (temperature only)
inline constexpr int kOutHigh = 1014;     // output linked when too high
inline constexpr int kOutLow = 1015;      // output linked when too low
inline constexpr int kClear = 3004;       // temperature page: sets both limits to 0
inline constexpr int kOutputs = 4;        // outputs 0-3; item 4 is "Nc"
inline constexpr int kNotConnected = 4;   // the "Nc" item

// The captions of the fields, with their label ids (1021 on).
struct Caption {
    int labelId;
    const char* key;
};

// The output list items: "Output 0" … "Output 3", then "Nc".
std::vector<TextRef> OutputItems();
// "H<n>" or "L<n>" (the text after "$TMPI" / "$HUMI"): selects output n (above 3: "Nc") in
// the too-high or too-low list.
void TakeOutputLink(CPageBase& page, std::string_view text);
inline constexpr int kUnitLabel0 = 1041;  // 1041-1044: the unit labels
inline constexpr int kUnitLabels = 4;
// The page frame and the labels both pages share (ids 1021-1031 and the unit labels).
std::vector<FieldDecl> ClimateLabels();
}  // namespace climate

class CPageTemp : public CPageBase {
public:
    CPageTemp(PageContext& context, const PageInfo& info);
    // Empties the inputs; the current reading keeps its text.
    void ClearFields() override;
};

}  // namespace rtu
