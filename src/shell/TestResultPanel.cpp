#include "shell/TestResultPanel.h"

#include <QFontMetrics>
#include <QHeaderView>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "session/CommTestCommands.h"

CTestResultPanel::CTestResultPanel(const QString& clearCaption, QWidget* parent) : QGroupBox(tr("Test results"), parent)
{
    setObjectName(QStringLiteral("comm_results"));
    auto* layout = new QVBoxLayout(this);
    list_ = new QTreeWidget(this);
    list_->setObjectName(QStringLiteral("comm_result_list"));
    list_->setRootIsDecorated(false);
    list_->setHeaderLabels({tr("Test item"), tr("Result")});
    list_->header()->setDefaultSectionSize(kColumnWidth);
    list_->header()->setStretchLastSection(true);

    // White on black in the rows only: the header and the scroll bars keep the window's look.
    QFont font = list_->font();
    font.setFamilies({QStringLiteral("黑体"), QStringLiteral("SimHei"), font.family()});
    font.setPixelSize(kFontPixels);
    list_->setFont(font);
    list_->header()->setFont(QFont());
    QPalette rows = list_->viewport()->palette();
    rows.setColor(QPalette::Base, Qt::black);
    rows.setColor(QPalette::Text, Qt::white);
    rows.setColor(QPalette::Window, Qt::black);
    list_->viewport()->setPalette(rows);
    list_->viewport()->setAutoFillBackground(true);
    QPalette view = list_->palette();
    view.setColor(QPalette::Base, Qt::black);
    view.setColor(QPalette::Text, Qt::white);
    list_->setPalette(view);
    list_->header()->setPalette(QPalette());
    const int rowHeight = QFontMetrics(font).height();
    list_->setMinimumHeight(list_->header()->sizeHint().height() + kMinVisibleRows * rowHeight);

    edit_ = new QLineEdit(this);
    edit_->setObjectName(QStringLiteral("comm_%1").arg(rtu::comm::id::kResultEdit));
    edit_->setReadOnly(true);
    auto* clear = new QPushButton(clearCaption, this);
    clear->setObjectName(QStringLiteral("comm_results_clear"));
    layout->addWidget(list_, 1);
    layout->addWidget(edit_);
    layout->addWidget(clear);
    connect(clear, &QPushButton::clicked, this, &CTestResultPanel::Clear);
    connect(list_, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
        edit_->setText(item ? item->text(0) + QStringLiteral(": ") + item->text(1) : QString());
    });
}

void CTestResultPanel::AddRows(const std::vector<rtu::comm::ResultRow>& rows)
{
    for (const rtu::comm::ResultRow& row : rows)
        list_->addTopLevelItem(
            new QTreeWidgetItem({QString::fromStdString(row.item), QString::fromStdString(row.result)}));
    if (rows.empty()) return;
    list_->scrollToBottom();
    emit rowsAdded();
}

void CTestResultPanel::Clear()
{
    list_->clear();
    edit_->clear();
}

