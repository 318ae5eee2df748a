// A text the window shows that the catalog may word: the catalog's text for the key, or the
// tool's own English wording when the catalog (or the key) is missing.
#pragma once

#include <QString>

namespace rtu {
class CTextCatalog;
}

QString CatalogText(const rtu::CTextCatalog* catalog, const char* section, const char* key, const char* english);
