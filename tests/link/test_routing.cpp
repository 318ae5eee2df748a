#include <gtest/gtest.h>

#include <map>
#include <span>
#include <string>
#include <vector>

#include "link/RoutingTable.h"
#include "link/TextFields.h"

using namespace rtu;

namespace {

struct Delivery {
    PageId page;
    std::string row, text;
    int digit;
    bool operator==(const Delivery&) const = default;
};

struct Recorder : IRouteDirectory {
    struct Page : IRouteTarget {
        Recorder* owner;
        PageId id;
        void OnRoute(const RouteHit& hit) override
        {
            owner->got.push_back({id, hit.row.id, std::string(hit.text), hit.digit});
        }
    };
    std::map<PageId, Page> pages;
    std::vector<Delivery> got;
    IRouteTarget* FindPage(PageId id) override
    {
        Page& p = pages[id];
        p.owner = this;
        p.id = id;
        return &p;
    }
    // Deliveries other than the record pages and the main parameters page.
    std::vector<Delivery> Chains() const
    {
        std::vector<Delivery> out;
        for (const auto& d : got)
            if (d.row != "R1" && d.row != "R2") out.push_back(d);
        return out;
    }
};

}  // namespace

TEST(Routing, TableSizes)
{
    EXPECT_EQ(RouteChainA().size(), 15u);
    EXPECT_EQ(RouteChainB().size(), 87u);
    EXPECT_EQ(RouteChainC().size(), 70u);
}

TEST(Routing, OrderDecidesTheOutcome)
{
    struct Case {
        const char* line;
        std::vector<Delivery> chains;
    };
    const Case cases[] = {
        {"$TMPH 30", {{PageId::Temp, "C29", "30", -1}}},
        {"$CS3 +4912345", {{PageId::Server, "B68", "+4912345", 3}}},
        {"$SRx 1", {}},  // no digit: B3 does not match, nothing else does either
        {"$SR2 abc", {{PageId::DataParams, "B3", "abc", 2}}},
        {"$M2M_HTTP_URL x",
         {{PageId::Mms3G, "A10", "$M2M_HTTP_URL x", -1},
          {PageId::Http, "A10", "$M2M_HTTP_URL x", -1},
          {PageId::GPRS, "B17", "$M2M_HTTP_URL x", -1},
          {PageId::Http, "B17", "$M2M_HTTP_URL x", -1}}},
        {"$ADINRH0 5", {{PageId::AD, "B83", "RH0 5", -1}, {PageId::AD, "C2", "0 5", -1}}},
        {"$HUMI0 40", {{PageId::Humidity, "C46", "0 40", -1}}},
        {"$SMS01 0041",
         {{PageId::DinAlarm, "C25", "01 0041", -1},
          {PageId::ADSms, "C25", "01 0041", -1},
          {PageId::AllSms, "C25", "01 0041", -1},
          {PageId::RfZone, "C25", "01 0041", -1}}},
        {"$PRIODINSMS11 0005", {{PageId::Priotab, "A1", "11 0005", -1}}},
        {"$MODEM_SPK 1", {{PageId::AlarmParams, "B61", "1", -1}}},
        {"*AINC0 12", {{PageId::AD, "B84", "0 12", -1}}},
        {"$IOAT 15", {{PageId::AlarmParams, "B54", "15", -1}}},
        {"$IAT 15", {{PageId::AlarmParams, "B53", "15", -1}}},
        // A key anywhere in the line matches; the text still counts from the line's start.
        {"ab$TMPH 30", {{PageId::Temp, "C29", "H 30", -1}}},
        {"*$*$*$*$*$*$*$*$*$*$*$*$*$*$*$*$*$*$*$*$$TMPH",
         {{PageId::Temp, "C29", "*$*$*$*$*$*$*$*$*$*$*$*$*$*$*$*$*$$TMPH", -1}}},
    };
    for (const Case& c : cases) {
        Recorder r;
        RouteLine(c.line, r);
        EXPECT_EQ(r.Chains(), c.chains) << c.line;
    }
}

