// The twelve wireless zones: enabled, buzzer, 24-hour zone, sensor code, alarm message,
// linked output, message interval and video call of each; a zone is edited in the zone
// dialog and written to the unit at once. One switch sends a message on arming and
// disarming by the remote control as soon as it is clicked.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "pages/framework/PageBase.h"

namespace rtu {

class CPageRfZone : public CPageBase {
public:
    static constexpr int kZones = 12;  // zones 0-11
    static constexpr int kListId = ctl::kList;
    static constexpr int kTitle = ctl::kFrame;
    static constexpr int kRemoteNotify = 1560;  // message on arming/disarming by remote control
    // Columns of the zone list.
    static constexpr int kEnabled = 1;
    static constexpr int kSound = 2;
    static constexpr int kUrgent = 3;
    static constexpr int kCode = 4;
    static constexpr int kMessage = 5;
    static constexpr int kLink = 6;
    static constexpr int kInterval = 7;
    static constexpr int kVideoCall = 8;
    // The zone dialog.
    static constexpr int kEditorEnable = 1101;
    static constexpr int kEditorSound = 1102;
    static constexpr int kEditorUrgent = 1103;
    static constexpr int kEditorVideoCall = 1104;  // hidden, always cleared
    static constexpr int kEditorLink = 1105;       // Dout0-3, then "NC"
    static constexpr int kEditorInterval = 1106;   // alarm message interval, minutes
    static constexpr int kEditorMessage = 1107;    // alarm message text
    static constexpr int kEditorOk = 1;
    static constexpr int kEditorCancel = 2;
    static constexpr int kLinkNone = 4;         // the "NC" item of the linked output
    static constexpr int kIntervalMax = 65535;  // the unit keeps the interval in 16 bits
    static constexpr int kMaxZoneDigits = 9;    // digits read as a zone number
    static constexpr int kMaxSmsDigits = 9;     // digits read as a message number

    static constexpr int kWaitMs = 2000;      // the page's default wait (the closing commit line)
    static constexpr int kZoneWaitMs = 3000;  // ms each zone line and the switch's line wait

    CPageRfZone(PageContext& context, const PageInfo& info);

    bool BeginEditRow(int listId, int row, RowEdit& edit) override;
    std::optional<FieldProblem> CheckEditRow(const RowEdit& edit) const override;
    void CommitEditRow(const RowEdit& edit) override;
    // "$WIN…" zone reports and "$SMS<n> <hex>" alarm messages.
    void TakeReport(const RouteHit& hit);

    std::string YesText() const;
    std::string NoText() const;
    std::string NoneText() const;

private:
    void TakeZone(std::string_view line);
    void TakeMessage(std::string_view text);
};

}  // namespace rtu
