// The progress window's state machine: a tick count-down, a done flag and a guard that
// re-enables the current page's buttons. A window shows it; the logic lives here.
#pragma once

#include <functional>
#include <string>

namespace rtu {

class CSysProgress {
public:
    static constexpr int kTickMs = 500;       // one tick of the progress timer
    static constexpr int kGuardTicks = 15;    // page buttons come back after this many ticks at most
    static constexpr int kFinishedTicks = 8;  // count-down set by ShowFinished
    static constexpr int kBarMin = 1;         // progress bar range
    static constexpr int kBarMax = 100;
    static constexpr int kBarStep = 2;

    struct View {
        bool visible = false;
        std::string title = "Progress";
        std::string text;
        bool iconShown = false;
        int bar = kBarMin;
    };

    // Called whenever the view changes; and when the page buttons are enabled or disabled.
    std::function<void(const View&)> onChanged;
    std::function<void(bool enabled)> onPageButtons;

    void ShowOperating(int ticks);
    void ShowLine(int ticks, const std::string& line);
    void ShowFinished();
    void Tick();
    void EnablePageButtons(bool on);

    const View& view() const { return view_; }
    int countDown() const { return countDown_; }
    bool done() const { return done_; }
    int guard() const { return guard_; }
    bool pageButtonsEnabled() const { return buttonsEnabled_; }
    // True while ticks still change something (a window may stop its timer otherwise).
    bool NeedsTicks() const { return countDown_ != 0 || done_ || guard_ != 0; }

private:
    void Changed();
    View view_;
    int countDown_ = 0;
    bool done_ = false;
    int guard_ = 0;
    bool buttonsEnabled_ = true;
};

}  // namespace rtu
