#include "shell/VarnelDlg.h"

#include <algorithm>

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFrame>
#include <QLabel>
#include <QScreen>
#include <QShortcut>
#include <QStatusBar>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include "controls/HeaderBanner.h"
#include "controls/NavIcons.h"
#include "shell/CatalogText.h"
#include "shell/CommPageView.h"
#include "shell/FailureNotice.h"
#include "shell/FileFilter.h"
#include "shell/OfflineProfile.h"
#include "shell/ProfileFiles.h"
#include "shell/ProgressWnd.h"
#include "shell/SafeRun.h"
#include "shell/UnitGuard.h"
#include "shell/WheelGuard.h"
#include "shell/events/PictureKeeper.h"

namespace {

constexpr const char* kAboutFallback = "About";  // the About box's caption when the catalog has none

QString ControlName(int id) { return QStringLiteral("ctl%1").arg(id); }

QMessageBox::Icon BoxIcon(int icon)
{
    return static_cast<rtu::MessageIcon>(icon) == rtu::MessageIcon::Error ? QMessageBox::Critical
                                                                          : QMessageBox::Information;
}

}  // namespace

CVarnelDlg::CVarnelDlg(CRegSetting& settings, const rtu::CTextCatalog& catalog, QWidget* parent)
    : QMainWindow(parent), settings_(settings), catalog_(catalog)
{
    clock_.start();
    auto now = [this] { return static_cast<rtu::Millis>(clock_.elapsed()); };
    session_ = std::make_unique<rtu::CSession>(
        [this](std::string_view bytes) {
            // With no port open, pages opened from a file write to the file's simulated unit.
            if (offline_ && offline_->Active()) return offline_->Write(bytes);
            return port_.WriteToPort(bytes.data(), bytes.size());
        },
        now, &catalog_);
    driver_ = new CSessionDriver(*session_, now, this);
    viewContext_ = std::make_unique<ViewContext>(ViewContext{*driver_, settings_, [this](int id) { RunCommand(id); }});

    setObjectName("mainWindow");
    const QIcon appIcon = AppIcon(style());
    setWindowIcon(appIcon);
    auto* central = new QWidget(this);
    auto* outer = new QVBoxLayout(central);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);

    // Header: built-in title unless the catalog names the unit.
    header_ = new CDialogHeader(central);
    const QString catalogTitle = QString::fromStdString(catalog_.GetText("version", "SysTitle"));
    const QString title = catalogTitle.isEmpty() ? QString::fromUtf8(kTitle) : catalogTitle;
    header_->SetTitle(title);
    header_->SetDescription(QString::fromUtf8(kVersion) + QLatin1Char(' ') + QString::fromUtf8(kDescriptionTail));
    header_->SetIcon(appIcon);
    setWindowTitle(title);
    outer->addWidget(header_);

    bar_ = new CConnectionBar(catalog_, central);
    bar_->RestoreBaud(settings_);
    outer->addWidget(bar_);
    auto* separator = new QFrame(central);
    separator->setObjectName(ControlName(1221));
    separator->setFrameShape(QFrame::HLine);
    separator->setFrameShadow(QFrame::Sunken);
    outer->addWidget(separator);
    outer->addWidget(notice_ = new CFailureNotice(central));  // what failed, and the way forward

    pages_ = new CPageArea(factory_, *viewContext_, catalog_, central);
    outer->addWidget(pages_, 1);
    setCentralWidget(central);

    modeLine_ = new QLabel(this);
    modeLine_->setObjectName(ControlName(1011));
    modeLine_->setFixedWidth(kModeLineWidth);
    statusLine_ = new QLabel(this);
    statusLine_->setObjectName(ControlName(1008));
    statusBar()->addWidget(modeLine_);
    statusBar()->addWidget(statusLine_, 1);
    statusBar()->setSizeGripEnabled(true);
    progress_ = new CSysProgressWnd(this);

    connect(bar_, &CConnectionBar::commandClicked, this, &CVarnelDlg::RunCommand);
    connect(bar_, &CConnectionBar::portChosen, this, &CVarnelDlg::OpenSelectedPort);
    connect(bar_, &CConnectionBar::parityChosen, this, &CVarnelDlg::ApplyParity);
    connect(bar_, &CConnectionBar::passwordEdited, this,
            [this](const QString& password) { session_->SetPassword(password.toStdString()); });
    connect(bar_, &CConnectionBar::aboutClicked, this, &CVarnelDlg::About);
    connect(pages_, &CPageArea::pageShown, this, &CVarnelDlg::pageShown);
    notice_->Watch(*driver_, *pages_, *session_, *bar_, port_);

    connect(driver_, &CSessionDriver::statusText, statusLine_, &QLabel::setText);
    connect(driver_, &CSessionDriver::modeText, modeLine_, &QLabel::setText);
    connect(driver_, &CSessionDriver::beep, this, [] { QApplication::beep(); });
    connect(driver_, &CSessionDriver::progressChanged, progress_, &CSysProgressWnd::Apply);
    guard_ = new CUnitGuard(*driver_, *bar_, *pages_, this);  // also hands the busy states on
    safeRun_ = new CSafeRun(*driver_, settings_, this, [this](auto icon, const QString& t) { ShowMessage(icon, t); });
    offline_ = new COfflineProfile(
        *driver_, &catalog_, now,
        {[this](bool save) { return ChooseFile(save); },
         [this](bool error, const QString& t) { ShowMessage(error ? QMessageBox::Critical : QMessageBox::Information, t); },
         [this](const QString& t) { return Ask(t); }, [this] { return port_.IsPortOpen(); },
         [this](const QString& path) { safeRun_->RunProfile(path); }},
        this);
    bar_->AddTool(offline_->Button());
    statusBar()->addPermanentWidget(offline_->SourceLabel());
    guard_->backupNote = [this] { return CSafeRun::BackupNote(settings_); };
    connect(safeRun_, &CSafeRun::backupWritten, this, [this](const QString& path) {
        statusLine_->setText(tr("Backup written: %1").arg(QDir::toNativeSeparators(path)));
    });
    connect(driver_, &CSessionDriver::portLost, this, &CVarnelDlg::UpdateConnIcon);
    // A line whose wait ran out (or a reload never answered) makes the bar say the unit is
    // silent; anything the unit says afterwards takes that back.
    connect(driver_, &CSessionDriver::commandAnswered, bar_, [this](const QString&, int ack, bool written) {
        if (ack != static_cast<int>(rtu::AckKind::None)) bar_->SetUnitAnswering(true);
        else if (written) bar_->SetUnitAnswering(false);
    });
    connect(driver_, &CSessionDriver::noAnswer, bar_, [this] { bar_->SetUnitAnswering(false); });
    connect(driver_, &CSessionDriver::lineReceived, bar_, [this] { bar_->SetUnitAnswering(true); });
    connect(driver_, &CSessionDriver::transferEnded, this, [this](const QString& job, bool ok) {
        if (job != QLatin1String(rtu::CSession::kPictureJob) || !ok) return;
        progress_->Dismiss();
        statusLine_->setText(QString::fromStdString(KeepPicture(*session_)));
    });
    // Boxes and questions are shown from the event loop, never from inside a drain.
    connect(
        driver_, &CSessionDriver::messageRequested, this,
        [this](int icon, const QString& text) { ShowMessage(BoxIcon(icon), text); }, Qt::QueuedConnection);
    connect(
        driver_, &CSessionDriver::questionAsked, this, [this](int, const QString& text) { AskGoOnSilent(text); },
        Qt::QueuedConnection);

    port_.SetReceiver(
        [this](const char* bytes, std::size_t n) {
            QMetaObject::invokeMethod(
                this, [this, chunk = std::string(bytes, n)] { driver_->HandleReceive(chunk); }, Qt::QueuedConnection);
        },
        [this] { QMetaObject::invokeMethod(driver_, &CSessionDriver::HandlePortLost, Qt::QueuedConnection); });

    auto* connTimer = new QTimer(this);
    connTimer->setInterval(kConnIconMs);
    connect(connTimer, &QTimer::timeout, this, &CVarnelDlg::UpdateConnIcon);
    connTimer->start();
    UpdateConnIcon();

    connect(new QShortcut(QKeySequence::HelpContents, this), &QShortcut::activated, this, &CVarnelDlg::About);
    CWheelGuard::Install();
    FitToScreen();
}

