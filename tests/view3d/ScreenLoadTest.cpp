#include <gtest/gtest.h>

#include <limits>

#include "view3d/ScreenLoad.h"

namespace kal {
namespace {

TEST(ScreenLoad, ANewWindowStartsFromTheListedValues) {
    ScreenModel s;
    s.view.Massstab = 7, s.view.BigNess = 9, s.view.CS_Type = "SPH", s.view.ColorBased = "x";
    initialiseNewScreen(s, storedColour(1, 2, 3));
    EXPECT_EQ(s.view.ViewAngles.rows(), 2);
    EXPECT_EQ(s.view.ViewAngles.cols(), 3);
    EXPECT_EQ(s.view.ViewAngles(1, 1), -3.14159265358979);
    EXPECT_EQ(s.view.ViewAngles(1, 2), 0);
    EXPECT_EQ(s.view.Massstab, 1);
    EXPECT_EQ(s.view.OffsetX, 0);
    EXPECT_EQ(s.view.GridLength, 100);
    EXPECT_EQ(s.view.BigNess, 2);
    EXPECT_EQ(s.view.AnzKlassenPos, 10);
    EXPECT_EQ(s.view.AnzKlassenNeg, 10);
    EXPECT_EQ(s.view.CS_Type, "CART");
    EXPECT_EQ(s.view.ColorBased, "");
    EXPECT_TRUE(s.view.showVeX && s.view.showVeY && s.view.showVeZ);
    EXPECT_EQ(s.backColour, storedColour(1, 2, 3));
}

TEST(ScreenLoad, GridSpacingIsThePowerOfTenThatFitsSevenTimes) {
    struct Case {
        int width;
        double massstab;
        std::int32_t adis;
    };
    const Case cases[] = {
        {700, 1, 100},        // 100 → 10^2
        {7000, 1, 100},       // exactly 1000: ln/ln gives 2.9999999999999996, as stored views have it
        {7007, 1, 1000},      // 1001
        {630, 1, 10},         // 90
        {700, 0.002, 10000},  // 50,000
        {6, 1, 0},            // below 1: 10^-1 rounds to 0 (a cloud narrower than 6.3 mm)
        {700, 0, 1},          // no logarithm: the window still opens
        {700, -3, 1},        {700, std::numeric_limits<double>::quiet_NaN(), 1}, {0, 1, 1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(gridSpacingForWidth(c.width, c.massstab), c.adis) << c.width << " / " << c.massstab;
}

TEST(ScreenLoad, VectorScaleDrawsTheMeanDeviationAFiveHundredthOfTheExtent) {
    ScreenModel s;
    s.arrays.ViewMinX = 0, s.arrays.ViewMaxX = 1000, s.arrays.ViewMinY = -500, s.arrays.ViewMaxY = 500;
    setLoadVectorScale(s, 0.5f, true);
    EXPECT_FLOAT_EQ(s.view.Vec_Massstab, static_cast<float>(1000 / (0.5 + 1E-10) / 500));
    EXPECT_EQ(s.view.Max, 0.5f);
    EXPECT_EQ(s.view.Min, 0);
    setLoadVectorScale(s, 0.5f, false);
    EXPECT_EQ(s.view.Vec_Massstab, 400);
    // An empty cloud's extents (±1e10, maxima below minima) give no usable scale: 400 stays.
    s.arrays.ViewMinX = s.arrays.ViewMinY = 1e10f, s.arrays.ViewMaxX = s.arrays.ViewMaxY = -1e10f;
    setLoadVectorScale(s, 0, true);
    EXPECT_EQ(s.view.Vec_Massstab, 400);
}

// A job whose residuals are all 0 divides the extent by 1e-10: about 10^10 pixels per millimetre,
// which "longer" could never reach and which every later window inherited.
TEST(ScreenLoad, ZeroResidualsGiveAMagnificationWithinTheLongerLimit) {
    ScreenModel s;
    s.arrays.ViewMinX = 0, s.arrays.ViewMaxX = 1000, s.arrays.ViewMinY = -500, s.arrays.ViewMaxY = 500;
    setLoadVectorScale(s, 0, true);
    EXPECT_EQ(s.view.Vec_Massstab, 1e7f);
    EXPECT_EQ(clampedVectorScale(1e10f), 1e7f);
    EXPECT_EQ(clampedVectorScale(1e-40f), 1e-30f);
    EXPECT_EQ(clampedVectorScale(std::numeric_limits<float>::infinity()), 400);
    EXPECT_EQ(clampedVectorScale(2500), 2500);
}

// The default view record keeps the magnification only for the points it was stored with; a
// record of other (or unknown) points gives way to the one the load fitted to these residuals.
TEST(ScreenLoad, TheRecordsMagnificationServesOnlyThePointsItWasStoredFor) {
    struct Case {
        const char* label;
        float recordScale;
        std::uint64_t recordStamp, windowStamp;
        float expected;
    };
    const Case cases[] = {
        {"same points: the record's", 1234, 42, 42, 1234},
        {"other points: the load's own", 1234, 42, 43, 2000},
        {"unknown points (settings file): the load's own", 1234, 0, 43, 2000},
        {"same points, beyond the longer limit: clamped", 3e10f, 42, 42, 1e7f},
        {"other points after a zero-residual job: the load's own", 3e10f, 42, 43, 2000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        ScreenProperties d;
        d.ADis = 10, d.VectorMode = true, d.Vec_Massstab = c.recordScale, d.BigNess = 4;
        ScreenProperties v;
        v.Vec_Massstab = 2000;
        takeDefaultViewRecord(v, d, c.recordStamp, c.windowStamp);
        EXPECT_EQ(v.Vec_Massstab, c.expected);
        EXPECT_TRUE(v.VectorMode);  // the other settings come as before
        EXPECT_EQ(v.BigNess, 4);
    }
}

TEST(ScreenLoad, ThePointsStampFollowsNamesAndCoordinates) {
    JobState a;
    a.McsCount = a.OcsCount = a.IdenticalCount = 2;
    a.MCS_Name = {"", "P1", "P2"}, a.OCS_Name = {"", "P1", "P2"};
    a.MCS_X = TaggedArray(2), a.MCS_Y = TaggedArray(2), a.OCS_X = TaggedArray(2), a.OCS_Y = TaggedArray(2);
    a.MCS_Z = {0, 1, 2}, a.OCS_Z = {0, 1, 2};
    JobState moved = a;
    moved.OCS_Z[2] = 2.0001;
    JobState renamed = a;
    renamed.OCS_Name[1] = "Q1";
    EXPECT_EQ(pointsStamp(a), pointsStamp(JobState(a)));
    EXPECT_NE(pointsStamp(a), pointsStamp(moved));
    EXPECT_NE(pointsStamp(a), pointsStamp(renamed));
    EXPECT_NE(pointsStamp(JobState()), 0u);
}

TEST(ScreenLoad, LargestColourBasisStartsFromZero) {
    PointCloud cloud;
    cloud.reset(3);
    cloud(1, cloud::ColourBasis) = -4;
    cloud(2, cloud::ColourBasis) = 2.5f;
    cloud(3, cloud::ColourBasis) = 1;
    EXPECT_EQ(largestColourBasis(cloud), 2.5f);
    cloud.reset(1);
    cloud(1, cloud::ColourBasis) = -1;
    EXPECT_EQ(largestColourBasis(cloud), 0);
}

TEST(ScreenLoad, TheDefaultRecordGivesItsDisplaySettingsButNotItsZoom) {
    ScreenProperties d;
    d.VectorMode = true, d.BigNess = 5, d.Vec_Massstab = 77, d.GridLength = 20, d.AnzKlassenPos = 4,
    d.AnzKlassenNeg = 3, d.AusserhalbTol = true, d.Min = -0.1, d.Max = 0.2, d.showVeY = true,
    d.ColorBased = "z", d.ShowOnlyUsedComponent = true, d.OuterColor = 255, d.CS_Type = "CYL",
    d.BinaerModus = true, d.GridXY = true, d.GridZX = true, d.ADis = 50, d.BDis = 60, d.Cdis = 70,
    d.ShowGridDim = true;
    d.Massstab = 9, d.OffsetX = 9, d.OffsetY = 9, d.BlackPlane = true, d.LineCount = 4;
    ScreenProperties v;
    v.Massstab = 2, v.OffsetX = 3, v.OffsetY = 4;
    takeDefaultDisplaySettings(v, d);
    ScreenProperties expected = d;
    expected.Massstab = 2, expected.OffsetX = 3, expected.OffsetY = 4, expected.BlackPlane = false,
    expected.LineCount = 0;
    EXPECT_EQ(v, expected);
}

TEST(ScreenLoad, ANewWindowHasOneEmptyLineSlot) {
    ScreenProperties v;
    sizeNewWindowLines(v);
    EXPECT_EQ(v.Lines.rows(), 2);
    EXPECT_EQ(v.Lines.cols(), 1);
    EXPECT_EQ(v.Lines(1, 1), 0);
    EXPECT_EQ(v.Lines(2, 1), 0);
}

}  // namespace
}  // namespace kal
