#pragma once

#include <QFrame>
#include <QList>
#include <QString>

#include <string>

class QLabel;
class QPushButton;
class CConnectionBar;
class CPageArea;
class CSessionDriver;
class CSupportTools;
namespace rtu {
class CSerialPort;
class CSession;
}  // namespace rtu

// A bar above the pages that says what went wrong with the port or the unit, and offers the
// way forward (the port picker). It stays until the user closes it or the trouble is gone.
class CFailureNotice : public QFrame {
    Q_OBJECT
public:
    explicit CFailureNotice(QWidget* parent = nullptr);

    // Shows the unit's refusals and silences the session tells: the refused page's controls
    // are marked, and the text is shown here; so is the loss of the port. The port button
    // opens the bar's port list.
    // The support tools (wire trace, diagnostics) join the bar too.
    void Watch(CSessionDriver& driver, CPageArea& pages, rtu::CSession& session, CConnectionBar& bar,
               rtu::CSerialPort& port);
    CSupportTools* Support() const { return support_; }
    // Shows `text`; `offerPort`: with the button that opens the port picker.
    void Tell(const QString& text, bool offerPort);
    void Clear();
    // The port's open ended: a failure is told with its reason, a success clears the notice.
    void OpenResult(bool open, const std::string& path, int err);
    // A command for the unit found no open port (`lastErrno`: why the last open failed, or 0).
    void PortClosed(const std::string& path, int lastErrno);
    // The open port went away.
    void PortLost(const std::string& path);
    QString Text() const;
    bool PortOffered() const;

signals:
    void choosePort();

private:
    QLabel* text_;
    QPushButton* portButton_;
    CSupportTools* support_ = nullptr;
};
