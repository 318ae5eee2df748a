#include "shell/QuitOnSignal.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>

namespace {

constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP};  // the signals that end the tool
constexpr int kSignalCount = sizeof kSignals / sizeof kSignals[0];
constexpr unsigned kQuitGraceSeconds = 10;  // a tool that has not ended this long after a signal is ended by it

int g_pipe[2] = {-1, -1};  // [0] read by the event loop, [1] written by the handler
struct sigaction g_previous[kSignalCount];
struct sigaction g_previousAlarm;
volatile std::sig_atomic_t g_firstSignal = 0;  // the signal that asked the tool to end (0: none yet)

void OnSignal(int signo)
{
    const int saved = errno;
    const unsigned char byte = static_cast<unsigned char>(signo);
    [[maybe_unused]] auto w = ::write(g_pipe[1], &byte, 1);  // a full pipe already holds a quit
    if (g_firstSignal == 0) {
        g_firstSignal = signo;
        ::alarm(kQuitGraceSeconds);
    }
    errno = saved;
}

// The tool did not end in time (its main thread is stuck): the signal ends it the default way.
void OnGraceOver(int)
{
    ::signal(g_firstSignal, SIG_DFL);
    ::raise(g_firstSignal);
}

}  // namespace

CQuitOnSignal::CQuitOnSignal(QObject* parent) : QObject(parent)
{
    if (g_pipe[0] >= 0 || ::pipe2(g_pipe, O_CLOEXEC | O_NONBLOCK) != 0) return;
    notifier_ = new QSocketNotifier(g_pipe[0], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &CQuitOnSignal::ReadSignals);
    struct sigaction action {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int i = 0; i < kSignalCount; ++i) ::sigaction(kSignals[i], &action, &g_previous[i]);
    struct sigaction grace {};
    grace.sa_handler = OnGraceOver;
    sigemptyset(&grace.sa_mask);
    ::sigaction(SIGALRM, &grace, &g_previousAlarm);
}

CQuitOnSignal::~CQuitOnSignal()
{
    if (!notifier_) return;
    for (int i = 0; i < kSignalCount; ++i) ::sigaction(kSignals[i], &g_previous[i], nullptr);
    ::alarm(0);
    ::sigaction(SIGALRM, &g_previousAlarm, nullptr);
    g_firstSignal = 0;
    delete notifier_;
    ::close(g_pipe[0]);
    ::close(g_pipe[1]);
    g_pipe[0] = g_pipe[1] = -1;
}

void CQuitOnSignal::ReadSignals()
{
    unsigned char byte = 0;
    while (::read(g_pipe[0], &byte, 1) == 1) lastSignal_ = byte;
    QCoreApplication::quit();
}
