// The temperature log sync page: the unit's stored records on request, exported as CSV.
#pragma once

#include <memory>

#include "pages/sensor/TempRecordPage.h"

namespace rtu {

struct CPageExtTmpLog {
    // A sync keeps every record it receives, up to this many rows (a bound on memory far
    // beyond what a unit stores); the list is never emptied by a limit.
    static constexpr std::size_t kRowLimit = 1000000;
    static constexpr int kRecordLimit = static_cast<int>(kRowLimit);
    static std::unique_ptr<CPageBase> Make(PageContext& context, const PageInfo& info);
};

}  // namespace rtu
