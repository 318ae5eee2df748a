#include "shell/SupportTools.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileDialog>
#include <QMenu>
#include <QMessageBox>
#include <QStyle>
#include <QThread>
#include <QToolButton>

#include "link/DiagnosticsArchive.h"
#include "link/SerialPort.h"
#include "session/Session.h"

CSupportTools::CSupportTools(rtu::CSerialPort& port, rtu::CSession& session, QWidget* parent)
    : QObject(parent), port_(port), session_(session), button_(new QToolButton(parent))
{
    button_->setObjectName("supportTools");
    button_->setIcon(button_->style()->standardIcon(QStyle::SP_FileDialogDetailedView));
    button_->setToolTip(tr("Support: trace the wire, save diagnostics"));
    button_->setAutoRaise(true);
    button_->setPopupMode(QToolButton::InstantPopup);
    auto* menu = new QMenu(button_);
    trace_ = menu->addAction(tr("Trace the wire"));
    trace_->setObjectName("traceWire");
    trace_->setCheckable(true);
    trace_->setToolTip(tr("Record every byte sent and received, with times, in %1")
                           .arg(QString::fromStdString(rtu::DefaultTracePath())));
    diagnostics_ = menu->addAction(tr("Save diagnostics..."));
    diagnostics_->setObjectName("saveDiagnostics");
    button_->setMenu(menu);
    port_.SetTrace(&wire_);
    connect(trace_, &QAction::toggled, this, &CSupportTools::SetTracing);
    connect(diagnostics_, &QAction::triggered, this, &CSupportTools::SaveDiagnostics);
}

// The port is its window's member and ends before the window's children: nothing records
// into the trace once this object goes.
CSupportTools::~CSupportTools() = default;

void CSupportTools::SetTracing(bool on)
{
    if (!on) {
        wire_.Close();
        return;
    }
    const std::string path = rtu::DefaultTracePath();
    if (!path.empty()) QDir().mkpath(QFileInfo(QString::fromStdString(path)).absolutePath());
    std::string error = "no folder for the trace (HOME is not set)";
    if (path.empty() || !wire_.Open(path, error)) {
        trace_->setChecked(false);
        const QString text = tr("The trace cannot be written: %1").arg(QString::fromStdString(error));
        if (messageSink) messageSink(false, text);
        else QMessageBox::warning(button_->window(), tr("Trace the wire"), text);
        return;
    }
    wire_.Record(rtu::CWireTrace::Direction::Note, "rtuconfig traces " + port_.PortName());
}

void CSupportTools::SaveDiagnostics()
{
    const QString suggested = QDir::home().filePath(QStringLiteral("rtuconfig-diagnostics-%1.tar.gz")
                                                        .arg(QDateTime::currentDateTime().toString("yyyyMMdd-HHmmss")));
    const QString path = fileChooser ? fileChooser(suggested)
                                     : QFileDialog::getSaveFileName(button_->window(), tr("Save diagnostics"),
                                                                    suggested, tr("Archives (*.tar.gz)"));
    if (path.isEmpty()) return;
    rtu::DiagnosticsInput in;
    in.program = "rtuconfig " + QCoreApplication::applicationVersion().toStdString();
    in.port = port_.PortName();
    in.settingsPath = rtu::DefaultSettingsPath();
    in.tracePaths.push_back(rtu::DefaultTracePath());
    in.profile = session_.ProfileText(true, rtu::Secrets::Masked);
    in.json = session_.ExportJsonText(rtu::Secrets::Masked);
    in.secrets = session_.SecretMarksOnWire();
    in.notes = "profile.txt and unit.json hold every page as the tool shows it when the archive was made.\n";
    diagnostics_->setEnabled(false);
    // Packing runs beside the window: tar and the file writes must not hold the window up.
    auto result = std::make_shared<std::pair<bool, std::string>>();
    QThread* worker = QThread::create([in, path, result] {
        std::string error;
        result->first = rtu::WriteDiagnosticsArchive(path.toStdString(), in, error);
        result->second = error;
    });
    connect(worker, &QThread::finished, this, [this, worker, result, path] {
        worker->deleteLater();
        diagnostics_->setEnabled(true);
        const QString text =
            result->first ? tr("Diagnostics saved to %1.").arg(path)
                          : tr("The diagnostics could not be saved: %1").arg(QString::fromStdString(result->second));
        if (messageSink) messageSink(result->first, text);
        else if (result->first) QMessageBox::information(button_->window(), tr("Save diagnostics"), text);
        else QMessageBox::warning(button_->window(), tr("Save diagnostics"), text);
        emit diagnosticsSaved(result->first, text);
    });
    worker->start();
}
