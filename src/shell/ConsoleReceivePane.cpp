#include "shell/ConsoleReceivePane.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTime>

#include <algorithm>

using namespace rtu;

CConsoleReceivePane::CConsoleReceivePane(QWidget* parent) : QPlainTextEdit(parent)
{
    setReadOnly(true);
    setFont(FixedFont());
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setMaximumBlockCount(kMaxLines);  // the pane drops whole lines from the top past this
}

QFont CConsoleReceivePane::FixedFont()
{
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    if (QFontInfo(font).fixedPitch()) return font;
    // Some platforms name no fixed font of their own: ask the font matcher for one.
    font.setFamilies({QStringLiteral("monospace"), QStringLiteral("DejaVu Sans Mono"), QStringLiteral("Courier New")});
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    return font;
}

void CConsoleReceivePane::AppendReceived(std::string_view chunk)
{
    if (chunk.empty()) return;
    if (hex_) return Insert(Hex(chunk), false);
    const std::string text = receiveText_.Feed(chunk);
    Insert(decoder_.decode(QByteArrayView(text.data(), static_cast<qsizetype>(text.size()))), false);
}

void CConsoleReceivePane::SetHexView(bool on)
{
    if (hex_ == on) return;
    hex_ = on;
    hexColumn_ = 0;
    receiveText_.Reset();
    // What comes next starts on a line of its own.
    if (!document()->lastBlock().text().isEmpty()) Insert(QStringLiteral("\n"), false);
}

QString CConsoleReceivePane::Hex(std::string_view chunk)
{
    QString out;
    out.reserve(static_cast<qsizetype>(chunk.size() * 3 + chunk.size() / kHexBytesPerLine + 1));
    for (char c : chunk) {
        const auto byte = static_cast<unsigned char>(c);
        if (hexColumn_ == kHexBytesPerLine) {
            out += QLatin1Char('\n');
            hexColumn_ = 0;
        }
        out += QStringLiteral("%1 ").arg(byte, 2, 16, QLatin1Char('0')).toUpper();
        ++hexColumn_;
        if (byte == '\n') {
            out += QLatin1Char('\n');
            hexColumn_ = 0;
        }
    }
    return out;
}

QString CConsoleReceivePane::Stamped(const QString& text) const
{
    if (!timestamps_ || text.isEmpty()) return text;
    const QString stamp = QStringLiteral("[%1] ").arg(QTime::currentTime().toString(QString::fromLatin1(kTimeFormat)));
    QString out;
    out.reserve(text.size() + stamp.size());
    bool lineStart = document()->lastBlock().text().isEmpty();
    for (const QChar c : text) {
        if (lineStart && c != QLatin1Char('\n')) out += stamp;
        lineStart = c == QLatin1Char('\n');
        out += c;
    }
    return out;
}

bool CConsoleReceivePane::StartLog(const QString& path)
{
    if (path.isEmpty()) {
        log_.Close();
        return true;
    }
    // The console shows dumps and what was typed: PINs and passwords, so the log is private.
    return log_.Open(path.toStdString(), rtu::FileAccess::Private);
}

void CConsoleReceivePane::AppendSent(std::string_view bytes)
{
    if (bytes.empty()) return;
    comm::CReceiveText lines;  // its own line ends: a CR sent never pairs with an LF received
    QString text = QString::fromUtf8(lines.Feed(bytes));
    if (!document()->lastBlock().text().isEmpty()) text.prepend(QLatin1Char('\n'));
    Insert(text, true);
}

void CConsoleReceivePane::ClearAll()
{
    clear();
    receiveText_.Reset();
    hexColumn_ = 0;
}

void CConsoleReceivePane::Insert(const QString& shown, bool sent)
{
    const QString text = Stamped(shown);
    if (log_.IsOpen() && !log_.Append(text.toStdString())) {
        const QString path = QString::fromStdString(log_.Path());
        log_.Close();
        emit logFailed(path, LogError());
    }
    QTextDocument* doc = document();
    const int startLine = doc->blockCount() - 1;  // the line the new text continues
    QTextCursor cursor(doc);
    cursor.movePosition(QTextCursor::End);
    QTextCharFormat format;
    if (sent) format.setForeground(kEchoColour);
    cursor.insertText(text, format);

    if (autoClear_ && doc->blockCount() >= comm::kAutoClearLines) {
        // Drop what came before the new text's first line, and more if the new text alone
        // holds the bound: the pane is left with fewer lines than the bound.
        const int drop = std::max(startLine, doc->blockCount() - (comm::kAutoClearLines - 1));
        QTextCursor top(doc);
        top.movePosition(QTextCursor::Start);
        top.movePosition(QTextCursor::NextBlock, QTextCursor::KeepAnchor, drop);
        top.removeSelectedText();
    }
    verticalScrollBar()->setValue(verticalScrollBar()->maximum());
}
