#include "pages/sensor/PageGraycode.h"

#include "pages/framework/ComposedLines.h"
#include "pages/framework/FieldBuilders.h"
#include "pages/framework/ReportRows.h"

namespace rtu {

namespace {

using G = CPageGraycode;

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

// The two-value lines: the range (low, high) and the upload on change (count, minutes).
constexpr char kRangeLine[] = "%%GRAYRANGE%s,%s\r";
constexpr char kEventLine[] = "%%GRAYEVENT%s,%s\r";
constexpr ComposeFn WriteRange = WriteTexts<kRangeLine, G::kRangeLow, G::kRangeHigh>;
constexpr ComposeFn WriteEvent = WriteTexts<kEventLine, G::kEventCount, G::kEventMinutes>;

// clang-format off
const std::vector<FieldDecl> kFields = WithReports({
    {.id = ctl::kFrame, .kind = K::Label, .caption = Own("Frame")},
    {.id = 1021, .kind = K::Label, .caption = Own("RANGE")},
    TextBox({.id = G::kRangeLow, .caption = Own("RANGE"), .captionId = 1021, .write = {.order = 1, .compose = WriteRange}, .dump = kDump}),
    TextBox({.id = G::kRangeHigh, .caption = Own("RANGE"), .captionId = 1021, .write = {.partOf = G::kRangeLow}, .dump = kDump}),
    {.id = 1022, .kind = K::Label, .caption = Own("STEP")},
    TextBox({.id = G::kStep, .caption = Own("STEP"), .captionId = 1022, .write = {.format = "%%GRAYSTEP%s\r", .order = 2}, .dump = kDump}),
    {.id = 1023, .kind = K::Label, .caption = Own("DETT")},
    TextBox({.id = G::kDetect, .caption = Own("DETT"), .captionId = 1023, .write = {.format = "%%GRAYDETT%s\r", .order = 7}, .dump = kDump}),
    {.id = 1024, .kind = K::Label, .caption = Own("ADJ")},
    TextBox({.id = G::kAdjust, .caption = Own("ADJ"), .captionId = 1024, .write = {.format = "%%GRAYOFFSET%s\r", .order = 3}, .dump = kDump}),
    {.id = 1025, .kind = K::Label, .caption = Own("BITS")},
    TextBox({.id = G::kBits, .caption = Own("BITS"), .captionId = 1025, .write = {.format = "%%GRAYBITS%s\r", .order = 4}, .dump = kDump}),
    {.id = 1026, .kind = K::Label, .caption = Own("ACC")},
    TextBox({.id = G::kAccuracy, .caption = Own("ACC"), .captionId = 1026, .write = {.format = "%%GRAYACCS%s\r", .order = 5}, .dump = kDump}),
    {.id = 1027, .kind = K::Label, .caption = Own("VALUE")},
    Shown({.id = G::kValueV, .caption = Own("VALUE"), .captionId = 1027, .dump = kDump}),
    Shown({.id = G::kValueG, .caption = Own("VALUE"), .captionId = 1027, .dump = kDump}),
    Shown({.id = G::kValueB, .caption = Own("VALUE"), .captionId = 1027, .dump = kDump}),
    {.id = 1028, .kind = K::Label, .caption = Own("TIMER")},
    TextBox({.id = G::kTimer, .caption = Own("TIMER"), .captionId = 1028, .write = {.format = "%%GRAYTIMER%s\r", .order = 6}, .dump = kDump}),
    {.id = 1029, .kind = K::Label, .caption = Own("UPTHE")},
    Shown({.id = G::kSpanStart, .caption = Own("UPTHE"), .captionId = 1029, .dump = kDump}),
    Shown({.id = G::kSpanEnd, .caption = Own("UPTHE"), .captionId = 1029, .dump = kDump}),
    {.id = 1030, .kind = K::Label, .caption = Own("EVENTC")},
    TextBox({.id = G::kEventCount, .caption = Own("EVENTC"), .captionId = 1030, .write = {.order = 8, .compose = WriteEvent}, .dump = kDump}),
    {.id = 1031, .kind = K::Label, .caption = Own("EVENTM")},
    TextBox({.id = G::kEventMinutes, .caption = Own("EVENTM"), .captionId = 1031, .write = {.partOf = G::kEventCount}, .dump = kDump}),
    MakeButton(ctl::kSave, Shared("Buttons", "Ok")),
    MakeButton(ctl::kReload, {}, "Reload"),
}, kReports);
// clang-format on

}  // namespace

CPageGraycode::CPageGraycode(PageContext& context, const PageInfo& info)
    : CPageBase(context, info, PageDecl{.fields = kFields})
{}

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
