#include "engine/InverseTrafo.h"

#include <array>
#include <cmath>
#include <stdexcept>
#include <vector>

#include "engine/TransformModel.h"
#include "shared/Constants.h"
#include "shared/Errors.h"
#include "shared/MatrixOps.h"
#include "shared/Rotations.h"
#include "shared/Sorting.h"

namespace kal {

namespace {

constexpr double kAccept = 1e-5;   // largest element-difference sum of an accepted set
constexpr double kSameRow = 1e-4;  // rows closer than this in every column are one set
constexpr double kTwoPi = 6.28318530717958;

WorkMatrix toWork(const Matrix& M) {
    WorkMatrix w{};
    for (int i = 1; i <= 3; ++i)
        for (int j = 1; j <= 3; ++j) w[static_cast<std::size_t>(i)][static_cast<std::size_t>(j)] = M(i, j);
    return w;
}

Matrix toMatrix(const WorkMatrix& w) {
    Matrix M(3, 3);
    for (int i = 1; i <= 3; ++i)
        for (int j = 1; j <= 3; ++j) M(i, j) = w[static_cast<std::size_t>(i)][static_cast<std::size_t>(j)];
    return M;
}

WorkMatrix transposed(const WorkMatrix& a) {
    WorkMatrix t{};
    for (int i = 1; i <= 3; ++i)
        for (int j = 1; j <= 3; ++j)
            t[static_cast<std::size_t>(i)][static_cast<std::size_t>(j)] =
                a[static_cast<std::size_t>(j)][static_cast<std::size_t>(i)];
    return t;
}

WorkMatrix diagonal(double a, double b, double c) {
    WorkMatrix d{};
    d[1][1] = a;
    d[2][2] = b;
    d[3][3] = c;
    return d;
}

// Length of M·(1000·e_j) / 1000: the length of column j.
double columnLength(const Matrix& M, int j) {
    double s = 0.0;
    for (int i = 1; i <= 3; ++i) {
        const double v = M(i, j) * 1000.0;
        s += v * v;
    }
    return std::sqrt(s) / 1000.0;
}

// The exact inverse of the shape matrix [[1, a, b], [0, c, d], [0, 0, e]].
WorkMatrix inverseShape(const WorkMatrix& k) {
    const double a = k[1][2], b = k[1][3], c = k[2][2], d = k[2][3], e = k[3][3];
    if (c == 0.0 || e == 0.0)
        throw NumericError("The shape matrix is singular (a shape angle of 90 degrees): it has no inverse.");
    WorkMatrix inv{};
    inv[1][1] = 1.0;
    inv[1][2] = -a / c;
    inv[1][3] = (a * d - b * c) / (c * e);
    inv[2][2] = 1.0 / c;
    inv[2][3] = -d / (c * e);
    inv[3][3] = 1.0 / e;
    return inv;
}

}  // namespace

double angleFromSinCos(double s, double c) {
    const double A1 = normalizeAngle(arcSin(s));
    const double A2 = normalizeAngle(arcCos(c));
    const double A3 = normalizeAngle(kPi - A1);
    const double A4 = normalizeAngle(-A2);
    const double d12 = std::fabs(A1 - A2), d23 = std::fabs(A2 - A3), d14 = std::fabs(A1 - A4),
                 d34 = std::fabs(A3 - A4);
    const bool sineBased = std::fabs(A1) < kPi / 4;
    if (d12 < d23 && d12 < d14 && d12 < d34) return sineBased ? A1 : A2;
    if (d23 < d14 && d23 < d34) return sineBased ? A3 : A2;
    if (d14 < d34) return sineBased ? A1 : A4;
    return sineBased ? A3 : A4;
}

void shapeAnglesFromMatrix(const Matrix& K, Vec3& sol1, Vec3& sol2) {
    const double xy = angleFromSinCos(K(1, 2), K(2, 2));
    const double zt1 = normalizeAngle(arcCos(K(3, 3)));
    const double zt2 = normalizeAngle(-zt1);
    auto azimuth = [&](double zt) {
        if (zt == 0.0) return 0.0;
        const double s = std::sin(zt);
        return angleFromSinCos(checkedDivide(K(2, 3), s, "the shape angles"),
                               checkedDivide(K(1, 3), s, "the shape angles"));
    };
    sol1 = Vec3{0.0, xy, azimuth(zt1), zt1};
    sol2 = Vec3{0.0, xy, azimuth(zt2), zt2};
}

void deleteRow(Matrix& table, std::int32_t k) {
    const std::int32_t n = table.rows(), cols = table.cols();
    if (k < 1 || k > n) throw std::out_of_range("DeleteRow: row outside the table");
    for (std::int32_t i = k; i <= n - 1; ++i)
        for (std::int32_t c = 1; c <= cols; ++c) table(i, c) = table(i + 1, c);
    for (std::int32_t c = 1; c <= cols; ++c) table(n, c) = 0.0;
}

void removeDuplicateRows(Matrix& table, double tol, std::int32_t& count, bool angleMode) {
    const std::int32_t n = table.rows(), cols = table.cols();
    count = n;
    if (n < 1) return;
    auto equalRows = [&](std::int32_t i, std::int32_t j) {
        for (std::int32_t c = 1; c <= cols; ++c) {
            const double d = table(i, c) - table(j, c);
            if (!(std::fabs(d) <= tol || (angleMode && std::fabs(d - kTwoPi) <= tol))) return false;
        }
        return true;
    };
    for (std::int32_t i = 1; i < count; ++i) {
        std::int32_t j = i + 1;
        while (j <= count) {
            if (equalRows(i, j)) {
                deleteRow(table, j);
                --count;
            } else {
                ++j;
            }
        }
    }
}

bool enumerateInverseSolutions(const Matrix& M, bool shapeFlag, bool scaleFlag, Matrix& table) {
    // Scales: the column lengths.
    double sx = 1.0, sy = 1.0, sz = 1.0;
    if (scaleFlag) {
        sx = columnLength(M, 1);
        sy = columnLength(M, 2);
        sz = columnLength(M, 3);
    }
    // xy: the angle between the first two columns less 90°.
    double xy = 0.0;
    if (shapeFlag) {
        double dotxy = 0.0;
        for (int i = 1; i <= 3; ++i) dotxy += (M(i, 1) * 1000.0) * (M(i, 2) * 1000.0);
        const double lx = columnLength(M, 1) * 1000.0, ly = columnLength(M, 2) * 1000.0;
        xy = kPi / 2 - arcCos(checkedDivide(dotxy, ly * lx, "the inverse solutions"));
    }

    // Rotation candidates. Where M(1,1) is exactly 0 (rot y' or rot z'' of exactly 90°) the quotient
    // has no value: the quadrant-aware arctangent gives the angle.
    const double rzBase = M(1, 1) != 0.0 ? std::atan(-M(2, 1) / M(1, 1)) : std::atan2(-M(2, 1), M(1, 1));
    const double rz1 = normalizeAngle(rzBase);
    const double rzAll[2] = {rz1, normalizeAngle(rz1 + kPi)};
    const double ry1 = normalizeAngle(arcSin(checkedDivide(M(3, 1), sx, "the inverse solutions")));
    const double ryAll[2] = {ry1, normalizeAngle(kPi - ry1)};
    double rxAll[4];
    for (int k = 0; k < 2; ++k) {
        const double q = -checkedDivide(M(3, 2) - std::sin(ryAll[k]) * std::sin(xy) * sy,
                                        sy * std::cos(xy) * std::cos(ryAll[k]), "the inverse solutions");
        rxAll[2 * k] = arcSin(q);
        rxAll[2 * k + 1] = normalizeAngle(kPi - rxAll[2 * k]);
    }
    struct Rotation {
        double rx, ry, rz;
        WorkMatrix R;
    };
    std::vector<Rotation> rotations;
    Matrix Rm(3, 3);
    for (double rx : rxAll)
        for (double ry : ryAll)
            for (double rzv : rzAll) {
                matFromAnglesXYZ(rx, ry, rzv, Rm);
                rotations.push_back({rx, ry, rzv, toWork(Rm)});
            }

    // Shape-angle candidates: split Rc⁻¹·M·S⁻¹ of every rotation candidate.
    const WorkMatrix Mw = toWork(M);
    std::vector<double> xyList{0.0}, azList{0.0}, ztList{0.0};
    if (shapeFlag) {
        const WorkMatrix Sinv = diagonal(checkedDivide(1.0, sx, "the inverse solutions"),
                                         checkedDivide(1.0, sy, "the inverse solutions"),
                                         checkedDivide(1.0, sz, "the inverse solutions"));
        for (const Rotation& rot : rotations) {
            const Matrix Kc = toMatrix(multiplyWork(multiplyWork(transposed(rot.R), Mw), Sinv));
            Vec3 s1{}, s2{};
            shapeAnglesFromMatrix(Kc, s1, s2);
            for (const Vec3* s : {&s1, &s2}) {
                xyList.push_back((*s)[1]);
                azList.push_back((*s)[2]);
                ztList.push_back((*s)[3]);
            }
        }
        removeEqualValues(xyList);
        removeEqualValues(azList);
        removeEqualValues(ztList);
    } else {
        xyList.push_back(0.0);
        azList.push_back(0.0);
        ztList.push_back(0.0);
    }

    // Test every combination: rebuild (Rc·K)·S and compare with M.
    const WorkMatrix S = diagonal(sx, sy, sz);
    struct Trig {
        double s, c;
    };
    auto trig = [](const std::vector<double>& list) {
        std::vector<Trig> t(list.size());
        for (std::size_t i = 1; i < list.size(); ++i) t[i] = {std::sin(list[i]), std::cos(list[i])};
        return t;
    };
    const std::vector<Trig> txy = trig(xyList), taz = trig(azList), tzt = trig(ztList);
    std::vector<std::array<double, 8>> accepted;
    for (const Rotation& rot : rotations)
        for (std::size_t a = 1; a < xyList.size(); ++a)
            for (std::size_t b = 1; b < azList.size(); ++b)
                for (std::size_t c = 1; c < ztList.size(); ++c) {
                    WorkMatrix K{};
                    K[1][1] = 1.0;
                    K[1][2] = txy[a].s;
                    K[1][3] = tzt[c].s * taz[b].c;
                    K[2][2] = txy[a].c;
                    K[2][3] = tzt[c].s * taz[b].s;
                    K[3][3] = tzt[c].c;
                    const WorkMatrix B = multiplyWork(multiplyWork(rot.R, K), S);
                    double sum = 0.0;
                    for (int i = 1; i <= 3; ++i)
                        for (int j = 1; j <= 3; ++j)
                            sum += std::fabs(Mw[static_cast<std::size_t>(i)][static_cast<std::size_t>(j)] -
                                             B[static_cast<std::size_t>(i)][static_cast<std::size_t>(j)]);
                    if (sum < kAccept)
                        accepted.push_back(
                            {0.0, rot.rx, rot.ry, rot.rz, xyList[a], azList[b], ztList[c], sum});
                }

    if (accepted.empty()) {
        table.resize(0, 9);
        return false;
    }
    Matrix work(static_cast<std::int32_t>(accepted.size()), 7);
    for (std::int32_t r = 1; r <= work.rows(); ++r) {
        const auto& row = accepted[static_cast<std::size_t>(r - 1)];
        for (int c = 1; c <= 6; ++c) work(r, c) = normalizeAngle(row[static_cast<std::size_t>(c)]);
        work(r, 7) = row[7];
    }
    std::int32_t count = 0;
    removeDuplicateRows(work, kSameRow, count, true);
    Matrix rows(count, 7);
    for (std::int32_t r = 1; r <= count; ++r) {
        for (int c = 1; c <= 6; ++c) rows(r, c) = normalizeAngle(work(r, c));
        rows(r, 7) = work(r, 7);
    }
    sortRowsByKeys({4, 3, 5}, rows);

    table.resize(count, 9);
    for (std::int32_t r = 1; r <= count; ++r) {
        table(r, 1) = rows(r, 1);
        table(r, 2) = rows(r, 2);
        table(r, 3) = rows(r, 3);
        table(r, 4) = sx;
        table(r, 5) = sy;
        table(r, 6) = sz;
        table(r, 7) = rows(r, 4);
        table(r, 8) = rows(r, 5);
        table(r, 9) = rows(r, 6);
    }
    return true;
}

bool solveInverseTransform(JobState& job) {
    H3DMatrices m;
    buildRotationMatrix(job, m);
    buildShapeMatrix(job, m);
    buildScaleMatrix(job, m);
    const WorkMatrix Rinv = transposed(m.H3D_Matrix1);
    const WorkMatrix Kinv = inverseShape(m.H3D_Matrix2);
    const WorkMatrix Sinv = diagonal(checkedDivide(1.0, job.Params[kScaleX], "the inverse transformation"),
                                     checkedDivide(1.0, job.Params[kScaleY], "the inverse transformation"),
                                     checkedDivide(1.0, job.Params[kScaleZ], "the inverse transformation"));
    const WorkMatrix Minv = multiplyWork(multiplyWork(Sinv, Kinv), Rinv);
    double w[4] = {0, 0, 0, 0};
    const double T[4] = {0.0, job.Params[kTraX], job.Params[kTraY], job.Params[kTraZ]};
    for (int i = 1; i <= 3; ++i)
        for (int k = 1; k <= 3; ++k)
            if (Minv[static_cast<std::size_t>(i)][static_cast<std::size_t>(k)] != 0.0 && T[k] != 0.0)
                w[i] += Minv[static_cast<std::size_t>(i)][static_cast<std::size_t>(k)] * T[k];
    job.InvTraX = checkedFinite(-w[1], "the inverse translation");
    job.InvTraY = checkedFinite(-w[2], "the inverse translation");
    job.InvTraZ = checkedFinite(-w[3], "the inverse translation");

    const bool shapeFlag =
        job.Params[kParXY] != 0.0 || job.Params[kAzimuth] != 0.0 || job.Params[kZtoXY] != 0.0;
    // With shape angles the scales always come from the matrix: K⁻¹·Rᵀ has columns of other lengths
    // than 1 even when all four scales are exactly 1.
    const bool scaleFlag = shapeFlag || !(job.Params[kScaleX] == 1.0 && job.Params[kScaleY] == 1.0 &&
                                          job.Params[kScaleZ] == 1.0 && job.Params[kScaleXYZ] == 1.0);
    Matrix table;
    const bool found = enumerateInverseSolutions(toMatrix(Minv), shapeFlag, scaleFlag, table);
    job.InverseSolutionTable = std::move(table);
    return found;
}

}  // namespace kal
