// The SOS panic alarm phone. It has no navigation item and no Reload button, and writes
// nothing into a profile.
#pragma once

#include "pages/basic/PhoneListPage.h"

namespace rtu {

class CPageSos : public CPhoneListPage {
public:
    static constexpr int kRows = 1;  // the one SOS phone, row 0

    explicit CPageSos(PageContext& context);
};

}  // namespace rtu
