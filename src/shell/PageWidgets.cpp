#include "shell/PageWidgets.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionSpinBox>
#include <QRegularExpressionValidator>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

#include "link/TextFields.h"
#include "shell/PageView.h"

using rtu::FieldDecl;
using rtu::FieldKind;

namespace {

constexpr int kEditMinWidth = 220;    // edits and drop-downs of a form
constexpr int kEditMaxWidth = 560;    // a form stays readable on a wide window
constexpr int kSpinWidth = 120;       // a number with its spin button
constexpr int kMultiLineHeight = 80;  // a text of several lines
constexpr int kTableMinHeight = 180;  // a table keeps at least this much room
constexpr int kHeaderSlack = 8;       // room beside a column title (the sort mark, the section lines)

QHash<QString, CustomWidgetFactory>& CustomFactories()
{
    static QHash<QString, CustomWidgetFactory> factories;
    return factories;
}

QString Caption(const rtu::CPageBase& page, const FieldDecl& f) { return ResolveText(page, f.caption); }

QTableWidget* MakeTable(rtu::CPageBase& page, const FieldDecl& f, QWidget* parent)
{
    const int columns = std::max<int>(1, static_cast<int>(f.columns.size()));
    auto* t = new QTableWidget(f.rows, columns, parent);
    QStringList titles;
    for (int c = 0; c < columns; ++c) {
        if (c < static_cast<int>(f.columns.size())) {
            titles << ResolveText(page, f.columns[static_cast<std::size_t>(c)].title);
            t->setColumnWidth(c, f.columns[static_cast<std::size_t>(c)].width);
        } else {
            titles << QString();
        }
    }
    t->setHorizontalHeaderLabels(titles);
    // A column is never narrower than its title.
    const int margin = 2 * t->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, t->horizontalHeader()) +
                       kHeaderSlack;
    for (int c = 0; c < columns; ++c)
        t->setColumnWidth(c, std::max(t->columnWidth(c),
                                      t->horizontalHeader()->fontMetrics().horizontalAdvance(titles[c]) + margin));
    t->horizontalHeader()->setStretchLastSection(true);
    t->verticalHeader()->setVisible(false);
    t->setSelectionBehavior(QAbstractItemView::SelectRows);
    t->setSelectionMode(QAbstractItemView::SingleSelection);
    t->setEditTriggers(QAbstractItemView::NoEditTriggers);
    t->setAlternatingRowColors(true);
    t->setMinimumHeight(kTableMinHeight);
    t->setWordWrap(false);
    return t;
}

void ApplyTable(const rtu::CPageBase& page, const FieldDecl& f, QTableWidget* t)
{
    const rtu::FieldValue& v = page.ValueOf(f.id);
    const int rows = std::max<int>(f.rows, static_cast<int>(v.cells.size()));
    if (t->rowCount() != rows) t->setRowCount(rows);
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < t->columnCount(); ++c) {
            const bool check = c < static_cast<int>(f.columns.size()) &&
                               f.columns[static_cast<std::size_t>(c)].kind == rtu::ColumnKind::Check;
            const std::string cell = page.CellText(f.id, r, c);
            const QString text = check ? QString() : QString::fromStdString(cell);
            QTableWidgetItem* item = t->item(r, c);
            if (!item) {
                item = new QTableWidgetItem(text);
                if (c == 0) item->setTextAlignment(Qt::AlignCenter);
                t->setItem(r, c, item);
            } else if (item->text() != text) {
                item->setText(text);
            }
            if (check) item->setCheckState(cell == "1" ? Qt::Checked : Qt::Unchecked);
            else if (item->toolTip() != text) item->setToolTip(text);  // the whole text of a narrow cell
        }
    }
}

}  // namespace

CTextSpinBox::CTextSpinBox(int minValue, int maxValue, QWidget* parent)
    : QAbstractSpinBox(parent), min_(minValue), max_(std::max(minValue, maxValue))
{
    connect(lineEdit(), &QLineEdit::textEdited, this, &CTextSpinBox::textEditedByUser);
}

void CTextSpinBox::SetText(const QString& text)
{
    if (lineEdit()->text() != text) lineEdit()->setText(text);
}

