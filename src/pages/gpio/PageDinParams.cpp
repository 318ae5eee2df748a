#include "pages/gpio/PageDinParams.h"

#include <vector>

#include "pages/framework/CommandFormat.h"
#include "pages/framework/FieldBuilders.h"
#include "pages/framework/Printf.h"
#include "link/TextFields.h"

namespace rtu {
namespace {

using P = CPageDinParams;

constexpr int kLabelWidth = 80;     // column 0
constexpr int kMinutesWidth = 120;  // columns 1 and 2
constexpr int kLagWidth = 160;      // column 3
constexpr int kColumns = 3;         // value columns
const char* const kRowFormats[kColumns] = {"%%IOAS%d,%s\r", "%%IOLS%d,%s\r", "%%DINDLY%d,%s\r"};

std::string RowLine(int column, int row, const std::string& value)
{
    const CommandArg args[] = {static_cast<long long>(row), SingleLine(value)};
    return FormatCommand(kRowFormats[column], args).value_or(std::string{});
}

// clang-format off
const std::vector<FieldDecl> kFields = {
    {.id = ctl::kFrame, .kind = K::Label, .caption = Own("Title")},
    {.id = P::kList, .kind = K::List,
     .columns = {{Own("LISTC0"), kLabelWidth, false, ColumnKind::Label},
                 {Own("LISTC1"), kMinutesWidth, true, ColumnKind::Number},
                 {Own("LISTC2"), kMinutesWidth, true, ColumnKind::Number},
                 {Own("LISTC3"), kLagWidth, true, ColumnKind::Number}},
     .rows = P::kRows, .rowLabelFormat = "Din%d"},
    MakeButton(ctl::kReload, {}, "Reload"),
};

const std::vector<RowEditorDecl> kEditors = {
    {P::kList, Fixed("Digital inputs"),
     {{.id = P::kEditInterval, .kind = K::Text, .caption = Own("IOAS"), .captionId = 1413,
       .write = {.format = kRowFormats[0]}, .chars = CharRule::Digits, .column = 1},
      {.id = P::kEditRepeat, .kind = K::Text, .caption = Own("IOLS"), .captionId = 1414,
       .write = {.format = kRowFormats[1]}, .chars = CharRule::Digits, .column = 2},
      {.id = P::kEditLag, .kind = K::Text, .caption = Own("TIMELAG"), .captionId = 1415,
       .write = {.format = kRowFormats[2]}, .chars = CharRule::Digits, .column = 3},
      MakeButton(P::kEditorOk, Shared("Buttons", "Ok"), "", P::kEditorOk),
      MakeButton(P::kEditorCancel, Shared("Buttons", "Cancel"), "", P::kEditorCancel)},
     ",", 0, true, P::kRowWaitMs},
};
// clang-format on

void TakeInterval(CPageBase& page, const RouteHit& hit) { static_cast<P&>(page).TakeReport(hit, 1); }
void TakeRepeat(CPageBase& page, const RouteHit& hit) { static_cast<P&>(page).TakeReport(hit, 2); }
void TakeLag(CPageBase& page, const RouteHit& hit) { static_cast<P&>(page).TakeReport(hit, 3); }

const HandlerDecl kHandlers[] = {
    {.number = 1, .keys = {"$DINAS#"}, .fn = TakeInterval},
    {.number = 2, .keys = {"$DINLS#"}, .fn = TakeRepeat},
    {.number = 3, .keys = {"$DINDLY#"}, .fn = TakeLag},
};

}  // namespace

CPageDinParams::CPageDinParams(PageContext& context, const PageInfo& info)
    : CPageBase(context, info, PageDecl{.fields = kFields, .editors = kEditors, .handlers = kHandlers, .framed = false})
{
    Value(kList);  // the four rows with their labels exist from the start
}


void CPageDinParams::SaveParams(bool toProfile, CProfileWriter* file)
{
    if (!toProfile) return;
    for (int row = 0; row < kRows; ++row)
        for (int c = 0; c < kColumns; ++c) EmitCommand(true, RowLine(c, row, CellText(kList, row, c + 1)), file);
}

void CPageDinParams::TakeReport(const RouteHit& hit, int column)
{
    // Every blank or comma starts a field: "2,15", "1 30"; a blank after the key leaves the
    // first field empty, which names row 0.
    const auto fields = SplitFields(hit.text, " ,", kMaxFields, kMaxFieldLength);
    if (fields.size() < 2) return;
    const std::string& value = fields[1];
    if (value.empty() || !(value[0] == '-' || (value[0] >= '0' && value[0] <= '9'))) return;  // no number
    const int row = LeadingNumber(fields[0]);
    if (row < 0 || row >= kRows) return;
    SetCell(kList, row, column, Printf("%d", LeadingNumber(value)));
}

}  // namespace rtu
