#include "pages/basic/PageAllSms.h"

namespace rtu {

namespace {

const TextTableShape kAllSmsShape{
    "CPageAllSms", ctl::kList, ctl::kFrame, {"TABS", "PAGE_SMS", ""}, "LISTC0", "LISTC1", CTextTablePage::kMessageLabelWidth,
    CTextTablePage::kMessageTextWidth,
    CPageAllSms::kRows, "No.%d", 0, CPageAllSms::kRows, 0, TextReportForm::Entry,
    "%%S%2.2d%s\r\n", false, CTextTablePage::kShortWaitSteps, ctl::kReload,
};

}  // namespace

CPageAllSms::CPageAllSms(PageContext& context) : CTextTablePage(context, kAllSmsShape) {}

}  // namespace rtu
