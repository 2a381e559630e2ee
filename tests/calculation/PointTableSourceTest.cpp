#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <string>
#include <vector>

#include "calculation/PointTableSource.h"
#include "shared/SortedGridSource.h"
#include "support/KnownTransformJob.h"

namespace kal {
namespace {

// n identical points P1..Pn; point k's transformed MCS point lies `dx[k-1]` mm beside its OCS point
// in x and nowhere else, so the residuals are known exactly.
JobState jobWithResiduals(const std::vector<double>& dx, const char* lengthUnit = "millimeter") {
    JobState job;
    testing::setMillimetreDegree(job, lengthUnit);
    const auto n = static_cast<std::int32_t>(dx.size());
    testing::sizeIdentical(job, n);
    for (std::int32_t k = 1; k <= n; ++k) {
        job.OCS_X.set(k, 100.0 * k);
        job.OCS_Y.set(k, -50.0);
        job.MCSt_X.set(k, 100.0 * k + dx[static_cast<std::size_t>(k - 1)]);
        job.MCSt_Y.set(k, -50.0);
    }
    return job;
}

std::vector<std::string> column(const GridSource& source, std::int32_t c) {
    std::vector<std::string> out;
    for (std::int32_t r = 0; r < source.rowCount(); ++r) out.push_back(source.text(r, c));
    return out;
}

TEST(PointTableSource, ResidualsAreTransformedMinusObservedInTheDisplayUnitWithoutMinusZero) {
    struct Case {
        const char* unit;
        double dx;  // mm
        const char* text;
    } cases[] = {
        {"millimeter", 0.0004, "0.000"}, {"millimeter", -0.0004, "0.000"}, {"millimeter", 0.0005, "0.001"},
        {"millimeter", -1.25, "-1.250"}, {"meter", 1.2345, "0.001"},       {"meter", -0.4, "0.000"},
        {"meter", -2500.0, "-2.500"},
    };
    for (const auto& c : cases) {
        JobState job = jobWithResiduals({c.dx}, c.unit);
        PointTableSource table(job);
        table.setDeviationShown(true);
        table.refresh();
        ASSERT_EQ(table.rowCount(), 1);
        EXPECT_EQ(table.text(0, 2), c.text) << c.unit << " " << c.dx;
        EXPECT_EQ(table.text(0, 3), "0.000");
        EXPECT_EQ(residualText(c.dx * job.LengthFactor, job.LengthFormat), c.text);
    }
    EXPECT_EQ(residualText(std::nan(""), "0.000"), "");
}

TEST(PointTableSource, CellsShowNamesFlagsSeedsAndThePointNumber) {
    JobState job = jobWithResiduals({1.0, 2.0, 3.0, 4.0});
    job.SeedPointNames = {"", "P2", "P4", ""};
    job.SeedPointIndex = {0, 2, 4, 0};
    job.UseFlags[3 * 2 + 2] = 0;  // point 3, y
    job.UseFlags[3 * 0 + 3] = 2;  // point 1, z: only exactly 1 counts as used
    PointTableSource table(job);
    EXPECT_EQ(table.rowCount(), 0) << "the header only until the rows are taken";
    table.setDeviationShown(true);
    table.refresh();
    ASSERT_EQ(table.rowCount(), 4);
    EXPECT_EQ(table.columnCount(), 9);
    const std::vector<std::string> headers = {"",      "Pt.ID", "dev.x", "dev.y", "dev.z",
                                              "use.x", "use.y", "use.z", ""};
    for (std::int32_t c = 0; c < 9; ++c) EXPECT_EQ(table.headerText(c), headers[static_cast<std::size_t>(c)]);
    EXPECT_TRUE(table.columnHidden(0));
    EXPECT_TRUE(table.columnHidden(8));
    EXPECT_EQ(column(table, 1), (std::vector<std::string>{"P1", "P2", "P3", "P4"}));
    EXPECT_EQ(column(table, 8), (std::vector<std::string>{"1", "2", "3", "4"}));
    EXPECT_EQ(column(table, 6), (std::vector<std::string>{"X", "X", "", "X"}));
    EXPECT_EQ(column(table, 7), (std::vector<std::string>{"", "X", "X", "X"}));
    EXPECT_EQ(table.text(2, 0), "");

    EXPECT_EQ(table.style(1, 1).background, kSeedBack);
    EXPECT_EQ(table.style(3, 1).background, kSeedBack);
    EXPECT_EQ(table.style(0, 1).background, std::nullopt);
    EXPECT_EQ(table.style(2, 3).background, kUnusedBack);
    EXPECT_EQ(table.style(0, 4).background, kUnusedBack);
    EXPECT_EQ(table.style(0, 2).background, kUsedBack);
    EXPECT_EQ(table.style(0, 1).alignment, CellAlignment::Right);
    EXPECT_EQ(table.style(0, 4).alignment, CellAlignment::Right);
    EXPECT_EQ(table.style(0, 6).alignment, CellAlignment::Center);

    // The job loses points before the table hears of it: no cell reads past the arrays.
    testing::sizeIdentical(job, 2);
    EXPECT_EQ(table.rowCount(), 4);
    EXPECT_EQ(table.text(3, 1), "");
    EXPECT_EQ(table.text(3, 2), "");
    table.refresh();
    EXPECT_EQ(table.rowCount(), 2);
}

TEST(PointTableSource, ResidualColumnsSortByValueNamesGenerically) {
    JobState job = jobWithResiduals({0.5, -2.0, 10.0, 0.25});
    job.MCS_Name = {"", "10", "9", "b", "A"};
    PointTableSource table(job);
    table.setDeviationShown(true);
    table.refresh();
    SortedGridSource sorted(&table);
    ASSERT_TRUE(sorted.sortBy(2, SortOrder::Ascending));
    EXPECT_EQ(column(sorted, 8), (std::vector<std::string>{"2", "4", "1", "3"}));
    ASSERT_TRUE(sorted.sortBy(1, SortOrder::Ascending));
    EXPECT_EQ(column(sorted, 1), (std::vector<std::string>{"9", "10", "A", "b"}));
    EXPECT_FALSE(sorted.sortBy(8, SortOrder::Ascending)) << "the hidden point number is no sort column";
}

TEST(PointTableEdits, ToggleFlipsOneFlagOrAllThreeInTheRDistMode) {
    struct Case {
        const char* what;
        std::int16_t before;
        bool rDist;
        int expected;
        std::vector<std::int16_t> flags;  // point 2's x, y, z afterwards
    } cases[] = {
        {"used y left out", 1, false, 0, {1, 0, 1}},
        {"left-out y used", 0, false, 1, {1, 1, 1}},
        {"a flag of 2 counts as left out", 2, false, 1, {1, 1, 1}},
        {"R Dist: all three left out", 1, true, 0, {0, 0, 0}},
        {"R Dist: all three used", 0, true, 1, {1, 1, 1}},
    };
    for (const auto& c : cases) {
        JobState job = jobWithResiduals({0, 0, 0});
        job.UseFlags[3 + 2] = c.before;
        EXPECT_EQ(toggleUseFlag(job, 2, 2, c.rDist), c.expected) << c.what;
        EXPECT_EQ((std::vector<std::int16_t>{job.UseFlags[4], job.UseFlags[5], job.UseFlags[6]}), c.flags)
            << c.what;
        EXPECT_TRUE(job.JobDirty) << c.what;
        EXPECT_EQ(job.UseFlags[1], 1) << c.what;
        EXPECT_EQ(job.UseFlags[9], 1) << c.what;
    }
    JobState job = jobWithResiduals({0, 0});
    for (auto [point, component] : {std::pair{0, 1}, {3, 1}, {1, 0}, {1, 4}})
        EXPECT_EQ(toggleUseFlag(job, point, component, false), -1);
    EXPECT_FALSE(job.JobDirty);
    EXPECT_EQ(useComponentOfColumn(2), 1);
    EXPECT_EQ(useComponentOfColumn(7), 3);
    for (std::int32_t c : {0, 1, 8, 9}) EXPECT_EQ(useComponentOfColumn(c), 0);
}

// Each of the three seed names paints its point's name cell, the third as well as the first two.
TEST(PointTableSource, EveryOneOfTheThreeSeedPointsIsPaintedGreen) {
    JobState job = jobWithResiduals({0, 0, 0, 0, 0});
    job.SeedPointNames = {"", "P5", "P1", "P3"};
    job.SeedPointIndex = {0, 5, 1, 3};
    PointTableSource table(job);
    table.setDeviationShown(true);
    table.refresh();
    ASSERT_EQ(table.rowCount(), 5);
    const bool seed[] = {true, false, true, false, true};
    for (std::int32_t row = 0; row < 5; ++row)
        EXPECT_EQ(table.style(row, 1).background == kSeedBack, seed[row]) << table.text(row, 1);
    // A new job: the defaults of three points paint all three.
    JobState three = jobWithResiduals({0, 0, 0});
    ASSERT_TRUE(checkSeedPoints(three));
    PointTableSource fresh(three);
    fresh.setDeviationShown(true);
    fresh.refresh();
    for (std::int32_t row = 0; row < 3; ++row) EXPECT_EQ(fresh.style(row, 1).background, kSeedBack) << row;
}

TEST(PointTableEdits, ANameThatIsNoSeedBecomesTheFirstSeed) {
    JobState job = jobWithResiduals(std::vector<double>(8, 0.0));
    job.SeedPointNames = {"", "P1", "P2", "P3"};
    job.SeedPointIndex = {0, 1, 2, 3};
    EXPECT_TRUE(chooseSeedPoint(job, 7));
    EXPECT_EQ(job.SeedPointNames, (std::array<std::string, 4>{"", "P7", "P1", "P2"}));
    EXPECT_EQ(job.SeedPointIndex, (std::array<std::int32_t, 4>{0, 7, 1, 2}));
    EXPECT_TRUE(job.JobDirty);
    job.JobDirty = false;
    for (std::int32_t seed : {7, 1, 2}) EXPECT_FALSE(chooseSeedPoint(job, seed)) << seed;
    EXPECT_FALSE(chooseSeedPoint(job, 9));
    EXPECT_EQ(job.SeedPointNames, (std::array<std::string, 4>{"", "P7", "P1", "P2"}));
    EXPECT_FALSE(job.JobDirty);
}

TEST(PointTableEdits, SeedsAreFoundAgainByNameOrFallBackToTheDefaults) {
    using Names = std::array<std::string, 4>;
    using Indices = std::array<std::int32_t, 4>;
    struct Case {
        const char* what;
        std::int32_t points;
        Names names;
        Indices indices;
        Names expectedNames;
        Indices expectedIndices;
    } cases[] = {
        {"valid seeds stay", 5, {"", "P4", "P2", "P5"}, {0, 4, 2, 5}, {"", "P4", "P2", "P5"}, {0, 4, 2, 5}},
        {"no seeds: the first three", 5, {}, {}, {"", "P1", "P2", "P3"}, {0, 1, 2, 3}},
        {"two points: seed 3 left as it was",
         2,
         {"", "", "", "Q"},
         {0, 0, 0, 9},
         {"", "P1", "P2", "Q"},
         {0, 1, 2, 9}},
        {"exactly three points: the third seed too", 3, {}, {}, {"", "P1", "P2", "P3"}, {0, 1, 2, 3}},
        {"one point: only seed 1", 1, {}, {}, {"", "P1", "", ""}, {0, 1, 0, 0}},
        {"no points: nothing", 0, {}, {}, {}, {}},
        {"stale indices found by name",
         5,
         {"", "P5", "P4", "P3"},
         {0, 1, 2, 3},
         {"", "P5", "P4", "P3"},
         {0, 5, 4, 3}},
        {"index out of range found by name",
         5,
         {"", "P2", "P1", "P3"},
         {0, 40, 1, 3},
         {"", "P2", "P1", "P3"},
         {0, 2, 1, 3}},
        {"a seed the job no longer has: defaults",
         5,
         {"", "P4", "X9", "P5"},
         {0, 4, 2, 5},
         {"", "P1", "P2", "P3"},
         {0, 1, 2, 3}},
        {"a lost seed with two points: seed 3 cleared too",
         2,
         {"", "P1", "P2", "P3"},
         {0, 1, 2, 3},
         {"", "P1", "P2", ""},
         {0, 1, 2, 0}},
    };
    for (const auto& c : cases) {
        JobState job = jobWithResiduals(std::vector<double>(static_cast<std::size_t>(c.points), 0.0));
        job.SeedPointNames = c.names;
        job.SeedPointIndex = c.indices;
        const bool changed = checkSeedPoints(job);
        EXPECT_EQ(job.SeedPointNames, c.expectedNames) << c.what;
        EXPECT_EQ(job.SeedPointIndex, c.expectedIndices) << c.what;
        EXPECT_EQ(changed, c.names != c.expectedNames || c.indices != c.expectedIndices) << c.what;
        EXPECT_FALSE(job.JobDirty) << c.what;
    }
}

}  // namespace
}  // namespace kal
