// The unit's answers to the service test commands of the test console, as they reach the
// line: readings before the acknowledgement, a refusal for a test number that is none.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "SimHarness.h"

namespace rtu::test {
namespace {

using Lines = std::vector<std::string>;

TEST(SimServiceTests, AnswerBeforeTheAcknowledgement)
{
    struct SCase {
        const char* input;
        Lines expected;
    };
    const SCase cases[] = {
        {"%TEST\r",
         {"DIN0: OK", "DIN1: OK", "DIN2: OK", "DIN3: OK", "DOUT0: OK", "DOUT1: OK", "DOUT2: OK", "DOUT3: OK",
          "CMD OK"}},
        {"%TMPC\r", {"*TMPC 25.0", "CMD OK"}},
        {"%VOLTAGE\r", {"POWER: 12.1V", "BATTERY: 4.1V", "CMD OK"}},
        {"%TMMSMS+8613800138000\r", {"SMS TO +8613800138000: SENT", "CMD OK"}},
        {"%TMMSMS\r", {"CMD ERR"}},
        {"%TMMSMS12a\r", {"CMD ERR"}},
        {"%MSEND\"13900139000\"\r", {"MMS TO 13900139000: SENT", "CMD OK"}},
        {"%MSEND13900139000\r", {"CMD ERR"}},
        {"%ATAT+CSQ\r", {"+CSQ: 23,0", "OK", "CMD OK"}},
        {"%ATATD8008;\r", {"OK", "CALL: 8008", "CMD OK"}},
        {"%ATATD;\r", {"CMD ERR"}},
        {"%ATATH\r", {"OK", "CMD OK"}},
        {"%SM1\r", {"CMD OK"}},
        {"%TESTX\r", {"CMD ERR"}},
    };
    for (const SCase& c : cases) {
        SCOPED_TRACE(c.input);
        CSimHarness sim;
        EXPECT_EQ(sim.Exchange(c.input), c.expected);
    }
}

// A test does not touch the settings: the next dump is the same as before it.
TEST(SimServiceTests, LeaveTheImageAlone)
{
    CSimHarness sim;
    const Lines before = sim.Exchange("%DUMPS\r");
    for (const char* test : {"%TEST\r", "%TMODEM\r", "%TESTADC\r", "%ETMPC\r", "%TESTPOW\r", "%LKEY\r", "%EKEY\r"})
        sim.Exchange(test);
    EXPECT_EQ(sim.Exchange("%DUMPS\r"), before);
}

}  // namespace
}  // namespace rtu::test
