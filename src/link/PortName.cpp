#include "link/PortName.h"

#include <cstdio>

namespace rtu {
namespace {
constexpr int kFirstNamespacePort = 10;  // from this number on the device-namespace form is needed
constexpr int kMaxPortDigits = 9;        // longer digit runs do not fit an int: no number
constexpr int kPortNameSize = 32;        // "\\.\COM" and any int
}  // namespace

std::string PortDeviceName(int portNumber)
{
    char name[kPortNameSize];
    std::snprintf(name, sizeof name, portNumber < kFirstNamespacePort ? "COM%d" : "\\\\.\\COM%d", portNumber);
    return name;
}

std::string ResolvePortPath(const std::string& chosen) { return chosen; }

int PortNumberFromName(const std::string& name)
{
    std::size_t start = name.size();
    while (start > 0 && name[start - 1] >= '0' && name[start - 1] <= '9') --start;
    const std::size_t digits = name.size() - start;
    if (digits == 0 || digits > kMaxPortDigits) return 0;
    int number = 0;
    for (std::size_t i = start; i < name.size(); ++i) number = number * 10 + (name[i] - '0');
    return number;
}

}  // namespace rtu
