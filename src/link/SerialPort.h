// The one serial port through which the tool talks to the unit.
//
// A worker thread owns the open port: it configures the line, writes queued blocks
// (each one kBlockGapMs after the previous one has left the line) and reads what arrives,
// gathering a burst for at least kGatherMs before handing the chunk (at most
// kReceiveBufferSize bytes) to the owner. Every sender queues text with WriteToPort and
// never touches the descriptor.
//
// The open port is also locked (flock) against our other processes; a port that one of
// them holds fails the open with EBUSY and "port in use by another program". Closing lets
// what was already written leave the line first; it never discards written output.
//
// The object is driven from one owner thread (EnablePort, Set*, WriteToPort). The
// callbacks run on the worker thread; they must not throw, and a callback that waits for
// the owner thread makes EnablePort(0) and the destructor wait up to their bound.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "link/WireTrace.h"

namespace rtu {

class CSerialPort {
public:
    // Called on the worker thread with each received chunk (1..kReceiveBufferSize bytes).
    // The worker waits until it returns, so the bytes stay valid for the call only.
    using ReceiveFn = std::function<void(const char* data, std::size_t n)>;
    // Called on the worker thread when the port closes by itself (unplugged, pty closed),
    // not when the owner asked for it. IsPortOpen() is already false when it runs.
    using LostFn = std::function<void()>;
    // Called on the worker thread when a send slot became free or the line finished
    // sending: the moment for a waiting sender to queue more or to stop waiting.
    using SentFn = std::function<void()>;

    static constexpr int kRingSlots = 24;                    // blocks that can be outstanding
    static constexpr std::size_t kSlotSize = 1024;           // longest block; longer text is cut
    static constexpr std::size_t kReceiveBufferSize = 8192;  // largest chunk handed on
    static constexpr int kBlockGapMs = 50;                   // pause after each block has left the line
    static constexpr int kGatherMs = 50;                     // a received burst is gathered this long
    static constexpr int kFullRingWaitMs = 2000;             // WriteToPort waits this long for a free slot
    static constexpr int kOpenWaitMs = 3000;                 // EnablePort(1) waits this long for the open
    static constexpr int kStopWaitMs = 2000;                 // EnablePort(0)/destructor wait this long for the worker
    static constexpr int kDrainMarginMs = 500;  // beyond the bytes' own line time, for the driver to finish

    CSerialPort();
    virtual ~CSerialPort();
    CSerialPort(const CSerialPort&) = delete;
    CSerialPort& operator=(const CSerialPort&) = delete;

    void SetPortName(const std::string& path);  // the device path used by the next open
    void SetBaudRate(int rate);
    void SetFlowControl(int value);  // 2: hardware handshake, anything else: none
    // Takes effect at once, also on an open port.
    void SetReceiver(ReceiveFn onData, LostFn onLost = {}, SentFn onSent = {});
    // Every block queued and every chunk received is recorded into `trace` (nullptr: none).
    // The trace must outlive the port; a trace that is not open records nothing.
    void SetTrace(CWireTrace* trace);

    // enable = 1: start the worker, which opens and configures the port; returns once the
    // open has succeeded or failed (IsPortOpen tells which; the result is 1 when the port
    // is open, 0 otherwise). A running worker is stopped first, so new settings apply.
    // enable = 0: stop the worker and wait for it (at most kStopWaitMs plus the time the
    // bytes already written need on the line); returns 1. Blocks not written yet are dropped.
    int EnablePort(int enable);
    bool IsPortOpen() const;
    // Why the last open failed ("" when it did not): the path and the system's reason.
    std::string LastOpenError() const;
    int LastOpenErrno() const;

    // 0 none, 1 odd, 2 even, 3 mark. Remembered for the next open and applied to the open
    // port at once; returns 1 when it was applied to an open port, 0 otherwise.
    int SetParity(int parity);

    // Queues one block; returns false when the port is closed or n is 0, and false with a
    // log entry when no slot became free within kFullRingWaitMs. Never overwrites a block
    // that was not written yet.
    bool WriteToPort(const char* data, std::size_t n);
    bool WriteToPort(const std::string& text) { return WriteToPort(text.data(), text.size()); }

    // Blocks until every queued block has been written and has left the line (true), or
    // waitMs passed or the port closed first (false). For a caller that is about to exit;
    // a window never calls it.
    bool WaitUntilSent(int waitMs);
    // How long the outstanding blocks still need: their bytes at the line speed, the pause
    // after each, and what is still on its way out (0 when closed).
    int SendBacklogMs() const;
    // Send slots free for WriteToPort without waiting (0 when closed).
    int FreeSlots() const;
    // True when nothing is queued and nothing is on its way out (also when closed).
    bool AllSent() const;
    // While paused the worker reads nothing from the port: the device's output waits in
    // the driver (and, with handshake, on the line). Takes effect at once.
    void PauseReceive(bool pause);

    const std::string& PortName() const { return portName_; }

    // Test hook: the pause after each block, the full-ring wait and the stop wait, in ms.
    // The block pause applies to the running worker at once.
    void SetTimingForTesting(int blockGapMs, int fullRingWaitMs, int stopWaitMs);

private:
    // The worker's state lives in an Engine shared by the object and its thread, so a
    // worker that must be left behind (its callback never returns) never touches freed
    // memory. See SerialPort.cpp.
    struct Engine;
    void RetireWorker();
    auto MakeCallbacks() const;  // the callbacks the worker runs, with the trace's recording

    std::string portName_;
    int baudRate_ = 9600;
    int flowControl_ = 0;
    int parity_ = 0;
    ReceiveFn onData_;
    LostFn onLost_;
    SentFn onSent_;
    CWireTrace* trace_ = nullptr;

    int blockGapMs_ = kBlockGapMs;
    int fullRingWaitMs_ = kFullRingWaitMs;
    int stopWaitMs_ = kStopWaitMs;
    bool receivePaused_ = false;
    std::shared_ptr<Engine> engine_;  // null before the first EnablePort(1)
    std::thread worker_;
};

}  // namespace rtu