// The chains skip rows whose key cannot be in a line; checked against trying every row,
// for lines built from every key alone, after other text, and two keys to a line.
TEST(Routing, SkippingRowsLosesNoMatch)
{
    const auto contains = [](std::string_view line, std::string_view key) {
        return line.find(key) != std::string_view::npos;
    };
    const auto reference = [&](std::string_view line) {
        std::vector<Delivery> out;
        const auto run = [&](std::span<const RouteRow> chain, bool firstStandsAlone) {
            for (std::size_t i = 0; i < chain.size(); ++i) {
                const RouteRow& row = chain[i];
                bool hit = contains(line, row.contains) || (!row.orContains.empty() && contains(line, row.orContains));
                const auto at = static_cast<std::size_t>(row.digitOffset);
                if (hit && row.digitOffset >= 0) hit = at < line.size() && line[at] >= '0' && line[at] <= '9';
                if (!hit) continue;
                for (int t = 0; t < row.targetCount; ++t) {
                    const RouteTarget& target = row.targets[static_cast<std::size_t>(t)];
                    const auto off = static_cast<std::size_t>(target.offset);
                    out.push_back({target.page, row.id, std::string(off <= line.size() ? line.substr(off) : ""),
                                   row.digitOffset >= 0 ? line[at] - '0' : -1});
                }
                if (!(firstStandsAlone && i == 0)) return;
            }
        };
        run(RouteChainA(), true);
        run(RouteChainB(), false);
        run(RouteChainC(), false);
        return out;
    };
    std::vector<std::string> lines;
    std::vector<std::string_view> keys;
    for (const auto& chain : {RouteChainA(), RouteChainB(), RouteChainC()})
        for (const RouteRow& row : chain) {
            keys.push_back(row.contains);
            if (!row.orContains.empty()) keys.push_back(row.orContains);
        }
    for (std::size_t k = 0; k < keys.size(); ++k) {
        const std::string key(keys[k]);
        lines.push_back(key + "3 17");
        lines.push_back("x*" + key + "5");
        lines.push_back(std::string(keys[(k * 7 + 3) % keys.size()]) + " " + key + "1");
    }
    lines.push_back(std::string(40, '$') + "$TMPH 3");  // too many marks to tell: every row is tried
    for (const std::string& line : lines) {
        Recorder r;
        RouteLine(line, r);
        EXPECT_EQ(r.Chains(), reference(line)) << line;
    }
}

TEST(Routing, EveryLineReachesTheMainPageAndDollarLinesTheRecordPages)
{
    Recorder r;
    RouteLine("$TMPH 30", r);
    ASSERT_GE(r.got.size(), 3u);
    EXPECT_EQ(r.got[0].page, PageId::ExTmpRcd);
    EXPECT_EQ(r.got[1].page, PageId::ExtTmpLog);
    EXPECT_EQ(r.got[2].page, PageId::MainParams);
    Recorder s;
    RouteLine("*AINC0 12", s);
    ASSERT_GE(s.got.size(), 1u);
    EXPECT_EQ(s.got[0].page, PageId::MainParams);
}

TEST(Routing, ShortLinesGiveEmptyTextNotGarbage)
{
    Recorder r;
    RouteLine("$DOT", r);  // the value offset lies past the end
    const auto chains = r.Chains();
    ASSERT_EQ(chains.size(), 1u);
    EXPECT_EQ(chains[0].text, "");
}

TEST(Routing, LeadingNumber)
{
    const std::pair<const char*, int> cases[] = {{"12ab", 12},
                                                 {"x", 0},
                                                 {"", 0},
                                                 {"-3", -3},
                                                 {" 7", 7},
                                                 {"\t\n+8", 8},
                                                 {"- 1", 0},
                                                 {"99999999999", 2147483647},
                                                 {"-99999999999", -2147483647 - 1}};
    for (auto [text, value] : cases) EXPECT_EQ(LeadingNumber(text), value) << text;
}
