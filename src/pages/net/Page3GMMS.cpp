#include "pages/net/Page3GMMS.h"

#include <string>
#include <vector>

#include "pages/framework/FieldBuilders.h"
#include "pages/framework/Printf.h"
#include "pages/framework/ReportRows.h"

namespace rtu {
namespace {

using P = CPage3GMMS;
using K = FieldKind;

using D = Decode;

// The page's reports: every key a line holds sets its control (offsets from the line's start).
constexpr ReportRow kReports[] = {
    {P::kApn, {"$M2M_APN", 9, D::Text}},
    {P::kUser, {"$M2M_UID", 9, D::Text}},
    {P::kPassword, {"$M2M_PWD", 9, D::Text}},
    {P::kSmtpServer, {"$SMTP_SVR", 10, D::Text}},
    {P::kSmtpPort, {"$SMTP_PORT", 11, D::Text}},
    {P::kSmtpUser, {"$SMTP_UID", 10, D::Text}},
    {P::kSmtpPassword, {"$SMTP_PWD", 10, D::Text}},
    {P::kSender, {"$SMTP_FROM", 11, D::Text}},
    {P::kGisServer, {"$3GS_GISS", 10, D::Text}},
    {P::kGisPort, {"$3GS_GISP", 10, D::Text}},
    {P::kGpsSpan, {"$3GS_GPST", 10, D::Text}},
    {P::kVideoChannel, {"$3GS_VCHN", 10, D::Digit}},
    {P::kVideoFormat, {"$3GS_VFMT", 10, D::Digit}},
    {P::kRecordSpan, {"$3GS_VCRS", 10, D::Text}},
    {P::kAlarmMms, {"$3GS_ALARM_MMS", 15, D::Flag}},
    {P::kAlarmCall, {"$3GS_ALARM_VCALL", 17, D::Flag}},
    {P::kAlarmRecordCall, {"$3GS_ALARM_VPR", 15, D::Flag}},
    {P::kCallInput1, {"$3GS_DINVPC0", 0, D::Switch}},
    {P::kCallInput2, {"$3GS_DINVPC1", 0, D::Switch}},
    {P::kRecordInput1, {"$3GS_DINVCR0", 0, D::Switch}},
    {P::kRecordInput2, {"$3GS_DINVCR1", 0, D::Switch}},
    {P::kChannelInput1, {"$3GS_DINVCH0", 13, D::Digit}},
    {P::kChannelInput2, {"$3GS_DINVCH1", 13, D::Digit}},
    {P::kFtpServer, {"$SYS_FTPSVR0", 13, D::Text}},
    {P::kFtpPort, {"$SYS_FTPPOT0", 13, D::Text}},
};

// The controls a clear leaves as they are.
constexpr int kKept[] = {P::kChannelInput1, P::kChannelInput2, P::kFtpServer, P::kFtpPort};

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
const std::vector<FieldDecl> kFields = WithReports({
    Edit(P::kApn, "3G APN", {.format = "%%M2MAPN%s\r", .order = 1}),
    Edit(P::kUser, "3G User", {.format = "%%M2MUID%s\r", .order = 2}),
    Secret(Edit(P::kPassword, "3G Pwd", {.format = "%%M2MPWD%s\r", .order = 3})),
    Edit(P::kSmtpServer, "SMTP server", {.order = 4, .compose = WriteSmtp}),
    Edit(P::kSmtpPort, "SMTP port", {.partOf = P::kSmtpServer}),
    Edit(P::kSmtpUser, "SMTP user", {.partOf = P::kSmtpServer}),
    Secret(Edit(P::kSmtpPassword, "SMTP password", {.partOf = P::kSmtpServer})),
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
}, kReports);
// clang-format on

}  // namespace

CPage3GMMS::CPage3GMMS(PageContext& context, const PageInfo& info)
    : CPageBase(context, info, PageDecl{.fields = kFields, .kept = kKept})
{}

std::unique_ptr<CPageBase> CPage3GMMS::Make(PageContext& context, const PageInfo& info)
{
    return std::make_unique<CPage3GMMS>(context, info);
}

}  // namespace rtu
