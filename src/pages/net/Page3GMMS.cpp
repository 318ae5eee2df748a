#include "pages/net/Page3GMMS.h"

#include <string>
#include <vector>

#include "pages/framework/FieldBuilders.h"
#include "pages/framework/Printf.h"

namespace rtu {
namespace {

using P = CPage3GMMS;
using K = FieldKind;

enum class Take { Text, Select, Flag, Switch };

// One report test: the key, the control, how the value is read, and where (from the key's start).
struct Test3G {
    const char* key;
    int id;
    Take take;
    std::size_t at;
};
constexpr Test3G kTests[] = {
    {"$M2M_APN", P::kApn, Take::Text, 9},
    {"$M2M_UID", P::kUser, Take::Text, 9},
    {"$M2M_PWD", P::kPassword, Take::Text, 9},
    {"$SMTP_SVR", P::kSmtpServer, Take::Text, 10},
    {"$SMTP_PORT", P::kSmtpPort, Take::Text, 11},
    {"$SMTP_UID", P::kSmtpUser, Take::Text, 10},
    {"$SMTP_PWD", P::kSmtpPassword, Take::Text, 10},
    {"$SMTP_FROM", P::kSender, Take::Text, 11},
    {"$3GS_GISS", P::kGisServer, Take::Text, 10},
    {"$3GS_GISP", P::kGisPort, Take::Text, 10},
    {"$3GS_GPST", P::kGpsSpan, Take::Text, 10},
    {"$3GS_VCHN", P::kVideoChannel, Take::Select, 10},
    {"$3GS_VFMT", P::kVideoFormat, Take::Select, 10},
    {"$3GS_VCRS", P::kRecordSpan, Take::Text, 10},
    {"$3GS_ALARM_MMS", P::kAlarmMms, Take::Flag, 15},
    {"$3GS_ALARM_VCALL", P::kAlarmCall, Take::Flag, 17},
    {"$3GS_ALARM_VPR", P::kAlarmRecordCall, Take::Flag, 15},
    {"$3GS_DINVPC0", P::kCallInput1, Take::Switch, 0},
    {"$3GS_DINVPC1", P::kCallInput2, Take::Switch, 0},
    {"$3GS_DINVCR0", P::kRecordInput1, Take::Switch, 0},
    {"$3GS_DINVCR1", P::kRecordInput2, Take::Switch, 0},
    {"$3GS_DINVCH0", P::kChannelInput1, Take::Select, 13},
    {"$3GS_DINVCH1", P::kChannelInput2, Take::Select, 13},
    {"$SYS_FTPSVR0", P::kFtpServer, Take::Text, 13},
    {"$SYS_FTPPOT0", P::kFtpPort, Take::Text, 13},
};

// The controls a clear leaves as they are.
constexpr int kKept[] = {P::kChannelInput1, P::kChannelInput2, P::kFtpServer, P::kFtpPort};

void TakeLine(CPageBase& page, const RouteHit& hit) { static_cast<P&>(page).TakeReport(hit.line); }

std::string Line(const CPageBase& page, int id) { return SingleLine(page.TextOf(id)); }

bool WriteSmtp(const CPageBase& page, std::string& line)
{
    line =
        Printf("%%SYSSMTP%s,%s,%s,%s,%s\r", Line(page, P::kSmtpServer).c_str(), Line(page, P::kSmtpPort).c_str(),
               Line(page, P::kSmtpUser).c_str(), Line(page, P::kSmtpPassword).c_str(), Line(page, P::kSender).c_str());
    return true;
}

bool WriteGis(const CPageBase& page, std::string& line)
{
    line = Printf("%%GPSGIS%s,%s\r", Line(page, P::kGisServer).c_str(), Line(page, P::kGisPort).c_str());
    return true;
}

bool WriteFtp(const CPageBase& page, std::string& line)
{
    line = Printf("%%FTPSVR0=%s,%s\r", Line(page, P::kFtpServer).c_str(), Line(page, P::kFtpPort).c_str());
    return true;
}

std::vector<TextRef> Channels() { return {Fixed("Channel: 1"), Fixed("Channel: 2")}; }

// clang-format off
const std::vector<FieldDecl> kFields = {
    TextBox({.id = P::kApn, .caption = Fixed("3G APN"), .write = {.format = "%%M2MAPN%s\r", .order = 1}}),
    TextBox({.id = P::kUser, .caption = Fixed("3G User"), .write = {.format = "%%M2MUID%s\r", .order = 2}}),
    Secret(TextBox({.id = P::kPassword, .caption = Fixed("3G Pwd"), .write = {.format = "%%M2MPWD%s\r", .order = 3}}), "$M2M_PWD"),
    TextBox({.id = P::kSmtpServer, .caption = Fixed("SMTP server"), .write = {.order = 4, .compose = WriteSmtp}}),
    TextBox({.id = P::kSmtpPort, .caption = Fixed("SMTP port"), .write = {.partOf = P::kSmtpServer}}),
    TextBox({.id = P::kSmtpUser, .caption = Fixed("SMTP user"), .write = {.partOf = P::kSmtpServer}}),
    Secret(TextBox({.id = P::kSmtpPassword, .caption = Fixed("SMTP password"), .write = {.partOf = P::kSmtpServer}}), "$SMTP_PWD"),
    TextBox({.id = P::kSender, .caption = Fixed("Sender address"), .write = {.partOf = P::kSmtpServer}}),
    TextBox({.id = P::kGisServer, .caption = Fixed("GIS server"), .write = {.order = 5, .compose = WriteGis}}),
    TextBox({.id = P::kGisPort, .caption = Fixed("GIS port"), .write = {.partOf = P::kGisServer}}),
    TextBox({.id = P::kGpsSpan, .caption = Fixed("GPS report interval (s)"), .write = {.format = "%%GISTIMER%s\r", .order = 6}}),
    DropDown({.id = P::kVideoChannel, .caption = Fixed("Default video input"), .write = {.format = "%%MMSVINC%d\r", .order = 7}, .items = Channels()}),
    DropDown({.id = P::kVideoFormat, .caption = Fixed("Video format"), .write = {.format = "%%MMSVINF%d\r", .order = 8}, .items = {Fixed("PAL"), Fixed("NTSC")}}),
    TextBox({.id = P::kRecordSpan, .caption = Fixed("Alarm video length"), .write = {.format = "%%3GDVRTIME%s\r", .order = 9}}),
    CheckBox({.id = P::kAlarmMms, .caption = Fixed("Enable Alarm by MMS"), .write = {.format = "%%3GALARMMMS%d\r", .order = 10}}),
    CheckBox({.id = P::kAlarmCall, .caption = Fixed("Enable Alarm by Videocall"), .write = {.format = "%%3GALARMVP%d\r", .order = 11}}),
    CheckBox({.id = P::kAlarmRecordCall, .caption = Fixed("Record the video call and send it"), .write = {.format = "%%3GALARMVC%d\r", .order = 12}}),
    CheckBox({.id = P::kCallInput1, .caption = Fixed("Video call on alarm of input 1"), .write = {.format = "%%IOVPC0,%d\r", .order = 13}}),
    CheckBox({.id = P::kCallInput2, .caption = Fixed("Video call on alarm of input 2"), .write = {.format = "%%IOVPC1,%d\r", .order = 14}}),
    CheckBox({.id = P::kRecordInput1, .caption = Fixed("Record on alarm of input 1"), .write = {.format = "%%IODVR0,%d\r", .order = 15}}),
    CheckBox({.id = P::kRecordInput2, .caption = Fixed("Record on alarm of input 2"), .write = {.format = "%%IODVR1,%d\r", .order = 16}}),
    DropDown({.id = P::kChannelInput1, .caption = Fixed("Video input of input 1"), .write = {.format = "%%IOVCH0,%d\r", .order = 17}, .items = Channels()}),
    DropDown({.id = P::kChannelInput2, .caption = Fixed("Video input of input 2"), .write = {.format = "%%IOVCH1,%d\r", .order = 18}, .items = Channels()}),
    TextBox({.id = P::kFtpServer, .caption = Fixed("FTP server"), .write = {.order = 19, .compose = WriteFtp}}),
    TextBox({.id = P::kFtpPort, .caption = Fixed("FTP port"), .write = {.partOf = P::kFtpServer}}),
    MakeButton(ctl::kSave1, Fixed("Save")),
    MakeButton(ctl::kReload, {}, "Reload"),
};
// clang-format on

const HandlerDecl kHandlers[] = {{.number = 1, .key = "$3GS_", .fn = TakeLine}};

}  // namespace

CPage3GMMS::CPage3GMMS(PageContext& context, const PageInfo& info)
    : CPageBase(context, info, PageDecl{.fields = kFields, .handlers = kHandlers, .kept = kKept})
{}

void CPage3GMMS::TakeReport(std::string_view line)
{
    for (const Test3G& t : kTests) {
        const std::size_t at = line.find(t.key);
        if (at == std::string_view::npos) continue;
        const std::size_t from = at + t.at;
        const char c = from < line.size() ? line[from] : '\0';
        switch (t.take) {
        case Take::Text: SetText(t.id, from < line.size() ? std::string(line.substr(from)) : std::string{}); break;
        case Take::Select: {
            // A character that names no item leaves the list without a selection.
            const int n = c - '0';
            const FieldDecl* f = FindField(t.id);
            SetSel(t.id, f && n >= 0 && n < static_cast<int>(f->items.size()) ? n : -1);
            break;
        }
        case Take::Flag: SetCheck(t.id, c == '1'); break;
        case Take::Switch: {
            const std::string key = t.key;
            if (line.find(key + " 1") != std::string_view::npos) SetCheck(t.id, 1);
            else if (line.find(key + " 0") != std::string_view::npos) SetCheck(t.id, 0);
            break;
        }
        }
    }
}

}  // namespace rtu
