#include "session/MaskedSecrets.h"

#include "link/SecretMask.h"
#include "pages/framework/CommandFormat.h"
#include "session/Session.h"

namespace rtu {

CMaskedSecrets::CMaskedSecrets(const std::vector<std::unique_ptr<CPageBase>>& pages, bool mask)
{
    if (!mask) return;
    for (const auto& p : pages)
        for (const FieldDecl& f : p->Fields())
            if (f.secret && HoldsText(f.kind) && !p->TextOf(f.id).empty())
                held_.push_back({p.get(), f.id, p->ExchangeText(f.id, std::string(kSecretMask))});
}

CMaskedSecrets::~CMaskedSecrets()
{
    for (Held& h : held_) h.page->ExchangeText(h.id, std::move(h.text));
}

SecretMarks CSession::SecretMarksOnWire() const
{
    SecretMarks marks;
    for (const auto& p : pages_)
        for (const FieldDecl& f : p->Fields()) {
            if (!f.secret) continue;
            for (const ReportDecl* r : {&f.report, &f.report2})
                if (r->key) marks.AddKey(r->key);
            if (f.handlerKey) marks.AddKey(f.handlerKey);
            if (f.write.format) marks.AddKey(FormatKey(f.write.format));
            if (HoldsText(f.kind)) marks.AddValue(p->TextOf(f.id));
        }
    marks.AddValue(Password());
    return marks;
}

std::vector<std::string> CSession::MaskedLines(const CProfileLines& lines)
{
    std::vector<std::string> masked;
    ProfileLine line;
    for (std::size_t at = 0; lines.Next(at, line);)
        if (line.kind == ProfileLineKind::Command && line.text.find(kSecretMask) != std::string_view::npos)
            masked.emplace_back(line.text.substr(0, line.text.find(kSecretMask)));
    return masked;
}

}  // namespace rtu
