// The device test console (navigation id 16): a receive pane that shows everything the unit
// sends, a send pane for raw text, and the service test panel (test command buttons by product
// type, test numbers, the sound file download and the test result panel) behind the
// "Service tests" toggle. The command tables and the download live in the core
// (session/CommTestCommands.h, session/SoundUpload.h); this widget lays them out and forwards.
#pragma once

#include <QStringDecoder>
#include <QTimer>
#include <QWidget>

#include <cstdint>
#include <map>
#include <string>
#include <string_view>

#include "session/CommTestCommands.h"
#include "session/Session.h"
#include "session/SoundUpload.h"
#include "shell/RegSetting.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QTreeWidget;

class CCommPageView : public QWidget, private rtu::ISoundUploadSink {
    Q_OBJECT
public:
    static constexpr int kButtonColumns = 6;         // test buttons per row of the panel
    static constexpr int kUploadPollMs = 50;         // how often a running download looks at the flags
    static constexpr int kResultColumnWidth = 100;   // width of each test result column
    static constexpr int kResultFontPixels = 16;     // test result panel font height
    static constexpr int kResultListHeight = 160;    // tallest the test result list grows

    // Stored setting names of the three test numbers, and the voice number's default.
    static constexpr const char* kSmsNumberSetting = "LOCALNUM";
    static constexpr const char* kVoiceNumberSetting = "SVRPORT";
    static constexpr const char* kMmsNumberSetting = "IPADDRESS";
    static constexpr const char* kVoiceNumberDefault = "8008";

    CCommPageView(rtu::CSession& session, CRegSetting& settings, QWidget* parent = nullptr);
    ~CCommPageView() override;

    // Every chunk received in line mode, whole; also the console's own notes.
    void AppendReceived(std::string_view chunk);
    // The main window is closing: keep the three test numbers.
    void StoreSettings();

    // Sends the sound file at `path` to the chosen slot (the Download button asks for the
    // file first). False when it cannot be opened or a download is running.
    bool StartSoundUpload(const QString& path);

signals:
    // A text for the main window's status line.
    void StatusLine(const QString& text);
    // Camera product types bring up the MMS test window.
    void MmsTestWindowRequested();

private:
    QWidget* BuildTestPanel();
    QWidget* BuildNumberRow(int control, const QString& caption, QLineEdit*& edit);
    QWidget* BuildDownloadBox();
    QWidget* BuildResultPanel();

    void OnSend();
    void OnTestButton(int control);
    void OnProductType(int index);
    void UploadSoundFile();
    void AdvanceUpload();
    void SetUploadBusy(bool busy);
    void ClearReceive();
    void ClearResults();
    void ApplyVisibility();
    bool Write(std::string_view bytes) override;
    rtu::comm::TestNumbers Numbers() const;
    QString Caption(const char* key) const;
    void Message(rtu::MessageIcon icon, const std::string& text);
    static rtu::Millis Now();

    // ISoundUploadSink
    void ConsoleText(std::string_view text) override;
    void StatusText(const std::string& text) override;
    void Progress(std::int64_t sent, std::int64_t total) override;
    void Finished(rtu::MessageIcon icon, const std::string& message) override;

    rtu::CSession& m_session;
    CRegSetting& m_settings;

    QPlainTextEdit* m_receive = nullptr;
    QPlainTextEdit* m_send = nullptr;
    QPushButton* m_sendButton = nullptr;
    QCheckBox* m_autoClear = nullptr;
    QCheckBox* m_serviceToggle = nullptr;
    QWidget* m_testPanel = nullptr;
    QWidget* m_buttonBox = nullptr;
    QComboBox* m_productType = nullptr;
    QLineEdit* m_smsNumber = nullptr;
    QLineEdit* m_voiceNumber = nullptr;
    QLineEdit* m_mmsNumber = nullptr;
    QComboBox* m_slot = nullptr;
    QPushButton* m_download = nullptr;
    QProgressBar* m_uploadProgress = nullptr;
    QLabel* m_uploadStatus = nullptr;
    QTreeWidget* m_results = nullptr;
    QLineEdit* m_resultEdit = nullptr;
    std::map<int, QPushButton*> m_buttons;    // test buttons by control id
    std::map<int, QWidget*> m_groupWidgets;   // what the product groups show or hide

    rtu::comm::Visibility m_visibility = rtu::comm::InitialVisibility();
    rtu::comm::CInfraredToggle m_infrared;
    rtu::comm::CReceiveText m_receiveText;
    QStringDecoder m_decoder{QStringDecoder::Utf8};
    rtu::CSoundUpload m_upload;
    QTimer m_uploadTimer;
};
