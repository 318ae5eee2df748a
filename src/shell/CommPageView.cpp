#include "shell/CommPageView.h"

#include "session/SoundUpload.h"
#include "shell/CatalogText.h"
#include "shell/ConsoleReceivePane.h"
#include "shell/ConsoleSendBox.h"
#include "shell/MmsTestWindow.h"
#include "shell/SessionDriver.h"
#include "shell/TestResultPanel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include <memory>

using namespace rtu;
namespace id = rtu::comm::id;

namespace {

// The catalog section and keys of the console's captions.
constexpr const char* kCaptionSection = "Buttons";
constexpr const char* kRecvKey = "CommRecv";
constexpr const char* kSentKey = "CommSent";
constexpr const char* kSendKey = "CommBtnSend";
constexpr const char* kClearKey = "CommBtnClr";
constexpr const char* kAutoClearKey = "CommBtnAutoClr";
constexpr const char* kConsoleSection = "Console";  // the console's own texts (line end, log, …)
constexpr const char* kInfraredOnKey = "CommIrOn";
constexpr const char* kInfraredOffKey = "CommIrOff";

// Shown in the receive pane when the port took nothing of what the console sent.
constexpr const char* kNotSent = "Not sent: the port is not open or refused the text.\n";

// Object names: "comm_<control id>", so a control can be found by the id the unit's tool gives it.
QString ObjectName(int control) { return QStringLiteral("comm_%1").arg(control); }

// The download slots: 0-3 hold the alarm sounds of digital inputs 0-3.
constexpr int kEraseKeys = 1035;  // "Erase": the learned remote keys go

QString SlotName(int slot) { return QStringLiteral("Digital input %1 alarm sound").arg(slot); }

}  // namespace

CCommPageView::CCommPageView(CSessionDriver& driver, CRegSetting& settings, QWidget* parent)
    : QWidget(parent), driver_(driver), session_(driver.Session()), settings_(settings)
{
    chooseLogPath = [this](const QString& start) {
        return QFileDialog::getSaveFileName(this, Text("LOG_CHOOSE", "Log the console to"), start,
                                            QStringLiteral("(*.log *.txt);;(*)"));
    };
    auto* layout = new QVBoxLayout(this);
    const QFont fixed = CConsoleReceivePane::FixedFont();
    const int lineHeight = QFontMetrics(fixed).lineSpacing();

    auto* recvLabel = new QLabel(Caption(kRecvKey), this);
    recvLabel->setObjectName(ObjectName(1189));
    receive_ = new CConsoleReceivePane(this);
    recvLabel->setBuddy(receive_);
    receive_->setObjectName(ObjectName(id::kReceivePane));
    receive_->setMinimumHeight(kMinReceiveLines * lineHeight);
    layout->addWidget(recvLabel);
    layout->addWidget(receive_, 3);

    auto* sendLabel = new QLabel(Caption(kSentKey), this);
    sendLabel->setObjectName(ObjectName(1190));
    send_ = new CConsoleSendBox(this);  // Enter sends, Shift+Enter is a line break
    send_->setObjectName(ObjectName(id::kSendPane));
    send_->setFont(fixed);
    send_->setMinimumHeight(kMinSendLines * lineHeight);
    send_->setToolTip(Text("SEND_BOX_TIP", "Enter sends with the chosen line end; Shift+Enter starts another line; "
                                           "Up and Down bring back what was sent"));
    sendLabel->setBuddy(send_);
    layout->addWidget(sendLabel);
    layout->addWidget(send_, 1);
    layout->addWidget(BuildSendRow());
    layout->addWidget(BuildViewRow());

    // The test panel scrolls in its own area, so showing it never squeezes the panes.
    testPanel_ = BuildTestPanel();
    auto* scroll = new QScrollArea(this);
    scroll->setObjectName(QStringLiteral("comm_test_scroll"));
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidget(testPanel_);
    scroll->setMinimumHeight(kMinPanelLines * lineHeight);
    testScroll_ = scroll;
    layout->addWidget(testScroll_, 3);
    testScroll_->setVisible(false);  // the test panel is hidden until the toggle asks for it

    connect(serviceToggle_, &QCheckBox::toggled, testScroll_, &QWidget::setVisible);
    connect(&driver, &CSessionDriver::lineReceived, this, &CCommPageView::OnLine);

    connect(&driver, &CSessionDriver::consoleChunk, this,
            [this](const QByteArray& bytes) { AppendReceived(std::string_view(bytes.constData(), bytes.size())); });
    connect(&driver, &CSessionDriver::transferProgress, this, &CCommPageView::OnTransferProgress);
    connect(&driver, &CSessionDriver::transferEnded, this, [this](const QString& job) { OnTransferEnded(job); });

    // The test numbers start from the stored settings.
    smsNumber_->setText(settings_.ReadText(kSmsNumberSetting));
    const QString voice = settings_.ReadText(kVoiceNumberSetting);
    voiceNumber_->setText(voice.isEmpty() ? QString::fromLatin1(kVoiceNumberDefault) : voice);
    mmsNumber_->setText(settings_.ReadText(kMmsNumberSetting));

    ApplyVisibility();  // no product type: every group hidden
}

