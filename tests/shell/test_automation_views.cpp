// The automation pages in the generated view: reported values shown with the catalog's
// texts, Save sending the page's lines, and the row dialogs checking and sending theirs.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

#include <string>

#include "pages/automation/PageCio.h"
#include "pages/automation/PageMTimer.h"
#include "pages/automation/PageRfZone.h"
#include "pages/automation/PageUserCmd.h"
#include "pages/framework/TextCatalog.h"
#include "session/Session.h"
#include "shell/PageView.h"
#include "shell/PageWidgets.h"
#include "shell/RowEditorDlg.h"

using namespace rtu;

namespace {

constexpr int kAckGuard = 200;  // acknowledgements given at most while a batch drains

struct Rig {
    Rig()
        : session(
              [this](std::string_view b) {
                  wire += b;
                  return true;
              },
              [] { return Millis{0}; }, &catalog)
    {}
    void Feed(const char* lines) { session.HandleReceive(lines); }
    void Drain()
    {
        for (int guard = 0; guard < kAckGuard && !session.SenderIdle(); ++guard) session.HandleReceive("CMD OK\r\n");
    }
    CTextCatalog catalog = [] {
        CTextCatalog c;
        c.Load(RTU_BUILT_CATALOG);
        return c;
    }();
    std::string wire;
    CSession session;
};

}  // namespace

class TestAutomationViews : public QObject {
    Q_OBJECT

private slots:
    void timersShowReportsAndSave()
    {
        Rig rig;
        CPageBase& page = *rig.session.Page(PageId::MTimer);
        CPageView view(page, CPageView::SessionActions(rig.session, page.ClassName()));
        rig.Feed("$TIMERH3 07\r\n$TIMERM3 30\r\n$TIMERT3 26\r\n");
        page.SetLoaded(true);
        view.Refresh();
        auto* hour = qobject_cast<CTextSpinBox*>(view.Control(CPageMTimer::kClockHour0 + 3));
        QVERIFY(hour);
        QCOMPARE(hour->text(), QStringLiteral("07"));
        QCOMPARE(hour->Maximum(), CPageMTimer::kHourMax);
        auto* action = qobject_cast<QComboBox*>(view.Control(CPageMTimer::kClockAction0 + 3));
        QCOMPARE(action->count(), 45);
        QCOMPARE(action->currentText(), QStringLiteral("GPRS upload"));
        QVERIFY(!view.Control(CPageMTimer::kWeekHour0));  // the hidden weekly group is not shown

        rig.wire.clear();
        qobject_cast<QPushButton*>(view.Control(ctl::kSave))->click();
        rig.Drain();
        QVERIFY(rig.wire.starts_with("%STARTCMD\r%MTIMER0,,-1\r"));
        QVERIFY(rig.wire.find("%MTIMER307,30,26\r%MTIMER4,,-1\r") != std::string::npos);
        QVERIFY(rig.wire.ends_with("%SSPAN3,-1\r%COMMITCMD\r%DUMP_TIMER\r"));
    }

    void interlockSourcesAreNumbered()
    {
        Rig rig;
        CPageBase& page = *rig.session.Page(PageId::Cio);
        CPageView view(page, CPageView::SessionActions(rig.session, page.ClassName()));
        rig.Feed("$OAS3 13\r\n$IOOC 0123N6nx\r\n$INTERLOCKURG 1\r\n");
        view.Refresh();
        auto* source = qobject_cast<QComboBox*>(view.Control(CPageCio::kSource0 + 3));
        QCOMPARE(source->count(), CPageCio::kAlarmSources);
        QCOMPARE(source->currentText(), QStringLiteral("0 External sensor"));
        QCOMPARE(source->itemText(1), QStringLiteral("0 Digital input"));
        QCOMPARE(source->itemText(4), QStringLiteral("3 Digital input"));
        QCOMPARE(qobject_cast<QComboBox*>(view.Control(CPageCio::kClearAction0 + 1))->currentText(),
                 QStringLiteral("No action"));
        QVERIFY(qobject_cast<QCheckBox*>(view.Control(CPageCio::kUrgentDisarm))->isChecked());
        QVERIFY(!view.Control(CPageCio::kSource0 + 4));  // hidden outputs live in the model only
    }

