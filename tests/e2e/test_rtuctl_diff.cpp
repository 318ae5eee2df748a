// rtuctl diff against rtusim, and between two files.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "Process.h"

using namespace rtu::test;

TEST(RtuctlDiff, EqualAfterExecAndTwoChangedCellsAfterwards)
{
    const auto dir = TempDir("diff");
    const std::string profile = (dir / "p.txt").string();
    SimProcess sim({"--latency-ms", "0", "--baud", "115200"});
    auto ctl = [&](std::vector<std::string> args) {
        args.insert(args.begin(), {"-b", "115200", "-p", sim.Pty()});
        return RunCtl(args);
    };
    ASSERT_EQ(ctl({"read", "--profile", profile}).code, 0);
    RunResult r = ctl({"exec", profile});
    ASSERT_EQ(r.code, 0) << r.out << r.err;
    r = ctl({"diff", profile});
    EXPECT_EQ(r.code, 0) << r.out << r.err;
    EXPECT_EQ(r.out, "equal\n");

    ASSERT_EQ(ctl({"send", "%CS3+4900000000", "%DINPRIO=3,0002,0002"}).code, 0);
    r = ctl({"diff", "--json", profile});
    EXPECT_EQ(r.code, 5) << r.out << r.err;
    const auto json = nlohmann::json::parse(r.out);
    EXPECT_EQ(json["differences"], 2);
    ASSERT_EQ(json["pages"].size(), 2u);
    const auto& phone = json["pages"][0]["lines"][0];
    EXPECT_EQ(json["pages"][0]["page"], "CPageServer");
    EXPECT_EQ(phone["key"], "%CS3");
    EXPECT_EQ(phone["old"], "%CS3+4900000000");      // the unit holds it now
    EXPECT_EQ(phone["new"], "%CS3+4915112340003");   // the file would write it back
    const auto& prio = json["pages"][1]["lines"][0];
    EXPECT_EQ(json["pages"][1]["page"], "CPagePriotab");
    EXPECT_EQ(prio["key"], "%DINPRIO=3,");
    EXPECT_EQ(prio["kind"], "changed");
    std::filesystem::remove_all(dir);
}

TEST(RtuctlDiff, TwoFilesWithoutAUnit)
{
    const auto dir = TempDir("diff2");
    std::ofstream(dir / "a.txt") << "\r\n//Page Device Control phones\r\n%CS0+491\r\n%CS1+492\r\n";
    std::ofstream(dir / "b.txt") << "\r\n//Page Device Control phones\r\n%CS0+491\r\n%CS1+493\r\n%CS2+494\r\n";
    const std::string a = (dir / "a.txt").string(), b = (dir / "b.txt").string();
    struct Case {
        std::vector<std::string> args;
        int code;
        std::string out;
    } cases[] = {
        {{"diff", a, a}, 0, "equal\n"},
        {{"diff", a, b},
         5,
         "  %CS1  changed: +492 -> +493\n"
         "  %CS2  only in " + b + ": %CS2+494\n2 line(s) differ\n"},
        {{"diff", a, (dir / "missing.txt").string()}, 1, ""},
    };
    for (const Case& c : cases) {
        const RunResult r = RunCtl(c.args);
        EXPECT_EQ(r.code, c.code) << r.err;
        // The caption line comes first; it follows the catalog when one is installed.
        const auto body = r.out.find('\n');
        EXPECT_EQ(c.code == 5 ? r.out.substr(body + 1) : r.out, c.out);
    }
    std::filesystem::remove_all(dir);
}
