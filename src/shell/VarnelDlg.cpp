#include "shell/VarnelDlg.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileDialog>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSet>
#include <QShortcut>
#include <QStackedWidget>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

#include "controls/HeaderBanner.h"
#include "controls/NavBar.h"
#include "controls/NavIcons.h"
#include "link/PortName.h"
#include "link/SerialPortList.h"
#include "pages/registry/PageRegistry.h"
#include "shell/PageView.h"
#include "shell/ProgressWnd.h"

#include "shell/CommPageView.h"

namespace {

// The baud rates of the baud list, in order.
// Parity entries when the catalog has none.
constexpr const char* kParityDefaults[] = {"0: None", "1: Odd", "2: Even", "3: Mask"};
constexpr const char* kParityKeys[] = {"PARITY0", "PARITY1", "PARITY2", "PARITY3"};

constexpr int kNavWidth = 176;        // navigation bar
constexpr int kModeLineWidth = 220;   // mode line at the bottom left
constexpr int kPortComboWidth = 170;  // room for a pty or USB path
constexpr int kPasswordWidth = 140;

struct TopButton {
    int id;
    const char* key;  // caption key in "SYSBTN"
    QStyle::StandardPixmap icon;
};

constexpr TopButton kTopButtons[] = {
    {rtu::cmd::kSetup, "SETUP", QStyle::SP_ComputerIcon},
    {rtu::cmd::kReload, "RELOAD", QStyle::SP_BrowserReload},
    {rtu::cmd::kRestart, "RESTART", QStyle::SP_MediaSkipBackward},
    {rtu::cmd::kDefaults, "DEFAULTS", QStyle::SP_DialogResetButton},
    {rtu::cmd::kSaveProfile, "SAVE", QStyle::SP_DialogSaveButton},
    {rtu::cmd::kExecProfile, "EXEC", QStyle::SP_DialogOpenButton},
};

// Gives a caption a keyboard mnemonic on its first letter not yet taken in the row.
QString WithMnemonic(const QString& text, QSet<QChar>& used)
{
    if (text.contains(QLatin1Char('&'))) return text;
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text[i].toLower();
        if (!c.isLetterOrNumber() || used.contains(c)) continue;
        used.insert(c);
        QString out = text;
        out.insert(i, QLatin1Char('&'));
        return out;
    }
    return text;
}

QString ControlName(int id) { return QStringLiteral("ctl%1").arg(id); }

}  // namespace