CCommPageView::~CCommPageView() = default;

QWidget* CCommPageView::BuildSendRow()
{
    auto* box = new QWidget(this);
    box->setObjectName(QStringLiteral("comm_send_row"));
    auto* row = new QHBoxLayout(box);
    row->setContentsMargins(0, 0, 0, 0);
    sendButton_ = new QPushButton(Caption(kSendKey), box);
    sendButton_->setObjectName(ObjectName(id::kSend));
    lineEnd_ = new QComboBox(box);
    lineEnd_->setObjectName(QStringLiteral("comm_line_end"));
    // In the order of comm::LineEnd.
    lineEnd_->addItem(Text("LINE_END_NONE", "No line end"));
    lineEnd_->addItem(Text("LINE_END_CR", "CR"));
    lineEnd_->addItem(Text("LINE_END_LF", "LF"));
    lineEnd_->addItem(Text("LINE_END_CRLF", "CR LF"));
    lineEnd_->setToolTip(Text("LINE_END_TIP", "What Send and Enter add after the text"));
    const int stored = settings_.ReadNumber(kLineEndSetting, static_cast<int>(comm::kDefaultLineEnd));
    lineEnd_->setCurrentIndex(stored >= 0 && stored < lineEnd_->count() ? stored
                                                                        : static_cast<int>(comm::kDefaultLineEnd));
    auto* lineEndLabel = new QLabel(Text("LINE_END", "Line end"), box);
    lineEndLabel->setBuddy(lineEnd_);
    auto* clear = new QPushButton(Caption(kClearKey), box);
    clear->setObjectName(ObjectName(id::kClear));
    autoClear_ = new QCheckBox(Caption(kAutoClearKey), box);
    autoClear_->setObjectName(ObjectName(id::kAutoClear));
    autoClear_->setChecked(true);
    echo_ = new QCheckBox(Text("ECHO", "Show sent text"), box);
    echo_->setObjectName(QStringLiteral("comm_echo"));
    echo_->setToolTip(Text("ECHO_TIP", "Show what the console sends in the receive pane, in blue"));
    echo_->setChecked(settings_.ReadNumber(kEchoSetting, 1) != 0);
    serviceToggle_ = new QCheckBox(tr("Service tests"), box);
    serviceToggle_->setObjectName(QStringLiteral("comm_service_tests"));
    row->addWidget(sendButton_);
    row->addWidget(lineEndLabel);
    row->addWidget(lineEnd_);
    row->addWidget(clear);
    row->addWidget(autoClear_);
    row->addWidget(echo_);
    row->addStretch(1);
    row->addWidget(serviceToggle_);

    connect(sendButton_, &QPushButton::clicked, this, &CCommPageView::OnSend);
    connect(send_, &CConsoleSendBox::sendRequested, this, &CCommPageView::OnSend);
    connect(lineEnd_, &QComboBox::currentIndexChanged, this,
            [this](int index) { settings_.WriteNumber(kLineEndSetting, index); });
    connect(clear, &QPushButton::clicked, this, &CCommPageView::ClearReceive);
    connect(autoClear_, &QCheckBox::toggled, receive_, &CConsoleReceivePane::SetAutoClear);
    connect(echo_, &QCheckBox::toggled, this, [this](bool on) { settings_.WriteNumber(kEchoSetting, on ? 1 : 0); });
    return box;
}

