// The sensor pages on screen (offscreen): the record pages with 150 records (list, counter,
// CSV log and export, chart), and the generated views of the settings pages.
#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeAxis>
#include <QLabel>
#include <QLineEdit>
#include <QLineSeries>
#include <QPushButton>
#include <QScatterSeries>
#include <QSignalSpy>
#include <QTableView>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QValueAxis>

#include <sys/resource.h>
#include <unistd.h>

#include <csignal>

#include <filesystem>
#include <fstream>

#include "pages/sensor/PageExtTemp.h"
#include "session/Session.h"
#include "shell/PageView.h"
#include "shell/RegSetting.h"
#include "shell/RowEditorDlg.h"
#include "shell/SessionDriver.h"
#include "shell/SimProcess.h"
#include "shell/VarnelDlg.h"
#include "shell/sensor/TempChartView.h"
#include "shell/sensor/TempRecordView.h"

using namespace rtu;
namespace fs = std::filesystem;

namespace {

constexpr int kRecords = 150;
constexpr int kSimWaitMs = 60000;  // generous bound for the simulator and the unit's answers

// Record i: sensor 0 at 20.xx, sensor 1 every fifth in alarm, sensor 2 disconnected.
std::string RecordLine(int i, const char* type)
{
    char line[128];
    std::snprintf(line, sizeof line, "$TREC%04XET%s20261208%06d03%c%d.%02d,%c%d.50,20.00,", i & 0xFFFF, type, i, '0',
                  20 + i % 10, i % 100, i % 5 == 0 ? '1' : '0', 30 + i % 7);
    return line;
}

// The computer time of the i-th real-time row a test lists (one second apart).
std::string RowTime(int i)
{
    char text[32];
    std::snprintf(text, sizeof text, "2026/12/08 10:%02d:%02d", i / 60, i % 60);
    return text;
}
QDateTime RowDateTime(int i) { return QDateTime(QDate(2026, 12, 8), QTime(10, i / 60, i % 60)); }
double RowMs(int i) { return static_cast<double>(RowDateTime(i).toMSecsSinceEpoch()); }

std::string ReadAll(const fs::path& p)
{
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

struct Rig {
    Rig()
        : session(
              [this](std::string_view b) {
                  wire += b;
                  return true;
              },
              [this] { return now; }, nullptr),
          driver(session, [this] { return now; })
    {
        dir = fs::temp_directory_path() / ("rtu_sensor_views_" + std::to_string(::getpid()));
        fs::create_directories(dir);
    }
    ~Rig() { fs::remove_all(dir); }
    void Feed(const char* type)
    {
        std::string bytes;
        for (int i = 0; i < kRecords; ++i) bytes += RecordLine(i, type) + "\r\n";
        session.HandleReceive(bytes);
    }
    void AckAll()
    {
        for (int guard = 0; guard < 200 && !session.SenderIdle(); ++guard) session.HandleReceive("CMD OK\r\n");
    }

    Millis now = 0;
    std::string wire;
    CSession session;
    CSessionDriver driver;
    fs::path dir;
};

}  // namespace

class TestSensorViews : public QObject {
    Q_OBJECT
private slots:
    void realTimeRecordsFillListLogAndChart()
    {
        Rig rig;
        auto& page = dynamic_cast<CTempRecordPage&>(*rig.session.Page(PageId::ExTmpRcd));
        const fs::path log = rig.dir / "data" / "ex temp.csv";
        CTempRecordView view(rig.driver, page, true, log.string());
        int second = 0;
        page.SetClock([&] { return RowTime(second++); });
        rig.Feed("33");
        view.Sync();
        QCOMPARE(view.Table()->model()->rowCount(), kRecords);
        QCOMPARE(view.Table()->model()->index(0, 2).data().toString(), QStringLiteral("29.49"));  // newest first
        QCOMPARE(view.Table()->model()->index(0, 3).data().toString(), QStringLiteral("0"));
        QCOMPARE(view.Table()->model()->index(kRecords - 1, 4).data().toString(), QStringLiteral("30.50"));
        QVERIFY(!view.Table()->model()->index(kRecords - 1, 0).data(Qt::DecorationRole).isNull());  // alarm
        QVERIFY(view.Table()->model()->index(1, 0).data(Qt::DecorationRole).isNull());
        QCOMPARE(view.Counter()->text(), QStringLiteral("150 Rcd; Alarm 30"));
        QVERIFY(view.Counter()->isHidden());

        // One CSV line per record, flushed as it came.
        const std::string csv = ReadAll(log);
        QCOMPARE(std::count(csv.begin(), csv.end(), '\n'), static_cast<long>(kRecords));
        const std::string first = csv.substr(0, csv.find('\n') + 1);
        const std::string tail = ",NORMAL,20.00,ALARM,30.50,Disconnect,0.00,UA,,\r\n";
        QVERIFY2(first.size() > tail.size() && first.substr(first.size() - tail.size()) == tail, first.c_str());

        // Sensor 1's chart: the newest 100 values, oldest first.
        view.SensorBox()->setCurrentIndex(1);
        CTempChartView* chart = view.Chart();
        QCOMPARE(chart->chart()->title(), QStringLiteral("Realtime Records T1"));
        QCOMPARE(chart->Points()->count(), 100);
        QCOMPARE(chart->Line()->count(), 100);
        QCOMPARE(chart->Points()->at(0), QPointF(RowMs(50), 30 + 50 % 7 + 0.5));
        QCOMPARE(chart->Line()->at(0), QPointF(RowMs(50), 30 + 50 % 7));
        QCOMPARE(chart->Points()->markerSize(), CTempChartView::kPointSize);
        QCOMPARE(chart->AxisY()->min(), 13.0);
        QCOMPARE(chart->AxisY()->max(), 36.5 * 1.2 + 2);
        QCOMPARE(chart->AxisX()->format(), QStringLiteral("HH:mm:ss"));
        QCOMPARE(chart->AxisX()->min(), RowDateTime(120));  // the newest 30 until auto fit is checked
        QCOMPARE(chart->AxisX()->max(), RowDateTime(149));
        view.AutoFitBox()->setChecked(true);
        QCOMPARE(chart->AxisX()->min(), RowDateTime(50));
        QCOMPARE(chart->AxisX()->max(), RowDateTime(149));
        view.AutoFitBox()->setChecked(false);
        QCOMPARE(chart->AxisX()->min(), RowDateTime(120));
        // Sensor 2 is disconnected in every record (sent as 0.00): nothing to draw, not zeros.
        view.SensorBox()->setCurrentIndex(2);
        QCOMPARE(chart->Points()->count(), 0);
        QVERIFY(chart->Lines().isEmpty());
        view.SensorBox()->setCurrentIndex(1);
        page.SetClock({});
        QVERIFY(view.grab().save(QStringLiteral(SHELL_TEST_OUTPUT_DIR "/rtuconfig-temp-records.png")));

        // Deleting the log asks first, then starts an empty file.
        bool asked = false;
        view.askYesNo = [&](const QString&) { return asked = true; };
        view.findChild<QPushButton*>("ctl1105")->click();
        QVERIFY(asked);
        QCOMPARE(ReadAll(log), std::string());
        rig.session.HandleReceive(RecordLine(1, "33") + "\r\n");
        const std::string again = ReadAll(log);
        QCOMPARE(std::count(again.begin(), again.end(), ','), 9L);

        view.findChild<QPushButton*>("ctl1106")->click();
        QCOMPARE(view.Table()->model()->rowCount(), 0);
    }

