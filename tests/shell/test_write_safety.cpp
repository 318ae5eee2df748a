// What keeps the user from damaging a unit by accident, seen in the window: Save and row
// edits only on a page read since the port opened and with the unit free, the top row's
// writing buttons follow the busy state, questions before a restart, the defaults, dropping
// unsaved edits and a profile with unread pages, buttons that write at once and the wheel
// over a drop-down, and the phone editor that replaces the
// number and refuses what is not one.
#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QScrollArea>
#include <QScrollBar>
#include <QWheelEvent>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QSpontaneKeyEvent>
#include <QTest>

#include <memory>
#include <string>

#include "controls/NavBar.h"
#include "pages/basic/PhoneListPage.h"
#include "pages/gpio/PageAd.h"
#include "pages/gpio/PageGpio.h"
#include "pages/sensor/PageTemp.h"
#include "session/CommTestCommands.h"
#include "shell/CommPageView.h"
#include "shell/SafeRun.h"
#include "shell/PageView.h"
#include "shell/RegSetting.h"
#include "shell/RowEditorDlg.h"
#include "shell/SessionDriver.h"
#include "shell/UnitGuard.h"
#include "shell/VarnelDlg.h"

using namespace rtu;

namespace {

constexpr int kServerNav = 1;  // the control phones page
constexpr int kMainNav = 3;    // the main parameters page
constexpr int kGpioNav = 5;    // the input and output types page
constexpr const char* kReportEnd = "$DUMPR END\r\n";

// A session on a fake port with one page's view, driven as the window drives it.
struct PageRig {
    Millis now = 0;
    std::string wire;
    CSession session{[this](std::string_view b) {
                         wire += b;
                         return true;
                     },
                     [this] { return now; }, nullptr};
    CSessionDriver driver{session, [this] { return now; }};
    std::unique_ptr<CPageView> view;
    explicit PageRig(const char* page)
    {
        view = std::make_unique<CPageView>(*session.Page(page), CPageView::SessionActions(session, page));
        QObject::connect(&driver, &CSessionDriver::unitBusyChanged, view.get(), &CPageView::SetUnitBusy);
    }
    void Receive(const std::string& text)
    {
        driver.HandleReceive(text);
        view->Refresh();
    }
    QPushButton* Button(int id) const { return qobject_cast<QPushButton*>(view->Control(id)); }
};

// A main window without a port; questions and messages are taken by the test.
struct Window {
    QTemporaryDir dir;
    CRegSetting reg{dir.filePath("settings.ini")};
    CTextCatalog catalog;
    CVarnelDlg dlg{reg, catalog};
    QStringList questions;
    int answer = 0;  // index of the button the user picks
    QStringList messages;
    Window()
    {
        dlg.Guard()->chooser = [this](const QString& text, const QStringList&) {
            questions << text;
            return answer;
        };
        dlg.messageSink = [this](QMessageBox::Icon, const QString& text) { messages << text; };
    }
    QPushButton* Top(int id) const { return dlg.findChild<QPushButton*>(QStringLiteral("ctl%1").arg(id)); }
    // An open port: a pseudo-terminal nobody answers on.
    void OpenPort()
    {
        master = ::posix_openpt(O_RDWR | O_NOCTTY);
        QVERIFY(master >= 0 && ::grantpt(master) == 0 && ::unlockpt(master) == 0);
        dlg.UsePort(QString::fromLatin1(::ptsname(master)));
        QVERIFY(dlg.Port().IsPortOpen());
    }
    ~Window()
    {
        if (master >= 0) ::close(master);
    }
    int master = -1;
};

}  // namespace

