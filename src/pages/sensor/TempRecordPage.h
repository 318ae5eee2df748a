// The model of a temperature record list: the real-time records page and the log sync
// page share it, each with its record type and limits. Every report line that begins with
// "$" reaches it; it lists the records of its type (newest first), counts records and alarm
// values, logs real-time rows to a CSV file, and gives the chart its points.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "pages/framework/PageBase.h"
#include "pages/sensor/TempCsvLog.h"
#include "pages/sensor/TempRecord.h"

namespace rtu {

// Control ids shared by both record pages.
namespace temppage {
inline constexpr int kTitle = 1281;      // title label
inline constexpr int kCounter = 1100;    // "%d Rcd; Alarm %d"
inline constexpr int kList = 4001;       // the record list
inline constexpr int kSensorBox = 1101;  // chart sensor T0-T3
inline constexpr int kRedraw = 1102;     // redraws the chart
inline constexpr int kAutoFit = 1103;    // horizontal chart axis automatic
inline constexpr int kOpenLog = 1104;    // opens the log file with the desktop's program
inline constexpr int kDeleteLog = 1105;  // deletes the log file after a question
inline constexpr int kResetList = 1106;  // empties the list
inline constexpr int kChart = 1107;      // the chart
inline constexpr int kSync = 1108;       // asks the unit for its stored records
inline constexpr int kExport = 1109;     // writes the list to a CSV file
}  // namespace temppage

// The points of the chart of one sensor.
struct TempChart {
    static constexpr int kMaxPoints = 100;          // the newest rows drawn
    static constexpr double kLowMark = 15.0;        // the vertical range holds at least 15 …
    static constexpr double kHighMark = 30.0;       // … to 30, widened by the values
    static constexpr double kMargin = 2.0;          // added below the low and above the high end
    static constexpr double kHighScale = 1.2;       // head room above the highest value
    std::string title;                              // "Realtime Records T<sensor>"
    std::vector<std::pair<double, double>> points;  // (x, value), oldest first
    std::vector<std::pair<double, double>> line;    // (x, whole-number part of the value)
    std::vector<std::string> times;                 // the listed time of each point's row
    // Indexes into points (and line) where a run of values starts again after records
    // without this sensor's value (empty, or the sensor disconnected): the line breaks there.
    std::vector<std::size_t> breaks;
    double yMin = 0, yMax = 0;  // vertical axis (only with points)
};

class CTempRecordPage : public CPageBase {
public:
    struct Shape {
        int type;              // the record type the page lists
        std::size_t rowLimit;  // rows before the list is emptied
        int recordLimit;       // records before the list is emptied
        bool computerTime;     // a row shows the computer's time, not the record's
        std::vector<FieldDecl> fields;
        // At its limits the list is emptied (a live view of the newest records); without this
        // it keeps what it holds and further records are only counted as unlisted (a sync,
        // where every record must reach the export).
        bool emptyWhenFull = true;
    };
    static constexpr const char* kCounterFormat = "%d Rcd; Alarm %d";
    static constexpr const char* kSyncCommand = "%ETEMPPORT1000\r";  // the unit sends its stored records
    static constexpr int kSensors = temprec::kSensors;

    CTempRecordPage(PageContext& context, const PageInfo& info, Shape shape);

    // The routed line (handler 1): every record of the page's type in it.
    void TakeLine(std::string_view line);

    const std::deque<TempRow>& Rows() const { return rows_; }
    int Records() const { return records_; }
    int Alarms() const { return alarms_; }
    // Records that came after a list that is not emptied was full (not listed, not exported).
    int Unlisted() const { return unlisted_; }
    std::string CounterText() const;
    // Bumped whenever the list changes (views follow it).
    std::uint64_t Generation() const { return generation_; }
    // Bumped whenever the list is emptied. Between two emptyings rows are only ever added at
    // the top, so a view shows what came since it last looked by inserting as many rows there.
    std::uint64_t Emptied() const { return emptied_; }
    // Empties the list and the counters.
    void ResetList();

    // Real-time rows go to this log (nullptr: none). A log that is not open leaves the rows
    // listed and says once that they are not logged.
    void SetLog(CTempCsvLog* log);
    CTempCsvLog* Log() const { return log_; }
    // Deletes the log file and starts a new one; false when the new one can't be opened.
    bool RecreateLog();
    // The time shown for a real-time row (the computer's local time unless a test sets it).
    void SetClock(std::function<std::string()> clock) { clock_ = std::move(clock); }
    // Each new row as it is listed (rtuctl prints them).
    void SetRowListener(std::function<void(const TempRow&)> fn) { onRow_ = std::move(fn); }

    // Writes the list (newest first) to `path` (".csv" appended when missing); the path
    // written, or nothing with `error` set.
    std::optional<std::string> Export(const std::string& path, std::string& error) const;
    // The chart of one sensor (0-3; anything else draws sensor 0) over the newest rows.
    TempChart Chart(int sensor) const;

    void ClearFields() override;
    bool OnCommand(int id) override;
    std::vector<std::pair<std::string, std::string>> ExtraValues() const override;

    static std::string LocalTimeStamp();

private:
    void Place(const TempRecord& record);
    void Empty();

    Shape shape_;
    std::vector<HandlerDecl> handlers_;
    std::deque<TempRow> rows_;
    int records_ = 0;
    int alarms_ = 0;
    int unlisted_ = 0;
    std::uint64_t generation_ = 0;
    std::uint64_t emptied_ = 0;
    CTempCsvLog* log_ = nullptr;
    bool toldNotLogged_ = false;
    std::function<std::string()> clock_;
    std::function<void(const TempRow&)> onRow_;
};

}  // namespace rtu
