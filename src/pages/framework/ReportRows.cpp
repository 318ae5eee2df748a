#include "pages/framework/ReportRows.h"

#include <stdexcept>
#include <string>

namespace rtu {

std::vector<FieldDecl> WithReports(std::vector<FieldDecl> fields, std::span<const ReportRow> reports)
{
    for (std::size_t i = 0; i < reports.size(); ++i) {
        ReportDecl r = reports[i].report;
        if (r.order == 0) r.order = static_cast<int>(i) + 1;
        FieldDecl* f = nullptr;
        for (FieldDecl& g : fields)
            if (g.id == reports[i].id) f = &g;
        if (!f) throw std::logic_error("report " + std::string(r.key ? r.key : "") + " names no control");
        (f->report.key ? f->report2 : f->report) = r;
    }
    return fields;
}

}  // namespace rtu
