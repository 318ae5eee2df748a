// An open serial port that nothing is said on: the CPU its worker uses over ten seconds of
// wall time, as percent of one core. The port is a pty made in this process; the
// benchmark thread only sleeps meanwhile.
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <stdlib.h>
#include <time.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <thread>

#include "link/SerialPort.h"

namespace {

constexpr int kIdleSeconds = 10;  // wall time the open port is watched

double ProcessCpuSeconds()
{
    timespec ts{};
    ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) / 1e9;
}

void BM_IdlePort(benchmark::State& state)
{
    const int master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master < 0 || ::grantpt(master) != 0 || ::unlockpt(master) != 0) {
        state.SkipWithError("no pseudo-terminal");
        return;
    }
    const std::string path = ::ptsname(master);
    double percent = 0;
    for (auto _ : state) {
        rtu::CSerialPort port;
        port.SetReceiver([](const char*, std::size_t) {});
        port.SetPortName(path);
        port.SetBaudRate(115200);
        port.EnablePort(1);
        if (!port.IsPortOpen()) {
            state.SkipWithError(("cannot open " + path).c_str());
            break;
        }
        const double cpuStart = ProcessCpuSeconds();
        const auto wallStart = std::chrono::steady_clock::now();
        std::this_thread::sleep_for(std::chrono::seconds(kIdleSeconds));
        const double cpu = ProcessCpuSeconds() - cpuStart;
        const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count();
        state.SetIterationTime(wall);
        percent = 100.0 * cpu / wall;
        port.EnablePort(0);
    }
    ::close(master);
    state.counters["cpu_percent"] = percent;
}
BENCHMARK(BM_IdlePort)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);

}  // namespace
