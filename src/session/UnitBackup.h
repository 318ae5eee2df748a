// A copy of what a unit holds, taken before something overwrites it: the unit's values as a
// profile, in the backup folder, named "<unit id>-<YYYYMMDD-HHMMSS>.txt", with a first comment
// line saying when and why it was taken. Executing the file puts the values back.
#pragma once

#include <ctime>
#include <string>
#include <string_view>

namespace rtu {

class CSession;

// $XDG_STATE_HOME/rtuconfig/backups, else ~/.local/state/rtuconfig/backups; empty without either.
std::string DefaultBackupDir();
// The unit's id as the pages hold it after a reload ("unit" when it has none); only characters
// that are safe in a file name are kept.
std::string BackupUnitId(const CSession& session);
// "<id>-<YYYYMMDD-HHMMSS>.txt"
std::string BackupFileName(std::string_view unitId, const std::tm& local);

struct BackupResult {
    bool ok = false;
    std::string path;   // the file written
    std::string error;  // why it was not
};

// Writes `profile` with its first comment line into `dir` (created when missing); an existing
// file of the same name is never replaced (a counter is added).
BackupResult WriteBackup(const std::string& dir, std::string_view unitId, const std::tm& local, std::string_view reason,
                         std::string_view profile);

}  // namespace rtu
