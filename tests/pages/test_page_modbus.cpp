#include <gtest/gtest.h>

#include <algorithm>

#include <string>
#include <vector>

#include "PageHarness.h"
#include "link/LinkTypes.h"
#include "pages/net/PageMbusParams.h"
#include "pages/net/PageRname.h"
#include "pages/net/RegisterReports.h"

namespace {

using M = rtu::CPageMbusParams;
using R = rtu::CPageRname;

class ModbusTest : public ::testing::Test {
protected:
    rtu::test::PageHarness h;
    M& master = h.Make<M>(rtu::PageId::MbusParams);
    R& slave = h.Make<R>(rtu::PageId::Rname);
};

struct CellEdge {
    const char* line;
    int row, col;
    const char* before;
    const char* after;
};

TEST_F(ModbusTest, MasterReportEdges)
{
    const CellEdge cases[] = {
        {"$MDMAS05 1,40001,1,0", 5, M::kColType, "", "Keep Registers"},
        {"$MDMAS05 1,40001,1,0", 5, M::kColState, "ON", "ON"},  // a holding register keeps its state cell
        {"$MDMAS06 7,1,0,1", 6, M::kColState, "", "ON"},
        {"$MDMAS06 7,1,3,0", 6, M::kColType, "", "Discrete State"},
        {"$MDMAS06 7,1,3,0", 6, M::kColState, "", "OFF"},
        {"$MDMAS06 7,1,9,0", 6, M::kColType, "", "Invalid"},
        {"$MDMAS 1,2,2,0", 0, M::kColSlave, "", "1"},  // a leading blank: row field empty, row 0
        {"$MDMAS 1,2,2,0", 0, M::kColAddress, "", "2"},
        {"$MDMAS07 2,,2", 7, M::kColAddress, "x", ""},
        {"$MDFLG03 1,0,1,0,1", 3, M::kColFlag0 + 4, "", "1"},
        {"$MDMTX03 000003FF", 3, M::kColMatrix, "", "000003FF"},
        {"$MDLKO03 255", 3, M::kColInterlock, "", "255"},
        {"$RNAME0200410042", 2, M::kColName, "x", "x"},  // the index takes every leading digit: no such row
        {"$RNAME02 00410042", 2, M::kColName, "", "AB"},
        {"$REG03 60000", 3, M::kColHigh, "", "60000"},
        {"$REG40 -20", 8, M::kColLow, "", "-20"},
    };
    for (const CellEdge& c : cases) {
        master.SetCell(M::kTable, c.row, c.col, c.before);
        h.Route(c.line);
        EXPECT_EQ(master.CellText(M::kTable, c.row, c.col), c.after) << c.line << " col " << c.col;
    }
    // Rows the table does not have are not made.
    for (const char* line : {"$MDMAS32 1,1,1,1", "$MDMSC40 5", "$RNAME99 0041", "$REG64 1", "$REG 1", "$RNAME"}) {
        h.Route(line);
        EXPECT_EQ(master.ValueOf(M::kTable).cells.size(), 32u) << line;
        EXPECT_EQ(slave.ValueOf(R::kList).cells.size(), 32u) << line;
    }
    EXPECT_EQ(master.DroppedReports(), 0);
}

TEST(RegisterLimit, IndexPicksRegisterAndBound)
{
    struct Case {
        const char* text;
        bool found;
        int reg;
        bool high;
        const char* value;
    };
    const Case cases[] = {
        {"00 300", true, 0, true, "300"}, {"31 1", true, 31, true, "1"}, {"32 -5", true, 0, false, "-5"},
        {"63 7", true, 31, false, "7"},   {"64 1", false, 0, true, ""},  {"99999999999 1", false, 0, true, ""},
        {" 1", false, 0, true, ""},       {"", false, 0, true, ""},
    };
    for (const Case& c : cases) {
        const auto limit = rtu::SplitLimit(c.text);
        ASSERT_EQ(limit.has_value(), c.found) << c.text;
        if (!limit) continue;
        EXPECT_EQ(limit->reg, c.reg) << c.text;
        EXPECT_EQ(limit->high, c.high) << c.text;
        EXPECT_EQ(limit->value, c.value) << c.text;
    }
}

TEST_F(ModbusTest, SlaveTakesNamesAndLimits)
{
    h.Route("$RNAME04 04220435043C043F");
    h.Route("$REG40 300");
    h.Route("$REG04 60000");
    EXPECT_EQ(slave.CellText(R::kList, 4, R::kColName), "Темп");
    EXPECT_EQ(slave.CellText(R::kList, 8, R::kColLow), "300");
    EXPECT_EQ(slave.CellText(R::kList, 4, R::kColHigh), "60000");
}

TEST_F(ModbusTest, MasterSaveSendsSettingsThenAsksForAFullReload)
{
    for (const char* line : {"$MDADDR 1", "$MDRSDT 30", "$MDRAST 5", "$MDRDTO 500", "$MDLPTO 10"}) h.Route(line);
    master.OnSaveClicked();
    h.AckAll();
    const std::vector<std::string> expected = {"%STARTCMD\r", "%MDAS5\r",   "%MDADDR1\r",  "%MDLS30\r",
                                               "%MDRTO500\r", "%MDLTO10\r", "%COMMITCMD\r"};
    EXPECT_EQ(h.writes, expected);
    EXPECT_EQ(h.posted, (std::vector<int>{rtu::cmd::kPageBusy, rtu::cmd::kReload}));

    // A setting as the unit reported it goes back as it is; a line break in one is refused.
    h.writes.clear();
    h.posted.clear();
    h.Route("$MDRDTO 5x0");
    master.OnSaveClicked();
    h.AckAll();
    EXPECT_NE(std::find(h.writes.begin(), h.writes.end(), "%MDRTO5x0\r"), h.writes.end());
    EXPECT_TRUE(h.messages.empty());
    h.writes.clear();
    h.posted.clear();
    master.SetText(M::kReadTimeout, "5\n0");
    master.OnSaveClicked();
    EXPECT_TRUE(h.writes.empty());
    EXPECT_TRUE(h.posted.empty());
    EXPECT_EQ(h.messages.size(), 1u);
}

TEST_F(ModbusTest, ReloadClearsColumnsOneToSevenOnly)
{
    h.Route("$MDMAS01 3,40010,2,0");
    h.Route("$REG01 900");
    h.Route("$REG33 10");
    master.ReloadGroup();
    EXPECT_EQ(h.writes, std::vector<std::string>{"%DUMP_MODBUS\r"});
    EXPECT_EQ(master.CellText(M::kTable, 1, M::kColSlave), "");
    EXPECT_EQ(master.CellText(M::kTable, 1, M::kColLow), "");
    EXPECT_EQ(master.CellText(M::kTable, 1, M::kColHigh), "900");
    EXPECT_EQ(master.CellText(M::kTable, 1, 0), "1");
}

TEST_F(ModbusTest, MasterRowEditorSendsTheRowAndShowsItAtOnce)
{
    for (const char* line :
         {"$MDMAS02 2,30001,2,0", "$MDMSC02 0.1", "$MDMCG02 5", "$MDBAS02 -40", "$MDMSK02 3", "$MDLKO02 x",
          "$MDLAG02 10", "$MDMTX02 00000201", "$MDFLG02 1,0,0,1,0", "$RNAME02 00500031", "$REG02 850", "$REG34 -20"})
        h.Route(line);
    rtu::RowEdit edit;
    ASSERT_FALSE(master.BeginEditRow(M::kTable, 32, edit));
    ASSERT_TRUE(master.BeginEditRow(M::kTable, 2, edit));
    EXPECT_EQ(edit.values[M::kEdType].sel, 2);
    EXPECT_EQ(edit.values[M::kEdInterlock].sel, M::kNoInterlockItem);  // not a number
    EXPECT_EQ(edit.values[M::kEdMatrix0].check, 1);
    EXPECT_EQ(edit.values[M::kEdMatrix0 + 9].check, 1);
    EXPECT_EQ(edit.values[M::kEdMatrix0 + 1].check, 0);
    edit.values[M::kEdMatrix0 + 1].check = 1;
    edit.values[M::kEdName].text = "P1\nX";
    master.CommitEditRow(edit);
    h.AckAll();
    const std::vector<std::string> expected = {
        "%STARTCMD\r",           "%mdmas02=2,30001,2,1,0.1,5,-40,3,255,10,00000203\r",
        "%R02-20,850\r",         "%MDMSF02=1,0,0,1,0\r",
        "%N0200500031\r",        "%COMMITCMD\r",
        "%DUMP_MODBUS_MASTER2\r"};
    EXPECT_EQ(h.writes, expected);
    EXPECT_EQ(master.CellText(M::kTable, 2, M::kColName), "P1");
    EXPECT_EQ(master.CellText(M::kTable, 2, M::kColType), "Input Registers");
}

TEST_F(ModbusTest, SlaveEditorSendsThreeUnframedLinesAndTheDump)
{
    rtu::RowEdit edit;
    ASSERT_TRUE(slave.BeginEditRow(R::kList, 7, edit));
    edit.values[R::kEdName].text = "Ab";
    slave.CommitEditRow(edit);  // unchanged limits still go
    EXPECT_EQ(*h.sequencer.NextDeadline(), h.now + R::kRowWaitMs);
    h.AckAll();
    const std::vector<std::string> expected = {"%R07\r", "%R39\r", "%N0700410062\r", "%DUMPM\r"};
    EXPECT_EQ(h.writes, expected);
}

TEST_F(ModbusTest, SlaveDefaultsWriteEveryRegisterFramed)
{
    slave.OnCommand(R::kDefaults);
    h.AckAll();
    ASSERT_EQ(h.writes.size(), 2u + 32u * 3u);
    EXPECT_EQ(h.writes[1], "%R32300\r");
    EXPECT_EQ(h.writes[2], "%R0060000\r");
    EXPECT_EQ(h.writes[3].substr(0, 4), "%N00");
    EXPECT_EQ(h.writes.back(), "%COMMITCMD\r");
    EXPECT_EQ(h.posted.back(), rtu::cmd::kReload);
}

}  // namespace
