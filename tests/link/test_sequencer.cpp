#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "link/Sequencer.h"

using namespace rtu;

namespace {

struct Rig {
    Millis now = 0;
    bool open = true;
    bool ack = false;
    std::vector<std::string> wire;
    std::vector<std::pair<Millis, std::string>> timeline;
    CSequencer seq{[this](std::string_view b) {
                       wire.emplace_back(b);
                       timeline.emplace_back(now, std::string(b));
                       return open;
                   },
                   [this] { return now; }};
    Rig() { seq.ackFlag = &ack; }
    void Advance(Millis ms)
    {
        now += ms;
        seq.OnTime();
    }
};

}  // namespace

TEST(Sequencer, OneLineInFlightUntilAcknowledged)
{
    Rig r;
    std::vector<AckKind> results;
    r.seq.EnqueueCommand("%A\r", 3000, [&](const SeqResult& s) { results.push_back(s.ack); });
    r.seq.EnqueueCommand("%B\r", 3000, [&](const SeqResult& s) { results.push_back(s.ack); });
    EXPECT_EQ(r.wire, std::vector<std::string>{"%A\r"});
    r.Advance(10);
    r.seq.OnAck(AckKind::Ok);  // ends the wait at once
    EXPECT_EQ(r.wire, (std::vector<std::string>{"%A\r", "%B\r"}));
    EXPECT_EQ(r.timeline[1].first, 10);
    r.seq.OnAck(AckKind::Err);
    EXPECT_EQ(results, (std::vector<AckKind>{AckKind::Ok, AckKind::Err}));
    EXPECT_TRUE(r.seq.Idle());
}

TEST(Sequencer, NoAcknowledgementWaitsTheFullBoundThenSettles)
{
    Rig r;
    std::vector<SeqResult> results;
    r.seq.EnqueueCommand("%A\r", 3000, [&](const SeqResult& s) { results.push_back(s); });
    r.seq.EnqueueCommand("%B\r", 2000);
    ASSERT_EQ(r.seq.NextDeadline(), 3000);
    r.Advance(2999);
    EXPECT_EQ(r.wire.size(), 1u);
    r.Advance(1);
    ASSERT_EQ(results.size(), 1u);
    EXPECT_EQ(results[0].ack, AckKind::None);
    // The next line waits out the settling spell after the bound.
    EXPECT_EQ(r.wire.size(), 1u);
    ASSERT_EQ(r.seq.NextDeadline(), 3000 + CSequencer::kSettleMinMs);
    r.Advance(CSequencer::kSettleMinMs);
    ASSERT_EQ(r.wire.size(), 2u);
    EXPECT_EQ(r.timeline[1].first, 3000 + CSequencer::kSettleMinMs);
    EXPECT_EQ(r.seq.NextDeadline(), 3000 + CSequencer::kSettleMinMs + 2000);
}

TEST(Sequencer, BlocksWithoutWaitGoInQueueOrder)
{
    Rig r;
    r.seq.EnqueueCommand("%SAVE\r", 3000);
    bool cleared = false;
    SeqJob reload;
    reload.bytes = "%DUMP_SYS\r";
    reload.onStart = [&] { cleared = true; };
    r.seq.Enqueue(std::move(reload));
    EXPECT_FALSE(cleared);  // the reload waits behind the save line
    r.seq.OnAck(AckKind::Ok);
    EXPECT_TRUE(cleared);
    EXPECT_EQ(r.wire, (std::vector<std::string>{"%SAVE\r", "%DUMP_SYS\r"}));
    EXPECT_TRUE(r.seq.Idle());
}

TEST(Sequencer, AcknowledgementFlagClearedWhenALineStarts)
{
    Rig r;
    r.ack = true;
    r.seq.EnqueueCommand("%A\r", 3000);
    EXPECT_FALSE(r.ack);
    EXPECT_TRUE(r.seq.Waiting());
}

