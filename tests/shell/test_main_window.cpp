// The main window: start-up with and without a catalog, navigation, the busy signal, stored
// settings across a restart, profile commands, and a session with the simulated unit on a
// pty (reload into a page view, a page's save on the wire, screenshot).
#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "controls/HeaderBanner.h"
#include "controls/NavBar.h"
#include "pages/registry/PageRegistry.h"
#include "shell/PageView.h"
#include "shell/RegSetting.h"
#include "shell/SimProcess.h"
#include "shell/UnitGuard.h"
#include "shell/PreviewDlg.h"
#include "shell/SafeRun.h"
#include "shell/VarnelDlg.h"

using namespace rtu;

namespace {

constexpr int kSimWaitMs = 60000;  // generous bound for the simulator and the unit's answers

struct Message {
    QMessageBox::Icon icon;
    QString text;
};

// A main window over a settings file in a temporary folder; messages and file choices are
// taken by the test.
struct Window {
    QTemporaryDir dir;
    CRegSetting reg{dir.filePath("settings.ini")};
    CTextCatalog catalog;
    std::unique_ptr<CVarnelDlg> dlg;
    std::vector<Message> messages;
    QString chosenFile;

    explicit Window(const QString& catalogPath = {})
    {
        if (!catalogPath.isEmpty()) catalog.Load(catalogPath.toStdString());
        Make();
    }
    void Make()
    {
        dlg = std::make_unique<CVarnelDlg>(reg, catalog);
        dlg->messageSink = [this](QMessageBox::Icon icon, const QString& text) { messages.push_back({icon, text}); };
        dlg->fileChooser = [this](bool, const QString&) { return chosenFile; };
        dlg->SafeRun()->previewSink = [](CPreviewDlg&) { return true; };  // every differing line goes
        reg.WriteText(CSafeRun::kBackupDirSetting, dir.filePath("backups"));
    }
    template <class W> W* Find(int id) const { return dlg->findChild<W*>(QStringLiteral("ctl%1").arg(id)); }
    QString Caption(int id) const { return Find<QAbstractButton>(id)->text().remove('&'); }
};

// Top-row controls and their caption keys in "SYSBTN".
const std::vector<std::pair<int, const char*>> kTopCaptions = {
    {1005, "SETUP"}, {1007, "RELOAD"}, {1010, "RESTART"}, {1009, "DEFAULTS"}, {1079, "SAVE"}, {1080, "EXEC"},
};
const std::vector<std::pair<int, const char*>> kTopLabels = {
    {1101, "RS232"}, {1102, "BPS"}, {1103, "PWD"}, {1104, "PARITY"}};

// The navigation folders and their items' navigation ids, in order.
const std::vector<std::vector<int>> kFolders = {
    {1, 3, 4, 14, 25}, {5, 6, 21, 30, 31, 23}, {9, 10, 19, 24}, {28}, {43, 29, 35, 44, 49, 20}, {7, 11, 27, 16, 22},
};

// Records every enabled/disabled change of a widget.
struct EnableLog : QObject {
    std::vector<bool> states;
    bool eventFilter(QObject* o, QEvent* e) override
    {
        if (e->type() == QEvent::EnabledChange) states.push_back(static_cast<QWidget*>(o)->isEnabled());
        return false;
    }
};

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

QStringList ProfileLines(const std::string& text)
{
    QStringList out;
    for (QString line : QString::fromStdString(text).split('\n')) {
        line.remove('\r');
        if (!line.isEmpty() && !line.startsWith("//")) out << line;
    }
    return out;
}

// The value the simulated unit starts with for a report key.
QString ImageValue(const QString& key)
{
    QFile f(QStringLiteral(RTU_SOURCE_DATA_DIR "/sim/default.image"));
    if (!f.open(QIODevice::ReadOnly)) return {};
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith((key + ' ').toLatin1())) return QString::fromLatin1(line.mid(key.size() + 1)).trimmed();
    return {};
}

}  // namespace

