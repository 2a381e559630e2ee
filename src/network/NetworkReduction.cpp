#include "network/NetworkReduction.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "shared/NumberText.h"

namespace kal {

namespace {

// x taken to 15 significant digits, as a general-format conversion of the quotient does.
double fifteenDigits(double x) {
    char text[64];
    std::snprintf(text, sizeof text, "%.15g", x);
    return std::strtod(text, nullptr);
}

}  // namespace

std::optional<double> reductionPercent(const std::string& text, ReductionRule rule) {
    try {
        return rule == ReductionRule::Calculate ? strictNumber(text) : leadingNumber(text);
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

std::vector<std::int32_t> reducedPointIndices(double percent, std::int32_t pointCount, ReductionRule rule) {
    std::vector<std::int32_t> used;
    if (!(percent > 0.0 && percent <= 100.0) || pointCount <= 0) return used;
    const double share =
        rule == ReductionRule::Calculate ? percent * pointCount / 100.0 : pointCount / 100.0 * percent;
    const double wanted = rule == ReductionRule::Calculate ? std::floor(share) : std::nearbyint(share);
    const double quotient =
        rule == ReductionRule::Calculate ? fifteenDigits(100.0 / percent) : 100.0 / percent;
    const auto count = static_cast<std::int32_t>(std::min<double>(wanted, pointCount));
    const auto step = static_cast<std::int32_t>(std::max(1.0, std::floor(quotient)));
    for (std::int32_t i = 1; i <= pointCount && static_cast<std::int32_t>(used.size()) < count; i += step)
        used.push_back(i);
    return used;
}

}  // namespace kal
