#pragma once

#include <QObject>
#include <QProcess>
#include <QString>
#include <QStringList>

// A simulated unit (rtusim) run beside the tool: started as a child process, it prints the
// path of its pseudo-terminal as its first line; stopped when this object goes, and ended
// by the kernel if the tool ends without that (killed).
class CSimProcess : public QObject {
    Q_OBJECT
public:
    static constexpr int kStopWaitMs = 2000;  // the simulator gets this long to end by itself
    static constexpr int kDemoBaud = 115200;  // the demo's line speed: a full reload takes about a second

    explicit CSimProcess(QObject* parent = nullptr);
    ~CSimProcess() override;

    // Starts the simulator; the answer comes as ptyReady or failed.
    void Start(const QString& program, const QStringList& args = {});
    void Stop();
    QString PtyPath() const { return pty_; }
    bool Running() const { return process_.state() != QProcess::NotRunning; }

    // rtusim beside the given program directory.
    static QString ProgramBeside(const QString& dir);
    // The demo's options: its line speed.
    static QStringList DemoArgs() { return {QStringLiteral("--baud"), QString::number(kDemoBaud)}; }

signals:
    void ptyReady(const QString& path);
    void failed(const QString& reason);

private:
    void ReadLine();

    QProcess process_;
    QByteArray pending_;
    QString pty_;
};
