// The serial port's worker thread: opens and configures the line, writes queued blocks at
// their pace, reads what arrives and closes the port without losing written bytes.
#include "link/SerialPortEngine.h"

namespace rtu {

// ---------------------------------------------------------------- worker side

void CSerialPort::Engine::CommThread()
{
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

bool CSerialPort::Engine::InitPort(int& err)
{
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

CSerialPort::Engine::Step CSerialPort::Engine::RunLoop()
{
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
            const Clock::time_point writeAt = blockWritten && (sentOfSlot == 0 || failedWrites > 0)
                                                  ? lastBlockAt + milliseconds(blockGapMs.load())
                                                  : now;
            if (now >= writeAt) {
                if (WriteChar() == Step::Lost) return Step::Lost;
                continue;  // recompute the next deadline
            }
            due(writeAt);
        }

        const short events = static_cast<short>((receivePaused ? 0 : POLLIN) | (waitWritable ? POLLOUT : 0));
        pollfd fds[2] = {{fd, events, 0}, {wakeFd, POLLIN, 0}};
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

CSerialPort::Engine::Step CSerialPort::Engine::WriteChar()
{
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

CSerialPort::Engine::Step CSerialPort::Engine::ReceiveChar(short revents)
{
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

int CSerialPort::Engine::OutputQueued() const
{
    int left = 0;
    if (::ioctl(fd, TIOCOUTQ, &left) != 0) return 0;  // a device that cannot tell: its line time counts alone
    return std::max(left, 0);
}

// Follows the written bytes out: true (and `until`, when to look again) while some are still
// on their way, by their line time or by the driver's output queue. When the line falls idle,
// the last whole block counts as sent from the moment it left.
bool CSerialPort::Engine::LineBusy(Clock::time_point now, Clock::time_point& until)
{
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
void CSerialPort::Engine::DrainLine()
{
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

void CSerialPort::Engine::NotifySent()
{
    if (abandoned) return;
    if (auto cb = LoadCallbacks(); cb && cb->onSent) cb->onSent();
}

void CSerialPort::Engine::Deliver()
{
    if (!abandoned) {
        if (auto cb = LoadCallbacks(); cb && cb->onData) cb->onData(rx.data(), rxLen);
    }
    rxLen = 0;
}

void CSerialPort::Engine::EndThread(bool lost)
{
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

}  // namespace rtu
