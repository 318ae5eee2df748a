#include "pages/basic/BasicPages.h"

namespace rtu {

void AddPhoneAndTextPages(PageContext& /*context*/, PageList& /*pages*/) {}

}  // namespace rtu
