// Every failure said in the window: values the unit can't take are marked at their control
// and keep a page from being saved, a line the unit refused names its control, a port that
// can't be opened, is closed or goes away is told with its reason and the port picker, and
// the progress window counts in words a user reads.
#include <QAbstractItemView>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <unistd.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "link/SerialPort.h"
#include "pages/basic/PageMainParams.h"
#include "pages/sensor/TempRecordPage.h"
#include "session/Session.h"
#include "shell/FailureNotice.h"
#include "shell/PageView.h"
#include "shell/PageWidgets.h"
#include "shell/ProgressWnd.h"
#include "shell/RegSetting.h"
#include "shell/SimProcess.h"
#include "shell/SupportTools.h"
#include "shell/VarnelDlg.h"

using namespace rtu;
using P = CPageMainParams;

namespace {

constexpr int kSimWaitMs = 60000;  // generous bound for the simulator and the unit's answers

// A main window over a settings file in a temporary folder; messages and file choices are
// taken by the test.
struct Window {
    QTemporaryDir dir;
    CRegSetting reg{dir.filePath("settings.ini")};
    CTextCatalog catalog;
    std::unique_ptr<CVarnelDlg> dlg;
    std::vector<QString> messages;
    int filesAsked = 0;

    Window()
    {
        catalog.Load(RTU_BUILT_CATALOG);
        dlg = std::make_unique<CVarnelDlg>(reg, catalog);
        dlg->messageSink = [this](QMessageBox::Icon, const QString& text) { messages.push_back(text); };
        dlg->fileChooser = [this](bool, const QString&) {
            ++filesAsked;
            return QString();
        };
    }
    QString Notice() const { return dlg->Notice()->Text(); }
};

// A simulated unit on a pty, started and ready.
struct Sim {
    CSimProcess process;
    explicit Sim(const QStringList& args = {})
    {
        QSignalSpy ready(&process, &CSimProcess::ptyReady);
        process.Start(QStringLiteral(RTUSIM_PATH), args);
        ready.wait(kSimWaitMs);
    }
};

QLineEdit* EditOf(QWidget* w)
{
    if (auto* e = qobject_cast<QLineEdit*>(w)) return e;
    return w ? w->findChild<QLineEdit*>() : nullptr;
}

}  // namespace

class TestFailures : public QObject {
    Q_OBJECT
private slots:
    void typedValuesAreCheckedAtTheirControl_data()
    {
        QTest::addColumn<int>("id");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("reason");  // empty: the value is fine and the page saves
        QTest::addColumn<bool>("refused");    // false: a hint only, the page saves
        QTest::newRow("threshold above its range") << P::kSignalLow << "99"
                                                   << "The unit may refuse this: it takes 0 to 36." << false;
        QTest::newRow("threshold with a second line") << P::kSignalLow << "1\n2"
                                                      << "A value may not hold a line break." << true;
        QTest::newRow("threshold at its top") << P::kSignalLow << "36" << "" << false;
        QTest::newRow("country code in letters") << P::kCountryCode << "abc"
                                                 << "The unit may refuse this: it expects the digits 0-9 only."
                                                 << false;
        QTest::newRow("country code in digits") << P::kCountryCode << "86" << "" << false;
    }
    void typedValuesAreCheckedAtTheirControl()
    {
        QFETCH(int, id);
        QFETCH(QString, typed);
        QFETCH(QString, reason);
        QFETCH(bool, refused);
        std::string wire;
        Millis now = 0;
        std::vector<std::string> messages;
        CSession session(
            [&](std::string_view b) {
                wire += b;
                return true;
            },
            [&] { return now; }, nullptr);
        CPageBase& page = *session.Page(PageId::MainParams);
        page.SetLoaded(true);  // as if its reload had finished
        CPageView view(page, CPageView::SessionActions(session, page.ClassName()));
        QLineEdit* edit = EditOf(view.Control(id));
        QVERIFY(edit);
        // Typed where the edit takes it; set like a report where its own filter stops the letters.
        if (!typed.contains(QLatin1Char('\n'))) QTest::keyClicks(edit, typed);  // a line edit takes no line break
        if (edit->text() != typed) {
            page.SetText(id, typed.toStdString());
            view.Refresh();
        }
        QCOMPARE(view.ProblemOf(id), reason);
        QCOMPARE(view.Control(id)->toolTip(), reason);
        QCOMPARE(view.Control(id)->styleSheet().isEmpty(), reason.isEmpty());

        view.RunCommand(ctl::kSave);
        session.DrainEvents([&](const SessionEvent& e) {
            if (const auto* m = std::get_if<ev::Message>(&e)) messages.push_back(m->text);
            if (const auto* r = std::get_if<ev::Refused>(&e)) messages.push_back(r->text);
        });
        if (!refused) {
            QCOMPARE(QString::fromStdString(wire), QStringLiteral("%STARTCMD\r"));
            QVERIFY(messages.empty());
            return;
        }
        QVERIFY(wire.empty());  // nothing of the page went to the unit
        QCOMPARE(messages.size(), std::size_t(1));
        QVERIFY2(QString::fromStdString(messages[0]).contains(reason), messages[0].c_str());

        // Mending the value takes the mark away.
        page.SetText(id, id == P::kSignalLow ? "12" : "49");
        view.Refresh();
        QCOMPARE(view.ProblemOf(id), QString());
        QCOMPARE(view.Control(id)->toolTip(), QString());
    }

