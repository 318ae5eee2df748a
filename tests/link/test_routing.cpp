#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "link/RoutingTable.h"

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
