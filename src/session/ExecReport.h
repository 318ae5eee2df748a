// The record of a profile run for people: each line with its outcome, its time and the page
// whose section it came from; failed lines first.
#pragma once

#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "link/ProfileRunner.h"
#include "session/ProfileDiff.h"

namespace rtu {

struct ExecReportRow {
    ExecLineRecord record;
    std::string page;     // class name of the page whose section holds the line; empty: none
    std::string caption;  // what the user knows that page by
    bool failed = false;  // refused, unanswered, answered late or "CMD ERR"
};

// Whether an outcome means the line did not take effect as sent.
bool OutcomeFailed(LineOutcome outcome);
// The records as rows: failed lines first, each group in file order.
std::vector<ExecReportRow> ExecReportRows(const std::vector<ExecLineRecord>& records, const SectionInfoFn& sections);
// {"started", "summary": {…}, "lines": [{"line", "outcome", "page", "caption", "at_ms", "wait_ms"}]}:
// at_ms counts from the start of the run, wait_ms from the line going out to its answer.
// Lines are in file order.
nlohmann::json ExecReportJson(const ExecSummary& summary, const std::vector<ExecLineRecord>& records, Millis startedAt,
                              const std::string& startedText, const SectionInfoFn& sections);

}  // namespace rtu
