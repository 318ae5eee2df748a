#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "PageHarness.h"
#include "link/ProfileWriter.h"
#include "pages/gpio/PageAdcExt.h"

namespace {

using P = rtu::CPageAdcExt;

class AdcExtTest : public ::testing::Test {
protected:
    std::vector<std::string> Row(int row)
    {
        std::vector<std::string> out;
        for (int c = 1; c <= P::kValues; ++c) out.push_back(page.CellText(P::kList, row, c));
        return out;
    }
    rtu::test::PageHarness h;
    P& page = h.Make<P>(rtu::PageId::AdcExt);
};

TEST_F(AdcExtTest, ReportsFillTheirColumnsOnly)
{
    h.Route("$AINEXT2 50,10,2,80,5,3");
    h.Route("$AINOOC2 1,255,0,3");
    EXPECT_EQ(Row(2), (std::vector<std::string>{"50", "10", "2", "80", "5", "3", "1", "255", "0", "3"}));
    h.Route("$AINEXT1 1,2,3,4,5,6,7,8");  // values beyond the range columns are dropped
    h.Route("$AINOOC1 0,1");              // a short report fills what it has
    EXPECT_EQ(Row(1), (std::vector<std::string>{"1", "2", "3", "4", "5", "6", "0", "1", "", ""}));
    h.Route("$AINEXT4 9,9");
    h.Route("$AINEXTx 9,9");
    EXPECT_EQ(page.Value(P::kList).cells.size(), 4u);
    EXPECT_EQ(page.Value(P::kList).cells[1].size(), 11u);
    rtu::CProfileWriter file;
    page.WriteProfileSection(file);
    EXPECT_TRUE(file.Written().empty());
}

TEST_F(AdcExtTest, EditedRowGoesFramedThenTheAnalogDump)
{
    h.Route("$AINEXT0 50,10,2,80,5,3");
    h.Route("$AINOOC0 1,255,4,3");
    rtu::RowEdit edit;
    ASSERT_TRUE(page.BeginEditRow(P::kList, 0, edit));
    EXPECT_EQ(edit.values[P::kEditorIds[0]].text, "50");
    const char* shown[] = {"OC 1", "Not Used", "Not Used", "OC 3"};
    for (int i = 0; i < P::kInterlocks; ++i) EXPECT_EQ(edit.values[P::kEditorIds[6 + i]].text, shown[i]);
    edit.values[P::kEditorIds[6]].text = "Not Used";
    edit.values[P::kEditorIds[8]].text = "2";  // typed as a plain number
    ASSERT_FALSE(page.CheckEditRow(edit));
    page.CommitEditRow(edit);
    h.AckAll();
    const std::vector<std::string> expected = {"%STARTCMD\r",    "%AIN0H50\r",   "%AIN0L10\r",   "%AIN0OS2\r",
                                               "%AIN0HS80\r",    "%AIN0LS5\r",   "%AIN0LAGS3\r", "%AIN0HOC1255\r",
                                               "%AIN0LOC1255\r", "%AIN0HOC22\r", "%AIN0LOC23\r", "%COMMITCMD\r",
                                               "%DUMP_ADS\r"};
    EXPECT_EQ(h.writes, expected);
    EXPECT_EQ(Row(0), (std::vector<std::string>{"50", "10", "2", "80", "5", "3", "255", "255", "2", "3"}));
}

TEST_F(AdcExtTest, EmptyRowSendsEmptyValuesAndNoInterlocks)
{
    rtu::RowEdit edit;
    ASSERT_TRUE(page.BeginEditRow(P::kList, 3, edit));
    EXPECT_EQ(edit.values[P::kEditorIds[6]].text, "Not Used");  // unreported: not output 0
    ASSERT_FALSE(page.CheckEditRow(edit));
    page.CommitEditRow(edit);
    h.AckAll();
    ASSERT_EQ(h.writes.size(), 13u);
    EXPECT_EQ(h.writes[1], "%AIN3H\r");
    EXPECT_EQ(h.writes[7], "%AIN3HOC1255\r");
}

TEST_F(AdcExtTest, EditorRefusesOutputsAndNumbersTheUnitDoesNotHave)
{
    struct Case {
        int column;  // 0-based editor value
        const char* text;
    };
    const Case cases[] = {{6, "OC 4"}, {7, "7"}, {8, "254"}, {0, "abc"}, {5, "1\r%DEFAULTS"}, {2, "1,5"}};
    for (const Case& c : cases) {
        rtu::RowEdit edit;
        ASSERT_TRUE(page.BeginEditRow(P::kList, 1, edit));
        edit.values[P::kEditorIds[c.column]].text = c.text;
        const auto problem = page.CheckEditRow(edit);
        ASSERT_TRUE(problem) << c.text;
        EXPECT_EQ(problem->id, P::kEditorIds[c.column]);
        page.CommitEditRow(edit);
    }
    EXPECT_TRUE(h.writes.empty());
    EXPECT_EQ(P::InterlockOf("OC 2"), 2);
    EXPECT_EQ(P::InterlockOf("Not Used"), P::kNotUsed);
    EXPECT_EQ(P::InterlockOf(""), P::kNotUsed);
    EXPECT_EQ(P::InterlockOf("255"), P::kNotUsed);
}

}  // namespace
