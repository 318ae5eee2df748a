#include "shell/MessageTexts.h"

#include <cstdio>
#include <string_view>

#include "link/DeviceLink.h"
#include "pages/framework/TextCatalog.h"
#include "session/CommTestCommands.h"
#include "session/Session.h"
#include "session/SoundUpload.h"

namespace {

struct FixedText {
    const char* key;   // in the catalog's "Messages" section
    const char* text;  // the session's own wording
    const char* english = nullptr;  // shown when the catalog has none and the own wording is not English
};

constexpr FixedText kTexts[] = {
    {"POWERING_UP", "Poweruping....."},
    {"CAMERA_INIT", "Initing cmos camera....."},
    {"POWERUP_OK", "Powerup success"},
    {"SYSTEM_STARTING", "System starting...."},
    {"SETUP_MODE", "Come into setup mode success"},
    {"NETWORK_REGISTERING", "Network registing......"},
    {"RTU_POWERING_UP", "RTU power uping..."},
    {"WORKING_MODE", "Come into working mode"},
    {"MODULE_PARAMS", "Setting module params....."},
    {"GPRS_ATTACHING", "GPRS attaching....."},
    {"LOGIN_OK", "Logging successfully"},
    {"PASSWORD_WRONG", "Password is incorrect!!"},
    {"RELOAD_OK", "Reload successfully, connected with PC!"},
    {"LOGGED_IN", "You have logined!"},
    {"LOGIN_REFUSED", rtu::CDeviceLink::kLoginRefused},
    {"PROFILE_OPEN_FAILED", rtu::CSession::kOpenProfileFailed},
    {"PROFILE_SAVED", rtu::CSession::kSaveProfileOk},
    {"PROFILE_WRITE_FAILED", rtu::CSession::kWriteProfileFailed},
    {"PROFILE_EXECUTED", rtu::CSession::kExecProfileOk},
    {"WAV_OPEN_FAILED", rtu::CSoundUpload::kOpenError},
    {"WAV_NO_START", rtu::CSoundUpload::kNoStartResponse},
    {"WAV_DOWNLOADED", rtu::CSoundUpload::kDownloadOk},
    {"WAV_DOWNLOAD_FAILED", rtu::CSoundUpload::kDownloadError},
    {"FILE_UPLOADED", rtu::CSoundUpload::kUploadOkStatus},
    {"ENTER_TEST_NUMBER", rtu::comm::kEnterNumber, "Enter the test number first."},
};

// The link's count of a picture transfer ("totle" as the unit's tool spells it).
constexpr const char* kPictureCount = "copy %zu byte data, totle=%zu";

}  // namespace

const char* CMessageTexts::KeyOf(const std::string& text)
{
    for (const FixedText& t : kTexts)
        if (text == t.text) return t.key;
    return nullptr;
}

QString CMessageTexts::Shown(const std::string& text) const
{
    // The picture transfer's count, the numbers put into the catalog's wording.
    std::size_t copied = 0, total = 0;
    if (std::sscanf(text.c_str(), kPictureCount, &copied, &total) == 2) {
        const std::string own = catalog_ ? catalog_->GetText(kSection, "PICTURE_COUNT") : std::string();
        return (own.empty() ? QStringLiteral("Picture: %2 bytes received (+%1)") : QString::fromStdString(own))
            .arg(copied)
            .arg(total);
    }
    for (const FixedText& t : kTexts) {
        const std::string_view fixed = t.text;
        const bool whole = text == fixed;
        if (!whole && !(text.size() > fixed.size() && text.starts_with(fixed) && text[fixed.size()] == ' ')) continue;
        std::string own = catalog_ ? catalog_->GetText(kSection, t.key) : std::string();
        if (own.empty() && t.english) own = t.english;
        if (own.empty()) break;
        return QString::fromStdString(own + text.substr(fixed.size()));
    }
    return QString::fromStdString(text);
}
