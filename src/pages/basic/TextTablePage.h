// A numbered table of free texts stored in the unit (alarm messages, input, output and
// sensor names). Texts travel hex-encoded as UCS-2. A row is edited in the text editor and
// written to the unit at once; the tables have no Save button.
#pragma once

#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "pages/framework/OwnedDecl.h"
#include "pages/framework/PageBase.h"

namespace rtu {

// How a table reads the reports routed to it.
enum class TextReportForm {
    Entry,        // entry number, a blank, the text; without a number the report is dropped
    IndexedName,  // row number, a blank, the text; without a number it is row 0
    ColonRows,    // the whole line: every "<row>: <text>" fills a row
};

// One text table: a row of the family's declaration table.
struct TextTableDecl {
    PageId page{};
    int listId = 4001;                  // the table's control id
    int frameId = 1281;                 // the page frame's id
    TextRef title{};                    // the frame's caption
    const char* labelKey = "LISTC0";    // catalog key of the row label column's title
    const char* textKey = "LISTC1";     // catalog key of the text column's title
    int labelWidth = 60;                // width of the row label column
    int textWidth = 300;                // width of the text column
    int rows = 0;                       // fixed rows
    const char* rowLabelFormat = "%d";  // printf format of a row label
    int labelCycle = 0;                 // > 0: labels restart from 0 after this many rows
    int clearRows = 0;                  // rows (from row 0) emptied before a reload; 0: all
    int entryBase = 0;                  // row r stands for the unit's entry r + entryBase
    const char* reportKey = nullptr;    // the report the routing hands over
    TextReportForm reportForm = TextReportForm::IndexedName;
    const char* rowCommand = nullptr;       // format of (entry, hex text) or, with a unit, (entry, hex text, hex unit)
    bool unitRow = false;                   // the editor also asks for a unit, sent after the text as "#<unit>"
    int waitMs = PageDecl::kDefaultWaitMs;  // default wait of the page's command lines
    int reloadButton = 0;                   // the Reload button's id; 0: the page has none
    std::vector<FieldDecl> extra{};         // the page's further controls
};

class CTextTablePage : public CPageBase {
public:
    static constexpr int kTextColumn = 1;     // column of the decoded text
    static constexpr int kEditorText = 1070;  // text editor: the text (several lines)
    static constexpr int kEditorUnitLabel = 1577;
    static constexpr int kEditorUnit = 1578;  // text editor: the unit
    static constexpr int kEditorOk = 1;
    static constexpr int kEditorCancel = 2;
    static constexpr std::size_t kMaxIndexDigits = 11;  // digits read as a row or entry number
    static constexpr const char* kUnitMark = "#";       // puts the unit after the text

    CTextTablePage(PageContext& context, const PageInfo& info, const TextTableDecl& shape);

    // Empties the text of the table's first rows only.
    void ClearFields() override;
    // The tables have no Save button; only a profile takes their rows.
    void SaveParams(bool toProfile, CProfileWriter* file) override;
    // The text and its unit go on one line, each hex-encoded, the unit behind its mark.
    void CommitEditRow(const RowEdit& edit) override;
    // The routed report of the table's key.
    void TakeReport(const RouteHit& hit);

    int Rows() const { return shape_.rows; }
    std::string RowText(int row) const { return CellText(shape_.listId, row, kTextColumn); }

private:
    bool ValidRow(int row) const { return row >= 0 && row < shape_.rows; }
    // The unit's entry `entry` with its hex text: sets the matching row, when there is one.
    void SetEntry(long long entry, std::string_view hex);
    std::string RowLine(int row, const std::string& text, const std::string& unit) const;

    const TextTableDecl& shape_;
    OwnedDecl own_{};
};

// The family's declaration table and the model factory of its pages.
std::span<const TextTableDecl> TextTables();
std::unique_ptr<CPageBase> MakeTextTable(PageContext& context, const PageInfo& info);


}  // namespace rtu
