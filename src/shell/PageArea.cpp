#include "shell/PageArea.h"

#include <QHBoxLayout>
#include <QStackedWidget>

#include <string_view>

#include "controls/NavBar.h"
#include "controls/NavIcons.h"
#include "pages/registry/PageRegistry.h"
#include "shell/PageView.h"

namespace {

constexpr int kMarginLeft = 6;  // page area margins and the gap between bar and page
constexpr int kMarginTop = 4;
constexpr int kMarginRight = 2;
constexpr int kGap = 6;

// Pages without an item of their own, as the "More pages" folder shows them: caption key in
// "TABS", the caption when the catalog lacks it, and the navigation icon.
struct MorePage {
    const char* className;
    const char* key;
    const char* fallback;
    int icon;
};

constexpr MorePage kMorePages[] = {
    {"CPageCounter", "PAGE_COUNTER", "Pulse counters", 6},
    {"CPageDinCt", "PAGE_DINCT", "Digital input counters", 7},
    {"CPageAdcExt", "PAGE_ADCEXT", "Extended analog inputs", 10},
    {"CPageWinPrio", "PAGE_WINPRIO", "Wireless zone alarm priorities", 3},
    {"CPageInterlock", "PAGE_TIMER_LINKS", "Timer interlocks", 19},
    {"CPageRfZone", "PAGE_RFZONE", "Wireless zones", 15},
    {"CPageRname", "PAGE_MODBUS_SLAVE", "Modbus slave registers", 12},
    {"CPageMbusParams", "PAGE_MODBUS", "Modbus master", 1},
    {"CPage62056", "PAGE_METER", "Meter reading", 10},
    {"CPageComm2", "PAGE_COMM2", "Second serial port", 22},
    {"CPageEmail", "PAGE_EMAIL", "E-mail", 11},
    {"CPageHttp", "PAGE_HTTP", "HTTP settings", 15},
    {"CPage3GMMS", "PAGE_3GMMS", "3G MMS", 5},
    {"CPageMmsSetup", "PAGE_MMS", "MMS and camera", 5},
    {"CDataParams", "PAGE_DATA_SMS", "Data over SMS", 4},
    {"CPageTemp", "PAGE_TEMP", "Internal temperature", 17},
    {"CPageHumidity", "PAGE_HUMIDITY", "Internal humidity", 17},
    {"CPageGSensor", "PAGE_GSENSOR", "Motion sensor", 18},
    {"CPageGraycode", "PAGE_GRAYCODE", "Gray-code inputs", 7},
    {"CPageEvents", "PAGE_EVENTS", "Event list", 24},
    {"CPageSos", "PAGE_SOS", "SOS phones", 0},
};

const MorePage* FindMorePage(const char* className)
{
    for (const MorePage& m : kMorePages)
        if (std::string_view(className) == m.className) return &m;
    return nullptr;
}

}  // namespace

CPageArea::CPageArea(const CViewFactory& factory, ViewContext& context, const rtu::CTextCatalog& catalog,
                     QWidget* parent)
    : QWidget(parent)
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

    for (const rtu::PageInfo& info : rtu::PageTable()) {
        if (pageWidgets_.contains(info.navId)) continue;
        if (QWidget* view = factory.Create(info.className, context, stack_)) {
            stack_->addWidget(view);
            pageWidgets_.insert(info.navId, view);
        }
    }
    BuildNavigation(catalog);
    // A page with unsaved edits is marked in the navigation too.
    for (auto it = pageWidgets_.cbegin(); it != pageWidgets_.cend(); ++it)
        if (auto* view = qobject_cast<CPageView*>(it.value()))
            connect(view, &CPageView::editedChanged, this,
                    [this, navId = it.key()](bool edited) { nav_->SetItemMarked(navId, edited); });

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
        if (!pageWidgets_.contains(info.navId)) continue;
        if (!info.folderKey || !info.itemKey) {
            more.append(&info);
            continue;
        }
        const QString key = QString::fromLatin1(info.folderKey);
        if (!folders.contains(key)) folders.insert(key, nav_->AddFolder(tr("TABS", info.folderKey)));
        nav_->AddItem(folders.value(key), NavIcon(info.icon, style()), tr("TABS", info.itemKey), info.navId);
    }
    if (more.isEmpty()) return;
    // Pages without an item of their own are reachable from one more folder.
    const int folder = nav_->AddFolder(tr("TABS", "TAB_MORE"));
    for (const rtu::PageInfo* info : more) {
        const MorePage* m = FindMorePage(info->className);
        QString caption = m ? tr("TABS", m->key) : QString();
        if (caption.isEmpty()) caption = m ? QString::fromLatin1(m->fallback) : QString::fromLatin1(info->className);
        nav_->AddItem(folder, NavIcon(m ? m->icon : -1, style()), caption, info->navId);
    }
}

CPageView* CPageArea::PageView(int navId) const { return qobject_cast<CPageView*>(PageWidget(navId)); }

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
    for (QWidget* w : std::as_const(pageWidgets_))
        if (auto* view = qobject_cast<CPageView*>(w)) view->SetUnitBusy(busy);
}

void CPageArea::DropViews()
{
    currentPage_ = nullptr;
    pageWidgets_.clear();
    delete stack_;
    stack_ = nullptr;
}
