// The text catalog rtuctl reads, found as the desktop tool finds it: "gsm.ini" in the working
// directory, then beside the program, then in the installed data directory. Page captions
// and list cell texts then read the same in both tools.
#pragma once

#include "pages/framework/TextCatalog.h"

namespace rtu::cli {

// Loads `catalog`; the catalog when one was found, else null (empty texts).
const CTextCatalog* LoadProgramCatalog(CTextCatalog& catalog);

}  // namespace rtu::cli
