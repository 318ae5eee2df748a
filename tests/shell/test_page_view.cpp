// The generated page view over a small page model: controls by kind, edits into the model,
// model changes into the widgets, tables, the row editor, cell clicks and the busy signal.
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTest>

#include <memory>
#include <string>
#include <vector>

#include "../session/DummyPage.h"
#include "link/Sequencer.h"
#include "pages/basic/PageAlarmParams.h"
#include "pages/basic/PageMainParams.h"
#include "pages/basic/TextTables.h"
#include "pages/framework/FieldBuilders.h"
#include "session/Session.h"
#include "shell/PageView.h"
#include "shell/PageWidgets.h"
#include "shell/RowEditorDlg.h"

using namespace rtu;

namespace {

enum Id {
    kName = 1101,
    kEnabled = 1102,
    kMode = 1103,
    kSpeed = 1104,
    kSecret = 1105,
    kNote = 1106,
    kEditNumber = 1250,
    kEditFlag = 1251,
};

// A page without a session around it: the view's actions go to the page itself.
PageActions DirectActions(CPageBase& page)
{
    PageActions a;
    a.command = [&page](int id) { page.OnCommand(id); };
    a.clickCell = [&page](int listId, int row, int col) {
        if (page.OnCellClicked(listId, row, col)) page.NotifyChanged(listId);
    };
    a.commitRow = [&page](const RowEdit& edit) { page.CommitEditRow(edit); };
    return a;
}

constexpr PageInfo kFakeInfo{"CFakePage", 3, nullptr, nullptr, -1, nullptr, "%DUMP_FAKE\r", nullptr, 0, 0, nullptr};

// A page with one control of the common kinds; its save writes one line per value.
class CFakePage : public CPageBase {
public:
    explicit CFakePage(PageContext& ctx) : CPageBase(ctx, kFakeInfo)
    {
        fields_ = {
            {.id = ctl::kFrame, .kind = FieldKind::Label, .caption = Fixed("Fake page")},
            {.id = kName,
             .kind = FieldKind::Text,
             .caption = Fixed("Name"),
             .write = {.format = "%%NAME%s\r"},
             .maxLength = 8},
            {.id = kEnabled, .kind = FieldKind::Check, .caption = Fixed("Enabled"), .write = {.format = "%%EN%d\r"}},
            {.id = kMode,
             .kind = FieldKind::Combo,
             .caption = Fixed("Mode"),
             .items = {Fixed("off"), Fixed("on"), Fixed("auto")}},
            {.id = kSpeed,
             .kind = FieldKind::EditableCombo,
             .caption = Fixed("Speed"),
             .items = {Fixed("10"), Fixed("20")}},
            {.id = kSecret, .kind = FieldKind::Text, .visible = false},
            {.id = kNote, .kind = FieldKind::Label, .caption = Fixed("A note")},
            {.id = ctl::kList,
             .kind = FieldKind::List,
             .columns = {{Fixed("No."), 40, false, ColumnKind::Label}, {Fixed("Number"), 120, true, ColumnKind::Text}},
             .rows = 3},
            MakeButton(ctl::kReload, {}, "Reload"),
            MakeButton(ctl::kSave, Fixed("Save")),
            MakeButton(4002, Fixed("Edit"), "", ctl::kEditRow),
        };
        editors_ = {RowEditorDecl{ctl::kList,
                                  Fixed("Edit row"),
                                  {{.id = kEditNumber, .kind = FieldKind::Text, .caption = Fixed("Number")},
                                   {.id = kEditFlag, .kind = FieldKind::Check, .caption = Fixed("Flag")}}}};
        SetDecl({.fields = fields_, .editors = editors_, .framed = false});
    }
    bool BeginEditRow(int listId, int row, RowEdit& edit) override
    {
        if (listId != ctl::kList || row < 0 || row >= 3) return false;
        edit.listId = listId;
        edit.row = row;
        edit.values[kEditNumber].text = CellText(listId, row, 1);
        return true;
    }
    void CommitEditRow(const RowEdit& edit) override
    {
        commits.push_back(edit);
        SetCell(edit.listId, edit.row, 1, edit.values.at(kEditNumber).text);
    }
    bool OnCellClicked(int listId, int row, int col) override
    {
        clicks.push_back({listId, row, col});
        return false;
    }
    std::vector<RowEdit> commits;
    std::vector<std::vector<int>> clicks;

private:
    std::vector<FieldDecl> fields_;
    std::vector<RowEditorDecl> editors_;
};

struct Rig {
    Millis now = 0;
    std::vector<std::string> written;
    CSequencer seq{[this](std::string_view b) {
                       written.emplace_back(b);
                       return true;
                   },
                   [this] { return now; }};
    PageContext ctx;
    std::unique_ptr<CFakePage> page;
    std::unique_ptr<CPageView> view;
    Rig()
    {
        ctx.sequencer = &seq;
        page = std::make_unique<CFakePage>(ctx);
        view = std::make_unique<CPageView>(*page, DirectActions(*page));
        page->SetLoaded(true);  // as if the unit had reported the page
        view->Refresh();
    }
    template <class W> W* Get(int id) { return qobject_cast<W*>(view->Control(id)); }
};

}  // namespace

