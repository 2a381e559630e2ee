#include <gtest/gtest.h>

#include <stdexcept>

#include "view3d/DisplayListRaster.h"
#include "view3d/PointCloudBuild.h"
#include "view3d/RedrawPipeline.h"
#include "view3d/ViewTestScenes.h"

namespace kal {
namespace {

using testing::sceneJob;
using testing::ScenePoint;
using testing::topView;

constexpr StoredColour kWhite = storedColour(255, 255, 255);

// One window over a job: with the top view at zoom 1 and offsets −200, a world point (x, y, 0)
// lands exactly on pixel (x, H − y).
struct Window {
    JobState job;
    ScreenProperties view = topView(1.0f, -200.0f, -200.0f);
    PointCloud cloud;
    ViewArrays arrays;
    ViewOrigin origin;
    RedrawInputs inputs;
    CloudColouring colouring;
    RedrawStages stages;
    DisplayList out;

    explicit Window(JobState j, int width = 200, int height = 200) : job(std::move(j)) {
        inputs.surface = {width, height, 0};
        inputs.background = kWhite;
        inputs.settings = job.GraphicsFlags;
    }
    RedrawSummary redraw() {
        buildPointCloud(cloud, job, view, colouring);
        return redrawScene(cloud, view, arrays, origin, job, inputs, colouring, stages, out);
    }
    template <class T>
    std::vector<T> items() const {
        std::vector<T> found;
        for (const Primitive& p : out.items)
            if (const T* t = std::get_if<T>(&p)) found.push_back(*t);
        return found;
    }
};

JobState onePoint(double x, double y, double z = 0) { return sceneJob({}, {}, {{"M", x, y, z}}); }

TEST(RedrawPipeline, BigNessGivesSquaresOfOneThreeFivePixelsThenFilledCircles) {
    struct Case {
        std::int16_t bigNess;
        std::int32_t half;  // -1: a circle
        float radius;
    };
    const Case cases[] = {{1, 0, 0}, {2, 1, 0}, {3, 2, 0}, {4, -1, 2.0f}, {5, -1, 2.5f}, {0, 0, 0}};
    for (const Case& c : cases) {
        Window w(onePoint(100, 50));
        w.view.BigNess = c.bigNess;
        w.redraw();
        if (c.half >= 0) {
            const auto squares = w.items<PixelSquare>();
            ASSERT_EQ(squares.size(), 1u) << c.bigNess;
            EXPECT_EQ(squares[0], (PixelSquare{100, 150, c.half, storedColour(0, 255, 0)})) << c.bigNess;
            EXPECT_TRUE(w.items<Circle>().empty());
        } else {
            const auto circles = w.items<Circle>();
            ASSERT_EQ(circles.size(), 1u) << c.bigNess;
            EXPECT_TRUE(circles[0].filled);
            EXPECT_EQ(circles[0].radius, c.radius);
            EXPECT_EQ(circles[0].centre, (PixelPoint{100, 150}));
            EXPECT_EQ(circles[0].fill, storedColour(0, 255, 0));
            EXPECT_EQ(circles[0].outline, storedColour(0, 255, 0));
            EXPECT_TRUE(w.items<PixelSquare>().empty());
        }
    }
}

TEST(RedrawPipeline, PointsMoreThanTenPixelsOffTheSurfaceAreSkippedUnlessFlagged) {
    struct Case {
        double x, y;
        bool flagged;
        bool drawn;
    };
    // Surface 200 × 200: pixel (x, 200 − y).
    const Case cases[] = {{-11, 100, false, false}, {-10, 100, false, true},  {-11, 100, true, true},
                          {210, 100, false, true},  {211, 100, false, false}, {100, -10, false, true},
                          {100, -11, false, false}, {100, 210, false, true},  {100, 211, false, false}};
    for (const Case& c : cases) {
        Window w(onePoint(c.x, c.y));
        std::vector<std::pair<std::int16_t, bool>> flagCalls;
        w.stages.flagVisibility = [&](RedrawContext&, std::int16_t flag, std::int32_t, bool visible) {
            flagCalls.emplace_back(flag, visible);
        };
        if (c.flagged) {
            w.view.FlagOfPoint.set(1, 1);
            w.view.FahneProps.resize(2);
        }
        const RedrawSummary s = w.redraw();
        EXPECT_EQ(s.pointsDrawn, c.drawn ? 1 : 0) << c.x << ", " << c.y;
        EXPECT_EQ(w.items<PixelSquare>().size(), c.drawn ? 1u : 0u) << c.x << ", " << c.y;
        EXPECT_EQ(flagCalls.size(), c.flagged ? 1u : 0u);
    }
}

TEST(RedrawPipeline, PointsNearerTheViewerAreDrawnBiggerUnlessTheCloudIsFlat) {
    struct Case {
        std::int16_t bigNess;
        double z[3];
        std::int32_t half[3];
    };
    // Depth factor BigNess / depth range; half = round-half-even(((z − zmin)·f + 1) / 2).
    const Case cases[] = {{3, {0, 5, 10}, {0, 1, 2}},
                          {2, {0, 5, 10}, {0, 1, 2}},  // (5·0.2 + 1)/2 = 1, (10·0.2 + 1)/2 = 1.5 → 2
                          {1, {0, 5, 10}, {0, 0, 0}},
                          {3, {4, 4, 4}, {2, 2, 2}},  // flat: as without sizing, 3/2 → 2
                          {2, {4, 4, 4.00001}, {1, 1, 1}}};
    for (const Case& c : cases) {
        Window w(sceneJob({}, {}, {{"A", 10, 10, c.z[0]}, {"B", 20, 10, c.z[1]}, {"C", 30, 10, c.z[2]}}));
        w.view.BigNess = c.bigNess;
        w.inputs.settings.ShowPointsBigger = true;
        w.redraw();
        const auto squares = w.items<PixelSquare>();
        ASSERT_EQ(squares.size(), 3u);
        for (int k = 0; k < 3; ++k) EXPECT_EQ(squares[k].half, c.half[k]) << c.bigNess << " z " << c.z[k];
        EXPECT_TRUE(w.inputs.settings.ShowPointsBigger);
    }
    Window w(sceneJob({}, {}, {{"A", 10, 10, 0}, {"B", 20, 10, 10}}));
    w.view.BigNess = 4;
    w.inputs.settings.ShowPointsBigger = true;
    w.redraw();
    const auto circles = w.items<Circle>();
    ASSERT_EQ(circles.size(), 2u);
    EXPECT_FLOAT_EQ(circles[0].radius, 1.0f);
    EXPECT_FLOAT_EQ(circles[1].radius, 5.0f);
}

TEST(RedrawPipeline, OutOfTolerancePointsInTheBackgroundColourLeaveOnlyTheirFlags) {
    for (const bool outerIsBackground : {true, false}) {
        Window w(sceneJob({{"A", 10, 10, 0}, {"B", 50, 10, 0}}, {{"A", 11, 10, 0}, {"B", 51, 10, 0}}));
        w.colouring.classify = [](PointCloud& cloud, ScreenProperties&, const JobState&) {
            cloud(1, cloud::ToleranceClass) = 11;  // A outside, B inside
            cloud(2, cloud::ToleranceClass) = 3;
        };
        w.view.VectorMode = true;
        w.view.AusserhalbTol = true;
        w.view.OuterColor = outerIsBackground ? kWhite : storedColour(1, 2, 3);
        w.inputs.SelectedPointName = "A";
        w.view.FlagOfPoint.set(1, 1);
        w.view.FahneProps.resize(2);
        int flagCalls = 0;
        w.stages.flagVisibility = [&](RedrawContext&, std::int16_t, std::int32_t row, bool) {
            EXPECT_EQ(row, 1);
            ++flagCalls;
        };
        w.redraw();
        EXPECT_EQ(flagCalls, 1);
        // Points: A's MCS side only when drawn normally; B's MCS side and both OCS sides always.
        EXPECT_EQ(w.items<PixelSquare>().size(), outerIsBackground ? 3u : 4u);
        EXPECT_EQ(w.items<Segment>().size(), outerIsBackground ? 3u : 4u);
        EXPECT_EQ(w.items<Circle>().size(), outerIsBackground ? 1u : 2u);  // rings of "A"
    }
}

TEST(RedrawPipeline, SelectedPointIsRingedOnBothRowsOfItsName) {
    Window w(sceneJob({{"A", 10, 10, 0}, {"B", 50, 10, 0}}, {{"A", 12, 10, 0}, {"B", 52, 10, 0}}));
    w.view.BigNess = 2;
    w.inputs.SelectedPointName = "A";
    w.redraw();
    const auto rings = w.items<Circle>();
    ASSERT_EQ(rings.size(), 2u);
    for (const Circle& ring : rings) {
        EXPECT_FALSE(ring.filled);
        EXPECT_EQ(ring.radius, 8.0f);
        EXPECT_EQ(ring.penWidth, 3);
    }
    EXPECT_EQ(rings[0].centre, (PixelPoint{10, 190}));
    EXPECT_EQ(rings[1].centre, (PixelPoint{12, 190}));
}

TEST(RedrawPipeline, NoPointIsRingedWhileNoneIsSelected) {
    Window w(sceneJob({}, {}, {{"", 10, 10, 0}}));  // an unnamed point
    w.redraw();
    EXPECT_TRUE(w.items<Circle>().empty());
}

TEST(RedrawPipeline, LineModeDrawsSegmentsAndHighlightsTheOneUnderTheMouse) {
    Window w(sceneJob({}, {}, {{"A", 10, 10, 0}, {"B", 50, 10, 0}, {"C", 50, 50, 0}}));
    w.view.LineMode = true;
    w.view.Lines.resize(2, 4);
    const double ends[4][2] = {{1, 2}, {2, 3}, {0, 0}, {3, 99}};  // load-time slot and a stale end
    for (int k = 1; k <= 4; ++k) w.view.Lines(1, k) = ends[k - 1][0], w.view.Lines(2, k) = ends[k - 1][1];
    w.view.LineStartPoint = 3;
    w.inputs.SetLine = true;
    w.inputs.MouseX = 120, w.inputs.MouseY = 80;
    w.inputs.foreground = storedColour(0, 0, 0);
    w.inputs.SelectedLine = 2;
    w.redraw();
    const auto segments = w.items<Segment>();
    ASSERT_EQ(segments.size(), 3u);
    EXPECT_EQ(segments[0], (Segment{{50, 150}, {120, 80}, 1, storedColour(0, 0, 0)}));
    EXPECT_EQ(segments[1], (Segment{{10, 190}, {50, 190}, 1, storedColour(0, 0, 255)}));
    EXPECT_EQ(segments[2], (Segment{{50, 190}, {50, 150}, 5, storedColour(255, 255, 0)}));
}

TEST(RedrawPipeline, RVectorsOnlyWithRDistAndItsParameterState) {
    struct Case {
        double rDist;
        const char* state;
        bool current, assigned;
        std::size_t segments;
    };
    const Case cases[] = {{0, "float", true, true, 0},
                          {2.5, "", true, true, 0},
                          {2.5, "float", true, true, 4},
                          {2.5, "float", false, true, 0},
                          {2.5, "3", true, false, 0}};
    for (const Case& c : cases) {
        Window w(sceneJob({{"A", 10, 10, 0}, {"B", 50, 10, 0}}, {{"A", 10, 12, 0}, {"B", 50, 12, 0}}));
        w.inputs.settings.ShowRVec = true;
        w.job.Params[kRDist] = c.rDist;
        w.job.ParamState[kRDist] = c.state;
        w.inputs.RVecCurrent = c.current;
        w.view.Vec_Massstab = 10;
        if (c.assigned)
            for (std::int32_t j = 1; j <= 2; ++j)
                w.job.RVec_X.set(j, 10.0 + 40 * (j - 1) + 1), w.job.RVec_Y.set(j, 11), w.job.RVec_Z[j] = 0;
        w.redraw();
        const auto segments = w.items<Segment>();
        ASSERT_EQ(segments.size(), c.segments) << c.rDist << " " << c.state;
        if (c.segments == 0) continue;
        // From A's MCS side (10, 190) to its R point (11, 189), magnified 10 times, then true length.
        EXPECT_EQ(segments[0], (Segment{{10, 190}, {20, 180}, 1, storedColour(255, 0, 255)}));
        EXPECT_EQ(segments[1], (Segment{{10, 190}, {11, 189}, 1, storedColour(255, 0, 255)}));
    }
}

TEST(RedrawPipeline, OffsetVectorsRunFromTheOcsPointThroughItsFrameToTheRPoint) {
    Window w(sceneJob({{"A", 10, 10, 0}, {"B", 50, 10, 0}}, {{"A", 10, 12, 0}, {"B", 50, 12, 0}}));
    w.inputs.settings.ShowRVec = true;
    w.job.UseAbcMode = true;
    w.job.Params[kRDist] = 1;
    w.job.ParamState[kRDist] = "float";
    w.job.Params[kRvecX] = 5, w.job.Params[kRvecY] = 3;
    w.job.OcsAngles.resize(1, 3);  // angles (0, 0, 0) for A; none for B, which is skipped
    for (std::int32_t j = 1; j <= 2; ++j) w.job.RVec_X.set(j, 11.0 + 40 * (j - 1)), w.job.RVec_Y.set(j, 11);
    w.redraw();
    const auto segments = w.items<Segment>();
    ASSERT_EQ(segments.size(), 3u);
    // OCS point (10, 12) → minus Rvec_x along x → minus Rvec_y along y → R point (11, 11).
    EXPECT_EQ(segments[0], (Segment{{10, 188}, {5, 188}, 1, storedColour(128, 0, 0)}));
    EXPECT_EQ(segments[1], (Segment{{5, 188}, {5, 191}, 1, storedColour(128, 128, 0)}));
    EXPECT_EQ(segments[2], (Segment{{5, 191}, {11, 189}, 1, storedColour(0, 255, 0)}));
}

TEST(RedrawPipeline, StagesRunInOrderUnderTheirConditionsWithNamesOnTop) {
    Window w(sceneJob({{"A", 10, 10, 0}}, {{"A", 12, 10, 0}}));
    std::vector<std::string> calls;
    const auto mark = [&](const char* stage) {
        return [&calls, stage](RedrawContext& ctx) {
            calls.push_back(stage);
            ctx.out.add(FilledRect{0, 0, 1, 1, 0});
        };
    };
    w.stages.hidingPlane = [&](RedrawContext& ctx) {
        calls.push_back("plane");
        ctx.cloud(2, cloud::Visible) = 0;  // hides the OCS side
    };
    w.stages.nameLabel = [&](RedrawContext& ctx, const std::string& name, float x, float y) {
        calls.push_back("name " + name);
        ctx.nameLabels.push_back(TextLabel{{x, y}, name, 0});
        ++ctx.FlagLabelCount;
    };
    w.stages.grids = mark("grids");
    w.stages.quaternionAxis = mark("quaternion");
    w.stages.colourBar = mark("colour bar");
    w.stages.axes = mark("axes");
    w.stages.scaleBars = mark("scale");
    w.inputs.settings.ShowPointNames = true;
    w.inputs.settings.ShowColorBar = true;
    w.inputs.settings.VectorQuat = true;
    w.redraw();
    // No plane, grid or quaternion axis; both rows of "A" are named.
    EXPECT_EQ(calls, (std::vector<std::string>{"name A", "name A", "colour bar", "axes", "scale"}));

    calls.clear();
    w.view.BlackPlane = true;
    w.view.GridZX = true;
    w.job.TrafoCalculated = true;
    const RedrawSummary s = w.redraw();
    EXPECT_EQ(calls, (std::vector<std::string>{"plane", "name A", "grids", "quaternion", "colour bar", "axes",
                                               "scale"}));
    EXPECT_EQ(s.FlagLabelCount, 1);
    ASSERT_FALSE(w.out.items.empty());
    EXPECT_EQ(std::get<TextLabel>(w.out.items.back()).text, "A");  // after every graphic
    EXPECT_EQ(std::get<TextLabel>(w.out.items.back()).at, (PixelPoint{15, 195}));
    EXPECT_EQ(w.items<PixelSquare>().size(), 1u);  // the hidden OCS side is not drawn

    // Without the plane every row is visible again.
    w.view.BlackPlane = false;
    w.redraw();
    EXPECT_EQ(w.cloud(2, cloud::Visible), 1.0f);
    EXPECT_EQ(w.items<PixelSquare>().size(), 2u);
}

TEST(RedrawPipeline, AFailingStageEndsTheRedrawSoundly) {
    Window w(sceneJob({{"A", 10, 10, 0}}, {{"A", 12, 10, 0}}));
    w.inputs.settings.ShowPointNames = true;
    w.inputs.settings.ShowPointsBigger = true;
    w.stages.nameLabel = [](RedrawContext& ctx, const std::string& name, float x, float y) {
        ctx.nameLabels.push_back(TextLabel{{x, y}, name, 0});
    };
    w.view.GridXY = true;
    w.stages.grids = [](RedrawContext&) { throw std::runtime_error("grid failed"); };
    bool axesDrawn = false;
    w.stages.axes = [&](RedrawContext&) { axesDrawn = true; };
    EXPECT_THROW(w.redraw(), std::runtime_error);
    EXPECT_FALSE(axesDrawn);
    ASSERT_EQ(w.out.items.size(), 4u);  // two points, then the two names placed so far on top
    EXPECT_TRUE(std::holds_alternative<TextLabel>(w.out.items[2]));
    EXPECT_TRUE(std::holds_alternative<TextLabel>(w.out.items[3]));
    EXPECT_TRUE(w.inputs.settings.ShowPointsBigger);

    w.stages.grids = nullptr;  // the next redraw starts clean
    w.redraw();
    EXPECT_TRUE(axesDrawn);
    EXPECT_EQ(w.out.items.size(), 4u);
}

TEST(RedrawPipeline, FlagsFollowTheirLayoutAndTheirPointsPlace) {
    struct Case {
        const char* what;
        double x;
        bool shown, withinScreen;
        int calls;
        bool visible, leader;
    };
    // Surface 200 × 200, no status bar: within the screen up to x = 190.
    const Case cases[] = {
        {"hidden point, WithinScreen", 100, false, true, 1, false, false},
        {"hidden point keeps its flag", 100, false, false, 0, false, false},
        {"point on screen", 100, true, true, 1, true, true},
        {"point by the right edge", 195, true, true, 1, false, false},
        {"flag stays whatever the place", 195, true, false, 1, true, true},
    };
    for (const Case& c : cases) {
        Window w(onePoint(c.x, 100));
        w.job.GraphicsFlags.ViewAllonlyMCS = c.shown;
        w.view.FlagOfPoint.set(1, 1);
        w.view.FahneProps.resize(2);
        w.view.FahneProps[1].WithinScreen = c.withinScreen;
        int calls = 0, leaders = 0;
        bool visible = false;
        w.stages.flagVisibility = [&](RedrawContext&, std::int16_t flag, std::int32_t row, bool v) {
            EXPECT_EQ(flag, 1);
            EXPECT_EQ(row, 1);
            ++calls, visible = v;
        };
        w.stages.flagLeader = [&](RedrawContext&, std::int16_t, std::int32_t) { ++leaders; };
        w.redraw();
        EXPECT_EQ(calls, c.calls) << c.what;
        if (calls) {
            EXPECT_EQ(visible, c.visible) << c.what;
        }
        EXPECT_EQ(leaders, c.leader ? 1 : 0) << c.what;
    }
}

TEST(RedrawPipeline, RedrawsReuseTheirStorage) {
    Window w(sceneJob({{"A", 10, 10, 0}, {"B", 20, 20, 0}}, {{"A", 11, 10, 0}, {"B", 21, 20, 0}}));
    w.view.VectorMode = true;
    w.redraw();
    const auto* items = w.out.items.data();
    const auto* pixels = w.arrays.PixelX.data();
    const auto before = w.out.items;
    w.redraw();
    EXPECT_EQ(w.out.items.data(), items);
    EXPECT_EQ(w.arrays.PixelX.data(), pixels);
    EXPECT_EQ(w.out.items, before);
}

// A small scene rendered into a picture: MCS sides red, OCS sides blue, the MCS-only point
// green and the OCS-only point magenta, each read back at its projected pixel.
TEST(RedrawPipeline, RenderedSceneShowsEachSideAndVectorAtItsProjectedPixel) {
    Window w(sceneJob({{"A", 20, 30, 0}, {"B", 60, 30, 0}}, {{"A", 20, 70, 0}, {"B", 60, 40, 0}},
                      {{"M", 80, 50, 0}}, {{"O", 100, 20, 0}}),
             120, 100);
    constexpr StoredColour red = storedColour(255, 0, 0), blue = storedColour(0, 0, 255),
                           green = storedColour(0, 128, 0), magenta = storedColour(255, 0, 255);
    w.colouring.colour = [&](PointCloud& cloud, const ScreenProperties&, const JobState& job) {
        const std::int32_t n = job.IdenticalCount;
        for (std::int32_t i = 1; i <= cloud.count(); ++i)
            cloud(i, cloud::Colour) = static_cast<float>(i <= n           ? red
                                                         : i <= 2 * n     ? blue
                                                         : i == 2 * n + 1 ? green
                                                                          : magenta);
    };
    w.view.VectorMode = true;
    w.view.Vec_Massstab = 0.5f;  // A: deviation (0, −40) → 20 px down; B: (0, −10) → 5 px down
    w.redraw();
    ImageBuffer image(120, 100, 0);
    rasterise(w.out, image);
    const auto at = [&](int x, int y) { return ImageBuffer::fromPixel(image.pixel(x, y)); };
    // Pixel of world (x, y): (x, 100 − y).
    EXPECT_EQ(at(20, 70), red);  // A, MCS side
    EXPECT_EQ(at(21, 71), red);  // its 3 × 3 square
    EXPECT_EQ(at(20, 80), red);  // its vector, halfway
    EXPECT_EQ(at(20, 90), red);  // the vector's end
    EXPECT_EQ(at(20, 92), kWhite);
    EXPECT_EQ(at(22, 80), kWhite);
    EXPECT_EQ(at(20, 30), blue);      // A, OCS side
    EXPECT_EQ(at(60, 70), red);       // B, MCS side
    EXPECT_EQ(at(60, 75), red);       // B's vector end
    EXPECT_EQ(at(60, 60), blue);      // B, OCS side
    EXPECT_EQ(at(80, 50), green);     // MCS-only
    EXPECT_EQ(at(100, 80), magenta);  // OCS-only
    EXPECT_EQ(at(100, 82), kWhite);
    EXPECT_EQ(at(5, 5), kWhite);
    EXPECT_EQ(at(40, 50), kWhite);
}

}  // namespace
}  // namespace kal
