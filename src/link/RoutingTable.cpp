#include "link/RoutingTable.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdint>

#include "link/KeyIndex.h"
#include "link/TextFields.h"

namespace rtu {
namespace {

using E = RouteEffect;
using P = PageId;

// Lines beginning with "$" go to both record pages first; every line then reaches the
// main parameters page.
constexpr RouteRow kPre[] = {
    {"R1", "$", {}, -1, {{{P::ExTmpRcd, E::Handler, 0, "$", 1, -1}, {P::ExtTmpLog, E::Handler, 0, "$", 1, -1}}}, 2},
    {"R2", "", {}, -1, {{{P::MainParams, E::Scan, 0, "", 0, -1}}}, 1},
};

constexpr RouteRow kChainA[] = {
    {"A1", "$PRIODINSMS", {}, -1, {{{P::Priotab, E::Handler, 11, "$PRIODINSMS", 1, 0}}}, 1},
    {"A2", "$PRIODINRING", {}, -1, {{{P::Priotab, E::Handler, 12, "$PRIODINRING", 1, 1}}}, 1},
    {"A3", "$PRIOAINSMS", {}, -1, {{{P::Ainprio, E::Handler, 11, "$PRIOAINSMS", 1, -1}}}, 1},
    {"A4", "$PRIOSYS", {}, -1, {{{P::SysPrio, E::Handler, 8, "$PRIOSYS", 1, -1}}}, 1},
    {"A5", "$PRIOWINSMS", {}, -1, {{{P::WinPrio, E::Handler, 11, "$PRIOWINSMS", 1, 0}}}, 1},
    {"A6", "$PRIOWINRING", {}, -1, {{{P::WinPrio, E::Handler, 12, "$PRIOWINRING", 1, 1}}}, 1},
    {"A7", "$P62056", {}, -1, {{{P::P62056, E::Handler, 7, "$P62056", 1, -1}}}, 1},
    {"A8", "$GRAY", {}, -1, {{{P::Graycode, E::Scan, 0, "$GRAY", 0, -1}}}, 1},
    {"A9", "$3GS_", {}, -1, {{{P::Mms3G, E::ScanEach, 0, "$3GS_", 0, -1}}}, 1},
    {"A10",
     "$M2M_",
     {},
     -1,
     {{{P::Mms3G, E::ScanEach, 0, "$M2M_", 0, -1}, {P::Http, E::Scan, 0, "$M2M_", 0, -1}}},
     2},
    {"A11", "$SMTP", {}, -1, {{{P::Mms3G, E::ScanEach, 0, "$SMTP", 0, -1}}}, 1},
    {"A12", "$SYS_FTP", {}, -1, {{{P::Mms3G, E::ScanEach, 0, "$SYS_FTP", 0, -1}}}, 1},
    {"A13", "$GSENSOR", {}, -1, {{{P::GSensor, E::Handler, 0, "$GSENSOR", 1, -1}}}, 1},
    {"A14", "$ISNAME", {}, -1, {{{P::ISensorName, E::Handler, 0, "$ISNAME", 1, -1}}}, 1},
    {"A15",
     "$M2M_HTTP_",
     {},
     -1,
     {{{P::Http, E::Scan, 0, "$M2M_HTTP_", 0, -1}}},
     1},  // never reached: "$M2M_" matches first
};

constexpr RouteRow kChainB[] = {
    {"B1", "$DTM", {}, -1, {{{P::DataParams, E::ComboNumber, 5, "$DTM", 0, -1}}}, 1},
    {"B2", "$DOT", {}, -1, {{{P::DataParams, E::EditText, 5, "$DOT", 0, -1}}}, 1},
    {"B3", "$SR", {}, 3, {{{P::DataParams, E::Handler, 5, "$SR", 1, -1}}}, 1},
    {"B4", "$GSMDTU 0", {}, -1, {{{P::DataParams, E::CheckOff, 0, "$GSMDTU", 0, -1}}}, 1},
    {"B5", "$GSMDTU 1", {}, -1, {{{P::DataParams, E::CheckOn, 0, "$GSMDTU", 0, -1}}}, 1},
    {"B6", "$EASYMODEMEN 1", {}, -1, {{{P::DataParams, E::CheckOn, 0, "$EASYMODEMEN", 0, -1}}}, 1},
    {"B7", "$EASYMODEMEN 0", {}, -1, {{{P::DataParams, E::CheckOff, 0, "$EASYMODEMEN", 0, -1}}}, 1},
    {"B8", "$EASYMODEMPWD 0", {}, -1, {{{P::DataParams, E::CheckOff, 0, "$EASYMODEMPWD", 0, -1}}}, 1},
    {"B9", "$EASYMODEMPWD 1", {}, -1, {{{P::DataParams, E::CheckOn, 0, "$EASYMODEMPWD", 0, -1}}}, 1},
    {"B10", "$POWDLY", {}, -1, {{{P::Battery, E::EditText, 8, "$POWDLY", 0, -1}}}, 1},
    {"B11", "$BATEN 1", {}, -1, {{{P::Battery, E::CheckOn, 0, "$BATEN", 0, -1}}}, 1},
    {"B12", "$BATEN 0", {}, -1, {{{P::Battery, E::CheckOff, 0, "$BATEN", 0, -1}}}, 1},
    {"B13", "$POWLS", {}, -1, {{{P::Battery, E::EditText, 7, "$POWLS", 0, -1}}}, 1},
    {"B14", "$DINAS", {}, -1, {{{P::DinParams, E::Handler, 6, "$DINAS", 1, -1}}}, 1},
    {"B15", "$DINLS", {}, -1, {{{P::DinParams, E::Handler, 6, "$DINLS", 2, -1}}}, 1},
    {"B16", "$DINDLY", {}, -1, {{{P::DinParams, E::Handler, 7, "$DINDLY", 3, -1}}}, 1},
    {"B17",
     "$M2M_",
     "$NTP_",
     -1,
     {{{P::GPRS, E::Handler, 0, "$M2M_", 1, -1}, {P::Http, E::Scan, 0, "$M2M_", 0, -1}}},
     2},
    {"B18", "$M2MD_", {}, -1, {{{P::GPRS, E::Handler, 0, "$M2MD_", 2, -1}}}, 1},
    {"B19", "$GDTU_EN 0", {}, -1, {{{P::GPRS, E::CheckOff, 0, "$GDTU_EN", 0, -1}}}, 1},
    {"B20", "$GDTU_EN 1", {}, -1, {{{P::GPRS, E::CheckOn, 0, "$GDTU_EN", 0, -1}}}, 1},
    {"B21", "$GMSG_EN 0", {}, -1, {{{P::GPRS, E::CheckOff, 0, "$GMSG_EN", 0, -1}}}, 1},
    {"B22", "$GMSG_EN 1", {}, -1, {{{P::GPRS, E::CheckOn, 0, "$GMSG_EN", 0, -1}}}, 1},
    {"B23", "$DID", {}, -1, {{{P::GPRS, E::EditText, 5, "$DID", 0, -1}}}, 1},
    {"B24", "$BUZ", {}, -1, {{{P::Buzzer, E::Scan, 0, "$BUZ", 0, -1}}}, 1},
    {"B25", "$IBUZ", {}, -1, {{{P::Buzzer, E::Scan, 0, "$IBUZ", 0, -1}}}, 1},
    {"B26", "$DINAME", {}, -1, {{{P::DinName, E::Handler, 7, "$DINAME", 1, -1}}}, 1},
    {"B27", "$DONAME", {}, -1, {{{P::DoutName, E::Handler, 7, "$DONAME", 1, -1}}}, 1},
    {"B28", "$SYSCMD", {}, -1, {{{P::UserCmd, E::Handler, 7, "$SYSCMD", 1, -1}}}, 1},
    {"B29", "$USERCMD", {}, -1, {{{P::UserCmd, E::Handler, 8, "$USERCMD", 2, -1}}}, 1},
    {"B30", "$UART2BPS", {}, -1, {{{P::Comm2, E::EditText, 10, "$UART2BPS", 0, -1}}}, 1},
    {"B31", "$UART2PARITY", {}, -1, {{{P::Comm2, E::ComboNumber, 13, "$UART2PARITY", 0, -1}}}, 1},
    {"B32", "$DINCTSMT", {}, -1, {{{P::DinCt, E::EditText, 10, "$DINCTSMT", 0, -1}}}, 1},
    {"B33", "$DINCTSNM", {}, -1, {{{P::DinCt, E::EditText, 10, "$DINCTSNM", 0, -1}}}, 1},
    {"B34", "$DINCTUNTV", {}, -1, {{{P::DinCt, E::Handler, 10, "$DINCTUNTV", 1, 1}}}, 1},
    {"B35", "$DINCTMAXV", {}, -1, {{{P::DinCt, E::Handler, 10, "$DINCTMAXV", 1, 2}}}, 1},
    {"B36", "$ILOCK", {}, -1, {{{P::Interlock, E::Handler, 6, "$ILOCK", 1, -1}}}, 1},
    {"B37", "$MDADDR", {}, -1, {{{P::MbusParams, E::EditText, 8, "$MDADDR", 0, -1}}}, 1},
    {"B38", "$MDRSDT", {}, -1, {{{P::MbusParams, E::EditText, 8, "$MDRSDT", 0, -1}}}, 1},
    {"B39", "$MDRDTO", {}, -1, {{{P::MbusParams, E::EditText, 8, "$MDRDTO", 0, -1}}}, 1},
    {"B40", "$MDRAST", {}, -1, {{{P::MbusParams, E::EditText, 8, "$MDRAST", 0, -1}}}, 1},
    {"B41", "$MDLPTO", {}, -1, {{{P::MbusParams, E::EditText, 8, "$MDLPTO", 0, -1}}}, 1},
    {"B42", "$MDMAS", {}, -1, {{{P::MbusParams, E::Handler, 6, "$MDMAS", 1, -1}}}, 1},
    {"B43", "$MDMSC", {}, -1, {{{P::MbusParams, E::Handler, 6, "$MDMSC", 1, -1}}}, 1},
    {"B44", "$MDMCG", {}, -1, {{{P::MbusParams, E::Handler, 6, "$MDMCG", 1, -1}}}, 1},
    {"B45", "$MDFLG", {}, -1, {{{P::MbusParams, E::Handler, 6, "$MDFLG", 1, -1}}}, 1},
    {"B46", "$MDMSK", {}, -1, {{{P::MbusParams, E::Handler, 6, "$MDMSK", 1, -1}}}, 1},
    {"B47", "$MDLKO", {}, -1, {{{P::MbusParams, E::Handler, 6, "$MDLKO", 1, -1}}}, 1},
    {"B48", "$MDBAS", {}, -1, {{{P::MbusParams, E::Handler, 6, "$MDBAS", 1, -1}}}, 1},
    {"B49", "$MDLAG", {}, -1, {{{P::MbusParams, E::Handler, 6, "$MDLAG", 1, -1}}}, 1},
    {"B50", "$MDMTX", {}, -1, {{{P::MbusParams, E::Handler, 6, "$MDMTX", 1, -1}}}, 1},
    {"B51", "$AR 1", {}, -1, {{{P::AlarmParams, E::CheckOn, 0, "$AR", 0, -1}}}, 1},
    {"B52", "$AR 0", {}, -1, {{{P::AlarmParams, E::CheckOff, 0, "$AR", 0, -1}}}, 1},
    {"B53", "$IAT", {}, -1, {{{P::AlarmParams, E::EditText, 5, "$IAT", 0, -1}}}, 1},
    {"B54", "$IOAT", {}, -1, {{{P::AlarmParams, E::EditText, 6, "$IOAT", 0, -1}}}, 1},
    {"B55", "$ATA 1", {}, -1, {{{P::AlarmParams, E::CheckOn, 0, "$ATA", 0, -1}}}, 1},
    {"B56", "$ATA 0", {}, -1, {{{P::AlarmParams, E::CheckOff, 0, "$ATA", 0, -1}}}, 1},
    {"B57", "$AWB 1", {}, -1, {{{P::AlarmParams, E::CheckOn, 0, "$AWB", 0, -1}}}, 1},
    {"B58", "$AWB 0", {}, -1, {{{P::AlarmParams, E::CheckOff, 0, "$AWB", 0, -1}}}, 1},
    {"B59", "$UARTEVENT 1", {}, -1, {{{P::AlarmParams, E::CheckOn, 0, "$UARTEVENT", 0, -1}}}, 1},
    {"B60", "$UARTEVENT 0", {}, -1, {{{P::AlarmParams, E::CheckOff, 0, "$UARTEVENT", 0, -1}}}, 1},
    {"B61", "$MODEM_SPK", {}, -1, {{{P::AlarmParams, E::CheckChar, 11, "$MODEM_SPK", 0, -1}}}, 1},
    {"B62", "$MODEM_MIC", {}, -1, {{{P::AlarmParams, E::CheckChar, 11, "$MODEM_MIC", 0, -1}}}, 1},
    {"B63", "$SNDALARMDLY", {}, -1, {{{P::AlarmParams, E::CheckChar, 13, "$SNDALARMDLY", 0, -1}}}, 1},
    {"B64", "$INDLY", {}, -1, {{{P::AlarmParams, E::EditText, 7, "$INDLY", 0, -1}}}, 1},
    {"B65", "$AINDRP", {}, -1, {{{P::AlarmParams, E::Handler, 7, "$AINDRP", 1, -1}}}, 1},
    {"B66", "$DRP", {}, -1, {{{P::AlarmParams, E::Handler, 4, "$DRP", 2, -1}}}, 1},
    {"B67", "$OUTDLY", {}, -1, {{{P::AlarmParams, E::EditText, 8, "$OUTDLY", 0, -1}}}, 1},
    {"B68", "$CS", {}, 3, {{{P::Server, E::ListRow, 5, "$CS", 1, -1}}}, 1},
    {"B69", "$EM", {}, 3, {{{P::Email, E::ListRow, 5, "$EM", 1, -1}}}, 1},
    {"B70", "$SOS", {}, 4, {{{P::Sos, E::ListRow, 6, "$SOS", 1, -1}}}, 1},
    {"B71", "$ITP", {}, -1, {{{P::GPIO, E::Handler, 4, "$ITP", 1, -1}}}, 1},
    {"B72", "$OTP", {}, -1, {{{P::GPIO, E::Handler, 4, "$OTP", 1, -1}}}, 1},
    {"B73", "*IO", {}, -1, {{{P::GPIO, E::Handler, 3, "*IO", 1, -1}}}, 1},
    {"B74", "$IOOR ", {}, -1, {{{P::GPIO, E::CheckChar, 6, "$IOOR", 0, -1}}}, 1},
    {"B75", "$DINCTA ", {}, -1, {{{P::GPIO, E::CheckChar, 8, "$DINCTA", 0, -1}}}, 1},
    {"B76", "$DINURG", {}, -1, {{{P::GPIO, E::Handler, 7, "$DINURG", 1, -1}}}, 1},
    {"B77", "$DINSND", {}, -1, {{{P::GPIO, E::Handler, 7, "$DINSND", 1, -1}}}, 1},
    {"B78", "$DINCNT", {}, -1, {{{P::GPIO, E::Handler, 7, "$DINCNT", 1, -1}}}, 1},
    {"B79", "$L1DEF 0", {}, -1, {{{P::GPIO, E::CheckOff, 0, "$L1DEF", 0, -1}}}, 1},
    {"B80", "$L1DEF 1", {}, -1, {{{P::GPIO, E::CheckOn, 0, "$L1DEF", 0, -1}}}, 1},
    {"B81", "$IOHT ", {}, -1, {{{P::GPIO, E::EditText, 6, "$IOHT", 0, -1}}}, 1},
    {"B82", "$DINDUT ", {}, -1, {{{P::GPIO, E::EditText, 8, "$DINDUT", 0, -1}}}, 1},
    {"B83", "$ADIN", {}, -1, {{{P::AD, E::Handler, 5, "$ADIN", 1, -1}}}, 1},
    {"B84", "*AINC", {}, -1, {{{P::AD, E::Handler, 5, "*AINC", 1, -1}}}, 1},
    {"B85", "$ASCALE0", {}, -1, {{{P::AD, E::EditText, 9, "$ASCALE0", 0, -1}}}, 1},
    {"B86", "$ASCALE1", {}, -1, {{{P::AD, E::EditText, 9, "$ASCALE1", 0, -1}}}, 1},
    {"B87", "$ASCALE2", {}, -1, {{{P::AD, E::EditText, 9, "$ASCALE2", 0, -1}}}, 1},
};

constexpr RouteRow kChainC[] = {
    {"C1", "$ASCALE3", {}, -1, {{{P::AD, E::EditText, 9, "$ASCALE3", 0, -1}}}, 1},
    {"C2", "$ADINRH", {}, -1, {{{P::AD, E::Handler, 7, "$ADINRH", 1, -1}}}, 1},
    {"C3", "$ADINRL", {}, -1, {{{P::AD, E::Handler, 7, "$ADINRL", 1, -1}}}, 1},
    {"C4", "$AINURG", {}, -1, {{{P::AD, E::Handler, 7, "$AINURG", 1, -1}}}, 1},
    {"C5", "$ADINST", {}, -1, {{{P::AD, E::Handler, 7, "$ADINST", 1, -1}}}, 1},
    {"C6", "$ADINOT", {}, -1, {{{P::AD, E::Handler, 7, "$ADINOT", 1, -1}}}, 1},
    {"C7", "$AINSND", {}, -1, {{{P::AD, E::Handler, 7, "$AINSND", 1, -1}}}, 1},
    {"C8", "$AINTPE", {}, -1, {{{P::AD, E::Handler, 7, "$AINTPE", 1, -1}}}, 1},
    {"C9", "$AINVER", {}, -1, {{{P::AD, E::Handler, 8, "$AINVER", 1, -1}}}, 1},
    {"C10", "$AINUPT", {}, -1, {{{P::AD, E::EditText, 8, "$AINUPT", 0, -1}}}, 1},
    {"C11", "$AINUPS", {}, -1, {{{P::AD, E::EditText, 8, "$AINUPS", 0, -1}}}, 1},
    {"C12", "$AINUPE", {}, -1, {{{P::AD, E::EditText, 8, "$AINUPE", 0, -1}}}, 1},
    {"C13", "*ADC_EN", {}, -1, {{{P::AD, E::Handler, 7, "*ADC_EN", 1, -1}}}, 1},
    {"C14", "$ADNAME", {}, -1, {{{P::ADName, E::Handler, 7, "$ADNAME", 1, -1}}}, 1},
    {"C15", "$ADZERO0", {}, -1, {{{P::AD, E::EditText, 9, "$ADZERO0", 0, -1}}}, 1},
    {"C16", "$ADZERO1", {}, -1, {{{P::AD, E::EditText, 9, "$ADZERO1", 0, -1}}}, 1},
    {"C17", "$ADZERO2", {}, -1, {{{P::AD, E::EditText, 9, "$ADZERO2", 0, -1}}}, 1},
    {"C18", "$ADZERO3", {}, -1, {{{P::AD, E::EditText, 9, "$ADZERO3", 0, -1}}}, 1},
    {"C19", "$AINAS", {}, -1, {{{P::AD, E::EditText, 7, "$AINAS", 0, -1}}}, 1},
    {"C20", "$AINLS", {}, -1, {{{P::AD, E::EditText, 7, "$AINLS", 0, -1}}}, 1},
    {"C21", "$AINDLY", {}, -1, {{{P::AD, E::EditText, 8, "$AINDLY", 0, -1}}}, 1},
    {"C22", "$AINEXT", {}, -1, {{{P::AdcExt, E::Handler, 7, "$AINEXT", 1, -1}}}, 1},
    {"C23", "$AINOOC", {}, -1, {{{P::AdcExt, E::Handler, 7, "$AINOOC", 2, -1}}}, 1},
    {"C24", "$COUNTER_", {}, -1, {{{P::Counter, E::Handler, 9, "$COUNTER_", 1, -1}}}, 1},
    {"C25",
     "$SMS",
     {},
     -1,
     {{{P::DinAlarm, E::Handler, 4, "$SMS", 1, -1},
       {P::ADSms, E::Handler, 4, "$SMS", 1, -1},
       {P::AllSms, E::Handler, 4, "$SMS", 1, -1},
       {P::RfZone, E::Handler, 4, "$SMS", 1, -1}}},
     4},
    {"C26", "$AINSMH", {}, -1, {{{P::ADSms, E::CheckChar, 8, "$AINSMH", 0, -1}}}, 1},
    {"C27", "$TMPUPS", {}, -1, {{{P::Temp, E::EditText, 8, "$TMPUPS", 0, -1}}}, 1},
    {"C28", "$TMPOS", {}, -1, {{{P::Temp, E::EditText, 7, "$TMPOS", 0, -1}}}, 1},
    {"C29", "$TMPH", {}, -1, {{{P::Temp, E::EditText, 6, "$TMPH", 0, -1}}}, 1},
    {"C30", "$TMPL", {}, -1, {{{P::Temp, E::EditText, 6, "$TMPL", 0, -1}}}, 1},
    {"C31", "$TMPB", {}, -1, {{{P::Temp, E::EditText, 6, "$TMPB", 0, -1}}}, 1},
    {"C32", "*TMPC", {}, -1, {{{P::Temp, E::EditText, 6, "*TMPC", 0, -1}}}, 1},
    {"C33", "*TMP100_EN 1", {}, -1, {{{P::Temp, E::CheckOn, 0, "*TMP100_EN", 0, -1}}}, 1},
    {"C34", "*TMP100_EN 0", {}, -1, {{{P::Temp, E::CheckOff, 0, "*TMP100_EN", 0, -1}}}, 1},
    {"C35", "$TMPAS", {}, -1, {{{P::Temp, E::EditText, 7, "$TMPAS", 0, -1}}}, 1},
    {"C36", "$TMPRS", {}, -1, {{{P::Temp, E::EditText, 7, "$TMPRS", 0, -1}}}, 1},
    {"C37", "$TMPDLY", {}, -1, {{{P::Temp, E::EditText, 8, "$TMPDLY", 0, -1}}}, 1},
    {"C38", "$TMPURG 0", {}, -1, {{{P::Temp, E::CheckOff, 0, "$TMPURG", 0, -1}}}, 1},
    {"C39", "$TMPURG 1", {}, -1, {{{P::Temp, E::CheckOn, 0, "$TMPURG", 0, -1}}}, 1},
    {"C40", "$TMPSND 1", {}, -1, {{{P::Temp, E::CheckOn, 0, "$TMPSND", 0, -1}}}, 1},
    {"C41", "$TMPSND 0", {}, -1, {{{P::Temp, E::CheckOff, 0, "$TMPSND", 0, -1}}}, 1},
    {"C42", "$TMPSMS 1", {}, -1, {{{P::Temp, E::CheckOn, 0, "$TMPSMS", 0, -1}}}, 1},
    {"C43", "$TMPSMS 0", {}, -1, {{{P::Temp, E::CheckOff, 0, "$TMPSMS", 0, -1}}}, 1},
    {"C44", "$ETEMP", {}, -1, {{{P::ExtTemp, E::Handler, 6, "$ETEMP", 1, -1}}}, 1},
    {"C45", "$TMPI", {}, -1, {{{P::Temp, E::Handler, 5, "$TMPI", 1, -1}}}, 1},
    {"C46", "$HUMI", {}, -1, {{{P::Humidity, E::Handler, 5, "$HUMI", 1, -1}}}, 1},
    {"C47", "$HUM", {}, -1, {{{P::Humidity, E::Handler, 4, "$HUM", 1, -1}}}, 1},
    {"C48", "*HUMIDITY", {}, -1, {{{P::Humidity, E::EditText, 10, "*HUMIDITY", 0, -1}}}, 1},
    {"C49", "$EXTEMP", {}, -1, {{{P::ExtTemp, E::Handler, 7, "$EXTEMP", 2, -1}}}, 1},
    {"C50", "$OAS", {}, -1, {{{P::Cio, E::Handler, 4, "$OAS", 1, -1}}}, 1},
    {"C51", "$IOOC", {}, -1, {{{P::Cio, E::Handler, 6, "$IOOC", 2, -1}}}, 1},
    {"C52", "$IOPO", {}, -1, {{{P::Cio, E::EditText, 6, "$IOPO", 0, -1}}}, 1},
    {"C53", "$INTERLOCKDISARM", {}, -1, {{{P::Cio, E::CheckChar, 17, "$INTERLOCKDISARM", 0, -1}}}, 1},
    {"C54", "$INTERLOCKURG", {}, -1, {{{P::Cio, E::CheckChar, 14, "$INTERLOCKURG", 0, -1}}}, 1},
    {"C55",
     "$RNAME",
     {},
     -1,
     {{{P::Rname, E::Handler, 6, "$RNAME", 1, -1}, {P::MbusParams, E::Handler, 6, "$RNAME", 1, -1}}},
     2},
    {"C56",
     "$REG",
     {},
     -1,
     {{{P::Rname, E::Handler, 4, "$REG", 2, -1}, {P::MbusParams, E::Handler, 4, "$REG", 2, -1}}},
     2},
    {"C57", "$TIMER", {}, -1, {{{P::MTimer, E::Handler, 6, "$TIMER", 1, -1}}}, 1},
    {"C58", "$TSPAN", {}, -1, {{{P::MTimer, E::Handler, 6, "$TSPAN", 1, -1}}}, 1},
    {"C59", "$TSSPAN", {}, -1, {{{P::MTimer, E::Handler, 7, "$TSSPAN", 1, -1}}}, 1},
    {"C60",
     "$TDATE",
     {},
     -1,
     {{{P::MTimer, E::Handler, 6, "$TDATE", 1, -1}, {P::WeekTimer, E::Handler, 6, "$TDATE", 1, -1}}},
     2},
    {"C61", "$MMS_", {}, -1, {{{P::MmsSetup, E::Handler, 5, "$MMS_", 1, -1}}}, 1},
    {"C62", "$MMSACC", {}, -1, {{{P::MmsSetup, E::Handler, 4, "$MMSACC", 1, -1}}}, 1},
    {"C63", "$MMSTCC", {}, -1, {{{P::MmsSetup, E::Handler, 4, "$MMSTCC", 1, -1}}}, 1},
    {"C64", "$MMSSMSCC", {}, -1, {{{P::MmsSetup, E::Handler, 4, "$MMSSMSCC", 1, -1}}}, 1},
    {"C65", "$MMSALARM", {}, -1, {{{P::MmsSetup, E::Handler, 4, "$MMSALARM", 1, -1}}}, 1},
    {"C66", "$MMSSMSRP", {}, -1, {{{P::MmsSetup, E::Handler, 4, "$MMSSMSRP", 1, -1}}}, 1},
    {"C67", "$MMSSMSHC", {}, -1, {{{P::MmsSetup, E::Handler, 4, "$MMSSMSHC", 1, -1}}}, 1},
    {"C68", "$WIN", {}, -1, {{{P::RfZone, E::Handler, 0, "$WIN", 1, -1}}}, 1},
    {"C69", "$RPLARM 0", {}, -1, {{{P::RfZone, E::CheckOff, 0, "$RPLARM", 0, -1}}}, 1},
    {"C70", "$RPLARM 1", {}, -1, {{{P::RfZone, E::CheckOn, 0, "$RPLARM", 0, -1}}}, 1},
};

bool Matches(const RouteRow& row, const MarkedLine& line)
{
    bool hit = line.Contains(row.contains);
    if (!hit && !row.orContains.empty()) hit = line.Contains(row.orContains);
    if (!hit) return false;
    if (row.digitOffset >= 0) {
        const auto at = static_cast<std::size_t>(row.digitOffset);
        return at < line.text.size() && std::isdigit(static_cast<unsigned char>(line.text[at]));
    }
    return true;
}

// The rows of the three chains in one list, A then B then C, with one index of their keys:
// a line is looked up once for all chains.
struct IndexedChains {
    static constexpr std::size_t kChains = 3;
    std::array<std::span<const RouteRow>, kChains> chains{std::span<const RouteRow>(kChainA), kChainB, kChainC};
    std::array<std::size_t, kChains + 1> starts{};  // the chains' first positions in the list
    KeyIndex index;

