// The one sender of command lines: a FIFO of jobs with one line in flight. A job's wait
// ends on the unit's acknowledgement or when its bound (milliseconds) runs out; then the
// next job goes. A wait that ran out is followed by a settling spell: the next job waits
// until the unit has been quiet for a while, and an acknowledgement that arrives in that
// spell is dropped as a late answer, so it is never credited to the following line.
// Nothing here sleeps: the owner calls OnTime when NextDeadline is due.
#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "link/LinkTypes.h"

namespace rtu {

using ClockFn = std::function<Millis()>;

struct SeqResult {
    AckKind ack = AckKind::None;  // what ended the wait (None: the bound ran out, or no wait)
    bool written = true;          // false: the port refused the block (closed, ring full)
    bool withdrawn = false;       // the owner withdrew the job while it waited
};

struct SeqJob {
    std::string bytes;              // one block; empty for a pure action
    int waitMs = 0;                 // > 0: wait at most this long for an acknowledgement
    std::function<void()> onStart;  // runs just before the bytes are written
    std::function<void(const SeqResult&)> onDone;
    const void* owner = nullptr;  // who queued it (see Withdraw)
};

class CSequencer {
public:
    static constexpr int kSettleQuietMs = 300;  // after a wait ran out: quiet needed before the next job
    static constexpr int kSettleMinMs = 1000;   // after a wait ran out: the shortest settling spell
    static constexpr int kSettleMaxMs = 5000;   // after a wait ran out: the longest settling spell (chatty unit)

    CSequencer(WriteFn write, ClockFn clock);

    void Enqueue(SeqJob job);
    // Convenience: one command line that waits for its acknowledgement.
    void EnqueueCommand(std::string bytes, int waitMs, std::function<void(const SeqResult&)> onDone = {});
    // A block that waits for nothing (dump requests): it still goes in queue order.
    void EnqueueBlock(std::string bytes);
    // Console answers (password, setup burst, typed text) go out at once, outside the queue.
    bool WriteNow(std::string_view bytes);

    // An acknowledgement line arrived ("CMD OK", "CMD ERR", "Please wait").
    void OnAck(AckKind kind);
    // The unit asked for its console login instead of answering: the line in flight was not
    // taken. Its wait starts again (the login gets a full bound) and the line is kept for
    // ResendAfterLogin. A line already sent again is not kept a second time.
    void OnLoginPrompt();
    // The login succeeded: the kept line goes out again, once, with a fresh bound. False when
    // no line was kept.
    bool ResendAfterLogin();
    // A line arrived from the unit (any line: it keeps a settling spell going).
    void OnLineReceived();
    // Time has passed; ends a wait whose bound ran out, or a settling spell.
    void OnTime();
    std::optional<Millis> NextDeadline() const;

    bool Idle() const { return !current_ && queue_.empty(); }
    bool Waiting() const { return current_.has_value(); }
    std::size_t Pending() const { return queue_.size() + (current_ ? 1 : 0); }
    // Drops every queued job (their onDone is not called); the one in flight ends its wait.
    void Clear();
    // Drops the queued jobs of `owner` (their onDone is not called); when the one in flight is
    // its own, its wait ends at once (onDone with `withdrawn`), with no settling spell.
    void Withdraw(const void* owner);
    // Acknowledgements that came after their line's bound (dropped while settling).
    int LateAnswers() const { return lateAnswers_; }
    bool Settling() const { return settling_; }

    std::function<void(std::string_view bytes)> onSent;
    std::function<void(std::string_view bytes, AckKind ack)> onDone;
    std::function<void()> onIdle;
    // Set to false when a job starts (the unit's next acknowledgement belongs to it).
    bool* ackFlag = nullptr;

private:
    void Pump();
    void Finish(const SeqResult& result);
    Millis SettleEnd() const;

    WriteFn write_;
    ClockFn clock_;
    std::deque<SeqJob> queue_;
    std::optional<SeqJob> current_;  // the job whose acknowledgement is awaited
    Millis deadline_ = 0;
    bool settling_ = false;  // a wait ran out; the next job waits for quiet
    Millis settleFrom_ = 0;  // when the wait ran out
    Millis lastLine_ = 0;    // when the unit last sent a line
    int lateAnswers_ = 0;
    bool pumping_ = false;
    bool keptForLogin_ = false;  // the line in flight met a login prompt
    bool resentOnce_ = false;    // the line in flight was already sent again after a login
};

}  // namespace rtu
