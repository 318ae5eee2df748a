// What rtuctl says when the port given is no port it can use, against real files and rtusim.
#include <gtest/gtest.h>

#include <sstream>
#include <thread>

#include "Process.h"

using namespace rtu::test;

namespace {

constexpr int kBusyTries = 50;                      // attempts to meet the port while another program holds it
constexpr std::chrono::milliseconds kBusyPause{100};  // between two attempts

bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// Whether process `pid` holds `path` open.
bool HoldsOpen(pid_t pid, const std::string& path)
{
    std::error_code ec;
    const auto target = std::filesystem::canonical(path, ec);
    for (const auto& fd : std::filesystem::directory_iterator("/proc/" + std::to_string(pid) + "/fd", ec))
        if (std::filesystem::read_symlink(fd.path(), ec) == target) return true;
    return false;
}

TEST(RtuctlPortMessages, APathThatIsNoSerialPortSaysSoAndListsThePorts)
{
    const auto dir = TempDir("notaport");
    const std::string file = (dir / "unit.txt").string();
    std::ofstream(file) << "not a port\n";
    for (const std::string& path : {file, std::string("/dev/null"), dir.string()}) {
        const RunResult r = RunCtl({"-p", path, "send", "%DUMP_SYS"});
        EXPECT_EQ(r.code, 2) << r.err;
        EXPECT_TRUE(Has(r.err, path + ": it is not a serial port")) << r.err;
        EXPECT_TRUE(Has(r.err, "The ports this machine has now:") || Has(r.err, "no serial port now")) << r.err;
        EXPECT_FALSE(Has(r.err, "Choose a port from the list")) << r.err;  // rtuctl shows no list to choose from
    }
    std::filesystem::remove_all(dir);
}

TEST(RtuctlPortMessages, ABusySimulatorPtyNamesTheRealHolderNotTheSimulator)
{
    SimProcess sim({"--event-every-ms", "1000"});
    ASSERT_FALSE(sim.Pty().empty());
    const auto dir = TempDir("busy");
    CtlProcess holder({"-p", sim.Pty(), "events"}, (dir / "holder.err").string());
    // Only once the holder has the port: a try before would take the port from it.
    for (int i = 0; i < kBusyTries && !HoldsOpen(holder.Pid(), sim.Pty()); ++i) std::this_thread::sleep_for(kBusyPause);
    ASSERT_TRUE(HoldsOpen(holder.Pid(), sim.Pty())) << ReadFile(dir / "holder.err");
    const RunResult r = RunCtl({"-p", sim.Pty(), "send", "%DUMP_SYS"});
    ASSERT_EQ(r.code, 2) << r.err;
    EXPECT_TRUE(Has(r.err, "in use by another program")) << r.err;
    EXPECT_TRUE(Has(r.err, "held by rtuctl (pid " + std::to_string(holder.Pid()) + ")")) << r.err;
    std::istringstream lines(r.err);
    std::string line;
    bool simulatorNamed = false;
    while (std::getline(lines, line)) {
        if (!Has(line, "rtusim")) continue;
        simulatorNamed = true;
        EXPECT_FALSE(Has(line, "kill")) << line;  // ending the simulator ends the unit
        EXPECT_TRUE(Has(line, "leave it running")) << line;
    }
    EXPECT_TRUE(simulatorNamed) << r.err;
    std::filesystem::remove_all(dir);
}

}  // namespace
