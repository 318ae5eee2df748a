#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "LinkRig.h"
#include "link/ProfileRunner.h"
#include "link/ProfileWriter.h"

using namespace rtu;
using rtu::test::LinkRig;

namespace {

std::string ReadAll(const std::filesystem::path& p)
{
    std::ifstream in(p, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

std::filesystem::path TempDir()
{
    auto dir = std::filesystem::temp_directory_path() / ("rtu_profile_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    return dir;
}

// Acknowledges whatever waits with `ack` until the runner is done.
ExecSummary RunProfile(LinkRig& rig, std::vector<std::string> lines, AckKind ack = AckKind::Ok)
{
    CProfileRunner runner(rig.link);
    std::optional<ExecSummary> summary;
    EXPECT_TRUE(runner.Start(std::move(lines), [&](const ExecSummary& s) { summary = s; }));
    for (int guard = 0; guard < 1000 && !summary; ++guard) {
        if (ack == AckKind::None) {
            rig.now = *rig.link.NextDeadline();
            rig.link.HandleTime();
        } else {
            rig.Rx(ack == AckKind::Ok ? "CMD OK\r\n" : "CMD ERR\r\n");
        }
    }
    EXPECT_TRUE(summary.has_value());
    return summary.value_or(ExecSummary{});
}

}  // namespace

TEST(ProfileWriter, EveryLineEndsWithOneCrLf)
{
    CProfileWriter w;
    w.WriteText(std::string("\r\n//Page System Main Params\r\n") + "\n");
    w.WriteText("%BPS9600\r\n");
    w.WriteText("%CS1+49\r");
    w.WriteText("\n");
    EXPECT_EQ(w.Written(), "\r\n//Page System Main Params\r\n\r\n%BPS9600\r\n%CS1+49\r\n");
}

TEST(ProfileWriter, ReplacesTheTargetOnlyOnCommit)
{
    const auto dir = TempDir();
    const auto target = dir / "p.txt";
    std::ofstream(target) << "old";
    {
        CProfileWriter w;
        ASSERT_TRUE(w.Open(target.string()));
        w.WriteText("%A\r\n");
        EXPECT_EQ(ReadAll(target), "old");  // an abandoned write leaves the old profile
    }
    EXPECT_EQ(ReadAll(target), "old");
    CProfileWriter w;
    ASSERT_TRUE(w.Open(target.string()));
    w.WriteText("%A\r\n");
    ASSERT_TRUE(w.Commit());
    EXPECT_EQ(ReadAll(target), "%A\r\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), {}), 1);
    std::filesystem::remove_all(dir);
}

TEST(ProfileWriter, UncreatableFileFails)
{
    CProfileWriter w;
    EXPECT_FALSE(w.Open("/nonexistent-dir/p.txt"));
    EXPECT_TRUE(w.Failed());
    EXPECT_NE(w.Error().find("/nonexistent-dir/p.txt"), std::string::npos);
}

TEST(ProfileRunner, LineKindsAndRepeats)
{
    LinkRig rig;
    const ExecSummary s = RunProfile(rig, {"//Page A", "", "%CS1+49\r", "%CS1+49", "\\\\ a note", "%CS2+48", "%CS1+49",
                                    "plain text", "%R\rS\nT\r\n"});
    EXPECT_EQ(rig.wire, (std::vector<std::string>{"%STARTCMD\r", "%CS1+49\r", "%CS2+48\r", "%CS1+49\r", "%RST\r",
                                                  "%COMMITCMD\r"}));
    EXPECT_EQ(s.sent, 4);
    EXPECT_EQ(s.ok, 4);
    EXPECT_TRUE(s.Clean());
    EXPECT_FALSE(rig.link.profileBusy);
}

TEST(ProfileRunner, HeadersOnlySendsTheFramingOnly)
{
    LinkRig rig;
    RunProfile(rig, {"\r", "//Page Device Control phones", "//Page Rom Sms"});
    EXPECT_EQ(rig.wire, (std::vector<std::string>{"%STARTCMD\r", "%COMMITCMD\r"}));
}

TEST(ProfileRunner, RefusedAndUnansweredLinesAreCounted)
{
    LinkRig err;
    ExecSummary s = RunProfile(err, {"%A", "%B"}, AckKind::Err);
    EXPECT_EQ(s.err, 2);
    EXPECT_FALSE(s.Clean());
    LinkRig silent;
    s = RunProfile(silent, {"%A", "%B"}, AckKind::None);
    EXPECT_EQ(s.unanswered, 2);
    EXPECT_EQ(silent.wire.size(), 4u);  // no line is repeated
    // Bounds: 3000 for framing lines, 9000 for each profile line, each followed by the
    // settling spell before the next line.
    EXPECT_EQ(silent.now, 3000 + 9000 * 2 + 3000 + 3 * CSequencer::kSettleMinMs);
}

TEST(ProfileRunner, ClosingStopsAtTheNextLineButCommits)
{
    LinkRig rig;
    CProfileRunner runner(rig.link);
    std::optional<ExecSummary> summary;
    runner.Start({"%A", "%B", "%C"}, [&](const ExecSummary& s) { summary = s; });
    rig.Rx("CMD OK\r\n");  // start line
    rig.link.closingDown = true;
    rig.Rx("CMD OK\r\n");  // %A
    rig.Rx("CMD OK\r\n");  // commit
    ASSERT_TRUE(summary.has_value());
    EXPECT_TRUE(summary->stopped);
    EXPECT_EQ(rig.wire, (std::vector<std::string>{"%STARTCMD\r", "%A\r", "%COMMITCMD\r"}));
}

TEST(ProfileRunner, SecondRunIsRefusedWhileBusy)
{
    LinkRig rig;
    CProfileRunner a(rig.link), b(rig.link);
    EXPECT_TRUE(a.Start({"%A"}));
    EXPECT_FALSE(b.Start({"%B"}));
}