void CVarnelDlg::FitToScreen()
{
    // The first size, within the screen's free area at any scale, centred on it.
    const QRect free = screen()->availableGeometry();
    const QSize frame = frameGeometry().size() - geometry().size();  // the title bar and borders
    // (A pixel less: at a fractional scale the free area's size is rounded up.)
    resize(QSize(kWidth, kHeight).boundedTo(free.size() - frame - QSize(1, 1)).expandedTo(minimumSizeHint()));
    const QPoint centred = free.center() - QPoint(width() + frame.width(), height() + frame.height()) / 2;
    move(std::max(centred.x(), free.left()), std::max(centred.y(), free.top()));
}

CVarnelDlg::~CVarnelDlg()
{
    // The worker must not hand over anything once the window is going.
    port_.SetReceiver({}, {});
    port_.EnablePort(0);
    // The views follow the session's pages and the driver follows the session: both go first.
    pages_->DropViews();
    delete progress_;
    progress_ = nullptr;
    delete driver_;
    driver_ = nullptr;
}

void CVarnelDlg::StartUp(const QString& portPath, bool openPort)
{
    bar_->Restore(settings_, portPath);
    // Posted: it goes once the port below is open.
    QMetaObject::invokeMethod(
        this, [this] { RunCommand(rtu::cmd::kReload); }, Qt::QueuedConnection);
    if (openPort) OpenSelectedPort();
}

