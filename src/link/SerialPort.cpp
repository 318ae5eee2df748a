#include "link/SerialPort.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <system_error>

#include "link/ErrorLog.h"
#include "link/PortName.h"

namespace rtu {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

constexpr int kWriteAttempts = 11;  // consecutive failed writes before the port counts as lost
constexpr int kParityNone = 0;
constexpr int kParityOdd = 1;
constexpr int kParityEven = 2;
constexpr int kParityMark = 3;
constexpr int kHardwareHandshake = 2;  // flow-control value that selects RTS/CTS
constexpr int kBitsPerByte = 10;            // start bit, eight data bits, stop bit
constexpr int kBitsPerByteWithParity = 11;  // ... and the parity bit
constexpr long long kNanosPerSecond = 1000000000LL;

// Log texts, one per failing step.
constexpr const char* kTextWaitEvent = "osWait.hEvent = CreateEvent";
constexpr const char* kTextThreadDead = "Thread dead when call InitPort()";
constexpr const char* kTextOpen = "Fail to CreateFile()";
constexpr const char* kTextExclusive = "ioctl(TIOCEXCL) in InitComm";
constexpr const char* kTextLock = "flock() in InitComm";
constexpr const char* kTextBaud = "cfsetspeed() in InitComm";
constexpr const char* kTextGetAttr = "tcgetattr() in InitComm";
constexpr const char* kTextSetAttr = "tcsetattr() in InitComm";
constexpr const char* kTextSetDtrRts = "EscapeCommFunction (SETDTR)";
constexpr const char* kTextPurgeInit = "tcflush() in InitComm";
constexpr const char* kTextParity = "tcsetattr() in SetParity";
constexpr const char* kTextWait = "WaitCommEvent()";
constexpr const char* kTextRead = "ReadFile()";
constexpr const char* kTextWrite = "WriteFile()";
constexpr const char* kTextWriteRetry = " WriteChar() Error occurs";
constexpr const char* kTextClearDtr = "EscapeCommFunction(CLRDTR) when EndThread";
constexpr const char* kTextPurgeEnd = "PurgeComm when EndThread";
constexpr const char* kTextRingFull = "WriteToPort() with every send slot outstanding";
// Why an open failed when another program holds the port.
constexpr const char* kTextInUse = "port in use by another program";

struct BaudEntry {
    int rate;
    speed_t speed;
};
// The line speeds the unit supports.
constexpr BaudEntry kBaudRates[] = {{300, B300},     {600, B600},     {1200, B1200},
                                    {2400, B2400},   {4800, B4800},   {9600, B9600},
                                    {19200, B19200}, {38400, B38400}, {57600, B57600},
                                    {115200, B115200}};

bool FindSpeed(int rate, speed_t& speed) {
    for (const BaudEntry& e : kBaudRates) {
        if (e.rate == rate) {
            speed = e.speed;
            return true;
        }
    }
    return false;
}

void ApplyParity(termios& t, int parity) {
    t.c_cflag &= ~static_cast<tcflag_t>(PARENB | PARODD | CMSPAR);
    t.c_iflag &= ~static_cast<tcflag_t>(INPCK);
    switch (parity) {
        case kParityOdd: t.c_cflag |= PARENB | PARODD; break;
        case kParityEven: t.c_cflag |= PARENB; break;
        case kParityMark: t.c_cflag |= PARENB | PARODD | CMSPAR; break;
        default: return;
    }
    t.c_iflag |= INPCK;
}

int BitsPerByte(int parity) { return parity == kParityNone ? kBitsPerByte : kBitsPerByteWithParity; }

std::string OpenFailureText(const std::string& path, int err) {
    return path + ": " + (err == EBUSY ? std::string(kTextInUse) : SystemErrorText(err));
}

int RemainingMs(Clock::time_point due, Clock::time_point now) {
    if (due <= now) return 0;
    const auto ms = std::chrono::ceil<milliseconds>(due - now).count();
    return static_cast<int>(std::min<long long>(ms, 1 << 30));
}

}  // namespace

// Everything the worker touches. Shared by the object and the worker thread.
struct CSerialPort::Engine {
    struct Callbacks {
        ReceiveFn onData;
        LostFn onLost;
        SentFn onSent;
    };
    struct Settings {
        std::string path;
        int baud = 9600;
        int flow = 0;
        int parity = 0;
    };
    enum class OpenState { Pending, Open, Failed };
    enum class Step { Ok, Lost };

