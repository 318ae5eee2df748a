// Holds the routing rows against the page registry and the pages' declarations, both ways:
// every row's target names a page of the registry and, for a built page, a declared
// control (with the same offset and decoding) or a declared handler; every declared report
// key and handler of a built page is reached by some row.
#pragma once

#include <functional>
#include <span>
#include <string>
#include <vector>

#include "pages/framework/PageBase.h"

namespace rtu {

struct RouteCheck {
    std::vector<std::string> problems;  // what does not meet; empty when all is well
    std::vector<std::string> pending;   // rows whose page is in the registry but not built yet
};

// `page` gives the built model of a page, or nullptr.
RouteCheck CheckRoutes(std::span<const PageInfo> registry, const std::function<const CPageBase*(PageId)>& page);

}  // namespace rtu
