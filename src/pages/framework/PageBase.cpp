#include "pages/framework/PageBase.h"

#include <algorithm>
#include <cstdio>
#include <optional>

#include "pages/framework/CommandFormat.h"
#include "pages/framework/FieldBuilders.h"
#include "pages/framework/FieldCheck.h"
#include "pages/framework/Ucs2Hex.h"

namespace rtu {

namespace {
constexpr const char* kStartBatch = "%STARTCMD\r";    // opens a framed save batch
constexpr const char* kCommitBatch = "%COMMITCMD\r";  // closes it
}  // namespace

CPageBase::CPageBase(PageContext& context, const PageInfo& info, PageDecl decl)
    : ctx_(context), info_(info), decl_(decl)
{}

const FieldDecl* CPageBase::FindField(int id) const
{
    for (const FieldDecl& f : Fields())
        if (f.id == id) return &f;
    return nullptr;
}

namespace {

bool Names(const ReportDecl& r, std::string_view key) { return r.key && key == r.key; }

}  // namespace

const FieldDecl* CPageBase::FindFieldByReportKey(std::string_view key) const
{
    for (const FieldDecl& f : Fields())
        if (Names(f.report, key) || Names(f.report2, key)) return &f;
    return nullptr;
}

const HandlerDecl* CPageBase::FindHandler(int number) const
{
    for (const HandlerDecl& h : Handlers())
        if (h.number == number && h.fn) return &h;
    return nullptr;
}

void CPageBase::InitList(const FieldDecl& field, FieldValue& value) const
{
    const std::size_t columns = field.columns.empty() ? 1 : field.columns.size();
    value.cells.assign(static_cast<std::size_t>(field.rows), std::vector<std::string>(columns));
    for (int r = 0; r < field.rows; ++r) {
        char label[32];
        std::snprintf(label, sizeof label, field.rowLabelFormat.c_str(), field.firstRowNumber + r);
        value.cells[static_cast<std::size_t>(r)][0] = label;
    }
}

FieldValue& CPageBase::Value(int id)
{
    touched_ = true;
    return Slot(id);
}

FieldValue& CPageBase::Slot(int id)
{
    auto it = values_.find(id);
    if (it != values_.end()) return it->second;
    FieldValue& v = values_[id];
    if (const FieldDecl* f = FindField(id)) {
        v.text = f->initial;
        v.sel = -1;
        if (f->kind == FieldKind::List) InitList(*f, v);
    }
    return v;
}

const FieldValue* CPageBase::FindValue(int id) const
{
    auto it = values_.find(id);
    return it == values_.end() ? nullptr : &it->second;
}

std::string& CPageBase::Cell(int listId, int row, int col)
{
    FieldValue& v = Value(listId);
    if (row < 0) row = 0;
    if (col < 0) col = 0;
    if (static_cast<std::size_t>(row) >= v.cells.size()) v.cells.resize(static_cast<std::size_t>(row) + 1);
    auto& cells = v.cells[static_cast<std::size_t>(row)];
    if (static_cast<std::size_t>(col) >= cells.size()) cells.resize(static_cast<std::size_t>(col) + 1);
    return cells[static_cast<std::size_t>(col)];
}

std::string CPageBase::CellText(int listId, int row, int col) const
{
    const FieldValue* v = FindValue(listId);
    if (!v || row < 0 || col < 0 || static_cast<std::size_t>(row) >= v->cells.size()) return {};
    const auto& cells = v->cells[static_cast<std::size_t>(row)];
    return static_cast<std::size_t>(col) < cells.size() ? cells[static_cast<std::size_t>(col)] : std::string{};
}

void CPageBase::SetText(int id, std::string text)
{
    Value(id).text = std::move(text);
    NotifyChanged(id);
}

void CPageBase::SetCheck(int id, int on)
{
    Value(id).check = on ? 1 : 0;
    NotifyChanged(id);
}

void CPageBase::SetSel(int id, int sel)
{
    Value(id).sel = sel;
    NotifyChanged(id);
}

void CPageBase::SetCell(int listId, int row, int col, std::string text)
{
    Cell(listId, row, col) = std::move(text);
    NotifyChanged(listId);
}

int CPageBase::AddListener(std::function<void(int)> listener)
{
    const int handle = nextListener_++;
    listeners_[handle] = std::move(listener);
    return handle;
}

void CPageBase::RemoveListener(int handle) { listeners_.erase(handle); }

void CPageBase::NotifyChanged(int id)
{
    for (auto& [handle, listener] : listeners_) listener(id);
}

void CPageBase::ClearFields()
{
    for (const FieldDecl& f : Fields()) {
        if (!HoldsValue(f.kind) || std::find(decl_.kept.begin(), decl_.kept.end(), f.id) != decl_.kept.end()) continue;
        FieldValue& v = Value(f.id);
        if (HoldsText(f.kind)) v.text = f.initial;
        else if (f.kind == FieldKind::Check) v.check = 0;
        else if (HoldsSelection(f.kind)) v.sel = f.cleared;
        else if (f.kind == FieldKind::List) {
            // Rows that grew with the unit's values go; the fixed rows lose their values.
            if (f.growRows && v.cells.size() > static_cast<std::size_t>(f.rows))
                v.cells.resize(static_cast<std::size_t>(f.rows));
            for (auto& row : v.cells)
                for (std::size_t c = 1; c < row.size(); ++c)
                    if (c >= f.columns.size() || f.columns[c].deviceValue) row[c].clear();
        }
    }
    NotifyChanged(kChangedAll);
}

void CPageBase::WriteBlock(const std::string& text)
{
    if (ctx_.sequencer) ctx_.sequencer->EnqueueBlock(text);
}

void CPageBase::ReloadGroup()
{
    SeqJob job;
    job.bytes = info_.dump ? info_.dump : "";
    auto clear = [this] {
        ClearFields();
        loaded_ = false;
        ownReload_ = true;
        ClearEdited();
    };
    job.onStart = clear;
    if (ctx_.sequencer) ctx_.sequencer->Enqueue(std::move(job));
    else clear();
}

std::optional<std::string> CPageBase::WriteLine(const FieldDecl& f) const
{
    if (f.write.compose) {
        std::string line;
        if (!f.write.compose(*this, line)) return std::nullopt;
        return line;
    }
    if (!f.write.format) return std::nullopt;
    const std::string conversions = ConversionsOf(f.write.format);
    if (conversions.empty()) return FormatCommand(f.write.format, {});
    if (conversions.size() != 1) return std::nullopt;  // several values: a compose hook's job
    const FieldValue& v = ValueOf(f.id);
    CommandArg arg;
    if (conversions[0] == 's') {
        if (f.report.decode == Decode::Hex) arg = EncodeUcs2Hex(v.text);
        else arg = SingleLine(v.text);
    } else if (f.kind == FieldKind::Check) {
        arg = static_cast<long long>(v.check ? 1 : 0);
    } else if (HoldsSelection(f.kind)) {
        // A selection that names no item is not sent as a default.
        if (v.sel < 0 || (!f.items.empty() && v.sel >= static_cast<int>(f.items.size()))) return std::nullopt;
        arg = static_cast<long long>(v.sel);
    } else {
        arg = static_cast<long long>(LeadingNumber(v.text));
    }
    return FormatCommand(f.write.format, std::span<const CommandArg>(&arg, 1));
}

void CPageBase::SaveParams(bool toProfile, CProfileWriter* file)
{
    std::vector<const FieldDecl*> rows;
    for (const FieldDecl& f : Fields()) {
        const WriteDecl& w = f.write;
        if ((w.format || w.compose) && !w.onClick && !w.reportOnly && w.partOf == 0 && f.kind != FieldKind::Button)
            rows.push_back(&f);
    }
    std::stable_sort(rows.begin(), rows.end(), [](auto* a, auto* b) { return a->write.order < b->write.order; });
    if (!toProfile && decl_.framed) EmitCommand(false, kStartBatch, nullptr);
    for (const FieldDecl* f : rows)
        if (auto line = WriteLine(*f)) EmitCommand(toProfile, *line, file, f->write.waitMs);
    if (!toProfile && decl_.framed) EmitCommand(false, kCommitBatch, nullptr);
}

void CPageBase::EmitCommand(bool toProfile, const std::string& text, CProfileWriter* file, int waitMs)
{
    if (toProfile) {
        if (file) file->WriteLine(text);
        return;
    }
    if (ctx_.sequencer) ctx_.sequencer->EnqueueCommand(text, waitMs > 0 ? waitMs : DefaultWaitMs());
}

void CPageBase::WriteProfileSection(CProfileWriter& file)
{
    if (!info_.header) return;
    EmitCommand(true, info_.header, &file);
    SaveParams(true, &file);
}

void CPageBase::OnSaveClicked()
{
    // A value the unit would refuse stays on screen with its reason; nothing is sent.
    if (const auto problems = CheckPage(*this); !problems.empty()) {
        if (ctx_.message) ctx_.message(MessageIcon::Error, std::string(kNotSaved) + "\n" + DescribeProblems(problems));
        return;
    }
    if (decl_.busyNotice) PostToMain(cmd::kPageBusy);
    ClearEdited();  // the values on screen are on their way to the unit
    SaveParams(false, nullptr);
    AfterSave();
}

bool CPageBase::OnCommand(int id)
{
    const FieldDecl* f = FindField(id);
    if (!f) return false;
    if (f->kind == FieldKind::Check && f->write.onClick) {
        // A box that acts at once: its line goes to the unit when it is clicked.
        if (auto line = WriteLine(*f)) EmitCommand(false, *line, nullptr, f->write.waitMs);
        return true;
    }
    if (f->kind != FieldKind::Button) return false;
    if (f->onClick) {
        f->onClick(*this);
        return true;
    }
    const int command = f->command ? f->command : f->id;
    if (command == ctl::kReload) {
        ReloadGroup();
        return true;
    }
    if (command == ctl::kSave || command == ctl::kSave1 || command == ctl::kSave0) {
        OnSaveClicked();
        return true;
    }
    return false;
}

bool CPageBase::OnCellClicked(int, int, int) { return false; }

void CPageBase::ApplyReport(const FieldDecl& f, Decode decode, std::string_view value)
{
    switch (decode) {
    case Decode::None:
    case Decode::Switch: break;
    case Decode::Text: SetText(f.id, std::string(value)); break;
    case Decode::Hex: SetText(f.id, DecodeUcs2Hex(value)); break;
    case Decode::Number: {
        // An index that names no item leaves the list without a selection, as the list itself would.
        const int n = LeadingNumber(value);
        const bool named = n >= 0 && (f.items.empty() || n < static_cast<int>(f.items.size()));
        SetSel(f.id, named ? n : -1);
        break;
    }
    case Decode::Flag: SetCheck(f.id, !value.empty() && value.front() == '1'); break;
    case Decode::Digit: {
        const int n = value.empty() ? -1 : value.front() - '0';
        SetSel(f.id, n >= 0 && n < static_cast<int>(f.items.size()) ? n : -1);
        break;
    }
    }
}

namespace {

std::string_view From(std::string_view line, int at)
{
    const auto off = static_cast<std::size_t>(at < 0 ? 0 : at);
    return off < line.size() ? line.substr(off) : std::string_view{};
}

const ReportDecl* BindingFor(const FieldDecl& f, std::string_view key)
{
    if (Names(f.report, key)) return &f.report;
    if (Names(f.report2, key)) return &f.report2;
    return nullptr;
}

}  // namespace

const CPageBase::ScanKeys& CPageBase::Scan() const
{
    if (scan_) return *scan_;
    scan_ = std::make_unique<ScanKeys>();
    for (const FieldDecl& f : Fields())
        for (const ReportDecl* r : {&f.report, &f.report2})
            if (r->key) {
                const bool flip = r->decode == Decode::Switch;
                scan_->keys.push_back(
                    {&f, r, flip ? std::string(r->key) + " 0" : "", flip ? std::string(r->key) + " 1" : ""});
            }
    std::stable_sort(scan_->keys.begin(), scan_->keys.end(),
                     [](const ScanKey& a, const ScanKey& b) { return a.report->order < b.report->order; });
    for (std::size_t i = 0; i < scan_->keys.size(); ++i) scan_->index.Add(i, scan_->keys[i].report->key);
    return *scan_;
}

void CPageBase::ForEachScanned(const MarkedLine& marked, bool each,
                               const std::function<void(const FieldDecl&, const ReportDecl&, int)>& fn) const
{
    // The keys are tried in their order; only those whose head the line holds at a mark.
    const ScanKeys& scan = Scan();
    scan.index.Candidates(marked).FirstOf([&](std::size_t i) {
        const ScanKey& k = scan.keys[i];
        int on = -1;
        if (k.report->decode == Decode::Switch) {
            const bool off = marked.Contains(k.off);
            if (!off && !marked.Contains(k.on)) return false;
            on = off ? 0 : 1;
        } else if (!marked.Contains(k.report->key)) {
            return false;
        }
        fn(*k.field, *k.report, on);
        return !each;
    });
}

void CPageBase::ScanLine(std::string_view line, const MarkedLine* known, bool each)
{
    std::optional<MarkedLine> own;
    const MarkedLine& marked = known ? *known : own.emplace(line);
    ForEachScanned(marked, each, [&](const FieldDecl& f, const ReportDecl& r, int on) {
        if (ownReload_) SetLoaded(true);
        if (on >= 0) SetCheck(f.id, on);
        else ApplyReport(f, r.decode, From(line, r.at));
    });
}

void CPageBase::ClearEdited()
{
    if (!edited_) return;
    edited_ = false;
    NotifyChanged(kChangedAll);
}

void CPageBase::OnRoute(const RouteHit& hit)
{
    // The first report after the page's own reload makes it loaded; a page that scans every
    // line counts only a line that holds one of its keys.
    const RouteTarget& t = hit.target;
    const bool scans = t.effect == RouteEffect::Scan || t.effect == RouteEffect::ScanEach;
    if (ownReload_ && !scans) SetLoaded(true);
    switch (t.effect) {
    case RouteEffect::Scan:
    case RouteEffect::ScanEach: ScanLine(hit.line, hit.marked, t.effect == RouteEffect::ScanEach); return;
    case RouteEffect::Handler:
    case RouteEffect::ListRow:
        if (const HandlerDecl* h = FindHandler(t.handler)) h->fn(*this, hit);
        else ++dropped_;
        return;
    default: break;
    }
    const FieldDecl* f = FindFieldByReportKey(t.key ? t.key : "");
    if (!f) {
        ++dropped_;
        return;
    }
    switch (t.effect) {
    case RouteEffect::EditText: {
        const ReportDecl* r = BindingFor(*f, t.key);
        ApplyReport(*f, r && r->decode == Decode::Hex ? Decode::Hex : Decode::Text, hit.text);
        break;
    }
    case RouteEffect::CheckOn: SetCheck(f->id, 1); break;
    case RouteEffect::CheckOff: SetCheck(f->id, 0); break;
    case RouteEffect::CheckChar: ApplyReport(*f, Decode::Flag, hit.text); break;
    case RouteEffect::ComboNumber: ApplyReport(*f, Decode::Number, hit.text); break;
    default: break;
    }
}

std::string CPageBase::Tr(std::string_view key) const { return Tr(info_.section ? info_.section : "", key); }

std::string CPageBase::Tr(std::string_view section, std::string_view key) const
{
    return ctx_.catalog ? ctx_.catalog->GetText(section, key) : std::string{};
}

std::string CPageBase::Resolve(const TextRef& ref) const
{
    if (ref.key.empty()) return ref.prefix + ref.text + ref.suffix;
    const std::string text = ref.section.empty() ? Tr(ref.key) : Tr(ref.section, ref.key);
    return text.empty() ? text : ref.prefix + text + ref.suffix;
}

}  // namespace rtu
