#include "pages/basic/PageADName.h"

namespace rtu {

namespace {

const TextTableShape kShape{
    "CPageADName", ctl::kList, ctl::kFrame, {"TABS", "PAGE_ADCNAME", ""}, "NAME_LISTC0", "NAME_LISTC1", CTextTablePage::kNameLabelWidth, CTextTablePage::kNameTextWidth,
    CPageADName::kRows, "%d", 0, CPageADName::kRows, 0, TextReportForm::IndexedName,
    "%%A%2.2d%s\r\n", false, CTextTablePage::kShortWaitSteps, 0,
};

}  // namespace

CPageADName::CPageADName(PageContext& context) : CTextTablePage(context, kShape) {}

}  // namespace rtu
