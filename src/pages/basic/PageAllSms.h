// The unit's 30 stored alarm messages (entries 0-29).
#pragma once

#include "pages/basic/TextTablePage.h"

namespace rtu {

class CPageAllSms : public CTextTablePage {
public:
    static constexpr int kRows = 30;  // message entries 0-29

    explicit CPageAllSms(PageContext& context);
};

}  // namespace rtu
