// The R Dist fit on generated robot-tool jobs of the kind tool calibration meets: 5 to 15 points in a
// box, nearly on a line or nearly on a plane, noise of 0.05 to 0.2 mm on each OCS coordinate, R Dist
// 2 to 2000 mm, translations up to 10^5 mm, rot y' near ±90° in half of them, the common scale
// estimated in some, up to two translations or rotations held at their true or at a wrong value,
// R Dist held in some, a poor R Dist seed in some. Each solve is checked against a least-squares fit
// made here, independent of the solver and of the truth: Levenberg–Marquardt on the residuals
// |OCS − (T + R·s·MCS)| − R Dist, from a rigid fit of all points (the held rows at their values) and
// from eight fixed random rotations, keeping the lowest sum of squares. Counted are the jobs where
// that fit finds one best fit the points determine: as many points as unknowns, a well-conditioned
// Jacobian there and no other fit as good.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <iostream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "engine/LeastSquares.h"
#include "engine/SolverHarness.h"
#include "engine/SyntheticJob.h"
#include "engine/TransformModel.h"
#include "shared/Constants.h"

namespace kal {
namespace {

using testing::SolverHarness;

// ---- The reference fit: its own model, its own small dense algebra ----

// The unknowns of the reference: tra x, y, z, rot x, y', z'' (rad), common scale, R Dist.
constexpr int kT = 0, kA = 3, kS = 6, kR = 7, kU = 8;
using Vec8 = std::array<double, kU>;
using Mat3 = std::array<std::array<double, 3>, 3>;

// The point rotation of an x-y'-z'' triple: the transpose of Rx(a)·Ry(b)·Rz(c).
Mat3 pointRotation(double a, double b, double c) {
    const double ca = std::cos(a), sa = std::sin(a), cb = std::cos(b), sb = std::sin(b), cc = std::cos(c),
                 sc = std::sin(c);
    const Mat3 rx = {{{1, 0, 0}, {0, ca, -sa}, {0, sa, ca}}};
    const Mat3 ry = {{{cb, 0, sb}, {0, 1, 0}, {-sb, 0, cb}}};
    const Mat3 rz = {{{cc, -sc, 0}, {sc, cc, 0}, {0, 0, 1}}};
    Mat3 xy{}, xyz{}, t{};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            for (int k = 0; k < 3; ++k) xy[i][j] += rx[i][k] * ry[k][j];
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            for (int k = 0; k < 3; ++k) xyz[i][j] += xy[i][k] * rz[k][j];
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) t[i][j] = xyz[j][i];
    return t;
}

struct Points {
    std::vector<std::array<double, 3>> m, o;  // MCS, OCS
};

// T + R·s·m.
std::array<double, 3> model(const Vec8& p, const Mat3& R, const std::array<double, 3>& m) {
    std::array<double, 3> q{};
    for (int j = 0; j < 3; ++j) q[j] = p[kT + j] + p[kS] * (R[j][0] * m[0] + R[j][1] * m[1] + R[j][2] * m[2]);
    return q;
}

std::vector<double> distanceResiduals(const Points& pts, const Vec8& p) {
    const Mat3 R = pointRotation(p[kA], p[kA + 1], p[kA + 2]);
    std::vector<double> r(pts.m.size());
    for (std::size_t i = 0; i < pts.m.size(); ++i) {
        const auto q = model(p, R, pts.m[i]);
        double d2 = 0;
        for (int j = 0; j < 3; ++j) d2 += (pts.o[i][j] - q[j]) * (pts.o[i][j] - q[j]);
        r[i] = std::sqrt(d2) - p[kR];
    }
    return r;
}

std::vector<double> rigidResiduals(const Points& pts, const Vec8& p) {
    const Mat3 R = pointRotation(p[kA], p[kA + 1], p[kA + 2]);
    std::vector<double> r;
    for (std::size_t i = 0; i < pts.m.size(); ++i) {
        const auto q = model(p, R, pts.m[i]);
        for (int j = 0; j < 3; ++j) r.push_back(pts.o[i][j] - q[j]);
    }
    return r;
}

using Residuals = std::vector<double> (*)(const Points&, const Vec8&);

double squares(const std::vector<double>& r) {
    double s = 0;
    for (double v : r) s += v * v;
    return s;
}

// Central-difference Jacobian of the residuals by the free unknowns.
std::vector<std::vector<double>> jacobian(Residuals f, const Points& pts, const Vec8& p,
                                          const std::vector<int>& free) {
    std::vector<std::vector<double>> J;
    for (int k : free) {
        const double h = k >= kA && k < kS ? 1e-7 : k == kS ? 1e-8 : 1e-6 * std::max(1.0, std::fabs(p[k]));
        Vec8 up = p, down = p;
        up[k] += h, down[k] -= h;
        const auto ru = f(pts, up), rd = f(pts, down);
        std::vector<double> col(ru.size());
        for (std::size_t i = 0; i < ru.size(); ++i) col[i] = (ru[i] - rd[i]) / (2 * h);
        J.push_back(std::move(col));
    }
    return J;  // J[column][row]
}

bool solveDense(std::vector<std::vector<double>> A, std::vector<double> b, std::vector<double>& x) {
    const std::size_t n = b.size();
    for (std::size_t c = 0; c < n; ++c) {
        std::size_t piv = c;
        for (std::size_t r = c + 1; r < n; ++r)
            if (std::fabs(A[r][c]) > std::fabs(A[piv][c])) piv = r;
        if (!(std::fabs(A[piv][c]) > 0)) return false;
        std::swap(A[piv], A[c]);
        std::swap(b[piv], b[c]);
        for (std::size_t r = c + 1; r < n; ++r) {
            const double f = A[r][c] / A[c][c];
            for (std::size_t k = c; k < n; ++k) A[r][k] -= f * A[c][k];
            b[r] -= f * b[c];
        }
    }
    x.assign(n, 0);
    for (std::size_t r = n; r-- > 0;) {
        double v = b[r];
        for (std::size_t k = r + 1; k < n; ++k) v -= A[r][k] * x[k];
        x[r] = v / A[r][r];
    }
    return std::all_of(x.begin(), x.end(), [](double v) { return std::isfinite(v); });
}

// Levenberg–Marquardt of the free unknowns from p.
Vec8 levenbergMarquardt(Residuals f, const Points& pts, Vec8 p, const std::vector<int>& free) {
    double base = squares(f(pts, p));
    double lambda = 1e-3;
    for (int it = 0; it < 400 && lambda < 1e16; ++it) {
        const auto J = jacobian(f, pts, p, free);
        const auto r = f(pts, p);
        const std::size_t u = free.size();
        std::vector<std::vector<double>> N(u, std::vector<double>(u, 0.0));
        std::vector<double> g(u, 0.0);
        for (std::size_t a = 0; a < u; ++a) {
            for (std::size_t i = 0; i < r.size(); ++i) g[a] -= J[a][i] * r[i];
            for (std::size_t b = 0; b < u; ++b)
                for (std::size_t i = 0; i < r.size(); ++i) N[a][b] += J[a][i] * J[b][i];
        }
        bool accepted = false;
        while (lambda < 1e16) {
            auto D = N;
            for (std::size_t a = 0; a < u; ++a) D[a][a] += lambda * N[a][a] + 1e-300;
            std::vector<double> dx;
            Vec8 trial = p;
            if (solveDense(D, g, dx))
                for (std::size_t a = 0; a < u; ++a) trial[free[a]] += dx[a];
            const double s = squares(f(pts, trial));
            if (s < base) {
                const bool tiny = base - s <= 1e-14 * base;
                p = trial, base = s, lambda = std::max(1e-12, lambda / 10), accepted = true;
                if (tiny) return p;
                break;
            }
            lambda *= 10;
        }
        if (!accepted) break;
    }
    return p;
}

// Eigenvalues of a small symmetric matrix (cyclic Jacobi).
std::vector<double> eigenvalues(std::vector<std::vector<double>> a) {
    const std::size_t n = a.size();
    for (int sweep = 0; sweep < 100; ++sweep) {
        double off = 0;
        for (std::size_t i = 0; i < n; ++i)
            for (std::size_t j = i + 1; j < n; ++j) off += a[i][j] * a[i][j];
        if (off < 1e-30) break;
        for (std::size_t p = 0; p < n; ++p)
            for (std::size_t q = p + 1; q < n; ++q) {
                if (a[p][q] == 0) continue;
                const double th = (a[q][q] - a[p][p]) / (2 * a[p][q]);
                const double t = (th >= 0 ? 1 : -1) / (std::fabs(th) + std::sqrt(th * th + 1));
                const double c = 1 / std::sqrt(t * t + 1), s = t * c;
                for (std::size_t k = 0; k < n; ++k) {
                    const double kp = a[k][p], kq = a[k][q];
                    a[k][p] = c * kp - s * kq, a[k][q] = s * kp + c * kq;
                }
                for (std::size_t k = 0; k < n; ++k) {
                    const double pk = a[p][k], qk = a[q][k];
                    a[p][k] = c * pk - s * qk, a[q][k] = s * pk + c * qk;
                }
            }
    }
    std::vector<double> e;
    for (std::size_t i = 0; i < n; ++i) e.push_back(a[i][i]);
    return e;
}

// Condition number of the Jacobian with its columns scaled to unit length.
double conditionNumber(const std::vector<std::vector<double>>& J) {
    const std::size_t u = J.size();
    std::vector<std::vector<double>> N(u, std::vector<double>(u, 0.0));
    std::vector<double> len(u, 0.0);
    for (std::size_t a = 0; a < u; ++a) len[a] = std::sqrt(squares(J[a]));
    for (std::size_t a = 0; a < u; ++a)
        for (std::size_t b = 0; b < u; ++b)
            for (std::size_t i = 0; i < J[a].size(); ++i) N[a][b] += J[a][i] * J[b][i] / (len[a] * len[b]);
    const auto e = eigenvalues(N);
    const double lo = *std::min_element(e.begin(), e.end()), hi = *std::max_element(e.begin(), e.end());
    return lo > 0 ? std::sqrt(hi / lo) : std::numeric_limits<double>::infinity();
}

// How far two fits put the points and R Dist apart (mm).
double fitDistance(const Points& pts, const Vec8& a, const Vec8& b) {
    const Mat3 Ra = pointRotation(a[kA], a[kA + 1], a[kA + 2]),
               Rb = pointRotation(b[kA], b[kA + 1], b[kA + 2]);
    double worst = std::fabs(a[kR] - b[kR]);
    for (const auto& m : pts.m) {
        const auto qa = model(a, Ra, m), qb = model(b, Rb, m);
        for (int j = 0; j < 3; ++j) worst = std::max(worst, std::fabs(qa[j] - qb[j]));
    }
    return worst;
}

// Estimated translations as the mean of what the turned points leave, an estimated R Dist the mean distance.
Vec8 completed(const Points& pts, Vec8 p, const std::vector<bool>& isFree) {
    const Mat3 R = pointRotation(p[kA], p[kA + 1], p[kA + 2]);
    for (int j = 0; j < 3; ++j) {
        if (!isFree[static_cast<std::size_t>(kT + j)]) continue;
        double s = 0;
        for (std::size_t i = 0; i < pts.m.size(); ++i) {
            const double q = p[kS] * (R[j][0] * pts.m[i][0] + R[j][1] * pts.m[i][1] + R[j][2] * pts.m[i][2]);
            s += pts.o[i][j] - q;
        }
        p[kT + j] = s / static_cast<double>(pts.m.size());
    }
    if (isFree[kR]) {
        p[kR] = 0;
        const auto r = distanceResiduals(pts, p);
        double s = 0;
        for (double v : r) s += v;
        p[kR] = s / static_cast<double>(r.size());
    }
    return p;
}

struct Reference {
    bool counted = false;  // one best fit that the points determine
    double squares = 0;
    Vec8 best{};
    std::string why;  // why a job is not counted
};

Reference referenceFit(const Points& pts, const Vec8& held, const std::vector<bool>& isFree, double sigma,
                       std::uint64_t seed) {
    std::vector<int> free, freeRigid;
    for (int k = 0; k < kU; ++k)
        if (isFree[static_cast<std::size_t>(k)]) {
            free.push_back(k);
            if (k != kR) freeRigid.push_back(k);
        }
    std::mt19937_64 rng(seed);
    std::uniform_real_distribution<double> turn(-kPi, kPi), tilt(-kPi / 2, kPi / 2);
    std::vector<Vec8> rotations;
    for (int r = 0; r < 9; ++r) {
        Vec8 p = held;
        if (r > 0) {
            const double a = turn(rng), b = tilt(rng), c = turn(rng);
            if (isFree[kA]) p[kA] = a;
            if (isFree[kA + 1]) p[kA + 1] = b;
            if (isFree[kA + 2]) p[kA + 2] = c;
        }
        rotations.push_back(p);
    }
    // The rigid fit of all points with the held rows at their values: the best of its starts.
    Vec8 rigid{};
    double rigidBest = std::numeric_limits<double>::infinity();
    for (const Vec8& r : rotations) {
        const Vec8 p = levenbergMarquardt(rigidResiduals, pts, completed(pts, r, isFree), freeRigid);
        const double s = squares(rigidResiduals(pts, p));
        if (s < rigidBest) rigidBest = s, rigid = p;
    }
    std::vector<Vec8> starts{completed(pts, rigid, isFree)};
    for (std::size_t r = 1; r < rotations.size(); ++r) starts.push_back(completed(pts, rotations[r], isFree));
    std::vector<Vec8> ends;
    std::vector<double> sums;
    Reference ref;
    ref.squares = std::numeric_limits<double>::infinity();
    for (const Vec8& s : starts) {
        const Vec8 p = levenbergMarquardt(distanceResiduals, pts, s, free);
        ends.push_back(p);
        sums.push_back(squares(distanceResiduals(pts, p)));
        if (sums.back() < ref.squares) ref.squares = sums.back(), ref.best = p;
    }
    if (pts.m.size() < free.size()) {
        ref.why = "fewer points than unknowns";
        return ref;
    }
    const double cond = conditionNumber(jacobian(distanceResiduals, pts, ref.best, free));
    if (!(cond < 1e3)) {
        ref.why = "condition number " + std::to_string(cond);
        return ref;
    }
    for (std::size_t k = 0; k < ends.size(); ++k)
        if (sums[k] <= ref.squares + sigma * sigma && fitDistance(pts, ends[k], ref.best) > 0.5) {
            ref.why = "a second fit as good";
            return ref;
        }
    ref.counted = true;
    return ref;
}

// ---- The generated jobs ----

enum class Spread { Box, Line, Plane };

struct GeneratedJob {
    JobState job;
    ParamStates states;
    EngineControls controls;
    Points pts;
    Vec8 held{};  // held values (and the others' truth, unused by the reference)
    std::vector<bool> isFree;
    double sigma = 0;
    std::string text;
};

std::array<double, 3> unit(std::mt19937_64& rng) {
    std::normal_distribution<double> g;
    std::array<double, 3> d{g(rng), g(rng), g(rng)};
    const double len = std::sqrt(d[0] * d[0] + d[1] * d[1] + d[2] * d[2]);
    for (double& v : d) v /= len;
    return d;
}

std::string number(double v) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.15g", v);
    return buf;
}

