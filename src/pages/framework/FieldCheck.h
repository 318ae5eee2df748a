// What a value may be before it goes to the unit. Refused (the save or row edit sends nothing
// and the field shows why): what would break the command line's framing — a line break, a
// control character, the separator that ends the value on its line, a text where a whole
// number is written — and a text longer than the unit keeps. Hinted only (the unit may refuse
// it, and its answer is the judgement): a range or the characters the unit is known to expect.
// Also: which rows a command line the unit refused came from.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "pages/framework/PageBase.h"

namespace rtu {

// Why a value breaks its row's rule; empty when it is fine (rows that write nothing, hidden
// and read-only controls are always fine: the user can't mend them).
std::string CheckFieldValue(const FieldDecl& f, const FieldValue& value);
// Why a typed text can't go on the row's command line, whatever writes it: the check of a row
// editor's inputs. `separators` overrides the row's own (a row editor's).
std::string CheckTypedValue(const FieldDecl& f, std::string_view text, const char* separators = nullptr);
// What the unit may refuse in a value that goes out as it is (a range, the characters it
// expects), for the field's frame and tool tip; empty when nothing is known against it.
std::string ValueHint(const FieldDecl& f, std::string_view text);
// The characters that end the row's value on its command line (see FieldDecl::separators).
std::string SeparatorsOf(const FieldDecl& f);
// The first input of a row editor that can't go on its lines, with the reason: a text that
// breaks its rule (as CheckTypedValue), a drop-down that writes and names no item.
std::optional<FieldProblem> CheckEditorValues(const CPageBase& page, const RowEdit& edit);
// Every value of the page that breaks its rule, in declaration order.
std::vector<FieldProblem> CheckPage(const CPageBase& page);
// "Caption: reason" lines, one per problem.
std::string DescribeProblems(const std::vector<FieldProblem>& problems);

// How the user knows a row: its caption (the catalog text, its fixed text, its catalog key), else the caption of the row before it that has one
// (a number beside its check box), else the command it writes.
std::string FieldCaption(const CPageBase& page, const FieldDecl& f);

// How the user knows a page: its frame's title, else its navigation caption, else its class.
std::string PageCaption(const CPageBase& page);

// How RowsOfLine matches a line to a row.
enum class LineMatch {
    Exact,    // the row's line from the current values is the line
    Keyword,  // the row's command keyword starts the line (the longest keyword wins)
};
// The rows whose save writes `line` (with or without its carriage return). A line composed
// from several rows names all of them.
std::vector<const FieldDecl*> RowsOfLine(const CPageBase& page, std::string_view line, LineMatch match);

}  // namespace rtu
