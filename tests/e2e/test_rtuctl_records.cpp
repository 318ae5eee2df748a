// rtuctl's temperature record commands against rtusim: real-time records as they arrive,
// and the stored log, both as CSV lines.
#include <gtest/gtest.h>

#include <fstream>

#include "Process.h"

using namespace rtu::test;

namespace {

int CountLines(const std::string& text)
{
    int n = 0;
    for (std::size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at + 2)) ++n;
    return n;
}

// Nine fields, each followed by a comma.
bool IsRecordLine(const std::string& line) { return std::count(line.begin(), line.end(), ',') == 9; }

}  // namespace

TEST(RtuctlRecords, RealTimeRecordsArePrintedAndAppended)
{
    const auto dir = TempDir("records");
    SimProcess sim({"--latency-ms", "0", "--baud", "115200", "--records-ms", "50"});
    const std::string csv = (dir / "rt.csv").string();
    const RunResult r = RunCtl({"-b", "115200", "-p", sim.Pty(), "records", "--count", "5", "--csv", csv});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_GE(CountLines(r.out), 5);
    EXPECT_EQ(ReadFile(dir / "rt.csv"), r.out);  // the same lines, in the same bytes
    std::istringstream in(r.out);
    for (std::string line; std::getline(in, line);) EXPECT_TRUE(IsRecordLine(line)) << line;
    // A second run appends to the file.
    ASSERT_EQ(RunCtl({"-b", "115200", "-p", sim.Pty(), "records", "--count", "1", "--csv", csv}).code, 0);
    EXPECT_GT(CountLines(ReadFile(dir / "rt.csv")), CountLines(r.out));
    std::filesystem::remove_all(dir);
}

TEST(RtuctlRecords, CtrlCEndsARunWithoutLimitAsASuccess)
{
    const auto dir = TempDir("records-interrupted");
    SimProcess sim({"--latency-ms", "0", "--baud", "115200", "--records-ms", "100"});
    const std::string csv = (dir / "rt.csv").string();
    const RunResult r = RunCtlInterrupted(2, {"-b", "115200", "-p", sim.Pty(), "records", "--csv", csv});
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_GE(CountLines(r.out), 3);
    EXPECT_EQ(ReadFile(csv), r.out);  // every printed record was appended whole
    std::filesystem::remove_all(dir);
}

TEST(RtuctlRecords, LogSyncWritesTheStoredRecords)
{
    const auto dir = TempDir("logsync");
    SimProcess sim({"--latency-ms", "0", "--baud", "115200"});
    const RunResult r = RunCtl({"-b", "115200", "-p", sim.Pty(), "log-sync", "--csv", (dir / "log.csv").string()});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_NE(r.out.find("records: 300"), std::string::npos) << r.out;
    const std::string csv = ReadFile(dir / "log.csv");
    EXPECT_EQ(CountLines(csv), 300);
    EXPECT_EQ(csv.rfind("20261203015000,", 0), 0u) << csv.substr(0, 80);  // newest first
    // A file that cannot be written is an output failure.
    const RunResult bad = RunCtl({"-b", "115200", "-p", sim.Pty(), "log-sync", "--csv", dir.string()});
    EXPECT_EQ(bad.code, 5) << bad.err;
    std::filesystem::remove_all(dir);
}

TEST(RtuctlRecords, ASilentUnitIsNoAnswer)
{
    SimProcess sim({"--latency-ms", "0", "--fail", "silent"});
    EXPECT_EQ(RunCtl({"--timeout", "2", "-p", sim.Pty(), "log-sync", "--csv", "/dev/null"}).code, 3);
    EXPECT_EQ(RunCtl({"-p", sim.Pty(), "records", "--count", "1", "--seconds", "1"}).code, 3);
}

TEST(RtuctlRecords, CountStopsAtExactlyNAlsoWithSeveralRecordsInALine)
{
    const auto dir = TempDir("records-count");
    // A quarter of the unit's lines carry two or three records.
    SimProcess sim({"--latency-ms", "0", "--baud", "115200", "--records-ms", "20"});
    for (const int count : {1, 2, 3, 4, 7}) {
        const std::string csv = (dir / ("rt" + std::to_string(count) + ".csv")).string();
        const RunResult r =
            RunCtl({"-b", "115200", "-p", sim.Pty(), "records", "--count", std::to_string(count), "--csv", csv});
        ASSERT_EQ(r.code, 0) << count << " " << r.err;
        EXPECT_EQ(CountLines(r.out), count) << r.out;
        EXPECT_EQ(ReadFile(csv), r.out) << count;
    }
    std::filesystem::remove_all(dir);
}

TEST(RtuctlRecords, LogSyncWritesEveryRecordWhateverTheAcknowledgementsPlace)
{
    struct Case {
        const char* name;
        std::vector<std::string> simArgs;
    };
    const Case cases[] = {
        {"acknowledged after the records", {}},
        {"acknowledged before the records", {"--log-ack-first"}},
    };
    const auto dir = TempDir("logsync-all");
    for (const Case& c : cases) {
        std::vector<std::string> args{"--latency-ms", "0", "--baud", "1000000", "--stored-records", "2500"};
        args.insert(args.end(), c.simArgs.begin(), c.simArgs.end());
        SimProcess sim(args);
        const std::string csv = (dir / "log.csv").string();
        const RunResult r = RunCtl({"-p", sim.Pty(), "log-sync", "--csv", csv});
        ASSERT_EQ(r.code, 0) << c.name << " " << r.err;
        EXPECT_NE(r.out.find("records: 2500"), std::string::npos) << c.name << " " << r.out;
        const std::string text = ReadFile(csv);
        EXPECT_EQ(CountLines(text), 2500) << c.name;
        std::filesystem::remove(csv);
    }
    std::filesystem::remove_all(dir);
}

TEST(RtuctlRecords, ASyncThatBringsNothingLeavesTheFile)
{
    const auto dir = TempDir("logsync-empty");
    const std::string csv = (dir / "log.csv").string();
    std::ofstream(csv, std::ios::binary) << "the user's old records\r\n";
    struct Case {
        const char* name;
        std::vector<std::string> simArgs;
    };
    const Case cases[] = {
        {"an empty log, acknowledged", {"--stored-records", "0"}},
        {"an empty log, acknowledged first", {"--stored-records", "0", "--log-ack-first"}},
        {"a silent unit", {"--fail", "silent"}},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args{"--latency-ms", "0"};
        args.insert(args.end(), c.simArgs.begin(), c.simArgs.end());
        SimProcess sim(args);
        const RunResult r = RunCtl({"--timeout", "2", "-p", sim.Pty(), "log-sync", "--quiet-ms", "300", "--csv", csv});
        EXPECT_EQ(r.code, 3) << c.name << " " << r.err;
        EXPECT_NE(r.err.find("left as it was"), std::string::npos) << c.name << " " << r.err;
        EXPECT_EQ(ReadFile(csv), "the user's old records\r\n") << c.name;
    }
    std::filesystem::remove_all(dir);
}
