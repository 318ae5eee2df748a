#include "link/PortProblem.h"

#include <cerrno>
#include <cstring>

namespace rtu {
namespace {
constexpr const char* kChoosePort = " Choose a port from the list.";
}  // namespace

std::string DescribeOpenFailure(const std::string& path, int err)
{
    const std::string head = "Cannot open the port " + path + ": ";
    switch (err) {
    case ENOENT:
    case ENODEV:
    case ENXIO: return head + "no such port (it was unplugged, or the program that made it has ended)." + kChoosePort;
    case EACCES:
    case EPERM:
        return head + "permission denied. Add your user to the \"dialout\" group "
                      "(sudo usermod -aG dialout $USER), log in again, then choose the port.";
    case EBUSY: return head + "it is in use by another program. Close that program, or choose another port.";
    default: break;
    }
    return head + (err != 0 ? std::strerror(err) : "the system refused it.") + std::string(".") + kChoosePort;
}

std::string DescribeClosedPort(const std::string& path, int lastErrno)
{
    if (path.empty()) return std::string("No port is open.") + kChoosePort;
    if (lastErrno != 0) return "No port is open. " + DescribeOpenFailure(path, lastErrno);
    return "No port is open (" + path + " is not opened)." + kChoosePort;
}

std::string DescribePortLost(const std::string& path)
{
    return "The port " + (path.empty() ? std::string("in use") : path) +
           " was disconnected (the cable was unplugged or the unit went away). Plug it in again and choose the port.";
}

std::string DescribeNoAnswer(const std::string& what)
{
    return what +
           " Check the cable, the baud rate and the parity, and that the unit is powered; or choose another port.";
}

}  // namespace rtu
