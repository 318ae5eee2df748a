#include "pages/basic/PageAlarmParams.h"

#include <vector>

#include "pages/framework/FieldBuilders.h"
#include "pages/framework/Printf.h"

namespace rtu {
namespace {

using P = CPageAlarmParams;

constexpr std::size_t kChannelAt = 7;    // "$AINDRP" line: the analog channel digit
constexpr std::size_t kAnalogValueAt = 9;  // "$AINDRP" line: '1' drops that channel's reports
constexpr std::size_t kDropValueAt = 8;  // "$DRP..." line: '1' drops the named reports

// The report-dropping boxes and the name each has in a "$DRP" report.
struct DropName {
    const char* name;
    int id;
};
constexpr DropName kDropNames[] = {
    {"TMP", P::kDropTemp}, {"TID", P::kDropId},  {"DEF", P::kDropArm},     {"RSI", P::kDropRssi},
    {"MEM", P::kDropMemo}, {"BAT", P::kDropPower}, {"DIN", P::kDropDin}, {"ETP", P::kDropExtTemp},
    {"CNT", P::kDropCounter},
};

FieldDecl LabelOf(int id, const char* key) { return MakeField(id, FieldKind::Label, Own(key)); }
FieldDecl EditOf(int id, const char* reportKey) { return MakeField(id, FieldKind::Text, {}, reportKey); }

FieldDecl CheckOf(int id, TextRef caption, const char* reportKey, bool visible = true)
{
    return MakeField(id, FieldKind::Check, std::move(caption), reportKey, visible);
}

std::vector<FieldDecl> MakeFields()
{
    return {
        MakeField(ctl::kFrame, FieldKind::Label, Shared("TABS", "PAGE_ALARM")),
        LabelOf(1118, "SMSCOUNTS"),
        EditOf(P::kRepeats, "$IAT"),
        LabelOf(1119, "TIMES"),
        CheckOf(P::kAlarmRing, Own("ALARMRING"), "$AR"),
        CheckOf(P::kAnswer, Own("ATA"), "$ATA"),
        CheckOf(P::kAlarmMemo, Own("ALARMMEMO"), "$AWB"),
        CheckOf(P::kUartEvent, Own("UEVENT"), "$UARTEVENT"),
        LabelOf(1238, "INDLY"),
        EditOf(P::kEntryDelay, "$INDLY"),
        LabelOf(1239, "OUTDLY"),
        EditOf(P::kExitDelay, "$OUTDLY"),
        CheckOf(P::kSoundDelay, Own("SNDALARMDLY"), "$SNDALARMDLY"),
        CheckOf(P::kSpeakerMute, Own("SPKMUTE"), "$MODEM_SPK", false),
        CheckOf(P::kMicMute, Own("MICMUTE"), "$MODEM_MIC", false),
        LabelOf(P::kReports, "REPORTS"),
        CheckOf(P::kDropTemp, Own("ITEMP"), "", false),
        CheckOf(P::kDropId, Own("DEVID"), ""),
        CheckOf(P::kDropArm, Own("ARM"), ""),
        CheckOf(P::kDropRssi, Own("RSSI"), ""),
        CheckOf(P::kDropMemo, Own("MEMO"), ""),
        CheckOf(P::kDropPower, Own("POW"), ""),
        CheckOf(P::kDropDin, Own("DIN"), ""),
        CheckOf(P::kDropExtTemp, Own("ETEMP"), ""),
        CheckOf(P::kDropCounter, Own("COUNTER"), "", false),
        CheckOf(P::kDropAnalog0 + 0, Fixed("AD0"), ""),
        CheckOf(P::kDropAnalog0 + 1, Fixed("AD1"), ""),
        CheckOf(P::kDropAnalog0 + 2, Fixed("AD2"), ""),
        CheckOf(P::kDropAnalog0 + 3, Fixed("AD3"), ""),
        MakeButton(ctl::kSave, Shared("Buttons", "Save")),
        MakeButton(ctl::kReload, {}, "Reload"),
    };
}

}  // namespace

std::span<const FieldDecl> CPageAlarmParams::Fields() const
{
    static const std::vector<FieldDecl> fields = MakeFields();
    return fields;
}

void CPageAlarmParams::OnReport(const RouteHit& hit)
{
    if (hit.target.handler == 1) OnAnalogDropReport(hit.line);
    else if (hit.target.handler == 2) OnDropReport(hit.line, hit.text);
}

void CPageAlarmParams::OnAnalogDropReport(std::string_view line)
{
    if (line.size() <= kChannelAt) return;
    const int channel = line[kChannelAt] - '0';
    if (channel < 0 || channel >= kAnalogChannels) return;
    SetCheck(kDropAnalog0 + channel, line.size() > kAnalogValueAt && line[kAnalogValueAt] == '1');
}

void CPageAlarmParams::OnDropReport(std::string_view line, std::string_view afterKey)
{
    const bool on = line.size() > kDropValueAt && line[kDropValueAt] == '1';
    // Every name is looked for: one report may name several kinds.
    for (const DropName& d : kDropNames)
        if (afterKey.find(d.name) != std::string_view::npos) SetCheck(d.id, on);
}

void CPageAlarmParams::SaveParams(bool toProfile, CProfileWriter* file)
{
    auto emit = [&](const std::string& line) { EmitCommand(toProfile, line, file); };
    auto on = [this](int id) { return Check(id) ? 1 : 0; };

    if (!toProfile) emit("%STARTCMD\r");
    emit(Printf("%%SNDALARMDLYEN%d\r", on(kSoundDelay)));
    emit(Printf("%%OUTDLY%s\r", SingleLine(Text(kExitDelay)).c_str()));
    emit(Printf("%%INDLY%s\r", SingleLine(Text(kEntryDelay)).c_str()));
    emit(Printf("%%IOAT%s\r", SingleLine(Text(kRepeats)).c_str()));
    emit(Printf("%%ARING%d\r", on(kAlarmRing)));
    emit(Printf("%%ASC%d\r", on(kAnswer)));
    emit(Printf("%%AWB%d\r", on(kAlarmMemo)));
    emit(Printf("%%UARTEVENT%d\r", on(kUartEvent)));
    emit(Printf("%%DRPTMP%d\r", on(kDropTemp)));
    emit(Printf("%%DRPTID%d\r", on(kDropId)));
    emit(Printf("%%DRPDEF%d\r", on(kDropArm)));
    emit(Printf("%%DRPRSI%d\r", on(kDropRssi)));
    emit(Printf("%%DRPDIN%d\r", on(kDropDin)));
    emit(Printf("%%DRPMEM%d\r", on(kDropMemo)));
    emit(Printf("%%DRPBAT%d\r", on(kDropPower)));
    emit(Printf("%%DRPETMP%d\r", on(kDropExtTemp)));
    emit(Printf("%%AINDRP%d%d%d%d\r", on(kDropAnalog0), on(kDropAnalog0 + 1), on(kDropAnalog0 + 2),
                on(kDropAnalog0 + 3)));
    emit(Printf("%%DINCDRP%d\r", on(kDropCounter)));
    if (!toProfile) emit("%COMMITCMD\r");
}

}  // namespace rtu
