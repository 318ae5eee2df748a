// The unit's side of the digital I/O, pulse counter and analog commands: inputs and outputs,
// input delays, counters, analog limits, calibration and the extended analog ranges. Some of
// these commands change one field of a report that carries several values ("$AINEXT",
// "$AINOOC"), so they work on the image itself.
#pragma once

#include <optional>
#include <string_view>

#include "sim/core/SimImage.h"

namespace rtu {

class CSimIoRules {
public:
    // Applies one command line (without its "%" and terminator). nullopt: not one of these
    // commands; otherwise whether the unit stored it.
    static std::optional<bool> Execute(CSimImage& image, std::string_view command);
};

}  // namespace rtu
