// The names of the four digital inputs.
#pragma once

#include "pages/basic/TextTablePage.h"

namespace rtu {

class CPageDinName : public CTextTablePage {
public:
    static constexpr int kListId = 1377;  // the names table
    static constexpr int kRows = 4;  // digital inputs 0-3

    explicit CPageDinName(PageContext& context);
};

}  // namespace rtu
