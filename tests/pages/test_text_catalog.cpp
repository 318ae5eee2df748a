#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>

#include "PageHarness.h"
#include "pages/framework/TextCatalog.h"
#include "pages/registry/PageRegistry.h"

namespace fs = std::filesystem;
using rtu::CTextCatalog;

namespace {

// A scratch directory of its own for each test, removed afterwards.
class TextCatalogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir_ = fs::temp_directory_path() / ("rtu_catalog_" + std::to_string(::getpid()) + "_" +
                                            ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }
    std::string Write(const std::string& name, const std::string& bytes)
    {
        fs::create_directories((dir_ / name).parent_path());
        std::ofstream(dir_ / name, std::ios::binary) << bytes;
        return (dir_ / name).string();
    }
    CTextCatalog LoadText(const std::string& bytes)
    {
        CTextCatalog c;
        EXPECT_TRUE(c.Load(Write("gsm.ini", bytes)));
        return c;
    }
    fs::path dir_;
};

struct Case {
    const char* name;
    std::string file, section, key, expected;
};

TEST_F(TextCatalogTest, LookupFollowsPrivateProfileRules)
{
    const std::string e = "\xC3\xA9", euro = "\xE2\x82\xAC", a253(253, 'a');
    const Case cases[] = {
        {"names ignore case", "[Buttons]\nSave=Save\n", "BUTTONS", "sAVE", "Save"},
        {"blanks around", "  [ Buttons ]  \n  Save  =   Keep it  \t\n", "Buttons", "Save", "Keep it"},
        {"CR LF, no newline at end", "[A]\r\nK=V\r\nL=W", "A", "L", "W"},
        {"quotes stripped", "[A]\nK=\" padded \"\n", "A", "K", " padded "},
        {"single quotes", "[A]\nK='x'\n", "A", "K", "x"},
        {"unbalanced quote kept", "[A]\nK=\"x\n", "A", "K", "\"x"},
        {"equals in value", "[A]\nK=a=b\n", "A", "K", "a=b"},
        {"comment line", "[A]\n;K=hidden\nK=shown\n", "A", "K", "shown"},
        {"first key wins", "[A]\nK=first\nk=second\n", "A", "K", "first"},
        {"repeated section adds keys", "[A]\nK=1\n[B]\nX=2\n[a]\nL=3\nK=4\n", "A", "L", "3"},
        {"repeated section keeps first", "[A]\nK=1\n[a]\nK=4\n", "A", "K", "1"},
        {"byte order mark", "\xEF\xBB\xBF[A]\nK=V\n", "A", "K", "V"},
        {"missing key", "[A]\nK=V\n", "A", "X", ""},
        {"missing section", "[A]\nK=V\n", "B", "K", ""},
        {"key before any section", "K=V\n[A]\n", "A", "K", ""},
        {"NUL ends text", std::string("[A]\nK=ab\0cd\n", 12), "A", "K", "ab"},
        {"300 characters", "[A]\nK=" + std::string(300, 'x'), "A", "K", std::string(254, 'x')},
        {"two-byte character across the cut", "[A]\nK=" + a253 + e + "z", "A", "K", a253},
        {"three-byte character across the cut", "[A]\nK=" + a253.substr(1) + euro, "A", "K", a253.substr(1)},
        {"character ends at the cut", "[A]\nK=" + a253.substr(2) + euro + "z", "A", "K", a253.substr(2) + euro},
        {"stray continuation bytes", "[A]\nK=" + a253.substr(3) + std::string(9, '\x80'), "A", "K",
         a253.substr(3) + std::string(4, '\x80')},
    };
    for (const Case& c : cases) EXPECT_EQ(LoadText(c.file).GetText(c.section, c.key), c.expected) << c.name;
}

TEST_F(TextCatalogTest, MissingFileGivesEmptyTexts)
{
    CTextCatalog cat;
    ASSERT_TRUE(cat.Load(Write("gsm.ini", "[Buttons]\nSave=Save\n")));
    EXPECT_FALSE(cat.Load((dir_ / "absent.ini").string()));  // also forgets the earlier file
    EXPECT_FALSE(cat.Loaded());
    EXPECT_EQ(cat.GetText("Buttons", "Save"), "");
}

TEST_F(TextCatalogTest, GarbageInputLeavesTheRestReadable)
{
    std::string binary;
    for (int i = 0; i < 4096; ++i) binary += static_cast<char>((i * 37) & 0xFF);
    const std::string huge(1 << 20, 'h');
    const CTextCatalog cat =
        LoadText(binary + "\n[Good]\nA=" + huge + "\n" + huge + "\n[Good]\nB=b\n[Broken\nC=c\n\xFF\xFE=\x01");
    EXPECT_EQ(cat.GetText("Good", "A"), std::string(254, 'h'));
    EXPECT_EQ(cat.GetText("Good", "B"), "b");
    EXPECT_EQ(cat.GetText("Good", "C"), "c");  // an unterminated header starts no section
}

TEST_F(TextCatalogTest, DefaultFileIsLookedUpInTheWorkingDirectoryFirst)
{
    const fs::path before = fs::current_path();
    Write("work/gsm.ini", "[version]\nWhere=work\n");
    Write("program/gsm.ini", "[version]\nWhere=program\n");
    Write("empty/readme.txt", "");
    CTextCatalog cat;
    fs::current_path(dir_ / "work");
    EXPECT_TRUE(cat.LoadDefault((dir_ / "program").string()));
    EXPECT_EQ(cat.GetText("version", "Where"), "work");
    fs::current_path(dir_ / "empty");
    EXPECT_TRUE(cat.LoadDefault((dir_ / "program").string()));
    EXPECT_EQ(cat.GetText("version", "Where"), "program");
    fs::current_path(before);
}

// The shipped texts.
TEST_F(TextCatalogTest, ShippedCatalogHasTheShellAndFormPageTexts)
{
    std::string merged;
    for (const char* part : {"/gsm.ini"}) {
        std::ifstream in(std::string(RTU_SOURCE_DATA_DIR) + part, std::ios::binary);
        merged.append(std::istreambuf_iterator<char>(in), {});
    }
    const CTextCatalog cat = LoadText(merged);
    EXPECT_EQ(cat.GetText("version", "SysTitle"), "");  // the built-in title stays
    const char* parities[] = {"0: None", "1: Odd", "2: Even", "3: Mask"};
    for (int i = 0; i < 4; ++i) EXPECT_EQ(cat.GetText("SYSCHAR", "PARITY" + std::to_string(i)), parities[i]);
    for (const char* key : {"SETUP", "RELOAD", "RESTART", "SAVE", "EXEC", "DEFAULTS", "RS232", "BPS", "PWD", "PARITY"})
        EXPECT_NE(cat.GetText("SYSBTN", key), "") << key;
    for (const rtu::PageInfo& page : rtu::PageTable())
        for (const char* key : {page.folderKey, page.itemKey, "TAB_MORE"})
            EXPECT_NE(key ? cat.GetText("TABS", key) : "-", "") << page.className;
    for (const char* key : {"Save", "Reset", "Ok", "CANCEL", "DEFAULT", "EDIT", "LOADF", "Apply", "DAY6", "YES"})
        EXPECT_NE(cat.GetText("Buttons", key) + cat.GetText("SysChar", key), "") << key;
}

}  // namespace
