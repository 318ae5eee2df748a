#include "cli/CliLoop.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <thread>
#include <utility>

namespace rtu::cli {

Millis NowMs()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

CCliLoop::CCliLoop(const Options& options) : options_(options)
{
    wakeFd_ = ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    session_ = std::make_unique<CSession>(
        [this](std::string_view bytes) { return port_.WriteToPort(bytes.data(), bytes.size()); }, [] { return NowMs(); },
        this, nullptr);
    session_->Link().password = options_.password;
    port_.SetReceiver(
        [this](const char* data, std::size_t n) {
            {
                std::unique_lock lock(mutex_);
                taken_.wait(lock, [this] { return receivedBytes_ < kReceiveQueueBytes || closing_; });
                received_.emplace_back(data, n);
                receivedBytes_ += n;
            }
            const std::uint64_t one = 1;
            [[maybe_unused]] auto w = ::write(wakeFd_, &one, sizeof one);
        },
        [this] {
            {
                std::lock_guard lock(mutex_);
                lostFlag_ = true;
            }
            const std::uint64_t one = 1;
            [[maybe_unused]] auto w = ::write(wakeFd_, &one, sizeof one);
        },
        [this] {
            {
                std::lock_guard lock(mutex_);
                sentFlag_ = true;
            }
            const std::uint64_t one = 1;
            [[maybe_unused]] auto w = ::write(wakeFd_, &one, sizeof one);
        });
}

CCliLoop::~CCliLoop()
{
    {
        std::lock_guard lock(mutex_);
        closing_ = true;
    }
    taken_.notify_all();
    // Whatever a command wrote last leaves the line before the port closes.
    if (port_.IsPortOpen()) Drain();
    port_.EnablePort(0);
    if (wakeFd_ >= 0) ::close(wakeFd_);
}

int CCliLoop::Open()
{
    if (options_.port.empty()) {
        std::fprintf(stderr, "rtuctl: no serial port given: use --port PATH (or set RTUCTL_PORT)\n");
        return kExitUsage;
    }
    port_.SetPortName(options_.port);
    port_.SetBaudRate(options_.baud);
    port_.SetFlowControl(0);
    port_.EnablePort(1);
    if (!port_.IsPortOpen()) {
        std::fprintf(stderr, "rtuctl: cannot open %s\n", port_.LastOpenError().c_str());
        if (port_.LastOpenErrno() == EACCES || port_.LastOpenErrno() == EPERM)
            std::fprintf(stderr,
                         "rtuctl: you have no permission to use this port. Join the dialout group with\n"
                         "        sudo usermod -aG dialout $USER\n"
                         "        then log out and in again.\n");
        return kExitPort;
    }
    if (options_.parity != 0) port_.SetParity(options_.parity);
    lastReceive_ = NowMs();
    return kExitOk;
}

Millis CCliLoop::Deadline() const
{
    return NowMs() + static_cast<Millis>(options_.timeoutSeconds * 1000.0);
}

void CCliLoop::DrainReceived()
{
    std::deque<std::string> chunks;
    bool lost = false;
    bool sent = false;
    {
        std::lock_guard lock(mutex_);
        chunks.swap(received_);
        receivedBytes_ = 0;
        lost = lostFlag_;
        sent = std::exchange(sentFlag_, false);
    }
    taken_.notify_all();
    if (sent) lastSent_ = NowMs();
    for (const std::string& chunk : chunks) {
        lastReceive_ = NowMs();
        session_->Link().HandleReceive(chunk);
        RunPosted();
    }
    if (lost && !portLost_) {
        portLost_ = true;
        std::fprintf(stderr, "rtuctl: the port %s closed: the unit was disconnected\n", options_.port.c_str());
    }
}

void CCliLoop::RunPosted()
{
    while (!posted_.empty()) {
        const int id = posted_.front();
        posted_.pop_front();
        session_->HandleCommand(id);
    }
}

bool CCliLoop::RunUntil(const std::function<bool()>& done, Millis deadline,
                        const std::function<std::optional<Millis>()>& wakeAt)
{
    for (;;) {
        RunPosted();
        if (done()) return true;
        if (portLost_) return false;
        const Millis now = NowMs();
        if (now >= deadline) return false;
        Millis wake = deadline;
        if (auto d = session_->Link().NextDeadline()) wake = std::min(wake, *d);
        if (wakeAt)
            if (auto w = wakeAt()) wake = std::min(wake, *w);
        const bool readIn = onStdin_ && (!stdinWanted_ || stdinWanted_());
        const bool writeOut = onStdout_ && stdoutWanted_ && stdoutWanted_();
        pollfd fds[3] = {{wakeFd_, POLLIN, 0},
                         {readIn ? STDIN_FILENO : -1, POLLIN, 0},
                         {writeOut ? STDOUT_FILENO : -1, POLLOUT, 0}};
        const Millis waitMs = std::max<Millis>(0, wake - now);
        const int n = ::poll(fds, 3, static_cast<int>(std::min<Millis>(waitMs, 60000)));
        if (n < 0 && errno != EINTR) return false;
        if (n > 0 && (fds[0].revents & POLLIN)) {
            std::uint64_t count;
            [[maybe_unused]] auto r = ::read(wakeFd_, &count, sizeof count);
            DrainReceived();
        }
        if (n > 0 && fds[2].fd >= 0 && fds[2].revents && onStdout_) onStdout_();
        if (n > 0 && fds[1].fd >= 0 && fds[1].revents && onStdin_) onStdin_();
        session_->Link().HandleTime();
    }
}

bool CCliLoop::Drain()
{
    return port_.WaitUntilSent(port_.SendBacklogMs() + kDrainMarginMs);
}

void CCliLoop::OnStatusText(const std::string& text)
{
    if (options_.verbose) std::fprintf(stderr, "status: %s\n", text.c_str());
}

void CCliLoop::OnModeText(const std::string& text)
{
    if (options_.verbose && !text.empty()) std::fprintf(stderr, "mode: %s\n", text.c_str());
}

void CCliLoop::OnPostCommand(int id) { posted_.push_back(id); }

void CCliLoop::OnMessage(MessageIcon icon, const std::string& text)
{
    messages.emplace_back(icon, text);
    if (options_.verbose || icon == MessageIcon::Error) std::fprintf(stderr, "%s\n", text.c_str());
}

void CCliLoop::OnConsoleChunk(std::string_view bytes)
{
    if (onChunk) onChunk(bytes);
}

void CCliLoop::OnLine(const std::string& line)
{
    if (options_.verbose) std::fprintf(stderr, "< %s\n", line.c_str());
    if (onLine) onLine(line);
}

void CCliLoop::OnCommandSent(std::string_view bytes)
{
    if (!options_.verbose) return;
    std::string shown(bytes);
    while (!shown.empty() && (shown.back() == '\r' || shown.back() == '\n')) shown.pop_back();
    std::fprintf(stderr, "> %s\n", shown.c_str());
}

}  // namespace rtu::cli
