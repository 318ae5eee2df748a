#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "PageHarness.h"
#include "link/ProfileWriter.h"
#include "pages/basic/PageMainParams.h"

namespace {

using rtu::CPageMainParams;
using P = CPageMainParams;

class MainParamsTest : public ::testing::Test {
protected:
    MainParamsTest() { h.pages.push_back(&page); }

    // A page with every value set, as a user would leave it.
    void Fill()
    {
        page.SetSel(P::kParity, 2);
        page.SetSel(P::kSmsMode, 0);
        page.SetSel(P::kGsmBand, 5);
        page.SetText(P::kCountryCode, "86");
        page.SetText(P::kIdentity, "RTU7");
        page.SetCheck(P::kDas, 1);
        page.SetText(P::kBaud, "9600");
        page.SetText(P::kDescription, "AB");
        page.SetCheck(P::kTscs, 1);
        page.SetCheck(P::kTssp, 0);
        page.SetText(P::kServicePhone, "+4912345");
        page.SetText(P::kPin, "1234");
        page.SetCheck(P::kSignalAlarm, 1);
        page.SetCheck(P::kReplyError, 1);
        page.SetCheck(P::kReplySuccess, 0);
        page.SetText(P::kSignalLow, "12");
        page.SetText(P::kSmsCentre, "+8613800");
        page.SetText(P::kPuk, "87654321");
        page.SetCheck(P::kForwardSms, 1);
        page.SetText(P::kForwardKey, "A");
        page.SetText(P::kForwardSpan, "12x");
        page.SetText(P::kBalanceNumber, "10086");
        page.SetText(P::kBalanceCode, "YE");
    }

