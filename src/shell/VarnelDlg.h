#pragma once

#include <QElapsedTimer>
#include <QMainWindow>
#include <QMessageBox>

#include <functional>
#include <memory>

#include "link/SerialPort.h"
#include "pages/framework/TextCatalog.h"
#include "session/Session.h"
#include "shell/ConnectionBar.h"
#include "shell/FileFilter.h"
#include "shell/PageArea.h"
#include "shell/RegSetting.h"
#include "shell/SessionDriver.h"
#include "shell/ViewFactory.h"

class QLabel;
class CDialogHeader;
class CFailureNotice;
class CNavBar;
class COfflineProfile;
class CPageView;
class CSysProgressWnd;
class CUnitGuard;
class CSafeRun;

// The main window: header, connection bar, page area and the status lines. It owns the
// serial port and the session, and wires them together: received bytes go to the session's
// driver, the driver's signals to what shows them, the bar's and the pages' requests to the
// session.
class CVarnelDlg : public QMainWindow {
    Q_OBJECT
public:
    static constexpr const char* kTitle = "GPRS RTU 4Din/4Dout/4AD/4TI";
    static constexpr const char* kVersion = " V3.40";
    static constexpr const char* kDescriptionTail = "Unicode mode";
    static constexpr const char* kSetupNotice =
        "Please press the \"OK\" button, then power-off then power-on the device!";
    // Said with the setup notice: how the unit gets back to its normal work.
    static constexpr const char* kSetupLeave =
        "To leave setup mode afterwards, press Restart (or power the unit off and on without pressing "
        "Setup): the unit starts again in working mode.";
    static constexpr const char* kProfileFilter = "(*.txt)|*.txt|(*.*)|*.*|";
    static constexpr int kConnIconMs = 1000;  // connection icon refresh
    static constexpr int kNoPage = CPageArea::kNoPage;
    static constexpr int kCommNav = CPageArea::kCommNav;
    static constexpr int kComm2Nav = CPageArea::kComm2Nav;
    static constexpr int kWidth = 1200;               // first size of the window
    static constexpr int kHeight = 720;
    static constexpr int kModeLineWidth = 220;  // mode line at the bottom left

    CVarnelDlg(CRegSetting& settings, const rtu::CTextCatalog& catalog, QWidget* parent = nullptr);
    ~CVarnelDlg() override;

    // The rest of start-up: request a reload, open the port with the chosen settings and
    // apply the parity. `portPath` (when given) replaces the stored port.
    void StartUp(const QString& portPath = {}, bool openPort = true);
    // Chooses a port by its path (a typed path, a pty), reopens and applies the parity.
    void UsePort(const QString& path);
    // Opens the demo's simulated unit at its line speed: its pty lives as long as the run and
    // neither it nor the speed is stored.
    void UseDemoPort(const QString& path, int baud)
    {
        portIsDemo_ = true;
        bar_->SelectBaud(baud);
        UsePort(path);
    }

    rtu::CSession& Session() { return *session_; }
    CSessionDriver* Driver() const { return driver_; }
    rtu::CSerialPort& Port() { return port_; }
    CNavBar* NavBar() const { return pages_->NavBar(); }
    CDialogHeader* Header() const { return header_; }
    CSysProgressWnd* ProgressWindow() const { return progress_; }
    CUnitGuard* Guard() const { return guard_; }
    CSafeRun* SafeRun() const { return safeRun_; }
    // Profiles opened without a unit, and where the pages' values come from.
    COfflineProfile* Offline() const { return offline_; }
    QWidget* PageWidget(int navId) const { return pages_->PageWidget(navId); }
    CPageView* PageView(int navId) const { return pages_->PageView(navId); }
    QWidget* ShownPage() const { return pages_->ShownPage(); }
    int CurrentPageId() const { return pages_->CurrentPageId(); }
    CPageView* CurrentPage() const { return pages_->CurrentPage(); }
    QString StatusText() const;
    QString ModeText() const;
    bool ConnIconOpen() const { return bar_->LightOpen(); }
    // The bar that says what failed with the port or the unit, and what to do.
    CFailureNotice* Notice() const { return notice_; }

    void ShowPage(int navId) { pages_->ShowPage(navId); }
    // A top-row button.
    void RunCommand(int id);
    void StoreSettings() { bar_->Store(settings_, !portIsDemo_); }
    // A text for the status line from outside the session (the simulator's start).
    void ShowStatus(const QString& text);

    // Test and embedding hooks: message boxes and file choosers go here when set.
    std::function<void(QMessageBox::Icon, const QString&)> messageSink;
    // A file chooser gets where it starts: the folder used last, with the suggested name when saving.
    std::function<QString(bool save, const QString& startPath)> fileChooser;
    // Yes/No questions go here when set (true: yes).
    std::function<bool(const QString& text)> questionSink;

    // A "(desc)|pattern|…|" filter list as Qt's "desc (patterns);;…".
    static QString QtFilter(const QString& winFilter) { return QtFileFilter(winFilter); }

signals:
    void messageShown(int icon, const QString& text);
    void pageShown(int navId);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void FitToScreen();
    void OpenSelectedPort();
    void ApplyParity();
    void UpdateConnIcon();
    void ShowMessage(QMessageBox::Icon icon, const QString& text);
    bool Ask(const QString& text);
    QString ChooseFile(bool save);
    void Setup();
    void Login();
    void SaveProfile();
    void AskGoOnSilent(const QString& text);
    void About();

    CRegSetting& settings_;
    rtu::CTextCatalog catalog_;
    QElapsedTimer clock_;
    rtu::CSerialPort port_;
    std::unique_ptr<rtu::CSession> session_;
    CSessionDriver* driver_ = nullptr;
    CViewFactory factory_ = CViewFactory::Standard();
    std::unique_ptr<ViewContext> viewContext_;

    CDialogHeader* header_ = nullptr;
    CConnectionBar* bar_ = nullptr;
    CFailureNotice* notice_ = nullptr;
    CPageArea* pages_ = nullptr;
    CSysProgressWnd* progress_ = nullptr;
    CUnitGuard* guard_ = nullptr;
    CSafeRun* safeRun_ = nullptr;
    COfflineProfile* offline_ = nullptr;
    QLabel* statusLine_ = nullptr;
    QLabel* modeLine_ = nullptr;
    bool portIsDemo_ = false;  // the port is the demo's simulator: left out of the stored settings
};
