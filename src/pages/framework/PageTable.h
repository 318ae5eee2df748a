// Every parameter page of the tool in one table: how the main window knows it, where its
// captions live, what its reload asks the unit for and what it writes into a profile.
#pragma once

#include <span>
#include <string_view>

namespace rtu {

struct PageInfo {
    const char* className;
    int navId;             // 1..49 (17 unused)
    const char* folderKey; // navigation folder caption key in "TABS"; nullptr: no item in the six folders
    const char* itemKey;   // item caption key in "TABS" (also the page title key); nullptr: none
    int icon;              // navigation icon index; -1 without item
    const char* section;   // the page's catalog section; nullptr: none
    const char* dump;      // what its reload writes (several command lines in one block); nullptr: none
    const char* header;    // its profile section header; nullptr: contributes nothing
    int profileOrder;      // position in a profile (1-based); 0: not visited
};

std::span<const PageInfo> PageTable();
const PageInfo* FindPageInfo(std::string_view className);
const PageInfo* FindPageInfoByNav(int navId);

// The pages a full reload clears, in order.
std::span<const char* const> ReloadClearOrder();

}  // namespace rtu
