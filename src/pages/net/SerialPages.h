// The second serial port and what the unit does with it: reading an electricity meter
// (IEC 62056) and the RS-485 port's baud rate and parity.
#pragma once

#include <memory>
#include <string_view>

#include "pages/framework/PageBase.h"

namespace rtu {

struct CPage62056 {
    static constexpr int kErrorReport = 1505;  // report to the server when no meter answers
    static constexpr int kUploadSpan = 1506;   // minutes, digits
    static constexpr int kHeartSpan = 1507;    // minutes

    static PageDecl Decl();
    static std::unique_ptr<CPageBase> Make(PageContext& context, const PageInfo& info);
    // The text after "$P62056": a code and, from position 6, a number.
    static void TakeReport(CPageBase& page, std::string_view text);
};

struct CPageComm2 {
    static constexpr int kBaud = 1016;
    static constexpr int kParity = 1017;  // none at start
    static constexpr int kWaitMs = 2000;

    static PageDecl Decl();
    static std::unique_ptr<CPageBase> Make(PageContext& context, const PageInfo& info);
};

}  // namespace rtu
