#include "pages/basic/PageServer.h"

namespace rtu {

namespace {

const PhoneListShape kServerShape{
    "CPageServer", CPageServer::kRows, CPageServer::kReloadButton, true, "%%CS%d%s\r", "%%CS%d%s\r\n",
};

}  // namespace

CPageServer::CPageServer(PageContext& context) : CPhoneListPage(context, kServerShape) {}

}  // namespace rtu