    // Records arriving one by one reach the chart without a redraw click, on a clock-time
    // axis; a sensor disconnected for a while breaks the line instead of dropping to 0.
    void chartFollowsRecordsAsTheyArrive()
    {
        Rig rig;
        auto& page = dynamic_cast<CTempRecordPage&>(*rig.session.Page(PageId::ExTmpRcd));
        CTempRecordView view(rig.driver, page, true, (rig.dir / "ex temp.csv").string());
        int second = 0;
        page.SetClock([&] { return RowTime(second++); });
        CTempChartView* chart = view.Chart();
        auto feed = [&](int from, int to, bool disconnected) {
            for (int i = from; i < to; ++i) {
                std::string line = RecordLine(i, "33");
                if (disconnected) line.replace(29, 7, "20.00,");  // sensor 0 disconnected
                rig.session.HandleReceive(line + "\r\n");
            }
        };
        feed(0, 3, false);
        QTRY_COMPARE(chart->Points()->count(), 3);
        // Clock time on the axis: its labels read as the records' times of day.
        QCOMPARE(chart->AxisX()->format(), QStringLiteral("HH:mm:ss"));
        QCOMPARE(chart->AxisX()->min().toString(chart->AxisX()->format()), QStringLiteral("10:00:00"));
        QCOMPARE(chart->AxisX()->min(), RowDateTime(0));
        QCOMPARE(chart->AxisX()->max(), RowDateTime(2));
        QCOMPARE(chart->Lines().size(), 1);
        feed(3, 5, true);
        feed(5, 8, false);
        QTRY_COMPARE(chart->Points()->count(), 6);
        QCOMPARE(chart->Lines().size(), 2);  // the gap of records 3 and 4
        QCOMPARE(chart->Lines()[1]->at(0).x(), RowMs(5));
        QCOMPARE(chart->AxisX()->max(), RowDateTime(7));
        for (const QPointF& p : chart->Points()->points()) QVERIFY(p.y() >= 20.0);
        QCOMPARE(chart->chart()->title(), QStringLiteral("Realtime Records T0"));
        page.SetClock({});
    }

