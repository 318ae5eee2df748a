#include "shell/ConsoleReceivePane.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCharFormat>
#include <QTextCursor>

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
    const std::string text = receiveText_.Feed(chunk);
    Insert(decoder_.decode(QByteArrayView(text.data(), static_cast<qsizetype>(text.size()))), false);
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
}

void CConsoleReceivePane::Insert(const QString& text, bool sent)
{
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
