#include "pages/net/PageGprs.h"

#include <array>
#include <vector>

#include "pages/framework/ComposedLines.h"
#include "pages/framework/FieldBuilders.h"
#include "pages/framework/Printf.h"

namespace rtu {
namespace {

using P = CPageGPRS;

constexpr int kAddressWidth = 120;      // server address column, pixels
constexpr int kCellWidth = 80;          // the other value columns
constexpr int kNameWidth = 60;          // row name column
constexpr int kZoneHours = 12;          // time zones run from -12 to +12 hours
constexpr std::size_t kQmxTimeAt = 12;  // "$M2M_QMXNTP 1": the flag character

// The names the server table shows for the protocol numbers, and the editor's items.
constexpr std::array<const char*, P::kProtocols> kProtocolNames = {"QMX IO", "GPRS DTU", "MODBUS TCP",
                                                                   "WMMP",   "GPS",      "HTTP"};
constexpr std::array<const char*, P::kProtocols> kProtocolItems = {"0: QMX_IO", "1: GPRS DTU", "2: MODBUS TCP",
                                                                   "3: WMMP",   "4: GPS",      "5: HTTP"};
constexpr const char* kTcp = "Tcp";
constexpr const char* kServerName = "Server";  // row name without a catalog
constexpr const char* kUdp = "Udp";

// A report that puts the text from a position (counted from its key) into an edit.
struct TextReport {
    const char* key;
    int id;
    std::size_t at;
};
// A report whose "<key> 1" / "<key> 0" sets a box.
struct SwitchReport {
    const char* key;
    int id;
};

// The tests of a "$M2M_" / "$NTP_" line after the QMX time flag, in the unit's order; the
// first that matches ends the parse.
struct M2MTest {
    TextReport text;
    SwitchReport box;
};
constexpr M2MTest kM2MTests[] = {
    {{"$M2M_APN ", P::kApn, 9}, {}},       {{"$M2M_UID ", P::kUser, 9}, {}},
    {{"$M2M_PWD ", P::kPassword, 9}, {}},  {{}, {"$M2M_EN", P::kEnabled}},
    {{"$M2M_DNS", P::kDns, 9}, {}},        {{"$M2M_IDT", P::kIdleTimeout, 9}, {}},
    {{"$M2M_TID", P::kModbusUnit, 9}, {}}, {{"$M2M_CTO", P::kTcpTimeout, 9}, {}},
    {{"$NTP_ZONE", P::kNtpZone, 10}, {}},  {{"$NTP_OFFT", P::kNtpOffset, 10}, {}},
    {{}, {"$NTP_EN", P::kNtpEnabled}},     {{"$NTP_SVR", P::kNtpServer, 9}, {}},
    {{"$NTP_PORT", P::kNtpPort, 10}, {}},
};

std::string_view From(std::string_view line, std::size_t at) { return at < line.size() ? line.substr(at) : ""; }

void TakeM2M(CPageBase& page, const RouteHit& hit) { static_cast<P&>(page).ParseM2MReport(hit.line); }
void TakeServer(CPageBase& page, const RouteHit& hit) { static_cast<P&>(page).ParseServerReport(hit.line); }

// Two typed values on one line: the time server and its port, the zone and its offset.
constexpr char kNtpServer[] = "%%NTPSVR%s,%s\r";
constexpr char kNtpZone[] = "%%NTPZONE%s,%s\r";
constexpr ComposeFn WriteNtpServer = WriteTexts<kNtpServer, P::kNtpServer, P::kNtpPort>;
constexpr ComposeFn WriteNtpZone = WriteTexts<kNtpZone, P::kNtpZone, P::kNtpOffset>;

std::vector<TextRef> ZoneItems()
{
    std::vector<TextRef> items;
    for (int h = 0; h <= kZoneHours; ++h) items.push_back(Fixed(("+" + std::to_string(h)).c_str()));
    for (int h = 1; h <= kZoneHours; ++h) items.push_back(Fixed(("-" + std::to_string(h)).c_str()));
    return items;
}

std::vector<TextRef> Items(const std::array<const char*, P::kProtocols>& texts)
{
    std::vector<TextRef> items;
    for (const char* t : texts) items.push_back(Fixed(t));
    return items;
}

ColumnDecl Column(const char* key, int width) { return {Own(key), width, false, ColumnKind::Text}; }

// clang-format off
const std::vector<FieldDecl> kFields = [] {
    std::vector<FieldDecl> f = {
        {.id = ctl::kFrame, .kind = K::Group, .caption = Own("TITLE")},
        CheckBox({.id = P::kEnabled, .caption = Own("GPRS_EN"), .write = {.format = "%%M2MEN%d\r", .order = 8}}),
        TextBox({.id = P::kApn, .caption = Own("APN"), .captionId = 1340, .write = {.format = "%%M2MAPN%s\r", .order = 2}}),
        TextBox({.id = P::kUser, .caption = Own("UID"), .captionId = 1341, .write = {.format = "%%M2MUID%s\r", .order = 3}}),
        Secret(TextBox({.id = P::kPassword, .caption = Own("PWD"), .captionId = 1342, .write = {.format = "%%M2MPWD%s\r", .order = 4}}), "$M2M_PWD"),
        TextBox({.id = P::kDns, .caption = Own("DNS"), .captionId = 1364, .write = {.format = "%%M2MDNS%s\r", .order = 5}}),
        TextBox({.id = P::kIdleTimeout, .caption = Own("GPRS_IDLE_TO"), .captionId = 1369, .write = {.format = "%%M2MIDT%s\r", .order = 6}}),
        TextBox({.id = P::kModbusUnit, .caption = Own("MTCPUID"), .captionId = 1371, .write = {.format = "%%MODUID%s\r", .order = 7}}),
        TextBox({.id = P::kTcpTimeout, .caption = Own("GPRS_TCPTO"), .captionId = 1373, .write = {.format = "%%M2MCTO%s\r", .order = 11}}),
        {.id = P::kTransparent, .kind = K::Check, .caption = Own("GPRS_DTU"), .visible = false,
         .report = {"$GDTU_EN", 0, D::Switch}, .write = {.format = "%%GDTUEN%d\r", .order = 9}, .dump = dump::kSys},
        {.id = P::kQmxMessages, .kind = K::Check, .caption = Own("GPRS_QMXIO"),
         .report = {"$GMSG_EN", 0, D::Switch}, .write = {.format = "%%GMSGEN%d\r", .order = 10}, .dump = dump::kSys},
        CheckBox({.id = P::kQmxTime, .caption = Own("GPRS_QMXNTP"), .visible = false, .write = {.format = "%%M2MQMXNTPEN%d\r", .order = 1}}),
        {.id = P::kUnitId, .kind = K::Text, .caption = Own("QMXID"), .captionId = 1375, .visible = false,
         .report = {"$DID", 5, D::Text}, .write = {.format = "%%ID%s\r", .order = 12}, .dump = dump::kSys},
        CheckBox({.id = P::kNtpEnabled, .caption = Own("GPRS_NTPEN"), .write = {.format = "%%NTPEN%d\r", .order = 15}}),
        {.id = P::kNtpZone, .kind = K::EditableCombo, .caption = Own("GPRS_NTP_ZONE"), .captionId = 1580,
         .write = {.order = 14, .compose = WriteNtpZone}, .items = ZoneItems()},
        {.id = P::kNtpOffset, .kind = K::Text, .caption = Own("GPRS_NTP_DS"), .captionId = 1581,
         .write = {.partOf = P::kNtpZone}, .chars = CharRule::Digits},
        {.id = P::kNtpServer, .kind = K::Text, .caption = Own("GPRS_NTP_SVRIP"), .captionId = 1583,
         .write = {.order = 13, .compose = WriteNtpServer}},
        {.id = P::kNtpPort, .kind = K::Text, .caption = Own("GPRS_NTP_PORT"), .captionId = 1585,
         .write = {.partOf = P::kNtpServer}, .chars = CharRule::Digits},
        {.id = P::kServers, .kind = K::List,
         .columns = {{Own("LIST0"), kNameWidth, false, ColumnKind::Label}, Column("LIST1", kAddressWidth),
                     Column("LIST2", kCellWidth), Column("LIST3", kCellWidth), Column("LIST4", kCellWidth),
                     Column("LIST5", kCellWidth), Column("LIST6", kCellWidth), Column("LIST7", kCellWidth)},
         .rows = P::kServerRows},
        MakeButton(ctl::kSave0, Shared("Buttons", "Save")),
        MakeButton(ctl::kReload, {}, "Reload"),
    };
    return f;
}();

const std::vector<RowEditorDecl> kEditors = {
    {P::kServers, TextRef{"", "DLGTITLE", "GPRS Server"},
     {{.id = P::kEdAddress, .kind = K::Text, .caption = Own("IP"), .captionId = 1436,
       .write = {.format = "%%M2MDTSIP%d=%s\r"}, .column = P::kColAddress},
      {.id = P::kEdPort, .kind = K::Text, .caption = Own("PORT"), .captionId = 1437,
       .write = {.format = "%%M2MDTSPT%d=%s\r"}, .chars = CharRule::Digits, .column = P::kColPort},
      {.id = P::kEdTransport, .kind = K::Combo, .caption = Own("TCP"), .captionId = 1438,
       .write = {.format = "%%M2MDTSPO%d=%d\r"}, .items = {Fixed(kTcp), Fixed(kUdp)}},
      {.id = P::kEdProtocol, .kind = K::Combo, .caption = Own("SRVAPP"), .captionId = 1439,
       .write = {.format = "%%M2MDTSTP%d=%d\r"}, .items = Items(kProtocolItems)},
      {.id = P::kEdIdle, .kind = K::Text, .caption = Own("SIDLETO"), .captionId = 1441,
       .write = {.format = "%%M2MDTSTO%d=%s,%s,%s\r"}, .chars = CharRule::Digits, .column = P::kColIdle},
      {.id = P::kEdResponse, .kind = K::Text, .caption = Own("REPTO"), .captionId = 1442,
       .write = {.partOf = P::kEdIdle}, .chars = CharRule::Digits, .column = P::kColResponse},
      {.id = P::kEdHeartbeat, .kind = K::Text, .caption = Own("HTTO"), .captionId = 1444,
       .write = {.partOf = P::kEdIdle}, .chars = CharRule::Digits, .column = P::kColHeartbeat},
      MakeButton(P::kEdOk, Own("BTNOK"), "", 1),
      MakeButton(P::kEdCancel, Shared("Buttons", "Cancel"), "", 2)},
     ",", 0, true},
};
// clang-format on

const HandlerDecl kHandlers[] = {
    {.number = 1, .keys = {"$M2M_QMXNTP", "$M2M_APN", "$M2M_UID", "$M2M_PWD", "$M2M_EN", "$M2M_DNS", "$M2M_IDT", "$M2M_TID", "$M2M_CTO",
                "$NTP_ZONE", "$NTP_OFFT", "$NTP_EN", "$NTP_SVR", "$NTP_PORT"}, .fn = TakeM2M},
    {.number = 2, .keys = {"$M2MD_SVR#", "$M2MD_PT#", "$M2MD_PRO#", "$M2MD_IDLT#", "$M2MD_REPT#", "$M2MD_HRTT#", "$M2MD_MODE#"}, .fn = TakeServer},
};

}  // namespace

CPageGPRS::CPageGPRS(PageContext& context, const PageInfo& info)
    : CPageBase(context, info, PageDecl{.fields = kFields, .editors = kEditors, .handlers = kHandlers})
{
    // The row names are the catalog's server caption with the row number.
    const std::string caption = Tr("SVRNAME");
    const std::string name = caption.empty() ? kServerName : caption;
    for (int r = 0; r < kServerRows; ++r) Cell(kServers, r, 0) = name + std::to_string(r);
}

int CPageGPRS::ProtocolNumberFromName(std::string_view text)
{
    for (int n = 0; n < kProtocols; ++n)
        if (text.find(kProtocolNames[static_cast<std::size_t>(n)]) != std::string_view::npos) return n;
    return kNoProtocol;
}

const char* CPageGPRS::ProtocolName(int number)
{
    return number >= 0 && number < kProtocols ? kProtocolNames[static_cast<std::size_t>(number)] : "";
}

void CPageGPRS::ParseM2MReport(std::string_view line)
{
    if (std::size_t at = line.find("$M2M_QMXNTP "); at != std::string_view::npos)
        SetCheck(kQmxTime, At(line, at + kQmxTimeAt) == '1');
    for (const M2MTest& t : kM2MTests) {
        if (t.text.key) {
            const std::size_t at = line.find(t.text.key);
            if (at == std::string_view::npos) continue;
            SetText(t.text.id, std::string(From(line, at + t.text.at)));
            return;
        }
        const std::string key = t.box.key;
        if (line.find(key + " 0") != std::string_view::npos) return SetCheck(t.box.id, 0);
        if (line.find(key + " 1") != std::string_view::npos) return SetCheck(t.box.id, 1);
    }
}

void CPageGPRS::ParseServerReport(std::string_view line)
{
    enum class CellKind { Text, Number, Transport, Protocol };
    struct ServerTest {
        const char* key;
        int column;
        CellKind cell;
    };
    static constexpr ServerTest kTests[] = {
        {"$M2MD_SVR", kColAddress, CellKind::Text},        {"$M2MD_PT", kColPort, CellKind::Text},
        {"$M2MD_PRO", kColTransport, CellKind::Transport}, {"$M2MD_IDLT", kColIdle, CellKind::Number},
        {"$M2MD_REPT", kColResponse, CellKind::Number},    {"$M2MD_HRTT", kColHeartbeat, CellKind::Number},
        {"$M2MD_MODE", kColProtocol, CellKind::Protocol},
    };
    for (const ServerTest& t : kTests) {
        const std::size_t at = line.find(t.key);
        if (at == std::string_view::npos) continue;
        const std::size_t indexAt = at + std::string_view(t.key).size();
        const int row = At(line, indexAt) - '0';
        if (row < 0 || row >= kServerRows) continue;  // the unit has four servers; nothing else is made
        const std::string_view value = From(line, indexAt + 2);
        const char c = value.empty() ? '\0' : value.front();
        switch (t.cell) {
        case CellKind::Text: SetCell(kServers, row, t.column, std::string(value)); break;
        case CellKind::Number: SetCell(kServers, row, t.column, std::to_string(LeadingNumber(value))); break;
        case CellKind::Transport:
            if (c == '0' || c == '1') SetCell(kServers, row, t.column, c == '1' ? kUdp : kTcp);
            break;
        case CellKind::Protocol:
            if (c >= '0' && c < '0' + kProtocols) SetCell(kServers, row, t.column, ProtocolName(c - '0'));
            break;
        }
    }
}

void CPageGPRS::SaveParams(bool toProfile, CProfileWriter* file)
{
    CPageBase::SaveParams(toProfile, file);
    if (!toProfile) return;  // the server rows go from their editor
    for (int r = 0; r < kServerRows; ++r) {
        auto cell = [&](int col) { return SingleLine(CellText(kServers, r, col)); };
        const bool udp = cell(kColTransport).find(kUdp) != std::string::npos;
        EmitCommand(true, Printf("%%M2MDTSIP%d=%s\r", r, cell(kColAddress).c_str()), file);
        EmitCommand(true, Printf("%%M2MDTSPT%d=%s\r", r, cell(kColPort).c_str()), file);
        EmitCommand(true, Printf("%%M2MDTSPO%d=%d\r", r, udp ? 1 : 0), file);
        EmitCommand(true, Printf("%%M2MDTSTP%d=%d\r", r, ProtocolNumberFromName(cell(kColProtocol))), file);
        EmitCommand(true,
                    Printf("%%M2MDTSTO%d=%s,%s,%s\r", r, cell(kColIdle).c_str(), cell(kColResponse).c_str(),
                           cell(kColHeartbeat).c_str()),
                    file);
    }
}

bool CPageGPRS::BeginEditRow(int listId, int row, RowEdit& edit)
{
    if (!CPageBase::BeginEditRow(listId, row, edit)) return false;
    // The table shows the transport and the protocol by name.
    edit.values[kEdTransport].sel = CellText(kServers, row, kColTransport).find(kUdp) != std::string::npos ? 1 : 0;
    const int protocol = ProtocolNumberFromName(CellText(kServers, row, kColProtocol));
    edit.values[kEdProtocol].sel = protocol < kProtocols ? protocol : -1;
    return true;
}

}  // namespace rtu
