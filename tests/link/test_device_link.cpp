#include <gtest/gtest.h>

#include <algorithm>
#include <optional>

#include "LinkRig.h"

using namespace rtu;
using rtu::test::LinkRig;

TEST(ConsoleState, TransferFlagsAndAcknowledgement)
{
    struct Case {
        const char* line;
        bool recv, cmdErr, upload, connected, ack;
    };
    const Case cases[] = {
        {"CMD ERR", false, true, false, false, true},     {"+RECV: 12 CMD ERR", true, false, false, false, true},
        {"FILEUPL OK", false, false, true, false, false}, {"$CONNECTED", false, false, false, true, false},
        {"CMD OK", false, false, false, false, true},     {"Please wait...", false, false, false, false, true},
        {"$BPS 9600", false, false, false, false, false},
    };
    for (const Case& c : cases) {
        LinkRig rig;
        rig.Rx(std::string(c.line) + "\r\n");
        const auto& s = rig.link.Console();
        EXPECT_EQ(s.RecvSeen, c.recv) << c.line;
        EXPECT_EQ(s.CmdErrSeen, c.cmdErr) << c.line;
        EXPECT_EQ(s.FileUploadOk, c.upload) << c.line;
        EXPECT_EQ(s.ConnectedSeen, c.connected) << c.line;
        EXPECT_EQ(s.AckReceived, c.ack) << c.line;
    }
}

TEST(ConsoleState, StatusAndModeTexts)
{
    struct Case {
        const char* line;
        const char* status;
        const char* mode;  // nullptr: unchanged
        int beeps;
    };
    const Case cases[] = {
        {"Waiting module...", "Poweruping.....", nullptr, 0},
        {"Detecting cmos camera", "Initing cmos camera.....", nullptr, 0},
        {"System init Done...", "Powerup success", nullptr, 0},
        {"Machine timer supported!", "System starting....", nullptr, 0},
        {"come in setup mode", "Come into setup mode success", "Come into setup mode success", 1},
        {"Network Registing...", "Network registing......", nullptr, 0},
        {"Press '%%%%' to enter setup", "RTU power uping...", "", 0},
        {"Working mode now", "Come into working mode", "Come into working mode", 0},
        {"Attaching GPRS", "GPRS attaching.....", nullptr, 0},
        {"$DUMPR END", "Reload successfully, connected with PC!", nullptr, 1},
    };
    for (const Case& c : cases) {
        LinkRig rig;
        rig.Rx(std::string(c.line) + "\r\n");
        ASSERT_FALSE(rig.status.empty()) << c.line;
        EXPECT_EQ(rig.status.back(), c.status) << c.line;
        if (c.mode) {
            ASSERT_EQ(rig.modes.size(), 1u) << c.line;
            EXPECT_EQ(rig.modes[0], c.mode) << c.line;
        } else {
            EXPECT_TRUE(rig.modes.empty()) << c.line;
        }
        EXPECT_EQ(rig.beeps, c.beeps) << c.line;
        EXPECT_TRUE(rig.wire.empty()) << "a status line sends nothing while no setup entry runs: " << c.line;
    }
}

TEST(ConsoleState, DumprLogsInAndLoginFailedLogsOut)
{
    LinkRig rig;
    rig.Rx("$DUMPR\r\n");
    EXPECT_TRUE(rig.link.Console().LoggedIn);
    rig.Rx("Login Failed\r\n");
    EXPECT_FALSE(rig.link.Console().LoggedIn);
    EXPECT_EQ(rig.status.back(), "Password is incorrect!!");
    EXPECT_EQ(rig.posted, std::vector<int>{cmd::kLoginRetry});
    EXPECT_EQ(rig.beeps, 2);
}

TEST(Login, UnitAsksForThePassword)
{
    for (const char* prompt : {"please input password", "Console started, please login"}) {
        LinkRig rig;
        rig.link.password = "secret";
        rig.Rx(std::string(prompt) + "\r\n");
        EXPECT_EQ(rig.wire, (std::vector<std::string>{"secret", "\r"})) << prompt;
    }
}

