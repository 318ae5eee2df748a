// rtusim: a simulated "GPRS RTU 4Din/4Dout/4AD/4TI" unit on a pseudo-terminal.
// Prints the slave's path as its first line, then answers the unit's console protocol
// on it until SIGINT or SIGTERM.
#include <CLI/CLI.hpp>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <string>
#include <unistd.h>
#include <vector>

#include "sim/SimLoop.h"
#include "sim/SimPty.h"
#include "sim/core/SimImage.h"
#include "sim/core/SimUnit.h"

namespace fs = std::filesystem;

namespace {

constexpr int kExitOk = 0;
constexpr int kExitFailure = 1;  // the run itself failed (pty, saving the image)
constexpr int kExitUsage = 2;    // bad options or an unreadable image
constexpr const char* kDefaultImageName = "default.image";
constexpr const char* kDefaultPassword = "open the gate wide";  // the tool's password until changed

constexpr const char* kDefaultPictureName = "camera.jpg";
constexpr std::size_t kMaxPictureBytes = 1024 * 1024;  // largest picture file the camera sends

// Where a shipped data file lives: the source tree, the installed data, beside the program,
// the data of the prefix the program is installed in.
std::optional<std::string> FindSimData(const char* name)
{
    std::vector<fs::path> candidates{fs::path(RTU_SOURCE_DATA_DIR) / "sim" / name,
                                     fs::path(RTU_DATA_DIR) / "sim" / name};
    std::error_code ec;
    const fs::path self = fs::read_symlink("/proc/self/exe", ec);
    if (!ec) {
        candidates.push_back(self.parent_path() / name);
        candidates.push_back(self.parent_path() / "sim" / name);
        // An installed program, wherever the package put its prefix.
        candidates.push_back(self.parent_path() / ".." / "share" / "rtuconfig" / "sim" / name);
    }
    for (const auto& candidate : candidates)
        if (fs::is_regular_file(candidate, ec)) return candidate.string();
    return std::nullopt;
}

std::optional<std::string> FindDefaultImage() { return FindSimData(kDefaultImageName); }

// The camera's picture; nothing (and said why) when the file cannot be read whole.
std::optional<std::string> LoadPicture(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::string bytes;
    if (in) {
        char buffer[4096];
        while (bytes.size() <= kMaxPictureBytes && in.read(buffer, sizeof buffer).gcount() > 0)
            bytes.append(buffer, static_cast<std::size_t>(in.gcount()));
    }
    if (!in.eof() || bytes.empty() || bytes.size() > kMaxPictureBytes) {
        std::fprintf(stderr, "rtusim: cannot use %s as the camera picture\n", path.c_str());
        return std::nullopt;
    }
    return bytes;
}

std::optional<rtu::CSimImage> LoadImage(const std::string& path)
{
    std::string error;
    auto image = rtu::CSimImage::Load(path, error);
    if (!image) std::fprintf(stderr, "rtusim: %s\n", error.c_str());
    return image;
}

class CLinkGuard {
public:
    CLinkGuard(std::string link, std::string target) : link_(std::move(link)), target_(std::move(target)) {}
    ~CLinkGuard()
    {
        std::error_code ec;
        if (!link_.empty() && fs::is_symlink(link_, ec) && fs::read_symlink(link_, ec) == target_)
            fs::remove(link_, ec);
    }
    CLinkGuard(const CLinkGuard&) = delete;
    CLinkGuard& operator=(const CLinkGuard&) = delete;

private:
    std::string link_;
    std::string target_;
};

}  // namespace

