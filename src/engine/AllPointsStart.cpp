#include "engine/AllPointsStart.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "engine/TransformModel.h"
#include "shared/Constants.h"
#include "shared/Errors.h"
#include "shared/Rotations.h"
#include "shared/Vectors.h"

namespace kal {

namespace {

using Mat4 = std::array<std::array<double, 4>, 4>;

// Eigenvector (0..3) of the largest eigenvalue of a symmetric 4×4 matrix, by cyclic Jacobi rotations.
std::array<double, 4> largestEigenvector(Mat4 a) {
    Mat4 v{};
    for (int i = 0; i < 4; ++i) v[i][i] = 1.0;
    for (int sweep = 0; sweep < 60; ++sweep) {
        double off = 0.0, all = 0.0;
        for (int i = 0; i < 4; ++i)
            for (int j = 0; j < 4; ++j) {
                all += a[i][j] * a[i][j];
                if (i != j) off += a[i][j] * a[i][j];
            }
        if (off <= 1e-30 * all) break;
        for (int p = 0; p < 3; ++p)
            for (int q = p + 1; q < 4; ++q) {
                if (a[p][q] == 0.0) continue;
                const double theta = (a[q][q] - a[p][p]) / (2.0 * a[p][q]);
                const double t =
                    (theta >= 0 ? 1.0 : -1.0) / (std::fabs(theta) + std::sqrt(theta * theta + 1.0));
                const double c = 1.0 / std::sqrt(t * t + 1.0), s = t * c;
                for (int k = 0; k < 4; ++k) {  // a := a·J
                    const double akp = a[k][p], akq = a[k][q];
                    a[k][p] = c * akp - s * akq;
                    a[k][q] = s * akp + c * akq;
                }
                for (int k = 0; k < 4; ++k) {  // a := Jᵀ·a
                    const double apk = a[p][k], aqk = a[q][k];
                    a[p][k] = c * apk - s * aqk;
                    a[q][k] = s * apk + c * aqk;
                }
                for (int k = 0; k < 4; ++k) {
                    const double vkp = v[k][p], vkq = v[k][q];
                    v[k][p] = c * vkp - s * vkq;
                    v[k][q] = s * vkp + c * vkq;
                }
            }
    }
    int best = 0;
    for (int i = 1; i < 4; ++i)
        if (a[i][i] > a[best][best]) best = i;
    return {v[0][best], v[1][best], v[2][best], v[3][best]};
}

inline void apply(const WorkMatrix& m, const double x[4], double p[4]) {
    for (int j = 1; j <= 3; ++j) p[j] = m[j][1] * x[1] + m[j][2] * x[2] + m[j][3] * x[3];
}

}  // namespace

std::optional<RigidPose> fitRigidPose(std::int32_t n, const double* const m[4], const double* const o[4],
                                      const double* w) {
    double sw = 0.0, cm[4] = {}, co[4] = {};
    for (std::int32_t i = 1; i <= n; ++i) {
        sw += w[i];
        for (int j = 1; j <= 3; ++j) cm[j] += w[i] * m[j][i], co[j] += w[i] * o[j][i];
    }
    if (!(sw > 0.0) || !std::isfinite(sw)) return std::nullopt;
    for (int j = 1; j <= 3; ++j) cm[j] /= sw, co[j] /= sw;
    double S[4][4] = {};  // S(a, b) = Σ w·(m - cm)_a·(o - co)_b
    for (std::int32_t i = 1; i <= n; ++i) {
        if (w[i] == 0.0) continue;
        for (int a = 1; a <= 3; ++a)
            for (int b = 1; b <= 3; ++b) S[a][b] += w[i] * (m[a][i] - cm[a]) * (o[b][i] - co[b]);
    }
    const double xx = S[1][1], xy = S[1][2], xz = S[1][3], yx = S[2][1], yy = S[2][2], yz = S[2][3],
                 zx = S[3][1], zy = S[3][2], zz = S[3][3];
    const Mat4 h = {{{xx + yy + zz, yz - zy, zx - xz, xy - yx},
                     {yz - zy, xx - yy - zz, xy + yx, zx + xz},
                     {zx - xz, xy + yx, -xx + yy - zz, yz + zy},
                     {xy - yx, zx + xz, yz + zy, -xx - yy + zz}}};
    for (const auto& row : h)
        for (double e : row)
            if (!std::isfinite(e)) return std::nullopt;
    const auto q = largestEigenvector(h);
    const double len = std::sqrt(q[0] * q[0] + q[1] * q[1] + q[2] * q[2] + q[3] * q[3]);
    if (!(len > 0.0)) return std::nullopt;
    const double q0 = q[0] / len, qx = q[1] / len, qy = q[2] / len, qz = q[3] / len;
    RigidPose pose;
    WorkMatrix& R = pose.Q;
    R[1][1] = q0 * q0 + qx * qx - qy * qy - qz * qz;
    R[1][2] = 2 * (qx * qy - q0 * qz);
    R[1][3] = 2 * (qx * qz + q0 * qy);
    R[2][1] = 2 * (qx * qy + q0 * qz);
    R[2][2] = q0 * q0 - qx * qx + qy * qy - qz * qz;
    R[2][3] = 2 * (qy * qz - q0 * qx);
    R[3][1] = 2 * (qx * qz - q0 * qy);
    R[3][2] = 2 * (qy * qz + q0 * qx);
    R[3][3] = q0 * q0 - qx * qx - qy * qy + qz * qz;
    double rc[4];
    apply(R, cm, rc);
    for (int j = 1; j <= 3; ++j) pose.T[j] = co[j] - rc[j];
    return pose;
}

namespace {

using Params = std::array<double, kParamCount + 1>;

WorkMatrix rotationOf(double a, double b, double c) {
    Matrix M(3, 3);
    matFromAnglesXYZ(a, b, c, M);
    WorkMatrix R{};
    for (int i = 1; i <= 3; ++i)
        for (int j = 1; j <= 3; ++j) R[static_cast<std::size_t>(i)][static_cast<std::size_t>(j)] = M(i, j);
    return R;
}

// The angle triple of the point rotation Q that lies nearer to the held rotation angles (the
// held ones then replace theirs), or solution 1 when none is held.
std::array<double, 3> anglesNearHeld(const WorkMatrix& Q, const DesignLayout& lay, const Params& p) {
    Matrix R(3, 3);
    for (int a = 1; a <= 3; ++a)
        for (int b = 1; b <= 3; ++b) R(a, b) = Q[static_cast<std::size_t>(a)][static_cast<std::size_t>(b)];
    Vec3 sol1{}, sol2{};
    anglesFromMatXYZ(R, sol1, sol2);
    double d1 = 0.0, d2 = 0.0;
    for (int j = 0; j < 3; ++j) {
        const auto k = static_cast<std::size_t>(kRotX + j);
        if (lay.isFloat[k]) continue;
        d1 += std::fabs(std::remainder(p[k] - sol1[static_cast<std::size_t>(j + 1)], 2 * kPi));
        d2 += std::fabs(std::remainder(p[k] - sol2[static_cast<std::size_t>(j + 1)], 2 * kPi));
    }
    const Vec3& s = d2 < d1 ? sol2 : sol1;
    std::array<double, 3> angles{};
    for (int j = 0; j < 3; ++j) {
        const auto k = static_cast<std::size_t>(kRotX + j);
        angles[static_cast<std::size_t>(j)] = lay.isFloat[k] ? s[static_cast<std::size_t>(j + 1)] : p[k];
    }
    return angles;
}

// The points of a start: K·S·MCS at the start scales and shape angles, the OCS points, and each used
// point's weight 1 (the used points count alike).
struct StartPoints {
    std::int32_t n = 0;
    std::vector<double> m[4], o[4], w;
};

StartPoints startPoints(const JobState& job, const Params& params, const Matrix& P) {
    StartPoints s;
    s.n = job.IdenticalCount;
    H3DMatrices mats;
    JobState shape;  // the scales and shape angles of `params`
    shape.Params = params;
    buildShapeMatrix(shape, mats);
    buildScaleMatrix(shape, mats);
    const WorkMatrix ks = multiplyWork(mats.H3D_Matrix2, mats.H3D_Matrix3);
    const auto size = static_cast<std::size_t>(s.n + 1);
    for (int j = 1; j <= 3; ++j) s.m[j].assign(size, 0.0), s.o[j].assign(size, 0.0);
    s.w.assign(size, 0.0);
    for (std::int32_t i = 1; i <= s.n; ++i) {
        const auto iz = static_cast<std::size_t>(i);
        const double x[4] = {0.0, job.MCS_X[i], job.MCS_Y[i], job.MCS_Z[iz]};
        double p[4];
        apply(ks, x, p);
        for (int j = 1; j <= 3; ++j) s.m[j][iz] = p[j];
        s.o[1][iz] = job.OCS_X[i], s.o[2][iz] = job.OCS_Y[i], s.o[3][iz] = job.OCS_Z[iz];
        s.w[iz] = P(3 * i, 1) != 0.0 ? 1.0 : 0.0;
    }
    return s;
}

// Calls visit(iz, x, t) for each used point: x its (scaled, shaped) MCS coordinates, t = Q·x, both
// 1-based.
template <class Visit>
void forEachUsedPoint(const StartPoints& s, const WorkMatrix& Q, Visit&& visit) {
    for (std::int32_t i = 1; i <= s.n; ++i) {
        const auto iz = static_cast<std::size_t>(i);
        if (s.w[iz] == 0.0) continue;
        const double x[4] = {0.0, s.m[1][iz], s.m[2][iz], s.m[3][iz]};
        double t[4];
        apply(Q, x, t);
        visit(iz, x, t);
    }
}

// Completes a start from its rotation angles: each estimated translation the mean of what the
// turned points leave (held ones keep their values), an estimated R Dist the mean distance left.
// The rotation is Q where given (the angles' own matrix to rounding), else built from the angles.
bool completeStart(const StartPoints& s, const DesignLayout& lay, const std::array<double, 3>& angles,
                   Params& p, const WorkMatrix* rotation = nullptr) {
    for (int j = 0; j < 3; ++j) p[static_cast<std::size_t>(kRotX + j)] = angles[static_cast<std::size_t>(j)];
    const WorkMatrix Q = rotation ? *rotation : rotationOf(angles[0], angles[1], angles[2]);
    double sw = 0.0, mean[4] = {};
    forEachUsedPoint(s, Q, [&](std::size_t iz, const double*, const double* t) {
        for (int j = 1; j <= 3; ++j) mean[j] += s.o[j][iz] - t[j];
        sw += 1.0;
    });
    if (!(sw > 0.0)) return false;
    for (int j = 1; j <= 3; ++j) {
        const auto k = static_cast<std::size_t>(kTraX + j - 1);
        if (lay.isFloat[k]) p[k] = mean[j] / sw;
    }
    if (lay.isFloat[kRDist]) {
        double sum = 0.0;
        forEachUsedPoint(s, Q, [&](std::size_t iz, const double*, const double* t) {
            double d2 = 0.0;
            for (int j = 1; j <= 3; ++j) {
                const double d = s.o[j][iz] - (t[j] + p[static_cast<std::size_t>(kTraX + j - 1)]);
                d2 += d * d;
            }
            sum += std::sqrt(d2);
        });
        p[kRDist] = sum / sw;
    }
    for (int k = 1; k <= kParamCount; ++k)
        if (!std::isfinite(p[static_cast<std::size_t>(k)])) return false;
    return true;
}

// Solves the small system A·x = b (size u ≤ 6) by Gaussian elimination with partial pivoting;
// false when it is singular.
bool solveSmall(std::array<std::array<double, 7>, 6> A, std::array<double, 6> b, int u,
                std::array<double, 6>& x) {
    for (int c = 0; c < u; ++c) {
        int piv = c;
        for (int r = c + 1; r < u; ++r)
            if (std::fabs(A[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)]) >
                std::fabs(A[static_cast<std::size_t>(piv)][static_cast<std::size_t>(c)]))
                piv = r;
        if (!(std::fabs(A[static_cast<std::size_t>(piv)][static_cast<std::size_t>(c)]) > 0.0)) return false;
        std::swap(A[static_cast<std::size_t>(piv)], A[static_cast<std::size_t>(c)]);
        std::swap(b[static_cast<std::size_t>(piv)], b[static_cast<std::size_t>(c)]);
        for (int r = c + 1; r < u; ++r) {
            const double f = A[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)] /
                             A[static_cast<std::size_t>(c)][static_cast<std::size_t>(c)];
            for (int k = c; k < u; ++k)
                A[static_cast<std::size_t>(r)][static_cast<std::size_t>(k)] -=
                    f * A[static_cast<std::size_t>(c)][static_cast<std::size_t>(k)];
            b[static_cast<std::size_t>(r)] -= f * b[static_cast<std::size_t>(c)];
        }
    }
    for (int r = u - 1; r >= 0; --r) {
        double v = b[static_cast<std::size_t>(r)];
        for (int k = r + 1; k < u; ++k)
            v -= A[static_cast<std::size_t>(r)][static_cast<std::size_t>(k)] * x[static_cast<std::size_t>(k)];
        x[static_cast<std::size_t>(r)] = v / A[static_cast<std::size_t>(r)][static_cast<std::size_t>(r)];
        if (!std::isfinite(x[static_cast<std::size_t>(r)])) return false;
    }
    return true;
}