CVarnelDlg::CVarnelDlg(CRegSetting& settings, const rtu::CTextCatalog& catalog, QWidget* parent)
    : QMainWindow(parent), settings_(settings), catalog_(catalog)
{
    clock_.start();
    session_ = std::make_unique<rtu::CSession>(
        [this](std::string_view bytes) {
            const bool ok = port_.WriteToPort(bytes.data(), bytes.size());
            // A line that waits for its acknowledgement has just set a deadline.
            QMetaObject::invokeMethod(this, &CVarnelDlg::ArmDeadline, Qt::QueuedConnection);
            return ok;
        },
        [this] { return Now(); }, this, &catalog_);
    session_->Link().password = rtu::CDeviceLink::kDefaultPassword;
    // A unit that stopped answering during a profile: the user decides, from the event loop.
    session_->Runner().onUnitSilent = [this](const rtu::ExecSummary& s) {
        QMetaObject::invokeMethod(this, [this, notSent = s.notSent] { AskGoOnSilent(notSent); }, Qt::QueuedConnection);
    };

    setObjectName("mainWindow");
    const QIcon appIcon = AppIcon(style());
    setWindowIcon(appIcon);

    deadline_ = new QTimer(this);
    deadline_->setSingleShot(true);
    deadline_->setTimerType(Qt::PreciseTimer);
    connect(deadline_, &QTimer::timeout, this, [this] {
        session_->Link().HandleTime();
        ArmDeadline();
    });

    auto* central = new QWidget(this);
    auto* outer = new QVBoxLayout(central);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);

    // Header: built-in title unless the catalog names the unit.
    header_ = new CDialogHeader(central);
    QString title = QString::fromUtf8(kTitle);
    const QString catalogTitle = Tr("version", "SysTitle");
    if (!catalogTitle.isEmpty()) title = catalogTitle;
    header_->SetTitle(title);
    header_->SetDescription(QString::fromUtf8(kVersion) + QString::fromUtf8(kDescriptionTail));
    header_->SetIcon(appIcon);
    setWindowTitle(title);
    outer->addWidget(header_);

    outer->addWidget(BuildTopRow());
    auto* separator = new QFrame(central);
    separator->setObjectName(ControlName(1221));
    separator->setFrameShape(QFrame::HLine);
    separator->setFrameShadow(QFrame::Sunken);
    outer->addWidget(separator);

    auto* body = new QHBoxLayout;
    body->setContentsMargins(6, 4, 2, 0);
    body->setSpacing(6);
    nav_ = new CNavBar(central);
    nav_->setObjectName("navBar");
    nav_->setFixedWidth(kNavWidth);
    stack_ = new QStackedWidget(central);
    stack_->setObjectName("pageArea");
    body->addWidget(nav_);
    body->addWidget(stack_, 1);
    outer->addLayout(body, 1);
    setCentralWidget(central);

    modeLine_ = new QLabel(this);
    modeLine_->setObjectName(ControlName(1011));
    modeLine_->setFixedWidth(kModeLineWidth);
    statusLine_ = new QLabel(this);
    statusLine_->setObjectName(ControlName(1008));
    statusBar()->addWidget(modeLine_);
    statusBar()->addWidget(statusLine_, 1);
    statusBar()->setSizeGripEnabled(true);

    progress_ = new CSysProgressWnd(session_->Link().Progress(), this);
    connect(progress_, &CSysProgressWnd::ticked, this, &CVarnelDlg::ArmDeadline);
    session_->Link().Progress().onPageButtons = [this](bool on) {
        if (on) {
            // Also a page left while it was busy gets its buttons back.
            for (QWidget* w : std::as_const(pageWidgets_))
                if (auto* view = qobject_cast<CPageView*>(w)) view->SetPageButtonsEnabled(true);
        } else if (currentPage_) {
            currentPage_->SetPageButtonsEnabled(false);
        }
    };

    BuildPages();
    BuildNavigation();

    // The first page is on show, but it is not the current page until the user navigates.
    if (QWidget* first = PageWidget(kFirstPageNav)) stack_->setCurrentWidget(first);
    nav_->SelectData(kFirstPageNav);
    connect(nav_, &CNavBar::itemClicked, this, &CVarnelDlg::ShowPage);

    port_.SetReceiver(
        [this](const char* bytes, std::size_t n) {
            QMetaObject::invokeMethod(this, [this, chunk = std::string(bytes, n)] { OnReceived(chunk); },
                                      Qt::QueuedConnection);
        },
        [this] { QMetaObject::invokeMethod(this, &CVarnelDlg::UpdateConnIcon, Qt::QueuedConnection); });

    connTimer_ = new QTimer(this);
    connTimer_->setInterval(kConnIconMs);
    connect(connTimer_, &QTimer::timeout, this, &CVarnelDlg::UpdateConnIcon);
    connTimer_->start();
    UpdateConnIcon();

    auto* about = new QShortcut(QKeySequence::HelpContents, this);
    connect(about, &QShortcut::activated, this, &CVarnelDlg::About);
    resize(1200, 720);
}

CVarnelDlg::~CVarnelDlg()
{
    // The worker must not hand over anything once the window is going.
    port_.SetReceiver({}, {});
    port_.EnablePort(0);
    session_->Link().Progress().onPageButtons = nullptr;
    session_->Link().Progress().onChanged = nullptr;
    // The views follow the session's pages: they go before the session does.
    currentPage_ = nullptr;
    comm_ = nullptr;
    pageWidgets_.clear();
    delete stack_;
    stack_ = nullptr;
    delete progress_;
    progress_ = nullptr;
}

QString CVarnelDlg::Tr(const char* section, const char* key) const
{
    return QString::fromStdString(catalog_.GetText(section, key));
}

