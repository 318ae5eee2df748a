// The device test console (navigation id 16): a receive pane that shows everything the unit
// sends, a send pane for raw text, and the service test panel (test command buttons by product
// type, test numbers, the sound file download and the test result panel) behind the
// "Service tests" toggle. The console sends with the line end chosen (CR LF unless the user
// chose otherwise), keeps what was sent for Up and Down, and on request stamps lines with the
// time, shows the unit's bytes in hex and logs what it shows to a file; these choices are
// kept in the settings. The command tables and the download live in the core
// (session/CommTestCommands.h, session/SoundUpload.h); this widget lays them out, forwards
// presses to the session and shows what the session's driver reports.
#pragma once

#include <QWidget>

#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "session/CommTestCommands.h"
#include "session/CommTestResults.h"
#include "session/Session.h"
#include "shell/RegSetting.h"

class CConsoleReceivePane;
class CConsoleSendBox;
class CMmsTestWindow;
class CTestResultPanel;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class CSessionDriver;

class CCommPageView : public QWidget {
    Q_OBJECT
public:
    static constexpr int kButtonColumns = 6;     // test buttons per row of the panel
    static constexpr int kMinReceiveLines = 10;  // the receive pane never shows fewer lines
    static constexpr int kMinSendLines = 3;      // nor the send pane
    static constexpr int kMinPanelLines = 8;     // the test panel scrolls below this height

    // Stored setting names of the three test numbers, and the voice number's default.
    static constexpr const char* kSmsNumberSetting = "LOCALNUM";
    static constexpr const char* kVoiceNumberSetting = "SVRPORT";
    static constexpr const char* kMmsNumberSetting = "IPADDRESS";
    static constexpr const char* kVoiceNumberDefault = "8008";
    // Stored setting names of the console's choices.
    static constexpr const char* kLineEndSetting = "CONSOLE_LINE_END";  // index of comm::LineEnd
    static constexpr const char* kTimestampsSetting = "CONSOLE_TIMESTAMPS";
    static constexpr const char* kHexSetting = "CONSOLE_HEX";
    static constexpr const char* kEchoSetting = "CONSOLE_ECHO";
    static constexpr const char* kLogPathSetting = "CONSOLE_LOG";  // the log file chosen last

    CCommPageView(CSessionDriver& driver, CRegSetting& settings, QWidget* parent = nullptr);
    ~CCommPageView() override;

    // Every chunk received in line mode, whole; also the console's own notes.
    void AppendReceived(std::string_view chunk);
    // The MMS test window, once a camera product type brought it up.
    CMmsTestWindow* MmsTestWindow() const { return mmsWindow_; }
    // The main window is closing: keep the three test numbers.
    void StoreSettings();

    // Sends the sound file at `path` to the chosen slot (the Download button asks for the
    // file first). False when it cannot be opened or a download is running.
    bool StartSoundUpload(const QString& path);

    // Asks for the console log's file ("" when the user cancels); tests replace it.
    std::function<QString(const QString& start)> chooseLogPath;
    CConsoleSendBox* SendBox() const { return send_; }
    CConsoleReceivePane* ReceivePane() const { return receive_; }
    // Runs a command of the main window's top row. ATF restores the factory defaults through
    // it, as the Defaults button does (asked first, backed up, read again after); without it
    // ATF sends nothing.
    std::function<void(int command)> runCommand;
    // Asked before a test that cannot be undone (Erase); empty: a question box.
    std::function<bool(const QString& question)> confirmWrite;

signals:
    // Camera product types bring up the MMS test window.
    void MmsTestWindowRequested();

private:
    QWidget* BuildTestPanel();
    QWidget* BuildNumberRow(int control, const QString& caption, QLineEdit*& edit);
    QWidget* BuildDownloadBox();

    QWidget* BuildSendRow();
    QWidget* BuildViewRow();
    void OnSend();
    void OnLogToggled(bool on);
    void OnLogFailed(const QString& path, const QString& error);
    void OnTestButton(int control);
    void OnProductType(int index);
    bool ConfirmErase();
    void UploadSoundFile();
    void OnTransferProgress(const QString& job, qint64 done, qint64 total, const QString& text);
    void OnTransferEnded(const QString& job);
    void SetUploadBusy(bool busy);
    void ClearReceive();
    void ClearResults();
    void ApplyVisibility();
    void OnLine(const QString& line);
    void ShowMmsTestWindow();
    bool Write(std::string_view bytes);
    rtu::comm::TestNumbers Numbers() const;
    QString Caption(const char* key) const;
    // A console text of the catalog, or its English wording.
    QString Text(const char* key, const char* english) const;
    QString InfraredCaption() const;

    CSessionDriver& driver_;
    rtu::CSession& session_;
    CRegSetting& settings_;

    CConsoleReceivePane* receive_ = nullptr;
    CConsoleSendBox* send_ = nullptr;
    QPushButton* sendButton_ = nullptr;
    QComboBox* lineEnd_ = nullptr;
    QCheckBox* autoClear_ = nullptr;
    QCheckBox* echo_ = nullptr;
    QCheckBox* timestamps_ = nullptr;
    QCheckBox* hex_ = nullptr;
    QCheckBox* log_ = nullptr;
    QLabel* logPath_ = nullptr;
    QCheckBox* serviceToggle_ = nullptr;
    QWidget* testPanel_ = nullptr;
    QWidget* testScroll_ = nullptr;
    QWidget* buttonBox_ = nullptr;
    QComboBox* productType_ = nullptr;
    QLineEdit* smsNumber_ = nullptr;
    QLineEdit* voiceNumber_ = nullptr;
    QLineEdit* mmsNumber_ = nullptr;
    QComboBox* slot_ = nullptr;
    QPushButton* download_ = nullptr;
    QProgressBar* uploadProgress_ = nullptr;
    QLabel* uploadStatus_ = nullptr;
    CTestResultPanel* results_ = nullptr;
    CMmsTestWindow* mmsWindow_ = nullptr;
    std::map<int, QPushButton*> buttons_;   // test buttons by control id
    std::vector<QPushButton*> panelOrder_;  // test buttons in panel order
    std::map<int, QWidget*> groupWidgets_;  // what the product groups show or hide

    rtu::comm::Visibility visibility_ = rtu::comm::InitialVisibility();
    rtu::comm::CInfraredToggle infrared_;
    rtu::comm::CTestResults answers_;
    int answering_ = 0;       // the test button whose answer is coming (0: none)
    bool uploading_ = false;  // a sound download of this console runs
};
