#include <gtest/gtest.h>

#include "platform/Regional.h"
#include "shared/Units.h"
#include "shell/OptionsSettings.h"

namespace kal {
namespace {

JobState degreeJob() {
    JobState job;
    job.AngleUnitName = "degree";
    job.DigitLength = 3, job.DigitAngle = 4;
    job.LengthUnitName = "millimeter";
    applyUnitSettings(job);
    return job;
}

OptionsFields validFields() {
    OptionsFields f;
    f.clipboardMode = 2;
    f.sigmaX = "0.01", f.sigmaY = "0.02", f.sigmaZ = "0";
    f.runs = "100";
    f.gimbalLockBorder = "0.3";
    return f;
}

TEST(OptionsSettings, TypedRunsRoundHalfToEvenAndNeverBelowTwo) {
    platform::ScopedDecimalSeparator point('.');
    const struct {
        const char* typed;
        std::int32_t stored;
    } cases[] = {{"2.5", 2}, {"3.5", 4}, {"1.5", 2},     {"1", 2},       {"0", 2},
                 {"0.5", 2}, {"-5", 2},  {"100.5", 100}, {"101.5", 102}, {"1000000", 1000000}};
    for (const auto& c : cases) {
        JobState job = degreeJob();
        OptionsFields f = validFields();
        f.runs = c.typed;
        const OptionsApplied applied = applyOptions(job, f);
        ASSERT_FALSE(applied.problem) << c.typed;
        EXPECT_EQ(job.MonteCarloRuns, c.stored) << c.typed;
    }
}

TEST(OptionsSettings, BorderTypedInTheDisplayUnitIsStoredInRadiansAndShownBack) {
    platform::ScopedDecimalSeparator point('.');
    JobState job = degreeJob();
    OptionsFields f = validFields();
    f.gimbalLockBorder = "0.3";
    ASSERT_FALSE(applyOptions(job, f).problem);
    EXPECT_DOUBLE_EQ(job.GimbalLockBorder, 0.3 * 3.14159265358979 / 180);
    EXPECT_EQ(optionsFieldsForJob(job).gimbalLockBorder, "0.3");

    const struct {
        const char* unit;
        const char* shown;
    } units[] = {{"grad (gon)", "0.333333333333333"}, {"mrad", "5.23598775598298"}};
    for (const auto& u : units) {
        job.AngleUnitName = u.unit;
        applyUnitSettings(job);
        EXPECT_EQ(optionsFieldsForJob(job).gimbalLockBorder, u.shown) << u.unit;
    }
}

TEST(OptionsSettings, NineKeysInTheWindowsOrder) {
    platform::ScopedDecimalSeparator point('.');
    JobState job = degreeJob();
    OptionsFields f = validFields();
    f.clipboardMode = 4, f.inverted = true, f.tableHeading = true, f.runs = "250";
    const OptionsApplied applied = applyOptions(job, f);
    ASSERT_FALSE(applied.problem);
    std::vector<std::string> lines;
    for (const auto& e : applied.settings) lines.push_back(e.section + ":" + e.key + "=" + e.value.text());
    EXPECT_EQ(lines, (std::vector<std::string>{"Settings:ClipboardValue=4", "Settings:InvertedBMW=True",
                                               "Settings:AdTCP=False", "Settings:TabelHeadMainSheet=True",
                                               "Settings:sigmaX=0.01", "Settings:sigmaY=0.02",
                                               "Settings:sigmaZ=0", "Settings:MonteCarloRuns=250",
                                               "Settings:GimbalLockBorder=0.00523598775598298"}));
    EXPECT_EQ(job.ClipboardMode, 4);
    EXPECT_TRUE(job.InvertedBMW);
}

TEST(OptionsSettings, NoButtonSelectedKeepsTheModeAndDisabledTicksStillApply) {
    platform::ScopedDecimalSeparator point('.');
    JobState job = degreeJob();
    job.ClipboardMode = 9;  // outside 1..5: no button shows it
    OptionsFields f = optionsFieldsForJob(job);
    EXPECT_EQ(f.clipboardMode, 0);
    f.inverted = true;  // ticked while its box is disabled
    EXPECT_FALSE(invertedEnabled(f.clipboardMode));
    ASSERT_FALSE(applyOptions(job, f).problem);
    EXPECT_EQ(job.ClipboardMode, 9);
    EXPECT_TRUE(job.InvertedBMW);
}

TEST(OptionsSettings, OpeningWithZeroRunsSetsHundredAtOnce) {
    JobState job = degreeJob();
    job.MonteCarloRuns = 0;
    EXPECT_EQ(optionsFieldsForJob(job).runs, "100");
    EXPECT_EQ(job.MonteCarloRuns, 100);
}

// A field that does not pass refuses the whole OK: nothing in the job changes, whichever field it is.
TEST(OptionsSettings, RefusedFieldNamesItselfAndChangesNothing) {
    const struct {
        char separator;
        OptionsField field;
        const char* text;
        const char* message;
    } cases[] = {
        {'.', OptionsField::SigmaX, "abc",
         "Please enter a number for Standard Deviation for MCS x Coordinates."},
        {'.', OptionsField::SigmaY, "",
         "Please enter a number for Standard Deviation for MCS y Coordinates."},
        {'.', OptionsField::SigmaZ, "-0.1", "Standard Deviation for MCS z Coordinates must not be negative."},
        {'.', OptionsField::SigmaX, "1e999",
         "Please enter a number for Standard Deviation for MCS x Coordinates."},
        {'.', OptionsField::Runs, "many", "Please enter a number for Monte Carlo runs."},
        {'.', OptionsField::Runs, "1000001", "Monte Carlo runs must be at most 1000000."},
        {'.', OptionsField::Runs, "1e12", "Monte Carlo runs must be at most 1000000."},
        {'.', OptionsField::GimbalLockBorder, "nan", "Please enter a number for the Gimbal Lock border."},
        // Under "," a "." is no decimal point and never a group separator: 0.01 is not read as 1.
        {',', OptionsField::SigmaX, "0.01",
         "Please enter a number for Standard Deviation for MCS x Coordinates."},
        {',', OptionsField::Runs, "1.000", "Please enter a number for Monte Carlo runs."},
    };
    for (const auto& c : cases) {
        platform::ScopedDecimalSeparator separator(c.separator);
        JobState job = degreeJob();
        job.ClipboardMode = 3, job.MonteCarloRuns = 50, job.sigmaX = 0.5;
        OptionsFields f = optionsFieldsForJob(job);
        f.clipboardMode = 5;
        f.adTcp = true;
        std::string* box = c.field == OptionsField::SigmaX   ? &f.sigmaX
                           : c.field == OptionsField::SigmaY ? &f.sigmaY
                           : c.field == OptionsField::SigmaZ ? &f.sigmaZ
                           : c.field == OptionsField::Runs   ? &f.runs
                                                             : &f.gimbalLockBorder;
        *box = c.text;
        const OptionsApplied applied = applyOptions(job, f);
        ASSERT_TRUE(applied.problem) << c.text;
        EXPECT_EQ(applied.problem->field, c.field) << c.text;
        EXPECT_EQ(applied.problem->message, c.message) << c.text;
        EXPECT_TRUE(applied.settings.empty());
        EXPECT_EQ(job.ClipboardMode, 3) << c.text;
        EXPECT_FALSE(job.AdTCP) << c.text;
        EXPECT_EQ(job.MonteCarloRuns, 50) << c.text;
        EXPECT_EQ(job.sigmaX, 0.5) << c.text;
    }
}

TEST(OptionsSettings, CommaSeparatorReadsCommaNumbers) {
    platform::ScopedDecimalSeparator comma(',');
    JobState job = degreeJob();
    OptionsFields f = validFields();
    f.sigmaX = "0,01", f.sigmaY = "0", f.gimbalLockBorder = "0,3";
    ASSERT_FALSE(applyOptions(job, f).problem);
    EXPECT_DOUBLE_EQ(job.sigmaX, 0.01);
    EXPECT_EQ(optionsFieldsForJob(job).gimbalLockBorder, "0,3");
}

}  // namespace
}  // namespace kal
