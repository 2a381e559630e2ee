#include "engine/AllPointsStart.h"

#include <cmath>
#include <vector>

#include "engine/TransformModel.h"
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

std::optional<std::array<double, kParamCount + 1>> allPointsStart(const JobState& job,
                                                                  const DesignLayout& lay, const Matrix& P) {
    if (!lay.distanceRows) return std::nullopt;
    for (int k = kTraX; k <= kRotZ; ++k)
        if (!lay.isFloat[static_cast<std::size_t>(k)]) return std::nullopt;
    const std::int32_t n = job.IdenticalCount;
    if (n < 1) return std::nullopt;

    // The MCS points as the rotation sees them: K·S·MCS at the start scales and shape angles.
    H3DMatrices mats;
    buildShapeMatrix(job, mats);
    buildScaleMatrix(job, mats);
    const WorkMatrix ks = multiplyWork(mats.H3D_Matrix2, mats.H3D_Matrix3);
    const auto size = static_cast<std::size_t>(n + 1);
    std::vector<double> mx(size), my(size), mz(size), ox(size), oy(size), oz(size), w(size);
    for (std::int32_t i = 1; i <= n; ++i) {
        const auto iz = static_cast<std::size_t>(i);
        const double x[4] = {0.0, job.MCS_X[i], job.MCS_Y[i], job.MCS_Z[iz]};
        double p[4];
        apply(ks, x, p);
        mx[iz] = p[1], my[iz] = p[2], mz[iz] = p[3];
        ox[iz] = job.OCS_X[i], oy[iz] = job.OCS_Y[i], oz[iz] = job.OCS_Z[iz];
        w[iz] = P(3 * i, 1) != 0.0 ? 1.0 : 0.0;
    }
    const double* const m[4] = {nullptr, mx.data(), my.data(), mz.data()};
    std::array<double, kParamCount + 1> start = job.Params;

    const double* const o[4] = {nullptr, ox.data(), oy.data(), oz.data()};
    const std::optional<RigidPose> pose = fitRigidPose(n, m, o, w.data());
    if (!pose) return std::nullopt;
    if (lay.isFloat[kRDist]) {
        double sum = 0.0, sw = 0.0;
        for (std::int32_t i = 1; i <= n; ++i) {
            const auto iz = static_cast<std::size_t>(i);
            const double x[4] = {0.0, mx[iz], my[iz], mz[iz]};
            double t[4];
            apply(pose->Q, x, t);
            const double d[3] = {ox[iz] - (t[1] + pose->T[1]), oy[iz] - (t[2] + pose->T[2]),
                                 oz[iz] - (t[3] + pose->T[3])};
            sum += w[iz] * std::sqrt(d[0] * d[0] + d[1] * d[1] + d[2] * d[2]);
            sw += w[iz];
        }
        start[kRDist] = sum / sw;
    }

    Matrix R(3, 3);
    for (int a = 1; a <= 3; ++a)
        for (int b = 1; b <= 3; ++b)
            R(a, b) = pose->Q[static_cast<std::size_t>(a)][static_cast<std::size_t>(b)];
    Vec3 sol1{}, sol2{};
    anglesFromMatXYZ(R, sol1, sol2);
    for (int j = 1; j <= 3; ++j) {
        start[static_cast<std::size_t>(kTraX + j - 1)] = pose->T[j];
        start[static_cast<std::size_t>(kRotX + j - 1)] = sol1[static_cast<std::size_t>(j)];
    }
    for (int k = 1; k <= kParamCount; ++k)
        if (!std::isfinite(start[static_cast<std::size_t>(k)])) return std::nullopt;
    return start;
}

}  // namespace kal
