#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "platform/Regional.h"
#include "results/CalculationReport.h"
#include "support/KnownTransformJob.h"

namespace kal {
namespace {

constexpr double kDeg = 3.14159265358979 / 180.0;

std::vector<std::string> split(const std::string& text, const std::string& by) {
    std::vector<std::string> parts;
    std::size_t from = 0;
    for (std::size_t at; (at = text.find(by, from)) != std::string::npos; from = at + by.size())
        parts.push_back(text.substr(from, at - from));
    parts.push_back(text.substr(from));
    return parts;
}

// n identical points at distinct places, transformed points 0.1 mm beside their partners.
JobState reportJob(std::int32_t n) {
    JobState job;
    testing::setMillimetreDegree(job);
    testing::sizeIdentical(job, n);
    for (std::int32_t i = 1; i <= n; ++i) {
        job.OCS_X.set(i, 100.0 * i), job.OCS_Y.set(i, 50.0), job.OCS_Z[static_cast<std::size_t>(i)] = 10.0;
        job.MCSt_X.set(i, 100.0 * i + 0.1), job.MCSt_Y.set(i, 50.0),
            job.MCSt_Z[static_cast<std::size_t>(i)] = 10;
    }
    job.ScaleX() = job.ScaleY() = job.ScaleZ() = job.ScaleXYZ() = 1.0;
    job.MCS_FileName = "mcs.txt";
    job.OCS_FileName = "ocs.txt";
    return job;
}

TEST(CalculationReport, CompleteResultsHoldNPlusTwentyLinesEachEndedByCrLf) {
    const struct {
        std::int32_t points;
        bool scaleXyz;
        bool offsetVector;
        std::size_t lines;
    } cases[] = {{0, false, false, 20},
                 {5, false, false, 25},
                 {5, true, false, 26},
                 {5, false, true, 27},
                 {3, true, true, 26}};
    for (const auto& c : cases) {
        JobState job = reportJob(c.points);
        job.UseAbcMode = c.offsetVector;
        DisplayTicks ticks;
        ticks.ticked[kScaleXYZ] = c.scaleXyz;
        const std::string text = completeResultsReport(job, ticks, ResultDisplay{});
        const auto lines = split(text, "\r\n");
        EXPECT_EQ(lines.size(), c.lines) << c.points;
        for (const auto& line : lines) {
            EXPECT_EQ(line.find('\r'), std::string::npos) << "a lone CR in: " << line;
            EXPECT_EQ(line.find('\n'), std::string::npos) << "a lone LF in: " << line;
        }
        EXPECT_EQ(lines[0], "Start = MCS File: mcs.txt\t");
        EXPECT_EQ(lines[1], "Target = OCS File: ocs.txt\t");
        EXPECT_EQ(lines[2], "Tra x    \t0.000\tmillimeter");
        // With no point the report ends with the header line; no line end after the last line.
        const std::string& last = lines.back();
        if (c.points == 0) {
            EXPECT_EQ(last.substr(0, 14), "PktNr.\tMCS.x \t");
        }
        EXPECT_EQ(split(last, "\t").size(), 25u);
        EXPECT_EQ((std::find(lines.begin(), lines.end(), "Scale xyz\t1.000000") != lines.end()), c.scaleXyz);
    }
}

TEST(CalculationReport, PointLinesAndTheAzimuthDifferenceAcrossTheSeam) {
    platform::ScopedDecimalSeparator point('.');
    JobState job = reportJob(1);
    // The transformed point at azimuth 170°, its partner at -170°, both at radius 100.
    job.MCSt_X.set(1, 100 * std::cos(170 * kDeg)), job.MCSt_Y.set(1, 100 * std::sin(170 * kDeg));
    job.OCS_X.set(1, 100 * std::cos(-170 * kDeg)), job.OCS_Y.set(1, 100 * std::sin(-170 * kDeg));
    job.MCSt_Z[1] = job.OCS_Z[1] = 0.0;
    job.UseFlags[2] = 0;
    const std::string text = completeResultsReport(job, {}, ResultDisplay{});
    const auto fields = split(split(text, "\r\n").back(), "\t");
    ASSERT_EQ(fields.size(), 25u);
    EXPECT_EQ(fields[0], "P1");
    EXPECT_EQ(fields[7], "0.000");  // dev.x: the two points mirror each other in y
    EXPECT_EQ(fields[10] + fields[11] + fields[12], "101");
    EXPECT_EQ(fields[14], "170.0000");
    EXPECT_EQ(fields[16], "-170.0000");
    EXPECT_EQ(fields[18], "-20.0000");  // folded, not 340
    EXPECT_EQ(fields[24], "0.0000");
}

// A point line holds the deviations (transformed minus OCS) and then the use flags in x, y, z order;
// the flags of the two points are no palindromes, so any other order shows. Point 2's transformed
// point (200.1, -0.25) lies further out from the z axis than its partner (200, 0): its radial
// deviation reads positive.
TEST(CalculationReport, UseFlagsStandInXYZOrderAfterTheSignedDeviations) {
    platform::ScopedDecimalSeparator point('.');
    JobState job = reportJob(2);
    for (std::int32_t i = 1; i <= 2; ++i) job.OCS_Y.set(i, 0.0), job.MCSt_Y.set(i, -0.25);
    job.MCSt_Z[2] = 10.5;
    job.UseFlags[1] = 1, job.UseFlags[2] = 1, job.UseFlags[3] = 0;  // point 1: x, y used
    job.UseFlags[4] = 0, job.UseFlags[5] = 0, job.UseFlags[6] = 1;  // point 2: z used
    const auto lines = split(completeResultsReport(job, {}, ResultDisplay{}), "\r\n");
    ASSERT_GE(lines.size(), 2u);
    const auto first = split(lines[lines.size() - 2], "\t"), second = split(lines.back(), "\t");
    ASSERT_EQ(first.size(), 25u);
    ASSERT_EQ(second.size(), 25u);
    EXPECT_EQ(first[0], "P1");
    EXPECT_EQ(first[7] + "|" + first[8] + "|" + first[9], "0.100|-0.250|0.000");
    EXPECT_EQ(first[10] + first[11] + first[12], "110");
    EXPECT_EQ(second[7] + "|" + second[8] + "|" + second[9], "0.100|-0.250|0.500");
    EXPECT_EQ(second[10] + second[11] + second[12], "001");
    // dev.r.CYL of point 2: √(200.1² + 0.25²) − 200.
    EXPECT_EQ(second[17], "0.100");
    EXPECT_EQ(second[13], "200.100");
    EXPECT_EQ(second[15], "200.000");
}

TEST(CalculationReport, StatisticsLinesLeaveAbsentValuesEmpty) {
    JobState job = reportJob(2);
    ResultDisplay d;
    d.statistics.emplace();
    d.statistics->value[kStatS0] = 0.5;
    d.statistics->value[kStatSigmaXyz] = 0.25;
    d.statistics->value[kStatSx] = 0.125;
    d.statistics->value[kStatMaxY] = 1.0;  // y present, x absent
    d.statistics->value[kStatMinY] = -1.0;
    d.statistics->value[kStatSpreadY] = 2.0;
    const auto lines = split(completeResultsReport(job, {}, d), "\r\n");
    EXPECT_EQ(lines[15], "s0 \t0.500\tmillimeter\tsigma xyz \t0.250\tmillimeter");
    EXPECT_EQ(lines[16], "sx   \t0.125\tmax x \t\tmin x   \t\tmax x - min x   \t");
    EXPECT_EQ(lines[17], "sy   \t\tmax y \t1.000\tmin y   \t-1.000\tmax y - min y   \t2.000");
}

TEST(CalculationReport, RobotLineHasSevenFieldsOrTenWithTheTcp) {
    platform::ScopedDecimalSeparator point('.');
    JobState job = reportJob(1);
    job.TraX() = 1, job.TraY() = 2, job.TraZ() = 3;
    job.RotX() = 10 * kDeg, job.RotY() = 20 * kDeg, job.RotZ() = 30 * kDeg;
    std::string line = robotPoseLine(job);
    EXPECT_EQ(line, "Trala xyz, Rot -z-y'-x''\t1.000\t2.000\t3.000\t-30.0000\t-20.0000\t-10.0000");
    EXPECT_EQ(split(line, "\t").size(), 7u);
    job.AdTCP = true;
    job.Rvec_x() = 0, job.Rvec_y() = -5, job.Rvec_z() = 0;  // no "-0" for the zero components
    line = robotPoseLine(job);
    EXPECT_EQ(split(line, "\t").size(), 10u);
    EXPECT_EQ(line.substr(0, line.find('\t')), "Trala xyz, Rot -z-y'-x'', TCP -x-y-z");
    EXPECT_EQ(line.substr(line.size() - 18), "\t0.000\t5.000\t0.000");
}

TEST(CalculationReport, ModesOneAndThreeLeaveTheClipboardAlone) {
    for (std::int16_t mode : {0, 1, 3, 6}) {
        JobState job = reportJob(1);
        job.ClipboardMode = mode;
        EXPECT_FALSE(clipboardOutput(job, {}, ResultDisplay{}).text) << mode;
    }
    JobState job = reportJob(1);
    job.ClipboardMode = 5;
    EXPECT_TRUE(clipboardOutput(job, {}, ResultDisplay{}).text);
}

TEST(CalculationReport, CellCalibrationLineKeepsItsTrailingTabAndNeverAddsTheNoticeUninverted) {
    platform::ScopedDecimalSeparator point('.');
    JobState job = reportJob(1);
    job.TraX() = 1;
    job.RotX() = 90 * kDeg;
    DisplayTicks ticks;
    ticks.ticked[kParXY] = true;  // not plain, but the notice belongs to the inverted line only
    bool noInverse = true;
    EXPECT_EQ(cellCalibrationLine(job, ticks, noInverse), "1.000\t0.000\t0.000\t-90.0000\t0.0000\t0.0000\t");
    EXPECT_FALSE(noInverse);
}

TEST(CalculationReport, InvertedCellCalibrationLineAndItsNotice) {
    platform::ScopedDecimalSeparator point('.');
    JobState job = reportJob(1);
    job.InvertedBMW = true;
    job.TraX() = 10;
    bool noInverse = false;
    std::string line = cellCalibrationLine(job, {}, noInverse);
    // The inverse's translation, then the negated angles of its first parameter set, each with a TAB.
    EXPECT_EQ(line.substr(0, 20), "-10.000\t0.000\t0.000\t");
    EXPECT_EQ(std::count(line.begin(), line.end(), '\t'), 6);
    EXPECT_EQ(line.back(), '\t');
    EXPECT_FALSE(noInverse);
    DisplayTicks ticks;
    ticks.ticked[kParXY] = true;
    line = cellCalibrationLine(job, ticks, noInverse);
    EXPECT_EQ(line.find(std::string(kNotPlainNotice) + "\r\n" + kOnlyTraRotNotice + "\r\n"), 0u);
    // Different axis scales have no inverse: an empty clipboard, never a notice-only line.
    job.ScaleY() = 2.0;
    job.RotZ() = job.RotZSeed = 30 * kDeg;  // the transformation's working copy of the rotation too
    ticks.ticked[kScaleY] = true;
    EXPECT_EQ(cellCalibrationLine(job, ticks, noInverse), "");
    EXPECT_TRUE(noInverse);
    job.ScaleY() = 1.0;
    job.RotZ() = job.RotZSeed = 0.0;
    // A scale that shows as 1 is plain; one that does not, is not.
    job.ScaleX() = 1.0000000001;
    EXPECT_TRUE(plainSixParameters(job, {}));
    job.ScaleX() = 1.001;
    EXPECT_FALSE(plainSixParameters(job, {}));
}

}  // namespace
}  // namespace kal