QWidget* CVarnelDlg::BuildTopRow()
{
    auto* row = new QWidget(this);
    row->setObjectName("topRow");
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->setSpacing(6);
    QSet<QChar> used;

    for (const TopButton& b : kTopButtons) {
        auto* button = new QPushButton(WithMnemonic(Tr("SYSBTN", b.key), used), row);
        button->setObjectName(ControlName(b.id));
        button->setIcon(style()->standardIcon(b.icon));
        button->setAutoDefault(false);
        const int id = b.id;
        connect(button, &QPushButton::clicked, this, [this, id] { RunCommand(id); });
        buttons_.insert(id, button);
        layout->addWidget(button);
        if (id == rtu::cmd::kDefaults) layout->addSpacing(12);  // device commands | profile commands
    }
    layout->addStretch(1);

    auto label = [&](int id, const char* key, QWidget* buddy) {
        auto* l = new QLabel(WithMnemonic(Tr("SYSBTN", key), used), row);
        l->setObjectName(ControlName(id));
        l->setBuddy(buddy);
        layout->addWidget(l);
        layout->addWidget(buddy);
    };

    portCombo_ = new QComboBox(row);
    portCombo_->setObjectName(ControlName(1000));
    portCombo_->setEditable(true);
    portCombo_->setInsertPolicy(QComboBox::NoInsert);
    portCombo_->setMinimumWidth(kPortComboWidth);
    portCombo_->setToolTip(tr("Serial port: choose one or type its path"));
    label(1101, "RS232", portCombo_);

    baudCombo_ = new QComboBox(row);
    baudCombo_->setObjectName(ControlName(1041));
    for (int b : rtu::kBaudRates) baudCombo_->addItem(QString::number(b));
    label(1102, "BPS", baudCombo_);

    parityCombo_ = new QComboBox(row);
    parityCombo_->setObjectName(ControlName(1042));
    for (std::size_t i = 0; i < std::size(kParityKeys); ++i) {
        const QString text = Tr("SYSCHAR", kParityKeys[i]);
        parityCombo_->addItem(text.isEmpty() ? QString::fromLatin1(kParityDefaults[i]) : text);
    }
    label(1104, "PARITY", parityCombo_);

    password_ = new QLineEdit(QString::fromUtf8(rtu::CDeviceLink::kDefaultPassword), row);
    password_->setObjectName(ControlName(1006));
    password_->setEchoMode(QLineEdit::PasswordEchoOnEdit);
    password_->setFixedWidth(kPasswordWidth);
    label(1103, "PWD", password_);
    connect(password_, &QLineEdit::textChanged, this, [this] { TakePassword(); });

    loginButton_ = new QToolButton(row);
    loginButton_->setObjectName(ControlName(rtu::cmd::kLogin));
    loginButton_->setIcon(QIcon::fromTheme(QStringLiteral("dialog-password"),
                                           style()->standardIcon(QStyle::SP_DialogApplyButton)));
    loginButton_->setToolTip(tr("Log in"));
    loginButton_->setAutoRaise(true);
    connect(loginButton_, &QToolButton::clicked, this, [this] { RunCommand(rtu::cmd::kLogin); });
    layout->addWidget(loginButton_);

    connIcon_ = new QLabel(row);
    connIcon_->setObjectName(ControlName(1003));
    layout->addWidget(connIcon_);

    auto* aboutButton = new QToolButton(row);
    aboutButton->setObjectName("about");
    aboutButton->setIcon(style()->standardIcon(QStyle::SP_MessageBoxInformation));
    aboutButton->setToolTip(QString::fromUtf8(kAboutItem));
    aboutButton->setAutoRaise(true);
    connect(aboutButton, &QToolButton::clicked, this, &CVarnelDlg::About);
    layout->addWidget(aboutButton);

    // The stored baud index (default 9600).
    const int baud = settings_.ReadNumber(setting::kBaud, kBaudDefault);
    baudCombo_->setCurrentIndex(baud >= 0 && baud < baudCombo_->count() ? baud : kBaudDefault);

    FillPortList();
    connect(portCombo_, &QComboBox::activated, this, [this] {
        OpenSelectedPort();
        ApplyParity();
    });
    connect(portCombo_->lineEdit(), &QLineEdit::returnPressed, this, [this] {
        OpenSelectedPort();
        ApplyParity();
    });
    connect(baudCombo_, &QComboBox::activated, this, [this] {
        OpenSelectedPort();
        ApplyParity();  // the reopened port keeps the parity the list shows
    });
    connect(parityCombo_, &QComboBox::activated, this, [this] { ApplyParity(); });
    return row;
}

