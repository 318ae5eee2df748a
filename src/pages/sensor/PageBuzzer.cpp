#include "pages/sensor/PageBuzzer.h"

#include "pages/framework/FieldBuilders.h"

namespace rtu {

namespace {

using B = CPageBuzzer;
using K = FieldKind;
using D = Decode;

constexpr const char* kSys = "%DUMP_SYS\r";

// "$IBUZ 1" / "$IBUZ 0" set the box; "$BUZZERT <seconds>" the duration.
void TakeBuzzer(CPageBase& page, const RouteHit& hit)
{
    const std::string_view line = hit.line;
    if (line.find("$IBUZ 1") != std::string_view::npos) page.SetCheck(B::kEnabled, 1);
    else if (line.find("$IBUZ 0") != std::string_view::npos) page.SetCheck(B::kEnabled, 0);
    else if (line.find("$BUZZERT ") != std::string_view::npos)
        page.SetText(B::kDuration, std::string(line.size() > B::kDurationAt ? line.substr(B::kDurationAt) : ""));
}

// clang-format off
const std::vector<FieldDecl> kBuzzerFields = {
    {.id = ctl::kFrame, .kind = K::Label, .caption = Own("Title")},
    {.id = B::kDurationLabel, .kind = K::Label, .caption = Own("BUZT")},
    {.id = B::kDuration, .kind = K::Text, .caption = Own("BUZT"), .captionId = B::kDurationLabel,
     .write = {.format = "%%BUZT%s\r", .order = 2}, .dump = kSys},
    {.id = B::kEnabled, .kind = K::Check, .caption = Own("SOUND_EN"), .write = {.format = "%%BUZEN%d\r", .order = 1},
     .dump = kSys},
    MakeButton(ctl::kSave, Shared("Buttons", "Apply")),
};

// clang-format on

const HandlerDecl kBuzzerHandlers[] = {{.number = 1, .keys = {"$IBUZ", "$BUZZERT"}, .fn = TakeBuzzer}};

}  // namespace

std::unique_ptr<CPageBase> CPageBuzzer::Make(PageContext& context, const PageInfo& info)
{
    return std::make_unique<CPageBase>(context, info, PageDecl{.fields = kBuzzerFields, .handlers = kBuzzerHandlers});
}

}  // namespace rtu
