#include <gtest/gtest.h>

#include "calculation/ParaboloidTrend.h"

namespace kal {
namespace {

TEST(IsSteadyTrend, StepsMustStayWithinTwiceTheFirstStep) {
    struct Case {
        TrendList list;
        bool steady;
    };
    const Case cases[] = {
        {{0, 1, 2, 3, 4, 5}, true},   {{0, 1, 2, 3, 4, 7}, true},   // |3 - 1| = 2 is not > 2
        {{0, 1, 2, 3, 4, 10}, false}, {{0, 0, 0, 0, 0, 5}, false},  // d = 0 allows no movement
        {{0, 5, 4, 3, 2, 1}, true},   {{0, 0, 0, 0, 0, 0}, true},
        {{99, 1, 2, 3, 4, 5}, true},  // entry 0 plays no part
    };
    for (const auto& c : cases) EXPECT_EQ(isSteadyTrend(c.list, 200), c.steady) << c.list[5];
}

TEST(ExtrapolateTrends, StepGrowsWithTheFourthPowerOfTheCount) {
    const double expected[] = {0, 1, 16, 81, 256};
    for (int count = 0; count <= 4; ++count) {
        SCOPED_TRACE(count);
        JobState job;
        TrendState trend;
        trend.TrendHistory[0] = {0, 0, 1, 2, 3, 4};  // shifted to 1,2,3,4,5 by the call
        trend.TrendCount[0] = count;
        job.TraX() = 5;
        std::array<bool, kParamCount + 1> estimated{};
        estimated[kTraX] = true;
        extrapolateTrends(trend, job, estimated);
        EXPECT_DOUBLE_EQ(job.TraX() - 5, expected[count]);  // times the last change, 1
        EXPECT_EQ(trend.TrendCount[0], count + 1);
        EXPECT_EQ(trend.TrendHistory[0][5], 5);
    }
}

TEST(ExtrapolateTrends, OnlyEstimatedParametersMove) {
    JobState job;
    TrendState trend;
    for (auto& list : trend.TrendHistory) list = {0, 0, 1, 2, 3, 4};
    trend.TrendCount.fill(2);
    for (int s : TrendState::kSlots) job.Params[static_cast<std::size_t>(s)] = 5;
    std::array<bool, kParamCount + 1> estimated{};
    estimated[kTraX] = true;
    extrapolateTrends(trend, job, estimated);
    EXPECT_DOUBLE_EQ(job.TraX(), 5 + 16);
    EXPECT_EQ(job.TraY(), 5);
    EXPECT_EQ(trend.TrendCount[1], 2);
    EXPECT_EQ(trend.TrendHistory[1][5], 4);  // untouched
}

}  // namespace
}  // namespace kal
