// The commands the unit understands, as data: one kind of rule for every keyword. A rule
// names its keyword, the row the line addresses, the values that follow and the report keys
// they change; a rule of the unit's own commands (dumps, restarts, service tests) names what
// the unit does instead. Each area of the unit keeps its rules in a table of this one kind;
// the dispatcher hands a command line to the rule that claims it most specifically.
#pragma once

#include <array>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "sim/core/SimImage.h"

namespace rtu {

// What a value may hold, and how the unit stores it.
enum class ESimValueKind : std::uint8_t {
    None,      // no value: the end of a rule's values
    Flag,      // "0" or "1"
    Number,    // decimal digits (`length` at most, else nine) within [0, max], stored without leading zeros
    Digits,    // up to five decimal digits within [0, max], stored as written ("07" stays "07")
    State,     // -1, 0 or 1 (-1: none chosen), stored as 0 or 1
    Output,    // an output within [0, max], or 255 for none; stored without leading zeros
    Decimal,   // an optional "-", digits and an optional ".digits", stored as received
    Text,      // printable bytes, stored as received
    Filled,    // Text of at least one byte
    Item,      // Text without a comma: one item of a comma-separated report
    Ucs2Hex,   // hex-encoded text: groups of four hex digits, stored upper-case
    Mask,      // one to eight hex digits, stored upper-case with four (or eight) digits
    Hex,       // exactly `length` hex digits, stored upper-case
    Codes,     // exactly `length` decimal digits, each within [0, max], stored as written
    Constant,  // takes no text; stores the number `max` (a switch's "1" or "0")
};

// How the row a command addresses is written after its keyword.
enum class ESimRowForm : std::uint8_t {
    None,   // no row
    Fixed,  // exactly `digits` decimal digits
    UpTo,   // one to `digits` decimal digits, ended by the rule's `after` text
    Hex,    // one hex digit
    List,   // one or more row digits: every row named gets the values
    Each,   // no row written: one digit per row follows for each value in turn (rows 0..max)
};

// What the unit does with a command line its rule claims.
enum class ESimAction : std::uint8_t {
    Store,      // stores the values into its reports
    DumpAll,    // prints every report
    DumpGroup,  // prints the reports of the group the line names
    DumpEnd,    // prints the end-of-reload marker
    Frame,      // acknowledges only (framing of a save, a camera shot)
    Defaults,   // restores the factory image
    Restart,    // restarts
    PresetSms,  // restores the preset alarm messages
    Log,        // prints its stored temperature log
    Picture,    // sends the camera's last picture
    Test,       // runs a service test
};

struct SSimRow {
    ESimRowForm form = ESimRowForm::None;
    std::uint8_t digits = 1;     // row digits (Fixed), most row digits (UpTo)
    int max = 0;                 // highest row
    int base = 0;                // entry number in the report keys = row + base
    std::uint8_t keyDigits = 1;  // digits of the entry number in the report keys
};

struct SSimField {
    std::string_view key = {};  // report key, "#" stands for the entry; empty: checked, not kept
    ESimValueKind kind = ESimValueKind::None;
    int max = 0;                 // highest Number, Digits, Output or Codes digit; a Constant's value
    std::uint8_t length = 0;     // digits of Hex and Codes, most digits of a Number
    std::uint8_t offset = 0;     // entry = row + base + offset
    bool join = false;           // appended to the report of the value before, after a comma
    std::string_view list = {};  // also stored as item `item` of `items` of this comma-separated report
    std::uint8_t item = 0;
    std::uint8_t items = 0;
    bool creates = false;  // the list report is made when the image has none (else the item is dropped)
};

struct SSimRule {
    static constexpr std::size_t kMaxFields = 11;  // values of the longest line ("%mdmas")

