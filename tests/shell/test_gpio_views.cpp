// The digital I/O and analog pages in their generated views: reported values are shown,
// hidden inputs stay hidden, and Save, the row editors and the calibration dialog send
// exactly their lines.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

#include <string>

#include "pages/gpio/PageAd.h"
#include "pages/gpio/PageAdcExt.h"
#include "pages/gpio/PageCounter.h"
#include "pages/gpio/PageDinCt.h"
#include "pages/gpio/PageDinParams.h"
#include "pages/gpio/PageGpio.h"
#include "session/Session.h"
#include "shell/PageView.h"
#include "shell/RowEditorDlg.h"

using namespace rtu;

namespace {

// A session on a unit that acknowledges by hand, and one page of it in a view.
struct Rig {
    explicit Rig(PageId id)
        : session(
              [this](std::string_view b) {
                  wire += b;
                  return true;
              },
              [this] { return now; }, nullptr),
          page(*session.Page(id)), view(page, CPageView::SessionActions(session, page.ClassName()))
    {
        page.SetLoaded(true);
        view.Refresh();
    }
    void Report(const std::string& lines) { session.HandleReceive(lines); }
    void AckAll()
    {
        for (int guard = 0; guard < 200 && !session.SenderIdle(); ++guard) session.HandleReceive("CMD OK\r\n");
    }
    template <class W> W* Get(int id) { return qobject_cast<W*>(view.Control(id)); }
    QLineEdit* Edit(CRowEditorDlg& d, int id) { return qobject_cast<QLineEdit*>(d.Control(id)); }

    Millis now = 0;
    std::string wire;
    CSession session;
    CPageBase& page;
    CPageView view;
};

}  // namespace

class GpioViewsTest : public QObject {
    Q_OBJECT
private slots:
    void gpioShowsTheUnitsInputsAndSavesThem()
    {
        Rig rig(PageId::GPIO);
        rig.Report("$ITP0 1\r\n$ITP1 2\r\n$ITP2 3\r\n$ITP3 4\r\n$OTP0 1\r\n$OTP1 2\r\n$OTP2 0\r\n$OTP3 4\r\n"
                   "$DINURG2 1\r\n$DINSND1 1\r\n$IOOR 1\r\n$L1DEF 1\r\n$IOHT 180\r\n*IOI:1 1\r\n*IOO:0 0\r\n");
        rig.view.Refresh();
        QCOMPARE(rig.Get<QComboBox>(CPageGpio::kInputType[1])->currentIndex(), 2);
        QVERIFY(rig.Get<QCheckBox>(CPageGpio::kUrgent0 + 2)->isChecked());
        QVERIFY(rig.Get<QComboBox>(CPageGpio::kInputType[3])->isVisibleTo(&rig.view));
        for (int id : {CPageGpio::kInputType[4], CPageGpio::kCounter0, CPageGpio::kOutputType[7]}) {
            QWidget* w = rig.view.Control(id);
            QVERIFY(!w || !w->isVisibleTo(&rig.view));
        }
        auto* status = rig.Get<QTableWidget>(CPageGpio::kStatus);
        QCOMPARE(status->rowCount(), 3);
        QCOMPARE(status->item(0, 0)->text(), QStringLiteral("1 Input: open"));
        QCOMPARE(status->item(2, 0)->text(), QStringLiteral("0 Output: off"));

        emit rig.Get<QComboBox>(CPageGpio::kOutputType[2])->activated(3);
        rig.wire.clear();
        rig.Get<QPushButton>(ctl::kSave)->click();
        rig.AckAll();
        QCOMPARE(rig.wire, std::string("%STARTCMD\r%DINURG0010\r%DINSND0100\r%IOTP12341234\r%IOOR1\r%L1DEF1\r"
                                       "%IOHT180\r%COMMITCMD\r%DUMP_GPIO\r"));
    }

    void delayRowEditorSendsTheRow()
    {
        Rig rig(PageId::DinParams);
        rig.Report("$DINAS1 15\r\n$DINLS1 60\r\n$DINDLY1 2\r\n");
        rig.view.Refresh();
        QCOMPARE(rig.Get<QTableWidget>(CPageDinParams::kList)->item(1, 1)->text(), QStringLiteral("15"));
        QString shown;
        rig.view.runDialog = [&](QDialog& d) {
            auto& dlg = static_cast<CRowEditorDlg&>(d);
            shown = rig.Edit(dlg, CPageDinParams::kEditInterval)->text();
            rig.Edit(dlg, CPageDinParams::kEditInterval)->setText("20");
            rig.Edit(dlg, CPageDinParams::kEditLag)->setText("5,1");
            dlg.accept();
            if (dlg.Problem().isEmpty()) return int(QDialog::Rejected);  // a comma would shift the line: refused
            rig.Edit(dlg, CPageDinParams::kEditLag)->setText("5");
            dlg.accept();
            return dlg.result();
        };
        rig.wire.clear();
        emit rig.Get<QTableWidget>(CPageDinParams::kList)->cellDoubleClicked(1, 1);
        rig.AckAll();
        QCOMPARE(shown, QStringLiteral("15"));
        QCOMPARE(rig.wire, std::string("%STARTCMD\r%IOAS1,20\r%IOLS1,60\r%DINDLY1,5\r%COMMITCMD\r%DUMP_GPIO\r"));
    }

