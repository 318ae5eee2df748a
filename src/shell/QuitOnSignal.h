#pragma once

#include <QObject>

class QSocketNotifier;

// Ends the application's event loop on SIGINT, SIGTERM or SIGHUP, so the tool closes the
// way it does when its window closes: the port is released and the simulated unit ends.
// The handler only writes the signal's number to a pipe; the event loop reads it. A tool
// whose main thread is stuck and has not ended 10 s after the signal is ended by that signal.
// One object at a time; the destructor puts the previous handlers back.
class CQuitOnSignal : public QObject {
    Q_OBJECT
public:
    explicit CQuitOnSignal(QObject* parent = nullptr);
    ~CQuitOnSignal() override;
    CQuitOnSignal(const CQuitOnSignal&) = delete;
    CQuitOnSignal& operator=(const CQuitOnSignal&) = delete;

    bool Installed() const { return notifier_ != nullptr; }
    int LastSignal() const { return lastSignal_; }  // 0 until one arrived

private:
    void ReadSignals();

    QSocketNotifier* notifier_ = nullptr;
    int lastSignal_ = 0;
};
