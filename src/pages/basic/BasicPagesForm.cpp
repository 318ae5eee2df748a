#include "pages/basic/BasicPages.h"

namespace rtu {

void AddFormPages(PageContext& /*context*/, PageList& /*pages*/) {}

}  // namespace rtu
