#include "cli/CliSafety.h"

#include <chrono>
#include <cstdio>
#include <ctime>

#include "link/SafeFileWriter.h"
#include "session/ExecReport.h"
#include "session/UnitBackup.h"

namespace rtu::cli {

namespace {
constexpr int kReportIndent = 2;  // spaces per level of the report's JSON
}

std::string WallClockText()
{
    const std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
    std::tm utc{};
    ::gmtime_r(&now, &utc);
    char text[32];
    return std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &utc) ? text : "";
}

bool WriteExecReport(CCliLoop& loop, const ExecSummary& summary, const std::string& startedText,
                     const std::string& path)
{
    CSession& s = loop.Session();
    const nlohmann::json report = ExecReportJson(summary, s.ExecRecords(), s.ExecStartedAt(), startedText,
                                                 PageSectionInfo(s.Registry(), s.Pages(), s.Catalog()));
    const std::string text = report.dump(kReportIndent, ' ', false, nlohmann::json::error_handler_t::replace) + "\n";
    std::string error;
    if (WriteFileSafely(path, text, error, FileAccess::Private)) return true;
    std::fprintf(stderr, "rtuctl: cannot write the report: %s\n", error.c_str());
    return false;
}

int BackUpUnit(CCliLoop& loop, const ExecExtras& extras, const std::string& reason)
{
    if (extras.noBackup) return kExitOk;
    loop.Session().Reload();
    if (const int rc = AwaitReload(loop); rc != kExitOk) {
        std::fprintf(stderr, "rtuctl: no backup of the unit could be taken, so nothing was changed "
                             "(--no-backup goes on without one)\n");
        return rc;
    }
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    ::localtime_r(&now, &local);
    const std::string dir = extras.backupDir.empty() ? DefaultBackupDir() : extras.backupDir;
    const BackupResult r = WriteBackup(dir, BackupUnitId(loop.Session()), local, reason, loop.Session().ProfileText());
    if (!r.ok) {
        std::fprintf(stderr,
                     "rtuctl: cannot write the backup: %s; nothing was changed (--no-backup goes on without one)\n",
                     r.error.c_str());
        return kExitOutput;
    }
    std::fprintf(stderr, "rtuctl: backup written to %s\n", r.path.c_str());
    return kExitOk;
}

}  // namespace rtu::cli
