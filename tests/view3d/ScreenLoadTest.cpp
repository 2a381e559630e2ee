#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>

#include "support/SampleJobs.h"
#include "view3d/ScreenLoad.h"
#include "view3d/ScreenScene.h"

namespace kal {
namespace {

TEST(ScreenLoad, ANewWindowStartsFromTheListedValues) {
    ScreenModel s;
    s.view.Massstab = 7, s.view.BigNess = 9, s.view.CS_Type = "SPH", s.view.ColorBased = "x";
    initialiseNewScreen(s, storedColour(1, 2, 3));
    EXPECT_EQ(s.view.ViewAngles.rows(), 2);
    EXPECT_EQ(s.view.ViewAngles.cols(), 3);
    EXPECT_EQ(s.view.ViewAngles(1, 1), -3.14159265358979);
    EXPECT_EQ(s.view.ViewAngles(1, 2), 0);
    EXPECT_EQ(s.view.Massstab, 1);
    EXPECT_EQ(s.view.OffsetX, 0);
    EXPECT_EQ(s.view.GridLength, 100);
    EXPECT_EQ(s.view.BigNess, 2);
    EXPECT_EQ(s.view.AnzKlassenPos, 10);
    EXPECT_EQ(s.view.AnzKlassenNeg, 10);
    EXPECT_EQ(s.view.CS_Type, "CART");
    EXPECT_EQ(s.view.ColorBased, "");
    EXPECT_TRUE(s.view.showVeX && s.view.showVeY && s.view.showVeZ);
    EXPECT_EQ(s.backColour, storedColour(1, 2, 3));
}

TEST(ScreenLoad, GridSpacingIsThePowerOfTenThatFitsSevenTimes) {
    struct Case {
        int width;
        double massstab;
        std::int32_t adis;
    };
    const Case cases[] = {
        {700, 1, 100},        // 100 → 10^2
        {7000, 1, 100},       // exactly 1000: ln/ln gives 2.9999999999999996, as stored views have it
        {7007, 1, 1000},      // 1001
        {630, 1, 10},         // 90
        {700, 0.002, 10000},  // 50,000
        {6, 1, 0},            // below 1: 10^-1 rounds to 0 (a cloud narrower than 6.3 mm)
        {700, 0, 1},          // no logarithm: the window still opens
        {700, -3, 1},        {700, std::numeric_limits<double>::quiet_NaN(), 1}, {0, 1, 1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(gridSpacingForWidth(c.width, c.massstab), c.adis) << c.width << " / " << c.massstab;
}

TEST(ScreenLoad, VectorScaleDrawsTheMeanDeviationAFiveHundredthOfTheExtent) {
    ScreenModel s;
    s.arrays.ViewMinX = 0, s.arrays.ViewMaxX = 1000, s.arrays.ViewMinY = -500, s.arrays.ViewMaxY = 500;
    setLoadVectorScale(s, 0.5f, true);
    EXPECT_FLOAT_EQ(s.view.Vec_Massstab, static_cast<float>(1000 / (0.5 + 1E-10) / 500));
    EXPECT_EQ(s.view.Max, 0.5f);
    EXPECT_EQ(s.view.Min, 0);
    setLoadVectorScale(s, 0.5f, false);
    EXPECT_EQ(s.view.Vec_Massstab, 400);
    // An empty cloud's extents (±1e10, maxima below minima) give no usable scale: 400 stays.
    s.arrays.ViewMinX = s.arrays.ViewMinY = 1e10f, s.arrays.ViewMaxX = s.arrays.ViewMaxY = -1e10f;
    setLoadVectorScale(s, 0, true);
    EXPECT_EQ(s.view.Vec_Massstab, 400);
}

// A job whose residuals are all 0 divides the extent by 1e-10: about 10^10 pixels per millimetre,
// which "longer" could never reach and which every later window inherited.
TEST(ScreenLoad, ZeroResidualsGiveAMagnificationWithinTheLongerLimit) {
    ScreenModel s;
    s.arrays.ViewMinX = 0, s.arrays.ViewMaxX = 1000, s.arrays.ViewMinY = -500, s.arrays.ViewMaxY = 500;
    setLoadVectorScale(s, 0, true);
    EXPECT_EQ(s.view.Vec_Massstab, 1e7f);
    EXPECT_EQ(clampedVectorScale(1e10f), 1e7f);
    EXPECT_EQ(clampedVectorScale(1e-40f), 1e-30f);
    EXPECT_EQ(clampedVectorScale(std::numeric_limits<float>::infinity()), 400);
    EXPECT_EQ(clampedVectorScale(2500), 2500);
}

// The default view record keeps the magnification only for the points it was stored with; a
// record of other (or unknown) points gives way to the one the load fitted to these residuals.
TEST(ScreenLoad, TheRecordsMagnificationServesOnlyThePointsItWasStoredFor) {
    struct Case {
        const char* label;
        float recordScale;
        std::uint64_t recordStamp, windowStamp;
        float expected;
    };
    const Case cases[] = {
        {"same points: the record's", 1234, 42, 42, 1234},
        {"other points: the load's own", 1234, 42, 43, 2000},
        {"unknown points (settings file): the load's own", 1234, 0, 43, 2000},
        {"same points, beyond the longer limit: clamped", 3e10f, 42, 42, 1e7f},
        {"other points after a zero-residual job: the load's own", 3e10f, 42, 43, 2000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        ScreenProperties d;
        d.ADis = 10, d.VectorMode = true, d.Vec_Massstab = c.recordScale, d.BigNess = 4;
        ScreenProperties v;
        v.Vec_Massstab = 2000;
        takeDefaultViewRecord(v, d, c.recordStamp, c.windowStamp, {});
        EXPECT_EQ(v.Vec_Massstab, c.expected);
        EXPECT_TRUE(v.VectorMode);  // the other settings come as before
        EXPECT_EQ(v.BigNess, 4);
    }
}

// The same points with new residuals kept the record's magnification: the 10^7 of a zero-residual
// calculation drew 0.07 mm vectors 700,000 pixels long in the next window. A magnification that
// would draw the largest vector longer than the picture or shorter than two pixels gives way to
// the one the load computed; residuals all 0 draw nothing, so they keep the record's.
TEST(ScreenLoad, TheRecordsMagnificationGivesWayWhereItCannotShowTheseResiduals) {
    struct Case {
        const char* label;
        float recordScale;
        float largestDeviation;
        float expected;
    };
    const Case cases[] = {
        {"zero residuals before, 0.07 mm now: 700,000 px", 1e7f, 0.07f, 2000},
        {"140 px in a 640 px picture", 2000, 0.07f, 2000},
        {"exactly the picture's width", 640, 1, 640},
        {"one pixel past the width: the load's 2000 px would be too, 24 px (a twentieth of 480)", 641, 1, 24},
        {"exactly two pixels", 2, 1, 2},
        {"under two pixels: 24 px", 1.9f, 1, 24},
        {"residuals all 0: nothing to draw, the record's stays", 1234, 0, 1234},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        ScreenProperties d;
        d.ADis = 10, d.VectorMode = true, d.Vec_Massstab = c.recordScale;
        ScreenProperties v;
        v.Vec_Massstab = 2000;  // what the load computed for these residuals
        takeDefaultViewRecord(v, d, 42, 42, {c.largestDeviation, 640, 480});
        EXPECT_EQ(v.Vec_Massstab, c.expected);
        EXPECT_TRUE(v.VectorMode);
    }
}

// The whole load: a window on zero residuals stores its view, a calculation moves every point
// 0.07 mm off its nominal (the same points), and the next window's vectors stay inside its picture.
TEST(ScreenLoad, ANewWindowAfterNewResidualsOnTheSamePointsDrawsItsVectorsInsideThePicture) {
    JobState job = testing::makePointJob(12);
    for (std::int32_t i = 1; i <= 12; ++i) {
        const auto k = static_cast<std::size_t>(i);
        job.OCS_X.set(i, 100.0 * (i % 4)), job.OCS_Y.set(i, 250.0 * (i % 3)), job.OCS_Z[k] = 80.0 * (i % 5);
        job.MCSt_X.set(i, job.OCS_X[i]), job.MCSt_Y.set(i, job.OCS_Y[i]), job.MCSt_Z[k] = job.OCS_Z[k];
    }
    job.TrafoCalculated = true;
    const ScreenScene scene;
    const GraphicsSession session;
    ScreenModel first;
    first.width = 640, first.height = 480;
    loadScreen(first, job, scene, session, storedColour(255, 255, 255));
    ASSERT_EQ(first.view.Vec_Massstab, 1e7f);
    first.view.VectorMode = true;
    job.DefaultScreenProperties = first.view;  // the view stored by Vector Mode
    job.DefaultViewPointsStamp = first.pointsStamp;

    for (std::int32_t i = 1; i <= 12; ++i) {
        const double a = 0.5 * i;
        job.MCSt_X.set(i, job.OCS_X[i] + 0.07 * std::cos(a)),
            job.MCSt_Y.set(i, job.OCS_Y[i] + 0.07 * std::sin(a));
    }
    ScreenModel second;
    second.width = 640, second.height = 480;
    loadScreen(second, job, scene, session, storedColour(255, 255, 255));
    ASSERT_EQ(second.pointsStamp, first.pointsStamp);
    EXPECT_TRUE(second.view.VectorMode);  // the record's settings still come
    drawScreen(second, job, session, scene);
    for (std::size_t k = 1; k <= 12; ++k) {
        const double length = std::hypot(second.arrays.VectorPixelX[k], second.arrays.VectorPixelY[k]);
        EXPECT_GT(length, 0) << k;
        EXPECT_LE(length, 640) << k;
    }
}

// A magnification computed afresh draws the largest vector at least two pixels long and inside
// the picture, at a twentieth of the picture's shorter side where the load's own figure (1/500 of the
// cloud, a pixel or two in a window the cloud fills) would be shorter; only residuals too small
// for the "longer" limit stay shorter.
TEST(ScreenLoad, ARecomputedMagnificationDrawsTheLargestVectorReadably) {
    struct Case {
        const char* label;
        float ownScale;
        float largestDeviation;
        int width, height;
        double expectedPixels;  // the largest vector drawn with the recomputed magnification
    };
    const Case cases[] = {
        {"the demo after -89.99: 1.5 px becomes 20", 16.0f, 0.093f, 510, 400, 20},
        {"own figure readable: kept", 2000, 0.07f, 640, 480, 140},
        {"own figure past the picture: 24", 2000, 1, 640, 480, 24},
        {"small picture: still two pixels", 1, 0.5f, 15, 12, 2},
        {"residuals too small for the longer limit: the limit", 400, 1e-9f, 640, 480, 1e-2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        const VectorPicture picture{c.largestDeviation, c.width, c.height};
        const float scale = recomputedVectorScale(c.ownScale, picture);
        const double pixels = static_cast<double>(c.largestDeviation) * static_cast<double>(scale);
        EXPECT_NEAR(pixels, c.expectedPixels, c.expectedPixels * 1e-5);
        EXPECT_LE(scale, 1e7f);
    }
    // The whole rule as the new window meets it: a record it cannot use gives way to a
    // magnification the same rule accepts.
    for (const float deviation : {1e-6f, 0.002f, 0.093f, 1.0f, 250.0f}) {
        SCOPED_TRACE(deviation);
        const VectorPicture picture{deviation, 420, 205};
        ScreenProperties record, window;
        record.ADis = 10, record.Vec_Massstab = 1e7f;
        window.Vec_Massstab = 0.5f;  // 1/500 of a small cloud
        takeDefaultViewRecord(window, record, 42, 42, picture);
        EXPECT_TRUE(vectorScaleSuits(window.Vec_Massstab, picture)) << window.Vec_Massstab;
        const double allowed = std::min(10.25, static_cast<double>(deviation) * 1e7);  // the longer limit
        EXPECT_GE(static_cast<double>(deviation) * static_cast<double>(window.Vec_Massstab),
                  allowed * 0.9999);
    }
}

// The demo's points after a calculation that leaves residuals of hundredths of a millimetre (rot z''
// held just off its value), in a window after one that stored its view on zero residuals: the
// largest vector is drawn readably, not a pixel and a half long.
TEST(ScreenLoad, TheDemosNewWindowAfterSmallResidualsShowsItsVectors) {
    JobState job = testing::makeDemoJob(KALVORETH_EXAMPLES);
    for (std::int32_t i = 1; i <= job.IdenticalCount; ++i) {
        const auto k = static_cast<std::size_t>(i);
        job.MCSt_X.set(i, job.OCS_X[i]), job.MCSt_Y.set(i, job.OCS_Y[i]), job.MCSt_Z[k] = job.OCS_Z[k];
    }
    job.TrafoCalculated = true;
    const ScreenScene scene;
    const GraphicsSession session;
    ScreenModel first;
    first.width = 510, first.height = 400;
    loadScreen(first, job, scene, session, storedColour(255, 255, 255));
    first.view.VectorMode = true;
    job.DefaultScreenProperties = first.view;
    job.DefaultViewPointsStamp = first.pointsStamp;

    for (std::int32_t i = 1; i <= job.IdenticalCount; ++i) {
        const double a = 0.9 * i;
        const double r = 0.002 + 0.073 * (i - 1) / (job.IdenticalCount - 1.0);
        job.MCSt_X.set(i, job.OCS_X[i] + r * std::cos(a)), job.MCSt_Y.set(i, job.OCS_Y[i] + r * std::sin(a));
    }
    ScreenModel second;
    second.width = 510, second.height = 400;
    loadScreen(second, job, scene, session, storedColour(255, 255, 255));
    drawScreen(second, job, session, scene);
    double longest = 0;
    for (std::int32_t k = 1; k <= job.IdenticalCount; ++k)
        longest = std::max(
            longest,
            std::hypot(static_cast<double>(second.arrays.VectorPixelX[static_cast<std::size_t>(k)]),
                       static_cast<double>(second.arrays.VectorPixelY[static_cast<std::size_t>(k)])));
    EXPECT_GE(longest, 20 - 0.01);
    EXPECT_LE(longest, 510);
}

TEST(ScreenLoad, ThePointsStampFollowsNamesAndCoordinates) {
    JobState a;
    a.McsCount = a.OcsCount = a.IdenticalCount = 2;
    a.MCS_Name = {"", "P1", "P2"}, a.OCS_Name = {"", "P1", "P2"};
    a.MCS_X = TaggedArray(2), a.MCS_Y = TaggedArray(2), a.OCS_X = TaggedArray(2), a.OCS_Y = TaggedArray(2);
    a.MCS_Z = {0, 1, 2}, a.OCS_Z = {0, 1, 2};
    JobState moved = a;
    moved.OCS_Z[2] = 2.0001;
    JobState renamed = a;
    renamed.OCS_Name[1] = "Q1";
    EXPECT_EQ(pointsStamp(a), pointsStamp(JobState(a)));
    EXPECT_NE(pointsStamp(a), pointsStamp(moved));
    EXPECT_NE(pointsStamp(a), pointsStamp(renamed));
    EXPECT_NE(pointsStamp(JobState()), 0u);
}

TEST(ScreenLoad, LargestColourBasisStartsFromZero) {
    PointCloud cloud;
    cloud.reset(3);
    cloud(1, cloud::ColourBasis) = -4;
    cloud(2, cloud::ColourBasis) = 2.5f;
    cloud(3, cloud::ColourBasis) = 1;
    EXPECT_EQ(largestColourBasis(cloud), 2.5f);
    cloud.reset(1);
    cloud(1, cloud::ColourBasis) = -1;
    EXPECT_EQ(largestColourBasis(cloud), 0);
}

TEST(ScreenLoad, TheDefaultRecordGivesItsDisplaySettingsButNotItsZoom) {
    ScreenProperties d;
    d.VectorMode = true, d.BigNess = 5, d.Vec_Massstab = 77, d.GridLength = 20, d.AnzKlassenPos = 4,
    d.AnzKlassenNeg = 3, d.AusserhalbTol = true, d.Min = -0.1, d.Max = 0.2, d.showVeY = true,
    d.ColorBased = "z", d.ShowOnlyUsedComponent = true, d.OuterColor = 255, d.CS_Type = "CYL",
    d.BinaerModus = true, d.GridXY = true, d.GridZX = true, d.ADis = 50, d.BDis = 60, d.Cdis = 70,
    d.ShowGridDim = true;
    d.Massstab = 9, d.OffsetX = 9, d.OffsetY = 9, d.BlackPlane = true, d.LineCount = 4;
    ScreenProperties v;
    v.Massstab = 2, v.OffsetX = 3, v.OffsetY = 4;
    takeDefaultDisplaySettings(v, d);
    ScreenProperties expected = d;
    expected.Massstab = 2, expected.OffsetX = 3, expected.OffsetY = 4, expected.BlackPlane = false,
    expected.LineCount = 0;
    EXPECT_EQ(v, expected);
}

TEST(ScreenLoad, ANewWindowHasOneEmptyLineSlot) {
    ScreenProperties v;
    sizeNewWindowLines(v);
    EXPECT_EQ(v.Lines.rows(), 2);
    EXPECT_EQ(v.Lines.cols(), 1);
    EXPECT_EQ(v.Lines(1, 1), 0);
    EXPECT_EQ(v.Lines(2, 1), 0);
}

}  // namespace
}  // namespace kal
