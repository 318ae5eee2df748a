#include "pages/basic/BasicPages.h"
#include "pages/basic/PageAinprio.h"
#include "pages/basic/PagePriotab.h"
#include "pages/basic/PageSysPrio.h"
#include "pages/basic/PageWinPrio.h"

namespace rtu {

void AddPriorityPages(PageContext& context, PageList& pages)
{
    pages.push_back(std::make_unique<CPageSysPrio>(context));
    pages.push_back(std::make_unique<CPagePriotab>(context));
    pages.push_back(std::make_unique<CPageAinprio>(context));
    pages.push_back(std::make_unique<CPageWinPrio>(context));
}

}  // namespace rtu
