#include "link/ConsoleTable.h"

namespace rtu {
namespace {

using A = ConsoleAction;

constexpr ConsoleRow kRows[] = {
    {"Please wait", 12, false, nullptr, nullptr, false, A::AckPleaseWait},
    {"CMD OK", 1, true, nullptr, nullptr, false, A::AckOk},
    {"CMD ERR", -1, true, nullptr, nullptr, false, A::AckErr},
    {"Waiting module...", 20, true, "Poweruping.....", nullptr, false, A::None},
    {"Detecting cmos camera", -1, false, "Initing cmos camera.....", nullptr, false, A::None},
    {"System init Done...", 20, true, "Powerup success", nullptr, false, A::None},
    {"Machine timer supported!", 20, true, "System starting....", nullptr, false, A::None},
    {"come in setup mode", 6, true, "Come into setup mode success", "Come into setup mode success", true, A::None},
    {"Network Registing...", 6, true, "Network registing......", nullptr, false, A::None},
    {"Press '%%%%", 6, true, "RTU power uping...", "", false, A::None},
    {"Working mode now", 6, true, "Come into working mode", "Come into working mode", false, A::None},
    {"Initing Camera...", 6, true, "Initing cmos camera.....", nullptr, false, A::None},
    {"Setting Module params..", 6, true, "Setting module params.....", nullptr, false, A::None},
    {"Attaching GPRS", 6, true, "GPRS attaching.....", nullptr, false, A::None},
    {"Login Failed", -1, false, nullptr, nullptr, false, A::PostLoginRetry},
    {"please input password", 6, true, nullptr, nullptr, false, A::SendPassword},
    {"Console started, please login", 6, true, nullptr, nullptr, false, A::SendPassword},
    {"Login Success", -1, false, "Logging successfully", nullptr, true, A::LoginSuccess},
    {"Login Failed", -1, false, "Password is incorrect!!", nullptr, true, A::LoginFailed},
    {"DUMPR", -1, false, "Reload successfully, connected with PC!", nullptr, true, A::Dumpr},
};

}  // namespace

std::span<const ConsoleRow> ConsoleTable() { return kRows; }

}  // namespace rtu