    // A log file that stops taking lines (here: the file size limit) is said in the window
    // once, while the records go on being listed.
    void failedLogWriteIsSaidInTheWindow()
    {
        Rig rig;
        auto& page = dynamic_cast<CTempRecordPage&>(*rig.session.Page(PageId::ExTmpRcd));
        const fs::path log = rig.dir / "ex temp.csv";
        CTempRecordView view(rig.driver, page, true, log.string());
        std::vector<QString> said;
        QObject::connect(&rig.driver, &CSessionDriver::messageRequested, &view, [&](int icon, const QString& text) {
            if (icon == static_cast<int>(MessageIcon::Error)) said.push_back(text);
        });
        rig.session.HandleReceive(RecordLine(1, "33") + "\r\n");
        view.Sync();
        QVERIFY(said.empty());

        const auto written = static_cast<rlim_t>(fs::file_size(log));
        rlimit saved{};
        ::getrlimit(RLIMIT_FSIZE, &saved);
        auto* const oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = saved;
        limit.rlim_cur = written;
        ::setrlimit(RLIMIT_FSIZE, &limit);
        rig.session.HandleReceive(RecordLine(2, "33") + "\r\n" + RecordLine(3, "33") + "\r\n");
        ::setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, oldHandler);
        view.Sync();
        view.Sync();
        QCOMPARE(said.size(), std::size_t{1});
        QVERIFY2(said[0].contains(QString::fromStdString(log.string())), qPrintable(said[0]));
        QCOMPARE(view.Table()->model()->rowCount(), 3);
    }

    void logSyncListsCountsAndExports()
    {
        Rig rig;
        auto& page = dynamic_cast<CTempRecordPage&>(*rig.session.Page(PageId::ExtTmpLog));
        CTempRecordView view(rig.driver, page, false, "");
        view.findChild<QPushButton*>("ctl1108")->click();
        QCOMPARE(rig.wire, std::string("%ETEMPPORT1000\r"));
        rig.Feed("83");
        view.Sync();
        QCOMPARE(view.Table()->model()->rowCount(), kRecords);
        QCOMPARE(view.Table()->model()->index(0, 0).data().toString(), QStringLiteral("2026-12-08 00:01:49"));
        QCOMPARE(view.Counter()->text(), QStringLiteral("150 Rcd; Alarm 30"));
        QVERIFY(!view.Counter()->isHidden());
        // Once the unit took the request and the records stopped, the window says the sync ended.
        std::vector<QString> said;
        QObject::connect(&rig.driver, &CSessionDriver::messageRequested, &view,
                         [&](int, const QString& text) { said.push_back(text); });
        rig.AckAll();
        QTRY_COMPARE(said.size(), std::size_t{1});
        QCOMPARE(said[0], QStringLiteral("Log sync finished: 150 records received."));

        std::vector<QUrl> opened;
        view.openUrl = [&](const QUrl& url) { opened.push_back(url); };
        view.chooseExportPath = [&] { return QString::fromStdString((rig.dir / "export").string()); };
        view.findChild<QPushButton*>("ctl1109")->click();
        QCOMPARE(opened.size(), std::size_t{1});
        QCOMPARE(opened[0].toLocalFile(), QString::fromStdString((rig.dir / "export.csv").string()));
        const std::string csv = ReadAll(rig.dir / "export.csv");
        QCOMPARE(std::count(csv.begin(), csv.end(), '\n'), static_cast<long>(kRecords));
        QCOMPARE(csv.substr(0, csv.find('\n') + 1),
                 std::string("20261208000149,NORMAL,29.49,NORMAL,32.50,Disconnect,0.00,UA,,\r\n"));

        QString error;
        view.showError = [&](const QString& text) { error = text; };
        view.chooseExportPath = [&] { return QString::fromStdString((rig.dir / "missing" / "x.csv").string()); };
        view.findChild<QPushButton*>("ctl1109")->click();
        QCOMPARE(error, QStringLiteral("Open/Create the log file failed!"));
        QCOMPARE(opened.size(), std::size_t{1});
    }

