#include "link/Sequencer.h"

#include <algorithm>
#include <utility>

namespace rtu {

CSequencer::CSequencer(WriteFn write, ClockFn clock) : write_(std::move(write)), clock_(std::move(clock)) {}

void CSequencer::Enqueue(SeqJob job)
{
    queue_.push_back(std::move(job));
    Pump();
}

void CSequencer::EnqueueCommand(std::string bytes, int waitMs, std::function<void(const SeqResult&)> done)
{
    SeqJob job;
    job.bytes = std::move(bytes);
    job.waitMs = waitMs;
    job.onDone = std::move(done);
    Enqueue(std::move(job));
}

void CSequencer::EnqueueBlock(std::string bytes)
{
    SeqJob job;
    job.bytes = std::move(bytes);
    Enqueue(std::move(job));
}

bool CSequencer::WriteNow(std::string_view bytes) { return write_ ? write_(bytes) : false; }

void CSequencer::OnAck(AckKind kind)
{
    if (settling_) {
        ++lateAnswers_;  // the answer of the line whose bound ran out: it belongs to nobody else
        return;
    }
    if (!current_) return;
    Finish(SeqResult{kind, true});
    Pump();
}

void CSequencer::OnLoginPrompt()
{
    if (!current_ || keptForLogin_ || resentOnce_) return;
    keptForLogin_ = true;
    deadline_ = clock_() + current_->waitMs;
}

bool CSequencer::ResendAfterLogin()
{
    if (!current_ || !keptForLogin_) return false;
    keptForLogin_ = false;
    resentOnce_ = true;
    if (ackFlag) *ackFlag = false;
    const bool written = write_ ? write_(current_->bytes) : false;
    if (!written) {
        Finish(SeqResult{AckKind::None, false});
        Pump();
        return true;
    }
    if (onSent) onSent(current_->bytes);
    deadline_ = clock_() + current_->waitMs;
    return true;
}

void CSequencer::OnLineReceived()
{
    if (settling_) lastLine_ = clock_();
}

void CSequencer::OnTime()
{
    if (current_ && clock_() >= deadline_) {
        settling_ = true;
        settleFrom_ = lastLine_ = clock_();
        Finish(SeqResult{AckKind::None, true});
        Pump();
    } else if (settling_ && clock_() >= SettleEnd()) {
        Pump();
    }
}

// The spell ends after kSettleQuietMs without a line, not before kSettleMinMs and not after
// kSettleMaxMs from the end of the wait.
Millis CSequencer::SettleEnd() const
{
    const Millis quiet = std::max(lastLine_ + kSettleQuietMs, settleFrom_ + kSettleMinMs);
    return std::min(quiet, settleFrom_ + kSettleMaxMs);
}

std::optional<Millis> CSequencer::NextDeadline() const
{
    if (current_) return deadline_;
    if (settling_) return SettleEnd();
    return std::nullopt;
}

void CSequencer::Clear()
{
    queue_.clear();
    if (current_) Finish(SeqResult{AckKind::None, true});
}

void CSequencer::Withdraw(const void* owner)
{
    std::erase_if(queue_, [owner](const SeqJob& job) { return job.owner == owner; });
    if (current_ && current_->owner == owner) {
        SeqResult result{AckKind::None, true};
        result.withdrawn = true;
        Finish(result);
        Pump();
    }
}

void CSequencer::Finish(const SeqResult& result)
{
    SeqJob job = std::move(*current_);
    current_.reset();
    keptForLogin_ = resentOnce_ = false;
    if (onDone) onDone(job.bytes, result.ack);
    if (job.onDone) job.onDone(result);
}

// Starts jobs until one waits for its acknowledgement or the queue is empty. A job's
// callbacks may enqueue further jobs; the guard keeps this loop the only one running.
void CSequencer::Pump()
{
    if (pumping_) return;
    if (settling_) {
        if (clock_() < SettleEnd()) return;
        settling_ = false;
    }
    pumping_ = true;
    while (!current_ && !queue_.empty()) {
        SeqJob job = std::move(queue_.front());
        queue_.pop_front();
        if (job.onStart) job.onStart();
        bool written = true;
        if (!job.bytes.empty()) {
            if (ackFlag && job.waitMs > 0) *ackFlag = false;
            written = write_ ? write_(job.bytes) : false;
            if (onSent && written) onSent(job.bytes);
        }
        if (job.waitMs > 0 && written) {
            deadline_ = clock_() + job.waitMs;
            current_ = std::move(job);
        } else {
            SeqResult result{AckKind::None, written};
            if (onDone && !job.bytes.empty()) onDone(job.bytes, AckKind::None);
            if (job.onDone) job.onDone(result);
        }
    }
    const bool idle = !current_ && queue_.empty();
    pumping_ = false;
    if (idle && onIdle) onIdle();
}

}  // namespace rtu