    std::string_view keyword = {};  // after the "%", case-sensitive
    std::string_view group = {};    // dump group that prints a new report
    SSimRow row = {};
    std::string_view after = {};  // text between the row and the values ("=", ",", "HOC1")
    std::array<SSimField, kMaxFields> fields = {};
    bool lastTakesRest = false;  // the last value takes the rest of the line, commas and all
    bool exact = false;          // claims the keyword alone, nothing after it
    ESimAction action = ESimAction::Store;
    const SSimRule* otherwise = nullptr;  // a second form of the same keyword, tried when this one refuses
};

struct SSimAssignment {
    std::string key;
    std::string value;
    std::string_view group;
    int item = -1;         // >= 0: the value is this item of the comma-separated report `key`
    int items = 0;         // items of that report
    bool creates = false;  // an item of a report the image lacks makes it
};

// The unit's report groups: the dump command (without its "%") that prints them.
namespace simgroups {
inline constexpr std::string_view kSys = "DUMP_SYS";
inline constexpr std::string_view kRomSms = "DUMP_ROMSMS";
inline constexpr std::string_view kPhone = "DUMP_PHONE";
inline constexpr std::string_view kAds = "DUMP_ADS";
inline constexpr std::string_view kGpio = "DUMP_GPIO";
inline constexpr std::string_view kCounter = "DUMP_COUNTER";
inline constexpr std::string_view kPrio = "DUMP_PRIOTB";
inline constexpr std::string_view kSensorNames = "E99?";  // the wireless sensors' names
inline constexpr std::string_view kMms = "DUMP_MMS";
inline constexpr std::string_view kM2M = "DUMP_M2M";
inline constexpr std::string_view kHttp = "DUMP_HTTP";
inline constexpr std::string_view kModbus = "DUMP_MODBUS";
inline constexpr std::string_view kRegisters = "DUMPM";
inline constexpr std::string_view kMeter = "DUMP_62056";
inline constexpr std::string_view kTimer = "DUMP_TIMER";
inline constexpr std::string_view kUserCmd = "DUMP_UCMD";
inline constexpr std::string_view kDs1 = "DUMP_DS1";  // the external sensors
inline constexpr std::string_view kTmp = "DUMP_TMP";
inline constexpr std::string_view kHum = "DUMP_HUM";
inline constexpr std::string_view kGSensor = "DUMP_GSENSOR";
inline constexpr std::string_view kGray = "DUMP_GRAY";
}  // namespace simgroups

// Builders of the common rule shapes, for the areas' tables.
namespace simrules {

constexpr std::array<SSimField, SSimRule::kMaxFields> Fields(std::initializer_list<SSimField> fields)
{
    std::array<SSimField, SSimRule::kMaxFields> out{};
    std::size_t i = 0;
    for (const SSimField& f : fields) out[i++] = f;
    return out;
}
// "<keyword><value>".
constexpr SSimRule Value(std::string_view keyword, std::string_view group, std::string_view key,
                         ESimValueKind kind = ESimValueKind::Text, int max = 0)
{
    return {.keyword = keyword, .group = group, .fields = Fields({{.key = key, .kind = kind, .max = max}})};
}
// "<keyword><first>,<second>": the second takes the rest of the line.
constexpr SSimRule Pair(std::string_view keyword, std::string_view group, std::string_view key, std::string_view key2,
                        ESimValueKind kind = ESimValueKind::Text)
{
    return {.keyword = keyword,
            .group = group,
            .fields = Fields({{.key = key, .kind = kind}, {.key = key2, .kind = kind}}),
            .lastTakesRest = true};
}
// "<keyword><row><after><value>".
constexpr SSimRule Indexed(std::string_view keyword, std::string_view group, SSimRow row, std::string_view key,
                           ESimValueKind kind = ESimValueKind::Text, int max = 0, std::string_view after = {})
{
    row.form = row.form == ESimRowForm::None ? ESimRowForm::Fixed : row.form;
    return {.keyword = keyword,
            .group = group,
            .row = row,
            .after = after,
            .fields = Fields({{.key = key, .kind = kind, .max = max}})};
}
// A command of the unit itself: the keyword alone.
constexpr SSimRule Action(std::string_view keyword, ESimAction action, bool exact = true)
{
    return {.keyword = keyword, .exact = exact, .action = action};
}

}  // namespace simrules

class CSimCommandTable {
public:
    static constexpr std::size_t kMaxTextBytes = 512;    // longest plain text value accepted
    static constexpr std::size_t kMaxHexChars = 4096;    // longest UCS-2 hex text (1024 code units)
    static constexpr std::size_t kMaxMaskDigits = 8;     // a mask holds two 16-bit halves at most
    static constexpr std::size_t kMaxNumberDigits = 9;   // decimal digits of a Number
    static constexpr std::size_t kMaxDigitsDigits = 5;   // decimal digits of a Digits value
    static constexpr std::size_t kMaxDecimalChars = 16;  // characters of a Decimal
    static constexpr int kNoOutput = 255;                // an Output value that drives none

    // Every rule of every area of the unit.
    static std::span<const SSimRule> Rules();
    // The rules of `rules` that claim a command line (without its "%" and terminator) most
    // specifically: the longest keyword, written row and text after it. One rule for every
    // line the unit understands; none for a line it does not; several only for a faulty table.
    static std::vector<const SSimRule*> Claimants(std::span<const SSimRule> rules, std::string_view command);
    // The rule that decides a command line; nothing when the unit does not understand it.
    static const SSimRule* Find(std::string_view command);
    // A line of the rule's own form, up to its values: the keyword, row 0 and the text after it.
    static std::string Sample(const SSimRule& rule);

    // The assignments of one command line (without its leading "%" and terminator);
    // nothing when no rule stores it or its rule refuses it.
    static std::optional<std::vector<SSimAssignment>> Parse(std::string_view command);
    // Applies one rule to the text after its keyword.
    static std::optional<std::vector<SSimAssignment>> Apply(const SSimRule& rule, std::string_view args);
    // Stores assignments into an image; false when the image is full.
    static bool Store(CSimImage& image, const std::vector<SSimAssignment>& assignments);
    // Normalises one value; nothing when the unit cannot store it.
    static std::optional<std::string> NormaliseValue(const SSimField& field, std::string_view text);
    static std::optional<std::string> NormaliseValue(ESimValueKind kind, std::string_view text, int max)
    {
        return NormaliseValue(SSimField{.kind = kind, .max = max}, text);
    }
    // A key template with its "#" replaced by the entry number.
    static std::string ExpandKey(std::string_view pattern, int entry, int digits);
};

// The rule tables of the unit's areas.
std::span<const SSimRule> SystemRules();       // settings, phones, names, priorities, MMS
std::span<const SSimRule> IoRules();           // digital I/O, counters, analog inputs
std::span<const SSimRule> NetRules();          // data network, Modbus, meter, data over SMS
std::span<const SSimRule> AutomationRules();   // output links, events, timers, zones, user commands
std::span<const SSimRule> SensorRules();       // sensors, buzzer, battery, gray code
std::span<const SSimRule> UnitRules();         // dumps, framing, restarts, the log, the camera
std::span<const SSimRule> ServiceTestRules();  // the service tests

}  // namespace rtu
