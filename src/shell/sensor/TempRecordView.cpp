#include "shell/sensor/TempRecordView.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDesktopServices>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QStyle>
#include <QTableView>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>

#include "session/Session.h"
#include "shell/CatalogText.h"
#include "shell/PageView.h"
#include "shell/SessionDriver.h"
#include "shell/sensor/TempChartView.h"
#include "shell/sensor/TempRecordTable.h"

namespace t = rtu::temppage;

namespace {
constexpr const char* kExportFilter = "CSV files (*.csv);;All files (*)";  // the export dialog's choices
constexpr const char* kDeleting = "Deleteing";                       // status while the log file goes
}  // namespace

CTempRecordView::CTempRecordView(CSessionDriver& driver, rtu::CTempRecordPage& page, bool realTime,
                                 const std::string& logPath, QWidget* parent)
    : QWidget(parent), driver_(driver), page_(page), realTime_(realTime)
{
    setObjectName(QString::fromLatin1(page.ClassName()));
    chooseExportPath = [this] {
        return QFileDialog::getSaveFileName(this, QString(), QString(), QString::fromLatin1(kExportFilter), nullptr,
                                            QFileDialog::DontUseNativeDialog);
    };
    askYesNo = [this](const QString& q) {
        return QMessageBox::question(this, QString(), q, QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
    };
    showError = [this](const QString& text) { QMessageBox::critical(this, QString(), text); };
    openUrl = [](const QUrl& url) { QDesktopServices::openUrl(url); };

    auto* outer = new QVBoxLayout(this);
    const rtu::FieldDecl* title = page.FindField(t::kTitle);
    auto* titleLabel = new QLabel(title ? ResolveText(page, title->caption) : QString(), this);
    titleLabel->setObjectName("ctl1281");
    QFont bold = titleLabel->font();
    bold.setBold(true);
    titleLabel->setFont(bold);
    titleLabel->setProperty("note", true);  // the page's heading, no control's caption
    outer->addWidget(titleLabel);

    auto* tools = new QHBoxLayout;
    outer->addLayout(tools);
    counter_ = new QLabel(this);
    counter_->setObjectName(QStringLiteral("ctl%1").arg(t::kCounter));
    counter_->setProperty("note", true);  // a count, no control's caption
    counter_->setVisible(!realTime);  // the real-time page keeps its count to itself
    tools->addWidget(counter_);
    if (realTime) {
        sensorBox_ = new QComboBox(this);
        sensorBox_->setObjectName(QStringLiteral("ctl%1").arg(t::kSensorBox));
        for (int s = 0; s < rtu::CTempRecordPage::kSensors; ++s) sensorBox_->addItem(QStringLiteral("T%1").arg(s));
        connect(sensorBox_, &QComboBox::currentIndexChanged, this, [this] { Redraw(); });
        tools->addWidget(sensorBox_);
        tools->addWidget(Button(t::kRedraw, QStyle::SP_BrowserReload, [this] { Redraw(); }));
        autoFit_ = new QCheckBox(ResolveText(page, page.FindField(t::kAutoFit)->caption), this);
        autoFit_->setObjectName(QStringLiteral("ctl%1").arg(t::kAutoFit));
        connect(autoFit_, &QCheckBox::toggled, this, [this](bool on) { chart_->SetAutoFit(on); });
        tools->addWidget(autoFit_);
        tools->addStretch(1);
        tools->addWidget(Button(t::kOpenLog, QStyle::SP_DialogOpenButton, [this] { OpenLog(); }));
        tools->addWidget(Button(t::kDeleteLog, QStyle::SP_TrashIcon, [this] { DeleteLog(); }));
        tools->addWidget(Button(t::kResetList, QStyle::SP_DialogResetButton, [this] { Command(t::kResetList); }));
    } else {
        tools->addStretch(1);
        tools->addWidget(Button(t::kSync, QStyle::SP_ArrowDown, [this] { Command(t::kSync); }));
        tools->addWidget(Button(t::kExport, QStyle::SP_DialogSaveButton, [this] { Export(); }));
    }

    model_ = new CTempRecordTable(page, this);
    table_ = new QTableView(this);
    table_->setObjectName(QStringLiteral("ctl%1").arg(t::kList));
    table_->setModel(model_);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setShowGrid(true);
    table_->verticalHeader()->hide();
    if (const rtu::FieldDecl* list = page.FindField(t::kList))
        for (std::size_t c = 0; c < list->columns.size(); ++c)
            table_->setColumnWidth(static_cast<int>(c), list->columns[c].width);
    outer->addWidget(table_, 1);
    if (realTime) {
        chart_ = new CTempChartView(this);
        chart_->setObjectName(QStringLiteral("ctl%1").arg(t::kChart));
        outer->addWidget(chart_, 1);
        // Records are listed and logged from start-up, whether or not the page is shown.
        log_.Open(logPath);
        page_.SetLog(&log_);
    }
    syncQuiet_ = new QTimer(this);
    syncQuiet_->setSingleShot(true);
    syncQuiet_->setInterval(kSyncQuietMs);
    connect(syncQuiet_, &QTimer::timeout, this, &CTempRecordView::SyncQuiet);
    listener_ = page_.AddListener([this](int id) {
        if (id != t::kList && id != rtu::CPageBase::kChangedAll) return;
        if (syncQuiet_->isActive()) syncQuiet_->start();  // records still come
        if (syncPending_) return;
        syncPending_ = true;
        QTimer::singleShot(kRefreshMs, this, [this] { Sync(); });
    });
    Sync();
}

CTempRecordView::~CTempRecordView()
{
    page_.RemoveListener(listener_);
    if (realTime_) page_.SetLog(nullptr);
}

QWidget* CTempRecordView::Button(int id, QStyle::StandardPixmap icon, const std::function<void()>& action)
{
    auto* b = new QPushButton(this);
    b->setObjectName(QStringLiteral("ctl%1").arg(id));
    b->setIcon(style()->standardIcon(icon));
    if (const rtu::FieldDecl* f = page_.FindField(id)) b->setToolTip(QString::fromStdString(f->tooltip));
    b->setAutoDefault(false);
    connect(b, &QPushButton::clicked, this, action);
    return b;
}

void CTempRecordView::Sync()
{
    syncPending_ = false;
    model_->Sync();
    counter_->setText(QString::fromStdString(page_.CounterText()));
    if (chart_ && page_.Generation() != drawn_) Redraw();
    if (realTime_ && log_.WriteFailed() && !toldWriteFailed_) {
        toldWriteFailed_ = true;
        driver_.Session().Tell(rtu::MessageIcon::Error,
                               "Real-time records are listed but no longer logged: cannot write \"" + log_.Path() +
                                   "\": " + log_.Error());
        driver_.Pump();
    }
}

void CTempRecordView::Redraw()
{
    if (!chart_) return;
    drawn_ = page_.Generation();
    chart_->Draw(page_.Chart(sensorBox_->currentIndex() < 0 ? 0 : sensorBox_->currentIndex()));
}

void CTempRecordView::Command(int id)
{
    driver_.Session().PageCommand(page_.ClassName(), id);
    driver_.Pump();
    Sync();
    if (id == t::kSync) syncQuiet_->start();
}

void CTempRecordView::SyncQuiet()
{
    // The request is still waiting for the unit's answer: the sync goes on.
    if (!driver_.Session().SenderIdle()) return syncQuiet_->start();
    Sync();
    driver_.Session().Tell(rtu::MessageIcon::Information,
                           CatalogText(driver_.Session().Catalog(), "Window", "SYNC_FINISHED", kSyncFinished)
                               .arg(page_.Records())
                               .toStdString());
    driver_.Pump();
}

void CTempRecordView::OpenLog() { openUrl(QUrl::fromLocalFile(QString::fromStdString(log_.Path()))); }

void CTempRecordView::DeleteLog()
{
    if (!askYesNo(QString::fromStdString(page_.Tr("MESSAGEDEL")))) return;
    emit driver_.statusText(QString::fromLatin1(kDeleting));
    toldWriteFailed_ = false;
    if (!page_.RecreateLog())
        showError(QStringLiteral("The log file \"%1\" cannot be created again; records are listed but not logged.")
                      .arg(QString::fromStdString(log_.Path())));
}

void CTempRecordView::Export()
{
    const QString chosen = chooseExportPath();
    if (chosen.isEmpty()) return;
    std::string error;
    const auto written = page_.Export(chosen.toStdString(), error);
    if (!written) {
        showError(QString::fromLatin1(kExportFailed));
        return;
    }
    openUrl(QUrl::fromLocalFile(QString::fromStdString(*written)));
}
