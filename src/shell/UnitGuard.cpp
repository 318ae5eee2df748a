#include "shell/UnitGuard.h"

#include <QMessageBox>
#include <QPushButton>
#include <QWidget>

#include "pages/registry/PageRegistry.h"
#include "session/Session.h"
#include "shell/ConnectionBar.h"
#include "shell/PageArea.h"
#include "shell/PageView.h"
#include "shell/SessionDriver.h"

namespace {

constexpr int kMaxListedPages = 12;  // page titles named in a question; the rest are counted

const char* const kRestartText =
    "Restart the unit now?\nIt stops what it is doing and starts again; it does not answer the tool until it "
    "has started.";
const char* const kDefaultsText =
    "Restore the unit's factory defaults?\nEvery parameter on the unit (identity, SIM PIN and PUK, phone "
    "numbers, alarms, texts) is replaced by its factory value, and the pages are read again. This cannot be "
    "undone.";
const char* const kNoBackupText = "No backup is taken (backups are turned off): save a profile first to keep the "
                                  "present settings.";

QString Listed(const std::vector<const rtu::CPageBase*>& pages, const rtu::CSession& session)
{
    QStringList titles;
    for (const rtu::CPageBase* p : pages) {
        if (titles.size() == kMaxListedPages) {
            titles << QStringLiteral("(and %1 more)").arg(pages.size() - kMaxListedPages);
            break;
        }
        titles << QStringLiteral("  ") + QString::fromStdString(session.PageTitle(*p));
    }
    return titles.join(QLatin1Char('\n'));
}

}  // namespace

CUnitGuard::CUnitGuard(CSessionDriver& driver, CConnectionBar& bar, CPageArea& pages, QWidget* window)
    : QObject(window), driver_(driver), window_(window)
{
    connect(&driver, &CSessionDriver::busyChanged, &pages, &CPageArea::SetBusy);
    connect(&driver, &CSessionDriver::unitBusyChanged, &pages, &CPageArea::SetUnitBusy);
    connect(&driver, &CSessionDriver::unitBusyChanged, &bar, [&bar](bool busy) { bar.SetWritesEnabled(!busy); });
    pages.ForEachView([this](CPageView& view) {
        view.confirmReload = [this, v = &view] {
            return ConfirmDiscard(
                QStringLiteral("Reloading \"%1\" replaces them with the unit's values.").arg(v->Title()),
                QStringLiteral("Reload and discard"));
        };
    });
}

int CUnitGuard::Ask(const QString& text, const QStringList& buttons)
{
    if (chooser) return chooser(text, buttons);
    QMessageBox box(QMessageBox::Question, window_->windowTitle(), text, QMessageBox::NoButton, window_);
    QList<QAbstractButton*> added;
    for (int i = 0; i < buttons.size(); ++i)
        added << box.addButton(buttons[i], i + 1 == buttons.size() ? QMessageBox::RejectRole : QMessageBox::AcceptRole);
    box.setDefaultButton(static_cast<QPushButton*>(added.back()));  // the safe answer
    box.setEscapeButton(added.back());
    box.exec();
    const int chosen = static_cast<int>(added.indexOf(box.clickedButton()));
    return chosen < 0 ? static_cast<int>(buttons.size()) - 1 : chosen;
}

QString CUnitGuard::EditedPages() const
{
    const rtu::CSession& s = driver_.Session();
    const auto edited = s.EditedPages();
    return edited.empty() ? QString() : Listed(edited, s);
}

bool CUnitGuard::ConfirmDiscard(const QString& action, const QString& button)
{
    const QString pages = EditedPages();
    if (pages.isEmpty()) return true;
    const QString text =
        QStringLiteral("These pages hold changes that were not saved to the unit:\n%1\n%2").arg(pages, action);
    return Ask(text, {button, QStringLiteral("Cancel")}) == 0;
}

bool CUnitGuard::Confirm(int command)
{
    switch (command) {
    case rtu::cmd::kRestart:
        return Ask(QString::fromLatin1(kRestartText), {QStringLiteral("Restart"), QStringLiteral("Cancel")}) == 0;
    case rtu::cmd::kDefaults:
        return ConfirmDiscard(QStringLiteral("Restoring the factory defaults replaces them."),
                              QStringLiteral("Discard")) &&
               Ask(QString::fromLatin1(kDefaultsText) + QLatin1Char('\n') +
                       (backupNote ? backupNote() : QString::fromLatin1(kNoBackupText)),
                   {QStringLiteral("Restore defaults"), QStringLiteral("Cancel")}) == 0;
    case rtu::cmd::kReload:
        return ConfirmDiscard(QStringLiteral("Reloading replaces them with the unit's values."),
                              QStringLiteral("Reload and discard"));
    default: return true;
    }
}

bool CUnitGuard::ConfirmClose()
{
    return ConfirmDiscard(QStringLiteral("Closing the window loses them."), QStringLiteral("Close and discard"));
}

std::optional<bool> CUnitGuard::ProfileWithUnread()
{
    const rtu::CSession& s = driver_.Session();
    const auto unread = s.UnreadProfilePages();
    if (unread.empty()) return true;
    const QString text =
        QStringLiteral("%1 pages were never read from the unit:\n%2\nTheir lines in a profile would hold empty "
                       "values, and running that profile would blank them on a unit. Reload first to save them "
                       "with the unit's values.")
            .arg(unread.size())
            .arg(Listed(unread, s));
    switch (Ask(text, {QStringLiteral("Leave them out"), QStringLiteral("Include them"), QStringLiteral("Cancel")})) {
    case 0: return false;
    case 1: return true;
    default: return std::nullopt;
    }
}
