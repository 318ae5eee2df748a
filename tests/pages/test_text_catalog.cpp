#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

#include "pages/framework/PageTable.h"
#include "pages/framework/TextCatalog.h"

namespace fs = std::filesystem;
using rtu::CTextCatalog;

namespace {

// A scratch directory of its own for each test, removed afterwards.
class TextCatalogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir_ = fs::temp_directory_path() /
               ("rtu_catalog_" + std::to_string(::getpid()) + "_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::string Write(const std::string& name, const std::string& bytes)
    {
        const fs::path p = dir_ / name;
        fs::create_directories(p.parent_path());
        std::ofstream(p, std::ios::binary) << bytes;
        return p.string();
    }
    CTextCatalog LoadText(const std::string& bytes)
    {
        CTextCatalog c;
        EXPECT_TRUE(c.Load(Write("gsm.ini", bytes)));
        return c;
    }

    fs::path dir_;
};

struct LookupCase {
    const char* name;
    std::string file;
    const char* section;
    const char* key;
    std::string expected;
};

TEST_F(TextCatalogTest, LookupFollowsPrivateProfileRules)
{
    const LookupCase cases[] = {
        {"plain", "[Buttons]\nSave=Save\n", "Buttons", "Save", "Save"},
        {"section case", "[Buttons]\nSave=Save\n", "BUTTONS", "Save", "Save"},
        {"key case", "[Buttons]\nSave=Save\n", "buttons", "SAVE", "Save"},
        {"blanks around", "  [ Buttons ]  \n  Save  =   Keep it  \t\n", "Buttons", "Save", "Keep it"},
        {"CR LF lines", "[A]\r\nK=V\r\nL=W\r\n", "A", "L", "W"},
        {"no newline at end", "[A]\nK=last", "A", "K", "last"},
        {"double quotes", "[A]\nK=\" padded \"\n", "A", "K", " padded "},
        {"single quotes", "[A]\nK='x'\n", "A", "K", "x"},
        {"unbalanced quote kept", "[A]\nK=\"x\n", "A", "K", "\"x"},
        {"equals in value", "[A]\nK=a=b\n", "A", "K", "a=b"},
        {"comment line", "[A]\n;K=hidden\nK=shown\n", "A", "K", "shown"},
        {"empty value", "[A]\nK=\n", "A", "K", ""},
        {"first key wins", "[A]\nK=first\nk=second\n", "A", "K", "first"},
        {"repeated section adds keys", "[A]\nK=1\n[B]\nX=2\n[a]\nL=3\nK=4\n", "A", "L", "3"},
        {"repeated section keeps first", "[A]\nK=1\n[a]\nK=4\n", "A", "K", "1"},
        {"byte order mark", "\xEF\xBB\xBF[A]\nK=V\n", "A", "K", "V"},
        {"UTF-8 text", "[A]\nK=Привет\n", "A", "K", "Привет"},
        {"missing key", "[A]\nK=V\n", "A", "X", ""},
        {"missing section", "[A]\nK=V\n", "B", "K", ""},
        {"key before any section", "K=V\n[A]\n", "A", "K", ""},
        {"key of another section", "[A]\nK=V\n[B]\n", "B", "K", ""},
        {"NUL ends text", std::string("[A]\nK=ab\0cd\n", 12), "A", "K", "ab"},
    };
    for (const LookupCase& c : cases) {
        const CTextCatalog cat = LoadText(c.file);
        EXPECT_EQ(cat.GetText(c.section, c.key), c.expected) << c.name;
    }
}

struct CutCase {
    const char* name;
    std::string text;
    std::string expected;
};

TEST_F(TextCatalogTest, LongTextsAreCutWithoutSplittingACharacter)
{
    const std::string e = "\xC3\xA9";         // é, two bytes
    const std::string euro = "\xE2\x82\xAC";  // €, three bytes
    const CutCase cases[] = {
        {"300 characters", std::string(300, 'x'), std::string(254, 'x')},
        {"exactly 254", std::string(254, 'y'), std::string(254, 'y')},
        {"two-byte character across the cut", std::string(253, 'a') + e + "zz", std::string(253, 'a')},
        {"three-byte character across the cut", std::string(252, 'a') + euro + "z", std::string(252, 'a')},
        {"character ends at the cut", std::string(251, 'a') + euro + "z", std::string(251, 'a') + euro},
        {"character starts after the cut", std::string(254, 'a') + e, std::string(254, 'a')},
        {"stray continuation bytes", std::string(250, 'a') + std::string(10, '\x80'),
         std::string(250, 'a') + std::string(4, '\x80')},
    };
    for (const CutCase& c : cases) {
        const CTextCatalog cat = LoadText("[S]\nK=" + c.text + "\n");
        const std::string got = cat.GetText("S", "K");
        EXPECT_LE(got.size(), CTextCatalog::kMaxText) << c.name;
        EXPECT_EQ(got, c.expected) << c.name;
    }
}

TEST_F(TextCatalogTest, MissingFileGivesEmptyTexts)
{
    CTextCatalog cat;
    EXPECT_FALSE(cat.Load((dir_ / "absent.ini").string()));
    EXPECT_FALSE(cat.Loaded());
    EXPECT_EQ(cat.GetText("Buttons", "Save"), "");

    // A failed load also forgets what an earlier one read.
    ASSERT_TRUE(cat.Load(Write("gsm.ini", "[Buttons]\nSave=Save\n")));
    EXPECT_FALSE(cat.Load((dir_ / "absent.ini").string()));
    EXPECT_EQ(cat.GetText("Buttons", "Save"), "");
}

TEST_F(TextCatalogTest, GarbageInputLeavesTheRestReadable)
{
    std::string binary;
    for (int i = 0; i < 4096; ++i) binary += static_cast<char>((i * 37) & 0xFF);
    const std::string huge(1 << 20, 'h');
    const CTextCatalog cat = LoadText(binary + "\n[Good]\nA=" + huge + "\n" + huge + "\n[Good]\nB=b\n[Broken\nC=c\n\xFF\xFE=\x01");
    EXPECT_EQ(cat.GetText("Good", "A"), std::string(254, 'h'));
    EXPECT_EQ(cat.GetText("Good", "B"), "b");
    // An unterminated header starts no section: its keys stay in the one before.
    EXPECT_EQ(cat.GetText("Good", "C"), "c");
    EXPECT_EQ(cat.GetText("Broken", "C"), "");
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
    EXPECT_EQ(fs::path(cat.Path()), dir_ / "program" / "gsm.ini");
    fs::current_path(before);
}

// The shell's own texts as the build merges the catalog fragments.
TEST(ShippedCatalog, ShellSectionsAreComplete)
{
    CTextCatalog cat;
    ASSERT_TRUE(cat.Load(RTU_SOURCE_DATA_DIR "/gsm.d/00-shell.ini"));
    EXPECT_EQ(cat.GetText("version", "SysTitle"), "");  // the built-in title stays
    const char* parities[] = {"0: None", "1: Odd", "2: Even", "3: Mask"};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(cat.GetText("SYSCHAR", "PARITY" + std::to_string(i)), parities[i]);
    for (const char* key : {"SETUP", "RELOAD", "RESTART", "SAVE", "EXEC", "DEFAULTS", "RS232", "BPS", "PWD", "PARITY"})
        EXPECT_NE(cat.GetText("SYSBTN", key), "") << key;
    for (const char* key : {"TAB_BASIC", "TAB_GPIO", "TAB_ADC", "TAB_DTU", "TAB_SENSOR", "TAB_OTHER", "TAB_MORE"})
        EXPECT_NE(cat.GetText("TABS", key), "") << key;
    for (const rtu::PageInfo& page : rtu::PageTable()) {
        if (page.folderKey) {
            EXPECT_NE(cat.GetText("TABS", page.folderKey), "") << page.className;
        }
        if (page.itemKey) {
            EXPECT_NE(cat.GetText("TABS", page.itemKey), "") << page.className;
        }
    }
    for (int d = 0; d < 7; ++d) EXPECT_NE(cat.GetText("SysChar", "DAY" + std::to_string(d)), "") << d;
    for (const char* key : {"Save", "SAVE", "Reset", "RESET", "Ok", "OK", "CANCEL", "DEFAULT", "EDIT", "LOADF", "Apply"})
        EXPECT_NE(cat.GetText("Buttons", key), "") << key;
}

}  // namespace
