#pragma once
// The three axis figures every redraw ends with (Zeichne_Kosys):
// 1. an orientation tripod of fixed size (axes 50 px) at (70, H − 90) that turns with the view
//    but neither zooms nor pans, with an arrowhead on x and one, two and three marker dots
//    beyond the x, y and z ends;
// 2. the OCS axes at the world origin, projected as the points are;
// 3. the MCS axes: the MCS origin and axis ends carried into the OCS by the current
//    transformation, dotted.
// x, y, z are light red, light yellow and light green. Axis labels read "x " & the system name.
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

// Appends the tripod, the OCS axes and the MCS axes. `projection` is the window's current one
// (origin shift included); `surfaceHeight` places the tripod. A point that cannot be mapped
// into the OCS ends the figure silently: what was drawn stays.
void drawCoordinateAxes(DisplayList& list, const ViewProjection& projection, int surfaceHeight,
                        const AxesOptions& options, const PointMapper& mcsToOcs,
                        const PlaceLabel& placeLabel);

}  // namespace kal
