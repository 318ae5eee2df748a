// rtuctl events and rtuctl records left running: a million events and a million real-time
// records, as the simulated unit words them, fed through a session to the code that prints
// them (output to /dev/null). The resident memory at the start and at the end is reported
// (counters rss_start_mb, rss_end_mb): a monitor that runs for days must stay flat.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "cli/EventPrinter.h"
#include "link/SerialPort.h"
#include "pages/sensor/TempRecordPage.h"
#include "session/Session.h"
#include "sim/core/SimImage.h"
#include "sim/core/SimUnit.h"

namespace {

constexpr std::int64_t kItems = 1'000'000;  // events or records fed in one run
constexpr int kStreamMs = 5;                 // the unit reports one every this many ms
constexpr int kSampleLines = 512;            // distinct lines taken from the unit, fed in turn
constexpr std::int64_t kSimStepMs = 1;       // fake-clock step while the unit is recorded
constexpr std::int64_t kMaxSimMs = 60'000;   // bound on the recording
constexpr double kBytesPerMb = 1024.0 * 1024.0;

double ResidentMb()
{
    std::ifstream statm("/proc/self/statm");
    long pages = 0, resident = 0;
    statm >> pages >> resident;
    return static_cast<double>(resident) * static_cast<double>(::sysconf(_SC_PAGESIZE)) / kBytesPerMb;
}

// What the unit sends in the stream `options` asks for: the lines starting with `prefix`.
std::vector<std::string> RecordUnit(rtu::SSimOptions options, char prefix)
{
    options.latencyMs = 0;
    options.baud = 115200;
    rtu::CSimUnit unit(options, rtu::CSimImage{}, rtu::CSimImage{});
    std::string out;
    std::vector<std::string> lines;
    for (std::int64_t now = 0; now < kMaxSimMs && static_cast<int>(lines.size()) < kSampleLines; now += kSimStepMs) {
        out += unit.PollTransmit(now);
        for (std::size_t end; (end = out.find('\n')) != std::string::npos; out.erase(0, end + 1))
            if (!out.empty() && out[0] == prefix) lines.push_back(out.substr(0, end + 1));
    }
    return lines;
}

// Feeds `lines` in turn, in chunks of the port's size, until `items` lines went through.
void Feed(rtu::CSession& session, const std::vector<std::string>& lines, std::int64_t items, rtu::Millis& now)
{
    std::string chunk;
    for (std::int64_t i = 0; i < items; ++i) {
        chunk += lines[static_cast<std::size_t>(i) % lines.size()];
        if (chunk.size() < rtu::CSerialPort::kReceiveBufferSize && i + 1 < items) continue;
        session.HandleReceive(chunk);
        session.DrainEvents([](const rtu::SessionEvent& e) { benchmark::DoNotOptimize(e.index()); });
        session.HandleTime();
        chunk.clear();
        now += kStreamMs;
    }
}

void Report(benchmark::State& state, double start, double end, std::int64_t printed)
{
    state.counters["rss_start_mb"] = start;
    state.counters["rss_end_mb"] = end;
    state.counters["printed"] = static_cast<double>(printed);
}

void BM_EventsMonitor(benchmark::State& state)
{
    rtu::SSimOptions options;
    options.eventEveryMs = kStreamMs;
    const std::vector<std::string> lines = RecordUnit(options, '$');
    if (lines.empty()) return state.SkipWithError("the simulated unit reported no event");
    std::FILE* out = std::fopen("/dev/null", "w");
    for (auto _ : state) {
        rtu::Millis now = 0;
        rtu::CSession session([](std::string_view) { return true; }, [&now] { return now; }, nullptr);
        auto* page = dynamic_cast<rtu::CPageEvents*>(session.Page(rtu::PageId::Events));
        rtu::cli::CEventPrinter printer(*page, false, out);
        Feed(session, lines, kItems / 100, now);  // settled: what a short run holds anyway
        const double start = ResidentMb();
        Feed(session, lines, kItems, now);
        Report(state, start, ResidentMb(), static_cast<std::int64_t>(printer.Printed()));
    }
    std::fclose(out);
}
BENCHMARK(BM_EventsMonitor)->Iterations(1)->Unit(benchmark::kSecond);

void BM_RecordsMonitor(benchmark::State& state)
{
    rtu::SSimOptions options;
    options.recordIntervalMs = kStreamMs;
    const std::vector<std::string> lines = RecordUnit(options, '$');
    if (lines.empty()) return state.SkipWithError("the simulated unit sent no record");
    std::FILE* out = std::fopen("/dev/null", "w");
    for (auto _ : state) {
        rtu::Millis now = 0;
        rtu::CSession session([](std::string_view) { return true; }, [&now] { return now; }, nullptr);
        auto* page = dynamic_cast<rtu::CTempRecordPage*>(session.Page(rtu::PageId::ExTmpRcd));
        std::int64_t printed = 0;
        page->SetRowListener([&](const rtu::TempRow& row) {  // as rtuctl records prints them
            const std::string text = rtu::TempCsvLine(row);
            std::fwrite(text.data(), 1, text.size(), out);
            std::fflush(out);
            ++printed;
        });
        Feed(session, lines, kItems / 100, now);
        const double start = ResidentMb();
        Feed(session, lines, kItems, now);
        Report(state, start, ResidentMb(), printed);
    }
    std::fclose(out);
}
BENCHMARK(BM_RecordsMonitor)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace
