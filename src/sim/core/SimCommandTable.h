// The write commands the unit understands, as data: each rule names a keyword, how its
// arguments are laid out, and which report keys of the image they change.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace rtu {

// How the text after the keyword is laid out.
enum class ESimArgShape {
    Value,        // the whole rest is one value
    Indexed,      // a fixed number of row digits, then the value
    Priority,     // "=row,mask" or "=row,mask,mask"
    CommaPair,    // "first,second" into two keys
    CommaTriple,  // "first,second,third" into three keys
    FlagDigits,   // one 0/1 digit per entry ("%AINDRP1010")
};

// What a value may hold, and how the unit stores it.
enum class ESimValueKind {
    Flag,     // "0" or "1"
    Number,   // decimal digits within [0, numberMax], stored without leading zeros
    Text,     // printable bytes, stored as received
    Ucs2Hex,  // groups of four hex digits, stored upper-case
    Mask,     // one to eight hex digits, stored upper-case with four (or eight) digits
    Digits,   // up to five decimal digits within [0, numberMax], stored as written ("07" stays "07")
    Decimal,  // an optional "-", digits and an optional ".digits", stored as received
    Output,   // an output within [0, numberMax], or 255 for none; stored without leading zeros
};

struct SSimWriteRule {
    std::string_view keyword;  // after the "%", case-sensitive
    ESimArgShape shape;
    ESimValueKind kind;
    std::string_view group;      // dump group that prints a new report
    std::string_view key;        // report key; "#" stands for the entry number
    std::string_view key2 = {};  // second report key of a Priority or CommaPair rule
    int fields = 1;              // masks of a Priority rule, digits of a FlagDigits rule
    int indexDigits = 1;         // row digits of an Indexed rule
    int indexMax = 0;            // highest row of an Indexed or Priority rule
    int entryBase = 0;           // entry number in the report = row + entryBase
    int entryDigits = 1;         // digits of the entry number in the report key
    int numberMax = 0;           // highest value of a Number
    std::string_view key3 = {};  // third report key of a CommaTriple rule
};

struct SSimAssignment {
    std::string key;
    std::string value;
    std::string_view group;
};

class CSimCommandTable {
public:
    static constexpr std::size_t kMaxTextBytes = 512;   // longest plain text value accepted
    static constexpr std::size_t kMaxHexChars = 4096;   // longest UCS-2 hex text (1024 code units)
    static constexpr std::size_t kMaxMaskDigits = 8;    // a mask holds two 16-bit halves at most
    static constexpr std::size_t kMaxNumberDigits = 9;  // decimal digits of a Number
    static constexpr std::size_t kMaxDigitsDigits = 5;  // decimal digits of a Digits value
    static constexpr std::size_t kMaxDecimalChars = 16;  // characters of a Decimal
    static constexpr int kNoOutput = 255;                // an Output value that drives none

    static std::span<const SSimWriteRule> Rules();
    // The assignments of one command line (without its leading "%" and terminator);
    // nothing when no rule accepts the line.
    static std::optional<std::vector<SSimAssignment>> Parse(std::string_view command);
    // Applies one rule to the text after its keyword.
    static std::optional<std::vector<SSimAssignment>> Apply(const SSimWriteRule& rule, std::string_view args);
    // Normalises one value of the given kind; nothing when the unit cannot store it.
    static std::optional<std::string> NormaliseValue(ESimValueKind kind, std::string_view text, int numberMax);
    // A key template with its "#" replaced by the entry number.
    static std::string ExpandKey(std::string_view pattern, int entry, int digits);
};

}  // namespace rtu
