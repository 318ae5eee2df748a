#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "PageHarness.h"
#include "link/ProfileWriter.h"
#include "pages/gpio/PageDinParams.h"

namespace {

using P = rtu::CPageDinParams;

class DinParamsTest : public ::testing::Test {
protected:
    rtu::test::PageHarness h;
    P& page = h.Make<P>(rtu::PageId::DinParams);
};

TEST_F(DinParamsTest, ReportsFillTheirCells)
{
    struct Case {
        const char* line;
        int row, column;
        const char* cell;
    };
    const Case cases[] = {
        {"$DINAS2,15", 2, 1, "15"}, {"$DINDLY1 30", 1, 3, "30"}, {"$DINLS3 007", 3, 2, "7"},
        {"$DINAS 2 15", 0, 1, "2"},  // a blank after the key: the first field is empty, row 0
        {"$DINLS4,9", 0, 2, ""},     // no row 4
        {"$DINDLY2,", 2, 3, ""},     // no value
        {"$DINDLY2,x", 2, 3, ""},    // not a number
    };
    for (const Case& c : cases) {
        h.Route(c.line);
        EXPECT_EQ(page.CellText(P::kList, c.row, c.column), c.cell) << c.line;
    }
    EXPECT_EQ(page.CellText(P::kList, 0, 0), "Din0");
}

TEST_F(DinParamsTest, ProfileHoldsTwelveLinesWithEmptyCells)
{
    h.Route("$DINAS0 15");
    h.Route("$DINDLY3 600");
    rtu::CProfileWriter file;
    page.WriteProfileSection(file);
    const std::string w = file.Written();
    EXPECT_EQ(w.rfind("\r\n//Page Digital inputs delays config\r\n\r\n%IOAS0,15\r\n%IOLS0,\r\n%DINDLY0,\r\n", 0), 0u);
    EXPECT_NE(w.find("%IOLS3,\r\n%DINDLY3,600\r\n"), std::string::npos);
    std::size_t lines = 0;
    for (std::size_t at = 0; (at = w.find("\r\n%", at)) != std::string::npos; ++at) ++lines;
    EXPECT_EQ(lines, 12u);
    page.SaveParams(false, nullptr);  // no Save button: nothing goes to the unit
    EXPECT_TRUE(h.writes.empty());
}

TEST_F(DinParamsTest, RowEditSendsTheRowFramedAndReloadsWithoutClearing)
{
    h.Route("$DINAS1 15");
    h.Route("$DINAS2 99");
    rtu::RowEdit edit;
    ASSERT_TRUE(page.BeginEditRow(P::kList, 1, edit));
    EXPECT_EQ(edit.values[P::kEditInterval].text, "15");
    edit.values[P::kEditInterval].text = "20";
    edit.values[P::kEditRepeat].text = "0";
    edit.values[P::kEditLag].text = "65535";
    ASSERT_FALSE(page.CheckEditRow(edit));
    page.CommitEditRow(edit);
    ASSERT_EQ(h.writes.size(), 1u);
    EXPECT_EQ(*h.sequencer.NextDeadline(), P::kDefaultWaitMs);
    h.sequencer.OnAck(rtu::AckKind::Ok);
    EXPECT_EQ(*h.sequencer.NextDeadline(), P::kRowWaitMs);
    h.AckAll();
    const std::vector<std::string> expected = {"%STARTCMD\r",      "%IOAS1,20\r",  "%IOLS1,0\r",
                                               "%DINDLY1,65535\r", "%COMMITCMD\r", "%DUMP_GPIO\r"};
    EXPECT_EQ(h.writes, expected);
    EXPECT_EQ(page.CellText(P::kList, 2, 1), "99");  // the reload does not empty the list
}

// Times go out as typed (the unit judges them); what would break the line is refused.
TEST_F(DinParamsTest, RowEditorRefusesWhatBreaksTheLine)
{
    for (const char* ok : {"-1", "65536", "1x"}) {
        rtu::RowEdit edit;
        ASSERT_TRUE(page.BeginEditRow(P::kList, 0, edit));
        edit.values[P::kEditLag].text = ok;
        EXPECT_FALSE(page.CheckEditRow(edit)) << ok;
    }
    for (const char* bad : {"3,4", "3\r%DEFAULTS"}) {
        rtu::RowEdit edit;
        ASSERT_TRUE(page.BeginEditRow(P::kList, 0, edit));
        edit.values[P::kEditInterval].text = "1";
        edit.values[P::kEditRepeat].text = "1";
        edit.values[P::kEditLag].text = bad;
        const auto problem = page.CheckEditRow(edit);
        ASSERT_TRUE(problem) << bad;
        EXPECT_EQ(problem->id, P::kEditLag);
        page.CommitEditRow(edit);
    }
    EXPECT_TRUE(h.writes.empty());
    rtu::RowEdit edit;
    EXPECT_FALSE(page.BeginEditRow(P::kList, 4, edit));
}

}  // namespace
