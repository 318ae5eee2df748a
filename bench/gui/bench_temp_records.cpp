// Real-time temperature records into the records page on screen: 1000 records per second
// (in 100 chunks of ten, as a serial port would hand them over) for a given time, with the
// list, the counter, the CSV log and a chart redraw every second. Prints the GUI thread's
// share of one core and the resident memory after warm-up and at the end.
//
//   QT_QPA_PLATFORM=offscreen bench_temp_records [SECONDS]   (default 60)
#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <sys/resource.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "session/Session.h"
#include "shell/SessionDriver.h"
#include "shell/sensor/TempRecordView.h"

namespace {

constexpr int kRecordsPerSecond = 1000;
constexpr int kTickMs = 10;                                          // one chunk every 10 ms …
constexpr int kRecordsPerTick = kRecordsPerSecond * kTickMs / 1000;  // … of ten records
constexpr int kDefaultSeconds = 60;
constexpr int kWarmUpSeconds = 5;  // memory is compared from here on
constexpr int kRedrawEveryMs = 1000;

double ThreadCpuSeconds()
{
    rusage u{};
    getrusage(RUSAGE_THREAD, &u);
    return u.ru_utime.tv_sec + u.ru_stime.tv_sec + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

long ResidentKiB()
{
    std::ifstream statm("/proc/self/statm");
    long size = 0, resident = 0;
    statm >> size >> resident;
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

}  // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const int seconds = argc > 1 ? std::max(1, std::atoi(argv[1])) : kDefaultSeconds;
    const auto dir = std::filesystem::temp_directory_path() / ("rtu_bench_records_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);

    rtu::Millis now = 0;
    rtu::CSession session([](std::string_view) { return true; }, [&] { return now; }, nullptr);
    CSessionDriver driver(session, [&] { return now; });
    auto& page = dynamic_cast<rtu::CTempRecordPage&>(*session.Page(rtu::PageId::ExTmpRcd));
    CTempRecordView view(driver, page, true, (dir / "ex temp.csv").string());
    view.resize(900, 700);
    view.show();

    int sent = 0;
    long warmKiB = 0;
    double warmCpu = 0;
    QElapsedTimer clock;
    clock.start();
    const double cpuStart = ThreadCpuSeconds();
    QTimer feed;
    feed.setTimerType(Qt::PreciseTimer);
    QObject::connect(&feed, &QTimer::timeout, [&] {
        std::string chunk;
        for (int i = 0; i < kRecordsPerTick; ++i, ++sent) {
            char rec[96];
            std::snprintf(rec, sizeof rec, "$TREC%04XET3320261208%06d04%c%d.%02d,0%d.25,2%d.50,0-%d.75,", sent & 0xFFFF,
                          sent % 1000000, sent % 9 == 0 ? '1' : '0', 15 + sent % 20, sent % 100, 20 + sent % 5,
                          sent % 7, sent % 3);
            chunk += rec;
            if (i % 3 != 0) chunk += "\r\n";  // now and then two records share a line
        }
        chunk += "\r\n";
        now = clock.elapsed();
        session.HandleReceive(chunk);
        driver.Pump();
    });
    QTimer redraw;
    QObject::connect(&redraw, &QTimer::timeout, [&] { view.Redraw(); });
    QTimer::singleShot(kWarmUpSeconds * 1000, [&] {
        warmKiB = ResidentKiB();
        warmCpu = ThreadCpuSeconds();
    });
    QTimer::singleShot(seconds * 1000, &app, &QApplication::quit);
    feed.start(kTickMs);
    redraw.start(kRedrawEveryMs);
    app.exec();

    const double wall = clock.elapsed() / 1000.0;
    const double cpu = ThreadCpuSeconds() - cpuStart;
    const long endKiB = ResidentKiB();
    std::printf("records sent: %d in %.1f s (%.0f per second)\n", sent, wall, sent / wall);
    std::printf("GUI thread: %.2f s CPU = %.1f %% of one core (after warm-up: %.1f %%)\n", cpu, 100 * cpu / wall,
                seconds > kWarmUpSeconds ? 100 * (ThreadCpuSeconds() - warmCpu) / (wall - kWarmUpSeconds) : 0.0);
    std::printf("resident memory: %ld KiB after %d s, %ld KiB at the end (%+ld KiB)\n", warmKiB, kWarmUpSeconds, endKiB,
                endKiB - warmKiB);
    std::printf("rows listed: %zu, log file: %ju bytes\n", page.Rows().size(),
                static_cast<std::uintmax_t>(std::filesystem::file_size(dir / "ex temp.csv")));
    std::filesystem::remove_all(dir);
    return 0;
}
