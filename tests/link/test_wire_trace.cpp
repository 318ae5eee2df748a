#include <gtest/gtest.h>

#include <string>

#include "link/WireTrace.h"

using namespace rtu;

// Every byte can be read back from the trace: control bytes and bytes beyond ASCII are
// written as escapes, the backslash itself doubled.
TEST(WireTrace, LinesShowEveryByte)
{
    struct Case {
        std::string bytes;
        CWireTrace::Direction direction;
        const char* shown;
    };
    const Case cases[] = {
        {"%DUMP_SYS\r", CWireTrace::Direction::Sent, "> %DUMP_SYS\\r\n"},
        {"$IAT 15\r\n", CWireTrace::Direction::Received, "< $IAT 15\\r\\n\n"},
        {std::string("a\0b\x1b\x7f\xff\\", 7), CWireTrace::Direction::Received, "< a\\x00b\\x1b\\x7f\\xff\\\\\n"},
        {"", CWireTrace::Direction::Note, "# \n"},
    };
    const auto when = CWireTrace::Clock::from_time_t(1765164001) + std::chrono::milliseconds(7);
    for (const Case& c : cases) {
        const std::string line = CWireTrace::FormatLine(when, c.direction, c.bytes);
        // "YYYY-MM-DD HH:MM:SS.mmm " in local time, then the direction and the bytes.
        ASSERT_GT(line.size(), 24u);
        EXPECT_EQ(line.substr(19, 5), ".007 ") << line;
        EXPECT_EQ(line.substr(24), c.shown) << line;
    }
}
