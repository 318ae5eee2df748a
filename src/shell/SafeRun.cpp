#include "shell/SafeRun.h"

#include <QDir>

#include <algorithm>
#include <ctime>

#include "session/Session.h"
#include "session/UnitBackup.h"
#include "shell/ExecReportDlg.h"
#include "shell/PreviewDlg.h"
#include "shell/RegSetting.h"
#include "shell/SessionDriver.h"

namespace {
constexpr const char* kNothingDiffers =
    "Nothing differs: the unit already holds every line of the profile. Nothing was sent.";
constexpr const char* kNotRead = "The unit's values could not be read in full, so nothing was sent.";
constexpr const char* kBusy = "The unit is busy: nothing was sent. Try again once it is free.";
constexpr const char* kReloadEnd = "DUMPR";  // the line that ends the unit's full report
constexpr const char* kAskBackup = "Save a backup of the unit's values before they are changed?";
}  // namespace

CSafeRun::CSafeRun(CSessionDriver& driver, CRegSetting& settings, QWidget* window, TellFn tell)
    : QObject(window), driver_(driver), settings_(settings), window_(window), tell_(std::move(tell))
{
    connect(&driver_, &CSessionDriver::unitBusyChanged, this, &CSafeRun::OnUnitBusy);
    connect(&driver_, &CSessionDriver::lineReceived, this, [this](const QString& line) {
        if (step_ != Step::None && line.contains(QLatin1String(kReloadEnd))) dumprSeen_ = true;
    });
    connect(&driver_, &CSessionDriver::profileEnded, this, &CSafeRun::ShowReport, Qt::QueuedConnection);
}

CSafeRun::BackupMode CSafeRun::ReadBackupMode(const CRegSetting& settings)
{
    const QString mode = settings.ReadText(QString::fromLatin1(kBackupSetting)).trimmed().toLower();
    if (mode == QLatin1String("ask")) return BackupMode::Ask;
    if (mode == QLatin1String("never")) return BackupMode::Never;
    return BackupMode::Always;
}

QString CSafeRun::BackupDir(const CRegSetting& settings)
{
    const QString dir = settings.ReadText(QString::fromLatin1(kBackupDirSetting));
    return dir.isEmpty() ? QString::fromStdString(rtu::DefaultBackupDir()) : dir;
}

QString CSafeRun::BackupNote(const CRegSetting& settings)
{
    const QString dir = QDir::toNativeSeparators(BackupDir(settings));
    switch (ReadBackupMode(settings)) {
    case BackupMode::Always: return tr("The unit's present values are read and backed up to %1 first.").arg(dir);
    case BackupMode::Ask: return tr("You are asked first whether to back up the unit's present values (to %1).").arg(dir);
    case BackupMode::Never: break;
    }
    return tr("No backup is taken (backups are turned off): save a profile first to keep the present settings.");
}

void CSafeRun::RunProfile(const QString& path)
{
    if (Waiting() || path.isEmpty()) return;  // empty: the file choice was cancelled
    std::string error;
    if (!rtu::ReadProfileFileForDiff(path.toStdString(), file_, error))
        return Tell(QMessageBox::Critical,
                    QString::fromLatin1(rtu::CSession::kOpenProfileFailed) + "\n" + QString::fromStdString(error));
    // A profile shared with its secrets masked would write the mask into the unit.
    if (const auto masked = rtu::CSession::MaskedLines(file_); !masked.empty())
        return Tell(QMessageBox::Critical, QString::fromStdString(rtu::CSession::MaskedLinesRefusal(masked)));
    path_ = path;
    Start(Step::Preview);
}

void CSafeRun::Defaults()
{
    if (Waiting()) return;
    if (ReadBackupMode(settings_) == BackupMode::Never) {
        driver_.Session().Defaults();
        return driver_.Pump();
    }
    Start(Step::Defaults);
}

void CSafeRun::Start(Step step)
{
    rtu::CSession& s = driver_.Session();
    if (s.Busy()) return Tell(QMessageBox::Warning, QString::fromLatin1(kBusy));
    step_ = step;
    reloadSeen_ = false;
    dumprSeen_ = false;
    s.Reload();  // the comparison and the backup need the unit's values now
    driver_.Pump();
    if (step_ != Step::None && !reloadSeen_ && !s.Busy()) {  // the reload could not even start
        step_ = Step::None;
        Tell(QMessageBox::Critical, QString::fromLatin1(kNotRead));
    }
}

