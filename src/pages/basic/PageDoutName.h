// The names of the four digital outputs.
#pragma once

#include "pages/basic/TextTablePage.h"

namespace rtu {

class CPageDoutName : public CTextTablePage {
public:
    static constexpr int kListId = 1377;  // the names table
    static constexpr int kRows = 4;  // digital outputs 0-3

    explicit CPageDoutName(PageContext& context);
};

}  // namespace rtu
