#pragma once

#include <QDialog>

#include <vector>

#include "session/ExecReport.h"

class QTableWidget;

// What each line of the last profile run did: a table of the lines, failed ones first, with
// the page they belong to, the outcome, when the line went out and how long its answer took.
class CExecReportDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int kColPage = 0;
    static constexpr int kColLine = 1;
    static constexpr int kColOutcome = 2;
    static constexpr int kColAt = 3;    // seconds from the start of the run
    static constexpr int kColWait = 4;  // milliseconds until the answer
    static constexpr int kColCount = 5;
    static constexpr int kMinWidth = 720;  // pixels: room for a line and its outcome
    static constexpr int kMinHeight = 360;

    CExecReportDlg(const std::vector<rtu::ExecReportRow>& rows, rtu::Millis startedAt, QWidget* parent = nullptr);
    QTableWidget* Table() const { return table_; }

private:
    QTableWidget* table_;
};
