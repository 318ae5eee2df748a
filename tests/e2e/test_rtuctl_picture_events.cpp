// What the unit sends on its own, through rtuctl against rtusim: the camera's picture
// arrives whole and failures end with 3; events are printed as they arrive.
#include <gtest/gtest.h>


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
        const char* notSays;
    };
    const Case cases[] = {
        {"err", "image get error!", "end marker"},
        // The unit falls quiet in the middle of the picture: not the unit's own error.
        {"no-trailer", "stopped before its end marker", "image get error!"},
        {"oversized", "jpeg data overload!!", "image get error!"},
    };
    for (const Case& c : cases) {
        SimProcess sim({"--baud", "115200", "--picture-mode", c.mode});
        const auto dir = TempDir(std::string("picture-") + c.mode);
        const std::string out = (dir / "shot.jpg").string();
        const RunResult r = RunCtl({"-p", sim.Pty(), "--timeout", "20", "picture", "-o", out});
        EXPECT_EQ(r.code, 3) << c.mode << " " << r.err;
        EXPECT_NE(r.err.find(c.says), std::string::npos) << c.mode << " " << r.err;
        EXPECT_EQ(r.err.find(c.notSays), std::string::npos) << c.mode << " " << r.err;
        EXPECT_FALSE(std::filesystem::exists(out)) << c.mode;
        std::filesystem::remove_all(dir);
    }
}

TEST(RtuctlPicture, ArrivesWholeWhileEventsArrive)
{
    // Events every 100 ms, and one in the same write as the picture's end marker.
    SimProcess sim({"--baud", "115200", "--event-every-ms", "100", "--event-after-picture"});
    ASSERT_FALSE(sim.Pty().empty());
    const auto dir = TempDir("picture-events");
    const std::string out = (dir / "shot.jpg").string();
    for (int run = 0; run < 2; ++run) {
        const RunResult r = RunCtl({"-p", sim.Pty(), "picture", "-o", out});
        ASSERT_EQ(r.code, 0) << run << " " << r.err;
        EXPECT_EQ(ReadFile(out), ReadFile(kShipped)) << run;
    }
    std::filesystem::remove_all(dir);
}

TEST(RtuctlEvents, PrintsEachEventAsItArrivesUntilInterrupted)
{
    SimProcess sim({"--event-every-ms", "200"});
    ASSERT_FALSE(sim.Pty().empty());
    const RunResult json = RunCtlInterrupted(3, {"-p", sim.Pty(), "events", "--json"});
    EXPECT_EQ(json.code, 0) << json.err;
    std::istringstream lines(json.out);
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

    const RunResult text = RunCtlInterrupted(2, {"-p", sim.Pty(), "events"});
    EXPECT_EQ(text.code, 0) << text.err;
    EXPECT_NE(text.out.find("\t"), std::string::npos);
}

}  // namespace
