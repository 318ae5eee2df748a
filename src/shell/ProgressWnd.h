#pragma once

#include <QDialog>

#include "link/SysProgress.h"

class QLabel;
class QProgressBar;
class QTimer;

// The modeless progress window. What it shows and when it hides comes from the link's
// progress state machine, which it ticks every 500 ms.
class CSysProgressWnd : public QDialog {
    Q_OBJECT
public:
    CSysProgressWnd(rtu::CSysProgress& progress, QWidget* parent = nullptr);

    // Shows the state machine's current view.
    void Apply(const rtu::CSysProgress::View& view);
    QString Text() const;
    int Bar() const;
    bool IconShown() const;

signals:
    // One tick was handed to the state machine.
    void ticked();

private:
    rtu::CSysProgress& progress_;
    QProgressBar* bar_;
    QLabel* text_;
    QLabel* icon_;
    QTimer* timer_;
};
