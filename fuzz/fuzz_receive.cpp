// Received bytes, as the serial port hands them over, through a session with every page:
// the line framer, the console table, the routing, every page parser, the picture mode and
// the posted commands. The input is laid out as FuzzFeed.h describes. What the filled
// pages write out (the JSON export, the profile text) has its own target.
#include <cstddef>
#include <cstdint>

#include "FuzzFeed.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0) return 0;
    rtu::fuzz::CFuzzSession& fuzz = rtu::fuzz::SharedSession();
    fuzz.Reset();
    rtu::fuzz::Feed(fuzz, data, size);
    return 0;
}