class TestPageView : public QObject {
    Q_OBJECT
private slots:
    void controlsFollowDeclarations()
    {
        Rig rig;
        QCOMPARE(rig.view->Title(), QStringLiteral("Fake page"));
        QVERIFY(rig.Get<QLineEdit>(kName));
        QCOMPARE(rig.Get<QLineEdit>(kName)->maxLength(), 8);
        QCOMPARE(rig.Get<QCheckBox>(kEnabled)->text(), QStringLiteral("Enabled"));
        QCOMPARE(rig.Get<QComboBox>(kMode)->count(), 3);
        QCOMPARE(rig.Get<QComboBox>(kMode)->currentIndex(), -1);  // nothing chosen yet
        QVERIFY(rig.Get<QComboBox>(kSpeed)->isEditable());
        QVERIFY(!rig.view->Control(kSecret));  // hidden: model only
        QCOMPARE(rig.Get<QLabel>(kNote)->text(), QStringLiteral("A note"));
        auto* table = rig.Get<QTableWidget>(ctl::kList);
        QCOMPARE(table->rowCount(), 3);
        QCOMPARE(table->horizontalHeaderItem(1)->text(), QStringLiteral("Number"));
        QCOMPARE(table->item(2, 0)->text(), QStringLiteral("2"));
        auto* reload = rig.Get<QPushButton>(ctl::kReload);
        QCOMPARE(reload->toolTip(), QStringLiteral("Reload"));
        QVERIFY(!reload->icon().isNull());
        QVERIFY(!rig.Get<QPushButton>(ctl::kSave)->icon().isNull());
    }

    void userEditsReachTheModel()
    {
        Rig rig;
        QTest::keyClicks(rig.Get<QLineEdit>(kName), "abc");
        QCOMPARE(rig.page->Text(kName), std::string("abc"));
        QTest::mouseClick(rig.Get<QCheckBox>(kEnabled), Qt::LeftButton);
        QCOMPARE(rig.page->Check(kEnabled), 1);
        auto* mode = rig.Get<QComboBox>(kMode);
        emit mode->activated(2);
        QCOMPARE(rig.page->Sel(kMode), 2);
        rig.Get<QComboBox>(kSpeed)->setEditText("33");
        QCOMPARE(rig.page->Text(kSpeed), std::string("33"));
        // The save builds its lines from what was typed.
        QTest::mouseClick(rig.Get<QPushButton>(ctl::kSave), Qt::LeftButton);
        QVERIFY(!rig.written.empty());
        QCOMPARE(rig.written.front(), std::string("%NAMEabc\r"));
    }

