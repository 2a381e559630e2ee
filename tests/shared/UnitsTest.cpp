#include <gtest/gtest.h>

#include "platform/Regional.h"
#include "shared/Errors.h"
#include "shared/NumberText.h"
#include "shared/Units.h"

namespace kal {
namespace {

using platform::ScopedDecimalSeparator;

std::string under(char sep, std::string s) {
    for (char& c : s)
        if (c == '.') c = sep;
    return s;
}

constexpr double kDegree = 180.0 / kUnitPi;  // display degrees per radian

class UnitsUnderSeparator : public ::testing::TestWithParam<char> {};

TEST_P(UnitsUnderSeparator, EveryUnitNameGivesItsFactor) {
    ScopedDecimalSeparator scope(GetParam());
    struct Case {
        const char* name;
        double factor;
    };
    for (const Case& c :
         {Case{"millimeter", 1.0}, Case{"meter", 0.001}, Case{"inch", 1 / 25.4}, Case{"feet", 1 / 304.8}}) {
        JobState job;
        job.LengthUnitName = c.name;
        job.AngleUnitName = "degree";
        EXPECT_TRUE(applyUnitSettings(job).empty());
        EXPECT_DOUBLE_EQ(job.LengthFactor, c.factor) << c.name;
    }
    for (const Case& c : {Case{"degree", 57.29577951308238}, Case{"grad (gon)", 63.6619772367582},
                          Case{"rad", 1.0}, Case{"mrad", 1000.0}, Case{"arcsecond", 206264.80624709657},
                          Case{"arcminute", 3437.746770784943}, Case{"360°60'60''", 57.29577951308238}}) {
        JobState job;
        job.LengthUnitName = "millimeter";
        job.AngleUnitName = c.name;
        EXPECT_TRUE(applyUnitSettings(job).empty());
        EXPECT_DOUBLE_EQ(job.AngleFactor, c.factor) << c.name;
    }
    EXPECT_EQ(lengthUnitNames().size(), 4u);
    EXPECT_EQ(angleUnitNames().size(), 7u);
}

TEST_P(UnitsUnderSeparator, AnglesFormatAsDegreesMinutesSeconds) {
    const char sep = GetParam();
    ScopedDecimalSeparator scope(sep);
    struct Case {
        double degrees;
        const char* text;
    } cases[] = {
        {12.5, " 12  30 0.0000"}, {-12.5, "-12  30 0.0000"},  {0.5, " 0  30 0.0000"},
        {-0.5, "-0  30 0.0000"},  {12.51, " 12  30 36.0000"}, {0.6999999999, " 0  41 60.0000"},
        {-1e-12, " 0  0 0.0000"},  // every field 0: no sign
    };
    for (const auto& c : cases)
        EXPECT_EQ(formatAngle(c.degrees / kDegree, kDegree, "0.000", kDmsUnitName, "0.0000"),
                  under(sep, c.text))
            << c.degrees;
    // Any other unit: the value times the factor with the pattern given.
    EXPECT_EQ(formatAngle(0.5, kDegree, "0.000", "degree", "0.0000"), under(sep, "28.648"));
    EXPECT_EQ(formatAngle(-1e-9, 1000, "0.00", "mrad", "0.0000"), under(sep, "0.00"));
}

TEST_P(UnitsUnderSeparator, DegreesMinutesSecondsReadBack) {
    const char sep = GetParam();
    ScopedDecimalSeparator scope(sep);
    EXPECT_DOUBLE_EQ(dmsToDegrees("  12 30 36"), 12.51);
    EXPECT_DOUBLE_EQ(dmsToDegrees("-0 30 0"), -0.5);
    EXPECT_DOUBLE_EQ(dmsToDegrees("-12  30 0.0000"), -12.5);
    EXPECT_DOUBLE_EQ(dmsToDegrees(under(sep, " 0  41 60.0000")), 0.7);  // seconds shown as 60
    EXPECT_DOUBLE_EQ(dmsToDegrees("12 30 36,5"), 12.5 + 36.5 / 3600);
    EXPECT_DOUBLE_EQ(dmsToDegrees("12 30"), 12.5);  // missing fields count as 0
    EXPECT_DOUBLE_EQ(dmsToDegrees("12"), 12.0);
    EXPECT_THROW(dmsToDegrees("12 x 3"), FormatError);
    EXPECT_THROW(dmsToDegrees("12 30 3-6"), FormatError);
    // Every text formatAngle makes reads back to its angle.
    for (double deg : {0.25, -7.125, 123.456, 359.9999}) {
        const std::string t = formatAngle(deg / kDegree, kDegree, "0", kDmsUnitName, "0.000000");
        EXPECT_NEAR(dmsToDegrees(t), deg, 1e-9) << t;
    }
}

TEST_P(UnitsUnderSeparator, FixedAngleKeepsItsFractionThroughItsText) {
    const char sep = GetParam();
    ScopedDecimalSeparator scope(sep);
    const std::string text = dmsToDecimalText("  12 30 36");
    EXPECT_EQ(text, under(sep, "12.51"));
    EXPECT_DOUBLE_EQ(leadingOwnNumber(text), 12.51);  // how parameter states and seed values read it
    EXPECT_EQ(dmsToDecimalText("45.5"), "45.5");
}

INSTANTIATE_TEST_SUITE_P(Separators, UnitsUnderSeparator, ::testing::Values('.', ','),
                         [](const auto& info) { return info.param == '.' ? std::string("Point") : "Comma"; });

TEST(Units, PatternsFollowTheDigitCountsAndTheStatusBarShowsTheNames) {
    JobState job;
    job.LengthUnitName = "millimeter";
    job.AngleUnitName = "degree";
    job.DigitLength = 3;
    job.DigitAngle = 4;
    job.DigitScale = 1;
    std::string panels;
    applyUnitSettings(job, [&](const std::string& l, const std::string& a) { panels = l + "|" + a; });
    EXPECT_EQ(job.LengthFactor, 1.0);
    EXPECT_EQ(job.LengthFormat, "0.000");
    EXPECT_EQ(job.AngleFormat, "0.0000");
    EXPECT_EQ(job.ScaleFormat, "0.000000000000");
    EXPECT_EQ(panels, "millimeter|degree");
    job.DigitLength = 0;
    job.DigitAngle = 7;  // outside 0..6: the pattern stays
    job.DigitScale = 0;
    applyUnitSettings(job);
    EXPECT_EQ(job.LengthFormat, "0");
    EXPECT_EQ(job.AngleFormat, "0.0000");
    EXPECT_EQ(job.ScaleFormat, "0.000000");
}

// 6 decimals is the most a digit count gives; 7 (and -1) leave the pattern as it was.
TEST(Units, SixDigitsIsTheLargestDigitCountAndSevenLeavesThePattern) {
    struct Case {
        std::int16_t digits;
        const char* pattern;
        const char* third;  // 1/3 shown with the pattern
    };
    for (auto c : {Case{0, "0", "0"}, Case{5, "0.00000", "0.33333"}, Case{6, "0.000000", "0.333333"},
                   Case{7, "0.00", "0.33"}, Case{-1, "0.00", "0.33"}}) {
        SCOPED_TRACE(c.digits);
        JobState job;
        job.LengthUnitName = "millimeter";
        job.AngleUnitName = "degree";
        job.DigitLength = job.DigitAngle = 2;
        applyUnitSettings(job);
        job.DigitLength = job.DigitAngle = c.digits;
        applyUnitSettings(job);
        EXPECT_EQ(job.LengthFormat, c.pattern);
        EXPECT_EQ(job.AngleFormat, c.pattern);
        EXPECT_EQ(formatNumber(1.0 / 3.0, job.LengthFormat, '.'), c.third);
    }
}

TEST(Units, UnknownUnitNameFallsBackToMillimetreAndDegreeInsteadOfAZeroFactor) {
    JobState job;
    job.LengthUnitName = "furlong";
    job.AngleUnitName = "Degree";  // names compare case-sensitively
    std::string panels;
    const auto warnings =
        applyUnitSettings(job, [&](const std::string& l, const std::string& a) { panels = l + "|" + a; });
    ASSERT_EQ(warnings.size(), 2u);
    EXPECT_NE(warnings[0].find("furlong"), std::string::npos);
    EXPECT_EQ(job.LengthUnitName, "millimeter");
    EXPECT_EQ(job.LengthFactor, 1.0);
    EXPECT_EQ(job.AngleUnitName, "degree");
    EXPECT_DOUBLE_EQ(job.AngleFactor, 57.29577951308238);
    EXPECT_EQ(panels, "millimeter|degree");
}

TEST(Units, RecognisesDegreesMinutesSecondsTexts) {
    EXPECT_FALSE(looksLikeDms("12.5"));
    EXPECT_TRUE(looksLikeDms("12 30 0"));
    EXPECT_TRUE(looksLikeDms("-0 30 0,5"));
    EXPECT_FALSE(looksLikeDms("12° 30"));
    EXPECT_FALSE(looksLikeDms("12\t30"));
    EXPECT_FALSE(looksLikeDms(""));
}

}  // namespace
}  // namespace kal
