#include "engine/DesignMatrix.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <string>

#include "engine/CalcRefused.h"
#include "engine/ModelDerivatives.h"
#include "engine/NormalEquations.h"
#include "shared/Errors.h"
#include "shared/Rotations.h"

namespace kal {

namespace {

bool ticked(int checkValue) { return checkValue == 1; }

// (a·b)·c of three work matrices, the product order of transformMcsPoint.
WorkMatrix product3(const WorkMatrix& a, const WorkMatrix& b, const WorkMatrix& c) {
    return multiplyWork(multiplyWork(a, b), c);
}

// m·x over rows 1..3. The zero skip of matMult is left out: for finite factors it changes no bit
// (a zero product added to a sum that started at +0 keeps it), and this runs for every point.
inline void apply(const WorkMatrix& m, const double x[4], double p[4]) {
    p[1] = m[1][1] * x[1] + m[1][2] * x[2] + m[1][3] * x[3];
    p[2] = m[2][1] * x[1] + m[2][2] * x[2] + m[2][3] * x[3];
    p[3] = m[3][1] * x[1] + m[3][2] * x[2] + m[3][3] * x[3];
}

}  // namespace

bool isRDistMode(const JobState& job, const EngineControls& controls, const ParamStates& states) {
    return (ticked(controls.CheckRDist) || (controls.CheckRDist == 0 && isFixedNonZero(states, kRDist))) &&
           !job.UseAbcMode;
}

DesignLayout decideDesignLayout(const JobState& job, const EngineControls& controls,
                                const ParamStates& states) {
    DesignLayout d;
    for (int k = 1; k <= kParamCount; ++k)
        d.isFloat[static_cast<std::size_t>(k)] = isFloatState(states[static_cast<std::size_t>(k)]);
    d.nU = floatCount(states);
    d.nU13 = floatCount(states, 1, 13);
    const std::int32_t offsetFloats = floatCount(states, kRvecX, kRvecZ);
    if (offsetFloats != 0 && offsetFloats != 3)
        throw CalcRefused("The offset vector (vec_x, vec_y, vec_z) is estimated as a whole or not at all.");
    d.offsetColumns = offsetFloats == 3;
    if (d.offsetColumns && d.isFloat[kRDist])
        throw CalcRefused("R Dist. and the offset vector of use ABC cannot be estimated together.");

    d.rDistMode = isRDistMode(job, controls, states);
    d.distanceRows =
        d.rDistMode &&
        (ticked(controls.CheckRDist) ||
         (controls.CheckRDist == 0 && isFixedNonZero(states, kRDist) && controls.TextRDistEnabled));
    d.useAbcTerms =
        ticked(controls.CheckUseABC) || (controls.CheckUseABC == 0 && !controls.TextRDistEnabled &&
                                         (isFixedNonZero(states, kRvecX) || isFixedNonZero(states, kRvecY) ||
                                          isFixedNonZero(states, kRvecZ)));
    if (d.distanceRows && d.useAbcTerms) throw CalcRefused("R Dist. and use ABC cannot be used together.");
    if (d.useAbcTerms && (job.OcsAngles.rows() < job.IdenticalCount || job.OcsAngles.cols() < 3))
        throw CalcRefused(
            "The use ABC calculation needs the A, B, C angles of every OCS point, and this job holds none "
            "for "
            "some of its points. Load the robot file again.");
    return d;
}

DesignRowBuilder::DesignRowBuilder(JobState& job, const EngineControls& controls, const ParamStates& states,
                                   const PointOrigin& origin)
    : job_(job), layout_(decideDesignLayout(job, controls, states)), origin_(origin), abc_(3, 3) {
    job.RotXSeed = job.RotX();
    job.RotYSeed = job.RotY();
    job.RotZSeed = job.RotZ();

    H3DMatrices m;
    buildRotationMatrix(job, m);
    buildShapeMatrix(job, m);
    buildScaleMatrix(job, m);
    r_ = m.H3D_Matrix1;
    k_ = m.H3D_Matrix2;
    s_ = m.H3D_Matrix3;
    const WorkMatrix rk = multiplyWork(r_, k_);
    q_ = multiplyWork(rk, s_);

    int c = 1;
    for (int slot = 1; slot <= 13; ++slot) {
        if (!layout_.isFloat[static_cast<std::size_t>(slot)]) continue;
        WorkMatrix& col = columnMatrix_[static_cast<std::size_t>(c)];
        switch (slot) {
            case kTraX:
            case kTraY:
            case kTraZ:
                unitRow_[static_cast<std::size_t>(c)] = slot;
                break;
            case kRotX:
            case kRotY:
            case kRotZ:
                if (slot == kRotX) derivativeRotX(job, m);
                if (slot == kRotY) derivativeRotY(job, m);
                if (slot == kRotZ) derivativeRotZ(job, m);
                col = product3(m.H3D_Matrix1, k_, s_);
                break;
            case kScaleX:
            case kScaleY:
            case kScaleZ: {
                // Column (slot - 6) of R·K times that coordinate: R·K with the other columns zeroed.
                const int j = slot - kScaleX + 1;
                col = WorkMatrix{};
                for (int row = 1; row <= 3; ++row)
                    col[static_cast<std::size_t>(row)][static_cast<std::size_t>(j)] =
                        rk[static_cast<std::size_t>(row)][static_cast<std::size_t>(j)];
                break;
            }
            case kScaleXYZ:
                // The derivative of R·K·(s·I)·x by the common scale s: S is left out.
                col = rk;
                break;
            default:  // kParXY, kAzimuth, kZtoXY
                if (slot == kParXY) derivativeShapeXY(job, m);
                if (slot == kAzimuth) derivativeShapeAzimuth(job, m);
                if (slot == kZtoXY) derivativeShapeZtoXY(job, m);
                col = product3(r_, m.H3D_Matrix2, s_);
                break;
        }
        ++c;
    }
    t_[1] = job.Params[kTraX];
    t_[2] = job.Params[kTraY];
    t_[3] = job.Params[kTraZ];
    rvec_[1] = job.Params[kRvecX];
    rvec_[2] = job.Params[kRvecY];
    rvec_[3] = job.Params[kRvecZ];
    rDist_ = job.Params[kRDist];

    // A held translation at the local origin: the fixed offset T + R·K·S·mcs - ocs of this
    // linearisation point, and every column of its axis row taken at the full MCS point.
    bool reduced = false;
    for (int j = 1; j <= 3; ++j) reduced = reduced || origin_.mcs[j] != 0.0 || origin_.ocs[j] != 0.0;
    if (reduced) {
        double sx[4], ksx[4], q[4];
        apply(s_, origin_.mcs, sx);
        apply(k_, sx, ksx);
        apply(r_, ksx, q);
        double a[3][kParamCount + 1];
        columnsAt(origin_.mcs, a);
        for (int j = 1; j <= 3; ++j) {
            if (layout_.isFloat[static_cast<std::size_t>(kTraX + j - 1)]) continue;
            heldAxis_[j] = true;
            t_[j] = (t_[j] + q[j]) - origin_.ocs[j];
            for (int col = 1; col <= layout_.nU13; ++col)
                if (!unitRow_[static_cast<std::size_t>(col)]) heldShift_[j][col] = a[j - 1][col];
        }
    }
}

void DesignRowBuilder::build(std::int32_t i, PointRows& rows) {
    if (i < 1 || i > job_.IdenticalCount)
        throw std::out_of_range("identical point index outside 1..IdenticalCount");
    const JobState& job = job_;
    const auto iz = static_cast<std::size_t>(i);
    // A zero origin changes no bit: x - 0 is x.
    const double x[4] = {0.0, job.MCS_X[i] - origin_.mcs[1], job.MCS_Y[i] - origin_.mcs[2],
                         job.MCS_Z[iz] - origin_.mcs[3]};
    const double o[4] = {0.0, job.OCS_X[i] - origin_.ocs[1], job.OCS_Y[i] - origin_.ocs[2],
                         job.OCS_Z[iz] - origin_.ocs[3]};

    // Columns of the estimated slots among 1..13.
    const int nU13 = layout_.nU13;
    columnsAt(x, rows.a);
    for (int j = 1; j <= 3; ++j)
        if (heldAxis_[j])
            for (int c = 1; c <= nU13; ++c) rows.a[j - 1][c] += heldShift_[j][c];
    for (int c = nU13 + 1; c <= layout_.nU; ++c)
        for (int j = 0; j < 3; ++j) rows.a[j][c] = 0.0;

    // Transformed point t = R·(K·(S·x)) + T and the misclosures o - t.
    double sx[4], ksx[4], t[4];
    apply(s_, x, sx);
    apply(k_, sx, ksx);
    apply(r_, ksx, t);
    for (int j = 1; j <= 3; ++j) {
        t[j] = t[j] + t_[j];
        rows.l[j - 1] = o[j] - t[j];
    }

    if (layout_.distanceRows) {
        const double dx = o[1] - t[1], dy = o[2] - t[2], dz = o[3] - t[3];
        const double D = std::sqrt(dy * dy + dx * dx + dz * dz);
        if (!(D > 0.0))
            throw NumericError("Point " + job.MCS_Name[iz] +
                               " lies exactly on its OCS point, so its distance has no direction: the R Dist "
                               "calculation cannot use it.");
        const double invD = 1.0 / D;
        for (int c = 1; c <= layout_.nU; ++c) rows.d[c] = 0.0;
        if (layout_.isFloat[kRDist]) rows.d[nU13 + 1] = 1.0;
        for (int c = 1; c <= nU13; ++c)
            rows.d[c] = (dx * rows.a[0][c] + dy * rows.a[1][c] + dz * rows.a[2][c]) * invD;
        rows.dl = D - rDist_;
    }

    if (layout_.useAbcTerms) {
        // M_i = Rz(A)·Ry(B)·Rx(C), A about z, then B about y', then C about x''.
        matFromAnglesXYZ(-job.OcsAngles(i, 3), -job.OcsAngles(i, 2), -job.OcsAngles(i, 1), abc_);
        if (layout_.offsetColumns)
            for (int j = 1; j <= 3; ++j)
                for (int m = 1; m <= 3; ++m) rows.a[j - 1][nU13 + m] = abc_(j, m);
        for (int j = 1; j <= 3; ++j)
            rows.l[j - 1] =
                rows.l[j - 1] - (abc_(j, 1) * rvec_[1] + abc_(j, 2) * rvec_[2] + abc_(j, 3) * rvec_[3]);
    }
}

double DesignRowBuilder::weightedSquareSum(const Matrix& P) const {
    if (!layout_.distanceRows && !layout_.useAbcTerms)
        throw std::logic_error("weightedSquareSum: the layout has neither distance rows nor use-ABC terms");
    const JobState& job = job_;
    const std::int32_t n = job.IdenticalCount;
    if (P.rows() < 3 * n || P.cols() < 1) throw std::out_of_range("weightedSquareSum: weights too short");
    Matrix abc(3, 3);
    double sum = 0.0;
    for (std::int32_t i = 1; i <= n; ++i) {
        const auto iz = static_cast<std::size_t>(i);
        const double x[4] = {0.0, job.MCS_X[i] - origin_.mcs[1], job.MCS_Y[i] - origin_.mcs[2],
                             job.MCS_Z[iz] - origin_.mcs[3]};
        const double o[4] = {0.0, job.OCS_X[i] - origin_.ocs[1], job.OCS_Y[i] - origin_.ocs[2],
                             job.OCS_Z[iz] - origin_.ocs[3]};
        // The transformed point as build() forms it: R·(K·(S·x)) + T.
        double sx[4], ksx[4], t[4], l[4];
        apply(s_, x, sx);
        apply(k_, sx, ksx);
        apply(r_, ksx, t);
        for (int j = 1; j <= 3; ++j) l[j] = o[j] - (t[j] + t_[j]);
        if (layout_.distanceRows) {
            const double p = P(3 * i, 1);
            if (p == 0.0) continue;
            const double D = std::sqrt(l[2] * l[2] + l[1] * l[1] + l[3] * l[3]);
            sum += p * (D - rDist_) * (D - rDist_);
            continue;
        }
        matFromAnglesXYZ(-job.OcsAngles(i, 3), -job.OcsAngles(i, 2), -job.OcsAngles(i, 1), abc);
        for (int j = 1; j <= 3; ++j) {
            const double lj = l[j] - (abc(j, 1) * rvec_[1] + abc(j, 2) * rvec_[2] + abc(j, 3) * rvec_[3]);
            sum += P(3 * i - 3 + j, 1) * lj * lj;
        }
    }
    return sum;
}

OrdinaryMoments completeMoments(OrdinaryMoments m) {
    for (int j = 1; j <= 3; ++j)
        for (int a = 1; a <= 3; ++a)
            for (int b = 1; b < a; ++b) m.pxx[j][a][b] = m.pxx[j][b][a];
    return m;
}

namespace {

void requireOrdinary(const DesignLayout& lay) {
    if (lay.distanceRows || lay.useAbcTerms || lay.rDistMode)
        throw std::logic_error("DesignRowBuilder: the layout has rows other than the ordinary ones");
}

inline double dot3(const double* a, const double* b) { return a[1] * b[1] + a[2] * b[2] + a[3] * b[3]; }

}  // namespace

void DesignRowBuilder::addOrdinaryNormalMatrix(const OrdinaryMoments& mo, NormalEquations& eq) const {
    requireOrdinary(layout_);
    const int nU13 = layout_.nU13;
    for (int j = 1; j <= 3; ++j) {
        // The moments of the points this row's columns are taken at: from the local origin, or for
        // a held translation's row the full MCS points (x + mcs).
        const double p = mo.p[j];
        double px[4], pxx[4][4];
        for (int a = 1; a <= 3; ++a) {
            px[a] = mo.px[j][a];
            for (int b = 1; b <= 3; ++b) pxx[a][b] = mo.pxx[j][a][b];
        }
        if (heldAxis_[j]) {
            const double* c = origin_.mcs;
            for (int a = 1; a <= 3; ++a)
                for (int b = 1; b <= 3; ++b)
                    pxx[a][b] = ((pxx[a][b] + c[a] * mo.px[j][b]) + mo.px[j][a] * c[b]) + p * c[a] * c[b];
            for (int a = 1; a <= 3; ++a) px[a] = mo.px[j][a] + p * c[a];
        }
        // Row j of each column: a unit entry, or g·x with g row j of the column's matrix.
        std::int32_t cols[kParamCount + 1];
        int count = 0;
        for (int c = 1; c <= nU13; ++c) {
            const int u = unitRow_[static_cast<std::size_t>(c)];
            if (u == 0 || u == j) cols[count++] = c;
        }
        auto g = [&](int c) {
            return columnMatrix_[static_cast<std::size_t>(c)][static_cast<std::size_t>(j)].data();
        };
        auto quad = [&](const double* a, const double* b) {
            double s = 0.0;
            for (int k = 1; k <= 3; ++k) s += a[k] * dot3(pxx[k], b);
            return s;
        };
        for (int ii = 0; ii < count; ++ii) {
            const int a = cols[ii];
            const bool unitA = unitRow_[static_cast<std::size_t>(a)] != 0;
            for (int jj = ii; jj < count; ++jj) {
                const int b = cols[jj];
                const bool unitB = unitRow_[static_cast<std::size_t>(b)] != 0;
                double v;
                if (unitA && unitB)
                    v = p;
                else if (unitA)
                    v = dot3(g(b), px);
                else if (unitB)
                    v = dot3(g(a), px);
                else
                    v = quad(g(a), g(b));
                eq.addToMatrix(a, b, v);
            }
        }
    }
}

namespace {

// Two points side by side: the pass works on pairs of points, each sum kept per lane and the
// lanes added at the end (a different order of the same sums).
typedef double Pair __attribute__((vector_size(16)));

inline double laneSum(Pair v) { return v[0] + v[1]; }

// The pass of sumMisclosures, with or without the moments.
template <bool kMoments>
void sumMisclosurePass(const JobState& job, std::int32_t first, std::int32_t last, const Matrix& P,
                       const PointOrigin& o, const WorkMatrix& q, const double t[4], MisclosureSums& sums,
                       OrdinaryMoments* moments) {
    const double* mx = job.MCS_X.data();
    const double* my = job.MCS_Y.data();
    const double* mz = job.MCS_Z.data();
    const double* ox = job.OCS_X.data();
    const double* oy = job.OCS_Y.data();
    const double* oz = job.OCS_Z.data();
    // Constants into locals: the loop then keeps them in registers.
    const double q11 = q[1][1], q12 = q[1][2], q13 = q[1][3];
    const double q21 = q[2][1], q22 = q[2][2], q23 = q[2][3];
    const double q31 = q[3][1], q32 = q[3][2], q33 = q[3][3];
    const double c1 = o.mcs[1], c2 = o.mcs[2], c3 = o.mcs[3];
    const double d1 = o.ocs[1], d2 = o.ocs[2], d3 = o.ocs[3];
    const double t1 = t[1], t2 = t[2], t3 = t[3];
    Pair pl1{}, pl2{}, pl3{};
    Pair s11{}, s12{}, s13{}, s21{}, s22{}, s23{}, s31{}, s32{}, s33{};
    Pair mp[3] = {}, mpx[3][3] = {}, mpxx[3][3][3] = {};
    for (std::int32_t i = first; i <= last; i += 2) {
        // An odd last point pairs with itself at weight 0, which adds exact zeros.
        const std::int32_t k = i < last ? i + 1 : i;
        const double keep = i < last ? 1.0 : 0.0;
        const Pair x1 = Pair{mx[i], mx[k]} - c1;
        const Pair x2 = Pair{my[i], my[k]} - c2;
        const Pair x3 = Pair{mz[i], mz[k]} - c3;
        const std::int32_t r = 3 * i - 2, rk = 3 * k - 2;
        const Pair p1 = {P(r, 1), P(rk, 1) * keep};
        const Pair p2 = {P(r + 1, 1), P(rk + 1, 1) * keep};
        const Pair p3 = {P(r + 2, 1), P(rk + 2, 1) * keep};
        const Pair l1 = ((Pair{ox[i], ox[k]} - d1) - ((q11 * x1 + q12 * x2 + q13 * x3) + t1)) * p1;
        const Pair l2 = ((Pair{oy[i], oy[k]} - d2) - ((q21 * x1 + q22 * x2 + q23 * x3) + t2)) * p2;
        const Pair l3 = ((Pair{oz[i], oz[k]} - d3) - ((q31 * x1 + q32 * x2 + q33 * x3) + t3)) * p3;
        pl1 += l1, pl2 += l2, pl3 += l3;
        s11 += l1 * x1, s12 += l1 * x2, s13 += l1 * x3;
        s21 += l2 * x1, s22 += l2 * x2, s23 += l2 * x3;
        s31 += l3 * x1, s32 += l3 * x2, s33 += l3 * x3;
        if constexpr (kMoments) {
            // A zero weight adds exact zeros: no test needed.
            const Pair x[3] = {x1, x2, x3};
            const Pair p[3] = {p1, p2, p3};
            for (int j = 0; j < 3; ++j) {
                mp[j] += p[j];
                for (int a = 0; a < 3; ++a) {
                    const Pair pa = p[j] * x[a];
                    mpx[j][a] += pa;
                    for (int b = a; b < 3; ++b) mpxx[j][a][b] += pa * x[b];
                }
            }
        }
    }
    sums.pl[1] += laneSum(pl1), sums.pl[2] += laneSum(pl2), sums.pl[3] += laneSum(pl3);
    sums.plx[1][1] += laneSum(s11), sums.plx[1][2] += laneSum(s12), sums.plx[1][3] += laneSum(s13);
    sums.plx[2][1] += laneSum(s21), sums.plx[2][2] += laneSum(s22), sums.plx[2][3] += laneSum(s23);
    sums.plx[3][1] += laneSum(s31), sums.plx[3][2] += laneSum(s32), sums.plx[3][3] += laneSum(s33);
    if constexpr (kMoments) {
        for (int j = 0; j < 3; ++j) {
            moments->p[j + 1] += laneSum(mp[j]);
            for (int a = 0; a < 3; ++a) {
                moments->px[j + 1][a + 1] += laneSum(mpx[j][a]);
                for (int b = a; b < 3; ++b) moments->pxx[j + 1][a + 1][b + 1] += laneSum(mpxx[j][a][b]);
            }
        }
    }
}

}  // namespace

void DesignRowBuilder::sumMisclosures(std::int32_t first, std::int32_t last, const Matrix& P,
                                      MisclosureSums& sums, OrdinaryMoments* moments) const {
    requireOrdinary(layout_);
    if (first < 1 || last > job_.IdenticalCount || P.rows() < 3 * last || P.cols() < 1)
        throw std::out_of_range("sumMisclosures: points outside 1..IdenticalCount");
    if (moments)
        sumMisclosurePass<true>(job_, first, last, P, origin_, q_, t_, sums, moments);
    else
        sumMisclosurePass<false>(job_, first, last, P, origin_, q_, t_, sums, nullptr);
}

void DesignRowBuilder::addOrdinaryRightHandSide(const MisclosureSums& sums, NormalEquations& eq) const {
    requireOrdinary(layout_);
    for (int c = 1; c <= layout_.nU13; ++c) {
        const auto cz = static_cast<std::size_t>(c);
        if (const int u = unitRow_[cz]) {
            eq.addToRightHandSide(c, sums.pl[u]);
            continue;
        }
        double w = 0.0;
        for (int j = 1; j <= 3; ++j) {
            w += dot3(columnMatrix_[cz][static_cast<std::size_t>(j)].data(), sums.plx[j]);
            if (heldAxis_[j]) w += heldShift_[j][c] * sums.pl[j];
        }
        eq.addToRightHandSide(c, w);
    }
}

void DesignRowBuilder::combinedCorrections(const Matrix& x, WorkMatrix& D, double shift[4]) const {
    // The translations' corrections, the columns' matrices combined with their corrections, and
    // for a held translation's row the columns at the origin's MCS point.
    D = WorkMatrix{};
    for (int j = 0; j <= 3; ++j) shift[j] = 0.0;
    for (int c = 1; c <= layout_.nU13; ++c) {
        const auto cz = static_cast<std::size_t>(c);
        const double xc = x(c, 1);
        if (const int u = unitRow_[cz]) {
            shift[u] += xc;
            continue;
        }
        for (int j = 1; j <= 3; ++j) {
            const auto jz = static_cast<std::size_t>(j);
            for (int m = 1; m <= 3; ++m)
                D[jz][static_cast<std::size_t>(m)] += columnMatrix_[cz][jz][static_cast<std::size_t>(m)] * xc;
            if (heldAxis_[j]) shift[j] += heldShift_[j][c] * xc;
        }
    }
}

bool DesignRowBuilder::ordinaryResidualsStayFinite(double largestCoordinate, const Matrix& x) const {
    WorkMatrix D;
    double shift[4];
    combinedCorrections(x, D, shift);
    // Points and OCS points taken from the local origin are at most twice the largest coordinate.
    const double size = 2.0 * largestCoordinate;
    double bound = 0.0;
    for (int j = 1; j <= 3; ++j) {
        double rowSum = 1.0;
        for (int m = 1; m <= 3; ++m)
            rowSum += std::fabs(q_[static_cast<std::size_t>(j)][static_cast<std::size_t>(m)]) +
                      std::fabs(D[static_cast<std::size_t>(j)][static_cast<std::size_t>(m)]);
        bound = std::max(bound, size * rowSum + std::fabs(t_[j]) + std::fabs(shift[j]));
    }
    return std::isfinite(bound) && bound < 1e300;
}

void DesignRowBuilder::ordinaryResiduals(std::int32_t first, std::int32_t last, const Matrix& x,
                                         Matrix& v) const {
    requireOrdinary(layout_);
    if (first < 1 || last > job_.IdenticalCount || x.rows() < layout_.nU || v.rows() < 3 * last || v.cols() < 1)
        throw std::out_of_range("ordinaryResiduals: points outside 1..IdenticalCount");
    WorkMatrix D;
    double shift[4];
    combinedCorrections(x, D, shift);
    const double* mx = job_.MCS_X.data();
    const double* my = job_.MCS_Y.data();
    const double* mz = job_.MCS_Z.data();
    const double* ox = job_.OCS_X.data();
    const double* oy = job_.OCS_Y.data();
    const double* oz = job_.OCS_Z.data();
    // Everything the loop reads into locals: the stores into v could otherwise be taken to change
    // the builder's own numbers, which would then be read again for every point.
    const WorkMatrix q = q_;
    const double c1 = origin_.mcs[1], c2 = origin_.mcs[2], c3 = origin_.mcs[3];
    const double d1 = origin_.ocs[1], d2 = origin_.ocs[2], d3 = origin_.ocs[3];
    const double t1 = t_[1], t2 = t_[2], t3 = t_[3];
    const double s1 = shift[1], s2 = shift[2], s3 = shift[3];
    const double D11 = D[1][1], D12 = D[1][2], D13 = D[1][3];
    const double D21 = D[2][1], D22 = D[2][2], D23 = D[2][3];
    const double D31 = D[3][1], D32 = D[3][2], D33 = D[3][3];
    for (std::int32_t i = first; i <= last; i += 2) {
        // Two points side by side; an odd last point pairs with itself and is stored once.
        const std::int32_t k = i < last ? i + 1 : i;
        const Pair x1 = Pair{mx[i], mx[k]} - c1;
        const Pair x2 = Pair{my[i], my[k]} - c2;
        const Pair x3 = Pair{mz[i], mz[k]} - c3;
        const Pair r1 = ((D11 * x1 + D12 * x2 + D13 * x3) + s1) -
                        ((Pair{ox[i], ox[k]} - d1) - ((q[1][1] * x1 + q[1][2] * x2 + q[1][3] * x3) + t1));
        const Pair r2 = ((D21 * x1 + D22 * x2 + D23 * x3) + s2) -
                        ((Pair{oy[i], oy[k]} - d2) - ((q[2][1] * x1 + q[2][2] * x2 + q[2][3] * x3) + t2));
        const Pair r3 = ((D31 * x1 + D32 * x2 + D33 * x3) + s3) -
                        ((Pair{oz[i], oz[k]} - d3) - ((q[3][1] * x1 + q[3][2] * x2 + q[3][3] * x3) + t3));
        const std::int32_t r = 3 * i - 2;
        v(r, 1) = r1[0];
        v(r + 1, 1) = r2[0];
        v(r + 2, 1) = r3[0];
        if (k != i) {
            v(r + 3, 1) = r1[1];
            v(r + 4, 1) = r2[1];
            v(r + 5, 1) = r3[1];
        }
    }
}

void DesignRowBuilder::columnsAt(const double x[4], double a[3][kParamCount + 1]) const {
    for (int c = 1; c <= layout_.nU13; ++c) {
        const auto cz = static_cast<std::size_t>(c);
        if (const int u = unitRow_[cz]) {
            for (int j = 0; j < 3; ++j) a[j][cz] = (j + 1 == u) ? 1.0 : 0.0;
        } else {
            double p[4];
            apply(columnMatrix_[cz], x, p);
            a[0][cz] = p[1];
            a[1][cz] = p[2];
            a[2][cz] = p[3];
        }
    }
}

bool DesignRowBuilder::reachesRow(std::int32_t c, int j) const {
    if (c < 1 || c > layout_.nU || j < 1 || j > 3) return false;
    if (c > layout_.nU13) {
        // R Dist enters the distance rows only; the offset vector the rows of the use-ABC terms.
        if (layout_.isFloat[kRDist]) return layout_.distanceRows;
        return layout_.useAbcTerms;
    }
    const auto cz = static_cast<std::size_t>(c);
    if (const int u = unitRow_[cz]) return u == j;
    const auto& row = columnMatrix_[cz][static_cast<std::size_t>(j)];
    return row[1] != 0.0 || row[2] != 0.0 || row[3] != 0.0;
}

void buildDesignMatrix(JobState& job, const EngineControls& controls, const ParamStates& states, Matrix& A,
                       Matrix& l) {
    DesignRowBuilder builder(job, controls, states);
    const DesignLayout& lay = builder.layout();
    const std::int32_t n = job.IdenticalCount;
    const std::int32_t nObs = 3 * n;
    if (A.rows() < nObs || A.cols() < lay.nU || l.rows() < nObs || l.cols() < 1)
        throw std::out_of_range("BuildAMatrix: A or l smaller than the observations and unknowns");
    if (lay.rDistMode)
        for (std::int32_t r = 1; r <= nObs; ++r)
            for (std::int32_t c = 1; c <= lay.nU; ++c) A(r, c) = 0.0;

    PointRows rows;
    for (std::int32_t i = 1; i <= n; ++i) {
        builder.build(i, rows);
        const std::int32_t r = 3 * i - 2;
        for (int j = 0; j < 3; ++j) l(r + j, 1) = rows.l[j];
        if (lay.rDistMode) {
            if (lay.distanceRows) {
                for (std::int32_t c = 1; c <= lay.nU; ++c) A(i, c) = rows.d[c];
                l(i, 1) = rows.dl;
            }
        } else {
            for (int j = 0; j < 3; ++j)
                for (std::int32_t c = 1; c <= lay.nU; ++c) A(r + j, c) = rows.a[j][c];
        }
    }
}

}  // namespace kal
