#include "pages/sensor/TempRecord.h"

#include <algorithm>

#include "pages/framework/Printf.h"

namespace rtu {

namespace {

using namespace temprec;

// A hex digit of the record header; any other character counts as 0.
int HexValue(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return 0;
}

// Two hex digits at `at`; characters past the end count as 0.
int HexByte(std::string_view s, std::size_t at)
{
    const char hi = at < s.size() ? s[at] : '0';
    const char lo = at + 1 < s.size() ? s[at + 1] : '0';
    return HexValue(hi) * 16 + HexValue(lo);
}

// The decimal text of a value: an optional sign, digits, a point and digits; reading stops
// at the first other character (no exponents, so the number stays short).
double DecimalValue(std::string_view text)
{
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    double value = 0;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') value = value * 10 + (text[i++] - '0');
    if (i < text.size() && text[i] == '.') {
        double scale = 0.1;
        for (++i; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i, scale /= 10)
            value += (text[i] - '0') * scale;
    }
    return negative ? -value : value;
}

// Reads the entries of a temperature record; returns where the record ends, or npos when a
// value without its point ends the line.
std::size_t ReadEntries(std::string_view rec, TempRecord& out)
{
    const int count = HexByte(rec, kCountAt);
    std::size_t p = kEntriesAt;
    for (int j = 0; j < count; ++j) {
        if (p >= rec.size()) return rec.size();
        TempEntry e;
        e.status = rec[p];
        const std::size_t start = p + 1;
        const std::size_t point = rec.substr(std::min(start, rec.size()), kMaxPointAt).find('.');
        if (point == std::string_view::npos) return std::string_view::npos;
        const std::size_t end = std::min(start + point + 1 + kDecimals, rec.size());
        e.value = DecimalValue(rec.substr(start, end - start));
        out.entries.push_back(e);
        p = end + 1;  // one separator
    }
    return std::min(p, rec.size());
}

}  // namespace

std::vector<TempRecord> ReadTempRecords(std::string_view line, int type)
{
    std::vector<TempRecord> out;
    std::size_t pos = 0;
    while (line.size() - pos >= kMinRecord) {
        const std::string_view rec = line.substr(pos);
        const bool ours = HexByte(rec, kTypeAt) == type;
        if (!ours || rec.substr(kTagAt, kTempTag.size()) != kTempTag) {
            if (ours) out.push_back({.temperature = false});
            pos += kMinRecord;
            continue;
        }
        TempRecord record;
        record.time = std::string(rec.substr(kTimeAt, kTimeLength));
        const std::size_t used = ReadEntries(rec, record);
        out.push_back(std::move(record));
        if (used == std::string_view::npos) break;
        pos += std::max(used, kMinRecord);
    }
    return out;
}

bool HoldsTempRecord(std::string_view line, int type)
{
    // Up to the first temperature record ReadTempRecords steps a record's least length at a time.
    for (std::size_t pos = 0; line.size() - pos >= kMinRecord; pos += kMinRecord) {
        const std::string_view rec = line.substr(pos);
        if (HexByte(rec, kTypeAt) == type && rec.substr(kTagAt, kTempTag.size()) == kTempTag) return true;
    }
    return false;
}

TempRow MakeTempRow(std::string time, const TempRecord& record)
{
    TempRow row;
    row[0] = std::move(time);
    const int shown = std::min<int>(kSensors, static_cast<int>(record.entries.size()));
    for (int j = 0; j < shown; ++j) {
        const TempEntry& e = record.entries[static_cast<std::size_t>(j)];
        row[static_cast<std::size_t>(2 * j + 1)] = std::string(1, e.status);
        row[static_cast<std::size_t>(2 * j + 2)] = Printf("%.2f", e.value);
    }
    return row;
}

std::string_view TempStatusWord(std::string_view status)
{
    if (status == "0") return "NORMAL";
    if (status == "1") return "ALARM";
    if (status == "2") return "Disconnect";
    return "UA";
}

std::string ShownTempTime(std::string_view time)
{
    if (time.size() != temprec::kTimeLength) return std::string(time);
    int v[6] = {};
    const std::size_t widths[6] = {4, 2, 2, 2, 2, 2};
    std::size_t at = 0;
    for (int f = 0; f < 6; ++f) {
        for (std::size_t k = 0; k < widths[f]; ++k, ++at) {
            const char c = time[at];
            if (c < '0' || c > '9') return std::string(time);
            v[f] = v[f] * 10 + (c - '0');
        }
    }
    const bool valid = v[1] >= 1 && v[1] <= 12 && v[2] >= 1 && v[2] <= 31 && v[3] <= 23 && v[4] <= 59 && v[5] <= 59;
    if (!valid) return std::string(time);
    return Printf("%04d-%02d-%02d %02d:%02d:%02d", v[0], v[1], v[2], v[3], v[4], v[5]);
}

namespace {

// A field as it stands, or quoted when a comma, quote or line break in it would split the line.
std::string CsvField(std::string_view text)
{
    if (text.find_first_of(",\"\r\n") == std::string_view::npos) return std::string(text);
    std::string out = "\"";
    for (char c : text) {
        if (c == '"') out += '"';
        out += c;
    }
    return out + '"';
}

}  // namespace

std::string TempCsvLine(const TempRow& row)
{
    std::string out = CsvField(row[0]) + ",";
    for (int j = 0; j < kSensors; ++j) {
        out += TempStatusWord(row[static_cast<std::size_t>(2 * j + 1)]);
        out += ',';
        out += CsvField(row[static_cast<std::size_t>(2 * j + 2)]);
        out += ',';
    }
    return out + "\r\n";
}

}  // namespace rtu
