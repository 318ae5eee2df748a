// Port names: the numbering rule of a Windows backend, and the path the engine opens.
#pragma once

#include <string>

namespace rtu {

// The device name for a 1-based COM port number: "COM1".."COM9", and the device-namespace
// form "\\.\COM10" from 10 on.
std::string PortDeviceName(int portNumber);

// The path to open for the port the user chose or typed. Paths are used as given.
std::string ResolvePortPath(const std::string& chosen);

// The number that identifies a port in the error log: the trailing digits of its name
// ("COM3" -> 3, "/dev/ttyUSB0" -> 0, "/dev/pts/7" -> 7), 0 when there are none.
int PortNumberFromName(const std::string& name);

}  // namespace rtu
