#include "pages/sensor/PageGraycode.h"

#include "pages/framework/FieldBuilders.h"
#include "pages/framework/Printf.h"

namespace rtu {

namespace {

using G = CPageGraycode;
using K = FieldKind;

constexpr const char* kDump = "%DUMP_GRAY\r";

// The gray-code reports in their test order: the first key found in a line decides.
struct GrayReport {
    const char* key;
    std::size_t at;  // the value's offset in the line
    int id;
};
constexpr GrayReport kReports[] = {
    {"$GRAYH", 7, G::kRangeHigh},          {"$GRAYL", 7, G::kRangeLow},
    {"$GRAYADJ", 9, G::kAdjust},           {"$GRAYTIMER", 11, G::kTimer},
    {"$GRAYACCS", 10, G::kAccuracy},       {"$GRAYBITS", 10, G::kBits},
    {"$GRAYSTEP", 10, G::kStep},           {"$GRAYDETT", 10, G::kDetect},
    {"$GRAYEVENTCNT", 14, G::kEventCount}, {"$GRAYEVENTMIN", 14, G::kEventMinutes},
    {"$GRAYVALUEV", 12, G::kValueV},       {"$GRAYVALUEG", 12, G::kValueG},
    {"$GRAYVALUEB", 12, G::kValueB},       {"$GRAYREPHS", 11, G::kSpanStart},
    {"$GRAYREPHE", 11, G::kSpanEnd},
};

void TakeGray(CPageBase& page, const RouteHit& hit)
{
    const std::string_view line = hit.line;
    for (const GrayReport& r : kReports) {
        if (line.find(r.key) == std::string_view::npos) continue;
        page.SetText(r.id, std::string(r.at < line.size() ? line.substr(r.at) : ""));
        return;
    }
}

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

// clang-format off
const std::vector<FieldDecl> kFields = {
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
};
// clang-format on

const HandlerDecl kHandlers[] = {{.number = 1, .key = "$GRAY", .fn = TakeGray}};

}  // namespace

CPageGraycode::CPageGraycode(PageContext& context, const PageInfo& info)
    : CPageBase(context, info, PageDecl{.fields = kFields, .handlers = kHandlers})
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
