#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "annotation/ToleranceClasses.h"

namespace kal {
namespace {

struct PointPair {
    double ax, ay, az;  // actual (transformed MCS)
    double nx, ny, nz;  // nominal (OCS)
};

// A job of identical points only, and a cloud with their two sides (rows n+1..2n untouched).
struct Fixture {
    JobState job;
    PointCloud cloud;
    ScreenProperties view;

    explicit Fixture(const std::vector<PointPair>& pairs) {
        const auto n = static_cast<std::int32_t>(pairs.size());
        job.IdenticalCount = n;
        job.MCSt_X.resize(n);
        job.MCSt_Y.resize(n);
        job.MCSt_Z.assign(static_cast<std::size_t>(n) + 1, 0.0);
        job.OCS_X.resize(n);
        job.OCS_Y.resize(n);
        job.OCS_Z.assign(static_cast<std::size_t>(n) + 1, 0.0);
        for (std::int32_t i = 1; i <= n; ++i) {
            const PointPair& p = pairs[static_cast<std::size_t>(i - 1)];
            job.MCSt_X.set(i, p.ax);
            job.MCSt_Y.set(i, p.ay);
            job.MCSt_Z[static_cast<std::size_t>(i)] = p.az;
            job.OCS_X.set(i, p.nx);
            job.OCS_Y.set(i, p.ny);
            job.OCS_Z[static_cast<std::size_t>(i)] = p.nz;
        }
        cloud.reset(2 * n);
        view.CS_Type = "CART";
        view.AnzKlassenPos = 10;
        view.AnzKlassenNeg = 10;
    }
    float at(std::int32_t row, int column) const { return cloud(row, column); }
};

constexpr double kDeg = 3.14159265358979 / 180;

PointPair onCircle(double actualDeg, double nominalDeg, double radius = 100) {
    return {radius * std::cos(actualDeg * kDeg),  radius * std::sin(actualDeg * kDeg),  5,
            radius * std::cos(nominalDeg * kDeg), radius * std::sin(nominalDeg * kDeg), 5};
}

TEST(ToleranceClasses, NoComponentShownGivesSpatialDistanceAndZeroVector) {
    Fixture f({{1, 2, 3, 1 + 3, 2 + 4, 3 - 12}});  // distance 13
    f.view.Max = 20;
    f.view.Min = -20;
    f.cloud(2, cloud::ColourBasis) = 77;  // the OCS copy keeps its value
    classifyDeviations(f.cloud, f.job, f.view);
    EXPECT_NEAR(f.at(1, cloud::ColourBasis), 13.0, 1e-5);
    EXPECT_EQ(f.at(1, cloud::VectorX), 0.0f);
    EXPECT_EQ(f.at(1, cloud::VectorY), 0.0f);
    EXPECT_EQ(f.at(1, cloud::VectorZ), 0.0f);
    EXPECT_EQ(f.at(1, cloud::ToleranceClass), 7.0f);  // 13·10/20 + 1 = 7.5
    EXPECT_EQ(f.at(2, cloud::ColourBasis), 77.0f);

    // Signed by the named component even with nothing shown: dx = -3 < 0.
    f.view.ColorBased = "x";
    classifyDeviations(f.cloud, f.job, f.view);
    EXPECT_NEAR(f.at(1, cloud::ColourBasis), -13.0, 1e-5);
}

TEST(ToleranceClasses, CartesianComponentsAddUp) {
    Fixture f({{1, 2, 3, 0, 0, 0}});
    f.view.Max = 10;
    f.view.Min = -10;
    f.view.showVeX = true;
    f.view.showVeZ = true;
    classifyDeviations(f.cloud, f.job, f.view);
    EXPECT_EQ(f.at(1, cloud::VectorX), 1.0f);
    EXPECT_EQ(f.at(1, cloud::VectorY), 0.0f);
    EXPECT_EQ(f.at(1, cloud::VectorZ), 3.0f);
    EXPECT_NEAR(f.at(1, cloud::ColourBasis), std::sqrt(10.0), 1e-6);
}

TEST(ToleranceClasses, CylindricalAzimuthAcrossTheSeamIsShortWay) {
    // Actual at 179 deg, nominal at -179 deg: the difference is -2 deg for vector and sign alike.
    Fixture f({onCircle(179, -179)});
    f.view.CS_Type = "CYL";
    f.view.showVeY = true;
    f.view.ColorBased = "y";
    f.view.Max = 10;
    f.view.Min = -10;
    classifyDeviations(f.cloud, f.job, f.view);
    const double arc = -2 * kDeg * 100;  // on the nominal radius
    EXPECT_NEAR(f.at(1, cloud::ColourBasis), arc, 1e-4);
    // The arc runs along the tangent at the actual point: -arc·sin(phi), arc·cos(phi).
    EXPECT_NEAR(f.at(1, cloud::VectorX), -arc * std::sin(179 * kDeg), 1e-4);
    EXPECT_NEAR(f.at(1, cloud::VectorY), arc * std::cos(179 * kDeg), 1e-4);
    EXPECT_LT(f.at(1, cloud::ToleranceClass), 0.0f);

    // The other way round the sign flips, never 358 deg.
    Fixture g({onCircle(-179, 179)});
    g.view = f.view;
    classifyDeviations(g.cloud, g.job, g.view);
    EXPECT_NEAR(g.at(1, cloud::ColourBasis), -arc, 1e-4);
}

TEST(ToleranceClasses, AutomaticLimitsRoundDownToHundredths) {
    // Colour-basis values -0.123 ... 0.567 (signed by dx, nothing shown).
    Fixture f({{-0.123, 0, 0, 0, 0, 0}, {0.2, 0, 0, 0, 0, 0}, {0.567, 0, 0, 0, 0, 0}});
    f.view.ColorBased = "x";
    classifyDeviations(f.cloud, f.job, f.view);
    EXPECT_DOUBLE_EQ(f.view.Min, -0.13);
    EXPECT_DOUBLE_EQ(f.view.Max, 0.56);
    EXPECT_EQ(f.at(3, cloud::ToleranceClass), 11.0f);   // the largest value lies outside
    EXPECT_EQ(f.at(1, cloud::ToleranceClass), -10.0f);  // -0.123 inside
    EXPECT_EQ(f.at(2, cloud::ToleranceClass), 4.0f);
}

TEST(ToleranceClasses, NoIdenticalPointsLeaveLimitsZeroSoTheNextDataDerivesThem) {
    Fixture empty({});
    classifyDeviations(empty.cloud, empty.job, empty.view);
    EXPECT_EQ(empty.view.Max, 0.0);
    EXPECT_EQ(empty.view.Min, 0.0);

    Fixture f({{0.3, 0, 0, 0, 0, 0}, {-0.25, 0, 0, 0, 0, 0}});
    f.view = empty.view;
    f.view.ColorBased = "x";
    classifyDeviations(f.cloud, f.job, f.view);
    EXPECT_DOUBLE_EQ(f.view.Max, 0.3);
    EXPECT_DOUBLE_EQ(f.view.Min, -0.25);
}

TEST(ToleranceClasses, GrossOutlierLandsInOuterClassWithoutOverflow) {
    Fixture f({{1e8, 0, 0, 0, 0, 0}, {-1e8, 0, 0, 0, 0, 0}});
    f.view.ColorBased = "x";
    f.view.Max = 0.01;
    f.view.Min = -0.01;
    classifyDeviations(f.cloud, f.job, f.view);
    EXPECT_EQ(f.at(1, cloud::ToleranceClass), 11.0f);
    EXPECT_EQ(f.at(2, cloud::ToleranceClass), -11.0f);
}

TEST(ToleranceClasses, ClassBoundariesAndLimitsOfTheWrongSign) {
    struct Case {
        float value;
        double max, min;
        std::int32_t expected;
    };
    const Case cases[] = {
        {0.0f, 1, -1, 1},     // coincident points: class 1, not 0
        {1.0f, 1, -1, 11},    // the band is open above
        {-1.0f, 1, -1, -10},  // and closed below
        {0.5f, 0, -1, 0},     // a side whose limit is 0
        {-0.5f, 1, 0, 0},
        {-0.5f, 1, 0.2, -11},  // v <= 0 against a positive lower limit: outer class of its sign
        {0.5f, -0.2, -1, 11},  // v > 0 against a negative upper limit
        {0.55f, 1, -1, 6},
    };
    for (const Case& c : cases)
        EXPECT_EQ(toleranceClassOf(c.value, c.max, c.min, 10, 10), c.expected)
            << c.value << " in " << c.min << " .. " << c.max;
}

TEST(ToleranceClasses, UnknownCoordinateTypeWithAComponentShownIsClassOne) {
    Fixture f({{3, 4, 0, 0, 0, 0}});
    f.view.CS_Type = "POLAR";
    f.view.showVeX = true;
    f.view.Max = 1;
    f.view.Min = -1;
    classifyDeviations(f.cloud, f.job, f.view);
    EXPECT_EQ(f.at(1, cloud::ColourBasis), 0.0f);
    EXPECT_EQ(f.at(1, cloud::ToleranceClass), 1.0f);
}

TEST(ToleranceClasses, SphericalRadialComponentPointsAlongTheRadius) {
    Fixture f({{0, 0, 12, 0, 0, 10}});  // on the z axis, 2 mm further out
    f.view.CS_Type = "SPH";
    f.view.showVeX = true;
    f.view.ColorBased = "x";
    f.view.Max = 5;
    f.view.Min = -5;
    classifyDeviations(f.cloud, f.job, f.view);
    EXPECT_NEAR(f.at(1, cloud::VectorZ), 2.0, 1e-5);
    EXPECT_NEAR(f.at(1, cloud::ColourBasis), 2.0, 1e-5);
}

TEST(ToleranceClasses, CacheReusesUntilSettingsOrDataChange) {
    Fixture f({{0.3, 0, 0, 0, 0, 0}, {-0.2, 0, 0, 0, 0, 0}});
    f.view.ColorBased = "x";
    ToleranceClassCache cache;
    cache.classify(f.cloud, f.job, f.view);
    EXPECT_FALSE(cache.lastWasReused());
    const PointCloud first = f.cloud;

    // Another window overwrote the shared columns: the reuse writes this window's back.
    f.cloud(1, cloud::ToleranceClass) = 99;
    cache.classify(f.cloud, f.job, f.view);
    EXPECT_TRUE(cache.lastWasReused());
    EXPECT_EQ(f.cloud, first);

    f.view.AnzKlassenPos = 4;  // a setting
    cache.classify(f.cloud, f.job, f.view);
    EXPECT_FALSE(cache.lastWasReused());

    f.job.MCSt_X.set(1, 0.5);  // the data
    cache.classify(f.cloud, f.job, f.view);
    EXPECT_FALSE(cache.lastWasReused());
    EXPECT_NEAR(f.at(1, cloud::ColourBasis), 0.5, 1e-6);
}

TEST(ToleranceClasses, CloudShorterThanTheJobIsNotOverrun) {
    Fixture f({{1, 0, 0, 0, 0, 0}, {2, 0, 0, 0, 0, 0}});
    f.cloud.reset(1);
    f.view.Max = 5;
    f.view.Min = -5;
    classifyDeviations(f.cloud, f.job, f.view);
    EXPECT_EQ(f.at(1, cloud::ColourBasis), 1.0f);
}

}  // namespace
}  // namespace kal