    void modelChangesReachTheWidgets()
    {
        Rig rig;
        for (int i = 0; i < 50; ++i) rig.page->SetText(kName, "v" + std::to_string(i));  // a reload's burst
        rig.page->SetCheck(kEnabled, 1);
        rig.page->SetSel(kMode, 1);
        rig.page->SetText(kSpeed, "20");
        rig.page->SetCell(ctl::kList, 1, 1, "+49170");
        rig.page->SetText(kSecret, "kept");
        QTRY_COMPARE(rig.Get<QLineEdit>(kName)->text(), QStringLiteral("v49"));
        QVERIFY(rig.Get<QCheckBox>(kEnabled)->isChecked());
        QCOMPARE(rig.Get<QComboBox>(kMode)->currentIndex(), 1);
        QCOMPARE(rig.Get<QComboBox>(kSpeed)->currentText(), QStringLiteral("20"));
        QCOMPARE(rig.Get<QTableWidget>(ctl::kList)->item(1, 1)->text(), QStringLiteral("+49170"));
        // A selection that names no item shows none; a clear empties everything.
        rig.page->SetSel(kMode, 7);
        rig.page->ClearFields();
        QTRY_COMPARE(rig.Get<QLineEdit>(kName)->text(), QString());
        QCOMPARE(rig.Get<QComboBox>(kMode)->currentIndex(), -1);
        QCOMPARE(rig.Get<QTableWidget>(ctl::kList)->item(1, 1)->text(), QString());
        QCOMPARE(rig.Get<QTableWidget>(ctl::kList)->item(1, 0)->text(), QStringLiteral("1"));
    }

    void rowEditorEditsTheSelectedRow_data()
    {
        QTest::addColumn<bool>("accept");
        QTest::addColumn<bool>("viaButton");
        QTest::newRow("double-click, OK") << true << false;
        QTest::newRow("Edit button, OK") << true << true;
        QTest::newRow("cancel") << false << false;
    }
    void rowEditorEditsTheSelectedRow()
    {
        QFETCH(bool, accept);
        QFETCH(bool, viaButton);
        Rig rig;
        rig.page->SetCell(ctl::kList, 2, 1, "old");
        rig.view->Refresh();
        QString shown;
        rig.view->runDialog = [&](QDialog& d) {
            auto& dlg = static_cast<CRowEditorDlg&>(d);
            auto* edit = qobject_cast<QLineEdit*>(dlg.Control(kEditNumber));
            shown = edit->text();
            edit->setText("new");
            qobject_cast<QCheckBox*>(dlg.Control(kEditFlag))->setChecked(true);
            return accept ? QDialog::Accepted : QDialog::Rejected;
        };
        auto* table = rig.Get<QTableWidget>(ctl::kList);
        if (viaButton) {
            table->setCurrentCell(2, 1);
            QTest::mouseClick(rig.Get<QPushButton>(4002), Qt::LeftButton);
        } else {
            emit table->cellDoubleClicked(2, 1);
        }
        QCOMPARE(shown, QStringLiteral("old"));
        QCOMPARE(rig.page->commits.size(), std::size_t(accept ? 1 : 0));
        if (!accept) return;
        const RowEdit& e = rig.page->commits.front();
        QCOMPARE(e.row, 2);
        QCOMPARE(e.values.at(kEditNumber).text, std::string("new"));
        QCOMPARE(e.values.at(kEditFlag).check, 1);
        QTRY_COMPARE(table->item(2, 1)->text(), QStringLiteral("new"));
    }

    void cellClickReachesThePage()
    {
        Rig rig;
        emit rig.Get<QTableWidget>(ctl::kList)->cellClicked(1, 1);
        QCOMPARE(rig.page->clicks.size(), std::size_t(1));
        QCOMPARE(rig.page->clicks.front(), (std::vector<int>{ctl::kList, 1, 1}));
    }

    void busySignalDisablesSaveAndTable()
    {
        Rig rig;
        rig.view->SetPageButtonsEnabled(false);
        QVERIFY(!rig.Get<QPushButton>(ctl::kSave)->isEnabled());
        QVERIFY(!rig.Get<QTableWidget>(ctl::kList)->isEnabled());
        QVERIFY(rig.Get<QPushButton>(ctl::kReload)->isEnabled());  // not one of the busy controls
        QVERIFY(rig.Get<QLineEdit>(kName)->isEnabled());
        rig.view->SetPageButtonsEnabled(true);
        QVERIFY(rig.Get<QPushButton>(ctl::kSave)->isEnabled());
        QVERIFY(rig.Get<QTableWidget>(ctl::kList)->isEnabled());
    }

