#pragma once
// What the coordinate and the distance matching share: a read-only view of point coordinates,
// the one distance formula both use, and the single-precision tolerance tests.
//
// Both searches compare distances (doubles) with the tolerance `Etta`, a single-precision length
// in millimetres, after rounding the distance to single precision. A fast search gives the same
// pairs as a plain loop only if it computes every distance with exactly the same expression, so
// all of them go through pointDistance().
#include <cmath>
#include <cstdint>
#include <limits>
#include <span>
#include <stdexcept>
#include <string>

namespace kal {

// Coordinates of points in millimetres, 1-based (element 0 unused), as the point sets hold them.
struct PointCoords {
    std::span<const double> x, y, z;

    std::int32_t count() const { return x.empty() ? 0 : static_cast<std::int32_t>(x.size()) - 1; }
    // The first `n` points only (n <= count()).
    PointCoords first(std::int32_t n) const {
        const auto len = static_cast<std::size_t>(n) + 1;
        return {x.first(len), y.first(len), z.first(len)};
    }
};

// Throws std::invalid_argument unless the three arrays have one size and every coordinate of
// points 1..count() is finite. Readers and transformPoint never give anything else.
inline void checkCoords(const PointCoords& p, const char* what) {
    if (p.y.size() != p.x.size() || p.z.size() != p.x.size())
        throw std::invalid_argument(std::string(what) + ": coordinate arrays of different sizes");
    for (std::int32_t i = 1; i <= p.count(); ++i)
        if (!std::isfinite(p.x[i]) || !std::isfinite(p.y[i]) || !std::isfinite(p.z[i]))
            throw std::invalid_argument(std::string(what) + ": a coordinate is not finite");
}

// Euclidean distance of point a of `pa` and point b of `pb`.
inline double pointDistance(const PointCoords& pa, std::int32_t a, const PointCoords& pb, std::int32_t b) {
    const double dx = pa.x[a] - pb.x[b];
    const double dy = pa.y[a] - pb.y[b];
    const double dz = pa.z[a] - pb.z[b];
    return std::sqrt(dx * dx + dy * dy + dz * dz);
}

// A double rounded to single precision, as the tolerance tests take it. Magnitudes beyond the
// largest single round to infinity (the conversion itself is undefined for them in C++).
inline float toSingle(double v) {
    constexpr double kRoundsToInfinity = 0x1.ffffffp127;  // halfway between FLT_MAX and 2^128
    if (v >= kRoundsToInfinity) return std::numeric_limits<float>::infinity();
    if (v <= -kRoundsToInfinity) return -std::numeric_limits<float>::infinity();
    return static_cast<float>(v);
}

// The start value of every "best so far" in both searches: a distance or a difference must be
// below it to count at all.
inline constexpr double kNoDistance = 1e10;

}  // namespace kal
