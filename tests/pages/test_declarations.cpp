// The declaration rows of every built page, and the family tables, hold together: each
// input is written (or says why not), its write format takes the value it has, save and test
// orders have no twins, and the family formats take the arguments their pages give them.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

#include "PageHarness.h"
#include "pages/basic/PhoneListPage.h"
#include "pages/basic/PriorityGrid.h"
#include "pages/basic/TextTablePage.h"
#include "pages/framework/CommandFormat.h"

namespace rtu {
namespace {

std::string Where(const CPageBase& page, const FieldDecl& f)
{
    return std::string(page.ClassName()) + " " + std::to_string(f.id);
}

TEST(Declarations, EveryInputIsWrittenWithAFormatThatTakesItsValue)
{
    test::PageHarness h;
    for (const PageInfo& info : PageTable()) {
        if (!info.make) continue;
        CPageBase& page = h.Make(info.Id());
        std::set<int> saveOrders, scanOrders;
        for (const FieldDecl& f : page.Fields()) {
            if (!HoldsValue(f.kind) || f.kind == FieldKind::List) continue;
            const WriteDecl& w = f.write;
            EXPECT_TRUE(w.format || w.compose || w.partOf || w.reportOnly) << Where(page, f) << ": nothing writes it";
            if (w.partOf) {
                const FieldDecl* owner = page.FindField(w.partOf);
                EXPECT_TRUE(owner && owner->write.compose) << Where(page, f) << ": written by a row without a hook";
            }
            if (w.order) {
                EXPECT_TRUE(saveOrders.insert(w.order).second) << Where(page, f) << ": save order twice";
            }
            if (f.report.key && f.report.order) {
                EXPECT_TRUE(scanOrders.insert(f.report.order).second) << Where(page, f);
            }
            if (!w.format) continue;
            const std::string conv = ConversionsOf(w.format);
            const bool number = f.kind == FieldKind::Check || HoldsSelection(f.kind);
            EXPECT_TRUE(conv == "s" || conv == "d") << Where(page, f) << ": " << w.format;
            if (number) {
                EXPECT_EQ(conv, "d") << Where(page, f);
            }
            EXPECT_TRUE(page.WriteLine(f).has_value() || HoldsSelection(f.kind)) << Where(page, f);
        }
    }
}

// A text whose report or command names a password, a PIN or a PUK is declared secret, and
// only such texts are: the window, the archives and masked exports all go by that mark.
TEST(Declarations, PasswordsAndPinsAreDeclaredSecret)
{
    test::PageHarness h;
    const auto namesSecret = [](std::string_view key) {
        return key.find("PWD") != std::string_view::npos || key == "%PIN" || key == "%PUK";
    };
    for (const PageInfo& info : PageTable()) {
        if (!info.make) continue;
        CPageBase& page = h.Make(info.Id());
        for (const FieldDecl& f : page.Fields()) {
            if (!HoldsText(f.kind)) continue;
            const std::string written = f.write.format ? FormatKey(f.write.format) : "";
            const bool secret = namesSecret(written) || (f.handlerKey && namesSecret(f.handlerKey)) ||
                                (f.report.key && namesSecret(f.report.key));
            EXPECT_EQ(f.secret, secret) << Where(page, f);
        }
    }
}

TEST(Declarations, FamilyFormatsTakeTheirArguments)
{
    for (const TextTableDecl& t : TextTables())
        EXPECT_EQ(ConversionsOf(t.rowCommand), t.unitRow ? "dss" : "ds") << NavIdOf(t.page);
    for (const PhoneListDecl& l : PhoneLists()) {
        EXPECT_EQ(ConversionsOf(l.rowCommand), "ds") << NavIdOf(l.page);
        if (l.profileRow) {
            EXPECT_EQ(ConversionsOf(l.profileRow), "ds") << NavIdOf(l.page);
        }
    }
    for (const PriorityGridShape& g : PriorityTables()) {
        EXPECT_EQ(ConversionsOf(g.rowCommand), "d" + std::string(g.maskArgs.size(), 'x')) << NavIdOf(g.page);
        for (int table : g.maskArgs) EXPECT_LT(static_cast<std::size_t>(table), g.tables.size()) << NavIdOf(g.page);
    }
}

TEST(Declarations, CommandFormatsRefuseWhatDoesNotFit)
{
    struct Case {
        const char* format;
        std::vector<CommandArg> args;
        std::optional<std::string> line;
    };
    const Case cases[] = {
        {"%%S%2.2d%s\r\n", {7LL, std::string("0041")}, "%S070041\r\n"},
        {"%%DINPRIO=%d,%4.4x,%4.4x\r", {3LL, 5LL, 0xABCDLL}, "%DINPRIO=3,0005,abcd\r"},
        {"%%CS%d%s\r", {3LL}, std::nullopt},                  // an argument missing
        {"%%CS%d\r", {3LL, std::string("x")}, std::nullopt},  // one too many
        {"%%UP%d\r", {std::string("2")}, std::nullopt},       // a text for a number
        {"%%ID%s\r", {2LL}, std::nullopt},                    // a number for a text
        {"%%X%n\r", {2LL}, std::nullopt},                     // a conversion that is not taken
        {"%%X%123456789012345678d\r", {2LL}, std::nullopt},   // a conversion too long
        {"%%PREVSMS1\r", {}, "%PREVSMS1\r"},
    };
    for (const Case& c : cases) EXPECT_EQ(FormatCommand(c.format, c.args), c.line) << c.format;
}

}  // namespace
}  // namespace rtu
