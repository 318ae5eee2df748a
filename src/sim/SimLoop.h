// Runs a simulated unit on its pseudo-terminal: one poll loop over the pty master and a
// signal descriptor (SIGINT/SIGTERM end it, SIGUSR1 power-cycles the unit), woken by the
// unit's next deadline. Nothing spins and nothing sleeps.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

#include "sim/SimPty.h"
#include "sim/core/SimUnit.h"

namespace rtu {

class CSimLoop {
public:
    static constexpr std::size_t kReadChunk = 4096;                // bytes read from the pty at once
    static constexpr std::size_t kMaxUnwrittenBytes = 256 * 1024;  // output the pty has not taken yet
    static constexpr int kExitLingerMs = 500;  // a disappearing unit's last answer gets this long to be read

    CSimLoop(CSimUnit& unit, CSimPty& pty, std::FILE* trace);
    // Prepares the signal descriptor; call before anything that may be signalled.
    bool Prepare(std::string& error);
    // Runs until a terminating signal or until the unit disappears.
    void Run(bool banner);
    std::size_t DroppedOutput() const { return droppedOutput_; }

private:
    std::int64_t NowMs() const;
    void ReadPty(std::int64_t nowMs);
    void WritePty();
    bool ReadSignals(std::int64_t nowMs);
    void FlushTrace();
    void Linger();

    CSimUnit& unit_;
    CSimPty& pty_;
    std::FILE* trace_;
    int signalFd_ = -1;
    std::int64_t startNs_ = 0;
    std::string unwritten_;
    std::size_t droppedOutput_ = 0;
};

}  // namespace rtu
