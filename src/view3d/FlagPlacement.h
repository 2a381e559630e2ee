#pragma once
// Where a graphics window puts a flag (point label): a new flag created by a click in flag
// mode, and a flag dropped after a drag. Only the layout records and positions are computed
// here; the flag's grid (contents, font, size) belongs to the window.
//
// Positions are pixels of the drawing surface; a flag's Left/Top are its top-left corner.
#include <cstdint>

#include "shared/ViewRecords.h"
#include "view3d/PointCloud.h"

namespace kal {

// The click's preconditions: no flag on row k yet, the row visible (column 16 = 1) and its
// pixel within the surface (`pixelWithinScreen`, computed by the caller).
bool canCreateFlag(const ScreenProperties& view, const PointCloud& cloud, std::int32_t k,
                   bool pixelWithinScreen);

// Adds layout record n = FahneAnzahl + 1 for a new flag and returns n. The record starts as a
// copy of the current flag's (CurrentFahne; a number that names no flag counts as 0, the
// template). Without a current flag it becomes the last layout of `defaultView` when that holds
// one, else the template with ShowActual, ShowNominal, showX, showY, showZ, ShowDev,
// ShowTolCol, ShowLegendeXYZ, ShowLegendeName and ShowGrid set. The font fields and Forecolor
// are then the window's to read back from the new grid. FlagOfPoint is not touched.
std::int16_t addFlagLayout(ScreenProperties& view, const ScreenProperties& defaultView);

struct NewFlagPlacement {
    float MouseX = 0, MouseY = 0;  // the click
    float pointX = 0, pointY = 0;  // PixelX(k), PixelY(k)
    int currentWidth = 0;          // the current flag's grid (the template's when none)
    int currentHeight = 0;
    int width = 0, height = 0;  // the new flag's grid, already filled
    int surfaceWidth = 0, surfaceHeight = 0;
    bool snap = false;            // SnaptoGrid of layout n − 1 (the one below the new one)
    std::int32_t GridLength = 0;  // snapping needs at least 1
    bool placeAtMouse = false;    // the flag editor's border options
};
struct FlagCorner {
    std::int16_t Left = 0;
    std::int16_t Top = 0;
    bool operator==(const FlagCorner&) const = default;
};

// A click right of (below) the point puts the flag's left (top) edge at the mouse; a click left
// of (above) it shifts the flag by the current flag's width (height), so its far edge ends near
// the mouse. Negative positions become 0; a flag running off the right (bottom) edge moves
// back inside with a margin of 10 (20) px. Then the snap to multiples of GridLength (down), and
// the border options put the corner at the mouse.
FlagCorner placeNewFlag(const NewFlagPlacement& in);

// A dragged flag dropped with its grab point (grabX, grabY) under (x, y): the corner, raised to
// 0 when negative, and snapped to multiples of GridLength (⌊(v + 1) / GridLength⌋ ×
// GridLength) when `snap` is set and GridLength ≥ 1.
FlagCorner dropFlag(float x, float y, float grabX, float grabY, bool snap, std::int32_t GridLength);

// The lowest cloud row 1..rowCount carrying flag `flag`; 0 when none does (then no leader line).
std::int32_t rowOfFlag(const ScreenProperties& view, std::int16_t flag, std::int32_t rowCount);

}  // namespace kal
