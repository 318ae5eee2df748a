// The buzzer and siren output on alarm: how long it sounds and whether it is used.
#pragma once

#include <memory>

#include "pages/framework/PageBase.h"

namespace rtu {

struct CPageBuzzer {
    static constexpr int kDurationLabel = 1001;
    static constexpr int kDuration = 1002;  // seconds the buzzer sounds
    static constexpr int kEnabled = 1003;   // buzzer and siren output on alarm
    static constexpr int kDurationAt = 9;   // "$BUZZERT " line: the duration
    static std::unique_ptr<CPageBase> Make(PageContext& context, const PageInfo& info);
};

}  // namespace rtu
