#include "pages/sensor/PageHumidity.h"

#include "link/RoutingTable.h"
#include "pages/framework/FieldBuilders.h"
#include "pages/sensor/PageTemp.h"

namespace rtu {

namespace {

namespace c = climate;
using K = FieldKind;
using D = Decode;

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

FieldDecl Edit(int id, const char* caption, int labelId, const char* format, int order)
{
    return {.id = id,
            .kind = K::Text,
            .caption = Own(caption),
            .captionId = labelId,
            .write = {.format = format, .order = order},
            .dump = kDump};
}

FieldDecl Box(int id, const char* caption, const char* format, int order)
{
    return {.id = id,
            .kind = K::Check,
            .caption = Own(caption),
            .write = {.format = format, .order = order},
            .dump = kDump};
}

std::vector<FieldDecl> Fields()
{
    std::vector<FieldDecl> f = c::ClimateLabels();
    // clang-format off
    const std::vector<FieldDecl> inputs = {
        Edit(c::kAdjust, "Adjust", 1023, "%%HUMB%s\r", 1),
        Edit(c::kHigh, "HIGH", 1021, "%%HUMH%s\r", 2),
        Edit(c::kLow, "LOW", 1022, "%%HUML%s\r", 3),
        {.id = c::kCurrent, .kind = K::Value, .caption = Own("CUR"), .captionId = 1024, .readOnly = true,
         .report = {"*HUMIDITY", 10, D::Text}, .write = {.reportOnly = true}, .dump = kDump},
        Edit(c::kInterval, "TMPAS", 1025, "%%HUMAS%s\r", 4),
        Edit(c::kRepeat, "TMPLS", 1026, "%%HUMRS%s\r", 5),
        Edit(c::kConfirm, "TMPDLY", 1027, "%%HUMDLY%s\r", 6),
        Edit(c::kHysteresis, "TMPLAG", 1028, "%%HUMOS%s\r", 7),
        Box(c::kEnable, "CHECK_EN", "%%HUMEN%d\r", 8),
        Box(c::kSound, "CHECK_SND", "%%HUMSND%d\r", 9),
        Box(c::kUrgent, "URGENT", "%%HUMURG%d\r", 10),
        Edit(c::kUpload, "TMPUPS", 1029, "%%HUMUPS%s\r", 11),
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
