// The event list and the MMS page as the user sees them: reported values in the generated
// MMS view, its Save and View, a picture kept and drawn; the event table at 100,000 rows.
#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "pages/events/PageEvents.h"
#include "pages/mms/PageMmsSetup.h"
#include "session/Session.h"
#include "shell/MmsTestWindow.h"
#include "shell/PageView.h"
#include "shell/ViewFactory.h"
#include "shell/events/EventWidgets.h"
#include "shell/events/PictureKeeper.h"

using namespace rtu;

namespace {

std::string ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// The process's resident memory (for the figures the test prints).
long ResidentBytes()
{
    std::ifstream statm("/proc/self/statm");
    long pages = 0, resident = 0;
    statm >> pages >> resident;
    return resident * ::sysconf(_SC_PAGESIZE);
}

struct Rig {
    Millis now = 0;
    std::string wire;
    CSession session{[this](std::string_view b) {
                         wire += b;
                         return true;
                     },
                     [this] { return now; }, nullptr};
    bool pictureOk = false;
    void Drain()
    {
        session.DrainEvents([this](const SessionEvent& e) {
            if (auto* end = std::get_if<ev::TransferEnded>(&e); end && end->job == CSession::kPictureJob)
                pictureOk = end->ok;
        });
    }
};

}  // namespace

