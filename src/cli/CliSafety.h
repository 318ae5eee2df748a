// What rtuctl does around a change of the unit: a backup of the unit before it, a per-line
// report after it.
#pragma once

#include <string>

#include "cli/CliCommands.h"

namespace rtu::cli {

// Now on the wall clock, as "YYYY-MM-DDTHH:MM:SSZ".
std::string WallClockText();
// Writes the last run's per-line report; false (named on stderr) when it cannot be written.
bool WriteExecReport(CCliLoop& loop, const ExecSummary& summary, const std::string& startedText,
                     const std::string& path);
// Reads the unit in full and saves it as a backup profile, unless `extras` says not to.
// kExitOk, or the exit code of the failure (nothing was sent to change the unit then).
int BackUpUnit(CCliLoop& loop, const ExecExtras& extras, const std::string& reason);

}  // namespace rtu::cli