TEST(Login, ThreeRetriesThenTheMessage)
{
    LinkRig rig;
    rig.link.password = "wrong";
    for (int attempt = 1; attempt <= 3; ++attempt) {
        rig.Rx("Login Failed\r\n");
        rig.RunPosted();
        EXPECT_EQ(rig.link.Console().LoginAttempts, attempt);
    }
    EXPECT_EQ(rig.Wire(), "wrong\rwrong\rwrong\r");
    EXPECT_TRUE(rig.messages.empty());
    rig.Rx("Login Failed\r\n");
    rig.RunPosted();
    EXPECT_EQ(rig.messages, std::vector<std::string>{"The login password is incorrect!"});
    EXPECT_EQ(rig.link.Console().LoginAttempts, 0);
    EXPECT_EQ(rig.Wire(), "wrong\rwrong\rwrong\r");  // nothing more sent
}

TEST(Login, SuccessResetsAttemptsAndReloads)
{
    LinkRig rig;
    rig.Rx("Login Failed\r\n");
    rig.RunPosted();
    rig.wire.clear();
    rig.Rx("Login Success\r\n");
    EXPECT_EQ(rig.link.Console().LoginAttempts, 0);
    EXPECT_EQ(rig.status.back(), "Logging successfully");
    rig.RunPosted();
    EXPECT_EQ(rig.wire, (std::vector<std::string>{"%DUMPS\r", "%DUMPR\r"}));
}

TEST(Login, ButtonRules)
{
    LinkRig rig;
    rig.link.password = "";
    rig.link.Login();
    EXPECT_EQ(rig.wire, std::vector<std::string>{"\r"});  // an empty password sends only the CR
    rig.Rx("$DUMPR\r\n");
    rig.wire.clear();
    rig.link.Login();
    EXPECT_TRUE(rig.wire.empty());
    EXPECT_EQ(rig.messages, std::vector<std::string>{"You have logined!"});
}

TEST(SetupMode, BurstThenAgainOnThePressPrompt)
{
    LinkRig rig;
    rig.link.HandleCommand(cmd::kSetup);
    EXPECT_EQ(rig.wire, std::vector<std::string>{"%%%%%%%%%%%%"});
    EXPECT_TRUE(rig.link.Console().AwaitingPressPrompt);
    rig.Rx("Waiting module...\r\nPress '%%%%' to enter setup mode\r\n");
    EXPECT_FALSE(rig.link.Console().AwaitingPressPrompt);
    EXPECT_EQ(rig.posted, std::vector<int>{cmd::kSetupBurstAgain});
    rig.RunPosted();
    EXPECT_EQ(rig.wire, (std::vector<std::string>{"%%%%%%%%%%%%", "%%%%%%%%%%%%"}));
    rig.Rx("Press any key\r\n");  // only once per entry
    EXPECT_TRUE(rig.posted.empty());
    rig.Rx("come in setup mode\r\n");
    EXPECT_EQ(rig.modes.back(), "Come into setup mode success");
}

TEST(SetupMode, RestartCancelsTheEntry)
{
    LinkRig rig;
    rig.link.EnterSetupMode();
    rig.link.HandleCommand(cmd::kRestart);
    EXPECT_FALSE(rig.link.Console().AwaitingPressPrompt);
    rig.Rx("Press '%%%%'\r\n");
    EXPECT_TRUE(rig.posted.empty());
    EXPECT_EQ(rig.wire.back(), "%RST\r");
}

TEST(DeviceCommands, ReloadAndDefaultsBytes)
{
    LinkRig rig;
    int cleared = 0;
    rig.link.SetReloadClearer([&] { ++cleared; });
    rig.link.HandleCommand(cmd::kReload);
    EXPECT_EQ(rig.wire, (std::vector<std::string>{"%DUMPS\r", "%DUMPR\r"}));
    EXPECT_EQ(cleared, 1);
    rig.wire.clear();
    rig.link.HandleCommand(cmd::kDefaults);
    EXPECT_EQ(rig.wire, std::vector<std::string>{"%ATF\r"});
    rig.RunPosted();
    EXPECT_EQ(rig.wire, (std::vector<std::string>{"%ATF\r", "%DUMPS\r", "%DUMPR\r"}));
    EXPECT_EQ(cleared, 2);
}

TEST(Progress, LinesAndAcknowledgementsDriveTheWindow)
{
    LinkRig rig;
    rig.Rx("$BPS 9600\r\n");
    const auto& p = rig.link.Progress();
    EXPECT_TRUE(p.view().visible);
    EXPECT_EQ(p.view().title, "Reading");
    EXPECT_EQ(p.countDown(), 4);
    rig.Rx("CMD OK\r\n");
    EXPECT_TRUE(p.done());
    EXPECT_EQ(p.countDown(), 8);
}

