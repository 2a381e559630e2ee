#include "engine/LeastSquares.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "engine/CalcRefused.h"
#include "engine/DesignMatrix.h"
#include "engine/LeastSquareStep.h"
#include "engine/NormalEquations.h"
#include "engine/SeedSolution.h"
#include "engine/StartValues.h"
#include "shared/Errors.h"
#include "shared/NumberText.h"
#include "shared/Vectors.h"

namespace kal {

namespace {

constexpr const char* kTextBuildMatrix = "... calculating Matrix for LeastSquare calc...";
constexpr const char* kTextStartStep = "... start of Least Square calc...";
constexpr const char* kUnchanged = " The calculation was stopped; the parameters are as they were before it.";
// Let events through and repaint every so many points inside a long pass.
constexpr std::int32_t kPollEveryPoints = 16384;

// Slot of unknown u (1-based column) under the column rule over slots 1..17.
int slotOfUnknown(const ParamStates& states, std::int32_t u) {
    std::int32_t seen = 0;
    for (int k = 1; k <= kParamCount; ++k)
        if (isFloatState(states[static_cast<std::size_t>(k)]) && ++seen == u) return k;
    return 0;
}

// The weights the observations carry, summed per kind of row: what an unknown can be seen in.
struct RowWeights {
    double axis[4]{};       // ordinary rows of x, y, z (1..3)
    double distance = 0.0;  // distance rows: each point's z weight
};

RowWeights sumRowWeights(const Matrix& P, std::int32_t n) {
    RowWeights w;
    for (std::int32_t i = 1; i <= n; ++i)
        for (int j = 1; j <= 3; ++j) w.axis[j] += std::fabs(P(3 * i - 3 + j, 1));
    w.distance = w.axis[3];
    return w;
}

// One least-squares step streamed over the points: the rows of each point go into the normal
// equations as they are built, in one pass. The residuals v = A·x - l are needed only for the
// last step: residuals() builds them once, after the iteration has ended.
class StreamedStep {
  public:
    StreamedStep(JobState& job, const ParamStates& states, const Matrix& P, const RowWeights& weights,
                 EngineContext& ctx)
        : job_(job), states_(states), P_(P), weights_(weights), ctx_(ctx) {}

    // With `moments` (ordinary rows only), the normal equations come from the points' sums instead
    // of a pass over the points.
    void run(DesignRowBuilder& builder, std::int32_t finishedIterations, Matrix& Qxx, Matrix& x,
             const OrdinaryMoments* moments = nullptr) {
        const DesignLayout& lay = builder.layout();
        const std::int32_t n = job_.IdenticalCount;
        const std::int32_t nU = lay.nU;
        ctx_.setPanel(1, iterationText(finishedIterations));
        ctx_.poll();
        phase(kTextTranspose);
        phase(kTextAtP);
        phase(kTextAtPA);
        NormalEquations eq(nU);
        PointRows rows;
        if (moments) {
            builder.addOrdinaryRows(*moments, eq);
        } else if (!lay.rDistMode && !lay.useAbcTerms) {
            for (std::int32_t first = 1; first <= n; first += kPollEveryPoints) {
                builder.addOrdinaryRows(first, std::min(n, first + kPollEveryPoints - 1), P_, eq);
                if (first + kPollEveryPoints <= n) ctx_.poll();
            }
        } else {
            for (std::int32_t i = 1; i <= n; ++i) {
                builder.build(i, rows);
                if (lay.rDistMode) {
                    // Point i's distance observation weighs what its z coordinate weighs.
                    if (lay.distanceRows) eq.addRow(rows.d, rows.dl, P_(3 * i, 1));
                } else {
                    const std::int32_t r = 3 * i - 2;
                    for (int j = 0; j < 3; ++j) eq.addRow(rows.a[j], rows.l[j], P_(r + j, 1));
                }
                if (i % kPollEveryPoints == 0) ctx_.poll();
            }
        }
        phase(kTextInversion);
        const Matrix N = eq.normalMatrix();
        const Matrix w = eq.rightHandSide();
        refuseUnseenUnknowns(builder, N);
        phase(kTextAtPl);
        phase(kTextResults);
        std::int32_t dependent = 0;
        try {
            solveNormalEquations(N, w, nU, Qxx, x, &dependent);
        } catch (const NumericError&) {
            if (dependent == 0) throw;
            if (lay.isFloat[kRotX] && lay.isFloat[kRotZ] &&
                std::fabs(std::cos(job_.RotYSeed)) < kGimbalCosine)
                throw NumericError(
                    std::string("rot y' stands at ") + (std::sin(job_.RotYSeed) > 0 ? "+" : "-") +
                    "90°, the singular position of the angle sequence rot x, rot y', rot z'': there rot x "
                    "and rot z'' turn about one and the same axis, so no set of points can tell them apart. "
                    "Hold one of rot x, rot z'' (for instance at 0) and calculate again.");
            throw NumericError(std::string("The used points cannot determine \"") +
                               parameterCaption(slotOfUnknown(states_, dependent)) +
                               "\" together with the other estimated parameters (the normal equations are "
                               "singular).");
        }
        phase(kTextCorrections);
    }

