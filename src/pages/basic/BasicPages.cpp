#include "pages/basic/BasicPages.h"

namespace rtu {

void AddBasicPages(PageContext& context, PageList& pages)
{
    AddFormPages(context, pages);
    AddPhoneAndTextPages(context, pages);
    AddPriorityPages(context, pages);
}

}  // namespace rtu
