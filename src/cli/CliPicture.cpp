// rtuctl picture: asks the camera for one picture and writes it.
#include <cstdio>
#include <ctime>
#include <optional>

#include "cli/CliCommands.h"
#include "link/ImageCollector.h"
#include "link/PictureStore.h"
#include "link/SafeFileWriter.h"

namespace rtu::cli {

int CmdPicture(CCliLoop& loop, const std::string& outPath)
{
    std::optional<bool> ok;
    std::string why = "the unit sent no picture";
    loop.onStatus = [&why](const ev::Status& s) {
        if (s.text == "image get error!" || s.text == "jpeg data overload!!" || s.text == CImageCollector::kStoppedText ||
            s.text == CImageCollector::kOverdueText)
            why = s.text;
    };
    loop.onTransferEnded = [&ok](const ev::TransferEnded& e) {
        if (e.job == CSession::kPictureJob) ok = e.ok;
    };
    loop.Session().FetchPicture();
    loop.RunUntil([&] { return ok.has_value(); }, loop.Deadline());
    loop.onStatus = nullptr;
    loop.onTransferEnded = nullptr;
    if (loop.PortLost()) return kExitNoAnswer;
    if (!ok || !*ok) {
        std::fprintf(stderr, "rtuctl: no picture: %s\n", why.c_str());
        return kExitNoAnswer;
    }
    const std::string bytes = loop.Session().TakePicture();
    std::string error;
    if (!outPath.empty()) {
        if (!WriteFileSafely(outPath, bytes, error)) {
            std::fprintf(stderr, "rtuctl: %s\n", error.c_str());
            return kExitOutput;
        }
        std::printf("%s\n", outPath.c_str());
        return kExitOk;
    }
    const PictureFiles files = CPictureStore::Save(CPictureStore::DefaultFolder(), bytes, std::time(nullptr));
    if (!files.error.empty()) {
        std::fprintf(stderr, "rtuctl: %s\n", files.error.c_str());
        return kExitOutput;
    }
    std::printf("%s\n%s\n", files.latest.c_str(), files.copy.c_str());
    return kExitOk;
}

}  // namespace rtu::cli
