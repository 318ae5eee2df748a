// The sound file download to the unit, a session job: it writes the start command, waits for
// "$CONNECTED", then writes the file in 256-byte chunks, each answered by "+RECV:" (or an
// acknowledgement, or "CMD ERR", which stops it), and ends on "FILEUPL OK". It reads and
// clears the transfer flags the receive pipeline keeps; the session calls Advance whenever a
// chunk has been received and when NextDeadline is due. Nothing here sleeps.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "link/DeviceLink.h"
#include "link/LinkTypes.h"
#include "session/SessionJob.h"

namespace rtu {

class CSoundUpload : public ISessionJob {
public:
    // Reads up to `capacity` bytes of the file into `buffer`; 0 at the end (or on a read error).
    using Reader = std::function<std::size_t(char* buffer, std::size_t capacity)>;

    static constexpr std::size_t kChunkBytes = 256;            // file bytes per write
    static constexpr Millis kStartWaitMs = 299 * 60;           // wait for "$CONNECTED" after the start command
    static constexpr Millis kChunkWaitMs = 100 * 100;          // wait for a chunk's answer
    static constexpr Millis kFinalWaitMs = kChunkWaitMs;       // wait for "FILEUPL OK" after the last chunk
    static constexpr int kInputSlots = 4;                      // slots 0-3: alarm sounds of digital inputs 0-3
    static constexpr std::int64_t kMaxFileBytes = 0x7FFFFFFF;  // the start command carries an int

    static constexpr const char* kOpenError = "open wav file error!";
    static constexpr const char* kNoStartResponse = "wav file download error, no start response!";
    static constexpr const char* kDownloadOk = "wav file download successfully!";
    static constexpr const char* kDownloadError = "wav file download error!";
    static constexpr const char* kTimeouts = "timeouts";
    static constexpr const char* kUploadOkStatus = "File upload Ok";
    static constexpr const char* kJobName = "sound";

    enum class State { Idle, AwaitConnected, AwaitChunkAnswer, AwaitUploadOk };

    // A download of `length` bytes read through `read` into the chosen slot.
    CSoundUpload(int slot, std::string slotText, std::int64_t length, Reader read);

    // The start command: a slot below kInputSlots names the input's alarm file (a slot of -1,
    // none chosen, is formatted as it is); a higher slot uses the slot's text as the file name.
    static std::string StartCommand(int slot, std::string_view slotText, std::int64_t length);

    std::string_view Name() const override { return kJobName; }
    // False when it is running or the length cannot be sent (told to the sink as the open error).
    bool Start(JobContext context, Millis now) override;
    // Looks at the transfer flags and the time; moves on as far as they allow.
    void Advance(Millis now) override;
    std::optional<Millis> NextDeadline() const override;
    bool Busy() const override { return state_ != State::Idle; }
    void Cancel() override;

    State state() const { return state_; }
    std::int64_t Sent() const { return sent_; }

private:
    void SendNextChunk(Millis now);
    void AfterLastChunk(Millis now);
    void Finish();

    CConsoleState* console_ = nullptr;
    IJobSink* sink_ = nullptr;
    State state_ = State::Idle;
    int slot_;
    std::string slotText_;
    Reader read_;
    std::int64_t length_;
    std::int64_t sent_ = 0;
    Millis deadline_ = 0;
};

}  // namespace rtu
