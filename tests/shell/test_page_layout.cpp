// Every page and dialog is readable on a small screen and at scale 1.5: each runs in a child
// process with its screen and scale and walks every page of the navigation bar and every row
// editor. It fails on a caption label bound to no control, on widgets that overlap, on a
// button outside what can be seen, on a cut column header and on a number box too narrow for
// its largest value. With RTU_SHOT_DIR set (under a real X server), each page and dialog is
// also photographed with ImageMagick's `import` (scripts/screenshots.sh).
#include <QAbstractSpinBox>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>
#include <memory>

#include "LayoutCheck.h"
#include "controls/NavBar.h"
#include "pages/registry/PageRegistry.h"
#include "shell/ExecReportDlg.h"
#include "shell/MmsTestWindow.h"
#include "shell/PageView.h"
#include "shell/PreviewDlg.h"
#include "shell/RegSetting.h"
#include "shell/RowEditorDlg.h"
#include "shell/UnitGuard.h"
#include "shell/VarnelDlg.h"

using namespace rtu;

namespace {

constexpr const char* kScreenEnv = "RTU_LAYOUT_SCREEN";  // "WxH": the child walks the pages on this screen
constexpr const char* kShotEnv = "RTU_SHOT_DIR";         // where screenshots go (needs an X server)
constexpr int kChildMs = 240000;                         // bound for one child run

QString ShotName(const QString& what)
{
    QString name = what;
    for (QChar& c : name)
        if (!c.isLetterOrNumber()) c = QLatin1Char('_');
    return name;
}

// Under a real X server: the whole screen as the user sees it.
void Photograph(const QString& what)
{
    const QString dir = qEnvironmentVariable(kShotEnv);
    if (dir.isEmpty()) return;
    QDir().mkpath(dir);
    for (int i = 0; i < 5; ++i) QTest::qWait(20);  // let the window system paint
    QProcess::execute(QStringLiteral("import"),
                      {"-window", "root", QDir(dir).filePath(ShotName(what) + QStringLiteral(".png"))});
}

}  // namespace

