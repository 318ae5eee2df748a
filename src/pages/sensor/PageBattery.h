#pragma once

#include <memory>

#include "pages/framework/PageBase.h"

namespace rtu {

// The alarm on loss of external power (the unit runs on its built-in battery).
struct CPageBattery {
    static constexpr int kDelayLabel = 1001;
    static constexpr int kDelay = 1002;    // confirmation time, seconds
    static constexpr int kEnabled = 1003;  // the power-loss alarm
    static constexpr int kResendLabel = 1004;
    static constexpr int kResend = 1005;  // minutes between alarm messages
    static std::unique_ptr<CPageBase> Make(PageContext& context, const PageInfo& info);
};

}  // namespace rtu
