// The mark of a control whose value the unit can't take, or refused: a red frame, and the
// reason as its tool tip.
#pragma once

#include <QString>

class QWidget;

namespace fieldmarks {

// Marks `w` with `reason`; an empty reason takes the mark away (the control's own tool tip
// comes back).
void Show(QWidget* w, const QString& reason);
// The reason `w` is marked with; empty when it is not marked.
QString Reason(const QWidget* w);

}  // namespace fieldmarks
