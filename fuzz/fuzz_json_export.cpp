// What a session writes out once received reports have filled its pages. Whatever the unit
// sent, the JSON export must be valid JSON that parses back to an object with one member
// per page. The input is laid out as FuzzFeed.h describes; unless bit 7 of byte 0 is set,
// the profile text is written as well.
#include <cstddef>
#include <cstdint>
#include <string>

#include <nlohmann/json.hpp>

#include "FuzzFeed.h"

namespace {

constexpr std::uint8_t kSkipProfileBit = 0x80;  // in byte 0: no profile text

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0) return 0;
    rtu::fuzz::CFuzzSession& fuzz = rtu::fuzz::SharedSession();
    fuzz.Reset();
    rtu::fuzz::Feed(fuzz, data, size);

    const std::string text = fuzz.Session().ExportJsonText();
    const nlohmann::json back = nlohmann::json::parse(text, nullptr, false);
    if (back.is_discarded() || !back.is_object()) __builtin_trap();
    if (back.size() != fuzz.Session().Pages().size()) __builtin_trap();

    if (!(data[0] & kSkipProfileBit)) {
        const std::string profile = fuzz.Session().ProfileText();
        (void)profile;
    }
    return 0;
}
