// The test console's receive pane: everything the unit sends, and (in their own colour) the
// texts the console sent, in a fixed-width font. Lines end at CR, LF or CR LF. With auto clear
// on, a pane that reaches kAutoClearLines drops the lines before the one the newest text
// started in, so what just arrived stays readable; otherwise it keeps the newest
// kMaxLines. It always drops whole lines from the top.
#pragma once

#include <QColor>
#include <QPlainTextEdit>
#include <QStringDecoder>

#include <string_view>

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
    // Empties the pane.
    void ClearAll();

private:
    void Insert(const QString& text, bool sent);

    rtu::comm::CReceiveText receiveText_;
    QStringDecoder decoder_{QStringDecoder::Utf8};
    bool autoClear_ = true;
};
