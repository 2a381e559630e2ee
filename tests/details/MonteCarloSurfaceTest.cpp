#include <gtest/gtest.h>

#include <string>

#include "details/DetailsCopies.h"
#include "details/DetailsFigures.h"
#include "shared/Statistics.h"
#include "support/CalculationFixture.h"
#include "support/DishJob.h"

namespace kal {
namespace {

// A dish turned about its axis (rot z'' 0.4), tilted and shifted, with a Monte Carlo series.
JobState turnedDish() {
    testing::DishRecipe recipe;
    recipe.truth.tra[0] = 30.0;
    recipe.truth.tra[1] = 12.0;
    recipe.truth.tra[2] = -8.0;
    recipe.truth.rot[0] = 0.05;
    recipe.truth.rot[1] = -0.03;
    recipe.truth.rot[2] = 0.4;
    JobState job = testing::makeDishJob(recipe);
    job.MonteCarloRuns = 4;
    job.sigmaX = job.sigmaY = job.sigmaZ = 0.02;
    return job;
}

std::string copyLineOf(const std::string& copy, const std::string& caption) {
    const std::size_t at = copy.find(caption + "\t");
    if (at == std::string::npos) return "(missing)";
    return copy.substr(at, copy.find("\r\n", at) - at);
}

// With rot z'' estimated each run of the series may end turned anywhere about the dish's axis, so
// the runs of the values that turn with it scatter without meaning: their Monte Carlo sigmas stay
// empty, in the grid and in its copy, while tra z and the sigma of xyz keep theirs. A new series
// with the turn held shows every sigma again.
TEST(DetailsMonteCarlo, ValuesTheSurfaceLeavesOpenShowNoSigmaInTheGridOrItsCopy) {
    testing::CalculationFixture f(turnedDish());
    f.panel().setMonteCarlo(true);
    programRandom().reseed();
    ASSERT_EQ(f.calculate(), CalcStatus::Solved);
    ASSERT_TRUE(f.job.McCompleted);
    ASSERT_TRUE(f.results().OpenBySurface[kTraX]);

    struct Row {
        int row;
        const char* caption;
        bool open;
    };
    const Row rows[] = {{0, "Tra x", true},          {1, "Tra y", true}, {2, "Tra z", false},
                        {3, "Rot x", true},          {4, "Rot y", true}, {5, "Rot z", true},
                        {18, "s of sigmaXYZ", false}};
    {
        DetailsFigures figures = computeDetails(f.job);
        testing::FakeClipboard clipboard;
        const std::string copy = DetailsCopier(figures, f.job, clipboard).copyMonteCarlo();
        const TextTable& g = figures.monteCarloGrid;
        for (const Row& r : rows) {
            SCOPED_TRACE(r.caption);
            EXPECT_EQ(g.cell(r.row, 0), r.caption);
            EXPECT_TRUE(g.bold(r.row, 0));  // the caption keeps its mark: the value is estimated
            if (r.open) {
                EXPECT_EQ(g.cell(r.row, 1), "");
                EXPECT_EQ(copyLineOf(copy, r.caption), std::string(r.caption) + "\t");
            } else {
                EXPECT_NE(g.cell(r.row, 1), "");
                EXPECT_EQ(copyLineOf(copy, r.caption), std::string(r.caption) + "\t" + g.cell(r.row, 1));
            }
        }
    }

    // Held, the turn is fixed: the next series shows every sigma.
    f.panel().setEstimate(kRotZ, false);
    f.panel().setValueText(kRotZ, "0");
    ASSERT_EQ(f.calculate(), CalcStatus::Solved);
    ASSERT_TRUE(f.job.McCompleted);
    const DetailsFigures held = computeDetails(f.job);
    for (const Row& r : rows) EXPECT_NE(held.monteCarloGrid.cell(r.row, 1), "") << r.caption;
}

}  // namespace
}  // namespace kal
