#include "pages/automation/PageInterlock.h"

#include <vector>

#include "pages/framework/FieldBuilders.h"

namespace rtu {
namespace {

using P = CPageInterlock;

constexpr int kCodeWidth = 1;    // the code columns only carry the codes for the editor
constexpr int kIndexWidth = 60;  // width of the row number column
constexpr int kNameWidth = 120;  // width of an event or action name column
constexpr int kFieldsPerRule = 3;

// clang-format off
constexpr const char* kEventNames[P::kEvents] = {
    "NC", "POWERUP", "CLOCK SYNC", "MINS", "HOURS", "DAYS", "ARM", "DISARM", "HOME ARM", "POWER LOST",
    "POWER RECOVER", "TMP100 ALERT", "TMP100 RECOVER", "HUMIDITY ALERT", "HUMIDITY RECOVER",
    "DIN0 ALERT", "DIN1 ALERT", "DIN2 ALERT", "DIN3 ALERT", "DIN4 ALERT", "DIN5 ALERT", "DIN6 ALERT", "DIN7 ALERT",
    "DIN0 RECOVER", "DIN1 RECOVER", "DIN2 RECOVER", "DIN3 RECOVER", "DIN4 RECOVER", "DIN5 RECOVER",
    "DIN6 RECOVER", "DIN7 RECOVER", "AIN0 ALERT", "AIN1 ALERT", "AIN2 ALERT", "AIN3 ALERT",
    "AIN0 RECOVER", "AIN1 RECOVER", "AIN2 RECOVER", "AIN3 RECOVER", "GPS Started"};

constexpr const char* kActionNames[P::kActions] = {
    "NC", "DISARM", "ARM", "OUTPUT0 ON", "OUTPUT1 ON", "OUTPUT2 ON", "OUTPUT3 ON",
    "OUTPUT0 OFF", "OUTPUT1 OFF", "OUTPUT2 OFF", "OUTPUT3 OFF",
    "OUTPUT0 PULSE", "OUTPUT1 PULSE", "OUTPUT2 PULSE", "OUTPUT3 PULSE", "SNAPSHOOT OUTS", "DAILY SMS REPORT",
    "EXPORT AD BY COM", "EXPORT AD BY SMS", "EXEC USERCMD 0", "EXEC USERCMD 1", "EXEC USERCMD 2",
    "EXEC USERCMD 3", "EXEC USERCMD 4", "EXEC USERCMD 5", "EXEC USERCMD 6", "GPRS UPLOAD", "BUZZER BEEP",
    "BUZZER ALARM"};
// clang-format on

std::vector<TextRef> FixedItems(std::span<const char* const> names)
{
    std::vector<TextRef> out;
    for (const char* n : names) out.push_back(Fixed(n));
    return out;
}

const std::vector<FieldDecl>& PageFields()
{
    // Each event and each action has a narrow code column in front of its name.
    // clang-format off
    static const std::vector<FieldDecl> fields = {
        {.id = P::kTitle, .kind = K::Label, .caption = Own("TITLE_ILOCK")},
        {.id = P::kListId, .kind = K::List,
         .columns = {{Own("INDEX"), kIndexWidth, false, ColumnKind::Label},
                     {Fixed(""), kCodeWidth, true, ColumnKind::Number}, {Own("ON_EVENT"), kNameWidth, true, ColumnKind::Text},
                     {Fixed(""), kCodeWidth, true, ColumnKind::Number}, {Own("EXEC_CMD"), kNameWidth, true, ColumnKind::Text}},
         .rows = P::kRows},
        MakeButton(ctl::kReload, {}, "Reload"),
    };
    // clang-format on
    return fields;
}

const std::vector<RowEditorDecl>& PageEditors()
{
    static const std::vector<RowEditorDecl> editors = {RowEditorDecl{
        P::kListId,
        Shared("TABS", "PAGE_TIMER_LINKS"),
        // A code the lists do not name opens on their first item.
        {{.id = P::kEditorEvent,
          .kind = K::Combo,
          .caption = Own("ON_EVENT"),
          .write = {.format = "%%ILOCK%d,%d,%d\r"},
          .items = FixedItems(kEventNames),
          .cleared = 0,
          .column = P::kEventCode},
         {.id = P::kEditorAction,
          .kind = K::Combo,
          .caption = Own("EXEC_CMD"),
          .write = {.partOf = P::kEditorEvent},
          .items = FixedItems(kActionNames),
          .cleared = 0,
          .column = P::kActionCode},
         MakeButton(P::kEditorOk, Shared("Buttons", "OK")),
         MakeButton(P::kEditorCancel, Shared("Buttons", "CANCEL"))},
        ",",
        0,
        false,
        P::kEditWaitMs}};
    return editors;
}

void Take(CPageBase& page, const RouteHit& hit) { static_cast<CPageInterlock&>(page).TakeRule(hit.text); }

const HandlerDecl kHandlers[] = {
    {.number = 1, .keys = {"$ILOCK"}, .fn = Take},
};

}  // namespace

std::span<const char* const> CPageInterlock::EventNames() { return kEventNames; }
std::span<const char* const> CPageInterlock::ActionNames() { return kActionNames; }

CPageInterlock::CPageInterlock(PageContext& context, const PageInfo& info) : CPageBase(context, info)
{
    SetDecl({.fields = PageFields(), .editors = PageEditors(), .handlers = kHandlers, .framed = false});
    Value(kListId);  // the fixed rows with their labels exist from the start
}


void CPageInterlock::TakeRule(std::string_view text)
{
    // Three decimal fields separated by a blank or a comma.
    int values[kFieldsPerRule] = {};
    std::size_t at = 0;
    for (int& value : values) {
        const std::size_t start = at;
        while (at < text.size() && at - start < kFieldMax && IsDigit(text[at])) ++at;
        if (at == start) return;  // not a number: not a rule
        value = LeadingNumber(text.substr(start, at - start));
        while (at < text.size() && IsDigit(text[at])) ++at;  // digits past the field's length are not read
        if (at < text.size() && (text[at] == ' ' || text[at] == ',')) ++at;
    }
    const int row = values[0];
    if (row >= kRows) return;
    const int event = values[1] < kEvents ? values[1] : 0;
    const int action = values[2] < kActions ? values[2] : 0;
    Cell(kListId, row, kEventCode) = std::to_string(event);
    Cell(kListId, row, kEventName) = values[1] < kEvents ? kEventNames[event] : "";
    Cell(kListId, row, kActionCode) = std::to_string(action);
    Cell(kListId, row, kActionName) = values[2] < kActions ? kActionNames[action] : "";
    NotifyChanged(kListId);
}

}  // namespace rtu
