// Small shared types of the device link core.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace rtu {

// Milliseconds on a monotonic clock. The core never reads a clock: callers pass "now".
using Millis = std::int64_t;

// Where the core's bytes go: the serial port's WriteToPort, or a test's capture.
// Returns false when the block could not be queued.
using WriteFn = std::function<bool(std::string_view bytes)>;

// What ended a command line's wait.
enum class AckKind { None, PleaseWait, Ok, Err };

enum class MessageIcon { Information, Error };

// Commands posted to the main window (numbers as the window knows them).
// The console's baud rates, in the order the tool lists them.
inline constexpr int kBaudRates[] = {300, 600, 1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200};

namespace cmd {
inline constexpr int kSetup = 1005;
inline constexpr int kReload = 1007;
inline constexpr int kDefaults = 1009;
inline constexpr int kRestart = 1010;
inline constexpr int kSaveProfile = 1079;
inline constexpr int kExecProfile = 1080;
inline constexpr int kSavePicture = 1223;
inline constexpr int kLogin = 1268;
inline constexpr int kSetupBurstAgain = 2997;
inline constexpr int kLoginRetry = 2998;
inline constexpr int kPageBusy = 2999;
inline constexpr int kPictureFailed = 3;    // posted to the MMS settings page
inline constexpr int kFetchPicture = 2990;  // the MMS page's View: drop any transfer, ask the camera
inline constexpr int kStopPicture = 2991;   // the MMS page's Stop: drop any transfer
}  // namespace cmd

// What the link core tells the session that drives it (the session turns it into the events
// its front end drains). Every method runs on the thread that drives the core; the defaults
// ignore the event.
class ILinkObserver {
public:
    virtual ~ILinkObserver() = default;
    virtual void OnStatusText(const std::string& /*text*/) {}
    virtual void OnModeText(const std::string& /*text*/) {}
    virtual void OnBeep() {}
    // A command posted to the main window: run it later, after the core's own call, with
    // CDeviceLink::HandleCommand.
    virtual void OnPostCommand(int /*id*/) {}
    virtual void OnMessage(MessageIcon /*icon*/, const std::string& /*text*/) {}
    // Every chunk received in line mode, whole, before it is cut into lines.
    virtual void OnConsoleChunk(std::string_view /*bytes*/) {}
    // Every line delivered by the pipeline (the line log).
    virtual void OnLine(const std::string& /*line*/) {}
    // A command line was written by the sequencer / its wait ended.
    virtual void OnCommandSent(std::string_view /*bytes*/) {}
    virtual void OnCommandDone(std::string_view /*bytes*/, AckKind /*ack*/) {}
};

}  // namespace rtu
