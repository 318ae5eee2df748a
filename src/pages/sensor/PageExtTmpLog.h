// The temperature log sync page: the unit's stored records on request, exported as CSV.
#pragma once

#include <memory>

#include "pages/sensor/TempRecordPage.h"

namespace rtu {

struct CPageExtTmpLog {
    static constexpr std::size_t kRowLimit = 2000;  // rows before the list is emptied
    static constexpr int kRecordLimit = 2000;       // records before the list is emptied
    static std::unique_ptr<CPageBase> Make(PageContext& context, const PageInfo& info);
};

}  // namespace rtu
