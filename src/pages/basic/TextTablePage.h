// A numbered table of free texts stored in the unit (alarm messages, input, output and
// sensor names). Texts travel hex-encoded as UCS-2. A row is edited in the text editor and
// written to the unit at once; the tables have no Save button.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "pages/framework/PageBase.h"

namespace rtu {

// How a table reads the reports routed to it.
enum class TextReportForm {
    Entry,       // entry number, a blank, the text; without a number the report is dropped
    IndexedName, // row number, a blank, the text; without a number it is row 0
    ColonRows,   // the whole line: every "<row>: <text>" fills a row
};

// What tells one text table apart from another.
struct TextTableShape {
    const char* className;
    int listId;                  // the table's control id
    int frameId;                 // the page frame's id
    TextRef title;               // the frame's caption
    const char* labelKey;        // catalog key of the row label column's title
    const char* textKey;         // catalog key of the text column's title
    int labelWidth;              // width of the row label column
    int textWidth;               // width of the text column
    int rows;                    // fixed rows
    const char* rowLabelFormat;  // printf format of a row label
    int labelCycle;              // > 0: labels restart from 0 after this many rows
    int clearRows;               // rows (from row 0) emptied before a reload
    int entryBase;               // row r stands for the unit's entry r + entryBase
    TextReportForm reportForm;
    const char* rowCommand;      // printf format of (entry, hex text) or, with a unit, (entry, hex text, hex unit)
    bool unitRow;                // the editor also asks for a unit, sent after the text as "#<unit>"
    int waitSteps;               // default wait of the page's command lines
    int reloadButton;            // the Reload button's id; 0: the page has none
};

class CTextTablePage : public CPageBase {
public:
    static constexpr int kTextColumn = 1;        // column of the decoded text
    static constexpr int kEditorText = 1070;     // text editor: the text (several lines)
    static constexpr int kEditorUnitLabel = 1577;
    static constexpr int kEditorUnit = 1578;     // text editor: the unit
    static constexpr int kEditorOk = 1;
    static constexpr int kEditorCancel = 2;
    static constexpr std::size_t kMaxIndexDigits = 11;  // digits read as a row or entry number
    static constexpr const char* kUnitMark = "#";       // puts the unit after the text
    static constexpr int kShortWaitSteps = 2000;        // default wait of the message and analog tables
    static constexpr int kMessageLabelWidth = 120;      // row label column of the message tables
    static constexpr int kMessageTextWidth = 220;       // text column of the message tables
    static constexpr int kWideMessageTextWidth = 260;   // text column of the analog message table
    static constexpr int kNameLabelWidth = 60;          // row label column of the name tables
    static constexpr int kNameTextWidth = 300;          // text column of the name tables

    CTextTablePage(PageContext& context, const TextTableShape& shape);

    const char* ClassName() const override { return shape_.className; }
    std::span<const FieldDecl> Fields() const override { return fields_; }
    std::span<const RowEditorDecl> RowEditors() const override { return editors_; }
    int DefaultWaitSteps() const override { return shape_.waitSteps; }

    // Empties the text of the table's first rows only.
    void ClearFields() override;
    // The tables have no Save button; only a profile takes their rows.
    void SaveParams(bool toProfile, CProfileWriter* file) override;
    bool OnCommand(int id) override;
    bool BeginEditRow(int listId, int row, RowEdit& edit) override;
    void CommitEditRow(const RowEdit& edit) override;
    void OnReport(const RouteHit& hit) override;

    int Rows() const { return shape_.rows; }
    std::string RowText(int row) const { return CellText(shape_.listId, row, kTextColumn); }

protected:
    void AddField(FieldDecl field) { fields_.push_back(std::move(field)); }

private:
    bool ValidRow(int row) const { return row >= 0 && row < shape_.rows; }
    // The unit's entry `entry` with its hex text: sets the matching row, when there is one.
    void SetEntry(long long entry, std::string_view hex);
    std::string RowLine(int row, const std::string& text, const std::string& unit) const;

    TextTableShape shape_;
    std::vector<FieldDecl> fields_;
    std::vector<RowEditorDecl> editors_;
};

// The leading number of a report's text and where its text begins: up to kMaxIndexDigits
// digits, then one separating character. No digits: no number, text after one character.
struct IndexedText {
    std::optional<long long> index;
    std::string_view text;
};
IndexedText SplitIndexedText(std::string_view text);

}  // namespace rtu