void CSafeRun::OnUnitBusy(bool busy)
{
    if (step_ == Step::None) return;
    if (busy) {
        reloadSeen_ = true;
        return;
    }
    if (!reloadSeen_) return;
    const Step step = step_;
    step_ = Step::None;
    rtu::CSession& s = driver_.Session();
    if (!dumprSeen_ || !s.UnreadProfilePages().empty())
        return Tell(QMessageBox::Critical, QString::fromLatin1(kNotRead));
    if (step == Step::Preview) return Preview();
    if (!BackUp(QStringLiteral("restoring the factory defaults"))) return;
    s.Defaults();
    driver_.Pump();
}

void CSafeRun::Preview()
{
    rtu::CSession& s = driver_.Session();
    rtu::CProfileLines unit;
    std::string error;
    if (!rtu::ReadProfileForDiff(s.ProfileText(), unit, error))
        return Tell(QMessageBox::Critical, QString::fromLatin1(kNotRead) + "\n" + QString::fromStdString(error));
    const rtu::CProfileDiffer differ(rtu::PageSectionInfo(s.Registry(), s.Pages(), s.Catalog()));
    const rtu::ProfileDiff diff = differ.Compare(unit, file_, true);
    const bool nothingToSend = std::all_of(diff.sections.begin(), diff.sections.end(), [](const rtu::DiffSection& d) {
        return std::all_of(d.lines.begin(), d.lines.end(), [](const rtu::DiffLine& l) {
            return l.kind == rtu::DiffKind::OnlyOld || l.kind == rtu::DiffKind::Same;
        });
    });
    if (nothingToSend) return Tell(QMessageBox::Information, QString::fromLatin1(kNothingDiffers));
    CPreviewDlg dialog(diff, window_);
    const bool send = previewSink ? previewSink(dialog) : dialog.exec() == QDialog::Accepted;
    if (!send) return;
    if (dialog.CheckedLines().empty())
        return Tell(QMessageBox::Information, tr("No line was checked: nothing was sent."));
    // Read back with their headers, so that the run's record names each line's page.
    rtu::CProfileReader checked;
    checked.KeepHeaders(true);
    if (!checked.ReadText(dialog.CheckedProfile()))
        return Tell(QMessageBox::Critical, QString::fromStdString(checked.ErrorText()));
    if (!BackUp(QStringLiteral("executing the profile ") + path_)) return;
    s.ExecProfileLines(checked.TakeLines());
    driver_.Pump();
}

bool CSafeRun::BackUp(const QString& reason)
{
    const BackupMode mode = ReadBackupMode(settings_);
    if (mode == BackupMode::Never) return true;
    if (mode == BackupMode::Ask) {
        const int answer = askSink ? askSink(QString::fromLatin1(kAskBackup))
                                   : QMessageBox::question(window_, QString(), QString::fromLatin1(kAskBackup),
                                                           QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        if (answer == QMessageBox::Cancel) return false;
        if (answer == QMessageBox::No) return true;
    }
    rtu::CSession& s = driver_.Session();
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    ::localtime_r(&now, &local);
    const rtu::BackupResult r = rtu::WriteBackup(BackupDir(settings_).toStdString(), rtu::BackupUnitId(s), local,
                                                 reason.toStdString(), s.ProfileText());
    if (!r.ok) {
        Tell(QMessageBox::Critical,
             tr("The backup could not be written, so nothing was sent:\n%1").arg(QString::fromStdString(r.error)));
        return false;
    }
    emit backupWritten(QString::fromStdString(r.path));
    return true;
}

void CSafeRun::Tell(QMessageBox::Icon icon, const QString& text)
{
    if (tell_) return tell_(icon, text);
    QMessageBox box(icon, QString(), text, QMessageBox::Ok, window_);
    box.exec();
}

void CSafeRun::ShowReport()
{
    const rtu::CSession& s = driver_.Session();
    delete report_;  // one table: the last run's
    report_ = new CExecReportDlg(
        rtu::ExecReportRows(s.ExecRecords(), rtu::PageSectionInfo(s.Registry(), s.Pages(), s.Catalog())),
        s.ExecStartedAt(), window_);
    report_->show();
}
