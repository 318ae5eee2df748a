// What may write to the unit now: the busy state, which pages hold the unit's values, the
// edits on screen, and what a page save and a profile run tell the user when they end.
#include <algorithm>

#include "session/Session.h"
#include "session/StreamLines.h"

namespace rtu {

namespace {

constexpr const char* kBusyRefusal =
    "The unit is busy (a reload, a save or a profile is running): try again when it has finished.";
constexpr const char* kReloadLine = "DUMPR";  // the line that ends the unit's full report

bool IsSaveCommand(int command) { return command == ctl::kSave || command == ctl::kSave1 || command == ctl::kSave0; }

// The declared control a page command runs: the button or box by its id, else the button
// that carries it as its command.
const FieldDecl* CommandField(const CPageBase& page, int id)
{
    if (const FieldDecl* f = page.FindField(id)) return f;
    for (const FieldDecl& b : page.Fields())
        if (b.kind == FieldKind::Button && b.command == id) return &b;
    return nullptr;
}

std::string Lines(int n) { return std::to_string(n) + (n == 1 ? " line" : " lines"); }

}  // namespace

bool CSession::Busy() const
{
    return reloading_ || !link_.Sequencer().Idle() || runner_.Running() || link_.Console().AwaitingPressPrompt ||
           job_ != nullptr || saveTrack_.has_value() || pendingOutcome_.has_value();
}

std::string CSession::PageWriteRefusal(std::string_view page) const
{
    const CPageBase* p = Page(page);
    if (!p) return {};
    if (Busy()) return kBusyRefusal;
    if (!p->Loaded())
        return "\"" + PageTitle(*p) +
               "\" was not read from the unit since the port was opened: reload it before writing to the unit.";
    return {};
}

std::string CSession::PageTitle(const CPageBase& page) const
{
    std::string title;
    if (const FieldDecl* f = page.FindField(ctl::kFrame)) title = page.Resolve(f->caption);
    if (title.empty() && page.Info()->itemKey) title = page.Tr("TABS", page.Info()->itemKey);
    return title.empty() ? std::string(page.ClassName()) : title;
}

bool CSession::Refuse(const std::string& text)
{
    Push(ev::Refused{text});
    return false;
}

// A page command that writes is refused while the unit is busy; a Save also when the page
// was never read. Its own reload always goes.
bool CSession::RefusePageCommand(const CPageBase& page, int id)
{
    const FieldDecl* f = CommandField(page, id);
    const int command = f && f->command ? f->command : id;
    if (command == ctl::kReload) return false;
    std::string why;
    if (IsSaveCommand(command)) why = PageWriteRefusal(page.ClassName());
    else if (f && (f->kind == FieldKind::Button || (f->kind == FieldKind::Check && f->write.onClick)) && Busy())
        why = kBusyRefusal;
    if (why.empty()) return false;
    Refuse(why);
    return true;
}

// A Save button of the page's own (not one with a job of its own).
bool CSession::IsPageSave(const CPageBase& page, int id)
{
    const FieldDecl* f = CommandField(page, id);
    return f && f->kind == FieldKind::Button && !f->onClick && IsSaveCommand(f->command ? f->command : f->id);
}

void CSession::UpdateBusy()
{
    const bool busy = Busy();
    if (busy == busyShown_) return;
    busyShown_ = busy;
    Push(ev::UnitBusy{busy});
}

void CSession::PortOpened()
{
    if (reloading_) OnFullReloadEnd(false);
    for (const auto& p : pages_) p->SetLoaded(false);
    busyShown_ = Busy();
    Push(ev::UnitBusy{busyShown_});  // every page's Save looks again
}

std::vector<const CPageBase*> CSession::UnreadProfilePages() const
{
    std::vector<const CPageBase*> out;
    for (const auto& p : pages_)
        if (p->Info()->profileOrder > 0 && !p->Loaded()) out.push_back(p.get());
    return out;
}

std::vector<const CPageBase*> CSession::EditedPages() const
{
    std::vector<const CPageBase*> out;
    for (const auto& p : pages_)
        if (p->Edited()) out.push_back(p.get());
    return out;
}

// --- the full reload ---

void CSession::OnFullReloadStart()
{
    reloading_ = true;
    reloadQuietUntil_ = clock_() + kReloadSilenceMs;
    for (const auto& p : pages_) {
        p->SetLoaded(false);
        p->ClearEdited();
    }
    ClearForReload();
}

void CSession::OnFullReloadLine(const std::string& line)
{
    if (!reloading_) return;
    if (!IsStreamLine(line)) reloadQuietUntil_ = clock_() + kReloadSilenceMs;
    if (line.find(kReloadLine) != std::string::npos) OnFullReloadEnd(true);
}

void CSession::OnFullReloadEnd(bool finished)
{
    reloading_ = false;
    reloadQuietUntil_.reset();
    if (finished)
        for (const auto& p : pages_) p->SetLoaded(true);
    if (pendingOutcome_) {
        const ExecSummary s = *pendingOutcome_;
        pendingOutcome_.reset();
        TellOutcome(s, finished);
    }
}

void CSession::TellOutcome(const ExecSummary& s, bool reloaded)
{
    if (link_.closingDown) return;
    std::string text = ExecOutcomeText(s);
    if (!reloaded) text += "\nThe reload after it did not finish: the pages may not show the unit's values.";
    Message(s.Clean() && reloaded ? MessageIcon::Information : MessageIcon::Error, text);
}

// --- a page's save batch ---

void CSession::StartSaveTrack(const CPageBase& page) { saveTrack_ = SaveTrack{PageTitle(page)}; }

void CSession::CountSaveAnswer(std::string_view bytes, bool written, AckKind ack)
{
    // A full reload whose request never left the port (it is closed) cannot finish.
    if (reloading_ && !written && bytes.rfind("%DUMP", 0) == 0) OnFullReloadEnd(false);
    if (!saveTrack_) return;
    if (ack == AckKind::Err) ++saveTrack_->err;
    else if (ack != AckKind::None) ++saveTrack_->ok;
    else if (!written || link_.Sequencer().Settling()) ++saveTrack_->unanswered;
}

void CSession::EndSaveTrack()
{
    if (!saveTrack_) return;
    const SaveTrack t = *saveTrack_;
    saveTrack_.reset();
    if (t.err == 0 && t.unanswered == 0)
        Push(ev::Status{"Saved \"" + t.title + "\": " + Lines(t.ok) + " answered \"CMD OK\"."});
    else
        Push(ev::Status{"Saving \"" + t.title + "\" failed: " + Lines(t.err) + " answered \"CMD ERR\", " +
                        Lines(t.unanswered) + " not answered, " + std::to_string(t.ok) + " answered \"CMD OK\"."});
}

void CSession::ResetWriteState()
{
    reloading_ = false;
    reloadQuietUntil_.reset();
    pendingOutcome_.reset();
    saveTrack_.reset();
    busyShown_ = false;
}

}  // namespace rtu
