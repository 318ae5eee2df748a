#include "shell/SimProcess.h"

#include <QDir>

#include <sys/prctl.h>
#include <unistd.h>

#include <csignal>

CSimProcess::CSimProcess(QObject* parent) : QObject(parent)
{
    process_.setProcessChannelMode(QProcess::SeparateChannels);
    process_.setReadChannel(QProcess::StandardOutput);
    connect(&process_, &QProcess::readyReadStandardOutput, this, &CSimProcess::ReadLine);
    connect(&process_, &QProcess::errorOccurred, this, [this](QProcess::ProcessError) {
        if (pty_.isEmpty()) emit failed(process_.errorString());
    });
    connect(&process_, &QProcess::finished, this, [this](int code, QProcess::ExitStatus) {
        if (pty_.isEmpty())
            emit failed(QStringLiteral("rtusim ended (%1): %2")
                            .arg(code)
                            .arg(QString::fromLocal8Bit(process_.readAllStandardError()).trimmed()));
    });
}

CSimProcess::~CSimProcess() { Stop(); }

QString CSimProcess::ProgramBeside(const QString& dir) { return QDir(dir).filePath(QStringLiteral("rtusim")); }

void CSimProcess::Start(const QString& program, const QStringList& args)
{
    pty_.clear();
    pending_.clear();
    // The simulator ends with the tool, however the tool ends (even killed): the kernel
    // sends it SIGTERM when we go. A tool that went before the request took hold is seen
    // as a changed parent.
    const pid_t parent = ::getpid();
    process_.setChildProcessModifier([parent] {
        if (::prctl(PR_SET_PDEATHSIG, SIGTERM) != 0 || ::getppid() != parent) ::_exit(1);
    });
    process_.start(program, args);
}

void CSimProcess::ReadLine()
{
    const QByteArray data = process_.readAllStandardOutput();
    if (!pty_.isEmpty()) return;  // only the first line matters
    pending_ += data;
    const qsizetype end = pending_.indexOf('\n');
    if (end < 0) return;
    pty_ = QString::fromLocal8Bit(pending_.left(end)).trimmed();
    pending_.clear();
    if (pty_.isEmpty()) emit failed(QStringLiteral("rtusim printed no terminal path"));
    else emit ptyReady(pty_);
}

void CSimProcess::Stop()
{
    if (process_.state() == QProcess::NotRunning) return;
    process_.terminate();
    if (!process_.waitForFinished(kStopWaitMs)) {
        process_.kill();
        process_.waitForFinished(kStopWaitMs);
    }
}
