// What a typed value may be before it goes to the unit: the declared range of a number, the
// characters a text may hold and its longest length. The page refuses a save while a value
// breaks its row's rule, and a view marks the control with the reason. Also: which rows a
// command line the unit refused came from.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "pages/framework/PageBase.h"

namespace rtu {

// Why a value breaks its row's rule; empty when it is fine (rows that write nothing, hidden
// and read-only controls are always fine: the user can't mend them).
std::string CheckFieldValue(const FieldDecl& f, const FieldValue& value);
// Why a typed text breaks a row's rule (range, characters, length), whatever writes it: the
// check of a row editor's inputs.
std::string CheckTypedValue(const FieldDecl& f, std::string_view text);
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
