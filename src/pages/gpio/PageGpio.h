// The digital inputs and outputs: the alarm type of each input, the function of each output,
// urgent and siren inputs, retained outputs, the input-1 button option, the siren time, and
// a live list of input and output states. The form holds 12 inputs and 8 outputs; the unit
// has inputs 0-3 and outputs 0-3, so the others are hidden: they still follow reports, and
// only inputs 0-3 and outputs 0-3 are written back.
#pragma once

#include <memory>

#include "pages/framework/PageBase.h"

namespace rtu {

class CPageGpio : public CPageBase {
public:
    static constexpr int kInputs = 12;            // inputs on the form
    static constexpr int kOutputs = 8;            // outputs on the form
    static constexpr int kUnitChannels = 4;       // inputs and outputs the unit has (and the save writes)
    static constexpr int kFlagInputs = 8;         // inputs the urgent, sound and counter reports can name
    static constexpr int kTypes = 5;              // input types and output functions, codes 0-4
    static constexpr int kMaxChannelDigits = 11;  // digits read for an input or status channel

    // Per input n: type combo, urgent, sound and counter check boxes, label.
    static constexpr int kInputType[kInputs] = {1024, 1026, 1027, 1028, 1029, 1030, 1034, 1035, 1036, 1037, 1038, 1039};
    static constexpr int kInputLabel[kInputs] = {1129, 1130, 1131, 1132, 1133, 1134,
                                                 1135, 1136, 1144, 1145, 1146, 1147};
    static constexpr int kUrgent0 = 1302;   // 1302-1313
    static constexpr int kSound0 = 1376;    // 1376-1387
    static constexpr int kCounter0 = 1388;  // 1388-1399, display only
    // Per output n: function combo, label.
    static constexpr int kOutputType[kOutputs] = {1025, 1031, 1032, 1033, 1040, 1041, 1042, 1043};
    static constexpr int kOutputLabel[kOutputs] = {1137, 1138, 1139, 1140, 1148, 1149, 1150, 1151};

    // The boxes of the form: inputs, outputs, others, status.
    static constexpr int kInputGroup = 1141, kOutputGroup = 1142, kOthersGroup = 1426, kStatusGroup = 1143;
    // Column titles over the inputs' urgent, sound and counter boxes.
    static constexpr int kUrgentTitle = 1428, kSoundTitle = 1429, kCounterTitle = 1430;
    // Others: keep outputs, input 1 as a button, the siren time and its label.
    static constexpr int kKeepOutputs = 1226, kInput1Button = 1103, kSirenTime = 1317, kSirenLabel = 1321;
    // Counting as the unit reports it: display only, hidden.
    static constexpr int kCounterAuto = 1104, kCounterTime = 1562, kCounterTimeLabel = 1561;
    static constexpr int kStatus = 1065;  // list of status lines

    static constexpr int kSirenMax = 65535;              // the siren time is a 16-bit number of seconds
    static constexpr std::size_t kMaxStatusLines = 500;  // status lines kept; the oldest go first

    CPageGpio(PageContext& context, const PageInfo& info);

    // A routed report (one handler for every key of the page).
    void TakeReport(const RouteHit& hit);

private:
    void TakeStatusLine(std::string_view text);
};

}  // namespace rtu
