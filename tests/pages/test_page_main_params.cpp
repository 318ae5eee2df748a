#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "PageHarness.h"
#include "link/ProfileWriter.h"
#include "pages/basic/PageMainParams.h"

namespace {

using P = rtu::CPageMainParams;

// What the unit reports for its group, and what a save of that page sends back.
const char* const kDump[] = {"$PINC 1234",     "$BPS 9600",      "$PARITY 2",     "$GSMBAND 5", "$DESC 00410042",
                             "$DAS 1",         "$DID RTU7",      "$CC 86",        "$CSQLOW 12", "$PRTCS 1",
                             "$PRTSP 0",       "$SPN +4912345",  "$SIGNALA 1",    "$RPLSUC 0",  "$RPLERR 1",
                             "$SMSC +8613800", "$PUKC 87654321", "$MODEMSMODE 0", "$FWDSMS 1",  "$MODEM_FWDSPAN 12x",
                             "$FWDKEY 0041",   "$CKBSP 10086",   "$CKBCD YE",     "CMD OK",     "*AINC 1",
                             "$CSQ 20"};
const std::vector<std::string> kLines = {"%UP2\r",
                                         "%MODEMSMSMD0\r",
                                         "%CC86\r",
                                         "%IDRTU7\r",
                                         "%DAS1\r",
                                         "%UB9600\r",
                                         "%DESC00410042\r",
                                         "%PRTCS1\r",
                                         "%PRTSP0\r",
                                         "%SP+4912345\r",
                                         "%PIN1234\r",
                                         "%SIGNALA1\r",
                                         "%RPLERR1\r",
                                         "%RPLSUC0\r",
                                         "%RSILOW12\r",
                                         "%SMSC+8613800\r",
                                         "%PUK87654321\r",
                                         "%CBAND5\r",
                                         "%FWDSMS1\r",
                                         "%FWDKEY0041\r",
                                         "%modemfwdspan12\r",
                                         "%CHECKBALANCE10086,YE\r"};

class MainParamsTest : public ::testing::Test {
protected:
    void Fill()
    {
        for (const char* line : kDump) h.Route(line);
    }
    std::string Profile(bool withHeader = false)
    {
        rtu::CProfileWriter file;
        if (withHeader) page.WriteProfileSection(file);
        else page.SaveParams(true, &file);
        return file.Written();
    }

