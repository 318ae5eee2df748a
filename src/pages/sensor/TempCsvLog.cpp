#include "pages/sensor/TempCsvLog.h"

#include <cstdlib>
#include <filesystem>

#include "link/SafeFileWriter.h"

namespace rtu {

namespace {
constexpr const char* kAppDirName = "rtuconfig";  // the tool's folder under the data home
constexpr const char* kCsvMark = ".csv";          // an export name holding this keeps it
}  // namespace

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
