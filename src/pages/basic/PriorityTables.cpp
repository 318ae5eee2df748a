// The alarm priority grids: one row each. Rows are the ten control phones; columns the
// page's alarm sources; each row goes to the unit as its masks in the page's row command.
#include <vector>

#include "pages/basic/PriorityGrid.h"
#include "pages/framework/CommandFormat.h"
#include "pages/framework/FieldBuilders.h"

namespace rtu {
namespace {

constexpr int kInputs = 4;            // digital or analog inputs, one column each
constexpr int kEvents = 16;           // system events, one column each
constexpr int kZones = 12;            // wireless zones, one column each
constexpr int kEventWidth = 60;       // width of a system event column
constexpr int kDinTitleFrame = 1309;  // frames and labels carrying the page titles
constexpr int kAinTitleFrame = 1310;
constexpr int kWinTitleLabel = 1268;
constexpr int kResetWide = 1029;  // Reset buttons (no action in the unit; they mark every cell "X")
constexpr int kResetNarrow = 1038;
constexpr std::size_t kShortMask = 4;  // the analog table's reports carry four mask digits at most

// clang-format off
const PriorityGridShape kGrids[] = {
    {.page = PageId::Priotab, .rowCommand = "%%DINPRIO=%d,%4.4x,%4.4x\r", .maskArgs = {0, 1},
     .tables = {ctl::kList, prio::kRingList}, .reportKeys = {"$PRIODINSMS#", "$PRIODINRING#"}, .sources = kInputs, .firstColumn = Own("LIST0C0"),
     .title = CaptionLabel({.id = kDinTitleFrame, .caption = Own("Title")}), .saveId = ctl::kSave1,
     .resetId = kResetWide},
    // The unit keeps an SMS and a ring mask per row; analog alarms use the same mask for both.
    {.page = PageId::Ainprio, .rowCommand = "%%AINPRIO=%d,%4.4x,%4.4x\r", .maskArgs = {0, 0},
     .tables = {ctl::kList}, .reportKeys = {"$PRIOAINSMS#"}, .sources = kInputs, .firstColumn = Fixed("No."), .maxMaskChars = kShortMask,
     .title = CaptionLabel({.id = kAinTitleFrame, .caption = Shared("TABS", "PAGE_AINPRIO")}), .saveId = ctl::kSave,
     .resetId = kResetNarrow, .hasReload = false},
    {.page = PageId::SysPrio, .rowCommand = "%%BASEPRIO=%d,%4.4x\r", .maskArgs = {0}, .tables = {ctl::kList},
     .reportKeys = {"$PRIOSYS#"}, .sources = kEvents, .sourceWidth = kEventWidth, .sourceTitlePrefix = "LISTC", .firstColumn = Own("LISTC0"),
     .saveId = ctl::kSave, .saveCaption = Shared("Buttons", "SAVE"), .resetId = kResetNarrow,
     .resetCaption = Shared("Buttons", "RESET")},
    {.page = PageId::WinPrio, .rowCommand = "%%WINPRIO=%d,%4.4x,%4.4x\r", .maskArgs = {0, 1},
     .tables = {ctl::kList, prio::kRingList}, .reportKeys = {"$PRIOWINSMS#", "$PRIOWINRING#"}, .sources = kZones, .firstColumn = Own("LIST0C0"),
     .lastColumn = Own("LIST0C1"), .title = CaptionLabel({.id = kWinTitleLabel, .caption = Own("Title")}),
     .saveId = ctl::kSave1, .resetId = kResetWide},
};
// clang-format on

}  // namespace

std::span<const PriorityGridShape> PriorityTables() { return kGrids; }

std::unique_ptr<CPageBase> MakePriorityTable(PageContext& context, const PageInfo& info)
{
    return MakeFamilyPage<CPriorityGridPage, PriorityGridShape>(kGrids, context, info);
}

std::string CPriorityGridPage::RowCommand(int row, const Masks& masks) const
{
    std::vector<CommandArg> args{static_cast<long long>(row)};
    for (int table : shape_.maskArgs) args.emplace_back(static_cast<long long>(masks[static_cast<std::size_t>(table)]));
    return FormatCommand(shape_.rowCommand, args).value_or(std::string{});
}

}  // namespace rtu
