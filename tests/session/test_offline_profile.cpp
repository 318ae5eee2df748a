// Profiles and JSON exports opened without a unit: the in-process unit gives back the golden
// profiles byte for byte, both ways and through a copy into another session's pages; lines no
// page holds are listed and written back in their section; faulty JSON is named and refused.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "session/OfflineProfile.h"
#include "session/PageValues.h"

using namespace rtu;

namespace {

std::string Golden(const std::string& name)
{
    std::ifstream in(std::string(RTU_SOURCE_DATA_DIR) + "/../tests/e2e/golden/" + name, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

OpenedProfile Open(const std::string& text)
{
    OpenedProfile opened;
    std::string error;
    EXPECT_TRUE(OpenProfileText(text, nullptr, opened, error)) << error;
    return opened;
}

}  // namespace

TEST(OfflineProfile, GoldenProfilesComeBackByteForByteEveryWay)
{
    for (const char* name : {"default.profile", "empty.profile"}) {
        const std::string golden = Golden(name);
        ASSERT_FALSE(golden.empty()) << name;
        OpenedProfile opened = Open(golden);
        ASSERT_TRUE(opened.unit) << name;
        CSession& offline = opened.unit->Session();
        EXPECT_EQ(offline.ProfileText(), golden) << name;
        EXPECT_TRUE(opened.kept.empty()) << name << ": " << KeptLinesText(opened.kept);

        // Through the JSON export.
        OpenedProfile fromJson;
        std::vector<std::string> problems;
        ASSERT_TRUE(OpenJsonText(offline.ExportJsonText(), nullptr, fromJson, problems))
            << name << ": " << (problems.empty() ? "" : problems.front());
        EXPECT_EQ(fromJson.unit->Session().ProfileText(), golden) << name;
        EXPECT_EQ(fromJson.unit->Session().ExportJsonText(), offline.ExportJsonText()) << name;

        // Through a copy into the pages of a session with no unit behind it (the window's).
        CSession window([](std::string_view) { return true; }, [] { return Millis{0}; }, nullptr);
        CopyPageValues(offline, window);
        EXPECT_EQ(window.ProfileText(), golden) << name;
        EXPECT_TRUE(window.EditedPages().empty()) << name;
    }
}

TEST(OfflineProfile, JsonValuesAUnitWouldNotHoldAreNamed)
{
    // Two pages write the unit id; the later line is the one a unit keeps.
    OpenedProfile opened;
    std::vector<std::string> problems;
    ASSERT_TRUE(OpenJsonText(R"({"CPageMainParams": {"1019": "RTU-7", "1020": "49"}, "CDataParams": {"1053": "5"}})",
                             nullptr, opened, problems));
    ASSERT_EQ(opened.notHeld.size(), 2u);
    EXPECT_EQ(opened.notHeld[0], "CDataParams 1053 is given \"5\", but a unit holding the profile holds \"\"");
    EXPECT_EQ(opened.notHeld[1], "CPageMainParams 1019 is given \"RTU-7\", but a unit holding the profile holds \"\"");
    EXPECT_EQ(opened.unit->Session().Page("CPageMainParams")->TextOf(1020), "49");
}

TEST(OfflineProfile, LinesNoPageHoldsAreListedAndWrittenBackInTheirSection)
{
    const std::string text = "\\\\prepared at the desk\r\n"
                             "\r\n//Page Device Control phones\r\n%CS0+4917612345670\r\n%NOSUCHSETTING7\r\n"
                             "\r\n//Page Battery alarm\r\nleft here by hand\r\n"
                             "\r\n//Page Somebody else's\r\n%THEIRS1\r\n";
    OpenedProfile opened = Open(text);
    ASSERT_TRUE(opened.unit);
    ASSERT_EQ(opened.kept.size(), 4u) << KeptLinesText(opened.kept);
    EXPECT_EQ(opened.kept[0].number, 1u);
    EXPECT_EQ(opened.kept[0].header, "");
    EXPECT_EQ(opened.kept[1].number, 5u);
    EXPECT_EQ(opened.kept[1].text, "%NOSUCHSETTING7");
    EXPECT_EQ(opened.kept[2].number, 8u);
    EXPECT_EQ(opened.kept[3].header, "//Page Somebody else's");
    EXPECT_EQ(opened.unit->Session().Page("CPageServer")->CellText(ctl::kList, 0, 1), "+4917612345670");

    const std::string saved = WithKeptLines(opened.unit->Session().ProfileText(), opened.kept);
    EXPECT_TRUE(saved.starts_with("\\\\prepared at the desk\r\n"));
    const auto phones = saved.find("//Page Device Control phones");
    const auto kept = saved.find("%NOSUCHSETTING7\r\n");
    const auto next = saved.find("//Page", phones + 1);
    EXPECT_TRUE(phones < kept && kept < next) << saved;
    EXPECT_TRUE(saved.ends_with("\r\n//Page Somebody else's\r\n%THEIRS1\r\n")) << saved;
    // What was saved opens again to the same bytes and the same kept lines.
    OpenedProfile again = Open(saved);
    ASSERT_TRUE(again.unit);
    EXPECT_EQ(WithKeptLines(again.unit->Session().ProfileText(), again.kept), saved);
}

TEST(OfflineProfile, FaultyInputIsNamedAndNothingIsTaken)
{
    struct Case {
        const char* what;
        std::string text;
        bool json;
        const char* named;  // a part of the message
    };
    const Case cases[] = {
        {"binary bytes", std::string("\x7f" "ELF\x02\x01\x01\0\0\0", 10), false, "not a profile"},
        {"not JSON at all", "{ \"CPageMainParams\": ", true, "not valid JSON"},
        {"a list, not pages", "[1, 2, 3]", true, "not an object of pages"},
        {"a page that is a number", R"({"CPageMainParams": 5})", true, "not an object of control ids"},
        {"unknown page", R"({"CPageNoSuch": {}})", true, "unknown page \"CPageNoSuch\""},
        {"unknown control id", R"({"CPageMainParams": {"99999": "x"}})", true,
         "CPageMainParams: unknown control id \"99999\""},
        {"text given a number", R"({"CPageMainParams": {"1019": 4}})", true, "CPageMainParams 1019: a text"},
        {"check box given 2", R"({"CPageAlarmParams": {"1091": 2}})", true, "0 or 1 is expected, not 2"},
        {"list of the wrong shape", R"({"CPageServer": {"4001": [["No.0", "+49"]]}})", true, "rows, not 1"},
        {"a masked secret", R"({"CPageMainParams": {"1024": "********"}})", true, "mask"},
    };
    for (const Case& c : cases) {
        OpenedProfile opened;
        std::vector<std::string> problems;
        std::string error;
        bool ok = false;
        if (c.json) ok = OpenJsonText(c.text, nullptr, opened, problems);
        else if (!(ok = OpenProfileText(c.text, nullptr, opened, error))) problems.push_back(error);
        EXPECT_FALSE(ok) << c.what;
        std::string all;
        for (const std::string& p : problems) all += p + "\n";
        EXPECT_NE(all.find(c.named), std::string::npos) << c.what << ": " << all;
    }
}
