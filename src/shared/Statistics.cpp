#include "shared/Statistics.h"

#include <cmath>

#include "shared/Errors.h"

namespace kal {
namespace {

std::int32_t entryCount(const std::vector<double>& list) {
    return list.empty() ? 0 : static_cast<std::int32_t>(list.size()) - 1;
}

}  // namespace

double naturalLog(double x) {
    if (!(x > 0)) throw NumericError("Logarithm of a value that is not positive");
    return checkedFinite(std::log(x) / std::log(2.71828182845905), "LnE");
}

double meanOf(const std::vector<double>& list) {
    const std::int32_t n = entryCount(list);
    if (n < 1) throw NumericError("Mean of no values");
    double sum = 0.0;
    for (std::int32_t i = 1; i <= n; ++i) sum += list[static_cast<std::size_t>(i)];
    return checkedFinite(sum / n, "Mean");
}

double standardDeviation(const std::vector<double>& list) {
    const std::int32_t n = entryCount(list);
    if (n < 2) throw NumericError("Standard deviation of fewer than two values");
    // Deviations from the first entry first: the same value, but equal entries give exactly 0 (a mean
    // of equal values can round away from them) and large common offsets cancel before squaring.
    const double ref = list[1];
    double s = 0.0;
    for (std::int32_t i = 1; i <= n; ++i) s += list[static_cast<std::size_t>(i)] - ref;
    const double m = s / n;
    double q = 0.0;
    for (std::int32_t i = 1; i <= n; ++i) {
        const double d = (list[static_cast<std::size_t>(i)] - ref) - m;
        q += d * d;
    }
    return checkedFinite(std::sqrt(q / (n - 1)), "StdDev");
}

double UniformRandom::next() { return static_cast<double>(engine_() >> 11) * 0x1.0p-53; }

UniformRandom& programRandom() {
    static UniformRandom generator;
    return generator;
}

double gaussRandom(double mean, double sigma, UniformSource& uniform) {
    double u = 0.0, s = 0.0;
    do {
        u = 2 * uniform.next() - 1;
        const double v = 2 * uniform.next() - 1;
        s = u * u + v * v;
    } while (!(s > 0 && s < 1));
    const double f = std::sqrt((-2 * naturalLog(s)) / s);
    return checkedFinite(u * f * sigma + mean, "GaussRandom");
}

double gaussRandom(double mean, double sigma) { return gaussRandom(mean, sigma, programRandom()); }

}  // namespace kal