// Σ w·|o − (T + Q(angles)·m)|² of a rigid pose.
double rigidSquares(const StartPoints& s, const double pose[6]) {
    const WorkMatrix Q = rotationOf(pose[3], pose[4], pose[5]);
    double sum = 0.0;
    forEachUsedPoint(s, Q, [&](std::size_t iz, const double*, const double* t) {
        for (int j = 1; j <= 3; ++j) {
            const double d = s.o[j][iz] - (pose[j - 1] + t[j]);
            sum += d * d;
        }
    });
    return sum;
}

// The rigid fit of the points with the held translations and rotation angles at their values:
// damped Gauss–Newton on the estimated ones of the six, from `pose` (translations, angles).
void fitRigidWithHeldRows(const StartPoints& s, const DesignLayout& lay, double pose[6]) {
    int freeSlot[6];
    int u = 0;
    for (int k = 0; k < 6; ++k)
        if (lay.isFloat[static_cast<std::size_t>(kTraX + k)]) freeSlot[u++] = k;
    if (u == 0) return;
    double base = rigidSquares(s, pose);
    double lambda = 1e-3;
    constexpr double h = 1e-6;
    for (int iteration = 0; iteration < 50 && std::isfinite(base); ++iteration) {
        // Derivatives of the turned point by each angle, from central differences of the matrix.
        WorkMatrix dQ[3]{};
        for (int a = 0; a < 3; ++a) {
            double up[3] = {pose[3], pose[4], pose[5]}, down[3] = {pose[3], pose[4], pose[5]};
            up[a] += h, down[a] -= h;
            const WorkMatrix Qu = rotationOf(up[0], up[1], up[2]), Qd = rotationOf(down[0], down[1], down[2]);
            for (int i = 1; i <= 3; ++i)
                for (int j = 1; j <= 3; ++j)
                    dQ[a][static_cast<std::size_t>(i)][static_cast<std::size_t>(j)] =
                        (Qu[static_cast<std::size_t>(i)][static_cast<std::size_t>(j)] -
                         Qd[static_cast<std::size_t>(i)][static_cast<std::size_t>(j)]) /
                        (2 * h);
        }
        const WorkMatrix Q = rotationOf(pose[3], pose[4], pose[5]);
        std::array<std::array<double, 7>, 6> N{};
        std::array<double, 6> g{};
        forEachUsedPoint(s, Q, [&](std::size_t iz, const double* x, const double* t) {
            double da[3][4];
            for (int a = 0; a < 3; ++a) apply(dQ[a], x, da[a]);
            for (int j = 1; j <= 3; ++j) {
                const double r = s.o[j][iz] - (pose[j - 1] + t[j]);
                double row[6];
                for (int c = 0; c < u; ++c) {
                    const int k = freeSlot[c];
                    row[c] = k < 3 ? (k == j - 1 ? 1.0 : 0.0) : da[k - 3][j];
                }
                for (int a = 0; a < u; ++a) {
                    g[static_cast<std::size_t>(a)] += row[a] * r;
                    for (int b = 0; b < u; ++b)
                        N[static_cast<std::size_t>(a)][static_cast<std::size_t>(b)] += row[a] * row[b];
                }
            }
        });
        bool moved = false;
        for (; lambda <= 1e8; lambda *= 10) {
            auto damped = N;
            for (int c = 0; c < u; ++c)
                damped[static_cast<std::size_t>(c)][static_cast<std::size_t>(c)] *= 1.0 + lambda;
            std::array<double, 6> dx{};
            if (!solveSmall(damped, g, u, dx)) continue;
            double trial[6];
            std::copy(pose, pose + 6, trial);
            for (int c = 0; c < u; ++c) trial[freeSlot[c]] += dx[static_cast<std::size_t>(c)];
            const double sum = rigidSquares(s, trial);
            if (sum < base) {
                double largest = 0.0;
                for (int c = 0; c < u; ++c)
                    largest = std::max(largest, std::fabs(dx[static_cast<std::size_t>(c)]));
                std::copy(trial, trial + 6, pose);
                base = sum;
                lambda = std::max(1e-6, lambda / 10);
                moved = largest > 1e-12;
                break;
            }
        }
        if (!moved) break;
    }
}

}  // namespace

