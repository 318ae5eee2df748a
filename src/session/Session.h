// One connection to a unit as the tool sees it: the link core, every page, the full
// reload, profiles and exports. The desktop tool and the command line each own one and
// drive it from their event loop.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

#include "link/DeviceLink.h"
#include "link/ProfileRunner.h"
#include "pages/basic/BasicPages.h"
#include "pages/framework/PageBase.h"
#include "pages/framework/TextCatalog.h"

namespace rtu {

class CSession : public IRouteDirectory {
public:
    // Message texts the user sees.
    static constexpr const char* kOpenProfileFailed = "Open the profile failed!";
    static constexpr const char* kSaveProfileOk = "Save the profile sucessed!";
    static constexpr const char* kWriteProfileFailed = "Write the profile failed!";
    static constexpr const char* kExecProfileOk = "Excute the profile sucessed!";

    // `observer` gets the link's events; `catalog` may be null (empty texts).
    CSession(WriteFn write, ClockFn clock, ILinkObserver* observer, const CTextCatalog* catalog);
    ~CSession() override;

    CDeviceLink& Link() { return link_; }
    PageContext& Context() { return context_; }
    const PageList& Pages() const { return pages_; }
    CPageBase* Page(std::string_view className) const;
    CPageBase* PageByNav(int navId) const;
    IRouteTarget* FindPage(std::string_view className) override { return Page(className); }

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
    CDeviceLink link_;
    PageContext context_;
    PageList pages_;
    CProfileRunner runner_;
};

}  // namespace rtu
