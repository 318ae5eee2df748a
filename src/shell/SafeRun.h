#pragma once

#include <QMessageBox>
#include <QObject>
#include <QString>

#include <functional>

#include "session/ProfileDiff.h"

class CExecReportDlg;
class CPreviewDlg;
class CRegSetting;
class CSessionDriver;
class QWidget;

// Run profile and Defaults with care for what the unit holds: both first read the unit in
// full and keep a backup of it (as the stored setting says: ask, always or never); Run profile
// then shows what the file would change and sends only the lines the user left checked,
// between the start and commit commands. Nothing is sent when nothing differs. After every
// run a table shows what each line did.
class CSafeRun : public QObject {
    Q_OBJECT
public:
    static constexpr const char* kBackupSetting = "BACKUP";        // "ask", "always" (default) or "never"
    static constexpr const char* kBackupDirSetting = "BACKUPDIR";  // the backup folder; empty: the default one
    enum class BackupMode { Ask, Always, Never };

    using TellFn = std::function<void(QMessageBox::Icon icon, const QString& text)>;
    // `tell` shows a message (the window's own message boxes).
    CSafeRun(CSessionDriver& driver, CRegSetting& settings, QWidget* window, TellFn tell);

    // Nothing happens for an empty path (the file choice was cancelled).
    void RunProfile(const QString& path);
    void Defaults();
    bool Waiting() const { return step_ != Step::None; }
    // The table of the last run's lines, shown (not modal) when a run ends; null before.
    CExecReportDlg* Report() const { return report_; }

    static BackupMode ReadBackupMode(const CRegSetting& settings);
    // Where backups go: the stored folder, else the default one.
    static QString BackupDir(const CRegSetting& settings);
    // What a run that changes the unit does first, as a sentence: the backup and its folder.
    static QString BackupNote(const CRegSetting& settings);

signals:
    // A backup was written to `path`.
    void backupWritten(const QString& path);

public:

    // Tests: act on the preview instead of showing it (true: send), answer the backup question
    // (QMessageBox::Yes, No or Cancel).
    std::function<bool(CPreviewDlg& dialog)> previewSink;
    std::function<int(const QString& text)> askSink;

private:
    enum class Step { None, Preview, Defaults };
    void Start(Step step);
    void OnUnitBusy(bool busy);
    // False when the user cancelled or the backup failed (told); nothing may be sent then.
    bool BackUp(const QString& reason);
    void Preview();
    void Tell(QMessageBox::Icon icon, const QString& text);
    void ShowReport();

    CSessionDriver& driver_;
    CRegSetting& settings_;
    QWidget* window_;
    TellFn tell_;
    Step step_ = Step::None;
    bool reloadSeen_ = false;  // the reload made the unit busy; its end is the next free state
    bool dumprSeen_ = false;   // the unit finished its full report
    QString path_;
    rtu::CProfileLines file_;
    CExecReportDlg* report_ = nullptr;
};
