#include "shell/PageArea.h"

#include <QHBoxLayout>
#include <QStackedWidget>


#include "controls/NavBar.h"
#include "controls/NavIcons.h"
#include "pages/registry/PageRegistry.h"
#include "shell/PageView.h"

namespace {

constexpr int kMarginLeft = 6;  // page area margins and the gap between bar and page
constexpr int kMarginTop = 4;
constexpr int kMarginRight = 2;
constexpr int kGap = 6;

}  // namespace

CPageArea::CPageArea(const CViewFactory& factory, ViewContext& context, const rtu::CTextCatalog& catalog,
                     QWidget* parent)
    : QWidget(parent), factory_(factory), context_(context)
{
    auto* body = new QHBoxLayout(this);
    body->setContentsMargins(kMarginLeft, kMarginTop, kMarginRight, 0);
    body->setSpacing(kGap);
    nav_ = new CNavBar(this);
    nav_->setObjectName("navBar");
    nav_->setFixedWidth(kNavWidth);
    stack_ = new QStackedWidget(this);
    stack_->setObjectName("pageArea");
    body->addWidget(nav_);
    body->addWidget(stack_, 1);

    for (const rtu::PageInfo& info : rtu::PageTable())
        if (!classes_.contains(info.navId) && factory.Makes(info.className, context))
            classes_.insert(info.navId, info.className);
    BuildNavigation(catalog);

    // The first page is on show, but it is not the current page until the user navigates.
    if (QWidget* first = PageWidget(kFirstPageNav)) stack_->setCurrentWidget(first);
    nav_->SelectData(kFirstPageNav);
    connect(nav_, &CNavBar::itemClicked, this, &CPageArea::ShowPage);
}

void CPageArea::BuildNavigation(const rtu::CTextCatalog& catalog)
{
    auto tr = [&catalog](const char* section, const char* key) {
        return QString::fromStdString(catalog.GetText(section, key));
    };
    // The six folders and their items follow the page table; a page has an item once it exists.
    QHash<QString, int> folders;
    QList<const rtu::PageInfo*> more;
    for (const rtu::PageInfo& info : rtu::PageTable()) {
        if (!classes_.contains(info.navId)) continue;
        if (!info.folderKey) {
            more.append(&info);
            continue;
        }
        const QString key = QString::fromLatin1(info.folderKey);
        if (!folders.contains(key)) folders.insert(key, nav_->AddFolder(tr("TABS", info.folderKey)));
        nav_->AddItem(folders.value(key), NavIcon(info.icon, style()), tr("TABS", info.itemKey), info.navId);
    }
    if (more.isEmpty()) return;
    // Pages outside the six folders are reachable from one more folder.
    const int folder = nav_->AddFolder(tr("TABS", "TAB_MORE"));
    for (const rtu::PageInfo* info : more) {
        QString caption = tr("TABS", info->itemKey);
        if (caption.isEmpty() && info->caption) caption = QString::fromLatin1(info->caption);
        nav_->AddItem(folder, NavIcon(info->icon, style()), caption, info->navId);
    }
}

QWidget* CPageArea::PageWidget(int navId)
{
    if (QWidget* made = pageWidgets_.value(navId, nullptr)) return made;
    const char* className = classes_.value(navId, nullptr);
    if (!className || !stack_) return nullptr;
    QWidget* widget = factory_.Create(className, context_, stack_);
    if (!widget) return nullptr;
    stack_->addWidget(widget);
    pageWidgets_.insert(navId, widget);
    if (auto* view = qobject_cast<CPageView*>(widget)) {
        // A page with unsaved edits is marked in the navigation too.
        connect(view, &CPageView::editedChanged, this, [this, navId](bool edited) { nav_->SetItemMarked(navId, edited); });
        if (unitBusy_) view->SetUnitBusy(true);
        for (const auto& setup : viewSetups_) setup(*view);
    }
    return widget;
}

CPageView* CPageArea::PageView(int navId) { return qobject_cast<CPageView*>(PageWidget(navId)); }

void CPageArea::ForEachView(const std::function<void(CPageView& view)>& setup)
{
    viewSetups_.push_back(setup);
    for (QWidget* w : std::as_const(pageWidgets_))
        if (auto* view = qobject_cast<CPageView*>(w)) setup(*view);
}

QWidget* CPageArea::ShownPage() const { return stack_ ? stack_->currentWidget() : nullptr; }

void CPageArea::ShowPage(int navId)
{
    if (navId < 0) {
        currentPageId_ = kNoPage;
        return;
    }
    currentPageId_ = navId;
    QWidget* w = PageWidget(navId);
    if (!w) {
        currentPage_ = nullptr;
        return;
    }
    stack_->setCurrentWidget(w);
    // The test console pages run no save batches: the busy signal leaves them alone.
    currentPage_ = (navId == kCommNav || navId == kComm2Nav) ? nullptr : qobject_cast<CPageView*>(w);
    nav_->SelectData(navId);
    emit pageShown(navId);
}

void CPageArea::SetBusy(bool busy)
{
    if (!busy) {
        for (QWidget* w : std::as_const(pageWidgets_))
            if (auto* view = qobject_cast<CPageView*>(w)) view->SetPageButtonsEnabled(true);
    } else if (currentPage_) {
        currentPage_->SetPageButtonsEnabled(false);
    }
}

void CPageArea::SetUnitBusy(bool busy)
{
    unitBusy_ = busy;
    for (QWidget* w : std::as_const(pageWidgets_))
        if (auto* view = qobject_cast<CPageView*>(w)) view->SetUnitBusy(busy);
}

void CPageArea::DropViews()
{
    currentPage_ = nullptr;
    pageWidgets_.clear();
    classes_.clear();
    delete stack_;
    stack_ = nullptr;
}
