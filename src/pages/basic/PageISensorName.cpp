#include "pages/basic/PageISensorName.h"

namespace rtu {

namespace {

const TextTableShape kShape{
    "CPageISensorName", CPageISensorName::kListId, CPageISensorName::kFrameId, {"", "TITLE", ""}, "LISTC0", "LISTC1", CTextTablePage::kNameLabelWidth, CTextTablePage::kNameTextWidth,
    CPageISensorName::kRows, "%d", 0, CPageISensorName::kClearedRows, 0, TextReportForm::ColonRows,
    "%%E%2.2d%s\r\n", false, CPageBase::kDefaultWaitSteps, 0,
};

}  // namespace

CPageISensorName::CPageISensorName(PageContext& context) : CTextTablePage(context, kShape) {}

}  // namespace rtu