TEST(Progress, BusyGuardReenablesTheButtons)
{
    LinkRig rig;
    auto& p = rig.link.Progress();
    std::vector<bool> calls;
    p.onPageButtons = [&](bool on) { calls.push_back(on); };
    rig.link.HandleCommand(cmd::kPageBusy);
    ASSERT_EQ(calls, std::vector<bool>{false});
    for (int i = 0; i < CSysProgress::kGuardTicks - 1; ++i) p.Tick();
    EXPECT_FALSE(p.pageButtonsEnabled());
    p.Tick();
    EXPECT_TRUE(p.pageButtonsEnabled());
    EXPECT_FALSE(p.NeedsTicks());
}

TEST(Picture, BytesAreNeverCutIntoLines)
{
    LinkRig rig;
    const std::string jpeg = std::string("\xFF\xD8\r\n$BPS 1\r\nCMD OK\r\n", 20) + std::string(40, 'j');
    EXPECT_EQ(rig.link.HandleReceive("$X 1\r\n$IMAGE_START\r\n" + jpeg.substr(0, 10)), 1);
    rig.Rx(jpeg.substr(10));
    EXPECT_FALSE(rig.link.Console().AckReceived);  // the "CMD OK" inside the picture is picture data
    rig.Rx("$IMAGE_END\r\n");
    EXPECT_EQ(rig.posted, std::vector<int>{cmd::kSavePicture});
    EXPECT_EQ(rig.link.Picture().Image(), jpeg);
    EXPECT_FALSE(rig.link.Picture().Active());
    rig.Rx("CMD OK\r\n");  // line mode again
    EXPECT_TRUE(rig.link.Console().AckReceived);
}

TEST(Picture, OverflowEndsTheTransfer)
{
    LinkRig rig;
    rig.Rx("$IMAGE_START\r\n");
    rig.Rx(std::string(CImageCollector::kImageBufferSize - 1, 'x'));
    EXPECT_TRUE(rig.link.Picture().Active());
    rig.Rx("xx");  // one byte more than a picture and its trailer may take
    EXPECT_EQ(rig.status.back(), "jpeg data overload!!");
    EXPECT_FALSE(rig.link.Picture().Active());
    EXPECT_EQ(rig.posted, std::vector<int>{cmd::kPictureFailed});
}

TEST(Picture, ExactlyFullPictureIsAccepted)
{
    LinkRig rig;
    rig.Rx("$IMAGE_START\r\n");
    const std::string body(CImageCollector::kImageBufferSize - CImageCollector::kTrailer.size(), 'b');
    rig.Rx(body);
    rig.Rx("$IMAGE_END\r\n");
    EXPECT_EQ(rig.posted, std::vector<int>{cmd::kSavePicture});
    EXPECT_EQ(rig.link.Picture().Image().size(), body.size());
}

TEST(Reset, LeavesNothingOfTheLastExchange)
{
    struct Case {
        const char* name;
        void (*dirty)(LinkRig&);
    };
    const Case cases[] = {
        {"partial line", [](LinkRig& r) { r.Rx("$BPS 96"); }},
        {"picture in progress", [](LinkRig& r) { r.Rx("$IMAGE_START\r\nxx"); }},
        {"commands queued and in flight",
         [](LinkRig& r) {
             r.link.Reload();
             r.link.Sequencer().EnqueueCommand("%A\r", 100);
         }},
        {"console flags",
         [](LinkRig& r) {
             r.Rx("+RECV: 1\r\nCMD ERR\r\n$DUMPR\r\n");
             r.link.EnterSetupMode();
         }},
        {"progress and busy buttons",
         [](LinkRig& r) {
             r.Rx("$BPS 1\r\n");
             r.link.HandleCommand(cmd::kPageBusy);
         }},
        {"settings",
         [](LinkRig& r) {
             r.link.password = "x";
             r.link.profileBusy = true;
             r.link.closingDown = true;
         }},
    };
    for (const Case& c : cases) {
        LinkRig rig;
        c.dirty(rig);
        rig.link.Reset();
        const CConsoleState& s = rig.link.Console();
        EXPECT_TRUE(!s.AckReceived && !s.LoggedIn && s.LoginAttempts == 0 && !s.AwaitingPressPrompt && !s.RecvSeen &&
                    !s.CmdErrSeen && !s.FileUploadOk && !s.ConnectedSeen && s.LastAck == AckKind::None)
            << c.name;
        EXPECT_TRUE(rig.link.Sequencer().Idle()) << c.name;
        EXPECT_FALSE(rig.link.Picture().Active()) << c.name;
        CSysProgress& p = rig.link.Progress();
        EXPECT_TRUE(!p.view().visible && p.countDown() == 0 && !p.done() && p.guard() == 0 && p.pageButtonsEnabled())
            << c.name;
        EXPECT_EQ(rig.link.password, CDeviceLink::kDefaultPassword) << c.name;
        EXPECT_FALSE(rig.link.profileBusy || rig.link.closingDown) << c.name;

        const std::size_t written = rig.wire.size();
        rig.Rx("CMD OK\r\n");  // a whole new line, in line mode, that nothing waits for
        ASSERT_FALSE(rig.lines.empty()) << c.name;
        EXPECT_EQ(rig.lines.back(), "CMD OK") << c.name;
        EXPECT_EQ(rig.wire.size(), written) << c.name;
    }
}

