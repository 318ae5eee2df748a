#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "PageHarness.h"
#include "link/ProfileWriter.h"
#include "pages/gpio/PageCounter.h"
#include "pages/gpio/PageDinCt.h"

namespace {

using C = rtu::CPageCounter;
using T = rtu::CPageDinCt;

TEST(CounterPage, ReportsSetTheirEditsAndTheSaveIsUnframed)
{
    rtu::test::PageHarness h;
    rtu::CPageBase& page = h.Make(rtu::PageId::Counter);
    struct Case {
        const char* line;
        int id;
        const char* text;
    };
    const Case cases[] = {
        {"$COUNTER_RPH0 7", C::kHour[0], "7"},      {"$COUNTER_RPM0 30", C::kMinute[0], "30"},
        {"$COUNTER_CT1 60", C::kDetect[1], "60"},   {"$COUNTER_VA0 123456", C::kValue[0], "123456"},
        {"$COUNTER_UN0 2.5", C::kUnits[0], "2.5"},  {"$COUNTER_UT1 1440", C::kUpload[1], "1440"},
        {"$COUNTER_UST1 9", C::kThreshold[1], "9"}, {"$COUNTER_XX0 5", C::kThreshold[1], "9"},
    };
    for (const Case& c : cases) {
        h.Route(c.line);
        EXPECT_EQ(page.Text(c.id), c.text) << c.line;
    }
    h.Route("$COUNTER_AT 1");
    EXPECT_EQ(page.Check(C::kAutoUpload), 1);
    h.Route("$COUNTER_AT 7");  // no state
    EXPECT_EQ(page.Check(C::kAutoUpload), 1);

    page.SetText(C::kDetect[0], "");
    page.OnCommand(rtu::ctl::kSave1);
    h.AckAll();
    const std::vector<std::string> expected = {"%IOCCT0,0\r",   "%IOCCT1,60\r",   "%IOCNAT=1\r",    "%IOCU0,2.50\r",
                                               "%IOCU1,0.00\r", "%IOCUT0,0\r",    "%IOCUT1,1440\r", "%IOCRPH0,7\r",
                                               "%IOCRPH1,0\r",  "%IOCRPM0,30\r",  "%IOCRPM1,0\r",   "%IOCST0,0\r",
                                               "%IOCST1,9\r",   "%DUMP_COUNTER\r"};
    EXPECT_EQ(h.writes, expected);
    EXPECT_TRUE(h.posted.empty());  // no busy notice
    rtu::CProfileWriter file;
    page.WriteProfileSection(file);
    EXPECT_TRUE(file.Written().empty());
}

TEST(CounterPage, UnitsThatAreNoNumberStopTheSave)
{
    rtu::test::PageHarness h;
    rtu::CPageBase& page = h.Make(rtu::PageId::Counter);
    page.SetText(C::kUnits[1], "2x5");
    page.OnSaveClicked();
    EXPECT_TRUE(h.writes.empty());
    ASSERT_EQ(h.messages.size(), 1u);
    EXPECT_NE(h.messages[0].find("0.5"), std::string::npos) << h.messages[0];
}

TEST(DinCounterPage, ReportsTitleAndRows)
{
    rtu::test::PageHarness h;
    T& page = h.Make<T>(rtu::PageId::DinCt);
    for (const char* line : {"$DINCTSMT Pump house", "$DINCTSNM Station 7", "$DINCTMAXV2 500", "$DINCTUNTV0 0.5",
                             "$DINCTUNTV4 1", "$DINCTMAXVx 1"})
        h.Route(line);
    EXPECT_EQ(page.Text(T::kTitle), "Pump house");
    EXPECT_EQ(page.Text(T::kStation), "Station 7");
    EXPECT_EQ(page.CellText(T::kList, 2, 2), "500");
    EXPECT_EQ(page.CellText(T::kList, 0, 1), "0.5");
    EXPECT_EQ(page.CellText(T::kList, 3, 0), "Ct3");
    EXPECT_EQ(page.Value(T::kList).cells.size(), 4u);

    page.SetText(T::kStation, "North\r%DEFAULTS");  // a second command line: refused, nothing goes
    page.OnSaveClicked();
    EXPECT_TRUE(h.writes.empty());
    ASSERT_EQ(h.messages.size(), 1u);
    EXPECT_NE(h.messages[0].find("line break"), std::string::npos) << h.messages[0];
    page.SetText(T::kStation, "North");
    page.OnSaveClicked();
    h.AckAll();
    EXPECT_EQ(h.writes, (std::vector<std::string>{"%DINCSMSTPump house\r", "%DINCSNAMENorth\r", "%DUMP_GPIO\r"}));

    h.writes.clear();
    h.Route("$DINCTMAXV2 500");
    rtu::RowEdit edit;
    ASSERT_TRUE(page.BeginEditRow(T::kList, 2, edit));
    EXPECT_EQ(edit.values[T::kEditMax].text, "500");
    edit.values[T::kEditPulse].text = "abc";
    EXPECT_EQ(page.CheckEditRow(edit)->id, T::kEditPulse);
    page.CommitEditRow(edit);
    EXPECT_TRUE(h.writes.empty());
    edit.values[T::kEditPulse].text = "0.25";
    page.CommitEditRow(edit);
    h.AckAll();
    EXPECT_EQ(h.writes, (std::vector<std::string>{"%DINCUNITV2,0.25\r", "%DINCUNITM2,500\r", "%DUMP_GPIO\r"}));
}

}  // namespace
