#pragma once
// Numbers written as line strokes, so that a label can be scaled and turned to any angle (the
// grid labels run along their grid lines). Ten digits, the minus sign and the decimal point,
// each built from six anchors of one character cell:
//
//   P1 (2, 1)  P2 (6, 1)      cell units, x to the right, y down, the pen position at (0, 0);
//   P3 (2, 4)  P4 (6, 4)      a glyph spans 4 units across and 6 down, and the pen advances
//   P5 (2, 7)  P6 (6, 7)      6 units per character.
//
// M is both the pixel size of a cell unit and the pen width (M rounded, at least 1). Winkel is
// in degrees; a positive angle turns the glyph clockwise on the screen (y points down). Each
// step of the anchor construction rounds to the nearest pixel, halves to even.
#include <array>
#include <string_view>

#include "view3d/DisplayList.h"

namespace kal {

// The six anchors of one character in pixels (points 1..6; point 0 unused) and the pen width.
struct StrokeAnchors {
    std::array<PixelPoint, 7> point{};
    std::int32_t penWidth = 1;
};

// Pen width of stroke digits of size M: M rounded (halves to even) when M ≥ 1, else 1.
std::int32_t strokePenWidth(double m);

// The anchors of a character whose pen position is (x, y), scaled by M and turned by Winkel
// degrees (Belegung).
StrokeAnchors strokeAnchors(double x, double y, double m, double winkel);

// Draws the glyph of `c` ("0".."9", "-", ".") at pen position (x, y) (Plot_0 ... Plot_9,
// plot_2, Plot_Minus, Plot_Dot). Returns false, drawing nothing, for any other character.
bool drawStrokeGlyph(DisplayList& list, char c, double x, double y, double m, double winkel,
                     StoredColour colour);

// Writes `text` glyph by glyph from the pen position (x, y) in the direction Winkel; x and y
// end behind the last character. A digit or a character without a glyph advances 6·M, a
// decimal point 2·M.
void drawStrokeText(DisplayList& list, std::string_view text, double& x, double& y, double m, double winkel,
                    StoredColour colour);

// The drawing surface a number is written on, for the start-position test.
struct StrokeSurface {
    int width = 0;
    int height = 0;
};

// Writes `number` formatted with `pattern` ("0", "0.0", ... as the length decimals give it)
// (Plot_Number). The decimal point is always "." whatever the regional separator, since a
// comma has no glyph and would leave a gap; "-0" is never written. Nothing is drawn, and x and
// y stay as they are, when the start lies farther than 1.1 × the surface's width or height from
// its origin, or when the number or the start is not finite.
void drawStrokeNumber(DisplayList& list, double number, std::string_view pattern, double& x, double& y,
                      double m, double winkel, StoredColour colour, StrokeSurface surface);

}  // namespace kal
