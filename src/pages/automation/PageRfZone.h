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
    static constexpr int kEnabled = 1, kSound = 2, kUrgent = 3, kCode = 4;
    static constexpr int kMessage = 5, kLink = 6, kInterval = 7, kVideoCall = 8;
    // The zone dialog: the video call is hidden and always cleared; the link is Dout0-3, then
    // "NC"; the interval is the alarm message interval in minutes, the message its text.
    static constexpr int kEditorEnable = 1101, kEditorSound = 1102, kEditorUrgent = 1103, kEditorVideoCall = 1104;
    static constexpr int kEditorLink = 1105, kEditorInterval = 1106, kEditorMessage = 1107;
    static constexpr int kEditorOk = 1, kEditorCancel = 2;
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
