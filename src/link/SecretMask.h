// Secrets in what is made to be shared. The unit's PINs and passwords and the console
// password become a fixed mask in support archives and in masked profiles and exports. The
// key stays, so a reader still sees whether a secret is set; an empty secret stays empty.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace rtu {

// What a secret reads as wherever it was masked.
inline constexpr std::string_view kSecretMask = "********";

// How secrets show on the wire: the keys they follow (report keys, command keywords) and the
// values known to be secret (the console password, the PINs and passwords a unit reported).
struct SecretMarks {
    static constexpr std::size_t kMinValueLength = 4;  // shorter known values are masked by their keys only

    std::vector<std::string> keys;
    std::vector<std::string> values;

    // Adds a key or value once; empty keys and values shorter than kMinValueLength are left out.
    void AddKey(std::string_view key);
    void AddValue(std::string_view value);
};

// A wire trace (one line per block or chunk, as CWireTrace writes it) with every secret masked:
// - what follows a key, to the end of its line; each direction is followed as one stream, so a
//   key or a value split between two chunks is masked too;
// - every known secret value, wherever it stands;
// - the block sent after the unit asked for its console password (or refused it).
// Lines that are not block or chunk lines stay as they are.
std::string MaskTrace(std::string_view trace, const SecretMarks& marks);

// Settings text (key=value lines) with the value of every key that names a password (and the
// console password "SVRIP") masked; an empty value stays empty. Masked values are added to
// `masked` when given.
std::string MaskSettings(std::string_view settings, SecretMarks* masked = nullptr);

}  // namespace rtu
