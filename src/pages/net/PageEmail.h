// The e-mail recipients: two addresses, each edited in the input editor and written at once.
#pragma once

#include <memory>

#include "pages/framework/PageBase.h"

namespace rtu {

class CPageEmail : public CPageBase {
public:
    static constexpr int kList = ctl::kList;
    static constexpr int kColAddress = 1;
    static constexpr int kRows = 2;
    static constexpr int kWaitMs = 2000;  // the page's default acknowledgement wait

    CPageEmail(PageContext& context, const PageInfo& info);

    void SaveParams(bool, CProfileWriter*) override {}
    void TakeRow(int row, std::string_view text);
};

}  // namespace rtu
