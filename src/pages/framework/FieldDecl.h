// Declarations of a page's parameters and controls. Each parameter is one row: its control,
// its caption, how a report sets it, how a save writes it, how long its line may wait. The
// page model derives clearing, report taking, saving, profiles and the export from the rows,
// and the desktop tool generates the page's window from them.
#pragma once

#include <string>
#include <vector>

namespace rtu {

class CPageBase;
struct RouteHit;
struct RowEdit;

enum class FieldKind {
    Label,          // a caption only
    Group,          // a group box; rows naming it as their group sit inside it
    Text,           // an edit box holding text (maxLength, chars)
    MultiLine,      // an edit box of several lines
    Number,         // an edit box with a spin button (minValue … maxValue); the value stays text
    Check,          // a check box, 0 or 1
    Radio,          // a group of radio buttons, one per item; the value is the chosen index
    Combo,          // a drop-down list with fixed or catalog items; the value is the selection index
    EditableCombo,  // a drop-down whose text may also be typed; the value is its text
    List,           // a table with typed columns and fixed (or growing) rows
    Value,          // a value the unit reports and the user only reads (readings, status)
    Button,         // a push button that runs a page command or a hook
    Custom,         // a widget the page brings itself (chart, picture, bit matrix), by name
};

// The characters the unit is known to expect in a text. Only a hint at the field (the unit
// may refuse other characters); what the command line's framing needs is checked always.
enum class CharRule {
    Any,      // anything
    Digits,   // 0-9 only
    Phone,    // 0-9 and a leading '+'
    Hex,      // 0-9, A-F
    Decimal,  // an optional '-', digits, an optional point with digits ("1.5", "-3", "0.0000")
};

// How a report sets a control.
enum class Decode {
    None,    // no report names this control
    Text,    // the text from the offset, as received
    Hex,     // the UCS-2 hex text from the offset, decoded
    Number,  // the leading number at the offset: the item index of a drop-down or radio group
    Switch,  // a check box: "<key> 1" sets it, "<key> 0" clears it
    Flag,    // a check box: set when the character at the offset is '1'
    Digit,   // the one digit at the offset: the item index of a drop-down (another character: none)
};

// An item of a drop-down or a column title: a catalog text, or a fixed text.
struct TextRef {
    std::string section{};  // catalog section; empty: the page's own section
    std::string key{};      // catalog key; empty: use `text`
    std::string text{};     // fixed text (also the fallback shown when the catalog has none)
    std::string prefix{};   // shown before the text (the running number of a numbered item: "0 ")
    std::string suffix{};   // shown after the text (the number of an item built as text and number)
};

// One way a report reaches a control: the key the line contains and where the value is.
struct ReportDecl {
    const char* key = nullptr;  // report key ("$BPS", "$DAS"); nullptr: none
    int at = 0;                 // offset of the value from the start of the line
    Decode decode = Decode::None;
    int order = 0;  // pages that scan a line for their keys: position in their test order
};

// A command line built from several controls; returns false to skip the line.
using ComposeFn = bool (*)(const CPageBase& page, std::string& line);
// A line of a row editor built from the editor's values and the row (several values composed
// in a way a format can't say); returns false to skip the line.
using RowComposeFn = bool (*)(const CPageBase& page, const RowEdit& edit, std::string& line);

// A page's own handling of a click (a button or a box that acts at once).
using ClickFn = void (*)(CPageBase& page);
// A page's own parsing of a routed report.
using HandlerFn = void (*)(CPageBase& page, const RouteHit& hit);

// How a save writes a control.
struct WriteDecl {
    const char* format = nullptr;  // one command line; its one %d or %s conversion takes the value
    int order = 0;                 // position in the page's save batch (0: declaration order)
    ComposeFn compose = nullptr;   // a line carrying several controls (the other controls name this one)
    int partOf = 0;                // written by the compose hook of that control
    bool onClick = false;          // a check box: the line goes out when it is clicked, not in a save
    bool reportOnly = false;       // follows its report; nothing writes it back
    int waitMs = 0;                // the line's acknowledgement wait; 0: the page's default
    // Row editor fields: the format's first conversion takes the row's number plus `rowAdd`,
    // the next ones this field's value and then those of the fields that are partOf it.
    int rowAdd = 0;
    RowComposeFn rowCompose = nullptr;  // row editor: the page builds the line itself
};

enum class ColumnKind {
    Label,   // the row label (not a unit value)
    Text,    // a text the unit reports
    Number,  // a number the unit reports
    Check,   // "1" / "0", shown as a check mark
    Mark,    // "O" / "X", toggled by a click
};

struct ColumnDecl {
    TextRef title{};
    int width = 80;           // pixels at 96 dpi
    bool deviceValue = true;  // cleared before a reload
    ColumnKind kind = ColumnKind::Text;
};

struct FieldDecl {
    int id = 0;  // the control's identifier within its page
    FieldKind kind = FieldKind::Text;
    TextRef caption{};           // the control's own caption (its label, box text or title)
    int captionId = 0;           // the label control that carries the caption, when it is a separate one
    bool note = false;           // Label: a line that explains the page (a legend, a hint), not a caption
    int group = 0;               // the group box it sits in; 0: the page frame
    bool visible = true;         // hidden controls still take part in reading, saving and profiles
    bool readOnly = false;       // shown but not typed into
    ReportDecl report{};         // how a report sets it
    ReportDecl report2{};        // a second report key that sets it too
    WriteDecl write{};           // how a save writes it
    const char* dump = nullptr;  // the dump command whose answer carries its report
    int maxLength = 0;           // Text: longest text the unit keeps (longer is refused); 0: no limit (hex text: what decodes)
    CharRule chars = CharRule::Any;
    // The characters that end this value on its command line; a value may not hold them.
    // nullptr: what the row's writing says (a composed line's comma, the character after the
    // text in its format; a row editor's own separators); "": none.
    const char* separators = nullptr;
    bool encoded = false;  // a row editor's text that goes on its line hex-encoded (a page row says so by its report)
    bool secret = false;  // a PIN or password: masked in the window, in support archives and masked exports
    const char* handlerKey = nullptr;  // the report a page handler takes this value from (its row names none)
    int minValue = 0;  // Number: spin range, the range the unit is known to take (a hint, never a refusal)
    int maxValue = 0;
    std::vector<TextRef> items{};       // Combo / EditableCombo / Radio items, in order
    int cleared = -1;                   // Combo / Radio: the selection after a clear (-1: none)
    std::string initial{};              // initial (and cleared) text
    std::vector<ColumnDecl> columns{};  // List: column 0 is the row label
    int rows = 0;                       // List: fixed rows
    bool growRows = false;              // List: rows beyond the fixed ones are added as values arrive
    std::string rowLabelFormat = "%d";  // List: printf format of the row label
    int firstRowNumber = 0;             // List: the number the first row's label shows
    int command = 0;                    // Button: the page command it runs (1420 reload, 3002 save, 1250 edit …)
    std::string tooltip{};              // Button, Check: tool tip (fixed text)
    ClickFn onClick = nullptr;          // Button: the page's own action
    TextRef confirm{};                  // Button: writes to the unit at once; the question asked first
    const char* custom = nullptr;       // Custom: the name of the widget the view asks for
    std::string jsonKey{};              // export key of a value without a control (id 0 or less); controls use their id
    int shownBy = 0;                    // row editor: the drop-down whose selection shows it; 0: always shown
    std::vector<int> shownFor{};        // ... the selections that show it (-1: none selected)
    int column = -1;                    // row editor: the list column it opens with (-1: none, its initial value)
    // Row editor: a text that breaks `chars` is refused, not only hinted (the unit reads it as
    // a number or dials it). A number must be there; a phone number may be left empty.
    bool strict = false;
};

// A page's own report handler, for a line whose parsing no report row can say: routing rows
// of kind Handler (or ListRow) name it by number.
struct HandlerDecl {
    int number = 1;
    // Every report key it takes, whole ("#" stands for a row digit): the routing check routes
    // each and fails when one does not reach this handler.
    std::vector<std::string> keys{};
    HandlerFn fn = nullptr;
};

// A small dialog that edits one row of a list.
struct RowEditorDecl {
    int listId = 0;                   // the list whose rows it edits
    TextRef title{};                  // dialog caption
    std::vector<FieldDecl> fields{};  // the editor's controls
    const char* separators = ",";     // what ends each value on the lines it writes ("": a value ends its line)
    int rows = 0;                     // the rows it edits; 0: the list's fixed rows
    bool framed = false;              // its lines go framed by "%STARTCMD" / "%COMMITCMD"
    int waitMs = 0;                   // its lines' acknowledgement wait; 0: the page's default
    const char* after = nullptr;      // the block written after its lines; nullptr: the page reloads
};

// Whether a control holds a value (as opposed to a caption, a box or a button).
inline bool HoldsValue(FieldKind k) { return k != FieldKind::Label && k != FieldKind::Group && k != FieldKind::Button; }
// Whether the value of a control is its text.
inline bool HoldsText(FieldKind k)
{
    return k == FieldKind::Text || k == FieldKind::MultiLine || k == FieldKind::Number ||
           k == FieldKind::EditableCombo || k == FieldKind::Value || k == FieldKind::Custom;
}
// Whether the value of a control is a selection index.
inline bool HoldsSelection(FieldKind k) { return k == FieldKind::Combo || k == FieldKind::Radio; }

}  // namespace rtu
