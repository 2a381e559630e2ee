#include "engine/SeedSolution.h"

#include <cmath>
#include <string>

#include "engine/CalcRefused.h"
#include "shared/Errors.h"
#include "shared/Matrix.h"
#include "shared/MatrixOps.h"
#include "shared/Rotations.h"
#include "shared/Vectors.h"

namespace kal {

namespace {

constexpr double kEps = 1e-12 * 10;

Vec3 vec(double x, double y, double z) { return Vec3{0.0, x, y, z}; }

Vec3 sub(const Vec3& a, const Vec3& b) {
    Vec3 c{};
    vecSub(a, b, c);
    return c;
}

Vec3 cross(const Vec3& a, const Vec3& b) {
    Vec3 c{};
    vecCross(a, b, c);
    return c;
}

double dot(const Vec3& a, const Vec3& b) {
    double d = 0.0;
    vecDot(a, b, d);
    return d;
}

double norm(const Vec3& a) {
    double n = 0.0;
    vecNorm(a, n);
    return n;
}

// a / (|a| + eps): a zero vector stays zero.
Vec3 unitEps(const Vec3& a) {
    Vec3 u{};
    vecScale(a, 1.0 / (norm(a) + kEps), u);
    return u;
}

// G·p for the tilt matrix G, as a 3×3 times 3×1 product.
Vec3 tilt(const Matrix& G, const Vec3& p) {
    Matrix col(3, 1), out(3, 1);
    for (int i = 1; i <= 3; ++i) col(i, 1) = p[static_cast<std::size_t>(i)];
    std::int32_t rows = 0, cols = 0;
    matMult(G, 3, 3, col, 3, 1, out, rows, cols);
    return vec(out(1, 1), out(2, 1), out(3, 1));
}

// The right-handed frame of three points: u1 along the first side, u4 in their plane towards the
// third point, u3 normal to the plane.
struct Frame {
    Vec3 origin, u1, u4, u3;
    Frame(const Vec3& p1, const Vec3& p2, const Vec3& p3) : origin(p1) {
        const Vec3 a = sub(p2, p1);
        u1 = unitEps(a);
        const Vec3 c = cross(a, sub(p3, p1));
        u3 = unitEps(c);
        u4 = unitEps(cross(c, a));
    }
};

// Plane coordinates (s, t) and height h of point A in the frame. The 2×2 solution uses x and y
// only, which is why the OCS points are tilted first.
struct PlaneCoords {
    double s, t, h;
};

PlaneCoords planeCoords(const Frame& f, const Vec3& A) {
    PlaneCoords pc{};
    pc.h = dot(sub(A, f.origin), f.u3);
    Vec3 hu{};
    vecScale(f.u3, pc.h, hu);
    const Vec3 Q = sub(A, hu);
    const double dx = Q[1] - f.origin[1], dy = Q[2] - f.origin[2];
    const double Dt = kEps + f.u1[1] * f.u4[2] - f.u1[2] * f.u4[1];
    pc.s = checkedDivide(dx * f.u4[2] - dy * f.u4[1], Dt, "the seed solution");
    pc.t = checkedDivide(dy * f.u1[1] - dx * f.u1[2], Dt, "the seed solution");
    return pc;
}

// m1 + s·u1' + t·u4' + h·u3'
Vec3 placeInFrame(const Frame& f, const PlaneCoords& pc) {
    Vec3 r = f.origin;
    for (int i = 1; i <= 3; ++i)
        r[static_cast<std::size_t>(i)] =
            r[static_cast<std::size_t>(i)] + pc.s * f.u1[static_cast<std::size_t>(i)] +
            pc.t * f.u4[static_cast<std::size_t>(i)] + pc.h * f.u3[static_cast<std::size_t>(i)];
    return r;
}

double det3(const double m[3][3]) {
    return m[0][0] * (m[1][1] * m[2][2] - m[1][2] * m[2][1]) -
           m[0][1] * (m[1][0] * m[2][2] - m[1][2] * m[2][0]) +
           m[0][2] * (m[1][0] * m[2][1] - m[1][1] * m[2][0]);
}

void checkSeedPoints(const JobState& job) {
    const std::int32_t n = job.IdenticalCount;
    if (n < 2) throw CalcRefused("The seed solution needs at least 2 identical points.");
    for (int k = 1; k <= 3; ++k) {
        const std::int32_t idx = job.SeedPointIndex[static_cast<std::size_t>(k)];
        const bool ok = (k <= 2 || n >= 3) ? (idx >= 1 && idx <= n) : (idx >= 0 && idx <= job.McsCount);
        if (!ok)
            throw CalcRefused("Seed point " + std::to_string(k) + " (index " + std::to_string(idx) +
                              ") is not one of the identical points. Choose the seed points again.");
    }
}

}  // namespace

void calculateSeed(JobState& job, double& TraX, double& TraY, double& TraZ, double& RotX, double& RotY,
                   double& RotZ, double& ScaleX, double& ScaleY, double& ScaleZ,
                   SeedValueSource* seedValues) {
    checkSeedPoints(job);
    const std::int32_t n = job.IdenticalCount;
    auto mcs = [&](int k) {
        const std::int32_t i = job.SeedPointIndex[static_cast<std::size_t>(k)];
        return vec(job.MCS_X[i], job.MCS_Y[i], job.MCS_Z[static_cast<std::size_t>(i)]);
    };
    auto ocs = [&](int k) {
        const std::int32_t i = job.SeedPointIndex[static_cast<std::size_t>(k)];
        return vec(job.OCS_X[i], job.OCS_Y[i], job.OCS_Z[static_cast<std::size_t>(i)]);
    };
    const Vec3 x1 = mcs(1), x2 = mcs(2), x3 = mcs(3);

    // Tilt the OCS seed points and the auxiliary points alike, so that a seed plane parallel to the
    // z axis does not leave the 2×2 determinant of the plane coordinates at eps.
    Matrix G(3, 3);
    matFromAnglesXYZ(0.0011, 0.0022, 0.0033, G);
    const Vec3 P1 = tilt(G, ocs(1)), P2 = tilt(G, ocs(2));
    const Vec3 P3 = tilt(G, n >= 3 ? ocs(3) : vec(0, 0, 0));
    const Vec3 A0 = tilt(G, vec(0, 0, 0)), Ax = tilt(G, vec(100, 0, 0)), Ay = tilt(G, vec(0, 100, 0));

    // Axis scales from the squared side lengths (Cramer's rule on sx², sy², sz²).
    const Vec3 d12 = sub(x1, x2), d13 = sub(x1, x3), d23 = sub(x2, x3);
    const double D12 = dot(sub(P1, P2), sub(P1, P2)), D13 = dot(sub(P1, P3), sub(P1, P3)),
                 D23 = dot(sub(P2, P3), sub(P2, P3));
    const double coef[3][3] = {{d12[1] * d12[1], d12[2] * d12[2], d12[3] * d12[3]},
                               {d13[1] * d13[1], d13[2] * d13[2], d13[3] * d13[3]},
                               {d23[1] * d23[1], d23[2] * d23[2], d23[3] * d23[3]}};
    const double rhs[3] = {D12, D13, D23};
    const double det = det3(coef);
    double scale[3] = {1.0, 1.0, 1.0};
    if (!(std::fabs(det) < 1e-11)) {
        for (int c = 0; c < 3; ++c) {
            double m[3][3];
            for (int r = 0; r < 3; ++r)
                for (int j = 0; j < 3; ++j) m[r][j] = (j == c) ? rhs[r] : coef[r][j];
            const double ratio = checkedFinite(det3(m) / det, "the seed scales");
            scale[c] = ratio > 0.0 ? std::sqrt(ratio) : 1.0;
        }
    }
    ScaleX = scale[0];
    ScaleY = scale[1];
    ScaleZ = scale[2];
    if (job.RawScale == 2) {
        if (n >= 3) {
            bool anyOff = false;
            for (int k = 1; k <= 3; ++k)
                for (int c = 1; c <= 3; ++c) {
                    const std::size_t f = static_cast<std::size_t>(
                        3 * (job.SeedPointIndex[static_cast<std::size_t>(k)] - 1) + c);
                    if (f < job.UseFlags.size() && job.UseFlags[f] == 0) anyOff = true;
                }
            if (anyOff) ScaleX = ScaleY = ScaleZ = 1.0;
        }
    } else if (job.RawScale == 1) {
        ScaleX = ScaleY = ScaleZ = 1.0;
    }

    // Plane coordinates of the auxiliary points in the OCS frame, placed in the MCS frame.
    const Frame ocsFrame(P1, P2, P3);
    const PlaneCoords c0 = planeCoords(ocsFrame, A0), cx = planeCoords(ocsFrame, Ax),
                      cy = planeCoords(ocsFrame, Ay);
    auto scaled = [&](const Vec3& x) { return vec(x[1] * ScaleX, x[2] * ScaleY, x[3] * ScaleZ); };
    const Frame mcsFrame(scaled(x1), scaled(x2), scaled(x3));
    const Vec3 M0 = placeInFrame(mcsFrame, c0), Mx = placeInFrame(mcsFrame, cx),
               My = placeInFrame(mcsFrame, cy);

    // Rotation: the frame of the images of the OCS axes. F is orthonormal, so its inverse is its
    // transpose (an unpivoted inversion puts rot y' visibly off at rot z'' = 90°).
    Vec3 e1{}, e2{}, e3{};
    vecUnit(sub(Mx, M0), e1);
    vecUnit(sub(My, M0), e2);
    vecUnit(cross(e1, e2), e3);
    Matrix Finv(3, 3);
    for (int j = 1; j <= 3; ++j) {
        Finv(1, j) = e1[static_cast<std::size_t>(j)];
        Finv(2, j) = e2[static_cast<std::size_t>(j)];
        Finv(3, j) = e3[static_cast<std::size_t>(j)];
    }
    Vec3 S1{}, S2{};
    anglesFromMatXYZ(Finv, S1, S2);
    RotX = S1[1];
    RotY = S1[2];
    RotZ = S1[3];

    // Translation: maps w, the unscaled MCS point of the OCS origin, onto the origin.
    const Vec3 w = vec(checkedDivide(M0[1], ScaleX, "the seed translation"),
                       checkedDivide(M0[2], ScaleY, "the seed translation"),
                       checkedDivide(M0[3], ScaleZ, "the seed translation"));
    const Vec3 vx = unitEps(sub(Mx, M0)), vy = unitEps(sub(My, M0)),
               vz = unitEps(cross(sub(Mx, M0), sub(My, M0)));
    TraX = checkedFinite(-dot(w, vx), "the seed translation");
    TraY = checkedFinite(-dot(w, vy), "the seed translation");
    TraZ = checkedFinite(-dot(w, vz), "the seed translation");

    if (!job.ParaboloidMode && job.TrafoFormGeladen && seedValues) seedValues->applySeed(job);
}

}  // namespace kal
