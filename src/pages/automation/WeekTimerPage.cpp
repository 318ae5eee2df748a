#include "pages/automation/WeekTimerPage.h"

#include <string>
#include <vector>

#include "pages/automation/TimerReports.h"
#include "pages/framework/FieldBuilders.h"
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
        f.push_back(NumberBox({.id = P::kHour0 + k,
                               .caption = Shared("PageMtimer", "HOUR"),
                               .write = {.partOf = P::kDay0 + k},
                               .dump = dump::kTimer,
                               .chars = CharRule::Digits,
                               .maxValue = P::kHourMax}));
        f.push_back(NumberBox({.id = P::kMinute0 + k,
                               .caption = Shared("PageMtimer", "MINS"),
                               .write = {.partOf = P::kDay0 + k},
                               .dump = dump::kTimer,
                               .chars = CharRule::Digits,
                               .maxValue = P::kMinuteMax}));
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
    static const std::vector<FieldDecl> fields = Fields();
    return std::make_unique<CPageBase>(context, info,
                                       PageDecl{.fields = fields, .handlers = kHandlers, .waitMs = kWaitMs});
}

}  // namespace rtu
