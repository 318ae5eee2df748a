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

int g_pipe[2] = {-1, -1};  // [0] read by the event loop, [1] written by the handler
struct sigaction g_previous[kSignalCount];

void OnSignal(int signo)
{
    const int saved = errno;
    const unsigned char byte = static_cast<unsigned char>(signo);
    [[maybe_unused]] auto w = ::write(g_pipe[1], &byte, 1);  // a full pipe already holds a quit
    errno = saved;
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
}

CQuitOnSignal::~CQuitOnSignal()
{
    if (!notifier_) return;
    for (int i = 0; i < kSignalCount; ++i) ::sigaction(kSignals[i], &g_previous[i], nullptr);
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
