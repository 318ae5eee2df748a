// A page's row in the page registry: how the main window knows it, where its captions live,
// what its reload asks the unit for, what it writes into a profile, when a full reload
// clears it, and how its model is made. The registry (pages/registry/PageRegistry.h) holds one row
// per page and is the only list of pages.
#pragma once

#include <memory>

#include "link/PageId.h"

namespace rtu {

class CPageBase;
struct PageContext;
struct PageInfo;

using PageFactory = std::unique_ptr<CPageBase> (*)(PageContext& context, const PageInfo& info);

struct PageInfo {
    const char* className;
    int navId;              // 1..49 (17 unused); also the page's PageId
    const char* folderKey;  // navigation folder caption key in "TABS"; nullptr: the "More pages" folder
    const char* itemKey;    // item caption key in "TABS" (also the page title key)
    int icon;               // navigation icon index
    const char* section;    // the page's catalog section; nullptr: none
    const char* dump;       // what its reload writes (several command lines in one block); nullptr: none
    const char* header;     // its profile section header; nullptr: contributes nothing
    int profileOrder;       // position in a profile (1-based); 0: not visited
    int clearOrder;         // position in a full reload's clearing (1-based); 0: not cleared
    PageFactory make;       // makes the page's model; nullptr: the page is not built yet
    const char* caption = nullptr;  // item caption when the catalog lacks itemKey; nullptr: the catalog's alone

    PageId Id() const { return static_cast<PageId>(navId); }
};

}  // namespace rtu
