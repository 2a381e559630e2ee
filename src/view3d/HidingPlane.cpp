#include "view3d/HidingPlane.h"

#include <algorithm>
#include <cmath>

#include "view3d/PixelRound.h"
#include "view3d/StandardPalette.h"

namespace kal {

namespace {

using Vec = std::array<double, 4>;

Vec sub(const Vec& a, const Vec& b) { return {0, a[1] - b[1], a[2] - b[2], a[3] - b[3]}; }
Vec cross(const Vec& a, const Vec& b) {
    return {0, a[2] * b[3] - a[3] * b[2], a[3] * b[1] - a[1] * b[3], a[1] * b[2] - a[2] * b[1]};
}
Vec unit(const Vec& a) {
    const double n = std::sqrt(a[1] * a[1] + a[2] * a[2] + a[3] * a[3]);
    if (!(n > 0)) return {0, 0, 0, 0};
    return {0, a[1] / n, a[2] / n, a[3] / n};
}
double dot(const Vec& a, const Vec& b) { return a[1] * b[1] + a[2] * b[2] + a[3] * b[3]; }

}  // namespace

bool initialiseHidingPlane(ScreenProperties& view, const ViewProjection& projection, bool activate,
                           bool showBorders) {
    if (activate) {
        if (!(view.Massstab > 0) || !std::isfinite(view.Massstab)) return false;
        view.BlackInitial = true;
        view.BlackPlane = true;
        // A rotation's inverse is its transpose; an unpivoted inversion goes wrong in views
        // such as Front, whose matrix has zeros on the diagonal.
        if (view.PlaneMatrix.rows() < 3 || view.PlaneMatrix.cols() < 3) view.PlaneMatrix.resize(3, 3);
        const auto& R = projection.matrix();
        for (int i = 1; i <= 3; ++i)
            for (int j = 1; j <= 3; ++j) view.PlaneMatrix(i, j) = R[j - 1][i - 1];
        view.BlackThick = 100;
        view.BlackOffX = view.OffsetX;
        view.BlackOffY = view.OffsetY;
        view.BlackM = view.Massstab;
    } else {
        view.BlackInitial = false;
        view.BlackPlane = false;
    }
    view.BlackPlaneBorders = showBorders;
    return true;
}

HidingPlaneGeometry placeHidingPlane(DisplayList& list, const ScreenProperties& view,
                                     const ViewProjection& projection, int width, int height) {
    HidingPlaneGeometry g;
    const double cx = roundHalfEven(width / 2.0), cy = roundHalfEven(height / 2.0);
    const auto& R = projection.matrix();
    // R · PlaneMatrix: from the initialising view's rotated frame to the present one.
    double T[3][3];
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) {
            T[i][j] = 0;
            if (view.PlaneMatrix.rows() >= 3 && view.PlaneMatrix.cols() >= 3)
                for (int k = 0; k < 3; ++k) T[i][j] += R[i][k] * view.PlaneMatrix(k + 1, j + 1);
        }
    const double m0 = view.BlackM;
    for (int k = 1; k <= 4; ++k) {
        const double h = k <= 2 ? 100 : 110;
        const double z =
            (k == 1 || k == 3) ? view.BlackZ : static_cast<double>(view.BlackZ) + view.BlackThick;
        const double corner[4][2] = {{cx + h, cy + h}, {cx + h, cy - h}, {cx - h, cy - h}, {cx - h, cy + h}};
        std::array<Vec, 4> p;  // A, B, C, D in present pixels and scaled depth
        for (int c = 0; c < 4; ++c) {
            // Back to the rotated frame of the initialising view ...
            const double v[3] = {(corner[c][0] - view.BlackOffX) / m0 - 200,
                                 200 - (height - corner[c][1] - view.BlackOffY) / m0, -z / m0};
            // ... into the present one, and onto the surface as every point is projected.
            double u[3];
            for (int i = 0; i < 3; ++i) u[i] = T[i][0] * v[0] + T[i][1] * v[1] + T[i][2] * v[2];
            const ViewPoint px = projection.viewToPixel({u[0] + 200, 200 - u[1], -u[2]});
            p[static_cast<std::size_t>(c)] = {0, px.x, px.y, px.z};
        }
        if (view.BlackPlaneBorders) {
            Polygon square;
            for (const Vec& q : p)
                square.corners.push_back({static_cast<float>(q[1]), static_cast<float>(q[2])});
            bool finite = true;
            for (const auto& c : square.corners) finite = finite && std::isfinite(c.x) && std::isfinite(c.y);
            square.penWidth = 1;
            square.outline = paletteColour((k == 1 || k == 3) ? palette::LightRed : palette::LightYellow);
            if (finite) list.add(std::move(square));
        }
        if (k == 1) g.PlanePoint1 = p[0];
        if (k == 2) g.PlanePoint2 = p[1];
        g.PlaneNormal = unit(cross(sub(p[0], p[1]), sub(p[1], p[2])));
    }
    return g;
}

void markVisiblePoints(PointCloud& cloud, const ViewArrays& arrays, bool blackPlane,
                       const HidingPlaneGeometry& geometry) {
    const std::int32_t n = cloud.count();
    if (!blackPlane) {
        markAllPointsVisible(cloud);
        return;
    }
    const std::int32_t reached = std::min(n, arrays.rows());
    const Vec& normal = geometry.PlaneNormal;
    // The signed distances from the planes (DistPointPlane), (n·q − n·p) / (|n| + 1e-10), with
    // the planes' n·p taken once.
    const double length = std::sqrt(dot(normal, normal)) + 1e-10;
    const double offset1 = dot(normal, geometry.PlanePoint1), offset2 = dot(normal, geometry.PlanePoint2);
    for (std::int32_t i = 1; i <= reached; ++i) {
        const auto r = static_cast<std::size_t>(i);
        const Vec q = {0, arrays.PixelX[r], arrays.PixelY[r], arrays.PixelZ[r]};
        const double nq = dot(normal, q);
        const double d1 = (nq - offset1) / length;
        const double d2 = (nq - offset2) / length;
        cloud(i, cloud::Visible) = (d1 > 0 || d2 <= 0) ? 0.0f : 1.0f;
    }
    for (std::int32_t i = reached + 1; i <= n; ++i) cloud(i, cloud::Visible) = 1.0f;
}

void markAllPointsVisible(PointCloud& cloud) {
    for (std::int32_t i = 1; i <= cloud.count(); ++i) cloud(i, cloud::Visible) = 1.0f;
}

void runHidingPlaneStage(DisplayList& list, PointCloud& cloud, const ViewArrays& arrays,
                         const ScreenProperties& view, const ViewProjection& projection, int width,
                         int height, HidingPlaneGeometry& geometry) {
    if (view.BlackPlane) geometry = placeHidingPlane(list, view, projection, width, height);
    markVisiblePoints(cloud, arrays, view.BlackPlane, geometry);
}

std::string hidingPlaneStatusText(const ScreenProperties& view) {
    return view.BlackPlane ? "Hiding plane active: only the points between its planes are shown" : std::string();
}

}  // namespace kal
