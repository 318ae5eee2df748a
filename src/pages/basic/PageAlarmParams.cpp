#include "pages/basic/PageAlarmParams.h"

#include <string>
#include <vector>

#include "pages/framework/FieldBuilders.h"
#include "pages/framework/Printf.h"

namespace rtu {
namespace {

using P = CPageAlarmParams;

constexpr std::size_t kChannelAt = 7;      // "$AINDRP" line: the analog channel digit
constexpr std::size_t kAnalogValueAt = 9;  // "$AINDRP" line: '1' drops that channel's reports
constexpr std::size_t kDropValueAt = 8;    // "$DRP..." line: '1' drops the named reports

// The report-dropping boxes: the name each has in a "$DRP" report, its caption, and the line
// that writes it; the internal temperature and the counter boxes are hidden, still written.
struct DropBox {
    const char* name;
    int id;
    const char* caption;
    const char* format;
    int order;
    bool visible = true;
};
constexpr DropBox kDropBoxes[] = {
    {"TMP", P::kDropTemp, "ITEMP", "%%DRPTMP%d\r", 9, false},
    {"TID", P::kDropId, "DEVID", "%%DRPTID%d\r", 10},
    {"DEF", P::kDropArm, "ARM", "%%DRPDEF%d\r", 11},
    {"RSI", P::kDropRssi, "RSSI", "%%DRPRSI%d\r", 12},
    {"MEM", P::kDropMemo, "MEMO", "%%DRPMEM%d\r", 14},
    {"BAT", P::kDropPower, "POW", "%%DRPBAT%d\r", 15},
    {"DIN", P::kDropDin, "DIN", "%%DRPDIN%d\r", 13},
    {"ETP", P::kDropExtTemp, "ETEMP", "%%DRPETMP%d\r", 16},
    {"CNT", P::kDropCounter, "COUNTER", "%%DINCDRP%d\r", 18, false},
};

// "$AINDRP<channel> <0|1>": one analog channel's box.
void TakeAnalogDrop(CPageBase& page, const RouteHit& hit)
{
    const std::string_view line = hit.line;
    if (line.size() <= kChannelAt) return;
    const int channel = line[kChannelAt] - '0';
    if (channel < 0 || channel >= P::kAnalogChannels) return;
    page.SetCheck(P::kDropAnalog0 + channel, line.size() > kAnalogValueAt && line[kAnalogValueAt] == '1');
}

// "$DRP<names> <0|1>": every name found sets its box; one report may name several kinds.
void TakeDrop(CPageBase& page, const RouteHit& hit)
{
    const bool on = hit.line.size() > kDropValueAt && hit.line[kDropValueAt] == '1';
    for (const DropBox& d : kDropBoxes)
        if (hit.text.find(d.name) != std::string_view::npos) page.SetCheck(d.id, on);
}

// "%AINDRP<0|1><0|1><0|1><0|1>": the four analog boxes in one line.
bool WriteAnalogDrop(const CPageBase& page, std::string& line)
{
    line = Printf("%%AINDRP%d%d%d%d\r", page.CheckOf(P::kDropAnalog0), page.CheckOf(P::kDropAnalog0 + 1),
                  page.CheckOf(P::kDropAnalog0 + 2), page.CheckOf(P::kDropAnalog0 + 3));
    return true;
}

// The settings above the report-dropping boxes.
// clang-format off
const std::vector<FieldDecl> kSettings = {
    {.id = ctl::kFrame, .kind = K::Label, .caption = Shared("TABS", "PAGE_ALARM")},
    {.id = P::kRepeats, .kind = K::Number, .caption = Own("SMSCOUNTS"), .captionId = 1118,
     .report = {"$IAT", 5, D::Text}, .report2 = {"$IOAT", 6, D::Text}, .write = {.format = "%%IOAT%s\r", .order = 4},
     .dump = dump::kSys, .minValue = P::kSpinMin, .maxValue = P::kSpinMax},
    {.id = 1119, .kind = K::Label, .caption = Own("TIMES")},
    {.id = P::kAlarmRing, .kind = K::Check, .caption = Own("ALARMRING"), .report = {"$AR", 0, D::Switch},
     .write = {.format = "%%ARING%d\r", .order = 5}, .dump = dump::kSys},
    {.id = P::kAnswer, .kind = K::Check, .caption = Own("ATA"), .report = {"$ATA", 0, D::Switch},
     .write = {.format = "%%ASC%d\r", .order = 6}, .dump = dump::kSys},
    {.id = P::kAlarmMemo, .kind = K::Check, .caption = Own("ALARMMEMO"), .report = {"$AWB", 0, D::Switch},
     .write = {.format = "%%AWB%d\r", .order = 7}, .dump = dump::kSys},
    {.id = P::kUartEvent, .kind = K::Check, .caption = Own("UEVENT"), .report = {"$UARTEVENT", 0, D::Switch},
     .write = {.format = "%%UARTEVENT%d\r", .order = 8}, .dump = dump::kSys},
    {.id = P::kEntryDelay, .kind = K::Number, .caption = Own("INDLY"), .captionId = 1238,
     .report = {"$INDLY", 7, D::Text}, .write = {.format = "%%INDLY%s\r", .order = 3}, .dump = dump::kSys,
     .minValue = P::kSpinMin, .maxValue = P::kSpinMax},
    {.id = P::kExitDelay, .kind = K::Number, .caption = Own("OUTDLY"), .captionId = 1239,
     .report = {"$OUTDLY", 8, D::Text}, .write = {.format = "%%OUTDLY%s\r", .order = 2}, .dump = dump::kSys,
     .minValue = P::kSpinMin, .maxValue = P::kSpinMax},
    {.id = P::kSoundDelay, .kind = K::Check, .caption = Own("SNDALARMDLY"), .report = {"$SNDALARMDLY", 13, D::Flag},
     .write = {.format = "%%SNDALARMDLYEN%d\r", .order = 1}, .dump = dump::kSys},
    {.id = P::kSpeakerMute, .kind = K::Check, .caption = Own("SPKMUTE"), .visible = false,
     .report = {"$MODEM_SPK", 11, D::Flag}, .write = {.reportOnly = true}, .dump = dump::kSys},
    {.id = P::kMicMute, .kind = K::Check, .caption = Own("MICMUTE"), .visible = false,
     .report = {"$MODEM_MIC", 11, D::Flag}, .write = {.reportOnly = true}, .dump = dump::kSys},
    {.id = P::kReports, .kind = K::Group, .caption = Own("REPORTS")},
};

const std::vector<FieldDecl> kFields = [] {
    std::vector<FieldDecl> f = kSettings;
    for (const DropBox& d : kDropBoxes)
        f.push_back(CheckBox({.id = d.id, .caption = Own(d.caption), .group = P::kReports, .visible = d.visible,
                              .write = {.format = d.format, .order = d.order}, .dump = dump::kSys}));
    // The analog channels' boxes go out together in one line.
    for (int k = 0; k < P::kAnalogChannels; ++k) {
        const WriteDecl write = k == 0 ? WriteDecl{.order = 17, .compose = WriteAnalogDrop} : WriteDecl{.partOf = P::kDropAnalog0};
        f.push_back(CheckBox({.id = P::kDropAnalog0 + k, .caption = Fixed(("AD" + std::to_string(k)).c_str()),
                              .group = P::kReports, .write = write, .dump = dump::kAds}));
    }
    f.push_back(MakeButton(ctl::kSave, Shared("Buttons", "Save")));
    f.push_back(MakeButton(ctl::kReload, {}, "Reload"));
    return f;
}();
// clang-format on

// Reports that set several boxes at once; the routing names them by number.
const HandlerDecl kHandlers[] = {
    {.number = 1, .keys = {"$AINDRP#"}, .fn = TakeAnalogDrop},
    {.number = 2, .keys = {"$DRPTMP", "$DRPTID", "$DRPDEF", "$DRPRSI", "$DRPMEM", "$DRPBAT", "$DRPDIN", "$DRPETP", "$DRPCNT"}, .fn = TakeDrop},
};

}  // namespace

PageDecl CPageAlarmParams::Decl() { return PageDecl{.fields = kFields, .handlers = kHandlers, .waitMs = kWaitMs}; }

std::unique_ptr<CPageBase> CPageAlarmParams::Make(PageContext& context, const PageInfo& info)
{
    return std::make_unique<CPageBase>(context, info, Decl());
}

}  // namespace rtu
