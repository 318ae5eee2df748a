// The secrets of every page swapped for the mask while a copy made to be shared is written
// (a masked profile, a masked export), and put back when it ends. Empty secrets stay empty,
// so the copy still tells a set secret from an empty one. Nobody is told of the swap.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "pages/framework/PageBase.h"

namespace rtu {

class CMaskedSecrets {
public:
    CMaskedSecrets(const std::vector<std::unique_ptr<CPageBase>>& pages, bool mask);
    ~CMaskedSecrets();
    CMaskedSecrets(const CMaskedSecrets&) = delete;
    CMaskedSecrets& operator=(const CMaskedSecrets&) = delete;

private:
    struct Held {
        CPageBase* page;
        int id;
        std::string text;
    };
    std::vector<Held> held_;
};

// The comment line that opens a profile written with its secrets masked.
inline constexpr const char* kMaskedProfileNote =
    "//Secrets masked: each ******** stands for a PIN or password left out; put the real values in "
    "before this profile goes to a unit\n";

}  // namespace rtu
