// rtuctl's outputs against rtusim and real files, pipes and devices: links planted by another
// user, FIFOs, full devices and files that stop taking bytes half-way.
#include <gtest/gtest.h>

#include <pwd.h>
#include <sys/stat.h>

#include <thread>

#include "Process.h"

using namespace rtu::test;
namespace fs = std::filesystem;

namespace {

constexpr uid_t kFallbackNobody = 65534;  // when the system has no "nobody" entry
constexpr int kHangGuardSeconds = 60;     // a command still running after this has hung
constexpr int kCodeKilled = 137;          // the exit code of a command the guard had to kill

// Backups and pictures of every run in this program land in folders of its own.
const bool kHomes = [] {
    const auto dir = TempDir("homes");
    return ::setenv("XDG_STATE_HOME", (dir / "state").c_str(), 1) == 0 &&
           ::setenv("XDG_DATA_HOME", (dir / "data").c_str(), 1) == 0;
}();

std::string Quoted(const std::string& text)
{
    std::string quoted = "'";
    for (char ch : text) quoted += ch == '\'' ? std::string("'\\''") : std::string(1, ch);
    return quoted + "'";
}

// Runs rtuctl through the shell with its standard output on `out` (a file or a device),
// after `before` (shell commands: limits, ignored signals); a hang is killed.
RunResult RunCtlTo(const std::string& out, const std::vector<std::string>& args, const std::string& before = {})
{
    static int counter = 0;
    const auto dir = TempDir("to" + std::to_string(++counter));
    std::string cmd = before + "exec timeout -s KILL " + std::to_string(kHangGuardSeconds) + " " + RTUCTL_PATH;
    for (const auto& a : args) cmd += " " + Quoted(a);
    cmd += " </dev/null >" + Quoted(out) + " 2>" + (dir / "err").string();
    const int st = std::system(("sh -c " + Quoted(cmd)).c_str());
    RunResult r;
    r.code = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
    r.err = ReadFile(dir / "err");
    std::filesystem::remove_all(dir);
    return r;
}

bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

uid_t NobodyUid()
{
    const passwd* pw = ::getpwnam("nobody");
    return pw ? pw->pw_uid : kFallbackNobody;
}

// Makes `link` point to `target` as the user `uid`, in a child that drops root first.
bool PlantLinkAs(uid_t uid, const fs::path& link, const fs::path& target)
{
    const pid_t pid = ::fork();
    if (pid == 0) {
        if (::setgid(uid) != 0 || ::setuid(uid) != 0) ::_exit(2);
        ::_exit(::symlink(target.c_str(), link.c_str()) == 0 ? 0 : 1);
    }
    int st = 0;
    return pid > 0 && ::waitpid(pid, &st, 0) == pid && WIFEXITED(st) && WEXITSTATUS(st) == 0;
}

// A folder anybody may create entries in, with the sticky bit: the shape of /tmp.
fs::path SharedFolder(const std::string& name)
{
    const auto dir = TempDir(name);
    ::chmod(dir.c_str(), S_ISVTX | 0777);
    return dir;
}

TEST(RtuctlOutputs, ALinkAnotherUserPlantedInASharedFolderIsNeverFollowed)
{
    if (::geteuid() != 0) GTEST_SKIP() << "needs root to plant a link as another user";
    ASSERT_TRUE(kHomes);
    SimProcess sim({"--baud", "115200", "--latency-ms", "0"});
    SimProcess records({"--records-ms", "50"});
    ASSERT_FALSE(sim.Pty().empty());
    const auto shared = SharedFolder("shared");
    const auto victimDir = TempDir("victim");
    const fs::path victim = victimDir / "precious.txt";
    const std::string precious = "the other user's file\n";
    std::ofstream(victim) << precious;
    const fs::path planted = shared / "out";
    ASSERT_TRUE(PlantLinkAs(NobodyUid(), planted, victim));
    const std::string link = planted.string();

    struct Case {
        const char* what;
        std::vector<std::string> args;
        bool recordsUnit;
    };
    const Case cases[] = {
        {"read --profile", {"read", "--profile", link}, false},
        {"read --json", {"read", "--json", link}, false},
        {"log-sync", {"log-sync", "--csv", link}, false},
        {"picture", {"picture", "-o", link}, false},
        {"diagnose", {"diagnose", "-o", link}, false},
        {"records --csv (append)", {"records", "--count", "1", "--csv", link}, true},
        {"--trace (append)", {"--trace", link, "send", "%DUMP_SYS"}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<std::string> args = {"-b", "115200", "-p", sim.Pty()};
        if (c.recordsUnit) args = {"-p", records.Pty()};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const RunResult r = RunCtl(args);
        EXPECT_EQ(r.code, 5) << r.err;
        EXPECT_TRUE(Has(r.err, link) && Has(r.err, "another user")) << r.err;
        EXPECT_EQ(ReadFile(victim), precious);
        EXPECT_TRUE(fs::is_symlink(planted));
    }

    // The user's own link in the same folder is followed, for a replacement and for an append.
    const fs::path own = shared / "mine";
    fs::create_symlink(victim, own);
    RunResult r = RunCtl({"-b", "115200", "-p", sim.Pty(), "read", "--profile", own.string()});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_TRUE(Has(ReadFile(victim), "//Page")) << ReadFile(victim).substr(0, 80);
    r = RunCtl({"-p", records.Pty(), "records", "--count", "1", "--csv", own.string()});
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_TRUE(fs::is_symlink(own));
    fs::remove_all(shared);
    fs::remove_all(victimDir);
}

TEST(RtuctlOutputs, AppendsToAFifoOrADeviceAreRefusedAtOnce)
{
    SimProcess sim({"--records-ms", "50", "--trace", (TempDir("simtrace") / "sim.txt").string()});
    ASSERT_FALSE(sim.Pty().empty());
    const auto dir = TempDir("fifo");
    const std::string fifo = (dir / "fifo").string();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    struct Case {
        std::vector<std::string> args;
        const char* says;
    };
    const Case cases[] = {
        {{"records", "--count", "1", "--csv", fifo}, "is a FIFO"},
        {{"--trace", fifo, "send", "%DUMP_SYS"}, "is a FIFO"},
        {{"records", "--count", "1", "--csv", "/dev/full"}, "is a device"},
        {{"--trace", "/dev/full", "send", "%DUMP_SYS"}, "is a device"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args = {"-p", sim.Pty()};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const RunResult r = RunCtlTo("/dev/null", args);
        EXPECT_EQ(r.code, 5) << c.args[0] << " " << c.args[1] << ": " << r.err;  // kCodeKilled: it hung
        EXPECT_TRUE(Has(r.err, c.says)) << r.err;
    }
    fs::remove_all(dir);
}

TEST(RtuctlOutputs, ATraceThatCannotBeWrittenStopsBeforeAnythingIsSent)
{
    const auto dir = TempDir("tracefull");
    const fs::path simTrace = dir / "sim.txt";
    {
        SimProcess sim({"--trace", simTrace.string()});
        ASSERT_FALSE(sim.Pty().empty());
        const RunResult r = RunCtl({"-p", sim.Pty(), "--trace", "/dev/full", "send", "%DUMP_SYS"});
        EXPECT_EQ(r.code, 5) << r.err;
        EXPECT_TRUE(Has(r.err, "/dev/full")) << r.err;
    }
    EXPECT_FALSE(Has(ReadFile(simTrace), "DUMP_SYS")) << ReadFile(simTrace);
    fs::remove_all(dir);
}

TEST(RtuctlOutputs, AStandardOutputThatTakesNothingEndsWithExit5)
{
    SimProcess sim({"--baud", "115200", "--latency-ms", "0"});
    SimProcess stream({"--records-ms", "50", "--event-every-ms", "50"});
    ASSERT_FALSE(sim.Pty().empty());
    const auto dir = TempDir("stdoutfull");
    const std::string profile = (dir / "unit.txt").string();
    ASSERT_EQ(RunCtl({"-b", "115200", "-p", sim.Pty(), "read", "--profile", profile}).code, 0);
    const std::vector<std::string> unit = {"-b", "115200", "-p", sim.Pty()};
    struct Case {
        std::vector<std::string> args;
        int code;
    };
    const Case cases[] = {
        {{"read"}, 5},
        {{"send", "%DUMP_SYS"}, 5},
        {{"picture", "-o", (dir / "shot.jpg").string()}, 5},
        {{"diff", profile, profile}, 1},  // 5 would say "they differ"
        {{"diff", profile}, 1},
        {{"records", "--count", "3"}, 5},
        {{"events"}, 5},  // runs until interrupted otherwise
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args[0]);
        std::vector<std::string> args = c.args[0] == "records" || c.args[0] == "events"
                                            ? std::vector<std::string>{"-p", stream.Pty()}
                                            : unit;
        args.insert(args.end(), c.args.begin(), c.args.end());
        const RunResult r = RunCtlTo("/dev/full", args);
        EXPECT_EQ(r.code, c.code) << r.err;
        EXPECT_TRUE(Has(r.err, "cannot write to standard output")) << r.err;
    }
    fs::remove_all(dir);
}

// Files that stop taking bytes half-way (the file size limit of the shell, as a full disk
// would): what was written stays, the command ends with 5 and names the file.
TEST(RtuctlOutputs, AnOutputThatStopsTakingBytesEndsTheCommand)
{
    const std::string limit = "trap '' XFSZ; ulimit -f 2; ";  // writes past 1-2 KB fail with EFBIG
    SimProcess sim({"--records-ms", "20"});
    ASSERT_FALSE(sim.Pty().empty());
    const auto dir = TempDir("limit");
    const fs::path csv = dir / "records.csv";
    RunResult r = RunCtlTo("/dev/null", {"-p", sim.Pty(), "records", "--count", "500", "--csv", csv.string()}, limit);
    EXPECT_EQ(r.code, 5) << r.err;
    EXPECT_TRUE(Has(r.err, "cannot append to " + csv.string())) << r.err;
    const std::string kept = ReadFile(csv);
    EXPECT_GT(kept.size(), 0u);
    EXPECT_TRUE(Has(kept, "\r\n"));

    SimProcess quiet({});  // a unit that streams nothing: the reload itself fills the trace
    ASSERT_FALSE(quiet.Pty().empty());
    const fs::path trace = dir / "trace.txt";
    r = RunCtlTo("/dev/null", {"-p", quiet.Pty(), "--trace", trace.string(), "read"}, limit);
    EXPECT_EQ(r.code, 5) << r.err;
    EXPECT_TRUE(Has(r.err, "the trace stopped") && Has(r.err, trace.string())) << r.err;
    EXPECT_GT(ReadFile(trace).size(), 0u);
    fs::remove_all(dir);
}

}  // namespace
