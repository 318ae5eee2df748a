#include "pages/sensor/PageTemp.h"

#include "link/RoutingTable.h"
#include "pages/framework/FieldBuilders.h"
#include "pages/framework/Printf.h"

namespace rtu {

namespace {

namespace c = climate;

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

std::vector<FieldDecl> Fields()
{
    std::vector<FieldDecl> f = c::ClimateLabels();
    // clang-format off
    const std::vector<FieldDecl> inputs = {
        TextBox({.id = c::kHigh, .caption = Own("HIGH"), .captionId = 1021, .report = {"$TMPH", 6, D::Text}, .write = {.format = "%%TMPH%s\r", .order = 1}, .dump = kDump}),
        TextBox({.id = c::kLow, .caption = Own("LOW"), .captionId = 1022, .report = {"$TMPL", 6, D::Text}, .write = {.format = "%%TMPL%s\r", .order = 2}, .dump = kDump}),
        TextBox({.id = c::kAdjust, .caption = Own("Adjust"), .captionId = 1023, .report = {"$TMPB", 6, D::Text}, .write = {.format = "%%TMPB%s\r", .order = 3}, .dump = kDump}),
        {.id = c::kCurrent, .kind = K::Value, .caption = Own("CUR"), .captionId = 1024, .readOnly = true,
         .report = {"*TMPC", 6, D::Text}, .write = {.reportOnly = true}, .dump = kDump},
        CheckBox({.id = c::kEnable, .caption = Own("CHECK_EN"), .report = {"*TMP100_EN", 0, D::Switch}, .write = {.order = 4, .compose = WriteEnable}, .dump = kDump}),
        CheckBox({.id = c::kSms, .caption = Own("CHECK_SMS"), .report = {"$TMPSMS", 0, D::Switch}, .write = {.format = "%%TMPSMS%d\r", .order = 5}, .dump = kDump}),
        CheckBox({.id = c::kSound, .caption = Own("CHECK_SND"), .report = {"$TMPSND", 0, D::Switch}, .write = {.format = "%%TMPSND%d\r", .order = 6}, .dump = kDump}),
        TextBox({.id = c::kInterval, .caption = Own("TMPAS"), .captionId = 1025, .report = {"$TMPAS", 7, D::Text}, .write = {.format = "%%TMPAS%s\r", .order = 7}, .dump = kDump}),
        TextBox({.id = c::kRepeat, .caption = Own("TMPLS"), .captionId = 1026, .report = {"$TMPRS", 7, D::Text}, .write = {.format = "%%TMPRS%s\r", .order = 8}, .dump = kDump}),
        TextBox({.id = c::kConfirm, .caption = Own("TMPDLY"), .captionId = 1027, .report = {"$TMPDLY", 8, D::Text}, .write = {.format = "%%TMPDLY%s\r", .order = 9}, .dump = kDump}),
        CheckBox({.id = c::kUrgent, .caption = Own("URGENT"), .report = {"$TMPURG", 0, D::Switch}, .write = {.format = "%%TMPURG%d\r", .order = 10}, .dump = kDump}),
        TextBox({.id = c::kHysteresis, .caption = Own("TMPLAG"), .captionId = 1028, .report = {"$TMPOS", 7, D::Text}, .write = {.format = "%%TMPOS%s\r", .order = 11}, .dump = kDump}),
        TextBox({.id = c::kUpload, .caption = Own("TMPUPS"), .captionId = 1029, .report = {"$TMPUPS", 8, D::Text}, .write = {.format = "%%TMPUPS%s\r", .order = 12}, .dump = kDump}),
        {.id = c::kOutHigh, .kind = K::Combo, .caption = Own("TMPHOC"), .captionId = 1030,
         .write = {.order = 13, .compose = WriteOutHigh}, .dump = kDump, .items = c::OutputItems()},
        {.id = c::kOutLow, .kind = K::Combo, .caption = Own("TMPLOC"), .captionId = 1031,
         .write = {.order = 14, .compose = WriteOutLow}, .dump = kDump, .items = c::OutputItems()},
        MakeButton(ctl::kSave, Shared("Buttons", "Save")),
        {.id = c::kClear, .kind = K::Button, .caption = Shared("Buttons", "Reset"), .onClick = ClearLimits,
         .confirm = {"Confirm", "TEMP_RESET",
                     "Reset the temperature limits on the unit now? The high and low limit are set to 0 at once, "
                     "then the page is read again."}},
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
        f.push_back({.id = kUnitLabel0 + i, .kind = K::Label, .caption = Own("UNIT"), .visible = false});  // in the captions
    return f;
}

CPageTemp::CPageTemp(PageContext& context, const PageInfo& info)
    : CPageBase(context, info, PageDecl{.fields = kFields, .handlers = kHandlers})
{}

void CPageTemp::ClearFields()
{
    std::string reading = TextOf(climate::kCurrent);
    CPageBase::ClearFields();
    SetText(climate::kCurrent, std::move(reading));
}

}  // namespace rtu
