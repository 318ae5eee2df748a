// The command line's event loop: the serial port's worker hands chunks over a queue and an
// eventfd; the loop feeds them to the session, drains the session's events after every call
// and wakes at the session's next deadline. poll() is the only place it waits; the console's
// stdin and stdout join the poll when it asks for them.
#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "link/SerialPort.h"
#include "link/WireTrace.h"
#include "pages/framework/TextCatalog.h"
#include "session/Session.h"

namespace rtu::cli {

// Exit codes of rtuctl.
enum Exit : int {
    kExitOk = 0,
    kExitUsage = 1,
    kExitPort = 2,
    kExitNoAnswer = 3,
    kExitCommandFailed = 4,
    kExitOutput = 5,  // an output file could not be written
};

struct Options {
    std::string port;
    int baud = 9600;
    int parity = 0;  // 0 none, 1 odd, 2 even, 3 mark
    std::string password = CDeviceLink::kDefaultPassword;
    double timeoutSeconds = 30;
    bool verbose = false;
    std::string tracePath;  // every byte on the wire is traced here (empty: no trace)
};

Millis NowMs();

class CCliLoop {
public:
    static constexpr int kDrainMarginMs = 1000;  // beyond the queued bytes' own time on the line
    // Received bytes waiting for the loop; above this the port's worker waits before it
    // hands on more (and so stops reading the port).
    static constexpr std::size_t kReceiveQueueBytes = 1u << 20;

    explicit CCliLoop(const Options& options);
    ~CCliLoop();

    // Opens the port (and the trace); on failure prints why and returns kExitPort (kExitOutput
    // for the trace), else kExitOk.
    int Open();
    CSession& Session() { return *session_; }
    const std::string& PortPath() const { return options_.port; }

    // Runs until `done` returns true (checked after every event) or until `deadline` (ms on
    // the loop's clock). Returns false when the deadline passed first. Extra descriptors for
    // the console: stdin (onStdin when readable) and stdout (onWritable when it takes more),
    // each watched only while its `wanted` says so.
    // `wakeAt`, when given, names a further time at which `done` must be checked again.
    bool RunUntil(const std::function<bool()>& done, Millis deadline,
                  const std::function<std::optional<Millis>()>& wakeAt = {});
    Millis Deadline() const;  // now + --timeout
    double TimeoutSeconds() const { return options_.timeoutSeconds; }

    void WatchStdin(std::function<void()> onStdin, std::function<bool()> wanted = {})
    {
        onStdin_ = std::move(onStdin);
        stdinWanted_ = std::move(wanted);
    }
    void WatchStdout(std::function<void()> onWritable, std::function<bool()> wanted)
    {
        onStdout_ = std::move(onWritable);
        stdoutWanted_ = std::move(wanted);
    }
    bool PortLost() const { return portLost_; }
    Millis LastReceive() const { return lastReceive_; }
    // When the port last freed a send slot or finished sending.
    Millis LastSendProgress() const { return lastSent_; }
    // Waits until every queued block has left the port, bounded by their own time on the
    // line plus kDrainMarginMs. False when they did not, or the port closed first.
    bool Drain();
    CSerialPort& Port() { return port_; }
    // Whether a line of the --trace file could not be written ("<path>: <reason>" in TraceError).
    bool TraceFailed() const { return trace_.Failed(); }
    // A command's exit code with the trace taken into account: a trace that stopped is named
    // on stderr, and a command that otherwise succeeded (or ended with kExitOutput) ends with
    // `lostCode`. The trace is
    // checked after the command, so a run is never stopped half-way for it.
    int CheckTrace(int rc, int lostCode = kExitOutput) const;

    // What the session said, for the commands that wait for it.
    std::function<void(const ev::Line& line)> onLine;
    std::function<void(std::string_view chunk)> onChunk;
    std::function<void(const ev::CommandAnswered& answer)> onAnswered;
    std::function<void(const ExecSummary& summary)> onProfileEnded;
    std::function<void(const ev::Question& question)> onQuestion;
    std::function<void(const ev::Status& status)> onStatus;
    std::function<void(const ev::TransferEnded& ended)> onTransferEnded;
    std::vector<std::pair<MessageIcon, std::string>> messages;

private:
    void DrainReceived();
    // Takes every event the session has queued and acts on it.
    void DrainEvents();
    void Dispatch(const SessionEvent& event);

    Options options_;
    CTextCatalog catalog_;  // before the session, which reads its texts
    CWireTrace trace_;      // before the port: the port's worker records into it
    CSerialPort port_;
    std::unique_ptr<CSession> session_;
    int wakeFd_ = -1;
    std::mutex mutex_;
    std::deque<std::string> received_;  // chunks from the worker, in order
    std::size_t receivedBytes_ = 0;     // their total size
    std::condition_variable taken_;     // the loop took the chunks, or is closing
    bool closing_ = false;              // the worker no longer waits for the loop
    bool lostFlag_ = false;             // set by the worker
    bool sentFlag_ = false;             // set by the worker
    Millis lastSent_ = 0;
    bool portLost_ = false;
    Millis lastReceive_ = 0;
    std::function<void()> onStdin_;
    std::function<bool()> stdinWanted_;
    std::function<void()> onStdout_;
    std::function<bool()> stdoutWanted_;
};

}  // namespace rtu::cli
