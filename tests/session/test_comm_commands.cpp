// The test console's tables: wire bytes of every test button, product-type visibility, and
// the text rules of the receive and send panes.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "session/CommTestCommands.h"

using namespace rtu::comm;
using Lines = std::vector<std::string>;

namespace {

std::set<int> Shown(const Visibility& v)
{
    std::set<int> shown;
    for (const auto& [control, on] : v)
        if (on) shown.insert(control);
    return shown;
}

}  // namespace

// Each button's writes exactly as the unit receives them, and whether it empties the pane.
TEST(CommCommands, EveryButtonWritesItsLines)
{
    struct Case {
        int id;
        Lines blocks;
        bool clears;
    };
    const Case cases[] = {
        {1031, {"%TEST\r"}, true},
        {1033, {"%TMODEM\r"}, true},
        {1030, {"%TMMSMS13800138000\r"}, true},
        {1036, {"%MSEND\"13900139000\"\r"}, true},
        {1032, {"%ATATD8008;\r"}, true},
        {1040, {"%ATATH\r"}, true},
        {1037, {"%TMOFF\r"}, true},
        {1009, {"%ATF\r"}, true},
        {1010, {"%SM1\r"}, true},
        {1013, {"%TMPC\r"}, true},
        {1012, {"%TESTADC\r"}, true},
        {1019, {"%ETMPC\r"}, false},
        {1017, {"%ATAT+CSQ\r"}, false},
        {1018, {"%VOLTAGE\r"}, false},
        {1042, {"%TESTPOW\r"}, true},
        {1043, {"%TESTDSC\r"}, true},
        {1014, {"%CNMMSC\r"}, true},
        {1034, {"%LKEY\r"}, true},
        {1035, {"%EKEY\r"}, true},
        {1015, {"%RFDECODER0\r"}, false},
        {1016, {"%RFDECODER1\r"}, false},
        {1048, {"%TESTFLASH\r"}, false},
        {1039, {"%MECHO1\r", "%MMEXP1\r", "%ATATE1\r"}, true},
        {1041, {"%MECHO0\r", "%MMEXP0\r"}, true},
        {1045, {"%GSMPDU1\r"}, false},
        {1046, {"%GSMPDU0\r"}, false},
        {1038, {"%MINIT\r"}, true},
        {1050, {"%SHUTM\r"}, false},
        {1051, {"%STARTM\r"}, false},
        // Buttons without lines of their own.
        {1442, {}, false},
        {1498, {}, false},
        {1044, {}, false},
        {1047, {}, false},
        {1449, {}, false},
    };
    const TestNumbers numbers{"13800138000", "8008", "13900139000"};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        const TestCommand* command = FindTestCommand(c.id);
        ASSERT_NE(command, nullptr);
        EXPECT_EQ(CommandBlocks(*command, numbers), c.blocks);
        EXPECT_EQ(command->clears, c.clears);
    }
    EXPECT_EQ(std::size(cases), TestCommands().size()) << "a button without an expected line";

    // A typed number goes in as text: a '%' in it is not a format of its own.
    const TestNumbers odd{"%d%s", "12%n", "+86 139"};
    EXPECT_EQ(CommandBlocks(*FindTestCommand(1030), odd), Lines{"%TMMSMS%d%s\r"});
    EXPECT_EQ(CommandBlocks(*FindTestCommand(1032), odd), Lines{"%ATATD12%n;\r"});
}

