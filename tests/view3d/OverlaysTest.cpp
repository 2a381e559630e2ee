#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <utility>

#include "view3d/GridOverlay.h"
#include "view3d/QuaternionOverlay.h"
#include "view3d/ScaleBars.h"
#include "view3d/StandardPalette.h"
#include "view3d/StrokeDigits.h"

namespace kal {
namespace {

constexpr double kTopA1 = -3.14159265358979;

std::vector<Segment> segmentsOf(const DisplayList& list, StoredColour colour) {
    std::vector<Segment> out;
    for (const auto& item : list.items)
        if (const auto* s = std::get_if<Segment>(&item); s && s->colour == colour) out.push_back(*s);
    return out;
}

std::vector<TextLabel> textsOf(const DisplayList& list) {
    std::vector<TextLabel> out;
    for (const auto& item : list.items)
        if (const auto* t = std::get_if<TextLabel>(&item)) out.push_back(*t);
    return out;
}

// How often the items of `part` appear in `list` one after the other.
int occurrences(const DisplayList& list, const DisplayList& part) {
    int count = 0;
    for (std::size_t k = 0; k + part.items.size() <= list.items.size(); ++k)
        if (std::equal(part.items.begin(), part.items.end(), list.items.begin() + static_cast<long>(k)))
            ++count;
    return count;
}

TEST(GridOverlay, LineCountsFollowTheLargerSideAndTheScale) {
    struct Case {
        int width, height;
        double massstab;
        std::int32_t a, b, c;
        std::array<std::int32_t, 3> n;
        std::int32_t N;
    };
    const Case cases[] = {
        {800, 600, 2, 10, 25, 0, {40, 16, 0}, 40},
        {820, 600, 2, 10, 0, 0, {41, 0, 0}, 40},  // odd N is made even
        {800, 600, 1, 500, 0, 0, {1, 0, 0}, 0},   // N 1 → 0: no line
        {800, 600, 2, 0, 0, 0, {0, 0, 0}, 0},
        {600, 800, 2, 10, 0, 0, {40, 0, 0}, 40},        // the larger side counts
        {800, 600, 0.01, 10, 1000, 0, {0, 80, 0}, 80},  // 0.1 px apart: that spacing is left out
        {800, 600, 0, 10, 25, 0, {0, 0, 0}, 0},         // no scale, no grid
        {800, 600, INFINITY, 10, 25, 0, {0, 0, 0}, 0},
    };
    for (const Case& c : cases) {
        const GridLineCounts counts = gridLineCounts(c.width, c.height, c.massstab, c.a, c.b, c.c);
        EXPECT_EQ(counts.n, c.n) << c.width << " " << c.massstab << " " << c.a;
        EXPECT_EQ(counts.N, c.N) << c.width << " " << c.massstab << " " << c.a;
    }
}

TEST(GridOverlay, LineValuesAreMultiplesOfTheSpacingAroundTheCentre) {
    std::vector<double> values;
    for (int i = 1; i <= 4; ++i) values.push_back(gridLineValue(-15, 10, 4, i));
    EXPECT_EQ(values, (std::vector<double>{-30, -20, -10, 0}));
    EXPECT_DOUBLE_EQ(gridLineValue(123, 25, 40, 1), 100 - 20 * 25 + 25);
}

// Top view of 800 × 600 at Massstab 2 with the world origin in the middle.
ViewProjection topView() { return ViewProjection(kTopA1, 0, 0, 2, 0, -100, 600); }

TEST(GridOverlay, XyPlaneHasNLinesOfEachFamilyAtTheirSpacings) {
    const ViewProjection projection = topView();
    GridOptions options;
    options.GridXY = true;
    options.ADis = 10, options.BDis = 25, options.Cdis = 0;
    DisplayList list;
    drawCoordinateGrid(list, projection, 800, 600, options);
    const auto grey = segmentsOf(list, paletteColour(8));
    ASSERT_EQ(grey.size(), 80u);
    // Alternating: a line of constant x (vertical), then one of constant y (horizontal).
    for (std::size_t k = 2; k < grey.size(); k += 2) {
        EXPECT_NEAR(grey[k].from.x - grey[k - 2].from.x, 20, 1e-3);  // 10 mm × 2 px/mm
        EXPECT_NEAR(grey[k].from.x, grey[k].to.x, 1e-3);
        EXPECT_NEAR(grey[k + 1].from.y - grey[k - 1].from.y, -50, 1e-3);  // 25 mm up the screen
        EXPECT_NEAR(grey[k + 1].from.y, grey[k + 1].to.y, 1e-3);
    }
    // Vertical lines run S / (2 Massstab) = 200 mm each way, horizontal ones 400 mm.
    EXPECT_NEAR(std::abs(grey[0].to.y - grey[0].from.y), 800, 1e-3);
    EXPECT_NEAR(std::abs(grey[1].to.x - grey[1].from.x), 1600, 1e-3);
}

TEST(GridOverlay, AfterARecentringTheGridPassesThroughTheCentrePoint) {
    // The view turns about the point x = 105, which lands on column 400: the lines of constant x
    // stand at multiples of 10 counted from it, not from the world origin.
    ViewOrigin origin;
    origin.OriginShiftX = -105;
    const ViewProjection projection(kTopA1, 0, 0, 2, 0, -100, 600, origin);
    ASSERT_NEAR(projection.worldToPixel(105, 0, 0).x, 400, 1e-9);
    GridOptions options;
    options.GridXY = true;
    options.ADis = 10;
    DisplayList list;
    drawCoordinateGrid(list, projection, 800, 600, options);
    const auto grey = segmentsOf(list, paletteColour(8));
    ASSERT_EQ(grey.size(), 80u);
    bool throughCentre = false;
    for (std::size_t k = 0; k < grey.size(); k += 2) {
        const double offset = std::fmod(grey[k].from.x - 400 + 2000, 20.0);
        EXPECT_NEAR(std::min(offset, 20 - offset), 0, 1e-3);
        throughCentre = throughCentre || std::abs(grey[k].from.x - 400) < 1e-3;
    }
    EXPECT_TRUE(throughCentre);
}

TEST(GridOverlay, PlanesTakeTheirColoursAndSkipAFirstFamilyWithoutSpacing) {
    const ViewProjection projection = topView();
    GridOptions options;
    options.GridXY = options.GridYZ = options.GridZX = true;
    options.ADis = 0, options.BDis = 25, options.Cdis = 0;
    DisplayList list;
    drawCoordinateGrid(list, projection, 800, 600, options);
    // N = 16 from BDis. XY: no x lines (ADis 0), 16 y lines. YZ: 16 y lines, 16 z lines at 0.
    // ZX: no x lines, 16 z lines at 0.
    EXPECT_EQ(segmentsOf(list, paletteColour(8)).size(), 16u);
    EXPECT_EQ(segmentsOf(list, paletteColour(10)).size(), 32u);
    EXPECT_EQ(segmentsOf(list, paletteColour(9)).size(), 16u);
}

TEST(GridOverlay, SecondFamilyWithoutSpacingLiesAtZeroAndIsLabelledZero) {
    const ViewProjection projection = topView();
    GridOptions options;
    options.GridXY = true;
    options.ShowGridDim = true;
    options.ADis = 10, options.BDis = 0;
    options.lengthFormat = "0";
    DisplayList list;
    drawCoordinateGrid(list, projection, 800, 600, options);
    const auto grey = segmentsOf(list, paletteColour(8));
    // The second-family lines (every one a horizontal line through y = 0, on row 300).
    int atZero = 0;
    for (const auto& s : grey)
        if (std::abs(s.from.y - 300) < 1e-3 && std::abs(s.to.y - 300) < 1e-3) ++atZero;
    EXPECT_EQ(atZero, 40);
    // Each is labelled 0, along the line, 4 pixels below where it meets column 50.
    DisplayList zero;
    double x = 50, y = 304;
    drawStrokeNumber(zero, 0, "0", x, y, 1.4, 0, paletteColour(8), {800, 600});
    EXPECT_EQ(occurrences(list, zero), 40);
}

TEST(GridOverlay, LabelsAreInTheDisplayUnitAndRelativeToTheShiftedOrigin) {
    // One vertical line x = 0 labelled along the top: the label starts where it meets row 10.
    // In metres the value 100 mm reads "0.100".
    const ViewProjection projection(kTopA1, 0, 0, 2, -200, -100, 600);  // x = 100 mm in the middle
    GridOptions options;
    options.GridXY = true;
    options.ShowGridDim = true;
    options.ADis = 100;
    options.lengthFactor = 0.001;
    options.lengthFormat = "0.000";
    DisplayList list;
    drawCoordinateGrid(list, projection, 800, 600, options);
    // N = 4: x lines at 0, 100, 200, 300 (Int(100/100) = 1: 100 − 200 + i·100). The line x = 100
    // runs down the middle, column 400; its label is written from (400, 10) at about 0.46°.
    DisplayList expected;
    double x = 400, y = 10;
    const double w = std::atan(-800.0f / (0.0f + 1e-10)) * 57 + 90;
    drawStrokeNumber(expected, 0.1, "0.000", x, y, 1.4, w, paletteColour(8), {800, 600});
    EXPECT_EQ(occurrences(list, expected), 1);
    EXPECT_NEAR(w, 90 - 57 * M_PI / 2, 1e-9);
}

TEST(GridOverlay, LabelStartAndAngleComeFromTheDoubleLineEndsNotTheDrawnSingleOnes) {
    // Turned views whose line ends fall between singles: each label is worked out here from the
    // ends in double (only dx and dy single), and must stand in the picture exactly once.
    const int width = 800, height = 600;
    int labels = 0, missing = 0;
    for (const double turn : {0.3, 0.7, 1.1, 2.9}) {
        const ViewProjection projection(kTopA1 + 0.2, 0.15, turn, 1.37f, 13.3f, -97.1f, height);
        GridOptions options;
        options.GridXY = true;
        options.ShowGridDim = true;
        options.ADis = 37, options.BDis = 53;
        options.lengthFormat = "0";
        DisplayList list;
        drawCoordinateGrid(list, projection, width, height, options);

        const GridLineCounts counts = gridLineCounts(width, height, 1.37, 37, 53, 0);
        const ViewPoint c = projection.pixelToShifted(width / 2.0, height / 2.0, 0);
        const double S = width;
        for (std::int32_t i = 1; i <= counts.N; ++i) {
            // First family: x constant, running along y over S / (2 Massstab) each way.
            const double xv = gridLineValue(c.x, 37, counts.N, i);
            const double half1 = S / (2 * static_cast<double>(1.37f));
            const ViewPoint a1 = projection.shiftedToPixel(xv, c.y - half1, 0);
            const ViewPoint b1 = projection.shiftedToPixel(xv, c.y + half1, 0);
            const auto dx1 = static_cast<float>(b1.x - a1.x), dy1 = static_cast<float>(b1.y - a1.y);
            double w1 = std::atan(dy1 / (dx1 + 1e-10)) * 57 + 90;
            if (w1 > 90) w1 += 180;
            DisplayList first;
            double x = b1.x + (10 - b1.y) * dx1 / (dy1 + 1e-10), y = 10;
            drawStrokeNumber(first, xv, "0", x, y, 1.4, w1, paletteColour(8), {width, height});
            // Second family: y constant, running along x over S / Massstab each way.
            const double yv = gridLineValue(c.y, 53, counts.N, i);
            const double half2 = S / static_cast<double>(1.37f);
            const ViewPoint a2 = projection.shiftedToPixel(c.x - half2, yv, 0);
            const ViewPoint b2 = projection.shiftedToPixel(c.x + half2, yv, 0);
            const auto dx2 = static_cast<float>(b2.x - a2.x), dy2 = static_cast<float>(b2.y - a2.y);
            DisplayList second;
            x = 50, y = b2.y + (50 - b2.x) * dy2 / (dx2 + 1e-10) + 4;
            drawStrokeNumber(second, yv, "0", x, y, 1.4, std::atan(dy2 / (dx2 + 1e-10)) * 57,
                             paletteColour(8), {width, height});
            for (const DisplayList* label : {&first, &second}) {
                if (label->items.empty()) continue;  // wholly outside the picture
                ++labels;
                if (occurrences(list, *label) == 0) ++missing;
            }
        }
    }
    EXPECT_GT(labels, 20);
    EXPECT_EQ(missing, 0) << "of " << labels << " labels";
}

TEST(ScaleBars, BarsAreBroughtBetween30And300PixelsByTens) {
    struct Case {
        double unit, pixels;
        bool drawn;
        double length, shown;
    };
    const Case cases[] = {
        {1000, 500, true, 50, 100},        // Massstab 0.5
        {1000, 250, true, 250, 1000},      // Massstab 0.25
        {1000, 0.02, true, 200, 1e7},      // Massstab 0.00002
        {0.1, 100, true, 100, 0.1},        // Vec_Maßstab 1000
        {0.1, 100000, true, 100, 0.0001},  // Vec_Maßstab 1,000,000
        {1000, 0, false, 0, 0},            // no scale: no bar rather than an endless loop
        {1000, -5, false, 0, 0},          {1000, INFINITY, false, 0, 0}, {1000, NAN, false, 0, 0},
        {1000, 1e-320, true, 100, 0},  // a denormal scale still ends (unit overflows: no bar)
    };
    for (const Case& c : cases) {
        const ScaleBarFit fit = fitScaleBar(c.unit, c.pixels);
        if (c.pixels == 1e-320) {
            EXPECT_FALSE(fit.drawn);
            continue;
        }
        EXPECT_EQ(fit.drawn, c.drawn) << c.pixels;
        if (!c.drawn) continue;
        EXPECT_NEAR(fit.pixels, c.length, 1e-6 * c.length) << c.pixels;
        EXPECT_NEAR(fit.unit, c.shown, 1e-9 * c.shown) << c.pixels;
    }
}

// A vector bar of 0.0001 mm read "Scale Vector 0.000 millimeter": every caption keeps at least
// three significant digits.
TEST(ScaleBars, CaptionsKeepThreeSignificantDigits) {
    const std::pair<double, const char*> cases[] = {
        {1e7, "10000000.000"}, {1000, "1000.000"}, {1, "1.000"},       {0.1, "0.100"},
        {0.01, "0.0100"},      {0.001, "0.00100"}, {1e-4, "0.000100"}, {1e-6, "0.00000100"},
    };
    for (const auto& [unit, text] : cases) EXPECT_EQ(scaleBarLengthText(unit), text) << unit;

    ScaleBarOptions options;
    options.massstab = 0.5;
    options.vecMassstab = 1e6;
    options.vectorMode = true;
    options.lengthUnitName = "millimeter";
    DisplayList list;
    drawScaleBars(list, 600, options);
    const auto texts = textsOf(list);
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[1].text, "Scale Vector 0.000100 millimeter");
}

TEST(ScaleBars, ViewAndVectorBarsWithTheirCaptions) {
    ScaleBarOptions options;
    options.massstab = 0.5;
    options.vecMassstab = 1000;
    options.vectorMode = true;
    options.lengthFactor = 1;
    options.lengthUnitName = "millimeter";
    DisplayList list;
    drawScaleBars(list, 600, options);
    const auto texts = textsOf(list);
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0].text, "Scale 100.000 millimeter");
    EXPECT_EQ(texts[0].at, (PixelPoint{200, 535}));
    EXPECT_EQ(texts[0].colour, paletteColour(12));
    EXPECT_FALSE(texts[0].opaque);
    EXPECT_EQ(texts[1].text, "Scale Vector 0.100 millimeter");
    EXPECT_EQ(texts[1].at, (PixelPoint{200, 505}));
    const auto bars = segmentsOf(list, paletteColour(9));
    ASSERT_EQ(bars.size(), 6u);
    EXPECT_EQ(bars[0].from, (PixelPoint{400, 540}));
    EXPECT_EQ(bars[0].to, (PixelPoint{450, 540}));
    EXPECT_EQ(bars[2].from, (PixelPoint{450, 543}));
    EXPECT_EQ(bars[2].to, (PixelPoint{450, 537}));
    EXPECT_EQ(bars[3].from, (PixelPoint{400, 510}));
    EXPECT_EQ(bars[3].to, (PixelPoint{500, 510}));
}

