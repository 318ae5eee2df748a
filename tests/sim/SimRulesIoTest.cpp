// The digital I/O, counter and analog commands against the default image: each write changes
// the reports a later dump shows; values the unit cannot keep are refused.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "SimHarness.h"

namespace rtu::test {
namespace {

using Lines = std::vector<std::string>;

struct SIoWrite {
    std::string command;
    std::string dump;
    Lines reports;  // lines the dump must show afterwards
};

TEST(SimIoRules, WritesShowInTheNextDump)
{
    const std::vector<SIoWrite> cases{
        {"%DINURG0101\r", "%DUMP_GPIO\r", {"$DINURG0 0", "$DINURG1 1", "$DINURG3 1"}},
        {"%IOTP01230412\r", "%DUMP_GPIO\r", {"$ITP0 0", "$ITP3 3", "$OTP0 0", "$OTP1 4", "$OTP3 2"}},
        {"%IOOR0\r", "%DUMP_GPIO\r", {"$IOOR 0"}},
        {"%L1DEF1\r", "%DUMP_GPIO\r", {"$L1DEF 1"}},
        {"%IOHT0090\r", "%DUMP_GPIO\r", {"$IOHT 90"}},
        {"%IOAS2,15\r", "%DUMP_GPIO\r", {"$DINAS2 15"}},
        {"%DINDLY3,0\r", "%DUMP_GPIO\r", {"$DINDLY3 0"}},
        {"%DINCSNAMEWell 2\r", "%DUMP_GPIO\r", {"$DINCTSNM Well 2"}},
        {"%DINCUNITM1,250\r", "%DUMP_GPIO\r", {"$DINCTMAXV1 250"}},
        {"%IOCU1,0.25\r", "%DUMP_COUNTER\r", {"$COUNTER_UN1 0.25"}},
        {"%IOCUT0,15\r", "%DUMP_COUNTER\r", {"$COUNTER_UT0 15"}},
        {"%IOCNAT=0\r", "%DUMP_COUNTER\r", {"$COUNTER_AT 0"}},
        {"%IOCRPM1,59\r", "%DUMP_COUNTER\r", {"$COUNTER_RPM1 59"}},
        // The first range of the analog alarms is also the extended page's range 1.
        {"%AIN1H30.00\r", "%DUMP_ADS\r", {"$ADINH1 30.00", "$AINEXT1 30.00,4.00,0.5,18.00,6.00,0.5"}},
        {"%AIN2LAGS4\r", "%DUMP_ADS\r", {"$AINEXT2 7.50,-2.50,2,9.00,-5.00,4"}},
        {"%AIN0LOC1255\r", "%DUMP_ADS\r", {"$AINOOC0 1,255,0,3"}},
        {"%AIN3HOC22\r", "%DUMP_ADS\r", {"$AINOOC3 255,0,2,255"}},
        {"%AIN2SC9.9200\r", "%DUMP_ADS\r", {"$ASCALE2 9.9200"}},
        {"%AIN2ZE25.0000\r", "%DUMP_ADS\r", {"$ADZERO2 25.0000"}},
        {"%AIN2RH100\r", "%DUMP_ADS\r", {"$ADINRH2 100"}},
        {"%AINTP2,1\r", "%DUMP_ADS\r", {"$AINTPE2 1"}},
        {"%AINTP0011\r", "%DUMP_ADS\r", {"$AINTPE0 0", "$AINTPE2 1", "$AINTPE3 1"}},
        {"%AINON0123\r", "%DUMP_ADS\r", {"*ADC_EN:2 1"}},
        {"%AINOFF0\r", "%DUMP_ADS\r", {"*ADC_EN:0 0", "*ADC_EN:1 1"}},
        {"%AINUPE23\r", "%DUMP_ADS\r", {"$AINUPE 23"}},
    };
    for (const auto& c : cases) {
        CSimHarness sim;
        ASSERT_EQ(sim.Exchange(c.command), Lines{"CMD OK"}) << c.command;
        const Lines dump = sim.Exchange(c.dump);
        for (const std::string& line : c.reports)
            EXPECT_NE(std::find(dump.begin(), dump.end(), line), dump.end()) << c.command << " -> " << line;
    }
}

TEST(SimIoRules, RefusesWhatTheUnitCannotKeep)
{
    const char* const cases[] = {
        "%IOTP-1-1-1-1-1-1-1-1\r",  // types never chosen
        "%IOTP1234567\r",           // one digit short
        "%IOTP12351234\r",          // no type 5
        "%DINURG102\r",
        "%IOAS4,10\r",  // no input 4
        "%IOAS1,65536\r",
        "%IOCRPH0,24\r",
        "%IOCCT2,5\r",  // no counter 2
        "%AIN4H1\r",    // no channel 4
        "%AIN0H1e3\r",
        "%AIN0H\r",
        "%AIN0HOC14\r",  // outputs 0-3 or 255
        "%AINTP4,1\r",
        "%AINTP0,2\r",
        "%AINOFF\r",
        "%AINON4\r",
    };
    for (const char* c : cases) {
        CSimHarness sim;
        EXPECT_EQ(sim.Exchange(c), Lines{"CMD ERR"}) << c;
    }
}

TEST(SimIoRules, ExtendedRangesAreNotMadeUpByTheBasicLimits)
{
    CSimHarness sim(FastOptions(), CSimImage{});
    ASSERT_EQ(sim.Exchange("%AIN0H5\r"), Lines{"CMD OK"});
    EXPECT_EQ(sim.Exchange("%DUMP_ADS\r"), (Lines{"$ADINH0 5", "CMD OK"}));
    ASSERT_EQ(sim.Exchange("%AIN0HS9\r"), Lines{"CMD OK"});
    ASSERT_EQ(sim.Exchange("%AIN0L1\r"), Lines{"CMD OK"});
    EXPECT_EQ(sim.Exchange("%DUMP_ADS\r"), (Lines{"$ADINH0 5", "$ADINL0 1", "$AINEXT0 ,1,,9,,", "CMD OK"}));
}

}  // namespace
}  // namespace rtu::test
