// The serial port's worker state, shared by the port object and its worker thread, and the
// small line helpers both sides use. Private to the serial port's own sources.
#pragma once

#include <algorithm>
#include <array>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <system_error>
#include <termios.h>
#include <unistd.h>

#include "link/ErrorLog.h"
#include "link/PortName.h"
#include "link/SerialPort.h"

namespace rtu {
namespace serial_detail {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

constexpr int kWriteAttempts = 11;  // consecutive failed writes before the port counts as lost
constexpr int kParityNone = 0;
constexpr int kParityOdd = 1;
constexpr int kParityEven = 2;
constexpr int kParityMark = 3;
constexpr int kHardwareHandshake = 2;       // flow-control value that selects RTS/CTS
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
constexpr BaudEntry kBaudRates[] = {{300, B300},     {600, B600},      {1200, B1200},   {2400, B2400},
                                    {4800, B4800},   {9600, B9600},    {19200, B19200}, {38400, B38400},
                                    {57600, B57600}, {115200, B115200}};

inline bool FindSpeed(int rate, speed_t& speed)
{
    for (const BaudEntry& e : kBaudRates) {
        if (e.rate == rate) {
            speed = e.speed;
            return true;
        }
    }
    return false;
}

inline void ApplyParity(termios& t, int parity)
{
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

inline int BitsPerByte(int parity) { return parity == kParityNone ? kBitsPerByte : kBitsPerByteWithParity; }

inline std::string OpenFailureText(const std::string& path, int err)
{
    return path + ": " + (err == EBUSY ? std::string(kTextInUse) : SystemErrorText(err));
}

inline int RemainingMs(Clock::time_point due, Clock::time_point now)
{
    if (due <= now) return 0;
    const auto ms = std::chrono::ceil<milliseconds>(due - now).count();
    return static_cast<int>(std::min<long long>(ms, 1 << 30));
}

}  // namespace serial_detail

// The port's own sources share these names.
using namespace serial_detail;

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
        : settings(std::move(s)), logPort(PortNumberFromName(settings.path)), blockGapMs(gapMs),
          bitsPerByte(BitsPerByte(settings.parity))
    {
        wakeFd = ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    }
    ~Engine()
    {
        if (wakeFd >= 0) ::close(wakeFd);
    }
    Engine(const Engine&) = delete;
    Engine& operator=(const Engine&) = delete;

    // --- owner side ---
    void Wake()
    {
        const std::uint64_t one = 1;
        [[maybe_unused]] auto r = ::write(wakeFd, &one, sizeof one);
    }
    bool WaitOpenResult(int waitMs);
    bool WaitFinished(int waitMs);
    bool Enqueue(const char* data, std::size_t n, int waitMs);
    bool SetLineParity(int parity);
    void SetCallbacks(std::shared_ptr<const Callbacks> cb)
    {
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
    std::shared_ptr<const Callbacks> LoadCallbacks()
    {
        std::lock_guard lock(callbackMutex);
        return callbacks;
    }
    bool HasQueued()
    {
        std::lock_guard lock(ringMutex);
        return queued > 0;
    }
    // How long `bytes` take on the line at the port's speed and framing.
    Clock::duration LineTime(std::size_t bytes) const
    {
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
    std::size_t sentOfSlot = 0;     // bytes of the slot at sendIndex already written
    bool waitWritable = false;      // the last write would block: wait for POLLOUT
    bool blockOnLine = false;       // the last whole block is written but has not left the line yet
    bool blockWritten = false;      // lastBlockAt is valid
    Clock::time_point lastBlockAt;  // when the last block left the line (the pause counts from here)
    int failedWrites = 0;
    std::array<char, kReceiveBufferSize> rx{};
    std::size_t rxLen = 0;
    Clock::time_point gatherStart;
};

}  // namespace rtu
