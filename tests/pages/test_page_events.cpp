// The event list: how the unit's event lines become rows, the list's bounds, and its CSV.
#include <gtest/gtest.h>

#include "PageHarness.h"
#include "pages/events/PageEvents.h"

using namespace rtu;

namespace {

TEST(EventLine, Rows)
{
    const std::string longField(200, 'x');
    struct Case {
        const char* name;
        std::string line;
        EventRow row;
    };
    const Case cases[] = {
        {"all fields",
         R"($:"17","DIN 1 ALARM SMS","1","Door","OPEN","","2026-12-08 03:00")",
         {"Digital inputsAlarmSms", "1", "Door", "OPEN", "", "2026-12-08 03:00 (12:34:56)"}},
        {"restore without SMS",
         R"($:"3","AIN 2 RECOVER","2","Tank","4.2mA","","t")",
         {"Analog inputsRestore", "2", "Tank", "4.2mA", "", "t (12:34:56)"}},
        {"first source that matches names it",
         R"($:"1","DEFENCE REMOVED PANIC ","a","b","c","d","")",
         {"Panic button", "a", "b", "c", "d", " (12:34:56)"}},
        {"kind without source", R"($:"1","UNKNOWN ALARM","a")", {"Alarm", "a", "", "", "", ""}},
        {"fewer fields: no time", R"($:"9","WIRELESS SENSOR 3","z1","z2")", {"RF433", "z1", "z2", "", "", ""}},
        {"no fields at all", "$: nothing quoted", {"", "", "", "", "", ""}},
        {"text outside the quotes is dropped",
         R"($:"1" junk "HUMIDITY RECOVER"xx"a")",
         {"HumidityRestore", "a", "", "", "", ""}},
        {"fields after the time field are ignored",
         R"($:"1","POWER ALARM","a","b","c","d","e","f")",
         {"DC/PowerAlarm", "a", "b", "c", "d", "e (12:34:56)"}},
        {"unclosed field", R"($:"1","TMP100 ALARM","a)", {"interiar temp.Alarm", "", "", "", "", ""}},
        {"long field is cut",
         "$:\"1\",\"DEFENCE ARRANGED\",\"" + longField + "\"",
         {"Arm", longField.substr(0, EventLineRules::kFieldMax), "", "", "", ""}},
    };
    for (const Case& c : cases) EXPECT_EQ(ParseEventLine(c.line, "12:34:56"), c.row) << c.name;
}

TEST(EventList, RowsArriveInOrderAndOnlyResetEmptiesThem)
{
    test::PageHarness h;
    auto& page = h.Make<CPageEvents>(PageId::Events);
    page.timeOfDay = [] { return std::string("01:02:03"); };
    int heard = 0;
    page.AddListener([&](int id) { heard += id == CPageEvents::kList; });
    for (int i = 0; i < 3; ++i) page.Add("$:\"" + std::to_string(i) + "\",\"DIN ALARM\",\"" + std::to_string(i) + "\"");
    page.ClearFields();  // a full reload leaves the list
    ASSERT_EQ(page.Log().Size(), 3u);
    EXPECT_EQ(page.Log().Cell(2, 1), "2");
    EXPECT_EQ(page.Log().Cell(3, 1), "");  // no such row
    EXPECT_EQ(page.Log().Cell(0, kEventColumns), "");
    EXPECT_TRUE(page.OnCommand(CPageEvents::kReset));
    EXPECT_EQ(page.Log().Size(), 0u);
    EXPECT_EQ(heard, 4);
    EXPECT_TRUE(h.writes.empty());
}

TEST(EventList, CsvEndsEveryFieldWithACommaAndEveryLineWithCrLf)
{
    test::PageHarness h;
    auto& page = h.Make<CPageEvents>(PageId::Events);
    page.timeOfDay = [] { return std::string("01:02:03"); };
    page.Add(R"($:"1","DIN 1 ALARM","1","a,b","c","","t")");
    page.Add(R"($:"2","AIN RECOVER")");
    EXPECT_EQ(page.Csv(), ",,,,,,\r\n"  // no catalog here: empty titles
                          "Digital inputsAlarm,1,\"a,b\",c,,t (01:02:03),\r\n"
                          "Analog inputsRestore,,,,,,\r\n");
}

TEST(EventList, ReachesOnlyEventLines)
{
    test::PageHarness h;
    auto& page = h.Make<CPageEvents>(PageId::Events);
    const RouteRow row{"EV", "$:", {}, -1, {{{PageId::Events, RouteEffect::Handler, 0, "$:", 0, -1}}}, 1};
    for (const char* line : {"$BPS 9600", "$: \"1\",\"DIN ALARM\""})
        page.OnRoute(RouteHit{row, row.targets[0], line, line, -1});
    EXPECT_EQ(page.Log().Size(), 1u);
}

}  // namespace