// A vector bar of 250 pixels from x = 400 ran past the right edge of a 600-pixel window, and an
// arranged 300-pixel window showed no bar at all: on a narrow surface captions and bars move left
// together, both bars end inside it and the captions name the lengths drawn.
TEST(ScaleBars, BarsEndInsideANarrowSurface) {
    struct Case {
        int width;
        float captionLeft, barLeft, pixels;  // both bars alike here
        const char *viewText, *vectorText;
    };
    const Case cases[] = {
        {1000, 200, 400, 250, "Scale 1000.000 millimeter", "Scale Vector 0.100 millimeter"},
        {710, 200, 400, 250, "Scale 1000.000 millimeter", "Scale Vector 0.100 millimeter"},
        {600, 90, 290, 250, "Scale 1000.000 millimeter", "Scale Vector 0.100 millimeter"},
        {300, 10, 210, 25, "Scale 100.000 millimeter", "Scale Vector 0.0100 millimeter"},
    };
    for (const Case& c : cases) {
        ScaleBarOptions options;
        options.massstab = 0.25;
        options.vecMassstab = 2500;
        options.vectorMode = true;
        options.lengthUnitName = "millimeter";
        options.surfaceWidth = c.width;
        DisplayList list;
        drawScaleBars(list, 600, options);
        const auto texts = textsOf(list);
        ASSERT_EQ(texts.size(), 2u);
        EXPECT_EQ(texts[0].text, c.viewText) << c.width;
        EXPECT_EQ(texts[1].text, c.vectorText) << c.width;
        EXPECT_EQ(texts[0].at.x, c.captionLeft) << c.width;
        EXPECT_EQ(texts[1].at.x, c.captionLeft) << c.width;
        const auto bars = segmentsOf(list, paletteColour(9));
        ASSERT_EQ(bars.size(), 6u);
        for (const std::size_t bar : {std::size_t{0}, std::size_t{3}}) {
            EXPECT_FLOAT_EQ(bars[bar].from.x, c.barLeft) << c.width;
            EXPECT_FLOAT_EQ(bars[bar].to.x - bars[bar].from.x, c.pixels) << c.width;
        }
        for (const auto& bar : bars) EXPECT_LT(std::max(bar.from.x, bar.to.x), c.width) << c.width;
    }
    // Too narrow for 30 pixels of bar right of a caption: neither is drawn (a 200-pixel window
    // got both, its bars wholly past its right edge).
    ScaleBarOptions options;
    options.vectorMode = true;
    options.surfaceWidth = 200;
    DisplayList list;
    drawScaleBars(list, 600, options);
    EXPECT_TRUE(textsOf(list).empty());
    EXPECT_TRUE(segmentsOf(list, paletteColour(9)).empty());
}

