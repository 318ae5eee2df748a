#include "pages/basic/BasicPages.h"

namespace rtu {

void AddPriorityPages(PageContext& /*context*/, PageList& /*pages*/) {}

}  // namespace rtu
