// A transfer the session runs for its front end (the sound file download today; the camera
// picture and the temperature log sync plug in the same way). A job is a state machine
// without I/O: the session starts it, hands it the time and every received chunk's effect
// on the console flags, and wakes it at its deadline. What it writes goes through the
// session's one sender; what it reports becomes the session's transfer events.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "link/DeviceLink.h"
#include "link/LinkTypes.h"

namespace rtu {

// Where a running job's output goes (the session, or a test's capture).
class IJobSink {
public:
    virtual ~IJobSink() = default;
    virtual bool Write(std::string_view bytes) = 0;        // to the unit, in queue order
    virtual void ConsoleText(std::string_view text) = 0;   // a note on the console
    virtual void StatusText(const std::string& text) = 0;  // the status line
    virtual void Progress(std::int64_t done, std::int64_t total) = 0;
    virtual void Finished(MessageIcon icon, const std::string& message) = 0;  // the job ended
};

// What a job sees of the session: the console flags the receive pipeline keeps, and the sink.
struct JobContext {
    CConsoleState& console;
    IJobSink& sink;
};

class ISessionJob {
public:
    virtual ~ISessionJob() = default;
    // A short name the transfer events carry ("sound", "picture", "log sync").
    virtual std::string_view Name() const = 0;
    // Starts; false when it cannot (told to the sink as Finished).
    virtual bool Start(JobContext context, Millis now) = 0;
    // A chunk was received or time passed: moves on as far as the flags and the time allow.
    virtual void Advance(Millis now) = 0;
    virtual std::optional<Millis> NextDeadline() const = 0;
    virtual bool Busy() const = 0;
    // Ends a running job at once, without telling the sink.
    virtual void Cancel() = 0;
};

}  // namespace rtu
