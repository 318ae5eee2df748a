#pragma once

#include <optional>

#include <QHash>
#include <QString>
#include <QWidget>

#include "pages/framework/TextCatalog.h"

class QBoxLayout;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;
class CRegSetting;

// Names of the stored settings.
namespace setting {
inline const QString kPort = QStringLiteral("COMMPORT0");     // index in the port list
inline const QString kPortPath = QStringLiteral("COMMPATH");  // the port's device path
inline const QString kBaud = QStringLiteral("BPSSEL0");       // index in the baud list
inline const QString kParity = QStringLiteral("FLOWCTRL0");   // index in the parity list
inline const QString kPassword = QStringLiteral("SVRIP");     // console password as typed
}  // namespace setting

// The main window's top row: the device and profile command buttons, then the connection
// controls (port, baud, parity, password, the login button) and the port's status light.
// It knows nothing of the port or the session: it says what the user chose.
class CConnectionBar : public QWidget {
    Q_OBJECT
public:
    static constexpr int kBaudDefault = 5;       // 9600 in the baud list
    static constexpr int kPortComboWidth = 170;  // room for a pty or USB path
    static constexpr int kPasswordWidth = 140;
    static constexpr int kGroupGap = 12;  // device commands | profile commands
    static constexpr int kMargin = 6;     // around and between the controls

    CConnectionBar(const rtu::CTextCatalog& catalog, QWidget* parent = nullptr);

    QString PortPath() const;  // the chosen or typed port, trimmed
    int Baud() const;          // the chosen rate
    int Parity() const;        // 0 none, 1 odd, 2 even, 3 mark
    QString Password() const;
    void SelectPort(const QString& path);
    // Chooses a rate of the baud list (a rate not in it leaves the choice as it is).
    void SelectBaud(int baud);

    // Chooses the stored port, baud and parity (`portPath`, when given, replaces the port).
    void Restore(const CRegSetting& settings, const QString& portPath);
    void RestoreBaud(const CRegSetting& settings);
    // Stores port, baud, password and parity (the port and baud only when `withPort`: the
    // demo's simulated unit brings its own).
    void Store(CRegSetting& settings, bool withPort = true) const;
    void StorePassword(CRegSetting& settings) const;

    // The status light: the port is open or closed (with why, when it could not be opened).
    void SetPortState(bool open, const QString& portName, const QString& error);
    bool LightOpen() const { return open_; }
    // The width that holds the command buttons and the connection controls in one row.
    int OneRowWidth() const;
    // Lists the ports anew (keeping the chosen one) and opens the list.
    void ShowPortPicker();
    // The buttons that write to the unit (run a profile, restart, defaults) follow the unit's
    // busy state. Every button that talks to the unit is disabled, with a tip saying why,
    // while no port is open.
    void SetWritesEnabled(bool on);
    // After a line went unanswered the bar says the unit is not answering, until it answers.
    void SetUnitAnswering(bool answering);
    bool UnitAnswering() const { return answering_; }
    // The tip a unit button shows while no port is open.
    static constexpr const char* kNoPortTip = "Not possible now: no serial port is open. Choose the port and baud "
                                              "rate on the right; the port opens when you choose it.";
    static constexpr const char* kNotAnswering = "The unit is not answering";
    // Puts a tool button into the connection group, before the About button.
    void AddTool(QWidget* tool);

signals:
    void commandClicked(int id);  // a command button or the login button
    void portChosen();            // another port or baud rate: reopen
    void parityChosen();
    void passwordEdited(const QString& password);
    void aboutClicked();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    QString Tr(const char* section, const char* key) const;
    // A text of the bar's own, from the catalog or in English.
    QString Text(const char* key, const char* english) const;
    void FillPortList();
    void ApplyButtonStates();

    const rtu::CTextCatalog& catalog_;
    QBoxLayout* rows_ = nullptr;        // the two groups: one row or two
    QWidget* commands_ = nullptr;       // device and profile command buttons
    QWidget* connection_ = nullptr;     // port, baud, parity, password, login, light, About
    QHash<int, QPushButton*> buttons_;  // command buttons by id
    QComboBox* portCombo_ = nullptr;
    QComboBox* baudCombo_ = nullptr;
    QComboBox* parityCombo_ = nullptr;
    QLineEdit* password_ = nullptr;
    QToolButton* loginButton_ = nullptr;
    QLabel* light_ = nullptr;
    std::optional<bool> lightShown_;  // the state the light's picture shows (it is refreshed every second)
    QToolButton* about_ = nullptr;
    QLabel* silent_ = nullptr;  // "the unit is not answering"
    bool open_ = false;
    bool writesEnabled_ = true;
    bool answering_ = true;
};