QWidget* CCommPageView::BuildViewRow()
{
    auto* box = new QWidget(this);
    box->setObjectName(QStringLiteral("comm_view_row"));
    auto* row = new QHBoxLayout(box);
    row->setContentsMargins(0, 0, 0, 0);
    timestamps_ = new QCheckBox(Text("TIMESTAMPS", "Time stamps"), box);
    timestamps_->setObjectName(QStringLiteral("comm_timestamps"));
    timestamps_->setToolTip(Text("TIMESTAMPS_TIP", "Start each line with the computer's time"));
    hex_ = new QCheckBox(Text("HEX", "Hex view"), box);
    hex_->setObjectName(QStringLiteral("comm_hex"));
    hex_->setToolTip(Text("HEX_TIP", "Show the unit's bytes as hex numbers"));
    log_ = new QCheckBox(Text("LOG", "Log to file"), box);
    log_->setObjectName(QStringLiteral("comm_log"));
    log_->setToolTip(Text("LOG_TIP", "Append everything the console shows to a file you choose"));
    logPath_ = new QLabel(box);
    logPath_->setObjectName(QStringLiteral("comm_log_path"));
    logPath_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    row->addWidget(timestamps_);
    row->addWidget(hex_);
    row->addWidget(log_);
    row->addWidget(logPath_, 1);

    connect(timestamps_, &QCheckBox::toggled, this, [this](bool on) {
        receive_->SetTimestamps(on);
        settings_.WriteNumber(kTimestampsSetting, on ? 1 : 0);
    });
    connect(hex_, &QCheckBox::toggled, this, [this](bool on) {
        receive_->SetHexView(on);
        settings_.WriteNumber(kHexSetting, on ? 1 : 0);
    });
    connect(log_, &QCheckBox::toggled, this, &CCommPageView::OnLogToggled);
    connect(receive_, &CConsoleReceivePane::logFailed, this, &CCommPageView::OnLogFailed);
    timestamps_->setChecked(settings_.ReadNumber(kTimestampsSetting, 0) != 0);
    hex_->setChecked(settings_.ReadNumber(kHexSetting, 0) != 0);
    return box;
}

void CCommPageView::OnLogToggled(bool on)
{
    if (!on) {
        receive_->StopLog();
        logPath_->clear();
        return;
    }
    const QString path = chooseLogPath(settings_.ReadText(kLogPathSetting));
    if (path.isEmpty() || !receive_->StartLog(path)) {
        if (!path.isEmpty()) OnLogFailed(path, receive_->LogError());
        const QSignalBlocker quiet(log_);
        log_->setChecked(false);
        return;
    }
    settings_.WriteText(kLogPathSetting, path);
    logPath_->setText(path);
}

void CCommPageView::OnLogFailed(const QString& path, const QString& error)
{
    {
        const QSignalBlocker quiet(log_);
        log_->setChecked(false);
    }
    logPath_->clear();
    session_.Tell(
        MessageIcon::Error,
        Text("LOG_FAILED", "The console is no longer logged: cannot write \"%1\": %2").arg(path, error).toStdString());
    driver_.Pump();
}

