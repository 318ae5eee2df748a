#include "session/Session.h"
#include "session/StreamLines.h"

#include <algorithm>
#include <charconv>
#include <cstdint>

#include "pages/framework/FieldCheck.h"
#include "pages/sensor/TempRecordPage.h"
#include "session/JsonText.h"
#include "session/MaskedSecrets.h"

namespace rtu {

namespace {

// What the user is told when routing rows and page declarations disagree: the affected values
// would stay empty or land in the wrong field, so the first few disagreements are named.
std::string RouteProblemsText(const std::vector<std::string>& problems)
{
    constexpr std::size_t kNamed = 3;
    std::string text = std::string(CSession::kRouteProblems) + " (" + std::to_string(problems.size()) +
                       " found at start-up); values on the pages named here may stay empty or be wrong. "
                       "Please report this with the lines below:";
    for (std::size_t i = 0; i < problems.size() && i < kNamed; ++i) text += "\n" + problems[i];
    if (problems.size() > kNamed) text += "\nand " + std::to_string(problems.size() - kNamed) + " more.";
    return text;
}

// A page's object written as text: the members PageJson gives, gathered first so that they
// can be written in key order, a later member with the same key replacing an earlier one as
// in PageJson.
class CPageMembers {
public:
    // `expected`: about how many members there will be.
    CPageMembers(const CPageBase& page, std::size_t expected) : page_(page) { members_.reserve(expected); }

    void AddField(const FieldDecl& f)
    {
        if (!(HoldsText(f.kind) || f.kind == FieldKind::Check || HoldsSelection(f.kind) || f.kind == FieldKind::List))
            return;  // no member, as in AddFieldJson
        Member& m = members_.emplace_back();
        m.field = &f;
        if (f.id > 0 || f.jsonKey.empty()) m.Number(f.id);
        else m.key = f.jsonKey;
    }
    // The record rows and the extra values, as PageJson adds them after the fields.
    void AddMore()
    {
        if ((records_ = dynamic_cast<const CTempRecordPage*>(&page_))) members_.emplace_back().Number(temppage::kList);
        extras_ = page_.ExtraValues();
        for (const auto& extra : extras_) {
            Member& m = members_.emplace_back();
            m.key = extra.first;
            m.extra = &extra.second;
        }
    }
    // Writes the object; returns its member count.
    std::size_t Write(CJsonText& out)
    {
        for (std::size_t i = 0; i < members_.size(); ++i) {
            members_[i].order = i;
            members_[i].head = Head(members_[i].Key());
        }
        // Most keys differ in their first bytes, so that most comparisons are of one number.
        std::sort(members_.begin(), members_.end(), [](const Member& a, const Member& b) {
            if (a.head != b.head) return a.head < b.head;
            const int c = a.Key().compare(b.Key());
            return c != 0 ? c < 0 : a.order < b.order;
        });
        std::size_t count = 0;
        out.BeginObject();
        for (std::size_t i = 0; i < members_.size(); ++i) {
            if (i + 1 < members_.size() && members_[i + 1].head == members_[i].head &&
                members_[i + 1].Key() == members_[i].Key())
                continue;  // replaced
            out.Key(members_[i].Key());
            WriteValue(members_[i], out);
            ++count;
        }
        out.EndObject();
        return count;
    }

private:
    struct Member {
        std::string_view key;    // unless it is a number
        char digits[12] = {};    // the key when it is a number (kept here: members move)
        std::size_t length = 0;  // of the number in digits
        std::size_t order = 0;   // in which PageJson adds it
        std::uint64_t head = 0;  // the key's first bytes, ordered as the key
        const FieldDecl* field = nullptr;
        const std::string* extra = nullptr;  // neither: the record rows

        void Number(int n)
        {
            length = static_cast<std::size_t>(std::to_chars(digits, digits + sizeof digits, n).ptr - digits);
        }
        std::string_view Key() const { return length > 0 ? std::string_view(digits, length) : key; }
    };

    // The first eight bytes of `key` (zeros after a shorter key) as one number that orders as
    // the bytes do.
    static std::uint64_t Head(std::string_view key)
    {
        std::uint64_t head = 0;
        for (std::size_t i = 0; i < sizeof head; ++i)
            head = head << 8 | (i < key.size() ? static_cast<unsigned char>(key[i]) : 0U);
        return head;
    }

