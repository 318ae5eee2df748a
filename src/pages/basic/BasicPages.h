// Creates the basic settings pages.
#pragma once

#include <memory>
#include <vector>

#include "pages/framework/PageBase.h"

namespace rtu {

using PageList = std::vector<std::unique_ptr<CPageBase>>;

// Every page of this folder, created with the given context.
void AddBasicPages(PageContext& context, PageList& pages);

// The families, each in its own file.
void AddFormPages(PageContext& context, PageList& pages);          // main and alarm parameters
void AddPhoneAndTextPages(PageContext& context, PageList& pages);  // phones, messages and names
void AddPriorityPages(PageContext& context, PageList& pages);      // priority grids

}  // namespace rtu
