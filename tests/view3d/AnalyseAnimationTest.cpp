#include <gtest/gtest.h>

#include "PickingFixture.h"
#include "view3d/AnalyseAnimation.h"

namespace kal {
namespace {

TEST(AnalyseAnimation, TwentyOneFramesPerCycleWithSinglePrecisionPhases) {
    // The phases as single-precision sums of ±0.1 give them, turning above 1 and at 0.
    std::vector<float> expected;
    std::vector<int> expectedClears;
    {
        float phase = 0, step = 0.1f;
        for (int frame = 1; frame <= 42; ++frame) {
            phase = phase + step;
            if (phase < 0) phase = 0;
            bool clear = false;
            if (phase > 1) step = -step, clear = true;
            if (phase <= 0) step = -step, clear = true;
            expected.push_back(phase);
            if (clear) expectedClears.push_back(frame);
        }
    }
    EXPECT_EQ(expectedClears, (std::vector<int>{10, 21, 31, 42}));
    EXPECT_FLOAT_EQ(expected[9], 1.0000001f);
    EXPECT_GT(expected[9], 1.0f);
    EXPECT_EQ(expected[20], 0.0f);
    EXPECT_GT(expected[19], 0.0f);
    EXPECT_LT(expected[19], 1e-7f);

    AnalyseAnimation animation;
    animation.start();
    AnalyseScene empty;  // no identical points
    std::vector<int> clears;
    for (int frame = 1; frame <= 42; ++frame) {
        const auto f = animation.nextFrame(empty, false, storedColour(255, 255, 255));
        ASSERT_EQ(f.phase, expected[static_cast<std::size_t>(frame - 1)]) << frame;
        EXPECT_TRUE(f.draw.empty());
        EXPECT_TRUE(f.erase.empty());
        if (f.clear) clears.push_back(frame);
    }
    EXPECT_EQ(clears, expectedClears);  // no identical points: only the clears
}

struct AnimatedScene {
    test::PixelScene scene{{{10, 20}, {30, 40}, {50, 60}}};
    AnalyseScene input;
    AnimatedScene() {
        scene.arrays.VectorPixelX[1] = 10;
        scene.arrays.VectorPixelY[1] = -20;
        scene.cloud(1, cloud::Colour) = static_cast<float>(storedColour(255, 0, 0));
        scene.cloud(2, cloud::Colour) = static_cast<float>(storedColour(0, 0, 255));
        input.cloud = &scene.cloud;
        input.arrays = &scene.arrays;
        input.identicalCount = 2;  // row 3 is no identical point
        input.BigNess = 2;
    }
};

TEST(AnalyseAnimation, PassDrawsDisplacedSquaresLeadersAndOnePhaseMark) {
    AnimatedScene s;
    s.input.leaders = {{2, 200, 100}};
    AnalyseAnimation animation;
    animation.start();
    const auto f = animation.nextFrame(s.input, false, storedColour(255, 255, 255));
    ASSERT_EQ(f.draw.size(), 4u);
    // Phase 0.1: row 1 moves by (1, −2) from (10, 20); squares start one pixel right and down.
    EXPECT_EQ(std::get<FilledRect>(f.draw[0]), (FilledRect{12, 19, 2, 2, storedColour(255, 0, 0)}));
    EXPECT_EQ(std::get<FilledRect>(f.draw[1]), (FilledRect{31, 41, 2, 2, storedColour(0, 0, 255)}));
    EXPECT_EQ(std::get<Segment>(f.draw[2]), (Segment{{31, 41}, {200, 100}, 1, kAnalyseLeaderColour}));
    const auto& mark = std::get<Segment>(f.draw[3]);
    EXPECT_EQ(mark.colour, kPhaseMarkColour);
    EXPECT_FLOAT_EQ(mark.from.y, 10.0f);
    EXPECT_EQ(mark.to.x, 100);

    // The next frame first erases those squares in the background colour, at their old place.
    const auto g = animation.nextFrame(s.input, false, storedColour(255, 255, 255));
    ASSERT_EQ(g.erase.size(), 4u);
    EXPECT_EQ(std::get<FilledRect>(g.erase[0]), (FilledRect{12, 19, 2, 2, storedColour(255, 255, 255)}));
    EXPECT_EQ(std::get<Segment>(g.erase[3]).colour, kPhaseMarkColour);  // the mark stays green
    EXPECT_EQ(std::get<FilledRect>(g.draw[0]).left, 13);
}

TEST(AnalyseAnimation, KeepPointsLeavesTrails) {
    AnimatedScene s;
    AnalyseAnimation animation;
    animation.start();
    animation.nextFrame(s.input, true, 0);
    EXPECT_TRUE(animation.nextFrame(s.input, true, 0).erase.empty());
}

TEST(AnalyseAnimation, HiddenAndInvisibleOuterPointsAreLeftOut) {
    AnimatedScene s;
    s.scene.hide(1);
    s.scene.cloud(2, cloud::ToleranceClass) = 5;
    s.input.AnzKlassenPos = 3;
    s.input.AusserhalbTol = true;
    s.input.OuterColor = storedColour(255, 255, 255);
    AnalyseAnimation animation;
    animation.start();
    EXPECT_TRUE(animation.nextFrame(s.input, false, storedColour(255, 255, 255)).draw.empty());
    // On another background the outer point shows again.
    EXPECT_EQ(animation.nextFrame(s.input, false, storedColour(0, 0, 0)).draw.size(), 2u);
}

TEST(AnalyseAnimation, StartResetsPhaseAndPause) {
    AnalyseAnimation animation;
    animation.start();
    animation.nextFrame({}, false, 0);
    animation.togglePause();
    EXPECT_TRUE(animation.paused());
    animation.start();
    EXPECT_FALSE(animation.paused());
    EXPECT_EQ(animation.phase(), 0);
    EXPECT_EQ(animation.step(), 0.1f);
}

}  // namespace
}  // namespace kal
