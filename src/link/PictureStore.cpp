#include "link/PictureStore.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "link/SafeFileWriter.h"

namespace fs = std::filesystem;

namespace rtu {
namespace {

constexpr const char* kAppDirName = "rtuconfig";
constexpr const char* kPicturesDirName = "pictures";
constexpr std::size_t kNameSize = 64;  // "picture-YYYYMMDD-HHMMSS-nn.jpg" and its terminator

}  // namespace

std::string CPictureStore::DefaultFolder()
{
    const char* data = std::getenv("XDG_DATA_HOME");
    const char* home = std::getenv("HOME");
    fs::path dir;
    if (data && data[0] == '/') dir = data;  // relative values are ignored, as for every XDG variable
    else if (home && home[0] != '\0') dir = fs::path(home) / ".local" / "share";
    else return {};
    return (dir / kAppDirName / kPicturesDirName).string();
}

PictureFiles CPictureStore::Save(const std::string& folder, std::string_view bytes, std::time_t when)
{
    PictureFiles out;
    if (folder.empty()) {
        out.error = "no folder for pictures (HOME is not set)";
        return out;
    }
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (ec) {
        out.error = folder + ": " + ec.message();
        return out;
    }
    const std::string latest = (fs::path(folder) / kLatestName).string();
    if (!WriteFileSafely(latest, bytes, out.error)) return out;
    out.latest = latest;

    std::tm local{};
    localtime_r(&when, &local);
    char stamp[kNameSize];
    std::strftime(stamp, sizeof stamp, "picture-%Y%m%d-%H%M%S", &local);
    for (int n = 1; n <= kMaxSameSecond; ++n) {
        std::string name = stamp;
        if (n > 1) name += "-" + std::to_string(n);
        const fs::path path = fs::path(folder) / (name + ".jpg");
        if (fs::exists(path, ec)) continue;
        if (WriteFileSafely(path.string(), bytes, out.error)) out.copy = path.string();
        return out;
    }
    out.error = folder + ": too many pictures within one second";
    return out;
}

}  // namespace rtu