void CVarnelDlg::FillPortList()
{
    portCombo_->clear();
    for (const std::string& p : rtu::ListSerialPorts()) portCombo_->addItem(QString::fromStdString(p));
}

void CVarnelDlg::SelectStoredPort()
{
    const QString path = settings_.ReadText(setting::kPortPath);
    if (!path.isEmpty()) {
        const int at = portCombo_->findText(path);
        if (at >= 0) portCombo_->setCurrentIndex(at);
        else portCombo_->setEditText(path);
        return;
    }
    const int index = settings_.ReadNumber(setting::kPort, 0);
    if (index >= 0 && index < portCombo_->count()) portCombo_->setCurrentIndex(index);
}

void CVarnelDlg::BuildPages()
{
    for (const auto& page : session_->Pages()) {
        const rtu::PageInfo* info = page->Info();
        if (!info || pageWidgets_.contains(info->navId)) continue;
        auto* view = new CPageView(*page, stack_);
        connect(view, &CPageView::coreCalled, this, &CVarnelDlg::ArmDeadline);
        stack_->addWidget(view);
        pageWidgets_.insert(info->navId, view);
    }
    if (!pageWidgets_.contains(kCommNav)) {
        comm_ = new CCommPageView(*session_, settings_, stack_);
        connect(comm_, &CCommPageView::StatusLine, statusLine_, &QLabel::setText);
        stack_->addWidget(comm_);
        pageWidgets_.insert(kCommNav, comm_);
    }
}

void CVarnelDlg::BuildNavigation()
{
    // The six folders and their items follow the page table; a page has an item once it exists.
    QHash<QString, int> folders;
    QList<const rtu::PageInfo*> more;
    for (const rtu::PageInfo& info : rtu::PageTable()) {
        if (!pageWidgets_.contains(info.navId)) continue;
        if (!info.folderKey || !info.itemKey) {
            more.append(&info);
            continue;
        }
        const QString key = QString::fromLatin1(info.folderKey);
        if (!folders.contains(key)) folders.insert(key, nav_->AddFolder(Tr("TABS", info.folderKey)));
        nav_->AddItem(folders.value(key), NavIcon(info.icon, style()), Tr("TABS", info.itemKey), info.navId);
    }
    if (more.isEmpty()) return;
    // Pages without an item of their own are reachable from one more folder.
    const int folder = nav_->AddFolder(Tr("TABS", "TAB_MORE"));
    for (const rtu::PageInfo* info : more) {
        QString caption;
        if (info->section) caption = Tr(info->section, "Title");
        if (caption.isEmpty()) {
            caption = QString::fromLatin1(info->className);
            if (caption.startsWith(QLatin1String("CPage"))) caption.remove(0, 5);
            else if (caption.startsWith(QLatin1Char('C'))) caption.remove(0, 1);
        }
        nav_->AddItem(folder, NavIcon(-1, style()), caption, info->navId);
    }
}

void CVarnelDlg::StartUp(const QString& portPath, bool openPort)
{
    if (!portPath.isEmpty()) {
        const int at = portCombo_->findText(portPath);
        if (at >= 0) portCombo_->setCurrentIndex(at);
        else portCombo_->setEditText(portPath);
    } else {
        SelectStoredPort();
    }
    const int parity = settings_.ReadNumber(setting::kParity, 0);
    parityCombo_->setCurrentIndex(parity >= 0 && parity < parityCombo_->count() ? parity : 0);
    OnPostCommand(rtu::cmd::kReload);
    if (openPort) {
        OpenSelectedPort();
        ApplyParity();
    }
}

void CVarnelDlg::UsePort(const QString& path)
{
    const int at = portCombo_->findText(path);
    if (at >= 0) portCombo_->setCurrentIndex(at);
    else portCombo_->setEditText(path);
    OpenSelectedPort();
    ApplyParity();
}

void CVarnelDlg::OpenSelectedPort()
{
    const QString path = portCombo_->currentText().trimmed();
    if (port_.IsPortOpen()) port_.EnablePort(0);
    if (!port_.IsPortOpen() && !path.isEmpty()) {
        port_.SetPortName(rtu::ResolvePortPath(path.toStdString()));
        port_.SetBaudRate(baudCombo_->currentText().toInt());
        port_.EnablePort(1);
        if (!port_.IsPortOpen()) OnStatusText("Cannot open " + port_.LastOpenError());  // e.g. in use by another program
    }
    UpdateConnIcon();
}

