// Reporting over HTTP: the address of the service page and the three content fields the
// unit puts into its requests.
#pragma once

#include <memory>

#include "pages/framework/PageBase.h"

namespace rtu {

struct CPageHttp {
    static constexpr int kUrl = 1594;
    static constexpr int kAuth = 1346;
    static constexpr int kGroup = 1347;
    static constexpr int kSim = 1348;

    static PageDecl Decl();
    static std::unique_ptr<CPageBase> Make(PageContext& context, const PageInfo& info);
};

}  // namespace rtu
