// Behaviour settings of the simulated unit: console password, answer pacing and the
// named failure modes that tests choose from.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace rtu {

enum class ESimFailMode {
    None,    // a healthy unit
    NoAck,   // never acknowledges a command line, still dumps its reports
    Silent,  // transmits nothing at all (its receive side still works)
    Err,     // answers every command line with "CMD ERR" and applies nothing
};

// How the camera answers a picture request ("%memr0").
enum class ESimPictureMode {
    Ok,         // start line, the picture in chunks, the trailer
    Err,        // "$IMAGE_ERR"
    NoTrailer,  // start line and the picture, then nothing
    Oversized,  // start line and more bytes than the tool's picture buffer holds, then the trailer
};

struct SSimOptions {
    static constexpr int kDefaultLatencyMs = 5;            // delay before the unit answers
    static constexpr int kDefaultBaud = 9600;              // line speed that paces the output
    static constexpr int kDefaultSetupWindowMs = 3000;     // how long the "Press '%%%%'" prompt accepts the burst
    static constexpr std::uint32_t kDefaultNoiseSeed = 1;
    static constexpr int kDefaultStoredRecords = 300;     // the log of a unit that ran a few days  // noise is repeatable unless a seed is given

    std::optional<std::string> password;  // console login required when set and not empty
    int latencyMs = kDefaultLatencyMs;
    int baud = kDefaultBaud;
    int setupWindowMs = kDefaultSetupWindowMs;
    ESimFailMode failMode = ESimFailMode::None;
    bool noise = false;  // interleave garbage lines and binary bytes between answers
    std::uint32_t noiseSeed = kDefaultNoiseSeed;
    std::optional<int> exitAfter;     // disappear after this many command lines
    bool trace = false;               // record every line received and sent
    int recordIntervalMs = 0;         // real-time temperature records every this many ms; 0: none
    std::optional<int> eventEveryMs;  // report an alarm or restore event this often
    std::string picture;              // the camera's picture (JPEG bytes); empty: the unit has no camera
    ESimPictureMode pictureMode = ESimPictureMode::Ok;
    bool eventAfterPicture = false;  // an event line follows the picture's trailer in the same write
    int storedRecords = kDefaultStoredRecords;  // records the log answers a sync with
    bool logAckFirst = false;                   // a sync is acknowledged before the records come
};

}  // namespace rtu
