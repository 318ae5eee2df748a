// The test console's send box: Enter sends what is typed (Shift+Enter starts another line in
// it), and Up and Down walk through what was sent before, as a serial terminal does. Up
// recalls from the first line of the box, Down from its last; going down past the newest
// brings back what was being typed.
#pragma once

#include <QPlainTextEdit>
#include <QStringList>

class CConsoleSendBox : public QPlainTextEdit {
    Q_OBJECT
public:
    static constexpr int kHistoryLines = 100;  // texts sent that Up can bring back

    explicit CConsoleSendBox(QWidget* parent = nullptr);

    // A text was sent: it joins the history (unless it repeats the newest) and the box empties.
    void Sent(const QString& text);
    const QStringList& History() const { return history_; }

signals:
    void sendRequested();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void Recall(int at);

    QStringList history_;  // oldest first
    int at_ = -1;          // the history entry shown (-1: the text being typed)
    QString draft_;        // the text being typed when Up was first pressed
};