    Engine(Settings s, int gapMs)
        : settings(std::move(s)),
          logPort(PortNumberFromName(settings.path)),
          blockGapMs(gapMs),
          bitsPerByte(BitsPerByte(settings.parity)) {
        wakeFd = ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    }
    ~Engine() {
        if (wakeFd >= 0) ::close(wakeFd);
    }
    Engine(const Engine&) = delete;
    Engine& operator=(const Engine&) = delete;

    // --- owner side ---
    void Wake() {
        const std::uint64_t one = 1;
        [[maybe_unused]] auto r = ::write(wakeFd, &one, sizeof one);
    }
    bool WaitOpenResult(int waitMs);
    bool WaitFinished(int waitMs);
    bool Enqueue(const char* data, std::size_t n, int waitMs);
    bool SetLineParity(int parity);
    void SetCallbacks(std::shared_ptr<const Callbacks> cb) {
        std::lock_guard lock(callbackMutex);
        callbacks = std::move(cb);
    }

    // --- worker side ---
    void CommThread();
    bool InitPort(int& err);
    Step RunLoop();
    Step WriteChar();
    Step ReceiveChar(short revents);
    bool LineBusy(Clock::time_point now, Clock::time_point& until);
    void DrainLine();
    int OutputQueued() const;
    void Deliver();
    void NotifySent();
    void EndThread(bool lost);
    void Report(const char* what, int err) { ReportError(what, logPort, err); }
    std::shared_ptr<const Callbacks> LoadCallbacks() {
        std::lock_guard lock(callbackMutex);
        return callbacks;
    }
    bool HasQueued() {
        std::lock_guard lock(ringMutex);
        return queued > 0;
    }
    // How long `bytes` take on the line at the port's speed and framing.
    Clock::duration LineTime(std::size_t bytes) const {
        const long long baud = std::max(settings.baud, 1);
        return std::chrono::nanoseconds(static_cast<long long>(bytes) * bitsPerByte.load() * kNanosPerSecond / baud);
    }
    // Owner side, under ringMutex: the line time still ahead of what is queued or on its way.
    int BacklogMs(Clock::time_point now) const;

    Settings settings;  // parity is also read and written under fdMutex
    const int logPort;
    std::atomic<int> blockGapMs;
    std::atomic<int> bitsPerByte;
    std::atomic<bool> receivePaused{false};
    int wakeFd = -1;
    std::atomic<bool> stopRequested{false};
    std::atomic<bool> abandoned{false};  // the owner left this worker behind: no more callbacks
    std::atomic<bool> portReady{false};

    // The descriptor: only the worker opens and closes it; SetParity uses it under fdMutex.
    std::mutex fdMutex;
    int fd = -1;
    bool configured = false;

    std::mutex stateMutex;
    std::condition_variable stateChanged;
    OpenState openState = OpenState::Pending;
    bool finished = false;
    std::string openError;
    int openErrno = 0;

    std::mutex callbackMutex;
    std::shared_ptr<const Callbacks> callbacks;

    // Send ring. The owner fills the slot at queueIndex, the worker writes the slot at
    // sendIndex; `queued` (under ringMutex) says which slots are outstanding, so neither
    // side touches a slot the other one owns.
    std::mutex ringMutex;
    std::condition_variable slotFreed;
    bool accepting = false;
    int sendIndex = 0;
    int queueIndex = 0;
    int queued = 0;
    // Written bytes are on their way out until lineFreeAt at the earliest (their line time)
    // and until the driver's output queue is empty.
    bool onLine = false;
    Clock::time_point lineFreeAt;
    std::array<std::array<char, kSlotSize>, kRingSlots> slots{};
    std::array<std::size_t, kRingSlots> lengths{};

    // Worker only.
    std::size_t sentOfSlot = 0;  // bytes of the slot at sendIndex already written
    bool waitWritable = false;   // the last write would block: wait for POLLOUT
    bool blockOnLine = false;    // the last whole block is written but has not left the line yet
    bool blockWritten = false;   // lastBlockAt is valid
    Clock::time_point lastBlockAt;  // when the last block left the line (the pause counts from here)
    int failedWrites = 0;
    std::array<char, kReceiveBufferSize> rx{};
    std::size_t rxLen = 0;
    Clock::time_point gatherStart;
};

