#include "pages/gpio/PageDinCt.h"

#include <vector>

#include "pages/framework/FieldBuilders.h"
#include "link/TextFields.h"

namespace rtu {
namespace {

using P = CPageDinCt;

constexpr int kIndexWidth = 60, kPulseWidth = 120, kMaxWidth = 80;  // list column widths
constexpr int kPulseColumn = 1, kMaxColumn = 2;

void TakeRow(CPageBase& page, const RouteHit& hit) { static_cast<P&>(page).TakeRowReport(hit); }

// clang-format off
const std::vector<FieldDecl> kFields = {
    {.id = P::kGroup, .kind = K::Group, .caption = Fixed("Din Counter")},
    {.id = P::kTitle, .kind = K::Text, .caption = Fixed("Sms Title"), .group = P::kGroup,
     .report = {"$DINCTSMT", 10, Decode::Text}, .write = {.format = "%%DINCSMST%s\r", .order = 1}, .dump = dump::kGpio,
     .maxLength = P::kTextMax},
    {.id = P::kStation, .kind = K::Text, .caption = Fixed("Station Name"), .group = P::kGroup,
     .report = {"$DINCTSNM", 10, Decode::Text}, .write = {.format = "%%DINCSNAME%s\r", .order = 2}, .dump = dump::kGpio,
     .maxLength = P::kTextMax},
    {.id = P::kList, .kind = K::List, .group = P::kGroup,
     .columns = {{Fixed("Index"), kIndexWidth, false, ColumnKind::Label},
                 {Fixed("Pulse Equivalent"), kPulseWidth, true, ColumnKind::Number},
                 {Fixed("Max"), kMaxWidth, true, ColumnKind::Number}},
     .rows = P::kRows, .rowLabelFormat = "Ct%d"},
    MakeButton(ctl::kSave1, Shared("Buttons", "Save")),
    MakeButton(ctl::kReload, {}, "Reload"),
};

const std::vector<RowEditorDecl> kEditors = {
    {P::kList, Fixed("Din Counter"),
     {{.id = P::kEditPulse, .kind = K::Text, .caption = Fixed("Pulse Equivalent"),
       .write = {.format = "%%DINCUNITV%d,%s\r"}, .chars = CharRule::Decimal, .column = kPulseColumn, .strict = true},
      {.id = P::kEditMax, .kind = K::Text, .caption = Fixed("Pulse Max"),
       .write = {.format = "%%DINCUNITM%d,%s\r"}, .chars = CharRule::Decimal, .column = kMaxColumn, .strict = true},
      MakeButton(P::kEditorOk, Shared("Buttons", "Ok"), "", P::kEditorOk),
      MakeButton(P::kEditorCancel, Shared("Buttons", "Cancel"), "", P::kEditorCancel)}},
};
// clang-format on

const HandlerDecl kHandlers[] = {{.number = 1, .keys = {"$DINCTUNTV#", "$DINCTMAXV#"}, .fn = TakeRow}};

}  // namespace

CPageDinCt::CPageDinCt(PageContext& context, const PageInfo& info)
    : CPageBase(
          context, info,
          PageDecl{.fields = kFields,
                   .editors = kEditors,
                   .handlers = kHandlers,
                   .waitMs = kWaitMs,
                   .framed = false,
                   .busyNotice = false})
{
    Value(kList);
}


void CPageDinCt::SaveParams(bool toProfile, CProfileWriter* file)
{
    if (!toProfile) CPageBase::SaveParams(false, file);
}

void CPageDinCt::TakeRowReport(const RouteHit& hit)
{
    const auto row = ChannelAt(hit.line, kRowAt, kRows);
    const int column = hit.target.arg;
    if (!row || (column != kPulseColumn && column != kMaxColumn)) return;
    SetCell(kList, *row, column, std::string(kValueAt < hit.line.size() ? hit.line.substr(kValueAt) : ""));
}

}  // namespace rtu
