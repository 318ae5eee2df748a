#include "pages/gpio/Calibration.h"

#include <cmath>

#include "pages/framework/Printf.h"
#include "link/TextFields.h"

namespace rtu {
namespace {

std::optional<double> Number(const std::string& text)
{
    if (!IsDecimal(text)) return std::nullopt;
    return LeadingDouble(text);
}

Calibration Refuse(CalibrationField field, std::string reason)
{
    Calibration c;
    c.problem = CalibrationProblem{field, std::move(reason)};
    return c;
}

}  // namespace

Calibration Calibrate(const CalibrationInput& in)
{
    using F = CalibrationField;
    const struct {
        const std::string& text;
        F field;
    } inputs[] = {{in.signalLow, F::SignalLow},
                  {in.signalHigh, F::SignalHigh},
                  {in.actualLow, F::ActualLow},
                  {in.actualHigh, F::ActualHigh},
                  {in.constant, F::Constant}};
    for (const auto& i : inputs)
        if (!Number(i.text)) return Refuse(i.field, "Enter a number such as 4 or 20.5.");
    const double sl = *Number(in.signalLow), sh = *Number(in.signalHigh);
    const double al = *Number(in.actualLow), ah = *Number(in.actualHigh);
    const double q = *Number(in.constant);
    if (sh == sl) return Refuse(F::SignalHigh, "The high signal value must differ from the low one.");

    double scale = 0, zero = 0;
    const double slope = (ah - al) / (sh - sl);
    if (in.version == Calibration::kDirectVersion) {
        scale = slope;
        zero = sl * slope - al;
    } else {
        const double s = slope == 0 ? q : slope;
        scale = q / s;
        zero = sl * s - al;
        if (in.volts) scale = scale * Calibration::kVoltFactor * Calibration::kMilli;
    }
    if (!std::isfinite(scale) || !std::isfinite(zero))
        return Refuse(slope == 0 ? F::ActualHigh : F::SignalHigh,
                      "These values give no finite scale; check the signal and actual ranges.");
    Calibration c;
    // Adding 0.0 turns a negative zero into a plain one, so no "-0.0000" goes to the unit.
    c.result = CalibrationResult{Printf("%.4f", scale + 0.0), Printf("%.4f", zero + 0.0)};
    return c;
}

}  // namespace rtu