TEST(ScaleBars, NoVectorBarOutsideVectorModeAndBlackCaptionOnLightRed) {
    ScaleBarOptions options;
    options.massstab = 0.25;
    options.vecMassstab = 1000;
    options.lengthUnitName = "millimeter";
    DisplayList list;
    list.clear(paletteColour(12));
    drawScaleBars(list, 600, options);
    const auto texts = textsOf(list);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].text, "Scale 1000.000 millimeter");
    EXPECT_EQ(texts[0].colour, paletteColour(0));
    EXPECT_EQ(segmentsOf(list, paletteColour(9)).size(), 3u);
}

TEST(QuaternionOverlay, VectorRunsAlongTheRotationAxisFromTheMcsOrigin) {
    const ViewProjection projection(kTopA1, 0, 0, 2, 0, -100, 600);
    const PointMapper identity = [](double x, double y, double z, double& xo, double& yo, double& zo) {
        xo = x, yo = y, zo = z;
    };
    std::vector<std::string> labels;
    const PlaceLabel sink = [&](DisplayList&, const std::string& t, float, float) { labels.push_back(t); };
    DisplayList list;
    drawQuaternionAxis(list, projection, 0.5, 0, 0, 10, identity, true, sink);  // about x
    const auto magenta = segmentsOf(list, paletteColour(13));
    ASSERT_EQ(magenta.size(), 1u);
    EXPECT_EQ(magenta[0].style, PenStyle::DashDot);
    EXPECT_NEAR(magenta[0].from.x, 400, 1e-3);
    EXPECT_NEAR(std::abs(magenta[0].to.x - magenta[0].from.x), 2 * 10 * 2, 1e-3);  // 2L mm at 2 px/mm
    EXPECT_NEAR(magenta[0].to.y, magenta[0].from.y, 1e-3);
    EXPECT_EQ(labels, (std::vector<std::string>{"Quaternion Vector"}));

    DisplayList none;
    drawQuaternionAxis(none, projection, 0, 0, 0, 10, identity, false, sink);
    const auto point = segmentsOf(none, paletteColour(13));
    ASSERT_EQ(point.size(), 1u);
    EXPECT_EQ(point[0].from, point[0].to);  // no rotation: a point at the image of the MCS origin
}

}  // namespace
}  // namespace kal
