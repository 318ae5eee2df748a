// The ten control phones: the numbers allowed to control the unit.
#pragma once

#include "pages/basic/PhoneListPage.h"

namespace rtu {

class CPageServer : public CPhoneListPage {
public:
    static constexpr int kRows = 10;            // control phones 0-9
    static constexpr int kReloadButton = 1419;  // this page's own Reload button

    explicit CPageServer(PageContext& context);
};

}  // namespace rtu
