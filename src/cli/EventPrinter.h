// rtuctl events: prints the event list's rows as the list takes them, one line each
// (tab-separated columns, or a JSON object), and lets go of the rows once printed, so a
// monitor left running for days holds a bounded number of rows, not every event it saw.
#pragma once

#include <cstddef>
#include <cstdio>

#include "pages/events/PageEvents.h"

namespace rtu::cli {

class CEventPrinter {
public:
    // Printed rows kept before the list is emptied (the list is the printer's alone).
    static constexpr std::size_t kPrintedRowsKept = 256;

    // Prints to `out` every row the page takes from now on (rows already listed are not printed).
    CEventPrinter(CPageEvents& page, bool json, std::FILE* out);
    ~CEventPrinter();
    CEventPrinter(const CEventPrinter&) = delete;
    CEventPrinter& operator=(const CEventPrinter&) = delete;

    // Whether anything printed was lost (the output took no more).
    bool Failed() const { return failed_; }
    std::size_t Printed() const { return total_; }

private:
    void PrintNew();
    void PrintRow(std::size_t row);

    CPageEvents& page_;
    bool json_;
    std::FILE* out_;
    int listener_ = -1;
    std::size_t printed_ = 0;  // rows of the list printed
    std::size_t total_ = 0;    // rows printed since the start
    bool emptying_ = false;    // the printer is emptying the list itself
    bool failed_ = false;
};

}  // namespace rtu::cli
