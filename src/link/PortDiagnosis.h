// Why a serial port does not work, in words a user can act on: who owns the port and
// whether this user may open it, which process holds it, which ports exist instead (with
// the USB adapter behind each), read off /dev, /sys and /proc.
#pragma once

#include <string>
#include <vector>

namespace rtu {

// Where the system's trees are; tests point these at a made-up tree.
struct SystemPaths {
    std::string dev = "/dev";
    std::string sys = "/sys";
    std::string proc = "/proc";
};

// One port with what the system knows of it.
struct PortDetails {
    std::string path;      // the device node, e.g. /dev/ttyUSB0
    std::string byId;      // its stable /dev/serial/by-id/ name, or empty
    std::string vendorId;  // the USB adapter's ids and names (empty for other ports)
    std::string productId;
    std::string manufacturer;
    std::string product;
    std::string serial;
    std::string driver;    // the kernel driver, e.g. ftdi_sio
    std::string group;     // the group that owns the node
    bool mayOpen = false;  // this user may read and write it
};

// A process that has the port open.
struct PortHolder {
    int pid = 0;
    std::string name;  // its command name, e.g. ModemManager
};

PortDetails DescribePort(const std::string& path, const SystemPaths& sys = {});
// The processes that have `path` open (those this user may look into).
std::vector<PortHolder> FindPortHolders(const std::string& path, const SystemPaths& sys = {});
// One line for a port list: path, adapter, ids, serial number, stable name.
std::string PortSummary(const PortDetails& port);

// What to tell the user after the open of `path` failed with `err`: the cause and the fix,
// one or more lines. `ports` are the ports that exist now (for a port that is not there).
std::string DiagnoseOpenFailure(const std::string& path, int err, const std::vector<std::string>& ports,
                                const SystemPaths& sys = {});
// What to check when the port opens but the unit never answers.
std::string DiagnoseSilentUnit(const std::string& path);

}  // namespace rtu
