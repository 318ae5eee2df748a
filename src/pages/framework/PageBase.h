// The model of one parameter page: its declared rows, their values, and its jobs — clear,
// reload, take routed reports, build command lines for the unit or a profile, export. All
// of it follows from the rows (FieldDecl.h); a page adds only hooks for what a row can't
// say. No window here: views are generated from Fields() and follow the values through
// the change listeners.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "link/KeyIndex.h"
#include "link/LinkTypes.h"
#include "link/ProfileWriter.h"
#include "link/RoutingTable.h"
#include "link/Sequencer.h"
#include "link/TextFields.h"
#include "pages/framework/FieldDecl.h"
#include "pages/framework/PageTable.h"
#include "pages/framework/TextCatalog.h"

namespace rtu {

// Control identifiers many pages share.
namespace ctl {
inline constexpr int kFrame = 1281;   // group box whose caption is the page title
inline constexpr int kReload = 1420;  // Reload button
inline constexpr int kSave = 3002;    // Save button on most pages
inline constexpr int kSave1 = 3001;   // Save or a second action on some pages
inline constexpr int kSave0 = 3000;
inline constexpr int kList = 4001;     // the page's table on list pages
inline constexpr int kEditRow = 1250;  // command: edit the selected row
}  // namespace ctl

struct FieldValue {
    std::string text{};                             // text kinds
    int check = 0;                                  // Check
    int sel = -1;                                   // Combo, Radio
    std::vector<std::vector<std::string>> cells{};  // List: rows x columns (column 0 is the row label)
};

// What a page needs from the tool around it.
struct PageContext {
    CSequencer* sequencer = nullptr;                               // every line to the unit goes through it
    std::function<void(int id)> postToMain;                        // commands to the main window (2999 busy)
    std::function<void(MessageIcon, const std::string&)> message;  // a message box
    const CTextCatalog* catalog = nullptr;                         // may be null: empty texts
};

// The values of a row editor while it is open.
struct RowEdit {
    int listId = 0;
    int row = -1;
    std::map<int, FieldValue> values{};  // by the editor's field ids
    std::string title{};                 // the editor's caption for this row; empty: the declared one
};

// A value of an open row editor; nullptr when the editor holds none under that id.
inline const FieldValue* EditValueOf(const RowEdit& edit, int id)
{
    const auto it = edit.values.find(id);
    return it == edit.values.end() ? nullptr : &it->second;
}
// The text of an open row editor's input; empty when it holds none.
inline std::string EditTextOf(const RowEdit& edit, int id)
{
    const FieldValue* v = EditValueOf(edit, id);
    return v ? v->text : std::string{};
}

// One value that can't go to the unit as it is (a page's control or a row editor's field).
struct FieldProblem {
    int id = 0;
    std::string caption;  // how the user knows the control
    std::string reason;   // what is wrong, in a short sentence
};

// Everything a page declares.
struct PageDecl {
    static constexpr int kDefaultWaitMs = 3000;  // ms a command line waits for its acknowledgement
    std::span<const FieldDecl> fields{};
    std::span<const RowEditorDecl> editors{};
    std::span<const HandlerDecl> handlers{};
    int waitMs = kDefaultWaitMs;  // the page's default acknowledgement wait
    bool framed = true;           // a save to the unit is framed by "%STARTCMD" and "%COMMITCMD"
    bool busyNotice = true;       // a save tells the main window the page is busy first
    std::span<const int> kept{};  // values a clear leaves as they are (the tool's own, a picture shown)
};

class CPageBase : public IRouteTarget {
public:
    static constexpr int kDefaultWaitMs = PageDecl::kDefaultWaitMs;
    static constexpr int kChangedAll = -1;  // listener argument: every field changed
    static constexpr const char* kNotSaved = "The page was not saved; correct these values first:";

    CPageBase(PageContext& context, const PageInfo& info, PageDecl decl = {});
    ~CPageBase() override = default;
    CPageBase(const CPageBase&) = delete;
    CPageBase& operator=(const CPageBase&) = delete;

