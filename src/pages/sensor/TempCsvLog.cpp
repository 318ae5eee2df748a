#include "pages/sensor/TempCsvLog.h"

#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "link/OutputPath.h"
#include "link/SafeFileWriter.h"

namespace rtu {

namespace {
constexpr const char* kAppDirName = "rtuconfig";  // the tool's folder under the data home
constexpr const char* kCsvMark = ".csv";          // an export name holding this keeps it
constexpr mode_t kLogFileMode = 0666;             // before the umask, as for any new file
}  // namespace

bool CTempCsvLog::Open(const std::string& path)
{
    Close();
    path_ = path;
    writeFailed_ = false;
    error_.clear();
    if (path.empty()) {
        error_ = "no file name";
        return false;
    }
    std::error_code ec;
    const std::filesystem::path parent = std::filesystem::path(path).parent_path();
    if (!parent.empty()) std::filesystem::create_directories(parent, ec);
    fd_ = OpenAppendFile(path, kLogFileMode, error_);
    return fd_ >= 0;
}

void CTempCsvLog::Close()
{
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
}

bool CTempCsvLog::Append(const std::string& line)
{
    if (fd_ < 0) return false;
    std::string_view rest = line;
    while (!rest.empty()) {
        const ssize_t n = ::write(fd_, rest.data(), rest.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            if (!writeFailed_) error_ = n < 0 ? std::strerror(errno) : "nothing was written";
            writeFailed_ = true;
            return false;
        }
        rest.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

bool CTempCsvLog::Recreate()
{
    Close();
    std::error_code ec;
    std::filesystem::remove(path_, ec);
    return Open(path_);
}

std::string DefaultTempLogPath()
{
    std::filesystem::path dir;
    const char* data = std::getenv("XDG_DATA_HOME");
    const char* home = std::getenv("HOME");
    if (data && data[0] == '/') dir = data;  // relative values are ignored, as for every XDG variable
    else if (home && home[0] != '\0') dir = std::filesystem::path(home) / ".local" / "share";
    else return {};
    return (dir / kAppDirName / CTempCsvLog::kFileName).string();
}

std::string TempExportPath(std::string path)
{
    if (path.find(kCsvMark) == std::string::npos) path += kCsvMark;
    return path;
}

bool WriteTempCsv(const std::string& path, std::span<const TempRow> rows, std::string& error)
{
    CSafeFileWriter out;
    bool ok = out.Open(path);
    for (const TempRow& row : rows) {
        if (!ok) break;
        ok = out.Write(TempCsvLine(row));
    }
    ok = ok && out.Commit();
    if (!ok) error = out.Error();
    return ok;
}

}  // namespace rtu
