#include "pages/net/Page3GMMS.h"

#include <string>
#include <vector>

#include "pages/framework/ComposedLines.h"
#include "pages/framework/FieldBuilders.h"
#include "pages/framework/ReportRows.h"

namespace rtu {
namespace {

using P = CPage3GMMS;


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

// Lines of several typed values.
constexpr char kSmtp[] = "%%SYSSMTP%s,%s,%s,%s,%s\r";
constexpr char kGis[] = "%%GPSGIS%s,%s\r";
constexpr char kFtp[] = "%%FTPSVR0=%s,%s\r";
constexpr ComposeFn WriteSmtp = WriteTexts<kSmtp, P::kSmtpServer, P::kSmtpPort, P::kSmtpUser, P::kSmtpPassword, P::kSender>;
constexpr ComposeFn WriteGis = WriteTexts<kGis, P::kGisServer, P::kGisPort>;
constexpr ComposeFn WriteFtp = WriteTexts<kFtp, P::kFtpServer, P::kFtpPort>;

std::vector<TextRef> Channels() { return {Fixed("Channel: 1"), Fixed("Channel: 2")}; }

// clang-format off
const std::vector<FieldDecl> kFields = WithReports({
    TextBox({.id = P::kApn, .caption = Fixed("3G APN"), .write = {.format = "%%M2MAPN%s\r", .order = 1}}),
    TextBox({.id = P::kUser, .caption = Fixed("3G User"), .write = {.format = "%%M2MUID%s\r", .order = 2}}),
    Secret(TextBox({.id = P::kPassword, .caption = Fixed("3G Pwd"), .write = {.format = "%%M2MPWD%s\r", .order = 3}})),
    TextBox({.id = P::kSmtpServer, .caption = Fixed("SMTP server"), .write = {.order = 4, .compose = WriteSmtp}}),
    TextBox({.id = P::kSmtpPort, .caption = Fixed("SMTP port"), .write = {.partOf = P::kSmtpServer}}),
    TextBox({.id = P::kSmtpUser, .caption = Fixed("SMTP user"), .write = {.partOf = P::kSmtpServer}}),
    Secret(TextBox({.id = P::kSmtpPassword, .caption = Fixed("SMTP password"), .write = {.partOf = P::kSmtpServer}})),
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
}, kReports);
// clang-format on

}  // namespace

CPage3GMMS::CPage3GMMS(PageContext& context, const PageInfo& info)
    : CPageBase(context, info, PageDecl{.fields = kFields, .kept = kKept})
{}

}  // namespace rtu