    rtu::test::PageHarness h;
    rtu::CPageBase& page = h.Make(rtu::PageId::MainParams);
};

TEST_F(MainParamsTest, ReportsComeBackAsTheSavedLinesWithAcknowledgements)
{
    Fill();
    page.OnSaveClicked();
    ASSERT_EQ(h.posted, std::vector<int>{rtu::cmd::kPageBusy}) << (h.messages.empty() ? "" : h.messages.back());
    ASSERT_EQ(h.writes, std::vector<std::string>{"%STARTCMD\r"});  // one line in flight
    EXPECT_EQ(*h.sequencer.NextDeadline(), h.now + rtu::CPageBase::kDefaultWaitMs);
    h.AckAll();
    std::vector<std::string> expected{"%STARTCMD\r"};
    expected.insert(expected.end(), kLines.begin(), kLines.end());
    expected.insert(expected.end(), {"%COMMITCMD\r", "%DUMP_SYS\r%DUMP_ROMSMS\r"});
    EXPECT_EQ(h.writes, expected);
}

TEST_F(MainParamsTest, UnansweredLinesEachWaitTheirBoundAndTheBatchGoesOn)
{
    page.OnSaveClicked();
    h.TimeoutAll();
    EXPECT_EQ(h.writes.size(), 19u + 2u + 1u);  // no selections: 19 lines, framing, reload
    EXPECT_EQ(h.now,
              21 * rtu::CPageBase::kDefaultWaitMs + 21 * rtu::CSequencer::kSettleMinMs);  // each wait, then settling
}

struct EdgeCase {
    const char* line;
    int id;
    int before, after;  // check box or selection; -2: compare the text
    const char* text;
};

TEST_F(MainParamsTest, ReportEdges)
{
    const EdgeCase cases[] = {
        {"$PARITY 7", P::kParity, 3, -1, ""},  // no such item: nothing selected
        {"$PARITY x", P::kParity, 3, 0, ""},
        {"$GSMBAND 6", P::kGsmBand, 3, -1, ""},
        {"$MODEMSMODE 1", P::kSmsMode, 0, 1, ""},
        {"$FWDSMS 2", P::kForwardSms, 1, 0, ""},
        {"$DAS 0", P::kDas, 1, 0, ""},
        {"$PRTCS 0", P::kTscs, 1, 0, ""},
        {"$PRTSP 1", P::kTssp, 0, 1, ""},
        {"$SIGNALA 0", P::kSignalAlarm, 1, 0, ""},
        {"$RPLSUC 1", P::kReplySuccess, 0, 1, ""},
        {"$RPLERR 0", P::kReplyError, 1, 0, ""},
        {"$SMSC +86 ", P::kSmsCentre, -2, -2, "+86 "},      // kept to the line's end
        {"$BPS", P::kBaud, -2, -2, ""},                     // shorter than its offset
        {"$BPS 9600 $PINC", P::kPin, -2, -2, "600 $PINC"},  // "$PINC" is tested first
        {"$BPS 9600 $PINC", P::kBaud, -2, -2, "old"},
        {"$DID 5 $DAS 1", P::kIdentity, -2, -2, "old"},  // "$DAS 1" is tested before "$DID"
        {"*$*$*$*$*$*$*$*$*$*$*$*$*$*$*$*$*$*$ $PRTSP 1", P::kTssp, 0, 1, ""},  // more marks than are indexed
        {"x$PRTSx $PRTSP 1", P::kTssp, 0, 1, ""},                               // a head that is not the key
    };
    for (const EdgeCase& c : cases) {
        page.SetText(c.id, "old");
        page.SetCheck(c.id, c.before);
        page.SetSel(c.id, c.before);
        h.Route(c.line);
        const bool isCheck = page.FindField(c.id)->kind == rtu::FieldKind::Check;
        if (c.after == -2) {
            EXPECT_EQ(page.Text(c.id), c.text) << c.line;
        } else {
            EXPECT_EQ(isCheck ? page.Check(c.id) : page.Sel(c.id), c.after) << c.line;
        }
    }
}

struct RangeCase {
    int parity, smsMode, band;
    bool up, smsmd, cband;
};

TEST_F(MainParamsTest, ParametersOutOfRangeAreSkippedNotDefaulted)
{
    for (int id : {P::kParity, P::kGsmBand, P::kSmsMode}) EXPECT_EQ(page.Sel(id), -1) << "constructed " << id;
    const RangeCase cases[] = {
        {0, 0, 0, true, true, true},   {4, 1, 5, true, true, true},       {-1, 1, 0, false, true, true},
        {5, 1, 0, false, true, true},  {0, -1, 0, true, false, true},     {0, 2, 0, true, false, true},
        {0, 1, -1, true, true, false}, {-1, -1, -1, false, false, false},
    };
    for (const RangeCase& c : cases) {
        page.SetSel(P::kParity, c.parity);
        page.SetSel(P::kSmsMode, c.smsMode);
        page.SetSel(P::kGsmBand, c.band);
        const std::string out = Profile(true);
        const std::string tag =
            std::to_string(c.parity) + "/" + std::to_string(c.smsMode) + "/" + std::to_string(c.band);
        EXPECT_EQ(out.find("%UP") != std::string::npos, c.up) << tag;
        EXPECT_EQ(out.find("%MODEMSMSMD") != std::string::npos, c.smsmd) << tag;
        EXPECT_EQ(out.find("%CBAND") != std::string::npos, c.cband) << tag;
        EXPECT_EQ(std::count(out.begin(), out.end(), '%'), 19 + c.up + c.smsmd + c.cband) << tag;
    }
    EXPECT_TRUE(h.writes.empty());  // profiles never touch the port
}

TEST_F(MainParamsTest, ProfileSectionHoldsTheHeaderAndTheParameterLines)
{
    Fill();
    std::string expected = "\r\n//Page System Main Params\r\n\r\n";
    for (const std::string& line : kLines) expected += line + "\n";
    EXPECT_EQ(Profile(true), expected);
}

TEST_F(MainParamsTest, ReloadClearsAndAssumesTextMode)
{
    Fill();
    page.ReloadGroup();
    EXPECT_EQ(h.Wire(), "%DUMP_SYS\r%DUMP_ROMSMS\r");
    EXPECT_EQ(page.Sel(P::kSmsMode), P::kSmsModeCleared);
    EXPECT_EQ(Profile(), "%MODEMSMSMD1\r\n%CC\r\n%ID\r\n%DAS0\r\n%UB\r\n%DESC\r\n%PRTCS0\r\n%PRTSP0\r\n%SP\r\n%PIN\r\n"
                         "%SIGNALA0\r\n%RPLERR0\r\n%RPLSUC0\r\n%RSILOW\r\n%SMSC\r\n%PUK\r\n%FWDSMS0\r\n%FWDKEY\r\n"
                         "%modemfwdspan0\r\n%CHECKBALANCE,\r\n");
}

TEST_F(MainParamsTest, TypedTextsGoOutAsOneLineEach)
{
    page.SetText(P::kServicePhone, "123\r%DEFAULTS");
    page.SetText(P::kBalanceNumber, "10086\n");
    page.SetText(P::kDescription, "a\r\nb");  // the description is hex: its line breaks travel
    page.SetText(P::kForwardSpan, " 7days");
    const std::string out = Profile();
    EXPECT_NE(out.find("%SP123\r\n%PIN"), std::string::npos);
    EXPECT_EQ(out.find("DEFAULTS"), std::string::npos);
    EXPECT_NE(out.find("%CHECKBALANCE10086,\r\n"), std::string::npos);
    EXPECT_NE(out.find("%DESC0061000D000A0062\r\n"), std::string::npos);
    EXPECT_NE(out.find("%modemfwdspan7\r\n"), std::string::npos);
    EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 19);
}

// Long non-ASCII texts the unit reports are saved back whole, not shortened.
TEST_F(MainParamsTest, LongReportedTextsSaveBackWhole)
{
    std::string cyrillic, cjk;
    for (int i = 0; i < 100; ++i) cyrillic += "041F";  // 100 letters, 200 bytes as UTF-8
    for (int i = 0; i < 150; ++i) cjk += "4E2D";       // 150 characters, 450 bytes as UTF-8
    const struct {
        const char* report;
        const char* command;
        const std::string& hex;
    } cases[] = {
        {"$DESC ", "%DESC", cyrillic},
        {"$DESC ", "%DESC", cjk},
        {"$FWDKEY ", "%FWDKEY", cyrillic},
    };
    for (const auto& c : cases) {
        h.Route(c.report + c.hex);
        const std::string line = std::string(c.command) + c.hex + "\r\n";
        EXPECT_NE(Profile().find(line), std::string::npos) << c.report << c.hex.size();
    }
}

}  // namespace
