#include "link/ProfileRunner.h"

#include "link/SerialPort.h"

namespace rtu {

static_assert(CProfileReader::kBlockBytes == CSerialPort::kSlotSize, "a command line must fit one written block");

const char* OutcomeName(LineOutcome outcome)
{
    switch (outcome) {
    case LineOutcome::Ok: return "OK";
    case LineOutcome::CmdErr: return "CMD ERR";
    case LineOutcome::Unanswered: return "unanswered";
    case LineOutcome::Late: return "answered late";
    case LineOutcome::Refused: return "refused";
    case LineOutcome::Repeated: return "skipped as repeated";
    }
    return "";
}

CProfileRunner::~CProfileRunner()
{
    if (!running_) return;
    link_.onLoginRefused = nullptr;
    done_ = nullptr;
    pendingStop_ = ExecStop::Closing;  // a line ended by the withdrawal sends nothing further
    link_.Sequencer().Withdraw(this);
}

bool CProfileRunner::Start(const std::vector<std::string>& lines, std::function<void(const ExecSummary&)> done)
{
    return Start(CProfileReader::FromLines(lines), std::move(done));
}

bool CProfileRunner::Start(CProfileLines lines, std::function<void(const ExecSummary&)> done)
{
    if (link_.profileBusy) return false;
    link_.profileBusy = true;
    running_ = true;
    paused_ = false;
    pendingStop_ = ExecStop::None;
    silentRun_ = 0;
    lines_ = std::move(lines);
    offset_ = 0;
    lineAt_ = kNoLine;
    summary_ = {};
    lateAtStart_ = link_.Sequencer().LateAnswers();
    lateSeen_ = lateAtStart_;
    records_.clear();
    openRecord_ = kNoLine;
    section_.clear();
    startedAt_ = link_.Now();
    done_ = std::move(done);
    link_.onLoginRefused = [this] { Abort(ExecStop::LoginRefused); };
    SeqJob start;
    start.bytes = "%STARTCMD\r";
    start.waitMs = kFramingWaitMs;
    start.owner = this;
    start.onDone = [this](const SeqResult& r) {
        awaiting_ = false;
        OnFramingDone(r);
        // A start line the port did not take stops the run like any other line.
        if (!r.written && pendingStop_ == ExecStop::None) pendingStop_ = ExecStop::PortLost;
        Next();
    };
    awaiting_ = true;
    link_.Sequencer().Enqueue(std::move(start));
    return true;
}

int CProfileRunner::RemainingCommands(std::size_t from) const
{
    int n = 0;
    ProfileLine line{};
    while (lines_.Next(from, line))
        if (line.kind == ProfileLineKind::Command) ++n;
    return n;
}

// Sends the next command line of the file, or the commit line when none is left.
void CProfileRunner::Record(const ProfileLine& line, LineOutcome outcome)
{
    const Millis now = link_.Now();
    records_.push_back({std::string(line.text), section_, outcome, now, now});
}

// An answer that came while the sender waited out an unanswered line belongs to that line:
// the last record still counted unanswered becomes a late one.
void CProfileRunner::CreditLateAnswer()
{
    const int late = link_.Sequencer().LateAnswers();
    if (late == lateSeen_) return;
    lateSeen_ = late;
    for (auto it = records_.rbegin(); it != records_.rend(); ++it) {
        if (it->outcome == LineOutcome::Refused || it->outcome == LineOutcome::Repeated) continue;
        if (it->outcome == LineOutcome::Unanswered) it->outcome = LineOutcome::Late;
        break;
    }
}

void CProfileRunner::Next()
{
    if (pendingStop_ != ExecStop::None) {
        End(pendingStop_);
        return;
    }
    ProfileLine line{};
    for (std::size_t at = offset_; lines_.Next(offset_, line); at = offset_) {
        if (link_.closingDown) {
            summary_.stopped = true;
            summary_.stop = ExecStop::Closing;
            summary_.notSent = RemainingCommands(at);
            break;
        }
        switch (line.kind) {
        case ProfileLineKind::Note: link_.Progress().ShowLine(kLineTicks, std::string(line.text)); break;
        case ProfileLineKind::Header: section_ = line.text; break;
        case ProfileLineKind::Repeated: Record(line, LineOutcome::Repeated); break;
        case ProfileLineKind::Refused:
            // Cut by the port it would reach the unit as a different command, glued to the next.
            ++summary_.refused;
            Record(line, LineOutcome::Refused);
            link_.Progress().ShowLine(kLineTicks, std::string(line.text) + "...");
            break;
        case ProfileLineKind::Command: {
            const std::string text(line.text);
            link_.Progress().ShowLine(kLineTicks, text);
            lineAt_ = at;
            SeqJob job;
            job.bytes = text + "\r";
            job.waitMs = kLineWaitMs;
            job.owner = this;
            job.onStart = [this, text] {
                CreditLateAnswer();
                const Millis now = link_.Now();
                openRecord_ = records_.size();
                records_.push_back({text, section_, LineOutcome::Unanswered, now, now});
            };
            job.onDone = [this](const SeqResult& r) { OnLineDone(r); };
            awaiting_ = true;
            link_.Sequencer().Enqueue(std::move(job));
            return;
        }
        }
    }
    Commit();
}

void CProfileRunner::OnLineDone(const SeqResult& r)
{
    awaiting_ = false;
    if (!r.written) {
        // The port took the line no more: it never left, so it counts as not sent, and the
        // lines after it are not sent either (they would reach the unit without it).
        if (openRecord_ < records_.size()) records_.erase(records_.begin() + static_cast<std::ptrdiff_t>(openRecord_));
        openRecord_ = kNoLine;
        if (lineAt_ != kNoLine) offset_ = lineAt_;
        lineAt_ = kNoLine;
        End(pendingStop_ != ExecStop::None ? pendingStop_ : ExecStop::PortLost);
        return;
    }
    lineAt_ = kNoLine;
    ++summary_.sent;
    LineOutcome outcome = LineOutcome::Unanswered;
    if (r.withdrawn || r.ack == AckKind::None) {
        ++summary_.unanswered;
        if (!r.withdrawn) ++silentRun_;
    } else {
        silentRun_ = 0;
        if (r.ack == AckKind::Err) ++summary_.err;
        else ++summary_.ok;
        outcome = r.ack == AckKind::Err ? LineOutcome::CmdErr : LineOutcome::Ok;
    }
    if (openRecord_ < records_.size()) {
        records_[openRecord_].outcome = outcome;
        records_[openRecord_].doneAt = link_.Now();
    }
    openRecord_ = kNoLine;
    if (pendingStop_ == ExecStop::None && silentRun_ >= kSilentLinesToAsk) {
        paused_ = true;
        summary_.notSent = RemainingCommands(offset_);
        summary_.late = link_.Sequencer().LateAnswers() - lateAtStart_;
        if (onUnitSilent) onUnitSilent(summary_);
        else Stop();
        return;  // Continue or Stop goes on from here
    }
    Next();
}

void CProfileRunner::Continue()
{
    if (!running_ || !paused_) return;
    paused_ = false;
    silentRun_ = 0;
    summary_.notSent = 0;
    Next();
}

void CProfileRunner::Stop()
{
    if (!running_ || !paused_) return;
    paused_ = false;
    End(ExecStop::UnitSilent);
}

void CProfileRunner::OnFramingDone(const SeqResult& r)
{
    if (!r.written || r.withdrawn || r.ack == AckKind::None || r.ack == AckKind::Err) ++summary_.framingFailed;
}

void CProfileRunner::Abort(ExecStop reason)
{
    if (!running_) return;
    pendingStop_ = reason;
    if (paused_) {
        paused_ = false;
        End(pendingStop_);
        return;
    }
    if (!awaiting_) return;
    link_.Sequencer().Withdraw(this);  // an awaited line ends now and goes on to End
    if (awaiting_ && running_) {
        awaiting_ = false;  // the job was still queued: it was dropped unsent
        if (lineAt_ != kNoLine) offset_ = lineAt_;
        End(pendingStop_);
    }
}

// Stops without the commit line: a half-written profile is not committed.
void CProfileRunner::End(ExecStop reason)
{
    summary_.stopped = true;
    summary_.stop = reason;
    summary_.notSent = RemainingCommands(offset_);
    Done();
}

void CProfileRunner::Commit()
{
    SeqJob commit;
    commit.bytes = "%COMMITCMD\r";
    commit.waitMs = kFramingWaitMs;
    commit.owner = this;
    commit.onDone = [this](const SeqResult& r) {
        awaiting_ = false;
        OnFramingDone(r);
        if (!r.written) summary_.committed = false;
        Done();
    };
    commit.onStart = [this] {
        CreditLateAnswer();
        summary_.committed = true;
    };
    awaiting_ = true;
    link_.Sequencer().Enqueue(std::move(commit));
}

void CProfileRunner::Done()
{
    running_ = false;
    link_.profileBusy = false;
    link_.onLoginRefused = nullptr;
    CreditLateAnswer();
    summary_.late = link_.Sequencer().LateAnswers() - lateAtStart_;
    if (done_) {
        auto done = std::move(done_);
        done_ = nullptr;
        done(summary_);
    }
}

}  // namespace rtu
