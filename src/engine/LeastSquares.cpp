#include "engine/LeastSquares.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "engine/AllPointsStart.h"
#include "engine/CalcRefused.h"
#include "engine/DesignMatrix.h"
#include "engine/LeastSquareStep.h"
#include "engine/NormalEquations.h"
#include "engine/SeedSolution.h"
#include "engine/StartValues.h"
#include "shared/Constants.h"
#include "shared/Errors.h"
#include "shared/NumberText.h"
#include "shared/TaggedArray.h"
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

// The MCS spot all used points lie at, when they do: a point is used when one of its rows weighs
// (in the R Dist mode its distance row, which weighs what its z row weighs).
std::optional<std::array<double, 4>> commonSpotOfUsedPoints(const JobState& job, const Matrix& P,
                                                            bool distanceRows) {
    std::optional<std::array<double, 4>> spot;
    for (std::int32_t i = 1; i <= job.IdenticalCount; ++i) {
        const bool used = distanceRows
                              ? P(3 * i, 1) != 0.0
                              : (P(3 * i - 2, 1) != 0.0 || P(3 * i - 1, 1) != 0.0 || P(3 * i, 1) != 0.0);
        if (!used) continue;
        const std::array<double, 4> x{0.0, job.MCS_X[i], job.MCS_Y[i],
                                      job.MCS_Z[static_cast<std::size_t>(i)]};
        if (!spot)
            spot = x;
        else if (*spot != x)
            return std::nullopt;
    }
    return spot;
}

std::string lengthText(const JobState& job, double mm) {
    const double value = mm * job.LengthFactor;
    try {
        return formatNumber(value, job.LengthFormat);
    } catch (const std::exception&) {  // a damaged format: the number still shows
        return generalText(value);
    }
}

// Why an unknown is left open when every used point lies at one spot: seen from a single spot a
// rotation, a scale or a shape angle moves all points alike, just as a translation does.
std::string oneSpotMessage(const JobState& job, const std::string& caption,
                           const std::array<double, 4>& spot) {
    return "The used points cannot determine \"" + caption + "\": all of them lie at one spot, MCS (" +
           lengthText(job, spot[1]) + ", " + lengthText(job, spot[2]) + ", " + lengthText(job, spot[3]) +
           ") " + job.LengthUnitName + ", and a single spot shows no rotation, scale or shape.";
}

