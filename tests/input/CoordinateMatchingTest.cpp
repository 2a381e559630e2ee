#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "input/CoordinateMatching.h"
#include "input/MatchingReference.h"
#include "input/MatchingTestData.h"

namespace kal {
namespace {

using testing::cloud;
using Partners = std::vector<std::int32_t>;

struct CoordinateCase {
    const char* what;
    testing::Cloud mcs, ocs;
    float etta;
    Partners expected;
};

TEST(CoordinateMatching, PairsByTheSpecifiedRules) {
    const CoordinateCase cases[] = {
        {"greedy in MCS order: A takes X, B finds nothing within the tolerance",
         cloud({{0, 0, 0}, {0.5, 0, 0}}),
         cloud({{0.45, 0, 0}, {-0.5, 0, 0}}),
         0.8f,
         {0, 1, 0}},
        {"a distance equal to the tolerance does not pair",
         cloud({{0, 0, 0}}),
         cloud({{0.5, 0, 0}}),
         0.5f,
         {0, 0}},
        {"a distance that rounds to the tolerance in single precision does not pair",
         cloud({{0, 0, 0}}),
         cloud({{0.5 - 1e-12, 0, 0}}),
         0.5f,
         {0, 0}},
        {"equal distances go to the smaller OCS index",
         cloud({{0, 0, 0}}),
         cloud({{5, 5, 5}, {0, 0.3, 0}, {0.3, 0, 0}, {0, 0, -0.3}}),
         1.0f,
         {0, 2}},
        {"the nearest unused point wins over an earlier farther one",
         cloud({{0, 0, 0}, {0.1, 0, 0}}),
         cloud({{0.6, 0, 0}, {0.05, 0, 0}}),
         1.0f,
         {0, 2, 1}},
        {"a negative tolerance pairs nothing", cloud({{0, 0, 0}}), cloud({{0, 0, 0}}), -1.0f, {0, 0}},
        {"no OCS points", cloud({{0, 0, 0}}), cloud({}), 1.0f, {0, 0}},
        {"MCS points far outside the OCS extent",
         cloud({{1e9, -1e9, 0}, {0, 0, 0}}),
         cloud({{0, 0, 0.1}}),
         1.0f,
         {0, 0, 1}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(findCoordinatePartners(c.mcs.view(), c.ocs.view(), c.etta), c.expected);
        EXPECT_EQ(reference::coordinatePartners(c.mcs.view(), c.ocs.view(), c.etta), c.expected);
    }
}

TEST(CoordinateMatching, RefusesNonFiniteCoordinates) {
    const auto mcs = cloud({{0, NAN, 0}});
    const auto ocs = cloud({{0, 0, 0}});
    EXPECT_THROW(findCoordinatePartners(mcs.view(), ocs.view(), 1.0f), std::invalid_argument);
}

// The grid search must give exactly the pairs of the plain loop, ties and repeated points
// included, whatever the tolerance is compared with the spacing and the extent of the points.
TEST(CoordinateMatching, GivesThePairsOfThePlainLoopOnRandomSets) {
    std::mt19937 rng(20240611);
    const float ettas[] = {0.3f, 0.5f, 1.0f, 1.5f, 4.0f, 1000.0f, 1e-7f};
    int paired = 0;
    for (int round = 0; round < 400; ++round) {
        const int kind = round % 4;
        const double size = (round % 7 == 0) ? 1e6 : 6.0;
        const auto n = static_cast<std::int32_t>(rng() % 61), m = static_cast<std::int32_t>(rng() % 61);
        const auto mcs = testing::randomCloud(rng, n, kind, size);
        testing::Cloud ocs = (round % 2 == 0)
                                 ? testing::randomCloud(rng, m, kind, size)
                                 : testing::movedCopy(rng, mcs, 0, 0.25, 0, 0, 0.2, 1 + round % 5, m);
        const float etta = ettas[round % std::size(ettas)];
        SCOPED_TRACE(::testing::Message()
                     << "round " << round << ", n " << n << ", m " << m << ", etta " << etta);
        const auto expected = reference::coordinatePartners(mcs.view(), ocs.view(), etta);
        ASSERT_EQ(findCoordinatePartners(mcs.view(), ocs.view(), etta), expected);
        for (auto j : expected) paired += j > 0;
    }
    EXPECT_GT(paired, 2000);  // the sets do pair, so the comparison means something
}

}  // namespace
}  // namespace kal
