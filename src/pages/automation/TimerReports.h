// What the timer pages share: the unit's action lists and the shape of its timer reports
// ("$TIMERH3 07": a field letter, the timer number, one separator, the value).
#pragma once

#include <optional>
#include <string_view>
#include <vector>

#include "pages/framework/FieldDecl.h"

namespace rtu {

// The machine timers' action list (45 items, the index is the action code).
const std::vector<TextRef>& MachineTimerActions();
// The weekly timers' action list (35 items; from 29 on the codes differ from the machine timers').
const std::vector<TextRef>& WeeklyTimerActions();
// The weekday list ("DAY0" … "DAY6").
const std::vector<TextRef>& Weekdays();

struct TimerReport {
    char field = 0;            // 'H', 'M', 'T', 'W'
    int timer = -1;            // the timer number
    std::string_view value{};  // from the third character after the key to the end of the line
};

// Splits the text after a timer report's key; nothing when the timer number is not one
// decimal digit (a longer number names a timer no page has).
std::optional<TimerReport> SplitTimerReport(std::string_view afterKey);

// The number a text starts with, as the unit's lists take it; -1 for no number at all.
int SelectionOf(std::string_view text, int items);

// The range of a timer's hour and minute boxes: an hour of the day, a minute of the hour.
inline constexpr int kTimerHourMax = 23, kTimerMinuteMax = 59;

// Appends the hour and the minute box of a timer row. `row` holds what both share (group,
// visibility, the label that captions the row); the hour box is written by `hourWrite`, the
// minute box by `minuteWrite`. Both take digits only, come back with the timer
// dump, and take their captions "HOUR" and "MINS" from the catalog section `section` (empty:
// the page's own).
void AddTimeOfDay(std::vector<FieldDecl>& f, const FieldDecl& row, int hourId, WriteDecl hourWrite, int minuteId,
                  WriteDecl minuteWrite, const char* section = "");

}  // namespace rtu
