#include "pages/net/PageDataSms.h"

#include <vector>

#include "pages/framework/FieldBuilders.h"
#include "pages/net/InputRowEditor.h"

namespace rtu {
namespace {

using P = CDataParams;

constexpr int kIndexWidth = 120, kPhoneWidth = 160;  // the list's column widths
constexpr int kFrame = 1186;

void Take(CPageBase& page, const RouteHit& hit) { static_cast<P&>(page).TakeRow(hit.digit, hit.text); }

// clang-format off
const std::vector<FieldDecl> kFields = {
    {.id = kFrame, .kind = K::Group, .caption = Fixed("Uart Data by sms")},
    {.id = P::kEnabled, .kind = K::Check, .caption = Fixed("Enable transfer data by sms"), .group = kFrame,
     .report = {"$GSMDTU", 0, D::Switch}, .write = {.format = "%%GSMDTUEN%d\r", .order = 3}, .dump = dump::kSys},
    {.id = P::kPacketType, .kind = K::Combo, .caption = Fixed("Packet tyep"), .captionId = 1182, .group = kFrame,
     .report = {"$DTM", 5, D::Number}, .write = {.format = "%%TM%d\r", .order = 1}, .dump = dump::kSys,
     .items = {Fixed("0: ASCII"), Fixed("1: PDU MODE"), Fixed("2: ASCII2"), Fixed("3: ASCII3"),
               Fixed("4: UCS(packet by time)"), Fixed("5: UCS(packet by #)"), Fixed("6: ASCII4(packet by #)")}},
    {.id = P::kIdleSpan, .kind = K::Text, .caption = Fixed("Packet idle span"), .captionId = 1183, .group = kFrame,
     .report = {"$DOT", 5, D::Text}, .write = {.format = "%%OT%s\r", .order = 2}, .dump = dump::kSys,
     .chars = CharRule::Digits},
    {.id = 1184, .kind = K::Label, .caption = Fixed("ms"), .group = kFrame},
    {.id = P::kExport, .kind = K::Check, .caption = Fixed("Enable Easy modem sms export"), .group = kFrame,
     .visible = false, .report = {"$EASYMODEMEN", 0, D::Switch}, .write = {.format = "%%EASYMODEMEN%d\r", .order = 4},
     .dump = dump::kSys},
    {.id = P::kExportPassword, .kind = K::Check, .caption = Fixed("Easy modem sms need password"), .group = kFrame,
     .visible = false, .report = {"$EASYMODEMPWD", 0, D::Switch},
     .write = {.format = "%%EASYMODEMPWD%d\r", .order = 5}, .dump = dump::kSys},
    {.id = 1185, .kind = K::Label, .caption = Fixed("SMS Data trans number")},
    {.id = P::kList, .kind = K::List,
     .columns = {{Fixed("Index"), kIndexWidth, false, ColumnKind::Label}, {Fixed("Phone"), kPhoneWidth, false}},
     .rows = P::kRows, .rowLabelFormat = "No.%d"},
    MakeButton(ctl::kSave, Fixed("&Save")),
};
// clang-format on

const std::vector<RowEditorDecl> kEditors = {InputRowEditor(P::kList, "%%SR%d%s\r", P::kColNumber, CharRule::Phone)};
const HandlerDecl kHandlers[] = {{.number = 1, .keys = {"$SR#"}, .fn = Take}};

}  // namespace

CDataParams::CDataParams(PageContext& context, const PageInfo& info)
    : CPageBase(context, info,
                PageDecl{.fields = kFields, .editors = kEditors, .handlers = kHandlers, .waitMs = kWaitMs})
{
    Value(kList);
}

void CDataParams::TakeRow(int row, std::string_view text)
{
    if (row < 0 || row >= kRows) return;
    if (!text.empty() && !(text[0] >= '0' && text[0] <= '9') && text[0] != '+') return;
    SetCell(kList, row, kColNumber, std::string(text));
}

}  // namespace rtu
