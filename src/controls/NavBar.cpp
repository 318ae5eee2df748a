#include "controls/NavBar.h"

#include <QListWidget>
#include <QResizeEvent>
#include <QToolBox>
#include <QVBoxLayout>

#include <algorithm>

namespace {
constexpr int kItemRole = Qt::UserRole;  // the item's data value
}  // namespace

CNavBar::CNavBar(QWidget* parent) : QWidget(parent), box_(new QToolBox(this))
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(box_);
    box_->setObjectName("navFolders");
    connect(box_, &QToolBox::currentChanged, this, [this](int index) {
        if (index >= 0) emit folderOpened(index);
    });
}

QListWidget* CNavBar::NewList()
{
    auto* list = new QListWidget;
    list->setViewMode(QListView::IconMode);
    list->setFlow(QListView::TopToBottom);
    list->setWrapping(false);
    list->setMovement(QListView::Static);
    list->setResizeMode(QListView::Adjust);
    list->setWordWrap(true);
    list->setIconSize(QSize(kIconSize, kIconSize));
    list->setSpacing(4);
    list->setUniformItemSizes(false);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list->setFrameShape(QFrame::NoFrame);
    list->setBackgroundRole(QPalette::Base);
    // A folder with more items than fit shows its scroll bar; the items follow the room left.
    list->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    list->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    list->viewport()->installEventFilter(this);
    // Mouse click, Enter/Space, and the arrow keys: the highlighted item is the page on show.
    connect(list, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* it) { Report(it->data(kItemRole).toInt()); });
    connect(list, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* it) { Report(it->data(kItemRole).toInt()); });
    connect(list, &QListWidget::currentItemChanged, this, [this](QListWidgetItem* it) {
        if (it && !selecting_) Report(it->data(kItemRole).toInt());
    });
    return list;
}

void CNavBar::Report(int value)
{
    if (value == reported_) return;
    reported_ = value;
    emit itemClicked(value);
}

int CNavBar::AddFolder(const QString& caption)
{
    QListWidget* list = NewList();
    UpdateGrid(list);
    return box_->addItem(list, caption);
}

void CNavBar::UpdateGrid(QListWidget* list) const
{
    // One item per row, centred: an icon over at most two lines of caption, as wide as the
    // room beside the scroll bar (a wider grid cut captions and left old text behind).
    const int lineHeight = list->fontMetrics().height();
    const int room = list->viewport()->width() > 0 ? list->viewport()->width() : width() - 12;
    const QSize grid(std::max(kIconSize + 8, room - 2), kIconSize + 2 * lineHeight + 14);
    if (list->gridSize() == grid) return;
    list->setGridSize(grid);
    list->doItemsLayout();
    list->viewport()->update();
}

bool CNavBar::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Resize)
        for (int f = 0; f < FolderCount(); ++f)
            if (List(f)->viewport() == watched) UpdateGrid(List(f));
    return QWidget::eventFilter(watched, event);
}

void CNavBar::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    for (int f = 0; f < FolderCount(); ++f) UpdateGrid(List(f));
}

void CNavBar::AddItem(int folder, const QIcon& icon, const QString& caption, int value)
{
    QListWidget* list = List(folder);
    if (!list) return;
    auto* it = new QListWidgetItem(icon, caption, list);
    it->setData(kItemRole, value);
    it->setTextAlignment(Qt::AlignHCenter | Qt::AlignTop);
    it->setToolTip(caption);  // the full caption when the item shows it cut
}

QListWidget* CNavBar::List(int folder) const { return qobject_cast<QListWidget*>(box_->widget(folder)); }

int CNavBar::FolderCount() const { return box_->count(); }

QString CNavBar::FolderCaption(int folder) const { return box_->itemText(folder); }

int CNavBar::ItemCount(int folder) const
{
    QListWidget* list = List(folder);
    return list ? list->count() : 0;
}

QString CNavBar::ItemCaption(int folder, int item) const
{
    QListWidget* list = List(folder);
    return list && list->item(item) ? list->item(item)->text() : QString();
}

int CNavBar::ItemData(int folder, int item) const
{
    QListWidget* list = List(folder);
    return list && list->item(item) ? list->item(item)->data(kItemRole).toInt() : -1;
}

QIcon CNavBar::ItemIcon(int folder, int item) const
{
    QListWidget* list = List(folder);
    return list && list->item(item) ? list->item(item)->icon() : QIcon();
}

bool CNavBar::FindItem(int value, int& folder, int& item) const
{
    for (int f = 0; f < FolderCount(); ++f)
        for (int i = 0; i < ItemCount(f); ++i)
            if (ItemData(f, i) == value) {
                folder = f;
                item = i;
                return true;
            }
    return false;
}

int CNavBar::OpenFolder() const { return box_->currentIndex(); }

void CNavBar::SetOpenFolder(int folder) { box_->setCurrentIndex(folder); }

void CNavBar::SelectData(int value)
{
    reported_ = value;
    int folder = -1, item = -1;
    if (!FindItem(value, folder, item)) return;
    if (OpenFolder() != folder) {
        const QSignalBlocker block(box_);
        box_->setCurrentIndex(folder);
    }
    selecting_ = true;
    List(folder)->setCurrentRow(item);
    selecting_ = false;
}

void CNavBar::SetItemMarked(int value, bool marked)
{
    int folder = -1, item = -1;
    if (!FindItem(value, folder, item)) return;
    QListWidgetItem* it = List(folder)->item(item);
    QFont font = it->font();
    font.setBold(marked);
    it->setFont(font);
}

bool CNavBar::ItemMarked(int value) const
{
    int folder = -1, item = -1;
    return FindItem(value, folder, item) && List(folder)->item(item)->font().bold();
}

void CNavBar::ClickItem(int folder, int item)
{
    QListWidget* list = List(folder);
    if (!list || !list->item(item)) return;
    SetOpenFolder(folder);
    selecting_ = true;
    list->setCurrentRow(item);
    selecting_ = false;
    reported_ = -1;  // a click always reports
    Report(ItemData(folder, item));
}
