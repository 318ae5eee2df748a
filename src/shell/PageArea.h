#pragma once

#include <QHash>
#include <QWidget>

#include <functional>
#include <vector>

#include "pages/framework/TextCatalog.h"
#include "shell/ViewFactory.h"

class QStackedWidget;
class CNavBar;
class CPageView;

// The page area: the navigation bar and the page on show. It makes a page's view through the
// view factory when the page is first shown or asked for (start-up pays only for the first
// page), and shows one at a time; the page on show after a navigation is the current page,
// whose buttons the busy signal locks.
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
    // The view of a page, made now when it was not yet; null for a page without a view.
    QWidget* PageWidget(int navId);
    CPageView* PageView(int navId);
    // The view when it was made already; null otherwise.
    QWidget* MadeWidget(int navId) const { return pageWidgets_.value(navId, nullptr); }
    // Calls `setup` for every page view made so far and for each one made later.
    void ForEachView(const std::function<void(CPageView& view)>& setup);
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

    const CViewFactory& factory_;
    ViewContext& context_;
    CNavBar* nav_ = nullptr;
    QStackedWidget* stack_ = nullptr;
    QHash<int, const char*> classes_;   // navigation id -> page class, for the pages that have a view
    QHash<int, QWidget*> pageWidgets_;  // navigation id -> view, once made
    std::vector<std::function<void(CPageView&)>> viewSetups_;
    bool unitBusy_ = false;  // what the last SetUnitBusy said, for views made later
    int currentPageId_ = kNoPage;
    CPageView* currentPage_ = nullptr;
};
