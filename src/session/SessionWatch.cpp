// The session's watch on what the user must be told: a reload the unit never answers, a
// page's line the unit refused, and how far a reload or a profile has come.
#include <algorithm>

#include "pages/framework/FieldCheck.h"
#include "session/Session.h"

namespace rtu {

namespace {
constexpr std::string_view kReloadEnd = "DUMPR";  // the unit's last line of a full reload
constexpr int kMsPerSecond = 1000;
}  // namespace

IRouteTarget* CSession::FindPage(PageId id)
{
    CPageBase* page = Page(id);
    const int at = NavIdOf(id);
    // The window shows what a chunk's lines came to, not every page they passed by.
    if (page && count_.PageReported(at, captions_[static_cast<std::size_t>(at)], page->Info()->clearOrder > 0))
        progressDue_ = true;
    return page;
}

void CSession::PushProgress(const CSysProgress::View& view)
{
    CSysProgress::View shown = view;
    count_.Apply(shown);
    // Only what the window shows last matters: a run of changes is one event.
    if (!events_.empty() && std::holds_alternative<ev::Progress>(events_.back())) {
        std::get<ev::Progress>(events_.back()).view = shown;
        return;
    }
    Push(ev::Progress{shown});
}

void CSession::ArmReloadWatch()
{
    reloadDueBy_ = clock_() + kReloadAnswerMs;
    if (runner_.Running()) return;  // the profile's count goes on until its reload
    const auto filled =
        std::count_if(pages_.begin(), pages_.end(), [](const auto& p) { return p->Info()->clearOrder > 0; });
    count_.StartReload(static_cast<int>(filled));
}

void CSession::CheckReloadWatch(Millis now)
{
    if (!reloadDueBy_ || now < *reloadDueBy_) return;
    reloadDueBy_.reset();
    count_.Stop();
    const int seconds = kReloadAnswerMs / kMsPerSecond;
    Push(ev::NoAnswer{seconds, "The unit did not answer the reload within " + std::to_string(seconds) + " s."});
}

void CSession::LineForWatch(const std::string& line)
{
    if (line.find(kReloadEnd) == std::string::npos) return;
    reloadDueBy_.reset();
    if (!runner_.Running()) count_.Stop();
}

void CSession::ReportRefusedLine(std::string_view bytes)
{
    if (runner_.Running()) return;  // a profile counts its refused lines in its summary
    // A page whose values write this very line comes before one whose keyword merely starts it.
    for (const LineMatch match : {LineMatch::Exact, LineMatch::Keyword})
        for (const auto& page : pages_)
            if (const std::vector<const FieldDecl*> rows = RowsOfLine(*page, bytes, match); !rows.empty())
                return TellRefused(*page, rows, bytes);
}

void CSession::TellRefused(const CPageBase& page, const std::vector<const FieldDecl*>& rows, std::string_view bytes)
{
    ev::FieldRefused refused{page.ClassName(), {}, {}};
    std::string names;
    for (const FieldDecl* f : rows) {
        refused.fields.push_back(f->id);
        names += (names.empty() ? "\"" : ", \"") + FieldCaption(page, *f) + "\"";
    }
    const std::string_view line = bytes.substr(0, bytes.find_first_of("\r\n"));
    refused.text = "The unit refused " + names + " on the page \"" + PageCaption(page) + "\" (CMD ERR to " +
                   std::string(line) + ").";
    Push(ev::Status{refused.text});
    Push(std::move(refused));
}

}  // namespace rtu