    // --- declaration ---
    const char* ClassName() const { return info_.className; }
    PageId Id() const { return info_.Id(); }
    const PageInfo* Info() const { return &info_; }  // its row in the page registry
    std::span<const FieldDecl> Fields() const { return decl_.fields; }
    std::span<const RowEditorDecl> RowEditors() const { return decl_.editors; }
    std::span<const HandlerDecl> Handlers() const { return decl_.handlers; }
    int DefaultWaitMs() const { return decl_.waitMs; }
    const FieldDecl* FindField(int id) const;
    // The row that a report key names (either of its keys).
    const FieldDecl* FindFieldByReportKey(std::string_view key) const;
    const HandlerDecl* FindHandler(int number) const;

    // --- values ---
    FieldValue& Value(int id);  // created on first use; marks the page touched
    const FieldValue* FindValue(int id) const;
    // The value of a declared control, created with its initial value when not yet used.
    const FieldValue& ValueOf(int id) const { return const_cast<CPageBase*>(this)->Slot(id); }
    // Whether a value was handed out for writing since ClearTouched: a page not touched still
    // holds the values it had then (test harnesses put back only the touched pages).
    bool Touched() const { return touched_; }
    void ClearTouched() { touched_ = false; }
    std::string& Text(int id) { return Value(id).text; }
    int& Check(int id) { return Value(id).check; }
    int& Sel(int id) { return Value(id).sel; }
    const std::string& TextOf(int id) const { return ValueOf(id).text; }
    int CheckOf(int id) const { return ValueOf(id).check ? 1 : 0; }
    std::string& Cell(int listId, int row, int col);
    std::string CellText(int listId, int row, int col) const;
    // Puts `text` in place of a control's text and returns the text it held, telling nobody
    // and marking nothing: for writing a copy of the values with their secrets masked.
    std::string ExchangeText(int id, std::string text)
    {
        std::swap(Slot(id).text, text);
        return text;
    }
    // Setters that also tell the listeners.
    void SetText(int id, std::string text);
    void SetCheck(int id, int on);
    void SetSel(int id, int sel);
    void SetCell(int listId, int row, int col, std::string text);

    // A view (or anything else) that follows the values; the argument is the changed
    // control id, or kChangedAll.
    int AddListener(std::function<void(int id)> listener);
    void RemoveListener(int handle);
    void NotifyChanged(int id = kChangedAll);

    // --- jobs ---
    // Empties the unit's values: texts to their initial text, check boxes to 0, selections
    // to their cleared value, list cells that carry unit values to "".
    virtual void ClearFields();
    // Clears, then asks the unit for the page's group (one block, no wait).
    virtual void ReloadGroup();
    // The rows' command lines in their save order, each through EmitCommand; framed by
    // "%STARTCMD" / "%COMMITCMD" in device mode when the page frames its batch.
    virtual void SaveParams(bool toProfile, CProfileWriter* file);
    // The line a row writes with its current value; nullopt when the row writes nothing now
    // (no format, a selection that names no item, a format that does not fit the value).
    std::optional<std::string> WriteLine(const FieldDecl& f) const;
    // Device mode: queue one command line that waits for the unit's acknowledgement at
    // most waitMs (0: the page's default). Profile mode: append text + "\n" to the file.
    void EmitCommand(bool toProfile, const std::string& text, CProfileWriter* file, int waitMs = 0);
    // Writes the page's header and its lines into a profile (nothing for pages without a header).
    virtual void WriteProfileSection(CProfileWriter& file);
    // The Save button: refuse values that can't go, tell the main window the page is busy
    // (unless the page says not to), save, then AfterSave.
    void OnSaveClicked();
    // What follows a save's lines: the page's own reload; a page may ask for more.
    virtual void AfterSave() { ReloadGroup(); }
    // A declared button (by its id) or a box that acts when clicked. Returns whether handled.
    virtual bool OnCommand(int id);

    // Row editors, run from their declarations: fill an editor from a row (false: that row
    // can't be edited) — each input from its column, else its initial value —, and apply it:
    // the inputs' lines in their order (framed when the editor says so), then the block the
    // editor names or the page's reload. A page overrides them only for what a row can't say.
    virtual bool BeginEditRow(int listId, int row, RowEdit& edit);
    virtual void CommitEditRow(const RowEdit& edit);
    // The declaration of the editor of a list (nullptr: none).
    const RowEditorDecl* FindEditor(int listId) const;
    // A click on a list cell (priority grids toggle it). Returns whether it changed anything.
    virtual bool OnCellClicked(int listId, int row, int col);
    // Checks a row editor's values before anything is sent; nullopt when they may go. The
    // framework's value rules hold for every editor (see CheckEditorValues); a page adds what
    // its rows need.
    virtual std::optional<FieldProblem> CheckEditRow(const RowEdit& edit) const;

