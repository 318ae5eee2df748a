// docs/json-keys.md stays in step with the pages: every page of the registry has a section,
// every key a page exports is named in its section, and every control id in a section's key
// column is one a page of that section exports.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "PageHarness.h"
#include "session/Session.h"

namespace rtu {
namespace {

constexpr int kMaxRangeSpan = 200;       // "1029-1032": wider spans are not id ranges
constexpr std::size_t kMinIdDigits = 4;  // control ids; shorter numbers in a key cell are parts of named keys

struct DocSection {
    std::set<std::string> pages;      // the page classes its heading names
    std::set<std::string> mentioned;  // every key it names anywhere, ranges expanded
    std::set<std::string> keyColumn;  // the numeric ids in its tables' key column
};

// The keys a piece of text names: numbers, number ranges ("1029-1032", "`1210`–`1213`") and
// named ranges ("rangeHigh0-3").
std::set<std::string> KeysIn(std::string text)
{
    std::set<std::string> keys;
    for (const std::string dash : {"\u2013", "`"}) {
        for (std::size_t at; (at = text.find(dash)) != std::string::npos;)
            text.replace(at, dash.size(), dash == "`" ? "" : "-");
    }
    static const std::regex range(R"(([A-Za-z]*)(\d+)\s*-\s*(\d+))");
    for (std::sregex_iterator it(text.begin(), text.end(), range), end; it != end; ++it) {
        const int first = std::stoi((*it)[2]), last = std::stoi((*it)[3]);
        if (last < first || last - first > kMaxRangeSpan) continue;
        for (int n = first; n <= last; ++n) keys.insert((*it)[1].str() + std::to_string(n));
    }
    static const std::regex word(R"([A-Za-z0-9_]+)");
    for (std::sregex_iterator it(text.begin(), text.end(), word), end; it != end; ++it) keys.insert(it->str());
    return keys;
}

std::vector<DocSection> ReadDoc(const std::set<std::string>& classes)
{
    std::ifstream in(std::string(RTU_SOURCE_DATA_DIR) + "/../docs/json-keys.md");
    std::vector<DocSection> sections;
    for (std::string line; std::getline(in, line);) {
        if (line.starts_with("## ")) {
            DocSection s;
            for (const std::string& w : KeysIn(line))
                if (classes.contains(w)) s.pages.insert(w);
            sections.push_back(s);
            continue;
        }
        if (sections.empty()) continue;
        for (const std::string& k : KeysIn(line)) sections.back().mentioned.insert(k);
        // "| 1029-1032 / 1033-1036 | ..." (not the header row, not the rule row)
        if (line.starts_with("| ") && !line.starts_with("| key") && !line.starts_with("| Key")) {
            const std::string cell = line.substr(1, line.find('|', 1) - 1);
            for (const std::string& k : KeysIn(cell))
                if (k.size() >= kMinIdDigits && std::all_of(k.begin(), k.end(), [](char c) { return c >= '0' && c <= '9'; }))
                    sections.back().keyColumn.insert(k);
        }
    }
    return sections;
}

TEST(JsonKeysDoc, NamesEveryPageAndEveryKeyItExports)
{
    std::set<std::string> classes;
    for (const PageInfo& info : PageTable()) classes.insert(info.className);
    const std::vector<DocSection> doc = ReadDoc(classes);
    ASSERT_FALSE(doc.empty()) << "docs/json-keys.md not found or empty";

    test::PageHarness h;
    std::map<std::string, std::set<std::string>> exported;  // page class -> its keys
    for (const PageInfo& info : PageTable()) {
        bool hasSection = false;
        for (const DocSection& s : doc) hasSection = hasSection || s.pages.contains(info.className);
        EXPECT_TRUE(hasSection) << info.className << " has no section";
        if (!info.make) continue;
        const nlohmann::json values = CSession::PageJson(h.Make(info.Id()));
        for (auto it = values.begin(); it != values.end(); ++it) exported[info.className].insert(it.key());
    }
    for (const auto& [page, keys] : exported)
        for (const std::string& key : keys) {
            bool named = false;
            for (const DocSection& s : doc) named = named || (s.pages.contains(page) && s.mentioned.contains(key));
            EXPECT_TRUE(named) << page << " exports \"" << key << "\", which its section does not name";
        }
    for (const DocSection& s : doc)
        for (const std::string& key : s.keyColumn) {
            bool known = false;
            for (const std::string& page : s.pages) known = known || exported[page].contains(key);
            EXPECT_TRUE(known) << "key " << key << " is listed for " << (s.pages.empty() ? "?" : *s.pages.begin())
                               << ", but no page of its section exports it";
        }
}

}  // namespace
}  // namespace rtu
