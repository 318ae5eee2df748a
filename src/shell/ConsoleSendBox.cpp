#include "shell/ConsoleSendBox.h"

#include <QKeyEvent>
#include <QTextBlock>

#include <algorithm>

CConsoleSendBox::CConsoleSendBox(QWidget* parent) : QPlainTextEdit(parent) {}

void CConsoleSendBox::Sent(const QString& text)
{
    if (!text.isEmpty() && (history_.isEmpty() || history_.back() != text)) {
        history_.append(text);
        if (history_.size() > kHistoryLines) history_.removeFirst();
    }
    at_ = -1;
    draft_.clear();
    clear();
}

void CConsoleSendBox::Recall(int at)
{
    if (at_ == -1) draft_ = toPlainText();
    at_ = at;
    setPlainText(at_ == -1 ? draft_ : history_[at_]);
    moveCursor(QTextCursor::End);
}

void CConsoleSendBox::keyPressEvent(QKeyEvent* event)
{
    const bool plain = (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (plain) return emit sendRequested();
        if (event->modifiers() & Qt::ShiftModifier) return textCursor().insertBlock();
        break;
    case Qt::Key_Up:
        if (plain && textCursor().blockNumber() == 0 && !history_.isEmpty()) {
            return Recall(at_ == -1 ? static_cast<int>(history_.size()) - 1 : std::max(0, at_ - 1));
        }
        break;
    case Qt::Key_Down:
        if (plain && at_ != -1 && textCursor().blockNumber() == document()->blockCount() - 1) {
            return Recall(at_ + 1 < history_.size() ? at_ + 1 : -1);
        }
        break;
    default: break;
    }
    QPlainTextEdit::keyPressEvent(event);
}
