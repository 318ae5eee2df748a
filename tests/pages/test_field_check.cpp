// Typed values against their rows' rules, the save that refuses them, and the rows a refused
// command line came from.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "PageHarness.h"
#include "pages/basic/PageMainParams.h"
#include "pages/framework/ComposedLines.h"
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
    const char* refusedHas;  // nullptr: the value may go
    const char* hintHas;     // nullptr: no hint at the field
};

FieldDecl Composed(FieldDecl f)
{
    f.write = {.partOf = 9};
    return f;
}

FieldDecl Written(FieldDecl f, const char* format)
{
    f.write.format = format;
    return f;
}

// Framing is refused, whatever the row; what the unit may refuse is only a hint.
TEST(FieldCheck, FramingIsRefusedRangesAndCharactersAreHints)
{
    FieldDecl hidden = Row(FieldKind::Number, CharRule::Any, 0, 0, 36);
    hidden.visible = false;
    const std::string longText(151, 'w');
    FieldDecl hiddenEncoded = Written(Row(FieldKind::Text), "%%X%s\r");
    hiddenEncoded.visible = false;
    hiddenEncoded.report.decode = Decode::Hex;
    FieldDecl readOnly = Row(FieldKind::Text, CharRule::Digits);
    readOnly.readOnly = true;
    FieldDecl reportOnly = Row(FieldKind::Text, CharRule::Digits);
    reportOnly.write.reportOnly = true;
    FieldDecl encoded = Row(FieldKind::Text);
    encoded.report.decode = Decode::Hex;
    FieldDecl encodedLines = Row(FieldKind::MultiLine);
    encodedLines.encoded = true;
    const FieldDecl number = Row(FieldKind::Number, CharRule::Any, 0, 0, 36);
    const FieldDecl whole = Written(Row(FieldKind::Number, CharRule::Any, 0, 0, 36), "%%X%d\r");
    const FieldDecl middle = Written(Row(FieldKind::Text), "%%X%s,1\r");
    const FieldDecl decimal = Row(FieldKind::Text, CharRule::Decimal);
    FieldDecl noSeparator = Composed(Row(FieldKind::Text));
    noSeparator.separators = "";
    const std::vector<ValueCase> cases = {
        {"number in range", number, "36", nullptr, nullptr},
        {"number above the range goes, with a hint", number, "99", nullptr, "0 to 36"},
        {"number below the range too", number, "-1", nullptr, "0 to 36"},
        {"a number the unit reported beyond a guessed range", number, "70000", nullptr, "may refuse"},
        {"number not typed", number, "", nullptr, nullptr},
        {"a text where a whole number is written", whole, "a,b", "whole number", nullptr},
        {"its leading number goes as the unit reported it", whole, "12x", nullptr, nullptr},
        {"a negative whole number", whole, "-3", nullptr, "0 to 36"},
        {"digits", Row(FieldKind::Text, CharRule::Digits), "86", nullptr, nullptr},
        {"letters for digits", Row(FieldKind::Text, CharRule::Digits), "08:00", nullptr, "digits 0-9"},
        {"phone", Row(FieldKind::Text, CharRule::Phone), "+4917612345670", nullptr, nullptr},
        {"phone with a plus inside", Row(FieldKind::Text, CharRule::Phone), "49+11", nullptr, "one \"+\""},
        {"a lone plus", Row(FieldKind::Text, CharRule::Phone), "+", nullptr, "one \"+\""},
        {"hex", Row(FieldKind::Text, CharRule::Hex), "00aF", nullptr, nullptr},
        {"not hex", Row(FieldKind::Text, CharRule::Hex), "00G1", nullptr, "hexadecimal"},
        {"decimals as the unit reports them", decimal, "0.0000", nullptr, nullptr},
        {"a negative decimal", decimal, "-3", nullptr, nullptr},
        {"a decimal comma", decimal, "0,5", nullptr, "such as"},
        {"length in characters, not bytes", Row(FieldKind::Text, CharRule::Any, 3), "\xC3\xA4\xC3\xB6\xC3\xBC",
         nullptr, nullptr},
        {"too long", Row(FieldKind::Text, CharRule::Any, 3), "abcd", "At most 3", nullptr},
        {"carriage return", Row(FieldKind::Text), "x\ry", "line break", nullptr},
        {"line feed", Row(FieldKind::MultiLine), "x\ny", "line break", nullptr},
        {"line feed in a hex-encoded text", encoded, "x\ny", "line break", nullptr},
        {"a tab", Row(FieldKind::Text), "x\ty", "control characters", nullptr},
        {"a tab in a hex-encoded text", encoded, "x\ty", nullptr, nullptr},
        {"lines of a hex-encoded message", encodedLines, "x\r\ny", nullptr, nullptr},
        {"a comma at the end of its line", Row(FieldKind::Text), "a,b", nullptr, nullptr},
        {"a comma in a composed line", Composed(Row(FieldKind::Text)), "0,5", "\",\"", nullptr},
        {"a comma before the next value", middle, "a,b", "\",\"", nullptr},
        {"a comma where the row says none ends it", noSeparator, "a,b", nullptr, nullptr},
        {"a comma in a hex-encoded text", Composed(encoded), "a,b", nullptr, nullptr},
        {"editable drop-down: a hint too", Row(FieldKind::EditableCombo, CharRule::Digits), "x", nullptr, "digits"},
        {"a hex-encoded text that would come back cut", encoded, longText.c_str(), "At most 150", nullptr},
        {"hidden rows are not the user's to mend", hidden, "99", nullptr, nullptr},
        {"but a line break would still cut their line", hidden, "x\ny", "line break", nullptr},
        {"and a hex-encoded one would come back cut", hiddenEncoded, longText.c_str(), "At most 150", nullptr},
        {"read-only rows neither", readOnly, "x\ny", nullptr, nullptr},
        {"rows that write nothing neither", reportOnly, "x\ny", nullptr, nullptr},
    };
    for (const ValueCase& c : cases) {
        FieldValue v;
        v.text = c.text;
        const std::string why = CheckFieldValue(c.row, v);
        if (!c.refusedHas) EXPECT_EQ(why, "") << c.name;
        else EXPECT_NE(why.find(c.refusedHas), std::string::npos) << c.name << ": " << why;
        if (c.refusedHas) continue;
        const std::string hint = ValueHint(c.row, c.text);
        if (!c.hintHas) EXPECT_EQ(hint, "") << c.name;
        else EXPECT_NE(hint.find(c.hintHas), std::string::npos) << c.name << ": " << hint;
    }
}

