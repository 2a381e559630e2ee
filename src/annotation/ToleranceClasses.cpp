#include "annotation/ToleranceClasses.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "shared/Vectors.h"

namespace kal {

namespace {

constexpr double kPi = 3.14159265358979;
constexpr double kTwoPi = 6.28318530717958;

// The identical points the table and the point sets both hold.
std::int32_t identicalRows(const PointCloud& cloud, const JobState& job) {
    std::int32_t n = std::min(job.IdenticalCount, cloud.count());
    n = std::min(
        {n, job.MCSt_X.upper(), job.MCSt_Y.upper(), static_cast<std::int32_t>(job.MCSt_Z.size()) - 1});
    n = std::min({n, job.OCS_X.upper(), job.OCS_Y.upper(), static_cast<std::int32_t>(job.OCS_Z.size()) - 1});
    return std::max(n, 0);
}

// Azimuth difference in [-pi, pi]: the short way round the seam at +-pi.
double azimuthDifference(double actual, double nominal) {
    double d = actual - nominal;
    if (d > kPi)
        d -= kTwoPi;
    else if (d < -kPi)
        d += kTwoPi;
    return d;
}

struct RowResult {
    double basis = 0;  // column 4
    double vx = 0, vy = 0, vz = 0;
};

enum class CoordinateType { Cartesian, Cylindrical, Spherical, None };

CoordinateType coordinateTypeOf(const std::string& csType) {
    if (csType == "CART") return CoordinateType::Cartesian;
    if (csType == "CYL") return CoordinateType::Cylindrical;
    if (csType == "SPH") return CoordinateType::Spherical;
    return CoordinateType::None;
}

RowResult deviationOf(double ax, double ay, double az, double nx, double ny, double nz, CoordinateType type,
                      const ScreenProperties& view) {
    const double dx = ax - nx, dy = ay - ny, dz = az - nz;
    const double radiusA = length2d(ax, ay), radiusN = length2d(nx, ny);
    const double phiA = azimuthXY(ax, ay), phiN = azimuthXY(nx, ny);
    const double rhoA = length3d(ax, ay, az), rhoN = length3d(nx, ny, nz);
    const double thetaA = polarAngle(ax, ay, az), thetaN = polarAngle(nx, ny, nz);
    const double dPhi = azimuthDifference(phiA, phiN);
    const double cosPhi = std::cos(phiA), sinPhi = std::sin(phiA);

    RowResult r;
    if (view.showVeX) {
        switch (type) {
            case CoordinateType::Cartesian:
                r.vx = dx;
                break;
            case CoordinateType::Cylindrical:
                r.vx = (radiusA - radiusN) * cosPhi;
                r.vy = (radiusA - radiusN) * sinPhi;
                break;
            case CoordinateType::Spherical: {
                const double dRho = rhoA - rhoN;
                r.vx = std::sin(thetaA) * dRho * cosPhi;
                r.vy = std::sin(thetaA) * dRho * sinPhi;
                r.vz = std::cos(thetaA) * dRho;
                break;
            }
            case CoordinateType::None:
                break;
        }
    }
    if (view.showVeY) {
        if (type == CoordinateType::Cartesian) {
            r.vy = dy;
        } else if (type == CoordinateType::Cylindrical || type == CoordinateType::Spherical) {
            const double arc = dPhi * radiusN;  // on the nominal point's xy radius
            r.vx -= arc * sinPhi;
            r.vy += arc * cosPhi;
        }
    }
    if (view.showVeZ) {
        if (type == CoordinateType::Cartesian || type == CoordinateType::Cylindrical) {
            r.vz = dz;
        } else if (type == CoordinateType::Spherical) {
            const double arc = (thetaA - thetaN) * rhoA;  // on the actual point's radius
            r.vx += arc * std::cos(thetaA) * cosPhi;
            r.vy += arc * std::cos(thetaA) * sinPhi;
            r.vz -= arc * std::sin(thetaA);
        }
    }
    if (view.showVeX || view.showVeY || view.showVeZ)
        r.basis = std::sqrt(r.vx * r.vx + r.vy * r.vy + r.vz * r.vz);
    else
        r.basis = std::sqrt(dx * dx + dy * dy + dz * dz);

    // The sign of the named component, whatever is shown.
    const std::string& based = view.ColorBased;
    if (based == "x" || based == "y" || based == "z") {
        double d = 0;
        bool known = true;
        switch (type) {
            case CoordinateType::Cartesian:
                d = based == "x" ? dx : based == "y" ? dy : dz;
                break;
            case CoordinateType::Cylindrical:
                d = based == "x" ? radiusA - radiusN : based == "y" ? dPhi : dz;
                break;
            case CoordinateType::Spherical:
                d = based == "x" ? rhoA - rhoN : based == "y" ? dPhi : (thetaA - thetaN) * rhoA;
                break;
            case CoordinateType::None:
                known = false;
                break;
        }
        if (known && d < 0) r.basis = -r.basis;
    }
    return r;
}

std::uint64_t mix(std::uint64_t h, double v) {
    std::uint64_t bits = 0;
    std::memcpy(&bits, &v, sizeof bits);
    h ^= bits + 0x9e3779b97f4a7c15ull + (h << 6) + (h >> 2);
    return h * 0x100000001b3ull;
}

}  // namespace

std::int32_t toleranceClassOf(float colourBasis, double Max, double Min, std::int32_t AnzKlassenPos,
                              std::int32_t AnzKlassenNeg) {
    const std::int32_t pos = std::max(AnzKlassenPos, 0), neg = std::max(AnzKlassenNeg, 0);
    const double v = static_cast<float>(static_cast<double>(colourBasis) + 1e-10);
    double k = 0;
    if (std::isnan(v)) return pos + 1;
    if (v > 0) {
        if (Max == 0) return 0;
        if (Max < 0) return pos + 1;
        k = std::floor(v * pos / Max + 1);
    } else {
        if (Min == 0) return 0;
        if (Min > 0) return -neg - 1;
        k = std::floor(-v * neg / Min);
    }
    if (std::isnan(k)) return v > 0 ? pos + 1 : -neg - 1;
    return static_cast<std::int32_t>(
        std::clamp(k, -static_cast<double>(neg) - 1, static_cast<double>(pos) + 1));
}

void classifyDeviations(PointCloud& cloud, const JobState& job, ScreenProperties& view) {
    const std::int32_t n = identicalRows(cloud, job);
    const CoordinateType type = coordinateTypeOf(view.CS_Type);
    for (std::int32_t i = 1; i <= n; ++i) {
        const RowResult r =
            deviationOf(job.MCSt_X[i], job.MCSt_Y[i], job.MCSt_Z[static_cast<std::size_t>(i)], job.OCS_X[i],
                        job.OCS_Y[i], job.OCS_Z[static_cast<std::size_t>(i)], type, view);
        cloud(i, cloud::ColourBasis) = static_cast<float>(r.basis);
        cloud(i, cloud::VectorX) = static_cast<float>(r.vx);
        cloud(i, cloud::VectorY) = static_cast<float>(r.vy);
        cloud(i, cloud::VectorZ) = static_cast<float>(r.vz);
    }

    // Automatic limits, to hundredths of a millimetre rounded down; only when a row gives a value.
    if (view.Max == 0 && view.Min == 0 && n > 0) {
        double highest = -1e10, lowest = 1e10;
        for (std::int32_t i = 1; i <= n; ++i) {
            const double v = cloud(i, cloud::ColourBasis);
            highest = std::max(highest, v);
            lowest = std::min(lowest, v);
        }
        view.Max = std::floor(highest * 100) / 100;
        view.Min = std::floor(lowest * 100) / 100;
    }

    for (std::int32_t i = 1; i <= n; ++i)
        cloud(i, cloud::ToleranceClass) = static_cast<float>(toleranceClassOf(
            cloud(i, cloud::ColourBasis), view.Max, view.Min, view.AnzKlassenPos, view.AnzKlassenNeg));
}

ToleranceClassCache::Key ToleranceClassCache::keyOf(const JobState& job, const ScreenProperties& view,
                                                    std::int32_t rows) {
    Key key;
    key.csType = view.CS_Type;
    key.colorBased = view.ColorBased;
    key.showX = view.showVeX;
    key.showY = view.showVeY;
    key.showZ = view.showVeZ;
    key.max = view.Max;
    key.min = view.Min;
    key.pos = view.AnzKlassenPos;
    key.neg = view.AnzKlassenNeg;
    key.rows = rows;
    std::uint64_t h = 0xcbf29ce484222325ull;
    for (std::int32_t i = 1; i <= rows; ++i) {
        const auto k = static_cast<std::size_t>(i);
        h = mix(h, job.MCSt_X[i]);
        h = mix(h, job.MCSt_Y[i]);
        h = mix(h, job.MCSt_Z[k]);
        h = mix(h, job.OCS_X[i]);
        h = mix(h, job.OCS_Y[i]);
        h = mix(h, job.OCS_Z[k]);
    }
    key.dataFingerprint = h;
    return key;
}

void ToleranceClassCache::classify(PointCloud& cloud, const JobState& job, ScreenProperties& view) {
    constexpr int kColumns[] = {cloud::ColourBasis, cloud::ToleranceClass, cloud::VectorX, cloud::VectorY,
                                cloud::VectorZ};
    const std::int32_t n = identicalRows(cloud, job);
    const Key key = keyOf(job, view, n);
    lastReused_ = valid_ && key == key_;
    if (lastReused_) {
        for (std::int32_t i = 1; i <= n; ++i)
            for (int c = 0; c < 5; ++c)
                cloud(i, kColumns[c]) = columns_[static_cast<std::size_t>(i - 1) * 5 + c];
        return;
    }
    classifyDeviations(cloud, job, view);
    columns_.resize(static_cast<std::size_t>(n) * 5);
    for (std::int32_t i = 1; i <= n; ++i)
        for (int c = 0; c < 5; ++c) columns_[static_cast<std::size_t>(i - 1) * 5 + c] = cloud(i, kColumns[c]);
    key_ = key;
    key_.max = view.Max;  // the derived limits, so the next call with them reuses the results
    key_.min = view.Min;
    valid_ = true;
}

}  // namespace kal
