#include "pages/basic/BasicPages.h"
#include "pages/basic/PageADName.h"
#include "pages/basic/PageADSms.h"
#include "pages/basic/PageAllSms.h"
#include "pages/basic/PageDinAlarm.h"
#include "pages/basic/PageDinName.h"
#include "pages/basic/PageDoutName.h"
#include "pages/basic/PageISensorName.h"
#include "pages/basic/PageServer.h"
#include "pages/basic/PageSos.h"

namespace rtu {

void AddPhoneAndTextPages(PageContext& context, PageList& pages)
{
    pages.push_back(std::make_unique<CPageServer>(context));
    pages.push_back(std::make_unique<CPageSos>(context));
    pages.push_back(std::make_unique<CPageAllSms>(context));
    pages.push_back(std::make_unique<CPageDinAlarm>(context));
    pages.push_back(std::make_unique<CPageADSms>(context));
    pages.push_back(std::make_unique<CPageADName>(context));
    pages.push_back(std::make_unique<CPageDinName>(context));
    pages.push_back(std::make_unique<CPageDoutName>(context));
    pages.push_back(std::make_unique<CPageISensorName>(context));
}

}  // namespace rtu