class TestWriteSafety : public QObject {
    Q_OBJECT
private slots:
    // Save needs the page read since the port opened and the unit free; the session refuses a
    // Save that gets through anyway, and nothing reaches the unit.
    void saveFollowsReadStateAndBusy_data()
    {
        QTest::addColumn<QString>("before");  // what happened since the port opened
        QTest::addColumn<bool>("enabled");
        QTest::newRow("nothing read") << "" << false;
        QTest::newRow("reload still running") << "reload" << false;
        QTest::newRow("reload finished") << "reload,end" << true;
        QTest::newRow("port reopened after it") << "reload,end,open" << false;
        QTest::newRow("the page's own reload reported") << "own,report" << true;
        QTest::newRow("its own reload, no report yet") << "own" << false;
    }
    void saveFollowsReadStateAndBusy()
    {
        QFETCH(QString, before);
        QFETCH(bool, enabled);
        PageRig rig("CPageMainParams");
        for (const QString& step : before.split(',', Qt::SkipEmptyParts)) {
            if (step == "reload") rig.session.Reload();
            if (step == "end") rig.Receive(kReportEnd);
            if (step == "open") rig.session.PortOpened();
            if (step == "own") rig.session.ReloadPage("CPageMainParams");
            if (step == "report") rig.Receive("$DID 12345\r\n");
            rig.driver.Pump();
        }
        rig.view->Refresh();
        QCOMPARE(rig.Button(ctl::kSave)->isEnabled(), enabled);
        QVERIFY(rig.Button(ctl::kReload) == nullptr || rig.Button(ctl::kReload)->isEnabled());
        rig.wire.clear();
        QSignalSpy status(&rig.driver, &CSessionDriver::statusText);
        rig.view->RunCommand(ctl::kSave);  // as if the click got through
        rig.driver.Pump();
        QCOMPARE(rig.wire.find("%STARTCMD") != std::string::npos, enabled);
        QCOMPARE(status.isEmpty(), enabled);
    }

    // With no port open the top row's unit buttons are disabled, and their tips say why; with
    // a port the writing buttons follow the unit's busy state and the others stay.
    void topRowFollowsPortAndBusy()
    {
        Window w;
        for (int id : {cmd::kSetup, cmd::kReload, cmd::kRestart, cmd::kDefaults, cmd::kExecProfile}) {
            QVERIFY(!w.Top(id)->isEnabled());
            QVERIFY2(w.Top(id)->toolTip().contains("no serial port is open"), qPrintable(w.Top(id)->toolTip()));
        }
        QVERIFY(w.Top(cmd::kSaveProfile)->isEnabled());  // saves the pages, needs no unit
        w.OpenPort();
        QVERIFY(!w.Top(cmd::kReload)->toolTip().contains("no serial port is open"));
        for (bool busy : {true, false}) {
            emit w.dlg.Driver()->unitBusyChanged(busy);
            for (int id : {cmd::kExecProfile, cmd::kRestart, cmd::kDefaults}) QCOMPARE(w.Top(id)->isEnabled(), !busy);
            QVERIFY(w.Top(cmd::kReload)->isEnabled());
            QVERIFY(w.Top(cmd::kSetup)->isEnabled());
            QVERIFY(w.Top(cmd::kSaveProfile)->isEnabled());
        }
    }

    // A restart and the defaults go only when the user says so, after being told what happens.
    void restartAndDefaultsAskFirst_data()
    {
        QTest::addColumn<int>("command");
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("told");
        QTest::newRow("restart, cancelled") << int(cmd::kRestart) << 1 << "starts again";
        QTest::newRow("restart, confirmed") << int(cmd::kRestart) << 0 << "starts again";
        QTest::newRow("defaults, cancelled") << int(cmd::kDefaults) << 1 << "factory value";
        QTest::newRow("defaults, confirmed") << int(cmd::kDefaults) << 0 << "cannot be undone";
    }
    void restartAndDefaultsAskFirst()
    {
        QFETCH(int, command);
        QFETCH(int, answer);
        QFETCH(QString, told);
        Window w;
        w.answer = answer;
        QSignalSpy sent(w.dlg.Driver(), &CSessionDriver::commandAnswered);  // the port is closed: refused at once
        w.dlg.RunCommand(command);
        QCOMPARE(w.questions.size(), 1);
        QVERIFY2(w.questions[0].contains(told), qPrintable(w.questions[0]));
        QCOMPARE(sent.isEmpty(), answer != 0);
    }

