// The sound file download to the unit, as a state machine without I/O: it writes the start
// command, waits for "$CONNECTED", then writes the file in 256-byte chunks, each answered by
// "+RECV:" (or an acknowledgement, or "CMD ERR", which stops it), and ends on "FILEUPL OK".
// It reads and clears the transfer flags the receive pipeline keeps; the owner calls Advance
// whenever a chunk has been received and when NextDeadline is due. Nothing here sleeps.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "link/DeviceLink.h"
#include "link/LinkTypes.h"

namespace rtu {

// Where the download's output goes.
class ISoundUploadSink {
public:
    virtual ~ISoundUploadSink() = default;
    virtual bool Write(std::string_view bytes) = 0;            // straight to the port
    virtual void ConsoleText(std::string_view text) = 0;       // appended to the receive pane
    virtual void StatusText(const std::string& text) = 0;      // the main window's status line
    virtual void Progress(std::int64_t sent, std::int64_t total) = 0;
    virtual void Finished(MessageIcon icon, const std::string& message) = 0;
};

class CSoundUpload {
public:
    // Reads up to `capacity` bytes of the file into `buffer`; 0 at the end (or on a read error).
    using Reader = std::function<std::size_t(char* buffer, std::size_t capacity)>;

    static constexpr std::size_t kChunkBytes = 256;   // file bytes per write
    static constexpr Millis kStartWaitMs = 299 * 60;  // wait for "$CONNECTED" after the start command
    static constexpr Millis kChunkWaitMs = 100 * 100; // wait for a chunk's answer
    static constexpr Millis kFinalWaitMs = kChunkWaitMs;  // wait for "FILEUPL OK" after the last chunk
    static constexpr int kInputSlots = 4;             // slots 0-3: alarm sounds of digital inputs 0-3
    static constexpr std::int64_t kMaxFileBytes = 0x7FFFFFFF;  // the start command carries an int

    static constexpr const char* kOpenError = "open wav file error!";
    static constexpr const char* kNoStartResponse = "wav file download error, no start response!";
    static constexpr const char* kDownloadOk = "wav file download successfully!";
    static constexpr const char* kDownloadError = "wav file download error!";
    static constexpr const char* kTimeouts = "timeouts";
    static constexpr const char* kUploadOkStatus = "File upload Ok";

    enum class State { Idle, AwaitConnected, AwaitChunkAnswer, AwaitUploadOk };

    CSoundUpload(CConsoleState& console, ISoundUploadSink& sink);

    // The start command: a slot below kInputSlots names the input's alarm file (a slot of -1,
    // none chosen, is formatted as it is); a higher slot uses the slot's text as the file name.
    static std::string StartCommand(int slot, std::string_view slotText, std::int64_t length);

    // Starts a download of `length` bytes read through `read`. False when one is running
    // or the length cannot be sent (told to the sink as the open error).
    bool Start(int slot, std::string_view slotText, std::int64_t length, Reader read, Millis now);
    // Looks at the transfer flags and the time; moves on as far as they allow.
    void Advance(Millis now);
    std::optional<Millis> NextDeadline() const;

    bool Busy() const { return state_ != State::Idle; }
    State state() const { return state_; }
    std::int64_t Sent() const { return sent_; }

private:
    void SendNextChunk(Millis now);
    void AfterLastChunk(Millis now);
    void Finish();

    CConsoleState& console_;
    ISoundUploadSink& sink_;
    State state_ = State::Idle;
    Reader read_;
    std::int64_t length_ = 0;
    std::int64_t sent_ = 0;
    Millis deadline_ = 0;
};

}  // namespace rtu
