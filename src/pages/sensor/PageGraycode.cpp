#include "pages/sensor/PageGraycode.h"

#include "pages/framework/FieldBuilders.h"
#include "pages/framework/Printf.h"
#include "pages/framework/ReportRows.h"

namespace rtu {

namespace {

using G = CPageGraycode;
using K = FieldKind;

constexpr const char* kDump = "%DUMP_GRAY\r";

// The gray-code reports in their test order: the first key found in a line decides.
constexpr ReportRow kReports[] = {
    {G::kRangeHigh, {"$GRAYH", 7, Decode::Text}},          {G::kRangeLow, {"$GRAYL", 7, Decode::Text}},
    {G::kAdjust, {"$GRAYADJ", 9, Decode::Text}},           {G::kTimer, {"$GRAYTIMER", 11, Decode::Text}},
    {G::kAccuracy, {"$GRAYACCS", 10, Decode::Text}},       {G::kBits, {"$GRAYBITS", 10, Decode::Text}},
    {G::kStep, {"$GRAYSTEP", 10, Decode::Text}},           {G::kDetect, {"$GRAYDETT", 10, Decode::Text}},
    {G::kEventCount, {"$GRAYEVENTCNT", 14, Decode::Text}}, {G::kEventMinutes, {"$GRAYEVENTMIN", 14, Decode::Text}},
    {G::kValueV, {"$GRAYVALUEV", 12, Decode::Text}},       {G::kValueG, {"$GRAYVALUEG", 12, Decode::Text}},
    {G::kValueB, {"$GRAYVALUEB", 12, Decode::Text}},       {G::kSpanStart, {"$GRAYREPHS", 11, Decode::Text}},
    {G::kSpanEnd, {"$GRAYREPHE", 11, Decode::Text}},
};

bool WriteRange(const CPageBase& page, std::string& line)
{
    line = Printf("%%GRAYRANGE%s,%s\r", SingleLine(page.TextOf(G::kRangeLow)).c_str(),
                  SingleLine(page.TextOf(G::kRangeHigh)).c_str());
    return true;
}

bool WriteEvent(const CPageBase& page, std::string& line)
{
    line = Printf("%%GRAYEVENT%s,%s\r", SingleLine(page.TextOf(G::kEventCount)).c_str(),
                  SingleLine(page.TextOf(G::kEventMinutes)).c_str());
    return true;
}

FieldDecl Edit(int id, int labelId, const char* caption, WriteDecl write)
{
    return {.id = id, .kind = K::Text, .caption = Own(caption), .captionId = labelId, .write = write, .dump = kDump};
}

FieldDecl Shown(int id, int labelId, const char* caption)
{
    return {.id = id,
            .kind = K::Value,
            .caption = Own(caption),
            .captionId = labelId,
            .readOnly = true,
            .write = {.reportOnly = true},
            .dump = kDump};
}

// clang-format off
const std::vector<FieldDecl> kFields = WithReports({
    {.id = ctl::kFrame, .kind = K::Label, .caption = Own("Frame")},
    {.id = 1021, .kind = K::Label, .caption = Own("RANGE")},
    Edit(G::kRangeLow, 1021, "RANGE", {.order = 1, .compose = WriteRange}),
    Edit(G::kRangeHigh, 1021, "RANGE", {.partOf = G::kRangeLow}),
    {.id = 1022, .kind = K::Label, .caption = Own("STEP")},
    Edit(G::kStep, 1022, "STEP", {.format = "%%GRAYSTEP%s\r", .order = 2}),
    {.id = 1023, .kind = K::Label, .caption = Own("DETT")},
    Edit(G::kDetect, 1023, "DETT", {.format = "%%GRAYDETT%s\r", .order = 7}),
    {.id = 1024, .kind = K::Label, .caption = Own("ADJ")},
    Edit(G::kAdjust, 1024, "ADJ", {.format = "%%GRAYOFFSET%s\r", .order = 3}),
    {.id = 1025, .kind = K::Label, .caption = Own("BITS")},
    Edit(G::kBits, 1025, "BITS", {.format = "%%GRAYBITS%s\r", .order = 4}),
    {.id = 1026, .kind = K::Label, .caption = Own("ACC")},
    Edit(G::kAccuracy, 1026, "ACC", {.format = "%%GRAYACCS%s\r", .order = 5}),
    {.id = 1027, .kind = K::Label, .caption = Own("VALUE")},
    Shown(G::kValueV, 1027, "VALUE"),
    Shown(G::kValueG, 1027, "VALUE"),
    Shown(G::kValueB, 1027, "VALUE"),
    {.id = 1028, .kind = K::Label, .caption = Own("TIMER")},
    Edit(G::kTimer, 1028, "TIMER", {.format = "%%GRAYTIMER%s\r", .order = 6}),
    {.id = 1029, .kind = K::Label, .caption = Own("UPTHE")},
    Shown(G::kSpanStart, 1029, "UPTHE"),
    Shown(G::kSpanEnd, 1029, "UPTHE"),
    {.id = 1030, .kind = K::Label, .caption = Own("EVENTC")},
    Edit(G::kEventCount, 1030, "EVENTC", {.order = 8, .compose = WriteEvent}),
    {.id = 1031, .kind = K::Label, .caption = Own("EVENTM")},
    Edit(G::kEventMinutes, 1031, "EVENTM", {.partOf = G::kEventCount}),
    MakeButton(ctl::kSave, Shared("Buttons", "Ok")),
    MakeButton(ctl::kReload, {}, "Reload"),
}, kReports);
// clang-format on

}  // namespace

CPageGraycode::CPageGraycode(PageContext& context, const PageInfo& info)
    : CPageBase(context, info, PageDecl{.fields = kFields})
{}

std::unique_ptr<CPageBase> CPageGraycode::Make(PageContext& context, const PageInfo& info)
{
    return std::make_unique<CPageGraycode>(context, info);
}

void CPageGraycode::ClearFields()
{
    const std::string v = TextOf(kValueV), g = TextOf(kValueG), b = TextOf(kValueB);
    CPageBase::ClearFields();
    Text(kValueV) = v;
    Text(kValueG) = g;
    Text(kValueB) = b;
    NotifyChanged(kChangedAll);
}

}  // namespace rtu
