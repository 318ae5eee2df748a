// Run profile and Defaults against the simulated unit: the preview of what would change, only
// the checked lines sent between the framing lines, a backup first.
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QtTest>

#include <memory>

#include "session/Session.h"
#include "shell/ExecReportDlg.h"
#include "shell/PreviewDlg.h"
#include "shell/RegSetting.h"
#include "shell/SafeRun.h"
#include "shell/SessionDriver.h"
#include "shell/SimProcess.h"
#include "shell/UnitGuard.h"
#include "shell/VarnelDlg.h"

namespace {

constexpr int kSimWaitMs = 60000;  // generous bound for the simulator and the unit's answers

// Lines the simulated unit received, from its trace ("<ms> < line").
QStringList ReceivedLines(const QString& trace)
{
    QFile f(trace);
    QStringList out;
    if (!f.open(QIODevice::ReadOnly)) return out;
    for (const QByteArray& raw : f.readAll().split('\n')) {
        const qsizetype at = raw.indexOf(" < ");
        if (at > 0) out << QString::fromLatin1(raw.mid(at + 3));
    }
    return out;
}

void WriteText(const QString& path, const QByteArray& text)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(text);
}

// A main window on the simulated unit, read in full.
struct Rig {
    QTemporaryDir dir;
    QString trace = dir.filePath("trace.txt");
    QString backups = dir.filePath("backups");
    CSimProcess sim;
    CRegSetting reg{dir.filePath("settings.ini")};
    rtu::CTextCatalog catalog;
    std::unique_ptr<CVarnelDlg> dlg;
    QStringList messages;
    QString chosenFile;

    bool Start()
    {
        QSignalSpy ready(&sim, &CSimProcess::ptyReady);
        sim.Start(QStringLiteral(RTUSIM_PATH), {"--trace", trace, "--latency-ms", "0"});
        if (!ready.wait(kSimWaitMs) && ready.isEmpty()) return false;
        reg.WriteText(CSafeRun::kBackupDirSetting, backups);
        dlg = std::make_unique<CVarnelDlg>(reg, catalog);
        dlg->messageSink = [this](QMessageBox::Icon, const QString& text) { messages << text; };
        dlg->fileChooser = [this](bool, const QString&) { return chosenFile; };
        dlg->Guard()->chooser = [](const QString&, const QStringList&) { return 0; };  // yes to every question
        dlg->StartUp(sim.PtyPath());
        return QTest::qWaitFor([this] { return dlg->Session().UnreadProfilePages().empty() && !dlg->Session().Busy(); },
                               kSimWaitMs);
    }
    QStringList Backups() const { return QDir(backups).entryList(QDir::Files, QDir::Name); }
};

}  // namespace

class TestSafeRun : public QObject {
    Q_OBJECT
private slots:
    // Three lines differ; one is unchecked: exactly the other two go, framed, after a backup.
    void onlyTheCheckedLinesAreSent()
    {
        Rig rig;
        QVERIFY(rig.Start());
        rig.chosenFile = rig.dir.filePath("p.txt");
        WriteText(rig.chosenFile,
                  "\r\n//Page Device Control phones\r\n%CS0+4917612345670\r\n%CS1+4911111\r\n"
                  "%CS2+4922222\r\n\r\n//Page digital alarm prio table\r\n%DINPRIO=3,0002,0002\r\n%NOSUCH1\r\n");
        int shown = -1;
        bool equalShown = false;
        rig.dlg->SafeRun()->previewSink = [&](CPreviewDlg& dialog) {
            QTreeWidget* tree = dialog.Tree();
            auto rows = [tree] {
                QList<QTreeWidgetItem*> out;
                for (int p = 0; p < tree->topLevelItemCount(); ++p)
                    for (int r = 0; r < tree->topLevelItem(p)->childCount(); ++r)
                        if (!tree->topLevelItem(p)->child(r)->isHidden()) out << tree->topLevelItem(p)->child(r);
                return out;
            };
            // The equal line shows, unchecked, only when asked for.
            dialog.ShowSameBox()->setChecked(true);
            equalShown = rows().size() == 5 && rows()[0]->checkState(CPreviewDlg::kColLine) == Qt::Unchecked;
            dialog.ShowSameBox()->setChecked(false);
            shown = static_cast<int>(rows().size());
            for (QTreeWidgetItem* row : rows())
                if (row->text(CPreviewDlg::kColLine) == "%CS2")
                    row->setCheckState(CPreviewDlg::kColLine, Qt::Unchecked);
            return true;
        };
        const qsizetype before = ReceivedLines(rig.trace).size();
        rig.dlg->RunCommand(rtu::cmd::kExecProfile);
        QTRY_VERIFY_WITH_TIMEOUT(ReceivedLines(rig.trace).mid(before).contains("%COMMITCMD"), kSimWaitMs);
        QCOMPARE(shown, 4);  // the equal line is hidden
        QVERIFY(equalShown);
        const QStringList sent = ReceivedLines(rig.trace).mid(before);
        const qsizetype start = sent.indexOf("%STARTCMD");
        QVERIFY(start >= 0);
        QCOMPARE(sent.mid(start, 5),
                 (QStringList{"%STARTCMD", "%CS1+4911111", "%DINPRIO=3,0002,0002", "%NOSUCH1", "%COMMITCMD"}));
        // After the run, each line in a table: the refused one first, with its page.
        QTRY_VERIFY_WITH_TIMEOUT(rig.dlg->SafeRun()->Report(), kSimWaitMs);
        const QTableWidget* table = rig.dlg->SafeRun()->Report()->Table();
        QCOMPARE(table->rowCount(), 3);
        const QStringList first = {table->item(0, CExecReportDlg::kColPage)->text(),
                                   table->item(0, CExecReportDlg::kColLine)->text(),
                                   table->item(0, CExecReportDlg::kColOutcome)->text()};
        QCOMPARE(first, (QStringList{"digital alarm prio table", "%NOSUCH1", "CMD ERR"}));
        QCOMPARE(table->item(1, CExecReportDlg::kColOutcome)->text(), QStringLiteral("OK"));
        // The backup was taken before, from the unit as it was.
        const QStringList backups = rig.Backups();
        QCOMPARE(backups.size(), 1);
        QVERIFY2(QRegularExpression("^RTU-0001-\\d{8}-\\d{6}\\.txt$").match(backups[0]).hasMatch(),
                 qPrintable(backups[0]));
        QFile backup(QDir(rig.backups).filePath(backups[0]));
        QVERIFY(backup.open(QIODevice::ReadOnly));
        const QByteArray text = backup.readAll();
        QVERIFY(text.startsWith("//Backup of unit RTU-0001 taken "));
        QVERIFY(text.contains("%CS1+4917612345671\r\n"));
    }

