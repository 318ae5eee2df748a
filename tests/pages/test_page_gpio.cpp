#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "PageHarness.h"
#include "link/ProfileWriter.h"
#include "pages/gpio/PageGpio.h"

namespace {

using P = rtu::CPageGpio;

const char* const kDump[] = {"$ITP0 1",    "$ITP1 2",    "$ITP2 3",    "$ITP3 4",    "$OTP0 1",
                             "$OTP1 2",    "$OTP2 0",    "$OTP3 4",    "$DINURG0 1", "$DINURG2 1",
                             "$DINSND1 1", "$DINSND2 1", "$IOOR 1",    "$L1DEF 1",   "$IOHT 180",
                             "$DINCTA 1",  "$DINDUT 60", "$DINCNT3 1", "$ITP7 2",    "$DINURG6 1"};
const std::vector<std::string> kLines = {"%DINURG1010\r", "%DINSND0110\r", "%IOTP12341204\r",
                                         "%IOOR1\r",      "%L1DEF1\r",     "%IOHT180\r"};

class GpioTest : public ::testing::Test {
protected:
    void Fill()
    {
        for (const char* line : kDump) h.Route(line);
    }
    rtu::test::PageHarness h;
    P& page = h.Make<P>(rtu::PageId::GPIO);
};

TEST_F(GpioTest, ReportsComeBackAsTheSavedLinesOfInputsAndOutputsZeroToThree)
{
    Fill();
    EXPECT_EQ(page.Sel(P::kInputType[7]), 2);  // hidden inputs follow reports ...
    EXPECT_EQ(page.Check(P::kUrgent0 + 6), 1);
    page.OnSaveClicked();
    h.AckAll();
    std::vector<std::string> expected{"%STARTCMD\r"};
    expected.insert(expected.end(), kLines.begin(), kLines.end());
    expected.insert(expected.end(), {"%COMMITCMD\r", "%DUMP_GPIO\r"});
    EXPECT_EQ(h.writes, expected);  // ... but only 0-3 go back
    EXPECT_EQ(h.posted, std::vector<int>{rtu::cmd::kPageBusy});
}

TEST_F(GpioTest, ProfileSectionAndTheUnreportedTypes)
{
    rtu::CProfileWriter empty;
    page.WriteProfileSection(empty);
    EXPECT_NE(empty.Written().find("%IOTP-1-1-1-1-1-1-1-1\r\n"), std::string::npos);
    Fill();
    rtu::CProfileWriter file;
    page.WriteProfileSection(file);
    std::string expected = "\r\n//Page Digital inputs config\r\n\r\n";
    for (const std::string& line : kLines) expected += line + "\n";
    EXPECT_EQ(file.Written(), expected);
}

TEST_F(GpioTest, ReportEdges)
{
    struct Case {
        const char* line;
        int id;
        int before, after;  // selection or check state
    };
    const Case cases[] = {
        {"$ITP11 3", P::kInputType[11], -1, 3},                                         // a digit run: inputs up to 11
        {"$ITP12 3", P::kInputType[11], 1, 1},                                          // no input 12
        {"$ITP 3", P::kInputType[0], 1, 1},                                             // no digits
        {"$ITP2", P::kInputType[2], 1, 1},                                              // no type
        {"$ITP2 9", P::kInputType[2], 1, -1},                                           // a code no item names
        {"$OTP8 1", P::kOutputType[0], 2, 2},                                           // outputs 0-7 only
        {"$OTP7 3", P::kOutputType[7], -1, 3},  {"$DINURG9 1", P::kUrgent0 + 1, 0, 0},  // one digit, 0-7
        {"$DINURG7 1", P::kUrgent0 + 7, 0, 1},  {"$DINSND3 0", P::kSound0 + 3, 1, 0},
        {"$DINCNT2 1", P::kCounter0 + 2, 0, 1},  // hidden, display only
        {"$IOOR 0", P::kKeepOutputs, 1, 0},     {"$L1DEF 0", P::kInput1Button, 1, 0},
        {"$DINCTA 1", P::kCounterAuto, 0, 1},
    };
    for (const Case& c : cases) {
        const rtu::FieldDecl* f = page.FindField(c.id);
        ASSERT_TRUE(f) << c.id;
        const bool combo = f->kind == rtu::FieldKind::Combo;
        combo ? page.SetSel(c.id, c.before) : page.SetCheck(c.id, c.before);
        h.Route(c.line);
        EXPECT_EQ(combo ? page.Sel(c.id) : page.Check(c.id), c.after) << c.line;
    }
    EXPECT_EQ(page.DroppedReports(), 0);
}

TEST_F(GpioTest, StatusLinesGrowUntilTheNextClearAndKeepCounterBoxes)
{
    const std::string path = ::testing::TempDir() + "gpio_status.ini";
    std::ofstream(path) << ("[DINTYPES]\nDIN_CHANNEL=Input\nDIN_OPEN=open\nDIN_CLOSE=closed\n"
                            "[DOUTTYPES]\nDOUT_CHANNEL=Output\nDOUT_OPEN=off\nDOUT_CLOSE=on\n");
    rtu::CTextCatalog catalog;
    ASSERT_TRUE(catalog.Load(path));
    h.context.catalog = &catalog;
    for (const char* line :
         {"*IOI:1 0", "*IOI:2 1", "*IOO:0 1", "*IOO:3 0", "*IOX:1 1", "*IOI:", "*IOI:4", "*IOI:12 1", "*IOO:8 1"})
        h.Route(line);
    const std::vector<std::vector<std::string>> expected = {
        {"1 Input: closed"}, {"2 Input: open"}, {""}, {"0 Output: on"}, {"3 Output: off"}};
    EXPECT_EQ(page.Value(P::kStatus).cells, expected);

    page.SetCheck(P::kCounter0 + 1, 1);
    page.SetCheck(P::kCounterAuto, 1);
    Fill();
    page.ClearFields();
    EXPECT_TRUE(page.Value(P::kStatus).cells.empty());
    EXPECT_EQ(page.Check(P::kCounter0 + 1), 1);
    EXPECT_EQ(page.Check(P::kCounter0 + 3), 1);
    EXPECT_EQ(page.Check(P::kCounterAuto), 1);
    EXPECT_EQ(page.Check(P::kInput1Button), 0);
    EXPECT_EQ(page.Sel(P::kInputType[0]), -1);
    EXPECT_EQ(page.Text(P::kSirenTime), "");

    for (std::size_t i = 0; i < P::kMaxStatusLines + 10; ++i) h.Route("*IOI:1 1");
    EXPECT_EQ(page.Value(P::kStatus).cells.size(), P::kMaxStatusLines);
}

}  // namespace
