// The control phones and the SOS phone: reports, row edits, reload and profile.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "PageHarness.h"
#include "link/ProfileWriter.h"
#include "pages/basic/PhoneListPage.h"

namespace rtu {
namespace {

constexpr int kList = CPhoneListPage::kListId;
constexpr int kNumber = CPhoneListPage::kNumberColumn;
constexpr int kServerReload = 1419;  // the control phones page's own Reload button

struct PhonePages {
    test::PageHarness h;
    CPhoneListPage& server = h.Make<CPhoneListPage>(PageId::Server);
    CPhoneListPage& sos = h.Make<CPhoneListPage>(PageId::Sos);

    std::vector<std::string> Numbers(const CPhoneListPage& page) const
    {
        std::vector<std::string> out;
        for (int row = 0; row < page.Rows(); ++row) out.push_back(page.CellText(kList, row, kNumber));
        return out;
    }
};

TEST(PhonePages, ReportsFillOnlyRowsThatExistWithNumbers)
{
    struct Case {
        const char* name;
        std::vector<std::string> lines;
        std::vector<std::string> server;  // expected numbers of rows 0-9
        std::string sos;                  // expected SOS number
    };
    const std::vector<std::string> none(10);
    auto with = [&none](std::vector<std::pair<int, std::string>> rows) {
        std::vector<std::string> v = none;
        for (auto& [r, t] : rows) v[static_cast<std::size_t>(r)] = t;
        return v;
    };
    const Case cases[] = {
        {"plus number", {"$CS3 +4912345"}, with({{3, "+4912345"}}), ""},
        {"digit number", {"$CS0 0123456"}, with({{0, "0123456"}}), ""},
        {"last row", {"$CS9 5"}, with({{9, "5"}}), ""},
        {"letter leaves the row alone", {"$CS3 +49", "$CS3 abc"}, with({{3, "+49"}}), ""},
        {"empty value leaves the row alone", {"$CS3 +49", "$CS3"}, with({{3, "+49"}}), ""},
        {"two-digit row reads as row 1 with a blank: ignored", {"$CS12 +49"}, none, ""},
        {"no digit after the key", {"$CSX 123"}, none, ""},
        {"a later report replaces the number", {"$CS2 111", "$CS2 222"}, with({{2, "222"}}), ""},
        {"sos row 0", {"$SOS0 112"}, none, "112"},
        {"sos row that does not exist", {"$SOS1 112"}, none, ""},
        {"sos letter ignored", {"$SOS0 x12"}, none, ""},
        {"key inside the line: offsets count from the line start", {"x$CS3 +1"}, none, ""},
    };
    for (const Case& c : cases) {
        PhonePages p;
        for (const auto& line : c.lines) p.h.Route(line);
        EXPECT_EQ(p.Numbers(p.server), c.server) << c.name;
        EXPECT_EQ(p.sos.CellText(kList, 0, kNumber), c.sos) << c.name;
        EXPECT_EQ(p.sos.ValueOf(kList).cells.size(), 1u) << c.name << ": no row is created";
        EXPECT_EQ(p.server.ValueOf(kList).cells.size(), 10u) << c.name;
    }
}

TEST(PhonePages, RowEditSendsOneLineWaitsThenReloads)
{
    struct Case {
        const char* name;
        bool sos;
        int row;
        std::string number;
        std::string line;
    };
    const Case cases[] = {
        {"server number", false, 3, "+4912345", "%CS3+4912345\r"},
        {"server empty number", false, 4, "", "%CS4\r"},
        {"server row 9", false, 9, "0", "%CS90\r"},
        {"sos", true, 0, "112", "%SOS0112\r"},
    };
    for (const Case& c : cases) {
        PhonePages p;
        CPhoneListPage& page = c.sos ? static_cast<CPhoneListPage&>(p.sos) : p.server;
        p.h.Route(c.sos ? "$SOS0 999" : "$CS" + std::to_string(c.row) + " 999");
        RowEdit edit;
        ASSERT_TRUE(page.BeginEditRow(kList, c.row, edit)) << c.name;
        EXPECT_EQ(edit.values[CPhoneListPage::kEditorNumber].text, "999") << c.name << ": opens with the row's number";
        edit.values[CPhoneListPage::kEditorNumber].text = c.number;
        page.CommitEditRow(edit);

        ASSERT_EQ(p.h.writes, std::vector<std::string>{c.line}) << c.name;
        ASSERT_TRUE(p.h.sequencer.NextDeadline()) << c.name;
        EXPECT_EQ(*p.h.sequencer.NextDeadline(), p.h.now + CPhoneListPage::kEditWaitMs) << c.name;
        p.h.AckAll();
        EXPECT_EQ(p.h.writes, (std::vector<std::string>{c.line, "%DUMP_PHONE\r"})) << c.name;
        EXPECT_EQ(page.CellText(kList, c.row, kNumber), "") << c.name << ": the reload empties the row";
    }
}

TEST(PhonePages, RowsOutsideTheListAreNotEdited)
{
    PhonePages p;
    const struct {
        CPhoneListPage* page;
        int list;
        int row;
    } cases[] = {
        {&p.server, kList, -1}, {&p.server, kList, 10}, {&p.server, 1432, 0}, {&p.sos, kList, 1}, {&p.sos, kList, -1}};
    for (const auto& c : cases) {
        RowEdit edit;
        EXPECT_FALSE(c.page->BeginEditRow(c.list, c.row, edit)) << c.page->ClassName() << " row " << c.row;
        edit.listId = c.list;
        edit.row = c.row;
        c.page->CommitEditRow(edit);
    }
    EXPECT_TRUE(p.h.writes.empty());
}

TEST(PhonePages, ReloadButtonEmptiesNumbersAndAsksForPhones)
{
    PhonePages p;
    p.h.Route("$CS5 +111");
    p.h.Route("$SOS0 112");
    EXPECT_FALSE(p.server.OnCommand(ctl::kReload)) << "the shared Reload id is not this page's button";
    EXPECT_FALSE(p.sos.OnCommand(kServerReload)) << "the SOS page has no Reload button";
    EXPECT_TRUE(p.h.writes.empty());
    EXPECT_TRUE(p.server.OnCommand(kServerReload));
    EXPECT_EQ(p.h.Wire(), "%DUMP_PHONE\r");
    EXPECT_EQ(p.server.CellText(kList, 5, kNumber), "");
    EXPECT_EQ(p.server.CellText(kList, 5, 0), "No.5") << "labels stay";
    EXPECT_EQ(p.sos.CellText(kList, 0, kNumber), "112") << "only the server page was reloaded";
}

TEST(PhonePages, ProfileSection)
{
    PhonePages p;
    p.h.Route("$CS0 +4912345");
    p.h.Route("$CS7 555");
    p.h.Route("$SOS0 112");

    CProfileWriter server;
    p.server.WriteProfileSection(server);
    EXPECT_EQ(server.Written(),
              "\r\n//Page Device Control phones\r\n"
              "%CS0+4912345\r\n%CS1\r\n%CS2\r\n%CS3\r\n%CS4\r\n%CS5\r\n%CS6\r\n%CS7555\r\n%CS8\r\n%CS9\r\n");

    CProfileWriter sos;
    p.sos.WriteProfileSection(sos);
    EXPECT_EQ(sos.Written(), "") << "the SOS phone is not part of a profile";
    EXPECT_TRUE(p.h.writes.empty()) << "a profile sends nothing";
}

}  // namespace
}  // namespace rtu
