#include "pages/basic/PageDinAlarm.h"

namespace rtu {

namespace {

const TextTableShape kDinAlarmShape{
    "CPageDinAlarm", CPageDinAlarm::kListId, ctl::kFrame, {"TABS", "PAGE_DINSMS", ""}, "LISTC0", "LISTC1", CTextTablePage::kMessageLabelWidth,
    CTextTablePage::kMessageTextWidth,
    CPageDinAlarm::kRows, "No.%d", CPageDinAlarm::kInputs, CPageDinAlarm::kRows, 0, TextReportForm::Entry,
    "%%S%2.2d%s\r\n", false, CPageBase::kDefaultWaitSteps, ctl::kReload,
};

constexpr const char* kDefaultMessages = "%PREVSMS1\r";  // the unit restores its default messages

}  // namespace

CPageDinAlarm::CPageDinAlarm(PageContext& context) : CTextTablePage(context, kDinAlarmShape)
{
    FieldDecl defaults;
    defaults.id = kDefaultButton;
    defaults.kind = FieldKind::Button;
    defaults.caption = {"Buttons", "DEFAULT", ""};
    defaults.command = kDefaultButton;
    defaults.visible = false;
    AddField(defaults);
}

bool CPageDinAlarm::OnCommand(int id)
{
    if (id != kDefaultButton) return CTextTablePage::OnCommand(id);
    WriteBlock(kDefaultMessages);
    ReloadGroup();
    return true;
}

}  // namespace rtu