    // --- what the page holds ---
    // The page shows the unit's values: a reload of it finished since the port was opened.
    // Its own reload counts once the unit's first report for it arrived.
    bool Loaded() const { return loaded_; }
    void SetLoaded(bool on)
    {
        loaded_ = on;
        ownReload_ = false;
    }
    // The user changed values on screen that have not gone to the unit; cleared when the
    // values are cleared, reloaded or saved.
    bool Edited() const { return edited_; }
    void MarkEdited() { edited_ = true; }
    // Drops the mark; tells the listeners when there was one.
    void ClearEdited();

    // --- routing ---
    void OnRoute(const RouteHit& hit) override;
    // Reports that reached the page but found no taker here (counted, never silently lost).
    int DroppedReports() const { return dropped_; }
    // Applies the report of one row: `value` is the line from the row's offset.
    void ApplyReport(const FieldDecl& f, Decode decode, std::string_view value);
    // The rows a page-wide scan of the line sets (the first found, or `each` every one), in
    // the page's test order; `on` is a switch's state, -1 for other rows.
    void ForEachScanned(const MarkedLine& marked, bool each,
                        const std::function<void(const FieldDecl&, const ReportDecl&, int on)>& fn) const;

    // Values the page holds without a control, for exports: (short descriptive key, value).
    virtual std::vector<std::pair<std::string, std::string>> ExtraValues() const { return {}; }

    // Catalog text in the page's section (or the given one); empty when there is none.
    std::string Tr(std::string_view key) const;
    std::string Tr(std::string_view section, std::string_view key) const;
    std::string Resolve(const TextRef& ref) const;

    // Writes one block to the unit at once, in queue order, without waiting.
    void WriteBlock(const std::string& text);
    // Posts a command to the main window (run after the current call).
    void PostToMain(int id)
    {
        if (ctx_.postToMain) ctx_.postToMain(id);
    }

protected:
    // Pages that build their rows at construction hand them over here.
    void SetDecl(PageDecl decl)
    {
        decl_ = decl;
        scan_.reset();
    }
    // The editor's lines for a row (see CommitEditRow) without what follows them; false when
    // nothing went (not an edit of a row the editor has, or a value that can't go).
    bool SendEditRow(const RowEdit& edit);
    // Prepares list rows with their labels (called lazily by Value for List fields).
    void InitList(const FieldDecl& field, FieldValue& value) const;
    // The page-wide scan: the first of the page's report keys found in the line decides, or
    // (`each`) every one found sets its control. `marked` is the line with its marks when the
    // caller has it.
    void ScanLine(std::string_view line, const MarkedLine* marked, bool each = false);

    PageContext& ctx_;

private:
    const PageInfo& info_;
    PageDecl decl_;
    std::map<int, FieldValue> values_{};
    std::map<int, std::function<void(int)>> listeners_;
    int nextListener_ = 1;
    int dropped_ = 0;
    FieldValue& Slot(int id);  // Value without the mark
    bool touched_ = false;
    bool loaded_ = false;
    bool edited_ = false;
    bool ownReload_ = false;  // the page's own reload went out: its first report makes it loaded
    // One report key of the page-wide scan, with the texts it is looked for by.
    struct ScanKey {
        const FieldDecl* field;
        const ReportDecl* report;
        std::string off;  // a switch's "<key> 0"
        std::string on;   // a switch's "<key> 1"
    };
    struct ScanKeys {
        std::vector<ScanKey> keys;  // in the page's test order
        KeyIndex index;             // positions in `keys` by their heads
    };
    // The page's report keys, made on the first scanned line.
    mutable std::unique_ptr<ScanKeys> scan_;
    const ScanKeys& Scan() const;
};

// The registry's factory of a page class that is built from its context and registry row.
template <class Page> std::unique_ptr<CPageBase> MakePage(PageContext& context, const PageInfo& info)
{
    return std::make_unique<Page>(context, info);
}

// The factory of a page family: the page built from the family row that names it.
template <class Page, class Row>
std::unique_ptr<CPageBase> MakeFamilyPage(std::span<const Row> rows, PageContext& context, const PageInfo& info)
{
    for (const Row& row : rows)
        if (row.page == info.Id()) return std::make_unique<Page>(context, info, row);
    return nullptr;
}

}  // namespace rtu
