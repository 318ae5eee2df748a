// The programmable event table: 24 rules "on event E run action A", each edited in the rule
// editor and written to the unit at once. The names of events and actions are the unit's own.
#pragma once

#include <memory>
#include <optional>
#include <span>
#include <string>

#include "pages/framework/PageBase.h"

namespace rtu {

class CPageInterlock : public CPageBase {
public:
    static constexpr int kRows = 24;     // rules 0-23
    static constexpr int kEvents = 40;   // event codes 0-39
    static constexpr int kActions = 29;  // action codes 0-28
    static constexpr int kListId = ctl::kList;
    static constexpr int kTitle = 1281;   // group box around the list
    static constexpr int kEventCode = 1;  // column of the event code (hidden, 1 pixel)
    static constexpr int kEventName = 2;
    static constexpr int kActionCode = 3;  // column of the action code (hidden, 1 pixel)
    static constexpr int kActionName = 4;
    static constexpr int kEditorEvent = 1001;   // rule editor: the event list
    static constexpr int kEditorAction = 1002;  // rule editor: the action list
    static constexpr int kEditorOk = 1;
    static constexpr int kEditorCancel = 2;
    static constexpr int kEditWaitMs = 1000;      // ms a rule line waits for its acknowledgement
    static constexpr std::size_t kFieldMax = 63;  // characters of a report field that are read

    CPageInterlock(PageContext& context, const PageInfo& info);

    // "$ILOCK<row>,<event>,<action>" (blank or comma between the numbers).
    void TakeRule(std::string_view text);

    static std::span<const char* const> EventNames();
    static std::span<const char* const> ActionNames();
};

}  // namespace rtu
