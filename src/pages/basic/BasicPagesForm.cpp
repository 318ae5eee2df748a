#include "pages/basic/BasicPages.h"
#include "pages/basic/PageAlarmParams.h"
#include "pages/basic/PageMainParams.h"

namespace rtu {

void AddFormPages(PageContext& context, PageList& pages)
{
    pages.push_back(std::make_unique<CPageMainParams>(context));
    pages.push_back(std::make_unique<CPageAlarmParams>(context));
}

}  // namespace rtu
