#include "shell/events/EventListModel.h"

#include <limits>

#include "pages/events/PageEvents.h"

namespace {

constexpr int kMaxRows = std::numeric_limits<int>::max();  // what a Qt model can count

}  // namespace

CEventListModel::CEventListModel(rtu::CPageEvents& page, QObject* parent) : QAbstractTableModel(parent), page_(page)
{
    for (const std::string& t : page_.ColumnTitles()) titles_ << QString::fromStdString(t);
    rows_ = static_cast<int>(std::min<std::size_t>(page_.Log().Size(), kMaxRows));
    listener_ = page_.AddListener([this](int id) {
        if (id != rtu::CPageEvents::kList && id != rtu::CPageBase::kChangedAll) return;
        if (followQueued_) return;
        followQueued_ = true;
        QMetaObject::invokeMethod(this, &CEventListModel::Follow, Qt::QueuedConnection);
    });
}

CEventListModel::~CEventListModel() { page_.RemoveListener(listener_); }

void CEventListModel::Follow()
{
    followQueued_ = false;
    const int now = static_cast<int>(std::min<std::size_t>(page_.Log().Size(), kMaxRows));
    if (now < rows_) {
        beginResetModel();
        rows_ = now;
        endResetModel();
    } else if (now > rows_) {
        beginInsertRows({}, rows_, now - 1);
        rows_ = now;
        endInsertRows();
    }
}

int CEventListModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : rows_; }

int CEventListModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : rtu::kEventColumns; }

QVariant CEventListModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid()) return {};
    const std::string_view cell = page_.Log().Cell(static_cast<std::size_t>(index.row()), index.column());
    return QString::fromUtf8(cell.data(), static_cast<qsizetype>(cell.size()));
}

QVariant CEventListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole) return {};
    if (orientation == Qt::Vertical) return section + 1;
    return section < titles_.size() ? titles_[section] : QVariant();
}
