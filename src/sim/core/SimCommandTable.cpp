#include "sim/core/SimCommandTable.h"

#include <algorithm>
#include <array>
#include <cstdio>

#include "sim/core/SimRulesAutomation.h"
#include "sim/core/SimRulesNet.h"
#include "sim/core/SimText.h"

namespace rtu {

namespace {

using simtext::IsDigit;
using simtext::ParseDecimal;
using simtext::SplitCommas;

constexpr int kFlagMax = 1;             // a check box travels as 0 or 1
constexpr int kParityMax = 4;           // five parity settings
constexpr int kSmsModeMax = 1;          // PDU or TEXT
constexpr int kGsmBandMax = 5;          // six band settings, the last is "Default"
constexpr int kSignalLowMax = 36;       // signal threshold scale of the modem
constexpr int kParamNumberMax = 65535;  // delays, repeat counts, spans: 16-bit parameters
constexpr int kPhoneRowMax = 9;         // ten control phones, one digit
constexpr int kSosRowMax = 0;           // the unit has one SOS phone
constexpr int kRomSmsMax = 29;          // thirty ROM alarm messages
constexpr int kNameRowMax = 3;          // four inputs, outputs or analog channels
constexpr int kSensorNameMax = 5;       // six wireless sensor names
constexpr int kPrioRowMax = 9;          // ten control phones per priority table
constexpr int kPrioEntryBase = 8;       // priority entries of the phones start at 8
constexpr int kAnalogChannels = 4;      // analog channels of "%AINDRP"
constexpr int kHexGroup = 4;            // hex digits per UCS-2 code unit
constexpr int kShortMaskDigits = 4;     // a 16-bit mask
constexpr unsigned kShortMaskMax = 0xFFFF;
constexpr int kOutputMax = 7;          // interlocks: outputs 0-7 have an alarm source
constexpr int kAlarmSourceMax = 19;    // twenty alarm sources
constexpr int kCameraNumberMax = 6;    // picture size 0-3, brightness 0-6, white balance 0-5
constexpr int kShotModeMax = 2;        // three shooting modes
constexpr int kPicturesPerMmsMax = 6;  // pictures one MMS carries

constexpr std::string_view kSys = "DUMP_SYS";
constexpr std::string_view kRomSms = "DUMP_ROMSMS";
constexpr std::string_view kPhone = "DUMP_PHONE";
constexpr std::string_view kAds = "DUMP_ADS";
constexpr std::string_view kGpio = "DUMP_GPIO";
constexpr std::string_view kPrio = "DUMP_PRIOTB";
constexpr std::string_view kSensors = "E99?";
constexpr std::string_view kMms = "DUMP_MMS";

using S = ESimArgShape;
using K = ESimValueKind;

// Command keyword → report key. Reporting key and command keyword differ for several
// parameters ("%UB" writes "$BPS", "%ASC" writes "$ATA" ...).
constexpr std::array kRules{
    // System main parameters
    SSimWriteRule{"UP", S::Value, K::Number, kSys, "$PARITY", {}, 1, 1, 0, 0, 1, kParityMax},
    SSimWriteRule{"MODEMSMSMD", S::Value, K::Number, kSys, "$MODEMSMODE", {}, 1, 1, 0, 0, 1, kSmsModeMax},
    SSimWriteRule{"CC", S::Value, K::Text, kSys, "$CC"},
    SSimWriteRule{"ID", S::Value, K::Text, kSys, "$DID"},
    SSimWriteRule{"DAS", S::Value, K::Flag, kSys, "$DAS"},
    SSimWriteRule{"UB", S::Value, K::Text, kSys, "$BPS"},
    SSimWriteRule{"DESC", S::Value, K::Ucs2Hex, kSys, "$DESC"},
    SSimWriteRule{"PRTCS", S::Value, K::Flag, kSys, "$PRTCS"},
    SSimWriteRule{"PRTSP", S::Value, K::Flag, kSys, "$PRTSP"},
    SSimWriteRule{"SP", S::Value, K::Text, kSys, "$SPN"},
    SSimWriteRule{"PIN", S::Value, K::Text, kSys, "$PINC"},
    SSimWriteRule{"SIGNALA", S::Value, K::Flag, kSys, "$SIGNALA"},
    SSimWriteRule{"RPLERR", S::Value, K::Flag, kSys, "$RPLERR"},
    SSimWriteRule{"RPLSUC", S::Value, K::Flag, kSys, "$RPLSUC"},
    SSimWriteRule{"RSILOW", S::Value, K::Number, kSys, "$CSQLOW", {}, 1, 1, 0, 0, 1, kSignalLowMax},
    SSimWriteRule{"SMSC", S::Value, K::Text, kSys, "$SMSC"},
    SSimWriteRule{"PUK", S::Value, K::Text, kSys, "$PUKC"},
    SSimWriteRule{"CBAND", S::Value, K::Number, kSys, "$GSMBAND", {}, 1, 1, 0, 0, 1, kGsmBandMax},
    SSimWriteRule{"FWDSMS", S::Value, K::Flag, kSys, "$FWDSMS"},
    SSimWriteRule{"FWDKEY", S::Value, K::Ucs2Hex, kSys, "$FWDKEY"},
    SSimWriteRule{"modemfwdspan", S::Value, K::Number, kSys, "$MODEM_FWDSPAN", {}, 1, 1, 0, 0, 1, kParamNumberMax},
    SSimWriteRule{"CHECKBALANCE", S::CommaPair, K::Text, kSys, "$CKBSP", "$CKBCD"},
    // System alarm parameters
    SSimWriteRule{"SNDALARMDLYEN", S::Value, K::Flag, kSys, "$SNDALARMDLY"},
    SSimWriteRule{"OUTDLY", S::Value, K::Number, kSys, "$OUTDLY", {}, 1, 1, 0, 0, 1, kParamNumberMax},
    SSimWriteRule{"INDLY", S::Value, K::Number, kSys, "$INDLY", {}, 1, 1, 0, 0, 1, kParamNumberMax},
    SSimWriteRule{"IOAT", S::Value, K::Number, kSys, "$IAT", {}, 1, 1, 0, 0, 1, kParamNumberMax},
    SSimWriteRule{"ARING", S::Value, K::Flag, kSys, "$AR"},
    SSimWriteRule{"ASC", S::Value, K::Flag, kSys, "$ATA"},
    SSimWriteRule{"AWB", S::Value, K::Flag, kSys, "$AWB"},
    SSimWriteRule{"UARTEVENT", S::Value, K::Flag, kSys, "$UARTEVENT"},
    SSimWriteRule{"DRPTMP", S::Value, K::Flag, kSys, "$DRPTMP"},
    SSimWriteRule{"DRPTID", S::Value, K::Flag, kSys, "$DRPTID"},
    SSimWriteRule{"DRPDEF", S::Value, K::Flag, kSys, "$DRPDEF"},
    SSimWriteRule{"DRPRSI", S::Value, K::Flag, kSys, "$DRPRSI"},
    SSimWriteRule{"DRPDIN", S::Value, K::Flag, kSys, "$DRPDIN"},
    SSimWriteRule{"DRPMEM", S::Value, K::Flag, kSys, "$DRPMEM"},
    SSimWriteRule{"DRPBAT", S::Value, K::Flag, kSys, "$DRPBAT"},
    SSimWriteRule{"DRPETMP", S::Value, K::Flag, kSys, "$DRPETP"},
    SSimWriteRule{"DINCDRP", S::Value, K::Flag, kSys, "$DRPCNT"},
    SSimWriteRule{"AINDRP", S::FlagDigits, K::Flag, kAds, "$AINDRP#", {}, kAnalogChannels},
    // Phones
    SSimWriteRule{"CS", S::Indexed, K::Text, kPhone, "$CS#", {}, 1, 1, kPhoneRowMax},
    SSimWriteRule{"SOS", S::Indexed, K::Text, kPhone, "$SOS#", {}, 1, 1, kSosRowMax},
    // Indexed text tables (UCS-2 hex)
    SSimWriteRule{"S", S::Indexed, K::Ucs2Hex, kRomSms, "$SMS#", {}, 1, 2, kRomSmsMax, 0, 2},
    SSimWriteRule{"adsmsheaden", S::Value, K::Flag, kRomSms, "$AINSMH"},
    SSimWriteRule{"A", S::Indexed, K::Ucs2Hex, kAds, "$ADNAME#", {}, 1, 2, kNameRowMax},
    SSimWriteRule{"I", S::Indexed, K::Ucs2Hex, kGpio, "$DINAME#", {}, 1, 2, kNameRowMax},
    SSimWriteRule{"O", S::Indexed, K::Ucs2Hex, kGpio, "$DONAME#", {}, 1, 2, kNameRowMax},
    SSimWriteRule{"E", S::Indexed, K::Ucs2Hex, kSensors, "$ISNAME#:", {}, 1, 2, kSensorNameMax},
    // Alarm priority tables: row r of the phones is entry r + 8 in the reports
    SSimWriteRule{"DINPRIO=", S::Priority, K::Mask, kPrio, "$PRIODINSMS#", "$PRIODINRING#", 2, 1, kPrioRowMax,
                  kPrioEntryBase, 2},
    SSimWriteRule{"AINPRIO=", S::Priority, K::Mask, kPrio, "$PRIOAINSMS#", {}, 2, 1, kPrioRowMax, kPrioEntryBase, 2},
    SSimWriteRule{"BASEPRIO=", S::Priority, K::Mask, kPrio, "$PRIOSYS#", {}, 1, 1, kPrioRowMax, kPrioEntryBase, 2},
    SSimWriteRule{"WINPRIO=", S::Priority, K::Mask, kPrio, "$PRIOWINSMS#", "$PRIOWINRING#", 2, 1, kPrioRowMax,
                  kPrioEntryBase, 2},
    // Automation pages
    SSimWriteRule{"IOOA", S::Indexed, K::Number, kGpio, "$OAS#", {}, 1, 1, kOutputMax, 0, 1, kAlarmSourceMax},
    SSimWriteRule{"IOPO", S::Value, K::Text, kGpio, "$IOPO"},
    SSimWriteRule{"INTERLOCKDISARM", S::Value, K::Flag, kSys, "$INTERLOCKDISARM"},
    SSimWriteRule{"INTERLOCKURG", S::Value, K::Flag, kSys, "$INTERLOCKURG"},
    SSimWriteRule{"RPLARMBTN", S::Value, K::Flag, kGpio, "$RPLARM"},
    // MMS and camera (the "$MMS_" reports print their value right after the code)
    SSimWriteRule{"MMSC", S::CommaPair, K::Text, kMms, "$MMS_SCU", "$MMS_SCP"},
    SSimWriteRule{"MMSGATE", S::Value, K::Text, kMms, "$MMS_GAT"},
    SSimWriteRule{"MMSUID", S::Value, K::Text, kMms, "$MMS_UID"},
    SSimWriteRule{"MMSPWD", S::Value, K::Text, kMms, "$MMS_PWD"},
    SSimWriteRule{"MMSPXY", S::Value, K::Text, kMms, "$MMS_PXY"},
    SSimWriteRule{"MMSAPN", S::Value, K::Text, kMms, "$MMS_APN"},
    SSimWriteRule{"MMSNAP", S::Value, K::Text, kMms, "$MMS_NAP"},
    SSimWriteRule{"DSCFMT", S::CommaTriple, K::Number, kMms, "$MMS_PSZ", "$MMS_PBR", 1, 1, 0, 0, 1, kCameraNumberMax,
                  "$MMS_PWB"},
    SSimWriteRule{"DSCMODE", S::Value, K::Number, kMms, "$MMS_PMD", {}, 1, 1, 0, 0, 1, kShotModeMax},
    SSimWriteRule{"MMSPC", S::Value, K::Number, kMms, "$MMS_PCT", {}, 1, 1, 0, 0, 1, kPicturesPerMmsMax},
    SSimWriteRule{"MMST", S::Value, K::Number, kMms, "$MMS_PTR", {}, 1, 1, 0, 0, 1, kParamNumberMax},
    SSimWriteRule{"MMSACC", S::Value, K::Flag, kMms, "$MMSACC"},
    SSimWriteRule{"MMSTCC", S::Value, K::Flag, kMms, "$MMSTCC"},
    SSimWriteRule{"MMSSMSCC", S::Value, K::Flag, kMms, "$MMSSMSCC"},
    SSimWriteRule{"MMSALARM", S::Value, K::Flag, kMms, "$MMSALARM"},
    SSimWriteRule{"MMSSMSHC", S::Value, K::Flag, kMms, "$MMSSMSHC"},
    SSimWriteRule{"MMSSMSNT", S::Value, K::Flag, kMms, "$MMSSMSRP"},
};

bool IsDecimal(std::string_view text)
{
    if (text.empty() || text.size() > CSimCommandTable::kMaxDecimalChars) return false;
    if (text.front() == '-') text.remove_prefix(1);
    const std::size_t point = text.find('.');
    auto digits = [](std::string_view s) { return !s.empty() && std::all_of(s.begin(), s.end(), IsDigit); };
    return digits(text.substr(0, point)) && (point == std::string_view::npos || digits(text.substr(point + 1)));
}

int HexDigitValue(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

}  // namespace

std::span<const SSimWriteRule> CSimCommandTable::Rules() { return kRules; }

std::string CSimCommandTable::ExpandKey(std::string_view pattern, int entry, int digits)
{
    std::string key;
    for (char c : pattern) {
        if (c != '#') {
            key += c;
            continue;
        }
        char number[16];
        std::snprintf(number, sizeof number, "%0*d", digits, entry);
        key += number;
    }
    return key;
}

std::optional<std::string> CSimCommandTable::NormaliseValue(ESimValueKind kind, std::string_view text, int numberMax)
{
    switch (kind) {
    case ESimValueKind::Flag:
        if (text == "0" || text == "1") return std::string(text);
        return std::nullopt;
    case ESimValueKind::Number: {
        auto value = ParseDecimal(text, kMaxNumberDigits);
        if (!value || *value > numberMax) return std::nullopt;
        return std::to_string(*value);
    }
    case ESimValueKind::Text:
        if (text.size() > kMaxTextBytes) return std::nullopt;
        for (char c : text) {
            auto byte = static_cast<unsigned char>(c);
            if (byte < 0x20 || byte == 0x7F) return std::nullopt;
        }
        return std::string(text);
    case ESimValueKind::Ucs2Hex: {
        if (text.size() > kMaxHexChars || text.size() % kHexGroup != 0) return std::nullopt;
        std::string upper(text);
        for (char& c : upper) {
            if (HexDigitValue(c) < 0) return std::nullopt;
            if (c >= 'a' && c <= 'f') c = static_cast<char>(c - 'a' + 'A');
        }
        return upper;
    }
    case ESimValueKind::Mask: {
        if (text.empty() || text.size() > kMaxMaskDigits) return std::nullopt;
        unsigned long value = 0;
        for (char c : text) {
            int digit = HexDigitValue(c);
            if (digit < 0) return std::nullopt;
            value = value * 16 + static_cast<unsigned long>(digit);
        }
        char out[16];
        std::snprintf(out, sizeof out, "%0*lX",
                      value > kShortMaskMax ? static_cast<int>(kMaxMaskDigits) : kShortMaskDigits, value);
        return std::string(out);
    }
    case ESimValueKind::Digits: {
        const auto value = ParseDecimal(text, kMaxDigitsDigits);
        if (!value || *value > numberMax) return std::nullopt;
        return std::string(text);
    }
    case ESimValueKind::Decimal:
        if (!IsDecimal(text)) return std::nullopt;
        return std::string(text);
    case ESimValueKind::Output: {
        const auto value = ParseDecimal(text, kMaxNumberDigits);
        if (!value || (*value > numberMax && *value != kNoOutput)) return std::nullopt;
        return std::to_string(*value);
    }
    }
    return std::nullopt;
}

std::optional<std::vector<SSimAssignment>> CSimCommandTable::Apply(const SSimWriteRule& rule, std::string_view args)
{
    std::vector<SSimAssignment> out;
    auto assign = [&](std::string_view keyPattern, int entry, std::string_view text) {
        auto value = NormaliseValue(rule.kind, text, rule.kind == ESimValueKind::Flag ? kFlagMax : rule.numberMax);
        if (!value) return false;
        out.push_back({ExpandKey(keyPattern, entry, rule.entryDigits), std::move(*value), rule.group});
        return true;
    };
    switch (rule.shape) {
    case ESimArgShape::Value:
        if (!assign(rule.key, 0, args)) return std::nullopt;
        break;
    case ESimArgShape::Indexed: {
        if (args.size() < static_cast<std::size_t>(rule.indexDigits)) return std::nullopt;
        auto row = ParseDecimal(args.substr(0, static_cast<std::size_t>(rule.indexDigits)),
                                static_cast<std::size_t>(rule.indexDigits));
        if (!row || *row > rule.indexMax) return std::nullopt;
        if (!assign(rule.key, *row + rule.entryBase, args.substr(static_cast<std::size_t>(rule.indexDigits))))
            return std::nullopt;
        break;
    }
    case ESimArgShape::Priority: {
        auto parts = SplitCommas(args);
        if (parts.size() != static_cast<std::size_t>(rule.fields) + 1) return std::nullopt;
        auto row = ParseDecimal(parts[0], 2);
        if (!row || *row > rule.indexMax) return std::nullopt;
        const int entry = *row + rule.entryBase;
        if (!assign(rule.key, entry, parts[1])) return std::nullopt;
        if (rule.fields > 1) {
            // A second mask is checked even where the unit keeps one table only.
            if (!NormaliseValue(ESimValueKind::Mask, parts[2], 0)) return std::nullopt;
            if (!rule.key2.empty() && !assign(rule.key2, entry, parts[2])) return std::nullopt;
        }
        break;
    }
    case ESimArgShape::CommaPair: {
        std::size_t comma = args.find(',');
        if (comma == std::string_view::npos) return std::nullopt;
        if (!assign(rule.key, 0, args.substr(0, comma)) || !assign(rule.key2, 0, args.substr(comma + 1)))
            return std::nullopt;
        break;
    }
    case ESimArgShape::CommaTriple: {
        const auto parts = SplitCommas(args);
        if (parts.size() != 3 || !assign(rule.key, 0, parts[0]) || !assign(rule.key2, 0, parts[1]) ||
            !assign(rule.key3, 0, parts[2]))
            return std::nullopt;
        break;
    }
    case ESimArgShape::FlagDigits:
        if (args.size() != static_cast<std::size_t>(rule.fields)) return std::nullopt;
        for (int i = 0; i < rule.fields; ++i)
            if (!assign(rule.key, i, args.substr(static_cast<std::size_t>(i), 1))) return std::nullopt;
        break;
    }
    return out;
}

std::optional<std::vector<SSimAssignment>> CSimCommandTable::Parse(std::string_view command)
{
    // Longer keywords first, so "%SMSC" is not taken for "%S" and "%SOS" not for "%SP".
    static const std::vector<const SSimWriteRule*> byLength = [] {
        std::vector<const SSimWriteRule*> rules;
        for (const auto& rule : kRules) rules.push_back(&rule);
        for (const auto& rule : NetWriteRules()) rules.push_back(&rule);
        std::stable_sort(rules.begin(), rules.end(),
                         [](const auto* a, const auto* b) { return a->keyword.size() > b->keyword.size(); });
        return rules;
    }();
    for (const SSimWriteRule* rule : byLength) {
        if (!command.starts_with(rule->keyword)) continue;
        if (auto assignments = Apply(*rule, command.substr(rule->keyword.size()))) return assignments;
    }
    if (auto assignments = ParseAutomationCommand(command)) return assignments;
    return ParseNetCommand(command);
}

}  // namespace rtu
