#include "shell/PageView.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QStyle>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

#include "shell/RowEditorDlg.h"

using rtu::FieldDecl;
using rtu::FieldKind;

namespace {

constexpr int kEditMinWidth = 220;    // edits and drop-downs of a form
constexpr int kEditMaxWidth = 560;    // a form stays readable on a wide window
constexpr int kTableMinHeight = 180;  // a table keeps at least this much room

QString ControlName(int id) { return QStringLiteral("ctl%1").arg(id); }

bool IsReloadButton(const FieldDecl& f)
{
    return f.command == rtu::ctl::kReload || f.id == rtu::ctl::kReload || f.tooltip == "Reload";
}

bool IsSaveButton(const FieldDecl& f) { return f.id == rtu::ctl::kSave || f.command == rtu::ctl::kSave; }

}  // namespace

QString ResolveText(const rtu::CPageBase& page, const rtu::TextRef& ref)
{
    std::string text = page.Resolve(ref);
    if (text.empty()) text = ref.text;  // the declaration's own text stands in for a missing catalog text
    return QString::fromStdString(text);
}

CPageView::CPageView(rtu::CPageBase& page, QWidget* parent) : QWidget(parent), page_(page)
{
    setObjectName(QString::fromLatin1(page.ClassName()));
    Build();
    listener_ = page_.AddListener([this](int id) { OnModelChanged(id); });
}

CPageView::~CPageView() { page_.RemoveListener(listener_); }

QString CPageView::Text(const rtu::TextRef& ref) const { return ResolveText(page_, ref); }

QString CPageView::Caption(const FieldDecl& f) const { return Text(f.caption); }

QString CPageView::Title() const { return frame_ ? frame_->title() : QString(); }

void CPageView::Build()
{
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    auto* scroll = new QScrollArea(this);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    outer->addWidget(scroll);

    auto* content = new QWidget;
    auto* contentLayout = new QVBoxLayout(content);
    contentLayout->setContentsMargins(8, 8, 8, 8);
    scroll->setWidget(content);

    // The page frame carries the page title; without one the page's navigation item names it.
    frame_ = new QGroupBox(content);
    frame_->setObjectName(ControlName(rtu::ctl::kFrame));
    QString title;
    for (const FieldDecl& f : page_.Fields())
        if (f.id == rtu::ctl::kFrame) title = Caption(f);
    if (title.isEmpty()) {
        const rtu::PageInfo* info = page_.Info();
        if (info && info->itemKey) title = QString::fromStdString(page_.Tr("TABS", info->itemKey));
    }
    frame_->setTitle(title);
    contentLayout->addWidget(frame_, 1);

    auto* body = new QVBoxLayout(frame_);
    auto* buttonRow = new QHBoxLayout;
    buttonRow->addStretch(1);
    QFormLayout* form = nullptr;
    auto currentForm = [&]() {
        if (!form) {
            form = new QFormLayout;
            form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
            form->setLabelAlignment(Qt::AlignLeft | Qt::AlignVCenter);
            form->setFormAlignment(Qt::AlignLeft | Qt::AlignTop);
            form->setRowWrapPolicy(QFormLayout::DontWrapRows);
            body->addLayout(form);
        }
        return form;
    };

    // A label declared right before a caption-less input names that input: they share a row.
    // A label whose input is hidden goes with it.
    QLabel* pendingLabel = nullptr;
    auto flushLabel = [&]() {
        if (pendingLabel) currentForm()->addRow(pendingLabel);
        pendingLabel = nullptr;
    };
    const auto fields = page_.Fields();
    for (std::size_t n = 0; n < fields.size(); ++n) {
        const FieldDecl& f = fields[n];
        const bool input = f.kind == FieldKind::Text || f.kind == FieldKind::Combo || f.kind == FieldKind::EditableCombo;
        if (f.id == rtu::ctl::kFrame) continue;
        if (!f.visible) {  // hidden controls live in the model only
            if (input && pendingLabel && Caption(f).isEmpty()) {
                delete pendingLabel;
                pendingLabel = nullptr;
            }
            continue;
        }
        QWidget* w = MakeControl(f);
        if (!w) continue;
        w->setObjectName(ControlName(f.id));
        controls_.insert(f.id, w);
        if (f.kind != FieldKind::Label && !(input && Caption(f).isEmpty())) flushLabel();
        switch (f.kind) {
        case FieldKind::Button: buttonRow->addWidget(w); break;
        case FieldKind::List:
            form = nullptr;  // a table ends the current form; fields after it start a new one
            body->addWidget(w, 1);
            break;
        case FieldKind::Label:
            flushLabel();
            pendingLabel = static_cast<QLabel*>(w);
            break;
        case FieldKind::Check: currentForm()->addRow(w); break;
        case FieldKind::Text:
        case FieldKind::Combo:
        case FieldKind::EditableCombo: {
            const QString caption = Caption(f);
            QLabel* label = pendingLabel;
            pendingLabel = nullptr;
            if (!caption.isEmpty()) label = new QLabel(caption, frame_);
            if (label) {
                label->setWordWrap(false);
                label->setBuddy(w);
                currentForm()->addRow(label, w);
            } else {
                currentForm()->addRow(QString(), w);
            }
            break;
        }
        }
    }
    flushLabel();
    bool hasTable = false;
    for (const FieldDecl& f : page_.Fields()) hasTable = hasTable || (f.kind == FieldKind::List && f.visible);
    if (!hasTable) body->addStretch(1);
    body->addLayout(buttonRow);
    dirtyAll_ = true;
    Refresh();
}

