// The data network pages on screen: reported values shown (passwords masked), Save and the
// row editors sending their lines.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

#include <memory>
#include <string>
#include <vector>

#include "link/RoutingTable.h"
#include "link/Sequencer.h"
#include "pages/net/Page3GMMS.h"
#include "pages/net/PageGprs.h"
#include "pages/net/PageMbusParams.h"
#include "pages/registry/PageRegistry.h"
#include "shell/PageView.h"
#include "shell/RowEditorDlg.h"

using namespace rtu;

namespace {

// One page of the registry with a view whose actions go to the page itself.
struct Rig : IRouteDirectory {
    Millis now = 0;
    std::vector<std::string> written;
    CSequencer seq{[this](std::string_view b) {
                       written.emplace_back(b);
                       return true;
                   },
                   [this] { return now; }};
    PageContext ctx;
    std::unique_ptr<CPageBase> page;
    std::unique_ptr<CPageView> view;

    explicit Rig(PageId id)
    {
        ctx.sequencer = &seq;
        const PageInfo* info = FindPageInfo(id);
        page = info->make(ctx, *info);
        PageActions a;
        a.command = [this](int c) { page->OnCommand(c); };
        a.commitRow = [this](const RowEdit& e) { page->CommitEditRow(e); };
        view = std::make_unique<CPageView>(*page, a);
    }
    IRouteTarget* FindPage(PageId id) override { return id == page->Id() ? page.get() : nullptr; }
    void Route(std::initializer_list<const char*> lines)
    {
        for (const char* l : lines) RouteLine(l, *this);
        page->SetLoaded(true);
        view->Refresh();
    }
    void AckAll()
    {
        for (int guard = 0; guard < 1000 && seq.Waiting(); ++guard) seq.OnAck(AckKind::Ok);
    }
    template <class W> W* Get(int id) { return qobject_cast<W*>(view->Control(id)); }
};

}  // namespace

class TestNetViews : public QObject {
    Q_OBJECT
private slots:
    void gprsShowsReportsMasksThePasswordAndSaves()
    {
        using P = CPageGPRS;
        Rig rig(PageId::GPRS);
        rig.Route({"$M2M_APN internet", "$M2M_PWD s3cret", "$M2M_EN 1", "$M2MD_SVR1 10.1.1.1", "$M2MD_MODE1 2"});
        QCOMPARE(rig.Get<QLineEdit>(P::kApn)->text(), QStringLiteral("internet"));
        auto* pwd = rig.Get<QLineEdit>(P::kPassword);
        QCOMPARE(pwd->text(), QStringLiteral("s3cret"));
        QVERIFY(pwd->echoMode() != QLineEdit::Normal);
        QVERIFY(rig.Get<QLineEdit>(P::kApn)->echoMode() == QLineEdit::Normal);
        QVERIFY(rig.Get<QCheckBox>(P::kEnabled)->isChecked());
        QVERIFY(!rig.view->Control(P::kTransparent));  // hidden control
        auto* table = rig.Get<QTableWidget>(P::kServers);
        QVERIFY(table);
        QCOMPARE(table->item(1, P::kColAddress)->text(), QStringLiteral("10.1.1.1"));
        QCOMPARE(table->item(1, P::kColProtocol)->text(), QStringLiteral("MODBUS TCP"));
        QCOMPARE(table->item(1, P::kColAddress)->toolTip(), QStringLiteral("10.1.1.1"));  // data tip
        QCOMPARE(table->item(3, 0)->text(), QStringLiteral("Server3"));

        QTest::keyClicks(rig.Get<QLineEdit>(P::kApn), "2");
        QTest::mouseClick(rig.Get<QPushButton>(ctl::kSave0), Qt::LeftButton);
        rig.AckAll();
        QVERIFY(rig.written.size() == 18u);
        QCOMPARE(rig.written[0], std::string("%STARTCMD\r"));
        QCOMPARE(rig.written[2], std::string("%M2MAPNinternet2\r"));
        QCOMPARE(rig.written[4], std::string("%M2MPWDs3cret\r"));
        QCOMPARE(rig.written[16], std::string("%COMMITCMD\r"));
    }

