#include "pages/registry/PageRegistry.h"

#include "pages/automation/PageCio.h"
#include "pages/automation/PageInterlock.h"
#include "pages/automation/PageMTimer.h"
#include "pages/automation/PageRfZone.h"
#include "pages/automation/PageUserCmd.h"
#include "pages/automation/WeekTimerPage.h"
#include "pages/basic/PageAlarmParams.h"
#include "pages/basic/PageMainParams.h"
#include "pages/basic/PhoneListPage.h"
#include "pages/basic/PriorityGrid.h"
#include "pages/basic/TextTablePage.h"
#include "pages/sensor/PageBattery.h"
#include "pages/sensor/PageBuzzer.h"
#include "pages/sensor/PageExTmpRcd.h"
#include "pages/sensor/PageExtTemp.h"
#include "pages/sensor/PageExtTmpLog.h"
#include "pages/sensor/PageGSensor.h"
#include "pages/sensor/PageGraycode.h"
#include "pages/sensor/PageHumidity.h"
#include "pages/sensor/PageTemp.h"
#include "pages/gpio/PageAd.h"
#include "pages/gpio/PageAdcExt.h"
#include "pages/gpio/PageCounter.h"
#include "pages/gpio/PageDinCt.h"
#include "pages/gpio/PageDinParams.h"
#include "pages/gpio/PageGpio.h"
#include "pages/events/PageEvents.h"
#include "pages/mms/PageMmsSetup.h"
#include "pages/net/Page3GMMS.h"
#include "pages/net/PageDataSms.h"
#include "pages/net/PageEmail.h"
#include "pages/net/PageGprs.h"
#include "pages/net/PageHttp.h"
#include "pages/net/PageMbusParams.h"
#include "pages/net/PageRname.h"
#include "pages/net/SerialPages.h"