    // The unit answers "CMD ERR" to every line: the page's refused line names its control in
    // the window and marks it until the user edits it.
    void aRefusedLineNamesItsControl()
    {
        Sim sim({"--fail", "err"});
        QVERIFY(!sim.process.PtyPath().isEmpty());
        Window w;
        w.dlg->show();
        w.dlg->StartUp(sim.process.PtyPath());
        QVERIFY(w.dlg->Port().IsPortOpen());
        CPageView* main = w.dlg->PageView(3);
        QVERIFY(main);
        w.dlg->ShowPage(3);
        QTRY_VERIFY_WITH_TIMEOUT(!w.dlg->Session().Busy(), kSimWaitMs);  // the refused reload has ended
        main->Page().SetLoaded(true);  // a unit that refuses everything never fills the page
        main->Page().SetText(P::kCountryCode, "86");
        main->RunCommand(ctl::kSave);
        QTRY_VERIFY_WITH_TIMEOUT(w.Notice().contains("\"Country code\""), kSimWaitMs);
        QVERIFY2(w.Notice().contains("%CC86"), qPrintable(w.Notice()));
        QVERIFY(!main->ProblemOf(P::kCountryCode).isEmpty());
        QTest::keyClick(EditOf(main->Control(P::kCountryCode)), Qt::Key_7);
        QCOMPARE(main->ProblemOf(P::kCountryCode), QString());
    }

