#include "pages/automation/WeekTimerPage.h"

#include <string>
#include <vector>

#include "pages/automation/TimerReports.h"
#include "pages/framework/FieldBuilders.h"
#include "pages/framework/GenericPage.h"
#include "pages/framework/Printf.h"

namespace rtu {
namespace {

using P = CWeekTimerPage;

// "%MDATE<k><weekday>,<hour>,<minute>,<action>"; a list without a selection gives -1.
template <int Timer> bool WriteTimer(const CPageBase& page, std::string& line)
{
    line = Printf("%%MDATE%d%d,%s,%s,%d\r", Timer, page.ValueOf(P::kDay0 + Timer).sel,
                  SingleLine(page.TextOf(P::kHour0 + Timer)).c_str(),
                  SingleLine(page.TextOf(P::kMinute0 + Timer)).c_str(), page.ValueOf(P::kAction0 + Timer).sel);
    return true;
}

constexpr ComposeFn kWriters[P::kTimers] = {WriteTimer<0>, WriteTimer<1>, WriteTimer<2>, WriteTimer<3>,
                                            WriteTimer<4>, WriteTimer<5>, WriteTimer<6>};

std::vector<FieldDecl> Fields()
{
    std::vector<FieldDecl> f;
    for (int k = 0; k < P::kTimers; ++k) {
        f.push_back({.id = P::kDay0 + k,
                     .kind = K::Combo,
                     .caption = Shared("PageMtimer", "DATE"),
                     .write = {.order = k + 1, .compose = kWriters[k]},
                     .dump = dump::kTimer,
                     .items = Weekdays()});
        AddTimeOfDay(f, {}, P::kHour0 + k, {.partOf = P::kDay0 + k}, P::kMinute0 + k, {.partOf = P::kDay0 + k},
                     "PageMtimer");
        f.push_back({.id = P::kAction0 + k,
                     .kind = K::Combo,
                     .write = {.partOf = P::kDay0 + k},
                     .dump = dump::kTimer,
                     .items = WeeklyTimerActions()});
    }
    f.push_back(MakeButton(ctl::kReload, {}, "Reload"));
    f.push_back(MakeButton(ctl::kSave, Shared("Buttons", "Save")));
    return f;
}

// "$TDATE<field><k> <value>": W weekday, H hour, M minute, T action of timer k.
void TakeTimer(CPageBase& page, const RouteHit& hit)
{
    const auto report = SplitTimerReport(hit.text);
    if (!report || report->timer >= P::kTimers) return;
    const int k = report->timer;
    const auto items = [](const std::vector<TextRef>& list) { return static_cast<int>(list.size()); };
    switch (report->field) {
    case 'W': page.SetSel(P::kDay0 + k, SelectionOf(report->value, items(Weekdays()))); break;
    case 'H': page.SetText(P::kHour0 + k, std::string(report->value)); break;
    case 'M': page.SetText(P::kMinute0 + k, std::string(report->value)); break;
    case 'T': page.SetSel(P::kAction0 + k, SelectionOf(report->value, items(WeeklyTimerActions()))); break;
    default: break;
    }
}

const HandlerDecl kHandlers[] = {
    {.number = 1, .keys = {"$TDATE"}, .fn = TakeTimer},
};

}  // namespace

std::unique_ptr<CPageBase> CWeekTimerPage::Make(PageContext& context, const PageInfo& info)
{
    return MakeGenericPage<Fields>(context, info, kHandlers, kWaitMs);
}

}  // namespace rtu
