#include <gtest/gtest.h>

#include "calculation/SeedValues.h"
#include "platform/Regional.h"
#include "shared/Errors.h"
#include "shared/Units.h"

namespace kal {
namespace {

struct SeedFixture {
    JobState job;
    ParameterPanel panel{job};
    SeedValues seeds{panel};

    explicit SeedFixture(const char* lengthUnit = "millimeter", const char* angleUnit = "degree") {
        job.LengthUnitName = lengthUnit;
        job.AngleUnitName = angleUnit;
        job.DigitLength = 3;
        job.DigitAngle = 4;
        job.DigitScale = 0;
        applyUnitSettings(job);
        panel.selectPreset(Preset::TwelveParameter);
        panel.setEstimate(kRDist, true);
        panel.selectPreset(Preset::SixParameter);
    }
    void seed(int slot, const std::string& text) {
        panel.setSeedCheck(slot, true);
        panel.setSeedText(slot, text);
    }
};

TEST(SeedValues, SeedsAndFixedValuesEnterInMillimetresAndRadians) {
    struct Case {
        const char* unit;
        int slot;
        bool asSeed;
        std::string text;
        double expected;
    };
    const Case cases[] = {
        {"meter", kTraX, true, "0.5", 500.0},  // a seed of 0.5 m is 500 mm
        {"meter", kTraY, false, "0.25", 250.0},
        {"inch", kTraZ, true, "1", 25.4},
        {"degree", kRotX, true, "90", 1.570796326794895},
        {"grad (gon)", kRotX, true, "100", 1.570796326794895},
        {"degree", kRotY, false, " 12  30 0.0000", 12.5 / 180 * kUnitPi},  // degrees, minutes, seconds
        {"degree", kRotZ, false, "abc", 0.0},  // a fixed angle without a number is 0
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const bool angle = c.slot >= kRotX && c.slot <= kRotZ;
        SeedFixture f(angle ? "millimeter" : c.unit, angle ? c.unit : "degree");
        f.job.Params[static_cast<std::size_t>(c.slot)] = 777;
        if (c.asSeed) {
            f.seed(c.slot, c.text);
        } else {
            f.panel.setEstimate(c.slot, false);
            f.panel.setValueText(c.slot, c.text);
        }
        EXPECT_FALSE(f.seeds.checkTexts(f.job).has_value());
        f.seeds.applySeed(f.job);
        EXPECT_NEAR(f.job.Params[static_cast<std::size_t>(c.slot)], c.expected, 1e-12);
    }
}

TEST(SeedValues, VectorSeedOnlyInTheUseAbcMode) {
    SeedFixture f("meter");
    f.job.IdenticalCount = 1;
    f.job.OcsAngles.resize(1, 3);
    f.panel.setUseAbc(true);
    f.seed(kRvecX, "0.5");
    f.seeds.applySeed(f.job);
    EXPECT_DOUBLE_EQ(f.job.Rvec_x(), 500.0);
    f.job.UseAbcMode = false;
    f.job.Rvec_x() = 1;
    f.seeds.applySeed(f.job);
    EXPECT_EQ(f.job.Rvec_x(), 1);
}

TEST(SeedValues, FixedCommonScaleSetsTheThreeAxisScalesAndZeroScalesBecomeOne) {
    SeedFixture f;
    f.job.ScaleXYZ() = 3;
    f.panel.setValueText(kScaleXYZ, "1.0001");
    f.seeds.applySeed(f.job);
    EXPECT_EQ(f.job.ScaleX(), 1.0001);
    EXPECT_EQ(f.job.ScaleY(), 1.0001);
    EXPECT_EQ(f.job.ScaleZ(), 1.0001);
    EXPECT_EQ(f.job.ScaleXYZ(), 3);
    f.panel.setValueText(kScaleXYZ, "0");
    f.seeds.applySeed(f.job);
    EXPECT_EQ(f.job.ScaleX(), 1.0);
}

TEST(SeedValues, SeedIgnoredOnAFixedRowAndTheRotationWorkingCopyRefreshed) {
    SeedFixture f;
    f.seed(kTraX, "5");
    f.panel.setEstimate(kTraX, false);  // seed box left ticked on a fixed row
    f.panel.setValueText(kTraX, "7");
    f.seed(kRotZ, "90");
    f.seeds.applySeed(f.job);
    EXPECT_EQ(f.job.TraX(), 7);
    EXPECT_EQ(f.job.RotZSeed, f.job.RotZ());
    EXPECT_NEAR(f.job.RotZ(), kUnitPi / 2, 1e-12);
}

TEST(SeedValues, TextsTypedUnderACommaKeepTheirFraction) {
    platform::ScopedDecimalSeparator comma(',');
    SeedFixture f("meter");
    f.seed(kTraX, "0,5");
    f.panel.setEstimate(kTraY, false);
    f.panel.setValueText(kTraY, "1,25");
    f.panel.setEstimate(kRotX, false);
    f.panel.setValueText(kRotX, "12,5");
    f.seeds.applySeed(f.job);
    EXPECT_DOUBLE_EQ(f.job.TraX(), 500.0);
    EXPECT_DOUBLE_EQ(f.job.TraY(), 1250.0);
    EXPECT_DOUBLE_EQ(f.job.RotX(), 12.5 / (180 / kUnitPi));
}

TEST(SeedValues, ATextThatIsNoNumberIsNamedBeforeTheSolve) {
    SeedFixture f;
    f.seed(kTraX, "abc");
    EXPECT_EQ(f.seeds.checkTexts(f.job).value_or(""), "Seed value of \"tra x\" is not a number: \"abc\"");
    EXPECT_THROW(f.seeds.applySeed(f.job), FormatError);

    SeedFixture g;
    g.panel.setEstimate(kTraZ, false);
    g.panel.setValueText(kTraZ, "12mm");
    EXPECT_EQ(g.seeds.checkTexts(g.job).value_or(""), "Fixed value of \"tra z\" is not a number: \"12mm\"");

    SeedFixture h;  // a degrees-minutes-seconds seed is no number: seeds are decimal
    h.seed(kRotX, "12 30 0");
    EXPECT_TRUE(h.seeds.checkTexts(h.job).has_value());
}

TEST(SeedValues, ValueToSeedCopiesShownValuesOnly) {
    SeedFixture f("meter");
    f.job.TraX() = 1234.5;
    f.job.RotZ() = kUnitPi / 4;
    f.job.RDist() = 100.123456;
    f.panel.setValueText(kTraX, "1.235");  // a calculation wrote values into the boxes
    f.panel.setValueText(kRotZ, "45.0000");
    f.panel.setValueText(kTraY, "float");
    f.panel.setValueText(kRDist, "0.100");
    f.panel.setSeedText(kTraY, "keep");
    valueToSeed(f.panel, f.job);
    EXPECT_EQ(f.panel.row(kTraX).seedText, "1.235");
    EXPECT_EQ(f.panel.row(kRotZ).seedText, "45.0000");
    EXPECT_EQ(f.panel.row(kTraY).seedText, "keep");
    EXPECT_EQ(f.panel.row(kScaleX).seedText, "");  // "not used"
    EXPECT_EQ(f.panel.row(kRDist).seedText, "0.100123456");
    EXPECT_FALSE(f.panel.row(kTraX).seedChecked);
    // Read back as a seed: the same value, whatever the separator.
    f.panel.setSeedCheck(kTraX, true);
    f.panel.setEstimate(kTraX, true);
    f.seeds.applySeed(f.job);
    EXPECT_DOUBLE_EQ(f.job.TraX(), 1235.0);
}

TEST(SeedValues, ItsASeedComparesNamesExactly) {
    JobState job;
    job.SeedPointNames = {"", "P1", "P2", "P3"};
    for (const char* seed : {"P1", "P2", "P3"}) EXPECT_TRUE(isSeedPointName(job, seed)) << seed;
    EXPECT_FALSE(isSeedPointName(job, "p2"));
    EXPECT_FALSE(isSeedPointName(job, "p3"));
    EXPECT_FALSE(isSeedPointName(job, "P4"));
}

}  // namespace
}  // namespace kal
