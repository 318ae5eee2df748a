// What the unit sends on its own, through rtuctl against rtusim: the camera's picture
// arrives whole and failures end with 3; events are printed as they arrive.
#include <gtest/gtest.h>

#include <cstdio>

#include <nlohmann/json.hpp>

#include "Process.h"

using namespace rtu::test;

namespace {

const std::string kShipped = std::string(RTU_SOURCE_DATA_DIR) + "/sim/camera.jpg";

TEST(RtuctlPicture, WritesTheCamerasPictureByteForByte)
{
    SimProcess sim({"--baud", "115200"});
    ASSERT_FALSE(sim.Pty().empty());
    const auto dir = TempDir("picture");
    const std::string out = (dir / "shot.jpg").string();
    const RunResult r = RunCtl({"-p", sim.Pty(), "picture", "-o", out});
    ASSERT_EQ(r.code, 0) << r.err;
    const std::string shipped = ReadFile(kShipped);
    ASSERT_GT(shipped.size(), 1000u);  // several chunks of the unit's
    EXPECT_EQ(ReadFile(out), shipped);
    // The unit answers in line mode again afterwards.
    EXPECT_EQ(RunCtl({"-p", sim.Pty(), "send", "%DUMP_MMS"}).code, 0);
    std::filesystem::remove_all(dir);
}

TEST(RtuctlPicture, FailuresEndWithNoAnswer)
{
    struct Case {
        const char* mode;
        const char* says;
    };
    const Case cases[] = {
        {"err", "image get error!"},
        {"no-trailer", "image get error!"},  // the unit falls quiet in the middle of the picture
        {"oversized", "jpeg data overload!!"},
    };
    for (const Case& c : cases) {
        SimProcess sim({"--baud", "115200", "--picture-mode", c.mode});
        const auto dir = TempDir(std::string("picture-") + c.mode);
        const std::string out = (dir / "shot.jpg").string();
        const RunResult r = RunCtl({"-p", sim.Pty(), "--timeout", "20", "picture", "-o", out});
        EXPECT_EQ(r.code, 3) << c.mode << " " << r.err;
        EXPECT_NE(r.err.find(c.says), std::string::npos) << c.mode << " " << r.err;
        EXPECT_FALSE(std::filesystem::exists(out)) << c.mode;
        std::filesystem::remove_all(dir);
    }
}

// Runs `rtuctl events` until SIGINT ends it after `seconds`; its stdout and exit status.
std::pair<std::string, int> RunEventsFor(const std::string& pty, int seconds, bool json)
{
    const std::string cmd = "timeout --preserve-status -s INT " + std::to_string(seconds) + " '" + RTUCTL_PATH +
                            "' -p '" + pty + "' events" + (json ? " --json" : "") + " 2>/dev/null";
    std::FILE* pipe = ::popen(cmd.c_str(), "r");
    std::string out;
    if (!pipe) return {out, -1};
    char buffer[4096];
    while (std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe)) out.append(buffer, n);
    const int status = ::pclose(pipe);
    return {out, WIFEXITED(status) ? WEXITSTATUS(status) : -1};
}

TEST(RtuctlEvents, PrintsEachEventAsItArrivesUntilInterrupted)
{
    SimProcess sim({"--event-every-ms", "200"});
    ASSERT_FALSE(sim.Pty().empty());
    const auto [json, code] = RunEventsFor(sim.Pty(), 3, true);
    EXPECT_EQ(code, 0);
    std::istringstream lines(json);
    std::string line;
    int events = 0;
    while (std::getline(lines, line)) {
        const auto e = nlohmann::json::parse(line);
        EXPECT_TRUE(e["event"] == "Digital inputsAlarmSms" || e["event"] == "Digital inputsRestoreSms" ||
                    e["event"] == "Analog inputsAlarm" || e["event"] == "DC/PowerRestore")
            << line;
        EXPECT_NE(e["time"].get<std::string>().find(" ("), std::string::npos) << line;
        ++events;
    }
    EXPECT_GE(events, 3);  // about one every 200 ms for the best part of 3 s

    const auto [text, code2] = RunEventsFor(sim.Pty(), 2, false);
    EXPECT_EQ(code2, 0);
    EXPECT_NE(text.find("\t"), std::string::npos);
}

}  // namespace
