// The page registry: one row per page of the tool (PageTable.h), with the factory of its
// model. The session, the navigation bar, the profile writer, the JSON export and the full
// reload's clearing all walk this table; nothing else lists pages.
#pragma once

#include <span>
#include <string_view>

#include "pages/framework/PageTable.h"

namespace rtu {

std::span<const PageInfo> PageTable();
const PageInfo* FindPageInfo(std::string_view className);
const PageInfo* FindPageInfo(PageId id);
const PageInfo* FindPageInfoByNav(int navId);

}  // namespace rtu
