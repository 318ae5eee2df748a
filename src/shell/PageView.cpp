#include "shell/PageView.h"

#include "session/Session.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollArea>
#include <QStyle>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

#include "pages/framework/FieldCheck.h"
#include "shell/FieldMarks.h"
#include "shell/PageWidgets.h"
#include "shell/RowEditorDlg.h"

using rtu::FieldDecl;
using rtu::FieldKind;

namespace {

QString ControlName(int id) { return QStringLiteral("ctl%1").arg(id); }

constexpr int kSharedComboChars = 10;  // a drop-down that shares its row shows this many characters

bool IsReloadButton(const FieldDecl& f)
{
    return f.command == rtu::ctl::kReload || f.id == rtu::ctl::kReload || f.tooltip == "Reload";
}

bool IsSaveButton(const FieldDecl& f) { return f.id == rtu::ctl::kSave || f.command == rtu::ctl::kSave; }

// A button that writes the page's values: it needs the page read and the unit free.
bool WritesPage(const FieldDecl& f)
{
    const int command = f.command ? f.command : f.id;
    for (int id : {rtu::ctl::kSave0, rtu::ctl::kSave1, rtu::ctl::kSave, rtu::ctl::kEditRow})
        if (command == id || f.id == id) return true;
    return false;
}

// Where rows go: the page frame or a group box, each a column with a form of its own.
struct Container {
    QVBoxLayout* layout = nullptr;
    QFormLayout* form = nullptr;
    QHBoxLayout* row = nullptr;       // the last captioned row: inputs of the same caption join it
    int rowCaption = 0;               // its caption label's id
    QWidget* rowInput = nullptr;      // the input that ends it (a unit label may follow)
    QFormLayout* Form()
    {
        row = nullptr;
        rowInput = nullptr;
        if (!form) {
            form = new QFormLayout;
            form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
            form->setLabelAlignment(Qt::AlignLeft | Qt::AlignVCenter);
            form->setFormAlignment(Qt::AlignLeft | Qt::AlignTop);
            form->setRowWrapPolicy(QFormLayout::DontWrapRows);
            layout->addLayout(form);
        }
        return form;
    }
};

}  // namespace

QString ResolveText(const rtu::CPageBase& page, const rtu::TextRef& ref)
{
    std::string text = page.Resolve(ref);
    if (text.empty()) text = ref.text;  // the declaration's own text stands in for a missing catalog text
    return QString::fromStdString(text);
}

PageActions CPageView::SessionActions(rtu::CSession& session, std::string page)
{
    PageActions a;
    a.command = [&session, page](int id) { session.PageCommand(page, id); };
    a.clickCell = [&session, page](int listId, int row, int col) { session.ClickCell(page, listId, row, col); };
    a.commitRow = [&session, page](const rtu::RowEdit& edit) { session.EditRow(page, edit); };
    return a;
}

CPageView::CPageView(rtu::CPageBase& page, PageActions actions, QWidget* parent)
    : QWidget(parent), page_(page), actions_(std::move(actions))
{
    setObjectName(QString::fromLatin1(page.ClassName()));
    Build();
    listener_ = page_.AddListener([this](int id) { OnModelChanged(id); });
}

CPageView::~CPageView() { page_.RemoveListener(listener_); }

QString CPageView::Caption(const FieldDecl& f) const { return ResolveText(page_, f.caption); }

