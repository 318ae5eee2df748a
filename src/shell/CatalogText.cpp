#include "shell/CatalogText.h"

#include "pages/framework/TextCatalog.h"

QString CatalogText(const rtu::CTextCatalog* catalog, const char* section, const char* key, const char* english)
{
    const std::string own = catalog ? catalog->GetText(section, key) : std::string();
    return own.empty() ? QString::fromUtf8(english) : QString::fromStdString(own);
}
