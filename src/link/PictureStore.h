// Where camera pictures are kept: "1.jpg" (the latest, which the MMS views show) and a copy
// named after the time it arrived, so that the next picture does not replace the last one.
// The folder is $XDG_DATA_HOME/rtuconfig/pictures (default ~/.local/share/rtuconfig/pictures).
#pragma once

#include <ctime>
#include <string>
#include <string_view>

namespace rtu {

struct PictureFiles {
    std::string latest;  // "<folder>/1.jpg"; empty when it could not be written
    std::string copy;    // "<folder>/picture-YYYYMMDD-HHMMSS[-n].jpg"; empty when it failed
    std::string error;   // why nothing (or only part) was written; empty on success
};

class CPictureStore {
public:
    static constexpr const char* kLatestName = "1.jpg";
    static constexpr int kMaxSameSecond = 100;  // copies told apart within one second

    // The default folder; empty when neither XDG_DATA_HOME nor HOME is set.
    static std::string DefaultFolder();
    // Writes both files (the folder is created when missing). `when` names the copy.
    static PictureFiles Save(const std::string& folder, std::string_view bytes, std::time_t when);
};

}  // namespace rtu