    // A page added through the registry alone is shown with a widget for each declared kind,
    // and what is typed, chosen or clicked in it reaches the unit.
    void dummyPageIsShownFromItsDeclaration()
    {
        RegisterCustomWidget("bits", [](CPageBase&, const FieldDecl&, QWidget* parent) {
            auto* w = new QLabel(parent);
            w->setObjectName("bitsWidget");
            return w;
        });
        Millis now = 0;
        std::string wire;
        const std::vector<PageInfo> registry = test::DummyPage::Registry();
        CSession session(
            [&](std::string_view b) {
                wire += b;
                return true;
            },
            [&] { return now; }, nullptr, registry);
        CPageBase& page = *session.Page(PageId::Battery);
        CPageView view(page, CPageView::SessionActions(session, page.ClassName()));
        using D = test::DummyPage;

        session.HandleReceive("$POWDLY 30\r\n$BATEN 1\r\n");
        page.SetLoaded(true);  // as if its reload had finished
        view.Refresh();
        auto* delay = qobject_cast<CTextSpinBox*>(view.Control(D::kDelay));
        QVERIFY(delay);
        QCOMPARE(delay->text(), QStringLiteral("30"));
        QCOMPARE(delay->Maximum(), D::kDelayMax);
        QVERIFY(qobject_cast<QCheckBox*>(view.Control(D::kEnable))->isChecked());
        auto* level = qobject_cast<QLineEdit*>(view.Control(D::kLevel));
        QCOMPARE(level->maxLength(), 5);
        QTest::keyClicks(level, "12ab3");
        QCOMPARE(page.TextOf(D::kLevel), std::string("12ab3"));  // the digits it expects are a hint, not a block
        QVERIFY(!level->toolTip().isEmpty());
        auto* box = qobject_cast<QGroupBox*>(view.Control(D::kExtra));
        QVERIFY(box);
        QCOMPARE(box->title(), QStringLiteral("Extra"));
        QVERIFY(box->isAncestorOf(view.Control(D::kMode)));
        QVERIFY(box->isAncestorOf(view.Control(D::kNote)));
        QVERIFY(qobject_cast<QPlainTextEdit*>(view.Control(D::kNote)));
        QVERIFY(qobject_cast<QLineEdit*>(view.Control(D::kReading))->isReadOnly());
        QCOMPARE(view.Control(D::kBits)->objectName(), QStringLiteral("ctl1008"));
        QVERIFY(qobject_cast<QLabel*>(view.Control(D::kBits)));
        // Captions sit with their inputs.
        auto* caption = view.findChild<QLabel*>("ctl1003_caption");
        QVERIFY(caption);
        QCOMPARE(caption->text(), QStringLiteral("Level"));
        QCOMPARE(caption->buddy(), view.Control(D::kLevel));

        view.findChild<QRadioButton*>("ctl1005_1")->click();
        QCOMPARE(page.ValueOf(D::kMode).sel, 1);
        delay->stepBy(2);
        QCOMPARE(page.TextOf(D::kDelay), std::string("32"));
        wire.clear();
        qobject_cast<QCheckBox*>(view.Control(D::kPing))->click();
        QCOMPARE(wire, std::string("%BATPING1\r"));
        session.HandleReceive("CMD OK\r\n");  // the unit is free again: the save may go
        wire.clear();
        qobject_cast<QPushButton*>(view.Control(ctl::kSave))->click();
        for (int guard = 0; guard < 100 && !session.SenderIdle(); ++guard) session.HandleReceive("CMD OK\r\n");
        QCOMPARE(wire, std::string(
                           "%STARTCMD\r%POWDLY32\r%BATEN1\r%POWLS12ab3\r%BATMODE1\r%BATNOTE\r%COMMITCMD\r%DUMP_GPIO\r"));
        QVERIFY(view.grab().save(QStringLiteral(SHELL_TEST_OUTPUT_DIR "/rtuconfig-dummy-page.png")));
    }

