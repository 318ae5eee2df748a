// Every caption, item, column title and editor text the built pages look up is in the
// catalog as the build merges its parts.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <memory>
#include <string>

#include <unistd.h>

#include <filesystem>

#include "PageHarness.h"
#include "pages/framework/TextCatalog.h"

namespace rtu {
namespace {

namespace fs = std::filesystem;

TEST(ShippedCatalog, EveryBuiltPageFindsEveryCaption)
{
    std::string merged;
    for (const char* part : {"/gsm.ini"}) {
        std::ifstream in(std::string(RTU_SOURCE_DATA_DIR) + part, std::ios::binary);
        ASSERT_TRUE(in) << part;
        merged.append(std::istreambuf_iterator<char>(in), {});
    }
    const fs::path path = fs::temp_directory_path() / ("rtu_phone_text_catalog_" + std::to_string(::getpid()) + ".ini");
    std::ofstream(path, std::ios::binary) << merged;
    CTextCatalog cat;
    ASSERT_TRUE(cat.Load(path.string()));
    fs::remove(path);

    test::PageHarness h;
    h.context.catalog = &cat;
    std::vector<std::unique_ptr<CPageBase>> pages;
    for (const PageInfo& info : PageTable())
        if (info.make) pages.push_back(info.make(h.context, info));
    ASSERT_EQ(pages.size(), 47u);

    auto expectText = [](const CPageBase& page, const TextRef& ref, int id) {
        if (!ref.key.empty() || !ref.text.empty()) {
            EXPECT_NE(page.Resolve(ref), "") << page.ClassName() << " " << id;
        }
    };
    for (const auto& page : pages) {
        for (const FieldDecl& f : page->Fields()) {
            expectText(*page, f.caption, f.id);
            for (const TextRef& item : f.items) expectText(*page, item, f.id);
            for (const ColumnDecl& col : f.columns) expectText(*page, col.title, f.id);
        }
        for (const RowEditorDecl& editor : page->RowEditors()) {
            expectText(*page, editor.title, editor.listId);
            for (const FieldDecl& f : editor.fields) expectText(*page, f.caption, f.id);
        }
    }
}

}  // namespace
}  // namespace rtu
