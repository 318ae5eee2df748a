// The event list as a Qt table model over the page's compact rows: nothing is copied, and
// rows are announced once per turn of the event loop (a burst of events is one insertion),
// so the view stays fluid however long the list grows.
#pragma once

#include <QAbstractTableModel>

namespace rtu {
class CPageEvents;
}

class CEventListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit CEventListModel(rtu::CPageEvents& page, QObject* parent = nullptr);
    ~CEventListModel() override;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    void Follow();

    rtu::CPageEvents& page_;
    QStringList titles_;
    int rows_ = 0;  // rows announced to the views
    int listener_ = 0;
    bool followQueued_ = false;  // events that arrive together are announced together
};
