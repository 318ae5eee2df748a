// rtuctl and its serial line: what it writes reaches the unit before it exits, it holds
// the unit back rather than buffering without bound, and it refuses a port in use.
// The test plays the unit on a pty master.
#include <gtest/gtest.h>

#include <sys/file.h>

#include <cstring>
#include <thread>

#include "Process.h"

using namespace rtu::test;

namespace {

constexpr std::size_t kFlowCapBytes = 64u << 20;      // a unit that is never held back stops here
constexpr std::size_t kBackPressureBytes = 8u << 20;  // what rtuctl may take in while its stdout is blocked
constexpr int kStallMs = 1000;                        // a master that takes nothing this long is held back

// Numbered lines, so a lost or repeated piece shows.
std::string Lines(std::size_t bytes)
{
    std::string text;
    for (int i = 0; text.size() < bytes; ++i) {
        char line[64];
        std::snprintf(line, sizeof line, "line %06d abcdefghijklmnopqrstuvwxyz\r\n", i);
        text += line;
    }
    text.resize(bytes);
    return text;
}

// Waits (bounded) until a program holds the port's lock and has set its line speed.
bool WaitUntilOpened(const UnitPty& unit, speed_t speed)
{
    constexpr auto kPatience = std::chrono::seconds(10);
    constexpr auto kStep = std::chrono::milliseconds(10);
    const auto until = std::chrono::steady_clock::now() + kPatience;
    while (std::chrono::steady_clock::now() < until) {
        const int fd = ::open(unit.Slave().c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
        const bool held = fd < 0 ? errno == EBUSY : ::flock(fd, LOCK_EX | LOCK_NB) != 0;
        if (fd >= 0) ::close(fd);
        termios t{};  // termios requests on the master report the slave's settings
        if (held && ::tcgetattr(unit.Master(), &t) == 0 && ::cfgetospeed(&t) == speed) return true;
        std::this_thread::sleep_for(kStep);
    }
    return false;
}

}  // namespace

TEST(RtuctlPort, RestartReachesTheUnitOnEveryRun)
{
    constexpr int kRuns = 20;  // closing right after the write lost the block in about one run in four
    UnitPty unit;
    ASSERT_TRUE(unit.Ok());
    for (int i = 0; i < kRuns; ++i) {
        SCOPED_TRACE(i);
        const RunResult r = RunCtl({"-b", "115200", "-p", unit.Slave(), "restart"});
        ASSERT_EQ(r.code, 0) << r.err;
        ASSERT_EQ(unit.Read(5), "%RST\r");
    }
}

TEST(RtuctlPort, ConsoleSendsEveryPipedByteBeforeItExits)
{
    UnitPty unit;
    ASSERT_TRUE(unit.Ok());
    const std::string input = Lines(30 * 1024);
    std::string received;
    std::thread reader([&] { received = unit.Read(input.size()); });
    const RunResult r = RunCtl({"-b", "115200", "-p", unit.Slave(), "console"}, input);
    reader.join();
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(received.size(), input.size());
    EXPECT_TRUE(received == input);
}

TEST(RtuctlPort, ConsoleHoldsTheUnitBackWhileStdoutIsBlocked)
{
    UnitPty unit;
    ASSERT_TRUE(unit.Ok());
    const auto dir = TempDir("backpressure");
    CtlProcess ctl({"-b", "115200", "-p", unit.Slave(), "console"}, (dir / "err").string());
    ASSERT_GT(ctl.Pid(), 0);
    // The port purges its input when it opens: the unit starts talking once rtuctl holds it.
    ASSERT_TRUE(WaitUntilOpened(unit, B115200));

    // The unit talks; nobody reads rtuctl's stdout. Its output must stop being taken in.
    const std::string block = Lines(4096);
    std::string sent;
    while (sent.size() < kFlowCapBytes) {
        const ssize_t w = ::write(unit.Master(), block.data(), block.size());
        if (w > 0) {
            sent.append(block, 0, static_cast<std::size_t>(w));
            continue;
        }
        ASSERT_TRUE(w < 0 && errno == EAGAIN) << std::strerror(errno);
        pollfd p{unit.Master(), POLLOUT, 0};
        if (::poll(&p, 1, kStallMs) == 0) break;  // held back
    }
    EXPECT_LT(sent.size(), kBackPressureBytes);

    // Once stdout is read, everything the unit said comes out, in order.
    std::string out;
    char buf[65536];
    while (out.size() < sent.size()) {
        pollfd p{ctl.Stdout(), POLLIN, 0};
        if (::poll(&p, 1, 10000) <= 0) break;
        const ssize_t n = ::read(ctl.Stdout(), buf, sizeof buf);
        if (n <= 0) break;
        out.append(buf, static_cast<std::size_t>(n));
    }
    EXPECT_EQ(out.size(), sent.size());
    EXPECT_TRUE(out == sent);

    ctl.CloseStdin();
    EXPECT_EQ(ctl.Wait(), 0) << ReadFile(dir / "err");
    std::filesystem::remove_all(dir);
}

TEST(RtuctlPort, PortHeldByAnotherProgramIsRefused)
{
    UnitPty unit;
    ASSERT_TRUE(unit.Ok());
    const int holder = ::open(unit.Slave().c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    ASSERT_GE(holder, 0);
    ASSERT_EQ(::flock(holder, LOCK_EX | LOCK_NB), 0);
    for (const char* command : {"read", "restart", "console"}) {
        SCOPED_TRACE(command);
        const RunResult r = RunCtl({"-p", unit.Slave(), "--timeout", "2", command});
        EXPECT_EQ(r.code, 2);
        EXPECT_NE(r.err.find("rtuctl: cannot open " + unit.Slave() + ": port in use by another program"),
                  std::string::npos)
            << r.err;
        // The holder is named: this test program.
        EXPECT_NE(r.err.find("(pid " + std::to_string(::getpid()) + ")"), std::string::npos) << r.err;
    }
    ::close(holder);
    const RunResult r = RunCtl({"-b", "115200", "-p", unit.Slave(), "restart"});
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(unit.Read(5), "%RST\r");
}
