// The unit's automation commands whose arguments a table row can't describe: output links,
// the event table, the timers, the wireless zones and the user commands.
#pragma once

#include <optional>
#include <string_view>
#include <vector>

#include "sim/core/SimCommandTable.h"

namespace rtu {

// The assignments of one automation command line (without its "%" and terminator);
// nothing when it is none of them or the unit can't store its values.
std::optional<std::vector<SSimAssignment>> ParseAutomationCommand(std::string_view command);

}  // namespace rtu
