#include "view3d/CloudProjection.h"

#include <algorithm>
#include <cmath>

#include "shared/Errors.h"

namespace kal {

namespace {

// Sizes an array to rows 0..n without giving back storage; `zero` clears every element (else
// only row 0, for arrays whose rows 1..n are all written next).
void sizeRows(std::vector<float>& array, std::size_t rows, bool zero) {
    if (zero)
        array.assign(rows, 0.0f);
    else {
        array.resize(rows);
        array[0] = 0.0f;
    }
}

bool usable(float massstab) { return std::isfinite(massstab) && massstab > 0.0f; }

// The rotation of the view from single-precision angles, as the cloud's projection takes them.
struct CloudRotation {
    double m[3][3];
    explicit CloudRotation(const std::array<double, 3>& angles) {
        const double a1 = static_cast<float>(angles[0]);
        const double a2 = static_cast<float>(angles[1]);
        const double a3 = static_cast<float>(angles[2]);
        const ViewProjection p(a1, a2, a3, 1.0f, 0.0f, 0.0f, 0);
        const auto& r = p.matrix();
        for (int i = 0; i < 3; ++i)
            for (int j = 0; j < 3; ++j) m[i][j] = r[i][j];
    }
};

// The cloud row the recentring turns about, 0 when there is none.
std::int32_t originRow(const PointCloud& cloud, const ViewOrigin& origin, const ProjectionInputs& in) {
    const std::int32_t count = cloud.count();
    if (!in.OriginPointName.empty()) {
        for (std::int32_t row = 1; row <= count; ++row)
            if (cloud.name(row) == in.OriginPointName) return row;
        return 0;
    }
    // OriginPointIndex is a row of the main sheet, which lists the identical points, then the
    // MCS-only and the OCS-only points: its rows beyond the identical points sit n rows further
    // down in the cloud, behind the OCS sides.
    std::int32_t row = origin.OriginPointIndex;
    if (row > in.IdenticalCount) row += in.IdenticalCount;
    return row >= 1 && row <= count ? row : 0;
}

}  // namespace

ProjectionInputs projectionInputs(const JobState& job, SurfaceSize surface, bool analyseFlag) {
    ProjectionInputs in;
    in.surface = surface;
    in.AnalyseFlag = analyseFlag;
    in.DevVecDirection = job.GraphicsFlags.DevVecDirection;
    in.IdenticalCount = job.IdenticalCount;
    in.UseFlags = std::span<const std::int16_t>(job.UseFlags);
    return in;
}

std::array<double, 3> viewAnglesOf(const ScreenProperties& view) {
    const Matrix& a = view.ViewAngles;
    if (a.rows() < 1 || a.cols() < 3) return {0.0, 0.0, 0.0};
    return {a(1, 1), a(1, 2), a(1, 3)};
}

ViewProjection viewProjection(const ScreenProperties& view, const ViewOrigin& origin, SurfaceSize surface) {
    const auto a = viewAnglesOf(view);
    return ViewProjection(a[0], a[1], a[2], view.Massstab, view.OffsetX, view.OffsetY, surface.height,
                          origin);
}

void projectCloud(const PointCloud& cloud, ScreenProperties& view, ViewOrigin& origin,
                  const ProjectionInputs& in, ViewArrays& arrays) {
    const std::int32_t n = cloud.count();
    const auto rows = static_cast<std::size_t>(n) + 1;
    sizeRows(arrays.ViewX, rows, false);
    sizeRows(arrays.ViewY, rows, false);
    sizeRows(arrays.ViewZ, rows, false);
    sizeRows(arrays.VectorViewX, rows, true);
    sizeRows(arrays.VectorViewY, rows, true);

    bool centreOrigin = false;
    if (origin.RecentreFlag) {
        origin.RecentreFlag = false;
        // A point that no longer exists leaves the view as it was rather than collapsing it.
        if (const std::int32_t row = originRow(cloud, origin, in); row != 0) {
            origin.OriginX = cloud(row, cloud::X);
            origin.OriginY = cloud(row, cloud::Y);
            origin.OriginZ = cloud(row, cloud::Z);
            origin.OriginShiftX = -static_cast<double>(origin.OriginX);
            origin.OriginShiftY = -static_cast<double>(origin.OriginY);
            origin.OriginShiftZ = -static_cast<double>(origin.OriginZ);
            centreOrigin = true;
        }
    }

    const CloudRotation r(viewAnglesOf(view));
    const auto& m = r.m;
    const double shiftX = origin.OriginShiftX, shiftY = origin.OriginShiftY, shiftZ = origin.OriginShiftZ;
    float* vx = arrays.ViewX.data();
    float* vy = arrays.ViewY.data();
    float* vz = arrays.ViewZ.data();
    for (std::int32_t l = 1; l <= n; ++l) {
        const double x = static_cast<float>(cloud(l, cloud::X) + shiftX);
        const double y = static_cast<float>(cloud(l, cloud::Y) + shiftY);
        const double z = static_cast<float>(cloud(l, cloud::Z) + shiftZ);
        const auto u1 = static_cast<float>(m[0][0] * x + m[0][1] * y + m[0][2] * z);
        const auto u2 = static_cast<float>(m[1][0] * x + m[1][1] * y + m[1][2] * z);
        const auto u3 = static_cast<float>(m[2][0] * x + m[2][1] * y + m[2][2] * z);
        vx[l] = u1 + 200.0f;
        vy[l] = 200.0f - u2;
        vz[l] = -u3;
    }
    computeExtents(arrays);

    // The origin point now lies at view (200, 200): put it in the middle of the surface.
    if (centreOrigin && usable(view.Massstab) && in.surface.width > 0 && in.surface.height > 0) {
        view.OffsetX = static_cast<float>(in.surface.width / 2.0 - 200.0 * view.Massstab);
        view.OffsetY = static_cast<float>(in.surface.height / 2.0 - 200.0 * view.Massstab);
    }

    if (!view.VectorMode && !in.AnalyseFlag) return;
    const std::int32_t identical = std::min(in.IdenticalCount, n);
    const bool onlyUsed = view.ShowOnlyUsedComponent;
    const auto flagSet = [&](std::size_t k) { return k >= in.UseFlags.size() || in.UseFlags[k] != 0; };
    for (std::int32_t l = 1; l <= identical; ++l) {
        double d[3] = {cloud(l, cloud::VectorX), cloud(l, cloud::VectorY), cloud(l, cloud::VectorZ)};
        if (onlyUsed) {
            const auto first = static_cast<std::size_t>(l) * 3 - 2;
            for (std::size_t c = 0; c < 3; ++c)
                if (!flagSet(first + c)) d[c] = 0.0;
        }
        arrays.VectorViewX[static_cast<std::size_t>(l)] =
            static_cast<float>(m[0][0] * d[0] + m[0][1] * d[1] + m[0][2] * d[2]);
        arrays.VectorViewY[static_cast<std::size_t>(l)] =
            static_cast<float>(m[1][0] * d[0] + m[1][1] * d[1] + m[1][2] * d[2]);
    }
}

void computePixels(const ScreenProperties& view, const ProjectionInputs& in, ViewArrays& arrays) {
    // Never projected: row 0 alone.
    const std::size_t rows = std::max<std::size_t>(arrays.ViewX.size(), 1);
    if (arrays.ViewX.empty())
        arrays.ViewX.assign(1, 0.0f), arrays.ViewY.assign(1, 0.0f), arrays.ViewZ.assign(1, 0.0f);
    if (arrays.VectorViewX.size() < rows)
        arrays.VectorViewX.assign(rows, 0.0f), arrays.VectorViewY.assign(rows, 0.0f);
    const bool vectors = view.VectorMode || in.AnalyseFlag;
    sizeRows(arrays.PixelX, rows, false);
    sizeRows(arrays.PixelY, rows, false);
    sizeRows(arrays.PixelZ, rows, false);
    sizeRows(arrays.VectorPixelX, rows, !vectors);
    sizeRows(arrays.VectorPixelY, rows, !vectors);

    const float massstab = view.Massstab, offsetX = view.OffsetX, offsetY = view.OffsetY;
    const auto height = static_cast<float>(in.surface.height);
    const float* vx = arrays.ViewX.data();
    const float* vy = arrays.ViewY.data();
    const float* vz = arrays.ViewZ.data();
    float* px = arrays.PixelX.data();
    float* py = arrays.PixelY.data();
    float* pz = arrays.PixelZ.data();
    for (std::size_t i = 1; i < rows; ++i) {
        px[i] = vx[i] * massstab + offsetX;
        py[i] = height - (vy[i] * massstab + offsetY);
        pz[i] = vz[i] * massstab;
    }
    if (!vectors) return;
    // A correction is drawn the other way round from the deviation.
    const float scale = in.DevVecDirection ? view.Vec_Massstab : -view.Vec_Massstab;
    const float* dx = arrays.VectorViewX.data();
    const float* dy = arrays.VectorViewY.data();
    float* qx = arrays.VectorPixelX.data();
    float* qy = arrays.VectorPixelY.data();
    for (std::size_t i = 1; i < rows; ++i) {
        qx[i] = dx[i] * scale;
        qy[i] = dy[i] * scale;
    }
}

void computeExtents(ViewArrays& a) {
    float maxX = -1e10f, maxY = -1e10f, maxZ = -1e10f;
    float minX = 1e10f, minY = 1e10f, minZ = 1e10f;
    const std::size_t rows = a.ViewX.size();
    for (std::size_t i = 1; i < rows; ++i) {
        maxX = std::max(maxX, a.ViewX[i]), minX = std::min(minX, a.ViewX[i]);
        maxY = std::max(maxY, a.ViewY[i]), minY = std::min(minY, a.ViewY[i]);
        maxZ = std::max(maxZ, a.ViewZ[i]), minZ = std::min(minZ, a.ViewZ[i]);
    }
    a.ViewMaxX = maxX, a.ViewMinX = minX;
    a.ViewMaxY = maxY, a.ViewMinY = minY;
    a.ViewMaxZ = maxZ, a.ViewMinZ = minZ;
}

namespace {

// The width the fit fills: the surface less its reserved right columns (the whole surface when
// nothing would be left).
int fitWidth(SurfaceSize surface) {
    const int free = surface.width - std::max(0, surface.reservedRight);
    return free > 0 ? free : surface.width;
}

// The offsets that put the middle of the extents box in the middle of the free part.
void centreOffsets(ScreenProperties& view, const ViewArrays& a, SurfaceSize surface, float massstab) {
    const double m = massstab;
    view.OffsetX = static_cast<float>(
        -(a.ViewMinX * m - (fitWidth(surface) - m * (double(a.ViewMaxX) - a.ViewMinX)) / 2.0));
    view.OffsetY = static_cast<float>(
        -(a.ViewMinY * m - (surface.height - m * (double(a.ViewMaxY) - a.ViewMinY)) / 2.0));
}

// The zoom of a fit of the current extents; not usable for an empty cloud or a surface
// without area.
float fitZoom(const ViewArrays& arrays, SurfaceSize surface) {
    if (arrays.ViewX.size() < 2 || surface.width <= 0 || surface.height <= 0) return 0.0f;
    const double spanX = std::max(double(arrays.ViewMaxX) - arrays.ViewMinX, double(kMinimumFitExtent));
    const double spanY = std::max(double(arrays.ViewMaxY) - arrays.ViewMinY, double(kMinimumFitExtent));
    const auto sx = static_cast<float>(fitWidth(surface) / (1e-10 + spanX));
    const auto sy = static_cast<float>(surface.height / (1e-10 + spanY));
    // The 90 % is taken of the single-precision scale in double, then stored as a single: a
    // single 0.9 would be off in the last place and move every pixel with it.
    return static_cast<float>(0.9 * static_cast<double>(sx < sy ? sx : sy));
}

}  // namespace

bool fitView(ScreenProperties& view, ViewArrays& arrays, SurfaceSize surface) {
    computeExtents(arrays);
    const float massstab = fitZoom(arrays, surface);
    if (!usable(massstab)) return false;
    view.Massstab = massstab;
    centreOffsets(view, arrays, surface, massstab);
    return true;
}

bool followSurface(ScreenProperties& view, ViewArrays& arrays, SurfaceSize before, SurfaceSize after) {
    if (before.width <= 0 || before.height <= 0 || after.width <= 0 || after.height <= 0) return false;
    if (!usable(view.Massstab)) return false;
    computeExtents(arrays);
    const double zoomBefore = view.Massstab;
    double zoomAfter = zoomBefore;
    const float fitBefore = fitZoom(arrays, before), fitAfter = fitZoom(arrays, after);
    if (usable(fitBefore) && usable(fitAfter))
        zoomAfter = zoomBefore * (static_cast<double>(fitAfter) / static_cast<double>(fitBefore));
    const auto massstab = static_cast<float>(zoomAfter);
    if (!usable(massstab)) return false;
    // The view point under the middle of the free part: pixel x = u·zoom + OffsetX, pixel y =
    // H − (v·zoom + OffsetY).
    const double u = (fitWidth(before) / 2.0 - view.OffsetX) / zoomBefore;
    const double v = (before.height / 2.0 - view.OffsetY) / zoomBefore;
    view.Massstab = massstab;
    view.OffsetX = static_cast<float>(fitWidth(after) / 2.0 - u * massstab);
    view.OffsetY = static_cast<float>(after.height / 2.0 - v * massstab);
    return true;
}

bool centreView(ScreenProperties& view, ViewArrays& arrays, SurfaceSize surface) {
    computeExtents(arrays);
    if (arrays.ViewX.size() < 2 || !usable(view.Massstab)) return false;
    centreOffsets(view, arrays, surface, view.Massstab);
    return true;
}

bool pixelWithinScreen(const ViewArrays& arrays, std::int32_t row, SurfaceSize surface) {
    if (row < 1 || static_cast<std::size_t>(row) >= arrays.PixelX.size() ||
        static_cast<std::size_t>(row) >= arrays.PixelY.size())
        return false;
    const float x = arrays.PixelX[static_cast<std::size_t>(row)];
    const float y = arrays.PixelY[static_cast<std::size_t>(row)];
    const auto right = static_cast<float>(surface.width - 10);
    const auto bottom = static_cast<float>(surface.height - surface.statusBarHeight - 5);
    return x >= 0.0f && x <= right && y >= 0.0f && y <= bottom;
}

std::array<double, 2> turnPoint(double x, double y, double z, const Matrix& viewAngles) {
    ScreenProperties view;
    view.ViewAngles = viewAngles;
    const CloudRotation r(viewAnglesOf(view));
    return {r.m[0][0] * x + r.m[0][1] * y + r.m[0][2] * z, r.m[1][0] * x + r.m[1][1] * y + r.m[1][2] * z};
}

WorldExtents mcsExtents(const JobState& job) {
    WorldExtents e;
    const std::int32_t count = std::min({job.McsCount, job.MCS_X.upper(), job.MCS_Y.upper(),
                                         static_cast<std::int32_t>(job.MCS_Z.size()) - 1});
    for (std::int32_t i = 1; i <= count; ++i) {
        const double x = job.MCS_X[i], y = job.MCS_Y[i], z = job.MCS_Z[static_cast<std::size_t>(i)];
        if (x > e.maxx) e.maxx = x;
        if (x < e.minx) e.minx = x;
        if (y > e.maxy) e.maxy = y;
        if (y < e.miny) e.miny = y;
        if (z > e.maxz) e.maxz = z;
        if (z < e.minz) e.minz = z;
    }
    return e;
}

double decimalLog(double x) {
    if (!(x > 0.0) || !std::isfinite(x)) throw NumericError("Invalid argument of the decimal logarithm");
    return std::log(x) / std::log(10.0);
}

}  // namespace kal
