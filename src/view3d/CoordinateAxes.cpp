#include "view3d/CoordinateAxes.h"

#include <algorithm>
#include <array>
#include <exception>

#include "view3d/PixelRound.h"
#include "view3d/StandardPalette.h"

namespace kal {

namespace {

constexpr std::array<int, 3> kAxisColour = {palette::LightRed, palette::LightYellow, palette::LightGreen};
constexpr std::array<const char*, 3> kAxisPrefix = {"x ", "y ", "z "};

PixelPoint pixelOf(const ViewPoint& p) { return {static_cast<float>(p.x), static_cast<float>(p.y)}; }

// The three axis lines from points[0] to points[1..3], then their labels at the ends + (5, 5).
void drawAxisFigure(DisplayList& list, const std::array<PixelPoint, 4>& points, PenStyle style,
                    bool showLabels, const std::string& systemName, const PlaceLabel& placeLabel) {
    for (int k = 0; k < 3; ++k)
        addSegment(list, points[0], points[static_cast<std::size_t>(k + 1)], 1, paletteColour(kAxisColour[k]),
                   style);
    if (!showLabels || !placeLabel) return;
    for (int k = 0; k < 3; ++k) {
        const PixelPoint& end = points[static_cast<std::size_t>(k + 1)];
        placeLabel(list, kAxisPrefix[k] + systemName, end.x + 5, end.y + 5);
    }
}

// The tripod stands at (70, H − 90) with axes of 50 pixels; its farthest marker dot lies 65
// pixels out along the z axis and has a radius of 2.
constexpr double kTripodLeft = 70;
constexpr double kTripodAxis = 50;
constexpr double kTripodReach = 65 + 2;
constexpr double kTripodLabelOffset = 5;

void drawTripod(DisplayList& list, const ViewProjection& projection, int surfaceHeight,
                const AxesOptions& options, const PlaceLabel& placeLabel) {
    constexpr double L = kTripodAxis;
    const double base = roundHalfEven(surfaceHeight - 90.0);
    // The view rotation alone: u to the right, v downwards, without zoom or offsets.
    const auto screen = [&](double x, double y, double z) {
        const ViewPoint v = projection.worldToView(x, y, z);
        return PixelPoint{static_cast<float>(v.x - 200 + kTripodLeft), static_cast<float>(200 - v.y + base)};
    };
    const std::array<PixelPoint, 4> axes = {screen(0, 0, 0), screen(L, 0, 0), screen(0, L, 0),
                                            screen(0, 0, L)};
    for (int k = 0; k < 3; ++k)
        addSegment(list, axes[0], axes[static_cast<std::size_t>(k + 1)], 1, paletteColour(kAxisColour[k]));
    const PixelPoint barb1 = screen(L - L / 5, L / 5 * 0.6, 0), barb2 = screen(L - L / 5, -L / 5 * 0.6, 0);
    const StoredColour red = paletteColour(palette::LightRed);
    addSegment(list, axes[1], barb1, 1, red);
    addSegment(list, axes[1], barb2, 1, red);
    addSegment(list, barb1, barb2, 1, red);
    if (options.showLabels && placeLabel) {
        const std::array<std::string, 3> labels = tripodLabels(options);
        for (std::size_t k = 0; k < 3; ++k) {
            const PixelPoint& end = axes[k + 1];
            placeLabel(list, labels[k], end.x + static_cast<float>(kTripodLabelOffset),
                       end.y + static_cast<float>(kTripodLabelOffset));
        }
    }
    // One, two and three dots beyond the ends tell the axes apart without colour: points of a
    // 4-pixel pen.
    const auto dot = [&](const PixelPoint& p, int colourIndex) {
        const StoredColour c = paletteColour(colourIndex);
        list.add(Circle{p, 2.0f, 1, c, true, c});
    };
    dot(screen(55, 0, 0), palette::LightRed);
    dot(screen(0, 55, 0), palette::LightYellow);
    dot(screen(0, 60, 0), palette::LightYellow);
    dot(screen(0, 0, 55), palette::LightGreen);
    dot(screen(0, 0, 60), palette::LightGreen);
    dot(screen(0, 0, 65), palette::LightGreen);
}

}  // namespace

std::array<std::string, 3> tripodLabels(const AxesOptions& options) {
    return {kAxisPrefix[0] + options.nameOCS, kAxisPrefix[1] + options.nameOCS,
            kAxisPrefix[2] + options.nameOCS};
}

float tripodRightEdge(const AxesOptions& options, int labelWidth) {
    double right = kTripodLeft + kTripodReach;
    if (options.showLabels)
        right = std::max(right, kTripodLeft + kTripodAxis + kTripodLabelOffset + std::max(labelWidth, 0));
    return static_cast<float>(right);
}

void drawCoordinateAxes(DisplayList& list, const ViewProjection& projection, int surfaceHeight,
                        const AxesOptions& options, const PointMapper& mcsToOcs,
                        const PlaceLabel& placeLabel) {
    drawTripod(list, projection, surfaceHeight, options, placeLabel);

    const double L = options.axisLength;
    const std::array<std::array<double, 3>, 4> ends = {{{0, 0, 0}, {L, 0, 0}, {0, L, 0}, {0, 0, L}}};
    std::array<PixelPoint, 4> points;
    for (std::size_t k = 0; k < 4; ++k)
        points[k] = pixelOf(projection.worldToPixel(ends[k][0], ends[k][1], ends[k][2]));
    drawAxisFigure(list, points, PenStyle::Solid, options.showLabels, options.nameOCS, placeLabel);

    if (!mcsToOcs) return;
    try {
        for (std::size_t k = 0; k < 4; ++k) {
            double x, y, z;
            mcsToOcs(ends[k][0], ends[k][1], ends[k][2], x, y, z);
            points[k] = pixelOf(projection.worldToPixel(x, y, z));
        }
    } catch (const std::exception&) {
        return;  // parameters that map nowhere: the MCS figure is left out, as a failed step ends it
    }
    drawAxisFigure(list, points, PenStyle::Dot, options.showLabels, options.nameMCS, placeLabel);
}

}  // namespace kal
