// The main window on small screens and by keyboard: the top row and the pages fit 1366x768 at
// scale 1 and 1600x1000 at scale 1.5 (each in a child process with its scale), the arrow keys
// of the navigation bar show pages, the extra folder names its pages, tool tips, the profile
// file chooser, the catalog's wording of fixed texts, and help without a display.
#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDate>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QScrollArea>
#include <QSet>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <sys/stat.h>

#include <cstdio>
#include <memory>

#include "controls/NavBar.h"
#include "pages/registry/PageRegistry.h"
#include "LayoutCheck.h"
#include "shell/ProfileFiles.h"
#include "shell/RegSetting.h"
#include "shell/UnitGuard.h"
#include "shell/VarnelDlg.h"

using namespace rtu;

namespace {

constexpr const char* kFitEnv = "RTU_FIT_SCREEN";  // "WxH": the child run checks this screen
constexpr int kChildMs = 120000;                   // bound for one child run

struct Window {
    QTemporaryDir dir;
    CRegSetting reg{dir.filePath("settings.ini")};
    CTextCatalog catalog;
    std::unique_ptr<CVarnelDlg> dlg;
    QString startPath;  // where the last file chooser started
    QString chosenFile;

    explicit Window(bool shippedCatalog = true)
    {
        if (shippedCatalog) catalog.Load(RTU_BUILT_CATALOG);
        dlg = std::make_unique<CVarnelDlg>(reg, catalog);
        dlg->messageSink = [](QMessageBox::Icon, const QString&) {};
        // Pages never read go into the profile too (the second answer of that question).
        dlg->Guard()->chooser = [](const QString&, const QStringList&) { return 1; };
        dlg->fileChooser = [this](bool, const QString& start) {
            startPath = start;
            return chosenFile;
        };
    }
};

// Whether `w` lies wholly inside `top`.
bool Inside(const QWidget* w, const QWidget* top)
{
    const QRect r(w->mapTo(top, QPoint(0, 0)), w->size());
    return top->rect().contains(r);
}

QListWidget* FolderList(CNavBar* nav, int folder)
{
    QList<QListWidget*> lists = nav->findChildren<QListWidget*>();
    for (QListWidget* l : lists)
        if (l->count() == nav->ItemCount(folder) && l->item(0) && l->item(0)->text() == nav->ItemCaption(folder, 0))
            return l;
    return nullptr;
}

}  // namespace

class TestWindowFit : public QObject {
    Q_OBJECT
private slots:
    void fitsTheScreen_data() { layoutcheck::AddScreenRows(); }
    void fitsTheScreen()
    {
        QFETCH(QString, scale);
        QFETCH(QString, screen);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert(kFitEnv, screen);
        const layoutcheck::ChildRun run = layoutcheck::RunChild("fitChild", env, scale, kChildMs);
        QVERIFY2(run.ok, qPrintable(run.out));
        QVERIFY2(run.out.contains("minimum width"), qPrintable(run.out));
        for (const QString& line : run.out.split('\n'))
            if (line.contains("minimum width")) qInfo("%s", qPrintable(line.trimmed()));
    }

