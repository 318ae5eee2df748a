// The unit's basic system parameters: console serial settings, GSM band and SMS mode,
// identity and description, SIM codes, message centre, signal alarm, reply options, SMS
// forwarding and balance check. It sees every line the unit sends and picks its reports.
#pragma once

#include <memory>

#include "pages/framework/PageBase.h"

namespace rtu {

// The page's controls and its declaration; the model is the generic page over them.
struct CPageMainParams {
    // Hidden: the console baud rate (an edit), its parity (five items), the GSM band (six
    // items) and the SMS mode ("0: PDU", "1: TEXT").
    static constexpr int kBaud = 1016, kParity = 1017, kGsmBand = 1271, kSmsMode = 1272;
    static constexpr int kIdentity = 1019, kCountryCode = 1020;
    static constexpr int kDescription = 1090;  // several lines; travels as UCS-2 hex
    static constexpr int kDas = 1018, kTscs = 1021, kTssp = 1022, kServicePhone = 1023;
    static constexpr int kPin = 1024, kPuk = 1028, kSmsCentre = 1029;
    static constexpr int kSignalAlarm = 1025;
    static constexpr int kSignalLow = 1308;  // threshold edit with its spin button 1014
    static constexpr int kReplySuccess = 1026, kReplyError = 1027;
    // SMS forwarding: the key is hidden and travels as UCS-2 hex, the span is sent as a number.
    static constexpr int kForwardSms = 1583, kForwardKey = 1585, kForwardSpan = 1591;
    static constexpr int kBalanceNumber = 1587, kBalanceCode = 1589;

    static constexpr int kSmsModeCleared = 1;  // SMS mode shown after a clear (text mode)
    static constexpr int kSignalLowMax = 36;   // spin range of the threshold: 0-36

    static std::unique_ptr<CPageBase> Make(PageContext& context, const PageInfo& info);
};

}  // namespace rtu
