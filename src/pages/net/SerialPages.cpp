#include "pages/net/SerialPages.h"

#include <vector>

#include "pages/framework/FieldBuilders.h"
#include "pages/framework/Printf.h"

namespace rtu {
namespace {

using M = CPage62056;
using C = CPageComm2;

constexpr std::size_t kMeterNumberAt = 6;  // text after "$P62056": code, blank, number

void TakeMeter(CPageBase& page, const RouteHit& hit) { M::TakeReport(page, hit.text); }

// "%UART2CP<baud>,<parity>": one line carries both; a parity that names no item goes as -1.
bool WriteUart(const CPageBase& page, std::string& line)
{
    line = Printf("%%UART2CP%s,%d\r", SingleLine(page.TextOf(C::kBaud)).c_str(), page.ValueOf(C::kParity).sel);
    return true;
}

// clang-format off
const std::vector<FieldDecl> kMeterFields = {
    {.id = M::kErrorReport, .kind = K::Check, .caption = Fixed("Upload error report to server if no meter"),
     .write = {.format = "%%P62056ERRT%d\r", .order = 3}},
    {.id = M::kUploadSpan, .kind = K::Text, .caption = Fixed("Upload interval (mins)"),
     .write = {.format = "%%P62056UT%s\r", .order = 1}, .chars = CharRule::Digits},
    {.id = M::kHeartSpan, .kind = K::Text, .caption = Fixed("\"Heart\" interval (mins)"),
     .write = {.format = "%%P62056HT%s\r", .order = 2}, .chars = CharRule::Digits},
    MakeButton(ctl::kSave1, Fixed("Save")),
};

const std::vector<FieldDecl> kUartFields = {
    {.id = C::kBaud, .kind = K::Text, .caption = Fixed("485 BPS"), .captionId = 1111,
     .report = {"$UART2BPS", 10, D::Text}, .write = {.order = 1, .compose = WriteUart}, .dump = "%DUMP_SYS\r",
     .chars = CharRule::Digits},
    {.id = C::kParity, .kind = K::Combo, .caption = Fixed("485 Parity"), .captionId = 1112,
     .report = {"$UART2PARITY", 13, D::Number}, .write = {.partOf = C::kBaud}, .dump = "%DUMP_SYS\r",
     .items = {Fixed("NONE"), Fixed("ODD_PARITY"), Fixed("EVEN_PARITY"), Fixed("MASK_PARITY_0"), Fixed("MASK_PARITY_1")}},
    MakeButton(ctl::kSave, Fixed("Save")),
};
// clang-format on

const HandlerDecl kMeterHandlers[] = {{.number = 1, .keys = {"$P62056POOLT", "$P62056HEART", "$P62056ERRUP"}, .fn = TakeMeter}};

}  // namespace

void CPage62056::TakeReport(CPageBase& page, std::string_view text)
{
    const int number = LeadingNumber(text.size() > kMeterNumberAt ? text.substr(kMeterNumberAt) : std::string_view{});
    if (text.find("POOLT") != std::string_view::npos) page.SetText(kUploadSpan, std::to_string(number));
    else if (text.find("HEART") != std::string_view::npos) page.SetText(kHeartSpan, std::to_string(number));
    else if (text.find("ERRUP") != std::string_view::npos) page.SetCheck(kErrorReport, number != 0);
}

PageDecl CPage62056::Decl() { return PageDecl{.fields = kMeterFields, .handlers = kMeterHandlers}; }

std::unique_ptr<CPageBase> CPage62056::Make(PageContext& context, const PageInfo& info)
{
    return std::make_unique<CPageBase>(context, info, Decl());
}

PageDecl CPageComm2::Decl() { return PageDecl{.fields = kUartFields, .waitMs = kWaitMs, .framed = false}; }

std::unique_ptr<CPageBase> CPageComm2::Make(PageContext& context, const PageInfo& info)
{
    return std::make_unique<CPageBase>(context, info, Decl());
}

}  // namespace rtu
