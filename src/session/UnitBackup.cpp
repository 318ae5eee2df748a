#include "session/UnitBackup.h"

#include <sys/stat.h>

#include <cctype>
#include <cstdlib>
#include <filesystem>

#include "link/SafeFileWriter.h"
#include "session/Session.h"

namespace rtu {
namespace {

constexpr const char* kIdFormat = "%%ID%s\r";  // the command that writes the unit's id
constexpr std::size_t kMaxIdChars = 64;        // longest id kept in a file name
constexpr int kMaxSameName = 1000;             // backups of one unit within one second
constexpr mode_t kBackupDirMode = 0700;        // backups hold passwords and phone numbers

std::string Stamp(const std::tm& t, const char* format)
{
    char text[32];
    return std::strftime(text, sizeof text, format, &t) ? std::string(text) : std::string();
}

}  // namespace

std::string DefaultBackupDir()
{
    const char* state = std::getenv("XDG_STATE_HOME");
    const char* home = std::getenv("HOME");
    std::filesystem::path dir;
    if (state && state[0] == '/') dir = state;  // relative values are ignored, as for every XDG variable
    else if (home && home[0] != '\0') dir = std::filesystem::path(home) / ".local" / "state";
    else return {};
    return (dir / "rtuconfig" / "backups").string();
}

std::string BackupUnitId(const CSession& session)
{
    std::string id;
    for (const auto& page : session.Pages())
        for (const FieldDecl& f : page->Fields())
            if (f.write.format && std::string_view(f.write.format) == kIdFormat && id.empty()) id = page->TextOf(f.id);
    std::string safe;
    for (char c : id) {
        if (safe.size() >= kMaxIdChars) break;
        const bool keep = std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '_' || c == '.';
        safe += keep ? c : '_';
    }
    while (!safe.empty() && safe.front() == '.') safe.erase(0, 1);  // never a hidden file, never ".."
    return safe.empty() ? "unit" : safe;
}

std::string BackupFileName(std::string_view unitId, const std::tm& local)
{
    return std::string(unitId) + "-" + Stamp(local, "%Y%m%d-%H%M%S") + ".txt";
}

BackupResult WriteBackup(const std::string& dir, std::string_view unitId, const std::tm& local, std::string_view reason,
                         std::string_view profile)
{
    BackupResult out;
    if (dir.empty()) {
        out.error = "no backup folder (neither XDG_STATE_HOME nor HOME is set)";
        return out;
    }
    std::error_code ec;
    const bool created = std::filesystem::create_directories(dir, ec);
    if (ec) {
        out.error = dir + ": " + ec.message();
        return out;
    }
    if (created) ::chmod(dir.c_str(), kBackupDirMode);  // a folder the user named keeps its own mode
    const std::string base = BackupFileName(unitId, local);
    std::filesystem::path path = std::filesystem::path(dir) / base;
    for (int n = 2; std::filesystem::exists(path, ec) && n <= kMaxSameName; ++n)
        path = std::filesystem::path(dir) / (base.substr(0, base.size() - 4) + "-" + std::to_string(n) + ".txt");
    const std::string text = "//Backup of unit " + std::string(unitId) + " taken " + Stamp(local, "%Y-%m-%d %H:%M:%S") +
                             " before " + std::string(reason) + "\r\n" + std::string(profile);
    out.path = path.string();
    out.ok = WriteFileSafely(out.path, text, out.error, FileAccess::Private);
    return out;
}

}  // namespace rtu
