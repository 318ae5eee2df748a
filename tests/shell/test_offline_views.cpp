// A profile opened in the desktop tool with no unit attached: the pages show the file's values
// and say so, a row editor changes them as on a unit, a save writes exactly what changed, the
// lines no page holds are named and kept, and running the pages needs a unit.
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

#include "pages/basic/PhoneListPage.h"
#include "session/Session.h"
#include "shell/OfflineProfile.h"
#include "shell/PageView.h"
#include "shell/RegSetting.h"
#include "shell/RowEditorDlg.h"
#include "shell/VarnelDlg.h"

namespace {

constexpr int kWaitMs = 20000;     // bound for the file's simulated unit to answer a row edit
constexpr int kPhonesNav = 1;      // the control phones page
constexpr int kEditedRow = 3;

QString Golden(const char* name)
{
    return QStringLiteral(RTU_SOURCE_DATA_DIR "/../tests/e2e/golden/") + QLatin1String(name);
}

QByteArray Bytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QList<QByteArray> Lines(const QString& path) { return Bytes(path).split('\n'); }

// A main window with no port; messages and file choices are taken by the test.
struct Window {
    QTemporaryDir dir;
    CRegSetting reg{dir.filePath("settings.ini")};
    rtu::CTextCatalog catalog;
    std::unique_ptr<CVarnelDlg> dlg;
    QStringList messages;
    QString chosenFile;

    Window()
    {
        dlg = std::make_unique<CVarnelDlg>(reg, catalog);
        dlg->messageSink = [this](QMessageBox::Icon, const QString& text) { messages << text; };
        dlg->fileChooser = [this](bool, const QString&) { return chosenFile; };
    }
    bool Open(const QString& path)
    {
        chosenFile = path;
        dlg->Offline()->OpenAction()->trigger();
        return dlg->Offline()->FromFile();
    }
    QString Save(const char* name)
    {
        chosenFile = dir.filePath(QLatin1String(name));
        dlg->RunCommand(rtu::cmd::kSaveProfile);
        return chosenFile;
    }
    std::string Phone(int row) const
    {
        return dlg->Session().Page("CPageServer")->CellText(rtu::ctl::kList, row, 1);
    }
};

}  // namespace

class TestOfflineViews : public QObject {
    Q_OBJECT
private slots:
    void editedPhoneIsTheOnlyLineThatChanges()
    {
        Window w;
        QVERIFY(w.Open(Golden("default.profile")));
        QCOMPARE(w.dlg->Offline()->SourceLabel()->text(), QStringLiteral("Values from file default.profile"));
        QCOMPARE(w.Phone(kEditedRow), std::string("+4915112340003"));
        QVERIFY(w.messages.isEmpty());

        CPageView* view = w.dlg->PageView(kPhonesNav);
        QVERIFY(view);
        view->runDialog = [](QDialog& d) {
            auto& dlg = static_cast<CRowEditorDlg&>(d);
            dlg.show();
            auto* edit = qobject_cast<QLineEdit*>(dlg.Control(rtu::CPhoneListPage::kEditorNumber));
            edit->clear();
            edit->setFocus();
            QTest::keyClicks(edit, "+4900000042");
            dlg.accept();
            return dlg.result();
        };
        view->EditRow(rtu::ctl::kList, kEditedRow);
        // The file's simulated unit took the line, and the page shows what it stored.
        QTRY_COMPARE_WITH_TIMEOUT(w.Phone(kEditedRow), std::string("+4900000042"), kWaitMs);
        QTRY_VERIFY_WITH_TIMEOUT(!w.dlg->Session().Busy(), kWaitMs);

        const QList<QByteArray> original = Lines(Golden("default.profile"));
        const QList<QByteArray> saved = Lines(w.Save("unit-42.txt"));
        QCOMPARE(w.messages.last(), QString::fromLatin1(rtu::CSession::kSaveProfileOk));
        QCOMPARE(saved.size(), original.size());
        QList<int> differing;
        for (int i = 0; i < saved.size(); ++i)
            if (saved[i] != original[i]) differing << i;
        QCOMPARE(differing.size(), 1);
        QCOMPARE(saved[differing[0]], QByteArray("%CS3+4900000042\r"));
        QCOMPARE(original[differing[0]], QByteArray("%CS3+4915112340003\r"));
    }

    void unchangedOpenAndSaveKeepsTheBytesAndTheStrayLines()
    {
        Window w;
        for (const char* name : {"default.profile", "empty.profile"}) {
            QVERIFY(w.Open(Golden(name)));
            QCOMPARE(Bytes(w.Save("same.txt")), Bytes(Golden(name)));
        }
        const QString stray = w.dir.filePath("stray.txt");
        QFile f(stray);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(Bytes(Golden("default.profile")).replace("%CS9+390612345609\r\n", "%CS9+390612345609\r\n%ZZTOP1\r\n"));
        f.close();
        w.messages.clear();
        QVERIFY(w.Open(stray));
        QCOMPARE(w.messages.size(), 1);
        QVERIFY2(w.messages[0].contains("line 13: %ZZTOP1"), qPrintable(w.messages[0]));
        QCOMPARE(w.dlg->Offline()->SourceLabel()->text(), QStringLiteral("Values from file stray.txt"));
        QCOMPARE(Bytes(w.Save("again.txt")), Bytes(stray));
    }

    void faultyFilesAndRunsWithoutAUnitAreRefused()
    {
        Window w;
        const QString bad = w.dir.filePath("bad.json");
        QFile f(bad);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(R"({"CPageNoSuch": {}})");
        f.close();
        QVERIFY(!w.Open(bad));
        QVERIFY2(w.messages.last().contains("unknown page \"CPageNoSuch\""), qPrintable(w.messages.last()));
        QVERIFY(w.dlg->Offline()->SourceLabel()->text().isEmpty());

        QVERIFY(w.Open(Golden("default.profile")));
        w.dlg->Offline()->RunAction()->trigger();
        QCOMPARE(w.messages.last(), QString::fromLatin1(COfflineProfile::kNoUnit));
    }
};

QTEST_MAIN(TestOfflineViews)
#include "test_offline_views.moc"
