#include "pages/sensor/TempRecordPage.h"

#include <algorithm>
#include <cmath>
#include <ctime>

#include "pages/framework/Printf.h"

namespace rtu {

namespace {

constexpr char kAlarmStatus = '1';
constexpr std::string_view kDisconnectedStatus = "2";
constexpr const char* kChartTitle = "Realtime Records T%d";

void Take(CPageBase& page, const RouteHit& hit) { static_cast<CTempRecordPage&>(page).TakeLine(hit.line); }

// The number a listed value cell holds; nothing for an empty cell.
std::optional<double> CellValue(const std::string& text)
{
    if (text.empty()) return std::nullopt;
    char* end = nullptr;
    const double v = std::strtod(text.c_str(), &end);
    if (end == text.c_str() || !std::isfinite(v)) return std::nullopt;
    return v;
}

}  // namespace

CTempRecordPage::CTempRecordPage(PageContext& context, const PageInfo& info, Shape shape)
    : CPageBase(context, info), shape_(std::move(shape))
{
    handlers_.push_back({.number = 1, .keys = {"$"}, .fn = Take});
    SetDecl({.fields = shape_.fields, .handlers = handlers_});
    Value(temppage::kCounter).text = CounterText();
    Value(temppage::kSensorBox).sel = 0;
}

std::string CTempRecordPage::LocalTimeStamp()
{
    const std::time_t now = std::time(nullptr);
    std::tm t{};
    localtime_r(&now, &t);
    return Printf("%d/%2.2d/%2.2d %2.2d:%2.2d:%2.2d", t.tm_year + 1900, t.tm_mon + 1, t.tm_mday, t.tm_hour, t.tm_min,
                  t.tm_sec);
}

std::string CTempRecordPage::CounterText() const { return Printf(kCounterFormat, records_, alarms_); }

void CTempRecordPage::Empty()
{
    rows_.clear();
    records_ = 0;
    alarms_ = 0;
    unlisted_ = 0;
    ++generation_;
    ++emptied_;
}

void CTempRecordPage::ResetList()
{
    Empty();
    SetText(temppage::kCounter, CounterText());
    NotifyChanged(temppage::kList);
}

void CTempRecordPage::ClearFields()
{
    // The list is the unit's output, not its settings: a clear leaves it to the reset button.
}

void CTempRecordPage::SetLog(CTempCsvLog* log)
{
    log_ = log;
    toldNotLogged_ = false;
}

bool CTempRecordPage::RecreateLog()
{
    if (!log_) return false;
    toldNotLogged_ = false;
    return log_->Recreate();
}

void CTempRecordPage::TakeLine(std::string_view line)
{
    const std::vector<TempRecord> records = ReadTempRecords(line, shape_.type);
    if (records.empty()) return;
    for (const TempRecord& r : records) {
        // A record that empties the list is the first one counted afterwards.
        if (++records_ >= shape_.recordLimit && shape_.emptyWhenFull) {
            Empty();
            records_ = 1;
        }
        if (r.temperature) Place(r);
    }
    ++generation_;
    SetText(temppage::kCounter, CounterText());
    NotifyChanged(temppage::kList);
}

void CTempRecordPage::Place(const TempRecord& record)
{
    for (const TempEntry& e : record.entries)
        if (e.status == kAlarmStatus) ++alarms_;
    if (record.entries.empty()) return;  // nothing to list, and nothing new to log
    if (rows_.size() >= shape_.rowLimit && !shape_.emptyWhenFull) {
        ++unlisted_;
        return;
    }
    if (rows_.size() >= shape_.rowLimit) {
        Empty();
        records_ = 1;
        alarms_ = static_cast<int>(std::count_if(record.entries.begin(), record.entries.end(),
                                                 [](const TempEntry& e) { return e.status == kAlarmStatus; }));
    }
    std::string time = shape_.computerTime ? (clock_ ? clock_() : LocalTimeStamp()) : record.time;
    rows_.push_front(MakeTempRow(std::move(time), record));
    if (onRow_) onRow_(rows_.front());
    if (!shape_.computerTime) return;
    if (log_ && log_->IsOpen()) {
        log_->Append(TempCsvLine(rows_.front()));  // a failed write is not retried
    } else if (log_ && !toldNotLogged_) {
        toldNotLogged_ = true;
        if (ctx_.message)
            ctx_.message(MessageIcon::Error,
                         "Real-time records are listed but not logged: cannot open \"" + log_->Path() + "\".");
    }
}

std::optional<std::string> CTempRecordPage::Export(const std::string& path, std::string& error) const
{
    const std::string target = TempExportPath(path);
    const std::vector<TempRow> rows(rows_.begin(), rows_.end());
    if (!WriteTempCsv(target, rows, error)) return std::nullopt;
    return target;
}

TempChart CTempRecordPage::Chart(int sensor) const
{
    TempChart c;
    if (sensor < 0 || sensor >= kSensors) sensor = 0;
    c.title = Printf(kChartTitle, sensor);
    const int m = std::min<int>(TempChart::kMaxPoints, static_cast<int>(rows_.size()));
    if (m == 0) return c;
    double low = TempChart::kLowMark, high = TempChart::kHighMark;
    const auto col = static_cast<std::size_t>(2 * sensor + 2);
    bool gap = false;
    for (int r = m - 1, x = 0; r >= 0; --r, ++x) {
        // A record without this sensor's value leaves its place empty; so does a
        // disconnected sensor, whose value is no measurement.
        const TempRow& row = rows_[static_cast<std::size_t>(r)];
        const auto v = row[col - 1] == kDisconnectedStatus ? std::nullopt : CellValue(row[col]);
        if (!v) {
            gap = true;
            continue;
        }
        if (gap && !c.points.empty()) c.breaks.push_back(c.points.size());
        gap = false;
        c.times.push_back(row[0]);
        low = std::min(low, *v);
        high = std::max(high, *v);
        c.points.emplace_back(x, *v);
        c.line.emplace_back(x, std::trunc(*v));
    }
    c.yMin = low - TempChart::kMargin;
    c.yMax = high * TempChart::kHighScale + TempChart::kMargin;
    return c;
}

bool CTempRecordPage::OnCommand(int id)
{
    switch (id) {
    case temppage::kResetList: ResetList(); return true;
    case temppage::kSync:
        if (ctx_.message) ctx_.message(MessageIcon::Information, Tr("SYNC_MSG"));
        ResetList();
        WriteBlock(kSyncCommand);
        return true;
    default: return CPageBase::OnCommand(id);
    }
}

std::vector<std::pair<std::string, std::string>> CTempRecordPage::ExtraValues() const
{
    return {{"records", std::to_string(records_)}, {"alarms", std::to_string(alarms_)}};
}

}  // namespace rtu
