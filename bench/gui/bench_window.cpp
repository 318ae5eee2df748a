// The desktop tool's main window as a user meets it: the time from the start of the process
// to the first shown window, then full reloads from a simulated unit (rtusim at 115,200
// baud, as the demo runs it) with the resident memory after the first and the last, and the
// time one reload takes in the window against `rtuctl read` of the same unit.
//
//   QT_QPA_PLATFORM=offscreen bench_window [RELOADS [BAUD]]   (default 20 reloads at 115,200 baud)
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#include "link/LinkTypes.h"
#include "link/SerialPort.h"
#include "shell/SimProcess.h"
#include "shell/VarnelDlg.h"

namespace {

constexpr int kDefaultReloads = 20;
constexpr int kDemoBaud = CSimProcess::kDemoBaud;
constexpr int kReloadLimitMs = 120000;  // a reload that has not ended by then stops the bench

double SinceBootSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_BOOTTIME, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

// When the process started, in seconds since boot (to the kernel's clock tick).
double ProcessStartSeconds()
{
    std::ifstream stat("/proc/self/stat");
    const std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    const std::size_t close = text.rfind(')');
    if (close == std::string::npos) return 0;
    // Fields after the command's closing parenthesis: state is field 3, starttime field 22.
    std::size_t at = close + 2;
    for (int field = 3; field < 22 && at != std::string::npos; ++field) at = text.find(' ', at) + 1;
    return std::strtod(text.c_str() + at, nullptr) / static_cast<double>(sysconf(_SC_CLK_TCK));
}

long ResidentKiB()
{
    std::ifstream statm("/proc/self/statm");
    long size = 0, resident = 0;
    statm >> size >> resident;
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

// Runs the event loop until `done` is true or `limitMs` passed; returns whether it became true.
template <class Done> bool RunUntil(Done done, int limitMs)
{
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < limitMs) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    return done();
}

}  // namespace

int main(int argc, char** argv)
{
    const double startedAt = ProcessStartSeconds();
    const double mainAt = SinceBootSeconds();
    QApplication app(argc, argv);
    const int reloads = argc > 1 ? std::max(1, std::atoi(argv[1])) : kDefaultReloads;
    const int baud = argc > 2 ? std::max(1, std::atoi(argv[2])) : kDemoBaud;
    QTemporaryDir dir;

    // As the tool starts: the catalog beside the program, the stored settings, the window.
    rtu::CTextCatalog catalog;
    catalog.LoadDefault(QCoreApplication::applicationDirPath().toStdString());
    CRegSetting settings(dir.filePath(QStringLiteral("settings.ini")));
    CVarnelDlg dlg(settings, catalog);
    dlg.messageSink = [](QMessageBox::Icon, const QString&) {};
    dlg.StartUp({}, false);
    dlg.showMaximized();
    bool painted = false;
    struct PaintSeen : QObject {
        bool* seen;
        explicit PaintSeen(bool* s) : seen(s) {}
        bool eventFilter(QObject*, QEvent* e) override
        {
            if (e->type() == QEvent::Paint) *seen = true;
            return false;
        }
    } filter(&painted);
    dlg.installEventFilter(&filter);
    RunUntil([&] { return painted; }, 10000);
    const double shownAt = SinceBootSeconds();
    std::printf("first shown window: %.3f s after the process started (%.3f s after main)\n", shownAt - startedAt,
                shownAt - mainAt);
    std::printf("resident memory with the window shown: %ld KiB\n", ResidentKiB());
    std::fflush(stdout);

    CSimProcess sim;
    QString pty;
    QObject::connect(&sim, &CSimProcess::ptyReady, [&](const QString& path) { pty = path; });
    QObject::connect(&sim, &CSimProcess::failed, [](const QString& why) {
        std::fprintf(stderr, "bench_window: rtusim: %s\n", qPrintable(why));
        std::exit(1);
    });
    sim.Start(QStringLiteral(RTUSIM_PATH), {QStringLiteral("--baud"), QString::number(baud)});  // as the demo does
    if (!RunUntil([&] { return !pty.isEmpty(); }, 10000)) return 1;
    dlg.UseDemoPort(pty, baud);

    bool busy = false;
    int ended = 0;
    QObject::connect(dlg.Driver(), &CSessionDriver::unitBusyChanged, [&](bool on) {
        if (busy && !on) ++ended;
        busy = on;
    });
    long firstKiB = 0;
    double firstMs = 0, sumMs = 0;
    for (int i = 0; i < reloads; ++i) {
        QElapsedTimer clock;
        clock.start();
        const int before = ended;
        dlg.RunCommand(rtu::cmd::kReload);
        if (!RunUntil([&] { return ended > before; }, kReloadLimitMs)) {
            std::fprintf(stderr, "bench_window: reload %d did not end\n", i + 1);
            return 1;
        }
        const double ms = static_cast<double>(clock.nsecsElapsed()) / 1e6;
        sumMs += ms;
        if (i == 0) {
            firstMs = ms;
            firstKiB = ResidentKiB();
        }
    }
    const long lastKiB = ResidentKiB();
    std::printf("window reload: first %.0f ms, mean of %d %.0f ms\n", firstMs, reloads, sumMs / reloads);
    std::printf("resident memory after reload 1: %ld KiB, after reload %d: %ld KiB (%+ld KiB)\n", firstKiB, reloads,
                lastKiB, lastKiB - firstKiB);

    // The same unit read by rtuctl once the window has let go of the port.
    dlg.Port().EnablePort(0);
    QProcess ctl;
    QElapsedTimer clock;
    clock.start();
    ctl.start(QStringLiteral(RTUCTL_PATH), {QStringLiteral("-p"), pty, QStringLiteral("-b"), QString::number(baud),
                                            QStringLiteral("read"), QStringLiteral("--profile"),
                                            dir.filePath(QStringLiteral("unit.txt"))});
    ctl.waitForFinished(kReloadLimitMs);
    const double ctlMs = static_cast<double>(clock.nsecsElapsed()) / 1e6;
    std::printf("rtuctl read of the same unit: %.0f ms (exit %d); window reload / rtuctl read = %.3f\n", ctlMs,
                ctl.exitCode(), (sumMs / reloads) / ctlMs);
    sim.Stop();
    return 0;
}
