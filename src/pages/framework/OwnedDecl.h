// The rows of a declaration a page builds for itself when it is made (one page class that
// serves a family of pages, each page from its row of the family's table).
#pragma once

#include <vector>

#include "pages/framework/FieldDecl.h"
#include "pages/framework/PageBase.h"

namespace rtu {

// The page keeps them as long as it lives; its PageDecl points into them.
struct OwnedDecl {
    std::vector<FieldDecl> fields{};
    std::vector<RowEditorDecl> editors{};
    std::vector<HandlerDecl> handlers{};

    // The page's declaration over these rows; `rest` says the rest (wait, framing …).
    PageDecl Over(PageDecl rest) const
    {
        rest.fields = fields;
        rest.editors = editors;
        rest.handlers = handlers;
        return rest;
    }
};

}  // namespace rtu
