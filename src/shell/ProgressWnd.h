#pragma once

#include <QDialog>

#include "link/SysProgress.h"

class QLabel;
class QProgressBar;

// The modeless progress window. What it shows and when it hides comes from the session's
// progress events; while a modal dialog of the tool is open (a message box, a question, a
// row editor) it stays hidden, so it never covers what the user has to answer, and it comes
// back when the dialog closes if the work still goes on.
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
    // Hides the window until the session shows it again (a picture was saved, the tool closes).
    void Dismiss();
    // Whether the session wants the window shown (it may be hidden under a dialog).
    bool Wanted() const { return wanted_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Shows or hides the window as the session wants it and no dialog is in its way.
    void Place();

    QProgressBar* bar_;
    QLabel* text_;
    QLabel* icon_;
    bool wanted_ = false;
    bool placePending_ = false;  // a dialog opened or closed: Place runs once the event loop is back
};
