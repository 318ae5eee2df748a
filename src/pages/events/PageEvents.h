// The event list: every alarm and restore event the unit reports while the tool is connected,
// in arrival order. Only its Reset button empties it.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "pages/events/EventLog.h"
#include "pages/framework/PageBase.h"

namespace rtu {

class CPageEvents : public CPageBase {
public:
    static constexpr int kList = ctl::kList;  // the report list (six columns)
    static constexpr int kReset = 1029;       // button: empty the list
    static constexpr const char* kListWidget = "EventList";
    static constexpr int kColumnWidths[kEventColumns] = {120, 60, 120, 120, 120, 120};

    CPageEvents(PageContext& context, const PageInfo& info);

    const CEventLog& Log() const { return log_; }
    // Adds the event of one line (the listeners hear kList).
    void Add(std::string_view line);
    // Empties the list (the listeners hear kList).
    void Reset();
    // The column titles, from the catalog.
    std::vector<std::string> ColumnTitles() const;
    std::string Csv() const { return log_.Csv(ColumnTitles()); }

    // The local time an event is stamped with; tests set their own.
    std::function<std::string()> timeOfDay = LocalTimeOfDay;

    void OnRoute(const RouteHit& hit) override;
    // The list holds no unit settings: a reload or a clear leaves it.
    void ClearFields() override {}
    std::vector<std::pair<std::string, std::string>> ExtraValues() const override;

private:
    CEventLog log_;
};

}  // namespace rtu
