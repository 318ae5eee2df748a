// The text tables: messages and names, hex-encoded as UCS-2 both ways.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "PageHarness.h"
#include "link/ProfileWriter.h"
#include "pages/basic/TextTablePage.h"
#include "pages/basic/TextTables.h"
#include "pages/framework/Ucs2Hex.h"

namespace rtu {
namespace {

constexpr int kText = CTextTablePage::kTextColumn;

struct TextPages {
    test::PageHarness h;
    CTextTablePage& allSms = h.Make<CTextTablePage>(PageId::AllSms);
    CTextTablePage& dinAlarm = h.Make<CTextTablePage>(PageId::DinAlarm);
    CTextTablePage& adSms = h.Make<CTextTablePage>(PageId::ADSms);
    CTextTablePage& adName = h.Make<CTextTablePage>(PageId::ADName);
    CTextTablePage& dinName = h.Make<CTextTablePage>(PageId::DinName);
    CTextTablePage& doutName = h.Make<CTextTablePage>(PageId::DoutName);
    CTextTablePage& sensorName = h.Make<CTextTablePage>(PageId::ISensorName);

    std::vector<CPageBase*> All() { return h.pages; }
    CTextTablePage& Page(const std::string& name)
    {
        for (CPageBase* p : All())
            if (name == p->ClassName()) return static_cast<CTextTablePage&>(*p);
        throw std::invalid_argument(name);
    }
    static int ListOf(const CTextTablePage& page) { return page.RowEditors()[0].listId; }

