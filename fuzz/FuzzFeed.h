// Feeds a fuzz input to a session as the serial port would hand it over, in chunks whose
// sizes the input chooses, taking its events and letting time pass.
//
// Input: byte 0 gives the count (0..7) of the chunk-size bytes that follow it; chunk k is
// 1 + size[k % count] * kChunkStep bytes long (at most the port's largest chunk). With no
// size bytes the rest goes in chunks of the largest size. The rest is the received data.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzSession.h"
#include "link/SerialPort.h"

namespace rtu::fuzz {

inline constexpr std::size_t kMaxSizeBytes = 8;  // chunk-size bytes: 0..7 of them
inline constexpr std::size_t kChunkStep = 33;    // chunk length per unit of a size byte
inline constexpr Millis kChunkGapMs = 60;        // time between two chunks on the fake clock

// The catalog the tool ships, loaded once.
inline const CTextCatalog& Catalog()
{
    static const CTextCatalog catalog = [] {
        CTextCatalog c;
        c.Load(RTU_CATALOG_PATH);
        return c;
    }();
    return catalog;
}

// One session for the whole process, with the shipped catalog.
inline CFuzzSession& SharedSession()
{
    static CFuzzSession session(&Catalog());
    return session;
}

// Feeds `data` (size > 0) as described above.
inline void Feed(CFuzzSession& fuzz, const std::uint8_t* data, std::size_t size)
{
    const std::size_t count = std::min<std::size_t>(data[0] % kMaxSizeBytes, size - 1);
    const std::uint8_t* sizes = data + 1;
    std::string_view rest(reinterpret_cast<const char*>(data + 1 + count), size - 1 - count);
    CSession& session = fuzz.Session();
    for (std::size_t k = 0; !rest.empty(); ++k) {
        const std::size_t want =
            count == 0 ? CSerialPort::kReceiveBufferSize : 1 + static_cast<std::size_t>(sizes[k % count]) * kChunkStep;
        const std::size_t n = std::min({want, rest.size(), CSerialPort::kReceiveBufferSize});
        session.HandleReceive(rest.substr(0, n));
        rest.remove_prefix(n);
        fuzz.Drain();
        fuzz.now += kChunkGapMs;
        session.HandleTime();
        fuzz.Drain();
    }
}

}  // namespace rtu::fuzz
