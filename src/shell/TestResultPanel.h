// The test result panel of the console: one row per answer of the unit to a test button
// (test item, result), white on black; the edit under the list shows the chosen row whole,
// and Clear empties both.
#pragma once

#include <QGroupBox>

#include <vector>

#include "session/CommTestResults.h"

class QLineEdit;
class QTreeWidget;

class CTestResultPanel : public QGroupBox {
    Q_OBJECT
public:
    static constexpr int kColumnWidth = 100;   // width of each column
    static constexpr int kFontPixels = 16;     // font height of the rows
    static constexpr int kMinVisibleRows = 4;  // rows the list shows at least

    CTestResultPanel(const QString& clearCaption, QWidget* parent = nullptr);

    void AddRows(const std::vector<rtu::comm::ResultRow>& rows);
    void Clear();
    QTreeWidget* List() const { return list_; }

signals:
    void rowsAdded();

private:
    QTreeWidget* list_ = nullptr;
    QLineEdit* edit_ = nullptr;
};