class TestMainWindow : public QObject {
    Q_OBJECT
private slots:
    void startUpWithoutCatalog()
    {
        Window w;
        QCOMPARE(w.dlg->Header()->Title(), QStringLiteral("GPRS RTU 4Din/4Dout/4AD/4TI"));
        QCOMPARE(w.dlg->Header()->Description(), QStringLiteral(" V3.40 Unicode mode"));
        for (const auto& [id, key] : kTopCaptions) QVERIFY2(w.Caption(id).isEmpty(), key);
        for (const auto& [id, key] : kTopLabels) QVERIFY2(w.Find<QLabel>(id)->text().isEmpty(), key);
        for (int f = 0; f < w.dlg->NavBar()->FolderCount(); ++f) {
            QCOMPARE(w.dlg->NavBar()->FolderCaption(f), QString());
            for (int i = 0; i < w.dlg->NavBar()->ItemCount(f); ++i) {
                const PageInfo* info = FindPageInfoByNav(w.dlg->NavBar()->ItemData(f, i));
                QVERIFY(info);
                if (!info->caption) QCOMPARE(w.dlg->NavBar()->ItemCaption(f, i), QString());
            }
        }
        QCOMPARE(w.Find<QLineEdit>(1006)->text(), QStringLiteral("open the gate wide"));
        QCOMPARE(w.Find<QComboBox>(1041)->currentText(), QStringLiteral("9600"));
        QCOMPARE(w.Find<QComboBox>(1042)->count(), 4);
        QCOMPARE(w.dlg->CurrentPageId(), CVarnelDlg::kNoPage);
        QVERIFY(!w.dlg->ConnIconOpen());
    }

    void startUpWithShippedCatalog()
    {
        Window w(QStringLiteral(RTU_BUILT_CATALOG));
        QVERIFY2(w.catalog.Loaded(), RTU_BUILT_CATALOG);
        for (const auto& [id, key] : kTopCaptions) {
            QVERIFY2(!w.Caption(id).isEmpty(), key);
            QCOMPARE(w.Caption(id), QString::fromStdString(w.catalog.GetText("SYSBTN", key)));
        }
        for (const auto& [id, key] : kTopLabels)
            QCOMPARE(w.Find<QLabel>(id)->text().remove('&'), QString::fromStdString(w.catalog.GetText("SYSBTN", key)));
        for (int i = 0; i < 4; ++i)
            QCOMPARE(w.Find<QComboBox>(1042)->itemText(i),
                     QString::fromStdString(w.catalog.GetText("SYSCHAR", "PARITY" + std::to_string(i))));
        QVERIFY(w.dlg->NavBar()->FolderCount() > 0);
        for (int f = 0; f < w.dlg->NavBar()->FolderCount(); ++f) {
            QVERIFY(!w.dlg->NavBar()->FolderCaption(f).isEmpty());
            for (int i = 0; i < w.dlg->NavBar()->ItemCount(f); ++i)
                QVERIFY(!w.dlg->NavBar()->ItemCaption(f, i).isEmpty());
        }
    }

