// The wireless zones: zone reports with the yes / no texts, the zone dialog's preset, checks
// and command lines, and the remote-control switch.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "PageHarness.h"
#include "link/ProfileWriter.h"
#include "pages/automation/PageRfZone.h"
#include "pages/framework/Ucs2Hex.h"

namespace rtu {
namespace {

using Z = CPageRfZone;

struct RfZoneTest : ::testing::Test {
    test::PageHarness h;
    Z& page = h.Make<Z>(PageId::RfZone);
    std::string Cell(int row, int col) { return page.CellText(Z::kListId, row, col); }
};

TEST_F(RfZoneTest, ZoneReports)
{
    struct Case {
        const char* line;
        int row, col;
        std::string cell;
    };
    const Case cases[] = {
        {"$WINEND3,1", 3, Z::kEnabled, "Yes"},   {"$WINEND3 0", 3, Z::kEnabled, "No"},
        {"$WINSND0 1", 0, Z::kSound, "Yes"},     {"$WINURG11,1", 11, Z::kUrgent, "Yes"},
        {"$WINCOD3,255", 3, Z::kCode, "ff"},     {"$WINCOD4 7", 4, Z::kCode, "07"},
        {"$WINLDO3,7", 3, Z::kLink, "NC"},       {"$WINLDO2,3", 2, Z::kLink, "3"},
        {"$WINZS1 120", 1, Z::kInterval, "120"}, {"$WINVPC1 1", 1, Z::kVideoCall, "1"},
        {"$SMS01 0041", 0, Z::kMessage, "A"},    {"$SMS12 00420043", 11, Z::kMessage, "BC"},
    };
    for (const Case& c : cases) {
        h.Route(c.line);
        EXPECT_EQ(Cell(c.row, c.col), c.cell) << c.line;
    }
    // Zones and messages the list has no row for, and values that are no numbers.
    const auto before = page.ValueOf(Z::kListId).cells;
    for (const char* line :
         {"$WINEND12,1", "$WINCOD99999999999,1", "$WINCOD3,x", "$WINZS ,5", "$SMS00 0041", "$SMS13 0041", "$WINLDO2"})
        h.Route(line);
    EXPECT_EQ(page.ValueOf(Z::kListId).cells, before);
    EXPECT_EQ(page.DroppedReports(), 0);
}

TEST_F(RfZoneTest, ReloadEmptiesTheUnitsColumnsOnly)
{
    for (const char* line : {"$WINEND2 1", "$WINCOD2 9", "$SMS03 0041", "$WINLDO2 1", "$WINZS2 5"}) h.Route(line);
    page.ReloadGroup();
    EXPECT_EQ(h.Wire(), "%DUMP_GPIO\r%DUMP_ROMSMS\r");
    for (int col : {Z::kEnabled, Z::kCode, Z::kMessage}) EXPECT_EQ(Cell(2, col), "") << col;
    EXPECT_EQ(Cell(2, Z::kLink), "1");
    EXPECT_EQ(Cell(2, 0), "02");
}

TEST_F(RfZoneTest, ZoneDialogPresetAndLines)
{
    for (const char* line :
         {"$WINEND10 1", "$WINSND10 0", "$WINURG10 1", "$WINLDO10 9", "$WINZS10 15", "$WINVPC10 1", "$SMS11 00410042"})
        h.Route(line);
    RowEdit edit;
    ASSERT_TRUE(page.BeginEditRow(Z::kListId, 10, edit));
    EXPECT_EQ(edit.values[Z::kEditorEnable].check, 1);
    EXPECT_EQ(edit.values[Z::kEditorSound].check, 0);
    EXPECT_EQ(edit.values[Z::kEditorUrgent].check, 1);
    EXPECT_EQ(edit.values[Z::kEditorVideoCall].check, 0);
    EXPECT_EQ(edit.values[Z::kEditorLink].sel, Z::kLinkNone);
    EXPECT_EQ(edit.values[Z::kEditorInterval].text, "15");
    EXPECT_EQ(edit.values[Z::kEditorMessage].text, "AB");
    EXPECT_FALSE(page.BeginEditRow(Z::kListId, Z::kZones, edit));

    edit.values[Z::kEditorMessage].text = "Tür\r\n%RESET";  // hex-encoded: no line break reaches the unit
    page.CommitEditRow(edit);
    EXPECT_EQ(*h.sequencer.NextDeadline(), h.now + Z::kZoneWaitMs);
    h.AckAll();
    const std::vector<std::string> expected = {"%STARTCMD\r",   "%WSONa\r",
                                               "%WSSNDOFFa\r",  "%WINURG10,1\r",
                                               "%WINVPC10,0\r", "%S11" + EncodeUcs2Hex("Tür\r\n%RESET") + "\r",
                                               "%WINZS10,15\r", "%WSLDO10,4\r",
                                               "%COMMITCMD\r",  "%DUMP_GPIO\r%DUMP_ROMSMS\r"};
    EXPECT_EQ(h.writes, expected);
}

TEST_F(RfZoneTest, ZoneDialogChecksItsValues)
{
    RowEdit edit;
    ASSERT_TRUE(page.BeginEditRow(Z::kListId, 0, edit));
    struct Case {
        int id;
        std::string text;
        int sel;
    };
    const Case cases[] = {
        {Z::kEditorInterval, "5m", 0},  // it goes on its line as a whole number
        {Z::kEditorInterval, "a,b", 0},
        {Z::kEditorLink, "", -1},
        {Z::kEditorMessage, std::string(151, 'x'), 0},
    };
    for (const Case& c : cases) {
        RowEdit bad = edit;
        if (c.sel < 0) bad.values[c.id].sel = c.sel;
        else bad.values[c.id].text = c.text;
        const auto problem = page.CheckEditRow(bad);
        ASSERT_TRUE(problem) << c.id << " " << c.text;
        EXPECT_EQ(problem->id, c.id);
        page.CommitEditRow(bad);
        EXPECT_TRUE(h.writes.empty());
    }
    EXPECT_FALSE(page.CheckEditRow(edit));
}

TEST_F(RfZoneTest, RemoteSwitchActsAloneAndThereIsNoProfile)
{
    h.Route("$RPLARM 1");
    EXPECT_EQ(page.CheckOf(Z::kRemoteNotify), 1);
    page.SetCheck(Z::kRemoteNotify, 0);
    EXPECT_TRUE(page.OnCommand(Z::kRemoteNotify));
    EXPECT_EQ(*h.sequencer.NextDeadline(), h.now + Z::kZoneWaitMs);
    h.AckAll();
    EXPECT_EQ(h.writes, std::vector<std::string>{"%RPLARMBTN0\r"});
    CProfileWriter file;
    page.WriteProfileSection(file);
    EXPECT_EQ(file.Written(), "");
}

}  // namespace
}  // namespace rtu
