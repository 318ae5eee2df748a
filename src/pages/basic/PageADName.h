// The names of the four analog inputs.
#pragma once

#include "pages/basic/TextTablePage.h"

namespace rtu {

class CPageADName : public CTextTablePage {
public:
    static constexpr int kRows = 4;  // analog inputs 0-3

    explicit CPageADName(PageContext& context);
};

}  // namespace rtu
