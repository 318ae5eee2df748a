// rtuctl convert: profiles into JSON and back without a unit, the batch-provisioning road
// (change one value in JSON, convert, compare with the unit, execute, read back) against
// rtusim, and faulty input refused with nothing written.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <nlohmann/json.hpp>

#include "Process.h"

using namespace rtu::test;

namespace {

std::string Golden(const std::string& name) { return (std::filesystem::path(RTU_GOLDEN_DIR) / name).string(); }

unsigned Mode(const std::string& path)
{
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 ? st.st_mode & 0777u : 0u;
}

}  // namespace

TEST(RtuctlConvert, GoldenProfilesGoToJsonAndBackByteForByte)
{
    const auto dir = TempDir("convert_golden");
    for (const char* name : {"default.profile", "empty.profile"}) {
        const std::string json = (dir / "p.json").string(), back = (dir / "p.txt").string();
        RunResult r = RunCtl({"convert", Golden(name), "--json", json});
        ASSERT_EQ(r.code, 0) << name << ": " << r.err;
        r = RunCtl({"convert", json, "--profile", back});
        ASSERT_EQ(r.code, 0) << name << ": " << r.err;
        EXPECT_EQ(ReadFile(back), ReadFile(Golden(name))) << name;
        EXPECT_EQ(Mode(json), 0600u) << name;
        EXPECT_EQ(Mode(back), 0600u) << name;
    }
    std::filesystem::remove_all(dir);
}

TEST(RtuctlConvert, AChangedJsonIsComparedExecutedAndReadBack)
{
    const auto dir = TempDir("convert_unit");
    const std::string base = (dir / "base.json").string(), unitJson = (dir / "unit-42.json").string();
    const std::string profile = (dir / "unit-42.txt").string(), readBack = (dir / "read.txt").string();
    ASSERT_EQ(RunCtl({"convert", Golden("default.profile"), "--json", base}).code, 0);
    auto values = nlohmann::json::parse(ReadFile(base));
    values["CPageServer"]["4001"][3][1] = "+4900000042";
    std::ofstream(unitJson) << values.dump(2);
    RunResult r = RunCtl({"convert", unitJson, "--profile", profile});
    ASSERT_EQ(r.code, 0) << r.err;

    // JSON and profile compare on either side.
    r = RunCtl({"diff", "--json", Golden("default.profile"), unitJson});
    EXPECT_EQ(r.code, 5) << r.out << r.err;
    const auto diff = nlohmann::json::parse(r.out);
    EXPECT_EQ(diff["differences"], 1);
    EXPECT_EQ(diff["pages"][0]["page"], "CPageServer");
    EXPECT_EQ(diff["pages"][0]["lines"][0]["old"], "%CS3+4915112340003");
    EXPECT_EQ(diff["pages"][0]["lines"][0]["new"], "%CS3+4900000042");
    EXPECT_EQ(RunCtl({"diff", unitJson, profile}).code, 0);

    std::ofstream(dir / "empty.image") << "";
    SimProcess sim({"--latency-ms", "0", "--baud", "115200", "--image", (dir / "empty.image").string()});
    ASSERT_FALSE(sim.Pty().empty());
    auto ctl = [&](std::vector<std::string> args) {
        args.insert(args.begin(), {"-b", "115200", "-p", sim.Pty()});
        return RunCtl(args);
    };
    r = ctl({"exec", "--no-backup", profile});
    ASSERT_EQ(r.code, 0) << r.out << r.err;
    r = ctl({"read", "--profile", readBack});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(ReadFile(readBack), ReadFile(profile));
    r = ctl({"diff", unitJson});
    EXPECT_EQ(r.code, 0) << r.out << r.err;
    std::filesystem::remove_all(dir);
}

TEST(RtuctlConvert, FaultyInputIsNamedAndNothingIsWritten)
{
    const auto dir = TempDir("convert_bad");
    struct Case {
        const char* file;
        std::string content;
        const char* option;  // what the file is converted to
        const char* named;   // a part of the message
    };
    const Case cases[] = {
        {"binary.txt", std::string("\x7f" "ELF\x02\x01\x01\0\0\0", 10), "--json", "NUL bytes"},
        {"binary.json", std::string("\x1f\x8b\x08\0\0\0", 6), "--profile", "not valid JSON"},
        {"list.json", "[{\"CPageMainParams\": {}}]", "--profile", "not an object of pages"},
        {"page.json", R"({"CPageMainParams": {"1019": "RTU-7"}, "CPageNoSuch": {"1": 0}})", "--profile",
         "unknown page \"CPageNoSuch\""},
        {"id.json", R"({"CPageAlarmParams": {"1091": 1, "7777": 1}})", "--profile",
         "CPageAlarmParams: unknown control id \"7777\""},
        {"type.json", R"({"CPageMainParams": {"1016": 9600}})", "--profile", "CPageMainParams 1016: a text"},
        {"select.json", R"({"CPageMainParams": {"1271": "5"}})", "--profile", "CPageMainParams 1271: a whole number"},
        {"stray.txt", "\r\n//Page Device Control phones\r\n%CS0+491\r\n%NOSUCH1\r\n", "--json", "line 4: %NOSUCH1"},
    };
    for (const Case& c : cases) {
        const std::string in = (dir / c.file).string(), out = (dir / "out").string();
        std::ofstream(in, std::ios::binary) << c.content;
        const RunResult r = RunCtl({"convert", in, c.option, out});
        EXPECT_EQ(r.code, 1) << c.file << ": " << r.err;
        EXPECT_NE(r.err.find(c.named), std::string::npos) << c.file << ": " << r.err;
        EXPECT_NE(r.err.find("nothing was written"), std::string::npos) << c.file << ": " << r.err;
        EXPECT_FALSE(std::filesystem::exists(out)) << c.file;
    }
    std::filesystem::remove_all(dir);
}
