#include "pages/basic/PageADSms.h"

#include "pages/framework/Printf.h"

namespace rtu {

namespace {

const TextTableShape kADSmsShape{
    "CPageADSms", ctl::kList, ctl::kFrame, {"TABS", "PAGE_ADCSMS", ""}, "LISTC0", "LISTC1", CTextTablePage::kMessageLabelWidth,
    CTextTablePage::kWideMessageTextWidth,
    CPageADSms::kRows, "No.%d", CPageADSms::kInputs, CPageADSms::kRows, CPageADSms::kFirstEntry,
    TextReportForm::Entry, "%%S%2.2d%s%s\r\n", true, CTextTablePage::kShortWaitSteps, 0,
};

}  // namespace

CPageADSms::CPageADSms(PageContext& context) : CTextTablePage(context, kADSmsShape)
{
    FieldDecl header;
    header.id = kHeaderCheck;
    header.kind = FieldKind::Check;
    header.caption = {"", "SMSHEAD", ""};
    header.reportKey = "$AINSMH";
    header.command = kHeaderCheck;
    AddField(header);
}

bool CPageADSms::OnCommand(int id)
{
    if (id != kHeaderCheck) return CTextTablePage::OnCommand(id);
    EmitCommand(false, Printf("%%adsmsheaden%d\r", Check(kHeaderCheck) ? 1 : 0), nullptr);
    return true;
}

}  // namespace rtu
