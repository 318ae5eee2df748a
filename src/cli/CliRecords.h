// rtuctl's temperature record commands: real-time records as they arrive, and the unit's
// stored records on request, both as CSV lines of the record pages' format.
#pragma once

#include <string>

#include "cli/CliLoop.h"

namespace rtu::cli {

inline constexpr int kLogQuietMs = 2000;  // log-sync: the log is complete after this much silence (default)

// Prints each real-time record as a CSV line (and appends it to csvPath when given) until
// `count` records (0: no limit) or `seconds` (0: until interrupted) have passed.
int CmdRecords(CCliLoop& loop, const std::string& csvPath, int count, double seconds);
// Asks the unit for its stored records and writes every one to csvPath (newest first). The
// sync ends once the unit has acknowledged and then sent nothing of the sync for quietMs; a
// sync that brings no record leaves csvPath as it was.
int CmdLogSync(CCliLoop& loop, const std::string& csvPath, int quietMs = kLogQuietMs);

}  // namespace rtu::cli
