#pragma once
// Class colours of one graphics window (Calculate_RGB) and the colour bar it draws beside the
// points (Zeichne_ColorBar).
//
// Inside the tolerance the colour runs from blue through green to red over t = class / count
// (t stored in single precision, as the colours depend on it: class 9 of 10 gives G = 34):
//   t < -0.5       (0, <|t + 1|·335>, 255)
//   -0.5 <= t < 0  (0, <255 - |t|·200>, <|t|/0.5·255>)
//   t = 0          (0, 255, 0)
//   0 < t <= 0.5   (<t/0.5·255>, <255 - t·200>, 0)
//   t > 0.5        (255, <|t - 1|·335>, 0)
// with <> rounding halves to even; the ramp jumps at t = ±0.5 (G 155, then 167.5). Outside the
// tolerance red above, blue below, or `OuterColor` when `AusserhalbTol` is on. In two-colour mode
// every class is green or white by its parity (..., -2 white, -1 green, 0 green, 1 white, 2 green).
//
// A colour is a pure function of the class and the window's settings, so every window colours
// its own cloud and its own bar (no class tables shared between windows). Class counts below 1
// leave a table uncoloured rather than failing.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "shared/ImageBuffer.h"
#include "shared/ViewRecords.h"
#include "view3d/DisplayList.h"
#include "view3d/PointCloud.h"

namespace kal {

struct ClassColourSettings {
    std::int32_t AnzKlassenPos = 10;
    std::int32_t AnzKlassenNeg = 10;
    bool AusserhalbTol = false;  // out-of-tolerance classes take OuterColor
    StoredColour OuterColor = 0;
    bool twoColour = false;  // the colour-bar menu item is checked AND its "Binär Mode" box is ticked
};

// The settings of a window's view record; `twoColour` comes from the colour-bar dialog.
ClassColourSettings classColourSettings(const ScreenProperties& view, bool twoColour);

// The colour of a class; nullopt when a class count is below 1.
std::optional<StoredColour> classColour(std::int32_t toleranceClass, const ClassColourSettings& settings);

// Column 6 of rows 1..count() from the class in column 5 (Calculate_RGB). Leaves the table as it
// was when a class count is below 1.
void colourRows(PointCloud& cloud, const ClassColourSettings& settings);

// Where the colour bar of a picture W × H stands (all in pixels).
struct ColourBarGeometry {
    std::int32_t halfHeight = 0;            // a = <H/3>
    std::int32_t width = 0;                 // b = <a/9>
    std::int32_t bottom = 0;                // y0 = <(H - 2a)·2.5>, the row just below the bar
    std::int32_t left = 0;                  // x = W - min(<W/7>, 75)
    std::int32_t rowsPerNegativeClass = 0;  // <a / AnzKlassenNeg>
    std::int32_t rowsPerPositiveClass = 0;  // <a / AnzKlassenPos>
    PixelPoint minLabel;                    // (x - 1.5 b, y0 - b/2)
    PixelPoint maxLabel;                    // (x - 1.5 b, y0 - 2a)
    bool operator==(const ColourBarGeometry&) const = default;
};
ColourBarGeometry colourBarGeometry(std::int32_t pictureWidth, std::int32_t pictureHeight,
                                    std::int32_t AnzKlassenPos, std::int32_t AnzKlassenNeg);

// How many pixels at the right edge of a picture W × H the colour bar takes with its limit labels,
// which start 1.5 bar widths left of it: the column the fit keeps free of points.
std::int32_t colourBarColumnWidth(std::int32_t pictureWidth, std::int32_t pictureHeight);

// What the bar shows besides the colours: the limits in millimetres, written as display values
// (LengthFactor · limit) with `decimals` decimals and the regional separator.
struct ColourBarLabels {
    double Min = 0;
    double Max = 0;
    double LengthFactor = 1;
    int decimals = 2;
};

// Appends the colour bar to `list` (Zeichne_ColorBar): one cell per class, the most negative at
// the bottom, a black zero mark over the row of class -1, the most positive at the top, and the
// two limit labels (black on a white background, light grey otherwise; a label whose corner lies
// right of or below the picture is left out). Nothing is drawn while a class count is below 1.
void drawColourBar(DisplayList& list, std::int32_t pictureWidth, std::int32_t pictureHeight,
                   const ClassColourSettings& settings, const ColourBarLabels& labels);

// The colour-bar dialog's preview strip `s` pixels wide: element c (1..) is the colour of
// column c; about half the strip for each side, the most negative class at the left, the black
// zero mark over the last negative column. Element 0 is unused. Empty when a count is below 1.
std::vector<StoredColour> previewStripColumns(std::int32_t stripWidth, const ClassColourSettings& settings);

}  // namespace kal
