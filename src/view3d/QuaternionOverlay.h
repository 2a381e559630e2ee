#pragma once
// The rotation axis of the current transformation drawn as a vector from the image of the MCS
// origin, twice the system axis length long, dash-dot in light magenta (Zeichne_Quat). A
// rotation of zero has no axis: the vector shrinks to a point.
#include <cstdint>

#include "view3d/DisplayList.h"
#include "view3d/OverlayInputs.h"
#include "view3d/ViewProjection.h"

namespace kal {

// rotX, rotY, rotZ: the transformation's x-y'-z'' angles (RotX, RotY, RotZ), radians.
// axisLength: systemAxisLength() of the MCS box. A point that cannot be mapped into the OCS
// leaves the vector out.
void drawQuaternionAxis(DisplayList& list, const ViewProjection& projection, double rotX, double rotY,
                        double rotZ, std::int32_t axisLength, const PointMapper& mcsToOcs, bool showLabels,
                        const PlaceLabel& placeLabel);

}  // namespace kal
