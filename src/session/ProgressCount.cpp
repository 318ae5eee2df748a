#include "session/ProgressCount.h"

#include <algorithm>

namespace rtu {

void CProgressCount::Start(Mode mode, int total, const char* label)
{
    mode_ = mode;
    done_ = 0;
    total_ = std::max(0, total);
    seen_.clear();
    Label(label);
}

void CProgressCount::StartReload(int expected) { Start(Mode::Reload, expected, "Reading the unit's values..."); }

bool CProgressCount::Label(std::string label)
{
    const bool named = labelPage_ >= 0;
    labelPage_ = -1;
    labelCaption_ = nullptr;
    if (!named && label == label_) return false;
    label_ = std::move(label);
    return true;
}

std::string CProgressCount::LabelText() const
{
    return labelCaption_ ? "Reading " + *labelCaption_ : label_;
}

bool CProgressCount::Counted(int pageId, bool counted)
{
    if (mode_ != Mode::Reload || !counted || !seen_.insert(pageId).second) return false;
    done_ = std::min(total_, done_ + 1);
    return true;
}

void CProgressCount::StartLines(int total) { Start(Mode::Lines, total, "Sending the profile..."); }

void CProgressCount::LineSent(std::string_view bytes)
{
    while (!bytes.empty() && (bytes.back() == '\r' || bytes.back() == '\n')) bytes.remove_suffix(1);
    std::string command(bytes.substr(0, kCommandChars));
    if (bytes.size() > kCommandChars) command += "...";
    // The framing lines around a profile's lines are not lines of the file.
    const bool framing = bytes.starts_with("%STARTCMD") || bytes.starts_with("%COMMITCMD");
    if (mode_ != Mode::Lines || framing) {
        Label("Sending " + command);
        return;
    }
    done_ = std::min(total_, done_ + 1);
    Label("Sending line " + std::to_string(done_) + " of " + std::to_string(total_) + ": " + command);
}

void CProgressCount::Stop()
{
    mode_ = Mode::Idle;
    done_ = total_ = 0;
    seen_.clear();
    Label({});
}

void CProgressCount::Apply(CSysProgress::View& view) const
{
    const bool raw = !view.text.empty() && (view.text[0] == '$' || view.text[0] == '%');
    if (std::string label = LabelText(); !label.empty() && (raw || mode_ != Mode::Idle)) view.text = std::move(label);
    else if (raw) view.text = view.text[0] == '$' ? "Reading the unit's values..." : "Sending commands...";
    if (mode_ == Mode::Reload && total_ > 0)
        view.text += " (" + std::to_string(done_) + " of " + std::to_string(total_) + " pages)";
    if (total_ > 0) view.bar = CSysProgress::kBarMin + (CSysProgress::kBarMax - CSysProgress::kBarMin) * done_ / total_;
}

}  // namespace rtu