// Job `index` with n points; the same index with n and n + 7 points shares everything but the extra points.
GeneratedJob generate(std::uint64_t index, std::int32_t extra) {
    std::mt19937_64 rng(9000 + index);
    auto uni = [&rng](double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(rng); };
    const double deg = kPi / 180;
    GeneratedJob g;
    const std::int32_t n = 5 + static_cast<std::int32_t>(index % 4) + extra;
    const Spread spread = static_cast<Spread>(index / 4 % 3);
    const bool gimbal = index / 12 % 2 == 1;
    const bool scaled = index % 5 == 3;
    const bool rDistHeld = index % 7 == 5;
    const bool poorSeed = index % 3 == 1;
    g.sigma = uni(0.05, 0.2);
    Vec8 truth{};
    for (int j = 0; j < 3; ++j) truth[kT + j] = uni(-1e5, 1e5);
    truth[kA] = uni(-180, 180) * deg;
    truth[kA + 1] = gimbal ? (uni(0, 1) < 0.5 ? -1 : 1) * uni(85, 89.8) * deg : uni(-80, 80) * deg;
    truth[kA + 2] = uni(-180, 180) * deg;
    truth[kS] = scaled ? 1 + uni(-1e-3, 1e-3) : 1.0;
    truth[kR] = std::exp(uni(std::log(2.0), std::log(2000.0)));
    const double half = uni(300, 1000);
    const auto axis1 = unit(rng), axis2 = unit(rng);

    g.isFree.assign(kU, true);
    g.isFree[kS] = scaled;
    g.isFree[kR] = !rDistHeld;
    g.held = truth;
    g.states = testing::statesWith({1, 2, 3, 4, 5, 6});
    const int heldCount = static_cast<int>(index / 2 % 3);
    std::vector<int> slots{0, 1, 2, 3, 4, 5};
    std::shuffle(slots.begin(), slots.end(), rng);
    std::ostringstream held;
    for (int h = 0; h < heldCount; ++h) {
        const int k = slots[static_cast<std::size_t>(h)];
        const bool wrong = uni(0, 1) < 0.5;
        g.isFree[static_cast<std::size_t>(k)] = false;
        if (k < 3) {
            g.held[k] = truth[k] + (wrong ? 3.0 : 0.0);
            g.states[static_cast<std::size_t>(kTraX + k)] = number(g.held[k]);
        } else {
            const double degrees = truth[k] / deg + (wrong ? 1.5 : 0.0);
            g.held[k] = degrees * deg;
            g.states[static_cast<std::size_t>(kTraX + k)] = number(degrees);
        }
        held << " " << parameterCaption(kTraX + k) << (wrong ? " held wrong" : " held true");
    }
    if (scaled) {
        g.states[kScaleXYZ] = "float";
        g.states[kScaleX] = g.states[kScaleY] = g.states[kScaleZ] = "not used";
    }
    if (rDistHeld) {
        g.states[kRDist] = number(truth[kR]);
        g.controls.CheckRDist = 0;
    } else {
        g.states[kRDist] = "float";
        g.controls.CheckRDist = 1;
    }

    // Points: 5 to 8, and the same with 7 more.
    const Mat3 R = pointRotation(truth[kA], truth[kA + 1], truth[kA + 2]);
    std::normal_distribution<double> noise(0.0, g.sigma);
    std::mt19937_64 pointRng(777 + index);
    auto pu = [&pointRng](double lo, double hi) {
        return std::uniform_real_distribution<double>(lo, hi)(pointRng);
    };
    for (std::int32_t i = 0; i < n; ++i) {
        std::array<double, 3> m{};
        if (spread == Spread::Box) {
            m = {pu(-half, half), pu(-half, half), pu(-half, half)};
        } else {
            const double t = pu(-half, half), u = spread == Spread::Plane ? pu(-half, half) : 0.0;
            for (int j = 0; j < 3; ++j) m[j] = t * axis1[j] + u * axis2[j] + pu(-0.1, 0.1) * half;
        }
        const auto q = model(truth, R, m);
        const auto d = unit(pointRng);
        std::array<double, 3> o{};
        for (int j = 0; j < 3; ++j) o[j] = q[j] + truth[kR] * d[j] + noise(pointRng);
        g.pts.m.push_back(m), g.pts.o.push_back(o);
    }
    auto params = testing::identityParams();
    g.job = testing::makeJob(n, params, 1.0, 1);
    for (std::int32_t i = 1; i <= n; ++i) {
        const auto& m = g.pts.m[static_cast<std::size_t>(i - 1)];
        const auto& o = g.pts.o[static_cast<std::size_t>(i - 1)];
        g.job.MCS_X.set(i, m[0]), g.job.MCS_Y.set(i, m[1]), g.job.MCS_Z[static_cast<std::size_t>(i)] = m[2];
        g.job.OCS_X.set(i, o[0]), g.job.OCS_Y.set(i, o[1]), g.job.OCS_Z[static_cast<std::size_t>(i)] = o[2];
    }
    if (poorSeed) g.job.RDist() = 10 * truth[kR];  // an R Dist left far off

    std::ostringstream t;
    t << "job " << index << " (" << n << " points, "
      << (spread == Spread::Box    ? "box"
          : spread == Spread::Line ? "near a line"
                                   : "near a plane")
      << (gimbal ? ", rot y' near 90°" : "") << (scaled ? ", scale estimated" : "")
      << (rDistHeld ? ", R Dist held" : "") << (poorSeed ? ", poor R Dist seed" : "") << held.str()
      << ", R Dist " << truth[kR] << ", noise " << g.sigma << ")";
    g.text = t.str();
    return g;
}

