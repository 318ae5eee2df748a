#pragma once

#include <QHash>
#include <QWidget>

#include "pages/framework/TextCatalog.h"
#include "shell/ViewFactory.h"

class QStackedWidget;
class CNavBar;
class CPageView;

// The page area: the navigation bar and the page on show. It makes every page's view once,
// through the view factory, and shows one at a time; the page on show after a navigation is
// the current page, whose buttons the busy signal locks.
class CPageArea : public QWidget {
    Q_OBJECT
public:
    static constexpr int kNoPage = -1;
    static constexpr int kCommNav = 16;  // test console: shown with no current page
    static constexpr int kComm2Nav = 46;
    static constexpr int kFirstPageNav = 1;  // the page on show at start-up
    static constexpr int kNavWidth = 176;    // navigation bar

    CPageArea(const CViewFactory& factory, ViewContext& context, const rtu::CTextCatalog& catalog,
              QWidget* parent = nullptr);

    CNavBar* NavBar() const { return nav_; }
    QWidget* PageWidget(int navId) const { return pageWidgets_.value(navId, nullptr); }
    CPageView* PageView(int navId) const;
    QWidget* ShownPage() const;
    int CurrentPageId() const { return currentPageId_; }
    CPageView* CurrentPage() const { return currentPage_; }

    void ShowPage(int navId);
    // The busy signal: locks the current page's buttons; the all-clear unlocks every page
    // (also one left while it was busy).
    void SetBusy(bool busy);
    // The unit is busy (or free again, or the pages' read state changed): every page's
    // writing controls follow.
    void SetUnitBusy(bool busy);
    // The views go (they follow the session's page models, which may go next).
    void DropViews();

signals:
    void pageShown(int navId);

private:
    void BuildNavigation(const rtu::CTextCatalog& catalog);

    CNavBar* nav_ = nullptr;
    QStackedWidget* stack_ = nullptr;
    QHash<int, QWidget*> pageWidgets_;  // navigation id -> view
    int currentPageId_ = kNoPage;
    CPageView* currentPage_ = nullptr;
};
