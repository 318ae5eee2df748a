#pragma once

#include <functional>
#include <map>
#include <string>
#include <string_view>

class QWidget;
class CRegSetting;
class CSessionDriver;

// What a view is made with: the session's driver (the session, its signals) and the stored
// settings.
struct ViewContext {
    CSessionDriver& driver;
    CRegSetting& settings;
    // Runs a command of the window's top row (as its button would, questions and backup
    // included); empty where there is no window.
    std::function<void(int command)> runCommand{};
};

// Makes the view of each page, keyed by the page's class name: a view registered for the
// class, else the view generated from the session's page model.
class CViewFactory {
public:
    using Maker = std::function<QWidget*(ViewContext& context, QWidget* parent)>;

    // The tool's views: the generated page views, the test console as a custom view.
    static CViewFactory Standard();

    // `needsModel`: the view shows the session's page model of the class and is made only
    // when the session has one.
    void Register(std::string className, Maker make, bool needsModel = true);
    // Whether Create makes a view for the class (without making one).
    bool Makes(std::string_view className, ViewContext& context) const;
    // The view for a page class; null when it has neither a registered view nor a page model.
    QWidget* Create(std::string_view className, ViewContext& context, QWidget* parent) const;

private:
    struct Custom {
        Maker make;
        bool needsModel = true;
    };
    std::map<std::string, Custom, std::less<>> custom_;
};
