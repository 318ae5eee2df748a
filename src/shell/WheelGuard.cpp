#include "shell/WheelGuard.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QEvent>

namespace {

// The spin box or drop-down `object` is, or is a part of (the edit inside an editable list).
QWidget* ValueControl(QObject* object)
{
    for (auto* w = qobject_cast<QWidget*>(object); w && !w->isWindow(); w = w->parentWidget())
        if (qobject_cast<QAbstractSpinBox*>(w) || qobject_cast<QComboBox*>(w)) return w;
    return nullptr;
}

}  // namespace

void CWheelGuard::Install()
{
    static CWheelGuard* guard = nullptr;
    if (guard || !qApp) return;
    guard = new CWheelGuard(qApp);
    qApp->installEventFilter(guard);
}

bool CWheelGuard::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::Polish:
        // A click or Tab still gives the focus, the wheel no longer does.
        if (QWidget* control = ValueControl(watched); control == watched && control->focusPolicy() == Qt::WheelFocus)
            control->setFocusPolicy(Qt::StrongFocus);
        break;
    case QEvent::Wheel:
        if (QWidget* control = ValueControl(watched); control && !control->hasFocus()) {
            event->ignore();  // handed on to the widgets that hold the control: the page scrolls
            return true;
        }
        break;
    default: break;
    }
    return QObject::eventFilter(watched, event);
}