    IndexedChains()
    {
        std::size_t at = 0;
        for (std::size_t c = 0; c < kChains; ++c) {
            starts[c] = at;
            for (const RouteRow& row : chains[c]) {
                index.Add(at, row.contains);
                if (!row.orContains.empty()) index.Add(at, row.orContains);
                ++at;
            }
        }
        starts[kChains] = at;
    }
    const RouteRow& Row(std::size_t chain, std::size_t at) const { return chains[chain][at - starts[chain]]; }
};

const IndexedChains& Chains()
{
    static const IndexedChains chains;
    return chains;
}

int Deliver(const RouteRow& row, const MarkedLine& marked, IRouteDirectory& pages)
{
    const std::string_view line = marked.text;
    const int digit = row.digitOffset >= 0 ? line[static_cast<std::size_t>(row.digitOffset)] - '0' : -1;
    int delivered = 0;
    for (int i = 0; i < row.targetCount; ++i) {
        const RouteTarget& t = row.targets[static_cast<std::size_t>(i)];
        IRouteTarget* page = pages.FindPage(t.page);
        if (!page) continue;
        const auto off = static_cast<std::size_t>(t.offset);
        const std::string_view text = off <= line.size() ? line.substr(off) : std::string_view{};
        page->OnRoute(RouteHit{row, t, line, text, digit, &marked});
        ++delivered;
    }
    return delivered;
}

// Every chain in turn: its first matching row takes the line; in chain A the first row takes
// it besides whichever row of the rest matches first.
int RunChains(const MarkedLine& line, IRouteDirectory& pages)
{
    const IndexedChains& all = Chains();
    int delivered = 0;
    std::size_t chain = 0;
    all.index.Candidates(line).FirstOf([&](std::size_t at) {
        if (at < all.starts[chain]) return false;     // in a chain that is done
        while (at >= all.starts[chain + 1]) ++chain;  // a chain ended without a match
        const RouteRow& row = all.Row(chain, at);
        if (!Matches(row, line)) return false;
        delivered += Deliver(row, line, pages);
        const bool standsAlone = chain == 0 && at == 0;
        if (!standsAlone && ++chain == IndexedChains::kChains) return true;  // the chain is done
        return false;
    });
    return delivered;
}

}  // namespace

std::span<const RouteRow> RouteChainA() { return kChainA; }
std::span<const RouteRow> RouteChainB() { return kChainB; }
std::span<const RouteRow> RouteChainC() { return kChainC; }
std::span<const RouteRow> RoutePreChain() { return kPre; }

int RouteLine(std::string_view line, IRouteDirectory& pages) { return RouteLine(MarkedLine(line), pages); }

int RouteLine(const MarkedLine& marked, IRouteDirectory& pages)
{
    int delivered = 0;
    const std::string_view line = marked.text;
    if (!line.empty() && line[0] == '$') delivered += Deliver(kPre[0], marked, pages);
    delivered += Deliver(kPre[1], marked, pages);
    return delivered + RunChains(marked, pages);
}

}  // namespace rtu
