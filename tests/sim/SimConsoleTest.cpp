// The console around the commands: login, power-up, the setup-mode burst, restart.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "SimHarness.h"

namespace rtu::test {
namespace {

using Lines = std::vector<std::string>;
const std::string kBurst(12, '%');
const Lines kPowerUp{"Waiting module...", "System init Done...", "Press '%%%%' to enter setup mode"};

SSimOptions WithPassword(const char* password)
{
    SSimOptions options = FastOptions();
    options.password = password;
    return options;
}

struct SLoginStep {
    std::string input;
    Lines expected;
};

TEST(SimConsole, LoginGuardsTheCommands)
{
    const std::vector<SLoginStep> steps{
        {"%DUMPS\r", {"Console started, please login"}},
        {"\r\n", {}},
        {"wrong\r", {"Login Failed"}},
        {"secret word\n", {"Login Success"}},
        {"%DUMPR\r", {"$DUMPR END", "CMD OK"}},
        {"anything\r", {}},
    };
    CSimHarness sim(WithPassword("secret word"));
    EXPECT_FALSE(sim.unit.LoggedIn());
    for (const auto& step : steps) EXPECT_EQ(sim.Exchange(step.input), step.expected) << step.input;
    EXPECT_TRUE(sim.unit.LoggedIn());
}

TEST(SimConsole, CommandsAreNotAppliedBeforeLogin)
{
    CSimHarness sim(WithPassword("pw"));
    sim.Exchange("%CS1+1\r");
    EXPECT_EQ(sim.unit.Image().Value("$CS1"), DefaultImage().Value("$CS1"));
}

TEST(SimConsole, EmptyPasswordMeansNoLogin)
{
    CSimHarness sim(WithPassword(""));
    EXPECT_EQ(sim.Exchange("%STARTCMD\r"), Lines{"CMD OK"});
}

TEST(SimConsole, FirstBurstPowerCyclesSecondEntersSetupMode)
{
    CSimHarness sim;
    sim.Feed(kBurst);
    EXPECT_EQ(sim.unit.State(), CSimUnit::EState::PoweringUp);
    EXPECT_EQ(SplitLines(sim.AdvanceTo(sim.now + 100)), kPowerUp);
    // The tool answers the prompt with the burst again, split over two writes here.
    sim.Feed(kBurst.substr(0, 5));
    sim.Feed(kBurst.substr(5));
    EXPECT_EQ(SplitLines(sim.AdvanceTo(sim.now + 100)), Lines{"come in setup mode"});
    EXPECT_EQ(sim.unit.State(), CSimUnit::EState::Setup);
    // Commands work in setup mode.
    EXPECT_EQ(sim.Exchange("%STARTCMD\r"), Lines{"CMD OK"});
}

TEST(SimConsole, PromptWindowRunsOutIntoWorkingMode)
{
    SSimOptions options = FastOptions();
    options.setupWindowMs = 1000;
    CSimHarness sim(options);
    sim.unit.PowerCycle(sim.now);
    EXPECT_EQ(SplitLines(sim.AdvanceTo(999)), kPowerUp);
    EXPECT_EQ(sim.unit.State(), CSimUnit::EState::PoweringUp);
    EXPECT_EQ(SplitLines(sim.AdvanceTo(1100)), Lines{"Working mode now"});
    EXPECT_EQ(sim.unit.State(), CSimUnit::EState::Working);
    // A burst now is a new power cycle, not setup mode.
    sim.Feed(kBurst);
    EXPECT_EQ(SplitLines(sim.AdvanceTo(sim.now + 100)), kPowerUp);
}

TEST(SimConsole, OnlyTwelvePercentAloneOnTheLineAreTheBurst)
{
    const std::vector<std::pair<std::string, Lines>> cases{
        {std::string(11, '%') + "\r", {"CMD ERR"}},  // eleven, then a terminator: a command line
        {"x" + kBurst + "\r", {}},                   // text before: not a burst, not a command
        {"%DUMP" + kBurst + "\r", {"CMD OK"}},       // inside a command line: part of it
    };
    for (const auto& [input, expected] : cases) {
        CSimHarness sim;
        EXPECT_EQ(sim.Exchange(input), expected) << input;
        EXPECT_EQ(sim.unit.State(), CSimUnit::EState::Working) << input;
    }
}

TEST(SimConsole, PowerUpBannerAndRestart)
{
    CSimHarness sim;
    sim.unit.PowerUp(0);
    Lines banner = SplitLines(sim.Settle());
    Lines expected{"GPRS RTU 4Din/4Dout/4AD/4TI V3.40"};
    expected.insert(expected.end(), kPowerUp.begin(), kPowerUp.end());
    expected.push_back("Working mode now");
    EXPECT_EQ(banner, expected);

    Lines restart{"CMD OK"};
    restart.insert(restart.end(), kPowerUp.begin(), kPowerUp.end());
    restart.push_back("Working mode now");
    EXPECT_EQ(sim.Exchange("%RST\r"), restart);
}

TEST(SimConsole, PowerCycleAsksForTheLoginAgain)
{
    CSimHarness sim(WithPassword("pw"));
    EXPECT_EQ(sim.Exchange("pw\r"), Lines{"Login Success"});
    sim.Feed(kBurst);
    sim.AdvanceTo(sim.now + 100);
    EXPECT_FALSE(sim.unit.LoggedIn());
    sim.Feed(kBurst);
    EXPECT_EQ(SplitLines(sim.AdvanceTo(sim.now + 100)), (Lines{"come in setup mode", "please input password"}));
    EXPECT_EQ(sim.Exchange("pw\r"), Lines{"Login Success"});
}

TEST(SimConsole, PressPromptWindowOpensWhenThePromptLeaves)
{
    SSimOptions options;  // 9600 baud: the power-up lines take tens of ms on the line
    options.setupWindowMs = 50;
    CSimHarness sim(options);
    sim.Feed(kBurst);
    const std::string out = sim.AdvanceTo(60);
    // At 60 ms the prompt is still on its way (74 bytes at about 1 ms each): the window
    // has not run out, so a burst now enters setup mode.
    EXPECT_LT(out.size(), 70u);
    sim.Feed(kBurst);
    const Lines rest = SplitLines(sim.Settle());
    ASSERT_FALSE(rest.empty());
    EXPECT_EQ(rest.back(), "come in setup mode");
}

}  // namespace
}  // namespace rtu::test
