// The alarm messages of the analog inputs: message entries 8-15 in two groups of four,
// each message optionally followed by a unit, and the switch for the message header.
#pragma once

#include "pages/basic/TextTablePage.h"

namespace rtu {

class CPageADSms : public CTextTablePage {
public:
    static constexpr int kRows = 8;          // rows 0-7
    static constexpr int kFirstEntry = 8;    // row 0 is message entry 8
    static constexpr int kInputs = 4;        // rows per group
    static constexpr int kHeaderCheck = 1588;  // message header on/off, sent when clicked

    explicit CPageADSms(PageContext& context);
    bool OnCommand(int id) override;
};

}  // namespace rtu
