#include "shell/PreviewDlg.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

constexpr int kLineRole = Qt::UserRole + 1;  // the file's whole line of a row, a page's header
constexpr int kSameRole = Qt::UserRole + 2;  // the unit already holds the row's line

QString Q(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

CPreviewDlg::CPreviewDlg(const rtu::ProfileDiff& diff, QWidget* parent)
    : QDialog(parent), tree_(new QTreeWidget(this)), count_(new QLabel(this)),
      showSame_(new QCheckBox(tr("Show the lines the unit already holds"), this))
{
    setWindowTitle(tr("Run profile: what would change"));
    setMinimumSize(kMinWidth, kMinHeight);
    tree_->setObjectName(QStringLiteral("previewTree"));
    tree_->setColumnCount(kColCount);
    tree_->setHeaderLabels({tr("Line"), tr("On the unit"), tr("In the file")});
    tree_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    for (const rtu::DiffSection& section : diff.sections) {
        QTreeWidgetItem* page = nullptr;
        for (const rtu::DiffLine& line : section.lines) {
            if (line.kind == rtu::DiffKind::OnlyOld) continue;  // a profile cannot take a line away
            if (!page) {
                page = new QTreeWidgetItem(tree_, {Q(section.caption)});
                page->setData(kColLine, kLineRole, Q(section.header));
                page->setFirstColumnSpanned(true);
            }
            auto* row = new QTreeWidgetItem(
                page, {Q(line.key), line.oldLine.empty() ? tr("(none)") : Q(line.OldValue()), Q(line.NewValue())});
            const bool same = line.kind == rtu::DiffKind::Same;
            row->setData(kColLine, kLineRole, Q(line.newLine));
            row->setData(kColLine, kSameRole, same);
            row->setFlags(row->flags() | Qt::ItemIsUserCheckable);
            row->setCheckState(kColLine, same ? Qt::Unchecked : Qt::Checked);
        }
    }
    tree_->expandAll();
    connect(tree_, &QTreeWidget::itemChanged, this, [this] { UpdateCount(); });
    showSame_->setObjectName(QStringLiteral("showEqualLines"));
    connect(showSame_, &QCheckBox::toggled, this, &CPreviewDlg::ShowSame);
    ShowSame(false);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(tr("Send the checked lines"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tree_);
    layout->addWidget(showSame_);
    count_->setProperty("note", true);  // a count, no control's caption
    layout->addWidget(count_);
    layout->addWidget(buttons);
    UpdateCount();
}

std::vector<std::string> CPreviewDlg::CheckedLines() const
{
    std::vector<std::string> out;
    for (int p = 0; p < tree_->topLevelItemCount(); ++p) {
        const QTreeWidgetItem* page = tree_->topLevelItem(p);
        for (int r = 0; r < page->childCount(); ++r) {
            const QTreeWidgetItem* row = page->child(r);
            if (row->checkState(kColLine) == Qt::Checked)
                out.push_back(row->data(kColLine, kLineRole).toString().toStdString());
        }
    }
    return out;
}

std::string CPreviewDlg::CheckedProfile() const
{
    std::string out;
    for (int p = 0; p < tree_->topLevelItemCount(); ++p) {
        const QTreeWidgetItem* page = tree_->topLevelItem(p);
        std::string lines;
        for (int r = 0; r < page->childCount(); ++r)
            if (page->child(r)->checkState(kColLine) == Qt::Checked)
                lines += page->child(r)->data(kColLine, kLineRole).toString().toStdString() + "\r\n";
        const std::string header = page->data(kColLine, kLineRole).toString().toStdString();
        if (!lines.empty()) out += (header.empty() ? std::string() : header + "\r\n") + lines;
    }
    return out;
}

void CPreviewDlg::ShowSame(bool show)
{
    for (int p = 0; p < tree_->topLevelItemCount(); ++p) {
        QTreeWidgetItem* page = tree_->topLevelItem(p);
        bool anyShown = false;
        for (int r = 0; r < page->childCount(); ++r) {
            QTreeWidgetItem* row = page->child(r);
            const bool hidden = !show && row->data(kColLine, kSameRole).toBool();
            row->setHidden(hidden);
            anyShown = anyShown || !hidden;
        }
        page->setHidden(!anyShown);
    }
}

void CPreviewDlg::UpdateCount()
{
    count_->setText(tr("%n line(s) will be sent between the start and commit commands.", nullptr,
                       static_cast<int>(CheckedLines().size())));
}
