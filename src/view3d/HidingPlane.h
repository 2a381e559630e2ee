#pragma once
// The hiding plane ("BlackPlane"): two parallel planes, set up parallel to the screen when they
// are initialised and from then on fixed in the world, so that they turn and zoom with the
// view. Only the points between them stay visible (column 16 of the point cloud).
//
// The planes are kept in the view record as the view at initialisation: its offsets
// (BlackOffX, BlackOffY), zoom (BlackM), the inverse of its rotation (PlaneMatrix) and the
// depths BlackZ and BlackZ + BlackThick in scaled-depth units of that view. Each redraw brings
// them into the current view (Zeichne_Black_Plane): four squares centred on the surface, half
// sides 100 (k = 1, 2) and 110 pixels (k = 3, 4), in the first plane (k = 1, 3, light red) and
// the second (k = 2, 4, light yellow), carried from the initialising view into the current one.
#include <array>

#include <string>

#include "shared/ViewRecords.h"
#include "view3d/DisplayList.h"
#include "view3d/PointCloud.h"
#include "view3d/ViewArrays.h"
#include "view3d/ViewProjection.h"

namespace kal {

// The planes in the current view, in pixel x, pixel y, scaled depth; elements 1..3 used. Kept
// by the window (they are not part of a view record), rebuilt by every redraw with the plane on.
struct HidingPlaneGeometry {
    std::array<double, 4> PlanePoint1{};  // a corner of the first plane
    std::array<double, 4> PlanePoint2{};  // a corner of the second plane
    std::array<double, 4> PlaneNormal{};  // unit normal of both
};

// Sets the planes up parallel to the present screen when `activate` is true: BlackInitial and
// BlackPlane true, PlaneMatrix the inverse (transpose) of the view rotation, BlackThick 100,
// BlackOffX/Y, BlackM the present offsets and zoom; BlackZ keeps its value. Otherwise clears
// BlackInitial and BlackPlane. BlackPlaneBorders := showBorders. (Initialisieren_BlackPlane,
// without the drawing, which the redraw that follows does.)
// Returns false and changes nothing when activating on a view whose zoom is 0 or not finite:
// such a view maps no pixel back into the world, and the previous planes are kept.
bool initialiseHidingPlane(ScreenProperties& view, const ViewProjection& projection, bool activate,
                           bool showBorders);

// Brings the planes into the view of `projection` on a surface width × height and returns
// where they lie; appends the four squares when BlackPlaneBorders is true (Zeichne_Black_Plane).
// At the initialising view the corners come back to their pixels and the normal is (0, 0, −1).
HidingPlaneGeometry placeHidingPlane(DisplayList& list, const ScreenProperties& view,
                                     const ViewProjection& projection, int width, int height);

// Sets the visible mark of every cloud row 1..count in one pass: with the plane on, a row stays
// visible when it lies on the first plane or beyond it, and strictly before the second, measured
// at its pixel position (PixelX, PixelY, PixelZ); with the plane off, every row is visible.
// Rows the pixel arrays do not reach are marked visible.
void markVisiblePoints(PointCloud& cloud, const ViewArrays& arrays, bool blackPlane,
                       const HidingPlaneGeometry& geometry);

// Every row visible again (the plane switched off in the dialog).
void markAllPointsVisible(PointCloud& cloud);

// What the window's status bar says of its hiding plane: while one is active it hides points, and
// a view restored with it (perhaps on other points) must not hide them without a hint. Empty
// while no plane is active.
std::string hidingPlaneStatusText(const ScreenProperties& view);

// The redraw's hiding-plane stage: with BlackPlane on, places (and, with the borders on, draws)
// the planes once and marks the rows; otherwise marks every row visible. `geometry` keeps the
// planes for the navigation that moves them.
void runHidingPlaneStage(DisplayList& list, PointCloud& cloud, const ViewArrays& arrays,
                         const ScreenProperties& view, const ViewProjection& projection, int width,
                         int height, HidingPlaneGeometry& geometry);

}  // namespace kal
