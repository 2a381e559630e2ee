#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "engine/CalcRefused.h"
#include "engine/FootPoint.h"

namespace kal {
namespace {

Matrix profileOf(const std::vector<std::pair<double, double>>& rz) {
    Matrix p(static_cast<std::int32_t>(rz.size()), 2);
    for (std::size_t i = 0; i < rz.size(); ++i) {
        p(static_cast<std::int32_t>(i + 1), 1) = rz[i].first;
        p(static_cast<std::int32_t>(i + 1), 2) = rz[i].second;
    }
    return p;
}

TEST(ParaboloidFootPoint, FindsTheNearestPointOnTheProfileLines) {
    const Matrix parabola = profileOf({{0, 0}, {10, 1}, {20, 4}, {30, 9}, {40, 16}, {50, 25}, {60, 36}});
    const Matrix line = profileOf({{0, 0}, {100, 10}});
    struct Case {
        const char* name;
        const Matrix* profile;
        double in[3], out[3];
    };
    const Case cases[] = {
        {"off the axis", &parabola, {30, 40, 20}, {28.5067873304, 38.0090497737, 22.2624434389}},
        {"on a vertex", &parabola, {30, 0, 9}, {30, 0, 9}},
        {"beyond the last vertex", &parabola, {80, 0, 60}, {80.9954751131, 0, 59.0950226244}},
        {"near the first vertex", &parabola, {1, 0, -1}, {1.1926605505, 0, -1.6422018349}},
        {"on the axis", &parabola, {0, 0, 5}, {0.4950495050, 0, 0.0495049505}},
        {"two-row profile", &line, {50, 0, 20}, {51.4851485149, 0, 5.1485148515}},
    };
    for (const Case& c : cases) {
        double o[3];
        paraboloidFootPoint(*c.profile, c.in[0], c.in[1], c.in[2], o[0], o[1], o[2]);
        for (int k = 0; k < 3; ++k) EXPECT_NEAR(o[k], c.out[k], 1e-9) << c.name << " " << k;
    }
}

TEST(ParaboloidFootPoint, RefusesAProfileWithoutASegment) {
    double x, y, z;
    EXPECT_THROW(paraboloidFootPoint(profileOf({{10, 1}}), 1, 2, 3, x, y, z), CalcRefused);
    EXPECT_THROW(paraboloidFootPoint(Matrix(), 1, 2, 3, x, y, z), CalcRefused);
}

TEST(ParaboloidFootPoint, LongProfilesEndTheSearch) {
    std::vector<std::pair<double, double>> rz;
    for (int i = 0; i < 100001; ++i) rz.emplace_back(0.01 * i, 0.0001 * i * i);
    const Matrix p = profileOf(rz);
    double x, y, z;
    paraboloidFootPoint(p, 300, 400, 1e6, x, y, z);  // far above: the walk runs to the last vertex
    EXPECT_GT(z, 0);
    paraboloidFootPoint(p, 3, 4, -5, x, y, z);
    EXPECT_LT(std::hypot(x, y), 10);
}

// The surface fit takes the foot point with the normal of the line it lies on: the same foot
// point, a unit normal along which the point stands off the surface, turned to the point's azimuth.
TEST(SurfaceFootPoint, GivesTheFootPointAndTheUnitNormalThere) {
    const Matrix parabola = profileOf({{0, 0}, {10, 1}, {20, 4}, {30, 9}, {40, 16}, {50, 25}, {60, 36}});
    const double points[][3] = {{30, 40, 20}, {80, 0, 60}, {1, 0, -1}, {0, 0, 5}, {-7, 12, 30}, {30, 0, 9}};
    for (const auto& p : points) {
        double o[3];
        paraboloidFootPoint(parabola, p[0], p[1], p[2], o[0], o[1], o[2]);
        const SurfaceFoot f = surfaceFootPoint(parabola, p[0], p[1], p[2]);
        EXPECT_EQ(f.x, o[0]);
        EXPECT_EQ(f.y, o[1]);
        EXPECT_EQ(f.z, o[2]);
        EXPECT_NEAR(std::hypot(f.nx, f.ny, f.nz), 1.0, 1e-15);
        // point - foot lies along the normal: its cross product with the normal vanishes (to the
        // 1e-10 the foot-point formula adds to |B|²).
        const double d[3] = {p[0] - f.x, p[1] - f.y, p[2] - f.z};
        EXPECT_NEAR(d[1] * f.nz - d[2] * f.ny, 0.0, 1e-8);
        EXPECT_NEAR(d[2] * f.nx - d[0] * f.nz, 0.0, 1e-8);
        EXPECT_NEAR(d[0] * f.ny - d[1] * f.nx, 0.0, 1e-8);
    }
    // The line (0, 0)-(100, 10): normal (-10, 100)/|.| in the half-plane, at azimuth 90° (of the
    // ten-digit π the angle helpers use).
    const SurfaceFoot f = surfaceFootPoint(profileOf({{0, 0}, {100, 10}}), 0, 50, 20);
    EXPECT_NEAR(f.nx, 0.0, 1e-11);
    EXPECT_NEAR(f.ny, -10 / std::sqrt(10100.0), 1e-15);
    EXPECT_NEAR(f.nz, 100 / std::sqrt(10100.0), 1e-15);
    EXPECT_THROW(surfaceFootPoint(profileOf({{10, 1}}), 1, 2, 3), CalcRefused);
}

TEST(ShiftAppend, DropsTheOldestAndAppends) {
    std::vector<double> list{0, 1, 2, 3};
    shiftAppend(list, 4);
    EXPECT_EQ(list, (std::vector<double>{0, 2, 3, 4}));
}

}  // namespace
}  // namespace kal
