#include "pages/net/PageHttp.h"

#include <vector>

#include "pages/framework/FieldBuilders.h"

namespace rtu {
namespace {

using P = CPageHttp;
using K = FieldKind;

constexpr std::size_t kValueAt = 14;  // every HTTP report carries its value from here

struct HttpReport {
    const char* key;
    int id;
};
constexpr HttpReport kReports[] = {
    {"$M2M_HTTP_URL", P::kUrl},
    {"$M2M_HTTP_PWD", P::kAuth},
    {"$M2M_HTTP_GID", P::kGroup},
    {"$M2M_HTTP_SIM", P::kSim},
};

// Every "$M2M_" line reaches the page; it takes only its four keys.
void TakeHttp(CPageBase& page, const RouteHit& hit)
{
    for (const HttpReport& r : kReports) {
        const std::size_t at = hit.line.find(r.key);
        if (at == std::string_view::npos) continue;
        const std::size_t from = at + kValueAt;
        page.SetText(r.id, from < hit.line.size() ? std::string(hit.line.substr(from)) : std::string{});
        return;
    }
}

// clang-format off
const std::vector<FieldDecl> kFields = {
    {.id = ctl::kFrame, .kind = K::Group, .caption = Shared("TABS", "PAGE_HTTP")},
    {.id = P::kUrl, .kind = K::Text, .caption = Own("URL"), .captionId = 1593, .write = {.format = "%%HTTPURL%s\r", .order = 1}},
    Secret({.id = P::kAuth, .kind = K::Text, .caption = Own("AUTH"), .captionId = 1342, .write = {.format = "%%HTTPPOSTPWD%s\r", .order = 3}}, "$M2M_HTTP_PWD"),
    {.id = P::kGroup, .kind = K::Text, .caption = Own("GROUP"), .captionId = 1343, .write = {.format = "%%HTTPGROUP%s\r", .order = 4}},
    {.id = P::kSim, .kind = K::Text, .caption = Own("SIM"), .captionId = 1344, .write = {.format = "%%HTTPSIM%s\r", .order = 2}},
    MakeButton(ctl::kSave1, Shared("Buttons", "Save")),
    MakeButton(ctl::kReload, {}, "Reload"),
};
// clang-format on

const HandlerDecl kHandlers[] = {{.number = 1, .key = "$M2M_", .fn = TakeHttp}};

}  // namespace

PageDecl CPageHttp::Decl() { return PageDecl{.fields = kFields, .handlers = kHandlers}; }

std::unique_ptr<CPageBase> CPageHttp::Make(PageContext& context, const PageInfo& info)
{
    return std::make_unique<CPageBase>(context, info, Decl());
}

}  // namespace rtu