    void wirelessZonesShowWordsAndCheckTheDialog()
    {
        Rig rig;
        CPageBase& page = *rig.session.Page(PageId::RfZone);
        CPageView view(page, CPageView::SessionActions(rig.session, page.ClassName()));
        rig.Feed("$WINEND2 1\r\n$WINSND2 0\r\n$WINLDO2 9\r\n$WINZS2 5\r\n");
        page.SetLoaded(true);
        view.Refresh();
        auto* table = qobject_cast<QTableWidget*>(view.Control(CPageRfZone::kListId));
        QVERIFY(table);
        QCOMPARE(table->rowCount(), CPageRfZone::kZones);
        QCOMPARE(table->item(2, 0)->text(), QStringLiteral("02"));
        QCOMPARE(table->item(2, CPageRfZone::kEnabled)->text(), QStringLiteral("Yes"));
        QCOMPARE(table->item(2, CPageRfZone::kSound)->text(), QStringLiteral("No"));
        QCOMPARE(table->item(2, CPageRfZone::kLink)->text(), QStringLiteral("None"));

        // A bad interval is named at its field and nothing is sent; a good one sends the zone.
        QString problem;
        bool firstTry = true;
        view.runDialog = [&](QDialog& d) {
            auto& dlg = static_cast<CRowEditorDlg&>(d);
            auto* link = qobject_cast<QComboBox*>(dlg.Control(CPageRfZone::kEditorLink));
            if (!link || link->currentIndex() != CPageRfZone::kLinkNone || link->itemText(0) != "Dout0") return 0;
            auto* interval = qobject_cast<CTextSpinBox*>(dlg.Control(CPageRfZone::kEditorInterval));
            interval->SetText(firstTry ? QStringLiteral("7x") : QStringLiteral("10"));
            dlg.accept();
            problem = dlg.Problem();
            firstTry = false;
            return dlg.result();
        };
        rig.wire.clear();
        view.EditRow(CPageRfZone::kListId, 2);
        QVERIFY(!problem.isEmpty());
        QVERIFY(rig.wire.empty());
        view.EditRow(CPageRfZone::kListId, 2);
        QVERIFY(problem.isEmpty());
        rig.Drain();
        QCOMPARE(rig.wire, std::string("%STARTCMD\r%WSON2\r%WSSNDOFF2\r%WINURG2,0\r%WINVPC2,0\r%S03\r%WINZS2,10\r"
                                       "%WSLDO2,4\r%COMMITCMD\r%DUMP_GPIO\r%DUMP_ROMSMS\r"));
    }

    void userCommandDialogRefusesNonAsciiSystemCommands()
    {
        Rig rig;
        CPageBase& page = *rig.session.Page(PageId::UserCmd);
        CPageView view(page, CPageView::SessionActions(rig.session, page.ClassName()));
        rig.Feed("$SYSCMD1 ARM\r\n$USERCMD1 0421043E\r\n");
        page.SetLoaded(true);
        view.Refresh();
        auto* table = qobject_cast<QTableWidget*>(view.Control(CPageUserCmd::kListId));
        QCOMPARE(table->item(1, CPageUserCmd::kUserColumn)->text(), QStringLiteral("Со"));
        QString problem;
        QString system = QStringLiteral("ÄRM");
        view.runDialog = [&](QDialog& d) {
            auto& dlg = static_cast<CRowEditorDlg&>(d);
            qobject_cast<QLineEdit*>(dlg.Control(CPageUserCmd::kEditorSystem))->setText(system);
            dlg.accept();
            problem = dlg.Problem();
            return dlg.result();
        };
        rig.wire.clear();
        view.EditRow(CPageUserCmd::kListId, 1);
        QCOMPARE(problem, QStringLiteral("The system command may hold ASCII characters only."));
        QVERIFY(rig.wire.empty());
        system = QStringLiteral("%DISARM");  // a '%' would start a command of its own: refused
        view.EditRow(CPageUserCmd::kListId, 1);
        QVERIFY(!problem.isEmpty());
        QVERIFY(rig.wire.empty());
        system = QStringLiteral("DISARM");
        view.EditRow(CPageUserCmd::kListId, 1);
        rig.Drain();
        QCOMPARE(rig.wire, std::string("%U010421043E\r%Y01DISARM\r%DUMP_UCMD\r"));
    }
};

QTEST_MAIN(TestAutomationViews)
#include "test_automation_views.moc"
