// The two-point calibration of an analog input: from two signal values (current or voltage)
// and the readings they stand for, the scale and zero the unit applies.
#pragma once

#include <optional>
#include <string>

namespace rtu {

struct CalibrationInput {
    std::string signalLow, signalHigh;  // Sl, Sh
    std::string actualLow, actualHigh;  // Al, Ah
    std::string constant = "62";        // Q, the converter's constant
    bool volts = false;                 // the signal unit is V (else mA)
    int version = 1;                    // the unit's analog version
};

struct CalibrationResult {
    std::string scale;  // "%.4f"
    std::string zero;   // "%.4f"
};

// Which input stops the calculation, and why.
enum class CalibrationField { SignalLow, SignalHigh, ActualLow, ActualHigh, Constant };
struct CalibrationProblem {
    CalibrationField field;
    std::string reason;
};

// Version 2: k = (Ah - Al) / (Sh - Sl); scale = k, zero = Sl * k - Al. Other versions:
// s = (Ah - Al) / (Sh - Sl), s = Q when s is 0; scale = Q / s, zero = Sl * s - Al, and for
// a voltage signal scale * 1000 / 95. A value that is not a number, equal signal values or
// a result that is not finite give a problem instead: nothing undefined reaches the unit.
struct Calibration {
    static constexpr double kVoltFactor = 0.010526315789473684;  // 1 / 95
    static constexpr double kMilli = 1000.0;                     // V to mV
    static constexpr int kDirectVersion = 2;                     // the version with the direct formula

    std::optional<CalibrationResult> result;
    std::optional<CalibrationProblem> problem;
};
Calibration Calibrate(const CalibrationInput& in);

}  // namespace rtu
