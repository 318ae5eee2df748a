#include "pages/events/EventLog.h"

namespace rtu {
namespace {

void AppendCsvField(std::string& out, std::string_view field)
{
    if (field.find_first_of(",\"\r\n") == std::string_view::npos) {
        out += field;
    } else {
        out += '"';
        for (char c : field) {
            if (c == '"') out += '"';
            out += c;
        }
        out += '"';
    }
    out += ',';
}

}  // namespace

void CEventLog::Append(const EventRow& row)
{
    for (const std::string& cell : row) {
        starts_.push_back(text_.size());
        text_ += cell;
    }
}

void CEventLog::Clear()
{
    std::string().swap(text_);
    std::vector<std::uint64_t>().swap(starts_);
}

std::string_view CEventLog::Cell(std::size_t row, int column) const
{
    const std::size_t at = row * kEventColumns + static_cast<std::size_t>(column);
    if (column < 0 || column >= kEventColumns || at >= starts_.size()) return {};
    const std::size_t end = at + 1 < starts_.size() ? starts_[at + 1] : text_.size();
    return std::string_view(text_).substr(starts_[at], end - starts_[at]);
}

std::string CEventLog::Csv(const std::vector<std::string>& titles) const
{
    std::string out;
    for (const std::string& t : titles) AppendCsvField(out, t);
    out += "\r\n";
    for (std::size_t r = 0; r < Size(); ++r) {
        for (int c = 0; c < kEventColumns; ++c) AppendCsvField(out, Cell(r, c));
        out += "\r\n";
    }
    return out;
}

}  // namespace rtu
