// One connection to a unit as the tool sees it: the link core, every page, the full reload,
// profiles, transfers and exports. It is the one entry point of the front ends (the desktop
// tool, the command line, tests): commands go in as calls, received bytes and the passing of
// time go in through HandleReceive and HandleTime, and everything the front end shows comes
// out as typed events, drained with PollEvent after each call. Nothing here reads a clock of
// its own or touches a descriptor.
#pragma once

#include <array>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

#include "link/DeviceLink.h"
#include "link/ProfileRunner.h"
#include "link/SecretMask.h"
#include "pages/framework/PageBase.h"
#include "pages/framework/TextCatalog.h"
#include "pages/registry/PageRegistry.h"
#include "pages/registry/RouteCheck.h"
#include "session/JsonText.h"
#include "session/ProgressCount.h"
#include "session/SessionEvents.h"
#include "session/SessionJob.h"

namespace rtu {

using PageList = std::vector<std::unique_ptr<CPageBase>>;

// Whether secrets (PINs, passwords) go into a profile or export as they are or masked.
enum class Secrets { Kept, Masked };

class CSession : public IRouteDirectory, private ILinkObserver, private IJobSink {
public:
    // Message texts the user sees.
    static constexpr const char* kOpenProfileFailed = "Open the profile failed!";
    static constexpr const char* kSaveProfileOk = "Save the profile sucessed!";
    static constexpr const char* kWriteProfileFailed = "Write the profile failed!";
    static constexpr const char* kExecProfileOk = "Excute the profile sucessed!";
    static constexpr const char* kLoginRefused = CDeviceLink::kLoginRefused;
    static constexpr const char* kPictureJob = "picture";  // transfer events of the camera picture
    static constexpr const char* kPortLostStatus = "Disconnected: the port went away.";
    // Start of the message shown when this build's routing rows and page declarations disagree.
    static constexpr const char* kRouteProblems = "This build of the tool misreads some of the unit's reports";
    static constexpr int kReloadAnswerMs = 30000;  // a reload without "DUMPR" within this is told (ev::NoAnswer)

    // `catalog` may be null (empty texts). The pages are the built rows of `registry` (the
    // tool's page table unless a test brings its own).
    CSession(WriteFn write, ClockFn clock, const CTextCatalog* catalog,
             std::span<const PageInfo> registry = PageTable());
    ~CSession() override;
    CSession(const CSession&) = delete;
    CSession& operator=(const CSession&) = delete;

    // --- bytes and time in, events out ---
    // A chunk from the port.
    void HandleReceive(std::string_view chunk);
    // Time passed: ends waits whose bound ran out, ticks the progress window, moves jobs on.
    void HandleTime();
    // When HandleTime is due next (none: nothing waits for time).
    std::optional<Millis> NextDeadline() const;
    // The oldest event not yet taken.
    std::optional<SessionEvent> PollEvent();
    template <class Fn> void DrainEvents(Fn&& fn)
    {
        while (auto e = PollEvent()) fn(*e);
    }
    // Called whenever an event was queued or a line went out (a deadline may have moved), from
    // inside any call, also a page view's own: the front end polls later, never from inside.
    void SetWakeup(std::function<void()> wake) { wake_ = std::move(wake); }
    // The port closed under the session: a running transfer fails, the front end is told.
    void HandlePortLost();
    // Back to the state right after construction, page values aside: the link, a running
    // profile or transfer, queued events and posted commands. For harnesses that reuse one
    // session for many runs.
    void Reset();

    // --- commands (the top row, the console, rtuctl) ---
    void Reload();
    // Setup mode: the user has already been told to power-cycle the unit.
    void Setup();
    void Restart();
    void Defaults();
    void Login();
    void SetPassword(std::string password);
    const std::string& Password() const;
    bool LoggedIn() const;
    // Setup mode was asked for and the unit's restart prompt has not come yet.
    bool AwaitingSetupPrompt() const;
    // A page's own reload, save and row edit, by its class name; false for an unknown page.
    bool ReloadPage(std::string_view page);
    bool SavePage(std::string_view page);
    bool EditRow(std::string_view page, const RowEdit& edit);
    // A page's own command: a button by its id (or by the command it carries), a box that
    // acts at once. False for an unknown page or a command the page does not have.
    bool PageCommand(std::string_view page, int id);
    // A click on a list cell (priority grids toggle it); true when it changed the page.
    bool ClickCell(std::string_view page, int listId, int row, int col);
    // The page busy signal: locks the buttons of the page on show (ev::Busy).
    void LockPageButtons();
    // One command line (a carriage return is added) that waits `waitMs` for its answer,
    // told as ev::CommandAnswered.
    void SendLine(const std::string& text, int waitMs);
    // Text typed on the console, sent as typed, at once.
    bool SendRaw(std::string_view text);
    // A message for the user from a view (ev::Message).
    void Tell(MessageIcon icon, const std::string& text);
    // The window is closing: a running profile stops at its next line; no outcome message.
    void Close();
    bool Closing() const;
    // No command line queued or waiting.
    bool SenderIdle() const;

