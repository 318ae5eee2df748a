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

#include "cli/CliCatalog.h"
#include "link/PortDiagnosis.h"
#include "link/SerialPortList.h"

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
        [this](std::string_view bytes) { return port_.WriteToPort(bytes.data(), bytes.size()); },
        [] { return NowMs(); }, LoadProgramCatalog(catalog_));
    session_->SetPassword(options_.password);
    port_.SetTrace(&trace_);
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
    if (!options_.tracePath.empty()) {
        std::string error;
        if (!trace_.Open(options_.tracePath, error)) {
            std::fprintf(stderr, "rtuctl: cannot write the trace %s\n", error.c_str());
            return kExitOutput;
        }
        trace_.Record(CWireTrace::Direction::Note, "rtuctl opens " + options_.port + " at " +
                                                       std::to_string(options_.baud) + " baud");
    }
    port_.SetPortName(options_.port);
    port_.SetBaudRate(options_.baud);
    session_->SetLineSpeed(options_.baud);
    port_.SetFlowControl(0);
    port_.EnablePort(1);
    if (!port_.IsPortOpen()) {
        std::fprintf(stderr, "rtuctl: cannot open %s\n", port_.LastOpenError().c_str());
        // The cause and the fix: who owns or holds the port, or which ports there are instead.
        const std::string why =
            DiagnoseOpenFailure(options_.port, port_.LastOpenErrno(), ListSerialPorts());
        std::fprintf(stderr, "%s\n", why.c_str());
        return kExitPort;
    }
    if (options_.parity != 0) port_.SetParity(options_.parity);
    lastReceive_ = NowMs();
    return kExitOk;
}

Millis CCliLoop::Deadline() const { return NowMs() + static_cast<Millis>(options_.timeoutSeconds * 1000.0); }

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
        session_->HandleReceive(chunk);
        DrainEvents();
    }
    if (lost && !portLost_) {
        portLost_ = true;
        session_->HandlePortLost();
        DrainEvents();
        std::fprintf(stderr, "rtuctl: the port %s closed: the unit was disconnected\n", options_.port.c_str());
    }
}

void CCliLoop::DrainEvents()
{
    session_->DrainEvents([this](const SessionEvent& event) { Dispatch(event); });
}

bool CCliLoop::RunUntil(const std::function<bool()>& done, Millis deadline,
                        const std::function<std::optional<Millis>()>& wakeAt)
{
    for (;;) {
        DrainEvents();
        if (done()) return true;
        if (portLost_) return false;
        const Millis now = NowMs();
        if (now >= deadline) return false;
        Millis wake = deadline;
        if (auto d = session_->NextDeadline()) wake = std::min(wake, *d);
        if (wakeAt)
            if (auto w = wakeAt()) wake = std::min(wake, *w);
        const bool readIn = onStdin_ && (!stdinWanted_ || stdinWanted_());
        const bool writeOut = onStdout_ && stdoutWanted_ && stdoutWanted_();
        pollfd fds[3] = {
            {wakeFd_, POLLIN, 0}, {readIn ? STDIN_FILENO : -1, POLLIN, 0}, {writeOut ? STDOUT_FILENO : -1, POLLOUT, 0}};
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
        session_->HandleTime();
    }
}

int CCliLoop::CheckTrace(int rc, int lostCode) const
{
    if (!trace_.Failed()) return rc;
    std::fprintf(stderr, "rtuctl: the trace stopped: cannot write %s\n", trace_.Error().c_str());
    return rc == kExitOk || rc == kExitOutput ? lostCode : rc;
}

bool CCliLoop::Drain() { return port_.WaitUntilSent(port_.SendBacklogMs() + kDrainMarginMs); }

namespace {

template <class... Fn> struct Overload : Fn... {
    using Fn::operator()...;
};
template <class... Fn> Overload(Fn...) -> Overload<Fn...>;

}  // namespace

void CCliLoop::Dispatch(const SessionEvent& event)
{
    const bool verbose = options_.verbose;
    std::visit(Overload{
                   [this, verbose](const ev::Status& e) {
                       if (verbose) std::fprintf(stderr, "status: %s\n", e.text.c_str());
                       if (onStatus) onStatus(e);
                   },
                   [this](const ev::TransferEnded& e) {
                       if (onTransferEnded) onTransferEnded(e);
                   },
                   [verbose](const ev::Mode& e) {
                       if (verbose && !e.text.empty()) std::fprintf(stderr, "mode: %s\n", e.text.c_str());
                   },
                   [this, verbose](const ev::Message& e) {
                       messages.emplace_back(e.icon, e.text);
                       if (verbose || e.icon == MessageIcon::Error) std::fprintf(stderr, "%s\n", e.text.c_str());
                   },
                   [this](const ev::ConsoleChunk& e) {
                       if (onChunk) onChunk(e.bytes);
                   },
                   [this, verbose](const ev::Line& e) {
                       if (verbose) std::fprintf(stderr, "< %s\n", e.text.c_str());
                       if (onLine) onLine(e);
                   },
                   [verbose](const ev::CommandSent& e) {
                       if (!verbose) return;
                       std::string shown(e.bytes);
                       while (!shown.empty() && (shown.back() == '\r' || shown.back() == '\n')) shown.pop_back();
                       std::fprintf(stderr, "> %s\n", shown.c_str());
                   },
                   [this](const ev::CommandAnswered& e) {
                       if (onAnswered) onAnswered(e);
                   },
                   [this](const ev::ProfileEnded& e) {
                       if (onProfileEnded) onProfileEnded(e.summary);
                   },
                   [this](const ev::Question& e) {
                       if (onQuestion) onQuestion(e);
                   },
                   [](const auto&) {},  // the window's matters: progress, pages, beeps, transfers
               },
               event);
}

}  // namespace rtu::cli
