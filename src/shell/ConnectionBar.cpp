#include "shell/ConnectionBar.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QResizeEvent>
#include <QSet>
#include <QStyle>
#include <QToolButton>

#include <algorithm>

#include "link/DeviceLink.h"
#include "link/PortDiagnosis.h"
#include "link/SerialPortList.h"
#include "shell/CatalogText.h"
#include "shell/RegSetting.h"

namespace {

// Parity entries when the catalog has none.
constexpr const char* kParityDefaults[] = {"0: None", "1: Odd", "2: Even", "3: Mask"};
constexpr const char* kParityKeys[] = {"PARITY0", "PARITY1", "PARITY2", "PARITY3"};
constexpr const char* kAboutFallback = "About";  // the About button's tip when the catalog has none
constexpr const char* kWindowSection = "Window";  // the bar's own texts in the catalog

struct CommandButton {
    int id;
    const char* key;  // caption key in "SYSBTN"
    QStyle::StandardPixmap icon;
    const char* tip;  // what the button does
};

constexpr CommandButton kCommandButtons[] = {
    {rtu::cmd::kSetup, "SETUP", QStyle::SP_ComputerIcon,
     "Bring the unit into setup mode (you power it off and on when asked)"},
    {rtu::cmd::kReload, "RELOAD", QStyle::SP_BrowserReload, "Read every page from the unit again"},
    {rtu::cmd::kRestart, "RESTART", QStyle::SP_MediaSkipBackward, "Restart the unit"},
    {rtu::cmd::kDefaults, "DEFAULTS", QStyle::SP_DialogResetButton,
     "Restore the unit's factory settings, then read them back"},
    {rtu::cmd::kSaveProfile, "SAVE", QStyle::SP_DialogSaveButton, "Save all pages as a profile file of command lines"},
    {rtu::cmd::kExecProfile, "EXEC", QStyle::SP_DialogOpenButton,
     "Send a profile file's command lines to the unit, then read it back"},
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

CConnectionBar::CConnectionBar(const rtu::CTextCatalog& catalog, QWidget* parent) : QWidget(parent), catalog_(catalog)
{
    setObjectName("topRow");
    // Two groups side by side, or one over the other when the window is too narrow for both.
    rows_ = new QBoxLayout(QBoxLayout::LeftToRight, this);
    rows_->setContentsMargins(kMargin, kMargin, kMargin, kMargin);
    rows_->setSpacing(kMargin);
    commands_ = new QWidget(this);
    commands_->setObjectName("commandGroup");
    auto* layout = new QHBoxLayout(commands_);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(kMargin);
    rows_->addWidget(commands_);
    connection_ = new QWidget(this);
    connection_->setObjectName("connectionGroup");
    rows_->addWidget(connection_, 1);
    QSet<QChar> used;

    for (const CommandButton& b : kCommandButtons) {
        auto* button = new QPushButton(WithMnemonic(Tr("SYSBTN", b.key), used), commands_);
        button->setObjectName(ControlName(b.id));
        button->setIcon(style()->standardIcon(b.icon));
        button->setToolTip(tr(b.tip));
        button->setAutoDefault(false);
        const int id = b.id;
        connect(button, &QPushButton::clicked, this, [this, id] { emit commandClicked(id); });
        buttons_.insert(id, button);
        layout->addWidget(button);
        if (id == rtu::cmd::kDefaults) layout->addSpacing(kGroupGap);
    }

    layout = new QHBoxLayout(connection_);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(kMargin);
    layout->addStretch(1);
    auto label = [&](int id, const char* key, QWidget* buddy) {
        auto* l = new QLabel(WithMnemonic(Tr("SYSBTN", key), used), connection_);
        l->setObjectName(ControlName(id));
        l->setBuddy(buddy);
        layout->addWidget(l);
        layout->addWidget(buddy);
    };

    portCombo_ = new QComboBox(connection_);
    portCombo_->setObjectName(ControlName(1000));
    portCombo_->setEditable(true);
    portCombo_->setInsertPolicy(QComboBox::NoInsert);
    portCombo_->setMinimumWidth(kPortComboWidth);
    portCombo_->setToolTip(tr("Serial port: choose one or type its path"));
    label(1101, "RS232", portCombo_);

    baudCombo_ = new QComboBox(connection_);
    baudCombo_->setObjectName(ControlName(1041));
    baudCombo_->setToolTip(tr("Baud rate of the serial port"));
    for (int b : rtu::kBaudRates) baudCombo_->addItem(QString::number(b));
    label(1102, "BPS", baudCombo_);

    parityCombo_ = new QComboBox(connection_);
    parityCombo_->setObjectName(ControlName(1042));
    parityCombo_->setToolTip(tr("Parity of the serial port"));
    for (std::size_t i = 0; i < std::size(kParityKeys); ++i) {
        const QString text = Tr("SYSCHAR", kParityKeys[i]);
        parityCombo_->addItem(text.isEmpty() ? QString::fromLatin1(kParityDefaults[i]) : text);
    }
    label(1104, "PARITY", parityCombo_);

    password_ = new QLineEdit(QString::fromUtf8(rtu::CDeviceLink::kDefaultPassword), connection_);
    password_->setObjectName(ControlName(1006));
    password_->setEchoMode(QLineEdit::PasswordEchoOnEdit);
    password_->setFixedWidth(kPasswordWidth);
    password_->setToolTip(tr("The unit's console password"));
    label(1103, "PWD", password_);
    connect(password_, &QLineEdit::textChanged, this, &CConnectionBar::passwordEdited);

    loginButton_ = new QToolButton(connection_);
    loginButton_->setObjectName(ControlName(rtu::cmd::kLogin));
    loginButton_->setIcon(
        QIcon::fromTheme(QStringLiteral("dialog-password"), style()->standardIcon(QStyle::SP_DialogApplyButton)));
    loginButton_->setAutoRaise(true);
    connect(loginButton_, &QToolButton::clicked, this, [this] { emit commandClicked(rtu::cmd::kLogin); });
    layout->addWidget(loginButton_);

    silent_ = new QLabel(connection_);
    silent_->setObjectName("unitSilent");
    silent_->setText(Text("NOT_ANSWERING", kNotAnswering));
    silent_->setToolTip(Text("NOT_ANSWERING_TIP", "A line sent to the unit got no answer. Check that the unit is "
                                                  "powered, the cable, the baud rate and the parity."));
    silent_->setStyleSheet(QStringLiteral("color: #b00020; font-weight: bold;"));
    silent_->setVisible(false);
    layout->addWidget(silent_);

    light_ = new QLabel(connection_);
    light_->setObjectName(ControlName(1003));
    layout->addWidget(light_);

    auto* aboutButton = new QToolButton(connection_);
    aboutButton->setObjectName("about");
    aboutButton->setIcon(style()->standardIcon(QStyle::SP_MessageBoxInformation));
    const QString about = Tr("SYSBTN", "ABOUT");
    aboutButton->setToolTip(about.isEmpty() ? QString::fromLatin1(kAboutFallback) : about);
    aboutButton->setAutoRaise(true);
    connect(aboutButton, &QToolButton::clicked, this, &CConnectionBar::aboutClicked);
    layout->addWidget(aboutButton);
    about_ = aboutButton;

    FillPortList();
    connect(portCombo_, &QComboBox::activated, this, &CConnectionBar::portChosen);
    connect(portCombo_->lineEdit(), &QLineEdit::returnPressed, this, &CConnectionBar::portChosen);
    connect(baudCombo_, &QComboBox::activated, this, &CConnectionBar::portChosen);
    connect(parityCombo_, &QComboBox::activated, this, &CConnectionBar::parityChosen);
    SetPortState(false, {}, {});
    // The bar may get as narrow as its wider group: then the groups sit one over the other.
    const QMargins m = rows_->contentsMargins();
    setMinimumWidth(m.left() + std::max(commands_->minimumSizeHint().width(), connection_->minimumSizeHint().width()) +
                    m.right());
}

int CConnectionBar::OneRowWidth() const
{
    const QMargins m = rows_->contentsMargins();
    return m.left() + commands_->sizeHint().width() + rows_->spacing() + connection_->sizeHint().width() + m.right();
}

void CConnectionBar::resizeEvent(QResizeEvent* event)
{
    // Below the width both groups need, the connection controls move to a second row.
    const auto direction = event->size().width() >= OneRowWidth() ? QBoxLayout::LeftToRight : QBoxLayout::TopToBottom;
    if (rows_->direction() != direction) rows_->setDirection(direction);
    QWidget::resizeEvent(event);
}

QString CConnectionBar::Tr(const char* section, const char* key) const
{
    return QString::fromStdString(catalog_.GetText(section, key));
}

QString CConnectionBar::Text(const char* key, const char* english) const
{
    return CatalogText(&catalog_, kWindowSection, key, english);
}

void CConnectionBar::AddTool(QWidget* tool)
{
    auto* layout = static_cast<QBoxLayout*>(connection_->layout());
    tool->setParent(connection_);
    layout->insertWidget(layout->indexOf(about_), tool);
}

void CConnectionBar::FillPortList()
{
    portCombo_->clear();
    // A USB adapter is listed under its stable name first (maker, product and serial number
    // are in it, and it stays the same whichever ttyUSB number the adapter gets), then by its
    // device node; the tip tells what is behind each.
    for (const std::string& p : rtu::ListSerialPorts()) {
        const rtu::PortDetails port = rtu::DescribePort(p);
        const QString tip = QString::fromStdString(rtu::PortSummary(port));
        if (!port.byId.empty()) {
            portCombo_->addItem(QString::fromStdString(port.byId));
            portCombo_->setItemData(portCombo_->count() - 1, tip, Qt::ToolTipRole);
        }
        portCombo_->addItem(QString::fromStdString(p));
        portCombo_->setItemData(portCombo_->count() - 1, tip, Qt::ToolTipRole);
    }
}

void CConnectionBar::ShowPortPicker()
{
    const QString chosen = PortPath();
    FillPortList();
    SelectPort(chosen);
    portCombo_->setFocus();
    portCombo_->showPopup();
}

QString CConnectionBar::PortPath() const { return portCombo_->currentText().trimmed(); }
int CConnectionBar::Baud() const { return baudCombo_->currentText().toInt(); }
int CConnectionBar::Parity() const { return parityCombo_->currentIndex(); }
QString CConnectionBar::Password() const { return password_->text(); }

void CConnectionBar::SelectPort(const QString& path)
{
    const int at = portCombo_->findText(path);
    if (at >= 0) portCombo_->setCurrentIndex(at);
    else portCombo_->setEditText(path);
}

void CConnectionBar::SelectBaud(int baud)
{
    if (const int at = baudCombo_->findText(QString::number(baud)); at >= 0) baudCombo_->setCurrentIndex(at);
}

void CConnectionBar::RestoreBaud(const CRegSetting& settings)
{
    const int baud = settings.ReadNumber(setting::kBaud, kBaudDefault);
    baudCombo_->setCurrentIndex(baud >= 0 && baud < baudCombo_->count() ? baud : kBaudDefault);
}

void CConnectionBar::Restore(const CRegSetting& settings, const QString& portPath)
{
    if (!portPath.isEmpty()) {
        SelectPort(portPath);
    } else if (const QString stored = settings.ReadText(setting::kPortPath); !stored.isEmpty()) {
        SelectPort(stored);
    } else {
        const int index = settings.ReadNumber(setting::kPort, 0);
        if (index >= 0 && index < portCombo_->count()) portCombo_->setCurrentIndex(index);
    }
    const int parity = settings.ReadNumber(setting::kParity, 0);
    parityCombo_->setCurrentIndex(parity >= 0 && parity < parityCombo_->count() ? parity : 0);
}

void CConnectionBar::Store(CRegSetting& settings, bool withPort) const
{
    StorePassword(settings);
    settings.WriteNumber(setting::kParity, parityCombo_->currentIndex());
    if (!withPort) return;
    settings.WriteNumber(setting::kBaud, baudCombo_->currentIndex());
    const int index = portCombo_->findText(portCombo_->currentText());
    settings.WriteNumber(setting::kPort, std::max(0, index));
    // The stable name of an adapter is kept, so a re-plugged one is found under another number.
    const std::string stable = rtu::DescribePort(PortPath().toStdString()).byId;
    settings.WriteText(setting::kPortPath, stable.empty() ? PortPath() : QString::fromStdString(stable));
}

void CConnectionBar::StorePassword(CRegSetting& settings) const
{
    settings.WriteText(setting::kPassword, password_->text());
}

void CConnectionBar::SetPortState(bool open, const QString& portName, const QString& error)
{
    open_ = open;
    if (lightShown_ != open) {  // the picture is read only when the state changes
        lightShown_ = open;
        const int size = style()->pixelMetric(QStyle::PM_SmallIconSize);
        const QIcon icon = open ? QIcon::fromTheme(QStringLiteral("network-transmit-receive"),
                                                   style()->standardIcon(QStyle::SP_DialogYesButton))
                                : QIcon::fromTheme(QStringLiteral("network-offline"),
                                                   style()->standardIcon(QStyle::SP_DialogNoButton));
        light_->setPixmap(icon.pixmap(size, size));
    }
    light_->setToolTip(open              ? tr("Port open: %1").arg(portName)
                       : error.isEmpty() ? tr("Port closed")
                                         : tr("Port closed: %1").arg(error));
    light_->setProperty("portOpen", open);
    if (!open) SetUnitAnswering(true);  // nothing is said of a unit the tool cannot reach
    ApplyButtonStates();
}

void CConnectionBar::SetWritesEnabled(bool on)
{
    writesEnabled_ = on;
    ApplyButtonStates();
}

void CConnectionBar::SetUnitAnswering(bool answering)
{
    if (answering_ == answering) return;
    answering_ = answering;
    silent_->setVisible(!answering);
}

void CConnectionBar::ApplyButtonStates()
{
    const QString noPort = Text("NO_PORT_TIP", kNoPortTip);
    for (const CommandButton& b : kCommandButtons) {
        QPushButton* button = buttons_.value(b.id, nullptr);
        if (!button || b.id == rtu::cmd::kSaveProfile) continue;  // a profile is saved from the pages, not the unit
        const bool writes = b.id == rtu::cmd::kExecProfile || b.id == rtu::cmd::kRestart || b.id == rtu::cmd::kDefaults;
        button->setEnabled(open_ && (writesEnabled_ || !writes));
        button->setToolTip(open_ ? tr(b.tip) : tr(b.tip) + QStringLiteral("\n") + noPort);
    }
    loginButton_->setEnabled(open_);
    const QString login = tr("Log in to the unit's console with this password");
    loginButton_->setToolTip(open_ ? login : login + QStringLiteral("\n") + noPort);
}