    // The spin buttons, several-line edits and group box of the tool's pages, and the
    // analog message header box that tells the unit at once.
    void toolPagesGetTheirWidgets()
    {
        Millis now = 0;
        std::string wire;
        CSession session(
            [&](std::string_view b) {
                wire += b;
                return true;
            },
            [&] { return now; }, nullptr);
        CPageView main(*session.Page(PageId::MainParams),
                       CPageView::SessionActions(session, session.Page(PageId::MainParams)->ClassName()));
        auto* spin = qobject_cast<CTextSpinBox*>(main.Control(CPageMainParams::kSignalLow));
        QVERIFY(spin);
        QCOMPARE(spin->Minimum(), 0);
        QCOMPARE(spin->Maximum(), CPageMainParams::kSignalLowMax);
        QVERIFY(qobject_cast<QPlainTextEdit*>(main.Control(CPageMainParams::kDescription)));

        CPageView alarm(*session.Page(PageId::AlarmParams),
                        CPageView::SessionActions(session, session.Page(PageId::AlarmParams)->ClassName()));
        for (int id : {CPageAlarmParams::kRepeats, CPageAlarmParams::kEntryDelay, CPageAlarmParams::kExitDelay})
            QVERIFY(qobject_cast<CTextSpinBox*>(alarm.Control(id)));
        auto* reports = qobject_cast<QGroupBox*>(alarm.Control(CPageAlarmParams::kReports));
        QVERIFY(reports);
        QVERIFY(reports->isAncestorOf(alarm.Control(CPageAlarmParams::kDropId)));
        QVERIFY(!reports->isAncestorOf(alarm.Control(CPageAlarmParams::kAlarmRing)));

        CPageView adSms(*session.Page(PageId::ADSms),
                        CPageView::SessionActions(session, session.Page(PageId::ADSms)->ClassName()));
        wire.clear();
        qobject_cast<QCheckBox*>(adSms.Control(texttables::kHeaderCheck))->click();
        QCOMPARE(wire, std::string("%adsmsheaden1\r"));
    }

    // Every secret of every page is shown masked; the sweep also counts them.
    void secretsAreMaskedOnEveryPage()
    {
        CSession session([](std::string_view) { return true; }, [] { return Millis{0}; }, nullptr);
        int secrets = 0;
        for (const auto& page : session.Pages())
            for (const FieldDecl& f : page->Fields()) {
                if (!f.secret) continue;
                ++secrets;
                CPageView view(*page, CPageView::SessionActions(session, page->ClassName()));
                auto* edit = qobject_cast<QLineEdit*>(view.Control(f.id));
                QVERIFY2(edit, page->ClassName());
                QCOMPARE(edit->echoMode(), QLineEdit::PasswordEchoOnEdit);
            }
        QCOMPARE(secrets, 7);  // PIN, PUK, GPRS, 3G, SMTP, MMS and HTTP POST passwords
    }

    // Every row editor of every page can be confirmed and left by a button (not by Escape
    // only), whatever buttons its declaration brings.
    void everyRowEditorHasOkAndCancel()
    {
        CSession session([](std::string_view) { return true; }, [] { return Millis{0}; }, nullptr);
        int editors = 0;
        for (const auto& page : session.Pages())
            for (const RowEditorDecl& decl : page->RowEditors()) {
                ++editors;
                CRowEditorDlg dlg(*page, decl, RowEdit{});
                auto* box = dlg.findChild<QDialogButtonBox*>();
                QVERIFY2(box, page->ClassName());
                int ok = 0, cancel = 0;
                for (QAbstractButton* b : box->buttons()) {
                    ok += box->buttonRole(b) == QDialogButtonBox::AcceptRole;
                    cancel += box->buttonRole(b) == QDialogButtonBox::RejectRole;
                }
                QVERIFY2(ok == 1 && cancel == 1, page->ClassName());
            }
        QVERIFY(editors > 15);
    }

    void viewLeavesThePageCleanly()
    {
        Rig rig;
        rig.view.reset();
        rig.page->SetText(kName, "after");  // no listener of the gone view is called
        QCOMPARE(rig.page->Text(kName), std::string("after"));
    }
};

std::unique_ptr<QObject> MakePageViewTest() { return std::make_unique<TestPageView>(); }

#include "test_page_view.moc"
