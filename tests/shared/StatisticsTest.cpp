#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "shared/Errors.h"
#include "shared/Statistics.h"

namespace kal {
namespace {

// Hands out a fixed list of uniforms and counts how many were taken.
class ScriptedUniform : public UniformSource {
  public:
    explicit ScriptedUniform(std::vector<double> values) : values_(std::move(values)) {}
    double next() override { return values_.at(used_++); }
    std::size_t used() const { return used_; }

  private:
    std::vector<double> values_;
    std::size_t used_ = 0;
};

TEST(Statistics, MeanStdDevAndLnE) {
    const std::vector<double> list{99, 1, 2, 3, 4};  // entry 0 is not part of the list
    EXPECT_EQ(meanOf(list), 2.5);
    EXPECT_NEAR(standardDeviation(list), 1.2909944487358056, 1e-15);
    EXPECT_NEAR(naturalLog(2.71828182845905), 1.0, 1e-15);
    EXPECT_NEAR(naturalLog(1.0), 0.0, 0.0);
}

TEST(Statistics, ValuesWithoutAnAnswerThrow) {
    EXPECT_THROW(meanOf({0.0}), NumericError);
    EXPECT_THROW(meanOf({}), NumericError);
    EXPECT_THROW(standardDeviation({0.0, 5.0}), NumericError);  // one run: divisor n - 1 = 0
    EXPECT_THROW(naturalLog(0.0), NumericError);
    EXPECT_THROW(naturalLog(-1.0), NumericError);
}

TEST(GaussRandom, RejectsPairsOutsideTheUnitCircleAndUsesOnlyU) {
    // (0.95, 0.95): s = 1.62, rejected; (0.75, 0.5): u = 0.5, v = 0, s = 0.25.
    ScriptedUniform uniform({0.95, 0.95, 0.75, 0.5});
    EXPECT_NEAR(gaussRandom(0, 1, uniform), 1.665109222315394, 1e-15);
    EXPECT_EQ(uniform.used(), 4u);

    ScriptedUniform centre({0.5, 0.5, 0.75, 0.5});  // s = 0 is rejected too
    EXPECT_NEAR(gaussRandom(10, 2, centre), 10 + 2 * 1.665109222315394, 1e-14);
    EXPECT_EQ(centre.used(), 4u);
}

TEST(GaussRandom, SigmaZeroGivesTheMeanExactly) {
    UniformRandom random;
    EXPECT_EQ(gaussRandom(5, 0, random), 5.0);
}

TEST(GaussRandom, SampleMomentsApproachMeanAndSigma) {
    UniformRandom random(7);
    std::vector<double> draws{0.0};
    for (int i = 0; i < 20000; ++i) draws.push_back(gaussRandom(10, 2, random));
    EXPECT_NEAR(meanOf(draws), 10.0, 0.05);
    EXPECT_NEAR(standardDeviation(draws), 2.0, 0.05);
}

TEST(UniformRandom, SameSequenceFromEveryStartAndOnReseed) {
    UniformRandom a, b;
    const double first = a.next();
    EXPECT_EQ(first, b.next());
    EXPECT_GE(first, 0.0);
    EXPECT_LT(first, 1.0);
    a.next();
    a.reseed();
    EXPECT_EQ(a.next(), first);

    // The program's generator continues its sequence across calls until reseeded.
    programRandom().reseed();
    const double g1 = gaussRandom(0, 1);
    const double g2 = gaussRandom(0, 1);
    EXPECT_NE(g1, g2);
    programRandom().reseed();
    EXPECT_EQ(gaussRandom(0, 1), g1);
}

}  // namespace
}  // namespace kal
