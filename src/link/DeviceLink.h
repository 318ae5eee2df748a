// The tool's side of the unit's console, without any I/O: received chunks and the
// passing of time go in; command bytes (through the sequencer), status texts, posted
// commands and routed reports come out. The window and the command line drive it.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "link/ImageCollector.h"
#include "link/LineFramer.h"
#include "link/LinkTypes.h"
#include "link/RoutingTable.h"
#include "link/Sequencer.h"
#include "link/SysProgress.h"

namespace rtu {

// The console state the tool keeps. All flags start cleared.
struct CConsoleState {
    bool AckReceived = false;          // the last command was answered
    bool LoggedIn = false;             // console login established (a reload ended)
    int LoginAttempts = 0;             // automatic login tries since the last success
    bool AwaitingPressPrompt = false;  // setup-mode entry in progress
    bool RecvSeen = false;             // file upload: the unit received a chunk
    bool CmdErrSeen = false;           // a command was refused
    bool FileUploadOk = false;         // file upload finished
    bool ConnectedSeen = false;        // file upload: the unit connected
    AckKind LastAck = AckKind::None;   // what the last acknowledgement said
};

class CDeviceLink {
public:
    static constexpr const char* kDefaultPassword = "open the gate wide";
    static constexpr const char* kSetupBurst = "%%%%%%%%%%%%";  // twelve '%', no terminator
    static constexpr int kMaxLoginRetries = 3;                  // automatic retries after "Login Failed"
    static constexpr const char* kLoginRefused = "The login password is incorrect!";
    static constexpr int kLineTicks = 4;          // progress ticks for a report line
    static constexpr int kPressPromptTicks = 15;  // progress ticks while the setup burst is repeated
    static constexpr int kPictureTicks = 6;       // progress ticks per picture chunk
    static constexpr int kMaxResetRounds = 64;    // commands queued by the ones Reset ends

    CDeviceLink(WriteFn write, ClockFn clock, ILinkObserver* observer = nullptr);
    CDeviceLink(const CDeviceLink&) = delete;
    CDeviceLink& operator=(const CDeviceLink&) = delete;

    void SetRouteDirectory(IRouteDirectory* pages) { pages_ = pages; }
    // Clears the pages before a full reload (the session knows which, in which order).
    void SetReloadClearer(std::function<void()> clear) { clearForReload_ = std::move(clear); }

    // Tells the lines the unit sends by itself, outside any reply (streamed records, events).
    void SetStreamLineTest(std::function<bool(std::string_view)> test) { isStreamLine_ = std::move(test); }

    // A chunk from the port. Returns 1 when a picture transfer started in it, else 0. The
    // bytes after a picture's trailer are cut into lines like any others.
    int HandleReceive(std::string_view chunk);
    // Time passed: ends a command wait whose bound ran out.
    void HandleTime();
    // Back to the state of a new link: the partial line, a picture transfer, the console
    // flags, the progress state and every queued command are dropped (a command in flight
    // ends its wait unanswered). The observer, route directory and callbacks stay.
    void Reset();
    // When HandleTime is due next: a command's bound, or the quiet time or the whole-transfer
    // bound of a picture transfer.
    std::optional<Millis> NextDeadline() const;

    // The main window's commands (the setup command expects the user to have been told to
    // power-cycle the unit first). Unknown ids are ignored; returns whether it was handled.
    bool HandleCommand(int id);
    void EnterSetupMode();
    void SendSetupBurst();
    void Reload();
    void Defaults();
    void Restart();
    void Login();
    void LoginRetry();
    void SendPassword();
    // Raw text typed on the console, sent as typed.
    bool SendRaw(std::string_view text) { return sequencer_.WriteNow(text); }

    // The time on the clock the link was given.
    Millis Now() const { return clock_(); }
    CSequencer& Sequencer() { return sequencer_; }
    const CSequencer& Sequencer() const { return sequencer_; }
    CSysProgress& Progress() { return progress_; }
    const CSysProgress& Progress() const { return progress_; }
    CConsoleState& Console() { return console_; }
    const CConsoleState& Console() const { return console_; }
    CImageCollector& Picture() { return picture_; }
    const CImageCollector& Picture() const { return picture_; }
    // Drops a picture transfer in progress (a new fetch starts, or the user stopped it); the
    // console is told how many bytes of it had come.
    void ResetPicture();
    // The port's line speed: it bounds how long a picture transfer may take.
    void SetLineSpeed(int baud) { baud_ = baud; }

    std::string password = kDefaultPassword;  // the console password the tool answers with
    bool closingDown = false;                 // the window is closing: a running profile stops
    bool profileBusy = false;                 // a profile is being executed
    // The unit refused the password after every automatic retry (a running profile stops).
    std::function<void()> onLoginRefused;

private:
    int ReceiveLines(std::string_view chunk);
    // How much of a chunk in line mode the console shows: all of it, or up to the end of a
    // picture's start line finished in it.
    std::size_t ConsoleShare(std::string_view chunk) const;
    void ProcessLine(const std::string& line, AckKind& ack, bool stream);
    void StartPicture();
    void FeedPicture(std::string_view chunk);
    void PictureOutcome(CImageCollector::Result result, std::size_t chunkBytes);
    void PictureFailed(const char* status);
    void Status(const std::string& text);
    void Post(int id);

    ClockFn clock_;
    ILinkObserver* observer_;
    IRouteDirectory* pages_ = nullptr;
    std::function<void()> clearForReload_;
    std::function<bool(std::string_view)> isStreamLine_;
    CSequencer sequencer_;
    CSysProgress progress_;
    CConsoleState console_;
    CLineFramer framer_;
    CImageCollector picture_;
    std::optional<Millis> pictureQuietAt_;  // a picture transfer without a byte until then has failed
    std::optional<Millis> pictureEndsBy_;   // a picture transfer not ended by then has failed
    int baud_ = CImageCollector::kDefaultBaud;
    std::optional<std::size_t> pictureBytes_;  // bytes of the running transfer so far (none: no transfer)
    std::string line_;
};

}  // namespace rtu