    void catalogTitleReplacesBuiltIn()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("gsm.ini");
        std::ofstream(path.toStdString()) << "[version]\nSysTitle=Pump station RTU\n";
        Window w(path);
        QCOMPARE(w.dlg->Header()->Title(), QStringLiteral("Pump station RTU"));
    }

    void navigationFollowsFoldersAndShowsPages()
    {
        Window w;
        CNavBar* nav = w.dlg->NavBar();
        // The six folders hold the existing pages in their order; empty folders are left out.
        int folder = 0;
        for (const std::vector<int>& items : kFolders) {
            std::vector<int> expected;
            for (int id : items)
                if (w.dlg->PageWidget(id)) expected.push_back(id);
            if (expected.empty()) continue;
            std::vector<int> shown;
            for (int i = 0; i < nav->ItemCount(folder); ++i) shown.push_back(nav->ItemData(folder, i));
            QCOMPARE(shown, expected);
            ++folder;
        }
        // Every page without an item of its own is in the last folder.
        for (const auto& page : w.dlg->Session().Pages()) {
            const PageInfo* info = page->Info();
            int f = -1, i = -1;
            QVERIFY2(nav->FindItem(info->navId, f, i), page->ClassName());
            if (!info->folderKey) QCOMPARE(f, nav->FolderCount() - 1);
        }
        // A click shows the page and makes it current; the console pages are never current.
        QSignalSpy shown(w.dlg.get(), &CVarnelDlg::pageShown);
        for (int f = 0; f < nav->FolderCount(); ++f)
            for (int i = 0; i < nav->ItemCount(f); ++i) {
                const int id = nav->ItemData(f, i);
                nav->ClickItem(f, i);
                QCOMPARE(w.dlg->ShownPage(), w.dlg->PageWidget(id));
                QCOMPARE(w.dlg->CurrentPageId(), id);
                const bool console = id == CVarnelDlg::kCommNav || id == CVarnelDlg::kComm2Nav;
                // The temperature record pages have a view of their own, without save batches.
                const bool records = id == NavIdOf(PageId::ExTmpRcd) || id == NavIdOf(PageId::ExtTmpLog);
                QCOMPARE(w.dlg->CurrentPage() == nullptr, console || records);
            }
        QVERIFY(shown.count() > 0);
    }

    void pageViewsAreMadeWhenFirstShown()
    {
        Window w;
        // Only the page on show at start-up has a view; the others are made when first shown.
        QCOMPARE(w.dlg->findChildren<CPageView*>().size(), 1);
        CPageBase* main = w.dlg->Session().Page(PageId::MainParams);
        QVERIFY(main && !w.dlg->findChild<CPageView*>(main->ClassName()));
        const FieldDecl* text = nullptr;
        for (const FieldDecl& f : main->Fields())
            if (!text && f.kind == FieldKind::Text && f.visible) text = &f;
        QVERIFY(text);
        // A view made later shows what the page holds by then and follows the unit's state.
        emit w.dlg->Driver()->unitBusyChanged(true);  // as while a reload runs
        main->SetText(text->id, "reported before the view");
        main->SetLoaded(true);
        w.dlg->ShowPage(NavIdOf(PageId::MainParams));
        CPageView* view = w.dlg->PageView(NavIdOf(PageId::MainParams));
        QVERIFY(view);
        QCOMPARE(w.dlg->ShownPage(), view);
        QCOMPARE(w.dlg->findChildren<CPageView*>().size(), 2);
        auto* edit = qobject_cast<QLineEdit*>(view->Control(text->id));
        QVERIFY(edit);
        QCOMPARE(edit->text(), QStringLiteral("reported before the view"));
        QVERIFY(!view->Writable());  // the view made now knows the unit is busy
        QVERIFY(view->confirmReload);  // the question before its own reload drops edits
    }

    void busySignalDisablesOnlyTheCurrentPage()
    {
        Window w;
        CPageView* first = w.dlg->PageView(1);
        CPageView* main = w.dlg->PageView(3);
        if (!first || !main) QSKIP("the pages of the first folder are not built yet");
        QTableWidget* firstList = first->findChild<QTableWidget*>("ctl4001");
        QVERIFY(firstList);
        // At start-up the first page is on show but not current: the signal disables nothing.
        w.dlg->RunCommand(cmd::kPageBusy);
        QVERIFY(firstList->isEnabled());
        w.dlg->ShowPage(3);
        main->Page().SetLoaded(true);  // as if the unit had reported it
        main->Refresh();
        QWidget* save = main->Control(ctl::kSave);
        QVERIFY(save);
        w.dlg->RunCommand(cmd::kPageBusy);
        QVERIFY(!save->isEnabled());
        // Leaving the busy page does not leave it locked once the progress window is done.
        w.dlg->ShowPage(1);
        emit w.dlg->Driver()->busyChanged(false);
        QVERIFY(save->isEnabled());
    }

    void settingsSurviveARestart()
    {
        Window w;
        w.Find<QComboBox>(1041)->setCurrentIndex(7);
        w.Find<QComboBox>(1042)->setCurrentIndex(2);
        w.Find<QComboBox>(1000)->setEditText("/dev/pts/nowhere");
        w.Find<QLineEdit>(1006)->setText("secret");
        w.dlg->close();
        QVERIFY(w.dlg->Session().Closing());
        QCOMPARE(w.reg.ReadText(setting::kPassword), QStringLiteral("secret"));
        QCOMPARE(w.reg.ReadNumber(setting::kParity, -1), 2);

        w.Make();
        w.dlg->StartUp({}, false);
        QCOMPARE(w.Find<QComboBox>(1041)->currentIndex(), 7);
        QCOMPARE(w.Find<QComboBox>(1042)->currentIndex(), 2);
        QCOMPARE(w.Find<QComboBox>(1000)->currentText(), QStringLiteral("/dev/pts/nowhere"));
        // The password is never read back.
        QCOMPARE(w.Find<QLineEdit>(1006)->text(), QStringLiteral("open the gate wide"));
    }

    void setupTellsTheUserBeforeTheBurst()
    {
        Window w;
        bool awaitingDuringMessage = true;
        w.dlg->messageSink = [&](QMessageBox::Icon icon, const QString& text) {
            w.messages.push_back({icon, text});
            awaitingDuringMessage = w.dlg->Session().AwaitingSetupPrompt();
        };
        QVERIFY(!w.Find<QPushButton>(1005)->isEnabled());      // no port yet
        const int master = ::posix_openpt(O_RDWR | O_NOCTTY);  // a port nobody answers on
        QVERIFY(master >= 0 && ::grantpt(master) == 0 && ::unlockpt(master) == 0);
        w.dlg->UsePort(QString::fromLatin1(::ptsname(master)));
        QTest::mouseClick(w.Find<QPushButton>(1005), Qt::LeftButton);
        QCOMPARE(w.messages.size(), std::size_t(1));
        QVERIFY(w.messages[0].text.startsWith(
            QStringLiteral("Please press the \"OK\" button, then power-off then power-on the device!")));
        QVERIFY(w.messages[0].text.contains(QStringLiteral("To leave setup mode")));  // and how to get out
        QCOMPARE(w.messages[0].icon, QMessageBox::Information);
        QVERIFY(!awaitingDuringMessage);
        QVERIFY(w.dlg->Session().AwaitingSetupPrompt());
        QCOMPARE(w.reg.ReadNumber(setting::kBaud, -1), 5);  // the settings were stored first
        ::close(master);
    }

    void profileCommands_data()
    {
        QTest::addColumn<int>("command");
        QTest::addColumn<QString>("file");  // "<tmp>": a file in the temporary folder
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("icon");
        QTest::newRow("save") << 1079 << "<tmp>"
                              << "Save the profile sucessed!" << int(QMessageBox::Information);
        QTest::newRow("save cancelled") << 1079 << ""
                                        << "" << 0;
        QTest::newRow("save where it can't be") << 1079 << "/nonexistent/dir/p.txt"
                                                << "Open the profile failed!" << int(QMessageBox::Critical);
        QTest::newRow("exec cancelled") << 1080 << ""
                                        << "" << 0;
        // With the port closed nothing is asked: the window says there is no port.
        QTest::newRow("exec with the port closed") << 1080 << "<tmp>"
                                                   << "" << 0;
    }
    void profileCommands()
    {
        QFETCH(int, command);
        QFETCH(QString, file);
        QFETCH(QString, message);
        QFETCH(int, icon);
        Window w;
        w.chosenFile = file == "<tmp>" ? w.dir.filePath("profile.txt") : file;
        w.dlg->Guard()->chooser = [](const QString&, const QStringList&) { return 1; };  // include unread pages
        w.dlg->RunCommand(command);
        QCoreApplication::sendPostedEvents();  // messages are shown from the event loop
        if (message.isEmpty()) {
            QVERIFY(w.messages.empty());
            return;
        }
        QCOMPARE(w.messages.size(), std::size_t(1));
        // A failure names its reason after the fixed text.
        QVERIFY2(w.messages[0].text.startsWith(message), qPrintable(w.messages[0].text));
        if (file.startsWith("/nonexistent")) QVERIFY(w.messages[0].text.contains("No such file or directory"));
        QCOMPARE(int(w.messages[0].icon), icon);
        if (command == 1079 && icon == QMessageBox::Information) {
            QFile f(w.chosenFile);
            QVERIFY(f.open(QIODevice::ReadOnly));
            QCOMPARE(f.readAll().toStdString(), w.dlg->Session().ProfileText());
        }
    }

    // With the port closed no line leaves: the run stops at once (nobody is asked about a
    // silent unit), nothing is committed and no line counts as sent.
    void execStopsWhenThePortTakesNothing()
    {
        Window w;
        QStringList questions;
        w.dlg->questionSink = [&](const QString& text) {
            questions << text;
            return true;
        };
        w.chosenFile = w.dir.filePath("profile.txt");
        QFile f(w.chosenFile);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("%CS1+491\r%CS2+492\r%CS3+493\r%CS4+494\r%CS5+495\r");
        f.close();
        w.dlg->Session().ExecProfile(w.chosenFile.toStdString());
        w.dlg->Driver()->Pump();
        for (int i = 0; i < 5; ++i) QCoreApplication::sendPostedEvents();
        QCOMPARE(questions.size(), 0);
        QCOMPARE(w.messages.size(), std::size_t(1));
        QCOMPARE(w.messages[0].text, QString("The profile was stopped: the port went away. 5 command line(s) were not "
                                             "sent; nothing was committed."));
        QVERIFY(!w.dlg->Session().ProfileRunning());
        QCOMPARE(w.dlg->Session().ExecRecords().size(), std::size_t(0));
    }

    void simulatorThatCannotStartIsReported()
    {
        CSimProcess sim;
        QSignalSpy failed(&sim, &CSimProcess::failed);
        sim.Start("/nonexistent/rtusim");
        QTRY_COMPARE_WITH_TIMEOUT(failed.count(), 1, kSimWaitMs);
    }

    // One session with the simulated unit: reload, a page's save, screenshot.
    void sessionWithSimulatedUnit()
    {
        QTemporaryDir dir;
        const QString trace = dir.filePath("trace.txt");
        CSimProcess sim;
        QSignalSpy ready(&sim, &CSimProcess::ptyReady);
        sim.Start(QStringLiteral(RTUSIM_PATH), {"--trace", trace});
        QTRY_COMPARE_WITH_TIMEOUT(ready.count(), 1, kSimWaitMs);

        Window w(QStringLiteral(RTU_BUILT_CATALOG));
        w.dlg->resize(1366, 768);
        w.dlg->show();
        w.dlg->StartUp(sim.PtyPath());
        QVERIFY(w.dlg->Port().IsPortOpen());
        QTRY_VERIFY_WITH_TIMEOUT(w.dlg->ConnIconOpen(), kSimWaitMs);
        // The shipped catalog words the end of the reload.
        QTRY_COMPARE_WITH_TIMEOUT(w.dlg->StatusText(),
                                  QString::fromStdString(w.catalog.GetText("Messages", "RELOAD_OK")), kSimWaitMs);

        // The unit's values are on the first page.
        CPageView* phones = w.dlg->PageView(1);
        if (!phones) QSKIP("the control phones page is not built yet");
        auto* table = phones->findChild<QTableWidget*>("ctl4001");
        const QString cs0 = ImageValue("$CS0");
        QVERIFY(!cs0.isEmpty());
        QTRY_VERIFY_WITH_TIMEOUT(table->item(0, 1) && table->item(0, 1)->text() == cs0, kSimWaitMs);

        const QString shot = QStringLiteral(SHELL_TEST_OUTPUT_DIR "/rtuconfig-main-window.png");
        QFile::remove(shot);
        QVERIFY(w.dlg->grab().save(shot));
        QVERIFY(QFile::exists(shot));

        // A page's save: its lines in order between the start and commit commands, with the
        // buttons locked meanwhile and back afterwards.
        CPageView* main = w.dlg->PageView(3);
        if (!main) QSKIP("the main parameters page is not built yet");
        w.dlg->ShowPage(3);
        auto* save = qobject_cast<QPushButton*>(main->Control(ctl::kSave));
        QVERIFY(save && save->isEnabled());
        CProfileWriter profile;
        main->Page().SaveParams(true, &profile);
        const QStringList expected =
            QStringList{"%STARTCMD"} + ProfileLines(profile.Written()) + QStringList{"%COMMITCMD"};
        QVERIFY(expected.size() > 2);
        const qsizetype before = ReceivedLines(trace).size();
        EnableLog log;
        save->installEventFilter(&log);
        QTest::mouseClick(save, Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(ReceivedLines(trace).mid(before).contains("%COMMITCMD"), kSimWaitMs);
        const QStringList sent = ReceivedLines(trace).mid(before);
        const qsizetype start = sent.indexOf("%STARTCMD");
        QVERIFY(start >= 0);
        QCOMPARE(sent.mid(start, expected.size()), expected);
        QTRY_VERIFY_WITH_TIMEOUT(!log.states.empty() && !log.states.front() && save->isEnabled(), kSimWaitMs);
        save->removeEventFilter(&log);
        // The save says so in the status line once its lines are answered.
        QTRY_VERIFY_WITH_TIMEOUT(w.dlg->StatusText().startsWith("Saved \""), kSimWaitMs);

        // A profile's outcome is told once the reload after it has finished, with its counts.
        w.chosenFile = dir.filePath("profile.txt");
        QFile profileFile(w.chosenFile);
        QVERIFY(profileFile.open(QIODevice::WriteOnly));
        profileFile.write("%CS9+4912345\r\n");
        profileFile.close();
        bool busyWhenTold = true;
        connect(w.dlg.get(), &CVarnelDlg::messageShown, this, [&] { busyWhenTold = w.dlg->Session().Busy(); });
        const std::size_t told = w.messages.size();
        w.dlg->RunCommand(1080);
        // A run reads the unit first (preview and backup), then sends, then reads it again.
        QTRY_VERIFY_WITH_TIMEOUT(w.messages.size() > told, 4 * kSimWaitMs);
        QVERIFY2(w.messages.back().text.startsWith(CSession::kExecProfileOk), qPrintable(w.messages.back().text));
        QVERIFY(w.messages.back().text.contains("0 answered \"CMD ERR\", 0 not answered"));
        QVERIFY(!busyWhenTold);
        QVERIFY(w.dlg->Session().Page("CPageServer")->Loaded());
        QVERIFY(w.dlg->grab().save(QStringLiteral(SHELL_TEST_OUTPUT_DIR "/rtuconfig-main-params.png")));
        w.dlg->close();
    }
};

QTEST_MAIN(TestMainWindow)
#include "test_main_window.moc"
