// Real-time temperature records into the records page on screen (offscreen): 1000 records
// per second, in 100 chunks of ten as a serial port hands them over, for a given time, with
// the list, the CSV log and the live chart. Reports the GUI thread's share of one core and
// the resident memory every kSampleSeconds (flat once the list reached its cap).
//
//   bench_temp_records [--seconds=N] [benchmark options]   (default 60 s; CI runs a few)
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "session/Session.h"
#include "shell/SessionDriver.h"
#include "shell/sensor/TempRecordView.h"

namespace {

constexpr int kRecordsPerSecond = 1000;
constexpr int kTickMs = 10;                                          // one chunk every 10 ms …
constexpr int kRecordsPerTick = kRecordsPerSecond * kTickMs / 1000;  // … of ten records
constexpr int kDefaultSeconds = 60;
constexpr int kSampleSeconds = 10;  // memory and CPU are sampled this often
constexpr const char* kSecondsFlag = "--seconds=";

int g_seconds = kDefaultSeconds;

double ThreadCpuSeconds()
{
    rusage u{};
    getrusage(RUSAGE_THREAD, &u);
    return static_cast<double>(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
           static_cast<double>(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

long ResidentKiB()
{
    std::ifstream statm("/proc/self/statm");
    long size = 0, resident = 0;
    statm >> size >> resident;
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

// One chunk of records as the unit sends them: now and then two records share a line.
std::string Chunk(int& sent)
{
    std::string chunk;
    for (int i = 0; i < kRecordsPerTick; ++i, ++sent) {
        char rec[96];
        std::snprintf(rec, sizeof rec, "$TREC%04XET3320261208%06d04%c%d.%02d,0%d.25,2%d.50,0-%d.75,", sent & 0xFFFF,
                      sent % 1000000, sent % 9 == 0 ? '1' : '0', 15 + sent % 20, sent % 100, 20 + sent % 5, sent % 7,
                      sent % 3);
        chunk += rec;
        if (i % 3 != 0) chunk += "\r\n";
    }
    return chunk + "\r\n";
}

void BM_RecordsPageLive(benchmark::State& state)
{
    const auto dir = std::filesystem::temp_directory_path() / ("rtu_bench_records_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    for (auto _ : state) {
        rtu::Millis now = 0;
        rtu::CSession session([](std::string_view) { return true; }, [&] { return now; }, nullptr);
        CSessionDriver driver(session, [&] { return now; });
        auto& page = dynamic_cast<rtu::CTempRecordPage&>(*session.Page(rtu::PageId::ExTmpRcd));
        CTempRecordView view(driver, page, true, (dir / "ex temp.csv").string());
        view.resize(900, 700);
        view.show();

        int sent = 0;
        QElapsedTimer clock;
        clock.start();
        const double cpuStart = ThreadCpuSeconds();
        double cpuMark = cpuStart;
        long capKiB = 0;  // memory at the first sample, when the list is long past its cap
        long highKiB = 0;
        QTimer feed;
        feed.setTimerType(Qt::PreciseTimer);
        QObject::connect(&feed, &QTimer::timeout, [&] {
            now = clock.elapsed();
            session.HandleReceive(Chunk(sent));
            driver.Pump();
        });
        QTimer sample;
        int samples = 0;
        QObject::connect(&sample, &QTimer::timeout, [&] {
            ++samples;
            const double cpu = ThreadCpuSeconds();
            const long kib = ResidentKiB();
            if (samples == 1) capKiB = kib;
            highKiB = std::max(highKiB, kib);
            std::printf("  %3d s: GUI thread %5.1f %% of one core, resident %ld KiB, %zu rows listed\n",
                        samples * kSampleSeconds, 100 * (cpu - cpuMark) / kSampleSeconds, kib, page.Rows().size());
            std::fflush(stdout);
            cpuMark = cpu;
        });
        QEventLoop loop;
        QTimer::singleShot(g_seconds * 1000, &loop, &QEventLoop::quit);
        feed.start(kTickMs);
        sample.start(kSampleSeconds * 1000);
        loop.exec();
        feed.stop();
        sample.stop();

        const double wall = static_cast<double>(clock.elapsed()) / 1000.0;
        const double cpu = ThreadCpuSeconds() - cpuStart;
        state.SetIterationTime(wall);
        state.counters["records_per_s"] = sent / wall;
        state.counters["gui_cpu_pct"] = 100 * cpu / wall;
        state.counters["rss_end_KiB"] = static_cast<double>(ResidentKiB());
        if (capKiB > 0) {
            state.counters["rss_first_sample_KiB"] = static_cast<double>(capKiB);
            state.counters["rss_growth_after_first_sample_KiB"] = static_cast<double>(highKiB - capKiB);
        }
        state.counters["rows_listed"] = static_cast<double>(page.Rows().size());
    }
    std::filesystem::remove_all(dir);
}
BENCHMARK(BM_RecordsPageLive)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);

}  // namespace

int main(int argc, char** argv)
{
    // Our own option first; the rest is Google Benchmark's.
    int kept = 1;
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], kSecondsFlag, std::strlen(kSecondsFlag)) == 0)
            g_seconds = std::max(1, std::atoi(argv[i] + std::strlen(kSecondsFlag)));
        else argv[kept++] = argv[i];
    }
    argc = kept;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
