// rtuconfig --demo and its simulated unit: however the tool ends (a signal it may catch,
// or SIGKILL), the unit it started ends as well.
#include <QTest>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace {

constexpr auto kStartPatience = std::chrono::seconds(20);  // the tool starts its unit within this
constexpr int kEndPatienceMs = 10000;                      // the unit ends this soon after the tool
constexpr auto kLookStep = std::chrono::milliseconds(20);  // between looks at the process table

// The rtusim process whose parent is `parent`, or -1.
pid_t SimChildOf(pid_t parent)
{
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator("/proc", ec)) {
        const std::string name = entry.path().filename().string();
        if (name.find_first_not_of("0123456789") != std::string::npos) continue;
        std::ifstream stat(entry.path() / "stat");
        std::string line;
        std::getline(stat, line);
        const auto close = line.rfind(')');
        const auto open = line.find('(');
        if (close == std::string::npos || open == std::string::npos) continue;
        char state = 0;
        int ppid = 0;
        if (std::sscanf(line.c_str() + close + 1, " %c %d", &state, &ppid) != 2) continue;
        if (ppid == parent && line.substr(open + 1, close - open - 1) == "rtusim") return std::stoi(name);
    }
    return -1;
}

// Whether `pid` holds a pseudo-terminal open (the demo's unit, once the tool uses it).
bool HoldsPty(pid_t pid)
{
    std::error_code ec;
    for (const auto& fd : std::filesystem::directory_iterator("/proc/" + std::to_string(pid) + "/fd", ec))
        if (std::filesystem::read_symlink(fd.path(), ec).string().starts_with("/dev/pts/")) return true;
    return false;
}

}  // namespace

class TestDemoLifetime : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        // Orphans come to us, so an ended unit can be reaped and a live one found.
        QCOMPARE(::prctl(PR_SET_CHILD_SUBREAPER, 1), 0);
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }

    void unitEndsWithTheTool_data()
    {
        QTest::addColumn<int>("signo");
        QTest::newRow("SIGTERM") << SIGTERM;
        QTest::newRow("SIGINT") << SIGINT;
        QTest::newRow("SIGHUP") << SIGHUP;
        QTest::newRow("SIGKILL") << SIGKILL;
    }

    void unitEndsWithTheTool()
    {
        QFETCH(int, signo);
        const std::string settings =
            (std::filesystem::temp_directory_path() / ("rtu_demo_" + std::to_string(::getpid()) + ".ini")).string();
        // The demo's pty is thrown away with its unit: the stored port stays the user's.
        const std::string storedPort = "[General]\nCOMMPATH=/dev/ttyUSB7\nCOMMPORT0=3\n";
        std::ofstream(settings) << storedPort;
        std::vector<std::string> args = {RTUCONFIG_PATH, "--demo", "--settings", settings};
        std::vector<char*> argv;
        for (auto& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        pid_t tool = -1;
        QCOMPARE(posix_spawn(&tool, RTUCONFIG_PATH, nullptr, nullptr, argv.data(), environ), 0);

        pid_t sim = -1;
        const auto until = std::chrono::steady_clock::now() + kStartPatience;
        while ((sim = SimChildOf(tool)) < 0 && std::chrono::steady_clock::now() < until)
            std::this_thread::sleep_for(kLookStep);
        if (sim < 0) {
            ::kill(tool, SIGKILL);
            ::waitpid(tool, nullptr, 0);
            QFAIL("rtuconfig --demo started no rtusim");
        }
        while (!HoldsPty(tool) && std::chrono::steady_clock::now() < until) std::this_thread::sleep_for(kLookStep);
        const int pidfd = static_cast<int>(::syscall(SYS_pidfd_open, sim, 0));
        QVERIFY(pidfd >= 0);

        const int sent = ::kill(tool, signo);
        int status = 0;
        const pid_t waited = ::waitpid(tool, &status, 0);
        pollfd p{pidfd, POLLIN, 0};
        const bool ended = ::poll(&p, 1, kEndPatienceMs) == 1;
        if (!ended) ::kill(sim, SIGKILL);
        ::waitpid(sim, nullptr, 0);  // ours once orphaned
        ::close(pidfd);
        std::string stored;
        for (std::ifstream in(settings); std::getline(in, stored) && !stored.starts_with("COMMPATH=");) {}
        std::filesystem::remove(settings);

        QCOMPARE(sent, 0);
        QCOMPARE(waited, tool);
        QVERIFY2(ended, "rtusim outlived the tool");
        if (signo != SIGKILL) {  // a signal it catches closes the tool like its window
            QVERIFY2(WIFEXITED(status), "the tool died of the signal instead of closing");
            QCOMPARE(WEXITSTATUS(status), 0);
            QCOMPARE(QString::fromStdString(stored), QStringLiteral("COMMPATH=/dev/ttyUSB7"));
        }
    }
};

QTEST_GUILESS_MAIN(TestDemoLifetime)
#include "test_demo_lifetime.moc"
