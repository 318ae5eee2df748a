// The mouse wheel never edits by accident: a spin box or drop-down takes wheel events only
// while it has the keyboard focus. Over any other one the wheel scrolls what holds it (the
// page), as if the control were not there; the wheel no longer gives such controls the focus.
#pragma once

#include <QObject>

class CWheelGuard : public QObject {
    Q_OBJECT
public:
    // Guards every widget of the application (once; later calls do nothing).
    static void Install();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    using QObject::QObject;
};
