#include "shell/ViewFactory.h"

#include "shell/CommPageView.h"
#include "shell/PageView.h"
#include "shell/SessionDriver.h"
#include "shell/sensor/TempRecordView.h"
#include "shell/events/EventWidgets.h"

CViewFactory CViewFactory::Standard()
{
    CViewFactory factory;
    RegisterEventWidgets();
    factory.Register("CPageComm", [](ViewContext& context, QWidget* parent) -> QWidget* {
        auto* view = new CCommPageView(context.driver, context.settings, parent);
        view->runCommand = context.runCommand;  // ATF is the window's Defaults
        return view;
    }, false);
    // The temperature record pages: a list that grows with the unit's records, and a chart.
    for (const char* name : {"CPageExTmpRcd", "CPageExtTmpLog"}) {
        factory.Register(name, [name](ViewContext& context, QWidget* parent) -> QWidget* {
            auto* page = dynamic_cast<rtu::CTempRecordPage*>(context.driver.Session().Page(name));
            if (!page) return nullptr;
            const bool realTime = std::string_view(name) == "CPageExTmpRcd";
            return new CTempRecordView(context.driver, *page, realTime, rtu::DefaultTempLogPath(), parent);
        });
    }
    return factory;
}

void CViewFactory::Register(std::string className, Maker make, bool needsModel)
{
    custom_[std::move(className)] = Custom{std::move(make), needsModel};
}

bool CViewFactory::Makes(std::string_view className, ViewContext& context) const
{
    const auto it = custom_.find(className);
    if (it != custom_.end() && !it->second.needsModel) return true;
    return context.driver.Session().Page(className) != nullptr;
}

QWidget* CViewFactory::Create(std::string_view className, ViewContext& context, QWidget* parent) const
{
    if (auto it = custom_.find(className); it != custom_.end()) return it->second.make(context, parent);
    rtu::CPageBase* page = context.driver.Session().Page(className);
    if (!page) return nullptr;
    rtu::CSession& session = context.driver.Session();
    auto* view = new CPageView(*page, CPageView::SessionActions(session, std::string(className)), parent);
    // The page model may have queued traffic for the unit: the driver looks at the session.
    QObject::connect(view, &CPageView::coreCalled, &context.driver, &CSessionDriver::Pump);
    return view;
}
