#pragma once
// What the overlay stages (axes, grid, quaternion vector, scale bars, hiding plane) receive
// from their window besides the projection: where caption labels go and how an MCS point
// reaches the OCS. Plain callables, so each window hands in its own and a test records them.
#include <functional>
#include <string>

#include "shared/JobState.h"
#include "view3d/DisplayList.h"

namespace kal {

// Places one caption label whose top-left corner is pixel (x, y) (SetLabelToPos). The window's
// label stage decides its colour and refuses positions right of or below the surface.
using PlaceLabel = std::function<void(DisplayList& list, const std::string& text, float x, float y)>;

// One MCS point into the OCS with the current parameters (TransformPoint); throws NumericError
// for a result that is not finite.
using PointMapper = std::function<void(double x, double y, double z, double& xo, double& yo, double& zo)>;

// The job's current transformation as a PointMapper, built once for the few points a redraw
// maps. A model that cannot be built maps nothing: every call throws NumericError.
PointMapper mcsToOcsMapper(const JobState& job);

// Appends the segment unless an end is not finite (a view zoomed out of range): no NaN ever
// reaches the painter.
void addSegment(DisplayList& list, const PixelPoint& from, const PixelPoint& to, std::int32_t penWidth,
                StoredColour colour, PenStyle style = PenStyle::Solid);

}  // namespace kal

namespace kal {

// Display units per millimetre for the overlays' numbers; a factor not yet fixed (0) or not
// finite counts as 1, millimetres.
double overlayLengthFactor(double lengthFactor);

}  // namespace kal
