#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "support/FakeTextMetrics.h"
#include "view3d/DisplayListRaster.h"
#include "view3d/OverlayStages.h"
#include "view3d/RedrawPipeline.h"
#include "view3d/StandardPalette.h"

namespace kal {
namespace {

// A Top view of 600 × 300 at 1 px/mm with the world origin at pixel (200, 150), three identical
// points at the depths −10, 50 and 150, hiding plane set up at depth 0, grid, quaternion, axes.
struct SmallScene {
    JobState job;
    ScreenProperties view;
    PointCloud cloud;
    ViewArrays arrays;
    ViewOrigin origin;
    RedrawInputs inputs;
    OverlayState state;
    RedrawStages stages;
    DisplayList out;

    SmallScene() {
        job.ScaleX() = job.ScaleY() = job.ScaleZ() = 1;
        job.RotX() = 0.3;
        job.TrafoCalculated = true;
        job.NameOCS = "OCS", job.NameMCS = "MCS";
        job.McsCount = 2;  // a box of diagonal 100: axes of 10 mm
        job.MCS_X.resize(2), job.MCS_Y.resize(2), job.MCS_Z.assign(3, 0.0);
        job.MCS_X.set(2, 100);
        job.LengthFactor = 1, job.LengthFormat = "0.0", job.LengthUnitName = "millimeter";
        view.ViewAngles = Matrix(2, 3);
        view.ViewAngles(1, 1) = -3.14159265358979;
        view.Massstab = 1, view.OffsetX = 0, view.OffsetY = -50;
        view.BigNess = 2;
        view.Vec_Massstab = 1000, view.VectorMode = true;
        view.GridXY = true, view.ADis = 50, view.BDis = 50;
        inputs.surface = {600, 300, 0};
        inputs.background = storedColour(255, 255, 255);
        inputs.settings.VectorQuat = true;
        inputs.settings.ShowCoordinateSystemLabels = true;
        cloud.reset(3);
        const float z[] = {-10, 50, 150};
        for (int i = 1; i <= 3; ++i) {
            cloud(i, cloud::X) = 30.0f * static_cast<float>(i);
            cloud(i, cloud::Y) = 20;
            cloud(i, cloud::Z) = z[i - 1];
            cloud(i, cloud::Shown) = 1;
            cloud.name(i) = "P" + std::to_string(i);
        }
        plugOverlayStages(stages, state);
    }
    void initialisePlane(bool borders) {
        const ViewProjection projection = viewProjection(view, origin, inputs.surface);
        ASSERT_TRUE(initialiseHidingPlane(view, projection, true, borders));
    }
    RedrawSummary redraw() { return redrawScene(cloud, view, arrays, origin, job, inputs, {}, stages, out); }
};

template <class T>
std::vector<T> itemsOf(const DisplayList& list) {
    std::vector<T> out;
    for (const auto& item : list.items)
        if (const auto* t = std::get_if<T>(&item)) out.push_back(*t);
    return out;
}

TEST(OverlayStages, PluggedIntoTheRedrawTheyHideDrawAndLabel) {
    SmallScene s;
    s.initialisePlane(true);
    const RedrawSummary summary = s.redraw();
    EXPECT_EQ(s.cloud(1, cloud::Visible), 0.0f);
    EXPECT_EQ(s.cloud(2, cloud::Visible), 1.0f);
    EXPECT_EQ(s.cloud(3, cloud::Visible), 0.0f);
    EXPECT_EQ(itemsOf<Polygon>(s.out).size(), 4u);  // the plane's squares, once

    const auto texts = itemsOf<TextLabel>(s.out);
    std::vector<std::string> captions;
    for (const auto& t : texts) captions.push_back(t.text);
    // The axes of 10 pixels put the OCS and MCS labels on one another and on the quaternion's:
    // those are left out.
    const std::vector<std::string> expected = {"Scale 100.000 millimeter",
                                               "Scale Vector 0.100 millimeter",
                                               "Quaternion Vector",
                                               "x OCS",
                                               "y OCS",
                                               "z OCS"};
    EXPECT_EQ(captions, expected);
    EXPECT_EQ(summary.FlagLabelCount, 4);
    // The axis and quaternion labels stand last, on top of every graphic, black on white.
    EXPECT_TRUE(std::holds_alternative<TextLabel>(s.out.items.back()));
    EXPECT_EQ(texts.back().colour, storedColour(0, 0, 0));
    EXPECT_EQ(s.state.hidingPlane.PlaneNormal[3], -1);

    // Grid lines (grey), the quaternion vector (light magenta), the MCS axes (dotted).
    int grey = 0, magenta = 0, dotted = 0;
    for (const auto& seg : itemsOf<Segment>(s.out)) {
        grey += seg.colour == paletteColour(8);
        magenta += seg.colour == paletteColour(13);
        dotted += seg.style == PenStyle::Dot;
    }
    EXPECT_GT(grey, 0);
    EXPECT_EQ(magenta, 1);
    EXPECT_EQ(dotted, 3);
}

TEST(OverlayStages, PixelsOfTheAxesAndScaleBarLandWhereProjected) {
    SmallScene s;
    s.view.GridXY = false;
    s.redraw();
    ImageBuffer image(600, 300);
    rasterise(s.out, image);
    const auto at = [&](int x, int y) { return ImageBuffer::fromPixel(image.pixel(x, y)); };
    EXPECT_EQ(at(95, 210), paletteColour(12));   // tripod x axis from (70, 210) to (120, 210)
    EXPECT_EQ(at(70, 185), paletteColour(14));   // tripod y axis, up the screen
    EXPECT_EQ(at(425, 240), paletteColour(9));   // view scale bar, 375..475 on row 240 (600 px: moved left
                                                 // as far as the tripod's labels allow)
    EXPECT_EQ(at(205, 150), paletteColour(12));  // OCS x axis from the origin (200, 150), 10 mm
}

// In narrow and short windows (Arrange with four graphics windows) the scale captions that moved
// left were drawn across the tripod's x arrow and its label, and in a 130-pixel picture tripod,
// captions and bars all overlapped. In every view the captions and bars stand right of the
// tripod and its labels and inside the surface, or are left out where there is no room.
TEST(OverlayStages, ScaleCaptionsAndBarsNeverCoverTheTripod) {
    const FakeTextMetrics metrics;  // 8 pixels a character, 16 a line
    struct Case {
        int width, height;
        bool labels;
        bool viewBar, vectorBar;  // drawn
    };
    const Case cases[] = {
        // 420 and 400 wide: the vector caption (232 pixels here) would run over its own bar.
        {600, 300, true, true, true},   {420, 130, true, true, false},   {410, 130, true, false, false},
        {400, 130, false, true, false}, {380, 130, false, false, false}, {420, 80, true, true, false},
        {420, 60, true, false, false},  {1000, 130, true, true, true},
    };
    const double views[][3] = {{-3.14159265358979, 0, 0},
                               {3.6651914291880923, -0.8726646259971648, -0.8726646259971648},
                               {4.712388980384685, 4.712388980384685, 0},
                               {0.4, 1.1, -2.0}};
    for (const Case& c : cases) {
        for (const auto& angles : views) {
            SCOPED_TRACE(std::to_string(c.width) + " x " + std::to_string(c.height) +
                         (c.labels ? " labels" : "") + " view " + std::to_string(angles[0]));
            SmallScene s;
            s.view.GridXY = false;
            s.inputs.settings.VectorQuat = false;
            s.inputs.settings.ShowCoordinateSystemLabels = c.labels;
            s.inputs.surface = {c.width, c.height, 0};
            s.inputs.textMetrics = &metrics;
            for (int k = 0; k < 3; ++k) s.view.ViewAngles(1, k + 1) = angles[k];
            s.redraw();

            // The tripod: axes, arrowhead and dots within 67 pixels of (70, H - 90), and its
            // labels, the first three axis labels placed.
            double tripodRight = 70 + 67;
            int tripodLabels = 0;
            bool viewCaption = false, vectorCaption = false;
            for (const auto& t : itemsOf<TextLabel>(s.out)) {
                if (t.text.rfind("Scale Vector ", 0) == 0)
                    vectorCaption = true;
                else if (t.text.rfind("Scale ", 0) == 0)
                    viewCaption = true;
                else if (t.text.size() == 5 && t.text.substr(1) == " OCS" && tripodLabels < 3) {
                    ++tripodLabels;
                    tripodRight = std::max(tripodRight, double(t.at.x) + metrics.measure(t.text, {}).width);
                }
            }
            EXPECT_EQ(viewCaption, c.viewBar);
            EXPECT_EQ(vectorCaption, c.vectorBar);
            for (const auto& t : itemsOf<TextLabel>(s.out)) {
                if (t.text.rfind("Scale ", 0) != 0) continue;
                EXPECT_GE(t.at.x, tripodRight) << t.text;
                EXPECT_GE(t.at.y, 0) << t.text;
                EXPECT_LE(t.at.y + metrics.lineHeight, c.height) << t.text;
            }
            int barSegments = 0;
            for (const auto& seg : itemsOf<Segment>(s.out)) {
                if (seg.colour != paletteColour(9)) continue;
                ++barSegments;
                EXPECT_GE(std::min(seg.from.x, seg.to.x), tripodRight);
                EXPECT_LE(std::max(seg.from.x, seg.to.x), c.width);
                EXPECT_GE(std::min(seg.from.y, seg.to.y), 0);
            }
            EXPECT_EQ(barSegments, 3 * (int(c.viewBar) + int(c.vectorBar)));
        }
    }
}

TEST(OverlayStages, AxisLengthIsRescannedOnlyWhenTheJobChanges) {
    SmallScene s;
    s.job.MCS_X.set(2, 1000);  // diagonal 1000 → axes 100 mm
    s.inputs.settings.VectorQuat = false;
    s.redraw();
    const auto ocsX = [&] {
        // The OCS x axis: the first solid light-red segment after the tripod's four.
        int seen = 0;
        for (const auto& seg : itemsOf<Segment>(s.out))
            if (seg.colour == paletteColour(12) && seg.style == PenStyle::Solid && ++seen == 5)
                return seg.to.x - seg.from.x;
        return -1.0f;
    };
    EXPECT_FLOAT_EQ(ocsX(), 100);
    s.job.MCS_X.set(2, 3000);
    s.redraw();
    EXPECT_FLOAT_EQ(ocsX(), 100);  // same job state as far as the window knows
    ++s.state.jobChange;
    s.redraw();
    EXPECT_FLOAT_EQ(ocsX(), 300);
}

}  // namespace
}  // namespace kal
