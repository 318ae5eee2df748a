#pragma once

#include <QDialog>

#include "link/SysProgress.h"

class QLabel;
class QProgressBar;

// The modeless progress window. What it shows and when it hides comes from the session's
// progress events.
class CSysProgressWnd : public QDialog {
    Q_OBJECT
public:
    static constexpr int kTextMinWidth = 320;  // the text line's narrowest width
    static constexpr int kTextCutWidth = 480;  // a longer report line is shown cut at this width

    explicit CSysProgressWnd(QWidget* parent = nullptr);

    // Shows the state machine's current view.
    void Apply(const rtu::CSysProgress::View& view);
    QString Text() const;
    int Bar() const;

private:
    QProgressBar* bar_;
    QLabel* text_;
    QLabel* icon_;
};
