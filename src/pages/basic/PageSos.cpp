#include "pages/basic/PageSos.h"

namespace rtu {

namespace {

const PhoneListShape kSosShape{"CPageSos", CPageSos::kRows, 0, false, "%%SOS%d%s\r", nullptr};

}  // namespace

CPageSos::CPageSos(PageContext& context) : CPhoneListPage(context, kSosShape) {}

}  // namespace rtu