// ---------------------------------------------------------------- owner side

bool CSerialPort::Engine::WaitOpenResult(int waitMs) {
    std::unique_lock lock(stateMutex);
    stateChanged.wait_for(lock, milliseconds(waitMs),
                          [&] { return openState != OpenState::Pending; });
    return openState == OpenState::Open;
}

bool CSerialPort::Engine::WaitFinished(int waitMs) {
    std::unique_lock lock(stateMutex);
    return stateChanged.wait_for(lock, milliseconds(waitMs), [&] { return finished; });
}

bool CSerialPort::Engine::Enqueue(const char* data, std::size_t n, int waitMs) {
    {
        std::unique_lock lock(ringMutex);
        if (!accepting) return false;
        if (queued == kRingSlots) {
            slotFreed.wait_for(lock, milliseconds(waitMs),
                               [&] { return !accepting || queued < kRingSlots; });
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

int CSerialPort::Engine::BacklogMs(Clock::time_point now) const {
    std::size_t bytes = 0;
    for (int i = 0, slot = sendIndex; i < queued; ++i, slot = (slot + 1) % kRingSlots)
        bytes += lengths[static_cast<std::size_t>(slot)];
    const Clock::time_point from = onLine ? std::max(lineFreeAt, now) : now;
    const Clock::time_point until = from + LineTime(bytes) + milliseconds(queued * blockGapMs.load());
    return RemainingMs(until, now);
}

bool CSerialPort::Engine::SetLineParity(int parity) {
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

// ---------------------------------------------------------------- worker side

void CSerialPort::Engine::CommThread() {
    int err = 0;
    bool opened = false;
    if (wakeFd < 0) {
        err = errno != 0 ? errno : EMFILE;
        Report(kTextWaitEvent, err);
    } else {
        opened = InitPort(err);
    }
    if (opened) {
        {
            std::lock_guard lock(ringMutex);
            accepting = true;
        }
        portReady = true;
    }
    {
        std::lock_guard lock(stateMutex);
        openState = opened ? OpenState::Open : OpenState::Failed;
        openErrno = opened ? 0 : err;
        openError = opened ? std::string() : OpenFailureText(settings.path, err);
    }
    stateChanged.notify_all();

    if (opened) {
        const bool lost = RunLoop() == Step::Lost;
        if (lost && rxLen > 0) Deliver();  // what arrived before the loss still counts
        if (!lost) DrainLine();
        EndThread(lost);
        if (lost && !stopRequested && !abandoned) {
            if (auto cb = LoadCallbacks(); cb && cb->onLost) cb->onLost();
        }
    }
    {
        std::lock_guard lock(stateMutex);
        finished = true;
    }
    stateChanged.notify_all();
}

bool CSerialPort::Engine::InitPort(int& err) {
    speed_t speed{};
    if (!FindSpeed(settings.baud, speed)) {
        err = EINVAL;
        Report(kTextBaud, err);
        return false;
    }
    const int f = ::open(settings.path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (f < 0) {
        err = errno;
        Report(kTextOpen, err);
        return false;
    }
    std::lock_guard lock(fdMutex);
    fd = f;
    auto fail = [&](const char* what) {
        err = errno;
        Report(what, err);
        ::close(fd);
        fd = -1;
        return false;
    };
    // TIOCEXCL keeps other users' opens out, but not root's: the lock keeps out every one
    // of our processes, whoever runs it.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if (errno == EWOULDBLOCK) errno = EBUSY;
        return fail(kTextLock);
    }
    if (::ioctl(fd, TIOCEXCL) != 0) return fail(kTextExclusive);
    termios t{};
    if (::tcgetattr(fd, &t) != 0) return fail(kTextGetAttr);
    ::cfmakeraw(&t);
    t.c_cflag &= ~static_cast<tcflag_t>(CSIZE | CSTOPB | CRTSCTS);
    t.c_cflag |= CS8 | CLOCAL | CREAD;
    if (settings.flow == kHardwareHandshake) t.c_cflag |= CRTSCTS;
    t.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY);
    ApplyParity(t, settings.parity);
    t.c_cc[VMIN] = 0;
    t.c_cc[VTIME] = 0;
    if (::cfsetispeed(&t, speed) != 0 || ::cfsetospeed(&t, speed) != 0) return fail(kTextBaud);
    if (::tcsetattr(fd, TCSANOW, &t) != 0) return fail(kTextSetAttr);
    configured = true;

    // Raise DTR, then RTS. A device without modem lines (a pseudo-terminal) says ENOTTY:
    // that is no fault. Other failures are logged; neither fails the open.
    for (int line : {TIOCM_DTR, TIOCM_RTS}) {
        if (::ioctl(fd, TIOCMBIS, &line) != 0 && errno != ENOTTY) Report(kTextSetDtrRts, errno);
    }
    // Only input: on a pseudo-terminal an output purge would also drop what the previous
    // user of the line wrote and the device has not read yet.
    if (::tcflush(fd, TCIFLUSH) != 0) Report(kTextPurgeInit, errno);
    return true;
}

CSerialPort::Engine::Step CSerialPort::Engine::RunLoop() {
    for (;;) {
        if (stopRequested) return Step::Ok;
        Clock::time_point now = Clock::now();
        int timeout = -1;  // nothing due: sleep until the port or the owner wakes us
        auto due = [&](Clock::time_point when) {
            const int ms = RemainingMs(when, now);
            timeout = timeout < 0 ? ms : std::min(timeout, ms);
        };

        if (rxLen > 0) {
            const Clock::time_point gatherEnd = gatherStart + milliseconds(kGatherMs);
            if (now >= gatherEnd) {
                Deliver();
                now = Clock::now();
            } else {
                due(gatherEnd);
            }
        }
        Clock::time_point lineUntil;
        if (LineBusy(now, lineUntil)) due(lineUntil);
        if (!waitWritable && !blockOnLine && HasQueued()) {
            // A block's rest goes at once; a new block waits its pause after the last one left.
            const Clock::time_point writeAt =
                blockWritten && (sentOfSlot == 0 || failedWrites > 0) ? lastBlockAt + milliseconds(blockGapMs.load()) : now;
            if (now >= writeAt) {
                if (WriteChar() == Step::Lost) return Step::Lost;
                continue;  // recompute the next deadline
            }
            due(writeAt);
        }

        const short events = static_cast<short>((receivePaused ? 0 : POLLIN) | (waitWritable ? POLLOUT : 0));
        pollfd fds[2] = {{fd, events, 0},
                         {wakeFd, POLLIN, 0}};
        if (::poll(fds, 2, timeout) < 0) {
            if (errno == EINTR) continue;
            Report(kTextWait, errno);
            return Step::Lost;
        }
        if (fds[1].revents & POLLIN) {
            std::uint64_t count = 0;
            [[maybe_unused]] auto r = ::read(wakeFd, &count, sizeof count);
        }
        if (stopRequested) return Step::Ok;
        const short re = fds[0].revents;
        if (re & POLLNVAL) {
            Report(kTextRead, EBADF);
            return Step::Lost;
        }
        if (re & POLLOUT) waitWritable = false;
        if ((re & (POLLIN | POLLHUP | POLLERR)) && ReceiveChar(re) == Step::Lost) return Step::Lost;
    }
}

CSerialPort::Engine::Step CSerialPort::Engine::WriteChar() {
    const auto slot = static_cast<std::size_t>(sendIndex);
    const std::size_t len = lengths[slot];
    const ssize_t w = ::write(fd, slots[slot].data() + sentOfSlot, len - sentOfSlot);
    if (w >= 0) {
        failedWrites = 0;
        sentOfSlot += static_cast<std::size_t>(w);
        const bool whole = sentOfSlot == len;
        {
            // The bytes cannot leave faster than the line carries them, one after another.
            const Clock::time_point now = Clock::now();
            std::lock_guard lock(ringMutex);
            lineFreeAt = (onLine ? std::max(lineFreeAt, now) : now) + LineTime(static_cast<std::size_t>(w));
            onLine = true;
            if (whole) {
                sendIndex = (sendIndex + 1) % kRingSlots;
                --queued;
            }
        }
        if (!whole) {  // the rest goes when the port takes more
            waitWritable = true;
            return Step::Ok;
        }
        sentOfSlot = 0;
        blockOnLine = true;
        slotFreed.notify_all();
        NotifySent();
        return Step::Ok;
    }
    const int err = errno;
    if (err == EINTR) return Step::Ok;
    if (err == EAGAIN || err == EWOULDBLOCK) {
        waitWritable = true;
        return Step::Ok;
    }
    Report(kTextWrite, err);
    if (err == EIO || err == ENXIO || err == ENODEV || err == EPIPE || ++failedWrites >= kWriteAttempts) {
        return Step::Lost;
    }
    Report(kTextWriteRetry, err);
    blockWritten = true;  // try the same bytes again after a block pause, not at once
    lastBlockAt = Clock::now();
    return Step::Ok;
}

CSerialPort::Engine::Step CSerialPort::Engine::ReceiveChar(short revents) {
    const ssize_t n = ::read(fd, rx.data() + rxLen, kReceiveBufferSize - rxLen);
    if (n > 0) {
        if (rxLen == 0) gatherStart = Clock::now();
        rxLen += static_cast<std::size_t>(n);
        if (rxLen == kReceiveBufferSize) Deliver();
        return Step::Ok;
    }
    int err = n == 0 ? EIO : errno;  // end of file on a tty: it was hung up
    if (n < 0 && (err == EAGAIN || err == EWOULDBLOCK || err == EINTR)) {
        if (!(revents & (POLLHUP | POLLERR))) return Step::Ok;
        err = EIO;  // hung up with nothing left to read
    }
    Report(kTextRead, err);
    return Step::Lost;
}

int CSerialPort::Engine::OutputQueued() const {
    int left = 0;
    if (::ioctl(fd, TIOCOUTQ, &left) != 0) return 0;  // a device that cannot tell: its line time counts alone
    return std::max(left, 0);
}

// Follows the written bytes out: true (and `until`, when to look again) while some are still
// on their way, by their line time or by the driver's output queue. When the line falls idle,
// the last whole block counts as sent from the moment it left.
bool CSerialPort::Engine::LineBusy(Clock::time_point now, Clock::time_point& until) {
    std::unique_lock lock(ringMutex);
    if (!onLine) return false;
    if (now < lineFreeAt) {
        until = lineFreeAt;
        return true;
    }
    lock.unlock();
    const int left = OutputQueued();
    lock.lock();
    if (left > 0) {
        lineFreeAt = now + LineTime(static_cast<std::size_t>(left));
        until = lineFreeAt;
        return true;
    }
    onLine = false;
    const Clock::time_point leftAt = lineFreeAt;
    lock.unlock();
    if (blockOnLine) {
        blockOnLine = false;
        blockWritten = true;
        lastBlockAt = leftAt;
    }
    slotFreed.notify_all();
    NotifySent();
    return false;
}

// On a requested stop: what was written leaves the line before the port closes, bounded by
// its own line time and kDrainMarginMs. A hang-up ends the wait.
void CSerialPort::Engine::DrainLine() {
    Clock::time_point now = Clock::now();
    Clock::time_point bound;
    {
        std::lock_guard lock(ringMutex);
        if (!onLine) return;
        bound = std::max(lineFreeAt, now) + milliseconds(kDrainMarginMs);
    }
    Clock::time_point until;
    while (now < bound && LineBusy(now, until)) {
        pollfd p{fd, 0, 0};
        if (::poll(&p, 1, RemainingMs(std::min(until, bound), now)) < 0 && errno != EINTR) return;
        if (p.revents & (POLLHUP | POLLERR | POLLNVAL)) return;
        now = Clock::now();
    }
}

void CSerialPort::Engine::NotifySent() {
    if (abandoned) return;
    if (auto cb = LoadCallbacks(); cb && cb->onSent) cb->onSent();
}

void CSerialPort::Engine::Deliver() {
    if (!abandoned) {
        if (auto cb = LoadCallbacks(); cb && cb->onData) cb->onData(rx.data(), rxLen);
    }
    rxLen = 0;
}

void CSerialPort::Engine::EndThread(bool lost) {
    {
        std::lock_guard lock(ringMutex);
        accepting = false;
        sendIndex = 0;
        queueIndex = 0;
        queued = 0;
        onLine = false;
        lengths.fill(0);
    }
    slotFreed.notify_all();
    portReady = false;

    std::lock_guard lock(fdMutex);
    if (!lost) {  // a vanished port has no lines left to drop
        int dtr = TIOCM_DTR;
        if (::ioctl(fd, TIOCMBIC, &dtr) != 0 && errno != ENOTTY) Report(kTextClearDtr, errno);
        // Unread input only: written output is the device's, it is never thrown away.
        if (::tcflush(fd, TCIFLUSH) != 0) Report(kTextPurgeEnd, errno);
    }
    ::close(fd);
    fd = -1;
    configured = false;
}

// ---------------------------------------------------------------- CSerialPort

CSerialPort::CSerialPort() = default;

CSerialPort::~CSerialPort() { RetireWorker(); }

void CSerialPort::SetPortName(const std::string& path) { portName_ = ResolvePortPath(path); }

void CSerialPort::SetBaudRate(int rate) { baudRate_ = rate; }

void CSerialPort::SetFlowControl(int value) { flowControl_ = value; }

void CSerialPort::SetReceiver(ReceiveFn onData, LostFn onLost, SentFn onSent) {
    onData_ = std::move(onData);
    onLost_ = std::move(onLost);
    onSent_ = std::move(onSent);
    if (engine_)
        engine_->SetCallbacks(std::make_shared<Engine::Callbacks>(Engine::Callbacks{onData_, onLost_, onSent_}));
}

void CSerialPort::SetTimingForTesting(int blockGapMs, int fullRingWaitMs, int stopWaitMs) {
    blockGapMs_ = blockGapMs;
    fullRingWaitMs_ = fullRingWaitMs;
    stopWaitMs_ = stopWaitMs;
    if (engine_) {
        engine_->blockGapMs = blockGapMs;
        engine_->Wake();
    }
}

void CSerialPort::RetireWorker() {
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

int CSerialPort::EnablePort(int enable) {
    RetireWorker();
    if (!enable) return 1;

    Engine::Settings settings{portName_, baudRate_, flowControl_, parity_};
    auto engine = std::make_shared<Engine>(std::move(settings), blockGapMs_);
    engine->SetCallbacks(std::make_shared<Engine::Callbacks>(Engine::Callbacks{onData_, onLost_, onSent_}));
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

bool CSerialPort::WaitUntilSent(int waitMs) {
    if (!engine_) return true;
    std::unique_lock lock(engine_->ringMutex);
    engine_->slotFreed.wait_for(lock, milliseconds(waitMs), [&] {
        return (engine_->queued == 0 && !engine_->onLine) || !engine_->accepting;
    });
    return engine_->accepting && engine_->queued == 0 && !engine_->onLine;
}

int CSerialPort::SendBacklogMs() const {
    if (!engine_) return 0;
    std::lock_guard lock(engine_->ringMutex);
    return engine_->accepting ? engine_->BacklogMs(Clock::now()) : 0;
}

int CSerialPort::FreeSlots() const {
    if (!engine_) return 0;
    std::lock_guard lock(engine_->ringMutex);
    return engine_->accepting ? kRingSlots - engine_->queued : 0;
}

bool CSerialPort::AllSent() const {
    if (!engine_) return true;
    std::lock_guard lock(engine_->ringMutex);
    return !engine_->accepting || (engine_->queued == 0 && !engine_->onLine);
}

void CSerialPort::PauseReceive(bool pause) {
    receivePaused_ = pause;
    if (!engine_ || engine_->receivePaused == pause) return;
    engine_->receivePaused = pause;
    engine_->Wake();
}

bool CSerialPort::IsPortOpen() const { return engine_ && engine_->portReady; }

std::string CSerialPort::LastOpenError() const {
    if (!engine_) return {};
    std::lock_guard lock(engine_->stateMutex);
    return engine_->openError;
}

int CSerialPort::LastOpenErrno() const {
    if (!engine_) return 0;
    std::lock_guard lock(engine_->stateMutex);
    return engine_->openErrno;
}

int CSerialPort::SetParity(int parity) {
    if (parity < kParityNone || parity > kParityMark) return 0;
    parity_ = parity;
    return engine_ && engine_->SetLineParity(parity) ? 1 : 0;
}

bool CSerialPort::WriteToPort(const char* data, std::size_t n) {
    if (!engine_ || !data || n == 0) return false;
    return engine_->Enqueue(data, n, fullRingWaitMs_);
}

}  // namespace rtu
