#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

#include <string>
#include <string_view>

#include "session/Session.h"

class QTimer;

Q_DECLARE_METATYPE(rtu::CSysProgress::View)

// Runs a session on the Qt event loop: hands it received chunks and the passing of time
// (one timer, set to the session's next deadline), drains its events after every call and
// turns each into a signal. Views call the session directly; it wakes the driver, which
// drains and re-arms from the event loop, never from inside the session's own call.
class CSessionDriver : public QObject {
    Q_OBJECT
public:
    static constexpr int kLongestWaitMs = 24 * 3600 * 1000;  // a timer is never set further out
    static constexpr int kMaxRounds = 64;                    // rounds of one pump (events, then what is due now)

    CSessionDriver(rtu::CSession& session, rtu::ClockFn clock, QObject* parent = nullptr);
    ~CSessionDriver() override;

    rtu::CSession& Session() const { return session_; }
    // A chunk from the port.
    void HandleReceive(std::string_view chunk);
    // The port closed under the session.
    void HandlePortLost();

public slots:
    // Drains every queued event into signals, then re-arms the timer.
    void Pump();

signals:
    void statusText(const QString& text);
    void modeText(const QString& text);
    void progressChanged(const rtu::CSysProgress::View& view);
    void pageChanged(const QString& page);
    void commandAnswered(const QString& line, int ack, bool written);  // ack: rtu::AckKind
    void busyChanged(bool busy);
    void portLost();
    void transferProgress(const QString& job, qint64 done, qint64 total, const QString& text);
    void transferEnded(const QString& job, bool ok, const QString& message);
    void messageRequested(int icon, const QString& text);  // icon: rtu::MessageIcon
    void questionAsked(int kind, const QString& text);     // kind: rtu::ev::QuestionKind
    void beep();
    void consoleChunk(const QByteArray& bytes);
    void lineReceived(const QString& line);
    void fieldRefused(const QString& page, const QList<int>& fields, const QString& text);
    void noAnswer(int seconds, const QString& text);
    void unitBusyChanged(bool busy);  // nothing that writes may start while busy
    void profileEnded();              // a profile run ended; its per-line record is in the session

private:
    void Dispatch(const rtu::SessionEvent& event);
    void Wake();

    rtu::CSession& session_;
    rtu::ClockFn clock_;
    QTimer* timer_;
    bool pumping_ = false;
    bool again_ = false;      // something came in while pumping: go round once more
    bool queued_ = false;     // a pump is already posted to the event loop
    std::string lastStatus_;  // the status text last shown
};
