#include "link/ErrorLog.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <mutex>

namespace rtu {
namespace {

constexpr const char* kLogFileName = "serial_err.txt";  // the log's file name
constexpr const char* kAppDirName = "rtuconfig";        // our folder in the state directory
constexpr std::size_t kTimeStampSize = 80;              // "YYYY/MM/DD  hh:mm:ss", room for any int fields
constexpr const char* kRotatedSuffix = ".1";            // the previous log, replaced at each rotation
constexpr mode_t kLogFileMode = 0600;                   // the log is the user's own
constexpr mode_t kStateDirMode = 0700;                  // state directories are private

// Creates the missing directories on the way to `dir`, each private to the user.
void CreatePrivateDirectories(const std::filesystem::path& dir)
{
    std::filesystem::path partial;
    for (const auto& part : dir) {
        partial /= part;
        ::mkdir(partial.c_str(), kStateDirMode);  // an existing one (EEXIST) is left as it is
    }
}

// Opens the log for appending without following a symbolic link; -1 unless it is a regular file.
int OpenLog(const std::string& path)
{
    // O_NONBLOCK: a FIFO planted at the path must not hang the caller.
    const int fd =
        ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, kLogFileMode);
    if (fd < 0) return -1;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return -1;
    }
    return fd;
}

std::mutex& LogMutex()
{
    static std::mutex m;
    return m;
}

std::string& PathOverride()
{
    static std::string path;
    return path;
}

// strerror_r comes in a GNU (returns the text) and an XSI (returns a status) flavour.
[[maybe_unused]] const char* PickErrorText(const char* text, const char*) { return text; }
[[maybe_unused]] const char* PickErrorText(int status, const char* buffer)
{
    return status == 0 ? buffer : "Unknown error";
}

}  // namespace

std::string SystemErrorText(int errorCode)
{
    char buffer[kErrorReportSize] = {};
    return PickErrorText(strerror_r(errorCode, buffer, sizeof buffer), buffer);
}

std::string FormatErrorReport(const std::string& what, int errorCode, int portNumber)
{
    // The system's message text ends with a line break, as the entry layout expects.
    const std::string system = SystemErrorText(errorCode) + "\n";
    char report[kErrorReportSize];
    std::snprintf(report, sizeof report, "WARNING:  %s Failed with the following error: \n%sPort: %d\nCode: %d\n",
                  what.c_str(), system.c_str(), portNumber, errorCode);
    return report;
}

std::string ErrorLogPath()
{
    {
        std::lock_guard lock(LogMutex());
        if (!PathOverride().empty()) return PathOverride();
    }
    std::filesystem::path dir;
    const char* state = std::getenv("XDG_STATE_HOME");
    const char* home = std::getenv("HOME");
    if (state && state[0] == '/') {  // relative values are ignored, as for every XDG variable
        dir = state;
    } else if (home && home[0] != '\0') {
        dir = std::filesystem::path(home) / ".local" / "state";
    } else {
        return {};
    }
    return (dir / kAppDirName / kLogFileName).string();
}

void SetErrorLogPathForTesting(const std::string& path)
{
    std::lock_guard lock(LogMutex());
    PathOverride() = path;
}

void AppendErrorLog(const std::string& report)
{
    const std::string path = ErrorLogPath();
    if (path.empty()) return;

    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char stamp[kTimeStampSize];
    std::snprintf(stamp, sizeof stamp, "%4.4d/%2.2d/%2.2d  %2.2d:%2.2d:%2.2d", local.tm_year + 1900, local.tm_mon + 1,
                  local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec);
    const std::string entry = report + stamp + "\r\n";

    std::lock_guard lock(LogMutex());
    CreatePrivateDirectories(std::filesystem::path(path).parent_path());
    int fd = OpenLog(path);
    if (fd < 0) return;
    struct stat st {};
    if (::fstat(fd, &st) == 0 && static_cast<std::size_t>(st.st_size) + entry.size() > kErrorLogMaxBytes) {
        // Rotate: the full log becomes the previous one and a fresh log starts.
        ::close(fd);
        if (std::rename(path.c_str(), (path + kRotatedSuffix).c_str()) != 0) return;
        fd = OpenLog(path);
        if (fd < 0) return;
    }
    // One write per entry, so entries from several processes do not interleave.
    [[maybe_unused]] const ssize_t written = ::write(fd, entry.data(), entry.size());
    ::close(fd);
}

void ReportError(const std::string& what, int portNumber, int errorCode)
{
    AppendErrorLog(FormatErrorReport(what, errorCode, portNumber));
}

}  // namespace rtu
