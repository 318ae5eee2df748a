// The serial ports of this machine, for the port selection list.
#pragma once

#include <string>
#include <vector>

namespace rtu {

// /dev/ttyUSB*, /dev/ttyACM*, /dev/ttyAMA* and the /dev/ttyS* ports that have real
// hardware behind them, in natural order.
std::vector<std::string> ListSerialPorts();

// Natural order: digit runs compare by value, so "ttyUSB2" comes before "ttyUSB10".
bool NaturalLess(const std::string& a, const std::string& b);

}  // namespace rtu
