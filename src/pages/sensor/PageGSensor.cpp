#include "pages/sensor/PageGSensor.h"

#include "pages/framework/FieldBuilders.h"
#include "pages/framework/Printf.h"

namespace rtu {

namespace {

using G = CPageGSensor;

constexpr const char* kDump = "%DUMP_GSENSOR\r";

std::string_view From(std::string_view line, std::size_t at) { return at < line.size() ? line.substr(at) : ""; }

// The motion sensor's reports, by the key each line holds.
void TakeGSensor(CPageBase& page, const RouteHit& hit)
{
    const std::string_view line = hit.line;
    const char c = G::kCharAt < line.size() ? line[G::kCharAt] : '\0';
    auto box = [&](int id) {
        if (c == '0' || c == '1') page.SetCheck(id, c == '1');
    };
    if (line.find("$GSENSORVPC") != std::string_view::npos) box(G::kVideoCall);
    else if (line.find("$GSENSORVCR") != std::string_view::npos) box(G::kRecord);
    else if (line.find("$GSENSORVCH") != std::string_view::npos)
        page.SetSel(G::kChannel, c == '1' ? 0 : c == '2' ? 1 : -1);
    else if (line.find("$GSENSORMIN") != std::string_view::npos)
        page.SetText(G::kMinutes, std::string(From(line, G::kCharAt)));
    else if (line.find("$GSENSORSTEP") != std::string_view::npos)
        page.SetText(G::kStep, std::string(From(line, G::kStepAt)));
}

// The channel goes as its number (1 or 2); 0 when none is chosen.
bool WriteChannel(const CPageBase& page, std::string& line)
{
    const int sel = page.ValueOf(G::kChannel).sel;
    line = Printf("%%GSENSORVCH%d\r", sel >= 0 && sel < 2 ? sel + 1 : 0);
    return true;
}

// clang-format off
const std::vector<FieldDecl> kFields = {
    {.id = G::kVideoCall, .kind = K::Check, .caption = Own("VPC"), .write = {.format = "%%GSENSORVPC%d\r", .order = 2}, .dump = kDump},
    {.id = G::kRecord, .kind = K::Check, .caption = Own("VCR"), .write = {.format = "%%GSENSORDVR%d\r", .order = 3}, .dump = kDump},
    {.id = 1011, .kind = K::Label, .caption = Own("VCH")},
    {.id = G::kChannel, .kind = K::Combo, .caption = Own("VCH"), .captionId = 1011,
     .write = {.order = 1, .compose = WriteChannel}, .dump = kDump,
     .items = {Fixed("Video Channel 1"), Fixed("Video Channel 2")}},
    {.id = 1012, .kind = K::Label, .caption = Own("MIN")},
    {.id = G::kMinutes, .kind = K::Text, .caption = Own("MIN"), .captionId = 1012,
     .write = {.format = "%%GSENSORMIN%s\r", .order = 4}, .dump = kDump},
    {.id = 1013, .kind = K::Label, .caption = Own("STEP")},
    {.id = G::kStep, .kind = K::Text, .caption = Own("STEP"), .captionId = 1013,
     .write = {.format = "%%GSENSORSTEP%s\r", .order = 5}, .dump = kDump},
    MakeButton(ctl::kSave, Shared("Buttons", "Ok")),
    MakeButton(ctl::kReload, {}, "Reload"),
};
// clang-format on

const HandlerDecl kHandlers[] = {{.number = 1, .keys = {"$GSENSORVPC", "$GSENSORVCR", "$GSENSORVCH", "$GSENSORMIN", "$GSENSORSTEP"}, .fn = TakeGSensor}};

}  // namespace

std::unique_ptr<CPageBase> CPageGSensor::Make(PageContext& context, const PageInfo& info)
{
    return std::make_unique<CPageBase>(context, info, PageDecl{.fields = kFields, .handlers = kHandlers});
}

}  // namespace rtu
