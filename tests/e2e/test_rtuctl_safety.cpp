// rtuctl's backups before a change and its per-line report, against rtusim.
#include <gtest/gtest.h>

#include <cstdlib>
#include <nlohmann/json.hpp>
#include <regex>

#include "Process.h"

using namespace rtu::test;

namespace {

// Backups of every run in this program land in a folder of its own, never in the user's.
const bool kStateHome = [] {
    const auto dir = TempDir("state");
    return ::setenv("XDG_STATE_HOME", dir.c_str(), 1) == 0;
}();

std::vector<std::filesystem::path> Files(const std::filesystem::path& dir)
{
    std::vector<std::filesystem::path> out;
    if (std::filesystem::exists(dir))
        for (const auto& e : std::filesystem::directory_iterator(dir)) out.push_back(e.path());
    std::sort(out.begin(), out.end());
    return out;
}

}  // namespace

TEST(RtuctlBackup, BackupBeforeExecAndDefaultsRestoresTheUnit)
{
    ASSERT_TRUE(kStateHome);
    const auto dir = TempDir("backup");
    SimProcess sim({"--latency-ms", "0", "--baud", "115200"});
    auto ctl = [&](std::vector<std::string> args) {
        args.insert(args.begin(), {"-b", "115200", "-p", sim.Pty()});
        return RunCtl(args);
    };
    const std::string before = (dir / "before.txt").string();
    ASSERT_EQ(ctl({"read", "--profile", before}).code, 0);
    std::ofstream(dir / "change.txt") << "\r\n//Page Device Control phones\r\n%CS3+4900000000\r\n";

    // A folder the user names keeps its own mode.
    const auto backups = dir / "backups";
    std::filesystem::create_directories(backups);
    using std::filesystem::perms;
    const perms open =
        perms::owner_all | perms::group_read | perms::group_exec | perms::others_read | perms::others_exec;
    std::filesystem::permissions(backups, open);
    RunResult r = ctl({"exec", "--backup", backups.string(), (dir / "change.txt").string()});
    ASSERT_EQ(r.code, 0) << r.out << r.err;
    EXPECT_EQ(std::filesystem::status(backups).permissions(), open);
    r = ctl({"defaults", "--backup", backups.string()});
    ASSERT_EQ(r.code, 0) << r.err;
    const auto files = Files(backups);
    ASSERT_EQ(files.size(), 2u);
    const std::regex name(R"(RTU-0001-\d{8}-\d{6}(-\d+)?\.txt)");
    for (const auto& f : files) {
        EXPECT_TRUE(std::regex_match(f.filename().string(), name)) << f;
        EXPECT_EQ(std::filesystem::status(f).permissions(), perms::owner_read | perms::owner_write) << f;  // it holds the PIN
    }
    // The exec's backup holds the unit as it was before the change, with a comment line first.
    const bool execFirst = ReadFile(files[0]).find("before executing") != std::string::npos;
    const auto& execBackup = files[execFirst ? 0 : 1];
    const std::string first = ReadFile(execBackup);
    EXPECT_NE(ReadFile(files[execFirst ? 1 : 0]).find("before restoring the factory defaults"), std::string::npos);
    EXPECT_TRUE(first.starts_with("//Backup of unit RTU-0001 taken ")) << first.substr(0, 80);
    EXPECT_NE(first.find("before executing the profile"), std::string::npos);
    EXPECT_NE(first.find("%CS3+4915112340003\r\n"), std::string::npos);
    EXPECT_EQ(first.substr(first.find("\r\n") + 2), ReadFile(before));

    // Executing the backup puts the unit back as it was.
    r = ctl({"exec", "--no-backup", execBackup.string()});
    ASSERT_EQ(r.code, 0) << r.out << r.err;
    r = ctl({"diff", before});
    EXPECT_EQ(r.code, 0) << r.out;
    EXPECT_EQ(Files(backups).size(), 2u);  // --no-backup took none
    std::filesystem::remove_all(dir);
}

TEST(RtuctlBackup, NoBackupMeansNoChange)
{
    const auto dir = TempDir("nobackup");
    std::ofstream(dir / "p.txt") << "%CS1+491\r\n";
    std::ofstream(dir / "file") << "";
    struct Case {
        std::vector<std::string> sim;
        std::string backupDir;
        std::string timeout;
        int code;
    } cases[] = {
        {{"--fail", "silent"}, (dir / "b").string(), "3", 3},             // the unit does not give its values
        {{"--latency-ms", "0"}, (dir / "file" / "b").string(), "30", 5},  // the folder cannot be made
    };
    for (const Case& c : cases) {
        SimProcess sim(c.sim);
        const RunResult r = RunCtl(
            {"-p", sim.Pty(), "--timeout", c.timeout, "exec", "--backup", c.backupDir, (dir / "p.txt").string()});
        EXPECT_EQ(r.code, c.code) << r.err;
        EXPECT_EQ(r.out, "");  // no line of the profile went out
        EXPECT_NE(r.err.find("nothing was changed"), std::string::npos) << r.err;
    }
    std::filesystem::remove_all(dir);
}

TEST(RtuctlReport, EveryLineWithItsOutcomeAndPage)
{
    const auto dir = TempDir("report");
    std::ofstream(dir / "p.txt") << "\r\n//Page Device Control phones\r\n%CS1+491\r\n%CS1+491\r\n%NOSUCHTHING\r\n"
                                    "\r\n//Page digital alarm prio table\r\n%DINPRIO=3,0002,0002\r\n";
    SimProcess sim({"--latency-ms", "0"});
    const auto report = dir / "r.json";
    const RunResult r =
        RunCtl({"-p", sim.Pty(), "exec", "--no-backup", "--report", report.string(), (dir / "p.txt").string()});
    EXPECT_EQ(r.code, 4) << r.err;  // the refused line still fails the run
    const auto json = nlohmann::json::parse(ReadFile(report));
    const std::vector<std::array<std::string, 3>> expected = {{"%CS1+491", "OK", "CPageServer"},
                                                              {"%CS1+491", "skipped as repeated", "CPageServer"},
                                                              {"%NOSUCHTHING", "CMD ERR", "CPageServer"},
                                                              {"%DINPRIO=3,0002,0002", "OK", "CPagePriotab"}};
    ASSERT_EQ(json["lines"].size(), expected.size()) << json.dump();
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const auto& line = json["lines"][i];
        EXPECT_EQ(line["line"], expected[i][0]);
        EXPECT_EQ(line["outcome"], expected[i][1]);
        EXPECT_EQ(line["page"], expected[i][2]);
        EXPECT_GE(line["at_ms"].get<long>(), 0);
    }
    EXPECT_EQ(json["summary"]["err"], 1);
    std::filesystem::remove_all(dir);
}