namespace rtu {
namespace {

constexpr PageFactory kMain = CPageMainParams::Make;
constexpr PageFactory kAlarm = CPageAlarmParams::Make;
constexpr PageFactory kPhones = MakePhoneList;
constexpr PageFactory kTexts = MakeTextTable;
constexpr PageFactory kPrio = MakePriorityTable;
constexpr PageFactory kGpio = MakePage<CPageGpio>;
constexpr PageFactory kDinParams = MakePage<CPageDinParams>;
constexpr PageFactory kCounter = CPageCounter::Make;
constexpr PageFactory kDinCt = MakePage<CPageDinCt>;
constexpr PageFactory kAd = MakePage<CPageAd>;
constexpr PageFactory kAdcExt = MakePage<CPageAdcExt>;
constexpr PageFactory kCio = CPageCio::Make;
constexpr PageFactory kMTimer = CPageMTimer::Make;
constexpr PageFactory kWeekTimer = CWeekTimerPage::Make;
constexpr PageFactory kUserCmd = MakePage<CPageUserCmd>;
constexpr PageFactory kInterlock = MakePage<CPageInterlock>;
constexpr PageFactory kRfZone = MakePage<CPageRfZone>;
constexpr PageFactory kEvents = MakePage<CPageEvents>;
constexpr PageFactory kMms = MakePage<CPageMmsSetup>;
constexpr PageFactory kGprs = MakePage<CPageGPRS>;
constexpr PageFactory kHttp = CPageHttp::Make;
constexpr PageFactory kMbus = MakePage<CPageMbusParams>;
constexpr PageFactory kRname = MakePage<CPageRname>;
constexpr PageFactory kMeter = CPage62056::Make;
constexpr PageFactory kComm2 = CPageComm2::Make;
constexpr PageFactory kEmail = MakePage<CPageEmail>;
constexpr PageFactory kMms3G = MakePage<CPage3GMMS>;
constexpr PageFactory kDataSms = MakePage<CDataParams>;

// clang-format off
constexpr PageInfo kPages[] = {
  // class               nav folder        item                 icon section            dump                                   header                                         profile clear model
  {"CPageServer",          1, "TAB_BASIC",  "PAGE_CS",           0, "PageCSPhone",     "%DUMP_PHONE\r",                       "\r\n//Page Device Control phones\r\n",          1,  6, kPhones},
  {"CPageMainParams",      3, "TAB_BASIC",  "PAGE_BASIC",        1, "PageMainParams",  "%DUMP_SYS\r%DUMP_ROMSMS\r",           "\r\n//Page System Main Params\r\n",             2,  2, kMain},
  {"CPageAlarmParams",     4, "TAB_BASIC",  "PAGE_ALARM",        2, "PageAlarmParams", "%DUMP_SYS\r%DUMP_ADS\r%DUMP_GPIO\r",  "\r\n//Page System Alarm Params\r\n",            3, 12, kAlarm},
  {"CPageAllSms",         14, "TAB_BASIC",  "PAGE_SMS",          4, "PageSms",         "%DUMP_ROMSMS\r",                      "\r\n//Page Rom Sms\r\n",                        4,  1, kTexts},
  {"CPageSysPrio",        25, "TAB_BASIC",  "PAGE_SYSPRIO",      3, "PageCSPrio",      "%DUMP_PRIOTB\r",                      "\r\n//Page system basic prio table\r\n",        5, 29, kPrio},
  {"CPageGPIO",            5, "TAB_GPIO",   "PAGE_DIOTYPE",      4, "PageDIN",         "%DUMP_GPIO\r",                        "\r\n//Page Digital inputs config\r\n",          6, 10, kGpio},
  {"CPageDinAlarm",        6, "TAB_GPIO",   "PAGE_DINSMS",       5, "PageSms",         "%DUMP_ROMSMS\r",                      nullptr,                                         0,  3, kTexts},
  {"CPageDinParams",      21, "TAB_GPIO",   "PAGE_DINSETUP",     6, "PageDINTo",       "%DUMP_GPIO\r",                        "\r\n//Page Digital inputs delays config\r\n",   7, 24, kDinParams},
  {"CPageDinName",        30, "TAB_GPIO",   "PAGE_DINAME",       7, "PageDINName",     "%DUMP_GPIO\r",                        "\r\n//Page Digital inputs Names\r\n",           8, 33, kTexts},
  {"CPageDoutName",       31, "TAB_GPIO",   "PAGE_DONAME",       8, "PageDOName",      "%DUMP_GPIO\r",                        "\r\n//Page Digital outputs Names\r\n",         10, 34, kTexts},
  {"CPagePriotab",        23, "TAB_GPIO",   "PAGE_DINPRIO",      3, "PageDinPrio",     "%DUMP_PRIOTB\r",                      "\r\n//Page digital alarm prio table\r\n",       9, 27, kPrio},
  {"CPageCounter",        38, nullptr,      "PAGE_COUNTER",      6, "PageCounter",     "%DUMP_COUNTER\r",                     nullptr,                                         0,  0, kCounter, "Pulse counters"},
  {"CPageDinCt",          47, nullptr,      "PAGE_DINCT",        7, "PageDINName",     "%DUMP_GPIO\r",                        nullptr,                                         0,  0, kDinCt, "Digital input counters"},
  {"CPageAD",              9, "TAB_ADC",    "PAGE_ADCSETUP",    10, "PageADC",         "%DUMP_ADS\r%DUMPR\r",                 "\r\n//Page AD config\r\n",                     11, 11, kAd},
  {"CPageADSms",          10, "TAB_ADC",    "PAGE_ADCSMS",      11, "PageADSms",       "%DUMP_ROMSMS\r",                      nullptr,                                         0,  4, kTexts},
  {"CPageADName",         19, "TAB_ADC",    "PAGE_ADCNAME",     12, "PageADSms",       "%DUMP_ADS\r",                         "\r\n//Page AD names\r\n",                      14, 22, kTexts},
  {"CPageAinprio",        24, "TAB_ADC",    "PAGE_AINPRIO",      3, nullptr,           "%DUMP_PRIOTB\r",                      "\r\n//Page analog alarm prio table\r\n",       13, 28, kPrio},
  {"CPageAdcExt",         36, nullptr,      "PAGE_ADCEXT",      10, nullptr,           "%DUMP_ADS\r",                         nullptr,                                        12,  0, kAdcExt, "Extended analog inputs"},
  {"CPageWinPrio",        37, nullptr,      "PAGE_WINPRIO",      3, "PageWinPrio",     "%DUMP_PRIOTB\r",                      nullptr,                                         0, 14, kPrio, "Wireless zone alarm priorities"},
  {"CPageGPRS",           28, "TAB_DTU",    "PAGE_DATA_GPRS",   15, "PageGPRS",        "%DUMP_M2M\r%DUMP_SYS\r",              "\r\n//Page GPRS params\r\n",                   15, 31, kGprs},
  {"CPageISensorName",    43, "TAB_SENSOR", "PAGE_SENSORNAME",  25, "PageISNName",     "%E99?\r",                             "\r\n//Page ISensor Names\r\n",                 20, 18, kTexts},
  {"CPageBuzzer",         29, "TAB_SENSOR", "PAGE_BUZZER",      16, "PageBuzzer",      "%DUMP_SYS\r",                         "\r\n//Page Buzzer Siren\r\n",                  17, 32, CPageBuzzer::Make},
  {"CPageExtTemp",        35, "TAB_SENSOR", "PAGE_DS1820",      17, "PageETemp",       "%DUMP_DS1\r",                         "\r\n//Page ex ds18b20 sensors\r\n",            18,  0, MakePage<CPageExtTemp>},
  {"CPageExTmpRcd",       44, "TAB_SENSOR", "PAGE_EXTMPR",      24, "PageETmpLogs",    nullptr,                               nullptr,                                         0,  0, CPageExTmpRcd::Make},
  {"CPageExtTmpLog",      49, "TAB_SENSOR", "PAGE_ETEMP_SYNC",  24, "PageETmpLogs",    nullptr,                               nullptr,                                         0,  0, CPageExtTmpLog::Make},
  {"CPageBattery",        20, "TAB_SENSOR", "PAGE_BATTERY",     18, "PagePower",       "%DUMP_GPIO\r",                        "\r\n//Page Battery alarm\r\n",                 19, 23, CPageBattery::Make},
  {"CPageCio",             7, "TAB_OTHER",  "PAGE_INTERLOCK",   19, "PageLink",        "%DUMP_GPIO\r%DUMP_SYS\r",             "\r\n//Page Interlock actions\r\n",             21,  0, kCio},
  {"CPageMTimer",         11, "TAB_OTHER",  "PAGE_TIMERS",      20, "PageMtimer",      "%DUMP_TIMER\r",                       "\r\n//Page System mtimers\r\n",                22, 13, kMTimer},
  {"CWeekTimerPage",      27, "TAB_OTHER",  "PAGE_WEEK_TIMERS", 21, "PageMtimer",      "%DUMP_TIMER\r",                       "\r\n//Page Weekly timer commands\r\n",         23, 30, kWeekTimer},
  {"CPageComm",           16, "TAB_OTHER",  "PAGE_COMM_TOOL",   22, nullptr,           nullptr,                               nullptr,                                         0,  0, nullptr},
  {"CPageUserCmd",        22, "TAB_OTHER",  "PAGE_USER_CMD",    24, "PageCommands",    "%DUMP_UCMD\r",                        "\r\n//Page User defined commands\r\n",         24, 25, kUserCmd},
  {"CPageInterlock",      32, nullptr,      "PAGE_TIMER_LINKS", 19, "PageLink",        "%DUMP_TIMER\r",                       nullptr,                                         0, 26, kInterlock, "Timer interlocks"},
  {"CPageRfZone",         34, nullptr,      "PAGE_RFZONE",      15, "PageRFZone",      "%DUMP_GPIO\r%DUMP_ROMSMS\r",          nullptr,                                         0,  7, kRfZone, "Wireless zones"},
  {"CPageRname",          15, nullptr,      "PAGE_MODBUS_SLAVE", 12, "PageModSlave",    "%DUMPM\r",                            nullptr,                                         0,  0, kRname, "Modbus slave registers"},
  {"CPageMbusParams",     33, nullptr,      "PAGE_MODBUS",       1, "PageMbusParams",  "%DUMP_MODBUS\r",                      nullptr,                                         0, 35, kMbus, "Modbus master"},
  {"CPage62056",          39, nullptr,      "PAGE_METER",       10, nullptr,           "%DUMP_62056\r",                       nullptr,                                         0, 15, kMeter, "Meter reading"},
  {"CPageComm2",          46, nullptr,      "PAGE_COMM2",       22, nullptr,           "%DUMP_SYS\r",                         nullptr,                                         0,  0, kComm2, "Second serial port"},
  {"CPageEmail",           2, nullptr,      "PAGE_EMAIL",       11, "PageEmail",       "%DUMP_MMS\r",                         nullptr,                                         0,  8, kEmail, "E-mail"},
  {"CPageHttp",           48, nullptr,      "PAGE_HTTP",        15, "PageHttp",        "%DUMP_HTTP\r",                        nullptr,                                        16,  0, kHttp, "HTTP settings"},
  {"CPage3GMMS",          41, nullptr,      "PAGE_3GMMS",        5, nullptr,           "%DUMP_MMS\r%DUMP_GPIO\r",             nullptr,                                         0, 16, kMms3G, "3G MMS"},
  {"CPageMmsSetup",       12, nullptr,      "PAGE_MMS",          5, "PageMMSSetup",    "%DUMP_MMS\r",                         nullptr,                                         0, 20, kMms, "MMS and camera"},
  {"CDataParams",         13, nullptr,      "PAGE_DATA_SMS",     4, nullptr,           "%DUMP_SYS\r%DUMP_PHONE\r",            nullptr,                                         0,  5, kDataSms, "Data over SMS"},
  {"CPageTemp",            8, nullptr,      "PAGE_TEMP",        17, "PageTmp100",      "%DUMP_TMP\r%DUMPR\r",                 nullptr,                                         0,  9, MakePage<CPageTemp>, "Internal temperature"},
  {"CPageHumidity",       45, nullptr,      "PAGE_HUMIDITY",    17, "PageHumidity",    "%DUMP_HUM\r",                         nullptr,                                         0,  0, CPageHumidity::Make, "Internal humidity"},
  {"CPageGSensor",        42, nullptr,      "PAGE_GSENSOR",     18, "PageGSensor",     "%DUMP_GSENSOR\r",                     nullptr,                                         0, 17, CPageGSensor::Make, "Motion sensor"},
  {"CPageGraycode",       40, nullptr,      "PAGE_GRAYCODE",     7, "PageGryCode",     "%DUMP_GRAY\r",                        nullptr,                                         0, 19, MakePage<CPageGraycode>, "Gray-code inputs"},
  {"CPageEvents",         26, nullptr,      "PAGE_EVENTS",      24, "PageLogs",        nullptr,                               nullptr,                                         0,  0, kEvents, "Event list"},
  {"CPageSos",            18, nullptr,      "PAGE_SOS",          0, "PageCSPhone",     "%DUMP_PHONE\r",                       nullptr,                                         0, 21, kPhones, "SOS phones"},
};
// clang-format on

}  // namespace

std::span<const PageInfo> PageTable() { return kPages; }

const PageInfo* FindPageInfo(std::string_view className)
{
    for (const PageInfo& p : kPages)
        if (className == p.className) return &p;
    return nullptr;
}

const PageInfo* FindPageInfo(PageId id) { return FindPageInfoByNav(NavIdOf(id)); }

const PageInfo* FindPageInfoByNav(int navId)
{
    for (const PageInfo& p : kPages)
        if (p.navId == navId) return &p;
    return nullptr;
}

}  // namespace rtu
