#include "pages/gpio/PageCounter.h"

#include <string>
#include <vector>

#include "pages/framework/FieldBuilders.h"
#include "pages/framework/Printf.h"
#include "link/TextFields.h"

namespace rtu {
namespace {

using P = CPageCounter;

constexpr const char* kDump = "%DUMP_COUNTER\r";
constexpr std::size_t kAutoAt = 3;  // "AT <0|1>": the state character

// The names a report gives the fields, the control and where the value starts.
struct ReportName {
    const char* name;
    int id;
    std::size_t at;
};
constexpr ReportName kNames[] = {
    {"CT0", P::kDetect[0], 4},     {"CT1", P::kDetect[1], 4},     {"VA0", P::kValue[0], 4},
    {"VA1", P::kValue[1], 4},      {"UN0", P::kUnits[0], 4},      {"UN1", P::kUnits[1], 4},
    {"UT0", P::kUpload[0], 4},     {"UT1", P::kUpload[1], 4},     {"RPH0", P::kHour[0], 5},
    {"RPH1", P::kHour[1], 5},      {"RPM0", P::kMinute[0], 5},    {"RPM1", P::kMinute[1], 5},
    {"UST0", P::kThreshold[0], 5}, {"UST1", P::kThreshold[1], 5},
};

template <int N> bool WriteUnits(const CPageBase& page, std::string& line)
{
    line = Printf("%%IOCU%d,%.2f\r", N, LeadingDouble(page.TextOf(P::kUnits[N])));
    return true;
}
constexpr ComposeFn kWriteUnits[P::kCounters] = {WriteUnits<0>, WriteUnits<1>};

// A whole number each counter has: counter 0's row, then counter 1's, saved in that order.
struct CounterNumber {
    const int* ids;
    const char* captions[P::kCounters];
    const char* formats[P::kCounters];
    int order;  // counter 0's place in the save; counter 1 follows
    int max;
};
// clang-format off
constexpr CounterNumber kDetects = {P::kDetect, {"IOCT0", "IOCT1"}, {"%%IOCCT0,%d\r", "%%IOCCT1,%d\r"}, 1, P::kParamMax};
constexpr CounterNumber kReportNumbers[] = {
    {P::kUpload, {"IOCUT0", "IOCUT1"}, {"%%IOCUT0,%d\r", "%%IOCUT1,%d\r"}, 6, P::kParamMax},
    {P::kHour, {"IOCRPT0", "IOCRPT1"}, {"%%IOCRPH0,%d\r", "%%IOCRPH1,%d\r"}, 8, P::kHourMax},
    {P::kMinute, {"IOCRPM0", "IOCRPM1"}, {"%%IOCRPM0,%d\r", "%%IOCRPM1,%d\r"}, 10, P::kMinuteMax},
    {P::kThreshold, {"IOCHOLD0", "IOCHOLD1"}, {"%%IOCST0,%d\r", "%%IOCST1,%d\r"}, 12, P::kParamMax},
};

std::vector<FieldDecl> MakeFields()
{
    std::vector<FieldDecl> f = {{.id = P::kGroup, .kind = K::Group, .caption = Fixed("Counters")}};
    auto numbers = [&f](const CounterNumber& r) {
        for (int n = 0; n < P::kCounters; ++n)
            f.push_back(NumberBox({.id = r.ids[n], .caption = Own(r.captions[n]), .group = P::kGroup, .write = {.format = r.formats[n], .order = r.order + n}, .dump = kDump, .maxValue = r.max}));
    };
    numbers(kDetects);
    f.push_back(CheckBox({.id = P::kAutoUpload, .caption = Own("AUTMOMODE"), .group = P::kGroup, .visible = false, .write = {.format = "%%IOCNAT=%d\r", .order = 3}, .dump = kDump}));
    for (int n = 0; n < P::kCounters; ++n)
        f.push_back(TextBox({.id = P::kUnits[n], .caption = {"", "IOCU" + std::to_string(n), ""}, .group = P::kGroup, .write = {.order = 4 + n, .compose = kWriteUnits[n]}, .dump = kDump, .chars = CharRule::Decimal, .strict = true}));
    for (const CounterNumber& r : kReportNumbers) numbers(r);
    for (int n = 0; n < P::kCounters; ++n)
        f.push_back(Shown({.id = P::kValue[n], .caption = {"", "VALUE" + std::to_string(n), ""}, .group = P::kGroup, .dump = kDump}));
    f.push_back(MakeButton(ctl::kSave1, Shared("Buttons", "Save")));
    f.push_back(MakeButton(ctl::kReload, {}, "Reload"));
    return f;
}
// clang-format on

const std::vector<FieldDecl> kFields = MakeFields();

const HandlerDecl kHandlers[] = {{.number = 1, .keys = {"$COUNTER_CT#", "$COUNTER_VA#", "$COUNTER_UN#", "$COUNTER_UT#",
                                                         "$COUNTER_RPH#", "$COUNTER_RPM#", "$COUNTER_UST#"}, .fn = P::TakeReport}};

}  // namespace

PageDecl CPageCounter::Decl()
{
    // The save sends the lines and reloads; no busy notice, no framing.
    return PageDecl{.fields = kFields, .handlers = kHandlers, .waitMs = kWaitMs, .framed = false, .busyNotice = false};
}

std::unique_ptr<CPageBase> CPageCounter::Make(PageContext& context, const PageInfo& info)
{
    return std::make_unique<CPageBase>(context, info, Decl());
}

void CPageCounter::TakeReport(CPageBase& page, const RouteHit& hit)
{
    const std::string_view text = hit.text;
    if (text.starts_with("AT")) {
        const char state = At(text, kAutoAt);
        if (state == '0' || state == '1') page.SetCheck(kAutoUpload, state == '1');
        return;
    }
    for (const ReportName& n : kNames) {
        if (!text.starts_with(n.name)) continue;
        page.SetText(n.id, std::string(n.at < text.size() ? text.substr(n.at) : std::string_view{}));
        return;
    }
}

}  // namespace rtu
