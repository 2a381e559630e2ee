#include "view3d/GridOverlay.h"

#include <cmath>

#include "view3d/OverlayInputs.h"
#include "view3d/PixelRound.h"
#include "view3d/StandardPalette.h"
#include "view3d/StrokeDigits.h"

namespace kal {

namespace {

constexpr double kLabelSize = 1.4;
// The arc tangent becomes degrees with the factor 57; the labels keep those angles.
constexpr double kLabelDegreesPerRadian = 57;

// One family of a plane: lines of constant `constant` (0 x, 1 y, 2 z) running along `running`.
struct Family {
    int constant;
    int running;
    int spacingIndex;      // 0 ADis, 1 BDis, 2 Cdis
    double halfLengthDiv;  // half-length = S / (halfLengthDiv · Massstab)
};

struct Plane {
    int colour;
    Family first;
    Family second;
};

constexpr Plane kXY = {palette::Grey, {0, 1, 0, 2}, {1, 0, 1, 1}};
constexpr Plane kYZ = {palette::LightGreen, {1, 2, 1, 2}, {2, 1, 2, 2}};
constexpr Plane kZX = {palette::LightBlue, {0, 2, 0, 1}, {2, 0, 2, 1}};

bool tooDense(double massstab, double spacing) {
    return spacing != 0 && std::fabs(massstab * spacing) < kMinGridSpacingPixels;
}

struct GridDraw {
    DisplayList& list;
    const ViewProjection& projection;
    int width, height;
    double S;
    std::array<double, 3> centre;
    std::array<double, 3> spacing;
    GridLineCounts counts;
    const GridOptions& options;
    double displayFactor;

    // WeltKS_to_BildKS of a shifted world point: no further shift is added. Kept in double: a
    // label's place and angle come from these ends, and only the drawn line is single.
    ViewPoint toPixel(const std::array<double, 3>& p) const {
        return projection.shiftedToPixel(p[0], p[1], p[2]);
    }
    static PixelPoint drawn(const ViewPoint& v) { return {static_cast<float>(v.x), static_cast<float>(v.y)}; }

    // The end points (minus end, plus end) of line i of a family; `value` its constant coordinate.
    std::array<ViewPoint, 2> line(const Family& f, double value) const {
        const double half = S / (f.halfLengthDiv * projection.massstab());
        std::array<double, 3> a{0, 0, 0}, b{0, 0, 0};
        a[static_cast<std::size_t>(f.constant)] = b[static_cast<std::size_t>(f.constant)] = value;
        a[static_cast<std::size_t>(f.running)] = centre[static_cast<std::size_t>(f.running)] - half;
        b[static_cast<std::size_t>(f.running)] = centre[static_cast<std::size_t>(f.running)] + half;
        return {toPixel(a), toPixel(b)};
    }

    void label(double value, double x, double y, double winkel) {
        drawStrokeNumber(list, value * displayFactor, options.lengthFormat, x, y, kLabelSize, winkel,
                         paletteColour(palette::Grey), {width, height});
    }

    void drawPlane(const Plane& plane) {
        const StoredColour colour = paletteColour(plane.colour);
        const double D1 = spacing[static_cast<std::size_t>(plane.first.spacingIndex)];
        const double D2 = spacing[static_cast<std::size_t>(plane.second.spacingIndex)];
        const bool firstOn = D1 != 0 && !tooDense(projection.massstab(), D1);
        const bool secondOn = !tooDense(projection.massstab(), D2);
        for (std::int32_t i = 1; i <= counts.N; ++i) {
            if (firstOn) {
                const double value =
                    gridLineValue(centre[static_cast<std::size_t>(plane.first.constant)], D1, counts.N, i);
                const auto [a, b] = line(plane.first, value);
                addSegment(list, drawn(a), drawn(b), 1, colour);
                if (options.ShowGridDim) {
                    // Across the line where it meets pixel row 10, always written left to right.
                    const auto dx = static_cast<float>(b.x - a.x), dy = static_cast<float>(b.y - a.y);
                    double w = std::atan(dy / (dx + 1e-10)) * kLabelDegreesPerRadian + 90;
                    if (w > 90) w += 180;
                    label(value, b.x + (10 - b.y) * dx / (dy + 1e-10), 10, w);
                }
            }
            if (secondOn) {
                const double value =
                    D2 == 0 ? 0.0
                            : gridLineValue(centre[static_cast<std::size_t>(plane.second.constant)], D2,
                                            counts.N, i);
                const auto [a, b] = line(plane.second, value);
                addSegment(list, drawn(a), drawn(b), 1, colour);
                if (options.ShowGridDim) {
                    // Along the line, 4 pixels below where it meets pixel column 50.
                    const auto dx = static_cast<float>(b.x - a.x), dy = static_cast<float>(b.y - a.y);
                    const double w = std::atan(dy / (dx + 1e-10)) * kLabelDegreesPerRadian;
                    label(value, 50, b.y + (50 - b.x) * dy / (dx + 1e-10) + 4, w);
                }
            }
        }
    }
};

}  // namespace

GridLineCounts gridLineCounts(int width, int height, double massstab, std::int32_t ADis, std::int32_t BDis,
                              std::int32_t Cdis) {
    GridLineCounts c;
    if (!(massstab > 0) || !std::isfinite(massstab)) return c;
    const double S = roundHalfEven(width > height ? width : height);
    const std::array<std::int32_t, 3> spacing = {ADis, BDis, Cdis};
    for (std::size_t k = 0; k < 3; ++k) {
        const double D = spacing[k];
        if (D == 0 || tooDense(massstab, D)) continue;
        // At least 4 px apart, so n ≤ S / 4 and fits.
        c.n[k] = static_cast<std::int32_t>(std::floor(S / (massstab * D)));
        if (c.n[k] > c.N) c.N = c.n[k];
    }
    if (c.N % 2 != 0) c.N -= 1;
    return c;
}

double gridLineValue(double centre, double spacing, std::int32_t N, std::int32_t i) {
    return std::floor(centre / spacing) * spacing - (N / 2) * spacing + i * spacing;
}

void drawCoordinateGrid(DisplayList& list, const ViewProjection& projection, int width, int height,
                        const GridOptions& options) {
    if (!options.GridXY && !options.GridYZ && !options.GridZX) return;
    const GridLineCounts counts =
        gridLineCounts(width, height, projection.massstab(), options.ADis, options.BDis, options.Cdis);
    if (counts.N <= 0) return;
    // BildKS_to_WeltKS keeps the origin shift in: the centre in shifted world coordinates.
    const ViewPoint c = projection.pixelToShifted(width / 2.0, height / 2.0, 0);
    GridDraw draw{list,
                  projection,
                  width,
                  height,
                  roundHalfEven(width > height ? width : height),
                  {c.x, c.y, c.z},
                  {static_cast<double>(options.ADis), static_cast<double>(options.BDis),
                   static_cast<double>(options.Cdis)},
                  counts,
                  options,
                  overlayLengthFactor(options.lengthFactor)};
    if (options.GridXY) draw.drawPlane(kXY);
    if (options.GridYZ) draw.drawPlane(kYZ);
    if (options.GridZX) draw.drawPlane(kZX);
}

}  // namespace kal
