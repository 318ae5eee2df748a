// What the tool does when a line from the unit's console holds one of these texts.
// Every row is tested on its own, in table order.
#pragma once

#include <span>
#include <string_view>

namespace rtu {

enum class ConsoleAction {
    None,
    AckPleaseWait,   // the command is being worked on
    AckOk,           // "CMD OK"
    AckErr,          // "CMD ERR"
    PostLoginRetry,  // post the login retry command
    SendPassword,    // the unit asks for the console password
    LoginSuccess,    // attempts reset, reload posted
    LoginFailed,     // logged out
    Dumpr,           // the reload ended: the unit is connected and logged in
};

struct ConsoleRow {
    std::string_view contains;
    int operatingTicks;  // ShowOperating(n) first; -1: not shown
    bool finished;       // ShowFinished() afterwards
    const char* status;  // new status line text; nullptr: unchanged
    const char* mode;    // new mode line text; nullptr: unchanged, "": cleared
    bool beep;
    ConsoleAction action;
};

std::span<const ConsoleRow> ConsoleTable();

}  // namespace rtu
