// The unit's automation commands: each write shows in the next dump of its group; values the
// unit cannot hold are refused and change nothing.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "SimHarness.h"

namespace rtu::test {
namespace {

using Lines = std::vector<std::string>;

struct SCase {
    std::string command;
    std::string dump;
    Lines reports;
};

TEST(SimAutomation, WritesShowInTheirDump)
{
    const std::vector<SCase> cases{
        {"%IOOC01234566\r", "%DUMP_GPIO\r", {"$IOOC 01234566"}},
        {"%IOOA719\r", "%DUMP_GPIO\r", {"$OAS7 19"}},
        {"%IOPO\r", "%DUMP_GPIO\r", {"$IOPO "}},
        {"%INTERLOCKURG1\r", "%DUMP_SYS\r", {"$INTERLOCKURG 1"}},
        {"%ILOCK23,39,28\r", "%DUMP_TIMER\r", {"$ILOCK23 39,28"}},
        {"%MTIMER506,30,44\r", "%DUMP_TIMER\r", {"$TIMERH5 06", "$TIMERM5 30", "$TIMERT5 44"}},
        {"%MSPAN3,0\r", "%DUMP_TIMER\r", {}},  // an empty interval is no interval
        {"%SSPAN365535,31\r", "%DUMP_TIMER\r", {"$TSSPANM3 65535", "$TSSPANT3 31"}},
        {"%MDATE61,07,45,34\r", "%DUMP_TIMER\r", {"$TDATEH6 07", "$TDATEM6 45", "$TDATET6 34", "$TDATEW6 1"}},
        {"%WSONa\r", "%DUMP_GPIO\r", {"$WINEND10 1"}},
        {"%WSSNDOFFb\r", "%DUMP_GPIO\r", {"$WINSND11 0"}},
        {"%WINURG10,1\r", "%DUMP_GPIO\r", {"$WINURG10 1"}},
        {"%WSLDO3,4\r", "%DUMP_GPIO\r", {"$WINLDO3 4"}},
        {"%WINZS0,65535\r", "%DUMP_GPIO\r", {"$WINZS0 65535"}},
        {"%RPLARMBTN0\r", "%DUMP_GPIO\r", {"$RPLARM 0"}},
        {"%U05042104420430044204430441\r", "%DUMP_UCMD\r", {"$USERCMD5 042104420430044204430441"}},
        {"%Y00STATUS?\r", "%DUMP_UCMD\r", {"$SYSCMD0 STATUS?"}},
    };
    for (const SCase& c : cases) {
        CSimHarness sim(FastOptions(), CSimImage{});
        EXPECT_EQ(sim.Exchange(c.command), Lines{c.reports.empty() ? "CMD ERR" : "CMD OK"}) << c.command;
        Lines expected = c.reports;
        expected.push_back("CMD OK");
        EXPECT_EQ(sim.Exchange(c.dump), expected) << c.command;
    }
}

TEST(SimAutomation, RefusedWritesLeaveTheImageAlone)
{
    CSimHarness sim;
    const Lines before = sim.Exchange("%DUMPS\r");
    for (const char* bad : {"%IOOC-1-1-1-1-1-1-1-1\r",
                            "%IOOC0123456\r",
                            "%IOOC01234567\r",
                            "%IOOA8 1\r",
                            "%IOOA020\r",
                            "%IOOA0-1\r",
                            "%ILOCK24,1,1\r",
                            "%ILOCK1,40,1\r",
                            "%ILOCK1,1\r",
                            "%MTIMER624,00,1\r",
                            "%MTIMER024,00,1\r",
                            "%MTIMER0,,-1\r",
                            "%MSPAN4,1\r",
                            "%SSPAN070000,1\r",
                            "%MDATE0-1,,,-1\r",
                            "%MDATE07,1,1,1\r",
                            "%MDATE01,1,1,35\r",
                            "%WSONc\r",
                            "%WSON\r",
                            "%WINURG12,1\r",
                            "%WSLDO0,5\r",
                            "%U06x\r",
                            "%U0\r",
                            "%Y00\x01\r"})
        EXPECT_EQ(sim.Exchange(bad), Lines{"CMD ERR"}) << bad;
    EXPECT_EQ(sim.Exchange("%DUMPS\r"), before);
}

}  // namespace
}  // namespace rtu::test
