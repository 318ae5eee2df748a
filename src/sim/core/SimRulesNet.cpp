#include "sim/core/SimRulesNet.h"

#include <array>
#include <cstdio>
#include <string>

#include "sim/core/SimText.h"

namespace rtu {

namespace {

using simtext::IsDigit;
using simtext::ParseDecimal;
using simtext::SplitCommas;

constexpr int kPortMax = 65535;           // TCP and UDP ports
constexpr int kParamNumberMax = 65535;    // time-outs, intervals: 16-bit parameters
constexpr int kProtocolMax = 5;           // six data server protocols
constexpr int kServerRowMax = 3;          // four data servers
constexpr int kEmailRowMax = 1;           // two e-mail recipients
constexpr int kSmsDataRowMax = 7;         // eight data-over-SMS numbers
constexpr int kPacketTypeMax = 6;         // seven packet types
constexpr int kChannelMax = 1;            // two video channels, two video formats
constexpr int kRegisterRowMax = 31;       // 32 Modbus registers
constexpr int kRegisterLimitMax = 63;     // "%R": 0-31 high limits, 32-63 low limits
constexpr int kRegisterTypeMax = 3;       // coils, holding, input, discrete
constexpr int kInterlockMax = 3;          // four digital outputs
constexpr int kNoInterlock = 255;         // no output driven
constexpr int kSlaveMax = 255;            // Modbus slave address
constexpr int kFlagFields = 5;            // "%MDMSF": five register flags
constexpr int kMasterFields = 11;         // "%mdmas": fields after the row
constexpr std::size_t kMatrixDigits = 8;  // alarm bit matrix, hex

constexpr std::string_view kM2M = "DUMP_M2M";
constexpr std::string_view kHttp = "DUMP_HTTP";
constexpr std::string_view kMms = "DUMP_MMS";
constexpr std::string_view kSys = "DUMP_SYS";
constexpr std::string_view kPhone = "DUMP_PHONE";
constexpr std::string_view kModbus = "DUMP_MODBUS";
constexpr std::string_view kRegisters = "DUMPM";
constexpr std::string_view kMeter = "DUMP_62056";

using S = ESimArgShape;
using K = ESimValueKind;

// clang-format off
constexpr std::array kRules{
    // GPRS and M2M
    SSimWriteRule{"M2MQMXNTPEN", S::Value, K::Flag, kM2M, "$M2M_QMXNTP"},
    SSimWriteRule{"M2MAPN", S::Value, K::Text, kM2M, "$M2M_APN"},
    SSimWriteRule{"M2MUID", S::Value, K::Text, kM2M, "$M2M_UID"},
    SSimWriteRule{"M2MPWD", S::Value, K::Text, kM2M, "$M2M_PWD"},
    SSimWriteRule{"M2MDNS", S::Value, K::Text, kM2M, "$M2M_DNS"},
    SSimWriteRule{"M2MIDT", S::Value, K::Number, kM2M, "$M2M_IDT", {}, 1, 1, 0, 0, 1, kParamNumberMax},
    SSimWriteRule{"MODUID", S::Value, K::Text, kM2M, "$M2M_TID"},
    SSimWriteRule{"M2MEN", S::Value, K::Flag, kM2M, "$M2M_EN"},
    SSimWriteRule{"GDTUEN", S::Value, K::Flag, kM2M, "$GDTU_EN"},
    SSimWriteRule{"GMSGEN", S::Value, K::Flag, kM2M, "$GMSG_EN"},
    SSimWriteRule{"M2MCTO", S::Value, K::Number, kM2M, "$M2M_CTO", {}, 1, 1, 0, 0, 1, kParamNumberMax},
    SSimWriteRule{"NTPSVR", S::CommaPair, K::Text, kM2M, "$NTP_SVR", "$NTP_PORT"},
    SSimWriteRule{"NTPZONE", S::CommaPair, K::Text, kM2M, "$NTP_ZONE", "$NTP_OFFT"},
    SSimWriteRule{"NTPEN", S::Value, K::Flag, kM2M, "$NTP_EN"},
    // HTTP
    SSimWriteRule{"HTTPURL", S::Value, K::Text, kHttp, "$M2M_HTTP_URL"},
    SSimWriteRule{"HTTPPOSTPWD", S::Value, K::Text, kHttp, "$M2M_HTTP_PWD"},
    SSimWriteRule{"HTTPGROUP", S::Value, K::Text, kHttp, "$M2M_HTTP_GID"},
    SSimWriteRule{"HTTPSIM", S::Value, K::Text, kHttp, "$M2M_HTTP_SIM"},
    // E-mail, 3G and FTP
    SSimWriteRule{"EM", S::Indexed, K::Text, kMms, "$EM#", {}, 1, 1, kEmailRowMax},
    SSimWriteRule{"GPSGIS", S::CommaPair, K::Text, kMms, "$3GS_GISS", "$3GS_GISP"},
    SSimWriteRule{"GISTIMER", S::Value, K::Number, kMms, "$3GS_GPST", {}, 1, 1, 0, 0, 1, kParamNumberMax},
    SSimWriteRule{"MMSVINC", S::Value, K::Number, kMms, "$3GS_VCHN", {}, 1, 1, 0, 0, 1, kChannelMax},
    SSimWriteRule{"MMSVINF", S::Value, K::Number, kMms, "$3GS_VFMT", {}, 1, 1, 0, 0, 1, kChannelMax},
    SSimWriteRule{"3GDVRTIME", S::Value, K::Number, kMms, "$3GS_VCRS", {}, 1, 1, 0, 0, 1, kParamNumberMax},
    SSimWriteRule{"3GALARMMMS", S::Value, K::Flag, kMms, "$3GS_ALARM_MMS"},
    SSimWriteRule{"3GALARMVP", S::Value, K::Flag, kMms, "$3GS_ALARM_VCALL"},
    SSimWriteRule{"3GALARMVC", S::Value, K::Flag, kMms, "$3GS_ALARM_VPR"},
    SSimWriteRule{"IOVPC0,", S::Value, K::Flag, kMms, "$3GS_DINVPC0"},
    SSimWriteRule{"IOVPC1,", S::Value, K::Flag, kMms, "$3GS_DINVPC1"},
    SSimWriteRule{"IODVR0,", S::Value, K::Flag, kMms, "$3GS_DINVCR0"},
    SSimWriteRule{"IODVR1,", S::Value, K::Flag, kMms, "$3GS_DINVCR1"},
    SSimWriteRule{"IOVCH0,", S::Value, K::Number, kMms, "$3GS_DINVCH0", {}, 1, 1, 0, 0, 1, kChannelMax},
    SSimWriteRule{"IOVCH1,", S::Value, K::Number, kMms, "$3GS_DINVCH1", {}, 1, 1, 0, 0, 1, kChannelMax},
    SSimWriteRule{"FTPSVR0=", S::CommaPair, K::Text, kMms, "$SYS_FTPSVR0", "$SYS_FTPPOT0"},
    // Modbus master settings
    SSimWriteRule{"MDADDR", S::Value, K::Number, kModbus, "$MDADDR", {}, 1, 1, 0, 0, 1, kSlaveMax},
    SSimWriteRule{"MDLS", S::Value, K::Number, kModbus, "$MDRSDT", {}, 1, 1, 0, 0, 1, kParamNumberMax},
    SSimWriteRule{"MDAS", S::Value, K::Number, kModbus, "$MDRAST", {}, 1, 1, 0, 0, 1, kParamNumberMax},
    SSimWriteRule{"MDRTO", S::Value, K::Number, kModbus, "$MDRDTO", {}, 1, 1, 0, 0, 1, kParamNumberMax},
    SSimWriteRule{"MDLTO", S::Value, K::Number, kModbus, "$MDLPTO", {}, 1, 1, 0, 0, 1, kParamNumberMax},
    // Meter reading and the second UART
    SSimWriteRule{"P62056UT", S::Value, K::Number, kMeter, "$P62056POOLT", {}, 1, 1, 0, 0, 1, kParamNumberMax},
    SSimWriteRule{"P62056HT", S::Value, K::Number, kMeter, "$P62056HEART", {}, 1, 1, 0, 0, 1, kParamNumberMax},
    SSimWriteRule{"P62056ERRT", S::Value, K::Flag, kMeter, "$P62056ERRUP"},
    SSimWriteRule{"UART2CP", S::CommaPair, K::Text, kSys, "$UART2BPS", "$UART2PARITY"},
    // Data over SMS
    SSimWriteRule{"GSMDTUEN", S::Value, K::Flag, kSys, "$GSMDTU"},
    SSimWriteRule{"TM", S::Value, K::Number, kSys, "$DTM", {}, 1, 1, 0, 0, 1, kPacketTypeMax},
    SSimWriteRule{"OT", S::Value, K::Number, kSys, "$DOT", {}, 1, 1, 0, 0, 1, kParamNumberMax},
    SSimWriteRule{"EASYMODEMEN", S::Value, K::Flag, kSys, "$EASYMODEMEN"},
    SSimWriteRule{"EASYMODEMPWD", S::Value, K::Flag, kSys, "$EASYMODEMPWD"},
    SSimWriteRule{"SR", S::Indexed, K::Text, kPhone, "$SR#", {}, 1, 1, kSmsDataRowMax},
};
// clang-format on

// One value of a several-value command: its report key and what it may hold.
struct SField {
    std::string_view key;  // "#" stands for the row
    ESimValueKind kind = ESimValueKind::Text;
    int numberMax = 0;
};

// "<keyword><row digits>[=]v1,v2,…": each value to its own key, or all of them joined
// under the first key.
struct SFieldsRule {
    std::string_view keyword;
    std::string_view group;
    int indexDigits = 0;  // 0: no row
    int indexMax = 0;
    bool equals = false;  // an "=" follows the row
    bool joined = false;  // the unit reports the values in one line, comma-separated
    int values = 1;       // comma-separated values after the row
    std::array<SField, kFlagFields> fields{};
};

// clang-format off
constexpr std::array kFieldRules{
    SFieldsRule{"M2MDTSIP", kM2M, 1, kServerRowMax, true, false, 1, {{{"$M2MD_SVR#"}}}},
    SFieldsRule{"M2MDTSPT", kM2M, 1, kServerRowMax, true, false, 1, {{{"$M2MD_PT#", K::Number, kPortMax}}}},
    SFieldsRule{"M2MDTSPO", kM2M, 1, kServerRowMax, true, false, 1, {{{"$M2MD_PRO#", K::Flag, 1}}}},
    SFieldsRule{"M2MDTSTP", kM2M, 1, kServerRowMax, true, false, 1, {{{"$M2MD_MODE#", K::Number, kProtocolMax}}}},
    SFieldsRule{"M2MDTSTO", kM2M, 1, kServerRowMax, true, false, 3,
                {{{"$M2MD_IDLT#", K::Number, kParamNumberMax}, {"$M2MD_REPT#", K::Number, kParamNumberMax},
                  {"$M2MD_HRTT#", K::Number, kParamNumberMax}}}},
    SFieldsRule{"SYSSMTP", kMms, 0, 0, false, false, 5,
                {{{"$SMTP_SVR"}, {"$SMTP_PORT"}, {"$SMTP_UID"}, {"$SMTP_PWD"}, {"$SMTP_FROM"}}}},
    SFieldsRule{"MDMSF", kModbus, 2, kRegisterRowMax, true, true, kFlagFields,
                {{{"$MDFLG#", K::Flag, 1}, {"", K::Flag, 1}, {"", K::Flag, 1}, {"", K::Flag, 1}, {"", K::Flag, 1}}}},
    SFieldsRule{"R", kRegisters, 2, kRegisterLimitMax, false, false, 1, {{{"$REG#"}}}},
    SFieldsRule{"N", kRegisters, 2, kRegisterRowMax, false, false, 1, {{{"$RNAME#", K::Ucs2Hex}}}},
};
// clang-format on

constexpr std::string_view kModbusAlso[] = {kRegisters};

// The row and the text after it (and after its "="); nothing when they are not there.
std::optional<std::pair<int, std::string_view>> TakeRow(std::string_view args, int digits, int rowMax, bool equals)
{
    if (digits == 0) return std::pair{0, args};
    if (args.size() < static_cast<std::size_t>(digits)) return std::nullopt;
    const auto row = ParseDecimal(args.substr(0, static_cast<std::size_t>(digits)));
    if (!row || *row > rowMax) return std::nullopt;
    args.remove_prefix(static_cast<std::size_t>(digits));
    if (equals) {
        if (args.empty() || args.front() != '=') return std::nullopt;
        args.remove_prefix(1);
    }
    return std::pair{*row, args};
}

std::optional<std::vector<SSimAssignment>> ApplyFields(const SFieldsRule& rule, std::string_view args)
{
    const auto taken = TakeRow(args, rule.indexDigits, rule.indexMax, rule.equals);
    if (!taken) return std::nullopt;
    const auto [row, rest] = *taken;
    const auto count = static_cast<std::size_t>(rule.values);
    const auto parts = count == 1 ? std::vector<std::string_view>{rest} : SplitCommas(rest);
    if (parts.size() != count) return std::nullopt;
    std::vector<SSimAssignment> out;
    std::string joined;
    for (std::size_t i = 0; i < count; ++i) {
        const SField& f = rule.fields[i];
        auto value = CSimCommandTable::NormaliseValue(f.kind, parts[i], f.numberMax);
        if (!value) return std::nullopt;
        if (rule.joined) {
            joined += (i ? "," : "") + *value;
            continue;
        }
        out.push_back({CSimCommandTable::ExpandKey(f.key, row, rule.indexDigits), std::move(*value), rule.group});
    }
    if (rule.joined)
        out.push_back({CSimCommandTable::ExpandKey(rule.fields[0].key, row, rule.indexDigits), joined, rule.group});
    return out;
}

std::optional<int> Number(std::string_view text, int min, int max)
{
    const bool negative = !text.empty() && text.front() == '-';
    const auto n = ParseDecimal(negative ? text.substr(1) : text);
    if (!n || text.size() > CSimCommandTable::kMaxNumberDigits) return std::nullopt;
    const int value = negative ? -*n : *n;
    if (value < min || value > max) return std::nullopt;
    return value;
}

// "%mdmas<rr>=slave,address,type,state,gain,step,adjust,mask,interlock,lag,matrix": one
// register row of the Modbus master, reported as "$MDMAS<rr> slave,address,type,state" and
// one report per further setting.
std::optional<std::vector<SSimAssignment>> ApplyMasterRow(std::string_view args)
{
    const auto taken = TakeRow(args, 2, kRegisterRowMax, true);
    if (!taken) return std::nullopt;
    const auto parts = SplitCommas(taken->second);
    if (parts.size() != kMasterFields) return std::nullopt;
    const auto slave = Number(parts[0], 0, kSlaveMax);
    const auto address = Number(parts[1], 0, kPortMax);
    const auto type = Number(parts[2], 0, kRegisterTypeMax);
    const auto state = Number(parts[3], -1, 1);  // -1: no normal state chosen (registers)
    const auto interlock = Number(parts[8], 0, kNoInterlock);
    const auto lag = Number(parts[9], 0, kParamNumberMax);
    if (!slave || !address || !type || !state || !interlock || !lag) return std::nullopt;
    if (*interlock > kInterlockMax && *interlock != kNoInterlock) return std::nullopt;
    const auto matrix = CSimCommandTable::NormaliseValue(K::Text, parts[10], 0);
    if (!matrix || matrix->size() != kMatrixDigits ||
        matrix->find_first_not_of("0123456789abcdefABCDEF") != std::string::npos)
        return std::nullopt;
    for (int i : {4, 5, 6, 7})
        if (!CSimCommandTable::NormaliseValue(K::Text, parts[static_cast<std::size_t>(i)], 0)) return std::nullopt;
    std::string upper = *matrix;
    for (char& c : upper)
        if (c >= 'a' && c <= 'f') c = static_cast<char>(c - 'a' + 'A');
    const int row = taken->first;
    auto key = [row](std::string_view pattern) { return CSimCommandTable::ExpandKey(pattern, row, 2); };
    auto text = [&](int i) { return std::string(parts[static_cast<std::size_t>(i)]); };
    return std::vector<SSimAssignment>{
        {key("$MDMAS#"),
         std::to_string(*slave) + "," + std::to_string(*address) + "," + std::to_string(*type) + "," +
             std::to_string(*state < 0 ? 0 : *state),
         kModbus},
        {key("$MDMSC#"), text(4), kModbus},
        {key("$MDMCG#"), text(5), kModbus},
        {key("$MDBAS#"), text(6), kModbus},
        {key("$MDMSK#"), text(7), kModbus},
        {key("$MDLKO#"), std::to_string(*interlock), kModbus},
        {key("$MDLAG#"), std::to_string(*lag), kModbus},
        {key("$MDMTX#"), upper, kModbus},
    };
}

// "%R<rr><low>,<high>": both limits of register rr at once, as the master's editor sends them.
std::optional<std::vector<SSimAssignment>> ApplyLimitPair(std::string_view command)
{
    if (!command.starts_with('R')) return std::nullopt;
    const auto taken = TakeRow(command.substr(1), 2, kRegisterRowMax, false);
    if (!taken) return std::nullopt;
    const auto parts = SplitCommas(taken->second);
    if (parts.size() != 2) return std::nullopt;
    const auto low = CSimCommandTable::NormaliseValue(K::Text, parts[0], 0);
    const auto high = CSimCommandTable::NormaliseValue(K::Text, parts[1], 0);
    if (!low || !high || low->empty() || high->empty()) return std::nullopt;
    const int row = taken->first;
    return std::vector<SSimAssignment>{
        {CSimCommandTable::ExpandKey("$REG#", row + kRegisterRowMax + 1, 2), *low, kRegisters},
        {CSimCommandTable::ExpandKey("$REG#", row, 2), *high, kRegisters},
    };
}

}  // namespace

std::span<const SSimWriteRule> NetWriteRules() { return kRules; }

std::optional<std::vector<SSimAssignment>> ParseNetCommand(std::string_view command)
{
    constexpr std::string_view kMasterRow = "mdmas";
    if (command.starts_with(kMasterRow)) return ApplyMasterRow(command.substr(kMasterRow.size()));
    if (auto both = ApplyLimitPair(command)) return both;
    for (const SFieldsRule& rule : kFieldRules) {
        if (!command.starts_with(rule.keyword)) continue;
        if (auto out = ApplyFields(rule, command.substr(rule.keyword.size()))) return out;
    }
    return std::nullopt;
}

std::optional<std::vector<std::string>> NetRowDump(const CSimImage& image, std::string_view command)
{
    constexpr std::string_view kRowDump = "DUMP_MODBUS_MASTER";
    if (!command.starts_with(kRowDump)) return std::nullopt;
    const auto row = ParseDecimal(command.substr(kRowDump.size()));
    std::vector<std::string> lines;
    if (!row || *row > kRegisterRowMax || command.size() > kRowDump.size() + 2) return lines;  // no such row
    const std::string suffix = CSimCommandTable::ExpandKey("#", *row, 2);
    for (std::string& line : image.GroupLines(kModbus))
        if (CSimImage::KeyOf(line).ends_with(suffix) && !CSimImage::KeyOf(line).starts_with("$MDADDR"))
            lines.push_back(line);
    for (const std::string& key :
         {"$RNAME" + suffix, "$REG" + suffix, "$REG" + CSimCommandTable::ExpandKey("#", *row + kRegisterRowMax + 1, 2)})
        if (auto line = image.Line(key)) lines.push_back(*line);
    return lines;
}

std::span<const std::string_view> NetDumpAlsoReports(std::string_view group)
{
    if (group == kModbus) return kModbusAlso;
    return {};
}

}  // namespace rtu