TEST(Sequencer, RefusedWriteEndsTheJobWithoutWaiting)
{
    Rig r;
    r.open = false;
    std::vector<SeqResult> results;
    for (int i = 0; i < 3; ++i) r.seq.EnqueueCommand("%A\r", 3000, [&](const SeqResult& s) { results.push_back(s); });
    ASSERT_EQ(results.size(), 3u);
    for (const auto& s : results) EXPECT_FALSE(s.written);
    EXPECT_TRUE(r.seq.Idle());
}

TEST(Sequencer, CallbacksMayQueueMoreWork)
{
    Rig r;
    int done = 0;
    std::function<void(const SeqResult&)> chain = [&](const SeqResult&) {
        if (++done < 3) r.seq.EnqueueCommand("%N\r", 100, chain);
    };
    r.seq.EnqueueCommand("%N\r", 100, chain);
    for (int i = 0; i < 3; ++i) r.seq.OnAck(AckKind::Ok);
    EXPECT_EQ(done, 3);
    EXPECT_EQ(r.wire.size(), 3u);
    EXPECT_TRUE(r.seq.Idle());
}

TEST(Sequencer, LateAnswerIsDroppedNotCreditedToTheNextLine)
{
    Rig r;
    std::vector<AckKind> results;
    auto record = [&](const SeqResult& s) { results.push_back(s.ack); };
    r.seq.EnqueueCommand("%A\r", 3000, record);
    r.seq.EnqueueCommand("%B\r", 3000, record);
    r.Advance(3000);  // %A's bound runs out
    r.Advance(900);
    r.seq.OnLineReceived();
    r.seq.OnAck(AckKind::Err);  // %A's answer, late
    EXPECT_EQ(r.seq.LateAnswers(), 1);
    EXPECT_EQ(r.wire.size(), 1u);
    r.Advance(CSequencer::kSettleQuietMs);  // quiet again: %B goes
    ASSERT_EQ(r.wire.size(), 2u);
    EXPECT_EQ(r.timeline[1].first, 3000 + 900 + CSequencer::kSettleQuietMs);
    r.seq.OnAck(AckKind::Ok);
    EXPECT_EQ(results, (std::vector<AckKind>{AckKind::None, AckKind::Ok}));
    EXPECT_EQ(r.seq.LateAnswers(), 1);
}

TEST(Sequencer, ChattyUnitEndsTheSettlingSpellAtItsLongest)
{
    Rig r;
    r.seq.EnqueueCommand("%A\r", 1000);
    r.seq.EnqueueCommand("%B\r", 1000);
    r.Advance(1000);
    for (int i = 0; i < 100 && r.wire.size() == 1; ++i) {
        r.Advance(100);
        r.seq.OnLineReceived();
    }
    ASSERT_EQ(r.wire.size(), 2u);
    EXPECT_EQ(r.timeline[1].first, 1000 + CSequencer::kSettleMaxMs);
}

TEST(Sequencer, WithdrawTouchesOnlyTheOwnersJobs)
{
    Rig r;
    int mine = 0, theirs = 0;
    std::vector<SeqResult> results;
    SeqJob a;
    a.bytes = "%A\r";
    a.waitMs = 3000;
    a.owner = &mine;
    a.onDone = [&](const SeqResult& s) { results.push_back(s); };
    r.seq.Enqueue(std::move(a));
    SeqJob b = {"%B\r", 3000, {}, {}, &mine};
    r.seq.Enqueue(std::move(b));
    SeqJob c = {"%C\r", 0, {}, {}, &theirs};
    r.seq.Enqueue(std::move(c));
    r.seq.Withdraw(&mine);
    ASSERT_EQ(results.size(), 1u);
    EXPECT_TRUE(results[0].withdrawn);
    EXPECT_EQ(r.wire, (std::vector<std::string>{"%A\r", "%C\r"}));  // no settling after a withdrawal
    EXPECT_TRUE(r.seq.Idle());
}
