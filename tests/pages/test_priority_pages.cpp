#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "PageHarness.h"
#include "link/ProfileWriter.h"
#include "pages/basic/PriorityGrid.h"

namespace rtu {
namespace {

constexpr int kSms = ctl::kList;
constexpr int kRing = prio::kRingList;

// The four priority pages, reachable by the routing.
struct Grids {
    CPriorityGridPage* Page(const std::string& name)
    {
        for (CPageBase* p : h.pages)
            if (name == p->ClassName()) return static_cast<CPriorityGridPage*>(p);
        return nullptr;
    }
    test::PageHarness h;
    CPriorityGridPage& din = h.Make<CPriorityGridPage>(PageId::Priotab);
    CPriorityGridPage& ain = h.Make<CPriorityGridPage>(PageId::Ainprio);
    CPriorityGridPage& sys = h.Make<CPriorityGridPage>(PageId::SysPrio);
    CPriorityGridPage& win = h.Make<CPriorityGridPage>(PageId::WinPrio);
};

// The source cells of one row, joined ("OXXO"); "" while none is known.
std::string RowText(const CPriorityGridPage& page, int listId, int row)
{
    std::string s;
    for (int i = 1; i <= page.Shape().sources; ++i) s += page.CellText(listId, row, i);
    return s;
}

TEST(PriorityPages, ReportsFillExactlyTheirRow)
{
    struct Case {
        const char* line;
        const char* page;  // nullptr: the line changes nothing anywhere
        int list;
        int row;
        const char* cells;
    };
    const Case cases[] = {
        {"$PRIODINSMS08 000F", "CPagePriotab", kSms, 0, "OOOO"},
        {"$PRIODINRING17 2", "CPagePriotab", kRing, 9, "XOXX"},
        {"$PRIODINSMS10 5", "CPagePriotab", kSms, 2, "OXOX"},
        {"$PRIODINSMS10 000a", "CPagePriotab", kSms, 2, "XOXO"},
        {"$PRIODINSMS10 0z0F", "CPagePriotab", kSms, 2, "OOOO"},      // a non-digit counts as 0
        {"$PRIODINSMS09 1234000C", "CPagePriotab", kSms, 1, "XXOO"},  // eight digits: the low half
        {"$PRIODINSMS07 000F", nullptr, 0, 0, ""},
        {"$PRIODINSMS18 000F", nullptr, 0, 0, ""},
        {"$PRIODINSMS08 000000001", nullptr, 0, 0, ""},  // nine digits
        {"$PRIOAINSMS08 0003", "CPageAinprio", kSms, 0, "OOXX"},
        {"$PRIOAINSMS17 00003", nullptr, 0, 0, ""},  // five digits
        {"$PRIOSYS08 8001", "CPageSysPrio", kSms, 0, "OXXXXXXXXXXXXXXO"},
        {"$PRIOSYS17 0000FFFF", "CPageSysPrio", kSms, 9, "OOOOOOOOOOOOOOOO"},
        {"$PRIOWINSMS12 0800", "CPageWinPrio", kSms, 4, "XXXXXXXXXXXO"},
        {"$PRIOWINRING08 FFF", "CPageWinPrio", kRing, 0, "OOOOOOOOOOOO"},
    };
    for (const Case& c : cases) {
        Grids g;
        g.h.Route(c.line);
        for (CPageBase* base : g.h.pages) {
            auto* page = static_cast<CPriorityGridPage*>(base);
            for (int list : page->Shape().tables)
                for (int r = 0; r < prio::kRows; ++r) {
                    const bool target =
                        c.page && c.page == std::string(page->ClassName()) && list == c.list && r == c.row;
                    EXPECT_EQ(RowText(*page, list, r), target ? c.cells : "")
                        << c.line << " -> " << page->ClassName() << " list " << list << " row " << r;
                }
        }
    }
}

TEST(PriorityPages, ClickTogglesOnlyKnownSourceCells)
{
    struct Case {
        const char* page;
        int list, row, col;
        bool changes;
        const char* after;  // the cell afterwards
    };
    // Row 0 of every table is "O" in source 0 and "X" elsewhere; row 1 is still unknown.
    const Case cases[] = {
        {"CPagePriotab", kSms, 0, 1, true, "X"},           {"CPagePriotab", kRing, 0, 2, true, "O"},
        {"CPagePriotab", kSms, 1, 1, false, ""},           {"CPagePriotab", kSms, 0, 0, false, "CS0"},  // the row label
        {"CPagePriotab", kSms, 0, 5, false, ""},  // past the sources
        {"CPagePriotab", kSms, prio::kRows, 1, false, ""}, {"CPagePriotab", 9999, 0, 1, false, ""},
        {"CPageAinprio", kRing, 0, 1, false, ""},  // no ring table here
        {"CPageSysPrio", kSms, 0, 16, true, "O"},          {"CPageWinPrio", kRing, 0, 12, true, "O"},
        {"CPageWinPrio", kRing, 0, 13, false, ""},  // the trailing column carries no value
    };
    for (const Case& c : cases) {
        Grids g;
        for (const char* line : {"$PRIODINSMS08 1", "$PRIODINRING08 1", "$PRIOAINSMS08 1", "$PRIOSYS08 1",
                                 "$PRIOWINSMS08 1", "$PRIOWINRING08 1"})
            g.h.Route(line);
        CPriorityGridPage* page = g.Page(c.page);
        EXPECT_EQ(page->OnCellClicked(c.list, c.row, c.col), c.changes)
            << c.page << " " << c.list << "," << c.row << "," << c.col;
        EXPECT_EQ(page->CellText(c.list, c.row, c.col), c.after)
            << c.page << " " << c.list << "," << c.row << "," << c.col;
    }
}

// Every row marked "X", then row 3 set to sources 0 and 2 in the first table.
void MarkRow3(CPriorityGridPage& page)
{
    page.ResetTables();
    page.OnCellClicked(kSms, 3, 1);
    page.OnCellClicked(kSms, 3, 3);
}

TEST(PriorityPages, SaveSendsEveryRowFramedWithItsWaitBounds)
{
    struct Case {
        const char* page;
        int saveButton;
        const char* row3;
        const char* row9;
    };
    const Case cases[] = {
        {"CPagePriotab", ctl::kSave1, "%DINPRIO=3,0005,0000\r", "%DINPRIO=9,0000,0000\r"},
        {"CPageAinprio", ctl::kSave, "%AINPRIO=3,0005,0005\r", "%AINPRIO=9,0000,0000\r"},
        {"CPageSysPrio", ctl::kSave, "%BASEPRIO=3,0005\r", "%BASEPRIO=9,0000\r"},
        {"CPageWinPrio", ctl::kSave1, "%WINPRIO=3,0005,0000\r", "%WINPRIO=9,0000,0000\r"},
    };
    for (const Case& c : cases) {
        Grids g;
        CPriorityGridPage* page = g.Page(c.page);
        MarkRow3(*page);
        ASSERT_TRUE(page->OnCommand(c.saveButton)) << c.page;
        g.h.TimeoutAll();  // the unit never answers: every line waits out its bound

        ASSERT_EQ(g.h.writes.size(), 13u) << c.page;  // framing, ten rows, framing, reload
        EXPECT_EQ(g.h.writes[0], "%STARTCMD\r");
        EXPECT_EQ(g.h.writes[4], c.row3) << c.page;
        EXPECT_EQ(g.h.writes[10], c.row9) << c.page;
        EXPECT_EQ(g.h.writes[11], "%COMMITCMD\r");
        EXPECT_EQ(g.h.writes[12], "%DUMP_PRIOTB\r");
        // Each unanswered line is followed by the sender's settling spell.
        EXPECT_EQ(g.h.now,
                  2 * prio::kPageWaitMs + prio::kRows * prio::kRowWaitMs + (2 + prio::kRows) * CSequencer::kSettleMinMs)
            << c.page;
        EXPECT_EQ(g.h.posted, std::vector<int>{cmd::kPageBusy});
        EXPECT_EQ(RowText(*page, kSms, 3), "") << "the reload empties the grid";
    }
}

// A cell the unit never filled saves as 0, so every row goes out, on the wire and in a profile.
TEST(PriorityPages, SaveSendsUnreportedCellsAsZero)
{
    struct Click {
        int list, row, col;
    };
    struct Case {
        const char* name;
        std::vector<const char*> reports;
        std::vector<Click> clicks;
        std::map<int, std::string> rows;  // masks of the rows that are not "0000,0000"
    };
    const Case cases[] = {
        {"no reports", {}, {}, {}},
        {"only the SMS row came, then edited", {"$PRIODINSMS08 0003"}, {{kSms, 0, 3}}, {{0, "0007,0000"}}},
        {"only the ring row came, then edited", {"$PRIODINRING17 8"}, {{kRing, 9, 1}}, {{9, "0000,0009"}}},
        {"partial reports",
         {"$PRIODINSMS08 0003", "$PRIODINRING08 0001", "$PRIODINSMS09 000F"},
         {},
         {{0, "0003,0001"}, {1, "000f,0000"}}},
    };
    for (const Case& c : cases) {
        std::string rows;
        for (int r = 0; r < prio::kRows; ++r) {
            const auto it = c.rows.find(r);
            rows += "%DINPRIO=" + std::to_string(r) + "," + (it == c.rows.end() ? "0000,0000" : it->second) + "\r\n";
        }
        Grids g;
        for (const char* line : c.reports) g.h.Route(line);
        for (const Click& k : c.clicks) EXPECT_TRUE(g.din.OnCellClicked(k.list, k.row, k.col)) << c.name;

        CProfileWriter file;
        g.din.WriteProfileSection(file);
        EXPECT_EQ(file.Written(), "\r\n//Page digital alarm prio table\r\n\r\n" + rows) << c.name;

        g.din.SaveParams(false, nullptr);
        g.h.AckAll();
        std::string wire = rows;
        for (std::size_t at = wire.find('\n'); at != std::string::npos; at = wire.find('\n', at)) wire.erase(at, 1);
        EXPECT_EQ(g.h.Wire(), "%STARTCMD\r" + wire + "%COMMITCMD\r") << c.name;
    }
}

TEST(PriorityPages, ProfileSections)
{
    struct Case {
        const char* page;
        std::string expected;
    };
    std::string din = "\r\n//Page digital alarm prio table\r\n\r\n";
    std::string ain = "\r\n//Page analog alarm prio table\r\n\r\n";
    std::string sys = "\r\n//Page system basic prio table\r\n\r\n";
    for (int r = 0; r < prio::kRows; ++r) {
        const char* mask = r == 3 ? "0005" : "0000";
        din += "%DINPRIO=" + std::to_string(r) + "," + mask + ",0000\r\n";
        ain += "%AINPRIO=" + std::to_string(r) + "," + mask + "," + mask + "\r\n";
        sys += "%BASEPRIO=" + std::to_string(r) + "," + mask + "\r\n";
    }
    const Case cases[] = {
        {"CPagePriotab", din},
        {"CPageAinprio", ain},
        {"CPageSysPrio", sys},
        {"CPageWinPrio", ""},  // not part of a profile
    };
    for (const Case& c : cases) {
        Grids g;
        CPriorityGridPage* page = g.Page(c.page);
        MarkRow3(*page);
        CProfileWriter file;
        page->WriteProfileSection(file);
        EXPECT_EQ(file.Written(), c.expected) << c.page;
        EXPECT_TRUE(g.h.writes.empty()) << c.page;
    }
}

TEST(PriorityPages, ButtonsBelongToTheirPage)
{
    Grids g;
    g.h.Route("$PRIOAINSMS08 0001");
    EXPECT_FALSE(g.ain.OnCommand(ctl::kReload));  // this page has no Reload button
    EXPECT_FALSE(g.din.OnCommand(ctl::kSave));    // its Save is 3001
    EXPECT_TRUE(g.h.writes.empty());

    EXPECT_TRUE(g.ain.OnCommand(1038));
    EXPECT_EQ(RowText(g.ain, kSms, 0), "XXXX");
    EXPECT_EQ(RowText(g.ain, kSms, 9), "XXXX");
    EXPECT_TRUE(g.h.writes.empty()) << "reset only changes the grid";

    EXPECT_TRUE(g.sys.OnCommand(ctl::kReload));
    g.h.AckAll();
    EXPECT_EQ(g.h.Wire(), "%DUMP_PRIOTB\r");
}

}  // namespace
}  // namespace rtu
