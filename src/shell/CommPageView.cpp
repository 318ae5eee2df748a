#include "shell/CommPageView.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QTextCursor>
#include <QTextDocument>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <chrono>
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

// Object names: "comm_<control id>", so a control can be found by the id the unit's tool gives it.
QString ObjectName(int control) { return QStringLiteral("comm_%1").arg(control); }

// The download slots: 0-3 hold the alarm sounds of digital inputs 0-3.
QString SlotName(int slot) { return QStringLiteral("Digital input %1 alarm sound").arg(slot); }

}  // namespace

CCommPageView::CCommPageView(CSession& session, CRegSetting& settings, QWidget* parent)
    : QWidget(parent), m_session(session), m_settings(settings), m_upload(session.Link().Console(), *this)
{
    auto* layout = new QVBoxLayout(this);

    auto* recvLabel = new QLabel(Caption(kRecvKey), this);
    recvLabel->setObjectName(ObjectName(1189));
    m_receive = new QPlainTextEdit(this);
    m_receive->setObjectName(ObjectName(id::kReceivePane));
    m_receive->setReadOnly(true);
    m_receive->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    layout->addWidget(recvLabel);
    layout->addWidget(m_receive, 3);

    auto* sendLabel = new QLabel(Caption(kSentKey), this);
    sendLabel->setObjectName(ObjectName(1190));
    m_send = new QPlainTextEdit(this);  // Enter is a line break here
    m_send->setObjectName(ObjectName(id::kSendPane));
    layout->addWidget(sendLabel);
    layout->addWidget(m_send, 1);

    auto* row = new QHBoxLayout;
    m_sendButton = new QPushButton(Caption(kSendKey), this);
    m_sendButton->setObjectName(ObjectName(id::kSend));
    auto* clear = new QPushButton(Caption(kClearKey), this);
    clear->setObjectName(ObjectName(id::kClear));
    m_autoClear = new QCheckBox(Caption(kAutoClearKey), this);
    m_autoClear->setObjectName(ObjectName(id::kAutoClear));
    m_autoClear->setChecked(true);
    m_serviceToggle = new QCheckBox(tr("Service tests"), this);
    m_serviceToggle->setObjectName(QStringLiteral("comm_service_tests"));
    row->addWidget(m_sendButton);
    row->addWidget(clear);
    row->addWidget(m_autoClear);
    row->addStretch(1);
    row->addWidget(m_serviceToggle);
    layout->addLayout(row);

    m_testPanel = BuildTestPanel();
    layout->addWidget(m_testPanel);
    m_testPanel->setVisible(false);  // the test panel is hidden until the toggle asks for it

    connect(m_sendButton, &QPushButton::clicked, this, &CCommPageView::OnSend);
    connect(clear, &QPushButton::clicked, this, &CCommPageView::ClearReceive);
    connect(m_serviceToggle, &QCheckBox::toggled, m_testPanel, &QWidget::setVisible);

    m_uploadTimer.setInterval(kUploadPollMs);
    connect(&m_uploadTimer, &QTimer::timeout, this, &CCommPageView::AdvanceUpload);

    // The test numbers start from the stored settings.
    m_smsNumber->setText(m_settings.ReadText(kSmsNumberSetting));
    const QString voice = m_settings.ReadText(kVoiceNumberSetting);
    m_voiceNumber->setText(voice.isEmpty() ? QString::fromLatin1(kVoiceNumberDefault) : voice);
    m_mmsNumber->setText(m_settings.ReadText(kMmsNumberSetting));

    ApplyVisibility();  // no product type: every group hidden
}

CCommPageView::~CCommPageView() = default;

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
    m_productType = new QComboBox(frame);
    m_productType->setObjectName(ObjectName(id::kProductType));
    for (const char* item : comm::kProductTypes) m_productType->addItem(QString::fromUtf8(item));
    m_productType->setCurrentIndex(comm::kNoProductType);
    frameRow->addWidget(productLabel);
    frameRow->addWidget(m_productType, 1);
    auto* clear2 = new QPushButton(Caption(kClearKey), frame);
    clear2->setObjectName(ObjectName(id::kClear2));
    frameRow->addWidget(clear2);
    layout->addWidget(frame);
    connect(m_productType, &QComboBox::activated, this, &CCommPageView::OnProductType);
    connect(clear2, &QPushButton::clicked, this, &CCommPageView::ClearReceive);

    auto* numbers = new QHBoxLayout;
    numbers->addWidget(BuildNumberRow(id::kSmsNumber, tr("SMS test number"), m_smsNumber));
    numbers->addWidget(BuildNumberRow(id::kVoiceNumber, tr("Voice test number"), m_voiceNumber));
    numbers->addWidget(BuildNumberRow(id::kMmsNumber, tr("MMS test number"), m_mmsNumber));
    layout->addLayout(numbers);

    m_buttonBox = new QWidget(panel);
    auto* grid = new QGridLayout(m_buttonBox);
    grid->setContentsMargins(0, 0, 0, 0);
    int cell = 0;
    for (const comm::TestCommand& command : comm::TestCommands()) {
        if (command.action == comm::Action::Download) continue;  // it lives in the download box
        auto* button = new QPushButton(QString::fromUtf8(command.caption), m_buttonBox);
        button->setObjectName(ObjectName(command.id));
        grid->addWidget(button, cell / kButtonColumns, cell % kButtonColumns);
        ++cell;
        m_buttons[command.id] = button;
        m_groupWidgets[command.id] = button;
        if (command.groups == comm::kNever) button->setVisible(false);
        const int control = command.id;
        connect(button, &QPushButton::clicked, this, [this, control] { OnTestButton(control); });
    }
    m_buttons[id::kInfrared]->setToolTip(tr("Infrared light on/off"));
    layout->addWidget(m_buttonBox);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(BuildDownloadBox(), 1);
    bottom->addWidget(BuildResultPanel(), 1);
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
    m_groupWidgets[control] = row;
    return row;
}

