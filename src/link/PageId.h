// The pages of the tool, known by their navigation id (1..49, 17 unused). The routing
// table names its targets with these, so a target that names no page does not compile.
#pragma once

namespace rtu {

enum class PageId : int {
    Server = 1,
    Email = 2,
    MainParams = 3,
    AlarmParams = 4,
    GPIO = 5,
    DinAlarm = 6,
    Cio = 7,
    Temp = 8,
    AD = 9,
    ADSms = 10,
    MTimer = 11,
    MmsSetup = 12,
    DataParams = 13,
    AllSms = 14,
    Rname = 15,
    Comm = 16,
    Sos = 18,
    ADName = 19,
    Battery = 20,
    DinParams = 21,
    UserCmd = 22,
    Priotab = 23,
    Ainprio = 24,
    SysPrio = 25,
    Events = 26,
    WeekTimer = 27,
    GPRS = 28,
    Buzzer = 29,
    DinName = 30,
    DoutName = 31,
    Interlock = 32,
    MbusParams = 33,
    RfZone = 34,
    ExtTemp = 35,
    AdcExt = 36,
    WinPrio = 37,
    Counter = 38,
    P62056 = 39,
    Graycode = 40,
    Mms3G = 41,
    GSensor = 42,
    ISensorName = 43,
    ExTmpRcd = 44,
    Humidity = 45,
    Comm2 = 46,
    DinCt = 47,
    Http = 48,
    ExtTmpLog = 49,
};

constexpr int NavIdOf(PageId id) { return static_cast<int>(id); }

inline constexpr int kPageIdLimit = 50;  // every navigation id is below this

}  // namespace rtu
