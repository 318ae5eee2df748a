// Temperature records: reading them from report lines, listing, counting, logging as CSV.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "PageHarness.h"
#include "pages/sensor/PageExTmpRcd.h"
#include "pages/sensor/PageExtTmpLog.h"
#include "pages/sensor/TempRecordPage.h"

namespace {

namespace fs = std::filesystem;
using rtu::CTempRecordPage;
using rtu::TempRow;

constexpr const char* kTime = "20261208101500";  // a 14-character record time

// A record line: lead-in, tag, type, time, count and entries.
std::string Record(const char* tagType, const std::string& count, const std::string& entries)
{
    return std::string("$TREC0001") + tagType + kTime + count + entries;
}

std::string ReadAll(const fs::path& p)
{
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

fs::path TempPath(const std::string& name)
{
    const fs::path dir = fs::temp_directory_path() / ("rtu_records_" + std::to_string(::getpid()));
    fs::create_directories(dir);
    return dir / name;
}

struct ParseCase {
    std::string line;
    int type;
    int records;                                                // records of the type
    std::vector<std::vector<std::pair<char, double>>> entries;  // per temperature record
};

TEST(TempRecords, LayoutOfARecordLine)
{
    const std::string two = Record("ET33", "02", "023.50,141.25,");
    const ParseCase cases[] = {
        {two, 0x33, 1, {{{'0', 23.50}, {'1', 41.25}}}},
        {two, 0x83, 0, {}},
        // Hex digits in either case; any other character counts as 0.
        {Record("ET83", "0a", ""), 0x83, 1, {{}}},
        {Record("ETx3", "01", "0-4.25;"), 0x03, 1, {{{'0', -4.25}}}},
        {Record("Et33", "01", "01.00,"), 0x33, 1, {}},    // not "ET": counted, nothing listed
        {Record("ET33", "0G", "09.99,"), 0x33, 1, {{}}},  // "0G" reads as 0 entries
        {Record("ET33", "01", "2-0.50,") + Record("ET33", "01", "x12.34,"),
         0x33,
         2,
         {{{'2', -0.50}}, {{'x', 12.34}}}},  // two records in one line, any status
        {Record("ET33", "03", "012.00;112.5 ,2"),
         0x33,
         1,  // a truncated line ends the entries
         {{{'0', 12.00}, {'1', 12.5}}}},
        {Record("ET33", "02", "0" + std::string(20, '1') + ".00,030.00,"), 0x33, 1, {{}}},  // point too late
        {Record("ET33", "02", "0" + std::string(19, '1') + ".00,030.00,"),
         0x33,
         1,
         {{{'0', 1111111111111111111.0}, {'0', 30.0}}}},
        {std::string("$TREC0001ET3"), 0x33, 0, {}},  // 12 characters: no record
        {std::string("$TREC0001ET33"), 0x33, 1, {{}}},
        // A foreign record occupies 13 characters; reading goes on behind it.
        {std::string("$TREC0001XX33") + Record("ET33", "01", "020.00,"), 0x33, 2, {{{'0', 20.0}}}},
    };
    for (const ParseCase& c : cases) {
        const auto records = rtu::ReadTempRecords(c.line, c.type);
        EXPECT_EQ(static_cast<int>(records.size()), c.records) << c.line;
        std::vector<std::vector<std::pair<char, double>>> got;
        for (const auto& r : records) {
            if (!r.temperature) continue;
            EXPECT_EQ(r.time, c.line.size() > 27 ? kTime : "") << c.line;
            got.emplace_back();
            for (const auto& e : r.entries) got.back().emplace_back(e.status, e.value);
        }
        ASSERT_EQ(got.size(), c.entries.size()) << c.line;
        for (std::size_t i = 0; i < got.size(); ++i) {
            ASSERT_EQ(got[i].size(), c.entries[i].size()) << c.line;
            for (std::size_t j = 0; j < got[i].size(); ++j) {
                EXPECT_EQ(got[i][j].first, c.entries[i][j].first) << c.line;
                EXPECT_DOUBLE_EQ(got[i][j].second, c.entries[i][j].second) << c.line;
            }
        }
    }
}

TEST(TempRecords, CsvLineBytes)
{
    const TempRow rows[] = {
        {"2026/12/08 10:15:00", "0", "23.50", "1", "41.25", "", "", "", ""},
        {"t", "2", "0.00", "x", "1.00", "0", "-4.25", "1", "99.99"},
        {"a,b", "", "", "", "", "", "", "", ""},
    };
    const char* const lines[] = {
        "2026/12/08 10:15:00,NORMAL,23.50,ALARM,41.25,UA,,UA,,\r\n",
        "t,Disconnect,0.00,UA,1.00,NORMAL,-4.25,ALARM,99.99,\r\n",
        "\"a,b\",UA,,UA,,UA,,UA,,\r\n",  // a comma in the time does not shift the fields
    };
    for (std::size_t i = 0; i < std::size(rows); ++i) EXPECT_EQ(rtu::TempCsvLine(rows[i]), lines[i]);
}

TEST(TempRecords, ShownTimeOnlyReadsAWholeValidTime)
{
    EXPECT_EQ(rtu::ShownTempTime("20261201024000"), "2026-12-01 02:40:00");
    EXPECT_EQ(rtu::ShownTempTime("20261231235959"), "2026-12-31 23:59:59");
    // Anything that is not a whole time in range is shown as the unit sent it.
    for (const char* kept : {"2026120102400", "202612010240000", "20261301024000", "20261200024000", "20261201244000",
                             "20261201026000", "2026120102400x", " 2026120102400", "2026/12/08 10:15:00", ""})
        EXPECT_EQ(rtu::ShownTempTime(kept), kept);
}

class RecordPageTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        rt.SetClock([] { return std::string("2026/12/08 10:15:00"); });
        logPath = TempPath("ex temp.csv");
        fs::remove(logPath);
        ASSERT_TRUE(log.Open(logPath.string()));
        rt.SetLog(&log);
    }
    void TearDown() override { fs::remove_all(logPath.parent_path()); }

