#include "pages/sensor/PageExTmpRcd.h"

#include "pages/framework/FieldBuilders.h"

namespace rtu {

namespace {

namespace t = temppage;

constexpr int kTimeWidth = 140;                     // column of the record time
constexpr int kStatusWidth = 30;                    // a sensor's status column
constexpr int kValueWidth = 100;                    // a sensor's value column
constexpr WriteDecl kViewOnly{.reportOnly = true};  // shown, never written to the unit

std::vector<FieldDecl> Fields()
{
    // clang-format off
    return {
        {.id = t::kTitle, .kind = K::Label, .caption = Own("TITLE")},
        {.id = t::kCounter, .kind = K::Value, .visible = false, .write = kViewOnly},
        {.id = t::kList, .kind = K::Custom, .write = kViewOnly, .columns = TempRecordColumns(),
         .custom = "TempRecordList"},
        {.id = t::kSensorBox, .kind = K::Combo, .write = kViewOnly,
         .items = {Fixed("T0"), Fixed("T1"), Fixed("T2"), Fixed("T3")}, .cleared = 0},
        MakeButton(t::kRedraw, {}, "Reload"),
        {.id = t::kAutoFit, .kind = K::Check, .caption = Own("AUTOFIT"), .write = kViewOnly},
        MakeButton(t::kOpenLog, {}, "Open log file"),
        MakeButton(t::kDeleteLog, {}, "Delete log file"),
        MakeButton(t::kResetList, {}, "Reset list"),
        {.id = t::kChart, .kind = K::Custom, .write = kViewOnly, .custom = "TempRecordChart"},
    };
    // clang-format on
}

}  // namespace

std::vector<ColumnDecl> TempRecordColumns()
{
    std::vector<ColumnDecl> columns{{.title = Own("LISTC0"), .width = kTimeWidth, .kind = ColumnKind::Label}};
    static const char* const kValueKeys[] = {"LISTC1", "LISTC2", "LISTC3", "LISTC4"};
    for (const char* key : kValueKeys) {
        columns.push_back({.title = {}, .width = kStatusWidth});
        columns.push_back({.title = Own(key), .width = kValueWidth});
    }
    return columns;
}

std::unique_ptr<CPageBase> CPageExTmpRcd::Make(PageContext& context, const PageInfo& info)
{
    return std::make_unique<CTempRecordPage>(
        context, info, CTempRecordPage::Shape{temprec::kRealTimeType, kRowLimit, kRecordLimit, true, Fields()});
}

}  // namespace rtu
