// The test console's receive pane: everything the unit sends, and (in their own colour) the
// texts the console sent, in a fixed-width font. Lines end at CR, LF or CR LF. With auto clear
// on, a pane that reaches kAutoClearLines drops the lines before the one the newest text
// started in, so what just arrived stays readable; otherwise it keeps the newest
// kMaxLines. It always drops whole lines from the top. On request each line starts with the
// computer's time, the unit's bytes are shown in hex, and everything shown also goes to a log
// file.
#pragma once

#include <QColor>
#include <QPlainTextEdit>
#include <QStringDecoder>

#include <string_view>

#include "link/AppendLog.h"
#include "session/CommTestCommands.h"

class CConsoleReceivePane : public QPlainTextEdit {
    Q_OBJECT
public:
    static constexpr int kMaxLines = 5000;               // lines kept with auto clear off
    static inline const QColor kEchoColour{0, 64, 192};  // sent text, told apart from the unit's

    explicit CConsoleReceivePane(QWidget* parent = nullptr);

    // The console's fixed-width font: the desktop's own, or any monospace family there is.
    static QFont FixedFont();

    // A chunk from the unit (or a note of the console), shown as received.
    void AppendReceived(std::string_view chunk);
    // Text the console sent, shown on a line of its own in the echo colour.
    void AppendSent(std::string_view bytes);
    void SetAutoClear(bool on) { autoClear_ = on; }
    bool AutoClear() const { return autoClear_; }
    // Each line starts with the time its first character came ("[HH:mm:ss.zzz] ").
    void SetTimestamps(bool on) { timestamps_ = on; }
    // The unit's bytes as two hex digits each, a line per line of the unit (and at most
    // kHexBytesPerLine bytes a line); the console's notes and sent text stay text.
    void SetHexView(bool on);
    bool HexView() const { return hex_; }
    // Empties the pane.
    void ClearAll();

    // Everything shown from now on also goes to the file at `path` (appended); false, with
    // LogError() saying why, when it cannot be opened. An empty path stops the log.
    bool StartLog(const QString& path);
    void StopLog() { log_.Close(); }
    bool Logging() const { return log_.IsOpen(); }
    QString LogError() const { return QString::fromStdString(log_.Error()); }

    static constexpr int kHexBytesPerLine = 16;
    static constexpr const char* kTimeFormat = "HH:mm:ss.zzz";

signals:
    // A write to the log failed: the log stops, and the window says why.
    void logFailed(const QString& path, const QString& error);

private:
    void Insert(const QString& text, bool sent);
    QString Hex(std::string_view chunk);
    QString Stamped(const QString& text) const;

    rtu::comm::CReceiveText receiveText_;
    QStringDecoder decoder_{QStringDecoder::Utf8};
    rtu::CAppendLog log_;
    bool autoClear_ = true;
    bool timestamps_ = false;
    bool hex_ = false;
    int hexColumn_ = 0;  // bytes on the hex line being filled
};
