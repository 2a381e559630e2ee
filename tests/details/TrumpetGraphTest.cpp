#include <gtest/gtest.h>

#include "details/DistanceTestSupport.h"
#include "details/TrumpetGraph.h"
#include "support/FakePlatform.h"
#include "support/FakeProgress.h"

namespace kal {
namespace {

using testing::distanceJob;
using testing::PointPair;

ImageBuffer draw(const std::vector<PointPair>& points) {
    ImageBuffer picture;
    EXPECT_TRUE(drawTrumpetGraph(takeDistanceSnapshot(distanceJob(points), false), picture));
    return picture;
}

// The columns and rows of the magenta pixels.
struct Block {
    int left = 1 << 30, right = -1, top = 1 << 30, bottom = -1, count = 0;
};
Block magentaIn(const ImageBuffer& p) {
    Block b;
    for (int y = 0; y < p.height(); ++y)
        for (int x = 0; x < p.width(); ++x)
            if (p.pixel(x, y) == kTrumpetPointPixel) {
                b.left = std::min(b.left, x), b.right = std::max(b.right, x);
                b.top = std::min(b.top, y), b.bottom = std::max(b.bottom, y);
                ++b.count;
            }
    return b;
}

TEST(TrumpetGraph, PictureIs784By429WithTheZeroLineOnRow214AndTheAxisOnColumn50) {
    const ImageBuffer p = draw({{"A", 0, 0, 0, 0, 0, 0}, {"B", 100, 0, 0, 100.1, 0, 0}});
    ASSERT_EQ(p.width(), 784);
    ASSERT_EQ(p.height(), 429);
    EXPECT_EQ(p.pixel(400, 214), kTrumpetAxisPixel);
    EXPECT_EQ(p.pixel(400, 213), 0xFFFFFFFFu);
    EXPECT_EQ(p.pixel(400, 215), 0xFFFFFFFFu);
    EXPECT_EQ(p.pixel(50, 50), kTrumpetAxisPixel);
    EXPECT_EQ(p.pixel(50, 379), kTrumpetAxisPixel);
    EXPECT_EQ(p.pixel(50, 49), 0xFFFFFFFFu);
    EXPECT_EQ(p.pixel(49, 100), 0xFFFFFFFFu);
    EXPECT_EQ(p.pixel(10, 10), 0xFFFFFFFFu);
}

TEST(TrumpetGraph, PairsLandWhereTheMappingPutsThem) {
    struct Case {
        const char* what;
        std::vector<PointPair> points;
        int left, right, top, bottom;
    };
    const Case cases[] = {
        // One pair, longer in the OCS: the largest distance at x0 = 734, +M at y0 = 50.
        {"positive", {{"A", 0, 0, 0, 0, 0, 0}, {"B", 100, 0, 0, 100.1, 0, 0}}, 735, 737, 51, 53},
        // Shorter in the OCS: -M at y0 = 379.
        {"negative", {{"A", 0, 0, 0, 0, 0, 0}, {"B", 100, 0, 0, 99.9, 0, 0}}, 735, 737, 380, 382},
        // All pairs deviate alike: every block at the top.
        {"one sign",
         {{"A", 0, 0, 0, 0, 0, 0},
          {"B", 100, 0, 0, 100.5, 0, 0},
          {"C", 50, 86.60254037844386, 0, 50.25, 1.005 * 86.60254037844386, 0}},
         -1,
         737,
         51,
         53},
        // Every delta s is 0 (M = 0): the blocks lie on the zero line, rows round(215.5..217.5).
        {"M = 0", {{"A", 0, 0, 0, 0, 0, 0}, {"B", 100, 0, 0, 100, 0, 0}}, 735, 737, 216, 218},
        // All OCS points coincide (D = 0): the blocks lie on the axis x = 50.
        {"D = 0", {{"A", 0, 0, 0, 5, 5, 5}, {"B", 100, 0, 0, 5, 5, 5}}, 51, 53, 380, 382},
    };
    for (const Case& c : cases) {
        const Block b = magentaIn(draw(c.points));
        if (c.left >= 0) {
            EXPECT_EQ(b.left, c.left) << c.what;
        }
        EXPECT_EQ(b.right, c.right) << c.what;
        EXPECT_EQ(b.top, c.top) << c.what;
        EXPECT_EQ(b.bottom, c.bottom) << c.what;
    }
}

TEST(TrumpetGraph, AnOcsDistanceOfZeroLiesOnTheAxis) {
    // B and C coincide in the OCS; A is far away.
    const ImageBuffer p =
        draw({{"A", 0, 0, 0, 0, 0, 0}, {"B", 100, 0, 0, 100.2, 0, 0}, {"C", 100, 0.1, 0, 100.2, 0, 0}});
    const TrumpetScale s = trumpetScaleOf(takeDistanceSnapshot(
        distanceJob(
            {{"A", 0, 0, 0, 0, 0, 0}, {"B", 100, 0, 0, 100.2, 0, 0}, {"C", 100, 0.1, 0, 100.2, 0, 0}}),
        false));
    // Pair (B, C): DistOCS 0, delta s -0.1 -> x0 = 50, pixels in columns 51..53.
    const float y0 = 214.5f - s.ys * -0.1f;
    const int row = static_cast<int>(std::nearbyint(y0 + 1.0f));
    EXPECT_EQ(p.pixel(51, row), kTrumpetPointPixel);
    EXPECT_EQ(p.pixel(53, row), kTrumpetPointPixel);
    EXPECT_NE(p.pixel(54, row), kTrumpetPointPixel);
}

TEST(TrumpetGraph, AUnitChangeLeavesThePictureIdentical) {
    JobState job = distanceJob(testing::scaledCloud(40, 30.0, 0.2));
    ImageBuffer mm, m;
    ASSERT_TRUE(drawTrumpetGraph(takeDistanceSnapshot(job, false), mm));
    job.LengthFactor = 0.001;
    job.LengthFormat = "0.000000";
    ASSERT_TRUE(drawTrumpetGraph(takeDistanceSnapshot(job, false), m));
    EXPECT_EQ(mm.pixels(), m.pixels());
    EXPECT_GT(magentaIn(mm).count, 9 * 100);
}

TEST(TrumpetGraph, TheAnalysisExtremesGiveTheSamePictureInOnePass) {
    for (const auto& points : {testing::scaledCloud(50, -40.0, 0.3), testing::scaledCloud(2, 3.0),
                               std::vector<PointPair>{{"A", 0, 0, 0, 0, 0, 0}}}) {
        const auto analysis = analyseDistances(takeDistanceSnapshot(distanceJob(points), false));
        ASSERT_TRUE(analysis.has_value());
        const TrumpetScale s = trumpetScaleOf(analysis->points);
        const PairExtremes& e = analysis->extremes;
        EXPECT_EQ(e.largestDistOcs, s.largestDistance);
        EXPECT_EQ(std::max(std::fabs(e.smallestDeltaS), e.largestDeltaS), s.largestDeltaS);
        ImageBuffer twoPasses, onePass;
        ASSERT_TRUE(drawTrumpetGraph(analysis->points, twoPasses));
        ASSERT_TRUE(drawTrumpetGraph(*analysis, onePass));
        EXPECT_EQ(twoPasses.pixels(), onePass.pixels());
    }
}

TEST(TrumpetGraph, FewerThanTwoPointsDrawOnlyTheAxes) {
    const ImageBuffer p = draw({{"A", 0, 0, 0, 0, 0, 0}});
    EXPECT_EQ(magentaIn(p).count, 0);
    EXPECT_EQ(p.pixel(400, 214), kTrumpetAxisPixel);
}

TEST(TrumpetGraph, StopEndsTheDrawing) {
    JobState job = distanceJob(testing::scaledCloud(300, 5.0));
    testing::FakeProgress progress;
    testing::FakeEventPump pump;
    pump.onEvents([&](int) { progress.stop = true; });
    ImageBuffer picture;
    EXPECT_FALSE(drawTrumpetGraph(takeDistanceSnapshot(job, false), picture,
                                  {&pump, &progress, std::chrono::milliseconds(0)}));
    EXPECT_FALSE(progress.isOpen);
}

}  // namespace
}  // namespace kal
