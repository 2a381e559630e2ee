#include "engine/FootPoint.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "engine/CalcRefused.h"
#include "shared/Errors.h"
#include "shared/Vectors.h"

namespace kal {

namespace {

// Round to the nearest integer, halves to even (2.5 -> 2, 1.5 -> 2, 0.5 -> 0).
std::int32_t roundHalfEven(double v) { return static_cast<std::int32_t>(std::nearbyint(v)); }

}  // namespace

namespace {

// The foot point in the profile's half-plane (radius, height) and the direction of the profile line
// it lies on, taken in the order of growing rows.
struct HalfPlaneFoot {
    double r, h;    // the foot point
    double dr, dh;  // the direction of its line
};

HalfPlaneFoot footInHalfPlane(const Matrix& profile, double rho, double z) {
    const std::int32_t n = profile.rows();
    if (n < 2 || profile.cols() < 2)
        throw CalcRefused(
            "The shape profile needs at least 2 points (radius and height) to find a surface point.");
    auto r = [&](std::int32_t i) { return profile(i, 1); };
    auto h = [&](std::int32_t i) { return profile(i, 2); };

    // Coarse search on the radius column, halving the step. The step reaches 0 after about log2(n)
    // rounds; the cap only guards the loop.
    std::int32_t k = n / 2;
    std::int32_t step = roundHalfEven(n / 4.0);
    for (int round = 0; round < 64; ++round) {
        const std::int32_t before = k;
        k = rho > r(k) ? std::min(k + step, n) : std::max(k - step, std::int32_t{1});
        step = roundHalfEven(step / 2.0);
        if (k == before) break;
    }

    auto d = [&](std::int32_t i) { return std::sqrt((r(i) - rho) * (r(i) - rho) + (h(i) - z) * (h(i) - z)); };
    double dmin = d(k);
    // Walk up while the vertices come nearer, then down likewise; both walks end at a clamp.
    k = std::min(k + 1, n);
    while (d(k) < dmin) {
        dmin = d(k);
        k = std::min(k + 1, n);
    }
    dmin = d(k);
    k = k - 1;
    while (d(k) < dmin) {
        dmin = d(k);
        k = std::max(k - 1, std::int32_t{1});
    }
    k = std::max(k + 1, std::int32_t{2});
    std::int32_t m = k;

    const Vec3 E{0.0, rho, z, 0.0};
    const Vec3 A{0.0, r(m), h(m), 0.0};
    Vec3 B1{0.0, r(m) - r(m - 1), h(m) - h(m - 1), 0.0};
    Vec3 F1{}, F2{};
    double d1 = 0.0, d2 = 0.0;
    footPointOnLine(A, B1, E, F1);
    distancePointLine(A, B1, E, d1);
    if (m == n) m = n - 1;
    Vec3 B2{0.0, r(m) - r(m + 1), h(m) - h(m + 1), 0.0};
    footPointOnLine(A, B2, E, F2);
    distancePointLine(A, B2, E, d2);
    if (d1 < d2) return {F1[1], F1[2], B1[1], B1[2]};
    return {F2[1], F2[2], -B2[1], -B2[2]};
}

}  // namespace

void paraboloidFootPoint(const Matrix& profile, double x, double y, double z, double& xo, double& yo,
                         double& zo) {
    const double rho = length2d(x, y);
    const double phi = azimuthXY(x, y);
    const HalfPlaneFoot F = footInHalfPlane(profile, rho, z);
    zo = checkedFinite(F.h, "the foot point");
    xo = checkedFinite(std::cos(phi) * F.r, "the foot point");
    yo = checkedFinite(std::sin(phi) * F.r, "the foot point");
}

SurfaceFoot surfaceFootPoint(const Matrix& profile, double x, double y, double z) {
    const double rho = length2d(x, y);
    const double phi = azimuthXY(x, y);
    const HalfPlaneFoot F = footInHalfPlane(profile, rho, z);
    const double c = std::cos(phi), s = std::sin(phi);
    SurfaceFoot out;
    out.x = checkedFinite(c * F.r, "the foot point");
    out.y = checkedFinite(s * F.r, "the foot point");
    out.z = checkedFinite(F.h, "the foot point");
    // The normal of the line (dr, dh) in the half-plane is (-dh, dr); turned to the azimuth φ.
    const double len = std::hypot(F.dr, F.dh);
    if (!(len > 0.0) || !std::isfinite(len))
        throw CalcRefused(
            "Two neighbouring points of the shape profile coincide: the surface has no normal there.");
    out.nx = -F.dh / len * c;
    out.ny = -F.dh / len * s;
    out.nz = F.dr / len;
    return out;
}

void shiftAppend(std::vector<double>& list, double value) {
    const std::size_t n = list.empty() ? 0 : list.size() - 1;
    if (n < 1) return;
    for (std::size_t i = 1; i + 1 <= n; ++i) list[i] = list[i + 1];
    list[n] = value;
}

}  // namespace kal