void CVarnelDlg::ApplyParity()
{
    if (port_.IsPortOpen()) port_.SetParity(parityCombo_->currentIndex());
}

void CVarnelDlg::UpdateConnIcon()
{
    connOpen_ = port_.IsPortOpen();
    const int size = style()->pixelMetric(QStyle::PM_SmallIconSize);
    const QIcon icon = connOpen_ ? QIcon::fromTheme(QStringLiteral("network-transmit-receive"),
                                                    style()->standardIcon(QStyle::SP_DialogYesButton))
                                 : QIcon::fromTheme(QStringLiteral("network-offline"),
                                                    style()->standardIcon(QStyle::SP_DialogNoButton));
    connIcon_->setPixmap(icon.pixmap(size, size));
    connIcon_->setToolTip(connOpen_ ? tr("Port open: %1").arg(QString::fromStdString(port_.PortName()))
                                    : port_.LastOpenError().empty()
                                        ? tr("Port closed")
                                        : tr("Port closed: %1").arg(QString::fromStdString(port_.LastOpenError())));
    connIcon_->setProperty("portOpen", connOpen_);
}

CPageView* CVarnelDlg::PageView(int navId) const { return qobject_cast<CPageView*>(PageWidget(navId)); }

QWidget* CVarnelDlg::ShownPage() const { return stack_->currentWidget(); }

QString CVarnelDlg::StatusText() const { return statusLine_->text(); }
QString CVarnelDlg::ModeText() const { return modeLine_->text(); }

void CVarnelDlg::ShowPage(int navId)
{
    if (navId < 0) {
        currentPageId_ = kNoPage;
        return;
    }
    currentPageId_ = navId;
    QWidget* w = PageWidget(navId);
    if (!w) {
        currentPage_ = nullptr;
        return;
    }
    stack_->setCurrentWidget(w);
    // The test console pages run no save batches: the progress window leaves them alone.
    currentPage_ = (navId == kCommNav || navId == kComm2Nav) ? nullptr : qobject_cast<CPageView*>(w);
    nav_->SelectData(navId);
    emit pageShown(navId);
}

void CVarnelDlg::ArmDeadline()
{
    const auto next = session_->Link().NextDeadline();
    if (!next) {
        deadline_->stop();
        return;
    }
    const rtu::Millis wait = std::max<rtu::Millis>(0, *next - Now());
    deadline_->start(static_cast<int>(std::min<rtu::Millis>(wait, 24 * 3600 * 1000)));
}

void CVarnelDlg::OnReceived(const std::string& chunk)
{
    session_->Link().HandleReceive(chunk);
    ArmDeadline();
}

void CVarnelDlg::TakePassword() { session_->Link().password = password_->text().toStdString(); }

void CVarnelDlg::RunCommand(int id)
{
    switch (id) {
    case rtu::cmd::kSetup: Setup(); break;
    case rtu::cmd::kSaveProfile: SaveProfile(); break;
    case rtu::cmd::kExecProfile: ExecProfile(); break;
    case rtu::cmd::kLogin: Login(); break;
    case rtu::cmd::kSavePicture:
        // Pictures are not kept by this tool yet; the transfer's progress ends here.
        progress_->hide();
        break;
    default:
        TakePassword();
        session_->HandleCommand(id);
        break;
    }
    ArmDeadline();
}

void CVarnelDlg::StoreSettings()
{
    const int index = portCombo_->findText(portCombo_->currentText());
    settings_.WriteNumber(setting::kPort, std::max(0, index));
    settings_.WriteNumber(setting::kBaud, baudCombo_->currentIndex());
    settings_.WriteText(setting::kPassword, password_->text());
    settings_.WriteNumber(setting::kParity, parityCombo_->currentIndex());
    settings_.WriteText(setting::kPortPath, portCombo_->currentText().trimmed());
}

void CVarnelDlg::Setup()
{
    const int index = portCombo_->findText(portCombo_->currentText());
    settings_.WriteNumber(setting::kPort, std::max(0, index));
    settings_.WriteNumber(setting::kBaud, baudCombo_->currentIndex());
    settings_.WriteText(setting::kPassword, password_->text());
    StoreSettings();
    // The user power-cycles the unit after this; the burst goes only once the box is closed.
    ShowMessage(QMessageBox::Information, QString::fromUtf8(kSetupNotice));
    TakePassword();
    session_->HandleCommand(rtu::cmd::kSetup);
}