class TestEventsViews : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { CViewFactory::Standard(); }  // registers the custom widgets

    void mmsPageShowsReportsSavesAndShowsThePicture()
    {
        Rig rig;
        auto& page = static_cast<CPageMmsSetup&>(*rig.session.Page(PageId::MmsSetup));
        CPageView view(page, CPageView::SessionActions(rig.session, page.ClassName()));
        rig.session.HandleReceive("$MMS_SCUhttp://mmsc\r\n$MMS_SCP80\r\n$MMS_PSZ1\r\n$MMS_PBR3\r\n$MMS_PWB2\r\n"
                                  "$MMS_PMD0\r\n$MMSACC 1\r\n$MMS_PTR45\r\n");
        page.SetLoaded(true);
        view.Refresh();
        QCOMPARE(qobject_cast<QLineEdit*>(view.Control(P::kCentre))->text(), QStringLiteral("http://mmsc"));
        QCOMPARE(qobject_cast<QLineEdit*>(view.Control(P::kTimer))->text(), QStringLiteral("45"));

        rig.wire.clear();
        qobject_cast<QPushButton*>(view.Control(P::kSave))->click();
        for (int guard = 0; guard < 100 && !rig.session.SenderIdle(); ++guard) rig.session.HandleReceive("CMD OK\r\n");
        QVERIFY(rig.wire.starts_with("%STARTCMD\r%MMSChttp://mmsc,80\r%MMSGATE\r"));
        QVERIFY(rig.wire.find("%DSCFMT1,3,2\r%DSCMODE0\r%MMSPC\r%MMST45\r%MMSACC1\r") != std::string::npos);
        QVERIFY(rig.wire.ends_with("%COMMITCMD\r%DUMP_MMS\r"));
        rig.session.HandleReceive("CMD OK\r\n");
        rig.Drain();

        rig.wire.clear();
        qobject_cast<QPushButton*>(view.Control(P::kView))->click();
        QCOMPARE(rig.wire, std::string("%SDSC\r%memr0\r"));
        const std::string jpeg = ReadAll(RTU_SOURCE_DATA_DIR "/sim/camera.jpg");
        QVERIFY(jpeg.size() > 1000);
        rig.session.HandleReceive("CMD OK\r\n$IMAGE_START\r");
        rig.session.HandleReceive("\n" + jpeg.substr(0, 700));
        rig.session.HandleReceive(jpeg.substr(700) + "$IMAGE_END\r\n");
        rig.Drain();
        QVERIFY(rig.pictureOk);

        QTemporaryDir dir;
        QCOMPARE(KeepPicture(rig.session, dir.path().toStdString()), std::string("image saved"));
        const std::string latest = dir.path().toStdString() + "/1.jpg";
        QCOMPARE(ReadAll(latest), jpeg);
        view.Refresh();
        auto* area = qobject_cast<CPictureArea*>(view.Control(P::kPicture));
        QVERIFY(area && area->HasPicture());
        QCOMPARE(area->File(), QString::fromStdString(latest));
        // Aspect ratio kept: a 4:3 picture in a wide area is as high as the area.
        CPictureArea wide;
        wide.SetFile(QString::fromStdString(latest));
        wide.resize(400, 150);
        wide.show();
        QCoreApplication::processEvents();
        QCOMPARE(wide.pixmap().height(), wide.contentsRect().height());
        QCOMPARE(wide.pixmap().width(), wide.contentsRect().height() * 4 / 3);

        view.resize(700, 700);
        QVERIFY(view.grab().save(QStringLiteral(SHELL_TEST_OUTPUT_DIR "/rtuconfig-mms-page.png")));
        // A second picture keeps the first as a copy.
        rig.session.FetchPicture();
        rig.session.HandleReceive("$IMAGE_START\r\n" + jpeg + "$IMAGE_END\r\n");
        rig.Drain();
        QCOMPARE(KeepPicture(rig.session, dir.path().toStdString()), std::string("image saved"));
        int copies = 0;
        for (const auto& entry : std::filesystem::directory_iterator(dir.path().toStdString()))
            copies += entry.path().filename().string().starts_with("picture-");
        QCOMPARE(copies, 2);

        // The MMS test window follows the page's picture; its Stop reaches the page.
        CMmsTestWindow window(rig.session);
        page.NotifyChanged(P::kPicture);
        QVERIFY(window.Picture()->HasPicture());
        rig.session.HandleReceive("$IMAGE_START\r\nxx");
        window.findChild<QPushButton*>(QStringLiteral("comm_1447"))->click();
        rig.session.HandleReceive("CMD OK\r\n");  // line mode again: an answer, not picture bytes
        QVERIFY(rig.session.SenderIdle());
    }

    void eventTableStaysSmallAndFollowsTheList()
    {
        Rig rig;
        auto& page = static_cast<CPageEvents&>(*rig.session.Page(PageId::Events));
        page.timeOfDay = [] { return std::string("10:00:00"); };
        CEventListWidget list(page);
        QTableView* table = list.Table();
        list.resize(800, 600);
        list.show();

        constexpr int kEvents = 100000;
        const long rssBefore = ResidentBytes();
        QElapsedTimer clock;
        clock.start();
        for (int i = 0; i < kEvents; ++i) {
            rig.session.HandleReceive("$:\"" + std::to_string(i) +
                                      "\",\"DIN 2 ALARM SMS\",\"2\",\"Door back\",\"OPEN\",\"\",\"2026-12-08 0" +
                                      std::to_string(i % 10) + ":00:00\"\r\n");
            rig.Drain();
        }
        const qint64 feedMs = clock.restart();
        QCoreApplication::processEvents();
        table->scrollToBottom();
        QCoreApplication::processEvents();
        const qint64 scrollMs = clock.restart();
        // Events one at a time at the end of a long list, as the unit sends them.
        constexpr int kSingles = 100;
        for (int i = 0; i < kSingles; ++i) {
            rig.session.HandleReceive("$:\"x\",\"POWER RECOVER\",\"a\",\"b\",\"c\",\"d\",\"e\"\r\n");
            QCoreApplication::processEvents();
        }
        const double oneMs = static_cast<double>(clock.elapsed()) / kSingles;
        QCOMPARE(table->model()->rowCount(), kEvents + kSingles);
        QCOMPARE(table->model()->index(kEvents, 0).data().toString(), QStringLiteral("DC/PowerRestore"));
        QCOMPARE(table->model()->index(kEvents - 1, 0).data().toString(), QStringLiteral("Digital inputsAlarmSms"));
        QCOMPARE(table->model()->index(kEvents - 1, 5).data().toString(),
                 QStringLiteral("2026-12-08 09:00:00 (10:00:00)"));
        const double perTenThousand = page.Log().MemoryBytes() * 10000.0 / kEvents;
        const double rssPerTenThousand = (ResidentBytes() - rssBefore) * 10000.0 / kEvents;
        qInfo("event list: %d events fed in %lld ms, shown and scrolled in %lld ms, one more in %.2f ms, "
              "%.0f bytes per 10,000 events in the list, %.0f bytes per 10,000 events of the whole process",
              kEvents, feedMs, scrollMs, oneMs, perTenThousand, rssPerTenThousand);

        QVERIFY(list.grab().save(QStringLiteral(SHELL_TEST_OUTPUT_DIR "/rtuconfig-event-list.png")));
        QTemporaryDir dir;
        QString error;
        const QString csv = dir.path() + QStringLiteral("/events.csv");
        QVERIFY(list.SaveCsv(csv, error));
        QCOMPARE(ReadAll(csv.toStdString()), page.Csv());

        QVERIFY(page.OnCommand(CPageEvents::kReset));
        QCoreApplication::processEvents();
        QCOMPARE(table->model()->rowCount(), 0);
    }

private:
    using P = CPageMmsSetup;
};

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    TestEventsViews t;
    return QTest::qExec(&t, argc, argv);
}

#include "test_events_views.moc"
