#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>

#include "engine/TransformModel.h"
#include "results/MainSheet.h"
#include "shared/NumberText.h"
#include "shared/Units.h"
#include "shared/Vectors.h"
#include "support/SampleJobs.h"

namespace kal {
namespace {

constexpr double kDeg = 3.14159265358979 / 180.0;

// One identical pair on a circle of radius 100 at the given azimuths (degrees), z 50 and 30.
JobState pairAtAzimuths(double mcsDegrees, double ocsDegrees) {
    JobState job = testing::makePointJob(1);
    job.MCS_X.set(1, 100 * std::cos(mcsDegrees * kDeg));
    job.MCS_Y.set(1, 100 * std::sin(mcsDegrees * kDeg));
    job.MCS_Z[1] = 50;
    job.OCS_X.set(1, 100 * std::cos(ocsDegrees * kDeg));
    job.OCS_Y.set(1, 100 * std::sin(ocsDegrees * kDeg));
    job.OCS_Z[1] = 30;
    job.MCSt_X = job.MCS_X, job.MCSt_Y = job.MCS_Y, job.MCSt_Z = job.MCS_Z;  // as a load leaves them
    applyUnitSettings(job);
    return job;
}

TEST(MainSheet, AzimuthDifferenceAcrossTheSeamIsFoldedToMinus20Degrees) {
    JobState job = pairAtAzimuths(170, -170);
    MainSheet sheet(job);
    ASSERT_TRUE(sheet.refill());
    EXPECT_EQ(sheet.headerText(15), "dev.Phi");
    EXPECT_EQ(sheet.text(0, 11), "170.0000");
    EXPECT_EQ(sheet.text(0, 13), "-170.0000");
    EXPECT_EQ(sheet.text(0, 15), "-20.0000");
    EXPECT_NEAR(*sheet.value(0, 15), -20.0, 1e-6);
    // The polar angle's difference is never folded.
    EXPECT_EQ(
        sheet.text(0, 21),
        formatAngle(polarAngle(job.MCS_X[1], job.MCS_Y[1], 50) - polarAngle(job.OCS_X[1], job.OCS_Y[1], 30),
                    job.AngleFactor, job.AngleFormat, job.AngleUnitName, job.AngleFormat));
}

TEST(MainSheet, FoldKeepsPlusAndMinusPiAndFoldsOnlyBeyond) {
    const double pi = 3.14159265358979;
    struct Case {
        double in, out;
    } cases[] = {{pi, pi},
                 {-pi, -pi},
                 {340 * kDeg, 340 * kDeg - 6.28318530717958},
                 {-340 * kDeg, -340 * kDeg + 6.28318530717958},
                 {0.5, 0.5},
                 {pi + 1e-9, pi + 1e-9 - 6.28318530717958}};
    for (const Case& c : cases) EXPECT_DOUBLE_EQ(foldAzimuthDifference(c.in), c.out) << c.in;
}

TEST(MainSheet, PhiThetaAsLengthsShowsArcsAcrossTheTransformedRadius) {
    JobState job = pairAtAzimuths(10, 8);
    job.PhiThetaAsQ = true;
    MainSheet sheet(job);
    ASSERT_TRUE(sheet.refill());
    EXPECT_EQ(sheet.text(0, 15), formatNumber(100 * 2 * kDeg, "0.000"));  // r' = 100, dφ = 2°
    EXPECT_EQ(sheet.text(0, 11), "10.0000");                              // other angles stay angles
}

// Deviations are the transformed MCS point minus its OCS point, in every form: a point that lies
// further out than its partner reads positive, one that lies further in negative, whatever the
// signs of its x and y deviations. Worked by hand: P1 at (6, 8, 2) against (3, 4, 0) has radii 10
// and 5, sphere radii √104 and 5; P2 at (0, -2, 1) against (0, -7, 1) has radii 2 and 7, sphere
// radii √5 and √50.
TEST(MainSheet, RadialDeviationsArePositiveOutwardAndTheCartesianOnesKeepTheirAxes) {
    JobState job = testing::makePointJob(2);
    const double mcs[2][3] = {{6, 8, 2}, {0, -2, 1}}, ocs[2][3] = {{3, 4, 0}, {0, -7, 1}};
    for (std::int32_t k = 1; k <= 2; ++k) {
        const auto i = static_cast<std::size_t>(k);
        job.MCS_X.set(k, mcs[i - 1][0]), job.MCS_Y.set(k, mcs[i - 1][1]), job.MCS_Z[i] = mcs[i - 1][2];
        job.OCS_X.set(k, ocs[i - 1][0]), job.OCS_Y.set(k, ocs[i - 1][1]), job.OCS_Z[i] = ocs[i - 1][2];
    }
    job.MCSt_X = job.MCS_X, job.MCSt_Y = job.MCS_Y, job.MCSt_Z = job.MCS_Z;
    applyUnitSettings(job);
    for (const bool stored : {false, true}) {
        job.TrafoCalculated = stored;  // the transformed points stored, or the identity computed
        MainSheet sheet(job);
        ASSERT_TRUE(sheet.refill());
        EXPECT_EQ(sheet.headerText(14), "dev.r.CYL");
        EXPECT_EQ(sheet.headerText(20), "dev.R.SPH");
        EXPECT_NEAR(*sheet.value(0, 7), 3.0, 1e-12);
        EXPECT_NEAR(*sheet.value(0, 8), 4.0, 1e-12);
        EXPECT_NEAR(*sheet.value(0, 9), 2.0, 1e-12);
        EXPECT_NEAR(*sheet.value(0, 10), 10.0, 1e-12);
        EXPECT_NEAR(*sheet.value(0, 12), 5.0, 1e-12);
        EXPECT_NEAR(*sheet.value(0, 14), 5.0, 1e-9);
        EXPECT_EQ(sheet.text(0, 14), "5.000");
        EXPECT_NEAR(*sheet.value(0, 20), std::sqrt(104.0) - 5.0, 1e-9);
        EXPECT_NEAR(*sheet.value(1, 8), 5.0, 1e-12);  // y moved up, the radius shrank
        EXPECT_NEAR(*sheet.value(1, 14), -5.0, 1e-9);
        EXPECT_EQ(sheet.text(1, 14), "-5.000");
        EXPECT_NEAR(*sheet.value(1, 20), std::sqrt(5.0) - std::sqrt(50.0), 1e-9);
    }
}

TEST(MainSheet, RowsComeInGroupsWithTheirCellsAndColours) {
    JobState job = testing::makePointJob(2, 1, 2);
    applyUnitSettings(job);
    MainSheet sheet(job);
    EXPECT_EQ(sheet.columnCount(), 0);  // before the first fill
    ASSERT_TRUE(sheet.refill());
    ASSERT_EQ(sheet.rowCount(), 5);
    ASSERT_EQ(sheet.columnCount(), 23);
    EXPECT_EQ(sheet.headerText(0), "Point ID");
    EXPECT_EQ(sheet.headerText(22), "");
    const char* names[] = {"P1", "P2", "M3", "O3", "O4"};
    const Rgb groupColour[] = {kSheetGreen, kSheetGreen, kSheetYellow, kSheetOrange, kSheetOrange};
    for (int row = 0; row < 5; ++row) {
        EXPECT_EQ(sheet.text(row, 0), names[row]);
        EXPECT_EQ(sheet.style(row, 0).background, groupColour[row]);
        EXPECT_EQ(sheet.style(row, 0).alignment, CellAlignment::Right);
        EXPECT_EQ(sheet.text(row, 22), "");
        for (int column = 1; column <= 22; ++column)
            EXPECT_EQ(sheet.style(row, column).background,
                      isYellowSheetColumn(column) ? kSheetYellow : kSheetWhite);
    }
    // Which columns each group fills.
    const std::vector<int> mcsColumns{1, 2, 3, 10, 11, 16, 17}, ocsColumns{4, 5, 6, 12, 13, 18, 19};
    for (int column = 1; column <= 21; ++column) {
        const bool mcs = std::count(mcsColumns.begin(), mcsColumns.end(), column) > 0;
        const bool ocs = std::count(ocsColumns.begin(), ocsColumns.end(), column) > 0;
        EXPECT_FALSE(sheet.text(0, column).empty()) << column;
        EXPECT_EQ(!sheet.text(2, column).empty(), mcs) << column;
        EXPECT_EQ(!sheet.text(3, column).empty(), ocs) << column;
        EXPECT_EQ(sheet.value(3, column).has_value(), ocs) << column;
    }
    EXPECT_EQ(sheet.text(3, 4), "102.250");  // OCS point 3: 100 + 0.25·3 + 1.5
    EXPECT_EQ(sheet.text(2, 1), "100.750");  // MCS point 3 under the identity
}

TEST(MainSheet, WithoutIdenticalPointsTheMcsOnlyGroupComesFirstAndNothingIsGreen) {
    JobState job = testing::makePointJob(0, 2, 1);
    applyUnitSettings(job);
    MainSheet sheet(job);
    ASSERT_TRUE(sheet.refill());
    ASSERT_EQ(sheet.rowCount(), 3);
    EXPECT_EQ(sheet.group(0), SheetGroup::McsOnly);
    EXPECT_EQ(sheet.text(0, 0), "M1");
    EXPECT_EQ(sheet.text(2, 0), "O1");
    for (int row = 0; row < 3; ++row) EXPECT_NE(sheet.style(row, 0).background, kSheetGreen);
}

TEST(MainSheet, AnEmptyJobLeavesTheContentsAsTheyWere) {
    JobState job = testing::makePointJob(3);
    applyUnitSettings(job);
    MainSheet sheet(job);
    ASSERT_TRUE(sheet.refill());
    JobState empty;
    MainSheet fresh(empty);
    EXPECT_FALSE(fresh.refill());
    EXPECT_EQ(fresh.rowCount(), 0);

    job.IdenticalCount = job.McsCount = job.OcsCount = 0;
    job.sizeDerivedArrays();
    EXPECT_FALSE(sheet.refill());
    EXPECT_EQ(sheet.rowCount(), 3);
    EXPECT_EQ(sheet.columnCount(), 23);
}

TEST(MainSheet, AUnitChangeRescalesTheLengthColumnsAndLeavesTitlesAndAngles) {
    JobState job = pairAtAzimuths(30, 20);
    MainSheet sheet(job);
    ASSERT_TRUE(sheet.refill());
    const std::string angle = sheet.text(0, 11);
    EXPECT_EQ(sheet.text(0, 10), "100.000");
    job.LengthUnitName = "meter";
    applyUnitSettings(job);
    ASSERT_TRUE(sheet.refill());
    EXPECT_EQ(sheet.text(0, 10), "0.100");
    EXPECT_EQ(sheet.text(0, 16), formatNumber(std::hypot(100.0, 50.0) / 1000, "0.000"));
    EXPECT_NEAR(*sheet.value(0, 10), 0.1, 1e-12);
    EXPECT_EQ(sheet.text(0, 11), angle);
    EXPECT_EQ(sheet.headerText(10), "MCS.r.CYL");
}

TEST(MainSheet, DegreesMinutesSecondsCellsAreTextsWithDecimalValues) {
    JobState job = pairAtAzimuths(12.5, 0);
    job.AngleUnitName = kDmsUnitName;
    applyUnitSettings(job);
    MainSheet sheet(job);
    ASSERT_TRUE(sheet.refill());
    // The azimuth's ten-digit pi leaves 12.5° a hair short: " 12  29 60.0000", as the sheet always showed.
    EXPECT_EQ(sheet.text(0, 11), formatAngle(azimuthXY(job.MCS_X[1], job.MCS_Y[1]), job.AngleFactor,
                                             job.AngleFormat, kDmsUnitName, job.AngleFormat));
    EXPECT_TRUE(looksLikeDms(sheet.text(0, 11)));
    EXPECT_NEAR(*sheet.value(0, 11), 12.5, 1e-6);
}

TEST(MainSheet, SortKeysAreTheValuesShownNotTheirTexts) {
    // Degrees-minutes-seconds texts, or numbers written with ",", would sort wrongly as texts.
    JobState job = testing::makePointJob(2, 0, 1);
    job.AngleUnitName = kDmsUnitName;
    applyUnitSettings(job);
    job.MCS_Name[2] = "007";
    MainSheet sheet(job);
    ASSERT_TRUE(sheet.refill());
    const SortKey angle = sheet.sortKey(0, 11);
    EXPECT_TRUE(angle.isNumber);
    EXPECT_DOUBLE_EQ(angle.number, *sheet.value(0, 11));
    EXPECT_FALSE(sheet.sortKey(2, 1).isNumber);  // an empty cell sorts after the numbers
    EXPECT_EQ(sheet.sortKey(2, 1).text, "");
    const SortKey name = sheet.sortKey(1, 0);  // names read as numbers when they are, text kept
    EXPECT_TRUE(name.isNumber);
    EXPECT_EQ(name.number, 7);
    EXPECT_EQ(name.text, "007");
    EXPECT_FALSE(sheet.sortKey(0, 0).isNumber);
}

// The MCS-only rows apply the parameter block; the identical rows show the stored points.
TEST(MainSheet, AParameterBlockThatIsNotFiniteLeavesTheMcsOnlyCellsEmpty) {
    JobState job = testing::makePointJob(1, 1);
    applyUnitSettings(job);
    job.TraX() = std::numeric_limits<double>::quiet_NaN();
    MainSheet sheet(job);
    ASSERT_TRUE(sheet.refill());
    for (int column : {1, 2, 3, 10, 11, 16, 17}) {
        EXPECT_EQ(sheet.text(1, column), "") << column;
        EXPECT_EQ(sheet.value(1, column), std::nullopt) << column;
    }
    EXPECT_EQ(sheet.text(0, 1), formatNumber(job.MCSt_X[1], "0.000"));
    EXPECT_FALSE(sheet.text(0, 4).empty());  // the OCS point is still shown
}

// The identical rows show the job's transformed points (MCSt), before a calculation too, where
// they are the MCS as loaded: the point table shows the same residuals. The MCS-only rows, which
// the point table does not list, apply the parameter block.
TEST(MainSheet, IdenticalRowsShowTheStoredTransformedPointsAlsoBeforeACalculation) {
    JobState job = testing::makePointJob(2, 1);
    applyUnitSettings(job);
    job.TraX() = 10;
    job.RotZSeed = job.RotZ() = 90 * kDeg;
    ASSERT_FALSE(job.TrafoCalculated);
    MainSheet sheet(job);
    ASSERT_TRUE(sheet.refill());
    EXPECT_EQ(sheet.text(0, 1), formatNumber(job.MCS_X[1], "0.000"));
    EXPECT_EQ(sheet.text(0, 7), formatNumber(job.MCS_X[1] - job.OCS_X[1], "0.000"));
    EXPECT_EQ(sheet.text(1, 9), formatNumber(job.MCS_Z[2] - job.OCS_Z[2], "0.000"));
    double x, y, z;
    transformPoint(job, job.MCS_X[3], job.MCS_Y[3], job.MCS_Z[3], x, y, z);
    EXPECT_EQ(sheet.text(2, 1), formatNumber(x, "0.000"));

    // After a calculation the identical rows show what it stored; MCS-only rows still transform.
    job.TrafoCalculated = true;
    job.MCSt_X.set(1, 1234.5);
    ASSERT_TRUE(sheet.refill());
    EXPECT_EQ(sheet.text(0, 1), "1234.500");
    EXPECT_EQ(sheet.text(2, 1), formatNumber(x, "0.000"));

    // A job whose transformed points do not reach the identical rows applies the parameters there.
    job.MCSt_X = TaggedArray(0), job.MCSt_Y = TaggedArray(0), job.MCSt_Z.assign(1, 0.0);
    ASSERT_TRUE(sheet.refill());
    transformPoint(job, job.MCS_X[1], job.MCS_Y[1], job.MCS_Z[1], x, y, z);
    EXPECT_EQ(sheet.text(0, 1), formatNumber(x, "0.000"));
}

TEST(MainSheet, ScaleZeroBeforeAnyCalculationShowsTheTranslationOnMcsOnlyRows) {
    JobState job = testing::makePointJob(1, 1);
    applyUnitSettings(job);
    job.ScaleX() = job.ScaleY() = job.ScaleZ() = 0;
    job.TraX() = 5;
    MainSheet sheet(job);
    ASSERT_TRUE(sheet.refill());
    EXPECT_EQ(sheet.text(1, 1), "5.000");
    EXPECT_EQ(sheet.text(1, 2), "0.000");
}

TEST(MainSheet, PointsDroppedUnderTheSheetReadAsEmptyCells) {
    // A load resizes the arrays before it tells the windows; a paint in between must not read
    // beyond them.
    JobState job = testing::makePointJob(4, 1, 1);
    applyUnitSettings(job);
    MainSheet sheet(job);
    ASSERT_TRUE(sheet.refill());
    job = testing::makePointJob(1);
    for (int row = 0; row < sheet.rowCount(); ++row)
        for (int column = 0; column < 23; ++column) (void)sheet.text(row, column);
    EXPECT_EQ(sheet.text(5, 4), "");
    EXPECT_EQ(sheet.text(3, 0), "");
}

TEST(MainSheet, NameMapGivesTheFirstRowOfAName) {
    JobState job = testing::makePointJob(2, 1, 1);
    applyUnitSettings(job);
    job.OCS_Name[3] = "M3";  // an OCS-only point named like an MCS-only one
    MainSheet sheet(job);
    ASSERT_TRUE(sheet.refill());
    EXPECT_EQ(sheet.rowOfName("P2"), 1);
    EXPECT_EQ(sheet.rowOfName("M3"), 2);
    EXPECT_EQ(sheet.rowOfName("nope"), std::nullopt);
    job.MCS_Name[1] = "renamed";
    ASSERT_TRUE(sheet.refill());  // a refill forgets the old names
    EXPECT_EQ(sheet.rowOfName("renamed"), 0);
    EXPECT_EQ(sheet.rowOfName("P1"), std::nullopt);
}

TEST(MainSheet, HighlightPaintsColumnsOneToTwentyOneDarkRedUntilTheNextRefill) {
    JobState job = testing::makePointJob(2);
    applyUnitSettings(job);
    MainSheet sheet(job);
    ASSERT_TRUE(sheet.refill());
    sheet.setHighlightedRow(1);
    EXPECT_EQ(sheet.style(1, 0).background, kSheetGreen);
    for (int column = 1; column <= 21; ++column)
        EXPECT_EQ(sheet.style(1, column).background, kSheetHighlight);
    EXPECT_EQ(sheet.style(1, 22).background, kSheetWhite);
    EXPECT_EQ(sheet.style(0, 4).background, kSheetYellow);
    ASSERT_TRUE(sheet.refill());
    EXPECT_EQ(sheet.style(1, 4).background, kSheetYellow);
}

// WCAG contrast ratio of two colours (1 to 21); 4.5 is the least that small text needs.
double contrastRatio(Rgb a, Rgb b) {
    const auto luminance = [](Rgb c) {
        const auto linear = [](std::uint8_t v) {
            const double s = v / 255.0;
            return s <= 0.03928 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * linear(c.red) + 0.7152 * linear(c.green) + 0.0722 * linear(c.blue);
    };
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

TEST(MainSheet, CurrentRowDigitsAreDrawnLightSoTheDarkRedRowStaysReadable) {
    JobState job = testing::makePointJob(2);
    applyUnitSettings(job);
    MainSheet sheet(job);
    ASSERT_TRUE(sheet.refill());
    sheet.setHighlightedRow(1);
    const Rgb black{0, 0, 0};
    for (int column = 1; column <= 21; ++column) {
        SCOPED_TRACE(column);
        const CellStyle style = sheet.style(1, column);
        ASSERT_EQ(style.background, kSheetHighlight);
        ASSERT_TRUE(style.foreground.has_value()) << "black text on dark red";
        EXPECT_GE(contrastRatio(*style.foreground, kSheetHighlight), 4.5);
        // The other rows keep the grid's own (black) text on their light colours.
        EXPECT_EQ(sheet.style(0, column).foreground, std::nullopt);
    }
    EXPECT_LT(contrastRatio(black, kSheetHighlight), 4.5);  // why the digits needed a colour
    EXPECT_EQ(sheet.style(1, 0).foreground, std::nullopt);  // the group colour stays light
    ASSERT_TRUE(sheet.refill());
    EXPECT_EQ(sheet.style(1, 5).foreground, std::nullopt);
}

}  // namespace
}  // namespace kal
