// The real-time record log "ex temp.csv": an append log (link/AppendLog.h) of one CSV line
// per record.
#pragma once

#include <span>
#include <string>

#include "link/AppendLog.h"
#include "pages/sensor/TempRecord.h"

namespace rtu {

class CTempCsvLog : public CAppendLog {
public:
    static constexpr const char* kFileName = "ex temp.csv";
};

// Where the tool keeps the log: "$XDG_DATA_HOME/rtuconfig/ex temp.csv", else
// "~/.local/share/rtuconfig/ex temp.csv"; empty when neither is known.
std::string DefaultTempLogPath();

// The export name: the chosen path, with ".csv" appended when it holds no ".csv".
std::string TempExportPath(std::string path);
// Writes the rows as CSV lines (first row first) over `path` as a whole; false with `error`
// set when the file can't be created or written.
bool WriteTempCsv(const std::string& path, std::span<const TempRow> rows, std::string& error);

}  // namespace rtu
