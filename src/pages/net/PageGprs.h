// The unit's packet-data settings: GPRS use, access point and account, DNS, time-outs, the
// unit identifiers of the Modbus TCP and QMX IO protocols, the time service, and the table
// of four M2M data servers, each edited in the server editor and written at once.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "pages/framework/PageBase.h"

namespace rtu {

class CPageGPRS : public CPageBase {
public:
    static constexpr int kEnabled = 1363;   // GPRS / M2M on
    static constexpr int kApn = 1344;       // access point name
    static constexpr int kUser = 1345;      // GPRS user name
    static constexpr int kPassword = 1346;  // GPRS password (masked)
    static constexpr int kDns = 1365;       // DNS server
    static constexpr int kIdleTimeout = 1370;
    static constexpr int kModbusUnit = 1372;  // Modbus TCP unit identifier
    static constexpr int kTcpTimeout = 1374;
    static constexpr int kTransparent = 1383;  // hidden: GPRS DTU on
    static constexpr int kQmxMessages = 1384;  // QMX IO messages on
    static constexpr int kQmxTime = 1385;      // hidden: time from the QMX IO server
    static constexpr int kUnitId = 1376;       // hidden: QMX IO / HTTP unit identifier
    static constexpr int kNtpEnabled = 1386;
    static constexpr int kNtpZone = 1579;    // editable: "+0" … "+12", "-1" … "-12" or typed
    static constexpr int kNtpOffset = 1582;  // digits
    static constexpr int kNtpServer = 1584;
    static constexpr int kNtpPort = 1586;  // digits
    static constexpr int kServers = ctl::kList;

    // Server table columns.
    static constexpr int kColAddress = 1;
    static constexpr int kColPort = 2;
    static constexpr int kColTransport = 3;
    static constexpr int kColProtocol = 4;
    static constexpr int kColIdle = 5;
    static constexpr int kColResponse = 6;
    static constexpr int kColHeartbeat = 7;
    static constexpr int kColumns = 8;
    static constexpr int kServerRows = 4;  // the unit keeps four data servers

    // Server editor controls.
    static constexpr int kEdAddress = 1416;
    static constexpr int kEdPort = 1417;
    static constexpr int kEdTransport = 1418;  // 0 Tcp, 1 Udp
    static constexpr int kEdProtocol = 1419;   // protocol number
    static constexpr int kEdIdle = 1440;
    static constexpr int kEdResponse = 1443;
    static constexpr int kEdHeartbeat = 1445;
    static constexpr int kEdOk = 1;
    static constexpr int kEdCancel = 2;

    static constexpr int kNoProtocol = 255;  // a protocol cell that names none of the six
    static constexpr int kProtocols = 6;

    CPageGPRS(PageContext& context, const PageInfo& info);

    // Profile mode adds the four server rows after the page's lines.
    void SaveParams(bool toProfile, CProfileWriter* file) override;
    bool BeginEditRow(int listId, int row, RowEdit& edit) override;
    // Sends the edited server row, framed, then reads the page again.

    // "$M2M_…" and "$NTP_…" reports.
    void ParseM2MReport(std::string_view line);
    // "$M2MD_…" reports: one cell of the server table.
    void ParseServerReport(std::string_view line);
    // The protocol number a table cell names; kNoProtocol for none.
    static int ProtocolNumberFromName(std::string_view text);
    // The name the table shows for a protocol number ("" for none).
    static const char* ProtocolName(int number);
};

}  // namespace rtu
