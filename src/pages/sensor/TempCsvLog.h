// The real-time record log "ex temp.csv": opened once for appending, one CSV line per
// record, written through at once so a crash loses at most the line being written. The
// file is opened under the output rules of link/OutputPath.h (no planted link is followed,
// only a regular file is appended to).
#pragma once

#include <span>
#include <string>

#include "pages/sensor/TempRecord.h"

namespace rtu {

class CTempCsvLog {
public:
    static constexpr const char* kFileName = "ex temp.csv";

    CTempCsvLog() = default;
    ~CTempCsvLog() { Close(); }
    CTempCsvLog(const CTempCsvLog&) = delete;
    CTempCsvLog& operator=(const CTempCsvLog&) = delete;

    // Opens (or creates) the file for appending, creating its folder; false (Error() says
    // why) when it can't.
    bool Open(const std::string& path);
    void Close();
    bool IsOpen() const { return fd_ >= 0; }
    const std::string& Path() const { return path_; }
    // Appends one line; false when the log is closed or the write failed.
    bool Append(const std::string& line);
    // Whether a write failed since the log was opened (Error() says why).
    bool WriteFailed() const { return writeFailed_; }
    // Why the last Open or the first failed write failed.
    const std::string& Error() const { return error_; }
    // Closes the file, deletes it and opens a new empty one; false when the new one can't be opened.
    bool Recreate();

private:
    int fd_ = -1;
    std::string path_;
    bool writeFailed_ = false;
    std::string error_;
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