    // v = A·x - l of the step that `builder` linearised, with its corrections x.
    void residuals(DesignRowBuilder& builder, const Matrix& x, std::vector<double>& v) {
        const DesignLayout& lay = builder.layout();
        const std::int32_t n = job_.IdenticalCount;
        const std::int32_t nU = lay.nU;
        PointRows rows;
        for (std::int32_t i = 1; i <= n; ++i) {
            builder.build(i, rows);
            const std::int32_t r = 3 * i - 2;
            if (lay.rDistMode) {
                // Rows of A other than the distance rows are zero: their residuals are the negated
                // ordinary misclosures.
                for (int j = 0; j < 3; ++j)
                    if (!lay.distanceRows || r + j > n) v[static_cast<std::size_t>(r + j)] = 0.0 - rows.l[j];
                if (lay.distanceRows) v[static_cast<std::size_t>(i)] = combine(rows.d, x, nU) - rows.dl;
            } else {
                for (int j = 0; j < 3; ++j)
                    v[static_cast<std::size_t>(r + j)] = combine(rows.a[j], x, nU) - rows.l[j];
            }
            if (i % kPollEveryPoints == 0) ctx_.poll();
        }
        for (std::size_t k = 1; k < v.size(); ++k) checkedFinite(v[k], "the residuals");
    }

  private:
    // Within this of cos(rot y') = 0 a dependence between rot x and rot z'' is the angle sequence's,
    // not the points': the dependence test meets it only closer than about 3e-7.
    static constexpr double kGimbalCosine = 1e-6;

    // An estimated unknown whose normal-matrix diagonal is 0 has a zero column on every weighted
    // row. When the model does not depend on it at all (its derivative is zero, as Azimuth z with z
    // to xy at 0), or every row it enters has weight 0, it has no observation: the inversion gives
    // it 1e12 and no correction, and that is no failure. When it does enter weighted rows and
    // still every one of them is 0, the points themselves leave it open (every used point at one
    // spot): refused like any other unknown the points cannot determine.
    void refuseUnseenUnknowns(const DesignRowBuilder& builder, const Matrix& N) const {
        const DesignLayout& lay = builder.layout();
        for (std::int32_t c = 1; c <= lay.nU; ++c) {
            if (N(c, c) != 0.0) continue;
            double seen = 0.0;
            if (lay.distanceRows) {
                for (int j = 1; j <= 3; ++j)
                    if (builder.reachesRow(c, j)) seen = weights_.distance;
            } else if (!lay.rDistMode) {
                for (int j = 1; j <= 3; ++j)
                    if (builder.reachesRow(c, j)) seen += weights_.axis[j];
            }
            if (seen > 0.0)
                throw NumericError(std::string("The used points cannot determine \"") +
                                   parameterCaption(slotOfUnknown(states_, c)) +
                                   "\": changing it moves none of them (all used points lie at one spot).");
        }
    }

    void phase(const char* text) {
        ctx_.setPanel(2, text);
        ctx_.poll();
    }

    // A(k, 1..u)·x in column order.
    static double combine(const double* a, const Matrix& x, std::int32_t nU) {
        double s = 0.0;
        for (std::int32_t c = 1; c <= nU; ++c) s += a[c] * x(c, 1);
        return s;
    }

