// rtuctl picture against rtusim's camera: the picture arrives whole, failures end with 3.
#include <gtest/gtest.h>

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

}  // namespace
