// The internal humidity sensor's alarm: the same settings as the internal temperature.
#pragma once

#include <memory>
#include <string_view>

#include "pages/framework/PageBase.h"

namespace rtu {

struct CPageHumidity {
    static std::unique_ptr<CPageBase> Make(PageContext& context, const PageInfo& info);
    // "$HUM<code> <value>" (the text after "$HUM"): the box the code names.
    static void TakeReport(CPageBase& page, std::string_view line);
};

}  // namespace rtu
