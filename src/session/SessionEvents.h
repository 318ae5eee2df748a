// What a session tells its front end. The session queues these as the unit talks and time
// passes; the front end drains them (CSession::PollEvent) after every call into the session
// and turns them into what it shows: a status line, a message box, a line on stderr.
#pragma once

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

#include "link/LinkTypes.h"
#include "link/ProfileRunner.h"
#include "link/SysProgress.h"

namespace rtu {
namespace ev {

// The status line (bottom right) and the mode line (bottom left).
struct Status {
    std::string text;
};
struct Mode {
    std::string text;
};
// The progress window: what it shows now.
struct Progress {
    CSysProgress::View view;
};
// A page's values changed (reports of a reload, a row edit): its class name.
struct PageChanged {
    std::string page;
};
// A command line went out to the unit.
struct CommandSent {
    std::string bytes;
};
// A command line's wait ended: the unit's acknowledgement, or None when its bound ran out
// (`written` false: the port refused the line, it never left).
struct CommandAnswered {
    std::string bytes;
    AckKind ack = AckKind::None;
    bool written = true;
};
// The page on show has a save batch running: its buttons are locked until this says otherwise.
struct Busy {
    bool busy = false;
};
// The unit is busy (a reload, a save, a row edit, a profile, a transfer, setup) or free again:
// nothing that writes may start while it is busy. Also sent when the pages' read state was
// reset (the port was opened), so the front end looks at every page again.
struct UnitBusy {
    bool busy = false;
};
// A command that would write was refused (the unit is busy, the page was never read); `text`
// says why.
struct Refused {
    std::string text;
};
// The port went away under the session (the unit was unplugged).
struct PortLost {};
// A transfer job moved on: bytes done of total, and a short text when it has one.
struct TransferProgress {
    std::string job;
    std::int64_t done = 0;
    std::int64_t total = 0;
    std::string text;
};
// A transfer job ended; `message` is what the user was told (empty when it was stopped).
struct TransferEnded {
    std::string job;
    bool ok = false;
    std::string message;
};
// A message box for the user.
struct Message {
    MessageIcon icon = MessageIcon::Information;
    std::string text;
};
// A yes/no question; the front end answers with the call the kind names.
enum class QuestionKind {
    GoOnSilentUnit,  // yes: CSession::ContinueProfile, no: CSession::StopProfile
};
struct Question {
    QuestionKind kind = QuestionKind::GoOnSilentUnit;
    std::string text;
};
// A profile execution ended (before its closing reload goes out).
struct ProfileEnded {
    ExecSummary summary;
};
struct Beep {};
// Every chunk received in console mode, whole, and the console's own notes.
struct ConsoleChunk {
    std::string bytes;
};
// One line from the unit. `settling`: it came while the sender waited out a line whose bound
// ran out, so an acknowledgement in it was taken as that line's late answer.
struct Line {
    std::string text;
    bool settling = false;
    bool streamed = false;  // a streamed record or an event: no part of any reply
};

// The unit answered "CMD ERR" to a line a page's save wrote: the page's class name, the rows
// that wrote it, and a sentence naming them for the user.
struct FieldRefused {
    std::string page;
    std::vector<int> fields;
    std::string text;
};
// A reload got no "DUMPR" within its bound: the unit does not answer.
struct NoAnswer {
    int seconds = 0;
    std::string text;
};

}  // namespace ev

using SessionEvent =
    std::variant<ev::Status, ev::Mode, ev::Progress, ev::PageChanged, ev::CommandSent, ev::CommandAnswered, ev::Busy,
                 ev::PortLost, ev::TransferProgress, ev::TransferEnded, ev::Message, ev::Question, ev::ProfileEnded,
                 ev::Beep, ev::ConsoleChunk, ev::Line, ev::FieldRefused, ev::NoAnswer, ev::UnitBusy, ev::Refused>;

}  // namespace rtu
