// Machine timers and weekly timers: the timer reports, the save lines, the profile sections
// and the checks of typed times.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "PageHarness.h"
#include "link/ProfileWriter.h"
#include "pages/automation/PageMTimer.h"
#include "pages/automation/WeekTimerPage.h"

namespace rtu {
namespace {

using M = CPageMTimer;
using W = CWeekTimerPage;

struct TimersTest : ::testing::Test {
    test::PageHarness h;
    CPageBase& mtimer = h.Make(PageId::MTimer);
    CPageBase& week = h.Make(PageId::WeekTimer);
};

TEST_F(TimersTest, ReportsReachTheirTimer)
{
    struct Case {
        const char* line;
        CPageBase* page;
        int id;
        std::string text;  // for an edit box
        int sel;           // for a list (-2: not a list)
    };
    const Case cases[] = {
        {"$TIMERH3 07", &mtimer, M::kClockHour0 + 3, "07", -2},
        {"$TIMERM5 59", &mtimer, M::kClockMinute0 + 5, "59", -2},
        {"$TIMERT3 26", &mtimer, M::kClockAction0 + 3, "", 26},
        {"$TIMERT0 45", &mtimer, M::kClockAction0, "", -1},     // no action 45
        {"$TIMERH6 10", &mtimer, M::kClockHour0 + 5, "", -2},   // no clock timer 6
        {"$TIMERX1 10", &mtimer, M::kClockHour0 + 1, "", -2},   // no field X
        {"$TIMERH12 10", &mtimer, M::kClockHour0 + 1, "", -2},  // timer 12, not 1
        {"$TSSPANM0 30", &mtimer, M::kSecondSpan0, "30", -2},
        {"$TSPANM0 15", &mtimer, M::kMinuteSpan0, "15", -2},
        {"$TSPANT3 44", &mtimer, M::kMinuteAction0 + 3, "", 44},
        {"$TSPANT4 1", &mtimer, M::kMinuteAction0 + 3, "", 44},  // no interval timer 4
        {"$TDATEH1 08", &mtimer, M::kWeekHour0 + 1, "08", -2},   // the hidden weekly group
        {"$TDATEW2 5", &week, W::kDay0 + 2, "", 5},
        {"$TDATET6 29", &week, W::kAction0 + 6, "", 29},
        {"$TDATET6 35", &week, W::kAction0 + 5, "", -1},  // the weekly list ends at 34
        {"$TDATEH7 10", &week, W::kHour0 + 6, "", -2},    // no weekly timer 7
        {"$TDATEM0 05", &week, W::kMinute0, "05", -2},
    };
    for (const Case& c : cases) {
        h.Route(c.line);
        if (c.sel == -2) EXPECT_EQ(c.page->TextOf(c.id), c.text) << c.line;
        else EXPECT_EQ(c.page->ValueOf(c.id).sel, c.sel) << c.line;
    }
}

TEST_F(TimersTest, MachineTimerSaveAndProfile)
{
    h.Route("$TIMERH0 6");
    h.Route("$TIMERM0 30");
    h.Route("$TIMERT0 2");
    h.Route("$TSPANT1 17");
    h.Route("$TSSPANM3 65535");
    h.Route("$TDATEW0 3");  // never written back from here
    mtimer.OnSaveClicked();
    EXPECT_EQ(*h.sequencer.NextDeadline(), h.now + M::kWaitMs);
    h.AckAll();
    const std::vector<std::string> lines = {"%MTIMER06,30,2\r", "%MTIMER1,,-1\r",   "%MTIMER2,,-1\r", "%MTIMER3,,-1\r",
                                            "%MTIMER4,,-1\r",   "%MTIMER5,,-1\r",   "%MSPAN0,-1\r",   "%MSPAN1,17\r",
                                            "%MSPAN2,-1\r",     "%MSPAN3,-1\r",     "%SSPAN0,-1\r",   "%SSPAN1,-1\r",
                                            "%SSPAN2,-1\r",     "%SSPAN365535,-1\r"};
    std::vector<std::string> expected{"%STARTCMD\r"};
    expected.insert(expected.end(), lines.begin(), lines.end());
    expected.insert(expected.end(), {"%COMMITCMD\r", "%DUMP_TIMER\r"});
    EXPECT_EQ(h.writes, expected);

    for (const char* line : {"$TIMERH0 6", "$TIMERM0 30", "$TIMERT0 2", "$TSPANT1 17", "$TSSPANM3 65535"})
        h.Route(line);
    CProfileWriter file;
    mtimer.WriteProfileSection(file);
    std::string profile = "\r\n//Page System mtimers\r\n\r\n";
    for (const std::string& l : lines) profile += l + "\n";
    EXPECT_EQ(file.Written(), profile);
}

TEST_F(TimersTest, WeeklyTimerSaveAndProfile)
{
    for (const char* line : {"$TDATEW0 1", "$TDATEH0 07", "$TDATEM0 45", "$TDATET0 2", "$TDATEW6 6", "$TDATET6 34"})
        h.Route(line);
    CProfileWriter file;
    week.WriteProfileSection(file);
    EXPECT_EQ(file.Written(),
              "\r\n//Page Weekly timer commands\r\n\r\n%MDATE01,07,45,2\r\n%MDATE1-1,,,-1\r\n%MDATE2-1,,,-1\r\n"
              "%MDATE3-1,,,-1\r\n%MDATE4-1,,,-1\r\n%MDATE5-1,,,-1\r\n%MDATE66,,,34\r\n");
}

// Times go out as typed (the unit judges hours and minutes); what breaks the line is refused.
TEST_F(TimersTest, TypedTimesGoAsTypedUnlessTheyBreakTheLine)
{
    struct Case {
        CPageBase* page;
        int id;
        const char* typed;
        bool refused;
    };
    const Case cases[] = {
        {&mtimer, M::kClockHour0, "23", false},
        {&mtimer, M::kClockHour0, "24", false},
        {&mtimer, M::kClockMinute0 + 2, "59", false},
        {&mtimer, M::kClockMinute0 + 2, "60", false},
        {&mtimer, M::kClockMinute0 + 2, "", false},  // empty goes out as empty text
        {&mtimer, M::kMinuteSpan0, "65536", false},
        {&mtimer, M::kSecondSpan0 + 3, "1e3", false},
        {&mtimer, M::kClockHour0, "1,2", true},  // a comma would shift the minute
        {&week, W::kHour0 + 4, "7a", false},
        {&week, W::kMinute0 + 6, "-5", false},
        {&week, W::kMinute0 + 6, "5\r%ATF", true},
        {&week, W::kHour0, "0", false},
    };
    for (const Case& c : cases) {
        h.writes.clear();
        h.messages.clear();
        c.page->SetText(c.id, c.typed);
        c.page->OnSaveClicked();
        EXPECT_EQ(h.writes.empty(), c.refused) << c.typed;
        EXPECT_EQ(h.messages.size(), c.refused ? 1u : 0u) << c.typed;
        h.AckAll();
        c.page->SetText(c.id, "");
    }
}

TEST_F(TimersTest, ReloadEmptiesBothPages)
{
    h.Route("$TDATEH1 08");
    h.Route("$TDATEW1 4");
    week.ReloadGroup();
    EXPECT_EQ(h.Wire(), "%DUMP_TIMER\r");
    EXPECT_EQ(week.TextOf(W::kHour0 + 1), "");
    EXPECT_EQ(week.ValueOf(W::kDay0 + 1).sel, -1);
    EXPECT_EQ(mtimer.TextOf(M::kWeekHour0 + 1), "08");  // the other page keeps its values
}

}  // namespace
}  // namespace rtu
