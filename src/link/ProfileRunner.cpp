#include "link/ProfileRunner.h"

#include <fstream>

namespace rtu {

bool CProfileRunner::ReadLines(const std::string& path, std::vector<std::string>& lines)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    lines.clear();
    std::string line;
    while (std::getline(in, line)) lines.push_back(line);
    return !in.bad();
}

bool CProfileRunner::Start(std::vector<std::string> lines, std::function<void(const ExecSummary&)> done)
{
    if (link_.profileBusy) return false;
    link_.profileBusy = true;
    running_ = true;
    lines_ = std::move(lines);
    index_ = 0;
    previous_.clear();
    summary_ = {};
    done_ = std::move(done);
    link_.Sequencer().EnqueueCommand("%STARTCMD\r", kFramingWaitMs, [this](const SeqResult&) { Next(); });
    return true;
}

// Sends the next command line of the file, or the commit line when none is left.
void CProfileRunner::Next()
{
    while (index_ < lines_.size()) {
        if (link_.closingDown) {
            summary_.stopped = true;
            break;
        }
        std::string line;
        for (char c : lines_[index_++])
            if (c != '\r' && c != '\n') line += c;
        if (line.empty() || line == previous_) continue;
        previous_ = line;
        if (line.starts_with("\\\\")) {
            link_.Progress().ShowLine(kLineTicks, line);
        } else if (line[0] == '%') {
            link_.Progress().ShowLine(kLineTicks, line);
            ++summary_.sent;
            link_.Sequencer().EnqueueCommand(line + "\r", kLineWaitMs, [this](const SeqResult& r) {
                if (!r.written || r.ack == AckKind::None) ++summary_.unanswered;
                else if (r.ack == AckKind::Err) ++summary_.err;
                else ++summary_.ok;
                Next();
            });
            return;
        }
    }
    Commit();
}

void CProfileRunner::Commit()
{
    link_.Sequencer().EnqueueCommand("%COMMITCMD\r", kFramingWaitMs, [this](const SeqResult&) {
        running_ = false;
        link_.profileBusy = false;
        if (done_) done_(summary_);
    });
}

}  // namespace rtu