void CVarnelDlg::Login()
{
    TakePassword();
    session_->HandleCommand(rtu::cmd::kLogin);
    settings_.WriteText(setting::kPassword, password_->text());
}

QString CVarnelDlg::QtFilter(const QString& winFilter)
{
    const QStringList parts = winFilter.split(QLatin1Char('|'));
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        const QString desc = parts[i].trimmed();
        QStringList patterns = parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts);
        if (desc.isEmpty() && patterns.isEmpty()) continue;
        for (QString& p : patterns)
            if (p == QLatin1String("*.*")) p = QStringLiteral("*");  // every file, dotted or not
        filters << QStringLiteral("%1 (%2)").arg(desc, patterns.join(QLatin1Char(' ')));
    }
    return filters.join(QStringLiteral(";;"));
}

QString CVarnelDlg::ChooseFile(bool save)
{
    const QString filter = QtFilter(QString::fromLatin1(kProfileFilter));
    if (fileChooser) return fileChooser(save, filter);
    const auto options = QFileDialog::HideNameFilterDetails;
    return save ? QFileDialog::getSaveFileName(this, QString(), QString(), filter, nullptr, options)
                : QFileDialog::getOpenFileName(this, QString(), QString(), filter, nullptr, options);
}

void CVarnelDlg::SaveProfile()
{
    const QString path = ChooseFile(true);
    if (path.isEmpty()) return;
    session_->SaveProfile(path.toStdString());
}

void CVarnelDlg::ExecProfile()
{
    if (session_->Link().profileBusy) return;
    const QString path = ChooseFile(false);
    if (path.isEmpty()) return;
    TakePassword();
    session_->ExecProfile(path.toStdString());
}

void CVarnelDlg::AskGoOnSilent(int notSent)
{
    rtu::CProfileRunner& runner = session_->Runner();
    if (!runner.Paused()) return;
    const QString text = tr("The unit left %1 command lines in a row unanswered; %2 line(s) are still to be sent.\n"
                            "Go on with the profile? (No stops it without committing.)")
                             .arg(rtu::CProfileRunner::kSilentLinesToAsk)
                             .arg(notSent);
    bool goOn = false;
    if (questionSink) {
        goOn = questionSink(text);
    } else {
        QMessageBox box(QMessageBox::Question, header_->Title(), text, QMessageBox::Yes | QMessageBox::No, this);
        goOn = box.exec() == QMessageBox::Yes;
    }
    if (goOn) runner.Continue();
    else runner.Stop();
    ArmDeadline();
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
    QMessageBox::about(this, QString::fromUtf8(kAboutItem), text);
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
    session_->Link().closingDown = true;  // a running profile stops at its next line
    StoreSettings();
    if (comm_) comm_->StoreSettings();
    progress_->hide();
    event->accept();
}

// --- link events ---

void CVarnelDlg::OnStatusText(const std::string& text) { statusLine_->setText(QString::fromStdString(text)); }

void CVarnelDlg::OnModeText(const std::string& text) { modeLine_->setText(QString::fromStdString(text)); }

void CVarnelDlg::OnBeep() { QApplication::beep(); }

void CVarnelDlg::OnPostCommand(int id)
{
    QMetaObject::invokeMethod(this, [this, id] { RunCommand(id); }, Qt::QueuedConnection);
}

void CVarnelDlg::OnMessage(rtu::MessageIcon icon, const std::string& text)
{
    // Shown from the event loop, never from inside the core's own call.
    const QMessageBox::Icon qicon =
        icon == rtu::MessageIcon::Error ? QMessageBox::Critical : QMessageBox::Information;
    QMetaObject::invokeMethod(this, [this, qicon, t = QString::fromStdString(text)] { ShowMessage(qicon, t); },
                              Qt::QueuedConnection);
}

void CVarnelDlg::OnConsoleChunk(std::string_view bytes)
{
    if (comm_) comm_->AppendReceived(bytes);
}

void CVarnelDlg::OnLine(const std::string& line)
{
    lineLog_.push_back(QString::fromStdString(line));
    while (lineLog_.size() > kLineLogMax) lineLog_.pop_front();
}
