#include "cli/EventPrinter.h"

#include <string>

#include <nlohmann/json.hpp>

#include "cli/StdoutStatus.h"

namespace rtu::cli {
namespace {

// Keys of the JSON lines, one per list column.
constexpr const char* kJsonKeys[kEventColumns] = {"event", "number", "source", "value", "state", "time"};

// A cell of the tab-separated output: tab, CR, LF and backslash are written as \t, \r, \n
// and \\, so that every event stays one line of six columns.
std::string EscapedCell(std::string_view cell)
{
    std::string out;
    out.reserve(cell.size());
    for (const char c : cell) {
        switch (c) {
        case '\t': out += "\\t"; break;
        case '\r': out += "\\r"; break;
        case '\n': out += "\\n"; break;
        case '\\': out += "\\\\"; break;
        default: out += c; break;
        }
    }
    return out;
}

}  // namespace

CEventPrinter::CEventPrinter(CPageEvents& page, bool json, std::FILE* out)
    : page_(page), json_(json), out_(out), printed_(page.Log().Size())
{
    listener_ = page_.AddListener([this](int id) {
        if (id == CPageEvents::kList || id == CPageBase::kChangedAll) PrintNew();
    });
}

CEventPrinter::~CEventPrinter() { page_.RemoveListener(listener_); }

void CEventPrinter::PrintRow(std::size_t row)
{
    const CEventLog& log = page_.Log();
    if (json_) {
        nlohmann::json line = nlohmann::json::object();
        for (int c = 0; c < kEventColumns; ++c) line[kJsonKeys[c]] = std::string(log.Cell(row, c));
        const std::string text = line.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace) + "\n";
        std::fwrite(text.data(), 1, text.size(), out_);
        return;
    }
    for (int c = 0; c < kEventColumns; ++c) {
        if (c > 0) std::fputc('\t', out_);
        const std::string cell = EscapedCell(log.Cell(row, c));
        std::fwrite(cell.data(), 1, cell.size(), out_);
    }
    std::fputc('\n', out_);
}

void CEventPrinter::PrintNew()
{
    if (emptying_) return;
    const CEventLog& log = page_.Log();
    if (log.Size() < printed_) printed_ = 0;  // the list was emptied
    for (; printed_ < log.Size(); ++printed_, ++total_) PrintRow(printed_);
    const bool flushed = out_ == stdout ? FlushStdout() : std::fflush(out_) == 0 && !std::ferror(out_);
    failed_ = failed_ || !flushed;
    if (printed_ < kPrintedRowsKept) return;
    emptying_ = true;
    page_.Reset();
    emptying_ = false;
    printed_ = 0;
}

}  // namespace rtu::cli
