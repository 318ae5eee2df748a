// The unit's data network area: its commands (GPRS and its data servers, HTTP, e-mail, 3G,
// the Modbus master and slave registers, meter reading, the second UART and data over SMS)
// are the rules of NetRules(); here are its dumps that print more than one group.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "sim/core/SimCommandTable.h"
#include "sim/core/SimImage.h"

namespace rtu {

// Groups a dump of `group` reports as well (the Modbus dump carries the register names).
std::span<const std::string_view> NetDumpAlsoReports(std::string_view group);
// "DUMP_MODBUS_MASTER<row>": the reports of one register row; nothing for other dumps.
std::optional<std::vector<std::string>> NetRowDump(const CSimImage& image, std::string_view command);

}  // namespace rtu
