#include "link/SysProgress.h"

namespace rtu {

void CSysProgress::Changed()
{
    if (onChanged) onChanged(view_);
}

void CSysProgress::ShowOperating(int ticks)
{
    view_.text = "operating...";
    countDown_ = ticks;
    done_ = false;
    view_.visible = true;
    Changed();
}

void CSysProgress::ShowLine(int ticks, const std::string& line)
{
    const bool report = !line.empty() && line[0] == '$';
    view_.title = report ? "Reading" : "Progress";
    view_.iconShown = report;
    view_.text = line;
    countDown_ = ticks;
    done_ = false;
    view_.visible = true;
    Changed();
}

void CSysProgress::ShowFinished()
{
    view_.text = "Operating......";
    countDown_ = kFinishedTicks;
    done_ = true;
    Changed();
}

void CSysProgress::Tick()
{
    if (countDown_ != 0) {
        view_.bar += kBarStep;
        if (view_.bar > kBarMax) view_.bar = kBarMin;
        --countDown_;
        if (countDown_ == 0) {
            view_.bar = kBarMin;
            view_.visible = false;
            EnablePageButtons(true);
        }
        Changed();
    } else if (done_) {
        done_ = false;
        view_.visible = false;
        EnablePageButtons(true);
        Changed();
    }
    if (guard_ > 0 && --guard_ == 0 && !buttonsEnabled_) {
        EnablePageButtons(true);
        guard_ = 0;  // the guard ran out; do not re-arm it by its own enable
    }
}

void CSysProgress::EnablePageButtons(bool on)
{
    buttonsEnabled_ = on;
    guard_ = kGuardTicks;
    if (onPageButtons) onPageButtons(on);
}

}  // namespace rtu
