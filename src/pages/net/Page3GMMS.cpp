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

FieldDecl Edit(int id, const char* caption, WriteDecl write)
{
    return {.id = id, .kind = K::Text, .caption = Fixed(caption), .write = write};
}

FieldDecl Box(int id, const char* caption, const char* format, int order)
{
    return {.id = id, .kind = K::Check, .caption = Fixed(caption), .write = {.format = format, .order = order}};
}

std::vector<TextRef> Channels() { return {Fixed("Channel: 1"), Fixed("Channel: 2")}; }

FieldDecl List(int id, const char* caption, std::vector<TextRef> items, const char* format, int order)
{
    return {.id = id,
            .kind = K::Combo,
            .caption = Fixed(caption),
            .write = {.format = format, .order = order},
            .items = std::move(items)};
}

// clang-format off
const std::vector<FieldDecl> kFields = {
    Edit(P::kApn, "3G APN", {.format = "%%M2MAPN%s\r", .order = 1}),
    Edit(P::kUser, "3G User", {.format = "%%M2MUID%s\r", .order = 2}),
    Secret(Edit(P::kPassword, "3G Pwd", {.format = "%%M2MPWD%s\r", .order = 3}), "$M2M_PWD"),
    Edit(P::kSmtpServer, "SMTP server", {.order = 4, .compose = WriteSmtp}),
    Edit(P::kSmtpPort, "SMTP port", {.partOf = P::kSmtpServer}),
    Edit(P::kSmtpUser, "SMTP user", {.partOf = P::kSmtpServer}),
    Secret(Edit(P::kSmtpPassword, "SMTP password", {.partOf = P::kSmtpServer}), "$SMTP_PWD"),
    Edit(P::kSender, "Sender address", {.partOf = P::kSmtpServer}),
    Edit(P::kGisServer, "GIS server", {.order = 5, .compose = WriteGis}),
    Edit(P::kGisPort, "GIS port", {.partOf = P::kGisServer}),
    Edit(P::kGpsSpan, "GPS report interval (s)", {.format = "%%GISTIMER%s\r", .order = 6}),
    List(P::kVideoChannel, "Default video input", Channels(), "%%MMSVINC%d\r", 7),
    List(P::kVideoFormat, "Video format", {Fixed("PAL"), Fixed("NTSC")}, "%%MMSVINF%d\r", 8),
    Edit(P::kRecordSpan, "Alarm video length", {.format = "%%3GDVRTIME%s\r", .order = 9}),
    Box(P::kAlarmMms, "Enable Alarm by MMS", "%%3GALARMMMS%d\r", 10),
    Box(P::kAlarmCall, "Enable Alarm by Videocall", "%%3GALARMVP%d\r", 11),
    Box(P::kAlarmRecordCall, "Record the video call and send it", "%%3GALARMVC%d\r", 12),
    Box(P::kCallInput1, "Video call on alarm of input 1", "%%IOVPC0,%d\r", 13),
    Box(P::kCallInput2, "Video call on alarm of input 2", "%%IOVPC1,%d\r", 14),
    Box(P::kRecordInput1, "Record on alarm of input 1", "%%IODVR0,%d\r", 15),
    Box(P::kRecordInput2, "Record on alarm of input 2", "%%IODVR1,%d\r", 16),
    List(P::kChannelInput1, "Video input of input 1", Channels(), "%%IOVCH0,%d\r", 17),
    List(P::kChannelInput2, "Video input of input 2", Channels(), "%%IOVCH1,%d\r", 18),
    Edit(P::kFtpServer, "FTP server", {.order = 19, .compose = WriteFtp}),
    Edit(P::kFtpPort, "FTP port", {.partOf = P::kFtpServer}),
    MakeButton(ctl::kSave1, Fixed("Save")),
    MakeButton(ctl::kReload, {}, "Reload"),
};
// clang-format on

const HandlerDecl kHandlers[] = {{.number = 1, .key = "$3GS_", .fn = TakeLine}};

}  // namespace

CPage3GMMS::CPage3GMMS(PageContext& context, const PageInfo& info)
    : CPageBase(context, info, PageDecl{.fields = kFields, .handlers = kHandlers, .kept = kKept})
{}

std::unique_ptr<CPageBase> CPage3GMMS::Make(PageContext& context, const PageInfo& info)
{
    return std::make_unique<CPage3GMMS>(context, info);
}

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
