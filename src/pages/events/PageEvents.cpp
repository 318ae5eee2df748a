#include "pages/events/PageEvents.h"

#include "pages/framework/FieldBuilders.h"

namespace rtu {
namespace {

using P = CPageEvents;

void ResetList(CPageBase& page) { static_cast<CPageEvents&>(page).Reset(); }

std::vector<ColumnDecl> Columns()
{
    static const char* const kKeys[kEventColumns] = {"LISTC0", "LISTC1", "LISTC2", "LISTC3", "LISTC4", "LISTC5"};
    std::vector<ColumnDecl> columns;
    for (int c = 0; c < kEventColumns; ++c)
        columns.push_back({.title = Own(kKeys[c]), .width = P::kColumnWidths[c], .deviceValue = false});
    return columns;
}

// clang-format off
const std::vector<FieldDecl> kFields = {
    {.id = P::kList, .kind = K::Custom, .write = {.reportOnly = true}, .columns = Columns(), .custom = P::kListWidget},
    ActionButton(P::kReset, Shared("Buttons", "Reset"), ResetList),
};
// clang-format on

}  // namespace

CPageEvents::CPageEvents(PageContext& context, const PageInfo& info) : CPageBase(context, info, {.fields = kFields}) {}

void CPageEvents::Add(std::string_view line)
{
    log_.Append(ParseEventLine(line, timeOfDay ? timeOfDay() : std::string()));
    NotifyChanged(kList);
}

void CPageEvents::Reset()
{
    log_.Clear();
    NotifyChanged(kList);
}

void CPageEvents::OnRoute(const RouteHit& hit)
{
    if (IsEventLine(hit.line)) Add(hit.line);
}

std::vector<std::string> CPageEvents::ColumnTitles() const
{
    std::vector<std::string> titles;
    for (const ColumnDecl& c : FindField(kList)->columns) titles.push_back(Resolve(c.title));
    return titles;
}

std::vector<std::pair<std::string, std::string>> CPageEvents::ExtraValues() const
{
    return {{"events", std::to_string(log_.Size())}};
}

}  // namespace rtu