    // Run by fitsTheScreen in a child process with its scale.
    void fitChild()
    {
        const QByteArray screen = qgetenv(kFitEnv);
        if (screen.isEmpty()) QSKIP("run by fitsTheScreen");
        const QList<QByteArray> wh = screen.split('x');
        QCOMPARE(wh.size(), 2);
        const double scale = qEnvironmentVariableIsSet("QT_SCALE_FACTOR") ? qgetenv("QT_SCALE_FACTOR").toDouble() : 1.0;
        const QSize room(int(wh[0].toInt() / scale), int(wh[1].toInt() / scale));  // device-independent pixels

        Window w;
        w.dlg->resize(room);
        w.dlg->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.dlg.get()));
        QCoreApplication::processEvents();
        QVERIFY2(w.dlg->width() <= room.width() && w.dlg->height() <= room.height(),
                 qPrintable(QStringLiteral("window %1x%2 in %3x%4")
                                .arg(w.dlg->width())
                                .arg(w.dlg->height())
                                .arg(room.width())
                                .arg(room.height())));
        QWidget* bar = w.dlg->findChild<QWidget*>("topRow");
        QVERIFY(bar);
        int controls = 0;
        for (QWidget* c : bar->findChildren<QWidget*>()) {
            if (!c->isVisibleTo(w.dlg.get()) || c->objectName().isEmpty() || c->objectName().endsWith("Group"))
                continue;
            ++controls;
            QVERIFY2(Inside(c, w.dlg.get()), qPrintable(c->objectName()));
        }
        QVERIFY(controls >= 14);  // six commands, four labels, three lists, password, login, light, About
        // Every page's buttons lie inside the window, scrolled into view where the page scrolls.
        CNavBar* nav = w.dlg->NavBar();
        for (int f = 0; f < nav->FolderCount(); ++f)
            for (int i = 0; i < nav->ItemCount(f); ++i) {
                nav->ClickItem(f, i);
                QCoreApplication::processEvents();
                QWidget* page = w.dlg->ShownPage();
                QVERIFY(page);
                QVERIFY(Inside(page, w.dlg.get()));
                for (QPushButton* b : page->findChildren<QPushButton*>()) {
                    if (!b->isVisibleTo(page)) continue;
                    QWidget* shownIn = w.dlg.get();
                    for (QWidget* up = b->parentWidget(); up && up != page->parentWidget(); up = up->parentWidget())
                        if (auto* scroll = qobject_cast<QScrollArea*>(up)) {
                            scroll->ensureWidgetVisible(b, 0, 0);
                            shownIn = scroll->viewport();
                            break;
                        }
                    QCoreApplication::processEvents();
                    QVERIFY2(Inside(b, shownIn), qPrintable(nav->ItemCaption(f, i) + ": " + b->text()));
                }
            }
        nav->ClickItem(0, 2);
        QCoreApplication::processEvents();
        const QString shot =
            QStringLiteral(SHELL_TEST_OUTPUT_DIR "/window-%1-scale%2.png").arg(QString(screen), QString::number(scale));
        QVERIFY(w.dlg->grab().save(shot));
        const int minWidth = w.dlg->minimumSizeHint().expandedTo(w.dlg->minimumSize()).width();
        std::printf("minimum width at scale %g: %d device-independent px = %d px\n", scale, minWidth,
                    int(minWidth * scale + 0.5));
        std::fflush(stdout);
    }

    // The highlighted item is the page on show, also when the arrow keys move it.
    void arrowKeysShowTheHighlightedPage_data()
    {
        QTest::addColumn<QList<int>>("keys");
        QTest::addColumn<int>("item");  // in the first folder
        QTest::newRow("down") << QList<int>{Qt::Key_Down} << 1;
        QTest::newRow("down twice") << QList<int>{Qt::Key_Down, Qt::Key_Down} << 2;
        QTest::newRow("down and up") << QList<int>{Qt::Key_Down, Qt::Key_Down, Qt::Key_Up} << 1;
        QTest::newRow("end") << QList<int>{Qt::Key_End} << -1;
        QTest::newRow("end and home") << QList<int>{Qt::Key_End, Qt::Key_Home} << 0;
    }
    void arrowKeysShowTheHighlightedPage()
    {
        QFETCH(QList<int>, keys);
        QFETCH(int, item);
        Window w;
        w.dlg->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.dlg.get()));
        CNavBar* nav = w.dlg->NavBar();
        if (item < 0) item = nav->ItemCount(0) - 1;
        QListWidget* list = FolderList(nav, 0);
        QVERIFY(list);
        nav->ClickItem(0, 0);
        QSignalSpy shown(w.dlg.get(), &CVarnelDlg::pageShown);
        for (int key : keys) QTest::keyClick(list, Qt::Key(key));
        const int id = nav->ItemData(0, item);
        QCOMPARE(list->currentRow(), item);
        QCOMPARE(w.dlg->CurrentPageId(), id);
        QCOMPARE(w.dlg->ShownPage(), w.dlg->PageWidget(id));
        QCOMPARE(shown.count(), int(keys.size()));  // one page change per key, none twice
        // Showing a page from outside moves the highlight without another report.
        w.dlg->ShowPage(nav->ItemData(0, 0));
        QCOMPARE(list->currentRow(), 0);
        QCOMPARE(shown.count(), int(keys.size()) + 1);
    }

    // The extra folder: each page under its own caption (from the catalog, or plain English
    // without one) and with an icon.
    void moreFolderNamesItsPages_data()
    {
        QTest::addColumn<bool>("catalog");
        QTest::newRow("shipped catalog") << true;
        QTest::newRow("no catalog") << false;
    }
    void moreFolderNamesItsPages()
    {
        QFETCH(bool, catalog);
        Window w(catalog);
        CNavBar* nav = w.dlg->NavBar();
        const int more = nav->FolderCount() - 1;
        QVERIFY(nav->ItemCount(more) >= 2);
        QSet<QString> captions;
        for (int f = 0; f < more; ++f)
            for (int i = 0; i < nav->ItemCount(f); ++i) captions.insert(nav->ItemCaption(f, i));
        for (int i = 0; i < nav->ItemCount(more); ++i) {
            const PageInfo* info = FindPageInfoByNav(nav->ItemData(more, i));
            QVERIFY(info && !info->folderKey);
            const QString caption = nav->ItemCaption(more, i);
            QVERIFY2(!caption.isEmpty() && !captions.contains(caption), qPrintable(caption));
            captions.insert(caption);
            QVERIFY2(!QString::fromLatin1(info->className).contains(caption), qPrintable(caption));
            QVERIFY2(!nav->ItemIcon(more, i).isNull(), info->className);
            QVERIFY(!nav->ItemIcon(more, i).pixmap(CNavBar::kIconSize).toImage().isNull());
        }
    }

    void topRowControlsHaveToolTips()
    {
        Window w;
        QWidget* bar = w.dlg->findChild<QWidget*>("topRow");
        int checked = 0;
        for (QWidget* c : bar->findChildren<QWidget*>()) {
            if (!qobject_cast<QAbstractButton*>(c) && !qobject_cast<QComboBox*>(c) && !qobject_cast<QLineEdit*>(c))
                continue;
            if (c->parentWidget() && qobject_cast<QComboBox*>(c->parentWidget())) continue;  // a list's own editor
            ++checked;
            QVERIFY2(!c->toolTip().isEmpty(), qPrintable(c->objectName()));
        }
        QVERIFY(checked >= 11);
    }

    // Save suggests "<unit id>-<date>.txt" in the folder used last; ".txt" is added to a name
    // without an extension; open starts in the folder used last.
    void profileFileChooser_data()
    {
        QTest::addColumn<QString>("unitId");
        QTest::addColumn<QString>("chosen");     // relative to a temporary folder
        QTest::addColumn<QString>("suggested");  // file name of the first save's start
        QTest::addColumn<QString>("written");    // the file the profile went to
        QTest::newRow("plain id") << "RTU7"
                                  << "unit"
                                  << "RTU7-%1.txt"
                                  << "unit.txt";
        QTest::newRow("id with blanks and slash") << " pump 3/A "
                                                  << "unit.txt"
                                                  << "pump_3_A-%1.txt"
                                                  << "unit.txt";
        QTest::newRow("nothing read yet") << ""
                                          << "other.cfg"
                                          << "profile-%1.txt"
                                          << "other.cfg";
    }
    void profileFileChooser()
    {
        QFETCH(QString, unitId);
        QFETCH(QString, chosen);
        QFETCH(QString, suggested);
        QFETCH(QString, written);
        Window w(false);
        CPageBase* main = w.dlg->Session().Page("CPageMainParams");
        QVERIFY(main);
        main->SetText(main->FindFieldByReportKey("$DID")->id, unitId.toStdString());
        QTemporaryDir folder;
        w.chosenFile = folder.filePath(chosen);
        w.dlg->RunCommand(cmd::kSaveProfile);
        QCOMPARE(QFileInfo(w.startPath).fileName(), suggested.arg(QDate::currentDate().toString("yyyyMMdd")));
        QCOMPARE(QFileInfo(w.startPath).absolutePath(), QDir::homePath());
        QVERIFY2(QFileInfo::exists(folder.filePath(written)), qPrintable(written));
        w.chosenFile.clear();
        w.dlg->RunCommand(cmd::kSaveProfile);
        QCOMPARE(QFileInfo(w.startPath).absolutePath(), QFileInfo(folder.path()).absoluteFilePath());
        // Run profile starts in the same folder, with no name suggested.
        CProfileFiles files(w.reg);
        QCOMPARE(files.StartPath(false, unitId, QDate::currentDate()), QFileInfo(folder.path()).absoluteFilePath());
    }

    // The real chooser adds ".txt" itself, so it asks before replacing the file really written.
    void chooserAddsTheExtension()
    {
        QTemporaryDir folder;
        QTimer::singleShot(0, [] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
            QVERIFY(name);
            QCOMPARE(name->text(), QStringLiteral("RTU7-20260101.txt"));
            name->setText("unit");
            QMetaObject::invokeMethod(dialog, "accept");
        });
        const QString chosen = CProfileFiles::Ask(nullptr, true, folder.filePath("RTU7-20260101.txt"), "(*.txt)");
        QCOMPARE(chosen, folder.filePath("unit.txt"));
    }

    // Fixed texts of the unit's console as the window shows them: the catalog's wording when it
    // has one, else the session's own; a mode the status line has just said is said once.
    void fixedTextsFollowTheCatalog_data()
    {
        QTest::addColumn<bool>("catalog");
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("status");
        QTest::addColumn<QString>("mode");  // "<same>": unchanged
        QTest::newRow("reload, catalog") << true << "DUMPR"
                                         << "Reload successful, connected with the PC!"
                                         << "<same>";
        QTest::newRow("reload, no catalog") << false << "DUMPR"
                                            << "Reload successfully, connected with PC!"
                                            << "<same>";
        QTest::newRow("power-up, catalog") << true << "Press '%%%%' to enter console"
                                           << "RTU powering up..."
                                           << "<same>";
        QTest::newRow("setup mode, catalog") << true << "come in setup mode"
                                             << ""
                                             << "Setup mode";
        QTest::newRow("setup mode, no catalog") << false << "come in setup mode"
                                                << ""
                                                << "Come into setup mode success";
        QTest::newRow("working mode, catalog") << true << "Working mode now"
                                               << ""
                                               << "Working mode";
    }
    void fixedTextsFollowTheCatalog()
    {
        QFETCH(bool, catalog);
        QFETCH(QString, line);
        QFETCH(QString, status);
        QFETCH(QString, mode);
        Window w(catalog);
        const QString modeBefore = w.dlg->ModeText();
        w.dlg->Driver()->HandleReceive((line + "\r\n").toStdString());
        QCoreApplication::processEvents();
        QCOMPARE(w.dlg->StatusText(), status);
        QCOMPARE(w.dlg->ModeText(), mode == "<same>" ? modeBefore : mode);
    }

    // Notes that explain a page: what O and X mean and which table is which on the priority
    // grids, which rows are alarm and which restore texts, what the terse option names are.
    void pagesExplainThemselves_data()
    {
        QTest::addColumn<int>("navId");
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("section");  // the label's catalog text; empty: a tool tip
        QTest::addColumn<QString>("key");
        QTest::newRow("digital grid legend") << 23 << "ctl9401"
                                             << "PrioTables"
                                             << "LEGEND";
        QTest::newRow("digital grid SMS table") << 23 << "ctl9402"
                                                << "PrioTables"
                                                << "SMS_TABLE";
        QTest::newRow("digital grid ring table") << 23 << "ctl9403"
                                                 << "PrioTables"
                                                 << "RING_TABLE";
        QTest::newRow("system grid legend") << 25 << "ctl9401"
                                            << "PrioTables"
                                            << "LEGEND";
        QTest::newRow("analog grid legend") << 24 << "ctl9401"
                                            << "PrioTables"
                                            << "LEGEND";
        QTest::newRow("digital message rows") << 6 << "ctl9411"
                                              << "PageSms"
                                              << "DIN_ROWS";
        QTest::newRow("analog message rows") << 10 << "ctl9411"
                                             << "PageADSms"
                                             << "AIN_ROWS";
        QTest::newRow("DAS") << 3 << "ctl1018"
                             << ""
                             << "%DAS";
        QTest::newRow("TSCS") << 3 << "ctl1021"
                              << ""
                              << "%PRTCS";
        QTest::newRow("TSSP") << 3 << "ctl1022"
                              << ""
                              << "%PRTSP";
    }
    void pagesExplainThemselves()
    {
        QFETCH(int, navId);
        QFETCH(QString, control);
        QFETCH(QString, section);
        QFETCH(QString, key);
        Window w;
        QWidget* page = w.dlg->PageWidget(navId);
        QVERIFY(page);
        QWidget* c = page->findChild<QWidget*>(control);
        QVERIFY2(c, qPrintable(control));
        if (section.isEmpty()) {
            QVERIFY2(c->toolTip().contains(key), qPrintable(c->toolTip()));
            return;
        }
        auto* label = qobject_cast<QLabel*>(c);
        QVERIFY(label);
        const QString text = QString::fromStdString(w.catalog.GetText(section.toStdString(), key.toStdString()));
        QVERIFY(!text.isEmpty());
        QCOMPARE(label->text(), text);
    }
    // Help and version are answered without a display.
    void helpWithoutDisplay_data()
    {
        QTest::addColumn<QString>("option");
        QTest::addColumn<QString>("expected");
        QTest::newRow("help") << "--help"
                              << "--port";
        QTest::newRow("short help") << "-h"
                                    << "--demo";
        QTest::newRow("version") << "--version"
                                 << "rtuconfig 3.40";
    }
    void helpWithoutDisplay()
    {
        QFETCH(QString, option);
        QFETCH(QString, expected);
        QProcess tool;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove("DISPLAY");
        env.remove("WAYLAND_DISPLAY");
        env.insert("QT_QPA_PLATFORM", "xcb");  // there is no X server: any window would fail
        tool.setProcessEnvironment(env);
        tool.setProcessChannelMode(QProcess::MergedChannels);
        tool.start(RTUCONFIG_PATH, {option});
        QVERIFY(tool.waitForFinished(kChildMs));
        const QString out = QString::fromUtf8(tool.readAll());
        QCOMPARE(tool.exitStatus(), QProcess::NormalExit);
        QVERIFY2(tool.exitCode() == 0, qPrintable(out));
        QVERIFY2(out.contains(expected), qPrintable(out));
    }

    // A settings path that is no regular file is refused at once: a FIFO used to hold the
    // start up for good (deaf to SIGTERM), a folder or device would be written into.
    void settingsThatAreNoRegularFile_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("expected");
        QTest::newRow("FIFO") << "fifo"
                              << "is a FIFO";
        QTest::newRow("folder") << "dir"
                                << "is a directory";
        QTest::newRow("device") << "device"
                                << "is a device";
    }
    void settingsThatAreNoRegularFile()
    {
        QFETCH(QString, kind);
        QFETCH(QString, expected);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        QString path = dir.filePath(QStringLiteral("settings.conf"));
        if (kind == QLatin1String("fifo")) QVERIFY(::mkfifo(QFile::encodeName(path).constData(), 0600) == 0);
        else if (kind == QLatin1String("dir")) QVERIFY(QDir().mkpath(path));
        else path = QStringLiteral("/dev/null");
        QProcess tool;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        tool.setProcessEnvironment(env);
        tool.setProcessChannelMode(QProcess::MergedChannels);
        tool.start(RTUCONFIG_PATH, {QStringLiteral("--settings"), path});
        if (!tool.waitForFinished(kChildMs)) {
            tool.kill();
            tool.waitForFinished();
            QFAIL("rtuconfig did not end");
        }
        const QString out = QString::fromUtf8(tool.readAll());
        QCOMPARE(tool.exitStatus(), QProcess::NormalExit);
        QVERIFY2(tool.exitCode() != 0, qPrintable(out));
        QVERIFY2(out.contains(expected) && out.contains(path), qPrintable(out));
    }
};

QTEST_MAIN(TestWindowFit)

#include "test_window_fit.moc"