QWidget* CCommPageView::BuildDownloadBox()
{
    auto* box = new QGroupBox(tr("Sound file download"), this);
    box->setObjectName(QStringLiteral("comm_download_box"));
    auto* layout = new QGridLayout(box);
    m_slot = new QComboBox(box);
    m_slot->setObjectName(ObjectName(id::kSoundSlot));
    for (int slot = 0; slot < CSoundUpload::kInputSlots; ++slot) m_slot->addItem(SlotName(slot));
    m_slot->setCurrentIndex(-1);  // no slot until the user picks one
    m_download = m_buttons[id::kDownload] = new QPushButton(QString::fromUtf8(comm::FindTestCommand(id::kDownload)->caption), box);
    m_download->setObjectName(ObjectName(id::kDownload));
    m_download->setEnabled(false);
    m_uploadProgress = new QProgressBar(box);
    m_uploadProgress->setObjectName(QStringLiteral("comm_upload_progress"));
    m_uploadProgress->setRange(0, 1);
    m_uploadProgress->setValue(0);
    m_uploadStatus = new QLabel(box);
    m_uploadStatus->setObjectName(QStringLiteral("comm_upload_status"));
    layout->addWidget(m_slot, 0, 0);
    layout->addWidget(m_download, 0, 1);
    layout->addWidget(m_uploadProgress, 1, 0, 1, 2);
    layout->addWidget(m_uploadStatus, 2, 0, 1, 2);
    // A download needs a slot: without one the unit would be sent a file name no input uses.
    connect(m_slot, &QComboBox::currentIndexChanged, this,
            [this](int index) { m_download->setEnabled(index >= 0 && !m_upload.Busy()); });
    connect(m_download, &QPushButton::clicked, this, &CCommPageView::UploadSoundFile);
    return box;
}

QWidget* CCommPageView::BuildResultPanel()
{
    auto* box = new QGroupBox(tr("Test results"), this);
    box->setObjectName(QStringLiteral("comm_results"));
    auto* layout = new QVBoxLayout(box);
    m_results = new QTreeWidget(box);
    m_results->setObjectName(QStringLiteral("comm_result_list"));
    m_results->setRootIsDecorated(false);
    m_results->setHeaderLabels({tr("Test item"), tr("Result")});
    m_results->header()->setDefaultSectionSize(kResultColumnWidth);
    QFont font;
    font.setFamilies({QStringLiteral("黑体"), QStringLiteral("SimHei")});
    font.setPixelSize(kResultFontPixels);
    m_results->setFont(font);
    m_results->setMaximumHeight(kResultListHeight);
    m_results->setStyleSheet(QStringLiteral("QTreeWidget { color: white; background: black; }"));
    m_resultEdit = new QLineEdit(box);
    m_resultEdit->setObjectName(ObjectName(id::kResultEdit));
    auto* clear = new QPushButton(Caption(kClearKey), box);
    clear->setObjectName(QStringLiteral("comm_results_clear"));
    layout->addWidget(m_results, 1);
    layout->addWidget(m_resultEdit);
    layout->addWidget(clear);
    connect(clear, &QPushButton::clicked, this, &CCommPageView::ClearResults);
    return box;
}

void CCommPageView::AppendReceived(std::string_view chunk)
{
    if (!chunk.empty()) {
        const std::string text = m_receiveText.Feed(chunk);
        const QString shown = m_decoder.decode(QByteArrayView(text.data(), static_cast<qsizetype>(text.size())));
        QTextCursor cursor(m_receive->document());
        cursor.movePosition(QTextCursor::End);
        cursor.insertText(shown);
        m_receive->verticalScrollBar()->setValue(m_receive->verticalScrollBar()->maximum());
        if (m_autoClear->isChecked() && m_receive->document()->blockCount() >= comm::kAutoClearLines) ClearReceive();
    }
    // The pipeline sets the transfer flags once it has cut this chunk into lines: look after that.
    if (m_upload.Busy()) QTimer::singleShot(0, this, &CCommPageView::AdvanceUpload);
}

void CCommPageView::StoreSettings()
{
    m_settings.WriteText(kSmsNumberSetting, m_smsNumber->text());
    m_settings.WriteText(kVoiceNumberSetting, m_voiceNumber->text());
    m_settings.WriteText(kMmsNumberSetting, m_mmsNumber->text());
}

