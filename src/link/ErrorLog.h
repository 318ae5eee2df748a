// The serial error log: one entry per failed system call, appended to serial_err.txt in
// the user's state directory. Nothing is shown to the user; the log is the only trace.
#pragma once

#include <cstddef>
#include <string>

namespace rtu {

// The log is rotated to serial_err.txt.1 (replacing an older one) before it would grow past this.
constexpr std::size_t kErrorLogMaxBytes = 1024 * 1024;

// Size of the report buffer; a longer report (long text or system message) is cut.
constexpr std::size_t kErrorReportSize = 200;

// The system's message text for an error code (strerror).
std::string SystemErrorText(int errorCode);

// "WARNING:  <what> Failed with the following error: \n<system text>\nPort: <port>\nCode: <code>\n",
// cut to kErrorReportSize - 1 bytes.
std::string FormatErrorReport(const std::string& what, int errorCode, int portNumber);

// Where entries go: $XDG_STATE_HOME/rtuconfig/serial_err.txt, else
// ~/.local/state/rtuconfig/serial_err.txt; "" when neither can be named.
std::string ErrorLogPath();

// Test hook: log to this file instead ("" goes back to the state directory).
void SetErrorLogPathForTesting(const std::string& path);

// Appends one entry: the report, the local time "YYYY/MM/DD  hh:mm:ss" and "\r\n".
// Creates the directory (mode 0700) when missing; drops the entry silently when the file cannot
// be opened or is not a regular file (a symbolic link is never followed).
void AppendErrorLog(const std::string& report);

// FormatErrorReport + AppendErrorLog.
void ReportError(const std::string& what, int portNumber, int errorCode);

}  // namespace rtu
