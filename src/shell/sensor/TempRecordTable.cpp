#include "shell/sensor/TempRecordTable.h"

#include <QPixmap>

#include "shell/PageView.h"

namespace {
constexpr int kIconSize = 12;  // pixels of a status icon
constexpr char kAlarm = '1';
}  // namespace

CTempRecordTable::CTempRecordTable(const rtu::CTempRecordPage& page, QObject* parent)
    : QAbstractTableModel(parent), page_(page)
{
    Sync();
}

int CTempRecordTable::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : rows_; }

int CTempRecordTable::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : rtu::temprec::kColumns;
}

QIcon CTempRecordTable::StatusIcon(char status)
{
    auto square = [](QColor color) {
        QPixmap p(kIconSize, kIconSize);
        p.fill(color);
        return QIcon(p);
    };
    static const QIcon alarm = square(QColor(0xc6, 0x28, 0x28));
    static const QIcon normal = square(QColor(0x2e, 0x7d, 0x32));
    static const QIcon disconnected = square(QColor(0x75, 0x75, 0x75));
    switch (status) {
    case '1': return alarm;
    case '0': return normal;
    case '2': return disconnected;
    default: return {};
    }
}

QVariant CTempRecordTable::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= static_cast<int>(page_.Rows().size())) return {};
    const rtu::TempRow& row = page_.Rows()[static_cast<std::size_t>(index.row())];
    const std::string& cell = row[static_cast<std::size_t>(index.column())];
    if (role == Qt::DisplayRole) return QString::fromStdString(index.column() == 0 ? rtu::ShownTempTime(cell) : cell);
    if (role != Qt::DecorationRole) return {};
    if (index.column() == 0) {
        // The record's time carries the alarm icon when one of its sensors is in alarm.
        for (int j = 0; j < rtu::temprec::kSensors; ++j)
            if (row[static_cast<std::size_t>(2 * j + 1)] == std::string(1, kAlarm)) return StatusIcon(kAlarm);
        return {};
    }
    if (index.column() % 2 == 1 && cell.size() == 1) return StatusIcon(cell[0]);
    return {};
}

QVariant CTempRecordTable::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    const rtu::FieldDecl* list = page_.FindField(rtu::temppage::kList);
    if (!list || section < 0 || section >= static_cast<int>(list->columns.size())) return {};
    return ResolveText(page_, list->columns[static_cast<std::size_t>(section)].title);
}

void CTempRecordTable::Sync()
{
    if (page_.Generation() == shown_) return;
    shown_ = page_.Generation();
    const int rows = static_cast<int>(page_.Rows().size());
    if (page_.Emptied() == emptied_ && rows >= rows_) {
        if (rows == rows_) return;
        beginInsertRows({}, 0, rows - rows_ - 1);  // the newest rows come first
        rows_ = rows;
        endInsertRows();
        return;
    }
    beginResetModel();
    emptied_ = page_.Emptied();
    rows_ = rows;
    endResetModel();
}