    void counterPagesSaveAndEditTheirRows()
    {
        Rig counter(PageId::Counter);
        counter.Report("$COUNTER_CT0 5\r\n$COUNTER_UN0 2.5\r\n$COUNTER_VA1 77\r\n");
        counter.view.Refresh();
        QCOMPARE(counter.Get<QLineEdit>(CPageCounter::kValue[1])->text(), QStringLiteral("77"));
        counter.wire.clear();
        counter.Get<QPushButton>(ctl::kSave1)->click();
        counter.AckAll();
        QCOMPARE(counter.wire, std::string("%IOCCT0,5\r%IOCCT1,0\r%IOCNAT=0\r%IOCU0,2.50\r%IOCU1,0.00\r%IOCUT0,0\r"
                                           "%IOCUT1,0\r%IOCRPH0,0\r%IOCRPH1,0\r%IOCRPM0,0\r%IOCRPM1,0\r%IOCST0,0\r"
                                           "%IOCST1,0\r%DUMP_COUNTER\r"));

        Rig ct(PageId::DinCt);
        ct.Report("$DINCTMAXV2 500\r\n");
        ct.view.runDialog = [&](QDialog& d) {
            auto& dlg = static_cast<CRowEditorDlg&>(d);
            ct.Edit(dlg, CPageDinCt::kEditPulse)->setText("0.5");
            dlg.accept();
            return dlg.result();
        };
        ct.wire.clear();
        emit ct.Get<QTableWidget>(CPageDinCt::kList)->cellDoubleClicked(2, 1);
        ct.AckAll();
        QCOMPARE(ct.wire, std::string("%DINCUNITV2,0.5\r%DINCUNITM2,500\r%DUMP_GPIO\r"));
    }

    void calibrationRefusesEqualSignalsThenSendsItsLines()
    {
        Rig rig(PageId::AD);
        rig.Report("$ADINRH2 7.5\r\n$ADINRL2 0\r\n$ASCALE2 1.0\r\n");
        rig.view.Refresh();
        QCOMPARE(rig.Get<QLineEdit>(CPageAd::kScale[2])->text(), QStringLiteral("1.0"));
        QString shownHigh, refusal;
        rig.view.runDialog = [&](QDialog& d) {
            auto& dlg = static_cast<CRowEditorDlg&>(d);
            shownHigh = rig.Edit(dlg, CPageAd::kCalActualHigh)->text();
            rig.Edit(dlg, CPageAd::kCalSignalLow)->setText("4");
            rig.Edit(dlg, CPageAd::kCalSignalHigh)->setText("4");
            dlg.accept();
            refusal = dlg.Problem();
            rig.Edit(dlg, CPageAd::kCalSignalHigh)->setText("20");
            rig.Edit(dlg, CPageAd::kCalActualHigh)->setText("100");
            rig.Edit(dlg, CPageAd::kCalActualLow)->setText("0");
            dlg.accept();
            return dlg.result();
        };
        rig.wire.clear();
        rig.Get<QPushButton>(CPageAd::kCalibrate[2])->click();
        rig.AckAll();
        QCOMPARE(shownHigh, QStringLiteral("7.50"));
        QVERIFY(refusal.contains(QStringLiteral("Current/voltage high")));
        QCOMPARE(rig.wire, std::string("%AIN2SC9.9200\r%AIN2ZE25.0000\r%AINTP2,1\r%AIN2RH100\r%AIN2RL0\r"
                                       "%DUMP_ADS\r%DUMPR\r"));
    }

    void extendedRowEditorSendsTheRowAndTheAnalogDump()
    {
        Rig rig(PageId::AdcExt);
        rig.Report("$AINEXT0 50,10,2,80,5,3\r\n$AINOOC0 1,255,0,3\r\n");
        rig.view.Refresh();
        QCOMPARE(rig.Get<QTableWidget>(CPageAdcExt::kList)->item(0, 7)->text(), QStringLiteral("1"));
        QString shown;
        rig.view.runDialog = [&](QDialog& d) {
            auto& dlg = static_cast<CRowEditorDlg&>(d);
            auto* high1 = qobject_cast<QComboBox*>(dlg.Control(CPageAdcExt::kEditorIds[6]));
            shown = high1->currentText();
            high1->setCurrentIndex(CPageAdcExt::kNotUsedItem);
            dlg.accept();
            return dlg.result();
        };
        rig.wire.clear();
        emit rig.Get<QTableWidget>(CPageAdcExt::kList)->cellDoubleClicked(0, 1);
        rig.AckAll();
        QCOMPARE(shown, QStringLiteral("OC 1"));
        QCOMPARE(rig.wire, std::string("%STARTCMD\r%AIN0H50\r%AIN0L10\r%AIN0OS2\r%AIN0HS80\r%AIN0LS5\r%AIN0LAGS3\r"
                                       "%AIN0HOC1255\r%AIN0LOC1255\r%AIN0HOC20\r%AIN0LOC23\r%COMMITCMD\r"
                                       "%DUMP_ADS\r"));
    }
};

QTEST_MAIN(GpioViewsTest)
#include "test_gpio_views.moc"