void CVarnelDlg::UsePort(const QString& path)
{
    bar_->SelectPort(path);
    OpenSelectedPort();
}

void CVarnelDlg::OpenSelectedPort()
{
    const QString path = bar_->PortPath();
    if (port_.IsPortOpen()) port_.EnablePort(0);
    if (!port_.IsPortOpen() && !path.isEmpty()) {
        port_.SetPortName(path.toStdString());
        port_.SetBaudRate(bar_->Baud());
        session_->SetLineSpeed(bar_->Baud());  // bounds how long a picture transfer may take
        port_.EnablePort(1);
        notice_->OpenResult(port_.IsPortOpen(), port_.PortName(), port_.LastOpenErrno());
        if (port_.IsPortOpen()) session_->PortOpened();  // nothing on the pages was read through this port yet
    }
    ApplyParity();  // the reopened port keeps the parity the list shows
    UpdateConnIcon();
}

void CVarnelDlg::ApplyParity()
{
    if (port_.IsPortOpen()) port_.SetParity(bar_->Parity());
}

void CVarnelDlg::UpdateConnIcon()
{
    bar_->SetPortState(port_.IsPortOpen(), QString::fromStdString(port_.PortName()),
                       QString::fromStdString(port_.LastOpenError()));
}

QString CVarnelDlg::StatusText() const { return statusLine_->text(); }
QString CVarnelDlg::ModeText() const { return modeLine_->text(); }
void CVarnelDlg::ShowStatus(const QString& text) { statusLine_->setText(text); }