// The program's parameters as the reference's unknowns.
Vec8 fromJob(const JobState& job) {
    Vec8 p{};
    for (int j = 0; j < 3; ++j) p[kT + j] = job.Params[static_cast<std::size_t>(kTraX + j)];
    for (int j = 0; j < 3; ++j) p[kA + j] = job.Params[static_cast<std::size_t>(kRotX + j)];
    p[kS] = job.Params[kScaleX];
    p[kR] = job.Params[kRDist];
    return p;
}

struct Count {
    int solves = 0, counted = 0, reached = 0, readyWorse = 0, cannotDetermine = 0, limit = 0, refused = 0;
    std::string firstFault;
    std::string text() const {
        std::ostringstream s;
        s << solves << " solves, " << counted << " counted: " << reached << " reach the best fit, "
          << readyWorse << " end \"ready\" worse, " << cannotDetermine << " \"cannot determine\", " << limit
          << " at the iteration limit, " << refused << " refused otherwise. First fault: " << firstFault;
        return s.str();
    }
};

TEST(RDistBestFit, GeneratedToolJobsReachTheBestFitOfAnIndependentMultiStartFit) {
    // The reference's model is the program's model.
    {
        Vec8 p{};
        p[kT] = 10, p[kT + 1] = -20, p[kT + 2] = 30, p[kA] = 0.3, p[kA + 1] = -1.2, p[kA + 2] = 2.5,
        p[kS] = 1.0;
        JobState job;
        job.Params = testing::identityParams();
        for (int j = 0; j < 6; ++j) job.Params[static_cast<std::size_t>(kTraX + j)] = p[j];
        job.RotXSeed = p[kA], job.RotYSeed = p[kA + 1], job.RotZSeed = p[kA + 2];
        double x, y, z;
        PointTransform(job).apply(100, 200, -300, x, y, z);
        const auto q = model(p, pointRotation(p[kA], p[kA + 1], p[kA + 2]), {100, 200, -300});
        ASSERT_NEAR(q[0], x, 1e-9);
        ASSERT_NEAR(q[1], y, 1e-9);
        ASSERT_NEAR(q[2], z, 1e-9);
    }
    Count c;
    for (std::uint64_t index = 0; index < 168; ++index)
        for (const std::int32_t extra : {0, 7}) {
            GeneratedJob g = generate(index, extra);
            const Reference ref = referenceFit(g.pts, g.held, g.isFree, g.sigma, 31 + index);
            SolverHarness h;
            h.ctx.controls = g.controls;
            ++c.solves;
            std::string fault;
            bool converged = false, reached = false;
            try {
                const HelmertOutcome out = h.solve(g.job, g.states);
                converged = out.converged;
                if (out.limitReached) ++c.limit;
                const double sum = squares(distanceResiduals(g.pts, fromJob(g.job)));
                reached = converged && sum <= ref.squares * (1 + 1e-6) + 1e-9;
                if (converged && sum > ref.squares + g.sigma * g.sigma && ref.counted) {
                    ++c.readyWorse;
                    fault = "\"ready\" with a sum of squares " + std::to_string(sum) + " against " +
                            std::to_string(ref.squares);
                }
            } catch (const std::exception& e) {
                const std::string what = e.what();
                if (ref.counted) {
                    if (what.find("cannot determine") != std::string::npos) {
                        ++c.cannotDetermine;
                        fault = what;
                    } else {
                        ++c.refused;
                    }
                }
            }
            if (!ref.counted) continue;
            ++c.counted;
            if (reached) ++c.reached;
            if (!fault.empty() && c.firstFault.empty()) c.firstFault = g.text + ": " + fault;
        }
    std::cout << "R Dist best fit: " << c.text() << "\n";
    ASSERT_GE(c.solves, 300);
    ASSERT_GE(c.counted, 150) << c.text();
    EXPECT_EQ(c.readyWorse, 0) << c.text();
    EXPECT_EQ(c.cannotDetermine, 0) << c.text();
    EXPECT_GE(c.reached, 0.95 * c.counted) << c.text();
}

}  // namespace
}  // namespace kal
