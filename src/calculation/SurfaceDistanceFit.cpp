#include "calculation/SurfaceDistanceFit.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "engine/CalcRefused.h"
#include "engine/DesignMatrix.h"
#include "engine/TransformModel.h"
#include "shared/Errors.h"
#include "shared/MatrixOps.h"
#include "shared/Vectors.h"

namespace kal {

namespace {

using Square = SurfaceDistanceFit::Square;
using Column = SurfaceDistanceFit::Column;

// Damping factors: after a correction is taken the step comes nearer to Gauss–Newton, after one is
// refused it gets shorter. The floor keeps the scaled system well away from singular; the ceiling
// only guards the trial loop (the correction is far below any limit long before).
constexpr double kDampingDown = 0.1;
constexpr double kDampingUp = 10.0;
constexpr double kDampingFloor = 1e-12;
constexpr int kMaxTrials = 60;
// Events are let through (by the context's 50 ms clock) every so many points of a pass.
constexpr std::int32_t kPollEveryPoints = 4096;
// Eigenvalues of the scaled normal matrix (unit diagonal, so the largest is at most u) below this
// share of the largest are directions the points do not determine.
constexpr double kRankTolerance = 1e-12;
// A parameter takes part in such a direction when its share of the (scaled, unit) direction
// exceeds this.
constexpr double kOpenShare = 1e-8;

void syncWorkingRotation(JobState& job) {
    job.RotXSeed = job.RotX();
    job.RotYSeed = job.RotY();
    job.RotZSeed = job.RotZ();
}

}  // namespace

void symmetricEigen(Square& a, Square& q, int u) {
    for (int i = 1; i <= u; ++i)
        for (int j = 1; j <= u; ++j) q[i][j] = i == j ? 1.0 : 0.0;
    for (int sweep = 0; sweep < 100; ++sweep) {
        double off = 0.0, scale = 0.0;
        for (int i = 1; i <= u; ++i) {
            scale += a[i][i] * a[i][i];
            for (int j = i + 1; j <= u; ++j) off += a[i][j] * a[i][j];
        }
        if (off <= 1e-32 * scale || off == 0.0) return;
        for (int p = 1; p <= u; ++p)
            for (int r = p + 1; r <= u; ++r) {
                if (a[p][r] == 0.0) continue;
                const double theta = (a[r][r] - a[p][p]) / (2.0 * a[p][r]);
                const double t =
                    (theta >= 0 ? 1.0 : -1.0) / (std::fabs(theta) + std::sqrt(theta * theta + 1.0));
                const double c = 1.0 / std::sqrt(t * t + 1.0), s = t * c;
                for (int k = 1; k <= u; ++k) {  // a := a·J
                    const double akp = a[k][p], akr = a[k][r];
                    a[k][p] = c * akp - s * akr;
                    a[k][r] = s * akp + c * akr;
                }
                for (int k = 1; k <= u; ++k) {  // a := Jᵀ·a
                    const double apk = a[p][k], ark = a[r][k];
                    a[p][k] = c * apk - s * ark;
                    a[r][k] = s * apk + c * ark;
                }
                for (int k = 1; k <= u; ++k) {
                    const double qkp = q[k][p], qkr = q[k][r];
                    q[k][p] = c * qkp - s * qkr;
                    q[k][r] = s * qkp + c * qkr;
                }
            }
    }
}

namespace {

// The slots of the unknowns 1..u in column order (slots 1..13 that float).
std::vector<int> unknownSlots(const DesignLayout& layout) {
    std::vector<int> slots{0};
    for (int slot = 1; slot <= 13; ++slot)
        if (layout.isFloat[static_cast<std::size_t>(slot)]) slots.push_back(slot);
    return slots;
}

// Adds the corrections as the solver does: angles kept in (-π, π], scale xyz driving the three
// axis scales.
void applyCorrections(JobState& job, const std::vector<int>& slots, const Column& x) {
    auto& p = job.Params;
    for (std::size_t c = 1; c < slots.size(); ++c) addCorrection(p, slots[c], x[c]);
    syncWorkingRotation(job);
}

bool weighs(const Matrix& P, std::int32_t k) {
    return P(3 * k - 2, 1) != 0.0 || P(3 * k - 1, 1) != 0.0 || P(3 * k, 1) != 0.0;
}

}  // namespace

double normalWeight(const SurfaceFoot& foot, double px, double py, double pz) {
    return px * foot.nx * foot.nx + py * foot.ny * foot.ny + pz * foot.nz * foot.nz;
}

SurfaceDistanceFit::SurfaceDistanceFit(JobState& job, EngineContext& engine, const Matrix& P, double limit,
                                       bool weighedOnly)
    : job_(job),
      engine_(engine),
      controls_(engine.controls),
      P_(P),
      limit_(limit),
      weighedOnly_(weighedOnly) {
    const DesignLayout layout = decideDesignLayout(job, controls_, job.ParamState);
    if (layout.rDistMode || layout.useAbcTerms || layout.offsetColumns || layout.nU != layout.nU13)
        throw CalcRefused("The surface fit estimates no R Dist and no offset vector: untick them.");
    if (P.rows() < 3 * job.IdenticalCount)
        throw CalcRefused("The weights do not cover the identical points.");
}

double SurfaceDistanceFit::evaluate(std::vector<SurfaceFoot>& feet) {
    const JobState& job = job_;
    const std::int32_t n = job.IdenticalCount;
    feet.resize(static_cast<std::size_t>(n + 1));
    const PointTransform model(job);
    double sum = 0.0;
    for (std::int32_t k = 1; k <= n; ++k) {
        if (k % kPollEveryPoints == 0) engine_.poll();
        if (weighedOnly_ && !weighs(P_, k)) continue;
        double t[3];
        model.apply(job.MCS_X[k], job.MCS_Y[k], job.MCS_Z[static_cast<std::size_t>(k)], t[0], t[1], t[2]);
        SurfaceFoot& f = feet[static_cast<std::size_t>(k)];
        f = surfaceFootPoint(job.ShapeProfile, t[0], t[1], t[2]);
        const double r[3] = {t[0] - f.x, t[1] - f.y, t[2] - f.z};
        for (int j = 0; j < 3; ++j) sum += P_(3 * k - 2 + j, 1) * r[j] * r[j];
    }
    return checkedFinite(sum, "the sum of squared surface distances");
}

SurfaceDistanceFit::Linearisation SurfaceDistanceFit::linearise() {
    JobState& job = job_;
    const std::int32_t n = job.IdenticalCount;
    Linearisation lin;
    // J_k = nᵀ·∂t/∂p, d_k = nᵀ·(t - foot) at the current parameters and foot points.
    DesignRowBuilder builder(job, controls_, job.ParamState);
    lin.slots = unknownSlots(builder.layout());
    const int u = static_cast<int>(lin.slots.size()) - 1;
    Square N{};
    Column g{};
    {
        const PointTransform model(job);
        double a[3][kParamCount + 1];
        for (std::int32_t k = 1; k <= n; ++k) {
            if (k % kPollEveryPoints == 0) engine_.poll();
            if (!weighs(P_, k)) continue;
            const auto kz = static_cast<std::size_t>(k);
            const SurfaceFoot& f = feet_[kz];
            const double w = normalWeight(f, P_(3 * k - 2, 1), P_(3 * k - 1, 1), P_(3 * k, 1));
            if (w == 0.0) continue;
            const double x[4] = {0.0, job.MCS_X[k], job.MCS_Y[k], job.MCS_Z[kz]};
            builder.columnsAt(x, a);
            double t[3];
            model.apply(x[1], x[2], x[3], t[0], t[1], t[2]);
            const double d = f.nx * (t[0] - f.x) + f.ny * (t[1] - f.y) + f.nz * (t[2] - f.z);
            Column row{};
            for (int c = 1; c <= u; ++c) row[c] = f.nx * a[0][c] + f.ny * a[1][c] + f.nz * a[2][c];
            for (int c = 1; c <= u; ++c) {
                g[c] += w * row[c] * d;
                for (int e = c; e <= u; ++e) N[c][e] += w * row[c] * row[e];
            }
        }
    }
    for (int c = 1; c <= u; ++c)
        for (int e = 1; e < c; ++e) N[c][e] = N[e][c];

    // Scaled by the diagonal, so that millimetres and radians weigh alike in the damping.
    for (int c = 1; c <= u; ++c) {
        checkedFinite(N[c][c], "the normal equations of the surface fit");
        lin.scale[c] = N[c][c] > 0.0 ? 1.0 / std::sqrt(N[c][c]) : 0.0;
    }
    Column gs{};
    for (int c = 1; c <= u; ++c) {
        gs[c] = g[c] * lin.scale[c];
        for (int e = 1; e <= u; ++e) lin.eigen[c][e] = N[c][e] * lin.scale[c] * lin.scale[e];
    }
    symmetricEigen(lin.eigen, lin.vectors, u);
    double largestEigen = 0.0;
    for (int c = 1; c <= u; ++c) largestEigen = std::max(largestEigen, lin.eigen[c][c]);
    for (int k = 1; k <= u; ++k) {
        lin.open[k] = !(lin.eigen[k][k] > kRankTolerance * largestEigen);
        if (lin.open[k]) continue;
        for (int c = 1; c <= u; ++c) lin.projected[k] += lin.vectors[c][k] * gs[c];
    }
    return lin;
}

std::array<bool, kParamCount + 1> SurfaceDistanceFit::undeterminedSlots() {
    syncWorkingRotation(job_);
    evaluate(feet_);
    const Linearisation lin = linearise();
    const int u = static_cast<int>(lin.slots.size()) - 1;
    std::array<bool, kParamCount + 1> out{};
    for (int k = 1; k <= u; ++k) {
        if (!lin.open[k]) continue;
        // The direction is a unit vector of the scaled parameters: a share this small moves no
        // point by more than rounding.
        for (int c = 1; c <= u; ++c)
            if (std::fabs(lin.vectors[c][k]) > kOpenShare) out[static_cast<std::size_t>(lin.slots[c])] = true;
    }
    return out;
}

void SurfaceDistanceFit::pointCofactors(Matrix& Q) {
    JobState& job = job_;
    syncWorkingRotation(job);
    DesignRowBuilder builder(job, controls_, job.ParamState);
    const std::vector<int> slots = unknownSlots(builder.layout());
    const auto u = static_cast<std::int32_t>(slots.size()) - 1;
    Matrix N(u, u);
    double a[3][kParamCount + 1];
    for (std::int32_t k = 1; k <= job.IdenticalCount; ++k) {
        if (k % kPollEveryPoints == 0) engine_.poll();
        const auto kz = static_cast<std::size_t>(k);
        const double x[4] = {0.0, job.MCS_X[k], job.MCS_Y[k], job.MCS_Z[kz]};
        builder.columnsAt(x, a);
        for (int i = 0; i < 3; ++i) {
            const double w = P_(3 * k - 2 + i, 1);
            if (w == 0.0) continue;
            for (std::int32_t c = 1; c <= u; ++c)
                for (std::int32_t e = c; e <= u; ++e) N(c, e) += w * a[i][c] * a[i][e];
        }
    }
    for (std::int32_t c = 1; c <= u; ++c)
        for (std::int32_t e = 1; e < c; ++e) N(c, e) = N(e, c);
    Q.resize(u, u);
    matInvert(N, u, u, Q);
}

SurfaceFitStep SurfaceDistanceFit::step() {
    JobState& job = job_;
    syncWorkingRotation(job);
    const double before = evaluate(feet_);
    const Linearisation lin = linearise();
    const std::vector<int>& slots = lin.slots;
    const int u = static_cast<int>(slots.size()) - 1;
    const Square& Ns = lin.eigen;
    const Square& Q = lin.vectors;
    const Column& projected = lin.projected;
    const Column& scale = lin.scale;

    const auto start = job.Params;
    SurfaceFitStep out;
    out.sumOfSquares = before;
    for (int trial = 0; trial < kMaxTrials; ++trial) {
        Column x{};
        out.largestCorrection = 0.0;
        for (int c = 1; c <= u; ++c) {
            double xs = 0.0;
            for (int k = 1; k <= u; ++k)
                if (projected[k] != 0.0) xs -= Q[c][k] * projected[k] / (Ns[k][k] + damping_);
            x[c] = xs * scale[c];
            out.largestCorrection = std::max(out.largestCorrection, std::fabs(x[c]));
        }
        checkedFinite(out.largestCorrection, "the corrections of the surface fit");
        const bool belowLimit = out.largestCorrection < limit_;
        double after = before;
        bool taken = false;
        try {
            applyCorrections(job, slots, x);
            after = evaluate(trialFeet_);
            taken = after < before;
        } catch (const NumericError&) {
            taken = false;  // a correction that throws the points out of range is too long
        }
        if (taken) {
            feet_.swap(trialFeet_);
            out.moved = true;
            out.converged = belowLimit;
            out.sumOfSquares = after;
            damping_ = std::max(damping_ * kDampingDown, kDampingFloor);
            return out;
        }
        job.Params = start;
        syncWorkingRotation(job);
        if (belowLimit) {
            // Even a correction below the limit does not lower the sum: the parameters stand.
            out.converged = true;
            return out;
        }
        damping_ *= kDampingUp;
    }
    out.stuck = true;
    return out;
}

}  // namespace kal
