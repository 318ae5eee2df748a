#include "sim/core/SimRulesNet.h"

#include <array>
#include <string>

#include "sim/core/SimText.h"

namespace rtu {

namespace {

using namespace simgroups;
using namespace simrules;

using simtext::ParseDecimal;

constexpr int kPortMax = 65535;         // TCP and UDP ports
constexpr int kParamNumberMax = 65535;  // time-outs, intervals: 16-bit parameters
constexpr int kProtocolMax = 5;         // six data server protocols
constexpr int kServerRowMax = 3;        // four data servers
constexpr int kEmailRowMax = 1;         // two e-mail recipients
constexpr int kSmsDataRowMax = 7;       // eight data-over-SMS numbers
constexpr int kPacketTypeMax = 6;       // seven packet types
constexpr int kChannelMax = 1;          // two video channels, two video formats
constexpr int kRegisterRowMax = 31;     // 32 Modbus registers
constexpr int kRegisterLimitMax = 63;   // "%R": 0-31 high limits, 32-63 low limits
constexpr int kLowLimitOffset = kRegisterRowMax + 1;
constexpr int kRegisterTypeMax = 3;  // coils, holding, input, discrete
constexpr int kInterlockMax = 3;     // four digital outputs (or 255: none)
constexpr int kSlaveMax = 255;       // Modbus slave address
constexpr int kMatrixDigits = 8;     // alarm bit matrix, hex


using K = ESimValueKind;
using R = ESimRowForm;

constexpr SSimRow kServerRow{.form = R::Fixed, .max = kServerRowMax};
constexpr SSimRow kRegisterRow{.form = R::Fixed, .digits = 2, .max = kRegisterRowMax, .keyDigits = 2};

// "%R<rr><limit>": one limit of a register (rows 32-63 are the low limits).
constexpr SSimRule kOneLimit =
    Indexed("R", kRegisters, {.digits = 2, .max = kRegisterLimitMax, .keyDigits = 2}, "$REG#", K::Text);

// clang-format off
constexpr std::array kRules{
    // GPRS and M2M
    Value("M2MQMXNTPEN", kM2M, "$M2M_QMXNTP", K::Flag),
    Value("M2MAPN", kM2M, "$M2M_APN"),
    Value("M2MUID", kM2M, "$M2M_UID"),
    Value("M2MPWD", kM2M, "$M2M_PWD"),
    Value("M2MDNS", kM2M, "$M2M_DNS"),
    Value("M2MIDT", kM2M, "$M2M_IDT", K::Number, kParamNumberMax),
    Value("MODUID", kM2M, "$M2M_TID"),
    Value("M2MEN", kM2M, "$M2M_EN", K::Flag),
    Value("GDTUEN", kM2M, "$GDTU_EN", K::Flag),
    Value("GMSGEN", kM2M, "$GMSG_EN", K::Flag),
    Value("M2MCTO", kM2M, "$M2M_CTO", K::Number, kParamNumberMax),
    Pair("NTPSVR", kM2M, "$NTP_SVR", "$NTP_PORT"),
    Pair("NTPZONE", kM2M, "$NTP_ZONE", "$NTP_OFFT"),
    Value("NTPEN", kM2M, "$NTP_EN", K::Flag),
    // HTTP
    Value("HTTPURL", kHttp, "$M2M_HTTP_URL"),
    Value("HTTPPOSTPWD", kHttp, "$M2M_HTTP_PWD"),
    Value("HTTPGROUP", kHttp, "$M2M_HTTP_GID"),
    Value("HTTPSIM", kHttp, "$M2M_HTTP_SIM"),
    // E-mail, 3G and FTP
    Indexed("EM", kMms, {.max = kEmailRowMax}, "$EM#"),
    Pair("GPSGIS", kMms, "$3GS_GISS", "$3GS_GISP"),
    Value("GISTIMER", kMms, "$3GS_GPST", K::Number, kParamNumberMax),
    Value("MMSVINC", kMms, "$3GS_VCHN", K::Number, kChannelMax),
    Value("MMSVINF", kMms, "$3GS_VFMT", K::Number, kChannelMax),
    Value("3GDVRTIME", kMms, "$3GS_VCRS", K::Number, kParamNumberMax),
    Value("3GALARMMMS", kMms, "$3GS_ALARM_MMS", K::Flag),
    Value("3GALARMVP", kMms, "$3GS_ALARM_VCALL", K::Flag),
    Value("3GALARMVC", kMms, "$3GS_ALARM_VPR", K::Flag),
    Value("IOVPC0,", kMms, "$3GS_DINVPC0", K::Flag),
    Value("IOVPC1,", kMms, "$3GS_DINVPC1", K::Flag),
    Value("IODVR0,", kMms, "$3GS_DINVCR0", K::Flag),
    Value("IODVR1,", kMms, "$3GS_DINVCR1", K::Flag),
    Value("IOVCH0,", kMms, "$3GS_DINVCH0", K::Number, kChannelMax),
    Value("IOVCH1,", kMms, "$3GS_DINVCH1", K::Number, kChannelMax),
    Pair("FTPSVR0=", kMms, "$SYS_FTPSVR0", "$SYS_FTPPOT0"),
    // Modbus master settings
    Value("MDADDR", kModbus, "$MDADDR", K::Number, kSlaveMax),
    Value("MDLS", kModbus, "$MDRSDT", K::Number, kParamNumberMax),
    Value("MDAS", kModbus, "$MDRAST", K::Number, kParamNumberMax),
    Value("MDRTO", kModbus, "$MDRDTO", K::Number, kParamNumberMax),
    Value("MDLTO", kModbus, "$MDLPTO", K::Number, kParamNumberMax),
    // Meter reading and the second UART
    Value("P62056UT", kMeter, "$P62056POOLT", K::Number, kParamNumberMax),
    Value("P62056HT", kMeter, "$P62056HEART", K::Number, kParamNumberMax),
    Value("P62056ERRT", kMeter, "$P62056ERRUP", K::Flag),
    Pair("UART2CP", kSys, "$UART2BPS", "$UART2PARITY"),
    // Data over SMS
    Value("GSMDTUEN", kSys, "$GSMDTU", K::Flag),
    Value("TM", kSys, "$DTM", K::Number, kPacketTypeMax),
    Value("OT", kSys, "$DOT", K::Number, kParamNumberMax),
    Value("EASYMODEMEN", kSys, "$EASYMODEMEN", K::Flag),
    Value("EASYMODEMPWD", kSys, "$EASYMODEMPWD", K::Flag),
    Indexed("SR", kPhone, {.max = kSmsDataRowMax}, "$SR#"),
    // Data servers: "%M2MDTSIP<row>=<address>"
    Indexed("M2MDTSIP", kM2M, kServerRow, "$M2MD_SVR#", K::Text, 0, "="),
    Indexed("M2MDTSPT", kM2M, kServerRow, "$M2MD_PT#", K::Number, kPortMax, "="),
    Indexed("M2MDTSPO", kM2M, kServerRow, "$M2MD_PRO#", K::Flag, 0, "="),
    Indexed("M2MDTSTP", kM2M, kServerRow, "$M2MD_MODE#", K::Number, kProtocolMax, "="),
    SSimRule{.keyword = "M2MDTSTO", .group = kM2M, .row = kServerRow, .after = "=",
             .fields = Fields({{.key = "$M2MD_IDLT#", .kind = K::Number, .max = kParamNumberMax},
                               {.key = "$M2MD_REPT#", .kind = K::Number, .max = kParamNumberMax},
                               {.key = "$M2MD_HRTT#", .kind = K::Number, .max = kParamNumberMax}})},
    SSimRule{.keyword = "SYSSMTP", .group = kMms,
             .fields = Fields({{.key = "$SMTP_SVR", .kind = K::Text}, {.key = "$SMTP_PORT", .kind = K::Text},
                               {.key = "$SMTP_UID", .kind = K::Text}, {.key = "$SMTP_PWD", .kind = K::Text},
                               {.key = "$SMTP_FROM", .kind = K::Text}})},
    // Modbus registers: flags, names, limits and the master's register rows. The flags are
    // reported in one line.
    SSimRule{.keyword = "MDMSF", .group = kModbus, .row = kRegisterRow, .after = "=",
             .fields = Fields({{.key = "$MDFLG#", .kind = K::Flag}, {.kind = K::Flag, .join = true},
                               {.kind = K::Flag, .join = true}, {.kind = K::Flag, .join = true},
                               {.kind = K::Flag, .join = true}})},
    Indexed("N", kRegisters, kRegisterRow, "$RNAME#", K::Ucs2Hex),
    // "%R<rr><low>,<high>": both limits of register rr at once, as the master's editor sends them.
    SSimRule{.keyword = "R", .group = kRegisters, .row = kRegisterRow,
             .fields = Fields({{.key = "$REG#", .kind = K::Filled, .offset = kLowLimitOffset},
                               {.key = "$REG#", .kind = K::Filled}}),
             .otherwise = &kOneLimit},
    // "%mdmas<rr>=slave,address,type,state,gain,step,adjust,mask,interlock,lag,matrix": one
    // register row of the Modbus master, reported as "$MDMAS<rr> slave,address,type,state" and
    // one report per further setting.
    SSimRule{.keyword = "mdmas", .group = kModbus, .row = kRegisterRow, .after = "=",
             .fields = Fields({{.key = "$MDMAS#", .kind = K::Number, .max = kSlaveMax},
                               {.kind = K::Number, .max = kPortMax, .join = true},
                               {.kind = K::Number, .max = kRegisterTypeMax, .join = true},
                               {.kind = K::State, .join = true},
                               {.key = "$MDMSC#", .kind = K::Text},
                               {.key = "$MDMCG#", .kind = K::Text},
                               {.key = "$MDBAS#", .kind = K::Text},
                               {.key = "$MDMSK#", .kind = K::Text},
                               {.key = "$MDLKO#", .kind = K::Output, .max = kInterlockMax},
                               {.key = "$MDLAG#", .kind = K::Number, .max = kParamNumberMax},
                               {.key = "$MDMTX#", .kind = K::Hex, .length = kMatrixDigits}})},
};
// clang-format on

constexpr std::string_view kModbusAlso[] = {kRegisters};

}  // namespace

std::span<const SSimRule> NetRules() { return kRules; }

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
