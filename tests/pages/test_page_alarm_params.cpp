#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "PageHarness.h"
#include "link/ProfileWriter.h"
#include "pages/basic/PageAlarmParams.h"

namespace {

using rtu::CPageAlarmParams;
using P = CPageAlarmParams;

class AlarmParamsTest : public ::testing::Test {
protected:
    AlarmParamsTest() { h.pages.push_back(&page); }

    void Fill()
    {
        page.SetCheck(P::kSoundDelay, 1);
        page.SetText(P::kExitDelay, "45");
        page.SetText(P::kEntryDelay, "30");
        page.SetText(P::kRepeats, "3");
        page.SetCheck(P::kAlarmRing, 1);
        page.SetCheck(P::kAnswer, 0);
        page.SetCheck(P::kAlarmMemo, 1);
        page.SetCheck(P::kUartEvent, 0);
        page.SetCheck(P::kDropTemp, 1);  // hidden, still written
        page.SetCheck(P::kDropId, 0);
        page.SetCheck(P::kDropArm, 1);
        page.SetCheck(P::kDropRssi, 0);
        page.SetCheck(P::kDropMemo, 1);
        page.SetCheck(P::kDropPower, 0);
        page.SetCheck(P::kDropDin, 1);
        page.SetCheck(P::kDropExtTemp, 0);
        page.SetCheck(P::kDropAnalog0 + 0, 1);
        page.SetCheck(P::kDropAnalog0 + 2, 1);
        page.SetCheck(P::kDropCounter, 1);  // hidden, still written
        page.SetCheck(P::kSpeakerMute, 1);  // hidden, never written
        page.SetCheck(P::kMicMute, 1);
    }

