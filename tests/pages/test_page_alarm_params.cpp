#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "PageHarness.h"
#include "link/ProfileWriter.h"
#include "pages/basic/PageAlarmParams.h"

namespace {

using P = rtu::CPageAlarmParams;

// What the unit reports, and what a save of that page sends back (the two mute boxes are
// never written; the hidden 1308 and 1316 are).
const char* const kDump[] = {"$SNDALARMDLY 1", "$OUTDLY 45", "$INDLY 30",    "$IOAT 3",     "$AR 1",
                             "$ATA 0",         "$AWB 1",     "$UARTEVENT 0", "$DRPTMP 1",   "$DRPTID 0",
                             "$DRPDEF 1",      "$DRPMEM 1",  "$DRPDIN 1",    "$DRPETP 0",   "$AINDRP0 1",
                             "$AINDRP2 1",     "$DRPCNT 1",  "$MODEM_SPK 1", "$MODEM_MIC 1"};
const std::vector<std::string> kLines = {
    "%SNDALARMDLYEN1\r", "%OUTDLY45\r",   "%INDLY30\r", "%IOAT3\r",    "%ARING1\r",     "%ASC0\r",
    "%AWB1\r",           "%UARTEVENT0\r", "%DRPTMP1\r", "%DRPTID0\r",  "%DRPDEF1\r",    "%DRPRSI0\r",
    "%DRPDIN1\r",        "%DRPMEM1\r",    "%DRPBAT0\r", "%DRPETMP0\r", "%AINDRP1010\r", "%DINCDRP1\r"};

class AlarmParamsTest : public ::testing::Test {
protected:
    void Fill()
    {
        for (const char* line : kDump) h.Route(line);
    }

    rtu::test::PageHarness h;
    rtu::CPageBase& page = h.Make(rtu::PageId::AlarmParams);
};

TEST_F(AlarmParamsTest, ReportsComeBackAsTheSavedLinesWithAcknowledgements)
{
    Fill();
    page.OnSaveClicked();
    ASSERT_EQ(h.writes, std::vector<std::string>{"%STARTCMD\r"});
    EXPECT_EQ(*h.sequencer.NextDeadline(), h.now + P::kWaitMs);
    h.AckAll();
    std::vector<std::string> expected{"%STARTCMD\r"};
    expected.insert(expected.end(), kLines.begin(), kLines.end());
    expected.insert(expected.end(), {"%COMMITCMD\r", "%DUMP_SYS\r%DUMP_ADS\r%DUMP_GPIO\r"});
    EXPECT_EQ(h.writes, expected);
    EXPECT_EQ(page.Check(P::kMicMute), 0);  // the reload cleared the page first
}

struct EdgeCase {
    const char* line;
    int id;
    int before, after;
};

TEST_F(AlarmParamsTest, ReportEdges)
{
    const int ad = P::kDropAnalog0;
    const EdgeCase cases[] = {
        {"$AR 0", P::kAlarmRing, 1, 0},
        {"$ATA 1", P::kAnswer, 0, 1},
        {"$AWB 0", P::kAlarmMemo, 1, 0},
        {"$UARTEVENT 1", P::kUartEvent, 0, 1},
        {"$MODEM_SPK 2", P::kSpeakerMute, 1, 0},
        {"$MODEM_MIC", P::kMicMute, 1, 0},
        {"$SNDALARMDLY 0", P::kSoundDelay, 1, 0},
        {"$AINDRP3 0", ad + 3, 1, 0},
        {"$AINDRP4 1", ad + 3, 0, 0},
        {"$AINDRP", ad, 1, 1},  // no channel 4; too short
        {"$DRPRSI 1", P::kDropRssi, 0, 1},
        {"$DRPBAT x", P::kDropPower, 1, 0},
        {"$DRPETP 1", P::kDropExtTemp, 0, 1},
        {"$DRPETP 1", P::kDropTemp, 0, 0},  // "ETP" is not "TMP"
        {"$DRPCNT 0", P::kDropCounter, 1, 0},
        {"$DRPTID 1 BAT", P::kDropPower, 0, 1},  // every name in the line counts
        {"$AINDRP1 1 DIN", P::kDropDin, 0, 0},   // analog reports never reach the "$DRP" handler
    };
    for (const EdgeCase& c : cases) {
        page.SetCheck(c.id, c.before);
        h.Route(c.line);
        EXPECT_EQ(page.Check(c.id), c.after) << c.line << " on " << c.id;
    }
    h.Route("$IAT 5");
    EXPECT_EQ(page.Text(P::kRepeats), "5");
}

TEST_F(AlarmParamsTest, ProfileSectionHoldsEighteenLinesAfterItsHeader)
{
    Fill();
    rtu::CProfileWriter file;
    page.WriteProfileSection(file);
    std::string expected = "\r\n//Page System Alarm Params\r\n\r\n";
    for (const std::string& line : kLines) expected += line + "\n";
    EXPECT_EQ(file.Written(), expected);
    EXPECT_TRUE(h.writes.empty());
}

TEST_F(AlarmParamsTest, ReloadClearsEveryValue)
{
    Fill();
    page.SetText(P::kEntryDelay, "30\r%DEFAULTS\r");  // typed values go out one line each
    rtu::CProfileWriter file;
    page.SaveParams(true, &file);
    EXPECT_NE(file.Written().find("%INDLY30\r\n%IOAT3\r\n"), std::string::npos);
    EXPECT_EQ(file.Written().find("DEFAULTS"), std::string::npos);

    page.ReloadGroup();
    EXPECT_EQ(h.Wire(), "%DUMP_SYS\r%DUMP_ADS\r%DUMP_GPIO\r");
    for (int id : {P::kRepeats, P::kEntryDelay, P::kExitDelay}) EXPECT_EQ(page.Text(id), "") << id;
    for (const rtu::FieldDecl& f : page.Fields()) {
        if (f.kind == rtu::FieldKind::Check) {
            EXPECT_EQ(page.Check(f.id), 0) << f.id;
        }
    }
}

}  // namespace
