#include "pages/sensor/PageBuzzer.h"

#include "pages/framework/FieldBuilders.h"

namespace rtu {

// "$IBUZ 1" / "$IBUZ 0" set the box, else "$BUZZERT <seconds>" the duration; the box is saved first.
std::unique_ptr<CPageBase> CPageBuzzer::Make(PageContext& context, const PageInfo& info)
{
    // clang-format off
    static const std::vector<FieldDecl> fields = {
        {.id = ctl::kFrame, .kind = K::Label, .caption = Own("Title")},
        CaptionLabel({.id = kDurationLabel, .caption = Own("BUZT")}),
        TextBox({.id = kDuration, .caption = Own("BUZT"), .captionId = kDurationLabel, .report = {"$BUZZERT ", kDurationAt, D::Text, 2}, .write = {.format = "%%BUZT%s\r", .order = 2}, .dump = dump::kSys}),
        CheckBox({.id = kEnabled, .caption = Own("SOUND_EN"), .report = {"$IBUZ", 0, D::Switch, 1}, .write = {.format = "%%BUZEN%d\r", .order = 1}, .dump = dump::kSys}),
        MakeButton(ctl::kSave, Shared("Buttons", "Apply")),
    };
    // clang-format on
    return std::make_unique<CPageBase>(context, info, PageDecl{.fields = fields});
}

}  // namespace rtu
