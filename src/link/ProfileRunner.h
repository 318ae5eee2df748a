// Executes a profile: the start command, every command line of the file one at a time
// (each waiting for the unit's acknowledgement), the commit command, then a full reload.
// A run stops early, without the commit, when the unit refuses the console password or,
// once the front end decides so, when the unit leaves several lines in a row unanswered.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "link/DeviceLink.h"
#include "link/ProfileReader.h"

namespace rtu {

enum class ExecStop {
    None,          // ran to the end of the file
    Closing,       // the window closed while it ran (the commit line is still sent)
    LoginRefused,  // the unit refused the console password (nothing committed)
    UnitSilent,    // the unit stopped answering and the run was stopped (nothing committed)
    PortLost,      // the port closed or took no more lines (nothing committed)
};

struct ExecSummary {
    int sent = 0;          // command lines of the file sent to the unit
    int ok = 0;            // answered "CMD OK" (or "Please wait")
    int err = 0;           // answered "CMD ERR"
    int unanswered = 0;    // no acknowledgement within the bound, or the port refused the line
    int refused = 0;       // command lines too long to be sent whole: not sent
    int late = 0;          // acknowledgements that came after their line's bound (dropped)
    int notSent = 0;       // command lines left unsent because the run stopped
    bool stopped = false;  // the run ended before the end of the file
    ExecStop stop = ExecStop::None;
    bool committed = false;  // the commit line was sent
    int framingFailed = 0;   // start or commit lines not answered "CMD OK" (or "Please wait")
    bool Clean() const { return err == 0 && unanswered == 0 && refused == 0 && framingFailed == 0 && !stopped; }
};

// What became of one line of the file.
enum class LineOutcome {
    Ok,          // answered "CMD OK" (or "Please wait")
    CmdErr,      // answered "CMD ERR"
    Unanswered,  // no acknowledgement within its bound (or the port refused it)
    Late,        // its acknowledgement came after its bound, while the next line waited
    Refused,     // too long to be sent whole: not sent
    Repeated,    // equal to the line before it: not sent again
};

// One line of a run as it happened. Times are on the link's clock; a line that never went
// out has sentAt == doneAt (when it was passed over).
struct ExecLineRecord {
    std::string line;
    std::string section;  // the header line of its page section ("//Page …"), when the file was read with them
    LineOutcome outcome = LineOutcome::Unanswered;
    Millis sentAt = 0;
    Millis doneAt = 0;
};

// A short English name of an outcome, as reports show it.
const char* OutcomeName(LineOutcome outcome);

class CProfileRunner {
public:
    static constexpr int kFramingWaitMs = 3000;  // start and commit lines
    static constexpr int kLineWaitMs = 9000;     // each command line of the file
    static constexpr int kLineTicks = 3;         // progress ticks per shown line
    static constexpr int kSilentLinesToAsk = 3;  // unanswered lines in a row before the run pauses

    explicit CProfileRunner(CDeviceLink& link) : link_(link) {}
    ~CProfileRunner();
    CProfileRunner(const CProfileRunner&) = delete;
    CProfileRunner& operator=(const CProfileRunner&) = delete;

    // Starts executing; false when a profile is already running. `done` runs after the
    // commit line's wait (or when the run stopped), before the reload is posted.
    bool Start(CProfileLines lines, std::function<void(const ExecSummary&)> done = {});
    // Lines already cut: the same rules as for a file (empty lines, repeats, line kinds).
    bool Start(const std::vector<std::string>& lines, std::function<void(const ExecSummary&)> done = {});
    bool Running() const { return running_; }
    // Every line the last run executed or passed over, in file order (lines a stopped run
    // did not reach are not in it). Kept until the next run starts.
    const std::vector<ExecLineRecord>& Records() const { return records_; }
    // When the last run started, on the link's clock.
    Millis StartedAt() const { return startedAt_; }

    // The unit left kSilentLinesToAsk lines in a row unanswered: the run pauses and this is
    // told the summary so far; the front end answers later with Continue or Stop. When it is
    // not set the run stops at once.
    std::function<void(const ExecSummary&)> onUnitSilent;
    bool Paused() const { return paused_; }
    // Goes on with the next line (asks again after as many unanswered lines in a row).
    void Continue();
    // Ends a paused run without the commit line.
    void Stop();
    // Ends a running (or paused) run at once without the commit line: the line in flight
    // ends unanswered, the rest stay unsent.
    void Abort(ExecStop reason);

private:
    void Next();
    void Commit();
    void OnLineDone(const SeqResult& result);
    void OnFramingDone(const SeqResult& result);
    void End(ExecStop reason);
    void Done();
    int RemainingCommands(std::size_t from) const;
    void Record(const ProfileLine& line, LineOutcome outcome);
    void CreditLateAnswer();

    CDeviceLink& link_;
    CProfileLines lines_;
    std::size_t offset_ = 0;
    static constexpr std::size_t kNoLine = static_cast<std::size_t>(-1);
    std::size_t lineAt_ = kNoLine;  // where the file line in the sequencer's queue starts
    ExecSummary summary_;
    bool running_ = false;
    bool awaiting_ = false;  // one of our lines is queued or waits for its acknowledgement
    bool paused_ = false;
    ExecStop pendingStop_ = ExecStop::None;
    int silentRun_ = 0;  // unanswered lines in a row
    int lateAtStart_ = 0;
    std::function<void(const ExecSummary&)> done_;
    std::vector<ExecLineRecord> records_;
    Millis startedAt_ = 0;
    int lateSeen_ = 0;                // late answers already credited to a record
    std::size_t openRecord_ = kNoLine;  // the record of the line in flight
    std::string section_;               // the header of the section being run
};

}  // namespace rtu
