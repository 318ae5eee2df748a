#include "link/SerialPortList.h"

#include <fcntl.h>
#include <linux/serial.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>

#include "link/TextFields.h"

namespace rtu {
namespace {

namespace fs = std::filesystem;

constexpr const char* kDevDir = "/dev";
constexpr const char* kSysTtyDir = "/sys/class/tty";
// Name prefixes of ports that exist only when the hardware does (USB adapters, modems, SoC UARTs).
constexpr const char* kPluggedPrefixes[] = {"ttyUSB", "ttyACM", "ttyAMA"};
// Name prefix of the legacy UART ports; the kernel creates many with nothing behind them.
constexpr const char* kLegacyPrefix = "ttyS";
// The legacy UART driver that also claims the placeholder ports.
constexpr const char* kPlaceholderDriver = "serial8250";

bool HasNumberedPrefix(const std::string& name, const std::string& prefix)
{
    return name.size() > prefix.size() && name.compare(0, prefix.size(), prefix) == 0 &&
           std::all_of(name.begin() + static_cast<std::ptrdiff_t>(prefix.size()), name.end(),
                       [](char c) { return c >= '0' && c <= '9'; });
}

// A placeholder UART reports the port type "unknown".
bool UartPresent(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return false;
    serial_struct info{};
    const bool present = ::ioctl(fd, TIOCGSERIAL, &info) == 0 && info.type != PORT_UNKNOWN;
    ::close(fd);
    return present;
}

bool LegacyPortPresent(const std::string& name)
{
    std::error_code ec;
    const fs::path driver = fs::path(kSysTtyDir) / name / "device" / "driver";
    if (!fs::exists(driver, ec)) return false;
    const fs::path target = fs::read_symlink(driver, ec);
    if (!ec && target.filename() == kPlaceholderDriver) {
        return UartPresent((fs::path(kDevDir) / name).string());
    }
    return true;
}


}  // namespace

bool NaturalLess(const std::string& a, const std::string& b)
{
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < a.size() && j < b.size()) {
        if (IsDigit(a[i]) && IsDigit(b[j])) {
            std::size_t ei = i;
            std::size_t ej = j;
            while (ei < a.size() && IsDigit(a[ei])) ++ei;
            while (ej < b.size() && IsDigit(b[ej])) ++ej;
            // Compare the values without leading zeros: longer run is larger, else digit by digit.
            std::size_t si = i;
            std::size_t sj = j;
            while (si + 1 < ei && a[si] == '0') ++si;
            while (sj + 1 < ej && b[sj] == '0') ++sj;
            if (ei - si != ej - sj) return ei - si < ej - sj;
            const int cmp = a.compare(si, ei - si, b, sj, ej - sj);
            if (cmp != 0) return cmp < 0;
            if (ei - i != ej - j) return ei - i < ej - j;  // "01" after "1": stable total order
            i = ei;
            j = ej;
        } else {
            if (a[i] != b[j]) return a[i] < b[j];
            ++i;
            ++j;
        }
    }
    return a.size() - i < b.size() - j;
}

std::vector<std::string> ListSerialPorts()
{
    std::vector<std::string> ports;
    std::error_code ec;
    for (fs::directory_iterator it(kDevDir, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        const bool plugged = std::any_of(std::begin(kPluggedPrefixes), std::end(kPluggedPrefixes),
                                         [&](const char* p) { return HasNumberedPrefix(name, p); });
        if (plugged || (HasNumberedPrefix(name, kLegacyPrefix) && LegacyPortPresent(name))) {
            ports.push_back(it->path().string());
        }
    }
    std::sort(ports.begin(), ports.end(), NaturalLess);
    return ports;
}

}  // namespace rtu
