// The session's side facing the front ends: bytes and time in, commands in, events out.
#include <algorithm>
#include <utility>

#include "pages/framework/FieldCheck.h"
#include "session/Session.h"
#include "session/StreamLines.h"

namespace rtu {

void CSession::Connect()
{
    runner_.onUnitSilent = [this](const ExecSummary& s) {
        Push(ev::Question{ev::QuestionKind::GoOnSilentUnit, SilentUnitQuestion(s.notSent)});
    };
    // While a chunk is being taken, the window is told once, after its last line.
    link_.Progress().onChanged = [this](const CSysProgress::View& view) {
        if (receiving_) progressDue_ = true;
        else PushProgress(view);
    };
    // Every lock counts (the page on show may have changed); an all-clear only after a lock.
    link_.Progress().onPageButtons = [this](bool on) {
        if (on && !pageButtonsLocked_) return;
        pageButtonsLocked_ = !on;
        Push(ev::Busy{!on});
    };
    changedQueued_.assign(pages_.size(), false);
    for (std::size_t i = 0; i < pages_.size(); ++i)
        pages_[i]->AddListener([this, i](int) {
            if (changedQueued_[i]) return;
            changedQueued_[i] = true;
            changedOrder_.push_back(i);
            Push(ev::PageChanged{pages_[i]->ClassName()});
        });
}

void CSession::Push(SessionEvent event)
{
    events_.push_back(std::move(event));
    if (wake_) wake_();
}

std::optional<SessionEvent> CSession::PollEvent()
{
    if (events_.empty()) return std::nullopt;
    SessionEvent event = std::move(events_.front());
    events_.pop_front();
    // The page changed events leave in the order they were queued, one per page at most.
    if (std::holds_alternative<ev::PageChanged>(event) && !changedOrder_.empty()) {
        changedQueued_[changedOrder_.front()] = false;
        changedOrder_.pop_front();
    }
    return event;
}

void CSession::Message(MessageIcon icon, const std::string& text) { Push(ev::Message{icon, text}); }

void CSession::Reset()
{
    job_.reset();
    link_.Reset();  // also ends a running profile (it sees the link closing)
    posted_.clear();
    inFlight_.clear();
    events_.clear();
    changedQueued_.assign(pages_.size(), false);
    changedOrder_.clear();
    tickAt_.reset();
    progressDue_ = false;
    pageButtonsLocked_ = false;
    jobName_.clear();
    jobDone_ = jobTotal_ = 0;
    picture_.clear();
    reloadDueBy_.reset();
    count_.Stop();
    ResetWriteState();
}

// --- bytes and time ---

void CSession::HandleReceive(std::string_view chunk)
{
    receiving_ = true;
    link_.HandleReceive(chunk);
    receiving_ = false;
    // The pipeline has set the transfer flags for this chunk's lines: the job looks now.
    if (job_) job_->Advance(clock_());
    AfterInput();
}

void CSession::HandleTime()
{
    const Millis now = clock_();
    link_.HandleTime();
    if (tickAt_ && now >= *tickAt_) {
        tickAt_.reset();
        link_.Progress().Tick();
    }
    CheckReloadWatch(now);
    if (job_) job_->Advance(now);
    if (reloading_ && reloadQuietUntil_ && now >= *reloadQuietUntil_) OnFullReloadEnd(false);
    AfterInput();
}

std::optional<Millis> CSession::NextDeadline() const
{
    std::optional<Millis> next = link_.NextDeadline();
    auto take = [&next](std::optional<Millis> at) {
        if (at && (!next || *at < *next)) next = at;
    };
    // A progress window that needs ticks and has none armed yet is armed by the next HandleTime.
    if (link_.Progress().NeedsTicks()) take(tickAt_ ? *tickAt_ : clock_());
    if (job_) take(job_->NextDeadline());
    take(reloadDueBy_);
    if (reloading_) take(reloadQuietUntil_);
    if (!posted_.empty()) take(clock_());
    return next;
}

// After every call: commands the core posted run now (never from inside the core's own
// call), an ended job goes, and the progress window's tick follows its state.
void CSession::AfterInput()
{
    if (progressDue_) {
        progressDue_ = false;
        PushProgress(link_.Progress().view());
    }
    RunPosted();
    if (job_ && !job_->Busy()) job_.reset();
    ArmProgressTick();
    UpdateBusy();
}

void CSession::ArmProgressTick()
{
    if (!link_.Progress().NeedsTicks()) tickAt_.reset();
    else if (!tickAt_) tickAt_ = clock_() + CSysProgress::kTickMs;
}

void CSession::RunPosted()
{
    if (runningPosted_) return;  // the loop below also runs what its commands post
    runningPosted_ = true;
    while (!posted_.empty()) {
        const int id = posted_.front();
        posted_.pop_front();
        RunCommand(id);
    }
    runningPosted_ = false;
}

void CSession::RunCommand(int id)
{
    switch (id) {
    case cmd::kSavePicture:
        // The front end takes the picture (TakePicture) and stores it.
        link_.Picture().TakeImage(picture_);
        Push(ev::TransferEnded{kPictureJob, true, {}});
        break;
    case cmd::kPictureFailed: Push(ev::TransferEnded{kPictureJob, false, {}}); break;
    case cmd::kFetchPicture: FetchPicture(); break;
    case cmd::kStopPicture: link_.ResetPicture(); break;
    default:
        if (id == cmd::kReload) ArmReloadWatch();
        link_.HandleCommand(id);
        break;
    }
}

void CSession::FetchPicture()
{
    link_.ResetPicture();
    link_.SendRaw("%SDSC\r");
    link_.SendRaw("%memr0\r");
    link_.Progress().ShowOperating(kPictureAskTicks);
}

std::string CSession::TakePicture() { return std::exchange(picture_, {}); }

void CSession::HandlePortLost()
{
    if (job_) {
        job_->Cancel();
        job_.reset();
        Push(ev::TransferEnded{jobName_, false, "The port closed."});
    }
    reloadDueBy_.reset();  // the lost port is told instead
    count_.Stop();
    runner_.Abort(ExecStop::PortLost);
    if (reloading_) OnFullReloadEnd(false);
    Push(ev::Status{kPortLostStatus});  // the unit's last state no longer holds
    Push(ev::PortLost{});
    UpdateBusy();
}

// --- commands ---

void CSession::Reload()
{
    ArmReloadWatch();
    link_.Reload();
    AfterInput();
}

void CSession::Setup()
{
    link_.EnterSetupMode();
    AfterInput();
}

void CSession::Restart()
{
    if (Busy()) {
        Refuse("Restart refused: the unit is busy.");
        return;
    }
    link_.Restart();
    AfterInput();
}

void CSession::Defaults()
{
    if (Busy()) {
        Refuse("Defaults refused: the unit is busy.");
        return;
    }
    link_.Defaults();
    AfterInput();
}

void CSession::Login()
{
    link_.Login();
    AfterInput();
}

void CSession::SetPassword(std::string password) { link_.password = std::move(password); }
const std::string& CSession::Password() const { return link_.password; }
bool CSession::LoggedIn() const { return link_.Console().LoggedIn; }
bool CSession::AwaitingSetupPrompt() const { return link_.Console().AwaitingPressPrompt; }

bool CSession::ReloadPage(std::string_view page)
{
    CPageBase* p = Page(page);
    if (p) p->ReloadGroup();
    AfterInput();
    return p != nullptr;
}

bool CSession::SavePage(std::string_view page)
{
    CPageBase* p = Page(page);
    if (!p) return false;
    if (const std::string why = PageWriteRefusal(page); !why.empty()) return Refuse(why);
    // A value that can't go on its command line stops the whole save, for every front end.
    if (const auto problems = CheckPage(*p); !problems.empty())
        return Refuse(std::string(CPageBase::kNotSaved) + "\n" + DescribeProblems(problems));
    StartSaveTrack(*p);
    p->OnSaveClicked();
    SeqJob end;  // runs once every line of the batch has had its answer
    end.onStart = [this] { EndSaveTrack(); };
    link_.Sequencer().Enqueue(std::move(end));
    AfterInput();
    return true;
}

bool CSession::EditRow(std::string_view page, const RowEdit& edit)
{
    CPageBase* p = Page(page);
    if (!p) return false;
    if (const std::string why = PageWriteRefusal(page); !why.empty()) return Refuse(why);
    if (auto problem = p->CheckEditRow(edit)) return Refuse(problem->reason);
    p->CommitEditRow(edit);
    AfterInput();
    return true;
}

bool CSession::PageCommand(std::string_view page, int id)
{
    CPageBase* p = Page(page);
    if (p && RefusePageCommand(*p, id)) return false;
    if (p && IsPageSave(*p, id)) return SavePage(page);  // tracked: its outcome goes to the status line
    bool handled = p && p->OnCommand(id);
    if (p && !handled) {
        // A command id rather than a button id: the button that carries it.
        for (const FieldDecl& b : p->Fields())
            if (b.kind == FieldKind::Button && b.command == id && b.id != id && p->OnCommand(b.id)) {
                handled = true;
                break;
            }
    }
    AfterInput();
    return handled;
}

bool CSession::ClickCell(std::string_view page, int listId, int row, int col)
{
    CPageBase* p = Page(page);
    const bool changed = p && p->OnCellClicked(listId, row, col);
    if (changed) {
        p->MarkEdited();  // a toggled cell goes to the unit with the page's Save
        p->NotifyChanged(listId);
    }
    AfterInput();
    return changed;
}

void CSession::LockPageButtons()
{
    link_.HandleCommand(cmd::kPageBusy);
    AfterInput();
}

void CSession::SendLine(const std::string& text, int waitMs)
{
    link_.Sequencer().EnqueueCommand(text + "\r", waitMs);
    AfterInput();
}

bool CSession::SendRaw(std::string_view text)
{
    const bool written = link_.SendRaw(text);
    AfterInput();
    return written;
}

void CSession::Tell(MessageIcon icon, const std::string& text) { Message(icon, text); }
void CSession::Close() { link_.closingDown = true; }
bool CSession::Closing() const { return link_.closingDown; }
bool CSession::SenderIdle() const { return link_.Sequencer().Idle(); }

void CSession::ContinueProfile()
{
    runner_.Continue();
    AfterInput();
}

void CSession::StopProfile()
{
    runner_.Stop();
    AfterInput();
}

void CSession::AbortProfile()
{
    runner_.Abort(ExecStop::UnitSilent);
    AfterInput();
}

std::string CSession::SilentUnitQuestion(int notSent)
{
    return "The unit left " + std::to_string(CProfileRunner::kSilentLinesToAsk) +
           " command lines in a row unanswered; " + std::to_string(notSent) +
           " line(s) are still to be sent.\nGo on with the profile? (No stops it without committing.)";
}

// --- transfers ---

bool CSession::StartTransfer(std::unique_ptr<ISessionJob> job)
{
    if (!job || job_) return false;  // one transfer at a time: two would interleave their bytes
    jobName_ = std::string(job->Name());
    jobDone_ = jobTotal_ = 0;
    const bool started = job->Start(JobContext{link_.Console(), *this}, clock_());
    if (started && job->Busy()) job_ = std::move(job);
    AfterInput();
    return started;
}

void CSession::StopTransfer()
{
    if (!job_) return;
    job_->Cancel();
    job_.reset();
    Push(ev::TransferEnded{jobName_, false, {}});
}

bool CSession::TransferRunning() const { return job_ != nullptr; }

// A job's blocks go in queue order: never in the middle of another sender's command line.
bool CSession::Write(std::string_view bytes)
{
    link_.Sequencer().EnqueueBlock(std::string(bytes));
    return true;
}

void CSession::ConsoleText(std::string_view text) { Push(ev::ConsoleChunk{std::string(text)}); }

void CSession::StatusText(const std::string& text)
{
    Push(ev::Status{text});
    Push(ev::TransferProgress{jobName_, jobDone_, jobTotal_, text});
}

void CSession::Progress(std::int64_t done, std::int64_t total)
{
    jobDone_ = done;
    jobTotal_ = total;
    Push(ev::TransferProgress{jobName_, done, total, {}});
}

void CSession::Finished(MessageIcon icon, const std::string& message)
{
    Push(ev::TransferEnded{jobName_, icon == MessageIcon::Information, message});
    Message(icon, message);
}

// --- the link's reports ---

void CSession::OnStatusText(const std::string& text) { Push(ev::Status{text}); }
void CSession::OnModeText(const std::string& text) { Push(ev::Mode{text}); }
void CSession::OnBeep() { Push(ev::Beep{}); }
void CSession::OnMessage(MessageIcon icon, const std::string& text) { Message(icon, text); }
void CSession::OnConsoleChunk(std::string_view bytes) { Push(ev::ConsoleChunk{std::string(bytes)}); }
void CSession::OnLine(const std::string& line)
{
    LineForWatch(line);
    Push(ev::Line{line, link_.Sequencer().Settling(), IsStreamLine(line)});
    OnFullReloadLine(line);
}

void CSession::OnPostCommand(int id)
{
    posted_.push_back(id);
    if (wake_) wake_();  // a page posted it outside any session call: the front end comes back
}

void CSession::OnCommandSent(std::string_view bytes)
{
    // A line sent again after a login is still the one in flight.
    const bool again = !inFlight_.empty() && inFlight_.back() == bytes && link_.Sequencer().Waiting();
    if (again) {
        Push(ev::CommandSent{std::string(bytes)});
        return;
    }
    inFlight_.emplace_back(bytes);
    count_.LineSent(bytes);
    Push(ev::CommandSent{std::string(bytes)});
}

// The sequencer tells every block's end. A block that was written and waited for nothing is
// no answer; a wait whose bound ran out leaves the sender settling; a block the port refused
// was never written.
void CSession::OnCommandDone(std::string_view bytes, AckKind ack)
{
    bool written = false;
    if (auto it = std::find(inFlight_.begin(), inFlight_.end(), bytes); it != inFlight_.end()) {
        inFlight_.erase(inFlight_.begin(), it + 1);
        written = true;
    }
    if (ack == AckKind::Err) ReportRefusedLine(bytes);
    if (ack != AckKind::None) Push(ev::CommandAnswered{std::string(bytes), ack, true});
    else if (!written) Push(ev::CommandAnswered{std::string(bytes), AckKind::None, false});
    else if (link_.Sequencer().Settling()) Push(ev::CommandAnswered{std::string(bytes), AckKind::None, true});
    CountSaveAnswer(bytes, written, ack);
}

}  // namespace rtu