    // What writes to the unit at once asks first, naming what happens, and sends nothing on
    // Cancel: the analog and temperature Reset, the console's Erase, and the console's ATF,
    // which is the window's Defaults (asked, backed up, read again).
    void immediateWritesAskFirst_data()
    {
        QTest::addColumn<QString>("page");
        QTest::addColumn<int>("button");
        QTest::addColumn<bool>("yes");
        QTest::addColumn<QString>("told");  // in the question
        QTest::addColumn<QString>("sent");  // on the wire after a yes
        QTest::newRow("analog reset, cancelled") << "CPageAD" << int(CPageAd::kReset) << false << "analog inputs" << "";
        QTest::newRow("analog reset, confirmed") << "CPageAD" << int(CPageAd::kReset) << true << "analog inputs"
                                                 << "%STARTCMD\r";
        QTest::newRow("temperature reset, cancelled") << "CPageTemp" << int(climate::kClear) << false << "set to 0"
                                                      << "";
        QTest::newRow("temperature reset, confirmed") << "CPageTemp" << int(climate::kClear) << true << "set to 0"
                                                      << "%STARTCMD\r";
        QTest::newRow("console erase, cancelled") << "console" << 1035 << false << "learned" << "";
        QTest::newRow("console erase, confirmed") << "console" << 1035 << true << "learned" << "%EKEY\r";
    }
    void immediateWritesAskFirst()
    {
        QFETCH(QString, page);
        QFETCH(int, button);
        QFETCH(bool, yes);
        QFETCH(QString, told);
        QFETCH(QString, sent);
        QStringList asked;
        auto answer = [&](const QString& question) {
            asked << question;
            return yes;
        };
        const QByteArray pageClass = (page == "console" ? QStringLiteral("CPageMainParams") : page).toLatin1();
        PageRig rig(pageClass.constData());
        std::unique_ptr<CCommPageView> console;
        if (page == "console") {
            CRegSetting reg(QTemporaryDir().filePath("s.ini"));
            console = std::make_unique<CCommPageView>(rig.driver, reg);
            console->confirmWrite = answer;
            console->findChild<QPushButton*>(QStringLiteral("comm_%1").arg(button))->click();
        } else {
            rig.view->confirmWrite = answer;
            rig.view->RunCommand(button);
        }
        rig.driver.Pump();
        QCOMPARE(asked.size(), 1);
        QVERIFY2(asked[0].contains(told), qPrintable(asked[0]));
        if (!yes) QVERIFY2(rig.wire.empty(), rig.wire.c_str());
        else QVERIFY2(rig.wire.starts_with(sent.toStdString()), rig.wire.c_str());  // the first line; more follow
    }

    void atfIsTheWindowsDefaults_data()
    {
        QTest::addColumn<int>("answer");  // 0: restore, 1: cancel
        QTest::newRow("cancelled") << 1;
        QTest::newRow("confirmed") << 0;
    }
    void atfIsTheWindowsDefaults()
    {
        QFETCH(int, answer);
        Window w;
        w.answer = answer;
        w.OpenPort();
        auto* console = qobject_cast<CCommPageView*>(w.dlg.PageWidget(CVarnelDlg::kCommNav));
        QVERIFY(console);
        console->findChild<QPushButton*>(QStringLiteral("comm_%1").arg(comm::id::kAtf))->click();
        QCOMPARE(w.questions.size(), 1);
        QVERIFY2(w.questions[0].contains("factory value"), qPrintable(w.questions[0]));
        // The backup and where it goes are named; no word of saving a profile first.
        QVERIFY2(w.questions[0].contains("backed up to " + QDir::toNativeSeparators(CSafeRun::BackupDir(w.reg))),
                 qPrintable(w.questions[0]));
        QVERIFY(!w.questions[0].contains("save a profile"));
        QTest::qWait(50);  // what was written has reached the other end
        char bytes[256] = {};
        ::fcntl(w.master, F_SETFL, O_NONBLOCK);
        const ssize_t n = ::read(w.master, bytes, sizeof bytes - 1);
        const std::string wire = n > 0 ? std::string(bytes, static_cast<std::size_t>(n)) : std::string();
        // A yes first reads the unit for the backup ("%ATF" waits for that); a cancel sends nothing.
        QCOMPARE(w.dlg.Session().Busy(), answer == 0);
        QVERIFY2(wire.find("%ATF") == std::string::npos, wire.c_str());
        QCOMPARE(wire.empty(), answer != 0);
    }

