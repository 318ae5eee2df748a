// The unit's service tests, as the simulated unit runs them: the answer lines each test
// command prints before its acknowledgement. The readings are fixed, plausible values of a
// healthy unit on the bench; the modem pass-through ("%ATAT...") answers as a modem would.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace rtu {

class CSimServiceTests {
public:
    static constexpr std::size_t kMaxNumberBytes = 32;  // longest test phone number accepted

    // The answer to one command line (without its leading "%" and terminator), its
    // acknowledgement last; nothing when the line is no service test. A malformed test (a
    // number that is not one) answers "CMD ERR" alone.
    static std::optional<std::vector<std::string>> Answer(std::string_view command);
};

}  // namespace rtu
