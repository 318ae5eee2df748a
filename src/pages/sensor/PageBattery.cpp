#include "pages/sensor/PageBattery.h"

#include "pages/framework/FieldBuilders.h"

namespace rtu {

namespace {

using A = CPageBattery;

// clang-format off
const std::vector<FieldDecl> kBatteryFields = {
    {.id = ctl::kFrame, .kind = K::Label, .caption = Own("TITLE")},
    CaptionLabel({.id = A::kDelayLabel, .caption = Own("POWDLY")}),
    TextBox({.id = A::kDelay, .caption = Own("POWDLY"), .captionId = A::kDelayLabel, .report = {"$POWDLY", 8, D::Text}, .write = {.format = "%%POWDLY%s\r", .order = 1}, .dump = dump::kGpio}),
    CheckBox({.id = A::kEnabled, .caption = Own("POWEN"), .report = {"$BATEN", 0, D::Switch}, .write = {.format = "%%BATEN%d\r", .order = 2}, .dump = dump::kGpio}),
    CaptionLabel({.id = A::kResendLabel, .caption = Own("POWLS")}),
    TextBox({.id = A::kResend, .caption = Own("POWLS"), .captionId = A::kResendLabel, .report = {"$POWLS", 7, D::Text}, .write = {.format = "%%POWLS%s\r", .order = 3}, .dump = dump::kGpio}),
    MakeButton(ctl::kSave, Shared("Buttons", "Save")),
};
// clang-format on

}  // namespace

std::unique_ptr<CPageBase> CPageBattery::Make(PageContext& context, const PageInfo& info)
{
    return std::make_unique<CPageBase>(context, info, PageDecl{.fields = kBatteryFields});
}

}  // namespace rtu
