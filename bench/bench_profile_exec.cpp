// Executing a 200-line profile against the simulated unit (rtusim on a pty) through the
// real serial port at 115200 and at 9600 baud (the unit paces its output at the same
// speed), driven by a session on a poll loop as the command line drives it. Reports the
// wall time over the pacing floor: every command line waits for its block gap, and every
// byte crosses the line at 10 bits per byte.
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/eventfd.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "link/SerialPort.h"
#include "session/Session.h"

namespace {

constexpr int kProfileLines = 200;  // command lines of the profile
constexpr int kFastBaud = 115200;   // line speeds of the port and of the simulated unit
constexpr int kSlowBaud = 9600;
constexpr double kBitsPerByte = 10.0;  // start bit, eight data bits, stop bit
constexpr int kStartWaitMs = 5000;     // rtusim names its pty within this time
constexpr int kRunBoundMs = 120000;    // the run is given up after this long
constexpr int kExitWaitMs = 3000;      // rtusim ends this long after SIGTERM, or is killed

rtu::Millis NowMs()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

// Distinct control-phone lines the unit acknowledges, so none is skipped as a repeat.
std::vector<std::string> ProfileLines()
{
    std::vector<std::string> lines;
    for (int i = 0; i < kProfileLines; ++i) {
        char line[64];
        std::snprintf(line, sizeof line, "%%CS%d+491700%06d", i % 10, i);
        lines.emplace_back(line);
    }
    return lines;
}

// rtusim as a child process; its first stdout line is the pty path.
class CSimChild {
public:
    bool Start(int baud, std::string& error)
    {
        int out[2];
        if (::pipe2(out, O_CLOEXEC) != 0) {
            error = "pipe failed";
            return false;
        }
        pid_ = ::fork();
        if (pid_ < 0) {
            error = "fork failed";
            return false;
        }
        if (pid_ == 0) {
            ::dup2(out[1], STDOUT_FILENO);
            ::execl(RTUSIM_PATH, RTUSIM_PATH, "--latency-ms", "0", "--baud", std::to_string(baud).c_str(),
                    static_cast<char*>(nullptr));
            ::_exit(127);
        }
        ::close(out[1]);
        out_ = out[0];
        const rtu::Millis until = NowMs() + kStartWaitMs;
        char c = 0;
        while (NowMs() < until) {
            pollfd p{out_, POLLIN, 0};
            if (::poll(&p, 1, static_cast<int>(until - NowMs())) <= 0) break;
            if (::read(out_, &c, 1) != 1) break;
            if (c == '\n') return !path_.empty();
            path_ += c;
        }
        error = "rtusim did not name its pty";
        return false;
    }

    ~CSimChild()
    {
        if (pid_ > 0) {
            ::kill(pid_, SIGTERM);
            int status = 0;
            const rtu::Millis until = NowMs() + kExitWaitMs;
            while (::waitpid(pid_, &status, WNOHANG) == 0) {
                if (NowMs() >= until) {
                    ::kill(pid_, SIGKILL);
                    ::waitpid(pid_, &status, 0);
                    break;
                }
                ::usleep(10000);
            }
        }
        if (out_ >= 0) ::close(out_);
    }

    const std::string& Path() const { return path_; }

private:
    pid_t pid_ = -1;
    int out_ = -1;
    std::string path_;
};

// A serial port and a session on one poll loop: the worker queues chunks and wakes the loop.
class CPortLoop {
public:
    CPortLoop()
        : session_(
              [this](std::string_view b) {
                  sentBytes += b.size();
                  return port_.WriteToPort(b.data(), b.size());
              },
              [] { return NowMs(); }, nullptr)
    {
        wakeFd_ = ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
        port_.SetReceiver([this](const char* data, std::size_t n) {
            {
                std::lock_guard lock(mutex_);
                received_.emplace_back(data, n);
            }
            const std::uint64_t one = 1;
            [[maybe_unused]] auto w = ::write(wakeFd_, &one, sizeof one);
        });
    }
    ~CPortLoop()
    {
        port_.EnablePort(0);
        ::close(wakeFd_);
    }

    bool Open(const std::string& path, int baud)
    {
        port_.SetPortName(path);
        port_.SetBaudRate(baud);
        port_.EnablePort(1);
        return port_.IsPortOpen();
    }

