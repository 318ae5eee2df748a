#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class QWidget;
class CConnectionBar;
class CPageArea;
class CSessionDriver;

// Keeps the user from damaging the unit by accident: what writes follows the unit's busy
// state, and the tool asks before what cannot be undone — a restart, the factory defaults,
// dropping unsaved edits (a reload, closing the window) and a profile with pages that were
// never read.
class CUnitGuard : public QObject {
    Q_OBJECT
public:
    CUnitGuard(CSessionDriver& driver, CConnectionBar& bar, CPageArea& pages, QWidget* window);

    // A top-row command may go: asked first for a restart, the defaults, a reload over edits.
    bool Confirm(int command);
    // The window may close: asked first when pages hold unsaved edits.
    bool ConfirmClose();
    // Before a profile is saved: whether pages never read go in (true) or stay out (false);
    // nullopt when the user cancelled. Not asked when every page was read.
    std::optional<bool> ProfileWithUnread();

    // Where questions go when set (tests): the text and the button captions; returns the
    // index of the chosen button, the last one being Cancel.
    std::function<int(const QString& text, const QStringList& buttons)> chooser;
    // What the Defaults question says of the backup taken first (where it goes); empty: none is.
    std::function<QString()> backupNote;

private:
    int Ask(const QString& text, const QStringList& buttons);
    // The titles of the pages with unsaved edits, one a line; empty when there are none.
    QString EditedPages() const;
    bool ConfirmDiscard(const QString& action, const QString& button);

    CSessionDriver& driver_;
    QWidget* window_;
};
