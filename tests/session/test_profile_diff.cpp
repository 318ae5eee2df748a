// Comparing profiles section by section, by line key.
#include <gtest/gtest.h>

#include "link/ProfileReader.h"
#include "pages/registry/PageRegistry.h"
#include "session/ProfileDiff.h"
#include "session/Session.h"

using namespace rtu;

namespace {

CProfileLines Read(const std::string& text)
{
    CProfileLines lines;
    std::string error;
    EXPECT_TRUE(ReadProfileForDiff(text, lines, error)) << error;
    return lines;
}

// "kind key old|new" per differing line, sections in order, each introduced by "[caption]".
std::vector<std::string> Flat(const ProfileDiff& diff)
{
    std::vector<std::string> out;
    for (const DiffSection& s : diff.sections) {
        out.push_back("[" + s.caption + "]");
        for (const DiffLine& l : s.lines) {
            const char* kind = l.kind == DiffKind::Changed   ? "~"
                               : l.kind == DiffKind::OnlyNew ? "+"
                               : l.kind == DiffKind::Same    ? "="
                                                             : "-";
            out.push_back(std::string(kind) + " " + l.key + " " + l.OldValue() + "|" + l.NewValue());
        }
    }
    return out;
}

using V = std::vector<std::string>;

}  // namespace

TEST(ProfileDiff, LinesAreMatchedByTheirKey)
{
    const std::string phones = "\r\n//Page Device Control phones\r\n";
    struct Case {
        const char* name;
        std::string old, now;
        V expected;
    } cases[] = {
        {"equal", phones + "%CS0+491\r\n%CS1+492\r\n", phones + "%CS0+491\r\n%CS1+492\r\n", {}},
        {"order does not matter", phones + "%CS0+491\r\n%CS1+492\r\n", phones + "%CS1+492\r\n%CS0+491\r\n", {}},
        {"one indexed row changed",
         phones + "%CS0+491\r\n%CS1+492\r\n",
         phones + "%CS0+491\r\n%CS1+499\r\n",
         {"[Device Control phones]", "~ %CS1 +492|+499"}},
        {"a single index still keys on the other side's rows",
         phones + "%CS0+491\r\n%CS3+494\r\n",
         phones + "%CS3+400\r\n",
         {"[Device Control phones]", "~ %CS3 +494|+400", "- %CS0 +491|"}},
        {"two-digit indexes with values that start with digits",
         "//Page Rom Sms\r\n%S0000450069\r\n%S0100460065\r\n",
         "//Page Rom Sms\r\n%S0000450069\r\n%S0100470065\r\n",
         {"[Rom Sms]", "~ %S01 00460065|00470065"}},
        {"keyword with an index after '='",
         "//Page digital alarm prio table\r\n%DINPRIO=3,0001,0002\r\n%DINPRIO=4,0000,0000\r\n",
         "//Page digital alarm prio table\r\n%DINPRIO=3,0001,0003\r\n%DINPRIO=4,0000,0000\r\n",
         {"[digital alarm prio table]", "~ %DINPRIO=3, 0001,0002|0001,0003"}},
        {"only in one side",
         phones + "%CS0+491\r\n",
         phones + "%CS0+491\r\n%CS1+492\r\n",
         {"[Device Control phones]", "+ %CS1 |+492"}},
        {"a key written twice counts with its last line",
         phones + "%CS0+491\r\n",
         phones + "%CS0+400\r\n%CS1+492\r\n%CS0+491\r\n",
         {"[Device Control phones]", "+ %CS1 |+492"}},
        {"same line under another page is another setting",
         phones + "%UP1\r\n",
         "//Page Other\r\n%UP1\r\n",
         {"[Other]", "+ %UP |1", "[Device Control phones]", "- %UP 1|"}},
        {"notes, repeats and lines before a header", "%UP1\r\n\\\\note\r\n", "%UP1\r\n%UP1\r\n\\\\other\r\n", {}},
    };
    const CProfileDiffer differ;
    for (const Case& c : cases) EXPECT_EQ(Flat(differ.Compare(Read(c.old), Read(c.now))), c.expected) << c.name;
}

TEST(ProfileDiff, PagesGiveCaptionsAndDeclaredKeys)
{
    // A page's rows name their command, so a value that begins with letters stays a value.
    CSession session([](std::string_view) { return true; }, [] { return Millis{0}; }, nullptr);
    const CProfileDiffer differ(PageSectionInfo(session.Registry(), session.Pages(), nullptr));
    const std::string main = "\r\n//Page System Main Params\r\n";
    const ProfileDiff diff = differ.Compare(Read(main + "%IDRTU-0001\r\n%UP0\r\n"), Read(main + "%IDX9\r\n%UP1\r\n"));
    EXPECT_EQ(Flat(diff), (V{"[System Main Params]", "~ %ID RTU-0001|X9", "~ %UP 0|1"}));
    ASSERT_EQ(diff.sections.size(), 1u);
    EXPECT_EQ(diff.sections[0].page, "CPageMainParams");
    EXPECT_EQ(diff.Count(), 2);
}

TEST(ProfileDiff, EqualLinesOnlyWhenAskedFor)
{
    const std::string phones = "//Page Device Control phones\r\n";
    const auto unit = Read(phones + "%CS0+491\r\n%CS1+492\r\n");
    const CProfileDiffer differ;
    const ProfileDiff same = differ.Compare(unit, Read(phones + "%CS0+491\r\n%CS1+492\r\n"), true);
    EXPECT_TRUE(same.Equal());  // equal lines listed are no difference
    EXPECT_EQ(Flat(same), (V{"[Device Control phones]", "= %CS0 +491|+491", "= %CS1 +492|+492"}));
    const ProfileDiff one = differ.Compare(unit, Read(phones + "%CS0+491\r\n%CS1+499\r\n"), true);
    EXPECT_EQ(one.Count(), 1);
}
