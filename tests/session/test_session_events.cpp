// The session as its front ends see it: commands in, typed events out, on a fake clock
// against the simulated unit (or a unit that hears nothing). Every case checks the events
// a window or rtuctl would act on.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "PairRig.h"
#include "session/SoundUpload.h"

using namespace rtu;
using rtu::test::PairRig;

namespace {

const std::vector<std::string> kFiveLines = {"%CS1+491", "%CS2+492", "%CS3+493", "%CS4+494", "%CS5+495"};

// A sound download of `n` bytes; the reader hands out a fixed pattern.
std::unique_ptr<CSoundUpload> Sound(std::size_t n)
{
    auto at = std::make_shared<std::size_t>(0);
    return std::make_unique<CSoundUpload>(0, "", static_cast<std::int64_t>(n), [at, n](char* buf, std::size_t cap) {
        const std::size_t k = std::min(cap, n - *at);
        std::fill_n(buf, k, 'w');
        *at += k;
        return k;
    });
}

struct Answers {
    int ok = 0, err = 0, unanswered = 0, unwritten = 0;
    bool operator==(const Answers&) const = default;
};

Answers Count(const PairRig& rig)
{
    Answers a;
    for (const ev::CommandAnswered& e : rig.Events<ev::CommandAnswered>()) {
        if (!e.written) ++a.unwritten;
        else if (e.ack == AckKind::None) ++a.unanswered;
        else if (e.ack == AckKind::Err) ++a.err;
        else ++a.ok;
    }
    return a;
}

bool HasStatus(const PairRig& rig, const std::string& text)
{
    const auto all = rig.Events<ev::Status>();
    return std::any_of(all.begin(), all.end(), [&](const ev::Status& s) { return s.text == text; });
}

}  // namespace

