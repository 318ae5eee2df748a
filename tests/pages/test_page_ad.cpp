#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "PageHarness.h"
#include "link/ProfileWriter.h"
#include "pages/gpio/Calibration.h"
#include "pages/gpio/PageAd.h"

namespace {

using P = rtu::CPageAd;

const char* const kDump[] = {
    "$ADINH0 80",     "$ADINL0 10",    "$ADINH1 20",  "$ADINL1 4",    "$ADINH2 7.5",   "$ADINL2 -2.5", "$ADINH3 0",
    "$ADINL3 0",      "$ASCALE0 9.92", "$ASCALE1 1",  "$ASCALE2 0.5", "$ASCALE3 1000", "$ADZERO0 25",  "$ADZERO1 0",
    "$ADZERO2 -1.25", "$ADZERO3 0",    "$AINAS 5",    "$AINLS 30",    "$AINDLY 3",     "$ADINST0 1",   "$ADINST1 0.5",
    "$ADINST2 10",    "$ADINST3 0",    "$AINURG0 1",  "$AINURG2 1",   "$AINSND1 1",    "$ADINOT0 0",   "$ADINOT1 0.5",
    "$ADINOT2 2",     "$ADINOT3 0",    "$AINTPE0 1",  "$AINTPE1 1",   "$AINTPE2 0",    "$AINTPE3 0",   "*ADC_EN:0 1",
    "*ADC_EN:1 1",    "*ADC_EN:2 0",   "*ADC_EN:3 1", "$AINUPT 60",   "$AINUPS 8",     "$AINUPE 18",   "*AINC2 3.21",
    "$ADINRH2 7.5",   "$ADINRL2 1",    "$AINVER 2"};
const std::vector<std::string> kLines = {
    "%AIN0H80.00\r", "%AIN0L10.00\r", "%AIN1H20.00\r",  "%AIN1L4.00\r", "%AIN2H7.50\r", "%AIN2L-2.50\r",
    "%AIN3H0.00\r",  "%AIN3L0.00\r",  "%AIN0SC9.92\r",  "%AIN1SC1\r",   "%AIN2SC0.5\r", "%AIN3SC1000\r",
    "%AIN0ZE25\r",   "%AIN1ZE0\r",    "%AIN2ZE-1.25\r", "%AIN3ZE0\r",   "%AINAS5\r",    "%AINLS30\r",
    "%AINDLY3\r",    "%AIN0ST1\r",    "%AIN1ST0.5\r",   "%AIN2ST10\r",  "%AIN3ST0\r",   "%AINURG1010\r",
    "%AINSND0100\r", "%AINON0123\r",  "%AINOFF2\r",     "%AIN3OS0\r",   "%AIN2OS2\r",   "%AIN1OS0.5\r",
    "%AIN0OS0\r",    "%AINTP1100\r",  "%AINUPT60\r",    "%AINUPS8\r",   "%AINUPE18\r"};

class AdTest : public ::testing::Test {
protected:
    void Fill()
    {
        for (const char* line : kDump) h.Route(line);
    }
    rtu::test::PageHarness h;
    P& page = h.Make<P>(rtu::PageId::AD);
};

TEST_F(AdTest, ReportsComeBackAsTheSavedLines)
{
    Fill();
    EXPECT_EQ(page.DroppedReports(), 0);
    page.OnSaveClicked();
    h.AckAll();
    std::vector<std::string> expected{"%STARTCMD\r"};
    expected.insert(expected.end(), kLines.begin(), kLines.end());
    expected.insert(expected.end(), {"%COMMITCMD\r", "%DUMP_ADS\r%DUMPR\r"});
    EXPECT_EQ(h.writes, expected);
    EXPECT_EQ(h.posted, std::vector<int>{rtu::cmd::kPageBusy});
    // The reload kept the enables, the upload fields and the readings.
    EXPECT_EQ(page.Check(P::kEnable[1]), 1);
    EXPECT_EQ(page.Text(P::kUploadEnd), "18");
    EXPECT_EQ(page.Text(P::kReading[2]), "3.21");
    EXPECT_EQ(page.Text(P::kHigh[0]), "");
    EXPECT_EQ(page.Text(P::kZero[2]), "");
    EXPECT_EQ(page.Sel(P::kType[0]), -1);
}

TEST_F(AdTest, ProfileSectionAndTheEnableLines)
{
    Fill();
    for (int n = 0; n < P::kChannels; ++n) page.SetCheck(P::kEnable[n], 0);
    rtu::CProfileWriter file;
    page.WriteProfileSection(file);
    EXPECT_EQ(file.Written().rfind("\r\n//Page AD config\r\n\r\n%AIN0H80.00\r\n", 0), 0u);
    EXPECT_NE(file.Written().find("%AINON0123\r\n%AINOFF0\r\n%AINOFF1\r\n%AINOFF2\r\n%AINOFF3\r\n%AIN3OS0\r\n"),
              std::string::npos);
    EXPECT_EQ(file.Written().find("STARTCMD"), std::string::npos);
}

TEST_F(AdTest, ReportEdges)
{
    h.Route("$ADINH2 7.5");
    EXPECT_EQ(page.Text(P::kHigh[2]), "7.50");
    h.Route("$ADINRH2 7.5");  // also reaches the "$ADIN" handler: the limits stay
    EXPECT_EQ(page.Text(P::kHigh[2]), "7.50");
    EXPECT_FLOAT_EQ(page.RangeHigh(2), 7.5f);
    for (const char* line :
         {"$ADINH4 1", "$ADINX2 1", "$ADINH2", "$AINURG4 1", "*AINC9 1", "$AINTPE2 x", "*ADC_EN:7 1", "$ADINRL4 3"})
        h.Route(line);
    EXPECT_EQ(page.Text(P::kHigh[2]), "7.50");
    EXPECT_EQ(page.Sel(P::kType[2]), -1);
    h.Route("$AINTPE2 5");  // a digit no item names
    EXPECT_EQ(page.Sel(P::kType[2]), -1);
    h.Route("$AINTPE2 1");
    EXPECT_EQ(page.Sel(P::kType[2]), 1);
    EXPECT_EQ(page.DroppedReports(), 0);
}

TEST_F(AdTest, ResetSendsEightLimitLinesBetweenTheFramingLines)
{
    page.SetText(P::kHigh[0], "5");
    page.OnCommand(P::kReset);
    h.AckAll();
    const std::vector<std::string> expected = {"%STARTCMD\r", "%AIN0H0\r", "%AIN0L0\r", "%AIN1H0\r", "%AIN1L0\r",
                                               "%AIN2H0\r",   "%AIN2L0\r", "%AIN3H0\r", "%AIN3L0\r", "%COMMITCMD\r"};
    EXPECT_EQ(h.writes, expected);
    EXPECT_EQ(h.posted, std::vector<int>{rtu::cmd::kReload});
    EXPECT_EQ(page.Text(P::kHigh[0]), "5");
}

TEST(Calibration, BothFormulasWithKnownPairs)
{
    struct Case {
        rtu::CalibrationInput in;
        const char* scale;
        const char* zero;
    };
    const Case cases[] = {
        {{"4", "20", "0", "100", "62", false, 1}, "9.9200", "25.0000"},
        {{"4", "20", "0", "100", "62", true, 1}, "104.4211", "25.0000"},  // 9.92 * 1000 / 95
        {{"4", "20", "0", "100", "62", false, 2}, "6.2500", "25.0000"},
        {{"4", "20", "0", "100", "62", true, 2}, "6.2500", "25.0000"},  // no V factor in version 2
        {{"0", "10", "5", "5", "62", false, 1}, "1.0000", "-5.0000"},   // flat range: s = Q
        {{"1", "5", "-2", "6", "62", false, 3}, "31.0000", "4.0000"},
        {{"0", "10", "0", "-5", "62", false, 2}, "-0.5000", "0.0000"},  // 0 * -0.5 - 0 is no "-0"
    };
    for (const Case& c : cases) {
        const rtu::Calibration r = rtu::Calibrate(c.in);
        ASSERT_TRUE(r.result) << c.scale;
        EXPECT_EQ(r.result->scale, c.scale);
        EXPECT_EQ(r.result->zero, c.zero);
    }
}

TEST(Calibration, RefusesWhatHasNoDefinedScale)
{
    using F = rtu::CalibrationField;
    struct Case {
        rtu::CalibrationInput in;
        F field;
    };
    const Case cases[] = {
        {{"4", "4", "0", "100", "62", false, 1}, F::SignalHigh},  // equal signal points
        {{"4", "4", "0", "100", "62", false, 2}, F::SignalHigh},
        {{"", "20", "0", "100", "62", false, 1}, F::SignalLow},
        {{"4", "2O", "0", "100", "62", false, 1}, F::SignalHigh},
        {{"4", "20", "x", "100", "62", false, 1}, F::ActualLow},
        {{"4", "20", "0", "1e3", "62", false, 1}, F::ActualHigh},
        {{"4", "20", "5", "5", "0", false, 1}, F::ActualHigh},  // s = Q = 0: 0 / 0
        {{"4", "20", "0", "100", "", false, 1}, F::Constant},
    };
    for (const Case& c : cases) {
        const rtu::Calibration r = rtu::Calibrate(c.in);
        EXPECT_FALSE(r.result);
        ASSERT_TRUE(r.problem);
        EXPECT_EQ(r.problem->field, c.field) << c.in.signalLow << " " << c.in.signalHigh;
    }
}

TEST_F(AdTest, CalibrationOfAChannelSendsItsLinesAndReloads)
{
    h.Route("$ADINRH2 7.5");
    h.Route("$ADINRL2 0.25");
    rtu::RowEdit edit;
    ASSERT_TRUE(page.BeginEditRow(P::kCalibrate[2], 0, edit));
    EXPECT_EQ(edit.values[P::kCalActualHigh].text, "7.50");
    EXPECT_EQ(edit.values[P::kCalActualLow].text, "0.25");
    EXPECT_EQ(edit.values[P::kCalVersion].text, "Version 1");
    edit.values[P::kCalSignalLow].text = "4";
    edit.values[P::kCalSignalHigh].text = "4";
    const auto problem = page.CheckEditRow(edit);
    ASSERT_TRUE(problem);
    EXPECT_EQ(problem->id, P::kCalSignalHigh);
    page.CommitEditRow(edit);
    EXPECT_TRUE(h.writes.empty());

    edit.values[P::kCalSignalHigh].text = "20";
    edit.values[P::kCalActualLow].text = "0";
    edit.values[P::kCalActualHigh].text = "100";
    ASSERT_FALSE(page.CheckEditRow(edit));
    page.CommitEditRow(edit);
    h.AckAll();
    const std::vector<std::string> expected = {"%AIN2SC9.9200\r", "%AIN2ZE25.0000\r", "%AINTP2,1\r",
                                               "%AIN2RH100\r",    "%AIN2RL0\r",       "%DUMP_ADS\r%DUMPR\r"};
    EXPECT_EQ(h.writes, expected);
}

}  // namespace
