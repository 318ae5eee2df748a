// A page's report rows as a table beside its controls: which control a report key sets, from
// where in the line, how it is decoded and in which order a page-wide scan tries it. Pages
// whose reports arrive as one family of lines (one routing row, several keys) list them so.
#pragma once

#include <span>
#include <vector>

#include "pages/framework/FieldDecl.h"

namespace rtu {

struct ReportRow {
    int id = 0;           // the control it sets
    ReportDecl report{};  // its key, offset and decoding; order 0: its place in the table
};

// The controls with the reports of `reports` set: the first report of a control becomes its
// `report`, a second one its `report2`.
std::vector<FieldDecl> WithReports(std::vector<FieldDecl> fields, std::span<const ReportRow> reports);

}  // namespace rtu