// Each command and what the front end is told, in the order it acts on it.
TEST(SessionEvents, CommandsAndWhatTheFrontEndIsTold)
{
    struct Case {
        const char* name;
        bool reloadFirst;                     // start from a unit that has been read
        std::function<void(PairRig&)> setup;  // before the command: how the unit behaves
        std::function<void(PairRig&)> act;
        std::optional<Answers> answers;     // the command answered events (none: not checked)
        std::string status;                 // a status text that must have been shown
        std::vector<std::string> messages;  // what the user was told, in order
        int questions;
        std::vector<std::string> pagesChanged;  // pages that must have been reported changed
        std::vector<bool> busy;                 // busy states, in order
    };
    const Case cases[] = {
        {"reload fills the pages",
         false,
         {},
         [](PairRig& r) { r.session.Reload(); },
         Answers{},
         "Reload successfully, connected with PC!",
         {},
         0,
         {"CPageServer", "CPageMainParams"},
         {}},
        {"a page's save: every line answered, then its own reload",
         true,
         {},
         [](PairRig& r) { ASSERT_TRUE(r.session.SavePage("CPageMainParams")); },
         std::nullopt,
         "",
         {},
         0,
         {"CPageMainParams"},
         {true, false}},
        {"a silent unit during a profile: asked, stopped",
         false,
         [](PairRig& r) { r.unitListens = false; },
         [](PairRig& r) { ASSERT_TRUE(r.session.ExecProfileLines(kFiveLines)); },
         Answers{0, 0, 4, 0},
         "",
         {"The profile was stopped: the unit stopped answering. 2 command line(s) were not sent; nothing was "
          "committed."},
         1,
         {},
         {}},
        {"a silent unit during a profile: asked, gone on",
         false,
         [](PairRig& r) {
             r.unitListens = false;
             r.goOn = true;
         },
         [](PairRig& r) { ASSERT_TRUE(r.session.ExecProfileLines(kFiveLines)); },
         Answers{0, 0, 7, 0},
         "",
         {"The profile was executed with errors: 0 line(s) answered \"CMD OK\", 0 answered \"CMD ERR\", 5 not "
          "answered, the start or commit line was not acknowledged.\nThe reload after it did not finish: the pages "
          "may not show the unit's values."},
         1,
         {},
         {}},
        {"a profile on a listening unit",
         false,
         {},
         [](PairRig& r) { ASSERT_TRUE(r.session.ExecProfileLines(kFiveLines)); },
         Answers{7, 0, 0, 0},
         "Reload successfully, connected with PC!",
         {std::string(CSession::kExecProfileOk) +
          "\n5 line(s) answered \"CMD OK\", 0 answered \"CMD ERR\", 0 not answered."},
         0,
         {"CPageServer"},
         {}},
        {"a line the port refuses",
         false,
         [](PairRig& r) { r.portOpen = false; },
         [](PairRig& r) { r.session.SendLine("%RST", 1000); },
         Answers{0, 0, 0, 1},
         "",
         {},
         0,
         {},
         {}},
        {"the login button when logged in",
         true,
         {},
         [](PairRig& r) { r.session.Login(); },
         Answers{},
         "",
         {"You have logined!"},
         0,
         {},
         {}},
        {"a page's save button, by the command it carries",
         true,
         {},
         [](PairRig& r) { ASSERT_TRUE(r.session.PageCommand("CPageMainParams", ctl::kSave)); },
         std::nullopt,
         "",
         {},
         0,
         {"CPageMainParams"},
         {true, false}},
        {"a page or command that does not exist",
         false,
         {},
         [](PairRig& r) {
             EXPECT_FALSE(r.session.PageCommand("CNoSuchPage", ctl::kSave));
             EXPECT_FALSE(r.session.PageCommand("CPageMainParams", 9999));
             EXPECT_FALSE(r.session.ClickCell("CNoSuchPage", ctl::kList, 0, 1));
         },
         Answers{},
         "",
         {},
         0,
         {},
         {}},
        {"a click on a reported priority cell toggles it",
         true,
         {},
         [](PairRig& r) {
             r.events.clear();
             EXPECT_TRUE(r.session.ClickCell("CPagePriotab", ctl::kList, 0, 1));
         },
         Answers{},
         "",
         {},
         0,
         {"CPagePriotab"},
         {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PairRig rig;
        if (c.reloadFirst) {
            rig.session.Reload();
            rig.Drive();
            rig.events.clear();
            rig.messages.clear();
        }
        if (c.setup) c.setup(rig);
        c.act(rig);
        rig.Drive();
        rig.Collect();
        if (c.answers) {
            EXPECT_EQ(Count(rig), *c.answers);
        }
        if (!c.status.empty()) {
            EXPECT_TRUE(HasStatus(rig, c.status));
        }
        EXPECT_EQ(rig.messages, c.messages);
        EXPECT_EQ(rig.questions, c.questions);
        for (const std::string& page : c.pagesChanged) {
            const auto changed = rig.Events<ev::PageChanged>();
            EXPECT_TRUE(std::any_of(changed.begin(), changed.end(), [&](auto& e) { return e.page == page; })) << page;
        }
        std::vector<bool> busy;
        for (const ev::Busy& b : rig.Events<ev::Busy>()) busy.push_back(b.busy);
        EXPECT_EQ(busy, c.busy);
        // The progress window comes and goes with the traffic: the session's own ticks close it.
        const auto progress = rig.Events<ev::Progress>();
        if (!progress.empty()) {
            EXPECT_FALSE(progress.back().view.visible);
        }
        EXPECT_FALSE(rig.session.ProfileRunning());
    }
}

// The answered events of a page's save frame its lines; the end of a profile is an event too.
TEST(SessionEvents, SaveBatchIsFramedAndProfileEndIsReported)
{
    PairRig rig;
    rig.session.Reload();
    rig.Drive();
    rig.events.clear();
    rig.session.SavePage("CPageMainParams");
    rig.Drive();
    const auto answered = rig.Events<ev::CommandAnswered>();
    ASSERT_GT(answered.size(), 20u);
    EXPECT_EQ(answered.front().bytes, "%STARTCMD\r");
    EXPECT_EQ(answered.back().bytes, "%COMMITCMD\r");
    EXPECT_TRUE(std::all_of(answered.begin(), answered.end(), [](auto& a) { return a.ack == AckKind::Ok; }));

    rig.unitListens = false;
    ASSERT_TRUE(rig.session.ExecProfileLines(kFiveLines));
    rig.Drive();
    ASSERT_TRUE(rig.summary.has_value());
    EXPECT_EQ(rig.summary->stop, ExecStop::UnitSilent);
    EXPECT_EQ(rig.summary->notSent, 2);
    EXPECT_FALSE(rig.summary->committed);
}

// Transfers run on the session's deadline and end in one transfer event each way.
TEST(SessionEvents, TransferJobs)
{
    struct Case {
        const char* name;
        std::function<void(PairRig&)> unit;  // after the start: what the unit (or the port) does
        bool ok;
        std::string message;
        std::string wire;  // what reached the port after the start command
    };
    auto answer = [](PairRig& r, const char* line) {
        r.session.HandleReceive(line);
        r.Collect();
    };
    const Case cases[] = {
        {"a whole download",
         [&](PairRig& r) {
             answer(r, "$CONNECTED\r\n");
             answer(r, "+RECV:256\r\n");
             answer(r, "+RECV:44\r\nFILEUPL OK\r\n");
         },
         true, CSoundUpload::kDownloadOk, std::string(300, 'w')},
        {"no start response: the deadline ends it", [](PairRig& r) { r.Drive(); }, false,
         CSoundUpload::kNoStartResponse, ""},
        {"the port closes", [](PairRig& r) { r.session.HandlePortLost(); }, false, "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PairRig rig;
        rig.unitListens = false;
        ASSERT_TRUE(rig.session.StartTransfer(Sound(300)));
        EXPECT_FALSE(rig.session.StartTransfer(Sound(10))) << "one transfer at a time";
        EXPECT_EQ(rig.toUnit, "%mdfile=din0_alarm.wav,300,5\r");
        rig.toUnit.clear();
        c.unit(rig);
        rig.Collect();
        EXPECT_FALSE(rig.session.TransferRunning());
        const auto ended = rig.Events<ev::TransferEnded>();
        ASSERT_EQ(ended.size(), 1u);
        EXPECT_EQ(ended[0].job, CSoundUpload::kJobName);
        EXPECT_EQ(ended[0].ok, c.ok);
        EXPECT_EQ(rig.messages, c.message.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.message});
        EXPECT_EQ(rig.toUnit, c.wire);
        const auto progress = rig.Events<ev::TransferProgress>();
        ASSERT_FALSE(progress.empty());
        EXPECT_EQ(progress.front().total, 300);
    }
    PairRig rig;
    ASSERT_TRUE(rig.session.StartTransfer(Sound(300)));
    rig.session.HandlePortLost();
    rig.Collect();
    EXPECT_EQ(rig.Events<ev::PortLost>().size(), 1u);
}

// A transfer's bytes queue behind a command line that waits for its answer: they never land
// in the middle of another sender's batch.
TEST(SessionEvents, TransferWaitsForTheLineInFlight)
{
    PairRig rig;
    rig.unitListens = false;
    rig.session.SendLine("%X", 1000);
    ASSERT_TRUE(rig.session.StartTransfer(Sound(10)));
    EXPECT_EQ(rig.toUnit, "%X\r");
    rig.session.HandleReceive("CMD OK\r\n");
    EXPECT_EQ(rig.toUnit, "%X\r%mdfile=din0_alarm.wav,10,5\r");
}