// A strict row refuses what breaks its character rule, in words that say what to enter; a
// value kept to its rule goes.
TEST(FieldCheck, StrictRowsRefuseWhatBreaksTheirRule)
{
    auto strict = [](CharRule rule) {
        FieldDecl f = Row(FieldKind::Text, rule);
        f.strict = true;
        return f;
    };
    const struct {
        CharRule rule;
        const char* text;
        const char* refusedHas;  // nullptr: the value goes
    } cases[] = {
        {CharRule::Digits, "12", nullptr},
        {CharRule::Digits, "1a", "Enter digits 0-9 only."},
        {CharRule::Phone, "+4917612345670", nullptr},
        {CharRule::Phone, "+49 176",
         "A phone number holds digits only, with one optional \"+\" in front (no spaces or other signs)."},
        {CharRule::Hex, "00aF", nullptr},
        {CharRule::Hex, "0G", "Enter hexadecimal digits (0-9, A-F) only."},
        {CharRule::Decimal, "-0.5", nullptr},
        {CharRule::Decimal, "0,5", "Enter a number such as 10, -3 or 0.5."},
        {CharRule::Any, "x y", nullptr},
    };
    for (const auto& c : cases) {
        const FieldDecl row = strict(c.rule);
        const std::string why = CheckTypedValue(row, c.text);
        if (!c.refusedHas) EXPECT_EQ(why, "") << c.text;
        else EXPECT_EQ(why, c.refusedHas) << c.text;
        EXPECT_EQ(ValueHint(row, c.text), "") << c.text << ": a strict row refuses, it does not hint";
    }
}

class FieldCheckPage : public ::testing::Test {
protected:
    test::PageHarness h;
    CPageBase& page = h.Make(PageId::MainParams);
};

constexpr char kPairLine[] = "%%PAIR%s,%s\r";
constexpr char kNumberLine[] = "%%PAIR%d,%s\r";

// A line of several texts: each goes up to its first line break; a format that does not take
// texts gives no line rather than a wrong one.
TEST_F(FieldCheckPage, LineOfSeveralTextsCutsEachAtItsLineBreak)
{
    page.SetText(P::kSignalLow, "12\r%COMMITCMD");
    page.SetText(P::kCountryCode, "50%");
    std::string line = "old";
    EXPECT_TRUE((WriteTexts<kPairLine, P::kSignalLow, P::kCountryCode>(page, line)));
    EXPECT_EQ(line, "%PAIR12,50%\r");
    line = "old";
    EXPECT_FALSE((WriteTexts<kNumberLine, P::kSignalLow, P::kCountryCode>(page, line)));
    EXPECT_EQ(line, "old");
}

constexpr char kChecksLine[] = "%CHECKS";
constexpr int kChecks[] = {P::kDas, P::kTscs, P::kTssp};

// A line of check boxes: a digit per box, in the order of its ids.
TEST_F(FieldCheckPage, LineOfCheckBoxesHasADigitPerBox)
{
    page.SetCheck(P::kDas, false);
    page.SetCheck(P::kTscs, true);
    page.SetCheck(P::kTssp, false);
    std::string line;
    EXPECT_TRUE((WriteChecks<kChecksLine, kChecks>(page, line)));
    EXPECT_EQ(line, "%CHECKS010\r");
}

// Two values that would break their lines: nothing is sent, the message names each control
// and its reason; a mended page saves.
TEST_F(FieldCheckPage, SaveIsRefusedWhileAValueBreaksItsRule)
{
    page.SetText(P::kSignalLow, "9\r9");
    page.SetText(P::kCountryCode, "a\nbc");
    page.OnSaveClicked();
    EXPECT_TRUE(h.writes.empty());
    EXPECT_TRUE(h.posted.empty());  // not even the page's busy signal
    ASSERT_EQ(h.messages.size(), 1u);
    const std::string& m = h.messages[0];
    EXPECT_NE(m.find(CPageBase::kNotSaved), std::string::npos);
    EXPECT_NE(m.find("A value may not hold a line break."), std::string::npos) << m;
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
