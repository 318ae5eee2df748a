#pragma once

#include <QDialog>

#include <string>
#include <vector>

#include "session/ProfileDiff.h"

class QCheckBox;
class QTreeWidget;
class QLabel;

// What a profile would change on the unit, before anything is sent: per page, each differing
// line the file would write, with the unit's value and the file's, and a check box (all
// checked at first). Only the checked lines are sent. Lines the unit already holds are hidden
// (and unchecked) until asked for; lines only the unit holds are not shown (a profile cannot
// take them away).
class CPreviewDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int kColLine = 0;  // the line's key, with its check box
    static constexpr int kColUnit = 1;  // the unit's value now
    static constexpr int kColFile = 2;  // what the file would write
    static constexpr int kColCount = 3;
    static constexpr int kMinWidth = 640;  // pixels: room for the key and both values
    static constexpr int kMinHeight = 360;

    CPreviewDlg(const rtu::ProfileDiff& diff, QWidget* parent = nullptr);

    // The file's lines of the checked rows, in the order shown.
    std::vector<std::string> CheckedLines() const;
    // The same as profile text, each page's lines under its header line.
    std::string CheckedProfile() const;
    QTreeWidget* Tree() const { return tree_; }
    QCheckBox* ShowSameBox() const { return showSame_; }

private:
    void UpdateCount();
    void ShowSame(bool show);

    QTreeWidget* tree_;
    QLabel* count_;
    QCheckBox* showSame_;
};
