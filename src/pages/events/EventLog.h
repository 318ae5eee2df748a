// The event list's rows, kept compact: the texts of all rows in one buffer and the start of
// every cell in another, so that a unit reporting events for days costs a few bytes per
// event beyond the texts themselves, and appending never moves more than the new row.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "pages/events/EventLine.h"

namespace rtu {

class CEventLog {
public:
    void Append(const EventRow& row);
    void Clear();
    std::size_t Size() const { return starts_.size() / kEventColumns; }
    std::string_view Cell(std::size_t row, int column) const;
    // Bytes held for the rows (capacity included).
    std::size_t MemoryBytes() const { return text_.capacity() + starts_.capacity() * sizeof(std::uint64_t); }

    // The rows as CSV: a title line, then one line per event; every field is followed by a
    // comma and every line ends with CR LF. A field holding a comma, a quote or a line break
    // is quoted (quotes doubled) so that it stays one field.
    std::string Csv(const std::vector<std::string>& titles) const;

private:
    std::string text_;
    std::vector<std::uint64_t> starts_;  // kEventColumns per row
};

}  // namespace rtu