QWidget* CPageView::MakeControl(const FieldDecl& f)
{
    const int id = f.id;
    switch (f.kind) {
    case FieldKind::Label: {
        auto* l = new QLabel(Caption(f), frame_);
        l->setWordWrap(true);
        return l;
    }
    case FieldKind::Text: {
        auto* e = new QLineEdit(frame_);
        e->setMinimumWidth(kEditMinWidth);
        e->setMaximumWidth(kEditMaxWidth);
        if (f.maxLength > 0) e->setMaxLength(f.maxLength);
        e->setReadOnly(f.readOnly);
        connect(e, &QLineEdit::textEdited, this, [this, id](const QString& t) { page_.Text(id) = t.toStdString(); });
        return e;
    }
    case FieldKind::Check: {
        auto* c = new QCheckBox(Caption(f), frame_);
        c->setEnabled(!f.readOnly);
        connect(c, &QCheckBox::clicked, this, [this, id](bool on) { page_.Check(id) = on ? 1 : 0; });
        return c;
    }
    case FieldKind::Combo:
    case FieldKind::EditableCombo: {
        auto* c = new QComboBox(frame_);
        c->setMinimumWidth(kEditMinWidth);
        c->setMaximumWidth(kEditMaxWidth);
        c->setSizeAdjustPolicy(QComboBox::AdjustToContents);
        for (const rtu::TextRef& item : f.items) c->addItem(Text(item));
        if (f.kind == FieldKind::EditableCombo) {
            c->setEditable(true);
            c->setInsertPolicy(QComboBox::NoInsert);
            connect(c, &QComboBox::editTextChanged, this,
                    [this, id](const QString& t) { page_.Text(id) = t.toStdString(); });
        } else {
            connect(c, &QComboBox::activated, this, [this, id](int index) { page_.Sel(id) = index; });
        }
        c->setEnabled(!f.readOnly);
        return c;
    }
    case FieldKind::List: return MakeTable(f);
    case FieldKind::Button: {
        auto* b = new QPushButton(Caption(f), frame_);
        if (!f.tooltip.empty()) b->setToolTip(QString::fromStdString(f.tooltip));
        if (IsReloadButton(f)) {
            b->setIcon(style()->standardIcon(QStyle::SP_BrowserReload));
            if (b->toolTip().isEmpty()) b->setToolTip(QStringLiteral("Reload"));
        } else if (IsSaveButton(f)) {
            b->setIcon(style()->standardIcon(QStyle::SP_DialogSaveButton));
        }
        b->setAutoDefault(false);
        const int command = f.command ? f.command : f.id;
        connect(b, &QPushButton::clicked, this, [this, command] { RunCommand(command); });
        return b;
    }
    }
    return nullptr;
}

QTableWidget* CPageView::MakeTable(const FieldDecl& f)
{
    const int columns = std::max<int>(1, static_cast<int>(f.columns.size()));
    auto* t = new QTableWidget(f.rows, columns, frame_);
    QStringList titles;
    for (int c = 0; c < columns; ++c) {
        if (c < static_cast<int>(f.columns.size())) {
            titles << Text(f.columns[static_cast<std::size_t>(c)].title);
            t->setColumnWidth(c, f.columns[static_cast<std::size_t>(c)].width);
        } else {
            titles << QString();
        }
    }
    t->setHorizontalHeaderLabels(titles);
    t->horizontalHeader()->setStretchLastSection(true);
    t->verticalHeader()->setVisible(false);
    t->setSelectionBehavior(QAbstractItemView::SelectRows);
    t->setSelectionMode(QAbstractItemView::SingleSelection);
    t->setEditTriggers(QAbstractItemView::NoEditTriggers);
    t->setAlternatingRowColors(true);
    t->setMinimumHeight(kTableMinHeight);
    t->setWordWrap(false);
    const int listId = f.id;
    connect(t, &QTableWidget::cellClicked, this, [this, listId](int row, int col) {
        if (page_.OnCellClicked(listId, row, col)) {
            page_.NotifyChanged(listId);
            emit coreCalled();
        }
    });
    connect(t, &QTableWidget::cellDoubleClicked, this, [this, listId](int row, int) { EditRow(listId, row); });
    return t;
}

