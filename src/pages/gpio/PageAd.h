// The four analog inputs: alarm limits, scale and zero, offsets, input type, enable, urgent
// and sound flags, report step, alarm message delays, upload timer and current readings;
// the Reset of the limits, and the two-point calibration of a channel.
#pragma once

#include <array>
#include <memory>

#include "pages/framework/PageBase.h"

namespace rtu {

class CPageAd : public CPageBase {
public:
    static constexpr int kChannels = 4;
    // Per channel: its box, its enable box and calibration button,
    static constexpr int kChannelGroup[kChannels] = {1160, 1161, 1162, 1163};
    static constexpr int kEnable[kChannels] = {1154, 1155, 1156, 1157};
    static constexpr int kCalibrate[kChannels] = {1433, 1434, 1435, 1436};
    // … its alarm limits, offset and reading, gain and base,
    static constexpr int kLow[kChannels] = {1033, 1034, 1035, 1036}, kHigh[kChannels] = {1029, 1030, 1031, 1032};
    static constexpr int kOffset[kChannels] = {1042, 1043, 1048, 1049}, kReading[kChannels] = {1044, 1045, 1046, 1047};
    static constexpr int kScale[kChannels] = {1037, 1039, 1040, 1041}, kZero[kChannels] = {1229, 1230, 1231, 1232};
    // … its urgent and sound flags, report step and input type.
    static constexpr int kUrgent[kChannels] = {1300, 1301, 1302, 1303}, kSound[kChannels] = {1371, 1372, 1373, 1374};
    static constexpr int kStep[kChannels] = {1375, 1376, 1377, 1378}, kType[kChannels] = {1483, 1484, 1485, 1486};
    // Alarm messages (interval, repeat, confirmation delay) and uploads (timer, time span).
    static constexpr int kSmsInterval = 1279, kSmsRepeat = 1280, kConfirm = 1282;
    static constexpr int kUploadTimer = 1284, kUploadStart = 1286, kUploadEnd = 1287;
    static constexpr int kGroup = 1152, kReset = 1038;
    // The calibration dialog: signal range and its unit (0 mA, 1 V), actual range, the hidden
    // constant, "Version n", and its buttons.
    static constexpr int kCalSignalLow = 1444, kCalSignalHigh = 1445, kCalUnit = 1450, kUnitVolts = 1;
    static constexpr int kCalActualLow = 1447, kCalActualHigh = 1448, kCalConstant = 1451, kCalVersion = 1573;
    static constexpr int kEditorOk = 1, kEditorCancel = 2;

    static constexpr int kParamMax = 65535;  // delays and timers: 16-bit numbers

    CPageAd(PageContext& context, const PageInfo& info);

    // The calibration of channel n is the row editor of button kCalibrate[n].
    bool BeginEditRow(int listId, int row, RowEdit& edit) override;
    std::optional<FieldProblem> CheckEditRow(const RowEdit& edit) const override;
    void CommitEditRow(const RowEdit& edit) override;
    std::vector<std::pair<std::string, std::string>> ExtraValues() const override;

    // Reset: the eight limits to 0, then the main window reloads every page.
    void ResetLimits();
    void TakeReport(const RouteHit& hit);

    float RangeHigh(int channel) const { return rangeHigh_[static_cast<std::size_t>(channel)]; }
    float RangeLow(int channel) const { return rangeLow_[static_cast<std::size_t>(channel)]; }
    int Version() const { return version_; }

private:
    std::array<float, kChannels> rangeHigh_{};
    std::array<float, kChannels> rangeLow_{};
    int version_ = 1;
};

}  // namespace rtu
