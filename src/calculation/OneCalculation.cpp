#include "calculation/OneCalculation.h"

#include <cmath>

#include "calculation/MonteCarlo.h"
#include "calculation/NormLoops.h"
#include "calculation/SeedValues.h"
#include "calculation/ShownSolve.h"
#include "engine/DesignMatrix.h"
#include "engine/Sigma.h"
#include "engine/TransformModel.h"
#include "shared/Errors.h"
#include "shared/NumberText.h"
#include "shared/Rotations.h"
#include "shared/Units.h"

namespace kal {

void rowsToParamState(const ParameterPanel& panel, ParamStates& states) {
    for (int slot = 1; slot <= kParamCount; ++slot) {
        const ParameterRow& r = panel.row(slot);
        auto& state = states[static_cast<std::size_t>(slot)];
        if (r.estimate)
            state = kStateFloat;
        else if (kRowInfo[static_cast<std::size_t>(slot)].kind == RowKind::Angle)
            state = dmsToDecimalText(r.valueText);
        else
            state = r.valueText;
    }
}

EngineControls controlsOf(const ParameterPanel& panel) {
    EngineControls c;
    c.CheckRDist = panel.row(kRDist).estimate ? 1 : 0;
    c.CheckUseABC = panel.useAbc() ? 1 : 0;
    c.TextRDistEnabled = panel.row(kRDist).valueEnabled;
    c.CheckSeedScalex = panel.row(kScaleX).seedChecked ? 1 : 0;
    c.CheckSeedScaley = panel.row(kScaleY).seedChecked ? 1 : 0;
    c.CheckSeedScalez = panel.row(kScaleZ).seedChecked ? 1 : 0;
    c.CheckSeedxy = panel.row(kParXY).seedChecked ? 1 : 0;
    c.CheckSeedAzimuth = panel.row(kAzimuth).seedChecked ? 1 : 0;
    c.CheckSeedztoxy = panel.row(kZtoXY).seedChecked ? 1 : 0;
    return c;
}

void preferSmallerRotations(JobState& job) {
    // A held rotation angle keeps its typed value: the other triple would change it (rot x held at
    // 0 would read 180).
    for (int k = kRotX; k <= kRotZ; ++k) {
        const std::string& state = job.ParamState[static_cast<std::size_t>(k)];
        if (isNumberText(state) && !state.empty()) return;
    }
    Matrix R(3, 3);
    matFromAnglesXYZ(job.RotX(), job.RotY(), job.RotZ(), R);
    Vec3 s1{}, s2{};
    anglesFromMatXYZ(R, s1, s2);
    const double sum1 = std::fabs(s1[1]) + std::fabs(s1[2]) + std::fabs(s1[3]);
    const double sum2 = std::fabs(s2[1]) + std::fabs(s2[2]) + std::fabs(s2[3]);
    // The angle helpers work with the ten-digit pi, so two sums that are equal in exact
    // arithmetic differ by some 1e-10: such a tie still takes the second solution.
    constexpr double kTieTolerance = 1e-9;
    const Vec3& nice = sum2 > sum1 + kTieTolerance ? s1 : s2;
    job.RotX() = nice[1];
    job.RotY() = nice[2];
    job.RotZ() = nice[3];
}

namespace {

// Used observations against unknowns. In the R Dist mode each point is one distance
// observation, used when its z flag is set (the solver weighs point k by row 3k).
std::int32_t usedObservations(const JobState& job, bool rDistMode) {
    std::int32_t used = 0;
    if (rDistMode) {
        for (std::int32_t k = 1; k <= job.IdenticalCount; ++k)
            if (job.UseFlags[static_cast<std::size_t>(3 * k)] != 0) ++used;
        return used;
    }
    for (std::int32_t i = 1; i <= 3 * job.IdenticalCount; ++i)
        used += job.UseFlags[static_cast<std::size_t>(i)];
    return used;
}

std::string lengthText(const JobState& job, double mm) {
    return formatNumber(mm * job.LengthFactor, job.LengthFormat);
}

}  // namespace

CalcStatus calculateOnce(CalcSession& s) {
    JobState& job = s.job;
    CalcResults& res = s.results;
    s.engine.poll();
    res.ObservationCount = 3 * job.IdenticalCount;
    res.UnknownCount = 0;

    rowsToParamState(s.panel, job.ParamState);
    s.engine.controls = controlsOf(s.panel);
    // An R Dist that takes no part keeps no value: left over from an earlier calculation it
    // would be written into its box and held there by the next one.
    if (!job.UseAbcMode && isNotUsedState(job.ParamState[kRDist])) job.RDist() = 0.0;

    for (int slot = 1; slot <= kRDist; ++slot)
        if (s.estimated(slot)) ++res.UnknownCount;
    if (s.panel.useAbc()) res.UnknownCount += 3;
    if (s.panel.useAbc() && s.estimated(kRDist)) {
        // Both would take the same column of the design matrix.
        s.message(kRDistAndUseAbc);
        return CalcStatus::Refused;
    }

    res.Weights.resize(res.ObservationCount, 1);
    res.Residuals.resize(res.ObservationCount, 1);
    res.CofactorMatrix.resize(res.UnknownCount, res.UnknownCount);
    res.DistanceRowCount = 0;
    res.SigmasOfDistanceRows = false;
    res.OpenBySurface = {};
    for (std::int32_t i = 1; i <= res.ObservationCount; ++i)
        res.Weights(i, 1) = job.UseFlags[static_cast<std::size_t>(i)];
    const bool rDistMode = isRDistMode(job, s.engine.controls, job.ParamState);
    if (usedObservations(job, rDistMode) < res.UnknownCount) {
        s.message(kNotRedundant);
        return CalcStatus::Refused;
    }
    // A seed or fixed text that is no number would end the solve half-way.
    if (auto bad = SeedValues(s.panel).checkTexts(job)) {
        s.message(*bad);
        return CalcStatus::Refused;
    }

    CalcStatus status = CalcStatus::Solved;
    res.SolvedNorm =
        job.NormMode == kNormL1 || job.NormMode == kNormMinimax ? job.NormMode : std::int16_t{kNormL2};
    switch (job.NormMode) {
        case kNormL1:
            status = runL1Loop(s);
            break;
        case kNormMinimax:
            status = runMinimaxLoop(s);
            break;
        default:  // L2; a damaged NormMode counts as L2, the window's default
            s.setPanel(6, "...L2");
            s.setPanel(7, "...L2");
            if (job.MonteCarloOn && !job.ParaboloidMode) {
                status = runMonteCarloSeries(s);
            } else {
                const HelmertOutcome out = solveShowingWarnings(s);
                if (out.stopped) status = CalcStatus::Stopped;
            }
            break;
    }
    finishCalculation(s);
    return status;
}

void finishCalculation(CalcSession& s) {
    JobState& job = s.job;
    CalcResults& res = s.results;
    ParameterPanel& panel = s.panel;
    s.engine.poll();
    s.setPanel(2, "...ready");
    preferSmallerRotations(job);

    for (int slot = kTraX; slot <= kTraZ; ++slot)
        panel.setValueText(slot, lengthText(job, job.Params[static_cast<std::size_t>(slot)]));
    for (int slot = kRotX; slot <= kRotZ; ++slot)
        panel.setValueText(slot, formatAngle(job.Params[static_cast<std::size_t>(slot)], job.AngleFactor,
                                             job.AngleFormat, job.AngleUnitName, job.AngleFormat));
    for (int slot = kScaleX; slot <= kScaleZ; ++slot)
        panel.setValueText(slot, formatNumber(job.Params[static_cast<std::size_t>(slot)], job.ScaleFormat));
    if (panel.row(kScaleXYZ).estimate)
        panel.setValueText(kScaleXYZ, formatNumber(job.ScaleXYZ(), job.ScaleFormat));
    for (int slot = kParXY; slot <= kZtoXY; ++slot)
        panel.setValueText(slot, formatNumber(job.Params[static_cast<std::size_t>(slot)] * job.AngleFactor,
                                              job.AngleFormat));
    panel.setValueText(kRDist, lengthText(job, job.RDist()));

    const bool rDistInUse =
        panel.row(kRDist).estimate || leadingOwnNumber(panel.row(kRDist).valueText) != 0.0;
    const std::int32_t n = job.IdenticalCount;
    if (rDistInUse && job.UseAbcMode) {
        panel.setValueText(kRvecX, lengthText(job, job.Rvec_x()));
        panel.setValueText(kRvecY, lengthText(job, job.Rvec_y()));
        panel.setValueText(kRvecZ, lengthText(job, job.Rvec_z()));
        job.RDist() = std::sqrt(job.Rvec_x() * job.Rvec_x() + job.Rvec_y() * job.Rvec_y() +
                                job.Rvec_z() * job.Rvec_z());
        panel.setValueText(kRDist, formatNumber(job.RDist(), job.LengthFormat));
    } else if (res.DistanceRowCount > 0) {
        // The solver left one distance residual per point in rows 1..n: spread each along its
        // point's direction into the x, y, z rows. Only when it did; a number left in the R Dist
        // box of a solve in the ordinary mode must not turn x residuals into distances.
        const PointTransform model(job);
        for (std::int32_t k = 1; k <= n; ++k) {
            double x, y, z;
            model.apply(job.MCS_X[k], job.MCS_Y[k], job.MCS_Z[static_cast<std::size_t>(k)], x, y, z);
            job.MCSt_X.set(k, x);
            job.MCSt_Y.set(k, y);
            job.MCSt_Z[static_cast<std::size_t>(k)] = z;
        }
        // s0 and the sigmas of this mode are those of the distance observations; the triples below
        // serve the extremes and the transformed points.
        calculateSigmaDistanceRows(res.Residuals, res.Weights, res.DistanceRowCount, res.S0, res.Sx, res.Sy,
                                   res.Sz);
        res.SigmasOfDistanceRows = true;
        std::vector<double> d(static_cast<std::size_t>(n + 1));
        for (std::int32_t k = 1; k <= n; ++k) d[static_cast<std::size_t>(k)] = res.Residuals(k, 1);
        for (std::int32_t k = 1; k <= n; ++k) {
            const double dk = d[static_cast<std::size_t>(k)];
            const double den = job.RDist() + dk;
            if (den == 0.0) throw NumericError("Division by zero: the distance of a point equals -R Dist");
            res.Residuals(3 * k - 2, 1) =
                checkedFinite((job.MCSt_X[k] - job.OCS_X[k]) * dk / den, "the residuals");
            res.Residuals(3 * k - 1, 1) =
                checkedFinite((job.MCSt_Y[k] - job.OCS_Y[k]) * dk / den, "the residuals");
            res.Residuals(3 * k, 1) = checkedFinite(
                (job.MCSt_Z[static_cast<std::size_t>(k)] - job.OCS_Z[static_cast<std::size_t>(k)]) * dk / den,
                "the residuals");
        }
        res.DistanceRowCount = 0;
    }

    for (std::int32_t k = 1; k <= n; ++k) {
        job.MCSt_X.set(k, job.OCS_X[k] + res.Residuals(3 * k - 2, 1));
        job.MCSt_Y.set(k, job.OCS_Y[k] + res.Residuals(3 * k - 1, 1));
        job.MCSt_Z[static_cast<std::size_t>(k)] =
            job.OCS_Z[static_cast<std::size_t>(k)] + res.Residuals(3 * k, 1);
    }
}

}  // namespace kal
