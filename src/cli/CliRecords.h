// rtuctl's temperature record commands: real-time records as they arrive, and the unit's
// stored records on request, both as CSV lines of the record pages' format.
#pragma once

#include <string>

#include "cli/CliLoop.h"

namespace rtu::cli {

inline constexpr int kLogQuietMs = 2000;  // log-sync: the log is complete after this much silence

// Prints each real-time record as a CSV line (and appends it to csvPath when given) until
// `count` records (0: no limit) or `seconds` (0: until interrupted) have passed.
int CmdRecords(CCliLoop& loop, const std::string& csvPath, int count, double seconds);
// Asks the unit for its stored records and writes them to csvPath (newest first).
int CmdLogSync(CCliLoop& loop, const std::string& csvPath);

}  // namespace rtu::cli
