// Bad input never stops the unit, memory stays bounded, and the named failure modes
// misbehave exactly as named.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "SimHarness.h"
#include "sim/core/SimLineFramer.h"

namespace rtu::test {
namespace {

using Lines = std::vector<std::string>;

TEST(SimRobustness, KeepsAnsweringAfterBadInput)
{
    std::mt19937 rng(7);
    std::string random(200000, '\0');
    for (char& c : random) c = static_cast<char>(rng());
    const std::vector<std::pair<const char*, std::string>> cases{
        {"binary with NUL", std::string("\0\x01\xff%\0DUMP\r\n\x7f", 11)},
        {"endless line", std::string(100000, 'A')},
        {"endless command", "%" + std::string(100000, 'B')},
        {"random bytes", random},
        {"flood of empty lines", std::string(50000, '\n')},
    };
    for (const auto& [name, garbage] : cases) {
        CSimHarness sim;
        sim.Feed(garbage);
        sim.Settle();
        // Whatever the garbage left unfinished is ended by the terminator of the probe.
        const Lines answer = sim.Exchange("\r%DUMPR\r");
        ASSERT_GE(answer.size(), 2u) << name;
        EXPECT_EQ(Lines(answer.end() - 2, answer.end()), (Lines{"$DUMPR END", "CMD OK"})) << name;
    }
}

TEST(SimRobustness, OverlongCommandIsRefusedNotTruncated)
{
    CSimHarness sim;
    const std::string longName = "%ID" + std::string(CSimLineFramer::kMaxLineBytes + 10, 'x') + "\r";
    EXPECT_EQ(sim.Exchange(longName), Lines{"CMD ERR"});
    EXPECT_EQ(sim.unit.Image().Value("$DID"), DefaultImage().Value("$DID"));
}

TEST(SimRobustness, LineFramerHoldsAtMostItsCapacity)
{
    CSimLineFramer framer;
    for (std::size_t i = 0; i < 3 * CSimLineFramer::kMaxLineBytes; ++i) {
        EXPECT_FALSE(framer.Feed('z'));
        ASSERT_LE(framer.Held(), CSimLineFramer::kMaxLineBytes);
    }
    auto event = framer.Feed('\n');
    ASSERT_TRUE(event);
    EXPECT_EQ(event->kind, CSimLineFramer::EKind::Overlong);
    EXPECT_EQ(event->discarded, 2 * CSimLineFramer::kMaxLineBytes);
}

TEST(SimRobustness, FloodIsThrottledAndLosesNothingItAccepted)
{
    CSimHarness sim;
    const std::string command = "%DUMP_ROMSMS\r";
    std::string flood;
    while (flood.size() + command.size() <= CSimUnit::kMaxPendingInput) flood += command;
    const std::size_t commands = flood.size() / command.size();
    sim.Feed(flood);
    // The output backed up: the unit stops reading until the line drains.
    EXPECT_FALSE(sim.unit.WantsInput());
    EXPECT_EQ(sim.unit.DroppedInput(), 0u);
    // Beyond the receive buffer bytes are dropped and counted, never held.
    sim.Feed(std::string(CSimUnit::kMaxPendingInput, 'x'));
    EXPECT_GT(sim.unit.DroppedInput(), 0u);
    EXPECT_LT(sim.unit.DroppedInput(), CSimUnit::kMaxPendingInput);
    const std::string out = sim.Settle();
    std::size_t acks = 0;
    for (std::size_t at = out.find("CMD OK"); at != std::string::npos; at = out.find("CMD OK", at + 1)) ++acks;
    EXPECT_EQ(acks, commands);
    EXPECT_TRUE(sim.unit.WantsInput());
}

SSimOptions Failing(ESimFailMode mode)
{
    SSimOptions options = FastOptions();
    options.failMode = mode;
    return options;
}

TEST(SimFailModes, BehaveAsNamed)
{
    const Lines phones = DefaultImage().GroupLines("DUMP_PHONE");
    struct SCase {
        const char* name;
        ESimFailMode mode;
        Lines write;   // answer to "%CS1+1"
        Lines dump;    // answer to "%DUMP_PHONE"
        bool applied;  // the write reached the image
    };
    Lines phonesAfter = phones;
    phonesAfter[1] = "$CS1 +1";
    Lines phonesAcked = phonesAfter;
    phonesAcked.push_back("CMD OK");
    const std::vector<SCase> cases{
        {"healthy", ESimFailMode::None, {"CMD OK"}, phonesAcked, true},
        {"no-ack", ESimFailMode::NoAck, {}, phonesAfter, true},
        {"silent", ESimFailMode::Silent, {}, {}, true},
        {"err", ESimFailMode::Err, {"CMD ERR"}, {"CMD ERR"}, false},
    };
    for (const auto& c : cases) {
        CSimHarness sim(Failing(c.mode));
        EXPECT_EQ(sim.Exchange("%CS1+1\r"), c.write) << c.name;
        EXPECT_EQ(sim.Exchange("%DUMP_PHONE\r"), c.dump) << c.name;
        EXPECT_EQ(sim.unit.Image().Value("$CS1") == std::string("+1"), c.applied) << c.name;
    }
}

TEST(SimFailModes, SilentUnitSaysNothingEvenWhenPowerCycled)
{
    CSimHarness sim(Failing(ESimFailMode::Silent));
    sim.unit.PowerUp(0);
    sim.Feed(std::string(12, '%'));
    EXPECT_EQ(sim.Settle(), "");
}

TEST(SimFailModes, NoiseOnlyAddsLinesBetweenAnswers)
{
    SSimOptions noisy = FastOptions();
    noisy.noise = true;
    noisy.noiseSeed = 42;
    CSimHarness clean;
    CSimHarness sim(noisy);
    std::string script;
    for (int i = 0; i < 40; ++i) script += i % 2 ? "%DUMP_PHONE\r" : "%DUMPR\r";
    const Lines expected = clean.Exchange(script);
    const Lines got = sim.Exchange(script);
    ASSERT_GT(got.size(), expected.size());
    // Every clean line comes through whole and in order; the extra lines are noise that
    // neither looks like a report nor like an acknowledgement.
    std::size_t next = 0;
    for (const auto& line : got) {
        if (next < expected.size() && line == expected[next]) {
            ++next;
            continue;
        }
        EXPECT_TRUE(line.find('$') == std::string::npos && line.find("CMD") == std::string::npos) << line;
    }
    EXPECT_EQ(next, expected.size());
}

TEST(SimFailModes, UnitDisappearsAfterItsLastCommand)
{
    SSimOptions options = FastOptions();
    options.exitAfter = 2;
    CSimHarness sim(options);
    EXPECT_EQ(sim.Exchange("%STARTCMD\r"), Lines{"CMD OK"});
    EXPECT_FALSE(sim.unit.WantsExit());
    sim.Feed("%DUMPR\r%STARTCMD\r");
    EXPECT_FALSE(sim.unit.WantsInput());
    EXPECT_FALSE(sim.unit.WantsExit());  // its last answer is still on the line
    EXPECT_EQ(SplitLines(sim.Settle()), (Lines{"$DUMPR END", "CMD OK"}));
    EXPECT_TRUE(sim.unit.WantsExit());
    EXPECT_EQ(sim.unit.CommandsReceived(), 2);
}

}  // namespace
}  // namespace rtu::test
