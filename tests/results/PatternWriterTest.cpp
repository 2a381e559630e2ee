#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>

#include "results/PatternWriter.h"
#include "shared/NumberText.h"

namespace kal {
namespace {

std::string written(const PatternWriter& w, double v, char sep) {
    std::string out = "|";
    w.append(out, v, sep);
    return out.substr(1);
}

// The fast path gives formatNumber's text letter for letter: halves, carries, tiny and huge
// values, negative values that round to zero, both separators and every plain pattern.
TEST(PatternWriter, GivesFormatNumbersTextForEveryPlainPattern) {
    const char* patterns[] = {"0",      "0.0",     "0.000", "0.0000", "0.000000", "0.000000000000",
                              "0.####", "0.00E+00"};
    const double table[] = {0.0, -0.0, 2.675, -2.675, 0.0005, -0.0004999, 0.00049999999999999, 9.9995,
                            -9.99951, 999.9996, 1e-20, -1e-20, 123456789.1234567, 1e15, 1.5, 2.5, -0.5, 0.05,
                            1.0000005, 4.35, 1e300, -7.25e-5, 0.9999999, 0.1 + 0.2, 1234.5678, 1e-7,
                            // halves just inside and outside the direct road's range
                            12345.6785, 99999.9995, -0.0025, 99999999.5, 0.12345650000000001};
    std::mt19937_64 random(7);
    std::uniform_real_distribution<double> mantissa(-10, 10);
    std::uniform_int_distribution<int> exponent(-9, 9);
    for (const char* pattern : patterns) {
        const PatternWriter w(pattern);
        for (char sep : {'.', ','}) {
            for (double v : table)
                EXPECT_EQ(written(w, v, sep), formatNumber(v, pattern, sep)) << pattern << " " << v;
            for (int k = 0; k < 20000; ++k) {
                // Values on a decimal grid hit the halves that rounding gets wrong most easily.
                const double v = std::round(mantissa(random) * 1e4) / 1e4 * std::pow(10.0, exponent(random));
                ASSERT_EQ(written(w, v, sep), formatNumber(v, pattern, sep)) << pattern << " " << v;
                // Full-precision values, and texts of 16 digits ending in 5: halfway at the 15th.
                const double raw = mantissa(random) * std::pow(10.0, exponent(random));
                ASSERT_EQ(written(w, raw, sep), formatNumber(raw, pattern, sep)) << pattern << " " << raw;
                char tie[40];
                std::snprintf(tie, sizeof tie, "%.14e", raw);
                std::string text(tie);
                text.insert(text.find('e'), "5");
                const double half = std::strtod(text.c_str(), nullptr);
                ASSERT_EQ(written(w, half, sep), formatNumber(half, pattern, sep)) << pattern << " " << text;
            }
        }
    }
}

TEST(PatternWriter, NonFiniteValuesWriteNothing) {
    const PatternWriter w("0.000");
    std::string out;
    EXPECT_FALSE(w.append(out, std::nan(""), '.'));
    EXPECT_FALSE(w.append(out, INFINITY, '.'));
    EXPECT_EQ(out, "");
}

}  // namespace
}  // namespace kal