    JobState& job_;
    const ParamStates& states_;
    const Matrix& P_;
    const RowWeights& weights_;
    EngineContext& ctx_;
};

// A large number in exponent form with up to seven significant digits: "1E+300", "1.5E+12".
std::string exponentText(double value) {
    std::string text = formatNumber(value, "0.######E+00");
    const std::size_t e = text.find('E');
    if (e != std::string::npos && e > 0 && (text[e - 1] == '.' || text[e - 1] == ',')) text.erase(e - 1, 1);
    return text;
}

// Refuses a coordinate (or, with the use-ABC terms, a robot angle) that is not a finite number, and a
// coordinate beyond kLargestCoordinate, naming the point and the coordinate. Returns the local
// origin of the solve in the same pass: the centroids of the identical points when all three
// translations are estimated (only then is the translation free to stand for the one at the
// centroids), else the zero origin.
PointOrigin checkInputAndChooseOrigin(const JobState& job, const DesignLayout& lay) {
    auto pointText = [&](std::int32_t i, bool mcs) {
        const auto& names = mcs ? job.MCS_Name : job.OCS_Name;
        const std::string name = static_cast<std::size_t>(i) < names.size()
                                     ? names[static_cast<std::size_t>(i)]
                                     : std::to_string(i);
        return std::string(mcs ? "MCS" : "OCS") + " point \"" + name + "\"";
    };
    auto refuse = [&](std::int32_t i, bool mcs, const char* what, double value) {
        throw CalcRefused(pointText(i, mcs) + ": its " + what + " is " +
                          (std::isnan(value) ? "not a number (NaN)" : "infinite") +
                          ". Correct the point or clear its use flags, and calculate again.");
    };
    // Every identical point enters the sums of the solve, whatever its use flags, so the advice
    // is to correct the point.
    auto refuseMagnitude = [&](std::int32_t i, bool mcs, const char* what, double value) {
        const double f = job.LengthFactor > 0.0 && std::isfinite(job.LengthFactor) ? job.LengthFactor : 1.0;
        const std::string unit = f == job.LengthFactor ? job.LengthUnitName : std::string("millimeter");
        throw CalcRefused(pointText(i, mcs) + ": its " + what + " " + exponentText(value * f) + " " + unit +
                          " is too large for a calculation: coordinates are limited to \u00b1" +
                          exponentText(kLargestCoordinate * f) + " " + unit +
                          ". Correct the point, and calculate again.");
    };
    const std::int32_t n = job.IdenticalCount;
    const double* mx = job.MCS_X.data();
    const double* my = job.MCS_Y.data();
    const double* mz = job.MCS_Z.data();
    const double* ox = job.OCS_X.data();
    const double* oy = job.OCS_Y.data();
    const double* oz = job.OCS_Z.data();
    double sum[7] = {0, 0, 0, 0, 0, 0, 0};
    for (std::int32_t i = 1; i <= n; ++i) {
        const double c[7] = {0.0, mx[i], my[i], mz[i], ox[i], oy[i], oz[i]};
        for (int k = 1; k <= 6; ++k) sum[k] += c[k];
        static const char* const kWhat[4] = {"", "x coordinate", "y coordinate", "z coordinate"};
        if (!std::isfinite(c[1] + c[2] + c[3] + c[4] + c[5] + c[6])) {
            for (int k = 1; k <= 6; ++k)
                if (!std::isfinite(c[k])) refuse(i, k <= 3, kWhat[(k - 1) % 3 + 1], c[k]);
        }
        for (int k = 1; k <= 6; ++k)
            if (std::fabs(c[k]) > kLargestCoordinate) refuseMagnitude(i, k <= 3, kWhat[(k - 1) % 3 + 1], c[k]);
        if (lay.useAbcTerms && job.OcsAngles.rows() >= i && job.OcsAngles.cols() >= 3) {
            static const char* const kAngle[4] = {"", "angle A", "angle B", "angle C"};
            for (int k = 1; k <= 3; ++k)
                if (!std::isfinite(job.OcsAngles(i, k))) refuse(i, false, kAngle[k], job.OcsAngles(i, k));
        }
    }
    PointOrigin o;
    if (n < 1 || !lay.isFloat[kTraX] || !lay.isFloat[kTraY] || !lay.isFloat[kTraZ]) return o;
    for (int j = 1; j <= 3; ++j) o.mcs[j] = sum[j] / n, o.ocs[j] = sum[j + 3] / n;
    return o;
}

bool isZero(const PointOrigin& o) {
    for (int j = 1; j <= 3; ++j)
        if (o.mcs[j] != 0.0 || o.ocs[j] != 0.0) return false;
    return true;
}

// (R·K)·S·mcs with the parameters themselves: the rotation from RotX..RotZ, not the working copy.
void modelAtParameters(JobState& job, const double mcs[4], double q[4]) {
    const double sx = job.RotXSeed, sy = job.RotYSeed, sz = job.RotZSeed;
    job.RotXSeed = job.RotX(), job.RotYSeed = job.RotY(), job.RotZSeed = job.RotZ();
    const WorkMatrix m = PointTransform(job).matrix();
    job.RotXSeed = sx, job.RotYSeed = sy, job.RotZSeed = sz;
    for (int j = 1; j <= 3; ++j) q[j] = m[j][1] * mcs[1] + m[j][2] * mcs[2] + m[j][3] * mcs[3];
}

// Translation at the origin -> translation at the local origin: T' = T + Q·mcs - ocs.
void reduceTranslation(JobState& job, const PointOrigin& o) {
    double q[4];
    modelAtParameters(job, o.mcs, q);
    job.Params[kTraX] = (job.Params[kTraX] + q[1]) - o.ocs[1];
    job.Params[kTraY] = (job.Params[kTraY] + q[2]) - o.ocs[2];
    job.Params[kTraZ] = (job.Params[kTraZ] + q[3]) - o.ocs[3];
}

// And back: T = (ocs - Q·mcs) + T', Q at the final parameters.
void restoreTranslation(JobState& job, const PointOrigin& o) {
    double q[4];
    modelAtParameters(job, o.mcs, q);
    for (int j = 1; j <= 3; ++j) {
        auto& t = job.Params[static_cast<std::size_t>(kTraX + j - 1)];
        t = checkedFinite((o.ocs[j] - q[j]) + t, "the translations");
    }
}

// The cofactor matrix of the reduced unknowns -> that of the stored ones: Qxx := J·Qxx·Jᵀ with J the
// derivative of (T, p) by (T', p), T = T' + ocs - Q(p)·mcs, so J(T_j, c) = -(column c at mcs)_j. The
// translations are columns 1..3 (all three are estimated whenever the origin is used).
void restoreCofactors(const DesignRowBuilder& builder, const PointOrigin& o, Matrix& Qxx) {
    const std::int32_t u = builder.layout().nU;
    double a[3][kParamCount + 1] = {};
    builder.columnsAt(o.mcs, a);
    Matrix J(u, u);
    for (std::int32_t c = 1; c <= u; ++c) J(c, c) = 1.0;
    for (std::int32_t c = 4; c <= builder.layout().nU13; ++c)
        for (int j = 0; j < 3; ++j) J(j + 1, c) = -a[j][c];
    Matrix JQ(u, u), out(u, u);
    for (std::int32_t r = 1; r <= u; ++r)
        for (std::int32_t c = 1; c <= u; ++c) {
            double s = 0.0;
            for (std::int32_t k = 1; k <= u; ++k)
                if (J(r, k) != 0.0) s += J(r, k) * Qxx(k, c);
            JQ(r, c) = s;
        }
    for (std::int32_t r = 1; r <= u; ++r)
        for (std::int32_t c = 1; c <= u; ++c) {
            double s = 0.0;
            for (std::int32_t k = 1; k <= u; ++k)
                if (J(c, k) != 0.0) s += JQ(r, k) * J(c, k);
            out(r, c) = checkedFinite(s, "the cofactor matrix");
        }
    Qxx = std::move(out);
}

// Adds the corrections x to the parameters: a "float" slot k takes x(k - f), f the number of
// slots before it that are not "float".
void applyCorrections(JobState& job, const ParamStates& states, const Matrix& x) {
    auto& p = job.Params;
    std::int32_t f = 0;
    for (int k = 1; k <= kParamCount; ++k) {
        if (!isFloatState(states[static_cast<std::size_t>(k)])) {
            ++f;
            continue;
        }
        const double corr = x(k - f, 1);
        auto& value = p[static_cast<std::size_t>(k)];
        switch (k) {
            case kRotX:
            case kRotY:
            case kRotZ:
            case kParXY:
            case kAzimuth:
            case kZtoXY:
                value = normalizeAngle(value + corr);
                break;
            case kScaleXYZ:
                value = value + corr;
                p[kScaleX] = p[kScaleY] = p[kScaleZ] = value;
                break;
            default:
                value = value + corr;
                break;
        }
        checkedFinite(value, "the corrected parameters");
    }
}

struct Snapshot {
    std::array<double, kParamCount + 1> params;
    double rotXSeed, rotYSeed, rotZSeed;
    explicit Snapshot(const JobState& job)
        : params(job.Params), rotXSeed(job.RotXSeed), rotYSeed(job.RotYSeed), rotZSeed(job.RotZSeed) {}
    void restore(JobState& job) const {
        job.Params = params;
        job.RotXSeed = rotXSeed;
        job.RotYSeed = rotYSeed;
        job.RotZSeed = rotZSeed;
    }
};

}  // namespace

std::optional<EngineWarning> AngleUnitWarning(const JobState& job) {
    if (job.WinkelWarnungGezeigt || !job.UseAbcMode || job.AngleUnitName == "degree") return std::nullopt;
    return EngineWarning{
        EngineWarning::Kind::AngleUnits,
        "Unit of Angels in Nominal InputFile must be the SAME as in your program Settings\r\n"
        "Be sure [actual ProgramSetting is " +
            job.AngleUnitName +
            "] is the unit of Angles in Nominal File!\r\n\r\n"
            "Cancel = Don't show this Dialog again ",
        "Attention Angle UNITs"};
}

std::string convergenceRatioText(double pm, double den, const std::string& lengthFormat) {
    const std::string label = "Convergence Ratio: ";
    const double ratio = pm / den;
    if (den == 0.0 || !std::isfinite(ratio)) return label + "\u2014";
    try {
        return label + formatNumber(ratio, lengthFormat);
    } catch (const std::exception&) {  // a damaged format: the number still shows
        return label + generalText(ratio);
    }
}

HelmertOutcome solveLeastSquares(JobState& job, std::int32_t nU, std::int32_t nObs,
                                 const ParamStates& ParamState, Matrix& Qxx, Matrix& v, Matrix& P,
                                 EngineContext& ctx) {
    const std::int32_t n = job.IdenticalCount;
    if (nU != floatCount(ParamState))
        throw std::invalid_argument("CalcHelmert: nU differs from the number of estimated parameters");
    if (nObs != 3 * n || P.rows() < nObs || P.cols() < 1)
        throw std::invalid_argument("CalcHelmert: nObs or the weights do not fit the identical points");

    const Snapshot before(job);
    HelmertOutcome out;
    try {
        const DesignLayout firstLayout = decideDesignLayout(job, ctx.controls, ParamState);
        const PointOrigin origin = checkInputAndChooseOrigin(job, firstLayout);
        job.Params[kRvecX] = job.Params[kRvecY] = job.Params[kRvecZ] = 0.0;
        ctx.poll();
        calculateSeed(job, job.Params[kTraX], job.Params[kTraY], job.Params[kTraZ], job.Params[kRotX],
                      job.Params[kRotY], job.Params[kRotZ], job.Params[kScaleX], job.Params[kScaleY],
                      job.Params[kScaleZ], ctx.seedValues);
        applyStartValues(job, ParamState, ctx.controls);

        const bool reduced = !isZero(origin);
        if (reduced) reduceTranslation(job, origin);

        const double thr = job.IterationThreshold != 0.0 ? job.IterationThreshold : 1e-9;
        const bool logCorrections = ctx.controls.CheckRDist == 1;
        std::string log;
        std::vector<double> vWork(static_cast<std::size_t>(nObs + 1), 0.0);
        Matrix QxxWork, x;
        const RowWeights weights = sumRowWeights(P, n);
        StreamedStep step(job, ParamState, P, weights, ctx);
        // The ordinary rows are linear in the points: their sums, formed once, serve every iteration.
        std::optional<OrdinaryMoments> moments;
        if (!firstLayout.rDistMode && !firstLayout.useAbcTerms && nU > 0)
            moments = sumOrdinaryMoments(
                job, origin, P, [](void* c) { static_cast<EngineContext*>(c)->poll(); }, &ctx);
        std::optional<DesignRowBuilder> builder;
        std::int32_t j = 0, p = 0;
        double m = 0.0, pm = 0.0;
        bool rDistMode = false;
        do {
            ctx.poll();
            ctx.setPanel(2, kTextBuildMatrix);
            ctx.poll();
            builder.emplace(job, ctx.controls, ParamState, origin);
            rDistMode = builder->layout().rDistMode;
            ctx.setPanel(2, kTextStartStep);
            ctx.poll();
            const DesignLayout& lay = builder->layout();
            step.run(*builder, out.H3D_Zaehler, QxxWork, x,
                     (moments && !lay.rDistMode && !lay.useAbcTerms) ? &*moments : nullptr);

            if (logCorrections) {
                for (std::int32_t i = 1; i <= nU; ++i) log += generalText(x(i, 1)) + "\t";
                log += "\r\n";
            }
            ctx.poll();
            applyCorrections(job, ParamState, x);

            m = 0.0;
            for (std::int32_t i = 1; i <= nU; ++i)
                if (std::fabs(x(i, 1)) > m) {
                    m = std::fabs(x(i, 1));
                    j = i;
                }
            if (p == 0) p = 1;
            ++out.H3D_Zaehler;
            if (out.H3D_Zaehler > 1) {
                ctx.setPanel(3, convergenceRatioText(pm, thr + (p <= nU ? x(p, 1) : 0.0), job.LengthFormat));
                ctx.setPanel(4, "on VarNumber: " + std::to_string(p));
                ctx.setPanel(5, "delta x(i): " + generalText(m));
                ctx.poll();
            }
            pm = m;
            p = j;
        } while (m >= thr && out.H3D_Zaehler <= job.MaxIteration && !job.StopFlag);

        step.residuals(*builder, x, vWork);
        if (reduced) {
            restoreTranslation(job, origin);
            restoreCofactors(*builder, origin, QxxWork);
        }

        out.converged = m < thr;
        out.limitReached = out.H3D_Zaehler > job.MaxIteration;
        out.stopped = job.StopFlag && !out.converged && !out.limitReached;

        // Everything computed: hand the results over.
        if (v.rows() != nObs || v.cols() != 1) v.resize(nObs, 1);
        for (std::int32_t k = 1; k <= nObs; ++k) v(k, 1) = vWork[static_cast<std::size_t>(k)];
        Qxx = std::move(QxxWork);
        if (Qxx.rows() != nU) Qxx.resize(nU, nU);
        if (rDistMode)
            for (std::int32_t k = n; k >= 1; --k) P(3 * k - 2, 1) = P(3 * k - 1, 1) = P(3 * k, 1);
        if (logCorrections) out.correctionLog = std::move(log);
        if (out.limitReached && !out.converged)
            out.warnings.push_back({EngineWarning::Kind::IterationLimit,
                                    "Calculation stopped after " + std::to_string(job.MaxIteration) +
                                        " Iterations, Convergence not reached yet!",
                                    ""});
        return out;
    } catch (const NumericError& e) {
        before.restore(job);
        throw NumericError(std::string(e.what()) + kUnchanged);
    } catch (...) {
        before.restore(job);
        throw;
    }
}

HelmertOutcome solveLeastSquares(JobState& job, CalcResults& results, const ParamStates& ParamState,
                                 EngineContext& ctx) {
    const HelmertOutcome out =
        solveLeastSquares(job, results.UnknownCount, results.ObservationCount, ParamState,
                          results.CofactorMatrix, results.Residuals, results.Weights, ctx);
    const DesignLayout lay = decideDesignLayout(job, ctx.controls, ParamState);
    results.DistanceRowCount = lay.distanceRows ? job.IdenticalCount : 0;
    return out;
}

}  // namespace kal
