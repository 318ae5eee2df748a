#include "pages/net/PageEmail.h"

#include <vector>

#include "pages/framework/FieldBuilders.h"
#include "pages/net/InputRowEditor.h"

namespace rtu {
namespace {

using P = CPageEmail;

constexpr int kNumberWidth = 120;
constexpr int kAddressWidth = 160;

void Take(CPageBase& page, const RouteHit& hit) { static_cast<P&>(page).TakeRow(hit.digit, hit.text); }

const std::vector<FieldDecl> kFields = {
    {.id = 1104, .kind = FieldKind::Label, .caption = Own("Title")},
    {.id = P::kList,
     .kind = FieldKind::List,
     .columns = {{Own("LISTC0"), kNumberWidth, false, ColumnKind::Label}, {Own("LISTC1"), kAddressWidth}},
     .rows = P::kRows,
     .rowLabelFormat = "No.%d"},
};
const std::vector<RowEditorDecl> kEditors = {InputRowEditor(P::kList, "%%EM%d%s\r", P::kColAddress)};
const HandlerDecl kHandlers[] = {{.number = 1, .keys = {"$EM#"}, .fn = Take}};

}  // namespace

CPageEmail::CPageEmail(PageContext& context, const PageInfo& info)
    : CPageBase(
          context, info,
          PageDecl{.fields = kFields, .editors = kEditors, .handlers = kHandlers, .waitMs = kWaitMs, .framed = false})
{
    Value(kList);
}

void CPageEmail::TakeRow(int row, std::string_view text)
{
    if (row < 0 || row >= kRows) return;
    SetCell(kList, row, kColAddress, std::string(text));
}

}  // namespace rtu
