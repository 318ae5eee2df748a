// Command lines against the default image: acknowledgements, dumps, and every write
// command of the basic settings pages changing the report a later dump shows.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <span>
#include <string>
#include <vector>

#include "SimHarness.h"
#include "sim/core/SimCommandTable.h"
#include "sim/core/SimSensors.h"

namespace rtu::test {
namespace {

using Lines = std::vector<std::string>;

struct SAckCase {
    const char* name;
    std::string input;
    Lines expected;
};

TEST(SimCommands, AnswersEachCommandLine)
{
    const std::vector<SAckCase> cases{
        {"framing start", "%STARTCMD\r", {"CMD OK"}},
        {"framing end with CR LF", "%COMMITCMD\r\n", {"CMD OK"}},
        {"LF alone ends a line", "%STARTCMD\n", {"CMD OK"}},
        {"unknown keyword", "%FOO\r", {"CMD ERR"}},
        {"lone percent", "%\r", {"CMD ERR"}},
        {"unknown group dumps nothing", "%DUMP_NOSUCH\r", {"CMD OK"}},
        {"reload end marker", "%DUMPR\r", {"$DUMPR END", "CMD OK"}},
        {"two lines in one block", "%STARTCMD\r%FOO\r", {"CMD OK", "CMD ERR"}},
        {"empty lines are nothing", "\r\n\r\n%STARTCMD\r\n", {"CMD OK"}},
        {"free text is not for the unit", "hello\r", {}},
        {"parity out of range", "%UP5\r", {"CMD ERR"}},
        {"parity not a number", "%UPx\r", {"CMD ERR"}},
        {"flag other than 0/1", "%DAS2\r", {"CMD ERR"}},
        {"empty flag", "%DAS\r", {"CMD ERR"}},
        {"priority row beyond the phones", "%DINPRIO=10,0001,0000\r", {"CMD ERR"}},
        {"priority with one mask missing", "%DINPRIO=3,0005\r", {"CMD ERR"}},
        {"priority mask not hex", "%BASEPRIO=1,00G0\r", {"CMD ERR"}},
        {"priority mask longer than 8 digits", "%BASEPRIO=1,123456789\r", {"CMD ERR"}},
        {"ROM message beyond 29", "%S30\r\n", {"CMD ERR"}},
        {"hex text not in groups of four", "%S00041\r\n", {"CMD ERR"}},
        {"SOS phone beyond the one the unit has", "%SOS1+49\r", {"CMD ERR"}},
        {"hex text with a non-hex digit", "%A00004X\r\n", {"CMD ERR"}},
        {"name row beyond 3", "%I04\r\n", {"CMD ERR"}},
        {"analog drops need four digits", "%AINDRP10\r", {"CMD ERR"}},
        {"balance check without its code", "%CHECKBALANCE123\r", {"CMD ERR"}},
        {"text with a control byte", std::string("%ID\x01x\r"), {"CMD ERR"}},
        {"empty text is a value", "%SP\r", {"CMD OK"}},
        {"keywords are case-sensitive", "%MODEMFWDSPAN5\r", {"CMD ERR"}},
    };
    for (const auto& c : cases) {
        CSimHarness sim;
        EXPECT_EQ(sim.Exchange(c.input), c.expected) << c.name;
    }
}

// The image keeps "key value"; the unit prints the MMS settings without the blank.
Lines AsPrinted(Lines lines)
{
    for (std::string& line : lines)
        if (line.starts_with("$MMS_") && line.size() > 8 && line[8] == ' ') line.erase(8, 1);
    return lines;
}

TEST(SimCommands, DumpsPrintTheirGroup)
{
    const CSimImage image = DefaultImage();
    ASSERT_GT(image.Size(), 0u);
    const std::vector<std::pair<std::string, std::string>> cases{
        {"%DUMP_SYS\r", "DUMP_SYS"}, {"%DUMP_ROMSMS\r", "DUMP_ROMSMS"}, {"%DUMP_PHONE\r", "DUMP_PHONE"},
        {"%DUMP_ADS\r", "DUMP_ADS"}, {"%DUMP_GPIO\r", "DUMP_GPIO"},     {"%DUMP_PRIOTB\r", "DUMP_PRIOTB"},
        {"%E99?\r", "E99?"},         {"%DUMP_MMS\r", "DUMP_MMS"},
    };
    for (const auto& [command, group] : cases) {
        CSimHarness sim;
        Lines expected = AsPrinted(image.GroupLines(group));
        EXPECT_FALSE(expected.empty()) << group;
        expected.push_back("CMD OK");
        EXPECT_EQ(sim.Exchange(command), expected) << command;
    }
    CSimHarness sim;
    // Each external sensor's stored settings print as one line.
    Lines all = AsPrinted(CSimSensors::Present(image.AllLines()));
    all.push_back("CMD OK");
    EXPECT_EQ(sim.Exchange("%DUMPS\r"), all);
}

// One write command and the report lines a later dump of its group must show.
struct SWriteCase {
    std::string command;
    std::string group;
    Lines reports;
};

std::vector<SWriteCase> WriteCases()
{
    return {
        // Control and SOS phones
        {"%CS3+4912345\r", "DUMP_PHONE", {"$CS3 +4912345"}},
        {"%CS4\r", "DUMP_PHONE", {"$CS4 "}},
        {"%CS012345\r", "DUMP_PHONE", {"$CS0 12345"}},
        {"%SOS0+4999\r", "DUMP_PHONE", {"$SOS0 +4999"}},
        // System main parameters (command keyword and report key differ for several)
        {"%UP2\r", "DUMP_SYS", {"$PARITY 2"}},
        {"%MODEMSMSMD0\r", "DUMP_SYS", {"$MODEMSMODE 0"}},
        {"%CC7\r", "DUMP_SYS", {"$CC 7"}},
        {"%IDUNIT 9\r", "DUMP_SYS", {"$DID UNIT 9"}},
        {"%DAS0\r", "DUMP_SYS", {"$DAS 0"}},
        {"%UB19200\r", "DUMP_SYS", {"$BPS 19200"}},
        {"%DESC00410042\r", "DUMP_SYS", {"$DESC 00410042"}},
        {"%DESCd83dde00\r", "DUMP_SYS", {"$DESC D83DDE00"}},
        {"%DESC\r", "DUMP_SYS", {"$DESC "}},
        {"%PRTCS1\r", "DUMP_SYS", {"$PRTCS 1"}},
        {"%PRTSP0\r", "DUMP_SYS", {"$PRTSP 0"}},
        {"%SP+4930111\r", "DUMP_SYS", {"$SPN +4930111"}},
        {"%PIN0000\r", "DUMP_SYS", {"$PINC 0000"}},
        {"%SIGNALA0\r", "DUMP_SYS", {"$SIGNALA 0"}},
        {"%RPLERR0\r", "DUMP_SYS", {"$RPLERR 0"}},
        {"%RPLSUC0\r", "DUMP_SYS", {"$RPLSUC 0"}},
        {"%RSILOW12\r", "DUMP_SYS", {"$CSQLOW 12"}},
        {"%SMSC+4917\r", "DUMP_SYS", {"$SMSC +4917"}},
        {"%PUK87654321\r", "DUMP_SYS", {"$PUKC 87654321"}},
        {"%CBAND2\r", "DUMP_SYS", {"$GSMBAND 2"}},
        {"%FWDSMS1\r", "DUMP_SYS", {"$FWDSMS 1"}},
        {"%FWDKEY0041\r", "DUMP_SYS", {"$FWDKEY 0041"}},
        {"%modemfwdspan012\r", "DUMP_SYS", {"$MODEM_FWDSPAN 12"}},
        {"%CHECKBALANCE5555,*101#\r", "DUMP_SYS", {"$CKBSP 5555", "$CKBCD *101#"}},
        {"%CHECKBALANCE,\r", "DUMP_SYS", {"$CKBSP ", "$CKBCD "}},
        // System alarm parameters
        {"%SNDALARMDLYEN1\r", "DUMP_SYS", {"$SNDALARMDLY 1"}},
        {"%OUTDLY60\r", "DUMP_SYS", {"$OUTDLY 60"}},
        {"%INDLY15\r", "DUMP_SYS", {"$INDLY 15"}},
        {"%IOAT5\r", "DUMP_SYS", {"$IAT 5"}},
        {"%ARING0\r", "DUMP_SYS", {"$AR 0"}},
        {"%ASC1\r", "DUMP_SYS", {"$ATA 1"}},
        {"%AWB0\r", "DUMP_SYS", {"$AWB 0"}},
        {"%UARTEVENT1\r", "DUMP_SYS", {"$UARTEVENT 1"}},
        {"%DRPTMP0\r", "DUMP_SYS", {"$DRPTMP 0"}},
        {"%DRPTID1\r", "DUMP_SYS", {"$DRPTID 1"}},
        {"%DRPDEF1\r", "DUMP_SYS", {"$DRPDEF 1"}},
        {"%DRPRSI0\r", "DUMP_SYS", {"$DRPRSI 0"}},
        {"%DRPDIN1\r", "DUMP_SYS", {"$DRPDIN 1"}},
        {"%DRPMEM1\r", "DUMP_SYS", {"$DRPMEM 1"}},
        {"%DRPBAT1\r", "DUMP_SYS", {"$DRPBAT 1"}},
        {"%DRPETMP0\r", "DUMP_SYS", {"$DRPETP 0"}},
        {"%DINCDRP0\r", "DUMP_SYS", {"$DRPCNT 0"}},
        {"%AINDRP1010\r", "DUMP_ADS", {"$AINDRP0 1", "$AINDRP1 0", "$AINDRP2 1", "$AINDRP3 0"}},
        // Indexed text tables (row editors end their lines with CR LF)
        {"%S1200410042\r\n", "DUMP_ROMSMS", {"$SMS12 00410042"}},
        {"%S090048006900230056\r\n", "DUMP_ROMSMS", {"$SMS09 0048006900230056"}},
        {"%S00\r\n", "DUMP_ROMSMS", {"$SMS00 "}},
        {"%adsmsheaden0\r", "DUMP_ROMSMS", {"$AINSMH 0"}},
        {"%A020041\r\n", "DUMP_ADS", {"$ADNAME2 0041"}},
        {"%I03d83dde00\r\n", "DUMP_GPIO", {"$DINAME3 D83DDE00"}},
        {"%O000042\r\n", "DUMP_GPIO", {"$DONAME0 0042"}},
        {"%E050042\r\n", "E99?", {"$ISNAME5: 0042"}},
        // Alarm priority tables: row r is entry r + 8
        {"%DINPRIO=3,0005,0000\r", "DUMP_PRIOTB", {"$PRIODINSMS11 0005", "$PRIODINRING11 0000"}},
        {"%DINPRIO=0,000f,0002\r", "DUMP_PRIOTB", {"$PRIODINSMS08 000F", "$PRIODINRING08 0002"}},
        {"%AINPRIO=9,000c,000c\r", "DUMP_PRIOTB", {"$PRIOAINSMS17 000C"}},
        {"%BASEPRIO=9,ffff\r", "DUMP_PRIOTB", {"$PRIOSYS17 FFFF"}},
        {"%BASEPRIO=2,12345\r", "DUMP_PRIOTB", {"$PRIOSYS10 00012345"}},
        {"%WINPRIO=1,0abc,1\r", "DUMP_PRIOTB", {"$PRIOWINSMS09 0ABC", "$PRIOWINRING09 0001"}},
        // MMS and camera: the value right after the code letters
        {"%MMSChttp://m.example/mms,8002\r", "DUMP_MMS", {"$MMS_SCUhttp://m.example/mms", "$MMS_SCP8002"}},
        {"%MMSPXY\r", "DUMP_MMS", {"$MMS_PXY"}},
        {"%DSCFMT3,6,5\r", "DUMP_MMS", {"$MMS_PSZ3", "$MMS_PBR6", "$MMS_PWB5"}},
        {"%MMST1440\r", "DUMP_MMS", {"$MMS_PTR1440"}},
        {"%MMSSMSNT1\r", "DUMP_MMS", {"$MMSSMSRP 1"}},
    };
}

TEST(SimCommands, WritesShowInTheNextDumpOfTheirGroup)
{
    for (const auto& c : WriteCases()) {
        for (bool emptyUnit : {false, true}) {
            CSimHarness sim(FastOptions(), emptyUnit ? CSimImage{} : DefaultImage());
            EXPECT_EQ(sim.Exchange(c.command), Lines{"CMD OK"}) << c.command;
            const std::string dump = c.group == "E99?" ? "%E99?\r" : "%" + c.group + "\r";
            const Lines after = sim.Exchange(dump);
            for (const auto& report : c.reports) {
                const std::string key = std::string(CSimImage::KeyOf(report));
                const auto count = std::count_if(
                    after.begin(), after.end(), [&](const std::string& line) { return CSimImage::KeyOf(line) == key; });
                EXPECT_EQ(count, 1) << c.command << " key " << key;
                EXPECT_NE(std::find(after.begin(), after.end(), report), after.end())
                    << c.command << " should show " << report << (emptyUnit ? " (empty unit)" : "");
            }
        }
    }
}

TEST(SimCommands, RefusedWritesLeaveTheImageAlone)
{
    CSimHarness sim;
    const Lines before = sim.Exchange("%DUMPS\r");
    for (const char* bad : {"%UP9\r", "%DSCFMT1,7,2\r", "%DSCFMT1,2\r", "%CHECKBALANCE1\r", "%DINPRIO=3,0005\r",
                            "%S00041\r\n", "%AINDRP12\r", "%S090048006900230056000\r\n", "%CS\r", "%SOSx1\r"})
        EXPECT_EQ(sim.Exchange(bad), Lines{"CMD ERR"}) << bad;
    EXPECT_EQ(sim.Exchange("%DUMPS\r"), before);
}

TEST(SimCommands, DefaultsAndPresetMessagesRestoreTheFactoryImage)
{
    CSimHarness sim;
    const Lines factory = sim.Exchange("%DUMPS\r");
    sim.Exchange("%CS1+1\r");
    sim.Exchange("%S020041\r\n");
    sim.Exchange("%S200041\r\n");
    EXPECT_EQ(sim.Exchange("%PREVSMS1\r"), Lines{"CMD OK"});
    // Messages 0-7 come back, the others stay as written.
    EXPECT_EQ(sim.unit.Image().Value("$SMS02"), DefaultImage().Value("$SMS02"));
    EXPECT_EQ(sim.unit.Image().Value("$SMS20"), std::string("0041"));
    EXPECT_EQ(sim.Exchange("%ATF\r"), Lines{"CMD OK"});
    EXPECT_EQ(sim.Exchange("%DUMPS\r"), factory);
}

// The report keys a rule writes to its first `rows` rows; a list item's report is one only
// where the rule makes it.
std::vector<std::pair<std::string, const SSimField*>> ReportKeys(const SSimRule& rule, int rows)
{
    std::vector<std::pair<std::string, const SSimField*>> keys;
    for (int row = 0; row < rows; ++row)
        for (const SSimField& field : rule.fields) {
            const int entry = row + rule.row.base + field.offset;
            if (!field.key.empty() && !field.join)
                keys.emplace_back(CSimCommandTable::ExpandKey(field.key, entry, rule.row.keyDigits), &field);
            if (!field.list.empty() && field.creates)
                keys.emplace_back(CSimCommandTable::ExpandKey(field.list, entry, rule.row.keyDigits), nullptr);
        }
    return keys;
}

// The default image holds the first row of every report a write command reaches, and every
// row of the system settings, already in the form the unit stores (so writing it back
// changes nothing).
TEST(SimCommands, DefaultImageHoldsEveryReportTheWriteCommandsReach)
{
    const CSimImage image = DefaultImage();
    auto check = [&](const SSimRule& rule, int rows, bool stored) {
        for (const auto& [key, field] : ReportKeys(rule, rows)) {
            const auto line = image.Line(key);
            ASSERT_TRUE(line.has_value()) << key;
            EXPECT_EQ(line->substr(0, key.size() + 1), key + " ") << key;  // the value after one blank
            if (stored && field) {
                EXPECT_EQ(CSimCommandTable::NormaliseValue(*field, line->substr(key.size() + 1)),
                          line->substr(key.size() + 1))
                    << key;
            }
        }
    };
    for (const SSimRule& rule : CSimCommandTable::Rules()) check(rule, 1, false);
    for (const SSimRule& rule : SystemRules())
        check(rule, rule.row.form == ESimRowForm::None ? 1 : rule.row.max + 1, true);
}

// One value kind serves every area; each stores a value as the unit keeps it, or refuses it.
TEST(SimCommands, ValueKindsStoreWhatTheUnitKeeps)
{
    using K = ESimValueKind;
    const struct {
        SSimField field;
        const char* text;
        const char* stored;  // nullptr: refused
    } cases[] = {
        {{.kind = K::Number, .max = 59}, "007", "7"},
        {{.kind = K::Number, .max = 59, .length = 2}, "007", nullptr},  // at most two digits
        {{.kind = K::Digits, .max = 59}, "07", "07"},                   // timers keep the digits as written
        {{.kind = K::Digits, .max = 59}, "60", nullptr},
        {{.kind = K::Digits, .max = 59}, "000001", nullptr},  // six digits
        {{.kind = K::Digits, .max = 59}, "-1", nullptr},
        {{.kind = K::State}, "-1", "0"},  // a register without a normal state
        {{.kind = K::State}, "1", "1"},
        {{.kind = K::State}, "-2", nullptr},
        {{.kind = K::Decimal}, "-12.50", "-12.50"},
        {{.kind = K::Decimal}, "3", "3"},
        {{.kind = K::Decimal}, "1.", nullptr},
        {{.kind = K::Decimal}, ".5", nullptr},
        {{.kind = K::Decimal}, "1,5", nullptr},
        {{.kind = K::Decimal}, "12345678901234567", nullptr},  // seventeen characters
        {{.kind = K::Output, .max = 3}, "03", "3"},
        {{.kind = K::Output, .max = 3}, "255", "255"},
        {{.kind = K::Output, .max = 3}, "4", nullptr},
        {{.kind = K::Output, .max = 3}, "254", nullptr},
        {{.kind = K::Output, .max = 3}, "", nullptr},
        {{.kind = K::Text}, "", ""},
        {{.kind = K::Filled}, "", nullptr},
        {{.kind = K::Item}, "a b", "a b"},
        {{.kind = K::Item}, "a,b", nullptr},  // would split its report line
        {{.kind = K::Hex, .length = 8}, "000003ff", "000003FF"},
        {{.kind = K::Hex, .length = 8}, "3ff", nullptr},
        {{.kind = K::Codes, .max = 6, .length = 3}, "016", "016"},
        {{.kind = K::Codes, .max = 6, .length = 3}, "017", nullptr},
        {{.kind = K::Constant, .max = 1}, "1", nullptr},  // takes no text
    };
    for (const auto& c : cases) {
        const auto stored = CSimCommandTable::NormaliseValue(c.field, c.text);
        EXPECT_EQ(stored.has_value(), c.stored != nullptr) << c.text;
        if (stored && c.stored) {
            EXPECT_EQ(*stored, c.stored) << c.text;
        }
    }
}

// The command lines of one of the tool's profiles.
std::vector<std::string> ProfileLines(const std::string& name)
{
    std::vector<std::string> lines;
    std::ifstream in(std::string(RTU_GOLDEN_DIR) + "/" + name);
    for (std::string line; std::getline(in, line);)
        if (line.starts_with('%')) lines.push_back(line.substr(1, line.find_last_not_of("\r\n")));
    return lines;
}

// What is wrong with the claims of a rule table: each rule's own line must be claimed by that
// rule alone, and each command line the unit understands by exactly one rule.
std::vector<std::string> ClaimFaults(std::span<const SSimRule> rules, const std::vector<std::string>& lines)
{
    std::vector<std::string> faults;
    auto check = [&](const std::string& line, const SSimRule* own) {
        const auto claimants = CSimCommandTable::Claimants(rules, line);
        if (claimants.size() != 1 || (own && claimants.front() != own))
            faults.push_back("%" + line + " claimed by " + std::to_string(claimants.size()) + " rules");
    };
    for (const SSimRule& rule : rules) check(CSimCommandTable::Sample(rule), &rule);
    for (const std::string& line : lines) check(line, nullptr);
    return faults;
}

// Every keyword of the one table, the unit's own commands and its service tests included,
// belongs to one rule; every line of the tool's profiles too, and the unit stores it.
TEST(SimCommands, EveryKeywordIsClaimedByOneRule)
{
    const std::vector<std::string> stored = ProfileLines("default.profile");
    std::vector<std::string> lines = ProfileLines("empty.profile");
    ASSERT_GT(stored.size(), 300u);
    ASSERT_GT(lines.size(), 250u);
    lines.insert(lines.end(), stored.begin(), stored.end());
    EXPECT_EQ(ClaimFaults(CSimCommandTable::Rules(), lines), std::vector<std::string>{});
    // The default unit's profile holds a value in every line, and the unit keeps each.
    CSimHarness sim;
    for (const std::string& line : stored) EXPECT_EQ(sim.Exchange("%" + line + "\r"), Lines{"CMD OK"}) << line;
}

TEST(SimCommands, TheClaimCheckFindsAKeywordClaimedTwiceOrNotAtAll)
{
    const std::vector<SSimRule> all(CSimCommandTable::Rules().begin(), CSimCommandTable::Rules().end());
    std::vector<SSimRule> twice = all;
    twice.push_back(simrules::Value("CC", "DUMP_SYS", "$CC"));
    twice.push_back(simrules::Indexed("ETEMPH", "DUMP_DS1", {.max = 3}, "$ETEMPH#", ESimValueKind::Item, 0, "="));
    twice.push_back(simrules::Value("SDSC", "DUMP_MMS", "$SDSC"));  // a camera shot taken for a setting
    const auto doubled = ClaimFaults(twice, {"CC49"});
    EXPECT_NE(std::find(doubled.begin(), doubled.end(), "%CC claimed by 2 rules"), doubled.end());
    EXPECT_NE(std::find(doubled.begin(), doubled.end(), "%CC49 claimed by 2 rules"), doubled.end());
    EXPECT_NE(std::find(doubled.begin(), doubled.end(), "%ETEMPH0= claimed by 2 rules"), doubled.end());
    EXPECT_NE(std::find(doubled.begin(), doubled.end(), "%SDSC claimed by 2 rules"), doubled.end());

    std::vector<SSimRule> without;
    std::copy_if(all.begin(), all.end(), std::back_inserter(without),
                 [](const SSimRule& rule) { return rule.keyword != "UP" && rule.keyword != "SDSC"; });
    EXPECT_EQ(ClaimFaults(without, {"UP0", "SDSC", "CC49"}),
              (std::vector<std::string>{"%UP0 claimed by 0 rules", "%SDSC claimed by 0 rules"}));
}

}  // namespace
}  // namespace rtu::test
