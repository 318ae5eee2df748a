// Answers leave after the latency and never faster than the line speed: checked on the
// send times the unit computes from the fake clock.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "SimHarness.h"
#include "sim/core/SimTransmitter.h"

namespace rtu::test {
namespace {

struct SPaceCase {
    int baud;
    int latencyMs;
};

TEST(SimPacing, BytesLeaveNoFasterThanTheBaudRate)
{
    for (const SPaceCase c : {SPaceCase{9600, 5}, SPaceCase{115200, 0}, SPaceCase{1200, 20}}) {
        SSimOptions options;
        options.baud = c.baud;
        options.latencyMs = c.latencyMs;
        CSimHarness sim(options);
        sim.Feed("%DUMP_PHONE\r");
        ASSERT_EQ(sim.unit.NextDeadline(), std::optional<std::int64_t>(c.latencyMs)) << c.baud;
        if (c.latencyMs > 0) {
            EXPECT_TRUE(sim.AdvanceTo(c.latencyMs - 1).empty()) << c.baud;
        }

        // 10 bits per byte.
        const double byteMs = 10.0 * 1000.0 / c.baud;
        std::size_t total = 0;
        std::int64_t t = c.latencyMs;
        while (sim.unit.NextDeadline()) {
            total += sim.AdvanceTo(t).size();
            // Bytes sent by t: the first leaves at the latency, each further one a byte time later.
            const auto allowed = static_cast<std::size_t>((t - c.latencyMs) / byteMs) + 1;
            ASSERT_LE(total, allowed) << "baud " << c.baud << " at " << t << " ms";
            ++t;
        }
        std::size_t answer = std::string("CMD OK\r\n").size();
        for (const auto& report : DefaultImage().GroupLines("DUMP_PHONE")) answer += report.size() + 2;
        EXPECT_EQ(total, answer) << c.baud;
        // And the whole answer took at least its length in byte times.
        EXPECT_GE(static_cast<double>(t - c.latencyMs), (static_cast<double>(total) - 1) * byteMs - 1.0) << c.baud;
    }
}

TEST(SimPacing, LaterAnswersQueueBehindEarlierOnes)
{
    SSimOptions options;  // 9600 baud, 5 ms latency
    CSimHarness sim(options);
    sim.Feed("%DUMPR\r");     // "$DUMPR END\r\nCMD OK\r\n": 20 bytes
    sim.Feed("%STARTCMD\r");  // "CMD OK\r\n": 8 bytes
    CSimTransmitter line(9600);
    // 28 bytes back to back starting at 5 ms: the last leaves at 5 ms + 27 byte times.
    const std::int64_t lastUs = 5000 + 27 * line.ByteMicros();
    const std::string early = sim.AdvanceTo(lastUs / 1000 - 1);
    EXPECT_LT(early.size(), 28u);
    const std::string all = early + sim.AdvanceTo(lastUs / 1000 + 1);
    EXPECT_EQ(all, "$DUMPR END\r\nCMD OK\r\nCMD OK\r\n");
}

}  // namespace
}  // namespace rtu::test
