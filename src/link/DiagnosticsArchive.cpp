#include "link/DiagnosticsArchive.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/utsname.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "link/ErrorLog.h"
#include "link/PortDiagnosis.h"
#include "link/SafeFileWriter.h"
#include "link/SerialPortList.h"

extern char** environ;

namespace rtu {
namespace {

namespace fs = std::filesystem;

constexpr const char* kAppDirName = "rtuconfig";               // our folder in the config and state directories
constexpr const char* kSettingsFileName = "QMX5000COMM.conf";  // the desktop tool's settings
constexpr const char* kTraceFileName = "trace.txt";            // the desktop tool's wire trace
constexpr std::uintmax_t kMaxIncludedBytes = 16u << 20;        // a file beyond this is cut (traces grow)
// What the archive leaves out, for the reader at support.
constexpr const char* kMaskedNote =
    "Secrets are masked as ********, their keys kept (an empty secret stays empty): the SIM PIN and PUK, the\n"
    "GPRS/3G, SMTP, MMS and HTTP POST passwords in profile.txt and unit.json; in the traces every value after\n"
    "those secrets' report keys and command keywords, every known secret value and the console password;\n"
    "in settings.conf every password (the console password SVRIP included).\n";

std::string ReadAll(const fs::path& path, std::uintmax_t limit, bool& cut)
{
    std::ifstream in(path, std::ios::binary);
    std::string data;
    data.resize(static_cast<std::size_t>(limit) + 1);
    in.read(data.data(), static_cast<std::streamsize>(data.size()));
    data.resize(static_cast<std::size_t>(in.gcount()));
    cut = data.size() > limit;
    if (cut) data.resize(static_cast<std::size_t>(limit));
    return data;
}

bool WriteFile(const fs::path& path, std::string_view data)
{
    std::ofstream out(path, std::ios::binary);
    out.write(data.data(), static_cast<std::streamsize>(data.size()));
    return static_cast<bool>(out);
}

std::string Stamp()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    ::localtime_r(&now, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y%m%d-%H%M%S", &local);
    return text;
}

std::string SystemText()
{
    std::string text;
    utsname u{};
    if (::uname(&u) == 0) text += std::string(u.sysname) + " " + u.release + " " + u.version + " " + u.machine + "\n";
    std::ifstream release("/etc/os-release");
    for (std::string line; std::getline(release, line);)
        if (line.rfind("PRETTY_NAME=", 0) == 0) text += line.substr(12) + "\n";
    return text;
}

std::string PortsText(const std::string& port)
{
    std::ostringstream out;
    out << "Serial ports of this machine:\n";
    const std::vector<std::string> ports = ListSerialPorts();
    if (ports.empty()) out << "  (none)\n";
    for (const std::string& p : ports) {
        const PortDetails d = DescribePort(p);
        out << "  " << PortSummary(d) << "  [" << (d.mayOpen ? "may open" : "no access") << ", group " << d.group
            << "]\n";
    }
    if (port.empty()) return out.str();
    out << "\nThe port in use: " << port << "\n  " << PortSummary(DescribePort(port)) << "\n";
    const int fd = ::open(port.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd >= 0) {
        ::close(fd);
        out << "  It opens.\n";
        const std::vector<PortHolder> holders = FindPortHolders(port);
        for (const PortHolder& h : holders) out << "  Also open in " << h.name << " (pid " << h.pid << ").\n";
    } else {
        out << "  " << DiagnoseOpenFailure(port, errno, ports) << "\n";
    }
    return out.str();
}

// Runs tar to pack `folder` (inside `parent`) into `archive`.
bool Tar(const fs::path& parent, const std::string& folder, const fs::path& archive, std::string& error)
{
    const std::string parentText = parent.string();
    const std::string archiveText = archive.string();
    std::vector<std::string> args = {"tar", "-czf", archiveText, "-C", parentText, folder};
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    const int rc = ::posix_spawnp(&pid, "tar", nullptr, nullptr, argv.data(), environ);
    if (rc != 0) {
        error = std::string("cannot run tar: ") + std::strerror(rc);
        return false;
    }
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {}
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        error = "tar failed to pack the diagnostics";
        return false;
    }
    return true;
}

}  // namespace

std::string DefaultSettingsPath()
{
    const char* config = std::getenv("XDG_CONFIG_HOME");
    const char* home = std::getenv("HOME");
    fs::path dir;
    if (config && config[0] == '/') dir = config;
    else if (home && home[0] != '\0') dir = fs::path(home) / ".config";
    else return {};
    return (dir / kAppDirName / kSettingsFileName).string();
}

std::string DefaultTracePath()
{
    const std::string log = ErrorLogPath();
    if (log.empty()) return {};
    return (fs::path(log).parent_path() / kTraceFileName).string();
}

bool WriteDiagnosticsArchive(const std::string& out, const DiagnosticsInput& in, std::string& error)
{
    char pattern[] = "/tmp/rtu-diagnostics.XXXXXX";
    const char* made = ::mkdtemp(pattern);
    if (!made) {
        error = std::string("cannot make a temporary folder: ") + std::strerror(errno);
        return false;
    }
    const fs::path work = made;
    const std::string folder = "rtuconfig-diagnostics-" + Stamp();
    const fs::path dir = work / folder;
    std::error_code ec;
    fs::create_directory(dir, ec);
    std::string notes = in.notes;
    SecretMarks secrets = in.secrets;
    enum class Mask { None, Settings, Trace };
    const auto include = [&](const std::string& from, const std::string& name, Mask mask) {
        if (from.empty()) return;
        if (!fs::is_regular_file(from, ec)) {
            notes += name + ": " + from + " does not exist\n";
            return;
        }
        bool cut = false;
        std::string data = ReadAll(from, kMaxIncludedBytes, cut);
        if (mask == Mask::Settings) data = MaskSettings(data, &secrets);  // its passwords are masked in the traces too
        if (mask == Mask::Trace) data = MaskTrace(data, secrets);
        if (cut) notes += name + ": only the first " + std::to_string(kMaxIncludedBytes) + " bytes of " + from + "\n";
        WriteFile(dir / name, data);
    };
    bool ok = WriteFile(dir / "version.txt", in.program + "\n" + SystemText()) &&
              WriteFile(dir / "ports.txt", PortsText(in.port));
    include(in.settingsPath, "settings.conf", Mask::Settings);
    for (std::size_t i = 0; i < in.tracePaths.size(); ++i)
        include(in.tracePaths[i], i == 0 ? "trace.txt" : "trace-" + std::to_string(i + 1) + ".txt", Mask::Trace);
    const std::string log = ErrorLogPath();
    include(log, "serial_err.txt", Mask::None);
    if (!log.empty() && fs::exists(log + ".1", ec)) include(log + ".1", "serial_err.txt.1", Mask::None);
    notes += kMaskedNote;
    if (!in.profile.empty()) ok = WriteFile(dir / "profile.txt", in.profile) && ok;
    if (!in.json.empty()) ok = WriteFile(dir / "unit.json", in.json) && ok;
    ok = WriteFile(dir / "notes.txt", notes) && ok;
    const fs::path packed = work / "archive.tar.gz";
    if (!ok) error = "cannot write into " + dir.string();
    else ok = Tar(work, folder, packed, error);
    if (ok) {
        bool cut = false;
        const std::string bytes = ReadAll(packed, fs::file_size(packed, ec), cut);
        CSafeFileWriter writer;
        ok = writer.Open(out, FileAccess::Private) && writer.Write(bytes) && writer.Commit();
        if (!ok) error = writer.Error();
    }
    fs::remove_all(work, ec);
    return ok;
}

}  // namespace rtu