void CPageView::OnModelChanged(int id)
{
    if (id == rtu::CPageBase::kChangedAll) dirtyAll_ = true;
    else dirty_.insert(id);
    if (refreshQueued_) return;
    refreshQueued_ = true;
    // A reload reports many values in a row: show them in one pass when the loop is free.
    QTimer::singleShot(0, this, [this] { Refresh(); });
}

void CPageView::Refresh()
{
    refreshQueued_ = false;
    for (const FieldDecl& f : page_.Fields())
        if (dirtyAll_ || dirty_.contains(f.id)) ApplyValue(f);
    dirty_.clear();
    dirtyAll_ = false;
}

void CPageView::ApplyValue(const FieldDecl& f)
{
    QWidget* w = controls_.value(f.id, nullptr);
    if (!w) return;
    const rtu::FieldValue& v = page_.ValueOf(f.id);
    const QSignalBlocker block(w);
    switch (f.kind) {
    case FieldKind::Text: {
        auto* e = static_cast<QLineEdit*>(w);
        const QString text = QString::fromStdString(v.text);
        if (e->text() != text) e->setText(text);
        break;
    }
    case FieldKind::Check: static_cast<QCheckBox*>(w)->setChecked(v.check != 0); break;
    case FieldKind::Combo: {
        auto* c = static_cast<QComboBox*>(w);
        c->setCurrentIndex(v.sel >= 0 && v.sel < c->count() ? v.sel : -1);
        break;
    }
    case FieldKind::EditableCombo: {
        auto* c = static_cast<QComboBox*>(w);
        const QString text = QString::fromStdString(v.text);
        if (c->currentText() != text) c->setEditText(text);
        break;
    }
    case FieldKind::List: ApplyTable(f, static_cast<QTableWidget*>(w)); break;
    case FieldKind::Label:
    case FieldKind::Button: break;
    }
}

void CPageView::ApplyTable(const FieldDecl& f, QTableWidget* t)
{
    const rtu::FieldValue& v = page_.ValueOf(f.id);
    const int rows = std::max<int>(f.rows, static_cast<int>(v.cells.size()));
    if (t->rowCount() != rows) t->setRowCount(rows);
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < t->columnCount(); ++c) {
            const QString text = QString::fromStdString(page_.CellText(f.id, r, c));
            QTableWidgetItem* item = t->item(r, c);
            if (!item) {
                item = new QTableWidgetItem(text);
                if (c == 0) item->setTextAlignment(Qt::AlignCenter);
                t->setItem(r, c, item);
            } else if (item->text() != text) {
                item->setText(text);
            }
        }
    }
}

void CPageView::SetPageButtonsEnabled(bool on)
{
    for (int id : kBusyIds)
        if (QWidget* w = Control(id)) w->setEnabled(on);
}

int CPageView::ListRowFor(int listId) const
{
    auto* t = qobject_cast<QTableWidget*>(Control(listId));
    return t ? t->currentRow() : -1;
}

void CPageView::RunCommand(int id)
{
    if (id == rtu::ctl::kEditRow) {
        // Edit the selected row of the first table that has an editor.
        for (const rtu::RowEditorDecl& decl : page_.RowEditors()) {
            EditRow(decl.listId, ListRowFor(decl.listId));
            return;
        }
    }
    page_.OnCommand(id);
    emit coreCalled();
}

void CPageView::EditRow(int listId, int row)
{
    const rtu::RowEditorDecl* decl = nullptr;
    for (const rtu::RowEditorDecl& d : page_.RowEditors())
        if (d.listId == listId) decl = &d;
    if (!decl || row < 0) return;
    rtu::RowEdit edit;
    if (!page_.BeginEditRow(listId, row, edit)) return;
    CRowEditorDlg dlg(page_, *decl, edit, this);
    const int result = runDialog ? runDialog(dlg) : dlg.exec();
    if (result != QDialog::Accepted) return;
    page_.CommitEditRow(dlg.Result());
    emit coreCalled();
}
