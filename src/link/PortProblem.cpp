#include "link/PortProblem.h"

#include <cerrno>
#include <cstring>

#include "link/PortDiagnosis.h"
#include "link/SerialPortList.h"

namespace rtu {
namespace {
constexpr const char* kChoosePort = " Choose a port from the list.";
}  // namespace

std::string DescribeOpenFailure(const std::string& path, int err)
{
    std::string text = DiagnoseOpenFailure(path, err, ListSerialPorts());
    // The window offers its port list beside the notice, except where the port itself is right.
    if (err != EACCES && err != EPERM && err != EBUSY) text += "\n" + std::string(kChoosePort + 1);
    return text;
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