void CTextSpinBox::stepBy(int steps)
{
    const QString text = lineEdit()->text();
    int value = text.isEmpty() ? min_ - steps : rtu::LeadingNumber(text.toStdString());
    value = std::clamp(value + steps, min_, max_);
    lineEdit()->setText(QString::number(value));
    emit textEditedByUser(lineEdit()->text());
}

QSize CTextSpinBox::sizeHint() const
{
    QSize hint = QAbstractSpinBox::sizeHint();
    const QString widest = QString::number(std::abs(min_) > max_ ? min_ : max_) + QLatin1Char(' ');
    QStyleOptionSpinBox option;
    initStyleOption(&option);
    const QSize text(fontMetrics().horizontalAdvance(widest) + 2, lineEdit()->sizeHint().height());
    hint.setWidth(std::max(hint.width(), style()->sizeFromContents(QStyle::CT_SpinBox, &option, text, this).width()));
    return hint;
}

QSize CTextSpinBox::minimumSizeHint() const
{
    return QSize(sizeHint().width(), QAbstractSpinBox::minimumSizeHint().height());
}

QAbstractSpinBox::StepEnabled CTextSpinBox::stepEnabled() const
{
    const QString text = lineEdit()->text();
    if (text.isEmpty()) return StepUpEnabled | StepDownEnabled;
    const int value = rtu::LeadingNumber(text.toStdString());
    StepEnabled on = StepNone;
    if (value < max_) on |= StepUpEnabled;
    if (value > min_) on |= StepDownEnabled;
    return on;
}

void RegisterCustomWidget(const QString& name, CustomWidgetFactory make)
{
    CustomFactories().insert(name, std::move(make));
}

