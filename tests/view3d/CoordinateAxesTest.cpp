#include <gtest/gtest.h>

#include <map>

#include "shared/Errors.h"
#include "view3d/CoordinateAxes.h"
#include "view3d/McsExtents.h"
#include "view3d/StandardPalette.h"

namespace kal {
namespace {

constexpr double kTopA1 = -3.14159265358979;

struct PlacedLabel {
    std::string text;
    float x, y;
};

struct LabelRecorder {
    std::vector<PlacedLabel> labels;
    PlaceLabel sink() {
        return [this](DisplayList&, const std::string& t, float x, float y) { labels.push_back({t, x, y}); };
    }
};

std::vector<Segment> segments(const DisplayList& list, PenStyle style) {
    std::vector<Segment> out;
    for (const auto& item : list.items)
        if (const auto* s = std::get_if<Segment>(&item); s && s->style == style) out.push_back(*s);
    return out;
}

JobState identityJob() {
    JobState job;
    job.ScaleX() = job.ScaleY() = job.ScaleZ() = 1;
    return job;
}

TEST(CoordinateAxes, AxisLengthFollowsTheDiagonalOfTheMcsBox) {
    struct Case {
        double diagonal;
        std::int32_t length;
    };
    const Case cases[] = {{0, 1},
                          {5, 1},
                          {15, 2},
                          {25, 2},
                          {12'345.6, 1'234},
                          {10'000'000, 1'000'000},
                          {20'000'000, 5'000},
                          {NAN, 5'000}};
    for (const Case& c : cases) EXPECT_EQ(systemAxisLength(c.diagonal), c.length) << c.diagonal;
}

TEST(CoordinateAxes, EmptyMcsGivesTheLongFallbackAxes) {
    JobState job;
    EXPECT_EQ(systemAxisLength(extentsDiagonal(mcsExtents(job))), 5'000);
}

TEST(CoordinateAxes, ExtentsAreScannedOncePerJobChange) {
    JobState job;
    job.McsCount = 2;
    job.MCS_X.resize(2), job.MCS_Y.resize(2), job.MCS_Z.assign(3, 0.0);
    job.MCS_X.set(1, 0), job.MCS_Y.set(1, 0), job.MCS_X.set(2, 30), job.MCS_Y.set(2, 40);
    McsExtentsCache cache;
    EXPECT_DOUBLE_EQ(cache.diagonal(job, 1), 50);
    job.MCS_X.set(2, 300), job.MCS_Y.set(2, 400);
    EXPECT_DOUBLE_EQ(cache.diagonal(job, 1), 50);  // same state of the points: no rescan
    EXPECT_DOUBLE_EQ(cache.diagonal(job, 2), 500);
    job.MCS_X.set(2, 3), job.MCS_Y.set(2, 4);
    cache.invalidate();
    EXPECT_DOUBLE_EQ(cache.diagonal(job, 2), 5);
    job.McsCount = 1;  // points replaced without the window hearing of it
    EXPECT_DOUBLE_EQ(cache.diagonal(job, 2), 0);
}

TEST(CoordinateAxes, TripodHasFixedSizeInTheLowerLeftCorner) {
    for (const float massstab : {0.01f, 1.0f, 250.0f}) {
        const ViewProjection projection(kTopA1, 0, 0, massstab, 33, 44, 600);
        DisplayList list;
        drawCoordinateAxes(list, projection, 600, {}, nullptr, nullptr);
        const auto solid = segments(list, PenStyle::Solid);
        ASSERT_GE(solid.size(), 6u);
        // x to the right, y up the screen (Top view), 50 px each, from (70, 600 − 90).
        EXPECT_NEAR(solid[0].from.x, 70, 1e-4);
        EXPECT_NEAR(solid[0].from.y, 510, 1e-4);
        EXPECT_NEAR(solid[0].to.x, 120, 1e-4);
        EXPECT_NEAR(solid[0].to.y, 510, 1e-4);
        EXPECT_NEAR(solid[1].to.x, 70, 1e-4);
        EXPECT_NEAR(solid[1].to.y, 460, 1e-4);
        EXPECT_EQ(solid[0].colour, paletteColour(12));
        EXPECT_EQ(solid[1].colour, paletteColour(14));
        EXPECT_EQ(solid[2].colour, paletteColour(10));
        // The arrowhead: barbs at (40, ±6).
        EXPECT_NEAR(solid[3].to.x, 110, 1e-4);
        EXPECT_NEAR(std::abs(solid[3].to.y - 510), 6, 1e-4);
    }
    const ViewProjection projection(kTopA1, 0, 0, 1, 0, 0, 100);
    DisplayList small;
    drawCoordinateAxes(small, projection, 100, {}, nullptr, nullptr);
    EXPECT_NEAR(segments(small, PenStyle::Solid)[0].from.y, 10, 1e-4);
}

TEST(CoordinateAxes, TripodDotsTellTheAxesApartWithOrWithoutLabels) {
    for (const bool labels : {false, true}) {
        const ViewProjection projection(kTopA1, 0, 0, 1, 0, 0, 600);
        DisplayList list;
        LabelRecorder recorder;
        drawCoordinateAxes(list, projection, 600, {1, labels, "OCS", "MCS"}, nullptr, recorder.sink());
        std::map<StoredColour, int> dots;
        for (const auto& item : list.items)
            if (const auto* c = std::get_if<Circle>(&item)) ++dots[c->fill];
        EXPECT_EQ(dots[paletteColour(12)], 1);
        EXPECT_EQ(dots[paletteColour(14)], 2);
        EXPECT_EQ(dots[paletteColour(10)], 3);
        EXPECT_EQ(recorder.labels.size(), labels ? 6u : 0u);  // tripod and OCS axes; no mapper, no MCS
    }
}

TEST(CoordinateAxes, IdentityTransformationPutsTheMcsAxesOnTheOcsAxes) {
    const JobState job = identityJob();
    const ViewProjection projection(0.3, -0.7, 1.1, 2.5f, 120, -40, 600,
                                    ViewOrigin{0, false, 0, 0, 0, 5, -6, 7});
    DisplayList list;
    LabelRecorder recorder;
    drawCoordinateAxes(list, projection, 600, {1234, true, "OCS", "MCS"}, mcsToOcsMapper(job),
                       recorder.sink());
    const auto solid = segments(list, PenStyle::Solid);
    const auto dotted = segments(list, PenStyle::Dot);
    ASSERT_EQ(dotted.size(), 3u);
    ASSERT_GE(solid.size(), 3u);
    const Segment* ocs = &solid[solid.size() - 3];
    for (int k = 0; k < 3; ++k) {
        EXPECT_EQ(dotted[k].from, ocs[k].from);
        EXPECT_EQ(dotted[k].to, ocs[k].to);
        EXPECT_EQ(dotted[k].colour, ocs[k].colour);
    }
    // The OCS x axis is L long in the world: L × Massstab pixels when it lies in the screen.
    const ViewPoint origin = projection.worldToPixel(0, 0, 0), xEnd = projection.worldToPixel(1234, 0, 0);
    EXPECT_NEAR(ocs[0].from.x, origin.x, 1e-3);
    EXPECT_NEAR(ocs[0].to.y, xEnd.y, 1e-3);
    ASSERT_EQ(recorder.labels.size(), 9u);
    EXPECT_EQ(recorder.labels[3].text, "x OCS");
    EXPECT_EQ(recorder.labels[8].text, "z MCS");
    EXPECT_FLOAT_EQ(recorder.labels[8].x, dotted[2].to.x + 5);
    EXPECT_FLOAT_EQ(recorder.labels[8].y, dotted[2].to.y + 5);
}

TEST(CoordinateAxes, McsAxesThatCannotBeMappedAreLeftOut) {
    const ViewProjection projection(kTopA1, 0, 0, 1, 0, 0, 600);
    DisplayList list;
    const PointMapper failing = [](double, double, double, double&, double&, double&) {
        throw NumericError("TransformPoint");
    };
    drawCoordinateAxes(list, projection, 600, {10, false, "OCS", "MCS"}, failing, nullptr);
    EXPECT_TRUE(segments(list, PenStyle::Dot).empty());
    EXPECT_EQ(segments(list, PenStyle::Solid).size(), 9u);  // tripod 3 + arrowhead 3 + OCS 3
}

}  // namespace
}  // namespace kal
