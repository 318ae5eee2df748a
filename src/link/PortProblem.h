// What the user is told when the port or the unit fails: the reason and the way forward.
#pragma once

#include <string>

namespace rtu {

// The port could not be opened: `err` is the system's error number.
std::string DescribeOpenFailure(const std::string& path, int err);
// A command for the unit while no port is open (`lastErrno`, when not 0, says why the last open failed).
std::string DescribeClosedPort(const std::string& path, int lastErrno);
// The open port went away.
std::string DescribePortLost(const std::string& path);
// The unit did not answer: `what` says what was asked and how long it waited.
std::string DescribeNoAnswer(const std::string& what);

}  // namespace rtu
