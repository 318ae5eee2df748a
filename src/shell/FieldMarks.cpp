#include "shell/FieldMarks.h"

#include <QVariant>
#include <QWidget>

namespace fieldmarks {
namespace {
constexpr const char* kReason = "problem";                    // property: the reason of the mark
constexpr const char* kOwnTip = "ownToolTip";                 // property: the tool tip before the mark
constexpr const char* kFrame = "border: 2px solid #c00000;";  // how a marked control looks
}  // namespace

void Show(QWidget* w, const QString& reason)
{
    if (!w || Reason(w) == reason) return;
    if (Reason(w).isEmpty()) w->setProperty(kOwnTip, w->toolTip());
    w->setProperty(kReason, reason);
    if (reason.isEmpty()) {
        w->setStyleSheet(QString());
        w->setToolTip(w->property(kOwnTip).toString());
        return;
    }
    w->setStyleSheet(QString::fromLatin1(kFrame));
    w->setToolTip(reason);
}

QString Reason(const QWidget* w) { return w ? w->property(kReason).toString() : QString(); }

}  // namespace fieldmarks