void CCommPageView::OnSend()
{
    const std::string typed = m_send->toPlainText().toStdString();
    for (const std::string& block : comm::TypedBlocks(typed)) Write(block);
}

void CCommPageView::OnTestButton(int control)
{
    const comm::TestCommand* command = comm::FindTestCommand(control);
    if (!command) return;
    switch (command->action) {
    case comm::Action::None:
        return;
    case comm::Action::Download:
        UploadSoundFile();
        return;
    case comm::Action::Infrared:
        Write(m_infrared.Press());
        m_buttons[control]->setText(QString::fromUtf8(m_infrared.Caption()));
        return;
    case comm::Action::Send:
    case comm::Action::ClearResults:
    case comm::Action::FlashNote:
        break;
    }
    const comm::TestNumbers numbers = Numbers();
    if (command->arg != comm::NumberArg::None && comm::NumberFor(*command, numbers).empty()) {
        Message(MessageIcon::Information, comm::kEnterNumber);
        return;
    }
    if (command->clears) ClearReceive();
    for (const std::string& block : comm::CommandBlocks(*command, numbers)) Write(block);
    if (command->action == comm::Action::ClearResults) ClearResults();
    if (command->action == comm::Action::FlashNote) AppendReceived(comm::kFlashNote);
}

void CCommPageView::OnProductType(int index)
{
    comm::ApplyProductType(index, m_visibility);
    ApplyVisibility();
    if (comm::ShowsMmsTestWindow(index)) emit MmsTestWindowRequested();
}

void CCommPageView::ApplyVisibility()
{
    for (const auto& [control, shown] : m_visibility) {
        auto it = m_groupWidgets.find(control);
        if (it != m_groupWidgets.end()) it->second->setVisible(shown);
    }
}

void CCommPageView::UploadSoundFile()
{
    const QString path = QFileDialog::getOpenFileName(this, QString(), QString(), QStringLiteral("(*.wav);;(*.*)"));
    if (path.isEmpty()) return;  // cancelled
    StartSoundUpload(path);
}

bool CCommPageView::StartSoundUpload(const QString& path)
{
    if (m_upload.Busy()) return false;
    auto file = std::make_shared<QFile>(path);
    if (!file->open(QIODevice::ReadOnly)) {
        Message(MessageIcon::Error, CSoundUpload::kOpenError);
        return false;
    }
    CSoundUpload::Reader read = [file](char* buffer, std::size_t capacity) -> std::size_t {
        const qint64 n = file->read(buffer, static_cast<qint64>(capacity));
        return n > 0 ? static_cast<std::size_t>(n) : 0;
    };
    if (!m_upload.Start(m_slot->currentIndex(), m_slot->currentText().toStdString(), file->size(), std::move(read),
                        Now()))
        return false;
    SetUploadBusy(true);
    return true;
}

void CCommPageView::AdvanceUpload()
{
    m_upload.Advance(Now());
}

// While a download runs the console's own sends wait: a command typed or pressed now would
// land in the middle of the file's bytes.
void CCommPageView::SetUploadBusy(bool busy)
{
    m_sendButton->setEnabled(!busy);
    m_buttonBox->setEnabled(!busy);
    m_slot->setEnabled(!busy);
    m_download->setEnabled(!busy && m_slot->currentIndex() >= 0);
    if (busy) m_uploadTimer.start();
    else m_uploadTimer.stop();
}

void CCommPageView::ClearReceive()
{
    m_receive->clear();
    m_receiveText.Reset();
}

void CCommPageView::ClearResults()
{
    m_results->clear();
    m_resultEdit->clear();
}

bool CCommPageView::Write(std::string_view bytes)
{
    return m_session.Link().SendRaw(bytes);
}

comm::TestNumbers CCommPageView::Numbers() const
{
    return {m_smsNumber->text().toStdString(), m_voiceNumber->text().toStdString(), m_mmsNumber->text().toStdString()};
}

QString CCommPageView::Caption(const char* key) const
{
    const CTextCatalog* catalog = m_session.Context().catalog;
    return catalog ? QString::fromStdString(catalog->GetText(kCaptionSection, key)) : QString();
}

void CCommPageView::Message(MessageIcon icon, const std::string& text)
{
    if (m_session.Context().message) m_session.Context().message(icon, text);
}

Millis CCommPageView::Now()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

void CCommPageView::ConsoleText(std::string_view text)
{
    AppendReceived(text);
}

void CCommPageView::StatusText(const std::string& text)
{
    const QString line = QString::fromStdString(text);
    m_uploadStatus->setText(line);
    emit StatusLine(line);
}

void CCommPageView::Progress(std::int64_t sent, std::int64_t total)
{
    m_uploadProgress->setRange(0, static_cast<int>(total > 0 ? total : 1));
    m_uploadProgress->setValue(static_cast<int>(sent));
}

void CCommPageView::Finished(MessageIcon icon, const std::string& message)
{
    SetUploadBusy(false);
    Message(icon, message);
}
