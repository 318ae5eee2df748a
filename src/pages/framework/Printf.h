// printf-style formatting into a std::string, so command formats read exactly as they go
// on the wire ("%%CS%d%s\r": "%%" is one '%', "\r" a carriage return).
#pragma once

#include <string>

namespace rtu {

std::string Printf(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace rtu
