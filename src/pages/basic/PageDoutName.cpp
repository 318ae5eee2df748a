#include "pages/basic/PageDoutName.h"

namespace rtu {

namespace {

const TextTableShape kShape{
    "CPageDoutName", CPageDoutName::kListId, ctl::kFrame, {"", "TITLE", ""}, "LISTC0", "LISTC1", CTextTablePage::kNameLabelWidth, CTextTablePage::kNameTextWidth,
    CPageDoutName::kRows, "%d", 0, CPageDoutName::kRows, 0, TextReportForm::IndexedName,
    "%%O%2.2d%s\r\n", false, CPageBase::kDefaultWaitSteps, 0,
};

}  // namespace

CPageDoutName::CPageDoutName(PageContext& context) : CTextTablePage(context, kShape) {}

}  // namespace rtu
