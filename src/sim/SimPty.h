// The unit's end of a pseudo-terminal. Both ends are raw (no echo, no CR/LF
// translation). The unit keeps a slave descriptor of its own open, so the pty stays
// alive and the master never reports a hang-up while no client is connected.
#pragma once

#include <string>

namespace rtu {

class CSimPty {
public:
    CSimPty() = default;
    CSimPty(const CSimPty&) = delete;
    CSimPty& operator=(const CSimPty&) = delete;
    ~CSimPty();

    bool Open(std::string& error);
    void Close();
    int MasterFd() const { return master_; }
    const std::string& SlavePath() const { return slavePath_; }

private:
    int master_ = -1;
    int heldSlave_ = -1;
    std::string slavePath_;
};

}  // namespace rtu