int main(int argc, char** argv)
{
    CLI::App app{"rtusim: a simulated GPRS RTU 4Din/4Dout/4AD/4TI unit on a pseudo-terminal.\n"
                 "Prints the pseudo-terminal's path as its first line; runs until SIGINT/SIGTERM;\n"
                 "SIGUSR1 switches the unit off and on.",
                 "rtusim"};
    app.set_version_flag("--version", std::string("rtusim ") + RTU_VERSION);

    rtu::SSimOptions options;
    std::string imagePath, factoryPath, savePath, tracePath, linkPath, password, failName = "none";
    bool banner = false, requireLogin = false;
    int exitAfter = 0;
    app.add_option("--image", imagePath, "device image to start from (an empty file is an empty unit)");
    app.add_option("--factory-image", factoryPath, "image that %ATF restores (default: the default image)");
    app.add_option("--save-image", savePath, "write the image here on exit (canonical form)");
    app.add_option("--trace", tracePath, "record every line received and sent, with times");
    app.add_option("--link", linkPath, "also make a symbolic link to the pseudo-terminal here");
    app.add_flag("--banner", banner, "print the power-up banner at start");
    app.add_option("--password", password, "console password; the unit asks for a login");
    app.add_flag("--require-login", requireLogin,
                 std::string("ask for a login (password \"") + kDefaultPassword + "\" unless --password is given)");
    app.add_option("--latency-ms", options.latencyMs, "delay before answering a command")->check(CLI::Range(0, 60000));
    app.add_option("--baud", options.baud, "line speed that paces the output (10 bits per byte)")
        ->check(CLI::Range(50, 4000000));
    app.add_option("--setup-window-ms", options.setupWindowMs,
                   "how long after the \"Press '%%%%'\" prompt a burst enters setup mode")
        ->check(CLI::Range(1, 600000));
    app.add_option("--fail", failName, "failure mode: none, no-ack, silent, err")
        ->check(CLI::IsMember({"none", "no-ack", "silent", "err"}));
    app.add_option("--records-ms", options.recordIntervalMs,
                   "send a line of real-time temperature records every N ms (0: none, the default)")
        ->check(CLI::Range(0, 3600000));
    int eventEveryMs = 0;
    app.add_option("--event-every-ms", eventEveryMs, "report an alarm or restore event this often")
        ->check(CLI::Range(1, 3600000));
    std::string picturePath, pictureMode = "ok";
    app.add_option("--picture", picturePath, "JPEG file the camera sends (default: the shipped camera.jpg)");
    app.add_option("--picture-mode", pictureMode, "how the camera answers: ok, err, no-trailer, oversized")
        ->check(CLI::IsMember({"ok", "err", "no-trailer", "oversized"}));
    app.add_flag("--event-after-picture", options.eventAfterPicture,
                 "send an event line right after the picture's trailer, in the same write");
    app.add_option("--stored-records", options.storedRecords, "records the log answers a sync with (default 300)")
        ->check(CLI::Range(0, 1000000));
    app.add_flag("--log-ack-first", options.logAckFirst, "acknowledge a sync before sending the stored records");
    app.add_flag("--noise", options.noise, "interleave garbage lines and binary bytes between answers");
    app.add_option("--seed", options.noiseSeed, "seed of the noise");
    app.add_option("--exit-after", exitAfter, "close the pty and exit after this many command lines")
        ->check(CLI::Range(1, 1 << 30));
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        return app.exit(e) == 0 ? kExitOk : kExitUsage;
    }

    if (failName == "no-ack") options.failMode = rtu::ESimFailMode::NoAck;
    else if (failName == "silent") options.failMode = rtu::ESimFailMode::Silent;
    else if (failName == "err") options.failMode = rtu::ESimFailMode::Err;
    if (!password.empty()) options.password = password;
    else if (requireLogin) options.password = kDefaultPassword;
    if (exitAfter > 0) options.exitAfter = exitAfter;
    options.trace = !tracePath.empty();
    if (eventEveryMs > 0) options.eventEveryMs = eventEveryMs;
    if (pictureMode == "err") options.pictureMode = rtu::ESimPictureMode::Err;
    else if (pictureMode == "no-trailer") options.pictureMode = rtu::ESimPictureMode::NoTrailer;
    else if (pictureMode == "oversized") options.pictureMode = rtu::ESimPictureMode::Oversized;
    if (picturePath.empty()) picturePath = FindSimData(kDefaultPictureName).value_or("");
    if (!picturePath.empty()) {
        auto picture = LoadPicture(picturePath);
        if (!picture) return kExitUsage;
        options.picture = std::move(*picture);
    }

    const auto defaultPath = FindDefaultImage();
    std::optional<rtu::CSimImage> image, factory;
    if (!imagePath.empty()) image = LoadImage(imagePath);
    else if (defaultPath) image = LoadImage(*defaultPath);
    else std::fprintf(stderr, "rtusim: no %s found; give --image\n", kDefaultImageName);
    if (!image) return kExitUsage;
    if (!factoryPath.empty()) factory = LoadImage(factoryPath);
    else factory = defaultPath ? LoadImage(*defaultPath) : image;
    if (!factory) return kExitUsage;

    std::FILE* trace = nullptr;
    if (!tracePath.empty()) {
        trace = std::fopen(tracePath.c_str(), "w");
        if (!trace) {
            std::fprintf(stderr, "rtusim: cannot open %s: %s\n", tracePath.c_str(), std::strerror(errno));
            return kExitUsage;
        }
    }

    rtu::CSimUnit unit(options, std::move(*image), std::move(*factory));
    rtu::CSimPty pty;
    rtu::CSimLoop loop(unit, pty, trace);
    std::string error;
    if (!loop.Prepare(error) || !pty.Open(error)) {
        std::fprintf(stderr, "rtusim: %s\n", error.c_str());
        return kExitFailure;
    }
    if (!linkPath.empty()) {
        std::error_code ec;
        if (fs::is_symlink(linkPath, ec)) fs::remove(linkPath, ec);
        fs::create_symlink(pty.SlavePath(), linkPath, ec);
        if (ec) {
            std::fprintf(stderr, "rtusim: cannot link %s: %s\n", linkPath.c_str(), ec.message().c_str());
            return kExitFailure;
        }
    }
    CLinkGuard linkGuard(linkPath, pty.SlavePath());
    std::printf("%s\n", pty.SlavePath().c_str());
    std::fflush(stdout);

    loop.Run(banner);
    pty.Close();
    if (trace) std::fclose(trace);

    int rc = kExitOk;
    if (!savePath.empty() && !unit.Image().Save(savePath, error)) {
        std::fprintf(stderr, "rtusim: %s\n", error.c_str());
        rc = kExitFailure;
    }
    if (unit.DroppedInput() > 0 || loop.DroppedOutput() > 0)
        std::fprintf(stderr, "rtusim: %zu received and %zu unsent bytes were lost while the line was backed up\n",
                     unit.DroppedInput(), loop.DroppedOutput());
    return rc;
}
