#include "pages/net/PageHttp.h"

#include <vector>

#include "pages/framework/FieldBuilders.h"

namespace rtu {
namespace {

using P = CPageHttp;

constexpr int kValueAt = 14;  // every HTTP report carries its value from here

// Every "$M2M_" line reaches the page; it takes only its four keys, the first found.
// clang-format off
const std::vector<FieldDecl> kFields = {
    {.id = ctl::kFrame, .kind = K::Group, .caption = Shared("TABS", "PAGE_HTTP")},
    {.id = P::kUrl, .kind = K::Text, .caption = Own("URL"), .captionId = 1593, .report = {"$M2M_HTTP_URL", kValueAt, D::Text, 1}, .write = {.format = "%%HTTPURL%s\r", .order = 1}},
    Secret({.id = P::kAuth, .kind = K::Text, .caption = Own("AUTH"), .captionId = 1342, .report = {"$M2M_HTTP_PWD", kValueAt, D::Text, 2}, .write = {.format = "%%HTTPPOSTPWD%s\r", .order = 3}}),
    {.id = P::kGroup, .kind = K::Text, .caption = Own("GROUP"), .captionId = 1343, .report = {"$M2M_HTTP_GID", kValueAt, D::Text, 3}, .write = {.format = "%%HTTPGROUP%s\r", .order = 4}},
    {.id = P::kSim, .kind = K::Text, .caption = Own("SIM"), .captionId = 1344, .report = {"$M2M_HTTP_SIM", kValueAt, D::Text, 4}, .write = {.format = "%%HTTPSIM%s\r", .order = 2}},
    MakeButton(ctl::kSave1, Shared("Buttons", "Save")),
    MakeButton(ctl::kReload, {}, "Reload"),
};
// clang-format on

}  // namespace

PageDecl CPageHttp::Decl() { return PageDecl{.fields = kFields}; }

std::unique_ptr<CPageBase> CPageHttp::Make(PageContext& context, const PageInfo& info)
{
    return std::make_unique<CPageBase>(context, info, Decl());
}

}  // namespace rtu
