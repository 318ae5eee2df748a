#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "PageHarness.h"
#include "link/ProfileWriter.h"
#include "pages/sensor/PageExtTemp.h"

namespace {

using P = rtu::CPageExtTemp;

// The unit's answer to the page's dump.
const char* const kDump[] = {"$ETEMP0 21.50,30,10,0,1,5,30,10,0,1,1",
                             "$ETEMP1 23.25,28,18,-1,2,10,60,30,1,0,1",
                             "$EXTEMPUT 60",
                             "$EXTEMPGT 300",
                             "$EXTEMPST 5",
                             "$EXTEMPSS 10",
                             "$EXTEMPUS 08:00",
                             "$EXTEMPUE 18:30"};

class ExtTempTest : public ::testing::Test {
protected:
    void Fill()
    {
        for (const char* line : kDump) h.Route(line);
    }
    std::vector<std::string> RowOf(int row)
    {
        std::vector<std::string> out;
        for (int c = 0; c < P::kColumns; ++c) out.push_back(page.CellText(P::kList, row, c));
        return out;
    }

    rtu::test::PageHarness h;
    P& page = h.Make<P>(rtu::PageId::ExtTemp);
};

TEST_F(ExtTempTest, SensorReports)
{
    using Row = std::vector<std::string>;
    const std::string longLine = "$ETEMP2," + std::string(40, '7');
    struct Case {
        const char* line;
        int row;
        Row after;
    };
    const Row empty2 = {"2", "", "", "", "", "", "", "", "", "", "", ""};
    const Case cases[] = {
        {"$ETEMP2,23.5,40,-5,2,0,1,1,10,0,1,1", 2, {"2", "23.5", "40", "-5", "2", "0", "1", "1", "10", "0", "1", "1"}},
        // A last field after the last comma is written only when it holds something.
        {"$ETEMP2,20,30,", 2, {"2", "20", "30", "", "", "", "", "", "", "", "", ""}},
        {"$ETEMP2 20,,7", 2, {"2", "20", "", "7", "", "", "", "", "", "", "", ""}},
        {longLine.c_str(), 2, {"2", std::string(31, '7'), "", "", "", "", "", "", "", "", "", ""}},
        // Fields beyond the last column are dropped; sensors outside 0-3 and short lines change nothing.
        {"$ETEMP2,1,2,3,4,5,6,7,8,9,10,11,12,13", 2, {"2", "1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11"}},
        {"$ETEMP4,1,2", 2, empty2},
        {"$ETEMP0", 2, empty2},
        {"$ETEMPx,1,2", 2, empty2},
    };
    for (const Case& c : cases) {
        for (int col = 1; col < P::kColumns; ++col) page.Cell(P::kList, c.row, col).clear();
        h.Route(c.line);
        EXPECT_EQ(RowOf(c.row), c.after) << c.line;
    }
    page.Cell(P::kList, 1, 3) = "-5";
    h.Route("$ETEMP1,20,30,");
    EXPECT_EQ(RowOf(1), (Row{"1", "20", "30", "-5", "", "", "", "", "", "", "", ""}));
    EXPECT_EQ(page.DroppedReports(), 0);
}

TEST_F(ExtTempTest, CommonReportsNameTheirBox)
{
    struct Case {
        const char* line;
        int id;
        const char* text;
    };
    const Case cases[] = {
        {"$EXTEMPUS 08:00", P::kUploadStart, "08:00"},
        {"$EXTEMPUE 24:00", P::kUploadEnd, "24:00"},
        {"$EXTEMPUT 60", P::kUartPeriod, "60"},
        {"$EXTEMPGT 300", P::kGprsPeriod, "300"},
        {"$EXTEMPST 5", P::kEventStep, "5"},
        {"$EXTEMPSS 10", P::kSavePeriod, "10"},
        {"$EXTEMPSS", P::kSavePeriod, ""},
    };
    for (const Case& c : cases) {
        h.Route(c.line);
        EXPECT_EQ(page.Text(c.id), c.text) << c.line;
    }
    // A code inside the value names nothing.
    page.SetText(P::kSavePeriod, "10");
    h.Route("$EXTEMPUT SS");
    EXPECT_EQ(page.Text(P::kUartPeriod), "SS");
    EXPECT_EQ(page.Text(P::kSavePeriod), "10");
}

TEST_F(ExtTempTest, SetupDialogWritesOneSensorThenReloads)
{
    Fill();
    rtu::RowEdit edit;
    EXPECT_FALSE(page.BeginEditRow(P::kList, -1, edit));  // no row selected: nothing opens
    ASSERT_TRUE(page.BeginEditRow(P::kList, 1, edit));
    EXPECT_EQ(edit.title, "1# ");
    EXPECT_EQ(edit.values[P::kSetupReading].text, "23.25");
    EXPECT_EQ(edit.values[P::kSetupEdit0 + 2].text, "-1");
    EXPECT_EQ(edit.values[P::kSetupCheck0].check, 1);
    EXPECT_EQ(edit.values[P::kSetupCheck0 + 2].check, 1);
    edit.values[P::kSetupEdit0].text = "35";
    edit.values[P::kSetupCheck0 + 1].check = 1;
    edit.values[P::kSetupCheck0 + 2].check = 0;
    page.CommitEditRow(edit);
    EXPECT_EQ(*h.sequencer.NextDeadline() - h.now, rtu::CPageBase::kDefaultWaitMs);
    h.AckAll();
    EXPECT_EQ(h.Wire(), "%STARTCMD\r%ETEMPH1=35\r%ETEMPL1=18\r%ETEMPB1=-1\r%ETEMPOS1=2\r%ETEMPAS1=10\r%ETEMPRS1=60\r"
                        "%ETEMPDLY1=30\r%ETEMPURG1=1\r%ETEMPSND1=1\r%ETEMPEN1=0\r%COMMITCMD\r%DUMP_DS1\r");
}

// Calibrations go out as typed (the unit reports decimals too); a second line or a comma is refused.
TEST_F(ExtTempTest, SetupDialogRefusesWhatBreaksTheLine)
{
    Fill();
    rtu::RowEdit edit;
    ASSERT_TRUE(page.BeginEditRow(P::kList, 0, edit));
    for (const char* ok : {"", "0", "125", "-55", "1.5", "12a"}) {
        edit.values[P::kSetupEdit0 + 1].text = ok;
        EXPECT_FALSE(page.CheckEditRow(edit)) << ok;
    }
    for (const char* bad : {"1,5", "3\r%ATF"}) {
        edit.values[P::kSetupEdit0 + 1].text = bad;
        const auto problem = page.CheckEditRow(edit);
        ASSERT_TRUE(problem) << bad;
        EXPECT_EQ(problem->id, P::kSetupEdit0 + 1);
        page.CommitEditRow(edit);  // refused values reach neither the row nor the unit
    }
    EXPECT_EQ(page.CellText(P::kList, 0, 3), "10");
    EXPECT_TRUE(h.writes.empty());
}

TEST_F(ExtTempTest, SaveSendsTheCommonSettingsWithoutReload)
{
    Fill();
    page.OnSaveClicked();
    h.AckAll();
    EXPECT_EQ(h.Wire(), "%STARTCMD\r%ETEMPUT60\r%ETEMPGT300\r%ETEMPSTEP5\r%ETEMPSS10\r%ETEMPUPS08:00\r%ETEMPUPE18:30\r"
                        "%COMMITCMD\r");
}

TEST_F(ExtTempTest, ProfileHoldsFortyFourLinesAndNoUploadWindow)
{
    Fill();
    rtu::CProfileWriter file;
    page.WriteProfileSection(file);
    const std::string& text = file.Written();
    EXPECT_EQ(text.rfind("\r\n//Page ex ds18b20 sensors\r\n\r\n", 0), 0u);
    int lines = 0;
    for (char ch : text) lines += ch == '%';
    EXPECT_EQ(lines, 44);
    EXPECT_NE(text.find("%ETEMPH0=30\r\n%ETEMPL0=10\r\n"), std::string::npos);
    EXPECT_NE(text.find("%ETEMPEN3=\r\n%ETEMPUT60\r\n%ETEMPGT300\r\n%ETEMPSTEP5\r\n%ETEMPSS10\r\n"), std::string::npos);
    EXPECT_EQ(text.find("UPS"), std::string::npos);
    EXPECT_EQ(text.find("UPE"), std::string::npos);
    EXPECT_TRUE(h.writes.empty());
}

TEST_F(ExtTempTest, ReloadKeepsTheEnableColumnAndTheLaterBoxes)
{
    Fill();
    page.ReloadGroup();
    EXPECT_EQ(h.Wire(), P::kDump);
    EXPECT_EQ(RowOf(1), (std::vector<std::string>{"1", "", "", "", "", "", "", "", "", "", "", "1"}));
    for (int id : {P::kUartPeriod, P::kGprsPeriod, P::kEventStep}) EXPECT_EQ(page.Text(id), "") << id;
    EXPECT_EQ(page.Text(P::kSavePeriod), "10");
    EXPECT_EQ(page.Text(P::kUploadStart), "08:00");
}

}  // namespace
