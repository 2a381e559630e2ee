#include "calculation/GimbalLock.h"

#include <cmath>

#include "shared/NumberText.h"
#include "shared/Units.h"

namespace kal {

const char* const kGimbalLockQuestion =
    "If rot y' is +-90\xc2\xb0 or CLOSE to +-90\xc2\xb0 (in general the second rotation for all rotation "
    "types!) "
    "there are multiple solutions for x and z rotation!\r\n"
    "This situation is called the Gimbal Lock and means the first and third rotation is in the same axis; "
    "you "
    "can visualize with a Gyroscop.\r\n\r\n"
    "Fix x rotation to any value and related z rotation will be calculated, also you can do "
    "contrariwise.\r\n\r\n"
    "Should x rotation be fixed to 0 and the transformation be calculated again?";

bool gimbalLockNear(const std::string& rotYText, double angleFactor, double border, bool rotXEstimated,
                    bool rotZEstimated) {
    if (!rotXEstimated || !rotZEstimated || angleFactor == 0) return false;
    double v = 0;
    try {
        v = leadingOwnNumber(dmsToDecimalText(rotYText));
    } catch (const std::exception&) {
        return false;  // a text that reads as no angle is no lock
    }
    constexpr double kPi = 3.14159265358979;
    const double d = std::fabs(std::fabs(v / angleFactor) - kPi / 2);
    return d < border;
}

bool GimbalLockWatch::check(const JobState& job, const ParameterPanel& panel) {
    pending_ = gimbalLockNear(panel.row(kRotY).valueText, job.AngleFactor, job.GimbalLockBorder,
                              panel.row(kRotX).estimate, panel.row(kRotZ).estimate);
    return pending_;
}

bool GimbalLockWatch::askPending(CalculationFlow& flow, JobState& job, platform::Prompter& prompter) {
    if (!pending_ || asking_ || flow.busy()) return false;
    pending_ = false;
    asking_ = true;
    const platform::Answer answer =
        prompter.message(kGimbalLockQuestion, platform::Buttons::YesNo, kGimbalLockTitle);
    asking_ = false;
    if (answer != platform::Answer::Yes) return true;
    // One calculation for the answer: automatic recalculation waits while rot x is fixed.
    ParameterPanel& panel = flow.panel();
    const bool autoRecalc = job.AutoRecalc;
    if (autoRecalc) panel.setAutoRecalc(false);
    panel.setEstimate(kRotX, false);
    panel.setValueText(kRotX, "0");
    if (autoRecalc) panel.setAutoRecalc(true);
    flow.runCalculation();
    return true;
}

}  // namespace kal
