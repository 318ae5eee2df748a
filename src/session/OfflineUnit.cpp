#include "session/OfflineUnit.h"

#include <algorithm>
#include <vector>

#include "sim/core/SimUnit.h"

namespace rtu {
namespace {

constexpr int kOfflineBaud = 115200;  // the simulated line's speed (on the own clock it costs nothing)

SSimOptions OfflineOptions()
{
    SSimOptions options;
    options.latencyMs = 0;
    options.baud = kOfflineBaud;
    return options;
}

}  // namespace

COfflineUnit::COfflineUnit(const CTextCatalog* catalog)
    : unit_(std::make_unique<CSimUnit>(OfflineOptions(), CSimImage{}, CSimImage{})),
      session_(std::make_unique<CSession>(
          [this](std::string_view bytes) {
              toUnit_ += bytes;
              return true;
          },
          [this] { return now_; }, catalog))
{}

COfflineUnit::~COfflineUnit() = default;

const CSimImage& COfflineUnit::UnitImage() const { return unit_->Image(); }

bool COfflineUnit::Load(CProfileLines lines, std::string& error)
{
    if (lines.CountOf(ProfileLineKind::Command) > 0) {
        if (!session_->ExecProfileLines(std::move(lines))) {
            Drive();
            error = refusal_.empty() ? "the profile could not be run" : refusal_;
            return false;
        }
    } else {
        session_->Reload();  // nothing to write: only the read
    }
    Drive();
    if (session_->ProfileRunning()) {
        error = "the profile did not finish";
        return false;
    }
    if (!dumpr_) {
        error = "the values could not be read back";
        return false;
    }
    return true;
}

void COfflineUnit::Drive()
{
    const Millis end = now_ + kRunBoundMs;
    while (now_ < end) {
        session_->DrainEvents([this](const SessionEvent& e) {
            if (const auto* m = std::get_if<ev::Message>(&e); m && m->icon == MessageIcon::Error) refusal_ = m->text;
            if (const auto* r = std::get_if<ev::Refused>(&e)) refusal_ = r->text;
            if (const auto* p = std::get_if<ev::ProfileEnded>(&e)) summary_ = p->summary;
            if (const auto* l = std::get_if<ev::Line>(&e); l && l->text.find("DUMPR") != std::string::npos)
                dumpr_ = !session_->ProfileRunning();
            if (std::holds_alternative<ev::Question>(e)) session_->StopProfile();  // nobody to ask here
        });
        if (!toUnit_.empty()) {
            unit_->HandleReceived(toUnit_, now_);
            toUnit_.clear();
        }
        std::vector<Millis> next;
        if (auto d = unit_->NextDeadline()) next.push_back(*d);
        if (auto d = session_->NextDeadline()) next.push_back(*d);
        if (next.empty()) return;
        now_ = std::max(now_, *std::min_element(next.begin(), next.end()));
        const std::string bytes = unit_->PollTransmit(now_);
        if (!bytes.empty()) session_->HandleReceive(bytes);
        session_->HandleTime();
    }
}

}  // namespace rtu
