// The alarm messages of the digital inputs: message entries 0-7, the first four for one
// input state and the next four for the other, each group numbered 0-3.
#pragma once

#include "pages/basic/TextTablePage.h"

namespace rtu {

class CPageDinAlarm : public CTextTablePage {
public:
    static constexpr int kListId = 1432;
    static constexpr int kRows = 8;            // message entries 0-7
    static constexpr int kInputs = 4;          // rows per group
    static constexpr int kDefaultButton = 1015;  // restores the unit's default messages (hidden)

    explicit CPageDinAlarm(PageContext& context);
    bool OnCommand(int id) override;
};

}  // namespace rtu