    // A sync of 100,000 records: each batch is inserted at the top of the one list model (no
    // widget per row, the list is not rebuilt), newest first, every record counted.
    void logSyncListTakes100000Rows()
    {
        constexpr int kRows = 100000;
        constexpr int kBatch = 5000;  // records between two looks of the view
        Rig rig;
        auto& page = dynamic_cast<CTempRecordPage&>(*rig.session.Page(PageId::ExtTmpLog));
        CTempRecordView view(rig.driver, page, false, "");
        const auto widgets = view.findChildren<QWidget*>().size();
        QAbstractItemModel* model = view.Table()->model();
        QSignalSpy resets(model, &QAbstractItemModel::modelReset);
        QSignalSpy inserts(model, &QAbstractItemModel::rowsInserted);
        for (int from = 0; from < kRows; from += kBatch) {
            std::string bytes;
            for (int i = from; i < from + kBatch; ++i) bytes += RecordLine(i, "83") + "\r\n";
            rig.session.HandleReceive(bytes);
            view.Sync();
        }
        QCOMPARE(model->rowCount(), kRows);
        QCOMPARE(resets.count(), 0);
        QCOMPARE(inserts.count(), kRows / kBatch);
        QCOMPARE(inserts.last().at(1).toInt(), 0);  // at the top
        QCOMPARE(inserts.last().at(2).toInt(), kBatch - 1);
        for (const int row : {0, kBatch, kRows - 1}) {
            const int record = kRows - 1 - row;
            QCOMPARE(model->index(row, 2).data().toString(),
                     QStringLiteral("%1.%2").arg(20 + record % 10).arg(record % 100, 2, 10, QLatin1Char('0')));
        }
        QCOMPARE(view.Counter()->text(), QStringLiteral("100000 Rcd; Alarm 20000"));
        QCOMPARE(view.findChildren<QWidget*>().size(), widgets);

        // A new sync empties the list first.
        view.findChild<QPushButton*>("ctl1108")->click();
        QCOMPARE(model->rowCount(), 0);
        QCOMPARE(resets.count(), 1);
    }

    // The window's log sync against the simulated unit, which acknowledges the request before
    // it sends 2,500 stored records: every record is listed, and the window says the sync ended
    // with all of them.
    void logSyncInTheWindowKeepsEveryRecord()
    {
        CSimProcess sim;
        QSignalSpy ready(&sim, &CSimProcess::ptyReady);
        sim.Start(QStringLiteral(RTUSIM_PATH),
                  {"--baud", "115200", "--latency-ms", "0", "--stored-records", "2500", "--log-ack-first"});
        QVERIFY(ready.wait(kSimWaitMs));
        QTemporaryDir dir;
        CRegSetting reg(dir.filePath("settings.ini"));
        CTextCatalog catalog;
        CVarnelDlg dlg(reg, catalog);
        std::vector<QString> said;
        dlg.messageSink = [&](QMessageBox::Icon, const QString& text) { said.push_back(text); };
        dlg.show();
        dlg.StartUp(sim.PtyPath());
        QTRY_VERIFY_WITH_TIMEOUT(dlg.StatusText().contains(QStringLiteral("connected")), kSimWaitMs);  // read in full
        const int nav = NavIdOf(PageId::ExtTmpLog);
        dlg.ShowPage(nav);
        auto* view = dlg.PageWidget(nav)->findChild<CTempRecordView*>();
        if (!view) view = qobject_cast<CTempRecordView*>(dlg.PageWidget(nav));
        QVERIFY(view);
        said.clear();
        view->findChild<QPushButton*>("ctl1108")->click();
        QTRY_VERIFY_WITH_TIMEOUT(
            std::count(said.begin(), said.end(), QStringLiteral("Log sync finished: 2500 records received.")) == 1,
            kSimWaitMs);
        QCOMPARE(view->Table()->model()->rowCount(), 2500);
    }

