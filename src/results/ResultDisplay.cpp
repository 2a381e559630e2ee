#include "results/ResultDisplay.h"

#include <cmath>
#include <exception>

#include "engine/TransformModel.h"
#include "shared/NumberText.h"
#include "shared/Units.h"

namespace kal {

namespace {

std::size_t at(int i) { return static_cast<std::size_t>(i); }

constexpr double kSigmaAddend = 1e-9;  // keeps a division by a zero sigma finite (NormTolerance)

std::optional<std::string> pattern(double value, const std::string& format) {
    if (!std::isfinite(value)) return std::nullopt;
    try {
        return formatNumber(value, format);
    } catch (const std::exception&) {
        return std::nullopt;  // a damaged pattern: the box keeps its text
    }
}

std::optional<std::string> prefixed(std::optional<std::string> text) {
    if (text) text->insert(0, kDeltaPrefix);
    return text;
}

enum class Kind { Length, Angle, Scale };

Kind kindOf(int slot) {
    if (slot <= kTraZ || slot >= kRDist) return Kind::Length;
    if (slot >= kScaleX && slot <= kScaleXYZ) return Kind::Scale;
    return Kind::Angle;
}

std::optional<std::string> valueText(const JobState& job, int slot, double v) {
    switch (kindOf(slot)) {
        case Kind::Length:
            return lengthText(job, v);
        case Kind::Angle:
            return angleText(job, v);
        case Kind::Scale:
            break;
    }
    return scaleText(job, v);
}

// The factor and unit text of the scale tooltips; none for a unit without one ("feet").
struct ScaleTipUnit {
    double factor;
    const char* text;
};
std::optional<ScaleTipUnit> scaleTipUnit(const std::string& lengthUnit) {
    if (lengthUnit == "millimeter") return ScaleTipUnit{1000, " millimeter per meter"};
    if (lengthUnit == "inch") return ScaleTipUnit{10000, " 10thou per inch"};
    if (lengthUnit == "meter") return ScaleTipUnit{1000000, " ppm"};
    return std::nullopt;
}

// The distance of a parameter from its neutral value, in sigmas: angles are folded into
// (−90°, 90°) by atan(tan(·)) first, scales count from 1.
std::optional<std::string> significanceText(int slot, double value, double sigma) {
    double neutralDistance = value;
    if (kindOf(slot) == Kind::Angle) neutralDistance = std::atan(std::tan(value));
    if (kindOf(slot) == Kind::Scale) neutralDistance = value - 1.0;
    return pattern(std::fabs(neutralDistance / (sigma + kSigmaAddend)), "0.0");
}

void parameterSteps(JobState& job, const DisplayInput& in, ResultDisplay& d) {
    const auto& p = job.Params;
    // In offset-vector mode the solve moves the vector, not R Dist: its length is brought up to
    // date first, so the change tooltip below measures the length the box shows.
    if (job.UseAbcMode) {
        const double length = std::sqrt(job.Rvec_x() * job.Rvec_x() + job.Rvec_y() * job.Rvec_y() +
                                        job.Rvec_z() * job.Rvec_z());
        if (std::isfinite(length)) job.RDist() = length;
    }
    // 1. The value boxes; the scale xyz box only while it is estimated.
    for (int slot = kTraX; slot <= kRDist; ++slot) {
        if (slot == kScaleXYZ && !in.ticks.ticked[kScaleXYZ]) continue;
        d.params[at(slot)].value = valueText(job, slot, p[at(slot)]);
    }
    // 2. What changed against the parameters before the calculation: angles without the prefix.
    if (in.results) {
        for (int slot = kTraX; slot <= kRvecZ; ++slot) {
            const double delta = p[at(slot)] - in.results->OldParams[at(slot)];
            std::optional<std::string> text = valueText(job, slot, delta);
            d.params[at(slot)].changeTip = kindOf(slot) == Kind::Angle ? text : prefixed(text);
        }
    }
    // 3. The scales as a deviation from 1 in a unit of the length unit.
    if (const auto unit = scaleTipUnit(job.LengthUnitName)) {
        for (int slot = kScaleX; slot <= kScaleXYZ; ++slot)
            if (auto text = pattern((1.0 - p[at(slot)]) * unit->factor, job.ScaleFormat))
                d.params[at(slot)].scaleTip = *text + unit->text;
    }
    // 4. The offset vector and R Dist, its length.
    if (job.UseAbcMode) {
        for (int slot = kRvecX; slot <= kRvecZ; ++slot)
            d.params[at(slot)].value = lengthText(job, p[at(slot)]);
    }
    d.params[kRDist].value = lengthText(job, job.RDist());
}

void sigmaStep(const JobState& job, const DisplayInput& in, double s0, ResultDisplay& d) {
    const CalcResults& r = *in.results;
    const Matrix& q = r.CofactorMatrix;
    std::int32_t k = 1;
    // The k-th estimated parameter's sigma; nullopt when the cofactors do not reach k.
    auto nextSigma = [&]() -> std::optional<double> {
        const std::int32_t i = k++;
        if (i > r.UnknownCount || i > q.rows() || i > q.cols()) return std::nullopt;
        const double sigma = std::sqrt(std::fabs(q(i, i))) * s0;
        if (!std::isfinite(sigma)) return std::nullopt;
        return sigma;
    };
    auto write = [&](int slot, std::optional<double> sigma, double value) {
        ParameterTexts& t = d.params[at(slot)];
        if (!sigma) {
            t.sigma = t.significance = std::string();
            return;
        }
        d.paramSigma[at(slot)] = *sigma;
        t.sigma = valueText(job, slot, *sigma);
        t.significance = significanceText(slot, value, *sigma);
    };
    for (int slot = kTraX; slot <= kZtoXY; ++slot) {
        if (!in.ticks.ticked[at(slot)]) continue;
        const std::optional<double> sigma = nextSigma();
        if (r.OpenBySurface[at(slot)]) {
            // One of many equally good values: its cofactor is no sigma of the estimate.
            ParameterTexts& t = d.params[at(slot)];
            t.sigma = t.significance = std::string();
            t.sigmaTip = kOpenBySurfaceTooltip;
            continue;
        }
        write(slot, sigma, job.Params[at(slot)]);
    }

    const bool vectorMode = job.UseAbcMode && (in.ticks.useAbc || in.ticks.ticked[kRDist]);
    if (vectorMode) {
        std::array<std::optional<double>, 3> s{nextSigma(), nextSigma(), nextSigma()};
        for (int c = 0; c < 3; ++c) write(kRvecX + c, s[at(c)], job.Params[at(kRvecX + c)]);
        const double length = job.Params[kRDist];
        std::optional<double> sigmaR;
        if (s[0] && s[1] && s[2] && length != 0.0) {
            double sum = 0;
            for (int c = 0; c < 3; ++c) {
                const double share = *s[at(c)] * job.Params[at(kRvecX + c)] / length;
                sum += share * share;
            }
            sigmaR = std::sqrt(sum);
        }
        write(kRDist, sigmaR, length);  // a zero vector has no direction: both boxes empty
    } else if (in.ticks.ticked[kRDist]) {
        write(kRDist, nextSigma(), job.Params[kRDist]);
    } else {
        // Not estimated: no stale sigma of an earlier calculation stays beside it.
        for (int slot = kRDist; slot <= kRvecZ; ++slot)
            d.params[at(slot)].sigma = d.params[at(slot)].significance = std::string();
    }
}

// A parameter this calculation did not estimate (held, or outside the model) has no sigma from
// it: its sigma and value/sigma boxes are emptied, so that no earlier calculation's figures stay
// beside the value this one used.
void emptySigmasNotEstimated(ResultDisplay& d) {
    for (int slot = kTraX; slot <= kRvecZ; ++slot) {
        ParameterTexts& t = d.params[at(slot)];
        if (!t.sigma) t.sigma = std::string();
        if (!t.significance) t.significance = std::string();
    }
}

void statisticsTexts(JobState& job, ResultDisplay& d) {
    const StatisticsDisplay& s = *d.statistics;
    for (int q = 0; q < kStatCount; ++q) {
        const auto& v = s.value[at(q)];
        d.statisticsText[at(q)] = v ? lengthText(job, *v).value_or(std::string()) : std::string();
    }
    if (!s.value[kStatMaxXyz]) d.statisticsText[kStatMaxXyz] = kNoXyz;
    for (int e = 0; e < kExtremeCount; ++e) {
        const std::int32_t point = s.extremePoint[at(e)];
        if (point >= 1 && at(point) < job.MCS_Name.size()) d.extremeName[at(e)] = job.MCS_Name[at(point)];
    }
    // The values the report and the quick transformation read, where present.
    if (s.value[kStatSigmaXyz]) job.SigmaXyz = *s.value[kStatSigmaXyz];
    const std::array<std::pair<int, double*>, 6> extremes{{{kStatMaxX, &job.MaxDevX},
                                                           {kStatMinX, &job.MinDevX},
                                                           {kStatMaxY, &job.MaxDevY},
                                                           {kStatMinY, &job.MinDevY},
                                                           {kStatMaxZ, &job.MaxDevZ},
                                                           {kStatMinZ, &job.MinDevZ}}};
    for (const auto& [q, field] : extremes)
        if (s.value[at(q)]) *field = *s.value[at(q)];
}

// Steps 9 and 10: the transformed points, each point on its own so that one that fails stays as
// it was and the others are still written.
void transformPoints(JobState& job) {
    std::optional<PointTransform> model;
    try {
        model.emplace(job);
    } catch (const std::exception&) {
        return;
    }
    const std::int32_t n = job.IdenticalCount;
    if (job.GraphicsFlags.ShowRVec && job.RVec_X.upper() >= n && job.RVec_Y.upper() >= n &&
        at(n) < job.RVec_Z.size() && job.MCS_X.upper() >= n && job.MCS_Y.upper() >= n &&
        at(n) < job.MCS_Z.size()) {
        for (std::int32_t i = 1; i <= n; ++i) {
            double x, y, z;
            try {
                model->apply(job.MCS_X[i], job.MCS_Y[i], job.MCS_Z[at(i)], x, y, z);
            } catch (const std::exception&) {
                continue;
            }
            job.RVec_X.set(i, x), job.RVec_Y.set(i, y), job.RVec_Z[at(i)] = z;
        }
    }
    const std::int32_t m = job.McsCount;
    if (job.MCSt_X.upper() < m || job.MCSt_Y.upper() < m || at(m) >= job.MCSt_Z.size() ||
        job.MCS_X.upper() < m || job.MCS_Y.upper() < m || at(m) >= job.MCS_Z.size())
        return;
    for (std::int32_t i = n + 1; i <= m; ++i) {
        double x, y, z;
        try {
            model->apply(job.MCS_X[i], job.MCS_Y[i], job.MCS_Z[at(i)], x, y, z);
        } catch (const std::exception&) {
            continue;
        }
        job.MCSt_X.set(i, x), job.MCSt_Y.set(i, y), job.MCSt_Z[at(i)] = z;
    }
}

}  // namespace

bool normGivesSigmas(int norm) { return norm != kNormL1 && norm != kNormMinimax; }

std::string noSigmaTooltip(int norm) {
    if (normGivesSigmas(norm)) return {};
    return std::string("No sigma under the ") + (norm == kNormL1 ? "L1" : "Loo (max to min)") +
           " norm: its weights are those of the last reweighting step, which give no standard "
           "deviation of the result. Calculate with L2 for sigmas.";
}

DisplayTicks ticksOf(const ParameterPanel& panel) {
    DisplayTicks t;
    for (int slot = kTraX; slot <= kRDist; ++slot) t.ticked[at(slot)] = panel.row(slot).estimate;
    t.useAbc = panel.useAbc();
    return t;
}

std::optional<std::string> lengthText(const JobState& job, double mm) {
    return pattern(mm * job.LengthFactor, job.LengthFormat);
}

std::optional<std::string> angleText(const JobState& job, double radians) {
    if (!std::isfinite(radians * job.AngleFactor)) return std::nullopt;
    try {
        return formatAngle(radians, job.AngleFactor, job.AngleFormat, job.AngleUnitName, job.AngleFormat);
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

std::optional<std::string> scaleText(const JobState& job, double scale) {
    return pattern(scale, job.ScaleFormat);
}

ResultDisplay showResults(JobState& job, const DisplayInput& given, PrevStats& prev) {
    DisplayInput in = given;
    if (in.results && !hasAdjustment(*in.results)) in.results = nullptr;
    ResultDisplay d;
    parameterSteps(job, in, d);
    if (in.results) {
        const PrevStats before = prev;
        d.statistics = computeStatistics(*in.results, prev);
        if (normGivesSigmas(in.results->SolvedNorm)) {
            sigmaStep(job, in, d.statistics->S0, d);
        } else {
            // No sigma to show, and none to compare the next one with: the arrows and the
            // previous values stay as the last sigmas left them.
            for (int q : kSigmaStatistics) {
                d.statistics->value[at(q)].reset();
                d.statistics->arrow[at(q)] = Arrow::None;
                prev.value[at(q)] = before.value[at(q)];
            }
            for (int slot = kTraX; slot <= kRvecZ; ++slot)
                d.params[at(slot)].sigma = d.params[at(slot)].significance = std::string();
        }
        emptySigmasNotEstimated(d);
        d.sigmaTooltip = noSigmaTooltip(in.results->SolvedNorm);
        statisticsTexts(job, d);
    }
    transformPoints(job);
    if (in.afterCalculation) job.TrafoCalculated = true;
    return d;
}

}  // namespace kal
