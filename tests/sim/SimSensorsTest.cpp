// The simulated unit's sensor side: write commands, the external sensors' report lines,
// the stored temperature log and the real-time records.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "SimHarness.h"

namespace rtu::test {
namespace {

int Count(const std::string& text, const std::string& what)
{
    int n = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
}

bool Has(const std::vector<std::string>& lines, const std::string& line)
{
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

struct SWrite {
    const char* command;
    const char* ack;
    const char* dump;
    const char* line;  // a line the dump shows afterwards (nullptr: the ack only)
};

TEST(SimSensors, WritesShowInTheirDump)
{
    const SWrite cases[] = {
        {"%ETEMPH1=35\r", "CMD OK", "%DUMP_DS1\r", "$ETEMP1 23.25,35,18,-1,2,10,60,30,1,0,1"},
        {"%ETEMPEN3=1\r", "CMD OK", "%DUMP_DS1\r", "$ETEMP3 ,125,-55,0,0,65535,65535,65535,0,0,1"},
        {"%ETEMPL2=-10\r", "CMD OK", "%DUMP_DS1\r", "$ETEMP2 4.75,8,-10,0,1,0,0,0,1,1,1"},
        {"%ETEMPUPE23:00\r", "CMD OK", "%DUMP_DS1\r", "$EXTEMPUE 23:00"},
        {"%ETEMPSTEP7\r", "CMD OK", "%DUMP_DS1\r", "$EXTEMPST 7"},
        {"%ETEMPH4=1\r", "CMD ERR", nullptr, nullptr},    // no sensor 4
        {"%ETEMPEN0=2\r", "CMD ERR", nullptr, nullptr},   // a flag is 0 or 1
        {"%ETEMPH0=1,2\r", "CMD ERR", nullptr, nullptr},  // a comma would split the report
        {"%ETEMPRD0=5\r", "CMD ERR", nullptr, nullptr},   // the reading is measured, not written
        {"%TMPOFF\r", "CMD OK", "%DUMP_TMP\r", "*TMP100_EN 0"},
        {"%TMPIH3\r", "CMD OK", "%DUMP_TMP\r", "$TMPIH 3"},
        {"%TMPIH4\r", "CMD ERR", nullptr, nullptr},  // "Nc" is never written on this page
        {"%HUMIL4\r", "CMD OK", "%DUMP_HUM\r", "$HUMIL 4"},
        {"%HUMEN0\r", "CMD OK", "%DUMP_HUM\r", "$HUMEN 0"},
        {"%BUZEN0\r", "CMD OK", "%DUMP_SYS\r", "$IBUZ 0"},
        {"%BUZT15\r", "CMD OK", "%DUMP_SYS\r", "$BUZZERT 15"},
        {"%BATEN0\r", "CMD OK", "%DUMP_GPIO\r", "$BATEN 0"},
        {"%GSENSORDVR1\r", "CMD OK", "%DUMP_GSENSOR\r", "$GSENSORVCR 1"},
        {"%GSENSORVCH0\r", "CMD OK", "%DUMP_GSENSOR\r", "$GSENSORVCH 0"},
        {"%GRAYRANGE5,900\r", "CMD OK", "%DUMP_GRAY\r", "$GRAYH 900"},
        {"%GRAYOFFSET-3\r", "CMD OK", "%DUMP_GRAY\r", "$GRAYADJ -3"},
        {"%GRAYEVENT4,15\r", "CMD OK", "%DUMP_GRAY\r", "$GRAYEVENTMIN 15"},
    };
    for (const SWrite& c : cases) {
        CSimHarness sim;
        EXPECT_EQ(sim.Exchange(c.command), std::vector<std::string>{c.ack}) << c.command;
        if (c.dump) {
            EXPECT_TRUE(Has(sim.Exchange(c.dump), c.line)) << c.command;
        }
    }
}

TEST(SimSensors, AnEmptyUnitReportsOnlyTheSensorSettingsWritten)
{
    std::string error;
    CSimHarness sim(FastOptions(), *CSimImage::Parse("", error));
    sim.Exchange("%ETEMPH0=40\r");
    EXPECT_EQ(sim.Exchange("%DUMP_DS1\r"), (std::vector<std::string>{"$ETEMP0 ,40,,,,,,,,,", "CMD OK"}));
}

TEST(SimSensors, TheLogAnswersWithItsStoredRecords)
{
    CSimHarness sim;
    const std::vector<std::string> lines = sim.Exchange("%ETEMPPORT1000\r");
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.back(), "CMD OK");
    std::string all;
    bool several = false;
    for (const std::string& l : lines) {
        all += l;
        several = several || Count(l, "$TREC") > 1;
    }
    EXPECT_EQ(Count(all, "ET83"), SSimOptions::kDefaultStoredRecords);
    EXPECT_EQ(Count(all, "ET33"), 0);
    EXPECT_TRUE(several);
    EXPECT_LT(lines.size() - 1, static_cast<std::size_t>(SSimOptions::kDefaultStoredRecords));
}

TEST(SimSensors, RealTimeRecordsFollowTheIntervalAndAreOffByDefault)
{
    CSimHarness quiet;
    EXPECT_EQ(quiet.AdvanceTo(60000), "");

    SSimOptions options = FastOptions();
    options.recordIntervalMs = 1000;
    CSimHarness sim(options);
    EXPECT_EQ(sim.AdvanceTo(0), "");  // switched on at 0: the first record is due at 1000
    const std::vector<std::string> lines = SplitLines(sim.AdvanceTo(10500));
    EXPECT_EQ(lines.size(), 10u);
    std::string all;
    for (const std::string& l : lines) {
        EXPECT_EQ(l.rfind("$TREC", 0), 0u) << l;
        all += l;
    }
    EXPECT_GE(Count(all, "ET33"), 10);
    // Statuses vary: normal values, alarms and disconnected sensors all occur over time.
    const std::string more = sim.AdvanceTo(400000);
    for (const char* entry : {"ET33", ",1", ",2"}) EXPECT_NE(more.find(entry), std::string::npos) << entry;
}

}  // namespace
}  // namespace rtu::test
