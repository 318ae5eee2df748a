// The serial port object: settings, the send ring's owner side, opening and stopping the worker.
#include "link/SerialPortEngine.h"

namespace rtu {

// ---------------------------------------------------------------- owner side

bool CSerialPort::Engine::WaitOpenResult(int waitMs)
{
    std::unique_lock lock(stateMutex);
    stateChanged.wait_for(lock, milliseconds(waitMs), [&] { return openState != OpenState::Pending; });
    return openState == OpenState::Open;
}

bool CSerialPort::Engine::WaitFinished(int waitMs)
{
    std::unique_lock lock(stateMutex);
    return stateChanged.wait_for(lock, milliseconds(waitMs), [&] { return finished; });
}

bool CSerialPort::Engine::Enqueue(const char* data, std::size_t n, int waitMs)
{
    {
        std::unique_lock lock(ringMutex);
        if (!accepting) return false;
        if (queued == kRingSlots) {
            slotFreed.wait_for(lock, milliseconds(waitMs), [&] { return !accepting || queued < kRingSlots; });
            if (!accepting) return false;
            if (queued == kRingSlots) {
                lock.unlock();
                Report(kTextRingFull, EAGAIN);
                return false;
            }
        }
        const std::size_t len = std::min(n, kSlotSize);
        std::memcpy(slots[static_cast<std::size_t>(queueIndex)].data(), data, len);
        lengths[static_cast<std::size_t>(queueIndex)] = len;
        queueIndex = (queueIndex + 1) % kRingSlots;
        ++queued;
    }
    Wake();
    return true;
}

int CSerialPort::Engine::BacklogMs(Clock::time_point now) const
{
    std::size_t bytes = 0;
    for (int i = 0, slot = sendIndex; i < queued; ++i, slot = (slot + 1) % kRingSlots)
        bytes += lengths[static_cast<std::size_t>(slot)];
    const Clock::time_point from = onLine ? std::max(lineFreeAt, now) : now;
    const Clock::time_point until = from + LineTime(bytes) + milliseconds(queued * blockGapMs.load());
    return RemainingMs(until, now);
}

bool CSerialPort::Engine::SetLineParity(int parity)
{
    std::lock_guard lock(fdMutex);
    settings.parity = parity;
    bitsPerByte = BitsPerByte(parity);
    if (fd < 0 || !configured) return false;
    termios t{};
    if (::tcgetattr(fd, &t) != 0) {
        Report(kTextParity, errno);
        return false;
    }
    ApplyParity(t, parity);
    if (::tcsetattr(fd, TCSANOW, &t) != 0) {
        Report(kTextParity, errno);
        return false;
    }
    return true;
}

// ---------------------------------------------------------------- CSerialPort

CSerialPort::CSerialPort() = default;

CSerialPort::~CSerialPort() { RetireWorker(); }

void CSerialPort::SetPortName(const std::string& path) { portName_ = ResolvePortPath(path); }

void CSerialPort::SetBaudRate(int rate) { baudRate_ = rate; }

void CSerialPort::SetFlowControl(int value) { flowControl_ = value; }

auto CSerialPort::MakeCallbacks() const
{
    ReceiveFn onData = onData_;
    if (trace_)
        onData = [trace = trace_, deliver = onData_](const char* data, std::size_t n) {
            trace->Record(CWireTrace::Direction::Received, {data, n});
            if (deliver) deliver(data, n);
        };
    return std::make_shared<Engine::Callbacks>(Engine::Callbacks{std::move(onData), onLost_, onSent_});
}

void CSerialPort::SetReceiver(ReceiveFn onData, LostFn onLost, SentFn onSent)
{
    onData_ = std::move(onData);
    onLost_ = std::move(onLost);
    onSent_ = std::move(onSent);
    if (engine_) engine_->SetCallbacks(MakeCallbacks());
}

void CSerialPort::SetTrace(CWireTrace* trace)
{
    trace_ = trace;
    if (engine_) engine_->SetCallbacks(MakeCallbacks());
}


void CSerialPort::SetTimingForTesting(int blockGapMs, int fullRingWaitMs, int stopWaitMs)
{
    blockGapMs_ = blockGapMs;
    fullRingWaitMs_ = fullRingWaitMs;
    stopWaitMs_ = stopWaitMs;
    if (engine_) {
        engine_->blockGapMs = blockGapMs;
        engine_->Wake();
    }
}

void CSerialPort::RetireWorker()
{
    if (!worker_.joinable()) return;
    engine_->stopRequested = true;
    engine_->Wake();
    const bool fromCallback = worker_.get_id() == std::this_thread::get_id();
    int onLineMs = 0;  // what is on its way out gets its line time before the port closes
    {
        std::lock_guard lock(engine_->ringMutex);
        if (engine_->onLine) onLineMs = RemainingMs(engine_->lineFreeAt, Clock::now()) + kDrainMarginMs;
    }
    if (!fromCallback && engine_->WaitFinished(stopWaitMs_ + onLineMs)) {
        worker_.join();
        return;
    }
    // Called from our own callback, or the worker is stuck in one: it keeps the engine
    // alive by itself, makes no further callbacks and closes the port once the callback
    // returns. The object forgets it, so it counts as closed from now on.
    engine_->abandoned = true;
    worker_.detach();
    engine_.reset();
}

int CSerialPort::EnablePort(int enable)
{
    RetireWorker();
    if (!enable) return 1;

    Engine::Settings settings{portName_, baudRate_, flowControl_, parity_};
    auto engine = std::make_shared<Engine>(std::move(settings), blockGapMs_);
    engine->SetCallbacks(MakeCallbacks());
    engine->receivePaused = receivePaused_;
    engine_ = engine;
    try {
        worker_ = std::thread([engine] { engine->CommThread(); });
    } catch (const std::system_error& e) {
        const int err = e.code().value();
        engine->Report(kTextThreadDead, err);
        std::lock_guard lock(engine->stateMutex);
        engine->openState = Engine::OpenState::Failed;
        engine->openErrno = err;
        engine->openError = OpenFailureText(engine->settings.path, err);
        engine->finished = true;
        return 0;
    }
    return engine->WaitOpenResult(kOpenWaitMs) ? 1 : 0;
}

bool CSerialPort::WaitUntilSent(int waitMs)
{
    if (!engine_) return true;
    std::unique_lock lock(engine_->ringMutex);
    engine_->slotFreed.wait_for(lock, milliseconds(waitMs),
                                [&] { return (engine_->queued == 0 && !engine_->onLine) || !engine_->accepting; });
    return engine_->accepting && engine_->queued == 0 && !engine_->onLine;
}

int CSerialPort::SendBacklogMs() const
{
    if (!engine_) return 0;
    std::lock_guard lock(engine_->ringMutex);
    return engine_->accepting ? engine_->BacklogMs(Clock::now()) : 0;
}

int CSerialPort::FreeSlots() const
{
    if (!engine_) return 0;
    std::lock_guard lock(engine_->ringMutex);
    return engine_->accepting ? kRingSlots - engine_->queued : 0;
}

bool CSerialPort::AllSent() const
{
    if (!engine_) return true;
    std::lock_guard lock(engine_->ringMutex);
    return !engine_->accepting || (engine_->queued == 0 && !engine_->onLine);
}

void CSerialPort::PauseReceive(bool pause)
{
    receivePaused_ = pause;
    if (!engine_ || engine_->receivePaused == pause) return;
    engine_->receivePaused = pause;
    engine_->Wake();
}

bool CSerialPort::IsPortOpen() const { return engine_ && engine_->portReady; }

std::string CSerialPort::LastOpenError() const
{
    if (!engine_) return {};
    std::lock_guard lock(engine_->stateMutex);
    return engine_->openError;
}

int CSerialPort::LastOpenErrno() const
{
    if (!engine_) return 0;
    std::lock_guard lock(engine_->stateMutex);
    return engine_->openErrno;
}

int CSerialPort::SetParity(int parity)
{
    if (parity < kParityNone || parity > kParityMark) return 0;
    parity_ = parity;
    return engine_ && engine_->SetLineParity(parity) ? 1 : 0;
}

bool CSerialPort::WriteToPort(const char* data, std::size_t n)
{
    if (!engine_ || !data || n == 0) return false;
    if (!engine_->Enqueue(data, n, fullRingWaitMs_)) return false;
    if (trace_) trace_->Record(CWireTrace::Direction::Sent, {data, n});
    return true;
}

}  // namespace rtu
