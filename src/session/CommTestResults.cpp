#include "session/CommTestResults.h"

namespace rtu::comm {

namespace {

constexpr std::string_view kCmdOk = "CMD OK";
constexpr std::string_view kCmdErr = "CMD ERR";
constexpr std::string_view kBlanks = " \t";

std::string_view Trim(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) return {};
    const std::size_t last = text.find_last_not_of(kBlanks);
    return text.substr(first, last - first + 1);
}

bool Has(std::string_view line, std::string_view text) { return line.find(text) != std::string_view::npos; }

}  // namespace

void CTestResults::Start(std::string caption)
{
    caption_ = std::move(caption);
    rows_ = 0;
    waiting_ = true;
}

ResultRow CTestResults::Split(std::string_view caption, std::string_view line)
{
    line = Trim(line);
    std::size_t cut = line.find_first_of(":=");
    // A report ("$VOLTAGE 12.1V", "*TMPC 25.0") names itself with its first word.
    if (cut == std::string_view::npos && !line.empty() && (line.front() == '$' || line.front() == '*'))
        cut = line.find_first_of(kBlanks);
    if (cut == std::string_view::npos || cut == 0 || cut > kMaxItemBytes)
        return {std::string(caption), std::string(line)};
    std::string_view item = Trim(line.substr(0, cut));
    if (item.front() == '$' || item.front() == '*') item.remove_prefix(1);
    if (item.empty()) return {std::string(caption), std::string(line)};
    return {std::string(item), std::string(Trim(line.substr(cut + 1)))};
}

std::vector<ResultRow> CTestResults::Feed(std::string_view line)
{
    std::vector<ResultRow> rows;
    if (!waiting_) return rows;
    line = Trim(line);
    if (Has(line, kCmdErr)) {
        rows.push_back({caption_, kRefused});
        waiting_ = false;
    } else if (Has(line, kCmdOk)) {
        if (rows_ == 0) rows.push_back({caption_, kOk});
        waiting_ = false;
    } else if (!line.empty() && line.front() != '%' && rows_ < kMaxRowsPerTest) {
        // A line starting with '%' is the unit echoing the command back.
        rows.push_back(Split(caption_, line));
        ++rows_;
    }
    return rows;
}

}  // namespace rtu::comm
