// Interlock actions and the programmable event table: reports, the save batch, the profile
// section and the rule editor, byte for byte.
#include <gtest/gtest.h>

#include <algorithm>

#include <string>
#include <vector>

#include "PageHarness.h"
#include "link/ProfileWriter.h"
#include "pages/automation/PageCio.h"
#include "pages/automation/PageInterlock.h"

namespace rtu {
namespace {

using P = CPageCio;
using I = CPageInterlock;

struct CioTest : ::testing::Test {
    test::PageHarness h;
    CPageBase& page = h.Make(PageId::Cio);
    int Sel(int id) { return page.ValueOf(id).sel; }
};

TEST_F(CioTest, SavingBeforeAnyReportSendsNoSelectionAsMinusOne)
{
    page.OnSaveClicked();
    EXPECT_EQ(*h.sequencer.NextDeadline(), h.now + P::kWaitMs);
    h.AckAll();
    const std::vector<std::string> expected = {"%STARTCMD\r",
                                               "%IOOC-1-1-1-1-1-1-1-1\r",
                                               "%IOOA0-1\r",
                                               "%IOOA1-1\r",
                                               "%IOOA2-1\r",
                                               "%IOOA3-1\r",
                                               "%IOOA4-1\r",
                                               "%IOOA5-1\r",
                                               "%IOOA6-1\r",
                                               "%IOOA7-1\r",
                                               "%IOPO\r",
                                               "%INTERLOCKDISARM0\r",
                                               "%INTERLOCKURG0\r",
                                               "%COMMITCMD\r",
                                               "%DUMP_GPIO\r%DUMP_SYS\r"};
    EXPECT_EQ(h.writes, expected);
}

TEST_F(CioTest, ReportsSetTheBoxes)
{
    struct Case {
        const char* line;
        int id;
        int before, after;
    };
    const Case cases[] = {
        {"$OAS3 13", P::kSource0 + 3, -1, 13},  // the first external sensor
        {"$OAS7 19", P::kSource0 + 7, -1, 19},  // hidden rows still take their source
        {"$OAS9 1", P::kSource0 + 1, 4, 4},     // no output 9
        {"$OAS3 20", P::kSource0 + 3, 5, -1},   // no item 20
        {"$IOOC 0123N6nx", P::kAlarmAction0, -1, 0},
        {"$IOOC 0123N6nx", P::kAlarmAction0 + 3, -1, 3},
        {"$IOOC 0123N6nx", P::kClearAction0, -1, 6},
        {"$IOOC 0123N6nx", P::kClearAction0 + 2, -1, 6},
        {"$IOOC 0123N6nx", P::kClearAction0 + 3, 2, 2},  // 'x' keeps the box
        {"$IOOC 7", P::kAlarmAction0, 1, 1},             // no link type 7
        {"$IOOC 01", P::kClearAction0, 4, 4},            // a short value sets only what it has
    };
    for (const Case& c : cases) {
        page.SetSel(c.id, c.before);
        h.Route(c.line);
        EXPECT_EQ(Sel(c.id), c.after) << c.line << " on " << c.id;
    }
}

TEST_F(CioTest, ProfileSectionFromTheReports)
{
    for (const char* line : {"$IOOC 12360065", "$OAS0 1", "$OAS1 6", "$OAS2 19", "$OAS3 13", "$OAS4 0", "$OAS5 0",
                             "$OAS6 9", "$OAS7 0", "$IOPO 5", "$INTERLOCKDISARM 1", "$INTERLOCKURG 0"})
        h.Route(line);
    CProfileWriter file;
    page.WriteProfileSection(file);
    EXPECT_EQ(file.Written(),
              "\r\n//Page Interlock actions\r\n\r\n%IOOC12360065\r\n%IOOA01\r\n%IOOA16\r\n%IOOA219\r\n%IOOA313\r\n"
              "%IOOA40\r\n%IOOA50\r\n%IOOA69\r\n%IOOA70\r\n%IOPO5\r\n%INTERLOCKDISARM1\r\n%INTERLOCKURG0\r\n");
    EXPECT_TRUE(h.writes.empty());
}

// A pulse time goes out as typed (the unit reports 70000 itself); only a second line is refused.
TEST_F(CioTest, PulseTimeGoesAsTypedUnlessItBreaksTheLine)
{
    for (const char* typed : {"12a", "70000", "-1"}) {
        h.writes.clear();
        page.SetText(P::kPulse, typed);
        page.OnSaveClicked();
        h.AckAll();
        EXPECT_NE(std::find(h.writes.begin(), h.writes.end(), std::string("%IOPO") + typed + "\r"), h.writes.end())
            << typed;
    }
    EXPECT_TRUE(h.messages.empty());
    h.writes.clear();
    page.SetText(P::kPulse, "5\r%DEFAULTS");
    page.OnSaveClicked();
    EXPECT_TRUE(h.writes.empty());
    ASSERT_FALSE(h.messages.empty());
    EXPECT_NE(h.messages.back().find("PULSET"), std::string::npos) << h.messages.back();
}

struct InterlockTest : ::testing::Test {
    test::PageHarness h;
    I& page = h.Make<I>(PageId::Interlock);
    std::vector<std::string> Row(int r)
    {
        std::vector<std::string> out;
        for (int c = 0; c <= I::kActionName; ++c) out.push_back(page.CellText(I::kListId, r, c));
        return out;
    }
};

TEST_F(InterlockTest, RuleReports)
{
    using Cells = std::vector<std::string>;
    const struct {
        const char* line;
        int row;
        Cells cells;
    } cases[] = {
        {"$ILOCK5,40,2", 5, {"5", "0", "", "2", "ARM"}},
        {"$ILOCK0 1,16", 0, {"0", "1", "POWERUP", "16", "DAILY SMS REPORT"}},
        {"$ILOCK23,39,28", 23, {"23", "39", "GPS Started", "28", "BUZZER ALARM"}},
        {"$ILOCK7,22,29", 7, {"7", "22", "DIN7 ALERT", "0", ""}},
        {"$ILOCK24,1,1", 0, {"0", "1", "POWERUP", "16", "DAILY SMS REPORT"}},  // no row 24: row 0 unchanged
        {"$ILOCK3,x,1", 3, {"3", "", "", "", ""}},                             // not a rule
        {"$ILOCK3,1", 3, {"3", "", "", "", ""}},                               // too few fields
    };
    for (const auto& c : cases) {
        h.Route(c.line);
        EXPECT_EQ(Row(c.row), c.cells) << c.line;
    }
    EXPECT_EQ(page.ValueOf(I::kListId).cells.size(), static_cast<std::size_t>(I::kRows));
}

TEST_F(InterlockTest, EditingARuleSendsItAndAsksForTheTableAgain)
{
    h.Route("$ILOCK5,40,2");
    RowEdit edit;
    ASSERT_TRUE(page.BeginEditRow(I::kListId, 5, edit));
    EXPECT_EQ(edit.values[I::kEditorEvent].sel, 0);  // code 0 stands in for the unknown event
    EXPECT_EQ(edit.values[I::kEditorAction].sel, 2);
    EXPECT_FALSE(page.BeginEditRow(I::kListId, I::kRows, edit));

    edit.values[I::kEditorEvent].sel = 15;
    edit.values[I::kEditorAction].sel = 11;
    page.CommitEditRow(edit);
    EXPECT_EQ(*h.sequencer.NextDeadline(), h.now + I::kEditWaitMs);
    h.AckAll();
    EXPECT_EQ(h.writes, (std::vector<std::string>{"%ILOCK5,15,11\r", "%DUMP_TIMER\r"}));

    h.writes.clear();
    edit.values[I::kEditorAction].sel = -1;
    ASSERT_TRUE(page.CheckEditRow(edit));
    EXPECT_EQ(page.CheckEditRow(edit)->id, I::kEditorAction);
    page.CommitEditRow(edit);
    EXPECT_TRUE(h.writes.empty());

    CProfileWriter file;
    page.WriteProfileSection(file);
    EXPECT_EQ(file.Written(), "");
}

}  // namespace
}  // namespace rtu
