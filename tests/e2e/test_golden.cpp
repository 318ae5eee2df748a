// What `rtuctl read` writes for two known units, kept byte for byte: the profile and the
// JSON export of the simulated unit's default image and of an empty unit. A change to the
// pages, the routing or the export that alters either output shows up here.
#include <gtest/gtest.h>

#include "Process.h"

using namespace rtu::test;

namespace {

struct GoldenCase {
    const char* name;   // file stem under golden/
    const char* image;  // device image the unit starts from; empty: an empty unit
};

constexpr GoldenCase kCases[] = {
    {"default", RTU_SOURCE_DATA_DIR "/sim/default.image"},
    {"empty", ""},
};

std::filesystem::path GoldenDir() { return std::filesystem::path(RTU_GOLDEN_DIR); }

}  // namespace

TEST(Golden, ReadOfAKnownUnitIsByteIdentical)
{
    for (const GoldenCase& c : kCases) {
        const auto dir = TempDir(std::string("golden_") + c.name);
        std::string image = c.image;
        if (image.empty()) {
            image = (dir / "empty.image").string();
            std::ofstream(image) << "";
        }
        SimProcess sim({"--latency-ms", "0", "--image", image});
        ASSERT_FALSE(sim.Pty().empty()) << c.name;
        const RunResult r = RunCtl(
            {"-p", sim.Pty(), "read", "--profile", (dir / "p.txt").string(), "--json", (dir / "p.json").string()});
        ASSERT_EQ(r.code, 0) << c.name << ": " << r.err;
        EXPECT_EQ(ReadFile(dir / "p.txt"), ReadFile(GoldenDir() / (std::string(c.name) + ".profile"))) << c.name;
        EXPECT_EQ(ReadFile(dir / "p.json"), ReadFile(GoldenDir() / (std::string(c.name) + ".json"))) << c.name;
        std::filesystem::remove_all(dir);
    }
}

TEST(Golden, TheCatalogInTheWorkingDirectoryGivesTheCellTexts)
{
    // As the desktop tool: ./gsm.ini first, then the one beside the program.
    const auto dir = TempDir("golden_catalog");
    std::string catalog = ReadFile(std::string(RTU_SOURCE_DATA_DIR) + "/gsm.ini");
    const std::string none = "\nNC=None";
    const auto at = catalog.find(none);
    ASSERT_NE(at, std::string::npos);
    catalog.replace(at, none.size(), "\nNC=Nowhere");
    std::ofstream(dir / "gsm.ini", std::ios::binary) << catalog;
    SimProcess sim({"--latency-ms", "0"});
    const std::string json = (dir / "p.json").string();
    const RunResult r = RunCtlAfter("cd '" + dir.string() + "' && ", {"-p", sim.Pty(), "read", "--json", json});
    ASSERT_EQ(r.code, 0) << r.err;
    const std::string text = ReadFile(json);
    EXPECT_NE(text.find("\"Nowhere\""), std::string::npos);
    EXPECT_EQ(text.find("\"None\""), std::string::npos);
    std::filesystem::remove_all(dir);
}
