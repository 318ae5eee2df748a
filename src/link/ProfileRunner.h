// Executes a profile: the start command, every command line of the file one at a time
// (each waiting for the unit's acknowledgement), the commit command, then a full reload.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "link/DeviceLink.h"

namespace rtu {

struct ExecSummary {
    int sent = 0;        // command lines of the file sent to the unit
    int ok = 0;          // answered "CMD OK" (or "Please wait")
    int err = 0;         // answered "CMD ERR"
    int unanswered = 0;  // no acknowledgement within the bound, or the port refused the line
    bool stopped = false;  // the window closed while it ran
    bool Clean() const { return err == 0 && unanswered == 0 && !stopped; }
};

class CProfileRunner {
public:
    static constexpr int kFramingWaitMs = 3000;  // start and commit lines
    static constexpr int kLineWaitMs = 9000;     // each command line of the file
    static constexpr int kLineTicks = 3;         // progress ticks per shown line

    // Reads a profile's lines; false when the file cannot be opened.
    static bool ReadLines(const std::string& path, std::vector<std::string>& lines);

    explicit CProfileRunner(CDeviceLink& link) : link_(link) {}
    // Starts executing; false when a profile is already running. `done` runs after the
    // commit line's wait, before the reload is posted.
    bool Start(std::vector<std::string> lines, std::function<void(const ExecSummary&)> done = {});
    bool Running() const { return running_; }

private:
    void Next();
    void Commit();

    CDeviceLink& link_;
    std::vector<std::string> lines_;
    std::size_t index_ = 0;
    std::string previous_;
    ExecSummary summary_;
    bool running_ = false;
    std::function<void(const ExecSummary&)> done_;
};

}  // namespace rtu