QString CPageView::Title() const { return title_; }

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
    if (const FieldDecl* f = page_.FindField(rtu::ctl::kFrame)) title = Caption(*f);
    // Else a label that opens the page is its title.
    const FieldDecl* opening = page_.Fields().empty() ? nullptr : &page_.Fields().front();
    if (title.isEmpty() && opening && opening->kind == FieldKind::Label && opening->visible && !opening->note &&
        opening->group == 0)
        title = Caption(*opening);
    if (title.isEmpty() && page_.Info()->itemKey)
        title = QString::fromStdString(page_.Tr("TABS", page_.Info()->itemKey));
    title_ = title;
    frame_->setTitle(title);
    contentLayout->addWidget(frame_, 1);

    QHash<int, Container> containers;
    containers[0].layout = new QVBoxLayout(frame_);
    auto* buttonRow = new QHBoxLayout;
    buttonRow->addStretch(1);
    bool hasTable = false;
    QLabel* pendingCaption = nullptr;  // a label shown last, waiting for the control it names
    auto changed = [this](int id, bool act) {
        if (applying_) return;  // a value shown from the model, not typed
        refused_.remove(id);    // an edited value is the user's again
        if (!act) {
            page_.MarkEdited();
            UpdateWriteState();
        }
        UpdateMarks();
        if (act) actions_.command(id);  // a box that acts at once
        emit coreCalled();
    };

    // A label that names a control is shown as that control's caption, never on its own.
    QSet<int> captionLabels;
    for (const FieldDecl& f : page_.Fields())
        if (f.visible && f.captionId && f.kind != FieldKind::Label) captionLabels.insert(f.captionId);

    for (const FieldDecl& f : page_.Fields()) {
        if (f.id == rtu::ctl::kFrame || !f.visible) continue;  // hidden controls live in the model only
        if (f.kind == FieldKind::Label && (captionLabels.contains(f.id) || Caption(f) == title_)) continue;
        const int id = f.id;
        QWidget* w = f.kind == FieldKind::Button
                         ? MakeButton(f)
                         : pagewidgets::Make(page_, f, frame_, [changed, id](bool act) { changed(id, act); });
        if (!w) continue;
        w->setObjectName(ControlName(f.id));
        controls_.insert(f.id, w);
        Container& in = containers.contains(f.group) ? containers[f.group] : containers[0];
        switch (f.kind) {
        case FieldKind::Button: buttonRow->addWidget(w); break;
        case FieldKind::Group: {
            in.form = nullptr;
            in.layout->addWidget(w);
            containers[f.id].layout = new QVBoxLayout(w);
            break;
        }
        case FieldKind::List:
            if (pendingCaption) pendingCaption->setBuddy(w);  // the table's caption
            ConnectTable(static_cast<QTableWidget*>(w), f.id);
            in.form = nullptr;  // a table ends the current form; rows after it start a new one
            in.layout->addWidget(w, 1);
            hasTable = true;
            break;
        case FieldKind::Label: {
            auto* label = static_cast<QLabel*>(w);
            if (f.note) {
                label->setProperty("note", true);  // explains the page: no control goes with it
            } else if (in.row && in.rowInput) {
                // A unit right after an input ("times", "ms") ends that input's row.
                label->setWordWrap(false);
                label->setBuddy(in.rowInput);
                in.row->addWidget(label);
                in.row->addStretch(1);
                in.rowInput = nullptr;
                break;
            } else {
                pendingCaption = label;  // the caption of the captionless control after it
            }
            in.Form()->addRow(label);
            break;
        }
        case FieldKind::Check:
        case FieldKind::Radio: in.Form()->addRow(w); break;
        default: {
            // Every input carries its own caption; a label that names it stands first.
            const FieldDecl* named = f.captionId ? page_.FindField(f.captionId) : nullptr;
            const QString own = Caption(f);
            const QString caption = named && named->kind == FieldKind::Label ? Caption(*named) : own;
            QWidget* item = w;
            const bool shared = (in.row && f.captionId && f.captionId == in.rowCaption) || (!own.isEmpty() && own != caption);
            if (auto* combo = qobject_cast<QComboBox*>(w); combo && shared) {
                // Several to a row: each as narrow as a short item, the rest shown when it opens.
                combo->setMinimumWidth(0);
                combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
                combo->setMinimumContentsLength(kSharedComboChars);
            }
            if (!own.isEmpty() && own != caption) {
                // Its own caption beside it, within the row of the label that names it.
                auto* ownLabel = new QLabel(own, frame_);
                ownLabel->setBuddy(w);
                item = new QWidget(frame_);
                auto* pair = new QHBoxLayout(item);
                pair->setContentsMargins(0, 0, 0, 0);
                pair->addWidget(ownLabel);
                pair->addWidget(w, 1);
            }
            if (in.row && f.captionId && f.captionId == in.rowCaption) {
                in.row->addWidget(item);  // one caption over several inputs ("from - to", "V G B")
            } else if (caption.isEmpty()) {
                if (pendingCaption) pendingCaption->setBuddy(w);
                in.Form()->addRow(QString(), item);
                in.rowInput = nullptr;
            } else {
                auto* label = new QLabel(caption, frame_);
                label->setObjectName(ControlName(f.captionId ? f.captionId : f.id) + QStringLiteral("_caption"));
                label->setBuddy(w);
                auto* row = new QHBoxLayout;
                row->addWidget(item);
                in.Form()->addRow(label, row);
                in.row = row;
                in.rowCaption = f.captionId;
            }
            in.rowInput = w;
            break;
        }
        }
        if (f.kind != FieldKind::Label) pendingCaption = nullptr;
    }
    if (!hasTable) containers[0].layout->addStretch(1);
    containers[0].layout->addLayout(buttonRow);
    dirtyAll_ = true;
    Refresh();
}

QWidget* CPageView::MakeButton(const FieldDecl& f)
{
    auto* b = new QPushButton(Caption(f), frame_);
    if (!f.tooltip.empty()) b->setToolTip(QString::fromStdString(f.tooltip));
    if (IsReloadButton(f)) {
        b->setIcon(style()->standardIcon(QStyle::SP_BrowserReload));
        if (b->toolTip().isEmpty()) b->setToolTip(QStringLiteral("Reload"));
    } else if (IsSaveButton(f)) {
        b->setIcon(style()->standardIcon(QStyle::SP_DialogSaveButton));
    }
    b->setAutoDefault(false);
    const int id = f.id;
    connect(b, &QPushButton::clicked, this, [this, id] { RunCommand(id); });
    return b;
}

