#include <gtest/gtest.h>

#include <cmath>

#include "view3d/CloudProjection.h"
#include "view3d/PointCloudBuild.h"
#include "view3d/ViewTestScenes.h"

namespace kal {
namespace {

using testing::sceneJob;
using testing::ScenePoint;
using testing::topView;

// A cloud whose rows are the given points (no identical points: every row an MCS-only point).
PointCloud cloudOf(const std::vector<ScenePoint>& points) {
    PointCloud cloud;
    cloud.reset(static_cast<std::int32_t>(points.size()));
    for (std::int32_t i = 1; i <= cloud.count(); ++i) {
        const ScenePoint& p = points[static_cast<std::size_t>(i - 1)];
        cloud(i, cloud::X) = static_cast<float>(p.x);
        cloud(i, cloud::Y) = static_cast<float>(p.y);
        cloud(i, cloud::Z) = static_cast<float>(p.z);
        cloud.name(i) = p.name;
    }
    return cloud;
}

ProjectionInputs inputsFor(SurfaceSize surface) {
    ProjectionInputs in;
    in.surface = surface;
    return in;
}

TEST(CloudProjection, NewWindowAnglesKeepWorldAxesWithYUpTheScreen) {
    const PointCloud cloud = cloudOf({{"A", 10, 20, 30}, {"B", -5.5, 0.25, -7}, {"C", 0, 100, 0}});
    ScreenProperties view = topView(2.0f, 0.0f, 0.0f);
    ViewOrigin origin;
    ViewArrays arrays;
    const ProjectionInputs in = inputsFor({400, 300, 0});
    projectCloud(cloud, view, origin, in, arrays);
    computePixels(view, in, arrays);
    for (std::int32_t i = 1; i <= 3; ++i) {
        EXPECT_NEAR(arrays.ViewX[i], cloud(i, cloud::X) + 200.0f, 1e-4) << i;
        EXPECT_NEAR(arrays.ViewY[i], cloud(i, cloud::Y) + 200.0f, 1e-4) << i;
        EXPECT_NEAR(arrays.ViewZ[i], cloud(i, cloud::Z), 1e-4) << i;
        EXPECT_NEAR(arrays.PixelX[i], 2.0f * (cloud(i, cloud::X) + 200.0f), 1e-3) << i;
        EXPECT_NEAR(arrays.PixelY[i], 300.0f - 2.0f * (cloud(i, cloud::Y) + 200.0f), 1e-3) << i;
    }
    EXPECT_LT(arrays.PixelY[3], arrays.PixelY[1]);  // larger world y is higher on the screen
    EXPECT_FLOAT_EQ(arrays.ViewMaxX, 210.0f);
    EXPECT_FLOAT_EQ(arrays.ViewMinZ, -7.0f);
}

TEST(CloudProjection, FitOfWideCloudInSquareWindowFillsNinetyPercentWithEqualMargins) {
    const PointCloud cloud = cloudOf({{"A", -100, -25, 0}, {"B", 100, 25, 0}, {"C", 30, 0, 5}});
    ScreenProperties view = topView();
    ViewOrigin origin;
    ViewArrays arrays;
    const SurfaceSize surface{500, 500, 0};
    const ProjectionInputs in = inputsFor(surface);
    projectCloud(cloud, view, origin, in, arrays);
    ASSERT_TRUE(fitView(view, arrays, surface));
    EXPECT_NEAR(view.Massstab, 0.9 * 500 / 200, 1e-5);
    computePixels(view, in, arrays);
    const float left = arrays.PixelX[1], right = 500.0f - arrays.PixelX[2];
    EXPECT_NEAR(left, right, 1e-3);
    EXPECT_NEAR(left, 25.0f, 1e-3);
    EXPECT_NEAR(arrays.PixelY[1] + arrays.PixelY[2], 500.0f, 1e-3);  // centred vertically too
}

TEST(CloudProjection, FitTakesNinetyPercentInDoubleBeforeStoringTheSingleScale) {
    // 400 wide in a 300 px square: sx = single(300 / 400) = 0.75; 0.9 × 0.75 in double is
    // 0.675, stored as the single nearest to it. A single 0.9 gives the single below.
    const PointCloud cloud = cloudOf({{"A", -200, -10, 0}, {"B", 200, 10, 0}, {"C", 0, 0, 0}});
    ScreenProperties view = topView();
    ViewOrigin origin;
    ViewArrays arrays;
    const SurfaceSize surface{300, 300, 0};
    projectCloud(cloud, view, origin, inputsFor(surface), arrays);
    ASSERT_TRUE(fitView(view, arrays, surface));
    const auto sx = static_cast<float>(300 / (1e-10 + 400.0));
    EXPECT_EQ(view.Massstab, static_cast<float>(0.9 * static_cast<double>(sx)));
    EXPECT_EQ(view.Massstab, 0.675f);
}

TEST(CloudProjection, FitRefusesWhatWouldSpoilTheZoom) {
    ScreenProperties view = topView(3.0f, 7.0f, 9.0f);
    ViewOrigin origin;
    ViewArrays arrays;
    const PointCloud empty;
    projectCloud(empty, view, origin, inputsFor({400, 300, 0}), arrays);
    EXPECT_FALSE(fitView(view, arrays, {400, 300, 0}));  // no rows: extents ±1e10
    EXPECT_FALSE(centreView(view, arrays, {400, 300, 0}));
    EXPECT_EQ(view.Massstab, 3.0f);
    EXPECT_EQ(view.OffsetX, 7.0f);

    const PointCloud one = cloudOf({{"A", 1000, 2000, 3}});
    projectCloud(one, view, origin, inputsFor({400, 300, 0}), arrays);
    EXPECT_FALSE(fitView(view, arrays, {0, 0, 0}));  // a surface without area keeps the zoom
    EXPECT_EQ(view.Massstab, 3.0f);

    // A single point is fitted as a cloud 1 mm wide and lands in the middle.
    ASSERT_TRUE(fitView(view, arrays, {400, 300, 0}));
    EXPECT_NEAR(view.Massstab, 0.9f * 300.0f, 1e-2);
    computePixels(view, inputsFor({400, 300, 0}), arrays);
    EXPECT_NEAR(arrays.PixelX[1], 200.0f, 0.5f);
    EXPECT_NEAR(arrays.PixelY[1], 150.0f, 0.5f);
}

// The colour bar stands in the reserved right columns: the fit fills and centres in the rest.
TEST(CloudProjection, FitAndCentreLeaveTheReservedRightColumnsFree) {
    const PointCloud cloud = cloudOf({{"A", -100, -25, 0}, {"B", 100, 25, 0}, {"C", 30, 0, 5}});
    ScreenProperties view = topView();
    ViewOrigin origin;
    ViewArrays arrays;
    const SurfaceSize surface{500, 500, 0, 100};
    const ProjectionInputs in = inputsFor(surface);
    projectCloud(cloud, view, origin, in, arrays);
    ASSERT_TRUE(fitView(view, arrays, surface));
    EXPECT_NEAR(view.Massstab, 0.9 * 400 / 200, 1e-5);
    computePixels(view, in, arrays);
    EXPECT_NEAR(arrays.PixelX[1], 20.0f, 1e-3);           // 5 % of the free 400 on each side
    EXPECT_NEAR(arrays.PixelX[2], 400.0f - 20.0f, 1e-3);  // clear of columns 400..499
    EXPECT_NEAR(arrays.PixelY[1] + arrays.PixelY[2], 500.0f, 1e-3);

    view.OffsetX = 0;
    ASSERT_TRUE(centreView(view, arrays, surface));
    computePixels(view, in, arrays);
    EXPECT_NEAR((arrays.PixelX[1] + arrays.PixelX[2]) / 2, 200.0f, 1e-3);
}

// A resized window's view follows its surface: fitted stays fitted at the new size, whatever
// the new shape and the reserved columns.
TEST(CloudProjection, AFittedViewFollowingAResizeIsTheFitOfTheNewSize) {
    const PointCloud cloud = cloudOf({{"A", -100, -25, 0}, {"B", 100, 25, 0}, {"C", 30, 60, 5}});
    const SurfaceSize start{640, 480, 20, 100};
    const SurfaceSize sizes[] = {
        {320, 480, 20, 60}, {1200, 300, 20, 75}, {300, 900, 20, 0}, {641, 481, 20, 100}};
    for (const SurfaceSize& after : sizes) {
        ScreenProperties followed = topView();
        ViewOrigin origin;
        ViewArrays arrays;
        projectCloud(cloud, followed, origin, inputsFor(start), arrays);
        ASSERT_TRUE(fitView(followed, arrays, start));
        ASSERT_TRUE(followSurface(followed, arrays, start, after));
        ScreenProperties fitted = followed;
        ASSERT_TRUE(fitView(fitted, arrays, after));
        EXPECT_NEAR(followed.Massstab, fitted.Massstab, 1e-5 * fitted.Massstab) << after.width;
        EXPECT_NEAR(followed.OffsetX, fitted.OffsetX, 1e-2) << after.width;
        EXPECT_NEAR(followed.OffsetY, fitted.OffsetY, 1e-2) << after.width;
    }
}

// A view the user zoomed and panned keeps its zoom relative to the fit and its middle point, and
// comes back as it was when the window gets its old size back.
TEST(CloudProjection, AZoomedViewKeepsItsMiddleAndComesBackWithTheSize) {
    const PointCloud cloud = cloudOf({{"A", -100, -25, 0}, {"B", 100, 25, 0}, {"C", 30, 60, 5}});
    const SurfaceSize start{640, 480, 20, 100}, narrow{300, 700, 20, 60};
    ScreenProperties view = topView();
    ViewOrigin origin;
    ViewArrays arrays;
    projectCloud(cloud, view, origin, inputsFor(start), arrays);
    ASSERT_TRUE(fitView(view, arrays, start));
    const float fitStart = view.Massstab;
    view.Massstab *= 3;  // zoomed in and panned away from the fit
    view.OffsetX -= 250;
    view.OffsetY += 40;
    const ScreenProperties before = view;
    // The view point in the middle of the free part (270, 240).
    const double u = (270.0 - view.OffsetX) / view.Massstab, v = (240.0 - view.OffsetY) / view.Massstab;

    ASSERT_TRUE(followSurface(view, arrays, start, narrow));
    ScreenProperties fitNarrow = view;
    ASSERT_TRUE(fitView(fitNarrow, arrays, narrow));
    EXPECT_NEAR(view.Massstab / fitNarrow.Massstab, 3.0, 1e-5);
    EXPECT_NEAR(u * view.Massstab + view.OffsetX, 120.0, 1e-2);  // the middle of 300 − 60
    EXPECT_NEAR(v * view.Massstab + view.OffsetY, 350.0, 1e-2);

    ASSERT_TRUE(followSurface(view, arrays, narrow, start));
    EXPECT_NEAR(view.Massstab, before.Massstab, 1e-5 * fitStart);
    EXPECT_NEAR(view.OffsetX, before.OffsetX, 1e-2);
    EXPECT_NEAR(view.OffsetY, before.OffsetY, 1e-2);
}

TEST(CloudProjection, ASurfaceWithoutAreaLeavesTheViewAsItWas) {
    const PointCloud cloud = cloudOf({{"A", 0, 0, 0}, {"B", 40, 10, 0}});
    ScreenProperties view = topView(1.5f, 3.0f, 4.0f);
    ViewOrigin origin;
    ViewArrays arrays;
    projectCloud(cloud, view, origin, inputsFor({300, 200, 0}), arrays);
    EXPECT_FALSE(followSurface(view, arrays, {300, 200, 0}, {0, 0, 0}));
    EXPECT_FALSE(followSurface(view, arrays, {0, 0, 0}, {300, 200, 0}));
    EXPECT_EQ(view.Massstab, 1.5f);
    EXPECT_EQ(view.OffsetX, 3.0f);
    EXPECT_EQ(view.OffsetY, 4.0f);

    // Without a cloud to fit, the zoom stays and the middle point stays in the middle.
    const PointCloud empty;
    projectCloud(empty, view, origin, inputsFor({300, 200, 0}), arrays);
    ASSERT_TRUE(followSurface(view, arrays, {300, 200, 0}, {500, 400, 0}));
    EXPECT_EQ(view.Massstab, 1.5f);
    EXPECT_NEAR(view.OffsetX, 3.0f + 100.0f, 1e-4);
    EXPECT_NEAR(view.OffsetY, 4.0f + 100.0f, 1e-4);
}

TEST(CloudProjection, CentreKeepsZoomAndMovesMiddleOfExtentsToMiddleOfSurface) {
    const PointCloud cloud = cloudOf({{"A", 0, 0, 0}, {"B", 40, 10, 0}});
    ScreenProperties view = topView(1.5f, 0.0f, 0.0f);
    ViewOrigin origin;
    ViewArrays arrays;
    const SurfaceSize surface{300, 200, 0};
    projectCloud(cloud, view, origin, inputsFor(surface), arrays);
    ASSERT_TRUE(centreView(view, arrays, surface));
    computePixels(view, inputsFor(surface), arrays);
    EXPECT_EQ(view.Massstab, 1.5f);
    EXPECT_NEAR((arrays.PixelX[1] + arrays.PixelX[2]) / 2, 150.0f, 1e-3);
    EXPECT_NEAR((arrays.PixelY[1] + arrays.PixelY[2]) / 2, 100.0f, 1e-3);
}

TEST(CloudProjection, PixelWithinScreenLimits) {
    ViewArrays arrays;
    arrays.resize(1);
    const SurfaceSize surface{400, 300, 20};  // usable: x 0..390, y 0..275
    struct Case {
        float x, y;
        bool within;
    };
    const Case cases[] = {{0, 100, true},      {-0.01f, 100, false}, {390, 100, true}, {395, 100, false},
                          {200, 0, true},      {200, -1, false},     {200, 275, true}, {200, 276, false},
                          {400 - 5, 0, false}, {0, 275, true}};
    for (const Case& c : cases) {
        arrays.PixelX[1] = c.x, arrays.PixelY[1] = c.y;
        EXPECT_EQ(pixelWithinScreen(arrays, 1, surface), c.within) << c.x << ", " << c.y;
    }
    EXPECT_FALSE(pixelWithinScreen(arrays, 2, surface));  // no such row
    EXPECT_FALSE(pixelWithinScreen(arrays, 0, surface));
}

// Deviation vectors of a job: MCS side shifted from the OCS side.
JobState vectorJob() {
    return sceneJob({{"P1", 10, 0, 0}, {"P2", 0, 10, 0}, {"P3", 0, 0, 10}},
                    {{"P1", 9, 0.5, 0}, {"P2", 0.25, 10, -1}, {"P3", 1, 2, 10}});
}

TEST(CloudProjection, DevVecDirectionFalseReversesEveryVector) {
    JobState job = vectorJob();
    ScreenProperties view = topView();
    view.VectorMode = true;
    view.Vec_Massstab = 50.0f;
    PointCloud cloud;
    buildPointCloud(cloud, job, view);
    ViewOrigin origin;
    ViewArrays forward, backward;
    ProjectionInputs in = projectionInputs(job, {400, 300, 0});
    ASSERT_TRUE(in.DevVecDirection);
    projectCloud(cloud, view, origin, in, forward);
    computePixels(view, in, forward);
    in.DevVecDirection = false;
    projectCloud(cloud, view, origin, in, backward);
    computePixels(view, in, backward);
    for (std::int32_t i = 1; i <= 3; ++i) {
        EXPECT_NE(forward.VectorPixelX[i] * forward.VectorPixelX[i] +
                      forward.VectorPixelY[i] * forward.VectorPixelY[i],
                  0.0f);
        EXPECT_EQ(backward.VectorPixelX[i], -forward.VectorPixelX[i]) << i;
        EXPECT_EQ(backward.VectorPixelY[i], -forward.VectorPixelY[i]) << i;
        EXPECT_EQ(backward.PixelX[i], forward.PixelX[i]);
    }
    // Row 1's deviation (1, −0.5) mm, scaled by Vec_Massstab: 50 px right, 25 px down.
    EXPECT_NEAR(forward.VectorPixelX[1], 50.0f, 1e-3);
    EXPECT_NEAR(forward.VectorPixelY[1], 25.0f, 1e-3);
    for (std::int32_t i = 4; i <= 6; ++i) EXPECT_EQ(forward.VectorPixelX[i], 0.0f);  // OCS sides carry none
}

TEST(CloudProjection, OnlyUsedComponentsTurnIntoTheDrawnVector) {
    JobState job = vectorJob();
    job.UseFlags[1] = 0;  // x of P1 left out
    ScreenProperties view = topView();
    view.VectorMode = true;
    view.ShowOnlyUsedComponent = true;
    PointCloud cloud;
    buildPointCloud(cloud, job, view);
    ViewOrigin origin;
    ViewArrays arrays;
    projectCloud(cloud, view, origin, projectionInputs(job, {400, 300, 0}), arrays);
    EXPECT_NEAR(arrays.VectorViewX[1], 0.0f, 1e-6);
    EXPECT_NEAR(arrays.VectorViewY[1], 0.5f, 1e-6);    // view u2 is minus world y
    EXPECT_NEAR(arrays.VectorViewX[2], -0.25f, 1e-6);  // P2 keeps every component
}

TEST(CloudProjection, VectorsStayZeroOutsideVectorModeAndAnalyse) {
    JobState job = vectorJob();
    ScreenProperties view = topView();
    PointCloud cloud;
    buildPointCloud(cloud, job, view);
    ViewOrigin origin;
    ViewArrays arrays;
    ProjectionInputs in = projectionInputs(job, {400, 300, 0});
    projectCloud(cloud, view, origin, in, arrays);
    computePixels(view, in, arrays);
    EXPECT_EQ(arrays.VectorPixelX[1], 0.0f);
    in.AnalyseFlag = true;  // the animation needs them without vector mode
    projectCloud(cloud, view, origin, in, arrays);
    computePixels(view, in, arrays);
    EXPECT_NE(arrays.VectorPixelX[1], 0.0f);
}

TEST(CloudProjection, SinglePointProjectionMatchesCloudAndInvertsWithOriginShift) {
    const PointCloud cloud = cloudOf({{"A", 12.5, -40, 3}, {"B", 100, 20, -60}});
    ScreenProperties view = topView(1.75f, 13.0f, -4.0f);
    view.ViewAngles(1, 1) = 0.7, view.ViewAngles(1, 2) = -0.3, view.ViewAngles(1, 3) = 2.1;
    ViewOrigin origin;
    origin.OriginShiftX = -12.5, origin.OriginShiftY = 40, origin.OriginShiftZ = -3;
    ViewArrays arrays;
    const SurfaceSize surface{640, 480, 0};
    projectCloud(cloud, view, origin, inputsFor(surface), arrays);
    computePixels(view, inputsFor(surface), arrays);
    const ViewProjection p = viewProjection(view, origin, surface);
    for (std::int32_t i = 1; i <= 2; ++i) {
        const ViewPoint v = p.worldToPixel(cloud(i, cloud::X), cloud(i, cloud::Y), cloud(i, cloud::Z));
        EXPECT_NEAR(v.x, arrays.PixelX[i], 2e-3);
        EXPECT_NEAR(v.y, arrays.PixelY[i], 2e-3);
        EXPECT_NEAR(v.z, arrays.PixelZ[i], 2e-3);
        const ViewPoint w = p.pixelToWorld(v.x, v.y, v.z);
        EXPECT_NEAR(w.x, cloud(i, cloud::X), 1e-9);
        EXPECT_NEAR(w.y, cloud(i, cloud::Y), 1e-9);
        EXPECT_NEAR(w.z, cloud(i, cloud::Z), 1e-9);
        // In shifted coordinates (the grid's), the shift is neither added nor removed.
        const ViewPoint s = p.pixelToShifted(v.x, v.y, v.z);
        EXPECT_NEAR(s.x, cloud(i, cloud::X) - 12.5, 1e-9);
        EXPECT_NEAR(s.y, cloud(i, cloud::Y) + 40, 1e-9);
        const ViewPoint back = p.shiftedToPixel(s.x, s.y, s.z);
        EXPECT_NEAR(back.x, v.x, 1e-9);
        EXPECT_NEAR(back.y, v.y, 1e-9);
    }
    EXPECT_TRUE(p.invertible());
    EXPECT_FALSE(viewProjection(topView(0.0f), origin, surface).invertible());
    const auto uv = turnPoint(1, 2, 3, view.ViewAngles);
    const ViewPoint turned = ViewProjection(0.7f, -0.3f, 2.1f, 1, 0, 0, 0).worldToView(1, 2, 3);
    EXPECT_NEAR(uv[0], turned.x - 200, 1e-12);
    EXPECT_NEAR(uv[1], 200 - turned.y, 1e-12);
}

TEST(CloudProjection, RecentringPutsTheOriginPointInTheMiddle) {
    JobState job = sceneJob({{"P1", 10, 10, 0}, {"P2", 50, 30, 0}}, {{"P1", 10, 10, 0}, {"P2", 50, 30, 0}},
                            {{"M3", 90, -20, 5}}, {{"O3", -70, 40, 1}});
    ScreenProperties view = topView(2.0f, 0.0f, 0.0f);
    PointCloud cloud;
    buildPointCloud(cloud, job, view);
    ASSERT_EQ(cloud.count(), 6);
    const SurfaceSize surface{400, 300, 0};
    struct Case {
        std::int32_t sheetRow;
        std::string name;
        std::int32_t cloudRow;
    };
    // Main-sheet rows: P1, P2, M3, O3; cloud rows: P1, P2, P1, P2, M3, O3.
    const Case cases[] = {{2, "", 2}, {3, "", 5}, {4, "", 6}, {1, "O3", 6}, {0, "M3", 5}};
    for (const Case& c : cases) {
        ViewOrigin origin;
        origin.OriginPointIndex = c.sheetRow;
        origin.RecentreFlag = true;
        ViewArrays arrays;
        ProjectionInputs in = projectionInputs(job, surface);
        in.OriginPointName = c.name;
        projectCloud(cloud, view, origin, in, arrays);
        computePixels(view, in, arrays);
        EXPECT_FALSE(origin.RecentreFlag);
        EXPECT_EQ(origin.OriginShiftX, -double(cloud(c.cloudRow, cloud::X))) << c.sheetRow;
        EXPECT_NEAR(arrays.PixelX[c.cloudRow], 200.0f, 1e-3) << c.sheetRow;
        EXPECT_NEAR(arrays.PixelY[c.cloudRow], 150.0f, 1e-3) << c.sheetRow;
        EXPECT_EQ(view.Massstab, 2.0f);
    }
}

// The transformed MCS point and its OCS partner lie apart here, so turning about the wrong side of a
// pair shows: the last identical point's sheet row turns about its transformed MCS point (50, 30,
// 4), not about its OCS point (-80, -45, 7), and an MCS-only row right after it about that point.
TEST(CloudProjection, RecentringOnTheLastIdenticalPointTakesItsTransformedMcsSide) {
    JobState job = sceneJob({{"P1", 10, 10, 0}, {"P2", 50, 30, 4}}, {{"P1", -30, 5, 2}, {"P2", -80, -45, 7}},
                            {{"M3", 90, -20, 5}});
    ScreenProperties view = topView(2.0f, 0.0f, 0.0f);
    PointCloud cloud;
    buildPointCloud(cloud, job, view);
    ASSERT_EQ(cloud.count(), 5);
    const SurfaceSize surface{400, 300, 0};
    struct Case {
        std::int32_t sheetRow;
        double x, y, z;        // the origin, by hand
        std::int32_t centred;  // its cloud row
    } cases[] = {{2, 50, 30, 4, 2}, {1, 10, 10, 0, 1}, {3, 90, -20, 5, 5}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.sheetRow);
        ViewOrigin origin;
        origin.OriginPointIndex = c.sheetRow;
        origin.RecentreFlag = true;
        ViewArrays arrays;
        const ProjectionInputs in = projectionInputs(job, surface);
        projectCloud(cloud, view, origin, in, arrays);
        computePixels(view, in, arrays);
        EXPECT_EQ(origin.OriginShiftX, -c.x);
        EXPECT_EQ(origin.OriginShiftY, -c.y);
        EXPECT_EQ(origin.OriginShiftZ, -c.z);
        EXPECT_NEAR(arrays.PixelX[c.centred], 200.0f, 1e-3);
        EXPECT_NEAR(arrays.PixelY[c.centred], 150.0f, 1e-3);
    }
}

TEST(CloudProjection, RecentringOnAPointThatIsGoneLeavesTheViewAndClearsTheRequest) {
    const PointCloud cloud = cloudOf({{"A", 0, 0, 0}, {"B", 40, 10, 0}});
    ScreenProperties view = topView(1.5f, 11.0f, 12.0f);
    for (const std::int32_t row : {0, 3, -1}) {
        ViewOrigin origin;
        origin.OriginShiftX = 5;
        origin.OriginPointIndex = row;
        origin.RecentreFlag = true;
        ViewArrays arrays;
        projectCloud(cloud, view, origin, inputsFor({400, 300, 0}), arrays);
        EXPECT_FALSE(origin.RecentreFlag);
        EXPECT_EQ(origin.OriginShiftX, 5.0);
        EXPECT_EQ(view.OffsetX, 11.0f);
        EXPECT_NEAR(arrays.ViewX[2], 245.0f, 1e-4);  // the old shift still applies
    }
}

TEST(CloudProjection, WindowsKeepTheirOwnArraysAndRedrawsReuseStorage) {
    const PointCloud cloud = cloudOf({{"A", 0, 0, 0}, {"B", 40, 10, 0}, {"C", 5, 5, 5}});
    ScreenProperties first = topView(1.0f, 0, 0), second = topView(3.0f, 50, 60);
    second.ViewAngles(1, 2) = 1.0;
    ViewOrigin firstOrigin, secondOrigin;
    ViewArrays a, b;
    const ProjectionInputs in = inputsFor({400, 300, 0});
    projectCloud(cloud, first, firstOrigin, in, a);
    computePixels(first, in, a);
    const ViewArrays before = a;
    const float* storage = a.PixelX.data();
    projectCloud(cloud, second, secondOrigin, in, b);
    computePixels(second, in, b);
    EXPECT_EQ(a.PixelX, before.PixelX);  // the second window's redraw leaves the first alone
    EXPECT_NE(a.PixelX, b.PixelX);
    projectCloud(cloud, first, firstOrigin, in, a);
    computePixels(first, in, a);
    EXPECT_EQ(a.PixelX.data(), storage);
    EXPECT_EQ(a.PixelY, before.PixelY);
}

TEST(CloudProjection, PixelsBeforeAnyProjectionHoldRowZeroOnly) {
    ViewArrays arrays;
    ScreenProperties view = topView();
    view.VectorMode = true;
    computePixels(view, inputsFor({400, 300, 0}), arrays);
    EXPECT_EQ(arrays.PixelX.size(), 1u);
    EXPECT_EQ(arrays.VectorPixelY.size(), 1u);
    EXPECT_FALSE(pixelWithinScreen(arrays, 1, {400, 300, 0}));
}

TEST(CloudProjection, DecimalLogIsLnOverLnTen) {
    EXPECT_EQ(decimalLog(1000.0), std::log(1000.0) / std::log(10.0));
    EXPECT_NEAR(decimalLog(1000.0), 3.0, 1e-15);
    EXPECT_THROW(decimalLog(0.0), std::exception);
    EXPECT_THROW(decimalLog(-5.0), std::exception);
}

TEST(CloudProjection, McsExtentsReadTheRawMcsPoints) {
    JobState job = sceneJob({{"P1", 1, -2, 3}}, {{"P1", 100, 100, 100}}, {{"M2", -4, 5, -6}});
    const WorldExtents e = mcsExtents(job);
    EXPECT_EQ(e.maxx, 1);
    EXPECT_EQ(e.minx, -4);
    EXPECT_EQ(e.maxy, 5);
    EXPECT_EQ(e.miny, -2);
    EXPECT_EQ(e.maxz, 3);
    EXPECT_EQ(e.minz, -6);
    EXPECT_EQ(mcsExtents(JobState{}).maxx, -1e10);
}

}  // namespace
}  // namespace kal
