#pragma once

#include <QDialog>
#include <QHash>

#include "pages/framework/PageBase.h"

// The small dialog that edits one row of a page's table, generated from the page's row
// editor declaration: one control per declared field, filled from the row; OK and Cancel come
// from the declaration's buttons, and a standard one stands in for each it lacks.
class QLabel;

class CRowEditorDlg : public QDialog {
    Q_OBJECT
public:
    CRowEditorDlg(const rtu::CPageBase& page, const rtu::RowEditorDecl& decl, const rtu::RowEdit& edit,
                  QWidget* parent = nullptr);

    // The dialog's values, by field id, over the row's original values.
    rtu::RowEdit Result() const;
    QWidget* Control(int id) const { return controls_.value(id, nullptr); }
    // The reason shown under the inputs when a value was refused; empty when none was.
    QString Problem() const;

    // Accepts only values the page lets go to the unit; otherwise the field is marked with why.
    void accept() override;

    static constexpr int kOkCommand = 1;      // a declared button that confirms
    static constexpr int kCancelCommand = 2;  // a declared button that cancels

private:
    const rtu::CPageBase& page_;
    const rtu::RowEditorDecl& decl_;
    QLabel* problem_ = nullptr;
    rtu::RowEdit edit_;
    QHash<int, QWidget*> controls_;
};
