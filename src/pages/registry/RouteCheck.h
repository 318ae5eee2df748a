// Holds the routing rows against the page registry and the pages' declarations, both ways:
// every row's target names a page of the registry and, for a built page, a declared
// control (with the same offset and decoding) or a declared handler that names the keys it
// takes; every report key a built page declares (its rows' keys, its scan's keys, its
// handlers' keys) is routed as a line and must reach that control or handler.
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