QWidget* CCommPageView::BuildTestPanel()
{
    auto* panel = new QWidget(this);
    panel->setObjectName(QStringLiteral("comm_test_panel"));
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);

    auto* frame = new QGroupBox(panel);
    frame->setObjectName(ObjectName(id::kProductFrame));
    auto* frameRow = new QHBoxLayout(frame);
    auto* productLabel = new QLabel(tr("Product type"), frame);
    productLabel->setObjectName(ObjectName(id::kProductLabel));
    productType_ = new QComboBox(frame);
    productType_->setObjectName(ObjectName(id::kProductType));
    for (const char* item : comm::kProductTypes) productType_->addItem(QString::fromUtf8(item));
    productType_->setCurrentIndex(comm::kNoProductType);
    frameRow->addWidget(productLabel);
    frameRow->addWidget(productType_, 1);
    auto* clear2 = new QPushButton(Caption(kClearKey), frame);
    clear2->setObjectName(ObjectName(id::kClear2));
    frameRow->addWidget(clear2);
    layout->addWidget(frame);
    connect(productType_, &QComboBox::activated, this, &CCommPageView::OnProductType);
    connect(clear2, &QPushButton::clicked, this, &CCommPageView::ClearReceive);

    auto* numbers = new QHBoxLayout;
    numbers->addWidget(BuildNumberRow(id::kSmsNumber, tr("SMS test number"), smsNumber_));
    numbers->addWidget(BuildNumberRow(id::kVoiceNumber, tr("Voice test number"), voiceNumber_));
    numbers->addWidget(BuildNumberRow(id::kMmsNumber, tr("MMS test number"), mmsNumber_));
    layout->addLayout(numbers);

    buttonBox_ = new QWidget(panel);
    auto* grid = new QGridLayout(buttonBox_);
    grid->setContentsMargins(0, 0, 0, 0);
    int cell = 0;
    for (const comm::TestCommand& command : comm::TestCommands()) {
        if (command.action == comm::Action::Download) continue;  // it lives in the download box
        auto* button = new QPushButton(QString::fromUtf8(command.caption), buttonBox_);
        button->setObjectName(ObjectName(command.id));
        grid->addWidget(button, cell / kButtonColumns, cell % kButtonColumns);
        ++cell;
        buttons_[command.id] = button;
        panelOrder_.push_back(button);
        groupWidgets_[command.id] = button;
        if (command.groups == comm::kNever) button->setVisible(false);
        const int control = command.id;
        connect(button, &QPushButton::clicked, this, [this, control] { OnTestButton(control); });
    }
    buttons_[id::kInfrared]->setToolTip(tr("Infrared light on/off"));
    buttons_[id::kInfrared]->setText(InfraredCaption());
    layout->addWidget(buttonBox_);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(BuildDownloadBox(), 1);
    results_ = new CTestResultPanel(Caption(kClearKey), panel);
    bottom->addWidget(results_, 1);
    layout->addLayout(bottom);
    return panel;
}

QWidget* CCommPageView::BuildNumberRow(int control, const QString& caption, QLineEdit*& edit)
{
    auto* row = new QWidget(this);
    row->setObjectName(QStringLiteral("comm_row_%1").arg(control));
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    edit = new QLineEdit(row);
    edit->setObjectName(ObjectName(control));
    layout->addWidget(new QLabel(caption, row));
    layout->addWidget(edit, 1);
    groupWidgets_[control] = row;
    return row;
}

QWidget* CCommPageView::BuildDownloadBox()
{
    auto* box = new QGroupBox(tr("Sound file download"), this);
    box->setObjectName(QStringLiteral("comm_download_box"));
    auto* layout = new QGridLayout(box);
    slot_ = new QComboBox(box);
    slot_->setObjectName(ObjectName(id::kSoundSlot));
    for (int slot = 0; slot < CSoundUpload::kInputSlots; ++slot) slot_->addItem(SlotName(slot));
    slot_->setCurrentIndex(-1);  // no slot until the user picks one
    download_ = buttons_[id::kDownload] =
        new QPushButton(QString::fromUtf8(comm::FindTestCommand(id::kDownload)->caption), box);
    download_->setObjectName(ObjectName(id::kDownload));
    download_->setEnabled(false);
    uploadProgress_ = new QProgressBar(box);
    uploadProgress_->setObjectName(QStringLiteral("comm_upload_progress"));
    uploadProgress_->setRange(0, 1);
    uploadProgress_->setValue(0);
    uploadStatus_ = new QLabel(box);
    uploadStatus_->setObjectName(QStringLiteral("comm_upload_status"));
    layout->addWidget(slot_, 0, 0);
    layout->addWidget(download_, 0, 1);
    layout->addWidget(uploadProgress_, 1, 0, 1, 2);
    layout->addWidget(uploadStatus_, 2, 0, 1, 2);
    // A download needs a slot: without one the unit would be sent a file name no input uses.
    connect(slot_, &QComboBox::currentIndexChanged, this,
            [this](int index) { download_->setEnabled(index >= 0 && !uploading_); });
    connect(download_, &QPushButton::clicked, this, &CCommPageView::UploadSoundFile);
    return box;
}