std::optional<std::array<double, kParamCount + 1>> allPointsStart(const JobState& job,
                                                                  const DesignLayout& lay, const Matrix& P) {
    if (!lay.distanceRows || job.IdenticalCount < 1) return std::nullopt;
    StartPoints s = startPoints(job, job.Params, P);
    const double* const m[4] = {nullptr, s.m[1].data(), s.m[2].data(), s.m[3].data()};
    const double* const o[4] = {nullptr, s.o[1].data(), s.o[2].data(), s.o[3].data()};
    const std::optional<RigidPose> pose = fitRigidPose(s.n, m, o, s.w.data());
    if (!pose) return std::nullopt;
    Params start = job.Params;

    // An estimated scale: the scale of the rigid fit (cross moments over the MCS spread), so that
    // the tool offsets, which point every way, do not enter it.
    bool scaled = false;
    for (int k = kScaleX; k <= kScaleXYZ; ++k) scaled = scaled || lay.isFloat[static_cast<std::size_t>(k)];
    if (scaled) {
        double sw = 0.0, cm[4] = {}, co[4] = {};
        for (std::int32_t i = 1; i <= s.n; ++i) {
            const auto iz = static_cast<std::size_t>(i);
            sw += s.w[iz];
            for (int j = 1; j <= 3; ++j) cm[j] += s.w[iz] * s.m[j][iz], co[j] += s.w[iz] * s.o[j][iz];
        }
        for (int j = 1; j <= 3; ++j) cm[j] /= sw, co[j] /= sw;
        double cross = 0.0, spread = 0.0;
        for (std::int32_t i = 1; i <= s.n; ++i) {
            const auto iz = static_cast<std::size_t>(i);
            if (s.w[iz] == 0.0) continue;
            const double x[4] = {0.0, s.m[1][iz] - cm[1], s.m[2][iz] - cm[2], s.m[3][iz] - cm[3]};
            double t[4];
            apply(pose->Q, x, t);
            for (int j = 1; j <= 3; ++j) cross += (s.o[j][iz] - co[j]) * t[j], spread += x[j] * x[j];
        }
        const double f = cross / spread;
        if (std::isfinite(f) && f > 0.0) {
            for (int k = kScaleX; k <= kScaleXYZ; ++k)
                if (lay.isFloat[static_cast<std::size_t>(k)] || (k != kScaleXYZ && lay.isFloat[kScaleXYZ]))
                    start[static_cast<std::size_t>(k)] *= f;
            for (int j = 1; j <= 3; ++j)
                for (auto& v : s.m[j]) v *= f;
        }
    }

    std::array<double, 3> angles = anglesNearHeld(pose->Q, lay, start);
    bool held = false;
    for (int k = kTraX; k <= kRotZ; ++k) held = held || !lay.isFloat[static_cast<std::size_t>(k)];
    if (held) {
        // The rigid fit again, with the held rows at their values.
        double rigid[6] = {start[kTraX], start[kTraY], start[kTraZ], angles[0], angles[1], angles[2]};
        for (int j = 0; j < 3; ++j)
            if (lay.isFloat[static_cast<std::size_t>(kTraX + j)]) rigid[j] = pose->T[j + 1];
        fitRigidWithHeldRows(s, lay, rigid);
        angles = {rigid[3], rigid[4], rigid[5]};
        for (int j = 0; j < 3; ++j)
            if (!lay.isFloat[static_cast<std::size_t>(kRotX + j)])
                angles[static_cast<std::size_t>(j)] = start[static_cast<std::size_t>(kRotX + j)];
    }
    if (!completeStart(s, lay, angles, start, held || scaled ? nullptr : &pose->Q)) return std::nullopt;
    return start;
}

std::optional<std::array<double, kParamCount + 1>> turnedStart(
    const JobState& job, const DesignLayout& lay, const Matrix& P,
    const std::array<double, kParamCount + 1>& from, const WorkMatrix& turn) {
    if (!lay.distanceRows || job.IdenticalCount < 1) return std::nullopt;
    const StartPoints s = startPoints(job, from, P);
    const WorkMatrix Q = multiplyWork(turn, rotationOf(from[kRotX], from[kRotY], from[kRotZ]));
    Params start = from;
    if (!completeStart(s, lay, anglesNearHeld(Q, lay, from), start)) return std::nullopt;
    return start;
}

}  // namespace kal
