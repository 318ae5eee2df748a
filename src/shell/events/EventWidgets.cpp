#include "shell/events/EventWidgets.h"

#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QMessageBox>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include "link/PictureStore.h"
#include "link/SafeFileWriter.h"
#include "pages/events/PageEvents.h"
#include "pages/mms/PageMmsSetup.h"
#include "shell/PageWidgets.h"
#include "shell/events/EventListModel.h"

CEventListWidget::CEventListWidget(rtu::CPageEvents& page, QWidget* parent) : QWidget(parent), page_(page)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    model_ = new CEventListModel(page, this);
    table_ = new QTableView(this);
    table_->setObjectName(QStringLiteral("eventTable"));
    table_->setModel(model_);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setWordWrap(false);
    table_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table_->verticalHeader()->setDefaultSectionSize(kRowHeight);
    table_->setMinimumHeight(kMinVisibleRows * kRowHeight);
    table_->horizontalHeader()->setStretchLastSection(true);
    for (int c = 0; c < rtu::kEventColumns; ++c) table_->setColumnWidth(c, rtu::CPageEvents::kColumnWidths[c]);
    layout->addWidget(table_, 1);

    auto* row = new QHBoxLayout;
    auto* save = new QPushButton(QString::fromStdString(page.Tr("SAVECSV")), this);
    save->setObjectName(QStringLiteral("eventSaveCsv"));
    connect(save, &QPushButton::clicked, this, &CEventListWidget::AskAndSaveCsv);
    row->addStretch(1);
    row->addWidget(save);
    layout->addLayout(row);

    // New events scroll into view while the user is at the end of the list.
    connect(model_, &QAbstractItemModel::rowsInserted, this, [this] {
        if (!table_->selectionModel()->hasSelection()) table_->scrollToBottom();
    });
}

bool CEventListWidget::SaveCsv(const QString& path, QString& error)
{
    std::string why;
    if (rtu::WriteFileSafely(path.toStdString(), page_.Csv(), why)) return true;
    error = QString::fromStdString(why);
    return false;
}

void CEventListWidget::AskAndSaveCsv()
{
    QString path = QFileDialog::getSaveFileName(this, QString(), QStringLiteral("events.csv"),
                                                tr("CSV files (*.csv);;All files (*)"));
    if (path.isEmpty()) return;
    QString error;
    if (!SaveCsv(path, error)) QMessageBox::warning(this, QString(), error);
}

CPictureArea::CPictureArea(QWidget* parent) : QLabel(parent)
{
    setAlignment(Qt::AlignCenter);
    setFrameShape(QFrame::Box);
    setMinimumSize(kMinWidth, kMinHeight);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void CPictureArea::SetFile(const QString& file)
{
    file_ = file;
    const QString shown = file.isEmpty() ? fallback_ : file;
    picture_ = shown.isEmpty() ? QPixmap() : QPixmap(shown);
    Redraw();
}

void CPictureArea::Redraw()
{
    if (picture_.isNull()) {
        setPixmap({});
        return;
    }
    setPixmap(picture_.scaled(contentsRect().size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
}

void CPictureArea::mousePressEvent(QMouseEvent* event)
{
    SetFile(file_);  // the file may hold a newer picture
    QLabel::mousePressEvent(event);
}

void CPictureArea::resizeEvent(QResizeEvent* event)
{
    QLabel::resizeEvent(event);
    Redraw();
}

void RegisterEventWidgets()
{
    RegisterCustomWidget(QString::fromLatin1(rtu::CPageEvents::kListWidget),
                         [](rtu::CPageBase& page, const rtu::FieldDecl&, QWidget* parent) -> QWidget* {
                             return new CEventListWidget(static_cast<rtu::CPageEvents&>(page), parent);
                         });
    RegisterCustomWidget(QString::fromLatin1(rtu::CPageMmsSetup::kPictureWidget),
                         [](rtu::CPageBase&, const rtu::FieldDecl&, QWidget* parent) -> QWidget* {
                             auto* area = new CPictureArea(parent);
                             const std::string folder = rtu::CPictureStore::DefaultFolder();
                             if (!folder.empty())
                                 area->SetFallback(QString::fromStdString(folder) + QLatin1Char('/') +
                                                   QLatin1String(rtu::CPictureStore::kLatestName));
                             return area;
                         });
}