    rtu::CSession& Session() { return session_; }

    // Runs until `done` or the deadline; false when the deadline came first.
    template <class Done> bool RunUntil(Done done, rtu::Millis deadline)
    {
        while (!done()) {
            const rtu::Millis now = NowMs();
            if (now >= deadline) return false;
            rtu::Millis wake = deadline;
            if (auto d = session_.NextDeadline()) wake = std::min(wake, *d);
            pollfd p{wakeFd_, POLLIN, 0};
            if (::poll(&p, 1, static_cast<int>(std::max<rtu::Millis>(0, wake - now))) > 0) {
                std::uint64_t count;
                [[maybe_unused]] auto r = ::read(wakeFd_, &count, sizeof count);
                std::deque<std::string> chunks;
                {
                    std::lock_guard lock(mutex_);
                    chunks.swap(received_);
                }
                for (const std::string& chunk : chunks) {
                    receivedBytes += chunk.size();
                    session_.HandleReceive(chunk);
                    Drain();
                }
            }
            session_.HandleTime();
            Drain();
        }
        return true;
    }

    // The session's events: the end of an execution is kept, the rest is not shown.
    void Drain()
    {
        session_.DrainEvents([this](const rtu::SessionEvent& e) {
            if (const auto* end = std::get_if<rtu::ev::ProfileEnded>(&e)) ended = end->summary;
        });
    }

    std::optional<rtu::ExecSummary> ended;
    std::size_t sentBytes = 0;
    std::size_t receivedBytes = 0;

private:
    rtu::CSerialPort port_;
    rtu::CSession session_;
    int wakeFd_ = -1;
    std::mutex mutex_;
    std::deque<std::string> received_;
};

void BM_ProfileExec(benchmark::State& state)
{
    const int baud = static_cast<int>(state.range(0));
    const std::vector<std::string> lines = ProfileLines();
    double ratio = 0;
    double gapRatio = 0;
    double sendRatio = 0;
    double floorSeconds = 0;
    double wallSeconds = 0;
    rtu::ExecSummary last;
    std::size_t wireBytes = 0;
    for (auto _ : state) {
        CSimChild sim;
        std::string error;
        if (!sim.Start(baud, error)) {
            state.SkipWithError(error.c_str());
            return;
        }
        CPortLoop loop;
        if (!loop.Open(sim.Path(), baud)) {
            state.SkipWithError("cannot open the pty of rtusim");
            return;
        }
        const auto start = std::chrono::steady_clock::now();
        loop.Session().ExecProfileLines(lines);
        const bool done = loop.RunUntil([&] { return loop.ended.has_value(); }, NowMs() + kRunBoundMs);
        const std::optional<rtu::ExecSummary> summary = loop.ended;
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        state.SetIterationTime(seconds);
        if (!done || !summary->Clean()) {
            state.SkipWithError("the profile did not execute cleanly");
            return;
        }
        last = *summary;
        wireBytes = loop.sentBytes + loop.receivedBytes;
        floorSeconds = kProfileLines * (rtu::CSerialPort::kBlockGapMs / 1000.0) +
                       static_cast<double>(wireBytes) * kBitsPerByte / baud;
        wallSeconds = seconds;
        ratio = seconds / floorSeconds;
        // The block gaps alone, counting the start and commit lines.
        gapRatio = seconds / ((summary->sent + 2) * (rtu::CSerialPort::kBlockGapMs / 1000.0));
        // The tool's own floor: each block's bytes leave the line, then its gap; the unit's
        // answer arrives within the gap.
        sendRatio = seconds / ((summary->sent + 2) * (rtu::CSerialPort::kBlockGapMs / 1000.0) +
                               static_cast<double>(loop.sentBytes) * kBitsPerByte / baud);
    }
    state.counters["ratio_to_floor"] = ratio;
    state.counters["ratio_to_gap_floor"] = gapRatio;
    state.counters["ratio_to_send_floor"] = sendRatio;
    state.counters["wall_s"] = wallSeconds;
    state.counters["floor_s"] = floorSeconds;
    state.counters["wire_bytes"] = static_cast<double>(wireBytes);
    state.counters["lines_ok"] = last.ok;
}
BENCHMARK(BM_ProfileExec)->Arg(kFastBaud)->Arg(kSlowBaud)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);

}  // namespace
