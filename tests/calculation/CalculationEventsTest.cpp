#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/CalculationFixture.h"

namespace kal {
namespace {

using testing::CalculationFixture;
using testing::SyntheticRecipe;

// Two windows listening for results, subscribed in the reverse of their order.
struct Listeners {
    std::vector<std::string> calls;
    Subscription sheet, display;

    explicit Listeners(JobEvents& events) {
        sheet = events.subscribe(JobEvent::ResultsChanged, Subscriber::MainSheet,
                                 [this] { calls.push_back("sheet"); });
        display = events.subscribe(JobEvent::ResultsChanged, Subscriber::ResultDisplay,
                                   [this] { calls.push_back("display"); });
    }
};

TEST(CalculationEvents, AMonteCarloSeriesIsOneResultsChangedAfterTheSeries) {
    SyntheticRecipe recipe;
    recipe.points = 12;
    recipe.noise = 0.05;
    CalculationFixture f(recipe);
    f.job.MonteCarloRuns = 8;
    f.job.sigmaX = f.job.sigmaY = f.job.sigmaZ = 0.05;
    f.panel().setMonteCarlo(true);
    Listeners listeners(f.jobEvents);
    std::vector<std::size_t> heardDuringRuns;
    f.progressWindow.onValue = [&](int) { heardDuringRuns.push_back(listeners.calls.size()); };

    ASSERT_EQ(f.calculate(), CalcStatus::Solved);
    ASSERT_TRUE(f.job.McCompleted);
    EXPECT_EQ(heardDuringRuns, std::vector<std::size_t>(8, 0u));  // each run stored, none heard
    EXPECT_EQ(listeners.calls, (std::vector<std::string>{"display", "sheet"}));
    EXPECT_EQ(f.windows.detailsShown, 1);
}

TEST(CalculationEvents, EachNormTellsOnceAndARefusalNotAtAll) {
    struct Case {
        const char* name;
        NormModeValue norm;
        bool refuse;
        std::vector<std::string> heard;
    };
    const std::vector<Case> cases{
        {"L2", kNormL2, false, {"display", "sheet"}},
        {"L1", kNormL1, false, {"display", "sheet"}},
        {"minimax", kNormMinimax, false, {"display", "sheet"}},
        {"refused", kNormL1, true, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SyntheticRecipe recipe;
        recipe.points = 8;
        recipe.noise = 0.05;
        CalculationFixture f(recipe);
        f.panel().selectNorm(c.norm);
        if (c.refuse) {
            f.panel().setSeedCheck(kTraY, true);
            f.panel().setSeedText(kTraY, "abc");
        }
        Listeners listeners(f.jobEvents);
        f.calculate();
        EXPECT_EQ(listeners.calls, c.heard);
        EXPECT_EQ(f.windows.programmLogik, 1);  // the main window hears the end either way
        EXPECT_FALSE(f.jobEvents.batching());
    }
}

}  // namespace
}  // namespace kal
