// One connection to a unit as the tool sees it: the link core, every page, the full
// reload, profiles and exports. The desktop tool and the command line each own one and
// drive it from their event loop.
#pragma once

#include <functional>
#include <memory>
#include <span>
#include <vector>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

#include "link/DeviceLink.h"
#include "link/ProfileRunner.h"
#include "pages/framework/PageBase.h"
#include "pages/framework/TextCatalog.h"
#include "pages/registry/PageRegistry.h"
#include "pages/registry/RouteCheck.h"

namespace rtu {

using PageList = std::vector<std::unique_ptr<CPageBase>>;

class CSession : public IRouteDirectory {
public:
    // Message texts the user sees.
    static constexpr const char* kOpenProfileFailed = "Open the profile failed!";
    static constexpr const char* kSaveProfileOk = "Save the profile sucessed!";
    static constexpr const char* kWriteProfileFailed = "Write the profile failed!";
    static constexpr const char* kExecProfileOk = "Excute the profile sucessed!";

    // `observer` gets the link's events; `catalog` may be null (empty texts). The pages are
    // the built rows of `registry` (the tool's page table unless a test brings its own).
    CSession(WriteFn write, ClockFn clock, ILinkObserver* observer, const CTextCatalog* catalog,
             std::span<const PageInfo> registry = PageTable());
    ~CSession() override;

    CDeviceLink& Link() { return link_; }
    PageContext& Context() { return context_; }
    const PageList& Pages() const { return pages_; }
    std::span<const PageInfo> Registry() const { return registry_; }
    CPageBase* Page(std::string_view className) const;
    CPageBase* Page(PageId id) const;
    IRouteTarget* FindPage(PageId id) override { return Page(id); }
    // The routing rows held against the pages at start-up.
    const RouteCheck& Routes() const { return routes_; }
    // Reports that reached a page without a taker there, over all pages.
    int DroppedReports() const;

    // A command posted to the main window, run from the event loop.
    void HandleCommand(int id) { link_.HandleCommand(id); }
    // Clears the pages a full reload clears, in their order.
    void ClearForReload();

    // Writes every page's profile section, in profile order, into `path`. Tells the user the
    // outcome through the observer's message; returns whether the profile was written.
    bool SaveProfile(const std::string& path);
    // The profile text as SaveProfile would write it.
    std::string ProfileText();
    // Executes a profile; false when it cannot be opened or one is already running.
    // `done` gets the summary before the reload is posted.
    bool ExecProfile(const std::string& path, std::function<void(const ExecSummary&)> done = {});
    bool ExecProfileLines(const std::vector<std::string>& lines, std::function<void(const ExecSummary&)> done = {});
    bool ExecProfileLines(CProfileLines lines, std::function<void(const ExecSummary&)> done = {});
    // The runner: its pause when the unit falls silent is answered through it.
    CProfileRunner& Runner() { return runner_; }
    // What the user is told when an execution ends.
    static std::string ExecOutcomeText(const ExecSummary& s);

    // Every page's values: { class name: { control id: value, … }, … }.
    nlohmann::json ExportJson() const;
    // The same as indented JSON text; bytes that are not UTF-8 become U+FFFD.
    std::string ExportJsonText() const;
    static nlohmann::json PageJson(const CPageBase& page);

private:
    void Message(MessageIcon icon, const std::string& text);

    ILinkObserver* observer_;
    std::span<const PageInfo> registry_;
    CDeviceLink link_;
    PageContext context_;
    PageList pages_;
    RouteCheck routes_;
    CProfileRunner runner_;
};

}  // namespace rtu
