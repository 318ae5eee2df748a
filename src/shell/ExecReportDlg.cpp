#include "shell/ExecReportDlg.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {
constexpr double kMsPerSecond = 1000.0;
constexpr int kSecondsDecimals = 3;  // milliseconds shown in the start column
}  // namespace

CExecReportDlg::CExecReportDlg(const std::vector<rtu::ExecReportRow>& rows, rtu::Millis startedAt, QWidget* parent)
    : QDialog(parent), table_(new QTableWidget(static_cast<int>(rows.size()), kColCount, this))
{
    setWindowTitle(tr("Profile run: each line"));
    setMinimumSize(kMinWidth, kMinHeight);
    table_->setObjectName(QStringLiteral("execReportTable"));
    table_->setHorizontalHeaderLabels({tr("Page"), tr("Line"), tr("Outcome"), tr("Sent at (s)"), tr("Answer (ms)")});
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
        const rtu::ExecReportRow& row = rows[static_cast<std::size_t>(r)];
        const bool sent =
            row.record.outcome != rtu::LineOutcome::Refused && row.record.outcome != rtu::LineOutcome::Repeated;
        const QStringList cells = {
            QString::fromStdString(row.caption), QString::fromStdString(row.record.line),
            QString::fromLatin1(rtu::OutcomeName(row.record.outcome)),
            QString::number(static_cast<double>(row.record.sentAt - startedAt) / kMsPerSecond, 'f', kSecondsDecimals),
            sent ? QString::number(row.record.doneAt - row.record.sentAt) : QString()};
        for (int c = 0; c < kColCount; ++c) {
            auto* item = new QTableWidgetItem(cells[c]);
            if (row.failed) item->setForeground(Qt::red);
            table_->setItem(r, c, item);
        }
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(table_);
    layout->addWidget(buttons);
}