    rtu::test::PageHarness h;
    CTempRecordPage& rt = h.Make<CTempRecordPage>(rtu::PageId::ExTmpRcd);
    CTempRecordPage& sync = h.Make<CTempRecordPage>(rtu::PageId::ExtTmpLog);
    rtu::CTempCsvLog log;
    fs::path logPath;
};

TEST_F(RecordPageTest, ARealTimeRecordIsListedCountedAndLogged)
{
    h.Route(Record("ET33", "02", "023.50,141.25,"));
    ASSERT_EQ(rt.Rows().size(), 1u);
    EXPECT_EQ(rt.Rows()[0], (TempRow{"2026/12/08 10:15:00", "0", "23.50", "1", "41.25", "", "", "", ""}));
    EXPECT_EQ(rt.CounterText(), "1 Rcd; Alarm 1");
    EXPECT_EQ(rt.TextOf(rtu::temppage::kCounter), "1 Rcd; Alarm 1");
    EXPECT_EQ(ReadAll(logPath), "2026/12/08 10:15:00,NORMAL,23.50,ALARM,41.25,UA,,UA,,\r\n");
    EXPECT_TRUE(sync.Rows().empty());

    // The same record from the unit's log goes to the sync page with its own time, unlogged.
    h.Route(Record("ET83", "02", "023.50,141.25,"));
    ASSERT_EQ(sync.Rows().size(), 1u);
    EXPECT_EQ(sync.Rows()[0][0], kTime);
    EXPECT_EQ(rt.Rows().size(), 1u);
    EXPECT_EQ(ReadAll(logPath).size(), std::string("2026/12/08 10:15:00,NORMAL,23.50,ALARM,41.25,UA,,UA,,\r\n").size());

    // A record of the type with another tag counts but lists and logs nothing.
    h.Route(Record("XY33", "01", "020.00,"));
    EXPECT_EQ(rt.Records(), 2);
    EXPECT_EQ(rt.Rows().size(), 1u);
    // Neither does a record without values (the previous row is not logged twice).
    h.Route(Record("ET33", "00", ""));
    EXPECT_EQ(rt.Records(), 3);
    const std::string logged = ReadAll(logPath);
    EXPECT_EQ(std::count(logged.begin(), logged.end(), '\n'), 1);
}

TEST_F(RecordPageTest, TheLimitsEmptyTheLiveListButNotASync)
{
    for (int i = 0; i < 200; ++i) h.Route(Record("ET33", "01", "120.00,"));
    ASSERT_EQ(rt.Rows().size(), 200u);
    EXPECT_EQ(rt.CounterText(), "200 Rcd; Alarm 200");
    // The 201st record empties the list first; all its values land in the new row.
    h.Route(Record("ET33", "04", "021.00,122.00,223.00,024.00,"));
    ASSERT_EQ(rt.Rows().size(), 1u);
    EXPECT_EQ(rt.Rows()[0], (TempRow{"2026/12/08 10:15:00", "0", "21.00", "1", "22.00", "2", "23.00", "0", "24.00"}));
    EXPECT_EQ(rt.CounterText(), "1 Rcd; Alarm 1");

    // Records without rows count up to the record limit, which empties the list too.
    rt.ResetList();
    h.Route(Record("ET33", "01", "020.00,"));
    for (int i = 1; i < 999; ++i) h.Route(Record("XX33", "01", "020.00,"));
    EXPECT_EQ(rt.Records(), 999);
    EXPECT_EQ(rt.Rows().size(), 1u);
    h.Route(Record("ET33", "01", "030.00,"));
    ASSERT_EQ(rt.Rows().size(), 1u);
    EXPECT_EQ(rt.Rows()[0][2], "30.00");
    EXPECT_EQ(rt.Records(), 1);

    // A sync keeps every record: its list is not emptied at the real-time limits, nor at 2000.
    for (int i = 0; i < 2500; ++i) h.Route(Record("ET83", "01", i % 2 ? "010.00," : "110.00,"));
    EXPECT_EQ(sync.Rows().size(), 2500u);
    EXPECT_EQ(sync.Records(), 2500);
    EXPECT_EQ(sync.Alarms(), 1250);
    EXPECT_EQ(sync.Unlisted(), 0);
    sync.ResetList();
    EXPECT_TRUE(sync.Rows().empty());
}

