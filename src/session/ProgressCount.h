// What the progress window says while a reload or a profile runs: how far it is (pages
// reported of those a reload fills, command lines sent of a profile's) and a label a user
// reads (the page being read, the command being sent). The raw lines go to the console only.
#pragma once

#include <set>
#include <string>
#include <string_view>

#include "link/SysProgress.h"

namespace rtu {

class CProgressCount {
public:
    static constexpr std::size_t kCommandChars = 48;  // a command is cut after this many bytes in the label

    // A full reload starts: `expected` pages are filled by its reports.
    void StartReload(int expected);
    // A report reached a page; `counted` whether the page is one a full reload fills;
    // `caption` is the page's caption, which must outlive its use in the label. The label's
    // text is made only when it is put on a view: many pages may see a chunk's lines.
    // Returns whether the label or the count changed.
    bool PageReported(int pageId, const std::string& caption, bool counted)
    {
        if (mode_ == Mode::Lines) return false;
        bool changed = false;
        if (labelPage_ != pageId) {
            labelPage_ = pageId;
            labelCaption_ = &caption;
            changed = true;
        }
        return Counted(pageId, counted) || changed;
    }
    // A profile starts: `total` command lines.
    void StartLines(int total);
    // A command line went out.
    void LineSent(std::string_view bytes);
    // The reload or profile ended (or never came): the window falls back to its own view.
    void Stop();
    int Done() const { return done_; }

    // Puts the count and the label on the window's view.
    void Apply(CSysProgress::View& view) const;

private:
    enum class Mode { Idle, Reload, Lines };
    void Start(Mode mode, int total, const char* label);
    // Sets a label that names no page. Returns whether it changed.
    bool Label(std::string label);
    // The label as the window shows it.
    std::string LabelText() const;
    // Counts a page's first report during a reload. Returns whether the count changed.
    bool Counted(int pageId, bool counted);
    Mode mode_ = Mode::Idle;
    int done_ = 0;
    int total_ = 0;
    std::set<int> seen_;
    std::string label_;                          // when the label names no page
    int labelPage_ = -1;                         // the page the label names, or -1
    const std::string* labelCaption_ = nullptr;  // that page's caption
};

}  // namespace rtu