// The rows held at a value typed or left in their boxes that can matter, as " Held at a typed
// value: rot x = 0, xy = 0.5." for a message, or "" when none is. A held row is a frequent cause of
// a singular solve (rot x held at 0 by an earlier gimbal-lock answer), so held translations and
// rotations are named at any value, R Dist and the offset vector at any value while the model
// holds them; a scale held at 1 or a shape angle held at 0 is the model without it and is left
// out, so that the one hold that matters is not lost among them.
std::string heldRowsText(const ParamStates& states, const DesignLayout& lay) {
    std::string list;
    for (int k = 1; k <= kParamCount; ++k) {
        const std::string& state = states[static_cast<std::size_t>(k)];
        if (!isNumberText(state) || state.empty()) continue;
        const double value = parameterStateNumber(state);
        if (k >= kScaleX && k <= kScaleXYZ && value == 1.0) continue;
        if (k >= kParXY && k <= kZtoXY && value == 0.0) continue;
        if (k == kRDist && !lay.rDistMode) continue;
        if (k >= kRvecX && !lay.useAbcTerms) continue;
        list += (list.empty() ? "" : ", ") + std::string(parameterCaption(k)) + " = " + state;
    }
    return list.empty() ? std::string() : " Held at a typed value: " + list + ".";
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
    StreamedStep(JobState& job, const ParamStates& states, const Matrix& P, const PointOrigin& origin,
                 EngineContext& ctx)
        : job_(job), states_(states), P_(P), origin_(origin), ctx_(ctx) {}

    // In the ordinary layout the normal matrix comes from the points' moments (formed at the first
    // such iteration and kept) and the right-hand side from one pass over the points.
    // With `keep` (the step control of the robot-tool models) the normal equations and the weighted
    // sum of squares at the linearisation point stay for normalMatrix(), rightHandSide() and
    // squareSum(), and a singular normal matrix returns false instead of throwing: the iteration
    // has moved from its start values, and the step control takes over.
    bool run(DesignRowBuilder& builder, std::int32_t finishedIterations, Matrix& Qxx, Matrix& x,
             std::optional<OrdinaryMoments>& moments, bool keep = false, bool tolerateSingular = false) {
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
        double squares = 0.0;
        if (!lay.rDistMode && !lay.useAbcTerms) {
            if (nU > 0) {
                // The first such pass forms the moments along with the misclosure sums.
                OrdinaryMoments formed;
                OrdinaryMoments* const formMoments = moments ? nullptr : &formed;
                MisclosureSums sums;
                for (std::int32_t first = 1; first <= n; first += kPollEveryPoints) {
                    builder.sumMisclosures(first, std::min(n, first + kPollEveryPoints - 1), P_, sums,
                                           formMoments);
                    if (first + kPollEveryPoints <= n) ctx_.poll();
                }
                if (formMoments) moments = completeMoments(formed);
                builder.addOrdinaryNormalMatrix(*moments, eq);
                builder.addOrdinaryRightHandSide(sums, eq);
            }
        } else {
            for (std::int32_t i = 1; i <= n; ++i) {
                builder.build(i, rows);
                if (lay.rDistMode) {
                    // Point i's distance observation weighs what its z coordinate weighs.
                    if (lay.distanceRows) {
                        eq.addRow(rows.d, rows.dl, P_(3 * i, 1));
                        if (keep) squares += P_(3 * i, 1) * rows.dl * rows.dl;
                    }
                } else {
                    const std::int32_t r = 3 * i - 2;
                    for (int j = 0; j < 3; ++j) eq.addRow(rows.a[j], rows.l[j], P_(r + j, 1));
                    if (keep)
                        for (int j = 0; j < 3; ++j) squares += P_(r + j, 1) * rows.l[j] * rows.l[j];
                }
                if (i % kPollEveryPoints == 0) ctx_.poll();
            }
        }
        phase(kTextInversion);
        const Matrix N = eq.normalMatrix();
        const Matrix w = eq.rightHandSide();
        if (keep) N_ = N, w_ = w, squares_ = squares;
        refuseUnseenUnknowns(builder, N);
        phase(kTextAtPl);
        phase(kTextResults);
        std::int32_t dependent = 0;
        try {
            solveNormalEquations(N, w, nU, Qxx, x, &dependent);
        } catch (const NumericError&) {
            if (dependent == 0) throw;
            if (tolerateSingular) return false;
            if (lay.isFloat[kRotX] && lay.isFloat[kRotZ] &&
                std::fabs(std::cos(job_.RotYSeed)) < kGimbalCosine)
                throw NumericError(
                    std::string("rot y' stands at ") + (std::sin(job_.RotYSeed) > 0 ? "+" : "-") +
                    "90°, the singular position of the angle sequence rot x, rot y', rot z'': there rot x "
                    "and rot z'' turn about one and the same axis, so no set of points can tell them apart. "
                    "Hold one of rot x, rot z'' (for instance at 0) and calculate again.");
            const std::string caption = parameterCaption(slotOfUnknown(states_, dependent));
            if (const auto spot = commonSpotOfUsedPoints(job_, P_, lay.distanceRows))
                throw NumericError(oneSpotMessage(job_, caption, *spot));
            throw NumericError(std::string("The used points cannot determine \"") + caption +
                               "\" together with the other estimated parameters (the normal equations are "
                               "singular)." +
                               heldRowsText(states_, lay));
        }
        phase(kTextCorrections);
        return true;
    }

    // What run() kept with `keep`.
    const Matrix& normalMatrix() const { return N_.value(); }
    const Matrix& rightHandSide() const { return w_.value(); }
    double squareSum() const { return squares_; }

    // v (0..nObs, 0..1) := A·x - l of the step that `builder` linearised, with its corrections x.
    // With `check`, throws NumericError on a residual that is not finite (v then holds part of them).
    void residuals(DesignRowBuilder& builder, const Matrix& x, Matrix& v, bool check = true) {
        const DesignLayout& lay = builder.layout();
        const std::int32_t n = job_.IdenticalCount;
        const std::int32_t nU = lay.nU;
        if (!lay.rDistMode && !lay.useAbcTerms) {
            for (std::int32_t first = 1; first <= n; first += kPollEveryPoints) {
                builder.ordinaryResiduals(first, std::min(n, first + kPollEveryPoints - 1), x, v);
                if (first + kPollEveryPoints <= n) ctx_.poll();
            }
        } else {
            PointRows rows;
            for (std::int32_t i = 1; i <= n; ++i) {
                builder.build(i, rows);
                const std::int32_t r = 3 * i - 2;
                if (lay.rDistMode) {
                    // Rows of A other than the distance rows are zero: their residuals are the
                    // negated ordinary misclosures.
                    for (int j = 0; j < 3; ++j)
                        if (!lay.distanceRows || r + j > n) v(r + j, 1) = 0.0 - rows.l[j];
                    if (lay.distanceRows) v(i, 1) = combine(rows.d, x, nU) - rows.dl;
                } else {
                    for (int j = 0; j < 3; ++j) v(r + j, 1) = combine(rows.a[j], x, nU) - rows.l[j];
                }
                if (i % kPollEveryPoints == 0) ctx_.poll();
            }
        }
        if (check)
            for (std::int32_t k = 1; k <= 3 * n; ++k) checkedFinite(v(k, 1), "the residuals");
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
        std::optional<RowWeights> weights;
        for (std::int32_t c = 1; c <= lay.nU; ++c) {
            if (N(c, c) != 0.0) continue;
            if (!weights) weights = sumRowWeights(P_, job_.IdenticalCount);
            const RowWeights& weights_ = *weights;
            double seen = 0.0;
            if (lay.distanceRows) {
                for (int j = 1; j <= 3; ++j)
                    if (builder.reachesRow(c, j)) seen = weights_.distance;
            } else if (!lay.rDistMode) {
                for (int j = 1; j <= 3; ++j)
                    if (builder.reachesRow(c, j)) seen += weights_.axis[j];
            }
            if (!(seen > 0.0)) continue;
            const std::string caption = parameterCaption(slotOfUnknown(states_, c));
            if (const auto spot = commonSpotOfUsedPoints(job_, P_, lay.distanceRows))
                throw NumericError(oneSpotMessage(job_, caption, *spot));
            // Worked at the points' centroid, a column that is 0 on every row moves the points only as
            // the estimated translations do.
            if (origin_.mcs[1] != 0.0 || origin_.mcs[2] != 0.0 || origin_.mcs[3] != 0.0 ||
                origin_.ocs[1] != 0.0 || origin_.ocs[2] != 0.0 || origin_.ocs[3] != 0.0)
                throw NumericError(
                    std::string("The used points cannot determine \"") + caption +
                    "\" together with the other estimated parameters (the normal equations are "
                    "singular)." +
                    heldRowsText(states_, lay));
            throw NumericError(std::string("The used points cannot determine \"") + caption +
                               "\": changing it moves none of them.");
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
    const PointOrigin& origin_;
    EngineContext& ctx_;
    std::optional<Matrix> N_, w_;  // only with `keep`: the ordinary solves allocate nothing more
    double squares_ = 0.0;
};

// A large number in exponent form with up to seven significant digits: "1E+300", "1.5E+12".
std::string exponentText(double value) {
    std::string text = formatNumber(value, "0.######E+00");
    const std::size_t e = text.find('E');
    if (e != std::string::npos && e > 0 && (text[e - 1] == '.' || text[e - 1] == ',')) text.erase(e - 1, 1);
    return text;
}

// Refuses a held translation beyond kLargestCoordinate (or not finite) as a coordinate beyond it is
// refused, before any iteration: it would carry every sum of the solve to the edge of overflow.
void refuseHeldTranslationsBeyondTheLimit(const JobState& job, const DesignLayout& lay) {
    for (int k = kTraX; k <= kTraZ; ++k) {
        const double value = job.Params[static_cast<std::size_t>(k)];
        if (lay.isFloat[static_cast<std::size_t>(k)] ||
            (std::isfinite(value) && std::fabs(value) <= kLargestCoordinate))
            continue;
        const double f = job.LengthFactor > 0.0 && std::isfinite(job.LengthFactor) ? job.LengthFactor : 1.0;
        const std::string unit = f == job.LengthFactor ? job.LengthUnitName : std::string("millimeter");
        const std::string shown = std::isfinite(value) ? exponentText(value * f) + " " + unit : "not finite";
        throw CalcRefused("The held \"" + std::string(parameterCaption(k)) + "\": its value " + shown +
                          " is too large for a calculation: coordinates are limited to \u00b1" +
                          exponentText(kLargestCoordinate * f) + " " + unit +
                          ". Correct the value, and calculate again.");
    }
}

// Refuses a coordinate (or, with the use-ABC terms, a robot angle) that is not a finite number, and a
// coordinate beyond kLargestCoordinate, naming the point and the coordinate, and sets `largest` to
// the largest coordinate in size. Returns the local origin of the solve from the same pass: the
// centroids of the identical points when a translation is estimated (it then stands for the one at
// the centroids), else the zero origin.
PointOrigin checkInputAndChooseOrigin(const JobState& job, const DesignLayout& lay, double& largest) {
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
    static const char* const kWhat[4] = {"", "x coordinate", "y coordinate", "z coordinate"};
    double sum[7] = {0, 0, 0, 0, 0, 0, 0};
    double big[7] = {0, 0, 0, 0, 0, 0, 0};  // per coordinate: independent chains in the loop
    for (std::int32_t i = 1; i <= n; ++i) {
        const double c[7] = {0.0, mx[i], my[i], mz[i], ox[i], oy[i], oz[i]};
        double pointBig = 0.0;
        for (int k = 1; k <= 6; ++k) {
            sum[k] += c[k];
            big[k] = std::max(big[k], std::fabs(c[k]));
            pointBig = std::max(pointBig, std::fabs(c[k]));
        }
        if (!std::isfinite(c[1] + c[2] + c[3] + c[4] + c[5] + c[6])) {
            for (int k = 1; k <= 6; ++k)
                if (!std::isfinite(c[k])) refuse(i, k <= 3, kWhat[(k - 1) % 3 + 1], c[k]);
        }
        if (pointBig > kLargestCoordinate) {
            for (int k = 1; k <= 6; ++k)
                if (std::fabs(c[k]) > kLargestCoordinate)
                    refuseMagnitude(i, k <= 3, kWhat[(k - 1) % 3 + 1], c[k]);
        }
        if (lay.useAbcTerms && job.OcsAngles.rows() >= i && job.OcsAngles.cols() >= 3) {
            static const char* const kAngle[4] = {"", "angle A", "angle B", "angle C"};
            for (int k = 1; k <= 3; ++k)
                if (!std::isfinite(job.OcsAngles(i, k))) refuse(i, false, kAngle[k], job.OcsAngles(i, k));
        }
    }
    for (int k = 1; k <= 6; ++k) largest = std::max(largest, big[k]);
    PointOrigin o;
    if (n < 1 || (!lay.isFloat[kTraX] && !lay.isFloat[kTraY] && !lay.isFloat[kTraZ])) return o;
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

// An estimated translation at the origin -> the translation at the local origin:
// T' = T + Q·mcs - ocs. A held one keeps its stored value (the rows take it as a fixed offset).
void reduceTranslation(JobState& job, const PointOrigin& o, const DesignLayout& lay) {
    double q[4];
    modelAtParameters(job, o.mcs, q);
    for (int j = 1; j <= 3; ++j) {
        const auto k = static_cast<std::size_t>(kTraX + j - 1);
        if (lay.isFloat[k]) job.Params[k] = (job.Params[k] + q[j]) - o.ocs[j];
    }
}

// And back: T = (ocs - Q·mcs) + T', Q at the final parameters.
void restoreTranslation(JobState& job, const PointOrigin& o, const DesignLayout& lay) {
    double q[4];
    modelAtParameters(job, o.mcs, q);
    for (int j = 1; j <= 3; ++j) {
        const auto k = static_cast<std::size_t>(kTraX + j - 1);
        if (lay.isFloat[k])
            job.Params[k] = checkedFinite((o.ocs[j] - q[j]) + job.Params[k], "the translations");
    }
}

// The cofactor matrix of the reduced unknowns -> that of the stored ones: Qxx := J·Qxx·Jᵀ with J the
// derivative of (T, p) by (T', p), T = T' + ocs - Q(p)·mcs, so J(T_j, c) = -(column c at mcs)_j for
// each estimated translation T_j (its column: the estimated translations come first).
void restoreCofactors(const DesignRowBuilder& builder, const PointOrigin& o, Matrix& Qxx) {
    const DesignLayout& lay = builder.layout();
    const std::int32_t u = lay.nU;
    double a[3][kParamCount + 1] = {};
    builder.columnsAt(o.mcs, a);
    Matrix J(u, u);
    for (std::int32_t c = 1; c <= u; ++c) J(c, c) = 1.0;
    std::int32_t translations = 0;
    std::int32_t rowOf[4] = {0, 0, 0, 0};
    for (int j = 1; j <= 3; ++j)
        if (lay.isFloat[static_cast<std::size_t>(kTraX + j - 1)]) rowOf[j] = ++translations;
    for (int j = 1; j <= 3; ++j) {
        if (!rowOf[j]) continue;
        for (std::int32_t c = translations + 1; c <= lay.nU13; ++c) J(rowOf[j], c) = -a[j - 1][c];
    }
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
        addCorrection(p, k, x(k - f, 1));
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

// The R Dist fit (distance rows) is the one whose iteration wanders off from the three-point start;
// it gets the multi-start and the step control. The other models keep the plain iteration.
bool isGuarded(const DesignLayout& lay) { return lay.distanceRows; }

// The weighted sum of squares at the job's parameters; the working copy of the rotation stays.
double squareSumAt(JobState& job, const EngineControls& controls, const ParamStates& states,
                   const PointOrigin& origin, const Matrix& P) {
    const double sx = job.RotXSeed, sy = job.RotYSeed, sz = job.RotZSeed;
    double sum = std::numeric_limits<double>::infinity();
    try {
        sum = DesignRowBuilder(job, controls, states, origin).weightedSquareSum(P);
    } catch (const NumericError&) {
    }
    job.RotXSeed = sx, job.RotYSeed = sy, job.RotZSeed = sz;
    return std::isfinite(sum) ? sum : std::numeric_limits<double>::infinity();
}

// A correction below this (mm, rad or scale) cannot carry the iteration off; its effect on the sum
// of squares may be below the sum's rounding near the minimum, so it is taken as the plain step
// without the test.
constexpr double kUntestedCorrection = 1e-6;
// Marquardt damping: N + λ·diag(N), λ from kFirstDamping up by tenfold to kLargestDamping.
constexpr double kFirstDamping = 1e-3;
constexpr double kLargestDamping = 1e12;
// A plain step that promises to lower the sum of squares by less than this share of it finds
// nothing that matters (s0 would change by half of it) and nothing the sum's rounding could always
// tell from no change; near such a minimum the damped steps of a fit with large residuals only
// creep.
constexpr double kSettledShare = 1e-8;

double largestOf(const Matrix& x, std::int32_t nU) {
    double m = 0.0;
    for (std::int32_t i = 1; i <= nU; ++i) m = std::max(m, std::fabs(x(i, 1)));
    return m;
}

// Why an iteration that has moved from its start values gives up.
enum class Stall { NoDescent, SingularOnTheWay };

// "The iteration did not converge from its start values..." with what helps in this model: the
// data may well determine every parameter, so the singular-matrix wording would mislead.
std::string notConvergedMessage(const DesignLayout& lay, std::int32_t iterations, Stall why) {
    // Only what the user can change: a held R Dist takes no seed.
    std::string typedStart;
    if (lay.distanceRows && lay.isFloat[kRDist])
        typedStart = "a seed value for \"R Dist.\", ";
    else if (lay.useAbcTerms)
        typedStart = "seed values for the offset vector, ";
    const std::string after = std::to_string(iterations) + (iterations == 1 ? " iteration" : " iterations");
    return "The iteration did not converge from its start values (after " + after +
           (why == Stall::NoDescent ? " no step lowered the sum of squares any more"
                                    : " the normal equations became singular") +
           "): other seed points, " + typedStart + "or fewer estimated parameters may help.";
}

// Step control of the robot-tool models: of the corrections x that the normal equations give
// (`solved`; false when N has become singular on the way), takes the plain step when it lowers the
// weighted sum of squares, or is too small to matter; else steps of the damped normal equations
// (N + λ·diag(N))·x = w with growing λ until one lowers the sum. Never accepts a step that raises
// it. The parameters are as before the call; x holds the accepted correction, and `plain` tells
// whether it is the plain one. When no step lowers the sum, N is regular and the distances already
// fit to within the threshold thr (root mean square), the fit is exact: x := 0, a plain correction
// that ends the iteration. Otherwise throws NumericError: no step lowers the sum, or the points fit
// exactly on a singular N, where they leave a parameter open (every OCS point beside its partner in
// one plane: tra z and R Dist trade off along a whole line of exact fits).
void controlStep(JobState& job, const ParamStates& states, const EngineControls& controls,
                 const PointOrigin& origin, const Matrix& P, const DesignLayout& lay,
                 const StreamedStep& step, bool solved, std::int32_t iterations, double thr, Matrix& x,
                 Matrix& Qxx, bool& plain) {
    const std::int32_t nU = lay.nU;
    const double base = step.squareSum();
    const Snapshot saved(job);
    auto squaresAfter = [&](const Matrix& dx) {
        double sum = std::numeric_limits<double>::infinity();
        try {
            applyCorrections(job, states, dx);
            sum = squareSumAt(job, controls, states, origin, P);
        } catch (const NumericError&) {
        }
        saved.restore(job);
        return sum;
    };
    plain = true;
    const Matrix& N = step.normalMatrix();
    const Matrix& w = step.rightHandSide();
    if (solved) {
        // The decrease of the sum of squares the plain step promises, wᵀ·N⁻¹·w. Where it lies below
        // the sum's own rounding the fit is at its minimum: what is left of the correction is the
        // rounding of w (coordinates of 10^5 mm leave corrections of some 1e-6 there that no step
        // can turn into a lower sum), and the iteration has converged.
        double promised = 0.0;
        for (std::int32_t c = 1; c <= nU; ++c) promised += w(c, 1) * x(c, 1);
        if (promised <= kSettledShare * base) {
            for (std::int32_t c = 1; c <= nU; ++c) x(c, 1) = 0.0;
            return;
        }
    }
    if (solved && (largestOf(x, nU) < kUntestedCorrection || squaresAfter(x) < base)) return;
    plain = false;
    for (double lambda = kFirstDamping; lambda <= kLargestDamping; lambda *= 10) {
        Matrix damped = N;
        for (std::int32_t c = 1; c <= nU; ++c) damped(c, c) = N(c, c) * (1.0 + lambda);
        Matrix Qd, xd;
        try {
            solveNormalEquations(damped, w, nU, Qd, xd);
        } catch (const NumericError&) {
            continue;
        }
        if (squaresAfter(xd) < base) {
            x = std::move(xd);
            if (!solved) Qxx = std::move(Qd);
            return;
        }
    }
    double weights = 0.0;
    for (std::int32_t i = 1; i <= job.IdenticalCount; ++i) weights += std::fabs(P(3 * i, 1));
    if (solved && weights > 0.0 && std::sqrt(base / weights) < thr) {
        for (std::int32_t c = 1; c <= nU; ++c) x(c, 1) = 0.0;
        plain = true;
        return;
    }
    throw NumericError(
        notConvergedMessage(lay, iterations, solved ? Stall::NoDescent : Stall::SingularOnTheWay));
}

// ---- The multi-start of the robot-tool fit ----

using Params = std::array<double, kParamCount + 1>;

// Points the starts are tried on: every used point up to this many, else an evenly spaced sample of
// them; the winner is then refined on all points. Keeps the search's cost independent of the job's size.
constexpr std::int32_t kStartSample = 128;
// Every start runs a first round of iterations; the few lowest that have not settled run on to the
// full count (fewer when MaxIteration asks for fewer).
constexpr std::int32_t kFirstRound = 30;
constexpr std::int32_t kStartIterations = 100;
// On a few points every run is cheap and all of them run on; on more, the lowest few.
constexpr std::size_t kRunOn = 3;
constexpr std::int32_t kAllRunOnUpTo = 64;

// The job's identical points replaced by a sample of its used points while the object lives (the
// arrays are swapped, not copied, so the sample costs O(sample)); P() holds their weights.
class PointSample {
  public:
    PointSample(JobState& job, const Matrix& P) : job_(job) {
        const std::int32_t n = job.IdenticalCount;
        std::vector<std::int32_t> used;
        for (std::int32_t i = 1; i <= n; ++i)
            if (P(3 * i, 1) != 0.0) used.push_back(i);
        const auto count = static_cast<std::int32_t>(used.size());
        if (count <= kStartSample) {
            weights_ = &P;
            return;
        }
        const std::int32_t k = kStartSample;
        TaggedArray mx(k), my(k), ox(k), oy(k);
        std::vector<double> mz(static_cast<std::size_t>(k + 1), 0.0),
            oz(static_cast<std::size_t>(k + 1), 0.0);
        own_.resize(3 * k, 1);
        for (std::int32_t s = 1; s <= k; ++s) {
            const std::int32_t i =
                used[static_cast<std::size_t>((static_cast<std::int64_t>(s - 1) * count) / k)];
            mx.set(s, job.MCS_X[i]), my.set(s, job.MCS_Y[i]);
            mz[static_cast<std::size_t>(s)] = job.MCS_Z[static_cast<std::size_t>(i)];
            ox.set(s, job.OCS_X[i]), oy.set(s, job.OCS_Y[i]);
            oz[static_cast<std::size_t>(s)] = job.OCS_Z[static_cast<std::size_t>(i)];
            for (int j = 2; j >= 0; --j) own_(3 * s - j, 1) = P(3 * i - j, 1);
        }
        swapped_ = true;
        mx_ = std::move(mx), my_ = std::move(my), ox_ = std::move(ox), oy_ = std::move(oy);
        mz_ = std::move(mz), oz_ = std::move(oz);
        swapIn();
        n_ = n;
        job.IdenticalCount = k;
        weights_ = &own_;
    }
    ~PointSample() {
        if (!swapped_) return;
        swapIn();
        job_.IdenticalCount = n_;
    }
    PointSample(const PointSample&) = delete;
    PointSample& operator=(const PointSample&) = delete;
    const Matrix& P() const { return *weights_; }

  private:
    void swapIn() {
        std::swap(job_.MCS_X, mx_), std::swap(job_.MCS_Y, my_), std::swap(job_.MCS_Z, mz_);
        std::swap(job_.OCS_X, ox_), std::swap(job_.OCS_Y, oy_), std::swap(job_.OCS_Z, oz_);
    }
    JobState& job_;
    bool swapped_ = false;
    std::int32_t n_ = 0;
    TaggedArray mx_, my_, ox_, oy_;
    std::vector<double> mz_, oz_;
    Matrix own_;
    const Matrix* weights_ = nullptr;
};

// The centroids of the job's identical points when a translation is estimated, else the zero origin.
PointOrigin centroidOrigin(const JobState& job, const DesignLayout& lay) {
    PointOrigin o;
    const std::int32_t n = job.IdenticalCount;
    if (n < 1 || (!lay.isFloat[kTraX] && !lay.isFloat[kTraY] && !lay.isFloat[kTraZ])) return o;
    for (std::int32_t i = 1; i <= n; ++i) {
        o.mcs[1] += job.MCS_X[i], o.mcs[2] += job.MCS_Y[i],
            o.mcs[3] += job.MCS_Z[static_cast<std::size_t>(i)];
        o.ocs[1] += job.OCS_X[i], o.ocs[2] += job.OCS_Y[i],
            o.ocs[3] += job.OCS_Z[static_cast<std::size_t>(i)];
    }
    for (int j = 1; j <= 3; ++j) o.mcs[j] /= n, o.ocs[j] /= n;
    return o;
}

struct StartRun {
    bool regular = false;  // the normal matrix was regular at the start values
    double squares = std::numeric_limits<double>::infinity();
    Params params{};
    std::int32_t iterations = 0;
    bool settled = false;  // converged, or stalled where no step lowers the sum
};

// The damped iteration from one start, as the solve runs it, up to `limit` iterations; what it
// reaches (also where it stalls) with its weighted sum of squares.
StartRun runFromStart(JobState& job, const ParamStates& states, EngineContext& ctx, const Matrix& P,
                      const DesignLayout& lay, const Params& start, std::int32_t limit, double thr) {
    StartRun r;
    job.Params = start;
    const PointOrigin origin = centroidOrigin(job, lay);
    const bool reduced = !isZero(origin);
    try {
        if (reduced) reduceTranslation(job, origin, lay);
        StreamedStep step(job, states, P, origin, ctx);
        std::optional<OrdinaryMoments> moments;
        Matrix Q, x;
        for (std::int32_t it = 0; it < limit && !job.StopFlag; ++it) {
            DesignRowBuilder builder(job, ctx.controls, states, origin);
            const bool solved = step.run(builder, it, Q, x, moments, true, true);
            if (it == 0) r.regular = solved;
            if (!solved && it == 0) break;
            bool plain = true;
            controlStep(job, states, ctx.controls, origin, P, lay, step, solved, it, thr, x, Q, plain);
            applyCorrections(job, states, x);
            ++r.iterations;
            if (plain && largestOf(x, lay.nU) < thr) {
                r.settled = true;
                break;
            }
        }
    } catch (const NumericError&) {
        // A stall: what the iteration reached stays a candidate.
        r.settled = true;
    }
    try {
        if (reduced) restoreTranslation(job, origin, lay);
        r.squares = squareSumAt(job, ctx.controls, states, PointOrigin{}, P);
    } catch (const NumericError&) {
        r.squares = std::numeric_limits<double>::infinity();
    }
    r.params = job.Params;
    return r;
}

// Turns of the all-points start that lead into the other valleys of the fit: the 23 turns that
// map a cube onto itself (quarter and half turns about the axes, half turns about the edge
// diagonals, thirds of a turn about the space diagonals).
WorkMatrix turnAbout(double ax, double ay, double az, double angle) {
    const double len = std::sqrt(ax * ax + ay * ay + az * az);
    const double u[4] = {0.0, ax / len, ay / len, az / len};
    const double c = std::cos(angle), s = std::sin(angle);
    WorkMatrix m{};
    for (int i = 1; i <= 3; ++i)
        for (int j = 1; j <= 3; ++j)
            m[static_cast<std::size_t>(i)][static_cast<std::size_t>(j)] = (1 - c) * u[i] * u[j];
    for (int i = 1; i <= 3; ++i) m[static_cast<std::size_t>(i)][static_cast<std::size_t>(i)] += c;
    m[1][2] -= s * u[3], m[1][3] += s * u[2];
    m[2][1] += s * u[3], m[2][3] -= s * u[1];
    m[3][1] -= s * u[2], m[3][2] += s * u[1];
    return m;
}

const std::vector<WorkMatrix>& startTurns() {
    static const std::vector<WorkMatrix> turns = [] {
        std::vector<WorkMatrix> t;
        const double axes[3][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
        for (const auto& a : axes) t.push_back(turnAbout(a[0], a[1], a[2], kPi));
        const double diagonals[4][3] = {{1, 1, 1}, {-1, 1, 1}, {1, -1, 1}, {1, 1, -1}};
        for (const auto& d : diagonals)
            for (const double f : {2.0 / 3, 4.0 / 3}) t.push_back(turnAbout(d[0], d[1], d[2], f * kPi));
        for (const auto& a : axes)
            for (const double f : {0.5, 1.5}) t.push_back(turnAbout(a[0], a[1], a[2], f * kPi));
        const double edges[6][3] = {{1, 1, 0}, {1, -1, 0}, {1, 0, 1}, {1, 0, -1}, {0, 1, 1}, {0, 1, -1}};
        for (const auto& e : edges) t.push_back(turnAbout(e[0], e[1], e[2], kPi));
        return t;
    }();
    return turns;
}

struct StartSearch {
    // Where the shown iteration starts: the winning start itself when the starts ran on all points
    // (the iteration then repeats that run, every step of it shown and logged), or the fit the
    // winner reached on the sample, to be refined on all points.
    std::optional<Params> best;
    bool anyRegular = false;  // some start had a regular normal matrix
};

// Runs the damped iteration from several starts on (a sample of) the used points: the all-points
// start with the held rows at their values, the start the seed points and typed values give, the
// all-points pose with that start's R Dist, and the all-points start turned by fixed turns. Keeps
// the lowest weighted sum of squares (the first such start on a tie): the same job gives the same
// start every time. The job's parameters are as before the call.
StartSearch searchStarts(JobState& job, const ParamStates& states, EngineContext& ctx,
                         const DesignLayout& lay, const Matrix& P, double thr) {
    StartSearch found;
    const Snapshot saved(job);
    const Params specified = job.Params;
    {
        PointSample sample(job, P);
        const bool sampled = &sample.P() != &P;
        const Matrix& Ps = sample.P();
        std::vector<Params> starts;
        const auto all = allPointsStart(job, lay, Ps);
        if (all) starts.push_back(*all);
        starts.push_back(specified);
        if (all && lay.isFloat[kRDist] && specified[kRDist] > 0.0 && specified[kRDist] != (*all)[kRDist]) {
            Params typed = *all;
            typed[kRDist] = specified[kRDist];
            starts.push_back(typed);
        }
        if (all)
            for (const WorkMatrix& turn : startTurns())
                if (const auto t = turnedStart(job, lay, Ps, *all, turn)) starts.push_back(*t);
        const std::int32_t limit =
            std::max<std::int32_t>(1, std::min<std::int32_t>(job.MaxIteration, kStartIterations));
        std::vector<StartRun> runs;
        for (const Params& start : starts) {
            if (job.StopFlag) break;
            runs.push_back(runFromStart(job, states, ctx, Ps, lay, start, std::min(limit, kFirstRound), thr));
            saved.restore(job);
            found.anyRegular = found.anyRegular || runs.back().regular;
        }
        // The lowest runs that are still moving run on.
        std::vector<std::size_t> moving;
        for (std::size_t k = 0; k < runs.size(); ++k)
            if (!runs[k].settled && runs[k].iterations < limit) moving.push_back(k);
        std::stable_sort(moving.begin(), moving.end(),
                         [&runs](std::size_t a, std::size_t b) { return runs[a].squares < runs[b].squares; });
        if (moving.size() > kRunOn && job.IdenticalCount > kAllRunOnUpTo) moving.resize(kRunOn);
        for (const std::size_t k : moving) {
            if (job.StopFlag) break;
            StartRun on =
                runFromStart(job, states, ctx, Ps, lay, runs[k].params, limit - runs[k].iterations, thr);
            saved.restore(job);
            on.regular = runs[k].regular;
            on.iterations += runs[k].iterations;
            runs[k] = on;
        }
        double lowest = std::numeric_limits<double>::infinity();
        for (std::size_t k = 0; k < runs.size(); ++k)
            if (runs[k].squares < lowest) {
                lowest = runs[k].squares;
                found.best = sampled ? runs[k].params : starts[k];
            }
    }
    saved.restore(job);
    return found;
}

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
        double largestCoordinate = 0.0;
        const PointOrigin origin = checkInputAndChooseOrigin(job, firstLayout, largestCoordinate);
        job.Params[kRvecX] = job.Params[kRvecY] = job.Params[kRvecZ] = 0.0;
        ctx.poll();
        calculateSeed(job, job.Params[kTraX], job.Params[kTraY], job.Params[kTraZ], job.Params[kRotX],
                      job.Params[kRotY], job.Params[kRotZ], job.Params[kScaleX], job.Params[kScaleY],
                      job.Params[kScaleZ], ctx.seedValues);
        applyStartValues(job, ParamState, ctx.controls);
        refuseHeldTranslationsBeyondTheLimit(job, firstLayout);
        const double thr = job.IterationThreshold != 0.0 ? job.IterationThreshold : 1e-9;
        const bool guarded = isGuarded(firstLayout);
        // The robot-tool fit starts from the best of several starts; a normal matrix that is
        // singular at one start then says nothing about the points when another start had a regular one.
        bool regularSomewhere = false;
        if (guarded) {
            const StartSearch found = searchStarts(job, ParamState, ctx, firstLayout, P, thr);
            regularSomewhere = found.anyRegular;
            if (found.best && regularSomewhere) job.Params = *found.best;
        }

        const bool reduced = !isZero(origin);
        if (reduced) reduceTranslation(job, origin, firstLayout);

        const bool logCorrections = ctx.controls.CheckRDist == 1;
        std::string log;
        Matrix QxxWork, x;
        StreamedStep step(job, ParamState, P, origin, ctx);
        // The ordinary rows' columns are linear in the points: the moments of the points, formed
        // once, give every iteration's normal matrix.
        std::optional<OrdinaryMoments> moments;
        std::optional<DesignRowBuilder> builder;
        std::int32_t j = 0, p = 0;
        double m = 0.0, pm = 0.0;
        bool rDistMode = false;
        bool plain = true;  // the last correction was the plain one of the normal equations
        do {
            ctx.poll();
            ctx.setPanel(2, kTextBuildMatrix);
            ctx.poll();
            builder.emplace(job, ctx.controls, ParamState, origin);
            rDistMode = builder->layout().rDistMode;
            ctx.setPanel(2, kTextStartStep);
            ctx.poll();
            // In the robot-tool models a singular normal matrix after the first iteration is no
            // sign that the points cannot determine the parameters: the iteration has moved away.
            const DesignLayout& lay = builder->layout();
            const bool movedOn =
                (lay.distanceRows || lay.useAbcTerms) && (out.H3D_Zaehler > 0 || regularSomewhere);
            const bool solved = step.run(*builder, out.H3D_Zaehler, QxxWork, x, moments, guarded, movedOn);
            if (guarded)
                controlStep(job, ParamState, ctx.controls, origin, P, lay, step, solved, out.H3D_Zaehler, thr,
                            x, QxxWork, plain);
            else if (!solved)
                throw NumericError(notConvergedMessage(lay, out.H3D_Zaehler, Stall::SingularOnTheWay));

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
        } while ((m >= thr || !plain) && out.H3D_Zaehler <= job.MaxIteration && !job.StopFlag);

        if (reduced) {
            restoreTranslation(job, origin, firstLayout);
            restoreCofactors(*builder, origin, QxxWork);
        }

        out.converged = m < thr && plain;
        out.limitReached = out.H3D_Zaehler > job.MaxIteration;
        out.stopped = job.StopFlag && !out.converged && !out.limitReached;

        // The residuals last: ordinary ones that surely stay finite go straight into v (nothing
        // after them can fail); others into a matrix of their own, handed over when all are there.
        const DesignLayout& lastLayout = builder->layout();
        if (!lastLayout.rDistMode && !lastLayout.useAbcTerms &&
            builder->ordinaryResidualsStayFinite(largestCoordinate, x)) {
            if (v.rows() != nObs || v.cols() != 1) v.resize(nObs, 1);
            step.residuals(*builder, x, v, false);
        } else {
            Matrix vWork(nObs, 1);
            step.residuals(*builder, x, vWork);
            v = std::move(vWork);
        }
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