    // The wheel over a drop-down or spin box without the focus scrolls the page and changes
    // nothing; with the focus it steps the value.
    void wheelEditsOnlyFocusedBoxes()
    {
        Window w;
        w.dlg.resize(900, 500);  // the page scrolls
        w.dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w.dlg));
        w.dlg.ShowPage(kGpioNav);
        QCoreApplication::processEvents();
        CPageView* view = w.dlg.PageView(kGpioNav);
        QVERIFY(view);
        auto* combo = qobject_cast<QComboBox*>(view->Control(CPageGpio::kOutputType[0]));
        auto* scroll = view->findChild<QScrollArea*>();
        QVERIFY(combo && scroll);
        combo->setCurrentIndex(1);
        QScrollBar* bar = scroll->verticalScrollBar();
        QVERIFY(bar->maximum() > 0);
        scroll->ensureWidgetVisible(combo);
        const int before = bar->value();
        auto wheel = [](QWidget* target, int steps) {
            const QPointF at(target->width() / 2.0, target->height() / 2.0);
            QWheelEvent event(at, target->mapToGlobal(at), QPoint(), QPoint(0, 120 * steps), Qt::NoButton,
                              Qt::NoModifier, Qt::NoScrollPhase, false);
            QSpontaneKeyEvent::setSpontaneous(&event);  // as from the mouse: it goes on to the holders
            qApp->notify(target, &event);
        };
        QVERIFY(!combo->hasFocus());
        wheel(combo, before > 0 ? 1 : -1);
        QCOMPARE(combo->currentIndex(), 1);
        QVERIFY(bar->value() != before);  // the page scrolled instead
        QCOMPARE(combo->focusPolicy(), Qt::StrongFocus);
        // Focused, the wheel is the box's own again.
        combo->setFocus();
        QTRY_VERIFY(combo->hasFocus());
        wheel(combo, -1);
        QCOMPARE(combo->currentIndex(), 2);
    }

    // A typed edit marks the page in its view and its navigation item; a reload or closing
    // asks first, and a cancel keeps the edit.
    void unsavedEditsAreMarkedAndAskedAbout_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("kept");
        QTest::newRow("reload, cancelled") << "reload" << 1 << true;
        QTest::newRow("reload, discarded") << "reload" << 0 << false;
        QTest::newRow("the page's reload, cancelled") << "page reload" << 1 << true;
        QTest::newRow("the page's reload, discarded") << "page reload" << 0 << false;
        QTest::newRow("close, cancelled") << "close" << 1 << true;
        QTest::newRow("close, discarded") << "close" << 0 << true;  // the window goes, nothing is reloaded
    }
    void unsavedEditsAreMarkedAndAskedAbout()
    {
        QFETCH(QString, action);
        QFETCH(int, answer);
        QFETCH(bool, kept);
        Window w;
        w.answer = answer;
        if (action == "reload") w.OpenPort();  // with the port closed a reload only says so
        CPageView* page = w.dlg.PageView(kMainNav);
        QVERIFY(page);
        QVERIFY(!w.dlg.NavBar()->ItemMarked(kMainNav));
        auto* edit = page->findChild<QLineEdit*>();
        QVERIFY(edit);
        QTest::keyClicks(edit, "7");
        QVERIFY(page->Edited());
        QVERIFY(page->findChild<QGroupBox*>("ctl1281")->title().endsWith(" *"));
        QVERIFY(w.dlg.NavBar()->ItemMarked(kMainNav));
        QVERIFY(w.questions.isEmpty());

        if (action == "reload") {
            w.dlg.RunCommand(cmd::kReload);
        } else if (action == "page reload") {
            for (const FieldDecl& f : page->Page().Fields())
                if (f.kind == FieldKind::Button && (f.id == ctl::kReload || f.command == ctl::kReload))
                    page->RunCommand(f.id);
        } else {
            w.dlg.show();
            QCOMPARE(w.dlg.close(), answer == 0);
        }
        QCOMPARE(w.questions.size(), 1);
        QVERIFY(w.questions[0].contains(page->Title()));
        QCOMPARE(page->Edited(), kept);
        QTRY_COMPARE(w.dlg.NavBar()->ItemMarked(kMainNav), kept);
    }

    // Saving a profile with pages never read: leave them out, include them, or cancel.
    void profileWithUnreadPages_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("written");
        QTest::addColumn<bool>("withUnread");
        QTest::newRow("leave them out") << 0 << true << false;
        QTest::newRow("include them") << 1 << true << true;
        QTest::newRow("cancel") << 2 << false << false;
    }
    void profileWithUnreadPages()
    {
        QFETCH(int, answer);
        QFETCH(bool, written);
        QFETCH(bool, withUnread);
        Window w;
        w.answer = answer;
        const QString path = w.dir.filePath("profile.txt");
        w.dlg.fileChooser = [&](bool, const QString&) { return path; };
        w.dlg.RunCommand(cmd::kSaveProfile);
        QCoreApplication::sendPostedEvents();
        QCOMPARE(w.questions.size(), 1);
        const auto unread = w.dlg.Session().UnreadProfilePages().size();
        QVERIFY2(w.questions[0].startsWith(QStringLiteral("%1 pages were never read").arg(unread)),
                 qPrintable(w.questions[0]));
        QFile f(path);
        QCOMPARE(f.exists(), written);
        if (!written) return;
        QVERIFY(f.open(QIODevice::ReadOnly));
        const std::string text = f.readAll().toStdString();
        QCOMPARE(text, w.dlg.Session().ProfileText(withUnread));
        QCOMPARE(text.empty(), !withUnread);  // nothing was read: nothing to keep
    }

    // The phone editor opens with the number selected, so typing replaces it; a number that is
    // not one is refused at the field and never sent.
    void phoneEditorReplacesAndChecks_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("line");  // empty: refused at the field
        QTest::newRow("a number") << "+49111"
                                  << "%CS0+49111\r";
        QTest::newRow("digits only") << "0176123"
                                     << "%CS00176123\r";
        QTest::newRow("a space") << "+49 111"
                                 << "";
        QTest::newRow("two plus signs") << "++49"
                                        << "";
        QTest::newRow("letters") << "49abc"
                                 << "";
    }
    void phoneEditorReplacesAndChecks()
    {
        QFETCH(QString, typed);
        QFETCH(QString, line);
        PageRig rig("CPageServer");
        rig.session.Reload();
        rig.Receive(std::string("$CS0 +4917612345670\r\n") + kReportEnd);
        QCOMPARE(rig.session.Page("CPageServer")->CellText(ctl::kList, 0, 1), std::string("+4917612345670"));
        rig.wire.clear();
        QString problem;
        rig.view->runDialog = [&](QDialog& d) {
            auto& dlg = static_cast<CRowEditorDlg&>(d);
            dlg.show();
            auto* edit = qobject_cast<QLineEdit*>(dlg.Control(CPhoneListPage::kEditorNumber));
            edit->setFocus();
            QTest::keyClicks(edit, typed);
            dlg.accept();
            problem = dlg.Problem();
            return dlg.result();
        };
        rig.view->EditRow(ctl::kList, 0);
        rig.driver.Pump();
        QCOMPARE(QString::fromStdString(rig.wire), line);
        QCOMPARE(problem.isEmpty(), !line.isEmpty());
    }
};

QTEST_MAIN(TestWriteSafety)
#include "test_write_safety.moc"
