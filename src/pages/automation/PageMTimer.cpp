#include "pages/automation/PageMTimer.h"

#include <string>
#include <utility>
#include <vector>

#include "pages/automation/TimerReports.h"
#include "pages/framework/FieldBuilders.h"
#include "pages/framework/GenericPage.h"
#include "pages/framework/Printf.h"

namespace rtu {
namespace {

using P = CPageMTimer;

int Items(const std::vector<TextRef>& list) { return static_cast<int>(list.size()); }

// "%MTIMER<k><hour>,<minute>,<action>": one clock timer; no action selected gives -1.
template <int Timer> bool WriteClock(const CPageBase& page, std::string& line)
{
    line =
        Printf("%%MTIMER%d%s,%s,%d\r", Timer, SingleLine(page.TextOf(P::kClockHour0 + Timer)).c_str(),
               SingleLine(page.TextOf(P::kClockMinute0 + Timer)).c_str(), page.ValueOf(P::kClockAction0 + Timer).sel);
    return true;
}

// "%MSPAN<k><minutes>,<action>" and "%SSPAN<k><seconds>,<action>".
template <int Timer, bool Seconds> bool WriteSpan(const CPageBase& page, std::string& line)
{
    const int span = (Seconds ? P::kSecondSpan0 : P::kMinuteSpan0) + Timer;
    const int action = (Seconds ? P::kSecondAction0 : P::kMinuteAction0) + Timer;
    line = Printf(Seconds ? "%%SSPAN%d%s,%d\r" : "%%MSPAN%d%s,%d\r", Timer, SingleLine(page.TextOf(span)).c_str(),
                  page.ValueOf(action).sel);
    return true;
}

constexpr ComposeFn kClockWriters[P::kClocks] = {WriteClock<0>, WriteClock<1>, WriteClock<2>,
                                                 WriteClock<3>, WriteClock<4>, WriteClock<5>};
constexpr ComposeFn kMinuteWriters[P::kSpans] = {WriteSpan<0, false>, WriteSpan<1, false>, WriteSpan<2, false>,
                                                 WriteSpan<3, false>};
constexpr ComposeFn kSecondWriters[P::kSpans] = {WriteSpan<0, true>, WriteSpan<1, true>, WriteSpan<2, true>,
                                                 WriteSpan<3, true>};

// Save order: the clock timers, then the minute and the second intervals.
constexpr int kClockOrder = 1;
constexpr int kMinuteOrder = kClockOrder + P::kClocks;
constexpr int kSecondOrder = kMinuteOrder + P::kSpans;

TextRef Numbered(const char* stem, int k) { return TextRef{"", stem + std::to_string(k), ""}; }

std::vector<FieldDecl> Fields()
{
    const auto& actions = MachineTimerActions();
    std::vector<FieldDecl> f;
    f.push_back({.id = P::kClockGroup, .kind = K::Group, .caption = Own("TITLE")});
    for (int k = 0; k < P::kClocks; ++k) {
        f.push_back(
            {.id = P::kClockLabel0 + k, .kind = K::Label, .caption = Numbered("TIMER", k), .group = P::kClockGroup});
        AddTimeOfDay(f, {.captionId = P::kClockLabel0 + k, .group = P::kClockGroup}, P::kClockHour0 + k,
                     {.order = kClockOrder + k, .compose = kClockWriters[k]}, P::kClockMinute0 + k,
                     {.partOf = P::kClockHour0 + k});
        f.push_back(DropDown({.id = P::kClockAction0 + k,
                              .captionId = P::kClockLabel0 + k,  // one row
                              .group = P::kClockGroup,
                              .write = {.partOf = P::kClockHour0 + k},
                              .dump = dump::kTimer,
                              .items = actions}));
    }
    struct Spans {
        int group, label0, span0, action0, order;
        const char* frame;
        const char* unit;
        const ComposeFn* writers;
    };
    const Spans spans[] = {
        {P::kMinuteGroup, P::kMinuteLabel0, P::kMinuteSpan0, P::kMinuteAction0, kMinuteOrder, "FRAME2", "MINS",
         kMinuteWriters},
        {P::kSecondGroup, P::kSecondLabel0, P::kSecondSpan0, P::kSecondAction0, kSecondOrder, "FRAME3", "SEC",
         kSecondWriters},
    };
    for (const Spans& s : spans) {
        f.push_back({.id = s.group, .kind = K::Group, .caption = Own(s.frame)});
        for (int k = 0; k < P::kSpans; ++k) {
            f.push_back({.id = s.label0 + k, .kind = K::Label, .caption = Numbered("COUNTER", k), .group = s.group});
            f.push_back(NumberBox({.id = s.span0 + k,
                                   .caption = Own(s.unit),
                                   .group = s.group,
                                   .write = {.order = s.order + k, .compose = s.writers[k]},
                                   .dump = dump::kTimer,
                                   .chars = CharRule::Digits,
                                   .maxValue = P::kSpanMax}));
            f.push_back(DropDown({.id = s.action0 + k,
                                  .group = s.group,
                                  .write = {.partOf = s.span0 + k},
                                  .dump = dump::kTimer,
                                  .items = actions}));
            for (std::size_t i = f.size() - 2; i < f.size(); ++i) f[i].captionId = s.label0 + k;  // one row
        }
    }
    // Two weekly timers the unit reports here too; they are edited and sent on their own page.
    f.push_back({.id = P::kWeekGroup, .kind = K::Group, .visible = false});
    for (int k = 0; k < P::kWeekly; ++k) {
        f.push_back({.id = P::kWeekDay0 + k,
                     .kind = K::Combo,
                     .group = P::kWeekGroup,
                     .visible = false,
                     .write = {.reportOnly = true},
                     .dump = dump::kTimer,
                     .items = Weekdays()});
        AddTimeOfDay(f, {.group = P::kWeekGroup, .visible = false}, P::kWeekHour0 + k, {.reportOnly = true},
                     P::kWeekMinute0 + k, {.reportOnly = true}, "PageMtimer");
        f.push_back(DropDown({.id = P::kWeekAction0 + k,
                              .group = P::kWeekGroup,
                              .visible = false,
                              .write = {.reportOnly = true},
                              .dump = dump::kTimer,
                              .items = actions}));
    }
    f.push_back(MakeButton(ctl::kReload, {}, "Reload"));
    f.push_back(MakeButton(ctl::kSave, Shared("Buttons", "Save")));
    return f;
}

// The control a timer report sets; 0 when the page has no such timer or field.
int Target(std::string_view key, char field, int timer)
{
    auto in = [timer](int count) { return timer >= 0 && timer < count; };
    if (key == "$TIMER" && in(P::kClocks)) {
        if (field == 'H') return P::kClockHour0 + timer;
        if (field == 'M') return P::kClockMinute0 + timer;
        if (field == 'T') return P::kClockAction0 + timer;
    }
    if ((key == "$TSPAN" || key == "$TSSPAN") && in(P::kSpans)) {
        const bool seconds = key == "$TSSPAN";
        if (field == 'M') return (seconds ? P::kSecondSpan0 : P::kMinuteSpan0) + timer;
        if (field == 'T') return (seconds ? P::kSecondAction0 : P::kMinuteAction0) + timer;
    }
    if (key == "$TDATE" && in(P::kWeekly)) {
        if (field == 'W') return P::kWeekDay0 + timer;
        if (field == 'H') return P::kWeekHour0 + timer;
        if (field == 'M') return P::kWeekMinute0 + timer;
        if (field == 'T') return P::kWeekAction0 + timer;
    }
    return 0;
}

void TakeTimer(CPageBase& page, const RouteHit& hit)
{
    const auto report = SplitTimerReport(hit.text);
    if (!report || !hit.target.key) return;
    const int id = Target(hit.target.key, report->field, report->timer);
    const FieldDecl* f = id ? page.FindField(id) : nullptr;
    if (!f) return;
    if (f->kind == K::Combo) page.SetSel(id, SelectionOf(report->value, Items(f->items)));
    else page.SetText(id, std::string(report->value));
}

const HandlerDecl kHandlers[] = {
    {.number = 1, .keys = {"$TIMER", "$TSPAN", "$TSSPAN", "$TDATE"}, .fn = TakeTimer},
};

}  // namespace

std::unique_ptr<CPageBase> CPageMTimer::Make(PageContext& context, const PageInfo& info)
{
    return MakeGenericPage<Fields>(context, info, kHandlers, kWaitMs);
}

}  // namespace rtu