    // Every non-empty text of every table, as "page/row" -> text.
    std::map<std::string, std::string> Texts()
    {
        std::map<std::string, std::string> out;
        for (CPageBase* base : All()) {
            auto& page = static_cast<CTextTablePage&>(*base);
            const auto& cells = page.ValueOf(ListOf(page)).cells;
            EXPECT_EQ(cells.size(), static_cast<std::size_t>(page.Rows())) << page.ClassName() << ": rows are fixed";
            for (int row = 0; row < page.Rows(); ++row)
                if (!page.RowText(row).empty())
                    out[std::string(page.ClassName()) + "/" + std::to_string(row)] = page.RowText(row);
        }
        return out;
    }
};

TEST(TextPages, ReportsReachTheirRows)
{
    struct Case {
        const char* name;
        std::vector<std::string> lines;
        std::map<std::string, std::string> texts;
    };
    const Case cases[] = {
        {"analog name", {"$ADNAME2 00410042"}, {{"CPageADName/2", "AB"}}},
        {"analog name without a number is row 0", {"$ADNAME 0041"}, {{"CPageADName/0", "A"}}},
        {"analog name row the table lacks", {"$ADNAME7 0041"}, {}},
        {"huge row number", {"$ADNAME99999999999 0041"}, {}},
        {"input name", {"$DINAME1 0042"}, {{"CPageDinName/1", "B"}}},
        {"output name", {"$DONAME3 0043"}, {{"CPageDoutName/3", "C"}}},
        {"empty name", {"$DONAME3 0043", "$DONAME3 "}, {}},
        {"message 12: all messages and analog row 4",
         {"$SMS12 0041"},
         {{"CPageAllSms/12", "A"}, {"CPageADSms/4", "A"}}},
        {"message 5: all messages and input row 5",
         {"$SMS05 0041"},
         {{"CPageAllSms/5", "A"}, {"CPageDinAlarm/5", "A"}}},
        {"message 7 and 8 are the group edges",
         {"$SMS7 0031", "$SMS8 0032"},
         {{"CPageAllSms/7", "1"}, {"CPageDinAlarm/7", "1"}, {"CPageAllSms/8", "2"}, {"CPageADSms/0", "2"}}},
        {"message 15 and 16",
         {"$SMS15 0031", "$SMS16 0032"},
         {{"CPageAllSms/15", "1"}, {"CPageADSms/7", "1"}, {"CPageAllSms/16", "2"}}},
        {"message 29 is the last", {"$SMS29 0041"}, {{"CPageAllSms/29", "A"}}},
        {"message 30 does not exist", {"$SMS30 0041"}, {}},
        {"message centre report holds $SMS but no number", {"$SMSC +4912345"}, {}},
        {"sensor name", {"$ISNAME1: 0042"}, {{"CPageISensorName/1", "B"}}},
        {"sensor 5", {"$ISNAME5: 0045"}, {{"CPageISensorName/5", "E"}}},
        {"two sensors in a line: the first takes the rest of the line",
         {"$ISNAME1: 0042,2: 0043"},
         {{"CPageISensorName/1", DecodeUcs2Hex("0042,2: 0043")}, {"CPageISensorName/2", "C"}}},
        {"sensor row the table lacks", {"$ISNAME9: 0041"}, {}},
        {"colon at the end of the line", {"$ISNAME1: 0041", "$ISNAME1:"}, {}},
        {"non-ASCII name", {"$DINAME0 041F04400438"}, {{"CPageDinName/0", "\xD0\x9F\xD1\x80\xD0\xB8"}}},
    };
    for (const Case& c : cases) {
        TextPages p;
        for (const auto& line : c.lines) p.h.Route(line);
        EXPECT_EQ(p.Texts(), c.texts) << c.name;
        EXPECT_TRUE(p.h.writes.empty()) << c.name;
    }
}

TEST(TextPages, HeaderCheckFollowsItsReportAndIsSentWhenClicked)
{
    TextPages p;
    p.h.Route("$AINSMH 1");
    EXPECT_EQ(p.adSms.Check(texttables::kHeaderCheck), 1);
    p.adSms.ReloadGroup();
    EXPECT_EQ(p.adSms.Check(texttables::kHeaderCheck), 1) << "a reload of the messages leaves the switch";
    p.h.Route("$AINSMH 0");
    EXPECT_EQ(p.adSms.Check(texttables::kHeaderCheck), 0);

    for (int on : {1, 0}) {
        TextPages q;
        q.adSms.SetCheck(texttables::kHeaderCheck, on);
        EXPECT_TRUE(q.adSms.OnCommand(texttables::kHeaderCheck));
        EXPECT_EQ(q.h.Wire(), on ? "%adsmsheaden1\r" : "%adsmsheaden0\r");
        ASSERT_TRUE(q.h.sequencer.NextDeadline());
        EXPECT_EQ(*q.h.sequencer.NextDeadline(), q.h.now + texttables::kShortWaitMs);
    }
}

struct EditCase {
    const char* name;
    const char* page;
    int row;
    std::string text;
    std::string unit;
    std::string line;  // the row's command
    std::string dump;  // the reload that follows
};

TEST(TextPages, RowEditWritesAtOnceThenReloads)
{
    const EditCase cases[] = {
        {"analog name", "CPageADName", 2, "AB", "", "%A0200410042\r\n", "%DUMP_ADS\r"},
        {"input name", "CPageDinName", 0, "A", "", "%I000041\r\n", "%DUMP_GPIO\r"},
        {"input name ignores a unit", "CPageDinName", 1, "A", "V", "%I010041\r\n", "%DUMP_GPIO\r"},
        {"output name emptied", "CPageDoutName", 3, "", "", "%O03\r\n", "%DUMP_GPIO\r"},
        {"sensor 5", "CPageISensorName", 5, "B", "", "%E050042\r\n", "%E99?\r"},
        {"message 29", "CPageAllSms", 29, "AB", "", "%S2900410042\r\n", "%DUMP_ROMSMS\r"},
        {"input message 7", "CPageDinAlarm", 7, "A", "", "%S070041\r\n", "%DUMP_ROMSMS\r"},
        {"analog message with unit", "CPageADSms", 1, "Hi", "V",
         "%S0900480069"
         "00230056\r\n",
         "%DUMP_ROMSMS\r"},
        {"analog message without unit", "CPageADSms", 0, "Hi", "", "%S0800480069\r\n", "%DUMP_ROMSMS\r"},
        {"analog message 15", "CPageADSms", 7, "", "%",
         "%S15"
         "00230025\r\n",
         "%DUMP_ROMSMS\r"},
        {"line breaks travel encoded", "CPageAllSms", 0, "a\r\nb", "",
         "%S00"
         "0061000D000A0062\r\n",
         "%DUMP_ROMSMS\r"},
        {"emoji as a surrogate pair", "CPageADName", 0, "\xF0\x9F\x94\xA5", "", "%A00D83DDD25\r\n", "%DUMP_ADS\r"},
    };
    for (const EditCase& c : cases) {
        TextPages p;
        CTextTablePage& page = p.Page(c.page);
        RowEdit edit;
        ASSERT_TRUE(page.BeginEditRow(TextPages::ListOf(page), c.row, edit)) << c.name;
        edit.values[CTextTablePage::kEditorText].text = c.text;
        edit.values[CTextTablePage::kEditorUnit].text = c.unit;
        page.CommitEditRow(edit);
        EXPECT_EQ(p.h.writes, (std::vector<std::string>{c.line, c.dump})) << c.name;
        EXPECT_FALSE(p.h.sequencer.Waiting()) << c.name << ": nothing waits for an acknowledgement";
    }
}

TEST(TextPages, EditorOpensWithTheRowAndRefusesRowsOutsideTheTable)
{
    TextPages p;
    p.h.Route("$SMS09 00480069"
              "00230056");
    RowEdit edit;
    ASSERT_TRUE(p.adSms.BeginEditRow(ctl::kList, 1, edit));
    EXPECT_EQ(edit.values[CTextTablePage::kEditorText].text, "Hi#V");
    EXPECT_EQ(edit.values[CTextTablePage::kEditorUnit].text, "");
    p.adSms.CommitEditRow(edit);
    EXPECT_EQ(p.h.writes.at(0), "%S0900480069"
                                "00230056\r\n")
        << "re-saving unchanged sends the same text";

    const std::pair<const char*, int> refused[] = {
        {"CPageADName", -1}, {"CPageADName", 4}, {"CPageAllSms", 30}, {"CPageDinAlarm", 8}, {"CPageISensorName", 6}};
    for (const auto& [name, row] : refused) {
        CTextTablePage& page = p.Page(name);
        RowEdit none;
        EXPECT_FALSE(page.BeginEditRow(TextPages::ListOf(page), row, none)) << name << " " << row;
    }
    RowEdit wrongList;
    EXPECT_FALSE(p.dinName.BeginEditRow(ctl::kList, 0, wrongList)) << "the names table is 1377";
}

TEST(TextPages, NonAsciiTextsRoundTripThroughEveryTable)
{
    const std::string texts[] = {
        "\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82",  // Cyrillic
        "\xE6\xB8\xA9\xE5\xBA\xA6\xE6\x8A\xA5\xE8\xAD\xA6",  // CJK
        "\xF0\x9F\x94\xA5 Fire",                             // emoji
        "T\xC3\xBCr #1: offen",                              // Latin with the unit mark and a colon
        [] {                                                 // 100 Cyrillic letters, 200 bytes
            std::string s;
            for (int i = 0; i < 100; ++i) s += "\xD0\xB9";
            return s;
        }(),
    };
    // Which report brings back what a row command wrote.
    const struct {
        const char* page;
        int row;
        const char* commandPrefix;  // what the edit's line begins with
        std::string reportPrefix;   // the report of the same entry
    } tables[] = {
        {"CPageAllSms", 12, "%S12", "$SMS12 "},        {"CPageDinAlarm", 6, "%S06", "$SMS06 "},
        {"CPageADSms", 2, "%S10", "$SMS10 "},          {"CPageADName", 1, "%A01", "$ADNAME1 "},
        {"CPageDinName", 2, "%I02", "$DINAME2 "},      {"CPageDoutName", 3, "%O03", "$DONAME3 "},
        {"CPageISensorName", 4, "%E04", "$ISNAME4: "},
    };
    for (const auto& t : tables) {
        for (const std::string& text : texts) {
            TextPages p;
            CTextTablePage& page = p.Page(t.page);
            RowEdit edit;
            ASSERT_TRUE(page.BeginEditRow(TextPages::ListOf(page), t.row, edit));
            edit.values[CTextTablePage::kEditorText].text = text;
            page.CommitEditRow(edit);
            const std::string line = p.h.writes.at(0);
            ASSERT_EQ(line.rfind(t.commandPrefix, 0), 0u) << t.page << ": " << line;
            ASSERT_GE(line.size(), 6u);
            const std::string hex = line.substr(4, line.size() - 6);
            EXPECT_EQ(hex, EncodeUcs2Hex(text)) << t.page;
            p.h.Route(t.reportPrefix + hex);
            EXPECT_EQ(page.RowText(t.row), text) << t.page;
        }
    }
}

TEST(TextPages, ReloadEmptiesItsRowsAndAsksForItsGroup)
{
    const struct {
        const char* page;
        int command;  // the Reload button, or 0: reloaded by its owner
        std::string dump;
        int keptFrom;  // rows from here on keep their texts
    } cases[] = {
        {"CPageAllSms", ctl::kReload, "%DUMP_ROMSMS\r", 30},
        {"CPageDinAlarm", ctl::kReload, "%DUMP_ROMSMS\r", 8},
        {"CPageADSms", 0, "%DUMP_ROMSMS\r", 8},
        {"CPageADName", 0, "%DUMP_ADS\r", 4},
        {"CPageDinName", 0, "%DUMP_GPIO\r", 4},
        {"CPageDoutName", 0, "%DUMP_GPIO\r", 4},
        {"CPageISensorName", 0, "%E99?\r", 4},
    };
    for (const auto& c : cases) {
        TextPages p;
        CTextTablePage& page = p.Page(c.page);
        const int list = TextPages::ListOf(page);
        for (int row = 0; row < page.Rows(); ++row) page.SetCell(list, row, kText, "t" + std::to_string(row));
        if (c.command) {
            EXPECT_TRUE(page.OnCommand(c.command)) << c.page;
        } else {
            EXPECT_FALSE(page.OnCommand(ctl::kReload)) << c.page << " has no Reload button";
            page.ReloadGroup();
        }
        EXPECT_EQ(p.h.Wire(), c.dump) << c.page;
        for (int row = 0; row < page.Rows(); ++row)
            EXPECT_EQ(page.RowText(row), row < c.keptFrom ? "" : "t" + std::to_string(row)) << c.page << " row " << row;
    }
}

TEST(TextPages, RowLabels)
{
    TextPages p;
    auto labels = [](CTextTablePage& page) {
        std::vector<std::string> out;
        for (int row = 0; row < page.Rows(); ++row) out.push_back(page.CellText(TextPages::ListOf(page), row, 0));
        return out;
    };
    const std::vector<std::string> twoGroups{"No.0", "No.1", "No.2", "No.3", "No.0", "No.1", "No.2", "No.3"};
    EXPECT_EQ(labels(p.dinAlarm), twoGroups);
    EXPECT_EQ(labels(p.adSms), twoGroups);
    EXPECT_EQ(labels(p.adName), (std::vector<std::string>{"0", "1", "2", "3"}));
    EXPECT_EQ(labels(p.sensorName), (std::vector<std::string>{"0", "1", "2", "3", "4", "5"}));
    EXPECT_EQ(labels(p.allSms).back(), "No.29");
}

TEST(TextPages, DefaultMessagesButton)
{
    TextPages p;
    EXPECT_TRUE(p.dinAlarm.OnCommand(texttables::kDefaultButton));
    EXPECT_EQ(p.h.writes, (std::vector<std::string>{"%PREVSMS1\r", "%DUMP_ROMSMS\r"}));
}

}  // namespace
}  // namespace rtu
