#include "shell/RowEditorDlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

#include "shell/PageView.h"
#include "shell/PageWidgets.h"

namespace {
constexpr int kEditorMinWidth = 260;                             // an editor's inputs
constexpr int kMultiLineHeight = 80;                             // a text of several lines
const char* const kProblemStyle = "color: #b00020;";             // the reason under the inputs
const char* const kInvalidStyle = "border: 1px solid #b00020;";  // a refused input
}  // namespace

using rtu::FieldKind;

CRowEditorDlg::CRowEditorDlg(const rtu::CPageBase& page, const rtu::RowEditorDecl& decl, const rtu::RowEdit& edit,
                             QWidget* parent)
    : QDialog(parent), page_(page), decl_(decl), edit_(edit)
{
    setWindowTitle(edit.title.empty() ? ResolveText(page, decl.title) : QString::fromStdString(edit.title));
    setObjectName("rowEditor");
    auto* outer = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    form->setFieldGrowthPolicy(QFormLayout::ExpandingFieldsGrow);
    outer->addLayout(form);
    auto* buttons = new QDialogButtonBox(this);
    bool hasOk = false;
    bool hasCancel = false;

    for (const rtu::FieldDecl& f : decl.fields) {
        if (!f.visible) continue;
        const QString caption = ResolveText(page, f.caption);
        const auto it = edit_.values.find(f.id);
        const rtu::FieldValue value = it == edit_.values.end() ? rtu::FieldValue{} : it->second;
        QWidget* w = nullptr;
        switch (f.kind) {
        case FieldKind::Label: form->addRow(new QLabel(caption, this)); break;
        case FieldKind::MultiLine: {
            auto* e = new QPlainTextEdit(QString::fromStdString(value.text), this);
            e->selectAll();  // typing replaces the row's value
            e->setMinimumWidth(kEditorMinWidth);
            e->setFixedHeight(kMultiLineHeight);
            w = e;
            break;
        }
        case FieldKind::Number: {
            auto* s = new CTextSpinBox(f.minValue, f.maxValue, this);
            s->SetText(QString::fromStdString(value.text));
            s->selectAll();
            w = s;
            break;
        }
        case FieldKind::Text:
        case FieldKind::Value: {
            auto* e = new QLineEdit(QString::fromStdString(value.text), this);
            if (f.maxLength > 0) e->setMaxLength(f.maxLength);
            e->setReadOnly(f.readOnly || f.kind == FieldKind::Value);
            e->setMinimumWidth(kEditorMinWidth);
            e->selectAll();  // typing replaces the row's value, it is not appended to it
            w = e;
            break;
        }
        case FieldKind::Check: {
            auto* c = new QCheckBox(caption, this);
            c->setChecked(value.check != 0);
            w = c;
            break;
        }
        case FieldKind::Combo:
        case FieldKind::EditableCombo: {
            auto* c = new QComboBox(this);
            for (const rtu::TextRef& item : f.items) c->addItem(ResolveText(page, item));
            if (f.kind == FieldKind::EditableCombo) {
                c->setEditable(true);
                c->setEditText(QString::fromStdString(value.text));
                c->lineEdit()->selectAll();
            } else {
                c->setCurrentIndex(value.sel >= 0 && value.sel < c->count() ? value.sel : -1);
            }
            w = c;
            break;
        }
        case FieldKind::Button: {
            // A declared button confirms or cancels by its command, else by its own id.
            const int command = f.command ? f.command : f.id;
            if (command == kOkCommand) {
                QPushButton* b =
                    buttons->addButton(caption.isEmpty() ? tr("OK") : caption, QDialogButtonBox::AcceptRole);
                b->setObjectName(QStringLiteral("ctl%1").arg(f.id));
                b->setDefault(true);
                hasOk = true;
            } else if (command == kCancelCommand) {
                QPushButton* b =
                    buttons->addButton(caption.isEmpty() ? tr("Cancel") : caption, QDialogButtonBox::RejectRole);
                b->setObjectName(QStringLiteral("ctl%1").arg(f.id));
                hasCancel = true;
            }
            break;
        }
        case FieldKind::List:
        case FieldKind::Group:
        case FieldKind::Radio:
        case FieldKind::Custom: break;  // editors hold plain inputs only
        }
        if (!w) continue;
        w->setObjectName(QStringLiteral("ctl%1").arg(f.id));
        controls_.insert(f.id, w);
        if (f.kind == FieldKind::Check || caption.isEmpty()) form->addRow(w);
        else form->addRow(caption, w);
    }
    // Inputs that belong to one choice of a drop-down are shown while it is chosen.
    for (const rtu::FieldDecl& f : decl.fields) {
        auto* chooser = qobject_cast<QComboBox*>(controls_.value(f.shownBy, nullptr));
        QWidget* w = controls_.value(f.id, nullptr);
        if (!chooser || !w) continue;
        auto follow = [form, w, shownFor = f.shownFor](int index) {
            form->setRowVisible(w, std::find(shownFor.begin(), shownFor.end(), index) != shownFor.end());
        };
        follow(chooser->currentIndex());
        connect(chooser, &QComboBox::currentIndexChanged, w, follow);
    }
    // Every editor can be confirmed and left without a key: what the declaration lacks is added.
    if (!hasOk) buttons->addButton(QDialogButtonBox::Ok)->setDefault(true);
    if (!hasCancel) buttons->addButton(QDialogButtonBox::Cancel);
    problem_ = new QLabel(this);
    problem_->setObjectName("rowEditorProblem");
    problem_->setStyleSheet(QString::fromLatin1(kProblemStyle));
    problem_->setWordWrap(true);
    problem_->hide();
    outer->addWidget(problem_);
    outer->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

rtu::RowEdit CRowEditorDlg::Result() const
{
    rtu::RowEdit out = edit_;
    for (const rtu::FieldDecl& f : decl_.fields) {
        QWidget* w = controls_.value(f.id, nullptr);
        if (!w) continue;
        rtu::FieldValue& v = out.values[f.id];
        if (auto* e = qobject_cast<QLineEdit*>(w)) v.text = e->text().toStdString();
        else if (auto* m = qobject_cast<QPlainTextEdit*>(w)) v.text = m->toPlainText().toStdString();
        else if (auto* n = qobject_cast<CTextSpinBox*>(w)) v.text = n->text().toStdString();
        else if (auto* c = qobject_cast<QCheckBox*>(w)) v.check = c->isChecked() ? 1 : 0;
        else if (auto* cb = qobject_cast<QComboBox*>(w)) {
            if (cb->isEditable()) v.text = cb->currentText().toStdString();
            else v.sel = cb->currentIndex();
        }
    }
    return out;
}

QString CRowEditorDlg::Problem() const { return problem_->isHidden() ? QString() : problem_->text(); }

void CRowEditorDlg::accept()
{
    for (QWidget* w : std::as_const(controls_)) w->setStyleSheet(QString());
    const auto problem = page_.CheckEditRow(Result());
    if (!problem) {
        problem_->hide();
        QDialog::accept();
        return;
    }
    problem_->setText(QString::fromStdString(problem->reason));
    problem_->show();
    if (QWidget* w = Control(problem->id)) {
        w->setStyleSheet(QString::fromLatin1(kInvalidStyle));
        w->setToolTip(problem_->text());
        w->setFocus();
        if (auto* e = qobject_cast<QLineEdit*>(w)) e->selectAll();
    }
}
