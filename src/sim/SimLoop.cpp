#include "sim/SimLoop.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <poll.h>
#include <sys/signalfd.h>
#include <unistd.h>

namespace rtu {

namespace {

constexpr std::int64_t kNanosPerMs = 1000000;
constexpr int kPollForever = -1;

std::int64_t SteadyNanos()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

}  // namespace

CSimLoop::CSimLoop(CSimUnit& unit, CSimPty& pty, std::FILE* trace)
    : unit_(unit), pty_(pty), trace_(trace), startNs_(SteadyNanos())
{}

std::int64_t CSimLoop::NowMs() const { return (SteadyNanos() - startNs_) / kNanosPerMs; }

bool CSimLoop::Prepare(std::string& error)
{
    sigset_t mask;
    sigemptyset(&mask);
    sigaddset(&mask, SIGINT);
    sigaddset(&mask, SIGTERM);
    sigaddset(&mask, SIGUSR1);
    if (sigprocmask(SIG_BLOCK, &mask, nullptr) != 0) {
        error = std::string("sigprocmask: ") + std::strerror(errno);
        return false;
    }
    std::signal(SIGPIPE, SIG_IGN);
    signalFd_ = signalfd(-1, &mask, SFD_CLOEXEC | SFD_NONBLOCK);
    if (signalFd_ < 0) {
        error = std::string("signalfd: ") + std::strerror(errno);
        return false;
    }
    return true;
}

bool CSimLoop::ReadSignals(std::int64_t nowMs)
{
    signalfd_siginfo info{};
    while (::read(signalFd_, &info, sizeof info) == static_cast<ssize_t>(sizeof info)) {
        if (info.ssi_signo == SIGUSR1) unit_.PowerCycle(nowMs);
        else return false;
    }
    return true;
}

void CSimLoop::ReadPty(std::int64_t nowMs)
{
    char buffer[kReadChunk];
    const ssize_t n = ::read(pty_.MasterFd(), buffer, sizeof buffer);
    if (n > 0) unit_.HandleReceived(std::string_view(buffer, static_cast<std::size_t>(n)), nowMs);
}

void CSimLoop::WritePty()
{
    while (!unwritten_.empty()) {
        const ssize_t n = ::write(pty_.MasterFd(), unwritten_.data(), unwritten_.size());
        if (n <= 0) break;  // the pty is full (nobody reads): keep the rest for later
        unwritten_.erase(0, static_cast<std::size_t>(n));
    }
    if (unwritten_.size() > kMaxUnwrittenBytes) {
        // A line nobody listens to loses what does not fit, oldest first.
        const std::size_t excess = unwritten_.size() - kMaxUnwrittenBytes;
        unwritten_.erase(0, excess);
        droppedOutput_ += excess;
    }
}

void CSimLoop::FlushTrace()
{
    if (!trace_) return;
    for (const auto& entry : unit_.TakeTrace()) std::fprintf(trace_, "%s\n", entry.Format().c_str());
    std::fflush(trace_);
}

void CSimLoop::Linger()
{
    // Closing the master hangs the line up and the client loses what it has not read
    // yet (the pty may not even have queued the last bytes for the client), so a unit
    // that disappears gives its last answer one bounded wait; a signal cuts it short.
    WritePty();
    pollfd fd{signalFd_, POLLIN, 0};
    ::poll(&fd, 1, kExitLingerMs);
}

void CSimLoop::Run(bool banner)
{
    if (banner) unit_.PowerUp(NowMs());
    while (true) {
        std::int64_t now = NowMs();
        unwritten_ += unit_.PollTransmit(now);
        WritePty();
        FlushTrace();
        if (unit_.WantsExit()) {
            Linger();
            return;
        }

        int timeout = kPollForever;
        if (auto deadline = unit_.NextDeadline())
            timeout = static_cast<int>(std::clamp<std::int64_t>(*deadline - now, 0, INT32_MAX));
        pollfd fds[2] = {
            {signalFd_, POLLIN, 0},
            {pty_.MasterFd(),
             static_cast<short>((unit_.WantsInput() ? POLLIN : 0) | (unwritten_.empty() ? 0 : POLLOUT)), 0},
        };
        if (::poll(fds, 2, timeout) < 0) {
            if (errno == EINTR) continue;
            std::fprintf(stderr, "rtusim: poll: %s\n", std::strerror(errno));
            return;
        }
        now = NowMs();
        if ((fds[0].revents & POLLIN) && !ReadSignals(now)) return;
        if (fds[1].revents & POLLIN) ReadPty(now);
        else if (fds[1].revents & (POLLHUP | POLLERR | POLLNVAL)) {
            // Cannot happen while the unit holds its own slave open; end rather than spin.
            std::fprintf(stderr, "rtusim: the pseudo-terminal failed\n");
            return;
        }
    }
}

}  // namespace rtu
