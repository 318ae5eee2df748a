// Runs the real programs for end-to-end tests: rtusim in the background on its pty, and
// rtuctl to completion with its output and exit code.
#pragma once

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

extern char** environ;

namespace rtu::test {

inline std::string ReadFile(const std::filesystem::path& p)
{
    std::ifstream in(p, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

inline std::filesystem::path TempDir(const std::string& name)
{
    auto dir = std::filesystem::temp_directory_path() / ("rtu_e2e_" + std::to_string(::getpid()) + "_" + name);
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    return dir;
}

// rtusim running on its own pty until the object goes away (SIGTERM, then wait).
class SimProcess {
public:
    explicit SimProcess(std::vector<std::string> args)
    {
        int out[2];
        if (::pipe(out) != 0) return;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
        posix_spawn_file_actions_addclose(&actions, out[0]);
        args.insert(args.begin(), RTUSIM_PATH);
        std::vector<char*> argv;
        for (auto& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        if (posix_spawn(&pid_, RTUSIM_PATH, &actions, nullptr, argv.data(), environ) != 0) pid_ = -1;
        posix_spawn_file_actions_destroy(&actions);
        ::close(out[1]);
        // The first line is the pty path.
        char c;
        while (::read(out[0], &c, 1) == 1 && c != '\n') pty_ += c;
        ::close(out[0]);
    }
    ~SimProcess() { Stop(); }
    SimProcess(const SimProcess&) = delete;
    SimProcess& operator=(const SimProcess&) = delete;

    const std::string& Pty() const { return pty_; }
    // Ends the unit; returns its exit status (-1 when it did not exit normally).
    int Stop()
    {
        if (pid_ <= 0) return status_;
        ::kill(pid_, SIGTERM);
        int st = 0;
        ::waitpid(pid_, &st, 0);
        pid_ = -1;
        status_ = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
        return status_;
    }

private:
    pid_t pid_ = -1;
    std::string pty_;
    int status_ = -1;
};

struct RunResult {
    int code = -1;
    std::string out, err;
};

// Runs rtuctl with the arguments after `prefix` (a command that runs it); stdin from `input`
// (empty: /dev/null).
inline RunResult RunCtlAfter(const std::string& prefix, const std::vector<std::string>& args,
                             const std::string& input = {})
{
    static int counter = 0;
    const auto dir = TempDir("ctl" + std::to_string(++counter));
    std::string cmd = prefix + RTUCTL_PATH;
    for (const auto& a : args) {
        std::string quoted = "'";
        for (char ch : a) quoted += ch == '\'' ? std::string("'\\''") : std::string(1, ch);
        cmd += " " + quoted + "'";
    }
    const auto in = dir / "in";
    std::ofstream(in, std::ios::binary) << input;
    cmd += " <" + in.string() + " >" + (dir / "out").string() + " 2>" + (dir / "err").string();
    const int st = std::system(cmd.c_str());
    RunResult r;
    r.code = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
    r.out = ReadFile(dir / "out");
    r.err = ReadFile(dir / "err");
    std::filesystem::remove_all(dir);
    return r;
}

inline RunResult RunCtl(const std::vector<std::string>& args, const std::string& input = {})
{
    return RunCtlAfter("", args, input);
}

// Runs rtuctl until a SIGINT ends it after `seconds`, as Ctrl-C would (`timeout` signals the
// program and then its process group: the program sees the signal twice).
inline RunResult RunCtlInterrupted(int seconds, const std::vector<std::string>& args)
{
    return RunCtlAfter("timeout --preserve-status -s INT " + std::to_string(seconds) + " ", args);
}

// The test plays the unit itself on a pty master; it holds the slave open as well, so the
// line stays up between the programs that open it.
class UnitPty {
public:
    UnitPty()
    {
        master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
        char name[128] = {};
        if (master_ < 0 || ::grantpt(master_) != 0 || ::unlockpt(master_) != 0 ||
            ::ptsname_r(master_, name, sizeof name) != 0)
            return;
        slave_ = name;
        held_ = ::open(name, O_RDWR | O_NOCTTY);
        termios t{};
        if (held_ >= 0 && ::tcgetattr(held_, &t) == 0) {
            ::cfmakeraw(&t);
            ::tcsetattr(held_, TCSANOW, &t);
        }
    }
    ~UnitPty()
    {
        if (held_ >= 0) ::close(held_);
        if (master_ >= 0) ::close(master_);
    }
    UnitPty(const UnitPty&) = delete;
    UnitPty& operator=(const UnitPty&) = delete;

    bool Ok() const { return master_ >= 0 && held_ >= 0; }
    const std::string& Slave() const { return slave_; }
    int Master() const { return master_; }

    // Reads what the tool sent until `n` bytes arrived or nothing came for `quietMs`.
    std::string Read(std::size_t n, int quietMs = 3000) const
    {
        std::string got;
        char buf[4096];
        while (got.size() < n) {
            pollfd p{master_, POLLIN, 0};
            if (::poll(&p, 1, quietMs) <= 0) break;
            const ssize_t r = ::read(master_, buf, sizeof buf);
            if (r <= 0) break;
            got.append(buf, static_cast<std::size_t>(r));
        }
        return got;
    }

private:
    int master_ = -1;
    int held_ = -1;
    std::string slave_;
};

// rtuctl running in the background with its stdin and stdout on pipes held by the test.
class CtlProcess {
public:
    explicit CtlProcess(std::vector<std::string> args, const std::string& errPath)
    {
        int in[2], out[2];
        if (::pipe2(in, O_CLOEXEC) != 0) return;
        if (::pipe2(out, O_CLOEXEC) != 0) return;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, in[0], STDIN_FILENO);
        posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
        posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        args.insert(args.begin(), RTUCTL_PATH);
        std::vector<char*> argv;
        for (auto& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        if (posix_spawn(&pid_, RTUCTL_PATH, &actions, nullptr, argv.data(), environ) != 0) pid_ = -1;
        posix_spawn_file_actions_destroy(&actions);
        ::close(in[0]);
        ::close(out[1]);
        stdin_ = in[1];
        stdout_ = out[0];
    }
    ~CtlProcess()
    {
        CloseStdin();
        if (pid_ > 0) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
        if (stdout_ >= 0) ::close(stdout_);
    }
    CtlProcess(const CtlProcess&) = delete;
    CtlProcess& operator=(const CtlProcess&) = delete;

    pid_t Pid() const { return pid_; }
    int Stdout() const { return stdout_; }
    void CloseStdin()
    {
        if (stdin_ >= 0) ::close(stdin_);
        stdin_ = -1;
    }
    // Waits for the exit; returns the exit code (-1 when it did not exit normally).
    int Wait()
    {
        int st = 0;
        if (pid_ <= 0 || ::waitpid(pid_, &st, 0) != pid_) return -1;
        pid_ = -1;
        return WIFEXITED(st) ? WEXITSTATUS(st) : -1;
    }

private:
    pid_t pid_ = -1;
    int stdin_ = -1;
    int stdout_ = -1;
};

}  // namespace rtu::test