    rtu::test::PageHarness h;
    CPageMainParams page{h.context};
};

// The parameter lines of the filled page, in their order.
const std::vector<std::string> kFilledLines = {
    "%UP2\r",         "%MODEMSMSMD0\r", "%CC86\r",          "%IDRTU7\r",         "%DAS1\r",
    "%UB9600\r",      "%DESC00410042\r", "%PRTCS1\r",       "%PRTSP0\r",         "%SP+4912345\r",
    "%PIN1234\r",     "%SIGNALA1\r",    "%RPLERR1\r",       "%RPLSUC0\r",        "%RSILOW12\r",
    "%SMSC+8613800\r", "%PUK87654321\r", "%CBAND5\r",       "%FWDSMS1\r",        "%FWDKEY0041\r",
    "%modemfwdspan12\r", "%CHECKBALANCE10086,YE\r",
};

struct ReportCase {
    const char* line;
    int id;
    enum { Text, Check, Sel } kind;
    std::string text;
    int number;
};

TEST_F(MainParamsTest, ReportsSetTheirControls)
{
    const ReportCase cases[] = {
        {"$PINC 1234", P::kPin, ReportCase::Text, "1234", 0},
        {"$BPS 9600", P::kBaud, ReportCase::Text, "9600", 0},
        {"$PARITY 2", P::kParity, ReportCase::Sel, "", 2},
        {"$PARITY 7", P::kParity, ReportCase::Sel, "", -1},  // no such item: nothing selected
        {"$PARITY x", P::kParity, ReportCase::Sel, "", 0},
        {"$GSMBAND 5", P::kGsmBand, ReportCase::Sel, "", 5},
        {"$GSMBAND 6", P::kGsmBand, ReportCase::Sel, "", -1},
        {"$DESC 00410042", P::kDescription, ReportCase::Text, "AB", 0},
        {"$DAS 1", P::kDas, ReportCase::Check, "", 1},
        {"$DID 00017", P::kIdentity, ReportCase::Text, "00017", 0},
        {"$CC 86", P::kCountryCode, ReportCase::Text, "86", 0},
        {"$CSQLOW 12", P::kSignalLow, ReportCase::Text, "12", 0},
        {"$PRTCS 1", P::kTscs, ReportCase::Check, "", 1},
        {"$PRTSP 1", P::kTssp, ReportCase::Check, "", 1},
        {"$SPN +4912345", P::kServicePhone, ReportCase::Text, "+4912345", 0},
        {"$SIGNALA 1", P::kSignalAlarm, ReportCase::Check, "", 1},
        {"$RPLSUC 1", P::kReplySuccess, ReportCase::Check, "", 1},
        {"$RPLERR 1", P::kReplyError, ReportCase::Check, "", 1},
        {"$SMSC +8613800 ", P::kSmsCentre, ReportCase::Text, "+8613800 ", 0},  // kept to the line's end
        {"$PUKC 87654321", P::kPuk, ReportCase::Text, "87654321", 0},
        {"$MODEMSMODE 0", P::kSmsMode, ReportCase::Sel, "", 0},
        {"$FWDSMS 1", P::kForwardSms, ReportCase::Check, "", 1},
        {"$FWDSMS 2", P::kForwardSms, ReportCase::Check, "", 0},
        {"$MODEM_FWDSPAN 30", P::kForwardSpan, ReportCase::Text, "30", 0},
        {"$FWDKEY 0041", P::kForwardKey, ReportCase::Text, "A", 0},
        {"$CKBSP 10086", P::kBalanceNumber, ReportCase::Text, "10086", 0},
        {"$CKBCD 101", P::kBalanceCode, ReportCase::Text, "101", 0},
        {"$BPS", P::kBaud, ReportCase::Text, "", 0},  // shorter than its offset
    };
    for (const ReportCase& c : cases) {
        page.SetText(c.id, "old");
        page.SetCheck(c.id, 1 - c.number);
        page.SetSel(c.id, 3);
        h.Route(c.line);
        switch (c.kind) {
        case ReportCase::Text: EXPECT_EQ(page.Text(c.id), c.text) << c.line; break;
        case ReportCase::Check: EXPECT_EQ(page.Check(c.id), c.number) << c.line; break;
        case ReportCase::Sel: EXPECT_EQ(page.Sel(c.id), c.number) << c.line; break;
        }
    }
}

TEST_F(MainParamsTest, CheckBoxesFollowBothPatterns)
{
    const std::pair<const char*, int> boxes[] = {{"$DAS ", P::kDas},          {"$PRTCS ", P::kTscs},
                                                 {"$PRTSP ", P::kTssp},       {"$SIGNALA ", P::kSignalAlarm},
                                                 {"$RPLSUC ", P::kReplySuccess}, {"$RPLERR ", P::kReplyError}};
    for (const auto& [key, id] : boxes) {
        h.Route(std::string(key) + "1");
        EXPECT_EQ(page.Check(id), 1) << key;
        h.Route(std::string(key) + "0");
        EXPECT_EQ(page.Check(id), 0) << key;
    }
}

TEST_F(MainParamsTest, TheFirstKeyInTestOrderDecides)
{
    // "$PINC" is tested before "$BPS", though it comes later in the line.
    h.Route("$BPS 9600 $PINC");
    EXPECT_EQ(page.Text(P::kBaud), "");
    EXPECT_EQ(page.Text(P::kPin), "600 $PINC");
    // "$DAS 1" is tested before "$DID": the identity stays as it was.
    h.Route("$DID 5 $DAS 1");
    EXPECT_EQ(page.Check(P::kDas), 1);
    EXPECT_EQ(page.Text(P::kIdentity), "");
    // Lines without one of the page's keys leave it unchanged, whatever they begin with.
    page.SetText(P::kCountryCode, "49");
    for (const char* line : {"CMD OK", "*AINC 1", "$CSQ 20", "DUMPR"}) h.Route(line);
    EXPECT_EQ(page.Text(P::kCountryCode), "49");
}

TEST_F(MainParamsTest, SaveSendsEveryLineFramedAndWaitsForEachAcknowledgement)
{
    Fill();
    page.OnSaveClicked();
    ASSERT_EQ(h.posted, std::vector<int>{rtu::cmd::kPageBusy});
    ASSERT_EQ(h.writes.size(), 1u);  // one line in flight
    EXPECT_EQ(h.writes[0], "%STARTCMD\r");
    EXPECT_EQ(*h.sequencer.NextDeadline(), h.now + P::kDefaultWaitSteps);
    h.AckAll();

    std::vector<std::string> expected{"%STARTCMD\r"};
    expected.insert(expected.end(), kFilledLines.begin(), kFilledLines.end());
    expected.push_back("%COMMITCMD\r");
    expected.push_back("%DUMP_SYS\r%DUMP_ROMSMS\r");
    EXPECT_EQ(h.writes, expected);
    // The reload cleared the page before asking the unit again.
    EXPECT_EQ(page.Text(P::kIdentity), "");
}

TEST_F(MainParamsTest, UnansweredLinesEachWaitTheirBoundAndTheBatchGoesOn)
{
    Fill();
    page.OnSaveClicked();
    h.TimeoutAll();
    EXPECT_EQ(h.writes.size(), kFilledLines.size() + 3);
    EXPECT_EQ(h.now, static_cast<rtu::Millis>(kFilledLines.size() + 2) * P::kDefaultWaitSteps);
}

struct RangeCase {
    int parity, smsMode, band;
    bool up, smsmd, cband;
};

TEST_F(MainParamsTest, ParametersOutOfRangeAreSkippedNotDefaulted)
{
    const RangeCase cases[] = {
        {0, 0, 0, true, true, true},     {4, 1, 5, true, true, true},    {-1, 1, 0, false, true, true},
        {5, 1, 0, false, true, true},    {0, -1, 0, true, false, true},  {0, 2, 0, true, false, true},
        {0, 1, -1, true, true, false},   {-1, -1, -1, false, false, false},
    };
    for (const RangeCase& c : cases) {
        page.SetSel(P::kParity, c.parity);
        page.SetSel(P::kSmsMode, c.smsMode);
        page.SetSel(P::kGsmBand, c.band);
        rtu::CProfileWriter file;
        page.WriteProfileSection(file);
        const std::string& out = file.Written();
        const std::string tag = std::to_string(c.parity) + "/" + std::to_string(c.smsMode) + "/" + std::to_string(c.band);
        EXPECT_EQ(out.find("%MODEMSMSMD") != std::string::npos, c.smsmd) << tag;
        EXPECT_EQ(out.find("%CBAND") != std::string::npos, c.cband) << tag;
        EXPECT_EQ(out.find("%UP") != std::string::npos, c.up) << tag;
        const auto lines = std::count(out.begin(), out.end(), '%');
        EXPECT_EQ(lines, 19 + c.up + c.smsmd + c.cband) << tag;
    }
    EXPECT_TRUE(h.writes.empty());  // profiles never touch the port
}

TEST_F(MainParamsTest, ProfileSectionHoldsTheHeaderAndTheParameterLines)
{
    Fill();
    rtu::CProfileWriter file;
    page.WriteProfileSection(file);
    std::string expected = "\r\n//Page System Main Params\r\n\r\n";
    for (const std::string& line : kFilledLines) expected += line + "\n";
    EXPECT_EQ(file.Written(), expected);
    EXPECT_TRUE(h.writes.empty());
}

TEST_F(MainParamsTest, ClearEmptiesValuesAndAssumesTextMode)
{
    Fill();
    page.ReloadGroup();
    EXPECT_EQ(h.Wire(), "%DUMP_SYS\r%DUMP_ROMSMS\r");
    for (int id : {P::kBaud, P::kIdentity, P::kCountryCode, P::kDescription, P::kServicePhone, P::kPin, P::kPuk,
                   P::kSmsCentre, P::kSignalLow, P::kForwardKey, P::kForwardSpan, P::kBalanceNumber, P::kBalanceCode})
        EXPECT_EQ(page.Text(id), "") << id;
    for (int id : {P::kDas, P::kTscs, P::kTssp, P::kSignalAlarm, P::kReplySuccess, P::kReplyError, P::kForwardSms})
        EXPECT_EQ(page.Check(id), 0) << id;
    EXPECT_EQ(page.Sel(P::kParity), -1);
    EXPECT_EQ(page.Sel(P::kGsmBand), -1);
    EXPECT_EQ(page.Sel(P::kSmsMode), P::kSmsModeCleared);

    // A save right after such a reload: text mode, no parity, no band, empty texts sent empty.
    rtu::CProfileWriter file;
    page.SaveParams(true, &file);
    EXPECT_EQ(file.Written(),
              "%MODEMSMSMD1\r\n%CC\r\n%ID\r\n%DAS0\r\n%UB\r\n%DESC\r\n%PRTCS0\r\n%PRTSP0\r\n%SP\r\n%PIN\r\n"
              "%SIGNALA0\r\n%RPLERR0\r\n%RPLSUC0\r\n%RSILOW\r\n%SMSC\r\n%PUK\r\n%FWDSMS0\r\n%FWDKEY\r\n"
              "%modemfwdspan0\r\n%CHECKBALANCE,\r\n");
}

TEST_F(MainParamsTest, ConstructedPageHasNothingSelected)
{
    EXPECT_EQ(page.Sel(P::kParity), -1);
    EXPECT_EQ(page.Sel(P::kGsmBand), -1);
    EXPECT_EQ(page.Sel(P::kSmsMode), -1);
}

TEST_F(MainParamsTest, SpanIsSentAsItsLeadingNumber)
{
    const std::pair<const char*, const char*> cases[] = {
        {"12x", "%modemfwdspan12\r"}, {"", "%modemfwdspan0\r"}, {"abc", "%modemfwdspan0\r"}, {" 7", "%modemfwdspan7\r"}};
    for (const auto& [span, line] : cases) {
        page.SetText(P::kForwardSpan, span);
        rtu::CProfileWriter file;
        page.SaveParams(true, &file);
        EXPECT_NE(file.Written().find(std::string(line) + "\n"), std::string::npos) << span;
    }
}

TEST_F(MainParamsTest, TypedTextsGoOutAsOneLineEach)
{
    page.SetText(P::kServicePhone, "123\r%DEFAULTS");
    page.SetText(P::kBalanceNumber, "10086\n");
    page.SetText(P::kDescription, "a\r\nb");  // the description is hex: its line breaks travel
    rtu::CProfileWriter file;
    page.SaveParams(true, &file);
    const std::string& out = file.Written();
    EXPECT_NE(out.find("%SP123\r\n%PIN"), std::string::npos);
    EXPECT_EQ(out.find("DEFAULTS"), std::string::npos);
    EXPECT_NE(out.find("%CHECKBALANCE10086,\r\n"), std::string::npos);
    EXPECT_NE(out.find("%DESC0061000D000A0062\r\n"), std::string::npos);
    EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 19);
}

// Every caption the page looks up is in the shipped English catalog.
TEST_F(MainParamsTest, ShippedCatalogHasEveryCaption)
{
    rtu::CTextCatalog cat;
    std::ostringstream merged;
    for (const char* part : {"/gsm.d/00-shell.ini", "/gsm.d/10-forms.ini"})
        merged << std::ifstream(std::string(RTU_SOURCE_DATA_DIR) + part).rdbuf();
    const auto path = std::filesystem::temp_directory_path() / "rtu_main_params_catalog.ini";
    std::ofstream(path) << merged.str();
    ASSERT_TRUE(cat.Load(path.string()));
    std::filesystem::remove(path);
    h.context.catalog = &cat;
    for (const rtu::FieldDecl& f : page.Fields()) {
        if (!f.caption.key.empty()) {
            EXPECT_NE(page.Resolve(f.caption), "") << f.id;
        }
        for (const rtu::TextRef& item : f.items) EXPECT_NE(page.Resolve(item), "") << f.id;
    }
}

}  // namespace
