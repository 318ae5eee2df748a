#include "pages/sensor/PageHumidity.h"

#include "link/RoutingTable.h"
#include "pages/framework/FieldBuilders.h"
#include "pages/sensor/PageTemp.h"

namespace rtu {

namespace {

namespace c = climate;

constexpr const char* kDump = "%DUMP_HUM\r";
constexpr std::size_t kCodeAt = 4;  // "$HUM" line: the field code
constexpr std::string_view kOutputKey = "$HUMI";

// The "$HUM" codes, longest first, with where their value stands in the line.
struct HumCode {
    const char* code;
    int id;
    std::size_t at;  // the value's offset in the line
    bool flag;       // a box: '1' checks it, '0' clears it
};
constexpr HumCode kCodes[] = {
    {"DLY", c::kConfirm, 8, false},   {"UPS", c::kUpload, 8, false},  {"URG", c::kUrgent, 8, true},
    {"SND", c::kSound, 8, true},      {"AS", c::kInterval, 7, false}, {"RS", c::kRepeat, 7, false},
    {"OS", c::kHysteresis, 7, false}, {"EN", c::kEnable, 7, true},    {"H", c::kHigh, 6, false},
    {"L", c::kLow, 6, false},         {"B", c::kAdjust, 6, false},    {"C", c::kCurrent, 6, false},
};

// "$HUMI" (text from offset 5) links an output; any other "$HUM" line names a box.
void TakeHum(CPageBase& page, const RouteHit& hit)
{
    if (std::string_view(hit.target.key ? hit.target.key : "") == kOutputKey) c::TakeOutputLink(page, hit.text);
    else CPageHumidity::TakeReport(page, hit.line);
}

std::vector<FieldDecl> Fields()
{
    std::vector<FieldDecl> f = c::ClimateLabels();
    // clang-format off
    const std::vector<FieldDecl> inputs = {
        TextBox({.id = c::kAdjust, .caption = Own("Adjust"), .captionId = 1023, .write = {.format = "%%HUMB%s\r", .order = 1}, .dump = kDump}),
        TextBox({.id = c::kHigh, .caption = Own("HIGH"), .captionId = 1021, .write = {.format = "%%HUMH%s\r", .order = 2}, .dump = kDump}),
        TextBox({.id = c::kLow, .caption = Own("LOW"), .captionId = 1022, .write = {.format = "%%HUML%s\r", .order = 3}, .dump = kDump}),
        {.id = c::kCurrent, .kind = K::Value, .caption = Own("CUR"), .captionId = 1024, .readOnly = true,
         .report = {"*HUMIDITY", 10, D::Text}, .write = {.reportOnly = true}, .dump = kDump},
        TextBox({.id = c::kInterval, .caption = Own("TMPAS"), .captionId = 1025, .write = {.format = "%%HUMAS%s\r", .order = 4}, .dump = kDump}),
        TextBox({.id = c::kRepeat, .caption = Own("TMPLS"), .captionId = 1026, .write = {.format = "%%HUMRS%s\r", .order = 5}, .dump = kDump}),
        TextBox({.id = c::kConfirm, .caption = Own("TMPDLY"), .captionId = 1027, .write = {.format = "%%HUMDLY%s\r", .order = 6}, .dump = kDump}),
        TextBox({.id = c::kHysteresis, .caption = Own("TMPLAG"), .captionId = 1028, .write = {.format = "%%HUMOS%s\r", .order = 7}, .dump = kDump}),
        CheckBox({.id = c::kEnable, .caption = Own("CHECK_EN"), .write = {.format = "%%HUMEN%d\r", .order = 8}, .dump = kDump}),
        CheckBox({.id = c::kSound, .caption = Own("CHECK_SND"), .write = {.format = "%%HUMSND%d\r", .order = 9}, .dump = kDump}),
        CheckBox({.id = c::kUrgent, .caption = Own("URGENT"), .write = {.format = "%%HUMURG%d\r", .order = 10}, .dump = kDump}),
        TextBox({.id = c::kUpload, .caption = Own("TMPUPS"), .captionId = 1029, .write = {.format = "%%HUMUPS%s\r", .order = 11}, .dump = kDump}),
        {.id = c::kOutHigh, .kind = K::Combo, .caption = Own("TMPHOC"), .captionId = 1030,
         .write = {.format = "%%HUMIH%d\r", .order = 12}, .dump = kDump, .items = c::OutputItems()},
        {.id = c::kOutLow, .kind = K::Combo, .caption = Own("TMPLOC"), .captionId = 1031,
         .write = {.format = "%%HUMIL%d\r", .order = 13}, .dump = kDump, .items = c::OutputItems()},
        MakeButton(ctl::kSave, Shared("Buttons", "Save")),
        MakeButton(ctl::kReload, {}, "Reload"),
    };
    // clang-format on
    f.insert(f.end(), inputs.begin(), inputs.end());
    return f;
}

const std::vector<FieldDecl> kFields = Fields();
// Both "$HUMI" and "$HUM" reach the one handler.
const HandlerDecl kHandlers[] = {{.number = 1, .keys = {"$HUMI", "$HUMDLY", "$HUMUPS", "$HUMURG", "$HUMSND", "$HUMAS", "$HUMRS", "$HUMOS", "$HUMEN", "$HUMH", "$HUML", "$HUMB", "$HUMC"}, .fn = TakeHum}};

}  // namespace

void CPageHumidity::TakeReport(CPageBase& page, std::string_view line)
{
    if (line.size() <= kCodeAt) return;
    const std::string_view text = line.substr(kCodeAt);
    for (const HumCode& code : kCodes) {
        if (!text.starts_with(code.code)) continue;
        const std::string_view value = line.size() > code.at ? line.substr(code.at) : std::string_view{};
        if (!code.flag) page.SetText(code.id, std::string(value));
        else if (!value.empty() && (value[0] == '0' || value[0] == '1')) page.SetCheck(code.id, value[0] == '1');
        return;
    }
}

std::unique_ptr<CPageBase> CPageHumidity::Make(PageContext& context, const PageInfo& info)
{
    return std::make_unique<CPageBase>(context, info, PageDecl{.fields = kFields, .handlers = kHandlers});
}

}  // namespace rtu
