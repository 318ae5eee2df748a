#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
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

// Every line end, however the text ends its lines, becomes one CR LF; a CR LF stays one.
TEST(ProfileWriter, LineEndsOfAnyKindBecomeCrLf)
{
    const struct {
        const char* text;
        const char* written;
    } cases[] = {
        {"a\r\rb", "a\r\n\r\nb"},           {"\n\n", "\r\n\r\n"}, {"\r\r\n", "\r\n\r\n"},
        {"x\ry\nz\r\n", "x\r\ny\r\nz\r\n"}, {"no end", "no end"}, {"\r\n\r", "\r\n"},
    };
    for (const auto& c : cases) {
        CProfileWriter w;
        w.WriteText(c.text);
        EXPECT_EQ(w.Written(), c.written) << c.text;
    }
}

// A line written with its line feed reads as the text and the line feed written apart, a
// carriage return left pending by the text before included.
TEST(ProfileWriter, LinesEndLikeTextWithItsLineFeed)
{
    const char* const cases[] = {"%BPS9600", "%CS1+49\r", "\r", "", "%A\r\n", "\n%B"};
    for (const char* before : {"", "x\r"})
        for (const char* text : cases) {
            CProfileWriter line;
            CProfileWriter apart;
            line.WriteText(before);
            apart.WriteText(before);
            line.WriteLine(text);
            apart.WriteText(text);
            apart.WriteText("\n");
            EXPECT_EQ(line.Written(), apart.Written()) << before << text;
        }
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

namespace {

enum class Decision { Unset, GoOn, StopRun };

struct Scripted {
    std::optional<ExecSummary> summary;
    int asked = 0;
    int notSentWhenAsked = -1;
};

// Answers each file line with the next scripted acknowledgement (framing lines with "CMD OK");
// a None lets the bound and the settling spell run out.
Scripted RunScripted(LinkRig& rig, std::vector<std::string> lines, std::vector<AckKind> script,
                     Decision decision = Decision::Unset)
{
    CProfileRunner runner(rig.link);
    Scripted out;
    if (decision != Decision::Unset)
        runner.onUnitSilent = [&](const ExecSummary& s) {
            ++out.asked;
            out.notSentWhenAsked = s.notSent;
        };
    EXPECT_TRUE(runner.Start(lines, [&](const ExecSummary& s) { out.summary = s; }));
    std::size_t next = 0;
    for (int guard = 0; guard < 1000 && !out.summary; ++guard) {
        CSequencer& seq = rig.link.Sequencer();
        if (runner.Paused()) {
            decision == Decision::GoOn ? runner.Continue() : runner.Stop();
        } else if (seq.Waiting()) {
            const bool framing = rig.wire.back().find("CMD\r") != std::string::npos;
            const AckKind ack = framing ? AckKind::Ok : next < script.size() ? script[next++] : AckKind::Ok;
            if (ack == AckKind::None) {
                rig.now = *seq.NextDeadline();
                rig.link.HandleTime();
            } else {
                rig.Rx(ack == AckKind::Err ? "CMD ERR\r\n" : "CMD OK\r\n");
            }
        } else {
            rig.now = *seq.NextDeadline();  // the settling spell after an unanswered line
            rig.link.HandleTime();
        }
    }
    EXPECT_TRUE(out.summary.has_value());
    return out;
}

}  // namespace

TEST(ProfileRunner, LineTooLongForOneBlockIsRefusedAndTheNextGoesAlone)
{
    LinkRig rig;
    const std::string tooLong = "%CS1+" + std::string(1100, '4');
    const ExecSummary s = RunScripted(rig, {"%A", tooLong, "%B"}, {}).summary.value();
    EXPECT_EQ(rig.wire, (std::vector<std::string>{"%STARTCMD\r", "%A\r", "%B\r", "%COMMITCMD\r"}));
    EXPECT_EQ(s.refused, 1);
    EXPECT_EQ(s.sent, 2);
    EXPECT_FALSE(s.Clean());
}

TEST(ProfileRunner, UnansweredLinesInARowPauseTheRun)
{
    using A = AckKind;
    const std::vector<std::string> lines{"%A", "%B", "%C", "%D", "%E"};
    const struct {
        const char* name;
        std::vector<A> script;
        Decision decision;
        int asked;
        ExecStop stop;
        int sent, unanswered, notSent;
        bool committed;
    } cases[] = {
        {"stop when told", {A::None, A::None, A::None}, Decision::StopRun, 1, ExecStop::UnitSilent, 3, 3, 2, false},
        {"nobody to ask stops", {A::None, A::None, A::None}, Decision::Unset, 0, ExecStop::UnitSilent, 3, 3, 2, false},
        {"go on when told",
         {A::None, A::None, A::None, A::Ok, A::None},
         Decision::GoOn,
         1,
         ExecStop::None,
         5,
         4,
         0,
         true},
        {"refusals are answers",
         {A::Err, A::Err, A::Err, A::Err, A::Err},
         Decision::StopRun,
         0,
         ExecStop::None,
         5,
         0,
         0,
         true},
        {"an answer breaks the row",
         {A::None, A::None, A::Ok, A::None, A::None},
         Decision::StopRun,
         0,
         ExecStop::None,
         5,
         4,
         0,
         true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        LinkRig rig;
        const Scripted r = RunScripted(rig, lines, c.script, c.decision);
        ASSERT_TRUE(r.summary.has_value());
        EXPECT_EQ(r.asked, c.asked);
        if (c.asked > 0) {
            EXPECT_EQ(r.notSentWhenAsked, 2);
        }
        EXPECT_EQ(r.summary->stop, c.stop);
        EXPECT_EQ(r.summary->sent, c.sent);
        EXPECT_EQ(r.summary->unanswered, c.unanswered);
        EXPECT_EQ(r.summary->notSent, c.notSent);
        EXPECT_EQ(r.summary->committed, c.committed);
        EXPECT_EQ(rig.wire.back() == "%COMMITCMD\r", c.committed);
        EXPECT_FALSE(rig.link.profileBusy);
    }
}

TEST(ProfileRunner, RefusedLoginStopsWithoutCommit)
{
    // The refusal comes while the start line waits, or while the first line is held back
    // by the settling spell after an unanswered start line.
    for (const bool startTimedOut : {false, true}) {
        SCOPED_TRACE(startTimedOut ? "line held back" : "start line waiting");
        LinkRig rig;
        CProfileRunner runner(rig.link);
        std::optional<ExecSummary> summary;
        runner.Start(std::vector<std::string>{"%A", "%B", "%C"}, [&](const ExecSummary& s) { summary = s; });
        if (startTimedOut) {
            rig.now = *rig.link.NextDeadline();
            rig.link.HandleTime();
        }
        for (int i = 0; i <= CDeviceLink::kMaxLoginRetries; ++i) {
            rig.Rx("Login Failed\r\n");
            rig.RunPosted();
        }
        ASSERT_TRUE(summary.has_value());
        EXPECT_EQ(summary->stop, ExecStop::LoginRefused);
        EXPECT_EQ(summary->notSent, 3);
        EXPECT_FALSE(summary->committed);
        EXPECT_FALSE(rig.link.profileBusy);
        EXPECT_EQ(rig.Wire().find("%A"), std::string::npos);
        EXPECT_EQ(rig.Wire().find("%COMMITCMD"), std::string::npos);
        // Nothing is left queued to go out later.
        rig.now += 60000;
        rig.link.HandleTime();
        EXPECT_EQ(rig.Wire().find("%A"), std::string::npos);
    }
}

TEST(ProfileRunner, EveryLineIsRecordedWithItsOutcomeAndTime)
{
    LinkRig rig;
    CProfileRunner runner(rig.link);
    std::optional<ExecSummary> summary;
    const std::string tooLong = "%" + std::string(CProfileReader::kMaxCommandBytes, 'X');
    CProfileReader reader;
    reader.KeepHeaders(true);
    ASSERT_TRUE(reader.ReadText("//Page One\r\n%A\r\n%A\r\n%B\r\n" + tooLong + "\r\n//Page Two\r\n%C\r\n%D\r\n"));
    ASSERT_TRUE(runner.Start(reader.TakeLines(), [&](const ExecSummary& s) { summary = s; }));
    auto timeOut = [&] {
        rig.now = *rig.link.NextDeadline();
        rig.link.HandleTime();
    };
    rig.Rx("CMD OK\r\n");  // start line
    rig.now += 40;
    rig.Rx("CMD OK\r\n");   // %A after 40 ms
    rig.Rx("CMD ERR\r\n");  // %B
    timeOut();              // %C unanswered ...
    rig.Rx("CMD OK\r\n");   // ... and answered while the sender settles
    timeOut();              // the settling ends, %D goes
    rig.Rx("CMD OK\r\n");   // %D
    rig.Rx("CMD OK\r\n");   // commit
    ASSERT_TRUE(summary.has_value());
    EXPECT_EQ(summary->late, 1);
    struct Expected {
        std::string line;
        LineOutcome outcome;
    };
    const std::vector<Expected> expected = {
        {"%A", LineOutcome::Ok},     {"%A", LineOutcome::Repeated},
        {"%B", LineOutcome::CmdErr}, {tooLong.substr(0, CProfileReader::kRefusedPreview), LineOutcome::Refused},
        {"%C", LineOutcome::Late},   {"%D", LineOutcome::Ok}};
    const auto& records = runner.Records();
    ASSERT_EQ(records.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(records[i].line, expected[i].line) << i;
        EXPECT_EQ(records[i].outcome, expected[i].outcome) << i << " " << OutcomeName(records[i].outcome);
    }
    EXPECT_EQ(records[0].doneAt - records[0].sentAt, 40);
    EXPECT_EQ(records[4].doneAt - records[4].sentAt, CProfileRunner::kLineWaitMs);
    EXPECT_EQ(records[3].section, "//Page One");
    EXPECT_EQ(records[5].section, "//Page Two");
}

// A run whose start or commit line the unit did not acknowledge is no success.
TEST(ProfileRunner, FramingLinesMustBeAcknowledged)
{
    struct Case {
        const char* name;
        const char* startAnswer;  // nullptr: no answer within the bound
        const char* commitAnswer;
        int wantFailed;
    };
    const Case cases[] = {
        {"both acknowledged", "CMD OK\r\n", "CMD OK\r\n", 0},
        {"start unanswered", nullptr, "CMD OK\r\n", 1},
        {"start refused", "CMD ERR\r\n", "CMD OK\r\n", 1},
        {"commit unanswered", "Please wait\r\n", nullptr, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LinkRig rig;
        CProfileRunner runner(rig.link);
        std::optional<ExecSummary> summary;
        runner.Start(std::vector<std::string>{"%A"}, [&](const ExecSummary& s) { summary = s; });
        auto answer = [&rig](const char* text) {
            if (text) {
                rig.Rx(text);
                return;
            }
            rig.now = *rig.link.NextDeadline();
            rig.link.HandleTime();
        };
        answer(c.startAnswer);
        while (rig.wire.size() < 2) {  // a settling spell may hold the line back
            rig.now = *rig.link.NextDeadline();
            rig.link.HandleTime();
        }
        rig.Rx("CMD OK\r\n");  // %A
        while (rig.wire.size() < 3) {
            rig.now = *rig.link.NextDeadline();
            rig.link.HandleTime();
        }
        answer(c.commitAnswer);
        ASSERT_TRUE(summary.has_value());
        EXPECT_EQ(summary->ok, 1);
        EXPECT_EQ(summary->framingFailed, c.wantFailed);
        EXPECT_EQ(summary->Clean(), c.wantFailed == 0);
    }
}

// A line is counted as sent only when the port took it; a run that loses its port (or is
// ended from outside) stops without the commit line, and the lines it did not send say so.
TEST(ProfileRunner, RunEndsWhenThePortTakesNoMoreOrIsAborted)
{
    struct Case {
        const char* name;
        bool portCloses;  // else: aborted while %B waits
        ExecStop wantStop;
        int wantSent;
        int wantNotSent;
    };
    const Case cases[] = {
        {"port refuses %B", true, ExecStop::PortLost, 1, 2},
        {"aborted while %B waits", false, ExecStop::UnitSilent, 2, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        bool portOpen = true;
        std::vector<std::string> wire;
        Millis now = 0;
        CDeviceLink link(
            [&](std::string_view b) {
                if (portOpen) wire.emplace_back(b);
                return portOpen;
            },
            [&] { return now; });
        CProfileRunner runner(link);
        std::optional<ExecSummary> summary;
        runner.Start(std::vector<std::string>{"%A", "%B", "%C"}, [&](const ExecSummary& s) { summary = s; });
        link.HandleReceive("CMD OK\r\n");  // start
        if (c.portCloses) portOpen = false;
        link.HandleReceive("CMD OK\r\n");  // %A; %B goes next
        if (!c.portCloses) runner.Abort(ExecStop::UnitSilent);
        ASSERT_TRUE(summary.has_value());
        EXPECT_EQ(summary->stop, c.wantStop);
        EXPECT_EQ(summary->sent, c.wantSent);
        EXPECT_EQ(summary->notSent, c.wantNotSent);
        EXPECT_FALSE(summary->committed);
        EXPECT_EQ(std::count(wire.begin(), wire.end(), "%COMMITCMD\r"), 0);
        EXPECT_EQ(runner.Records().size(), static_cast<std::size_t>(c.wantSent));
        EXPECT_FALSE(runner.Running());
    }
}
