#pragma once
// The three axis figures every redraw ends with (Zeichne_Kosys):
// 1. an orientation tripod of fixed size (axes 50 px) at (70, H − 90) that turns with the view
//    but neither zooms nor pans, with an arrowhead on x and one, two and three marker dots
//    beyond the x, y and z ends;
// 2. the OCS axes at the world origin, projected as the points are;
// 3. the MCS axes: the MCS origin and axis ends carried into the OCS by the current
//    transformation, dotted.
// x, y, z are light red, light yellow and light green. Axis labels read "x " & the system name.
#include <array>
#include <string>

#include "view3d/DisplayList.h"
#include "view3d/OverlayInputs.h"
#include "view3d/ViewProjection.h"

namespace kal {

struct AxesOptions {
    std::int32_t axisLength = 1;   // systemAxisLength() of the MCS box, millimetres
    bool showLabels = false;       // ShowCoordinateSystemLabels
    std::string nameOCS, nameMCS;  // NameOCS, NameMCS
};

// The column right of which nothing of the tripod is drawn, whatever the view's angles: its axes,
// arrowhead and dots reach 67 pixels from its origin at x = 70, and each label (shown with
// `options.showLabels`) starts 5 pixels right of an axis end. `labelWidth` is the widest of its
// three labels ("x " & NameOCS, ...) in pixels.
float tripodRightEdge(const AxesOptions& options, int labelWidth);

// The three labels of the tripod, as drawn when `options.showLabels` is set.
std::array<std::string, 3> tripodLabels(const AxesOptions& options);

// Appends the tripod, the OCS axes and the MCS axes. `projection` is the window's current one
// (origin shift included); `surfaceHeight` places the tripod. A point that cannot be mapped
// into the OCS ends the figure silently: what was drawn stays.
void drawCoordinateAxes(DisplayList& list, const ViewProjection& projection, int surfaceHeight,
                        const AxesOptions& options, const PointMapper& mcsToOcs,
                        const PlaceLabel& placeLabel);

}  // namespace kal
