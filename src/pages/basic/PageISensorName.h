// The names of the six wireless sensors; a reload empties only the first four.
#pragma once

#include "pages/basic/TextTablePage.h"

namespace rtu {

class CPageISensorName : public CTextTablePage {
public:
    static constexpr int kRows = 6;  // wireless sensors 0-5
    static constexpr int kClearedRows = 4;  // rows a reload empties (0-3)
    static constexpr int kListId = 1563;  // the names table
    static constexpr int kFrameId = 1268;   // this page's frame

    explicit CPageISensorName(PageContext& context);
};

}  // namespace rtu
