#pragma once

#include <QElapsedTimer>
#include <QHash>
#include <QMainWindow>
#include <QMessageBox>
#include <QStringList>

#include <deque>
#include <functional>
#include <memory>

#include "link/SerialPort.h"
#include "pages/framework/TextCatalog.h"
#include "session/Session.h"
#include "shell/RegSetting.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QStackedWidget;
class QTimer;
class QToolButton;
class CDialogHeader;
class CNavBar;
class CPageView;
class CSysProgressWnd;
class CCommPageView;

// Names of the stored settings.
namespace setting {
inline const QString kPort = QStringLiteral("COMMPORT0");      // index in the port list
inline const QString kPortPath = QStringLiteral("COMMPATH");   // the port's device path
inline const QString kBaud = QStringLiteral("BPSSEL0");        // index in the baud list
inline const QString kParity = QStringLiteral("FLOWCTRL0");    // index in the parity list
inline const QString kPassword = QStringLiteral("SVRIP");      // console password as typed
}  // namespace setting

// The main window: header, connection controls, navigation bar, the page area and the status
// lines. It owns the serial port and the session, hands received bytes and the passing of
// time to the link core, and shows what the core reports.
class CVarnelDlg : public QMainWindow, public rtu::ILinkObserver {
    Q_OBJECT
public:
    static constexpr const char* kTitle = "GPRS RTU 4Din/4Dout/4AD/4TI";
    static constexpr const char* kVersion = " V3.40";
    static constexpr const char* kDescriptionTail = "Unicode mode";
    static constexpr const char* kAboutItem = "О программе";
    static constexpr const char* kSetupNotice = "Please press the \"OK\" button, then power-off then power-on the device!";
    static constexpr const char* kProfileFilter = "(*.txt)|*.txt|(*.*)|*.*|";
    static constexpr int kBaudDefault = 5;          // 9600 in the baud list
    static constexpr int kConnIconMs = 1000;        // connection icon refresh
    static constexpr int kNoPage = -1;
    static constexpr int kCommNav = 16;             // test console: shown with no current page
    static constexpr int kComm2Nav = 46;
    static constexpr int kFirstPageNav = 1;         // the page on show at start-up
    static constexpr std::size_t kLineLogMax = 2000;  // lines kept in the line log

    CVarnelDlg(CRegSetting& settings, const rtu::CTextCatalog& catalog, QWidget* parent = nullptr);
    ~CVarnelDlg() override;

    // The rest of start-up: request a reload, open the port with the chosen settings and
    // apply the parity. `portPath` (when given) replaces the stored port.
    void StartUp(const QString& portPath = {}, bool openPort = true);
    // Chooses a port by its path (a typed path, a pty), reopens and applies the parity.
    void UsePort(const QString& path);

    rtu::CSession& Session() { return *session_; }
    rtu::CSerialPort& Port() { return port_; }
    CNavBar* NavBar() const { return nav_; }
    CDialogHeader* Header() const { return header_; }
    CSysProgressWnd* ProgressWindow() const { return progress_; }
    QWidget* PageWidget(int navId) const { return pageWidgets_.value(navId, nullptr); }
    CPageView* PageView(int navId) const;
    QWidget* ShownPage() const;
    int CurrentPageId() const { return currentPageId_; }
    CPageView* CurrentPage() const { return currentPage_; }
    QString StatusText() const;
    QString ModeText() const;
    bool ConnIconOpen() const { return connOpen_; }
    const std::deque<QString>& LineLog() const { return lineLog_; }

    void ShowPage(int navId);
    // A top-row button or a command posted by the core.
    void RunCommand(int id);
    void StoreSettings();

    // Test and embedding hooks: message boxes and file choosers go here when set.
    std::function<void(QMessageBox::Icon, const QString&)> messageSink;
    std::function<QString(bool save, const QString& filter)> fileChooser;
    // Yes/No questions go here when set (true: yes).
    std::function<bool(const QString& text)> questionSink;

    // A "(desc)|pattern|…|" filter list as Qt's "desc (patterns);;…".
    static QString QtFilter(const QString& winFilter);

    // rtu::ILinkObserver
    void OnStatusText(const std::string& text) override;
    void OnModeText(const std::string& text) override;
    void OnBeep() override;
    void OnPostCommand(int id) override;
    void OnMessage(rtu::MessageIcon icon, const std::string& text) override;
    void OnConsoleChunk(std::string_view bytes) override;
    void OnLine(const std::string& line) override;

public slots:
    // Re-arms the one timer that hands the core its next deadline.
    void ArmDeadline();

signals:
    void messageShown(int icon, const QString& text);
    void pageShown(int navId);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QWidget* BuildTopRow();
    void BuildNavigation();
    void BuildPages();
    void FillPortList();
    void SelectStoredPort();
    void OpenSelectedPort();
    void ApplyParity();
    void UpdateConnIcon();
    void OnReceived(const std::string& chunk);
    void ShowMessage(QMessageBox::Icon icon, const QString& text);
    QString ChooseFile(bool save);
    void TakePassword();
    void Setup();
    void SaveProfile();
    void ExecProfile();
    void AskGoOnSilent(int notSent);
    void Login();
    void About();
    QString Tr(const char* section, const char* key) const;
    rtu::Millis Now() const { return clock_.elapsed(); }

    CRegSetting& settings_;
    rtu::CTextCatalog catalog_;
    QElapsedTimer clock_;
    rtu::CSerialPort port_;
    std::unique_ptr<rtu::CSession> session_;

    CDialogHeader* header_ = nullptr;
    CNavBar* nav_ = nullptr;
    QStackedWidget* stack_ = nullptr;
    CSysProgressWnd* progress_ = nullptr;
    QHash<int, QPushButton*> buttons_;  // top-row buttons by id
    QComboBox* portCombo_ = nullptr;
    QComboBox* baudCombo_ = nullptr;
    QComboBox* parityCombo_ = nullptr;
    QLineEdit* password_ = nullptr;
    QToolButton* loginButton_ = nullptr;
    QLabel* connIcon_ = nullptr;
    QLabel* statusLine_ = nullptr;
    QLabel* modeLine_ = nullptr;
    QTimer* connTimer_ = nullptr;
    QTimer* deadline_ = nullptr;
    CCommPageView* comm_ = nullptr;

    QHash<int, QWidget*> pageWidgets_;  // navigation id -> page on the page area
    int currentPageId_ = kNoPage;
    CPageView* currentPage_ = nullptr;
    bool connOpen_ = false;
    std::deque<QString> lineLog_;
};
