// A unit that lives only in this process: a simulated unit that starts empty, is given a
// profile's command lines as a real unit would be, and a session that then reads it in full,
// all on a clock of its own (no port, no waiting). Its pages then hold what a unit holding
// that profile reports, and its profile text and JSON export are what `rtuctl read` gives for
// such a unit. A profile is thus read by the same code that reads a unit: every page the
// simulated unit understands can be opened from a file with nothing written for it here.
#pragma once

#include <memory>
#include <string>

#include "link/ProfileReader.h"
#include "session/Session.h"

namespace rtu {

class CSimImage;
class CSimUnit;

class COfflineUnit {
public:
    static constexpr Millis kRunBoundMs = 24LL * 3600 * 1000;  // the own clock's bound: a run still going then has hung

    // `catalog` (may be null) gives the cell texts, as for a session on a port.
    explicit COfflineUnit(const CTextCatalog* catalog);
    ~COfflineUnit();
    COfflineUnit(const COfflineUnit&) = delete;
    COfflineUnit& operator=(const COfflineUnit&) = delete;

    // Executes `lines` (read with or without their headers) on the empty unit, then reads the
    // unit in full. False, and why in `error`, when the lines could not be run or the read did
    // not end. May be called once.
    bool Load(CProfileLines lines, std::string& error);
    CSession& Session() { return *session_; }
    // What the unit holds now (to go on with it elsewhere, e.g. on the window's own clock).
    const CSimImage& UnitImage() const;
    // What the run did (meaningful after Load of a profile with command lines).
    const ExecSummary& Summary() const { return summary_; }

private:
    void Drive();

    Millis now_ = 0;
    std::string toUnit_;
    std::unique_ptr<CSimUnit> unit_;
    std::unique_ptr<CSession> session_;
    ExecSummary summary_;
    std::string refusal_;  // a message the session gave instead of running
    bool dumpr_ = false;   // the unit finished its full report
};

}  // namespace rtu
