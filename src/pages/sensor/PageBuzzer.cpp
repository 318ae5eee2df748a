#include "pages/sensor/PageBuzzer.h"

#include "pages/framework/FieldBuilders.h"

namespace rtu {

namespace {

using B = CPageBuzzer;

// "$IBUZ 1" / "$IBUZ 0" set the box, else "$BUZZERT <seconds>" the duration; the box is saved first.
// clang-format off
const std::vector<FieldDecl> kBuzzerFields = {
    {.id = ctl::kFrame, .kind = K::Label, .caption = Own("Title")},
    CaptionLabel({.id = B::kDurationLabel, .caption = Own("BUZT")}),
    TextBox({.id = B::kDuration, .caption = Own("BUZT"), .captionId = B::kDurationLabel, .report = {"$BUZZERT ", B::kDurationAt, D::Text, 2}, .write = {.format = "%%BUZT%s\r", .order = 2}, .dump = dump::kSys}),
    CheckBox({.id = B::kEnabled, .caption = Own("SOUND_EN"), .report = {"$IBUZ", 0, D::Switch, 1}, .write = {.format = "%%BUZEN%d\r", .order = 1}, .dump = dump::kSys}),
    MakeButton(ctl::kSave, Shared("Buttons", "Apply")),
};
// clang-format on

}  // namespace

std::unique_ptr<CPageBase> CPageBuzzer::Make(PageContext& context, const PageInfo& info)
{
    return std::make_unique<CPageBase>(context, info, PageDecl{.fields = kBuzzerFields});
}

}  // namespace rtu
