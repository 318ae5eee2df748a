#include "pages/framework/PageTable.h"

#include <algorithm>

namespace rtu {
namespace {

// clang-format off
constexpr PageInfo kPages[] = {
  // class               nav folder        item                 icon section            dump                                   header                                             order
  {"CPageServer",          1, "TAB_BASIC",  "PAGE_CS",           0, "PageCSPhone",     "%DUMP_PHONE\r",                       "\r\n//Page Device Control phones\r\n",            1},
  {"CPageMainParams",      3, "TAB_BASIC",  "PAGE_BASIC",        1, "PageMainParams",  "%DUMP_SYS\r%DUMP_ROMSMS\r",           "\r\n//Page System Main Params\r\n",               2},
  {"CPageAlarmParams",     4, "TAB_BASIC",  "PAGE_ALARM",        2, "PageAlarmParams", "%DUMP_SYS\r%DUMP_ADS\r%DUMP_GPIO\r",  "\r\n//Page System Alarm Params\r\n",              3},
  {"CPageAllSms",         14, "TAB_BASIC",  "PAGE_SMS",          4, "PageSms",         "%DUMP_ROMSMS\r",                      "\r\n//Page Rom Sms\r\n",                          4},
  {"CPageSysPrio",        25, "TAB_BASIC",  "PAGE_SYSPRIO",      3, "PageCSPrio",      "%DUMP_PRIOTB\r",                      "\r\n//Page system basic prio table\r\n",          5},
  {"CPageGPIO",            5, "TAB_GPIO",   "PAGE_DIOTYPE",      4, "PageDIN",         "%DUMP_GPIO\r",                        "\r\n//Page Digital inputs config\r\n",            6},
  {"CPageDinAlarm",        6, "TAB_GPIO",   "PAGE_DINSMS",       5, "PageSms",         "%DUMP_ROMSMS\r",                      nullptr,                                           0},
  {"CPageDinParams",      21, "TAB_GPIO",   "PAGE_DINSETUP",     6, "PageDINTo",       "%DUMP_GPIO\r",                        "\r\n//Page Digital inputs delays config\r\n",     7},
  {"CPageDinName",        30, "TAB_GPIO",   "PAGE_DINAME",       7, "PageDINName",     "%DUMP_GPIO\r",                        "\r\n//Page Digital inputs Names\r\n",             8},
  {"CPageDoutName",       31, "TAB_GPIO",   "PAGE_DONAME",       8, "PageDOName",      "%DUMP_GPIO\r",                        "\r\n//Page Digital outputs Names\r\n",           10},
  {"CPagePriotab",        23, "TAB_GPIO",   "PAGE_DINPRIO",      3, "PageDinPrio",     "%DUMP_PRIOTB\r",                      "\r\n//Page digital alarm prio table\r\n",         9},
  {"CPageCounter",        38, nullptr,      nullptr,            -1, "PageCounter",     "%DUMP_COUNTER\r",                     nullptr,                                           0},
  {"CPageDinCt",          47, nullptr,      nullptr,            -1, "PageDINName",     "%DUMP_GPIO\r",                        nullptr,                                           0},
  {"CPageAD",              9, "TAB_ADC",    "PAGE_ADCSETUP",    10, "PageADC",         "%DUMP_ADS\r%DUMPR\r",                 "\r\n//Page AD config\r\n",                       11},
  {"CPageADSms",          10, "TAB_ADC",    "PAGE_ADCSMS",      11, "PageADSms",       "%DUMP_ROMSMS\r",                      nullptr,                                           0},
  {"CPageADName",         19, "TAB_ADC",    "PAGE_ADCNAME",     12, "PageADSms",       "%DUMP_ADS\r",                         "\r\n//Page AD names\r\n",                        14},
  {"CPageAinprio",        24, "TAB_ADC",    "PAGE_AINPRIO",      3, nullptr,           "%DUMP_PRIOTB\r",                      "\r\n//Page analog alarm prio table\r\n",         13},
  {"CPageAdcExt",         36, nullptr,      nullptr,            -1, nullptr,           "%DUMP_ADS\r",                         nullptr,                                          12},
  {"CPageWinPrio",        37, nullptr,      nullptr,            -1, "PageWinPrio",     "%DUMP_PRIOTB\r",                      nullptr,                                           0},
  {"CPageGPRS",           28, "TAB_DTU",    "PAGE_DATA_GPRS",   15, "PageGPRS",        "%DUMP_M2M\r%DUMP_SYS\r",              "\r\n//Page GPRS params\r\n",                     15},
  {"CPageISensorName",    43, "TAB_SENSOR", "PAGE_SENSORNAME",  25, "PageISNName",     "%E99?\r",                             "\r\n//Page ISensor Names\r\n",                   20},
  {"CPageBuzzer",         29, "TAB_SENSOR", "PAGE_BUZZER",      16, "PageBuzzer",      "%DUMP_SYS\r",                         "\r\n//Page Buzzer Siren\r\n",                    17},
  {"CPageExtTemp",        35, "TAB_SENSOR", "PAGE_DS1820",      17, "PageETemp",       "%DUMP_DS1\r",                         "\r\n//Page ex ds18b20 sensors\r\n",              18},
  {"CPageExTmpRcd",       44, "TAB_SENSOR", "PAGE_EXTMPR",      24, "PageETmpLogs",    nullptr,                               nullptr,                                           0},
  {"CPageExtTmpLog",      49, "TAB_SENSOR", "PAGE_ETEMP_SYNC",  24, "PageETmpLogs",    nullptr,                               nullptr,                                           0},
  {"CPageBattery",        20, "TAB_SENSOR", "PAGE_BATTERY",     18, "PagePower",       "%DUMP_GPIO\r",                        "\r\n//Page Battery alarm\r\n",                   19},
  {"CPageCio",             7, "TAB_OTHER",  "PAGE_INTERLOCK",   19, "PageLink",        "%DUMP_GPIO\r%DUMP_SYS\r",             "\r\n//Page Interlock actions\r\n",               21},
  {"CPageMTimer",         11, "TAB_OTHER",  "PAGE_TIMERS",      20, "PageMtimer",      "%DUMP_TIMER\r",                       "\r\n//Page System mtimers\r\n",                  22},
  {"CWeekTimerPage",      27, "TAB_OTHER",  "PAGE_WEEK_TIMERS", 21, "PageMtimer",      "%DUMP_TIMER\r",                       "\r\n//Page Weekly timer commands\r\n",           23},
  {"CPageComm",           16, "TAB_OTHER",  "PAGE_COMM_TOOL",   22, nullptr,           nullptr,                               nullptr,                                           0},
  {"CPageUserCmd",        22, "TAB_OTHER",  "PAGE_USER_CMD",    24, "PageCommands",    "%DUMP_UCMD\r",                        "\r\n//Page User defined commands\r\n",           24},
  {"CPageInterlock",      32, nullptr,      nullptr,            -1, "PageLink",        "%DUMP_TIMER\r",                       nullptr,                                           0},
  {"CPageRfZone",         34, nullptr,      nullptr,            -1, "PageRFZone",      "%DUMP_GPIO\r%DUMP_ROMSMS\r",          nullptr,                                           0},
  {"CPageRname",          15, nullptr,      nullptr,            -1, "PageModSlave",    "%DUMPM\r",                            nullptr,                                           0},
  {"CPageMbusParams",     33, nullptr,      nullptr,            -1, "PageMbusParams",  "%DUMP_MODBUS\r",                      nullptr,                                           0},
  {"CPage62056",          39, nullptr,      nullptr,            -1, nullptr,           "%DUMP_62056\r",                       nullptr,                                           0},
  {"CPageComm2",          46, nullptr,      nullptr,            -1, nullptr,           "%DUMP_SYS\r",                         nullptr,                                           0},
  {"CPageEmail",           2, nullptr,      nullptr,            -1, "PageEmail",       "%DUMP_MMS\r",                         nullptr,                                           0},
  {"CPageHttp",           48, nullptr,      nullptr,            -1, "PageHttp",        "%DUMP_HTTP\r",                        nullptr,                                          16},
  {"CPage3GMMS",          41, nullptr,      nullptr,            -1, nullptr,           "%DUMP_MMS\r%DUMP_GPIO\r",             nullptr,                                           0},
  {"CPageMmsSetup",       12, nullptr,      nullptr,            -1, "PageMMSSetup",    "%DUMP_MMS\r",                         nullptr,                                           0},
  {"CDataParams",         13, nullptr,      nullptr,            -1, nullptr,           "%DUMP_SYS\r%DUMP_PHONE\r",            nullptr,                                           0},
  {"CPageTemp",            8, nullptr,      nullptr,            -1, "PageTmp100",      "%DUMP_TMP\r%DUMPR\r",                 nullptr,                                           0},
  {"CPageHumidity",       45, nullptr,      nullptr,            -1, "PageHumidity",    "%DUMP_HUM\r",                         nullptr,                                           0},
  {"CPageGSensor",        42, nullptr,      nullptr,            -1, "PageGSensor",     "%DUMP_GSENSOR\r",                     nullptr,                                           0},
  {"CPageGraycode",       40, nullptr,      nullptr,            -1, "PageGryCode",     "%DUMP_GRAY\r",                        nullptr,                                           0},
  {"CPageEvents",         26, nullptr,      nullptr,            -1, "PageLogs",        nullptr,                               nullptr,                                           0},
  {"CPageSos",            18, nullptr,      nullptr,            -1, "PageCSPhone",     "%DUMP_PHONE\r",                       nullptr,                                           0},
};
// clang-format on

constexpr const char* kReloadClearOrder[] = {
    "CPageAllSms", "CPageMainParams", "CPageDinAlarm", "CPageADSms", "CDataParams", "CPageServer",
    "CPageRfZone", "CPageEmail", "CPageTemp", "CPageGPIO", "CPageAD", "CPageAlarmParams",
    "CPageMTimer", "CPageWinPrio", "CPage62056", "CPage3GMMS", "CPageGSensor", "CPageISensorName",
    "CPageGraycode", "CPageMmsSetup", "CPageSos", "CPageADName", "CPageBattery", "CPageDinParams",
    "CPageUserCmd", "CPageInterlock", "CPagePriotab", "CPageAinprio", "CPageSysPrio", "CWeekTimerPage",
    "CPageGPRS", "CPageBuzzer", "CPageDinName", "CPageDoutName", "CPageMbusParams",
};

}  // namespace

std::span<const PageInfo> PageTable() { return kPages; }

const PageInfo* FindPageInfo(std::string_view className)
{
    for (const PageInfo& p : kPages)
        if (className == p.className) return &p;
    return nullptr;
}

const PageInfo* FindPageInfoByNav(int navId)
{
    for (const PageInfo& p : kPages)
        if (p.navId == navId) return &p;
    return nullptr;
}

std::span<const char* const> ReloadClearOrder() { return kReloadClearOrder; }

}  // namespace rtu