    // Each settings page shows the unit's values and saves them back.
    void settingsPagesShowAndSave()
    {
        struct Case {
            PageId page;
            const char* reports;
            int id;
            QString shown;
            std::string saved;
        };
        const Case cases[] = {
            {PageId::Buzzer, "$IBUZ 1\r\n$BUZZERT 15\r\n", 1002, "15",
             "%STARTCMD\r%BUZEN1\r%BUZT15\r%COMMITCMD\r%DUMP_SYS\r"},
            {PageId::Battery, "$POWDLY 30\r\n$BATEN 1\r\n$POWLS 120\r\n", 1005, "120",
             "%STARTCMD\r%POWDLY30\r%BATEN1\r%POWLS120\r%COMMITCMD\r%DUMP_GPIO\r"},
            {PageId::GSensor, "$GSENSORVCH 2\r\n$GSENSORMIN 10\r\n$GSENSORSTEP 3\r\n", 1004, "10",
             "%STARTCMD\r%GSENSORVCH2\r%GSENSORVPC0\r%GSENSORDVR0\r%GSENSORMIN10\r%GSENSORSTEP3\r%COMMITCMD\r"
             "%DUMP_GSENSOR\r"},
            {PageId::Humidity, "$HUMH 80\r\n$HUMIH 1\r\n*HUMIDITY 44\r\n", 1004, "44",
             "%STARTCMD\r%HUMB\r%HUMH80\r%HUML\r%HUMAS\r%HUMRS\r%HUMDLY\r%HUMOS\r%HUMEN0\r%HUMSND0\r%HUMURG0\r%HUMUPS\r"
             "%HUMIH1\r%COMMITCMD\r%DUMP_HUM\r"},
            {PageId::ExtTemp, "$EXTEMPUT 60\r\n$EXTEMPUS 08:00\r\n", 1005, "08:00",
             "%STARTCMD\r%ETEMPUT60\r%ETEMPGT\r%ETEMPSTEP\r%ETEMPSS\r%ETEMPUPS08:00\r%ETEMPUPE\r%COMMITCMD\r"},
        };
        for (const Case& c : cases) {
            Rig rig;
            CPageBase& page = *rig.session.Page(c.page);
            CPageView view(page, CPageView::SessionActions(rig.session, page.ClassName()));
            rig.session.HandleReceive(c.reports);
            page.SetLoaded(true);
            view.Refresh();
            auto* edit = qobject_cast<QLineEdit*>(view.Control(c.id));
            QVERIFY2(edit, page.ClassName());
            QCOMPARE(edit->text(), c.shown);
            qobject_cast<QPushButton*>(view.Control(ctl::kSave))->click();
            rig.AckAll();
            QCOMPARE(rig.wire, c.saved);
        }
    }

    // The sensor setup dialog opens on a double click and writes that sensor.
    void sensorSetupDialog()
    {
        Rig rig;
        CPageBase& page = *rig.session.Page(PageId::ExtTemp);
        CPageView view(page, CPageView::SessionActions(rig.session, page.ClassName()));
        rig.session.HandleReceive("$ETEMP1 23.25,28,18,-1,2,10,60,30,1,0,1\r\n");
        page.SetLoaded(true);
        view.Refresh();
        QString title;
        view.runDialog = [&](QDialog& dlg) {
            title = dlg.windowTitle();
            dlg.findChild<QCheckBox*>("ctl1110")->setChecked(true);
            auto* high = dlg.findChild<QLineEdit*>("ctl1102");
            high->setText("35");
            return int(QDialog::Accepted);
        };
        auto* table = qobject_cast<QTableWidget*>(view.Control(CPageExtTemp::kList));
        QVERIFY(table);
        QCOMPARE(table->item(1, 1)->text(), QStringLiteral("23.25"));
        emit table->cellDoubleClicked(1, 0);
        rig.AckAll();
        QCOMPARE(title, QStringLiteral("1# "));
        QCOMPARE(rig.wire, std::string("%STARTCMD\r%ETEMPH1=35\r%ETEMPL1=18\r%ETEMPB1=-1\r%ETEMPOS1=2\r%ETEMPAS1=10\r"
                                       "%ETEMPRS1=60\r%ETEMPDLY1=30\r%ETEMPURG1=1\r%ETEMPSND1=1\r%ETEMPEN1=1\r"
                                       "%COMMITCMD\r%DUMP_DS1\r"));
    }
};

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    TestSensorViews test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_sensor_views.moc"