    void WriteValue(const Member& m, CJsonText& out) const
    {
        if (m.extra) return out.String(*m.extra);
        if (!m.field) {
            out.BeginArray();
            for (const TempRow& row : records_->Rows()) WriteRow(row, out);
            return out.EndArray();
        }
        const FieldDecl& f = *m.field;
        const FieldValue& value = page_.ValueOf(f.id);
        if (HoldsText(f.kind)) return out.String(value.text);
        if (f.kind == FieldKind::Check) return out.Number(value.check ? 1 : 0);
        if (HoldsSelection(f.kind)) return out.Number(value.sel);
        out.BeginArray();
        for (const auto& row : value.cells) WriteRow(row, out);
        out.EndArray();
    }
    template <class Row> static void WriteRow(const Row& row, CJsonText& out)
    {
        out.BeginArray();
        for (const std::string& cell : row) out.String(cell);
        out.EndArray();
    }

    const CPageBase& page_;
    std::vector<Member> members_;
    const CTempRecordPage* records_ = nullptr;
    std::vector<std::pair<std::string, std::string>> extras_;
};

}  // namespace

CSession::CSession(WriteFn write, ClockFn clock, const CTextCatalog* catalog, std::span<const PageInfo> registry)
    : clock_(clock), registry_(registry), link_(std::move(write), std::move(clock), this), runner_(link_)
{
    context_.sequencer = &link_.Sequencer();
    context_.catalog = catalog;
    context_.postToMain = [this](int id) { OnPostCommand(id); };
    context_.message = [this](MessageIcon icon, const std::string& text) { Message(icon, text); };
    for (const PageInfo& info : registry_)
        if (info.make)
            if (auto page = info.make(context_, info)) pages_.push_back(std::move(page));
    for (const auto& p : pages_) {
        const int at = NavIdOf(p->Id());
        if (at <= 0 || at >= kPageIdLimit || byId_[static_cast<std::size_t>(at)]) continue;
        byId_[static_cast<std::size_t>(at)] = p.get();
        captions_[static_cast<std::size_t>(at)] = PageCaption(*p);
    }
    routes_ = CheckRoutes(registry_, [this](PageId id) -> const CPageBase* { return Page(id); });
    if (!routes_.problems.empty()) Message(MessageIcon::Error, RouteProblemsText(routes_.problems));
    link_.SetRouteDirectory(this);
    link_.SetReloadClearer([this] { OnFullReloadStart(); });
    link_.SetStreamLineTest(IsStreamLine);
    Connect();
}

CSession::~CSession() = default;

CPageBase* CSession::Page(std::string_view className) const
{
    for (const auto& p : pages_)
        if (className == p->ClassName()) return p.get();
    return nullptr;
}

CPageBase* CSession::Page(PageId id) const
{
    const int at = NavIdOf(id);
    return at > 0 && at < kPageIdLimit ? byId_[static_cast<std::size_t>(at)] : nullptr;
}

int CSession::DroppedReports() const
{
    int n = 0;
    for (const auto& p : pages_) n += p->DroppedReports();
    return n;
}

namespace {

// The built pages whose registry row gives them a position in `order`, in that order.
template <class OrderOf> std::vector<CPageBase*> PagesInOrder(const PageList& pages, OrderOf order)
{
    std::vector<std::pair<int, CPageBase*>> ordered;
    for (const auto& p : pages)
        if (const int at = order(*p->Info()); at > 0) ordered.emplace_back(at, p.get());
    std::stable_sort(ordered.begin(), ordered.end(), [](auto& a, auto& b) { return a.first < b.first; });
    std::vector<CPageBase*> out;
    for (auto& [at, page] : ordered) out.push_back(page);
    return out;
}

// The pages that write a profile section, in profile order.
std::vector<CPageBase*> ProfilePages(const PageList& pages)
{
    return PagesInOrder(pages, [](const PageInfo& info) { return info.profileOrder; });
}

}  // namespace

void CSession::ClearForReload()
{
    for (CPageBase* p : PagesInOrder(pages_, [](const PageInfo& info) { return info.clearOrder; })) p->ClearFields();
}

std::string CSession::ProfileText(bool withUnread, Secrets secrets)
{
    const CMaskedSecrets masked(pages_, secrets == Secrets::Masked);
    CProfileWriter writer;  // never opened: collects the text only
    if (secrets == Secrets::Masked) writer.WriteText(kMaskedProfileNote);
    for (CPageBase* p : ProfilePages(pages_))
        if (withUnread || p->Loaded()) p->WriteProfileSection(writer);
    return writer.Written();
}

bool CSession::SaveProfile(const std::string& path, bool withUnread)
{
    CProfileWriter writer;
    if (!writer.Open(path)) {
        Message(MessageIcon::Error, std::string(kOpenProfileFailed) + " " + writer.Error());
        return false;
    }
    for (CPageBase* p : ProfilePages(pages_))
        if (withUnread || p->Loaded()) p->WriteProfileSection(writer);
    if (!writer.Commit()) {
        Message(MessageIcon::Error, std::string(kWriteProfileFailed) + " " + writer.Error());
        return false;
    }
    Message(MessageIcon::Information, kSaveProfileOk);
    return true;
}

bool CSession::ExecProfile(const std::string& path)
{
    if (link_.profileBusy) return false;
    if (Busy()) return Refuse("The profile was not run: the unit is busy.");
    CProfileReader reader;
    reader.KeepHeaders(true);  // the run's record names each line's page
    if (!reader.ReadFile(path)) {
        std::string text = kOpenProfileFailed;
        if (reader.GetError() != CProfileReader::Error::CannotOpen) text += "\n" + reader.ErrorText();
        Message(MessageIcon::Error, text);
        return false;
    }
    return ExecProfileLines(reader.TakeLines());
}

bool CSession::ExecProfileLines(const std::vector<std::string>& lines)
{
    return ExecProfileLines(CProfileReader::FromLines(lines));
}

std::string CSession::MaskedLinesRefusal(const std::vector<std::string>& masked)
{
    std::string text = "The profile was not run: " + std::to_string(masked.size()) + " line(s) hold a masked secret (" +
                       std::string(kSecretMask) + ") instead of its value:";
    for (const std::string& line : masked) text += " " + line;
    return text + ". Put the real values in, or save the profile from the unit without masking.";
}

std::string CSession::ExecOutcomeText(const ExecSummary& s)
{
    const std::string counts = std::to_string(s.ok) + " line(s) answered \"CMD OK\", " + std::to_string(s.err) +
                               " answered \"CMD ERR\", " + std::to_string(s.unanswered) + " not answered";
    const std::string notSent = std::to_string(s.notSent) + " command line(s) were not sent; nothing was committed.";
    switch (s.stop) {
    case ExecStop::LoginRefused: return "The profile was stopped: the unit refused the login password. " + notSent;
    case ExecStop::UnitSilent: return "The profile was stopped: the unit stopped answering. " + notSent;
    case ExecStop::PortLost: return "The profile was stopped: the port went away. " + notSent;
    case ExecStop::None:
    case ExecStop::Closing: break;
    }
    if (s.Clean()) return std::string(kExecProfileOk) + "\n" + counts + ".";
    // A profile whose lines were refused or unanswered is not reported as a success.
    std::string text = "The profile was executed with errors: " + counts;
    if (s.refused > 0) text += ", " + std::to_string(s.refused) + " line(s) too long to send";
    if (s.framingFailed > 0) text += ", the start or commit line was not acknowledged";
    if (s.late > 0) text += ", " + std::to_string(s.late) + " answer(s) came too late";
    return text + ".";
}

bool CSession::ExecProfileLines(CProfileLines lines)
{
    if (Busy()) return Refuse("The profile was not run: the unit is busy.");
    if (const std::vector<std::string> masked = MaskedLines(lines); !masked.empty())
        return Refuse(MaskedLinesRefusal(masked));
    const int commands = static_cast<int>(lines.CountOf(ProfileLineKind::Command));
    const bool started = runner_.Start(std::move(lines), [this](const ExecSummary& s) {
        count_.Stop();
        Push(ev::ProfileEnded{s});
        // A unit that refused the login, fell silent or went with its port is not asked for a
        // reload: that would only repeat the failed logins or wait for nothing.
        if (s.stop == ExecStop::LoginRefused || s.stop == ExecStop::UnitSilent || s.stop == ExecStop::PortLost) {
            TellOutcome(s, true);
            return;
        }
        // The outcome is told once the reload that follows has shown the unit's values.
        pendingOutcome_ = s;
        OnPostCommand(cmd::kReload);
    });
    if (started) count_.StartLines(commands);
    AfterInput();
    return started;
}

bool CSession::AddFieldJson(const CPageBase& page, const FieldDecl& f, nlohmann::json& out)
{
    if (!HoldsValue(f.kind)) return false;
    // Controls are known by their id; a value without a control (id 0 or less) by its key.
    std::string key = f.id > 0 || f.jsonKey.empty() ? std::to_string(f.id) : f.jsonKey;
    const FieldValue& value = page.ValueOf(f.id);
    if (HoldsText(f.kind)) out[std::move(key)] = value.text;
    else if (f.kind == FieldKind::Check) out[std::move(key)] = value.check ? 1 : 0;
    else if (HoldsSelection(f.kind)) out[std::move(key)] = value.sel;
    else if (f.kind == FieldKind::List) {
        nlohmann::json rows = nlohmann::json::array();
        for (const auto& row : value.cells) rows.push_back(row);
        out[std::move(key)] = std::move(rows);  // the rows' cells are not copied again
    } else {
        return false;
    }
    return true;
}

nlohmann::json CSession::PageJson(const CPageBase& page)
{
    nlohmann::json out = nlohmann::json::object();
    for (const FieldDecl& f : page.Fields()) AddFieldJson(page, f, out);
    // The record lists keep their rows beside the field values: each row as the list shows
    // it (time, then status and value per sensor), newest first.
    if (const auto* records = dynamic_cast<const CTempRecordPage*>(&page)) {
        nlohmann::json rows = nlohmann::json::array();
        for (const TempRow& row : records->Rows()) rows.push_back(row);
        out[std::to_string(temppage::kList)] = std::move(rows);
    }
    for (const auto& [key, value] : page.ExtraValues()) out[key] = value;
    return out;
}

std::size_t CSession::WritePageJson(const CPageBase& page, CJsonText& out)
{
    CPageMembers members(page, page.Fields().size() + 4);
    for (const FieldDecl& f : page.Fields()) members.AddField(f);
    members.AddMore();
    return members.Write(out);
}

std::size_t CSession::WriteFieldsJson(const CPageBase& page, std::span<const FieldDecl* const> fields, CJsonText& out)
{
    CPageMembers members(page, fields.size());
    for (const FieldDecl* f : fields) members.AddField(*f);
    return members.Write(out);
}

std::string CSession::ExportJsonText(Secrets secrets) const
{
    const CMaskedSecrets masked(pages_, secrets == Secrets::Masked);
    // The pages in the order of their class names, as the export object holds them.
    std::vector<const CPageBase*> pages;
    pages.reserve(pages_.size());
    for (const auto& p : pages_) pages.push_back(p.get());
    std::stable_sort(pages.begin(), pages.end(), [](const CPageBase* a, const CPageBase* b) {
        return std::string_view(a->ClassName()) < std::string_view(b->ClassName());
    });
    std::string text;
    CJsonText out(text);
    out.BeginObject();
    for (std::size_t i = 0; i < pages.size(); ++i) {
        if (i + 1 < pages.size() && std::string_view(pages[i]->ClassName()) == pages[i + 1]->ClassName())
            continue;  // one object per class name: the last page's, as in ExportJson
        out.Key(pages[i]->ClassName());
        WritePageJson(*pages[i], out);
    }
    out.EndObject();
    text += '\n';
    return text;
}

std::string CSession::JsonText(const nlohmann::json& values)
{
    // A unit may report any bytes; the export stays valid JSON whatever it sent.
    constexpr int kIndent = 2;
    return values.dump(kIndent, ' ', false, nlohmann::json::error_handler_t::replace) + "\n";
}

nlohmann::json CSession::ExportJson(Secrets secrets) const
{
    const CMaskedSecrets masked(pages_, secrets == Secrets::Masked);
    nlohmann::json out = nlohmann::json::object();
    for (const auto& p : pages_) out[p->ClassName()] = PageJson(*p);
    return out;
}

}  // namespace rtu
