// The support menu beside the About button: a trace of the wire (every byte sent and
// received, with times) and "Save diagnostics...", the archive a user sends to support.
#pragma once

#include <QObject>
#include <QString>

#include <functional>

#include "link/WireTrace.h"

class QAction;
class QToolButton;
namespace rtu {
class CSerialPort;
class CSession;
}  // namespace rtu

class CSupportTools : public QObject {
    Q_OBJECT
public:
    // Traces `port` (which must end before this object) and gathers `session`'s values.
    CSupportTools(rtu::CSerialPort& port, rtu::CSession& session, QWidget* parent);
    ~CSupportTools() override;

    QToolButton* Button() const { return button_; }
    QAction* TraceAction() const { return trace_; }
    QAction* DiagnosticsAction() const { return diagnostics_; }
    const rtu::CWireTrace& Trace() const { return wire_; }

    // Asks where to save the archive ("" to cancel); a dialog unless set (tests set it).
    std::function<QString(const QString& suggested)> fileChooser;
    // Says how saving went; a message box unless set.
    std::function<void(bool ok, const QString& text)> messageSink;

signals:
    void diagnosticsSaved(bool ok, const QString& text);

private:
    void SetTracing(bool on);
    void SaveDiagnostics();

    rtu::CSerialPort& port_;
    rtu::CSession& session_;
    rtu::CWireTrace wire_;
    QToolButton* button_;
    QAction* trace_;
    QAction* diagnostics_;
};
