// Pages that are the generic page model over rows a function of theirs builds (rows made in
// loops over channels, timers or outputs).
#pragma once

#include <memory>
#include <span>
#include <vector>

#include "pages/framework/PageBase.h"

namespace rtu {

// The factory of such a page. `Fields` builds the rows once, when the first page is made;
// they are kept as long as the program runs, as a page's declaration outlives its pages.
template <std::vector<FieldDecl> (*Fields)()> std::unique_ptr<CPageBase>
MakeGenericPage(PageContext& context, const PageInfo& info, std::span<const HandlerDecl> handlers, int waitMs)
{
    static const std::vector<FieldDecl> fields = Fields();
    return std::make_unique<CPageBase>(context, info,
                                       PageDecl{.fields = fields, .handlers = handlers, .waitMs = waitMs});
}

}  // namespace rtu
