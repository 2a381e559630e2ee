#include "annotation/LimitBoxes.h"

#include <algorithm>
#include <cmath>

#include "shared/Errors.h"
#include "shared/NumberText.h"

namespace kal {

int limitDecimals(double lengthFactor) {
    if (!(lengthFactor > 0) || !std::isfinite(lengthFactor)) return 2;
    // One last digit at most 0.01 mm: 10^-d <= 0.01·LF. A tiny margin keeps 0.01 mm itself exact.
    const int d = static_cast<int>(std::ceil(-std::log10(0.01 * lengthFactor) - 1e-9));
    return std::clamp(d, 2, 9);
}

const char* limitBoxCaption(LimitBox box) { return box == LimitBox::Lower ? "-Tolerance" : "+Tolerance"; }

std::optional<double> extremeColourBasis(const PointCloud& cloud, const JobState& job, bool onlyUsed,
                                         bool largest) {
    const std::int32_t n = std::min(job.IdenticalCount, cloud.count());
    std::optional<double> best;
    for (std::int32_t i = 1; i <= n; ++i) {
        if (onlyUsed) {
            const auto first = static_cast<std::size_t>(3 * i - 2);
            if (first + 2 >= job.UseFlags.size()) continue;
            if (job.UseFlags[first] == 0 || job.UseFlags[first + 1] == 0 || job.UseFlags[first + 2] == 0)
                continue;
        }
        const double v = cloud(i, cloud::ColourBasis);
        if (!best || (largest ? v > *best : v < *best)) best = v;
    }
    return best;
}

LimitBoxes::LimitBoxes(double lengthFactor) : lengthFactor_(lengthFactor) {}

std::string LimitBoxes::format(double display) const {
    return formatNumber(display, decimalsPattern(decimals()));
}

bool LimitBoxes::setPair(double display) {
    const std::string pattern = decimalsPattern(decimals());
    const double stepSize = std::pow(10.0, -decimals());
    // Read back what the box would show, so a value that formats to 0 becomes one last digit.
    double magnitude = std::fabs(ownNumber(formatNumber(display, pattern)));
    if (magnitude == 0) magnitude = stepSize;
    const std::string lower = format(-magnitude), upper = format(magnitude);
    const bool changed = lower != lower_ || upper != upper_;
    lower_ = acceptedLower_ = lower;
    upper_ = acceptedUpper_ = upper;
    return changed;
}

void LimitBoxes::load(double minMm, double maxMm) {
    // The lower box is set first and mirrored, then the upper box overrides it.
    if (std::isfinite(lengthFactor_ * maxMm)) setPair(lengthFactor_ * maxMm);
    (void)minMm;
}

const std::string& LimitBoxes::edit(LimitBox box, std::string_view typed) {
    std::string& t = textOf(box);
    t = std::string(typed);
    return t;
}

LimitBoxes::Finished LimitBoxes::finish(LimitBox box) {
    std::string& t = textOf(box);
    if (const auto value = plainNumber(t, {.minus = true, .fraction = true})) {
        try {
            return {setPair(*value), std::nullopt};
        } catch (const std::exception&) {
            // A number too large to format is refused like any other unreadable text.
        }
    }
    const std::string typed = t;
    lower_ = acceptedLower_;
    upper_ = acceptedUpper_;
    return {typed != textOf(box),
            refusedNumberMessage(limitBoxCaption(box), typed, "a plain number such as 0.5", textOf(box))};
}

bool LimitBoxes::step(LimitBox box, int direction) {
    double value = 0;
    try {
        value = ownNumber(text(box));
    } catch (const std::exception&) {
        return false;
    }
    const double stepSize = std::pow(10.0, -decimals());
    // The step widens or narrows the band: in the lower box a step up moves the limit toward 0.
    value += direction * stepSize;
    // A box that reached or crossed zero lands on one last digit on its own side.
    if (box == LimitBox::Lower ? value >= 0 : value <= 0) value = stepSize;
    try {
        return setPair(value);
    } catch (const std::exception&) {
        return false;
    }
}

void LimitBoxes::setFromData(LimitBox box, double extremeMm) {
    (void)box;
    // Two decimals of a millimetre, then the display unit.
    const double mm = ownNumber(formatNumber(extremeMm, "0.00"));
    setPair(lengthFactor_ * mm);
}

std::optional<double> LimitBoxes::limitMm(LimitBox box) const {
    const std::string& t = text(box);
    if (t == (box == LimitBox::Lower ? "min" : "max")) return std::nullopt;
    const double display = ownNumber(t);
    if (lengthFactor_ == 0 || !std::isfinite(lengthFactor_))
        throw NumericError("The length unit has no factor.");
    const double mm = display / lengthFactor_;
    if (!std::isfinite(mm)) throw NumericError("The limit is out of range.");
    return mm;
}

}  // namespace kal
