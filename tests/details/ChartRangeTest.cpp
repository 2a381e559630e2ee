#include <gtest/gtest.h>

#include <cmath>

#include "details/ChartRange.h"

namespace kal {
namespace {

TEST(ChartAxisLimit, TidyLimitAboveTheLargestMagnitude) {
    struct Case {
        double m, limit;
    };
    const Case cases[] = {{0, 0.1},     {0.5, 0.7}, {1, 1.4}, {10, 13.1},
                          {100, 130.1}, {0.1, 0.2}, {3, 4.0}, {0.7, 1.0}};
    for (const Case& c : cases) EXPECT_NEAR(chartAxisLimit(c.m), c.limit, 1e-12) << "m = " << c.m;
}

TEST(ChartRangeOf, HalfRangeIsTheLargerMagnitudeOfBothSides) {
    struct Case {
        std::vector<double> values;
        double m, limit;
    };
    const Case cases[] = {
        {{0, 0, 0}, 0, 0.1},       {{0.2, -0.5, 0.1}, 0.5, 0.7},
        {{-3, -1, -2}, 3, 4.0},  // only negative values: the most negative one's magnitude
        {{1, 10, -9.5}, 10, 13.1}, {{0.7}, 0.7, 1.0},
    };
    for (const Case& c : cases) {
        const auto r = chartRangeOf(c.values);
        ASSERT_TRUE(r.has_value());
        EXPECT_DOUBLE_EQ(r->halfRange, c.m);
        EXPECT_NEAR(r->limit, c.limit, 1e-12);
    }
}

TEST(ChartRangeOf, NothingToChartIsRefusedInsteadOfAnEmptyChart) {
    EXPECT_FALSE(chartRangeOf({}).has_value());
    EXPECT_FALSE(chartRangeOf({1.0, std::nan("")}).has_value());
    EXPECT_FALSE(chartRangeOf({INFINITY}).has_value());
}

}  // namespace
}  // namespace kal
