#include "shell/SessionDriver.h"

#include <QTimer>

#include <algorithm>

#include "shell/MessageTexts.h"

namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }

template <class... Fn> struct Overload : Fn... {
    using Fn::operator()...;
};
template <class... Fn> Overload(Fn...) -> Overload<Fn...>;

}  // namespace

CSessionDriver::CSessionDriver(rtu::CSession& session, rtu::ClockFn clock, QObject* parent)
    : QObject(parent), session_(session), clock_(std::move(clock)), timer_(new QTimer(this))
{
    qRegisterMetaType<rtu::CSysProgress::View>();
    timer_->setSingleShot(true);
    timer_->setTimerType(Qt::PreciseTimer);
    connect(timer_, &QTimer::timeout, this, [this] {
        session_.HandleTime();
        Pump();
    });
    session_.SetWakeup([this] { Wake(); });
}

CSessionDriver::~CSessionDriver() { session_.SetWakeup({}); }

void CSessionDriver::Wake()
{
    if (pumping_) {
        again_ = true;
        return;
    }
    if (queued_) return;
    queued_ = true;
    QMetaObject::invokeMethod(this, &CSessionDriver::Pump, Qt::QueuedConnection);
}

void CSessionDriver::HandleReceive(std::string_view chunk)
{
    session_.HandleReceive(chunk);
    Pump();
}

void CSessionDriver::HandlePortLost()
{
    session_.HandlePortLost();
    Pump();
}

void CSessionDriver::Pump()
{
    queued_ = false;
    if (pumping_) {  // a slot called back into the session: the running pump takes it
        again_ = true;
        return;
    }
    pumping_ = true;
    int rounds = 0;
    do {
        again_ = false;
        while (auto event = session_.PollEvent()) Dispatch(*event);
        // Posted commands and a progress tick due now run here, not from inside a call.
        if (auto next = session_.NextDeadline(); next && *next <= clock_()) {
            session_.HandleTime();
            again_ = true;
        }
    } while (again_ && ++rounds < kMaxRounds);
    pumping_ = false;

    const auto next = session_.NextDeadline();
    if (!next) {
        timer_->stop();
        return;
    }
    const rtu::Millis wait = std::clamp<rtu::Millis>(*next - clock_(), 0, kLongestWaitMs);
    timer_->start(static_cast<int>(wait));
}

void CSessionDriver::Dispatch(const rtu::SessionEvent& event)
{
    namespace ev = rtu::ev;
    const CMessageTexts texts(session_.Catalog());  // fixed texts as the catalog words them
    std::visit(
        Overload{
            [&](const ev::Status& e) {
                lastStatus_ = e.text;
                emit statusText(texts.Shown(e.text));
            },
            [&](const ev::Mode& e) {
                // A mode the status line has just said is said once, on the mode line.
                if (e.text == lastStatus_) emit statusText(QString());
                emit modeText(texts.Shown(e.text));
            },
            [&](const ev::Progress& e) {
                rtu::CSysProgress::View view = e.view;
                view.text = texts.Shown(view.text).toStdString();
                emit progressChanged(view);
            },
            [this](const ev::PageChanged& e) { emit pageChanged(Q(e.page)); },
            [](const ev::CommandSent&) {},
            [this](const ev::CommandAnswered& e) {
                emit commandAnswered(Q(e.bytes), static_cast<int>(e.ack), e.written);
            },
            [this](const ev::Busy& e) { emit busyChanged(e.busy); },
            [this](const ev::PortLost&) { emit portLost(); },
            [this](const ev::TransferProgress& e) { emit transferProgress(Q(e.job), e.done, e.total, Q(e.text)); },
            [&](const ev::TransferEnded& e) { emit transferEnded(Q(e.job), e.ok, texts.Shown(e.message)); },
            [&](const ev::Message& e) { emit messageRequested(static_cast<int>(e.icon), texts.Shown(e.text)); },
            [this](const ev::Question& e) { emit questionAsked(static_cast<int>(e.kind), Q(e.text)); },
            [this](const ev::ProfileEnded&) { emit profileEnded(); },  // the outcome message says the counts
            [this](const ev::Beep&) { emit beep(); },
            [this](const ev::ConsoleChunk& e) {
                emit consoleChunk(QByteArray(e.bytes.data(), static_cast<qsizetype>(e.bytes.size())));
            },
            [this](const ev::Line& e) { emit lineReceived(Q(e.text)); },
            [this](const ev::FieldRefused& e) {
                emit fieldRefused(Q(e.page), QList<int>(e.fields.begin(), e.fields.end()), Q(e.text));
            },
            [this](const ev::NoAnswer& e) { emit noAnswer(e.seconds, Q(e.text)); },
            [this](const ev::UnitBusy& e) { emit unitBusyChanged(e.busy); },
            [this](const ev::Refused& e) { emit statusText(Q(e.text)); },
        },
        event);
}
