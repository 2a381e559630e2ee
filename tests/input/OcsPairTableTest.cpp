#include <gtest/gtest.h>

#include <random>

#include "input/MatchingTestData.h"
#include "input/OcsPairTable.h"

namespace kal {
namespace {

// Sorting in small chunks and merging must give exactly the order of one sort: every question
// the search asks gets the same pair, position and difference. Integer grids give many equal
// distances, so the tie rule (table order) is exercised across chunk borders.
TEST(OcsPairTable, ChunkedBuildAnswersExactlyAsOneSort) {
    std::mt19937 rng(9);
    for (int round = 0; round < 20; ++round) {
        testing::Cloud cloud;
        const int n = 5 + round * 2;
        for (int i = 0; i < n; ++i)
            cloud.add(std::uniform_int_distribution<int>(0, 4)(rng),
                      std::uniform_int_distribution<int>(0, 4)(rng),
                      std::uniform_int_distribution<int>(0, 2)(rng));
        const OcsPairTable whole(cloud.view());
        const OcsPairTable chunked(cloud.view(), {}, 1 + static_cast<std::size_t>(round % 7));
        ASSERT_EQ(whole.size(), chunked.size());
        for (double d = 0.0; d < 8.0; d += 0.0625) {
            const auto a = whole.nearestWithin(d, 0.3f);
            const auto b = chunked.nearestWithin(d, 0.3f);
            ASSERT_EQ(a.has_value(), b.has_value()) << "round " << round << ", d " << d;
            if (!a) continue;
            EXPECT_EQ(a->pair.pos, b->pair.pos);
            EXPECT_EQ(a->pair.i, b->pair.i);
            EXPECT_EQ(a->pair.j, b->pair.j);
            EXPECT_EQ(a->diff, b->diff);
            EXPECT_EQ(whole.gapOf(a->pair), chunked.gapOf(b->pair));
        }
    }
}

TEST(OcsPairTable, StopDuringTheBuildLeavesAnEmptyStoppedTable) {
    std::mt19937 rng(3);
    const testing::Cloud cloud = testing::randomCloud(rng, 60, 0, 100.0);
    int asked = 0;
    const OcsPairTable table(
        cloud.view(), [&] { return ++asked == 3; }, 50);
    EXPECT_TRUE(table.stopped());
    EXPECT_EQ(asked, 3);
    EXPECT_EQ(table.size(), 0);
    EXPECT_FALSE(table.nearestWithin(10.0, 0.8f));
}

TEST(OcsPairTable, RefusesMorePointsThanItTakesBeforeAllocating) {
    testing::Cloud cloud;
    for (int i = 0; i <= kMaxPairTablePoints; ++i) cloud.add(i, 0, 0);
    EXPECT_THROW(OcsPairTable{cloud.view()}, std::length_error);
}

}  // namespace
}  // namespace kal