TEST(CommVisibility, EachProductTypeFromTheBuiltPanel)
{
    const std::set<int> basic = {1009, 1010, 1031, 1033, 1030, 1251, 1037, 1042, 1032, 1252, 1040, 1013, 1018, 1017};
    const std::set<int> camera = {1036, 1253, 1034, 1035, 1014, 1043, 1044, 1047, 1442};
    auto make = [](std::set<int> s, const std::set<int>& add, std::initializer_list<int> remove) {
        s.insert(add.begin(), add.end());
        for (int r : remove) s.erase(r);
        return s;
    };
    const std::pair<int, std::set<int>> cases[] = {
        {kNoProductType, {}},
        {0, basic},
        {1, make(basic, {1012}, {})},
        {2, make(basic, camera, {1013})},
        {3, make(basic, camera, {1013, 1032, 1252, 1040, 1031, 1037, 1042, 1044, 1047})},
        {4, make(basic, {1012, 1019}, {})},
        {5, make(basic, {1034, 1035, 1015, 1016}, {})},
    };
    for (const auto& [type, shown] : cases) {
        SCOPED_TRACE(type);
        Visibility v = InitialVisibility();
        ApplyProductType(type, v);
        EXPECT_EQ(Shown(v), shown);
        EXPECT_EQ(ShowsMmsTestWindow(type), type == 2 || type == 3);
    }
}

// A type that says nothing about a group leaves it as the previous choice left it.
TEST(CommVisibility, ChoicesFollowOneAnother)
{
    Visibility v = InitialVisibility();
    ApplyProductType(5, v);  // RF shown
    ApplyProductType(2, v);  // camera: says nothing about RF
    EXPECT_TRUE(v[1015] && v[1016]);
    ApplyProductType(4, v);  // external temperature shown, RF hidden
    EXPECT_TRUE(v[1019]);
    EXPECT_FALSE(v[1015]);
    ApplyProductType(0, v);  // the basic group hides the external temperature again
    EXPECT_FALSE(v[1019]);
    ApplyProductType(kNoProductType, v);
    EXPECT_TRUE(Shown(v).empty());
}

TEST(CommPanes, ReceivedTextRules)
{
    const std::pair<Lines, std::string> cases[] = {
        {{std::string("a\0b", 3)}, "a b"}, {{"one\r\ntwo\r\n"}, "one\ntwo\n"},
        {{"one\r", "\ntwo"}, "one\ntwo"},  // the pair split over two chunks
        {{"a\rb\nc"}, "a\nb\nc"},          {{"a\n\rb"}, "a\n\nb"},
    };
    for (const auto& [chunks, expected] : cases) {
        CReceiveText text;
        std::string shown;
        for (const auto& chunk : chunks) shown += text.Feed(chunk);
        EXPECT_EQ(shown, expected);
    }
}

TEST(CommPanes, TypedTextAsSent)
{
    EXPECT_EQ(TypedBlocks("%TEST"), Lines{"%TEST"});  // no carriage return added
    EXPECT_EQ(TypedBlocks("%A\n%B\n"), Lines{"%A\r\n%B\r\n"});
    EXPECT_EQ(TypedBlocks("%A\r\n"), Lines{"%A\r\n"});
    // The chosen line end follows the text and stands for every line break in it.
    const struct {
        LineEnd end;
        const char* sent;
    } ends[] = {{LineEnd::None, "%A\r\n%B"},
                {LineEnd::Cr, "%A\r%B\r"},
                {LineEnd::Lf, "%A\n%B\n"},
                {LineEnd::CrLf, "%A\r\n%B\r\n"}};
    for (const auto& e : ends) EXPECT_EQ(TypedBlocks("%A\n%B", e.end), Lines{e.sent}) << static_cast<int>(e.end);
    EXPECT_EQ(TypedBlocks("", LineEnd::CrLf), Lines{"\r\n"});  // Enter on an empty line
    EXPECT_EQ(TypedBlocks("", LineEnd::None), Lines{});

    // Longer than one port block: split, nothing cut.
    const std::string longText(2 * kMaxWriteBlock + 100, 'x');
    const Lines blocks = TypedBlocks(longText);
    ASSERT_EQ(blocks.size(), 3u);
    std::string joined;
    for (const auto& b : blocks) {
        EXPECT_LE(b.size(), kMaxWriteBlock);
        joined += b;
    }
    EXPECT_EQ(joined, longText);
}
