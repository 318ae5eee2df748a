// The user-defined commands: reports (plain and hex), the command editor's lines and
// checks, and the profile rows.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "PageHarness.h"
#include "link/ProfileWriter.h"
#include "pages/automation/PageUserCmd.h"
#include "pages/framework/Ucs2Hex.h"

namespace rtu {
namespace {

using U = CPageUserCmd;

struct UserCmdTest : ::testing::Test {
    test::PageHarness h;
    U& page = h.Make<U>(PageId::UserCmd);
    std::string Cell(int row, int col) { return page.CellText(U::kListId, row, col); }
    RowEdit Edit(int row, std::string system, std::string user)
    {
        RowEdit e;
        EXPECT_TRUE(page.BeginEditRow(U::kListId, row, e));
        e.values[U::kEditorSystem].text = std::move(system);
        e.values[U::kEditorUser].text = std::move(user);
        return e;
    }
};

TEST_F(UserCmdTest, Reports)
{
    struct Case {
        const char* line;
        int row, col;
        std::string cell;
    };
    const Case cases[] = {
        {"$SYSCMD0 ARM", 0, U::kSystemColumn, "ARM"},
        {"$USERCMD1 0041", 1, U::kUserColumn, "A"},
        {"$USERCMD2 cafe", 2, U::kUserColumn, "\xEC\xAB\xBE"},  // four hex digits read as one character
        {"$USERCMD3 Scharf", 3, U::kUserColumn, "Scharf"},
        {"$USERCMD4 004", 4, U::kUserColumn, "004"},  // not a multiple of four
        {"$USERCMD5 "
         "0421043E",
         5, U::kUserColumn, "\xD0\xA1\xD0\xBE"},
    };
    for (const Case& c : cases) {
        h.Route(c.line);
        EXPECT_EQ(Cell(c.row, c.col), c.cell) << c.line;
    }
    const auto before = page.ValueOf(U::kListId).cells;
    for (const char* line : {"$SYSCMD6 X", "$USERCMD-1 X", "$SYSCMD ARM", "$SYSCMD99999999999 X"}) h.Route(line);
    EXPECT_EQ(page.ValueOf(U::kListId).cells, before);
}

TEST_F(UserCmdTest, EditSendsBothHalvesUnframedThenAsksAgain)
{
    struct Case {
        const char* system;
        std::string user;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {"ARM", "Scharf", {"%U02Scharf\r", "%Y02ARM\r"}},
        {"DISARM", "Un,scharf", {"%U02Un,scharf\r", "%Y02DISARM\r"}},  // a comma ends no value here
        {"STATUS", "Статус", {"%U02" + EncodeUcs2Hex("Статус") + "\r", "%Y02STATUS\r"}},
        {"", "", {"%U02\r", "%Y02\r"}},
    };
    for (const Case& c : cases) {
        h.writes.clear();
        page.CommitEditRow(Edit(2, c.system, c.user));
        h.AckAll();
        std::vector<std::string> expected = c.lines;
        expected.push_back("%DUMP_UCMD\r");
        EXPECT_EQ(h.writes, expected) << c.system;
    }
}

TEST_F(UserCmdTest, EditorRefusesWhatTheUnitCannotTake)
{
    const struct {
        const char* system;
        std::string user;
        int id;
    } cases[] = {
        {"ÄRM", "x", U::kEditorSystem},
        {"ARM", std::string(U::kMaxUserChars + 1, 'x'), U::kEditorUser},
        {"%DISARM", "x", U::kEditorSystem},  // a '%' would start a command of its own
        {"ARM", "Un%scharf", U::kEditorUser},
        {"OUT1\r%DEFAULTS", "x", U::kEditorSystem},
        {"ARM", "Pumpe\nan", U::kEditorUser},
    };
    for (const auto& c : cases) {
        const RowEdit e = Edit(0, c.system, c.user);
        const auto problem = page.CheckEditRow(e);
        ASSERT_TRUE(problem) << c.system;
        EXPECT_EQ(problem->id, c.id);
        page.CommitEditRow(e);
        EXPECT_TRUE(h.writes.empty());
    }
    EXPECT_FALSE(page.CheckEditRow(Edit(0, "ARM", std::string(U::kMaxUserChars, 'x'))));
}

// A user command the unit reports with a line end or another control character is written
// hex-encoded: one profile line is one command, and its text comes back whole.
TEST_F(UserCmdTest, ProfileEncodesControlCharacters)
{
    const struct {
        const char* report;
        std::string text;
    } cases[] = {
        {"$USERCMD2 0041000A0025004200430044", "A\n%BCD"},
        {"$USERCMD2 0041000D0042", "A\rB"},
        {"$USERCMD2 004100090042", "A\tB"},
        {"$USERCMD2 0041007F", "A\x7F"},
    };
    for (const auto& c : cases) {
        h.Route("$SYSCMD2 ARM");
        h.Route(c.report);
        ASSERT_EQ(page.CellText(U::kListId, 2, U::kUserColumn), c.text) << c.report;
        CProfileWriter file;
        page.WriteProfileSection(file);
        const std::string written = file.Written();
        EXPECT_NE(written.find("%U02" + EncodeUcs2Hex(c.text) + "\r\n%Y02ARM\r\n"), std::string::npos) << written;
        // Every line of the section is blank, the header or one command.
        std::size_t from = 0;
        for (std::size_t end; (end = written.find("\r\n", from)) != std::string::npos; from = end + 2) {
            const std::string line = written.substr(from, end - from);
            EXPECT_TRUE(line.empty() || line.starts_with("//") || line.starts_with("%")) << line;
            EXPECT_EQ(line.find_first_of("\r\n"), std::string::npos) << line;
        }
    }
}

TEST_F(UserCmdTest, ProfileHoldsCompletePairsOnly)
{
    CProfileWriter empty;
    page.WriteProfileSection(empty);
    EXPECT_EQ(empty.Written(), "\r\n//Page User defined commands\r\n\r\n");

    for (const char* line : {"$SYSCMD0 ARM", "$USERCMD0 Scharf", "$SYSCMD1 DISARM", "$SYSCMD3 STATUS",
                             "$USERCMD3 0421043E", "$USERCMD5 nur"})
        h.Route(line);
    CProfileWriter file;
    page.WriteProfileSection(file);
    EXPECT_EQ(file.Written(), "\r\n//Page User defined commands\r\n\r\n%U00Scharf\r\n%Y00ARM\r\n%U030421043E\r\n"
                              "%Y03STATUS\r\n");
    EXPECT_TRUE(h.writes.empty());
}

}  // namespace
}  // namespace rtu
