// The real rtusim program on its pseudo-terminal.
#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <poll.h>
#include <spawn.h>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

constexpr int kAnswerBoundMs = 10000;  // failure bound for one answer; never a timing assertion

class CSimProcess {
public:
    explicit CSimProcess(std::vector<std::string> args)
    {
        int out[2];
        if (pipe(out) != 0) return;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
        posix_spawn_file_actions_addclose(&actions, out[0]);
        args.insert(args.begin(), RTUSIM_PATH);
        std::vector<char*> argv;
        for (auto& arg : args) argv.push_back(arg.data());
        argv.push_back(nullptr);
        if (posix_spawn(&pid_, RTUSIM_PATH, &actions, nullptr, argv.data(), environ) != 0) pid_ = -1;
        posix_spawn_file_actions_destroy(&actions);
        close(out[1]);
        stdout_ = out[0];
    }
    ~CSimProcess()
    {
        if (pid_ > 0) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
        if (stdout_ >= 0) close(stdout_);
    }
    bool Started() const { return pid_ > 0; }

    std::string FirstLine()
    {
        std::string line;
        char c;
        while (ReadWithin(stdout_, &c, 1) == 1 && c != '\n') line += c;
        return line;
    }

    // Sends SIGTERM and returns the exit status (-1 when it did not exit normally).
    int Terminate()
    {
        kill(pid_, SIGTERM);
        return Wait();
    }
    int Wait()
    {
        int status = 0;
        if (waitpid(pid_, &status, 0) != pid_) return -1;
        pid_ = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    static ssize_t ReadWithin(int fd, char* buffer, std::size_t size)
    {
        pollfd pfd{fd, POLLIN, 0};
        if (poll(&pfd, 1, kAnswerBoundMs) <= 0) return -1;
        return read(fd, buffer, size);
    }

private:
    pid_t pid_ = -1;
    int stdout_ = -1;
};

int OpenClient(const std::string& path)
{
    const int fd = open(path.c_str(), O_RDWR | O_NOCTTY);
    if (fd >= 0) {
        termios tio{};
        tcgetattr(fd, &tio);
        cfmakeraw(&tio);
        tcsetattr(fd, TCSANOW, &tio);
        tcflush(fd, TCIOFLUSH);
    }
    return fd;
}

// Reads until the text holds `until`; returns what was read.
std::string ReadUntil(int fd, const std::string& until)
{
    std::string text;
    char buffer[512];
    while (text.find(until) == std::string::npos) {
        const ssize_t n = CSimProcess::ReadWithin(fd, buffer, sizeof buffer);
        if (n <= 0) break;
        text.append(buffer, static_cast<std::size_t>(n));
    }
    return text;
}

void Send(int fd, const std::string& text)
{
    ASSERT_EQ(write(fd, text.data(), text.size()), static_cast<ssize_t>(text.size()));
}

TEST(SimPty, AnswersOnItsPseudoTerminalAndEndsCleanly)
{
    const auto dir = std::filesystem::temp_directory_path() / ("rtusim-pty-test-" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    const auto link = dir / "unit";
    const auto saved = dir / "saved.image";
    CSimProcess sim({"--latency-ms", "0", "--baud", "115200", "--link", link.string(), "--save-image", saved.string()});
    ASSERT_TRUE(sim.Started());
    const std::string path = sim.FirstLine();
    ASSERT_FALSE(path.empty());
    EXPECT_EQ(std::filesystem::read_symlink(link).string(), path);

    int fd = OpenClient(path);
    ASSERT_GE(fd, 0) << path;
    Send(fd, "%DUMP_SYS\r");
    const std::string dump = ReadUntil(fd, "CMD OK\r\n");
    EXPECT_NE(dump.find("$DID RTU-0001\r\n"), std::string::npos) << dump;
    EXPECT_NE(dump.find("CMD OK\r\n"), std::string::npos) << dump;
    Send(fd, "%CS3+4912345\r");
    EXPECT_NE(ReadUntil(fd, "CMD OK\r\n").find("CMD OK"), std::string::npos);

    // A client that goes away does not end the unit; the next one is answered.
    close(fd);
    fd = OpenClient(path);
    ASSERT_GE(fd, 0);
    Send(fd, "%DUMP_PHONE\r");
    EXPECT_NE(ReadUntil(fd, "CMD OK\r\n").find("$CS3 +4912345\r\n"), std::string::npos);
    close(fd);

    EXPECT_EQ(sim.Terminate(), 0);
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(link)));
    std::ifstream in(saved);
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_NE(text.str().find("[DUMP_PHONE]\n"), std::string::npos);
    EXPECT_NE(text.str().find("\n$CS3 +4912345\n"), std::string::npos);
    std::filesystem::remove_all(dir);
}

TEST(SimPty, UnitThatDisappearsExitsWithZero)
{
    CSimProcess sim({"--latency-ms", "0", "--baud", "115200", "--exit-after", "1"});
    ASSERT_TRUE(sim.Started());
    const int fd = OpenClient(sim.FirstLine());
    ASSERT_GE(fd, 0);
    Send(fd, "%DUMPR\r");
    const std::string answer = ReadUntil(fd, "CMD OK\r\n");
    EXPECT_NE(answer.find("$DUMPR END"), std::string::npos) << answer;
    EXPECT_EQ(sim.Wait(), 0);
    close(fd);
}

}  // namespace
