#pragma once
// An independent orthogonal-distance fit of a dish job's pose, for tests that check the program's
// paraboloid fit against a best fit found apart from it.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <vector>

#include "engine/FootPoint.h"
#include "shared/JobState.h"
#include "shared/Matrix.h"
#include "shared/Rotations.h"

namespace kal::testing {

// tra x, tra y, tra z (mm), rot x, rot y', rot z'' (rad).
using DishPose = std::array<double, 6>;

// The sum of squared distances of the MCS points, carried by a pose, from their foot points on the
// job's surface profile: what an orthogonal-distance fit of the dish minimises.
struct DishSurface {
    const JobState& job;
    bool turnFree;  // rot z'' estimated

    int unknowns() const { return turnFree ? 6 : 5; }

    double sum(const DishPose& p, std::vector<double>* residuals = nullptr) const {
        Matrix M(3, 3);
        matFromAnglesXYZ(p[3], p[4], p[5], M);
        double s = 0.0;
        if (residuals) residuals->clear();
        for (std::int32_t k = 1; k <= job.IdenticalCount; ++k) {
            const double m[3] = {job.MCS_X[k], job.MCS_Y[k], job.MCS_Z[static_cast<std::size_t>(k)]};
            double t[3];
            for (int i = 0; i < 3; ++i) {
                t[i] = p[static_cast<std::size_t>(i)];
                for (int j = 0; j < 3; ++j) t[i] += M(i + 1, j + 1) * m[j];
            }
            double f[3];
            paraboloidFootPoint(job.ShapeProfile, t[0], t[1], t[2], f[0], f[1], f[2]);
            for (int i = 0; i < 3; ++i) {
                s += (t[i] - f[i]) * (t[i] - f[i]);
                if (residuals) residuals->push_back(t[i] - f[i]);
            }
        }
        return s;
    }
};

// Solves a·x = b (u unknowns) by elimination with partial pivoting.
inline DishPose solveDishSystem(std::array<std::array<double, 6>, 6> a, DishPose b, int u) {
    for (int c = 0; c < u; ++c) {
        int pivot = c;
        for (int r = c + 1; r < u; ++r)
            if (std::fabs(a[r][c]) > std::fabs(a[pivot][c])) pivot = r;
        std::swap(a[c], a[pivot]);
        std::swap(b[c], b[pivot]);
        for (int r = c + 1; r < u; ++r) {
            const double f = a[r][c] / a[c][c];
            for (int k = c; k < u; ++k) a[r][k] -= f * a[c][k];
            b[r] -= f * b[c];
        }
    }
    DishPose x{};
    for (int c = u - 1; c >= 0; --c) {
        double s = b[c];
        for (int k = c + 1; k < u; ++k) s -= a[c][k] * x[k];
        x[c] = s / a[c][c];
    }
    return x;
}

// Levenberg–Marquardt (diagonal damping) from p; returns the pose it ends at. Written apart from
// the program's surface fit, so that tests can check that fit against it.
inline DishPose dishLevenbergMarquardt(const DishSurface& s, DishPose p) {
    const int u = s.unknowns();
    double lambda = 1e-3;
    std::vector<double> r, rp, rm;
    double sum = s.sum(p, &r);
    for (int iteration = 0; iteration < 300; ++iteration) {
        std::vector<std::vector<double>> J(6);
        for (std::size_t c = 0; c < static_cast<std::size_t>(u); ++c) {
            const double h = c < 3 ? 1e-5 : 1e-8;
            DishPose a = p, b = p;
            a[c] += h;
            b[c] -= h;
            s.sum(a, &rp);
            s.sum(b, &rm);
            J[c].resize(r.size());
            for (std::size_t i = 0; i < r.size(); ++i) J[c][i] = (rp[i] - rm[i]) / (2 * h);
        }
        std::array<std::array<double, 6>, 6> N{};
        DishPose g{};
        for (std::size_t c = 0; c < static_cast<std::size_t>(u); ++c) {
            for (std::size_t i = 0; i < r.size(); ++i) g[c] -= J[c][i] * r[i];
            for (std::size_t e = 0; e < static_cast<std::size_t>(u); ++e)
                for (std::size_t i = 0; i < r.size(); ++i) N[c][e] += J[c][i] * J[e][i];
        }
        bool taken = false;
        double largest = 0.0;
        while (lambda < 1e14) {
            auto damped = N;
            for (std::size_t c = 0; c < static_cast<std::size_t>(u); ++c)
                damped[c][c] = N[c][c] * (1.0 + lambda) + 1e-12;
            const DishPose x = solveDishSystem(damped, g, u);
            DishPose q = p;
            largest = 0.0;
            for (std::size_t c = 0; c < static_cast<std::size_t>(u); ++c) {
                q[c] += x[c];
                largest = std::max(largest, std::fabs(x[c]));
            }
            const double trial = s.sum(q, &rp);
            if (trial < sum) {
                p = q;
                sum = trial;
                r = rp;
                lambda = std::max(lambda * 0.1, 1e-12);
                taken = true;
                break;
            }
            if (largest < 1e-11) break;
            lambda *= 10.0;
        }
        if (!taken || largest < 1e-11) break;
    }
    return p;
}

}  // namespace kal::testing
