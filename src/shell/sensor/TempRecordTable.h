// The record list of a temperature record page as a table model: the page's rows, newest
// first, with the status icons. It follows the page when told to (the view coalesces): the
// rows that came since are inserted at the top in one batch, so a list of 100,000 rows costs
// no more per update than a short one; only an emptied list is shown anew.
#pragma once

#include <QAbstractTableModel>
#include <QIcon>

#include <cstdint>

#include "pages/sensor/TempRecordPage.h"

class CTempRecordTable : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit CTempRecordTable(const rtu::CTempRecordPage& page, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // Shows the page's rows again when they changed since the last time.
    void Sync();
    // The icons in the image list's order: alarm, normal, disconnected.
    static QIcon StatusIcon(char status);

private:
    const rtu::CTempRecordPage& page_;
    std::uint64_t shown_ = ~std::uint64_t{0};
    std::uint64_t emptied_ = ~std::uint64_t{0};  // the page's emptying the rows shown belong to
    int rows_ = 0;
};
