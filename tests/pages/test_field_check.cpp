// Typed values against their rows' rules, the save that refuses them, and the rows a refused
// command line came from.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "PageHarness.h"
#include "pages/basic/PageMainParams.h"
#include "pages/framework/FieldBuilders.h"
#include "pages/framework/FieldCheck.h"

namespace {

using namespace rtu;
using P = CPageMainParams;

FieldDecl Row(FieldKind kind, CharRule chars = CharRule::Any, int maxLength = 0, int lo = 0, int hi = 0)
{
    FieldDecl f;
    f.id = 1;
    f.kind = kind;
    f.write.format = "%%X%s\r";
    f.chars = chars;
    f.maxLength = maxLength;
    f.minValue = lo;
    f.maxValue = hi;
    return f;
}

struct ValueCase {
    const char* name;
    FieldDecl row;
    const char* text;
    const char* reasonHas;  // nullptr: the value is fine
};

TEST(FieldCheck, ValuesAgainstTheirRowsRule)
{
    FieldDecl hidden = Row(FieldKind::Number, CharRule::Any, 0, 0, 36);
    hidden.visible = false;
    FieldDecl readOnly = Row(FieldKind::Text, CharRule::Digits);
    readOnly.readOnly = true;
    FieldDecl reportOnly = Row(FieldKind::Text, CharRule::Digits);
    reportOnly.write.reportOnly = true;
    const FieldDecl number = Row(FieldKind::Number, CharRule::Any, 0, 0, 36);
    const std::vector<ValueCase> cases = {
        {"number in range", number, "36", nullptr},
        {"number at the bottom", number, "0", nullptr},
        {"number above the range", number, "99", "out of range"},
        {"number below the range", number, "-1", "out of range"},
        {"number with letters", number, "1a", "from 0 to 36"},
        {"number with a blank", number, " 5", "from 0 to 36"},
        {"number far beyond int", number, "99999999999999999999", "from 0 to 36"},
        {"number not typed", number, "", nullptr},
        {"digits", Row(FieldKind::Text, CharRule::Digits), "86", nullptr},
        {"letters for digits", Row(FieldKind::Text, CharRule::Digits), "abc", "digits 0-9"},
        {"hex", Row(FieldKind::Text, CharRule::Hex), "00aF", nullptr},
        {"not hex", Row(FieldKind::Text, CharRule::Hex), "00G1", "hexadecimal"},
        {"length in characters, not bytes", Row(FieldKind::Text, CharRule::Any, 3), "\xC3\xA4\xC3\xB6\xC3\xBC",
         nullptr},
        {"too long", Row(FieldKind::Text, CharRule::Any, 3), "abcd", "At most 3"},
        {"editable drop-down follows its rule", Row(FieldKind::EditableCombo, CharRule::Digits), "x", "digits"},
        {"hidden rows are not the user's to mend", hidden, "99", nullptr},
        {"read-only rows neither", readOnly, "abc", nullptr},
        {"rows that write nothing neither", reportOnly, "abc", nullptr},
    };
    for (const ValueCase& c : cases) {
        FieldValue v;
        v.text = c.text;
        const std::string why = CheckFieldValue(c.row, v);
        if (!c.reasonHas) EXPECT_EQ(why, "") << c.name;
        else EXPECT_NE(why.find(c.reasonHas), std::string::npos) << c.name << ": " << why;
    }
}

class FieldCheckPage : public ::testing::Test {
protected:
    test::PageHarness h;
    CPageBase& page = h.Make(PageId::MainParams);
};

// The two values the unit refused before: nothing is sent, the message names each control
// and its reason; a mended page saves.
TEST_F(FieldCheckPage, SaveIsRefusedWhileAValueBreaksItsRule)
{
    page.SetText(P::kSignalLow, "99");
    page.SetText(P::kCountryCode, "abc");
    page.OnSaveClicked();
    EXPECT_TRUE(h.writes.empty());
    EXPECT_TRUE(h.posted.empty());  // not even the page's busy signal
    ASSERT_EQ(h.messages.size(), 1u);
    const std::string& m = h.messages[0];
    EXPECT_NE(m.find(CPageBase::kNotSaved), std::string::npos);
    EXPECT_NE(m.find("99 is out of range. Enter a whole number from 0 to 36."), std::string::npos) << m;
    EXPECT_NE(m.find("CCODE"), std::string::npos) << m;  // no catalog: the caption falls back to its key
    EXPECT_EQ(CheckPage(page).size(), 2u);

    page.SetText(P::kSignalLow, "36");
    page.SetText(P::kCountryCode, "86");
    page.OnSaveClicked();
    EXPECT_EQ(h.writes, std::vector<std::string>{"%STARTCMD\r"});
    EXPECT_EQ(h.messages.size(), 1u);
}

TEST_F(FieldCheckPage, RefusedLinesLeadBackToTheirRows)
{
    page.SetText(P::kCountryCode, "86");
    page.SetText(P::kBalanceNumber, "10086");
    page.SetText(P::kBalanceCode, "YE");
    constexpr LineMatch kExact = LineMatch::Exact;
    constexpr LineMatch kKeyword = LineMatch::Keyword;
    struct Case {
        const char* line;
        LineMatch match;
        std::vector<int> rows;
    };
    const std::vector<Case> cases = {
        {"%CC86\r", kExact, {P::kCountryCode}},
        {"%CC86", kExact, {P::kCountryCode}},         // without its carriage return
        {"%CC12\r", kExact, {}},                      // the value changed since ...
        {"%CC12\r", kKeyword, {P::kCountryCode}},     // ... but its keyword still names it
        {"%SPN+49\r", kKeyword, {P::kServicePhone}},  // "%SP" is the longest keyword that starts it
        {"%CHECKBALANCE10086,YE\r", kExact, {P::kBalanceNumber, P::kBalanceCode}},  // a composed line names both
        {"%STARTCMD\r", kKeyword, {}},
        {"", kKeyword, {}},
    };
    for (const Case& c : cases) {
        std::vector<int> ids;
        for (const FieldDecl* f : RowsOfLine(page, c.line, c.match)) ids.push_back(f->id);
        EXPECT_EQ(ids, c.rows) << c.line;
    }
}

TEST_F(FieldCheckPage, EveryRowHasACaptionTheUserKnows)
{
    // The threshold has no caption of its own: it sits beside the signal alarm box.
    EXPECT_EQ(FieldCaption(page, *page.FindField(P::kSignalLow)), "CSQ_ALARM");
    EXPECT_EQ(FieldCaption(page, *page.FindField(P::kCountryCode)), "CCODE");
    for (const FieldDecl& f : page.Fields()) EXPECT_FALSE(FieldCaption(page, f).empty()) << f.id;
}

}  // namespace