namespace pagewidgets {

QWidget* Make(rtu::CPageBase& page, const FieldDecl& f, QWidget* parent, const std::function<void(bool)>& changed)
{
    const int id = f.id;
    rtu::CPageBase* model = &page;
    switch (f.kind) {
    case FieldKind::Label: {
        auto* l = new QLabel(Caption(page, f), parent);
        l->setWordWrap(true);
        return l;
    }
    case FieldKind::Group: return new QGroupBox(Caption(page, f), parent);
    case FieldKind::Text:
    case FieldKind::Value: {
        auto* e = new QLineEdit(parent);
        e->setMinimumWidth(kEditMinWidth);
        e->setMaximumWidth(kEditMaxWidth);
        if (f.maxLength > 0) e->setMaxLength(f.maxLength);
        if (f.secret) e->setEchoMode(QLineEdit::PasswordEchoOnEdit);
        // No validator: the characters a row expects are a hint at the field, never a block.
        e->setReadOnly(f.readOnly || f.kind == FieldKind::Value);
        QObject::connect(e, &QLineEdit::textEdited, e, [model, id, changed](const QString& t) {
            model->Text(id) = t.toStdString();
            changed(false);
        });
        return e;
    }
    case FieldKind::MultiLine: {
        auto* e = new QPlainTextEdit(parent);
        e->setMinimumWidth(kEditMinWidth);
        e->setMaximumWidth(kEditMaxWidth);
        e->setFixedHeight(kMultiLineHeight);
        e->setReadOnly(f.readOnly);
        QObject::connect(e, &QPlainTextEdit::textChanged, e, [model, id, e, changed] {
            model->Text(id) = e->toPlainText().toStdString();
            changed(false);
        });
        return e;
    }
    case FieldKind::Number: {
        auto* s = new CTextSpinBox(f.minValue, f.maxValue, parent);
        s->setFixedWidth(std::max(kSpinWidth, s->sizeHint().width()));
        s->setReadOnly(f.readOnly);
        QObject::connect(s, &CTextSpinBox::textEditedByUser, s, [model, id, changed](const QString& t) {
            model->Text(id) = t.toStdString();
            changed(false);
        });
        return s;
    }
    case FieldKind::Check: {
        auto* c = new QCheckBox(Caption(page, f), parent);
        c->setEnabled(!f.readOnly);
        if (!f.tooltip.empty()) c->setToolTip(QString::fromStdString(f.tooltip));
        const bool act = f.write.onClick;
        QObject::connect(c, &QCheckBox::clicked, c, [model, id, act, changed](bool on) {
            model->Check(id) = on ? 1 : 0;
            changed(act);
        });
        return c;
    }
    case FieldKind::Radio: {
        auto* box = new QGroupBox(Caption(page, f), parent);
        auto* layout = new QVBoxLayout(box);
        auto* group = new QButtonGroup(box);
        for (std::size_t i = 0; i < f.items.size(); ++i) {
            auto* b = new QRadioButton(ResolveText(page, f.items[i]), box);
            b->setObjectName(QStringLiteral("ctl%1_%2").arg(id).arg(i));
            b->setEnabled(!f.readOnly);
            group->addButton(b, static_cast<int>(i));
            layout->addWidget(b);
        }
        group->setExclusive(true);
        QObject::connect(group, &QButtonGroup::idClicked, box, [model, id, changed](int index) {
            model->Sel(id) = index;
            changed(false);
        });
        return box;
    }
    case FieldKind::Combo:
    case FieldKind::EditableCombo: {
        auto* c = new QComboBox(parent);
        c->setMinimumWidth(kEditMinWidth);
        c->setMaximumWidth(kEditMaxWidth);
        c->setSizeAdjustPolicy(QComboBox::AdjustToContents);
        for (const rtu::TextRef& item : f.items) c->addItem(ResolveText(page, item));
        if (f.kind == FieldKind::EditableCombo) {
            c->setEditable(true);
            c->setInsertPolicy(QComboBox::NoInsert);
            QObject::connect(c, &QComboBox::editTextChanged, c, [model, id, changed](const QString& t) {
                model->Text(id) = t.toStdString();
                changed(false);
            });
        } else {
            QObject::connect(c, &QComboBox::activated, c, [model, id, changed](int index) {
                model->Sel(id) = index;
                changed(false);
            });
        }
        c->setEnabled(!f.readOnly);
        return c;
    }
    case FieldKind::List: return MakeTable(page, f, parent);
    case FieldKind::Custom: {
        const QString name = QString::fromLatin1(f.custom ? f.custom : "");
        if (auto it = CustomFactories().find(name); it != CustomFactories().end()) return (*it)(page, f, parent);
        return new QLabel(QStringLiteral("(%1)").arg(name), parent);
    }
    case FieldKind::Button: break;  // the view makes buttons: they run its commands
    }
    return nullptr;
}

void Apply(const rtu::CPageBase& page, const FieldDecl& f, QWidget* w)
{
    const rtu::FieldValue& v = page.ValueOf(f.id);
    const QSignalBlocker block(w);
    const QString text = QString::fromStdString(v.text);
    switch (f.kind) {
    case FieldKind::Text:
    case FieldKind::Value: {
        auto* e = static_cast<QLineEdit*>(w);
        if (e->text() != text) e->setText(text);
        break;
    }
    case FieldKind::MultiLine: {
        auto* e = static_cast<QPlainTextEdit*>(w);
        if (e->toPlainText() != text) e->setPlainText(text);
        break;
    }
    case FieldKind::Number: {
        static_cast<CTextSpinBox*>(w)->SetText(text);
        break;
    }
    case FieldKind::Check: static_cast<QCheckBox*>(w)->setChecked(v.check != 0); break;
    case FieldKind::Radio: {
        auto* group = w->findChild<QButtonGroup*>();
        if (!group) break;
        if (QAbstractButton* b = group->button(v.sel)) {
            b->setChecked(true);
        } else if (QAbstractButton* on = group->checkedButton()) {
            group->setExclusive(false);  // no item named: none is chosen
            on->setChecked(false);
            group->setExclusive(true);
        }
        break;
    }
    case FieldKind::Combo: {
        auto* c = static_cast<QComboBox*>(w);
        c->setCurrentIndex(v.sel >= 0 && v.sel < c->count() ? v.sel : -1);
        break;
    }
    case FieldKind::EditableCombo: {
        auto* c = static_cast<QComboBox*>(w);
        if (c->currentText() != text) c->setEditText(text);
        break;
    }
    case FieldKind::List: ApplyTable(page, f, static_cast<QTableWidget*>(w)); break;
    case FieldKind::Custom: w->setProperty("value", text); break;
    case FieldKind::Label:
    case FieldKind::Group:
    case FieldKind::Button: break;
    }
}

}  // namespace pagewidgets