TEST_F(RecordPageTest, ALogThatCannotBeOpenedStillListsAndSaysSoOnce)
{
    rtu::CTempCsvLog closed;
    EXPECT_FALSE(closed.Open(""));
    rt.SetLog(&closed);
    for (int i = 0; i < 3; ++i) h.Route(Record("ET33", "01", "020.00,"));
    EXPECT_EQ(rt.Rows().size(), 3u);
    EXPECT_EQ(h.messages.size(), 1u);
}

TEST_F(RecordPageTest, SyncResetAndExport)
{
    h.Route(Record("ET83", "01", "120.00,"));
    sync.OnCommand(rtu::temppage::kSync);
    EXPECT_TRUE(sync.Rows().empty());
    EXPECT_EQ(sync.CounterText(), "0 Rcd; Alarm 0");
    EXPECT_EQ(h.Wire(), "%ETEMPPORT1000\r");
    EXPECT_EQ(h.messages.size(), 1u);

    h.Route(Record("ET83", "01", "020.00,") + Record("ET83", "02", "121.00,2-3.00,"));
    std::string error;
    const auto written = sync.Export(TempPath("export").string(), error);
    ASSERT_TRUE(written) << error;
    EXPECT_EQ(*written, TempPath("export.csv").string());
    EXPECT_EQ(ReadAll(*written), std::string(kTime) + ",ALARM,21.00,Disconnect,-3.00,UA,,UA,,\r\n" + kTime +
                                     ",NORMAL,20.00,UA,,UA,,UA,,\r\n");
    EXPECT_FALSE(sync.Export((TempPath("x") / "missing" / "y.csv").string(), error));
    EXPECT_FALSE(error.empty());

    rt.OnCommand(rtu::temppage::kResetList);
    EXPECT_EQ(rt.CounterText(), "0 Rcd; Alarm 0");
}

TEST_F(RecordPageTest, ChartOfTheNewestValues)
{
    rtu::TempChart c = rt.Chart(0);
    EXPECT_EQ(c.title, "Realtime Records T0");
    EXPECT_TRUE(c.points.empty());
    h.Route(Record("ET33", "01", "045.00,"));
    c = rt.Chart(0);
    ASSERT_EQ(c.points.size(), 1u);
    EXPECT_DOUBLE_EQ(c.yMin, 13.0);
    EXPECT_DOUBLE_EQ(c.yMax, 56.0);
    for (int i = 0; i < 150; ++i)
        h.Route(Record("ET33", "02", "0" + std::to_string(i % 10) + ".75,0-" + std::to_string(i) + ".25,"));
    c = rt.Chart(1);
    EXPECT_EQ(c.title, "Realtime Records T1");
    ASSERT_EQ(c.points.size(), 100u);  // the newest 100 rows, oldest first
    EXPECT_DOUBLE_EQ(c.points.front().second, -50.25);
    EXPECT_DOUBLE_EQ(c.points.back().second, -149.25);
    EXPECT_DOUBLE_EQ(c.line.back().second, -149.0);
    EXPECT_DOUBLE_EQ(c.yMin, -151.25);
    EXPECT_DOUBLE_EQ(c.yMax, 38.0);
    // A sensor the records do not carry draws nothing; an unknown sensor draws sensor 0.
    EXPECT_TRUE(rt.Chart(3).points.empty());
    EXPECT_EQ(rt.Chart(7).title, "Realtime Records T0");
}

TEST_F(RecordPageTest, ChartBreaksItsLineWhereASensorHasNoValue)
{
    rt.ResetList();
    int second = 0;
    rt.SetClock([&] { return "2026/12/08 10:15:0" + std::to_string(second++); });
    // Sensor 0: a value, a disconnected one (sent as 0.00), then three values.
    for (const char* entries : {"021.00,", "20.00,", "022.00,", "023.00,", "024.00,"})
        h.Route(Record("ET33", "01", entries));
    rt.SetClock({});
    const rtu::TempChart c = rt.Chart(0);
    ASSERT_EQ(c.points.size(), 4u);
    EXPECT_DOUBLE_EQ(c.points[1].second, 22.0);  // 0.00 of the disconnected sensor is not drawn
    EXPECT_EQ(c.breaks, (std::vector<std::size_t>{1}));
    EXPECT_EQ(c.times, (std::vector<std::string>{"2026/12/08 10:15:00", "2026/12/08 10:15:02", "2026/12/08 10:15:03",
                                                 "2026/12/08 10:15:04"}));
}

}  // namespace