    // --- what may write now ---
    static constexpr int kReloadSilenceMs = 15000;  // a full reload without a line for this long has ended
    // A reload, a save batch, a row edit, a profile, a transfer or setup is running: nothing
    // that writes to the unit may start (ev::UnitBusy tells each change).
    bool Busy() const;
    // Why a page's Save or row edit may not go now; empty when it may.
    std::string PageWriteRefusal(std::string_view page) const;
    // The port was (re)opened: no page holds the unit's values yet.
    void PortOpened();
    // Pages with a profile section that were not read since the port was opened.
    std::vector<const CPageBase*> UnreadProfilePages() const;
    // Pages with edits on screen that have not gone to the unit.
    std::vector<const CPageBase*> EditedPages() const;
    // The name the user knows a page by: its frame's title, else its navigation caption.
    std::string PageTitle(const CPageBase& page) const;

    // --- transfers ---
    // Starts a job; false when one runs or it did not start (ev::TransferEnded tells why).
    bool StartTransfer(std::unique_ptr<ISessionJob> job);
    // Ends the running job at once (ev::TransferEnded, not ok, no message).
    void StopTransfer();
    bool TransferRunning() const;

    // --- camera picture ---
    static constexpr int kPictureAskTicks = 3;  // progress ticks shown after asking for a picture
    // Drops any picture transfer and asks the camera for one; the end comes as
    // ev::TransferEnded of kPictureJob (ok: TakePicture holds it).
    void FetchPicture();
    // The last finished picture (empty once taken).
    std::string TakePicture();
    // The port's line speed, which bounds how long a picture transfer may take.
    void SetLineSpeed(int baud) { link_.SetLineSpeed(baud); }

    // --- profiles ---
    // Writes every page's profile section, in profile order, into `path`. Tells the user the
    // outcome (ev::Message); returns whether the profile was written.
    // `withUnread` false leaves out the sections of pages that were never read.
    bool SaveProfile(const std::string& path, bool withUnread = true);
    // The profile text as SaveProfile would write it; with Secrets::Masked every secret is
    // the mask and a first comment line says so.
    std::string ProfileText(bool withUnread = true, Secrets secrets = Secrets::Kept);
    // Executes a profile; false when it cannot be opened or one is already running. The end
    // comes as ev::ProfileEnded; a unit that falls silent is asked about (ev::Question).
    bool ExecProfile(const std::string& path);
    bool ExecProfileLines(const std::vector<std::string>& lines);
    bool ExecProfileLines(CProfileLines lines);
    bool ProfileRunning() const { return runner_.Running(); }
    // What became of every line of the last run, and when it started (on the session's clock).
    const std::vector<ExecLineRecord>& ExecRecords() const { return runner_.Records(); }
    Millis ExecStartedAt() const { return runner_.StartedAt(); }
    bool ProfilePaused() const { return runner_.Paused(); }
    // Answers to the question about a silent unit.
    void ContinueProfile();
    void StopProfile();
    // Ends a running profile at once, as a unit that stopped answering (nothing committed).
    void AbortProfile();
    // What the user is told when an execution ends, and asked when the unit falls silent.
    static std::string ExecOutcomeText(const ExecSummary& s);
    static std::string SilentUnitQuestion(int notSent);

