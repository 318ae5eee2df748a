// The unit's basic system parameters: console serial settings, GSM band and SMS mode,
// identity and description, SIM codes, message centre, signal alarm, reply options, SMS
// forwarding and balance check. It sees every line the unit sends and picks its reports.
#pragma once

#include <memory>

#include "pages/framework/PageBase.h"

namespace rtu {

// The page's controls and its declaration; the model is the generic page over them.
struct CPageMainParams {
    static constexpr int kBaud = 1016;     // edit, hidden
    static constexpr int kParity = 1017;   // drop-down, hidden; five items
    static constexpr int kGsmBand = 1271;  // drop-down, hidden; six items
    static constexpr int kSmsMode = 1272;  // drop-down, hidden; "0: PDU", "1: TEXT"
    static constexpr int kIdentity = 1019;
    static constexpr int kCountryCode = 1020;
    static constexpr int kDescription = 1090;  // several lines; travels as UCS-2 hex
    static constexpr int kDas = 1018;
    static constexpr int kTscs = 1021;
    static constexpr int kTssp = 1022;
    static constexpr int kServicePhone = 1023;
    static constexpr int kPin = 1024;
    static constexpr int kPuk = 1028;
    static constexpr int kSmsCentre = 1029;
    static constexpr int kSignalAlarm = 1025;
    static constexpr int kSignalLow = 1308;  // threshold edit with its spin button 1014
    static constexpr int kReplySuccess = 1026;
    static constexpr int kReplyError = 1027;
    static constexpr int kForwardSms = 1583;
    static constexpr int kForwardKey = 1585;   // hidden; travels as UCS-2 hex
    static constexpr int kForwardSpan = 1591;  // sent as a number
    static constexpr int kBalanceNumber = 1587;
    static constexpr int kBalanceCode = 1589;

    static constexpr int kSmsModeCleared = 1;  // SMS mode shown after a clear (text mode)
    static constexpr int kSignalLowMax = 36;   // spin range of the threshold: 0-36

    static PageDecl Decl();
    static std::unique_ptr<CPageBase> Make(PageContext& context, const PageInfo& info);
};

}  // namespace rtu
