#include "pages/sensor/PageExtTmpLog.h"

#include "pages/framework/FieldBuilders.h"
#include "pages/sensor/PageExTmpRcd.h"

namespace rtu {

namespace {

namespace t = temppage;

std::vector<FieldDecl> Fields()
{
    return {
        {.id = t::kTitle, .kind = K::Label, .caption = Own("TITLE_LOG")},
        {.id = t::kCounter, .kind = K::Value, .readOnly = true, .write = {.reportOnly = true}},
        {.id = t::kList,
         .kind = K::Custom,
         .write = {.reportOnly = true},
         .columns = TempRecordColumns(),
         .custom = "TempRecordList"},
        MakeButton(t::kSync, {}, "Sync with RTU"),
        MakeButton(t::kExport, {}, "Export Data"),
    };
}

}  // namespace

std::unique_ptr<CPageBase> CPageExtTmpLog::Make(PageContext& context, const PageInfo& info)
{
    return std::make_unique<CTempRecordPage>(
        context, info, CTempRecordPage::Shape{.type = temprec::kStoredType,
                                                .rowLimit = kRowLimit,
                                                .recordLimit = kRecordLimit,
                                                .computerTime = false,
                                                .fields = Fields(),
                                                .emptyWhenFull = false});
}

}  // namespace rtu
