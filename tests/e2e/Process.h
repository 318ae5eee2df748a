// Runs the real programs for end-to-end tests: rtusim in the background on its pty, and
// rtuctl to completion with its output and exit code.
#pragma once

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

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

// Runs rtuctl with the arguments; stdin from `input` (empty: /dev/null).
inline RunResult RunCtl(const std::vector<std::string>& args, const std::string& input = {})
{
    static int counter = 0;
    const auto dir = TempDir("ctl" + std::to_string(++counter));
    std::string cmd = RTUCTL_PATH;
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

}  // namespace rtu::test