    void portFailuresAreToldWithTheWayForward_data()
    {
        QTest::addColumn<QString>("port");  // "<sim>": the simulated unit's pty; "<held>": it, held by another
        QTest::addColumn<int>("command");   // then this top-row command (0: none)
        QTest::addColumn<QString>("told");
        QTest::newRow("no such port") << "/nonexistent/ttyUSB9" << 0 << "no such port";
        QTest::newRow("port in use") << "<held>" << 0 << "in use by another program";
        QTest::newRow("reload with no port") << "" << int(cmd::kReload) << "No port is open";
        QTest::newRow("reload after a failed open")
            << "/nonexistent/ttyUSB9" << int(cmd::kReload)
            << "No port is open. Cannot open the port /nonexistent/ttyUSB9: no such port";
        QTest::newRow("run profile with no port") << "" << int(cmd::kExecProfile) << "No port is open";
    }
    void portFailuresAreToldWithTheWayForward()
    {
        QFETCH(QString, port);
        QFETCH(int, command);
        QFETCH(QString, told);
        std::unique_ptr<Sim> sim;
        CSerialPort holder;
        if (port == "<held>") {
            sim = std::make_unique<Sim>();
            port = sim->process.PtyPath();
            holder.SetPortName(port.toStdString());
            QCOMPARE(holder.EnablePort(1), 1);
        }
        Window w;
        w.dlg->show();
        if (!port.isEmpty()) w.dlg->UsePort(port);
        if (command) w.dlg->RunCommand(command);
        QVERIFY2(w.Notice().contains(told), qPrintable(w.Notice()));
        QVERIFY(w.dlg->Notice()->PortOffered());
        QCOMPARE(w.filesAsked, 0);
        QVERIFY(w.messages.empty());
        QVERIFY(w.dlg->Session().SenderIdle());
        // The way forward: the port list opens.
        auto* combo = w.dlg->findChild<QComboBox*>("ctl1000");
        QTest::mouseClick(w.dlg->Notice()->findChild<QPushButton*>("failurePort"), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(combo->view()->isVisible(), kSimWaitMs);
        combo->hidePopup();
    }

    void permissionDeniedGivesTheDialoutHint()
    {
        if (geteuid() == 0) QSKIP("root opens any file");
        QTemporaryDir dir;
        const QString path = dir.filePath("ttyLocked");
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.close();
        QVERIFY(QFile::setPermissions(path, QFileDevice::Permissions{}));
        Window w;
        w.dlg->UsePort(path);
        QVERIFY2(w.Notice().contains("permission denied") && w.Notice().contains("dialout"), qPrintable(w.Notice()));
    }

    void aVanishedPortAndASilentUnitAreTold()
    {
        auto sim = std::make_unique<Sim>();
        Window w;
        w.dlg->show();
        w.dlg->StartUp(sim->process.PtyPath());
        QTRY_COMPARE_WITH_TIMEOUT(w.dlg->StatusText(), QStringLiteral("Reload successful, connected with the PC!"),
                                  kSimWaitMs);
        QCOMPARE(w.Notice(), QString());
        sim.reset();  // the unit goes away with its pty
        QTRY_VERIFY_WITH_TIMEOUT(w.Notice().contains("was disconnected"), kSimWaitMs);
        QCOMPARE(w.dlg->StatusText(), QString::fromLatin1(CSession::kPortLostStatus));
        QVERIFY(w.dlg->Notice()->PortOffered());

        // The session's word that a reload went unanswered reaches the window.
        w.dlg->Notice()->Clear();
        emit w.dlg->Driver()->noAnswer(30, "The unit did not answer the reload within 30 s.");
        QVERIFY(w.Notice().contains("within 30 s"));
        QVERIFY(w.Notice().contains("baud rate"));
        QVERIFY(w.dlg->Notice()->PortOffered());
    }

    // After a line goes unanswered the connection bar says so, until the unit says anything.
    void theBarSaysWhenTheUnitIsNotAnswering()
    {
        Window w;
        CSessionDriver* driver = w.dlg->Driver();
        auto* silent = w.dlg->findChild<QLabel*>("unitSilent");
        QVERIFY(silent && silent->isHidden());
        const struct {
            std::function<void()> happens;
            bool said;
        } steps[] = {
            {[&] { emit driver->commandAnswered("%DUMPS\r", int(AckKind::None), true); }, true},
            {[&] { emit driver->lineReceived("$TREC"); }, false},
            {[&] { emit driver->noAnswer(30, "The unit did not answer the reload within 30 s."); }, true},
            {[&] { emit driver->commandAnswered("%DUMPS\r", int(AckKind::None), false); }, true},  // never left
            {[&] { emit driver->commandAnswered("%DUMPS\r", int(AckKind::Ok), true); }, false},
        };
        for (const auto& step : steps) {
            step.happens();
            QCOMPARE(!silent->isHidden(), step.said);
        }
        QCOMPARE(silent->text(), QStringLiteral("The unit is not answering"));
        QVERIFY(!silent->toolTip().isEmpty());
    }

    // A reload's progress: pages counted up to a full bar, labels a user reads.
    void theProgressWindowCountsInWords()
    {
        Sim sim;
        Window w;
        w.dlg->show();
        QStringList texts;
        int best = 0;
        connect(w.dlg->Driver(), &CSessionDriver::progressChanged, w.dlg.get(), [&] {
            texts << w.dlg->ProgressWindow()->Text();
            best = std::max(best, w.dlg->ProgressWindow()->Bar());
        });
        w.dlg->StartUp(sim.process.PtyPath());
        QTRY_COMPARE_WITH_TIMEOUT(w.dlg->StatusText(), QStringLiteral("Reload successful, connected with the PC!"),
                                  kSimWaitMs);
        QVERIFY(!texts.isEmpty());
        for (const QString& t : texts) QVERIFY2(!t.startsWith('$') && !t.startsWith('%'), qPrintable(t));
        QVERIFY(texts.filter("Reading ").size() > 0);
        QCOMPARE(best, CSysProgress::kBarMax);
    }

    // A reload's progress window closes when the reload ends although records and events go
    // on streaming; they never bring it back.
    void theProgressWindowClosesWhileRecordsStream()
    {
        Sim sim({"--records-ms", "100", "--event-every-ms", "300"});
        Window w;
        w.dlg->show();
        w.dlg->StartUp(sim.process.PtyPath());
        QTRY_COMPARE_WITH_TIMEOUT(w.dlg->StatusText(), QStringLiteral("Reload successful, connected with the PC!"),
                                  kSimWaitMs);
        CSysProgressWnd* progress = w.dlg->ProgressWindow();
        QTRY_VERIFY_WITH_TIMEOUT(!progress->isVisible(), kSimWaitMs);
        const auto& records = dynamic_cast<const CTempRecordPage&>(*w.dlg->Session().Page(PageId::ExTmpRcd));
        const int before = records.Records();
        QTRY_VERIFY_WITH_TIMEOUT(records.Records() >= before + 5, kSimWaitMs);
        QVERIFY(!progress->isVisible());
        QVERIFY(!progress->Wanted());
    }

    // The progress window never covers a dialog: it steps aside while one is open and comes
    // back when it closes, if the work still goes on.
    void theProgressWindowStepsAsideForADialog()
    {
        QWidget owner;
        owner.resize(400, 300);
        owner.show();
        CSysProgressWnd progress(&owner);
        CSysProgress::View view;
        view.visible = true;
        view.text = "Reading the pages";
        progress.Apply(view);
        QVERIFY(progress.isVisible());
        for (bool stillWorking : {true, false}) {
            QMessageBox box(QMessageBox::Information, QString(), QStringLiteral("Sync finished"), QMessageBox::Ok,
                            &owner);
            box.setWindowModality(Qt::ApplicationModal);
            box.show();
            QTRY_VERIFY_WITH_TIMEOUT(!progress.isVisible(), kSimWaitMs);
            progress.Apply(view);  // the work goes on under the dialog
            QVERIFY(!progress.isVisible());
            if (!stillWorking) {
                view.visible = false;
                progress.Apply(view);
            }
            box.hide();
            QTRY_COMPARE_WITH_TIMEOUT(progress.isVisible(), stillWorking, kSimWaitMs);
            QCoreApplication::processEvents();  // nothing brings it back later
            QCOMPARE(progress.isVisible(), stillWorking);
        }
    }

    // The support menu: the trace records both directions of a reload, and the diagnostics
    // archive holds the trace, the pages read and the settings, with every secret masked.
    void supportToolsTraceTheWireAndSaveDiagnostics()
    {
        QTemporaryDir home;
        qputenv("XDG_STATE_HOME", home.filePath("state").toUtf8());
        qputenv("XDG_CONFIG_HOME", home.filePath("config").toUtf8());
        QDir().mkpath(home.filePath("config/rtuconfig"));
        QFile conf(home.filePath("config/rtuconfig/QMX5000COMM.conf"));
        QVERIFY(conf.open(QIODevice::WriteOnly));
        conf.write("[General]\nPASSWORD=sesame\nSVRIP=custom-Secr3t#8\n");
        conf.close();
        // A unit with a distinct secret in each secret field, that asks for the console login.
        QFile image(home.filePath("secret.image"));
        QVERIFY(image.open(QIODevice::WriteOnly));
        image.write("[DUMP_SYS]\n$PINC 7391\n$PUKC 90817263\n"
                    "[DUMP_MMS]\n$MMS_APN mms.example.net\n$MMS_PWD mms-Secr3t#1\n$SMTP_PWD smtp-Secr3t#4\n"
                    "[DUMP_M2M]\n$M2M_APN internet.t-d1.de\n$M2M_PWD gprs-Secr3t#2\n"
                    "[DUMP_HTTP]\n$M2M_HTTP_PWD http-Secr3t#3\n");
        image.close();
        Sim sim({"--image", image.fileName(), "--require-login"});
        Window w;
        w.dlg->show();
        w.dlg->StartUp(sim.process.PtyPath());
        QTRY_COMPARE_WITH_TIMEOUT(w.dlg->StatusText(), QStringLiteral("Reload successful, connected with the PC!"),
                                  kSimWaitMs);
        // The reload after the login must have ended, or the next one is refused as busy.
        QTRY_VERIFY_WITH_TIMEOUT(w.dlg->Session().SenderIdle() && !w.dlg->Session().Busy(), kSimWaitMs);
        CSupportTools* support = w.dlg->Notice()->Support();
        QVERIFY(support && support->Button()->isVisibleTo(w.dlg.get()));
        support->TraceAction()->setChecked(true);
        QVERIFY(support->Trace().IsOpen());
        w.dlg->RunCommand(rtu::cmd::kReload);
        const auto traced = [&] {
            QFile trace(home.filePath("state/rtuconfig/trace.txt"));
            return trace.open(QIODevice::ReadOnly) ? trace.readAll() : QByteArray();
        };
        QTRY_VERIFY_WITH_TIMEOUT(traced().contains(" < $"), kSimWaitMs);  // the unit's reports
        QVERIFY(traced().contains(" > %DUMPS\\r\n"));
        QTRY_VERIFY_WITH_TIMEOUT(w.dlg->Session().SenderIdle() && !w.dlg->Session().Busy(), kSimWaitMs);  // read in full

        const QString archive = home.filePath("d.tar.gz");
        support->fileChooser = [&](const QString&) { return archive; };
        QStringList told;
        support->messageSink = [&](bool, const QString& text) { told << text; };
        support->DiagnosticsAction()->trigger();
        QTRY_COMPARE_WITH_TIMEOUT(told.size(), 1, kSimWaitMs);
        QVERIFY2(told[0].startsWith("Diagnostics saved"), qPrintable(told[0]));
        QProcess tar;
        tar.start("tar", {"-xzf", archive, "-C", home.path()});
        QVERIFY(tar.waitForFinished());
        const QStringList made = QDir(home.path()).entryList({"rtuconfig-diagnostics-*"}, QDir::Dirs);
        QCOMPARE(made.size(), 1);
        const QDir unpacked(home.filePath(made[0]));
        for (const char* name : {"version.txt", "ports.txt", "trace.txt", "profile.txt", "unit.json"})
            QVERIFY2(unpacked.exists(name), name);
        QFile settings(unpacked.filePath("settings.conf"));
        QVERIFY(settings.open(QIODevice::ReadOnly));
        QCOMPARE(settings.readAll(), QByteArray("[General]\nPASSWORD=********\nSVRIP=********\n"));
        QCOMPARE(QFile::permissions(archive), QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser);
        QByteArray all;
        for (const QString& name : unpacked.entryList(QDir::Files)) {
            QFile f(unpacked.filePath(name));
            QVERIFY(f.open(QIODevice::ReadOnly));
            const QByteArray bytes = f.readAll();
            for (const char* secret : {"7391", "90817263", "mms-Secr3t#1", "smtp-Secr3t#4", "gprs-Secr3t#2",
                                       "http-Secr3t#3", "open the gate wide", "custom-Secr3t#8", "sesame"})
                QVERIFY2(!bytes.contains(secret), qPrintable(name + ": " + secret));
            all += bytes;
        }
        for (const char* kept : {"%PIN********", "\"1224\": \"********\"", "mms.example.net", "internet.t-d1.de"})
            QVERIFY2(all.contains(kept), kept);
        qunsetenv("XDG_STATE_HOME");
        qunsetenv("XDG_CONFIG_HOME");
    }
};

QTEST_MAIN(TestFailures)
#include "test_failures.moc"
