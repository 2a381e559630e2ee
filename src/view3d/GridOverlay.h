#pragma once
// Grids of lines of constant coordinate on the coordinate planes XY (z = 0, grey), YZ (x = 0,
// light green) and ZX (y = 0, light blue), each line labelled with its coordinate in stroke
// digits (Zeichne_KSGrid). Every plane has two families: XY lines of constant x (spacing ADis)
// and of constant y (BDis); YZ constant y (BDis) and constant z (Cdis); ZX constant x (ADis)
// and constant z (Cdis). Each family has N lines around the world point under the centre of
// the surface, N being the largest line count of the three spacings that fits the larger side
// of the surface, made even.
//
// Coordinates are shifted world coordinates (world + origin shift): after a recentring the grid
// passes through the centre point and its labels count from it. Labels are in the display unit.
//
// A family whose lines would lie closer than 4 pixels on the screen is left out, so zooming far
// out never floods a redraw with lines; so is a first family whose spacing is 0 (its line
// values would divide by it). A second family with spacing 0 puts all its lines at 0.
#include <array>
#include <cstdint>
#include <string>

#include "view3d/DisplayList.h"
#include "view3d/ViewProjection.h"

namespace kal {

struct GridOptions {
    bool GridXY = false, GridYZ = false, GridZX = false;
    bool ShowGridDim = false;                   // labels on the lines
    std::int32_t ADis = 0, BDis = 0, Cdis = 0;  // spacings, millimetres
    double lengthFactor = 1;                    // LengthFactor: display units per millimetre
    std::string lengthFormat = "0.000";         // LengthFormat
};

// The closest spacing on the screen a family is drawn with, in pixels.
inline constexpr double kMinGridSpacingPixels = 4;

// n for each of ADis, BDis, Cdis: Int(S / (Massstab × D)) with S the larger side, 0 for a
// spacing of 0 or one closer than kMinGridSpacingPixels on the screen; N the largest n, made
// even. A Massstab that is not positive and finite gives no lines.
struct GridLineCounts {
    std::array<std::int32_t, 3> n{};
    std::int32_t N = 0;
};
GridLineCounts gridLineCounts(int width, int height, double massstab, std::int32_t ADis, std::int32_t BDis,
                              std::int32_t Cdis);

// The i-th (1..N) line value of a family with spacing D about the centre value c:
// Int(c / D)·D − (N / 2)·D + i·D, Int toward minus infinity.
double gridLineValue(double centre, double spacing, std::int32_t N, std::int32_t i);

// Appends the grids of the planes that are on, in the view of `projection` (its origin shift
// included).
void drawCoordinateGrid(DisplayList& list, const ViewProjection& projection, int width, int height,
                        const GridOptions& options);

}  // namespace kal
