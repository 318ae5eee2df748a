// The text tables: one row each. Every table shows a fixed number of the unit's texts,
// decodes them from UCS-2 hex and writes an edited row at once.
#include "pages/basic/TextTables.h"

#include "pages/basic/TextTablePage.h"
#include "pages/framework/FieldBuilders.h"

namespace rtu {
namespace {

using namespace texttables;
using F = TextReportForm;

constexpr int kMessageLabelWidth = 120;     // row label column of the message tables
constexpr int kMessageTextWidth = 220;      // text column of the message tables
constexpr int kWideMessageTextWidth = 260;  // text column of the analog message table
constexpr int kAllMessages = 30;            // message entries 0-29
constexpr int kInputMessages = 8;           // two groups of four inputs
constexpr int kInputs = 4;                  // rows per group; inputs, outputs and analog channels
constexpr int kAnalogFirstEntry = 8;        // analog message row 0 is message entry 8
constexpr int kSensors = 6;                 // wireless sensor names 0-5
constexpr int kSensorsCleared = 4;          // a reload empties sensor names 0-3 only
constexpr int kRowsNote = 9411;             // says which message rows are alarm and which restore texts

// Button 1015: the unit restores its default messages, then the page reloads them.
void RestoreDefaultMessages(CPageBase& page)
{
    page.WriteBlock("%PREVSMS1\r");
    page.ReloadGroup();
}

// clang-format off
const TextTableDecl kTables[] = {
    {.page = PageId::AllSms, .title = Shared("TABS", "PAGE_SMS"), .labelWidth = kMessageLabelWidth,
     .textWidth = kMessageTextWidth, .rows = kAllMessages, .rowLabelFormat = "No.%d", .reportKey = "$SMS",
     .reportForm = F::Entry, .rowCommand = "%%S%2.2d%s\r\n", .waitMs = kShortWaitMs, .reloadButton = ctl::kReload},
    {.page = PageId::DinAlarm, .listId = kDinAlarmList, .title = Shared("TABS", "PAGE_DINSMS"),
     .labelWidth = kMessageLabelWidth, .textWidth = kMessageTextWidth, .rows = kInputMessages,
     .rowLabelFormat = "No.%d", .labelCycle = kInputs, .reportKey = "$SMS", .reportForm = F::Entry,
     .rowCommand = "%%S%2.2d%s\r\n", .reloadButton = ctl::kReload,
     .extra = {{.id = kDefaultButton, .kind = FieldKind::Button, .caption = Shared("Buttons", "DEFAULT"),
                .visible = false, .onClick = RestoreDefaultMessages},
               {.id = kRowsNote, .kind = FieldKind::Label,
                .caption = {"", "DIN_ROWS", "The first four rows (No.0-No.3) are the alarm texts of inputs 0-3, "
                                            "the last four (No.0-No.3 again) their restore texts."},
                .note = true}}},
    {.page = PageId::ADSms, .title = Shared("TABS", "PAGE_ADCSMS"), .labelWidth = kMessageLabelWidth,
     .textWidth = kWideMessageTextWidth, .rows = kInputMessages, .rowLabelFormat = "No.%d", .labelCycle = kInputs,
     .entryBase = kAnalogFirstEntry, .reportKey = "$SMS", .reportForm = F::Entry,
     .rowCommand = "%%S%2.2d%s%s\r\n", .unitRow = true, .waitMs = kShortWaitMs,
     .extra = {{.id = kRowsNote, .kind = FieldKind::Label,
                .caption = {"", "AIN_ROWS", "The first four rows (No.0-No.3) are the alarm texts of analog inputs 0-3, "
                                            "the last four (No.0-No.3 again) their restore texts."},
                .note = true},
               {.id = kHeaderCheck, .kind = FieldKind::Check, .caption = Own("SMSHEAD"),
                .report = {"$AINSMH", 8, Decode::Flag}, .write = {.format = "%%adsmsheaden%d\r", .onClick = true},
                .dump = "%DUMP_ROMSMS\r"}}},
    {.page = PageId::ADName, .title = Shared("TABS", "PAGE_ADCNAME"), .labelKey = "NAME_LISTC0",
     .textKey = "NAME_LISTC1", .rows = kInputs, .reportKey = "$ADNAME", .rowCommand = "%%A%2.2d%s\r\n",
     .waitMs = kShortWaitMs},
    {.page = PageId::DinName, .listId = kNameList, .title = Own("TITLE"), .rows = kInputs, .reportKey = "$DINAME",
     .rowCommand = "%%I%2.2d%s\r\n"},
    {.page = PageId::DoutName, .listId = kNameList, .title = Own("TITLE"), .rows = kInputs, .reportKey = "$DONAME",
     .rowCommand = "%%O%2.2d%s\r\n"},
    {.page = PageId::ISensorName, .listId = kSensorNameList, .frameId = kSensorFrame, .title = Own("TITLE"),
     .rows = kSensors, .clearRows = kSensorsCleared, .reportKey = "$ISNAME", .reportForm = F::ColonRows,
     .rowCommand = "%%E%2.2d%s\r\n"},
};
// clang-format on

}  // namespace

std::span<const TextTableDecl> TextTables() { return kTables; }

std::unique_ptr<CPageBase> MakeTextTable(PageContext& context, const PageInfo& info)
{
    return MakeFamilyPage<CTextTablePage, TextTableDecl>(kTables, context, info);
}

}  // namespace rtu
