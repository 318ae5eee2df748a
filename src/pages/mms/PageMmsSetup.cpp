#include "pages/mms/PageMmsSetup.h"

#include <vector>

#include "link/LinkTypes.h"
#include "link/TextFields.h"
#include "pages/framework/ComposedLines.h"
#include "pages/framework/FieldBuilders.h"
#include "pages/framework/Printf.h"

namespace rtu {
namespace {

using P = CPageMmsSetup;

constexpr const char* kDump = "%DUMP_MMS\r";
constexpr std::size_t kCodeLength = 3;  // a report code: three letters, the value right after
constexpr std::size_t kFlagAt = 4;      // "ACC" / "TCC" reports: the flag character
constexpr std::size_t kLongFlagAt = 6;  // "SMSCC", "SMSHC", "SMSRP", "ALARM" reports

struct Code {
    const char* code;
    int id;
};
constexpr Code kTexts[] = {{"SCU", P::kCentre}, {"SCP", P::kPort},     {"GAT", P::kGateway}, {"APN", P::kApn},
                           {"UID", P::kUser},   {"PWD", P::kPassword}, {"PXY", P::kProxy},   {"NAP", P::kNap}};
constexpr Code kLists[] = {{"PSZ", P::kSize}, {"PWB", P::kBalance}, {"PMD", P::kMode}};
constexpr Code kDigits[] = {{"PBR", P::kBrightness}, {"PCT", P::kPerMms}};
constexpr Code kShortFlags[] = {{"ACC", P::kAlarmToFamily}, {"TCC", P::kTimedToFamily}};
constexpr Code kLongFlags[] = {
    {"SMSCC", P::kSmsToFamily}, {"SMSHC", P::kSmsToOwner}, {"SMSRP", P::kSmsNotice}, {"ALARM", P::kAlarmByMms}};

void SetFlag(CPageBase& page, int id, std::string_view t, std::size_t at)
{
    if (t.size() > at) page.SetCheck(id, t[at] != '0');
}

// Every report of the page: "$MMS_<code><value>" from the code on, or "$MMS<flag> <0|1>" from
// the flag's name on. Every test is made on every text.
void TakeReport(CPageBase& page, const RouteHit& hit)
{
    const std::string_view t = hit.text;
    for (const Code& c : kShortFlags)
        if (t.starts_with(c.code)) SetFlag(page, c.id, t, kFlagAt);
    for (const Code& c : kLongFlags)
        if (t.find(c.code) != std::string_view::npos) SetFlag(page, c.id, t, kLongFlagAt);
    for (const Code& c : kTexts)
        if (t.starts_with(c.code)) page.SetText(c.id, std::string(t.substr(kCodeLength)));
    const bool digit = t.size() > kCodeLength && IsDigit(t[kCodeLength]);
    if (!digit) return;
    const int value = t[kCodeLength] - '0';
    for (const Code& c : kLists)
        if (t.starts_with(c.code) && value < static_cast<int>(page.FindField(c.id)->items.size()))
            page.SetSel(c.id, value);
    for (const Code& c : kDigits)
        if (t.starts_with(c.code)) page.SetText(c.id, std::to_string(value));
    // The interval is minutes: all of its digits count, or a save after a reload would shorten it.
    if (t.starts_with("PTR")) page.SetText(P::kTimer, std::to_string(LeadingNumber(t.substr(kCodeLength))));
}

constexpr char kCentreLine[] = "%%MMSC%s,%s\r";  // the centre and its port
constexpr ComposeFn WriteCentre = WriteTexts<kCentreLine, P::kCentre, P::kPort>;

// Size, brightness and white balance; a list without a selection holds the line back.
bool WriteCamera(const CPageBase& page, std::string& line)
{
    const int size = page.ValueOf(P::kSize).sel;
    const int balance = page.ValueOf(P::kBalance).sel;
    if (size < 0 || balance < 0) return false;
    line = Printf("%%DSCFMT%d,%s,%d\r", size, SingleLine(page.TextOf(P::kBrightness)).c_str(), balance);
    return true;
}

void FetchPicture(CPageBase& page) { page.PostToMain(cmd::kFetchPicture); }
void StopPicture(CPageBase& page) { page.PostToMain(cmd::kStopPicture); }

// clang-format off
const std::vector<FieldDecl> kFields = {
    {.id = P::kFrame, .kind = K::Label, .caption = Own("TITLE")},
    {.id = P::kCentre, .kind = K::Text, .caption = Own("MMSC"), .captionId = 1252,
     .write = {.order = 1, .compose = WriteCentre}, .dump = kDump},
    {.id = P::kPort, .kind = K::Text, .caption = Own("PORT"), .captionId = 1253,
     .write = {.partOf = P::kCentre}, .dump = kDump, .chars = CharRule::Digits},
    TextBox({.id = P::kGateway, .caption = Own("GWIP"), .captionId = 1254, .write = {.format = "%%MMSGATE%s\r", .order = 2}, .dump = kDump}),
    TextBox({.id = P::kUser, .caption = Own("UID"), .captionId = 1256, .write = {.format = "%%MMSUID%s\r", .order = 3}, .dump = kDump}),
    Secret(TextBox({.id = P::kPassword, .caption = Own("PWD"), .captionId = 1257, .write = {.format = "%%MMSPWD%s\r", .order = 4}, .dump = kDump}), "$MMS_PWD"),
    TextBox({.id = P::kProxy, .caption = Own("PROXY"), .captionId = 1258, .visible = false, .write = {.format = "%%MMSPXY%s\r", .order = 5}, .dump = kDump}),
    TextBox({.id = P::kApn, .caption = Own("APN"), .captionId = 1255, .write = {.format = "%%MMSAPN%s\r", .order = 6}, .dump = kDump}),
    TextBox({.id = P::kNap, .caption = Own("NAP"), .captionId = 1266, .visible = false, .write = {.format = "%%MMSNAP%s\r", .order = 7}, .dump = kDump}),
    {.id = P::kSize, .kind = K::Combo, .caption = Own("PICSIZE"), .captionId = 1259,
     .write = {.order = 8, .compose = WriteCamera}, .dump = kDump,
     .items = {Fixed("0: 640*480"), Fixed("1: 320*240"), Fixed("2: 352*288"), Fixed("3: 176*144")}},
    {.id = P::kBrightness, .kind = K::Number, .caption = Own("BRIGHTNESS"), .captionId = 1261,
     .write = {.partOf = P::kSize}, .dump = kDump, .chars = CharRule::Digits,
     .minValue = P::kSpinMin, .maxValue = P::kSpinMax},
    {.id = P::kBalance, .kind = K::Combo, .caption = Own("WBALANCE"), .captionId = 1260,
     .write = {.partOf = P::kSize}, .dump = kDump,
     .items = {Fixed("Atuo"), Fixed("Incandescent"), Fixed("Fluorescent"), Fixed("Daylight"), Fixed("Cloudy"),
               Fixed("Indoor")}},
    {.id = P::kMode, .kind = K::Combo, .caption = Own("DSCMODE"), .captionId = 1262,
     .write = {.format = "%%DSCMODE%d\r", .order = 9}, .dump = kDump,
     .items = {Fixed("Atuo"), Fixed("Normal mode"), Fixed("Night mode")}},
    {.id = P::kPerMms, .kind = K::Number, .caption = Own("MMSPC"), .captionId = 1263,
     .write = {.format = "%%MMSPC%s\r", .order = 10}, .dump = kDump, .chars = CharRule::Digits,
     .minValue = P::kSpinMin, .maxValue = P::kSpinMax},
    {.id = P::kTimer, .kind = K::Text, .caption = Own("MMSTIMER"), .captionId = 1264,
     .write = {.format = "%%MMST%s\r", .order = 11}, .dump = kDump, .maxLength = P::kTimerMaxDigits,
     .chars = CharRule::Digits},
    {.id = 1265, .kind = K::Label, .caption = Own("MINS")},
    CheckBox({.id = P::kAlarmToFamily, .caption = Own("MMSACC"), .write = {.format = "%%MMSACC%d\r", .order = 12}, .dump = kDump}),
    CheckBox({.id = P::kTimedToFamily, .caption = Own("MMSTCC"), .write = {.format = "%%MMSTCC%d\r", .order = 13}, .dump = kDump}),
    CheckBox({.id = P::kSmsToFamily, .caption = Own("MMSSACC"), .write = {.format = "%%MMSSMSCC%d\r", .order = 14}, .dump = kDump}),
    CheckBox({.id = P::kAlarmByMms, .caption = Own("MMSEN"), .write = {.format = "%%MMSALARM%d\r", .order = 15}, .dump = kDump}),
    CheckBox({.id = P::kSmsToOwner, .caption = Own("MMSSHCC"), .write = {.format = "%%MMSSMSHC%d\r", .order = 16}, .dump = kDump}),
    CheckBox({.id = P::kSmsNotice, .caption = Own("MMSSMSNOTI"), .write = {.format = "%%MMSSMSNT%d\r", .order = 17}, .dump = kDump}),
    {.id = P::kPicture, .kind = K::Custom, .write = {.reportOnly = true}, .custom = P::kPictureWidget},
    MakeButton(P::kSave, Own("BTNSAVE"), "", ctl::kSave),
    ActionButton(P::kView, Own("BTNVIEW"), FetchPicture),
    ActionButton(P::kStop, Own("BTNSTOP"), StopPicture),
    MakeButton(ctl::kReload, Shared("Buttons", "Reload"), "Reload"),
};
// clang-format on

const HandlerDecl kHandlers[] = {
    {.number = 1, .keys = {"$MMS_SCU", "$MMS_SCP", "$MMS_GAT", "$MMS_APN", "$MMS_UID", "$MMS_PWD", "$MMS_PXY", "$MMS_NAP", "$MMS_PSZ", "$MMS_PWB", "$MMS_PMD", "$MMS_PBR", "$MMS_PCT", "$MMS_PTR", "$MMSACC", "$MMSTCC", "$MMSSMSCC", "$MMSSMSHC", "$MMSSMSRP", "$MMSALARM"}, .fn = TakeReport},
};

}  // namespace

constexpr int kKept[] = {P::kPicture};  // the picture shown stays through a reload

CPageMmsSetup::CPageMmsSetup(PageContext& context, const PageInfo& info)
    : CPageBase(context, info, {.fields = kFields, .handlers = kHandlers, .kept = kKept})
{}

}  // namespace rtu
