#include "pages/basic/PageDinName.h"

namespace rtu {

namespace {

const TextTableShape kShape{
    "CPageDinName", CPageDinName::kListId, ctl::kFrame, {"", "TITLE", ""}, "LISTC0", "LISTC1", CTextTablePage::kNameLabelWidth, CTextTablePage::kNameTextWidth,
    CPageDinName::kRows, "%d", 0, CPageDinName::kRows, 0, TextReportForm::IndexedName,
    "%%I%2.2d%s\r\n", false, CPageBase::kDefaultWaitSteps, 0,
};

}  // namespace

CPageDinName::CPageDinName(PageContext& context) : CTextTablePage(context, kShape) {}

}  // namespace rtu
