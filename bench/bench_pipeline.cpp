// The receive pipeline, the routing and the page parsers: a full reload of the default
// simulated unit, cut into chunks of random size as the serial port hands them over, fed
// to a session on one thread. Reports report lines per second.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "link/SerialPort.h"
#include "session/Session.h"
#include "sim/core/SimImage.h"
#include "sim/core/SimUnit.h"

namespace {

constexpr std::uint32_t kChunkSeed = 20240611;  // chunk sizes repeat from run to run
constexpr int kCuts = 64;                       // different cuts of the reload, taken in turn
constexpr std::size_t kMinChunk = 1;            // smallest chunk the port hands over
constexpr std::int64_t kStepMs = 60000;         // fake-clock step while the unit sends
constexpr int kMaxSteps = 100000;               // stops a unit that never falls idle

rtu::CSimImage DefaultImage()
{
    std::string error;
    auto image = rtu::CSimImage::Load(std::string(RTU_SOURCE_DATA_DIR) + "/sim/default.image", error);
    if (!image) {
        std::fprintf(stderr, "bench_pipeline: default image: %s\n", error.c_str());
        std::exit(1);
    }
    return *image;
}

// What the default unit sends for a full reload ("%DUMPS" and "%DUMPR"), byte for byte.
std::string RecordReload()
{
    rtu::SSimOptions options;
    options.latencyMs = 0;
    options.baud = 115200;
    rtu::CSimUnit unit(options, DefaultImage(), DefaultImage());
    std::int64_t now = 0;
    unit.HandleReceived("%DUMPS\r%DUMPR\r", now);
    std::string out;
    for (int step = 0; step < kMaxSteps; ++step) {
        auto deadline = unit.NextDeadline();
        if (!deadline) break;
        now = std::max(now, *deadline) + kStepMs;
        out += unit.PollTransmit(now);
    }
    return out;
}

std::int64_t CountLines(std::string_view bytes) { return std::count(bytes.begin(), bytes.end(), '\n'); }

std::vector<std::string_view> CutIntoChunks(std::string_view bytes, std::uint32_t seed)
{
    std::mt19937 rng(seed);
    std::uniform_int_distribution<std::size_t> size(kMinChunk, rtu::CSerialPort::kReceiveBufferSize);
    std::vector<std::string_view> chunks;
    while (!bytes.empty()) {
        const std::size_t n = std::min(size(rng), bytes.size());
        chunks.push_back(bytes.substr(0, n));
        bytes.remove_prefix(n);
    }
    return chunks;
}

std::string ProgramDir()
{
    char path[PATH_MAX];
    const ssize_t n = ::readlink("/proc/self/exe", path, sizeof path - 1);
    if (n <= 0) return {};
    std::string dir(path, static_cast<std::size_t>(n));
    return dir.substr(0, dir.find_last_of('/'));
}

void BM_ReceivePipeline(benchmark::State& state)
{
    const std::string reload = RecordReload();
    const std::int64_t linesPerReload = CountLines(reload);
    std::vector<std::vector<std::string_view>> cuts;
    std::size_t chunkCount = 0;
    for (int i = 0; i < kCuts; ++i) {
        cuts.push_back(CutIntoChunks(reload, kChunkSeed + static_cast<std::uint32_t>(i)));
        chunkCount += cuts.back().size();
    }

    rtu::CTextCatalog catalog;
    catalog.LoadDefault(ProgramDir());
    rtu::Millis now = 0;
    rtu::CSession session([](std::string_view) { return true; }, [&now] { return now; }, &catalog);

    std::int64_t lines = 0;
    std::size_t cut = 0;
    for (auto _ : state) {
        session.ClearForReload();  // a reload starts from empty pages, as the window's does
        for (std::string_view chunk : cuts[cut]) {
            session.HandleReceive(chunk);
            // A front end takes the events after every chunk; so does the benchmark.
            session.DrainEvents([](const rtu::SessionEvent& e) { benchmark::DoNotOptimize(e.index()); });
        }
        cut = (cut + 1) % cuts.size();
        lines += linesPerReload;
        ++now;
    }
    state.counters["lines_per_s"] = benchmark::Counter(static_cast<double>(lines), benchmark::Counter::kIsRate);
    state.counters["lines_per_reload"] = static_cast<double>(linesPerReload);
    state.counters["bytes_per_reload"] = static_cast<double>(reload.size());
    state.counters["chunks_per_reload"] = static_cast<double>(chunkCount) / kCuts;
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(reload.size()));
}
BENCHMARK(BM_ReceivePipeline)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace
