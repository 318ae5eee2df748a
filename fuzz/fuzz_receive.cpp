// Received bytes, as the serial port hands them over, through a session with every page:
// the line framer, the console table, the routing, every page parser, the picture mode,
// the posted commands and the events, and at the end the JSON export and the profile writers.
//
// Input: byte 0 gives the count (0..7) of the chunk-size bytes that follow it; chunk k is
// 1 + size[k % count] * kChunkStep bytes long (at most the port's largest chunk). With no
// size bytes the rest goes in chunks of the largest size. The rest is the received data.
// When bit 7 of byte 0 is set, the export and the profile text are left out (they cost
// more than the rest, so the fuzzer gets through more inputs).
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "link/SerialPort.h"
#include "session/Session.h"

namespace {

constexpr std::size_t kMaxSizeBytes = 8;   // chunk-size bytes: 0..7 of them
constexpr std::size_t kChunkStep = 33;     // chunk length per unit of a size byte
constexpr rtu::Millis kChunkGapMs = 60;    // time between two chunks on the fake clock
constexpr std::uint8_t kSkipExportBit = 0x80;  // in byte 0: no export at the end

const rtu::CTextCatalog& Catalog()
{
    static const rtu::CTextCatalog catalog = [] {
        rtu::CTextCatalog c;
        c.Load(RTU_CATALOG_PATH);
        return c;
    }();
    return catalog;
}

// Takes every event, as a front end does after each call.
void Drain(rtu::CSession& session)
{
    session.DrainEvents([](const rtu::SessionEvent&) {});
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0) return 0;
    const std::size_t count = std::min<std::size_t>(data[0] % kMaxSizeBytes, size - 1);
    const std::uint8_t* sizes = data + 1;
    std::string_view rest(reinterpret_cast<const char*>(data + 1 + count), size - 1 - count);

    rtu::Millis now = 0;
    rtu::CSession session([](std::string_view) { return true; }, [&now] { return now; }, &Catalog());

    for (std::size_t k = 0; !rest.empty(); ++k) {
        const std::size_t want = count == 0 ? rtu::CSerialPort::kReceiveBufferSize
                                            : 1 + static_cast<std::size_t>(sizes[k % count]) * kChunkStep;
        const std::size_t n = std::min({want, rest.size(), rtu::CSerialPort::kReceiveBufferSize});
        session.HandleReceive(rest.substr(0, n));
        rest.remove_prefix(n);
        Drain(session);
        now += kChunkGapMs;
        session.HandleTime();
        Drain(session);
    }

    if (data[0] & kSkipExportBit) return 0;
    // Report values are the unit's bytes and need not be UTF-8; the export replaces what
    // is not (a plain dump() throws on such a value).
    const std::string json = session.ExportJson().dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
    const std::string profile = session.ProfileText();
    if (json.empty()) __builtin_trap();
    (void)profile;
    return 0;
}