// The command a locked unit swallowed with its login prompt goes out again after the login,
// once; a login with nothing in flight reloads as before.
TEST(Login, LineThatMetThePromptGoesAgainOnce)
{
    struct Case {
        const char* name;
        bool inFlight;          // a command waits for its answer when the prompt comes
        bool secondPrompt;      // the unit prompts again after the line went out again
        bool refuseResend;      // the port takes nothing more
        int wantLineOnWire;     // times the command is on the wire
        bool wantReload;        // a reload was posted
        AckKind wantAck;        // what ended the command's wait
        bool wantWritten;
    };
    const Case cases[] = {
        {"resent and answered", true, false, false, 2, false, AckKind::Ok, true},
        {"resent once only", true, true, false, 2, true, AckKind::None, true},
        {"port refuses the resend", true, false, true, 1, false, AckKind::None, false},
        {"nothing in flight", false, false, false, 0, true, AckKind::None, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LinkRig rig;
        bool portOpen = true;
        CDeviceLink link(
            [&](std::string_view b) {
                if (portOpen) rig.wire.emplace_back(b);
                return portOpen;
            },
            [&] { return rig.now; }, &rig);
        link.password = "pw";
        std::optional<SeqResult> done;
        if (c.inFlight) link.Sequencer().EnqueueCommand("%CS1+491\r", 3000, [&](const SeqResult& r) { done = r; });
        rig.now += 2900;  // most of the line's bound is gone before the login ends
        link.HandleReceive("Console started, please login\r\n");
        rig.now += 2900;
        link.HandleTime();
        portOpen = !c.refuseResend;
        link.HandleReceive("Login Success\r\n");
        if (c.secondPrompt) {
            link.HandleReceive("please input password\r\nLogin Success\r\n");
            rig.now += 3000;
            link.HandleTime();
        } else {
            link.HandleReceive("CMD OK\r\n");
        }
        EXPECT_EQ(std::count(rig.wire.begin(), rig.wire.end(), "%CS1+491\r"), c.wantLineOnWire);
        EXPECT_EQ(std::count(rig.posted.begin(), rig.posted.end(), cmd::kReload) > 0, c.wantReload);
        if (c.inFlight) {
            ASSERT_TRUE(done.has_value());
            EXPECT_EQ(done->ack, c.wantAck);
            EXPECT_EQ(done->written, c.wantWritten);
        }
    }
}

// Lines the unit sends by itself keep no settling spell going: after an unanswered line the
// next one goes at the shortest spell although records arrive every 100 ms.
TEST(Sequencer, StreamLinesDoNotProlongTheSettlingSpell)
{
    for (const bool streamed : {true, false}) {
        SCOPED_TRACE(streamed ? "streamed records" : "reply lines");
        LinkRig rig;
        rig.link.SetStreamLineTest([streamed](std::string_view) { return streamed; });
        rig.link.Sequencer().EnqueueCommand("%A\r", 1000);
        rig.link.Sequencer().EnqueueCommand("%B\r", 1000);
        rig.now = 1000;
        rig.link.HandleTime();  // %A unanswered: settling
        Millis sentB = -1;
        for (; rig.now <= 1000 + CSequencer::kSettleMaxMs; rig.now += 100) {
            rig.Rx("$TREC line\r\n");
            rig.link.HandleTime();
            if (rig.wire.size() == 2) {
                sentB = rig.now;
                break;
            }
        }
        const Millis want = 1000 + (streamed ? CSequencer::kSettleMinMs : CSequencer::kSettleMaxMs);
        EXPECT_EQ(sentB, want);
    }
}