    // --- pages and exports ---
    const CTextCatalog* Catalog() const { return context_.catalog; }
    const PageList& Pages() const { return pages_; }
    std::span<const PageInfo> Registry() const { return registry_; }
    CPageBase* Page(std::string_view className) const;
    CPageBase* Page(PageId id) const;
    // Also counts the page for the progress window when a report reaches it.
    IRouteTarget* FindPage(PageId id) override;
    // The routing rows held against the pages at start-up.
    const RouteCheck& Routes() const { return routes_; }
    // Reports that reached a page without a taker there, over all pages.
    int DroppedReports() const;
    // Clears the pages a full reload clears, in their order.
    void ClearForReload();
    // Every page's values: { class name: { control id: value, … }, … }.
    nlohmann::json ExportJson(Secrets secrets = Secrets::Kept) const;
    // The same as indented JSON text; bytes that are not UTF-8 become U+FFFD.
    std::string ExportJsonText(Secrets secrets = Secrets::Kept) const;
    // How the secrets show on the wire: the keys of every secret the pages declare (reports and
    // command keywords) and the secret values the pages and the console password hold now.
    SecretMarks SecretMarksOnWire() const;
    // The command lines of a profile that carry a masked secret instead of a value.
    static std::vector<std::string> MaskedLines(const CProfileLines& lines);
    // Why a profile with such lines is not run (the lines named by their keys).
    static std::string MaskedLinesRefusal(const std::vector<std::string>& masked);
    // One page's values: { control id: value, … }.
    static nlohmann::json PageJson(const CPageBase& page);
    // Adds one field's member of PageJson to `out`; false for a field that exports nothing.
    static bool AddFieldJson(const CPageBase& page, const FieldDecl& f, nlohmann::json& out);
    // Exported values as indented JSON text; bytes that are not UTF-8 become U+FFFD.
    static std::string JsonText(const nlohmann::json& values);
    // PageJson(page) written as text into `out` (as JsonText writes it), without building it;
    // returns its member count.
    static std::size_t WritePageJson(const CPageBase& page, CJsonText& out);
    // The same object with only the members of `fields` (those that export a value).
    static std::size_t WriteFieldsJson(const CPageBase& page, std::span<const FieldDecl* const> fields, CJsonText& out);

private:
    void Connect();
    void Message(MessageIcon icon, const std::string& text);
    void Push(SessionEvent event);
    void RunCommand(int id);
    void RunPosted();
    void AfterInput();
    void ArmProgressTick();
    // The reload watch and the progress count (SessionWatch.cpp).
    void ArmReloadWatch();
    void CheckReloadWatch(Millis now);
    void LineForWatch(const std::string& line);
    void ReportRefusedLine(std::string_view bytes);
    void TellRefused(const CPageBase& page, const std::vector<const FieldDecl*>& rows, std::string_view bytes);
    void PushProgress(const CSysProgress::View& view);
    // What may write now (SessionWrites.cpp).
    bool Refuse(const std::string& text);
    bool RefusePageCommand(const CPageBase& page, int id);
    static bool IsPageSave(const CPageBase& page, int id);
    void UpdateBusy();
    void OnFullReloadStart();
    void OnFullReloadLine(const std::string& line);
    void OnFullReloadEnd(bool finished);
    void StartSaveTrack(const CPageBase& page);
    void CountSaveAnswer(std::string_view bytes, bool written, AckKind ack);
    void EndSaveTrack();
    void TellOutcome(const ExecSummary& s, bool reloaded);
    void ResetWriteState();

    // ILinkObserver: the link's reports become events.
    void OnStatusText(const std::string& text) override;
    void OnModeText(const std::string& text) override;
    void OnBeep() override;
    void OnPostCommand(int id) override;
    void OnMessage(MessageIcon icon, const std::string& text) override;
    void OnConsoleChunk(std::string_view bytes) override;
    void OnLine(const std::string& line) override;
    void OnCommandSent(std::string_view bytes) override;
    void OnCommandDone(std::string_view bytes, AckKind ack) override;

    // IJobSink: the running job's reports become events.
    bool Write(std::string_view bytes) override;
    void ConsoleText(std::string_view text) override;
    void StatusText(const std::string& text) override;
    void Progress(std::int64_t done, std::int64_t total) override;
    void Finished(MessageIcon icon, const std::string& message) override;

    ClockFn clock_;
    std::span<const PageInfo> registry_;
    CDeviceLink link_;
    PageContext context_;
    PageList pages_;
    std::array<CPageBase*, kPageIdLimit> byId_{};     // pages_ by navigation id, for the routing
    std::array<std::string, kPageIdLimit> captions_;  // their captions, for the progress window
    RouteCheck routes_;
    CProfileRunner runner_;
    std::unique_ptr<ISessionJob> job_;
    std::string picture_;       // the last finished picture, until the front end takes it
    std::string jobName_;       // the running (or last) job's name, for its events
    std::int64_t jobDone_ = 0;  // the running job's progress, for its status texts
    std::int64_t jobTotal_ = 0;

    std::deque<SessionEvent> events_;
    std::vector<bool> changedQueued_;                  // by position in pages_: an ev::PageChanged is queued
    std::deque<std::size_t> changedOrder_;             // the positions of the queued ones, oldest first
    std::deque<int> posted_;                           // commands the core posted, run after the call
    std::deque<std::string> inFlight_;                 // blocks written whose wait has not ended
    std::optional<Millis> tickAt_;                     // the progress window's next tick
    bool progressDue_ = false;                         // a report changed what the window says
    bool receiving_ = false;                           // a received chunk is being taken
    std::function<void()> wake_;
    bool runningPosted_ = false;
    bool pageButtonsLocked_ = false;     // the last busy event locked the page buttons
    std::optional<Millis> reloadDueBy_;  // a reload waits for its "DUMPR" until then
    CProgressCount count_;               // what the progress window counts and says

    // A page's save batch on its way: the answers its lines got so far.
    struct SaveTrack {
        std::string title;
        int ok = 0;
        int err = 0;
        int unanswered = 0;
    };
    bool reloading_ = false;                     // a full reload went out and its "DUMPR" has not come
    std::optional<Millis> reloadQuietUntil_;     // the full reload ends unfinished when no line came by then
    std::optional<ExecSummary> pendingOutcome_;  // told once the reload after the profile ended
    std::optional<SaveTrack> saveTrack_;
    bool busyShown_ = false;  // what the last ev::UnitBusy said
};

}  // namespace rtu
