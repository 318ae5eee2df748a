// rtuctl events' output lines: one line per event whatever its fields hold, and JSON keys
// that name the fields they carry.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include <nlohmann/json.hpp>

#include "cli/EventPrinter.h"
#include "pages/PageHarness.h"
#include "pages/events/PageEvents.h"

using namespace rtu;

namespace {

const RouteRow kEventRow{"EV", "$:", {}, -1, {{{PageId::Events, RouteEffect::Handler, 0, "$:", 0, -1}}}, 1};

// What the printer writes for the given event lines.
std::string Printed(const std::vector<std::string>& lines, bool json)
{
    test::PageHarness h;
    auto& page = h.Make<CPageEvents>(PageId::Events);
    char* buffer = nullptr;
    std::size_t size = 0;
    std::FILE* out = open_memstream(&buffer, &size);
    {
        cli::CEventPrinter printer(page, json, out);
        for (const std::string& line : lines) page.OnRoute(RouteHit{kEventRow, kEventRow.targets[0], line, line, -1});
    }
    std::fclose(out);
    std::string text(buffer, size);
    std::free(buffer);
    return text;
}

std::vector<std::string> Split(const std::string& text, char by)
{
    std::vector<std::string> parts(1);
    for (char c : text) {
        if (c == by) parts.emplace_back();
        else parts.back() += c;
    }
    return parts;
}

TEST(EventPrinter, TabSeparatedCellsKeepTheirColumns)
{
    struct Case {
        const char* name;
        std::string line;
        std::string valueColumn;  // column 3 as printed
    };
    const Case cases[] = {
        {"plain", R"($:"1","DIN 1 ALARM","2","Door","OPEN","ON","t")", "OPEN"},
        {"tab", "$:\"1\",\"DIN 1 ALARM\",\"2\",\"Door\",\"OP\tEN\",\"ON\",\"t\"", "OP\\tEN"},
        {"backslash", R"($:"1","DIN 1 ALARM","2","Door","C:\x","ON","t")", "C:\\\\x"},
        {"backslash before t", R"($:"1","DIN 1 ALARM","2","Door","\t","ON","t")", "\\\\t"},
    };
    for (const Case& c : cases) {
        const std::string out = Printed({c.line}, false);
        ASSERT_FALSE(out.empty()) << c.name;
        EXPECT_EQ(out.back(), '\n') << c.name;
        const std::vector<std::string> rows = Split(out.substr(0, out.size() - 1), '\n');
        ASSERT_EQ(rows.size(), 1u) << c.name << ": " << out;
        const std::vector<std::string> cells = Split(rows[0], '\t');
        ASSERT_EQ(cells.size(), static_cast<std::size_t>(kEventColumns)) << c.name << ": " << out;
        EXPECT_EQ(cells[3], c.valueColumn) << c.name;
    }
}

TEST(EventPrinter, JsonKeysNameTheirFields)
{
    // Field 0 is the unit's own event number (not listed); 1 names source and kind; 2-6 follow.
    const std::string out =
        Printed({R"($:"41","AIN 2 ALARM SMS","3","Tank level","17.9mA","HIGH","2026-12-08 12:00:41")"}, true);
    const auto e = nlohmann::json::parse(out);
    EXPECT_EQ(e["event"], "Analog inputsAlarmSms");
    EXPECT_EQ(e["number"], "3");
    EXPECT_EQ(e["source"], "Tank level");
    EXPECT_EQ(e["value"], "17.9mA");
    EXPECT_EQ(e["state"], "HIGH");
    EXPECT_EQ(e["time"].get<std::string>().rfind("2026-12-08 12:00:41 (", 0), 0u);
    EXPECT_EQ(e.size(), 6u);
}

}  // namespace
