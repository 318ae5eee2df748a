// The MMS and camera page: its reports, its save batch, the picture buttons.
#include <gtest/gtest.h>

#include "PageHarness.h"
#include "link/LinkTypes.h"
#include "pages/mms/PageMmsSetup.h"

using namespace rtu;
using P = CPageMmsSetup;

namespace {

const char* const kDump[] = {
    "$MMS_SCUhttp://mmsc.example:8002/mms",
    "$MMS_SCP8002",
    "$MMS_GAT10.0.0.172",
    "$MMS_APNmms.example",
    "$MMS_UIDcam",
    "$MMS_PWDsecret",
    "$MMS_PXYproxy1",
    "$MMS_NAPnap1",
    "$MMS_PSZ2",
    "$MMS_PBR5",
    "$MMS_PWB3",
    "$MMS_PMD1",
    "$MMS_PCT2",
    "$MMS_PTR30",
    "$MMSACC 1",
    "$MMSTCC 0",
    "$MMSSMSCC 1",
    "$MMSALARM 1",
    "$MMSSMSHC 0",
    "$MMSSMSRP 1",
};

struct MmsTest : ::testing::Test {
    test::PageHarness h;
    P& page = h.Make<P>(PageId::MmsSetup);
    void Load()
    {
        for (const char* line : kDump) h.Route(line);
    }
};

TEST_F(MmsTest, ReportsComeBackAsTheSavedLines)
{
    Load();
    page.OnCommand(P::kSave);
    h.AckAll();
    EXPECT_EQ(h.Wire(), "%STARTCMD\r"
                        "%MMSChttp://mmsc.example:8002/mms,8002\r"
                        "%MMSGATE10.0.0.172\r"
                        "%MMSUIDcam\r"
                        "%MMSPWDsecret\r"
                        "%MMSPXYproxy1\r"
                        "%MMSAPNmms.example\r"
                        "%MMSNAPnap1\r"
                        "%DSCFMT2,5,3\r"
                        "%DSCMODE1\r"
                        "%MMSPC2\r"
                        "%MMST30\r"
                        "%MMSACC1\r"
                        "%MMSTCC0\r"
                        "%MMSSMSCC1\r"
                        "%MMSALARM1\r"
                        "%MMSSMSHC0\r"
                        "%MMSSMSNT1\r"
                        "%COMMITCMD\r"
                        "%DUMP_MMS\r");
    EXPECT_EQ(h.posted, std::vector<int>{cmd::kPageBusy});
}

TEST_F(MmsTest, ReportEdges)
{
    struct Case {
        const char* name;
        const char* line;
        int id;
        std::string text;  // texts
        int value;         // check or selection
    };
    const Case cases[] = {
        {"one digit of the brightness", "$MMS_PBR57", P::kBrightness, "5", 0},
        {"every digit of the interval", "$MMS_PTR120", P::kTimer, "120", 0},
        {"list index beyond the items", "$MMS_PSZ7", P::kSize, "", 2},
        {"not a digit", "$MMS_PWBx", P::kBalance, "", 3},
        {"a flag without its character", "$MMSACC", P::kAlarmToFamily, "", 1},
        {"'0' at 6 unchecks whatever else the line says", "$MMSSMSCC 0 ALARM", P::kSmsToFamily, "", 0},
        {"same line sets the alarm box", "$MMSSMSCC 0 ALARM", P::kAlarmByMms, "", 0},
        {"text right after the code", "$MMS_UID", P::kUser, "", 0},
    };
    for (const Case& c : cases) {
        test::PageHarness fresh;
        P& p = fresh.Make<P>(PageId::MmsSetup);
        for (const char* line : kDump) fresh.Route(line);
        fresh.Route(c.line);
        const FieldValue& v = p.ValueOf(c.id);
        const FieldDecl* f = p.FindField(c.id);
        if (f->kind == FieldKind::Check) EXPECT_EQ(v.check, c.value) << c.name;
        else if (f->kind == FieldKind::Combo) EXPECT_EQ(v.sel, c.value) << c.name;
        else EXPECT_EQ(v.text, c.text) << c.name;
    }
}

TEST_F(MmsTest, ClearKeepsThePictureAndReloadAsksForTheGroup)
{
    Load();
    page.ShowPicture("/tmp/1.jpg");
    page.OnCommand(ctl::kReload);
    EXPECT_EQ(h.Wire(), "%DUMP_MMS\r");
    EXPECT_EQ(page.TextOf(P::kCentre), "");
    EXPECT_EQ(page.ValueOf(P::kSize).sel, -1);
    EXPECT_EQ(page.CheckOf(P::kSmsNotice), 0);
    EXPECT_EQ(page.PicturePath(), "/tmp/1.jpg");
}

TEST_F(MmsTest, SaveHoldsBackTheCameraLineWithoutSelections)
{
    page.OnCommand(P::kSave);
    h.AckAll();
    EXPECT_EQ(h.Wire().find("%DSCFMT"), std::string::npos);
    EXPECT_EQ(h.Wire().find("%DSCMODE"), std::string::npos);
    EXPECT_NE(h.Wire().find("%MMSC,\r"), std::string::npos);
}

TEST_F(MmsTest, PictureButtonsPostToTheMainWindowAndWriteNothingThemselves)
{
    EXPECT_TRUE(page.OnCommand(P::kView));
    EXPECT_TRUE(page.OnCommand(P::kStop));
    EXPECT_EQ(h.posted, (std::vector<int>{cmd::kFetchPicture, cmd::kStopPicture}));
    EXPECT_TRUE(h.writes.empty());
}

TEST_F(MmsTest, NoProfileSection)
{
    Load();
    CProfileWriter file;
    page.WriteProfileSection(file);
    EXPECT_TRUE(file.Written().empty());
}

}  // namespace
