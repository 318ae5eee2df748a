#include "link/PortDiagnosis.h"

#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "link/OutputPath.h"

namespace rtu {
namespace {

namespace fs = std::filesystem;

// Services that take USB-serial adapters away from a console tool, and how to stop them.
struct KnownHolder {
    const char* name;  // the process's command name
    const char* why;
    const char* fix;
};
constexpr KnownHolder kKnownHolders[] = {
    {"ModemManager", "ModemManager probes USB-serial adapters as modems and sends AT commands into the unit's console.",
     "Stop it: sudo systemctl stop ModemManager (for good: sudo systemctl disable --now ModemManager), or install "
     "the rtuconfig package, whose udev rule tells ModemManager to leave the usual adapters alone; then plug the "
     "adapter in again."},
    {"brltty", "brltty (the braille display service) claims USB-serial adapters as braille displays.",
     "Stop it for good: sudo systemctl mask --now brltty-udev.service brltty.service (or remove it: sudo apt "
     "remove brltty); then plug the adapter in again."},
};

constexpr const char* kSimulatorName = "rtusim";  // the simulated unit's program

std::string ReadLine(const fs::path& file)
{
    std::ifstream in(file);
    std::string line;
    std::getline(in, line);
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r' || line.back() == ' ')) line.pop_back();
    return line;
}

bool IsNumber(const std::string& s)
{
    return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// The same file or device: one path names the other, or both are the same character device.
bool SameNode(const fs::path& a, const fs::path& b)
{
    std::error_code ec;
    if (fs::weakly_canonical(a, ec) == fs::weakly_canonical(b, ec) && !ec) return true;
    struct stat sa {};
    struct stat sb {};
    if (::stat(a.c_str(), &sa) != 0 || ::stat(b.c_str(), &sb) != 0) return false;
    if (S_ISCHR(sa.st_mode) && S_ISCHR(sb.st_mode)) return sa.st_rdev == sb.st_rdev;
    return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

// The USB device above a tty's device directory: the first one holding idVendor.
fs::path UsbDeviceOf(const fs::path& deviceDir)
{
    std::error_code ec;
    fs::path dir = fs::canonical(deviceDir, ec);
    if (ec) return {};
    for (int depth = 0; depth < 4 && !dir.empty() && dir != dir.root_path(); ++depth, dir = dir.parent_path())
        if (fs::exists(dir / "idVendor", ec)) return dir;
    return {};
}

std::string GroupName(gid_t gid)
{
    if (const group* g = ::getgrgid(gid)) return g->gr_name;
    return std::to_string(gid);
}

bool InGroup(gid_t gid)
{
    if (::getegid() == gid) return true;
    const int n = ::getgroups(0, nullptr);
    if (n <= 0) return false;
    std::vector<gid_t> groups(static_cast<std::size_t>(n));
    const int got = ::getgroups(n, groups.data());
    return got > 0 && std::find(groups.begin(), groups.begin() + got, gid) != groups.begin() + got;
}

const KnownHolder* Known(const std::string& name)
{
    for (const KnownHolder& k : kKnownHolders)
        if (name == k.name) return &k;
    return nullptr;
}

// Processes of the given command names that run now (pid order).
std::vector<PortHolder> Running(const SystemPaths& sys, const std::vector<std::string>& names)
{
    std::vector<PortHolder> found;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(sys.proc, ec)) {
        const std::string pid = entry.path().filename().string();
        if (!IsNumber(pid)) continue;
        const std::string comm = ReadLine(entry.path() / "comm");
        if (std::find(names.begin(), names.end(), comm) != names.end()) found.push_back({std::stoi(pid), comm});
    }
    std::sort(found.begin(), found.end(), [](const PortHolder& a, const PortHolder& b) { return a.pid < b.pid; });
    return found;
}

std::string HolderAdvice(const std::vector<PortHolder>& all, const std::string& path)
{
    // The simulator keeps its own pty open as the unit's end of the line: it never takes the
    // port from a tool, and ending it ends the unit. It is named, but not as the one to close.
    std::string text;
    std::vector<PortHolder> holders;
    for (const PortHolder& h : all) {
        if (h.name != kSimulatorName) {
            holders.push_back(h);
            continue;
        }
        text += "\n" + path + " is the pty that the simulated unit " + kSimulatorName + " (pid " +
                std::to_string(h.pid) + ") made: it keeps it open itself so that the line stays up, and tools are " +
                "meant to open this path (the one " + kSimulatorName + " printed). " + kSimulatorName +
                " is not what keeps you out: leave it running.";
    }
    if (holders.empty())
        return text + "\nThe program that holds it cannot be named with your rights; sudo fuser -v " + path +
               " names it. Close it, or choose another port.";
    for (const PortHolder& h : holders) {
        text += "\nIt is held by " + h.name + " (pid " + std::to_string(h.pid) + ").";
        if (const KnownHolder* k = Known(h.name)) text += std::string(" ") + k->why + "\n" + k->fix;
        else text += " Close that program (or end it: kill " + std::to_string(h.pid) + "), or choose another port.";
    }
    return text;
}

// The ports there are, one a line with its adapter, after a line saying so.
std::string PortListText(const std::vector<std::string>& ports, const SystemPaths& sys)
{
    if (ports.empty())
        return "\nThis machine has no serial port now. Plug the adapter in (sudo dmesg shows whether the system "
               "saw it).";
    std::string text = "\nThe ports this machine has now:";
    for (const std::string& p : ports) text += "\n  " + PortSummary(DescribePort(p, sys));
    return text;
}

}  // namespace

PortDetails DescribePort(const std::string& path, const SystemPaths& sys)
{
    PortDetails d;
    d.path = path;
    std::error_code ec;
    const std::string name = fs::path(path).filename().string();
    // The stable name: a link in /dev/serial/by-id that leads to this node.
    for (const auto& entry : fs::directory_iterator(fs::path(sys.dev) / "serial" / "by-id", ec))
        if (SameNode(entry.path(), path)) {
            d.byId = entry.path().string();
            break;
        }
    const fs::path tty = fs::path(sys.sys) / "class" / "tty" / name / "device";
    d.driver = fs::read_symlink(tty / "driver", ec).filename().string();
    if (const fs::path usb = UsbDeviceOf(tty); !usb.empty()) {
        d.vendorId = ReadLine(usb / "idVendor");
        d.productId = ReadLine(usb / "idProduct");
        d.manufacturer = ReadLine(usb / "manufacturer");
        d.product = ReadLine(usb / "product");
        d.serial = ReadLine(usb / "serial");
    }
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0) d.group = GroupName(st.st_gid);
    d.mayOpen = ::access(path.c_str(), R_OK | W_OK) == 0;
    return d;
}

std::vector<PortHolder> FindPortHolders(const std::string& path, const SystemPaths& sys)
{
    std::vector<PortHolder> holders;
    std::error_code ec;
    const std::string self = std::to_string(::getpid());
    for (const auto& proc : fs::directory_iterator(sys.proc, ec)) {
        const std::string pid = proc.path().filename().string();
        if (!IsNumber(pid) || pid == self) continue;
        std::error_code fdEc;
        for (const auto& fd : fs::directory_iterator(proc.path() / "fd", fdEc)) {
            std::error_code linkEc;
            const fs::path target = fs::read_symlink(fd.path(), linkEc);
            if (linkEc || !SameNode(target, path)) continue;
            holders.push_back({std::stoi(pid), ReadLine(proc.path() / "comm")});
            break;
        }
    }
    std::sort(holders.begin(), holders.end(), [](const PortHolder& a, const PortHolder& b) { return a.pid < b.pid; });
    return holders;
}

std::string PortSummary(const PortDetails& port)
{
    std::string text = port.path;
    std::string adapter = port.manufacturer;
    if (!port.product.empty()) adapter += (adapter.empty() ? "" : " ") + port.product;
    if (!port.vendorId.empty()) adapter += (adapter.empty() ? "" : ", ") + port.vendorId + ":" + port.productId;
    if (!port.serial.empty()) adapter += ", serial " + port.serial;
    if (!port.driver.empty()) adapter += (adapter.empty() ? "driver " : ", driver ") + port.driver;
    if (!adapter.empty()) text += "  (" + adapter + ")";
    if (!port.byId.empty()) text += "  " + port.byId;
    return text;
}

std::string DiagnoseOpenFailure(const std::string& path, int err, const std::vector<std::string>& ports,
                                const SystemPaths& sys)
{
    const std::string head = "Cannot open the port " + path + ": ";
    // A file, a folder or a device that is no terminal: the user gave the wrong path.
    struct stat st {};
    const bool found = ::stat(path.c_str(), &st) == 0;
    const bool notTerminal =
        err == ENOTTY || err == EISDIR || ((err == ENXIO || err == ENODEV) && found && !S_ISCHR(st.st_mode));
    if (notTerminal) {
        const std::string kind = !found || S_ISCHR(st.st_mode) ? "a device that is no terminal"
                                 : S_ISREG(st.st_mode)         ? "a regular file"
                                                               : FileKind(st.st_mode);
        return head + "it is not a serial port (it is " + kind + ")." + PortListText(ports, sys);
    }
    switch (err) {
    case ENOENT:
    case ENODEV:
    case ENXIO: {
        std::string text = head + "no such port (it was unplugged, or the program that made it has ended).";
        text += PortListText(ports, sys);
        for (const PortHolder& h : Running(sys, {"brltty"}))
            text += "\n" + h.name + " runs (pid " + std::to_string(h.pid) + "). " + Known(h.name)->why + "\n" +
                    Known(h.name)->fix;
        return text;
    }
    case EACCES:
    case EPERM: {
        const bool known = found;
        const std::string group = known ? GroupName(st.st_gid) : "dialout";
        if (known && InGroup(st.st_gid))
            return head + "permission denied. Your user is in the \"" + group +
                   "\" group that owns the port, but this login started before it joined: log out and in again.";
        return head + "permission denied. The port belongs to the \"" + group +
               "\" group and your user is not in it. Add it with\n    sudo usermod -aG " + group +
               " $USER\nthen log out and in again.";
    }
    case EBUSY: return head + "it is in use by another program." + HolderAdvice(FindPortHolders(path, sys), path);
    default: break;
    }
    return head + (err != 0 ? std::strerror(err) : "the system refused it") + std::string(".") +
           PortListText(ports, sys);
}

std::string DiagnoseSilentUnit(const std::string& path)
{
    return "The port " + path +
           " is open, but the unit does not answer. Check that the unit is powered and the cable sits; "
           "that the baud rate and parity are those of the unit's console; and that the unit is in setup mode "
           "(rtuctl setup brings it there: power-cycle the unit when told).";
}

}  // namespace rtu
