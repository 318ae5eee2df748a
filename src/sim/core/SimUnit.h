// The simulated unit without any I/O: it is fed the bytes it receives together with the
// current time, and hands out the bytes it transmits, each no earlier than its time.
// It keeps a device image, answers dump commands with reports, applies write commands,
// acknowledges every command line, follows the power-up / setup-mode / working-mode
// sequence and the console login, and can misbehave in the named failure modes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "sim/core/SimImage.h"
#include "sim/core/SimLineFramer.h"
#include "sim/core/SimOptions.h"
#include "sim/core/SimRecords.h"
#include "sim/core/SimTrace.h"
#include "sim/core/SimTransmitter.h"

namespace rtu {

class CSimUnit {
public:
    static constexpr std::size_t kMaxBacklogBytes = 256 * 1024;  // unsent output before the unit stops reading
    static constexpr std::size_t kMaxPendingInput = 64 * 1024;   // received bytes held while the unit is busy
    static constexpr std::size_t kMaxTraceEntries = 100000;      // trace entries held until they are taken
    static constexpr int kMaxLateRecords = 10;                   // real-time records caught up after a stall

    enum class EState {
        Working,     // normal operation
        PoweringUp,  // the "Press '%%%%'" prompt was printed; a burst now enters setup mode
        Setup,       // setup mode
    };

    CSimUnit(SSimOptions options, CSimImage image, CSimImage factory);

    // The unit is switched on: model line, power-up lines and the setup-mode prompt.
    void PowerUp(std::int64_t nowMs);
    // The unit is switched off and on again: power-up lines and the setup-mode prompt.
    void PowerCycle(std::int64_t nowMs);
    // Bytes heard on the line at nowMs.
    void HandleReceived(std::string_view bytes, std::int64_t nowMs);
    // Advances the unit to nowMs and returns the bytes that leave by then.
    std::string PollTransmit(std::int64_t nowMs);
    // When the unit next has something to do (ms); nothing when it is idle.
    std::optional<std::int64_t> NextDeadline() const;
    // False while the unit is still working through earlier input or output is backed up.
    bool WantsInput() const;
    // True once the unit has disappeared (after its last command) and sent its last byte.
    bool WantsExit() const;
    std::vector<SSimTraceEntry> TakeTrace();

    const CSimImage& Image() const { return image_; }
    EState State() const { return state_; }
    bool LoggedIn() const { return !locked_; }
    int CommandsReceived() const { return commands_; }
    std::size_t DroppedInput() const { return droppedInput_; }

private:
    struct SResult {
        std::vector<std::string> lines;  // answer lines, the acknowledgement last
        bool restart = false;
    };

    void ProcessPending(std::int64_t nowMs);
    void HandleEvent(const CSimLineFramer::SEvent& event, std::int64_t nowMs);
    void HandleBurst(std::int64_t nowMs);
    void HandleCommand(std::string_view line, bool refused, std::int64_t nowMs);
    void HandleText(std::string_view line, std::int64_t nowMs);
    void HandleTime(std::int64_t nowMs);
    // Sends the real-time temperature records due by nowMs.
    void SendRecords(std::int64_t nowMs);
    SResult Execute(std::string_view command);
    void Send(const std::vector<std::string>& lines, std::int64_t nowMs);
    // The camera's answer to a picture request (SimPicture.cpp).
    void SendPicture(std::int64_t nowMs);
    // The next event of the unit's rotating alarm and restore events (SimPicture.cpp).
    std::string NextEventLine();
    std::int64_t Emit(const std::string& line, std::int64_t earliestMs);
    void EmitNoise(std::int64_t earliestMs);
    void Trace(std::int64_t ms, char direction, std::string text);
    // Moves the trace of lines that have left the unit by nowMs into the trace.
    void FlushSentTrace(std::int64_t nowMs);
    bool PasswordRequired() const { return options_.password && !options_.password->empty(); }

    SSimOptions options_;
    CSimImage image_;
    CSimImage factory_;
    CSimLineFramer framer_;
    CSimTransmitter tx_;
    std::optional<std::int64_t> nextEventMs_;  // when the next event is reported
    int events_ = 0;                           // events reported so far
    std::mt19937 noiseRng_;
    std::string pending_;  // received bytes not yet worked through
    EState state_ = EState::Working;
    std::int64_t windowEndMs_ = 0;  // end of the setup-mode prompt window
    bool locked_ = false;           // console login still needed
    bool exiting_ = false;          // the unit has disappeared
    int commands_ = 0;              // command lines received
    std::size_t droppedInput_ = 0;  // received bytes lost while the unit was busy
    std::vector<SSimTraceEntry> trace_;
    std::deque<SSimTraceEntry> sentTrace_;  // lines queued to send, traced once they leave
    CSimRecords records_;
    std::int64_t nextRecordMs_ = 0;  // when the next real-time record is due (0: not yet planned)
};

}  // namespace rtu
