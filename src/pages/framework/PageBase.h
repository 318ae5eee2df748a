// The model of one parameter page: its declared controls, their values, and its jobs —
// clear, reload, apply routed reports, build command lines for the unit or a profile.
// No window here: views are generated from Fields() and follow the values through the
// change listeners.
#pragma once

#include <functional>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "link/LinkTypes.h"
#include "link/ProfileWriter.h"
#include "link/RoutingTable.h"
#include "link/Sequencer.h"
#include "pages/framework/FieldDecl.h"
#include "pages/framework/PageTable.h"
#include "pages/framework/TextCatalog.h"

namespace rtu {

// Control identifiers many pages share.
namespace ctl {
inline constexpr int kFrame = 1281;     // group box whose caption is the page title
inline constexpr int kReload = 1420;    // Reload button
inline constexpr int kSave = 3002;      // Save button on most pages
inline constexpr int kSave1 = 3001;     // Save or a second action on some pages
inline constexpr int kSave0 = 3000;
inline constexpr int kList = 4001;      // the page's table on list pages
inline constexpr int kEditRow = 1250;   // command: edit the selected row
}  // namespace ctl

struct FieldValue {
    std::string text;                             // Text, EditableCombo
    int check = 0;                                // Check
    int sel = -1;                                 // Combo
    std::vector<std::vector<std::string>> cells;  // List: rows x columns (column 0 is the row label)
};

// What a page needs from the tool around it.
struct PageContext {
    CSequencer* sequencer = nullptr;                  // every line to the unit goes through it
    std::function<void(int id)> postToMain;           // commands to the main window (2999 busy)
    std::function<void(MessageIcon, const std::string&)> message;  // a message box
    const CTextCatalog* catalog = nullptr;            // may be null: empty texts
};

// The values of a row editor while it is open.
struct RowEdit {
    int listId = 0;
    int row = -1;
    std::map<int, FieldValue> values;  // by the editor's field ids
};

class CPageBase : public IRouteTarget {
public:
    static constexpr int kDefaultWaitSteps = 3000;  // ms a command line waits for its acknowledgement
    static constexpr int kChangedAll = -1;          // listener argument: every field changed

    explicit CPageBase(PageContext& context);
    ~CPageBase() override = default;

    // --- declaration ---
    virtual const char* ClassName() const = 0;
    const PageInfo* Info() const;                       // its row in the page table
    virtual std::span<const FieldDecl> Fields() const = 0;
    virtual std::span<const RowEditorDecl> RowEditors() const { return {}; }
    virtual int DefaultWaitSteps() const { return kDefaultWaitSteps; }
    const FieldDecl* FindField(int id) const;
    const FieldDecl* FindFieldByReportKey(std::string_view key) const;

    // --- values ---
    FieldValue& Value(int id);                 // created on first use
    const FieldValue* FindValue(int id) const;
    // The value of a declared control, created with its initial value when not yet used.
    const FieldValue& ValueOf(int id) const { return const_cast<CPageBase*>(this)->Value(id); }
    std::string& Text(int id) { return Value(id).text; }
    int& Check(int id) { return Value(id).check; }
    int& Sel(int id) { return Value(id).sel; }
    std::string& Cell(int listId, int row, int col);
    std::string CellText(int listId, int row, int col) const;
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
    // Empties the device values: texts to their initial text, check boxes to 0, drop-downs
    // to their "none", list cells that carry unit values to "". Pages with extra state extend it.
    virtual void ClearFields();
    // Clears, then asks the unit for the page's group (one block, no wait).
    virtual void ReloadGroup();
    // Builds the page's command lines in their fixed order, each through EmitCommand.
    virtual void SaveParams(bool toProfile, CProfileWriter* file) = 0;
    // Device mode: queue one command line that waits for the unit's acknowledgement at
    // most waitSteps ms (0: the page's default). Profile mode: append text + "\n" to the file.
    void EmitCommand(bool toProfile, const std::string& text, CProfileWriter* file, int waitSteps = 0);
    // Writes the page's header and its lines into a profile (nothing for pages without a header).
    virtual void WriteProfileSection(CProfileWriter& file);
    // The Save button: tell the main window the page is busy, save, then reload.
    virtual void OnSaveClicked();
    // A button or other page command (Reload, Save, and the page's own). Returns whether handled.
    virtual bool OnCommand(int id);

    // Row editors: fill an editor from a row (false: that row can't be edited), and apply it.
    virtual bool BeginEditRow(int listId, int row, RowEdit& edit);
    virtual void CommitEditRow(const RowEdit& edit);
    // A click on a list cell (priority grids toggle it). Returns whether it changed anything.
    virtual bool OnCellClicked(int listId, int row, int col);

    // --- routing ---
    void OnRoute(const RouteHit& hit) override;
    // The page's own report handlers (routing rows of kind Handler).
    virtual void OnReport(const RouteHit& hit);

    // Values the page holds without a control, for exports: (short descriptive key, value).
    virtual std::vector<std::pair<std::string, std::string>> ExtraValues() const { return {}; }

    // Catalog text in the page's section (or the given one); empty when there is none.
    std::string Tr(std::string_view key) const;
    std::string Tr(std::string_view section, std::string_view key) const;
    std::string Resolve(const TextRef& ref) const;

protected:
    PageContext& ctx_;
    // Writes one block to the unit at once, in queue order, without waiting.
    void WriteBlock(const std::string& text);
    // Prepares list rows with their labels (called lazily by Value for List fields).
    void InitList(const FieldDecl& field, FieldValue& value) const;

private:
    std::map<int, FieldValue> values_;
    std::map<int, std::function<void(int)>> listeners_;
    int nextListener_ = 1;
};

}  // namespace rtu