void CCommPageView::AppendReceived(std::string_view chunk) { receive_->AppendReceived(chunk); }

void CCommPageView::StoreSettings()
{
    settings_.WriteText(kSmsNumberSetting, smsNumber_->text());
    settings_.WriteText(kVoiceNumberSetting, voiceNumber_->text());
    settings_.WriteText(kMmsNumberSetting, mmsNumber_->text());
}

void CCommPageView::OnSend()
{
    const QString typed = send_->toPlainText();
    bool written = true;
    for (const std::string& block :
         comm::TypedBlocks(typed.toStdString(), static_cast<comm::LineEnd>(lineEnd_->currentIndex())))
        written = Write(block) && written;
    if (written) send_->Sent(typed);  // a text the port refused stays in the box
}

void CCommPageView::OnTestButton(int control)
{
    const comm::TestCommand* command = comm::FindTestCommand(control);
    if (!command) return;
    switch (command->action) {
    case comm::Action::None: return;
    case comm::Action::Download: UploadSoundFile(); return;
    case comm::Action::Infrared:
        Write(infrared_.Press());
        buttons_[control]->setText(InfraredCaption());
        return;
    case comm::Action::ClearResults:  // ATF: the unit's factory defaults
        if (runCommand) runCommand(rtu::cmd::kDefaults);
        if (session_.Busy()) ClearResults();  // it went ahead: the answers shown are the old unit's
        return;
    case comm::Action::Send:
    case comm::Action::FlashNote: break;
    }
    if (control == kEraseKeys && !ConfirmErase()) return;
    const comm::TestNumbers numbers = Numbers();
    if (command->arg != comm::NumberArg::None && comm::NumberFor(*command, numbers).empty()) {
        session_.Tell(MessageIcon::Information, comm::kEnterNumber);
        return;
    }
    if (command->clears) ClearReceive();
    bool written = true;
    for (const std::string& block : comm::CommandBlocks(*command, numbers)) written = Write(block) && written;
    if (written) {
        answers_.Start(buttons_[control]->text().toStdString());
        answering_ = control;
    }
    if (command->action == comm::Action::FlashNote) AppendReceived(comm::kFlashNote);
}

bool CCommPageView::ConfirmErase()
{
    const QString question = tr("Erase every remote and sensor the unit has learned? They cannot be read back: each "
                                "has to be learned again with Study.");
    if (confirmWrite) return confirmWrite(question);
    QMessageBox box(QMessageBox::Question, QString(), question, QMessageBox::Cancel, this);
    QPushButton* erase = box.addButton(buttons_[kEraseKeys]->text(), QMessageBox::AcceptRole);
    box.setDefaultButton(QMessageBox::Cancel);
    box.exec();
    return box.clickedButton() == erase;
}

void CCommPageView::OnProductType(int index)
{
    comm::ApplyProductType(index, visibility_);
    ApplyVisibility();
    if (comm::ShowsMmsTestWindow(index)) ShowMmsTestWindow();
}

void CCommPageView::ApplyVisibility()
{
    for (const auto& [control, shown] : visibility_) {
        auto it = groupWidgets_.find(control);
        if (it != groupWidgets_.end()) it->second->setVisible(shown);
    }
    // The shown buttons close up in panel order, so hidden ones leave no holes.
    auto* grid = static_cast<QGridLayout*>(buttonBox_->layout());
    for (QPushButton* button : panelOrder_) grid->removeWidget(button);
    int cell = 0;
    for (QPushButton* button : panelOrder_) {
        if (button->isHidden()) continue;
        grid->addWidget(button, cell / kButtonColumns, cell % kButtonColumns);
        ++cell;
    }
}

void CCommPageView::UploadSoundFile()
{
    const QString path = QFileDialog::getOpenFileName(this, QString(), QString(), QStringLiteral("WAV files (*.wav);;All files (*)"));
    if (path.isEmpty()) return;  // cancelled
    StartSoundUpload(path);
}

