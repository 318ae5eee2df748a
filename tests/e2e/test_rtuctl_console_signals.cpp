// rtuctl console on a real terminal (a pty held by the test), ended by a signal instead of
// Ctrl-]: the terminal gets its modes back.
#include <gtest/gtest.h>

#include <thread>

#include "Process.h"

using namespace rtu::test;

namespace {

constexpr int kWaitSteps = 1000;                          // checks of the terminal before giving up
constexpr std::chrono::milliseconds kWaitStep{20};        // between two checks

// The terminal the console runs on: the test keeps the master and a descriptor on the slave.
struct Terminal {
    int master = -1;
    int slave = -1;
    std::string path;
    Terminal()
    {
        master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
        char name[128] = {};
        if (master < 0 || ::grantpt(master) != 0 || ::unlockpt(master) != 0 || ::ptsname_r(master, name, sizeof name))
            return;
        path = name;
        slave = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    }
    ~Terminal()
    {
        if (slave >= 0) ::close(slave);
        if (master >= 0) ::close(master);
    }
    bool Echoes() const
    {
        termios t{};
        return ::tcgetattr(slave, &t) == 0 && (t.c_lflag & ECHO) && (t.c_lflag & ICANON);
    }
};

TEST(RtuctlConsole, EverySignalThatEndsItPutsTheTerminalBack)
{
    SimProcess sim({});
    ASSERT_FALSE(sim.Pty().empty());
    const auto dir = TempDir("console-signals");
    for (const int signo : {SIGTERM, SIGHUP, SIGINT}) {
        SCOPED_TRACE(strsignal(signo));
        Terminal term;
        ASSERT_GE(term.slave, 0);
        ASSERT_TRUE(term.Echoes());
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, term.slave, STDIN_FILENO);
        posix_spawn_file_actions_adddup2(&actions, term.slave, STDOUT_FILENO);
        posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, (dir / "err").c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                         0644);
        std::vector<std::string> args = {RTUCTL_PATH, "-p", sim.Pty(), "console"};
        std::vector<char*> argv;
        for (auto& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        pid_t pid = -1;
        ASSERT_EQ(posix_spawn(&pid, RTUCTL_PATH, &actions, nullptr, argv.data(), environ), 0);
        posix_spawn_file_actions_destroy(&actions);
        // The console takes the terminal raw once it runs.
        for (int i = 0; i < kWaitSteps && term.Echoes(); ++i) std::this_thread::sleep_for(kWaitStep);
        ASSERT_FALSE(term.Echoes()) << "the console never took the terminal";
        ::kill(pid, signo);
        int st = 0;
        ASSERT_EQ(::waitpid(pid, &st, 0), pid);
        EXPECT_TRUE(WIFEXITED(st)) << "ended by the signal itself: " << ReadFile(dir / "err");
        EXPECT_TRUE(term.Echoes()) << "the terminal was left raw";
    }
    std::filesystem::remove_all(dir);
}

}  // namespace