class TestPageLayout : public QObject {
    Q_OBJECT
private slots:
    void everyPageReadable_data() { layoutcheck::AddScreenRows(); }
    void everyPageReadable()
    {
        QFETCH(QString, scale);
        QFETCH(QString, screen);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        // The offscreen platform's screen has the size of the real one.
        const QStringList wh = screen.split('x');
        QTemporaryDir dir;
        const QString config = dir.filePath("screen.json");
        QFile file(config);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QStringLiteral("{\"screens\": [{\"name\": \"S\", \"x\": 0, \"y\": 0, \"width\": %1, "
                                  "\"height\": %2, \"logicalDpi\": 96, \"logicalBaseDpi\": 96, \"dpr\": 1}]}")
                       .arg(wh.value(0), wh.value(1))
                       .toUtf8());
        file.close();
        env.insert("QT_QPA_PLATFORM", QStringLiteral("offscreen:configfile=") + config);
        env.insert(kScreenEnv, screen);
        env.remove(kShotEnv);
        const layoutcheck::ChildRun run = layoutcheck::RunChild("walkChild", env, scale, kChildMs);
        QVERIFY2(run.ok, qPrintable(run.out));
        QVERIFY2(run.out.contains("pages walked"), qPrintable(run.out));
    }

    // Run by everyPageReadable in a child process with its screen and scale.
    void walkChild()
    {
        const QByteArray screenSize = qgetenv(kScreenEnv);
        if (screenSize.isEmpty()) QSKIP("run by everyPageReadable");
        QTemporaryDir dir;
        CRegSetting reg(dir.filePath("settings.ini"));
        CTextCatalog catalog;
        QVERIFY(catalog.Load(RTU_BUILT_CATALOG));
        CVarnelDlg window(reg, catalog);
        window.messageSink = [](QMessageBox::Icon, const QString&) {};
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        // The window opens inside the screen's available area.
        const QRect available = window.screen()->availableGeometry();
        QVERIFY2(available.contains(window.frameGeometry()) || available.contains(window.geometry()),
                 qPrintable(QStringLiteral("window %1x%2 at %3,%4 in %5x%6")
                                .arg(window.width())
                                .arg(window.height())
                                .arg(window.x())
                                .arg(window.y())
                                .arg(available.width())
                                .arg(available.height())));

        QStringList faults;
        int pages = 0;
        int dialogs = 0;
        CNavBar* nav = window.NavBar();
        for (int f = 0; f < nav->FolderCount(); ++f)
            for (int i = 0; i < nav->ItemCount(f); ++i) {
                nav->ClickItem(f, i);
                QCoreApplication::processEvents();
                QWidget* page = window.ShownPage();
                QVERIFY(page);
                const QString name = nav->ItemCaption(f, i);
                faults << layoutcheck::Faults(page, &window, name);
                Photograph(QStringLiteral("%1-%2-page-%3").arg(QString(screenSize)).arg(f * 10 + i).arg(name));
                ++pages;
                // Every row editor of the page, over it.
                auto* view = qobject_cast<CPageView*>(page);
                if (!view) continue;
                for (const RowEditorDecl& decl : view->Page().RowEditors()) {
                    RowEdit edit;
                    if (!view->Page().BeginEditRow(decl.listId, 0, edit)) continue;
                    CRowEditorDlg dialog(view->Page(), decl, edit, &window);
                    dialog.show();
                    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
                    const QString what = name + QStringLiteral(" editor ") + QString::number(decl.listId);
                    if (!available.contains(dialog.frameGeometry()) && !available.contains(dialog.geometry()))
                        faults << what + QStringLiteral(" is larger than the screen");
                    faults << layoutcheck::Faults(&dialog, &dialog, what);
                    Photograph(QStringLiteral("%1-%2-dialog-%3").arg(QString(screenSize)).arg(f * 10 + i).arg(what));
                    dialog.reject();
                    ++dialogs;
                }
            }
        // The window's other dialogs, filled as a run leaves them.
        ProfileDiff diff;
        diff.sections.push_back({"//Page System main parameters", "CPageMainParams", "System main parameters",
                                 {{DiffKind::Changed, "%ID", "%ID0042", "%ID0043"},
                                  {DiffKind::OnlyNew, "%CS3", "", "%CS3=1"}}});
        std::vector<ExecReportRow> rows;
        for (LineOutcome outcome : {LineOutcome::Ok, LineOutcome::CmdErr, LineOutcome::Unanswered})
            rows.push_back({{"%ID0043", "//Page System main parameters", outcome, 100, 250}, "CPageMainParams",
                            "System main parameters", outcome != LineOutcome::Ok});
        CPreviewDlg preview(diff, &window);
        CExecReportDlg report(rows, 0, &window);
        CMmsTestWindow mms(window.Session(), &window);
        const std::pair<QWidget*, const char*> others[] = {
            {&preview, "profile preview"}, {&report, "run report"}, {&mms, "MMS test"}};
        for (const auto& [dialog, what] : others) {
            dialog->show();
            QVERIFY(QTest::qWaitForWindowExposed(dialog));
            if (!available.contains(dialog->frameGeometry()) && !available.contains(dialog->geometry()))
                faults << QString::fromLatin1(what) + QStringLiteral(" is larger than the screen");
            faults << layoutcheck::Faults(dialog, dialog, QString::fromLatin1(what));
            Photograph(QStringLiteral("%1-dialog-%2").arg(QString(screenSize), QString::fromLatin1(what)));
            dialog->hide();
            ++dialogs;
        }
        for (const QString& fault : faults) std::printf("%s\n", qPrintable(fault));  // all of them, uncut
        std::fflush(stdout);
        QVERIFY2(faults.isEmpty(), qPrintable(QString::number(faults.size()) + QStringLiteral(" faults")));
        QVERIFY(pages >= 48);
        QVERIFY(dialogs >= 10);
        std::printf("%d pages walked, %d dialogs\n", pages, dialogs);
        std::fflush(stdout);
    }

    // The check itself finds what it is for: a caption put back without its control, two
    // widgets on one spot, a button out of sight, a cut header and a number box too narrow.
    void checkFindsFaults()
    {
        QWidget top;
        top.resize(400, 300);
        auto* caption = new QLabel(QStringLiteral("Range (L-H)"), &top);
        caption->setGeometry(10, 10, 100, 20);
        auto* edit = new QLineEdit(&top);
        edit->setGeometry(120, 10, 100, 20);
        top.show();
        QVERIFY(QTest::qWaitForWindowExposed(&top));
        const QStringList orphan = layoutcheck::Faults(&top, &top, "page");
        QVERIFY2(orphan.size() == 1 && orphan[0].contains("Range (L-H)"), qPrintable(orphan.join('\n')));
        caption->setBuddy(edit);
        QVERIFY(layoutcheck::Faults(&top, &top, "page").isEmpty());

        auto* over = new QPushButton(QStringLiteral("Save"), &top);
        over->setGeometry(150, 15, 80, 24);
        over->show();
        QVERIFY(layoutcheck::Faults(&top, &top, "page").join('\n').contains("overlaps"));
        over->move(500, 200);
        QVERIFY(layoutcheck::Faults(&top, &top, "page").join('\n').contains("out of sight"));
        delete over;

        auto* table = new QTableWidget(1, 2, &top);
        table->setHorizontalHeaderLabels({"No.", "A long column title"});
        table->setColumnWidth(1, 30);
        table->setGeometry(10, 60, 300, 120);
        table->show();
        QVERIFY(layoutcheck::Faults(&top, &top, "page").join('\n').contains("A long column title"));
        delete table;

        auto* spin = new CTextSpinBox(0, 65535, &top);
        spin->setGeometry(10, 200, 30, 24);
        spin->show();
        QVERIFY(layoutcheck::Faults(&top, &top, "page").join('\n').contains("65535"));
    }
};

QTEST_MAIN(TestPageLayout)
#include "test_page_layout.moc"
