// The test result panel's rows from the unit's answer lines, also from the simulated unit.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "PairRig.h"
#include "session/CommTestCommands.h"
#include "session/CommTestResults.h"

using namespace rtu::comm;
using Rows = std::vector<ResultRow>;

TEST(CommResults, AnswerLinesBecomeRows)
{
    struct Case {
        const char* name;
        std::vector<std::string> lines;
        Rows rows;
    };
    const Case cases[] = {
        {"named readings, then the acknowledgement",
         {"DIN0: OK", "POWER=12.1V", "$VOLTAGE 12.1V", "*TMPC 25.0", "CMD OK"},
         {{"DIN0", "OK"}, {"POWER", "12.1V"}, {"VOLTAGE", "12.1V"}, {"TMPC", "25.0"}}},
        {"a line without a name is the test's own result",
         {"  all outputs pulsed  ", "CMD OK"},
         {{"I/O test", "all outputs pulsed"}}},
        {"the unit refused the test", {"CMD ERR"}, {{"I/O test", "CMD ERR"}}},
        {"nothing but the acknowledgement", {"CMD OK"}, {{"I/O test", "OK"}}},
        {"the echoed command and empty lines are no result", {"%TEST", "", "DIN0: OK", "CMD OK"}, {{"DIN0", "OK"}}},
        {"lines after the acknowledgement belong to no test", {"CMD OK", "DIN0: OK", "CMD ERR"}, {{"I/O test", "OK"}}},
        {"a separator first or far out names nothing",
         {": x", std::string(60, 'a') + ": b"},
         {{"I/O test", ": x"}, {"I/O test", std::string(60, 'a') + ": b"}}},
        {"a mark alone names nothing", {"$: x"}, {{"I/O test", "$: x"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CTestResults results;
        results.Start("I/O test");
        Rows rows;
        for (const std::string& line : c.lines)
            for (ResultRow& row : results.Feed(line)) rows.push_back(std::move(row));
        EXPECT_EQ(rows, c.rows);
    }
}

TEST(CommResults, BoundsAndStops)
{
    CTestResults results;
    EXPECT_TRUE(results.Feed("DIN0: OK").empty());  // no test pressed yet
    results.Start("I/O test");
    std::size_t rows = 0;
    for (std::size_t i = 0; i < CTestResults::kMaxRowsPerTest + 10; ++i) rows += results.Feed("noise").size();
    EXPECT_EQ(rows, CTestResults::kMaxRowsPerTest);
    EXPECT_EQ(results.Feed("CMD OK"), Rows{});  // the answer had rows: no extra "OK"
    EXPECT_FALSE(results.Waiting());

    results.Start("Voltage");  // a new test starts its own count
    results.Stop();
    EXPECT_TRUE(results.Feed("POWER: 12.1V").empty());
}

// Every test button a product type can show, against the simulated unit: the unit answers
// each one, and the answer makes rows of its own (not a refusal).
TEST(CommResults, SimulatedUnitAnswersEveryShownTest)
{
    rtu::test::PairRig rig;
    const TestNumbers numbers{"13800138000", "8008", "13900139000"};
    std::set<int> shown;
    for (int type = 0; type < static_cast<int>(kProductTypes.size()); ++type) {
        Visibility v = InitialVisibility();
        ApplyProductType(type, v);
        for (const auto& [control, on] : v)
            if (on) shown.insert(control);
    }
    int tested = 0;
    for (const TestCommand& command : TestCommands()) {
        const auto blocks = CommandBlocks(command, numbers);
        if (!shown.count(command.id) || blocks.empty()) continue;
        SCOPED_TRACE(command.caption);
        CTestResults results;
        results.Start(command.caption);
        rig.lines.clear();
        for (const std::string& block : blocks) ASSERT_TRUE(rig.session.SendRaw(block));
        rig.Drive();
        Rows rows;
        for (const std::string& line : rig.lines)
            for (ResultRow& row : results.Feed(line)) rows.push_back(std::move(row));
        EXPECT_FALSE(results.Waiting());
        ASSERT_FALSE(rows.empty());
        for (const ResultRow& row : rows) EXPECT_NE(row.result, CTestResults::kRefused);
        ++tested;
    }
    EXPECT_GE(tested, 20);
}
