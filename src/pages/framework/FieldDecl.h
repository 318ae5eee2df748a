// Declarations of a page's controls: what each control is, where its caption comes from,
// which report names it. A page declares them once; its values live in the page model and
// its window is generated from the declarations.
#pragma once

#include <string>
#include <vector>

namespace rtu {

enum class FieldKind {
    Label,          // a caption only
    Text,           // an edit box holding text
    Check,          // a check box, 0 or 1
    Combo,          // a drop-down list with fixed items; the value is the selection index
    EditableCombo,  // a drop-down whose text may also be typed; the value is its text
    List,           // a table with columns and a fixed number of rows
    Button,         // a push button that runs a page command
};

// An item of a drop-down or a column title: a catalog text, or a fixed text.
struct TextRef {
    std::string section;  // catalog section; empty: the page's own section
    std::string key;      // catalog key; empty: use `text`
    std::string text;     // fixed text (also the fallback shown when the catalog has none)
};

struct ColumnDecl {
    TextRef title;
    int width = 80;        // pixels at 96 dpi
    bool deviceValue = true;  // cleared before a reload
};

struct FieldDecl {
    int id = 0;                 // the control's identifier within its page
    FieldKind kind = FieldKind::Text;
    TextRef caption;            // caption or label text
    std::string reportKey;      // the report key that names this control in routing ("$AR"); empty: none
    bool visible = true;        // hidden controls still take part in reading, saving and profiles
    std::string initial;        // initial (and cleared) text
    int noneValue = -1;         // Combo: the selection meaning "nothing chosen"
    std::vector<TextRef> items; // Combo / EditableCombo items, in order
    std::vector<ColumnDecl> columns;  // List: column 0 is the row label
    int rows = 0;               // List: fixed rows
    std::string rowLabelFormat = "%d";  // List: printf format of the row label
    int firstRowNumber = 0;     // List: the number the first row's label shows
    int command = 0;            // Button: the page command it runs (1420 reload, 3002 save, 1250 edit …)
    std::string tooltip;        // Button: tool tip (fixed text)
    std::string jsonKey;        // export key of a value without a control (id 0 or less); controls use their id
    bool readOnly = false;      // shown but not typed into (values the unit reports)
    int maxLength = 0;          // Text: longest text a user may type; 0: no limit
};

// A small dialog that edits one row of a list.
struct RowEditorDecl {
    int listId = 0;                 // the list whose rows it edits
    TextRef title;                  // dialog caption
    std::vector<FieldDecl> fields;  // the editor's controls
};

}  // namespace rtu