    void gprsServerEditorSendsTheRow()
    {
        using P = CPageGPRS;
        Rig rig(PageId::GPRS);
        rig.Route({"$M2MD_SVR2 a.example", "$M2MD_PT2 80", "$M2MD_PRO2 1", "$M2MD_MODE2 5"});
        rig.view->runDialog = [](QDialog& d) {
            auto& dlg = static_cast<CRowEditorDlg&>(d);
            auto* address = qobject_cast<QLineEdit*>(dlg.Control(P::kEdAddress));
            address->setText("b.example");
            auto* transport = qobject_cast<QComboBox*>(dlg.Control(P::kEdTransport));
            if (transport->currentIndex() != 1) return int(QDialog::Rejected);
            return int(QDialog::Accepted);
        };
        emit rig.Get<QTableWidget>(P::kServers)->cellDoubleClicked(2, 1);
        rig.AckAll();
        QVERIFY(rig.written.size() >= 7u);
        QCOMPARE(rig.written[1], std::string("%M2MDTSIP2=b.example\r"));
        QCOMPARE(rig.written[3], std::string("%M2MDTSPO2=1\r"));
        QCOMPARE(rig.written[4], std::string("%M2MDTSTP2=5\r"));
    }

    void modbusEditorShowsTheMatrixAsBoxes()
    {
        using M = CPageMbusParams;
        Rig rig(PageId::MbusParams);
        rig.Route({"$MDMAS03 1,40001,1,0", "$MDMTX03 00000005", "$MDLKO03 2"});
        QCOMPARE(rig.Get<QTableWidget>(M::kTable)->item(3, M::kColType)->text(), QStringLiteral("Keep Registers"));
        std::vector<bool> bits;
        int interlock = -1;
        bool gainShown = false, stateShown = false, gainShownForCoil = false, stateShownForCoil = false;
        rig.view->runDialog = [&](QDialog& d) {
            auto& dlg = static_cast<CRowEditorDlg&>(d);
            for (int i = 0; i < 4; ++i)
                bits.push_back(qobject_cast<QCheckBox*>(dlg.Control(M::kEdMatrix0 + i))->isChecked());
            interlock = qobject_cast<QComboBox*>(dlg.Control(M::kEdInterlock))->currentIndex();
            gainShown = dlg.Control(M::kEdGain)->isVisibleTo(&dlg);
            stateShown = dlg.Control(M::kEdState)->isVisibleTo(&dlg);
            qobject_cast<QComboBox*>(dlg.Control(M::kEdType))->setCurrentIndex(0);
            gainShownForCoil = dlg.Control(M::kEdGain)->isVisibleTo(&dlg);
            stateShownForCoil = dlg.Control(M::kEdState)->isVisibleTo(&dlg);
            return int(QDialog::Rejected);
        };
        emit rig.Get<QTableWidget>(M::kTable)->cellDoubleClicked(3, 0);
        QCOMPARE(bits, (std::vector<bool>{true, false, true, false}));
        QVERIFY(gainShown && !stateShown);  // a holding register: register settings, no normal state
        QVERIFY(!gainShownForCoil && stateShownForCoil);
        QCOMPARE(interlock, 2);
        QVERIFY(rig.written.empty());  // cancelled: nothing sent
    }

    void mms3gShowsSelectionsAndMasksPasswords()
    {
        using G = CPage3GMMS;
        Rig rig(PageId::Mms3G);
        rig.Route({"$3GS_VFMT 1", "$SMTP_PWD pw", "$3GS_ALARM_MMS 1"});
        QCOMPARE(rig.Get<QComboBox>(G::kVideoFormat)->currentIndex(), 1);
        QVERIFY(rig.Get<QLineEdit>(G::kSmtpPassword)->echoMode() != QLineEdit::Normal);
        QVERIFY(rig.Get<QCheckBox>(G::kAlarmMms)->isChecked());
    }
};

QTEST_MAIN(TestNetViews)
#include "test_net_views.moc"
