#pragma once
// Point clouds for the matching tests: small literal sets and seeded random ones made to hold
// ties (integer coordinates, repeated points, repeated distances).
#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

#include "input/MatchGeometry.h"

namespace kal::testing {

struct Cloud {
    std::vector<double> x{0.0}, y{0.0}, z{0.0};

    void add(double px, double py, double pz) { x.push_back(px), y.push_back(py), z.push_back(pz); }
    std::int32_t count() const { return static_cast<std::int32_t>(x.size()) - 1; }
    PointCoords view() const { return {x, y, z}; }
};

inline Cloud cloud(std::initializer_list<std::array<double, 3>> points) {
    Cloud c;
    for (const auto& p : points) c.add(p[0], p[1], p[2]);
    return c;
}

// Random points of one of several kinds, chosen by `kind`:
// 0: uniform in a box; 1: integer coordinates in a small box (many equal distances and
// repeated points); 2: half-integer grid with a few duplicates; 3: tight clusters; 4: points on
// a line at multiples of 0.5 (lengths exactly halfway between others, ties on both sides).
inline Cloud randomCloud(std::mt19937& rng, std::int32_t n, int kind, double size) {
    Cloud c;
    std::uniform_real_distribution<double> u(0.0, size);
    std::uniform_int_distribution<int> k(0, static_cast<int>(size));
    std::normal_distribution<double> g(0.0, 0.05 * size);
    for (std::int32_t i = 0; i < n; ++i) {
        switch (kind) {
            case 0:
                c.add(u(rng), u(rng), u(rng));
                break;
            case 1:
                c.add(k(rng), k(rng), k(rng));
                break;
            case 2:
                if (i > 0 && rng() % 5 == 0) {  // repeat an earlier point
                    const auto r = 1 + static_cast<std::int32_t>(rng() % c.count());
                    c.add(c.x[r], c.y[r], c.z[r]);
                } else {
                    c.add(0.5 * k(rng), 0.5 * k(rng), 0.5 * k(rng));
                }
                break;
            case 4:
                c.add(0.5 * k(rng), 0, 0);
                break;
            default: {
                const double cx = (i % 4) * size, cy = (i % 3) * size;
                c.add(cx + g(rng), cy + g(rng), g(rng));
            }
        }
    }
    return c;
}

// `from` turned about z by `angle`, shifted by (tx, ty, tz), with Gaussian noise `sigma` on
// every coordinate; points are taken from index `first` on, `count` of them (wrapping around),
// so the two sets share only part of their points.
inline Cloud movedCopy(std::mt19937& rng, const Cloud& from, double angle, double tx, double ty, double tz,
                       double sigma, std::int32_t first, std::int32_t count) {
    Cloud c;
    std::normal_distribution<double> g(0.0, sigma > 0 ? sigma : 1.0);
    const double ca = std::cos(angle), sa = std::sin(angle);
    for (std::int32_t k = 0; k < count && from.count() > 0; ++k) {
        const std::int32_t i = 1 + (first - 1 + k) % from.count();
        const double nx = sigma > 0 ? g(rng) : 0, ny = sigma > 0 ? g(rng) : 0, nz = sigma > 0 ? g(rng) : 0;
        c.add(ca * from.x[i] - sa * from.y[i] + tx + nx, sa * from.x[i] + ca * from.y[i] + ty + ny,
              from.z[i] + tz + nz);
    }
    return c;
}

}  // namespace kal::testing