    rtu::test::PageHarness h;
    CPageAlarmParams page{h.context};
};

const std::vector<std::string> kFilledLines = {
    "%SNDALARMDLYEN1\r", "%OUTDLY45\r", "%INDLY30\r", "%IOAT3\r",    "%ARING1\r",   "%ASC0\r",
    "%AWB1\r",           "%UARTEVENT0\r", "%DRPTMP1\r", "%DRPTID0\r", "%DRPDEF1\r", "%DRPRSI0\r",
    "%DRPDIN1\r",        "%DRPMEM1\r",  "%DRPBAT0\r", "%DRPETMP0\r", "%AINDRP1010\r", "%DINCDRP1\r",
};

struct TextReport {
    const char* line;
    int id;
    const char* text;
};

TEST_F(AlarmParamsTest, ValueReportsSetTheirEdits)
{
    const TextReport cases[] = {
        {"$IAT 3", P::kRepeats, "3"},
        {"$IOAT 4", P::kRepeats, "4"},
        {"$INDLY 30", P::kEntryDelay, "30"},
        {"$OUTDLY 45", P::kExitDelay, "45"},
    };
    for (const TextReport& c : cases) {
        h.Route(c.line);
        EXPECT_EQ(page.Text(c.id), c.text) << c.line;
    }
}

struct CheckReport {
    const char* line;
    int id;
    int before;
    int after;
};

TEST_F(AlarmParamsTest, CheckReportsSetTheirBoxes)
{
    const int ad = P::kDropAnalog0;
    const CheckReport cases[] = {
        {"$AR 1", P::kAlarmRing, 0, 1},          {"$AR 0", P::kAlarmRing, 1, 0},
        {"$ATA 1", P::kAnswer, 0, 1},            {"$ATA 0", P::kAnswer, 1, 0},
        {"$AWB 1", P::kAlarmMemo, 0, 1},         {"$AWB 0", P::kAlarmMemo, 1, 0},
        {"$UARTEVENT 1", P::kUartEvent, 0, 1},   {"$UARTEVENT 0", P::kUartEvent, 1, 0},
        {"$MODEM_SPK 1", P::kSpeakerMute, 0, 1}, {"$MODEM_SPK 2", P::kSpeakerMute, 1, 0},
        {"$MODEM_MIC 1", P::kMicMute, 0, 1},     {"$MODEM_MIC", P::kMicMute, 1, 0},
        {"$SNDALARMDLY 1", P::kSoundDelay, 0, 1}, {"$SNDALARMDLY 0", P::kSoundDelay, 1, 0},
        {"$AINDRP0 1", ad + 0, 0, 1},            {"$AINDRP3 1", ad + 3, 0, 1},
        {"$AINDRP2 0", ad + 2, 1, 0},            {"$AINDRP4 1", ad + 3, 0, 0},  // no channel 4
        {"$AINDRP", ad + 0, 1, 1},               // too short: nothing changes
        {"$DRPTMP 1", P::kDropTemp, 0, 1},       {"$DRPTID 1", P::kDropId, 0, 1},
        {"$DRPDEF 1", P::kDropArm, 0, 1},        {"$DRPRSI 1", P::kDropRssi, 0, 1},
        {"$DRPMEM 1", P::kDropMemo, 0, 1},       {"$DRPBAT 1", P::kDropPower, 0, 1},
        {"$DRPDIN 1", P::kDropDin, 0, 1},        {"$DRPETP 1", P::kDropExtTemp, 0, 1},
        {"$DRPCNT 0", P::kDropCounter, 1, 0},    {"$DRPETP 1", P::kDropTemp, 0, 0},  // "ETP" is not "TMP"
        {"$DRPBAT x", P::kDropPower, 1, 0},
    };
    for (const CheckReport& c : cases) {
        page.SetCheck(c.id, c.before);
        h.Route(c.line);
        EXPECT_EQ(page.Check(c.id), c.after) << c.line << " on " << c.id;
    }
}

TEST_F(AlarmParamsTest, DropReportSetsEveryKindItNames)
{
    h.Route("$DRPTID 1 BAT DIN");
    EXPECT_EQ(page.Check(P::kDropId), 1);
    EXPECT_EQ(page.Check(P::kDropPower), 1);
    EXPECT_EQ(page.Check(P::kDropDin), 1);
    EXPECT_EQ(page.Check(P::kDropMemo), 0);
    // An analog report never reaches the "$DRP" handler, though it contains "DRP".
    page.SetCheck(P::kDropDin, 0);
    h.Route("$AINDRP1 1 DIN");
    EXPECT_EQ(page.Check(P::kDropAnalog0 + 1), 1);
    EXPECT_EQ(page.Check(P::kDropDin), 0);
}

TEST_F(AlarmParamsTest, SaveSendsEveryLineFramedAndWaitsForEachAcknowledgement)
{
    Fill();
    page.OnSaveClicked();
    ASSERT_EQ(h.posted, std::vector<int>{rtu::cmd::kPageBusy});
    ASSERT_EQ(h.writes.size(), 1u);
    EXPECT_EQ(*h.sequencer.NextDeadline(), h.now + P::kWaitSteps);
    h.AckAll();

    std::vector<std::string> expected{"%STARTCMD\r"};
    expected.insert(expected.end(), kFilledLines.begin(), kFilledLines.end());
    expected.push_back("%COMMITCMD\r");
    expected.push_back("%DUMP_SYS\r%DUMP_ADS\r%DUMP_GPIO\r");
    EXPECT_EQ(h.writes, expected);
}

TEST_F(AlarmParamsTest, UnansweredLinesEachWaitTheirBound)
{
    page.OnSaveClicked();
    h.TimeoutAll();
    EXPECT_EQ(h.writes.size(), kFilledLines.size() + 3);
    EXPECT_EQ(h.now, static_cast<rtu::Millis>(kFilledLines.size() + 2) * P::kWaitSteps);
}

TEST_F(AlarmParamsTest, ProfileSectionHoldsEighteenLinesAfterItsHeader)
{
    Fill();
    rtu::CProfileWriter file;
    page.WriteProfileSection(file);
    std::string expected = "\r\n//Page System Alarm Params\r\n\r\n";
    for (const std::string& line : kFilledLines) expected += line + "\n";
    EXPECT_EQ(file.Written(), expected);
    EXPECT_EQ(kFilledLines.size(), 18u);
    EXPECT_TRUE(h.writes.empty());
}

TEST_F(AlarmParamsTest, ReloadClearsEveryValueThenAsksForThreeGroups)
{
    Fill();
    page.ReloadGroup();
    EXPECT_EQ(h.Wire(), "%DUMP_SYS\r%DUMP_ADS\r%DUMP_GPIO\r");
    for (int id : {P::kRepeats, P::kEntryDelay, P::kExitDelay}) EXPECT_EQ(page.Text(id), "") << id;
    for (const rtu::FieldDecl& f : page.Fields())
        if (f.kind == rtu::FieldKind::Check) {
            EXPECT_EQ(page.Check(f.id), 0) << f.id;
        }
}

TEST_F(AlarmParamsTest, TypedDelaysGoOutAsOneLineEach)
{
    page.SetText(P::kEntryDelay, "30\r%DEFAULTS\r");
    page.SetText(P::kExitDelay, "\n45");
    rtu::CProfileWriter file;
    page.SaveParams(true, &file);
    EXPECT_NE(file.Written().find("%OUTDLY\r\n%INDLY30\r\n%IOAT\r\n"), std::string::npos);
    EXPECT_EQ(file.Written().find("DEFAULTS"), std::string::npos);
}

TEST_F(AlarmParamsTest, ShippedCatalogHasEveryCaption)
{
    rtu::CTextCatalog cat;
    std::ostringstream merged;
    for (const char* part : {"/gsm.d/00-shell.ini", "/gsm.d/10-forms.ini"})
        merged << std::ifstream(std::string(RTU_SOURCE_DATA_DIR) + part).rdbuf();
    const auto path = std::filesystem::temp_directory_path() / "rtu_alarm_params_catalog.ini";
    std::ofstream(path) << merged.str();
    ASSERT_TRUE(cat.Load(path.string()));
    std::filesystem::remove(path);
    h.context.catalog = &cat;
    for (const rtu::FieldDecl& f : page.Fields())
        if (!f.caption.key.empty() || !f.caption.text.empty()) {
            EXPECT_NE(page.Resolve(f.caption), "") << f.id;
        }
}

}  // namespace
