#include "pages/sensor/PageTemp.h"

#include "link/RoutingTable.h"
#include "pages/framework/FieldBuilders.h"
#include "pages/framework/Printf.h"

namespace rtu {

namespace {

namespace c = climate;
using K = FieldKind;
using D = Decode;

constexpr const char* kDump = "%DUMP_TMP\r%DUMPR\r";
constexpr char kHighMark = 'H';
constexpr char kLowMark = 'L';

void TakeOutput(CPageBase& page, const RouteHit& hit) { c::TakeOutputLink(page, hit.text); }

// "%TMPIH<n>" / "%TMPIL<n>" only for an output; "Nc" and no selection send nothing.
bool WriteOutHigh(const CPageBase& page, std::string& line)
{
    const int sel = page.ValueOf(c::kOutHigh).sel;
    if (sel < 0 || sel >= c::kOutputs) return false;
    line = Printf("%%TMPIH%d\r", sel);
    return true;
}
bool WriteOutLow(const CPageBase& page, std::string& line)
{
    const int sel = page.ValueOf(c::kOutLow).sel;
    if (sel < 0 || sel >= c::kOutputs) return false;
    line = Printf("%%TMPIL%d\r", sel);
    return true;
}
// "%TMPON" or "%TMPOFF".
bool WriteEnable(const CPageBase& page, std::string& line)
{
    line = page.CheckOf(c::kEnable) ? "%TMPON\r" : "%TMPOFF\r";
    return true;
}

// Sets both limits to 0 on the unit, then reloads.
void ClearLimits(CPageBase& page)
{
    for (const char* line : {"%STARTCMD\r", "%TMPH0\r", "%TMPL0\r", "%COMMITCMD\r"})
        page.EmitCommand(false, line, nullptr);
    page.ReloadGroup();
}

FieldDecl Edit(int id, const char* caption, int labelId, ReportDecl report, const char* format, int order)
{
    return {.id = id,
            .kind = K::Text,
            .caption = Own(caption),
            .captionId = labelId,
            .report = report,
            .write = {.format = format, .order = order},
            .dump = kDump};
}

FieldDecl Box(int id, const char* caption, const char* key, WriteDecl write)
{
    return {.id = id,
            .kind = K::Check,
            .caption = Own(caption),
            .report = {key, 0, D::Switch},
            .write = write,
            .dump = kDump};
}

std::vector<FieldDecl> Fields()
{
    std::vector<FieldDecl> f = c::ClimateLabels();
    // clang-format off
    const std::vector<FieldDecl> inputs = {
        Edit(c::kHigh, "HIGH", 1021, {"$TMPH", 6, D::Text}, "%%TMPH%s\r", 1),
        Edit(c::kLow, "LOW", 1022, {"$TMPL", 6, D::Text}, "%%TMPL%s\r", 2),
        Edit(c::kAdjust, "Adjust", 1023, {"$TMPB", 6, D::Text}, "%%TMPB%s\r", 3),
        {.id = c::kCurrent, .kind = K::Value, .caption = Own("CUR"), .captionId = 1024, .readOnly = true,
         .report = {"*TMPC", 6, D::Text}, .write = {.reportOnly = true}, .dump = kDump},
        Box(c::kEnable, "CHECK_EN", "*TMP100_EN", {.order = 4, .compose = WriteEnable}),
        Box(c::kSms, "CHECK_SMS", "$TMPSMS", {.format = "%%TMPSMS%d\r", .order = 5}),
        Box(c::kSound, "CHECK_SND", "$TMPSND", {.format = "%%TMPSND%d\r", .order = 6}),
        Edit(c::kInterval, "TMPAS", 1025, {"$TMPAS", 7, D::Text}, "%%TMPAS%s\r", 7),
        Edit(c::kRepeat, "TMPLS", 1026, {"$TMPRS", 7, D::Text}, "%%TMPRS%s\r", 8),
        Edit(c::kConfirm, "TMPDLY", 1027, {"$TMPDLY", 8, D::Text}, "%%TMPDLY%s\r", 9),
        Box(c::kUrgent, "URGENT", "$TMPURG", {.format = "%%TMPURG%d\r", .order = 10}),
        Edit(c::kHysteresis, "TMPLAG", 1028, {"$TMPOS", 7, D::Text}, "%%TMPOS%s\r", 11),
        Edit(c::kUpload, "TMPUPS", 1029, {"$TMPUPS", 8, D::Text}, "%%TMPUPS%s\r", 12),
        {.id = c::kOutHigh, .kind = K::Combo, .caption = Own("TMPHOC"), .captionId = 1030,
         .write = {.order = 13, .compose = WriteOutHigh}, .dump = kDump, .items = c::OutputItems()},
        {.id = c::kOutLow, .kind = K::Combo, .caption = Own("TMPLOC"), .captionId = 1031,
         .write = {.order = 14, .compose = WriteOutLow}, .dump = kDump, .items = c::OutputItems()},
        MakeButton(ctl::kSave, Shared("Buttons", "Save")),
        {.id = c::kClear, .kind = K::Button, .caption = Shared("Buttons", "Reset"), .onClick = ClearLimits},
        MakeButton(ctl::kReload, {}, "Reload"),
    };
    // clang-format on
    f.insert(f.end(), inputs.begin(), inputs.end());
    return f;
}

const std::vector<FieldDecl> kFields = Fields();
const HandlerDecl kHandlers[] = {{.number = 1, .keys = {"$TMPIH", "$TMPIL"}, .fn = TakeOutput}};

}  // namespace

std::vector<TextRef> climate::OutputItems()
{
    std::vector<TextRef> items;
    for (int i = 0; i < kOutputs; ++i) items.push_back({"", "", Printf("Output %d", i)});
    items.push_back(Fixed("Nc"));
    return items;
}

void climate::TakeOutputLink(CPageBase& page, std::string_view text)
{
    if (text.size() < 2 || (text[0] != kHighMark && text[0] != kLowMark)) return;
    const std::string_view number = text.substr(1);
    if (number.find_first_of("0123456789") == std::string_view::npos) return;  // no number: nothing to select
    const int n = LeadingNumber(number);
    const int item = n < 0 ? -1 : n >= kOutputs ? kNotConnected : n;
    page.SetSel(text[0] == kHighMark ? kOutHigh : kOutLow, item);
}

std::vector<FieldDecl> climate::ClimateLabels()
{
    std::vector<FieldDecl> f{{.id = ctl::kFrame, .kind = K::Label, .caption = Own("TITLE")}};
    const Caption labels[] = {{1021, "HIGH"},   {1022, "LOW"},    {1023, "Adjust"}, {1024, "CUR"},
                              {1025, "TMPAS"},  {1026, "TMPLS"},  {1027, "TMPDLY"}, {1028, "TMPLAG"},
                              {1029, "TMPUPS"}, {1030, "TMPHOC"}, {1031, "TMPLOC"}};
    for (const Caption& l : labels) f.push_back({.id = l.labelId, .kind = K::Label, .caption = Own(l.key)});
    for (int i = 0; i < kUnitLabels; ++i)
        f.push_back({.id = kUnitLabel0 + i, .kind = K::Label, .caption = Own("UNIT")});
    return f;
}

CPageTemp::CPageTemp(PageContext& context, const PageInfo& info)
    : CPageBase(context, info, PageDecl{.fields = kFields, .handlers = kHandlers})
{}

std::unique_ptr<CPageBase> CPageTemp::Make(PageContext& context, const PageInfo& info)
{
    return std::make_unique<CPageTemp>(context, info);
}

void CPageTemp::ClearFields()
{
    std::string reading = TextOf(climate::kCurrent);
    CPageBase::ClearFields();
    SetText(climate::kCurrent, std::move(reading));
}

}  // namespace rtu
