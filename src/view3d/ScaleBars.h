#pragma once
// The scale bars at the foot of a graphics window (Zeichne_Scale): one for the view and, in
// vector mode, one for the deviation vectors, each a light-blue bar between 30 and 300 pixels
// long from x = 400 with end ticks, and a caption at x = 200 naming the length the bar stands
// for: "Scale 100.000 millimeter", "Scale Vector 0.100 millimeter".
#include <functional>
#include <string>

#include "platform/TextMetrics.h"
#include "view3d/DisplayList.h"
#include "view3d/OverlayRoom.h"

namespace kal {

// A bar brought into 30 … 300 pixels by factors of 10, and the length in display units it
// shows. `drawn` is false for a start length that is not positive and finite (a zero or
// overflowed scale), which no factor of 10 can bring into range. With `longest` below 300 the
// range is longest / 10 … longest: still a factor of 10 wide, so one power of ten always fits.
struct ScaleBarFit {
    bool drawn = false;
    double pixels = 0;
    double unit = 0;
};
ScaleBarFit fitScaleBar(double startUnit, double pixelsPerStartUnit, double longest = 300);

// The bar's length as its caption prints it: "0.000" with at least three significant digits
// ("100.000", "0.100", "0.0100", "0.000100").
std::string scaleBarLengthText(double unit);

struct ScaleBarOptions {
    double massstab = 1;         // Massstab: pixels per millimetre of the view
    double vecMassstab = 1;      // Vec_Maßstab: pixels per millimetre of deviation
    bool vectorMode = false;     // VectorMode: the vector bar is shown
    double lengthFactor = 1;     // LengthFactor: display units per millimetre
    std::string lengthUnitName;  // LengthUnitName
    int surfaceWidth = 1000;     // pixels; wide enough for a full 300-pixel bar from x = 400
    // Captions and bars stay right of this column (the orientation tripod stands left of it).
    double clearLeft = 10;
    // The size of a caption in the window's label font; empty: a caption is taken to fit the 200
    // pixels before its bar.
    std::function<platform::TextSize(const std::string&)> measure;
};

// Appends the captions (TextLabel, transparent; black on a light-red background, else light
// red) and the bars for a surface `surfaceHeight` pixels high. The view bar stands 60 pixels
// above the bottom, the vector bar 90. A surface narrower than a full bar from x = 400 needs
// (710 pixels) moves captions and bars left together, the captions down to x = clearLeft, and
// fits each bar to the room left (at least 30 pixels), so the bar ends on the window and its
// caption names the length actually drawn. Where there is no such room (a surface narrower than
// clearLeft + 240, or too short for a caption's row) that caption and its bar are left out.
// A caption wider than the 200 pixels before its bar pushes the bar right; where those 200
// pixels leave the bar less than 30, a measured caption lets it start right after it. With `room`, each
// caption and bar keeps clear of the places taken there (the colour bar with its limits): the
// bar ends before the first of them in its rows, a caption or bar that would still lie on one
// is left out, and what is drawn is taken.
void drawScaleBars(DisplayList& list, int surfaceHeight, const ScaleBarOptions& options,
                   OverlayRoom* room = nullptr);

}  // namespace kal
