#include "engine/LeastSquares.h"

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

// One least-squares step streamed over the points: the rows of each point go into the normal
// equations as they are built, and are built once more for the residuals v = A·x - l.
class StreamedStep {
  public:
    StreamedStep(JobState& job, const ParamStates& states, const Matrix& P, EngineContext& ctx)
        : job_(job), states_(states), P_(P), ctx_(ctx) {}

    void run(DesignRowBuilder& builder, std::int32_t finishedIterations, std::vector<double>& v, Matrix& Qxx,
             Matrix& x) {
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
        phase(kTextInversion);
        const Matrix N = eq.normalMatrix();
        const Matrix w = eq.rightHandSide();
        phase(kTextAtPl);
        phase(kTextResults);
        std::int32_t dependent = 0;
        try {
            solveNormalEquations(N, w, nU, Qxx, x, &dependent);
        } catch (const NumericError&) {
            if (dependent == 0) throw;
            throw NumericError(std::string("The used points cannot determine \"") +
                               parameterCaption(slotOfUnknown(states_, dependent)) +
                               "\" together with the other estimated parameters (the normal equations are "
                               "singular).");
        }
        phase(kTextCorrections);
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
    EngineContext& ctx_;
};

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
        job.Params[kRvecX] = job.Params[kRvecY] = job.Params[kRvecZ] = 0.0;
        ctx.poll();
        calculateSeed(job, job.Params[kTraX], job.Params[kTraY], job.Params[kTraZ], job.Params[kRotX],
                      job.Params[kRotY], job.Params[kRotZ], job.Params[kScaleX], job.Params[kScaleY],
                      job.Params[kScaleZ], ctx.seedValues);
        applyStartValues(job, ParamState, ctx.controls);

        const double thr = job.IterationThreshold != 0.0 ? job.IterationThreshold : 1e-9;
        const bool logCorrections = ctx.controls.CheckRDist == 1;
        std::string log;
        std::vector<double> vWork(static_cast<std::size_t>(nObs + 1), 0.0);
        Matrix QxxWork, x;
        StreamedStep step(job, ParamState, P, ctx);
        std::int32_t j = 0, p = 0;
        double m = 0.0, pm = 0.0;
        bool rDistMode = false;
        do {
            ctx.poll();
            ctx.setPanel(2, kTextBuildMatrix);
            ctx.poll();
            DesignRowBuilder builder(job, ctx.controls, ParamState);
            rDistMode = builder.layout().rDistMode;
            ctx.setPanel(2, kTextStartStep);
            ctx.poll();
            step.run(builder, out.H3D_Zaehler, vWork, QxxWork, x);

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
