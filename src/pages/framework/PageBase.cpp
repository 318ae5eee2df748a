#include "pages/framework/PageBase.h"

#include <cstdio>

namespace rtu {

CPageBase::CPageBase(PageContext& context) : ctx_(context) {}

const PageInfo* CPageBase::Info() const { return FindPageInfo(ClassName()); }

const FieldDecl* CPageBase::FindField(int id) const
{
    for (const FieldDecl& f : Fields())
        if (f.id == id) return &f;
    return nullptr;
}

const FieldDecl* CPageBase::FindFieldByReportKey(std::string_view key) const
{
    for (const FieldDecl& f : Fields())
        if (!f.reportKey.empty() && f.reportKey == key) return &f;
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
    auto it = values_.find(id);
    if (it != values_.end()) return it->second;
    FieldValue& v = values_[id];
    if (const FieldDecl* f = FindField(id)) {
        v.text = f->initial;
        v.sel = f->noneValue;
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
        switch (f.kind) {
        case FieldKind::Label:
        case FieldKind::Button: break;
        case FieldKind::Text:
        case FieldKind::EditableCombo: Value(f.id).text = f.initial; break;
        case FieldKind::Check: Value(f.id).check = 0; break;
        case FieldKind::Combo: Value(f.id).sel = f.noneValue; break;
        case FieldKind::List: {
            FieldValue& v = Value(f.id);
            for (auto& row : v.cells)
                for (std::size_t c = 1; c < row.size(); ++c)
                    if (c >= f.columns.size() || f.columns[c].deviceValue) row[c].clear();
            break;
        }
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
    const PageInfo* info = Info();
    SeqJob job;
    job.bytes = info && info->dump ? info->dump : "";
    job.onStart = [this] { ClearFields(); };
    if (ctx_.sequencer) ctx_.sequencer->Enqueue(std::move(job));
    else ClearFields();
}

void CPageBase::EmitCommand(bool toProfile, const std::string& text, CProfileWriter* file, int waitSteps)
{
    if (toProfile) {
        if (file) file->WriteText(text + "\n");
        return;
    }
    if (ctx_.sequencer) ctx_.sequencer->EnqueueCommand(text, waitSteps > 0 ? waitSteps : DefaultWaitSteps());
}

void CPageBase::WriteProfileSection(CProfileWriter& file)
{
    const PageInfo* info = Info();
    if (!info || !info->header) return;
    EmitCommand(true, info->header, &file);
    SaveParams(true, &file);
}

void CPageBase::OnSaveClicked()
{
    if (ctx_.postToMain) ctx_.postToMain(cmd::kPageBusy);
    SaveParams(false, nullptr);
    ReloadGroup();
}

bool CPageBase::OnCommand(int id)
{
    if (id == ctl::kReload) {
        ReloadGroup();
        return true;
    }
    if (id == ctl::kSave) {
        OnSaveClicked();
        return true;
    }
    return false;
}

bool CPageBase::BeginEditRow(int, int, RowEdit&) { return false; }
void CPageBase::CommitEditRow(const RowEdit&) {}
bool CPageBase::OnCellClicked(int, int, int) { return false; }

void CPageBase::OnRoute(const RouteHit& hit)
{
    const RouteTarget& t = hit.target;
    if (t.effect == RouteEffect::Handler || t.effect == RouteEffect::ListRow) {
        OnReport(hit);
        return;
    }
    const FieldDecl* f = FindFieldByReportKey(t.field);
    if (!f) return;
    switch (t.effect) {
    case RouteEffect::EditText: SetText(f->id, std::string(hit.text)); break;
    case RouteEffect::CheckOn: SetCheck(f->id, 1); break;
    case RouteEffect::CheckOff: SetCheck(f->id, 0); break;
    case RouteEffect::CheckChar: SetCheck(f->id, !hit.text.empty() && hit.text[0] == '1'); break;
    case RouteEffect::ComboNumber: SetSel(f->id, LeadingNumber(hit.text)); break;
    case RouteEffect::Handler:
    case RouteEffect::ListRow: break;
    }
}

void CPageBase::OnReport(const RouteHit&) {}

std::string CPageBase::Tr(std::string_view key) const
{
    const PageInfo* info = Info();
    return Tr(info && info->section ? info->section : "", key);
}

std::string CPageBase::Tr(std::string_view section, std::string_view key) const
{
    return ctx_.catalog ? ctx_.catalog->GetText(section, key) : std::string{};
}

std::string CPageBase::Resolve(const TextRef& ref) const
{
    if (ref.key.empty()) return ref.text;
    return ref.section.empty() ? Tr(ref.key) : Tr(ref.section, ref.key);
}

}  // namespace rtu