void CPageView::ConnectTable(QTableWidget* t, int listId)
{
    connect(t, &QTableWidget::cellClicked, this, [this, listId](int row, int col) {
        actions_.clickCell(listId, row, col);
        emit coreCalled();
    });
    connect(t, &QTableWidget::cellDoubleClicked, this, [this, listId](int row, int) { EditRow(listId, row); });
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
    applying_ = true;
    for (const FieldDecl& f : page_.Fields()) {
        if (!dirtyAll_ && !dirty_.contains(f.id)) continue;
        if (QWidget* w = controls_.value(f.id, nullptr)) pagewidgets::Apply(page_, f, w);
    }
    applying_ = false;
    dirty_.clear();
    dirtyAll_ = false;
    UpdateMarks();
    UpdateWriteState();
}

void CPageView::UpdateMarks()
{
    for (const FieldDecl& f : page_.Fields()) {
        QWidget* w = controls_.value(f.id, nullptr);
        if (!w || !rtu::HoldsValue(f.kind)) continue;
        // A refusal (the value can't go on its line) first, then the unit's own refusal of a
        // line, then a hint: what the unit may refuse of a value that goes out as it is.
        QString why = QString::fromStdString(rtu::CheckFieldValue(f, page_.ValueOf(f.id)));
        if (why.isEmpty()) why = refused_.value(f.id);
        if (why.isEmpty()) why = QString::fromStdString(rtu::ValueHint(f, page_.ValueOf(f.id).text));
        fieldmarks::Show(w, why);
    }
}

void CPageView::MarkRefused(const QList<int>& ids, const QString& reason)
{
    for (int id : ids) refused_.insert(id, reason);
    UpdateMarks();
}

QString CPageView::ProblemOf(int id) const { return fieldmarks::Reason(Control(id)); }

void CPageView::SetPageButtonsEnabled(bool on)
{
    locked_ = !on;
    UpdateWriteState();
}

void CPageView::SetUnitBusy(bool busy)
{
    unitBusy_ = busy;
    UpdateWriteState();
}

// What may be pressed follows the unit, the page's read state and its own save; the frame
// title marks unsaved edits.
void CPageView::UpdateWriteState()
{
    const bool free = !unitBusy_ && !locked_;
    for (const FieldDecl& f : page_.Fields()) {
        QWidget* w = Control(f.id);
        if (!w || f.readOnly) continue;
        if (f.kind == FieldKind::Button && !IsReloadButton(f))
            w->setEnabled(WritesPage(f) || OpensEditor(&f) ? Writable() : free);
        else if (f.kind == FieldKind::List || (f.kind == FieldKind::Check && f.write.onClick)) w->setEnabled(free);
    }
    const bool edited = page_.Edited();
    if (edited == editedShown_) return;
    editedShown_ = edited;
    frame_->setTitle(edited ? title_ + QStringLiteral(" *") : title_);
    emit editedChanged(edited);
}

bool CPageView::OpensEditor(const FieldDecl* f) const
{
    if (!f || f->kind != FieldKind::Button) return false;
    for (const rtu::RowEditorDecl& decl : page_.RowEditors())
        if (decl.listId == f->id) return true;
    return false;
}

int CPageView::ListRowFor(int listId) const
{
    auto* t = qobject_cast<QTableWidget*>(Control(listId));
    return t ? t->currentRow() : -1;
}

void CPageView::RunCommand(int id)
{
    const FieldDecl* f = page_.FindField(id);
    const int command = f && f->command ? f->command : id;
    if (f && IsReloadButton(*f) && page_.Edited() && confirmReload && !confirmReload()) return;
    if (f && f->kind == FieldKind::Button && !f->confirm.key.empty() && !ConfirmWrite(*f)) return;
    // A button with a row editor of its own (a dialog that is not about a table row) opens it.
    if (OpensEditor(f)) {
        EditRow(id, 0);
        return;
    }
    if (command == rtu::ctl::kEditRow) {
        // Edit the selected row of the first table that has an editor.
        for (const rtu::RowEditorDecl& decl : page_.RowEditors()) {
            EditRow(decl.listId, ListRowFor(decl.listId));
            return;
        }
    }
    actions_.command(id);
    emit coreCalled();
}
// A button that writes to the unit at once says what it does and goes on only on a yes.
bool CPageView::ConfirmWrite(const FieldDecl& f)
{
    const QString question = ResolveText(page_, f.confirm);
    if (confirmWrite) return confirmWrite(question);
    QMessageBox box(QMessageBox::Question, title_, question, QMessageBox::Cancel, this);
    QPushButton* yes = box.addButton(Caption(f), QMessageBox::AcceptRole);
    box.setDefaultButton(QMessageBox::Cancel);  // the safe answer
    box.exec();
    return box.clickedButton() == yes;
}

void CPageView::EditRow(int listId, int row)
{
    const rtu::RowEditorDecl* decl = nullptr;
    for (const rtu::RowEditorDecl& d : page_.RowEditors())
        if (d.listId == listId) decl = &d;
    if (!decl || row < 0 || !Writable()) return;
    rtu::RowEdit edit;
    if (!page_.BeginEditRow(listId, row, edit)) return;
    CRowEditorDlg dlg(page_, *decl, edit, this);
    const int result = runDialog ? runDialog(dlg) : dlg.exec();
    if (result != QDialog::Accepted) return;
    actions_.commitRow(dlg.Result());
    emit coreCalled();
}
