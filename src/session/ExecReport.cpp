#include "session/ExecReport.h"

#include <algorithm>

namespace rtu {

bool OutcomeFailed(LineOutcome outcome) { return outcome != LineOutcome::Ok && outcome != LineOutcome::Repeated; }

namespace {

ExecReportRow Row(const ExecLineRecord& r, const SectionInfoFn& sections)
{
    ExecReportRow row{r, {}, {}, OutcomeFailed(r.outcome)};
    if (!r.section.empty() && sections) {
        SectionInfo info = sections(r.section);
        row.page = std::move(info.page);
        row.caption = std::move(info.caption);
    }
    if (row.caption.empty() && !r.section.empty()) {
        std::string_view text = r.section;
        if (text.starts_with("//")) text.remove_prefix(2);
        if (text.starts_with("Page ")) text.remove_prefix(5);
        row.caption = text;
    }
    return row;
}

}  // namespace

std::vector<ExecReportRow> ExecReportRows(const std::vector<ExecLineRecord>& records, const SectionInfoFn& sections)
{
    std::vector<ExecReportRow> rows;
    rows.reserve(records.size());
    for (const ExecLineRecord& r : records) rows.push_back(Row(r, sections));
    std::stable_partition(rows.begin(), rows.end(), [](const ExecReportRow& r) { return r.failed; });
    return rows;
}

nlohmann::json ExecReportJson(const ExecSummary& s, const std::vector<ExecLineRecord>& records, Millis startedAt,
                              const std::string& startedText, const SectionInfoFn& sections)
{
    nlohmann::json lines = nlohmann::json::array();
    for (const ExecLineRecord& r : records) {
        const ExecReportRow row = Row(r, sections);
        lines.push_back({{"line", r.line},
                         {"outcome", OutcomeName(r.outcome)},
                         {"page", row.page},
                         {"caption", row.caption},
                         {"at_ms", r.sentAt - startedAt},
                         {"wait_ms", r.doneAt - r.sentAt}});
    }
    const nlohmann::json summary = {
        {"sent", s.sent},          {"ok", s.ok},     {"err", s.err},          {"unanswered", s.unanswered},
        {"refused", s.refused},    {"late", s.late}, {"not_sent", s.notSent}, {"stopped", s.stopped},
        {"committed", s.committed}, {"framing_failed", s.framingFailed}};
    return {{"started", startedText}, {"summary", summary}, {"lines", std::move(lines)}};
}

}  // namespace rtu
