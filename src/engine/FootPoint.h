#pragma once
// The foot point of a point on a surface of revolution about the z axis, given by its profile: a
// table of (radius, height) vertices, radius growing with the row. The point is turned into the
// profile's half-plane, its nearest point on the profile polyline is found (on the infinite lines
// of the segments next to the nearest vertex) and turned back to the point's own azimuth.
#include <vector>

#include "shared/Matrix.h"

namespace kal {

// profile: rows 1..n (n ≥ 2), column 1 the radius, column 2 the height, in mm (ParaboloidFootPoint). A
// profile of fewer than 2 rows (or without two columns) holds no segment and throws CalcRefused. A point on
// the z axis lands in the azimuth-0 half-plane. Radii that do not grow give a local minimum only.
void paraboloidFootPoint(const Matrix& profile, double x, double y, double z, double& xo, double& yo,
                         double& zo);

// A foot point on the surface together with the unit normal of the surface there: the normal of the
// profile line the foot lies on, turned to the point's azimuth (it points to the side where the
// height grows as the radius shrinks, for a profile that rises outwards: above a dish).
struct SurfaceFoot {
    double x = 0, y = 0, z = 0;     // the foot point, mm
    double nx = 0, ny = 0, nz = 1;  // the unit normal there
};

// The foot point of paraboloidFootPoint, bit for bit, and the normal of the surface there. The
// signed distance of the point from the surface along the normal is n·(point - foot).
SurfaceFoot surfaceFootPoint(const Matrix& profile, double x, double y, double z);

// Moves list entries 2..n one place down and puts value into entry n (entry 0 is not touched):
// the history of the last n values (ShiftAppend).
void shiftAppend(std::vector<double>& list, double value);

}  // namespace kal
