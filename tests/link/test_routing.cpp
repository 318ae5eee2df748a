#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "link/RoutingTable.h"

using namespace rtu;

namespace {

struct Delivery {
    std::string page, row, text;
    int digit;
    bool operator==(const Delivery&) const = default;
};

struct Recorder : IRouteDirectory {
    struct Page : IRouteTarget {
        Recorder* owner;
        std::string name;
        void OnRoute(const RouteHit& hit) override
        {
            owner->got.push_back({name, hit.row.id, std::string(hit.text), hit.digit});
        }
    };
    std::map<std::string, Page, std::less<>> pages;
    std::vector<Delivery> got;
    IRouteTarget* FindPage(std::string_view name) override
    {
        auto it = pages.find(name);
        if (it == pages.end()) {
            Page& p = pages[std::string(name)];
            p.owner = this;
            p.name = std::string(name);
            return &p;
        }
        return &it->second;
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
        {"$TMPH 30", {{"CPageTemp", "C29", "30", -1}}},
        {"$CS3 +4912345", {{"CPageServer", "B68", "+4912345", 3}}},
        {"$SRx 1", {}},  // no digit: B3 does not match, nothing else does either
        {"$SR2 abc", {{"CDataParams", "B3", "abc", 2}}},
        {"$M2M_HTTP_URL x",
         {{"CPage3GMMS", "A10", "$M2M_HTTP_URL x", -1},
          {"CPageHttp", "A10", "$M2M_HTTP_URL x", -1},
          {"CPageGPRS", "B17", "$M2M_HTTP_URL x", -1},
          {"CPageHttp", "B17", "$M2M_HTTP_URL x", -1}}},
        {"$ADINRH0 5", {{"CPageAD", "B83", "RH0 5", -1}, {"CPageAD", "C2", "0 5", -1}}},
        {"$HUMI0 40", {{"CPageHumidity", "C46", "0 40", -1}}},
        {"$SMS01 0041",
         {{"CPageDinAlarm", "C25", "01 0041", -1},
          {"CPageADSms", "C25", "01 0041", -1},
          {"CPageAllSms", "C25", "01 0041", -1},
          {"CPageRfZone", "C25", "01 0041", -1}}},
        {"$PRIODINSMS11 0005", {{"CPagePriotab", "A1", "11 0005", -1}}},
        {"$MODEM_SPK 1", {{"CPageAlarmParams", "B61", "1", -1}}},
        {"*AINC0 12", {{"CPageAD", "B84", "0 12", -1}}},
        {"$IOAT 15", {{"CPageAlarmParams", "B54", "15", -1}}},
        {"$IAT 15", {{"CPageAlarmParams", "B53", "15", -1}}},
        // A key anywhere in the line matches; the text still counts from the line's start.
        {"ab$TMPH 30", {{"CPageTemp", "C29", "H 30", -1}}},
        {"*$*$*$*$*$*$*$*$*$*$*$*$*$*$*$*$*$*$*$*$$TMPH", {{"CPageTemp", "C29", "*$*$*$*$*$*$*$*$*$*$*$*$*$*$*$*$*$$TMPH", -1}}},
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
    EXPECT_EQ(r.got[0].page, "CPageExTmpRcd");
    EXPECT_EQ(r.got[1].page, "CPageExtTmpLog");
    EXPECT_EQ(r.got[2].page, "CPageMainParams");
    Recorder s;
    RouteLine("*AINC0 12", s);
    ASSERT_GE(s.got.size(), 1u);
    EXPECT_EQ(s.got[0].page, "CPageMainParams");
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
    const std::pair<const char*, int> cases[] = {{"12ab", 12}, {"x", 0}, {"", 0}, {"-3", -3}, {" 7", 7},
                                                 {"99999999999", 2147483647}};
    for (auto [text, value] : cases) EXPECT_EQ(LeadingNumber(text), value) << text;
}