void CVarnelDlg::RunCommand(int id)
{
    rtu::CSession& s = *session_;
    if ((id == rtu::cmd::kReload || id == rtu::cmd::kExecProfile) && !port_.IsPortOpen())
        return notice_->PortClosed(bar_->PortPath().toStdString(), port_.LastOpenErrno());  // says what to do
    if (!guard_->Confirm(id)) return;
    switch (id) {
    case rtu::cmd::kSetup: Setup(); break;
    case rtu::cmd::kReload: s.Reload(); break;
    case rtu::cmd::kDefaults: safeRun_->Defaults(); break;
    case rtu::cmd::kRestart: s.Restart(); break;
    case rtu::cmd::kSaveProfile: SaveProfile(); break;
    case rtu::cmd::kExecProfile:  // reads the unit, shows what would change, backs it up
        if (!session_->ProfileRunning()) safeRun_->RunProfile(ChooseFile(false));
        break;
    case rtu::cmd::kLogin: Login(); break;
    case rtu::cmd::kPageBusy: s.LockPageButtons(); break;
    default: break;
    }
    driver_->Pump();
}

void CVarnelDlg::Setup()
{
    StoreSettings();
    // The user power-cycles the unit after this; the burst goes only once the box is closed.
    ShowMessage(QMessageBox::Information, QString::fromUtf8(kSetupNotice) + QStringLiteral("\n\n") +
                                              CatalogText(&catalog_, "Window", "SETUP_LEAVE", kSetupLeave));
    session_->Setup();
}

void CVarnelDlg::Login()
{
    session_->Login();
    bar_->StorePassword(settings_);
}

QString CVarnelDlg::ChooseFile(bool save)
{
    const QString filter = QtFileFilter(QString::fromLatin1(kProfileFilter));
    CProfileFiles files(settings_);
    const QString start = files.StartPath(save, CProfileFiles::UnitId(*session_), QDate::currentDate());
    return files.Accept(save, fileChooser ? fileChooser(save, start) : CProfileFiles::Ask(this, save, start, filter));
}

void CVarnelDlg::SaveProfile()
{
    if (offline_->FromFile()) return offline_->Save();  // the file's lines no page holds go back too
    const auto withUnread = guard_->ProfileWithUnread();  // nullopt: the user cancelled
    const QString path = withUnread ? ChooseFile(true) : QString();
    if (!path.isEmpty()) session_->SaveProfile(path.toStdString(), *withUnread);
}

void CVarnelDlg::AskGoOnSilent(const QString& text)
{
    if (!session_->ProfilePaused()) return;
    Ask(text) ? session_->ContinueProfile() : session_->StopProfile();
    driver_->Pump();
}

bool CVarnelDlg::Ask(const QString& text)
{
    if (questionSink) return questionSink(text);
    QMessageBox box(QMessageBox::Question, header_->Title(), text, QMessageBox::Yes | QMessageBox::No, this);
    return box.exec() == QMessageBox::Yes;
}

void CVarnelDlg::About()
{
    const QString text = QStringLiteral("<b>%1</b><br>%2<br><br>rtuconfig %3")
                             .arg(header_->Title().toHtmlEscaped(), header_->Description().toHtmlEscaped(),
                                  QApplication::applicationVersion().toHtmlEscaped());
    if (messageSink) {
        messageSink(QMessageBox::NoIcon, text);
        return;
    }
    const QString caption = QString::fromStdString(catalog_.GetText("SYSBTN", "ABOUT"));
    QMessageBox::about(this, caption.isEmpty() ? QString::fromLatin1(kAboutFallback) : caption, text);
}

void CVarnelDlg::ShowMessage(QMessageBox::Icon icon, const QString& text)
{
    emit messageShown(static_cast<int>(icon), text);
    if (messageSink) {
        messageSink(icon, text);
        return;
    }
    QMessageBox box(icon, header_->Title(), text, QMessageBox::Ok, this);
    box.exec();
}

void CVarnelDlg::closeEvent(QCloseEvent* event)
{
    if (!guard_->ConfirmClose()) return event->ignore();  // unsaved edits stay
    session_->Close();                                    // a running profile stops at its next line
    StoreSettings();
    if (auto* comm = qobject_cast<CCommPageView*>(pages_->MadeWidget(kCommNav))) comm->StoreSettings();
    progress_->Dismiss();
    event->accept();
}
