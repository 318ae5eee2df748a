// The test console's tables: wire bytes of every test button, product-type visibility, and
// the text rules of the receive and send panes.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "session/CommTestCommands.h"

using namespace rtu::comm;

namespace {

std::string Joined(const std::vector<std::string>& blocks)
{
    std::string all;
    for (const auto& b : blocks) all += b;
    return all;
}

std::set<int> Shown(const Visibility& v)
{
    std::set<int> shown;
    for (const auto& [control, on] : v)
        if (on) shown.insert(control);
    return shown;
}

const TestNumbers kNumbers{"13800138000", "8008", "13900139000"};

}  // namespace

// Each button's writes exactly as the unit receives them, and whether it empties the pane.
TEST(CommCommands, EveryButtonWritesItsLines)
{
    struct Case {
        int id;
        std::vector<std::string> blocks;
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
    std::set<int> covered;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        const TestCommand* command = FindTestCommand(c.id);
        ASSERT_NE(command, nullptr);
        EXPECT_EQ(CommandBlocks(*command, kNumbers), c.blocks);
        EXPECT_EQ(command->clears, c.clears);
        covered.insert(c.id);
    }
    EXPECT_EQ(covered.size(), TestCommands().size()) << "a button without an expected line";
}

// A typed number goes in as text: a '%' in it is not a format of its own.
TEST(CommCommands, NumbersAreInsertedVerbatim)
{
    const TestNumbers odd{"%d%s", "12%n", "+86 139"};
    EXPECT_EQ(Joined(CommandBlocks(*FindTestCommand(1030), odd)), "%TMMSMS%d%s\r");
    EXPECT_EQ(Joined(CommandBlocks(*FindTestCommand(1032), odd)), "%ATATD12%n;\r");
    EXPECT_EQ(Joined(CommandBlocks(*FindTestCommand(1036), odd)), "%MSEND\"+86 139\"\r");
    EXPECT_EQ(NumberFor(*FindTestCommand(1031), odd), "");
}

// The group column of the button table and the group member lists say the same thing.
TEST(CommCommands, ButtonGroupsMatchGroupMembers)
{
    for (const TestCommand& c : TestCommands()) {
        SCOPED_TRACE(c.id);
        for (Group g : {kBasic, kAnalog, kCamera, kRf, kCameraOff, kType4Only}) {
            const auto members = GroupMembers(g);
            const bool listed = std::find(members.begin(), members.end(), c.id) != members.end();
            EXPECT_EQ(listed, (c.groups & g) != 0) << "group " << g;
        }
    }
}

TEST(CommVisibility, EachProductTypeFromTheBuiltPanel)
{
    const std::set<int> basic = {1009, 1010, 1031, 1033, 1030, 1251, 1037, 1042, 1032, 1252, 1040, 1013, 1018, 1017};
    const std::set<int> camera = {1036, 1253, 1034, 1035, 1014, 1043, 1044, 1047, 1442};
    auto with = [](std::set<int> s, std::initializer_list<int> add, std::initializer_list<int> remove = {}) {
        s.insert(add);
        for (int r : remove) s.erase(r);
        return s;
    };
    auto unite = [](std::set<int> a, const std::set<int>& b) {
        a.insert(b.begin(), b.end());
        return a;
    };
    struct Case {
        int type;
        std::set<int> shown;
    };
    const Case cases[] = {
        {kNoProductType, {}},
        {0, basic},
        {1, with(basic, {1012})},
        {2, with(unite(basic, camera), {}, {1013})},
        {3, with(unite(basic, camera), {}, {1013, 1032, 1252, 1040, 1031, 1037, 1042, 1044, 1047})},
        {4, with(basic, {1012, 1019})},
        {5, with(basic, {1034, 1035, 1015, 1016})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.type);
        Visibility v = InitialVisibility();
        EXPECT_TRUE(Shown(v).empty());
        ApplyProductType(c.type, v);
        EXPECT_EQ(Shown(v), c.shown);
        EXPECT_EQ(ShowsMmsTestWindow(c.type), c.type == 2 || c.type == 3);
    }
}

// A type that says nothing about a group leaves it as the previous choice left it.
TEST(CommVisibility, ChoicesFollowOneAnother)
{
    Visibility v = InitialVisibility();
    ApplyProductType(5, v);  // RF shown
    ApplyProductType(2, v);  // camera: says nothing about RF
    EXPECT_TRUE(v[1015]);
    EXPECT_TRUE(v[1016]);
    ApplyProductType(4, v);  // external temperature shown, RF hidden
    EXPECT_TRUE(v[1019]);
    EXPECT_FALSE(v[1015]);
    ApplyProductType(0, v);  // the basic group hides the external temperature again
    EXPECT_FALSE(v[1019]);
    EXPECT_FALSE(v[1048]);
    ApplyProductType(kNoProductType, v);
    EXPECT_TRUE(Shown(v).empty());
}

TEST(CommInfrared, PressesAlternate)
{
    CInfraredToggle toggle;
    EXPECT_STREQ(toggle.Caption(), "开红外");
    EXPECT_EQ(toggle.Press(), "%IFLEDON\r");
    EXPECT_STREQ(toggle.Caption(), "关红外");
    EXPECT_EQ(toggle.Press(), "%IFLEDOFF\r");
    EXPECT_STREQ(toggle.Caption(), "开红外");
}

TEST(CommPanes, ReceivedTextRules)
{
    struct Case {
        std::vector<std::string> chunks;
        std::string shown;
    };
    const Case cases[] = {
        {{std::string("a\0b", 3)}, "a b"},
        {{"one\r\ntwo\r\n"}, "one\ntwo\n"},
        {{"one\r", "\ntwo"}, "one\ntwo"},  // the pair split over two chunks
        {{"a\rb\nc"}, "a\nb\nc"},
        {{"a\n\rb"}, "a\n\nb"},
        {{"\r\n\r\n"}, "\n\n"},
    };
    for (const Case& c : cases) {
        CReceiveText text;
        std::string shown;
        for (const auto& chunk : c.chunks) shown += text.Feed(chunk);
        EXPECT_EQ(shown, c.shown);
    }
    CReceiveText text;
    text.Feed("x\r");
    text.Reset();  // emptied: a line feed now is a line end of its own
    EXPECT_EQ(text.Feed("\n"), "\n");
}

TEST(CommPanes, TypedTextAsSent)
{
    EXPECT_EQ(TypedBlocks("%TEST"), std::vector<std::string>{"%TEST"});  // no carriage return added
    EXPECT_EQ(TypedBlocks("%A\n%B\n"), std::vector<std::string>{"%A\r\n%B\r\n"});
    EXPECT_EQ(TypedBlocks("%A\r\n"), std::vector<std::string>{"%A\r\n"});
    EXPECT_TRUE(TypedBlocks("").empty());

    // Longer than one port block: split, nothing cut.
    std::string longText(2 * kMaxWriteBlock + 100, 'x');
    const auto blocks = TypedBlocks(longText);
    ASSERT_EQ(blocks.size(), 3u);
    for (const auto& b : blocks) EXPECT_LE(b.size(), kMaxWriteBlock);
    EXPECT_EQ(Joined(blocks), longText);
}