    // A profile the unit already holds sends nothing and says so; "never" takes no backup.
    void nothingDiffersSendsNothing()
    {
        Rig rig;
        QVERIFY(rig.Start());
        rig.reg.WriteText(CSafeRun::kBackupSetting, "never");
        rig.chosenFile = rig.dir.filePath("same.txt");
        WriteText(rig.chosenFile, QByteArray::fromStdString(rig.dlg->Session().ProfileText()));
        bool previewed = false;
        rig.dlg->SafeRun()->previewSink = [&](CPreviewDlg&) { return previewed = true; };
        rig.dlg->RunCommand(rtu::cmd::kExecProfile);
        QTRY_VERIFY_WITH_TIMEOUT(!rig.messages.isEmpty(), kSimWaitMs);
        QVERIFY2(rig.messages.back().startsWith("Nothing differs"), qPrintable(rig.messages.back()));
        QVERIFY(!previewed);
        QVERIFY(!ReceivedLines(rig.trace).contains("%STARTCMD"));
        QVERIFY(rig.Backups().isEmpty());
    }

    // Without a unit to read nothing is sent, the user is told each time, and nothing waits on.
    void unreadableUnitSendsNothing()
    {
        QTemporaryDir dir;
        CRegSetting reg(dir.filePath("settings.ini"));
        rtu::CTextCatalog catalog;
        CVarnelDlg dlg(reg, catalog);
        QStringList messages;
        dlg.messageSink = [&](QMessageBox::Icon, const QString& text) { messages << text; };
        dlg.Guard()->chooser = [](const QString&, const QStringList&) { return 0; };
        QSignalSpy answered(dlg.Driver(), &CSessionDriver::commandAnswered);
        for (int round = 1; round <= 2; ++round) {
            dlg.RunCommand(rtu::cmd::kDefaults);
            QTRY_COMPARE_WITH_TIMEOUT(messages.size(), round, kSimWaitMs);
            QVERIFY2(messages.back().contains("could not be read"), qPrintable(messages.back()));
            QVERIFY(!dlg.SafeRun()->Waiting());
        }
        for (const auto& a : answered) QVERIFY(!a.at(0).toString().startsWith("%ATF"));
    }

    // Defaults: the backup first, then the defaults; asked first when the setting says so.
    void defaultsBackUpFirst()
    {
        Rig rig;
        QVERIFY(rig.Start());
        rig.reg.WriteText(CSafeRun::kBackupSetting, "ask");
        int asked = 0;
        rig.dlg->SafeRun()->askSink = [&](const QString&) {
            ++asked;
            return int(QMessageBox::Yes);
        };
        rig.dlg->RunCommand(rtu::cmd::kDefaults);
        QTRY_VERIFY_WITH_TIMEOUT(ReceivedLines(rig.trace).contains("%ATF"), kSimWaitMs);
        QCOMPARE(asked, 1);
        QCOMPARE(rig.Backups().size(), 1);
    }
};

QTEST_MAIN(TestSafeRun)
#include "test_safe_run.moc"
