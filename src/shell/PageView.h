#pragma once

#include <QHash>
#include <QSet>
#include <QString>
#include <QWidget>

#include <functional>

#include "pages/framework/PageBase.h"

class QDialog;
class QGroupBox;
class QTableWidget;

// What a page view asks of the tool around it: its buttons, cell clicks and row edits go
// to the session (SessionActions), never straight to the page model.
struct PageActions {
    std::function<void(int id)> command;  // a button, or a box that acts at once
    std::function<void(int listId, int row, int col)> clickCell;
    std::function<void(const rtu::RowEdit& edit)> commitRow;  // an accepted row editor
};

namespace rtu {
class CSession;
}

// A parameter page on screen, generated from the page's declaration rows: each control with
// its own caption in a form (rows of a group box inside that box), the page's tables and
// its buttons. User edits go into the page model at once; model changes (reports during a
// reload) come back through the page's listener and are applied in one pass per event-loop
// turn.
class CPageView : public QWidget {
    Q_OBJECT
public:
    // The controls a page's busy signal disables.
    static constexpr int kBusyIds[] = {rtu::ctl::kSave0, rtu::ctl::kSave1, rtu::ctl::kSave, rtu::ctl::kList};

    CPageView(rtu::CPageBase& page, PageActions actions, QWidget* parent = nullptr);
    // The actions of the session's page of the same class.
    static PageActions SessionActions(rtu::CSession& session, std::string page);
    ~CPageView() override;

    rtu::CPageBase& Page() const { return page_; }
    // The widget of a declared control; null for hidden controls and labels merged into a form.
    QWidget* Control(int id) const { return controls_.value(id, nullptr); }
    // The page title shown on the frame.
    QString Title() const;

    // Busy signal: enable or disable the page's save buttons and its table.
    void SetPageButtonsEnabled(bool on);
    // The unit is busy: nothing that writes may start here (Save, row edits, buttons that act).
    void SetUnitBusy(bool busy);
    // Save and row edits are open: the page was read, the unit is free, no save of it runs.
    bool Writable() const { return !unitBusy_ && !locked_ && page_.Loaded(); }
    // The page holds edits that have not gone to the unit (its frame title ends in " *").
    bool Edited() const { return page_.Edited(); }

    // Runs a declared button (by its id, or by the command it carries) or the row editor;
    // the owner re-arms its timers after.
    void RunCommand(int id);
    // Opens the row editor for a row of a list. With `editor` set, the dialog is handed to it
    // instead of being run (tests fill and accept it); else it runs modally.
    void EditRow(int listId, int row);
    // Applies pending model changes now (normally done once per event-loop turn).
    void Refresh();
    // The unit refused the line these controls wrote: they are marked with `reason` until
    // the user edits them.
    void MarkRefused(const QList<int>& ids, const QString& reason);
    // Why a control is marked (a value the unit can't take, or refused); empty when it is not.
    QString ProblemOf(int id) const;

    // Asked before the page's own reload drops its unsaved edits; false keeps them.
    std::function<bool()> confirmReload;
    // Asked before a button that writes to the unit at once (true: go on); empty: a question box.
    std::function<bool(const QString& question)> confirmWrite;
    // Where row editor dialogs go before they are shown; empty: QDialog::exec.
    std::function<int(QDialog&)> runDialog;

signals:
    // The page model was asked to do something that may have queued traffic for the unit.
    void coreCalled();
    // The page gained or lost its unsaved edits.
    void editedChanged(bool edited);

private:
    void Build();
    QWidget* MakeButton(const rtu::FieldDecl& f);
    void ConnectTable(QTableWidget* table, int listId);
    QString Caption(const rtu::FieldDecl& f) const;
    void OnModelChanged(int id);
    // A button whose own row editor it opens (the editor names the button as its list).
    bool OpensEditor(const rtu::FieldDecl* f) const;
    bool ConfirmWrite(const rtu::FieldDecl& f);
    int ListRowFor(int listId) const;
    void UpdateMarks();
    void UpdateWriteState();

    rtu::CPageBase& page_;
    PageActions actions_;
    int listener_ = 0;
    QGroupBox* frame_ = nullptr;
    QHash<int, QWidget*> controls_;  // control id -> widget
    QSet<int> dirty_;                // control ids changed since the last refresh
    bool dirtyAll_ = false;
    bool refreshQueued_ = false;
    QHash<int, QString> refused_;  // control id -> why the unit refused its line
    bool applying_ = false;        // model values are being shown: widget signals are no user edits
    bool unitBusy_ = false;
    bool locked_ = false;       // the page's own save batch runs
    bool editedShown_ = false;  // what the frame title shows
    QString title_;             // the frame title without the edit mark
};

// Text of a catalog reference as a page shows it: the catalog's text, else the fixed text.
QString ResolveText(const rtu::CPageBase& page, const rtu::TextRef& ref);