bool CCommPageView::StartSoundUpload(const QString& path)
{
    if (session_.TransferRunning()) return false;
    auto file = std::make_shared<QFile>(path);
    if (!file->open(QIODevice::ReadOnly)) {
        session_.Tell(MessageIcon::Error, CSoundUpload::kOpenError);
        return false;
    }
    CSoundUpload::Reader read = [file](char* buffer, std::size_t capacity) -> std::size_t {
        const qint64 n = file->read(buffer, static_cast<qint64>(capacity));
        return n > 0 ? static_cast<std::size_t>(n) : 0;
    };
    auto job = std::make_unique<CSoundUpload>(slot_->currentIndex(), slot_->currentText().toStdString(), file->size(),
                                              std::move(read));
    if (!session_.StartTransfer(std::move(job))) return false;
    SetUploadBusy(true);
    return true;
}

void CCommPageView::OnTransferProgress(const QString& job, qint64 done, qint64 total, const QString& text)
{
    if (job != QLatin1String(CSoundUpload::kJobName)) return;
    uploadProgress_->setRange(0, static_cast<int>(total > 0 ? total : 1));
    uploadProgress_->setValue(static_cast<int>(done));
    if (!text.isEmpty()) uploadStatus_->setText(text);
}

void CCommPageView::OnTransferEnded(const QString& job)
{
    if (job == QLatin1String(CSoundUpload::kJobName)) SetUploadBusy(false);
}

// While a download runs the console's own sends wait: a command typed or pressed now would
// land in the middle of the file's bytes.
void CCommPageView::SetUploadBusy(bool busy)
{
    sendButton_->setEnabled(!busy);
    buttonBox_->setEnabled(!busy);
    slot_->setEnabled(!busy);
    download_->setEnabled(!busy && slot_->currentIndex() >= 0);
    uploading_ = busy;
}

void CCommPageView::ClearReceive() { receive_->ClearAll(); }

void CCommPageView::ClearResults()
{
    results_->Clear();
    answers_.Stop();
}

// The unit's answer to the test button pressed last fills the result panel.
void CCommPageView::OnLine(const QString& line)
{
    if (!answers_.Waiting()) return;
    if (!session_.SenderIdle()) {
        // The session has a command line of its own out (a reload, a page save): what comes
        // now answers that, not the test.
        answers_.Stop();
        return;
    }
    const std::vector<comm::ResultRow> rows = answers_.Feed(line.toStdString());
    results_->AddRows(rows);
    if (mmsWindow_ && !rows.empty() && (answering_ == id::kMmsTest || answering_ == id::kCameraTest))
        mmsWindow_->SetStatus(QString::fromStdString(rows.back().item + ": " + rows.back().result));
}

void CCommPageView::ShowMmsTestWindow()
{
    if (!mmsWindow_) mmsWindow_ = new CMmsTestWindow(session_, this);
    mmsWindow_->show();
    mmsWindow_->raise();
    emit MmsTestWindowRequested();
}

bool CCommPageView::Write(std::string_view bytes)
{
    const bool written = session_.SendRaw(bytes);
    if (!written) receive_->AppendSent(kNotSent);
    else if (echo_->isChecked()) receive_->AppendSent(bytes);
    return written;
}

comm::TestNumbers CCommPageView::Numbers() const
{
    return {smsNumber_->text().toStdString(), voiceNumber_->text().toStdString(), mmsNumber_->text().toStdString()};
}

QString CCommPageView::Text(const char* key, const char* english) const
{
    return CatalogText(session_.Catalog(), kConsoleSection, key, english);
}

// The infrared button names what its next press does, in the catalog's words.
QString CCommPageView::InfraredCaption() const
{
    const bool on = std::string_view(infrared_.Caption()) == comm::CInfraredToggle::kOnCaption;
    const QString text = Caption(on ? kInfraredOnKey : kInfraredOffKey);
    return text.isEmpty() ? (on ? tr("Infrared on") : tr("Infrared off")) : text;
}

QString CCommPageView::Caption(const char* key) const
{
    const CTextCatalog* catalog = session_.Catalog();
    return catalog ? QString::fromStdString(catalog->GetText(kCaptionSection, key)) : QString();
}
