// Row editors run from their declarations: which column each input opens with, and which
// line (format, order, wait) its value goes out on.
#include <algorithm>
#include <vector>

#include "pages/framework/CommandFormat.h"
#include "pages/framework/FieldBuilders.h"
#include "pages/framework/FieldCheck.h"
#include "pages/framework/PageBase.h"
#include "pages/framework/Ucs2Hex.h"

namespace rtu {
namespace {

constexpr const char* kStartBatch = "%STARTCMD\r";
constexpr const char* kCommitBatch = "%COMMITCMD\r";

// The rows an editor edits: its own count, else the fixed rows of its list.
int RowsOf(const CPageBase& page, const RowEditorDecl& e)
{
    if (e.rows > 0) return e.rows;
    const FieldDecl* list = page.FindField(e.listId);
    return list ? list->rows : 0;
}

// An input's value as one conversion of its line wants it.
CommandArg ArgOf(const FieldDecl& f, const FieldValue& v, char conversion)
{
    if (conversion == 's') {
        if (f.encoded) return EncodeUcs2Hex(v.text);
        return SingleLine(v.text);
    }
    if (f.kind == FieldKind::Check) return static_cast<long long>(v.check ? 1 : 0);
    if (HoldsSelection(f.kind)) return static_cast<long long>(v.sel);
    return static_cast<long long>(LeadingNumber(v.text));
}

// The line of an input that writes one: the row, then its value and those of its parts.
std::optional<std::string> EditLine(const CPageBase& page, const RowEditorDecl& e, const FieldDecl& f,
                                    const RowEdit& edit)
{
    if (f.write.rowCompose) {
        std::string line;
        if (!f.write.rowCompose(page, edit, line)) return std::nullopt;
        return line;
    }
    const std::string conversions = ConversionsOf(f.write.format);
    std::vector<const FieldDecl*> values{&f};
    for (const FieldDecl& part : e.fields)
        if (part.write.partOf == f.id && &part != &f) values.push_back(&part);
    if (conversions.size() != values.size() + 1) return std::nullopt;  // a declaration that does not fit its format
    std::vector<CommandArg> args{static_cast<long long>(edit.row + f.write.rowAdd)};
    for (std::size_t i = 0; i < values.size(); ++i) {
        const FieldValue* v = EditValueOf(edit, values[i]->id);
        args.push_back(ArgOf(*values[i], v ? *v : FieldValue{}, conversions[i + 1]));
    }
    return FormatCommand(f.write.format, args);
}

}  // namespace

const RowEditorDecl* CPageBase::FindEditor(int listId) const
{
    for (const RowEditorDecl& e : RowEditors())
        if (e.listId == listId) return &e;
    return nullptr;
}

bool CPageBase::BeginEditRow(int listId, int row, RowEdit& edit)
{
    const RowEditorDecl* e = FindEditor(listId);
    if (!e || row < 0 || row >= RowsOf(*this, *e)) return false;
    edit.listId = listId;
    edit.row = row;
    for (const FieldDecl& f : e->fields) {
        if (!HoldsValue(f.kind)) continue;
        FieldValue& v = edit.values[f.id];
        const std::string cell = f.column >= 0 ? CellText(listId, row, f.column) : std::string{};
        if (HoldsText(f.kind)) {
            v.text = f.column >= 0 ? cell : f.initial;
        } else if (f.kind == FieldKind::Check) {
            v.check = LeadingNumber(cell) > 0 ? 1 : 0;
        } else if (HoldsSelection(f.kind)) {
            // A cell that names no item opens on the editor's cleared choice.
            const bool named = IsWhole(cell) && cell.size() < 4 &&
                               (f.items.empty() || LeadingNumber(cell) < static_cast<int>(f.items.size()));
            v.sel = f.column >= 0 && named ? LeadingNumber(cell) : f.cleared;
        }
    }
    return true;
}

std::optional<FieldProblem> CPageBase::CheckEditRow(const RowEdit& edit) const
{
    return CheckEditorValues(*this, edit);
}

bool CPageBase::SendEditRow(const RowEdit& edit)
{
    const RowEditorDecl* e = FindEditor(edit.listId);
    if (!e || edit.row < 0 || edit.row >= RowsOf(*this, *e) || CheckEditRow(edit)) return false;
    std::vector<const FieldDecl*> writers;
    for (const FieldDecl& f : e->fields)
        if ((f.write.format || f.write.rowCompose) && f.write.partOf == 0) writers.push_back(&f);
    std::stable_sort(writers.begin(), writers.end(),
                     [](const FieldDecl* a, const FieldDecl* b) { return a->write.order < b->write.order; });
    if (e->framed) EmitCommand(false, kStartBatch, nullptr);
    for (const FieldDecl* f : writers)
        if (auto line = EditLine(*this, *e, *f, edit))
            EmitCommand(false, *line, nullptr, f->write.waitMs > 0 ? f->write.waitMs : e->waitMs);
    if (e->framed) EmitCommand(false, kCommitBatch, nullptr);
    return true;
}

void CPageBase::CommitEditRow(const RowEdit& edit)
{
    if (!SendEditRow(edit)) return;
    const RowEditorDecl* e = FindEditor(edit.listId);
    if (e->after) WriteBlock(e->after);
    else ReloadGroup();
}

}  // namespace rtu
