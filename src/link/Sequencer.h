// The one sender of command lines: a FIFO of jobs with one line in flight. A job's wait
// ends on the unit's acknowledgement or when its bound (milliseconds) runs out; then the
// next job goes. Nothing here sleeps: the owner calls OnTime when NextDeadline is due.
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
};

struct SeqJob {
    std::string bytes;                         // one block; empty for a pure action
    int waitMs = 0;                            // > 0: wait at most this long for an acknowledgement
    std::function<void()> onStart;             // runs just before the bytes are written
    std::function<void(const SeqResult&)> onDone;
};

class CSequencer {
public:
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
    // Time has passed; ends a wait whose bound ran out.
    void OnTime();
    std::optional<Millis> NextDeadline() const;

    bool Idle() const { return !current_ && queue_.empty(); }
    bool Waiting() const { return current_.has_value(); }
    std::size_t Pending() const { return queue_.size() + (current_ ? 1 : 0); }
    // Drops every queued job (their onDone is not called); the one in flight ends its wait.
    void Clear();

    std::function<void(std::string_view bytes)> onSent;
    std::function<void(std::string_view bytes, AckKind ack)> onDone;
    std::function<void()> onIdle;
    // Set to false when a job starts (the unit's next acknowledgement belongs to it).
    bool* ackFlag = nullptr;

private:
    void Pump();
    void Finish(const SeqResult& result);

    WriteFn write_;
    ClockFn clock_;
    std::deque<SeqJob> queue_;
    std::optional<SeqJob> current_;  // the job whose acknowledgement is awaited
    Millis deadline_ = 0;
    bool pumping_ = false;
};

}  // namespace rtu
