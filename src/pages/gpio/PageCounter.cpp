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

// clang-format off
const std::vector<FieldDecl> kFields = {
    {.id = P::kGroup, .kind = K::Group, .caption = Fixed("Counters")},
    NumberBox({.id = P::kDetect[0], .caption = Own("IOCT0"), .group = P::kGroup,
               .write = {.format = "%%IOCCT0,%d\r", .order = 1}, .dump = kDump, .maxValue = P::kParamMax}),
    NumberBox({.id = P::kDetect[1], .caption = Own("IOCT1"), .group = P::kGroup,
               .write = {.format = "%%IOCCT1,%d\r", .order = 2}, .dump = kDump, .maxValue = P::kParamMax}),
    {.id = P::kAutoUpload, .kind = K::Check, .caption = Own("AUTMOMODE"), .group = P::kGroup, .visible = false,
     .write = {.format = "%%IOCNAT=%d\r", .order = 3}, .dump = kDump},
    {.id = P::kUnits[0], .kind = K::Text, .caption = Own("IOCU0"), .group = P::kGroup,
     .write = {.order = 4, .compose = WriteUnits<0>}, .dump = kDump, .chars = CharRule::Decimal, .strict = true},
    {.id = P::kUnits[1], .kind = K::Text, .caption = Own("IOCU1"), .group = P::kGroup,
     .write = {.order = 5, .compose = WriteUnits<1>}, .dump = kDump, .chars = CharRule::Decimal, .strict = true},
    NumberBox({.id = P::kUpload[0], .caption = Own("IOCUT0"), .group = P::kGroup,
               .write = {.format = "%%IOCUT0,%d\r", .order = 6}, .dump = kDump, .maxValue = P::kParamMax}),
    NumberBox({.id = P::kUpload[1], .caption = Own("IOCUT1"), .group = P::kGroup,
               .write = {.format = "%%IOCUT1,%d\r", .order = 7}, .dump = kDump, .maxValue = P::kParamMax}),
    NumberBox({.id = P::kHour[0], .caption = Own("IOCRPT0"), .group = P::kGroup,
               .write = {.format = "%%IOCRPH0,%d\r", .order = 8}, .dump = kDump, .maxValue = P::kHourMax}),
    NumberBox({.id = P::kHour[1], .caption = Own("IOCRPT1"), .group = P::kGroup,
               .write = {.format = "%%IOCRPH1,%d\r", .order = 9}, .dump = kDump, .maxValue = P::kHourMax}),
    NumberBox({.id = P::kMinute[0], .caption = Own("IOCRPM0"), .group = P::kGroup,
               .write = {.format = "%%IOCRPM0,%d\r", .order = 10}, .dump = kDump, .maxValue = P::kMinuteMax}),
    NumberBox({.id = P::kMinute[1], .caption = Own("IOCRPM1"), .group = P::kGroup,
               .write = {.format = "%%IOCRPM1,%d\r", .order = 11}, .dump = kDump, .maxValue = P::kMinuteMax}),
    NumberBox({.id = P::kThreshold[0], .caption = Own("IOCHOLD0"), .group = P::kGroup,
               .write = {.format = "%%IOCST0,%d\r", .order = 12}, .dump = kDump, .maxValue = P::kParamMax}),
    NumberBox({.id = P::kThreshold[1], .caption = Own("IOCHOLD1"), .group = P::kGroup,
               .write = {.format = "%%IOCST1,%d\r", .order = 13}, .dump = kDump, .maxValue = P::kParamMax}),
    {.id = P::kValue[0], .kind = K::Value, .caption = Own("VALUE0"), .group = P::kGroup, .readOnly = true,
     .write = {.reportOnly = true}, .dump = kDump},
    {.id = P::kValue[1], .kind = K::Value, .caption = Own("VALUE1"), .group = P::kGroup, .readOnly = true,
     .write = {.reportOnly = true}, .dump = kDump},
    MakeButton(ctl::kSave1, Shared("Buttons", "Save")),
    MakeButton(ctl::kReload, {}, "Reload"),
};
// clang-format on

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
