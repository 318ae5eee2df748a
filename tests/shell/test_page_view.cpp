// The generated page view over a small page model: controls by kind, edits into the model,
// model changes into the widgets, tables, the row editor, cell clicks and the busy signal.
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

#include <memory>
#include <string>
#include <vector>

#include "link/Sequencer.h"
#include "shell/PageView.h"
#include "shell/RowEditorDlg.h"

using namespace rtu;

namespace {

enum Id {
    kName = 1101, kEnabled = 1102, kMode = 1103, kSpeed = 1104, kSecret = 1105, kNote = 1106,
    kEditNumber = 1250, kEditFlag = 1251,
};

FieldDecl Field(int id, FieldKind kind, const char* caption, int command = 0)
{
    FieldDecl f;
    f.id = id;
    f.kind = kind;
    f.caption.text = caption;
    f.command = command;
    return f;
}

// A page with one control of every kind; its save writes one line per value.
class CFakePage : public CPageBase {
public:
    explicit CFakePage(PageContext& ctx) : CPageBase(ctx)
    {
        fields_.push_back(Field(ctl::kFrame, FieldKind::Label, "Fake page"));
        fields_.push_back(Field(kName, FieldKind::Text, "Name"));
        fields_.back().maxLength = 8;
        fields_.push_back(Field(kEnabled, FieldKind::Check, "Enabled"));
        fields_.push_back(Field(kMode, FieldKind::Combo, "Mode"));
        fields_.back().items = {{"", "", "off"}, {"", "", "on"}, {"", "", "auto"}};
        fields_.push_back(Field(kSpeed, FieldKind::EditableCombo, "Speed"));
        fields_.back().items = {{"", "", "10"}, {"", "", "20"}};
        fields_.push_back(Field(kSecret, FieldKind::Text, ""));
        fields_.back().visible = false;
        fields_.push_back(Field(kNote, FieldKind::Label, "A note"));
        fields_.push_back(Field(ctl::kList, FieldKind::List, ""));
        fields_.back().columns = {{{"", "", "No."}, 40, false}, {{"", "", "Number"}, 120, true}};
        fields_.back().rows = 3;
        fields_.push_back(Field(ctl::kReload, FieldKind::Button, "", ctl::kReload));
        fields_.back().tooltip = "Reload";
        fields_.push_back(Field(ctl::kSave, FieldKind::Button, "Save", ctl::kSave));
        fields_.push_back(Field(4002, FieldKind::Button, "Edit", ctl::kEditRow));
        const FieldDecl number = Field(kEditNumber, FieldKind::Text, "Number");
        const FieldDecl flag = Field(kEditFlag, FieldKind::Check, "Flag");
        editors_ = {RowEditorDecl{ctl::kList, {"", "", "Edit row"}, {number, flag}}};
    }
    const char* ClassName() const override { return "CFakePage"; }
    std::span<const FieldDecl> Fields() const override { return fields_; }
    std::span<const RowEditorDecl> RowEditors() const override { return editors_; }
    void SaveParams(bool toProfile, CProfileWriter* file) override
    {
        EmitCommand(toProfile, "%NAME" + Text(kName) + "\r", file);
        EmitCommand(toProfile, "%EN" + std::to_string(Check(kEnabled)) + "\r", file);
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
    CSequencer seq{[this](std::string_view b) { written.emplace_back(b); return true; }, [this] { return now; }};
    PageContext ctx;
    std::unique_ptr<CFakePage> page;
    std::unique_ptr<CPageView> view;
    Rig()
    {
        ctx.sequencer = &seq;
        page = std::make_unique<CFakePage>(ctx);
        view = std::make_unique<CPageView>(*page);
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
