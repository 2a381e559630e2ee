#pragma once
// The projection of one graphics window over the whole point cloud, and the fitting of the view
// into the window. Every window passes its own view record, arrays and origin (nothing here is
// process-wide), and the arrays are sized once and reused by later redraws of the same size.
//
// The cloud's projection works in single precision as the pixel arrays are kept; single
// points go through ViewProjection (double precision). See ViewProjection.h for the formulas.
#include <array>
#include <cstdint>
#include <span>
#include <string>

#include "shared/JobState.h"
#include "shared/Matrix.h"
#include "shared/ViewRecords.h"
#include "view3d/PointCloud.h"
#include "view3d/ViewArrays.h"
#include "view3d/ViewProjection.h"

namespace kal {

// The drawing surface of a window, in pixels.
struct SurfaceSize {
    int width = 0;
    int height = 0;
    int statusBarHeight = 0;  // the window's status bar below the surface
    // Columns at the right edge that the fit leaves free (the colour bar and its labels stand
    // there); the projection itself always spans the whole width.
    int reservedRight = 0;
    bool operator==(const SurfaceSize&) const = default;
};

// What the cloud's projection reads besides the window's view record.
struct ProjectionInputs {
    SurfaceSize surface;
    bool AnalyseFlag = false;         // the analyse animation needs the turned vectors too
    bool DevVecDirection = true;      // false: every drawn deviation vector points the other way
    std::int32_t IdenticalCount = 0;  // rows 1..n carry deviation vectors
    // 3 per identical point (x, y, z of point i at 3i − 2 .. 3i), element 0 unused; read with
    // the view's ShowOnlyUsedComponent. Shorter than needed: the missing flags count as set.
    std::span<const std::int16_t> UseFlags;
    // When not empty, the recentring takes the first cloud row of this name as the origin point
    // instead of mapping the origin's main-sheet row.
    std::string OriginPointName;
};

// The job's part of the inputs (identical count, use flags, vector direction).
ProjectionInputs projectionInputs(const JobState& job, SurfaceSize surface, bool analyseFlag = false);

// The three view angles a1, a2, a3 (ViewAngles (1, 1..3), radians); 0 for an array never sized.
std::array<double, 3> viewAnglesOf(const ScreenProperties& view);

// This window's single-point projection (WeltKS_to_BildKS / BildKS_to_WeltKS) with its zoom,
// offsets, surface height and origin shifts.
ViewProjection viewProjection(const ScreenProperties& view, const ViewOrigin& origin, SurfaceSize surface);

// rechne_PixelCloud: recentres when the origin asks for it, fills the view coordinates (ViewX/Y/Z)
// of rows 1..count, the extents, and, in vector mode or while animating, the turned vectors of
// rows 1..IdenticalCount (other rows 0). A recentring on a row that does not exist skips the
// recentring and clears the request; otherwise the origin point is put in the middle of the
// surface.
void projectCloud(const PointCloud& cloud, ScreenProperties& view, ViewOrigin& origin,
                  const ProjectionInputs& in, ViewArrays& arrays);

// Rechne_pixel: pixel positions and scaled depths of rows 1..rows() from the view coordinates,
// and, in vector mode or while animating, the drawn vectors (Vec_Massstab, reversed when
// DevVecDirection is false).
void computePixels(const ScreenProperties& view, const ProjectionInputs& in, ViewArrays& arrays);

// Max_Min: the extents of the view coordinates over every row; ±1e10 (maxima below minima)
// when there is none.
void computeExtents(ViewArrays& arrays);

// The fit takes an extent below this many millimetres (a single point, all points at one place)
// as this wide, so the zoom stays finite and the cloud lands in the middle of the surface.
inline constexpr float kMinimumFitExtent = 1.0f;

// Anpassen: a new zoom that fills 90 % of the tighter direction and offsets that centre the
// extents box, both within the surface less its reserved right columns. Returns false and keeps
// the view as it was for an empty cloud, a surface without area, or a zoom that would not be
// finite and positive.
bool fitView(ScreenProperties& view, ViewArrays& arrays, SurfaceSize surface);

// Center: offsets that centre the extents box at the current zoom in the surface less its
// reserved right columns (the caller stores the view and redraws). Returns false and keeps the
// offsets for an empty cloud or a zoom that is not finite and positive.
bool centreView(ScreenProperties& view, ViewArrays& arrays, SurfaceSize surface);

// A surface resized from `before` to `after`: the view follows, so that the picture neither
// vanishes nor is clipped. The zoom keeps its ratio to the fit of the extents (a fitted view
// stays fitted, a view zoomed to twice the fit stays at twice), and the view point in the middle
// of the free part of the surface stays in its middle. The zoom is a function of the size, so a
// window resized and resized back shows what it showed. Without a cloud to fit the zoom stays.
// Returns false and keeps the view when either size has no area or the zoom is not usable.
bool followSurface(ScreenProperties& view, ViewArrays& arrays, SurfaceSize before, SurfaceSize after);

// PixelWithinScreen: the row's pixel lies within 0..W − 10 across and 0..H − status bar − 5
// down. False for a row outside the arrays.
bool pixelWithinScreen(const ViewArrays& arrays, std::int32_t row, SurfaceSize surface);

// pkt_drehen: u1 and u2 of one world point turned by the angles (1, 1..3) of `viewAngles`,
// without shift, offset or zoom.
std::array<double, 2> turnPoint(double x, double y, double z, const Matrix& viewAngles);

struct WorldExtents {
    double maxx = -1e10, maxy = -1e10, maxz = -1e10;
    double minx = 1e10, miny = 1e10, minz = 1e10;
};
// MaxMinGlobalSys: the extents of the untransformed MCS points 1..McsCount.
WorldExtents mcsExtents(const JobState& job);

// Log10: ln x / ln 10 (not std::log10: 1000 gives 2.9999999999999996, as the grid spacing of a
// new window expects). Throws NumericError for x ≤ 0 or not finite.
double decimalLog(double x);

}  // namespace kal
