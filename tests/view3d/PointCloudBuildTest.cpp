#include <gtest/gtest.h>

#include <cmath>

#include "support/SampleJobs.h"
#include "view3d/PointCloudBuild.h"
#include "view3d/ViewTestScenes.h"

namespace kal {
namespace {

using testing::sceneJob;
using testing::topView;

TEST(PointCloudBuild, IdenticalMcsOnlyAndOcsOnlyPointsGiveRowsInOrder) {
    JobState job = testing::makePointJob(3, 2, 1);
    job.MCSt_X.set(2, 555.0);  // the transformed MCS, not the MCS as read
    ScreenProperties view = topView();
    PointCloud cloud;
    buildPointCloud(cloud, job, view);
    ASSERT_EQ(cloud.count(), 9);
    const char* names[] = {"", "P1", "P2", "P3", "P1", "P2", "P3", "M4", "M5", "O4"};
    for (std::int32_t row = 1; row <= 9; ++row) EXPECT_EQ(cloud.name(row), names[row]) << row;
    struct Source {
        const TaggedArray* x;
        std::int32_t index;
    };
    const Source sources[] = {{nullptr, 0},     {&job.MCSt_X, 1}, {&job.MCSt_X, 2}, {&job.MCSt_X, 3},
                              {&job.OCS_X, 1},  {&job.OCS_X, 2},  {&job.OCS_X, 3},  {&job.MCSt_X, 4},
                              {&job.MCSt_X, 5}, {&job.OCS_X, 4}};
    for (std::int32_t row = 1; row <= 9; ++row)
        EXPECT_EQ(cloud(row, cloud::X), static_cast<float>((*sources[row].x)[sources[row].index])) << row;
    EXPECT_EQ(cloud(2, cloud::X), 555.0f);
    EXPECT_EQ(cloud(9, cloud::Z), static_cast<float>(job.OCS_Z[4]));
    for (std::int32_t row = 1; row <= 9; ++row) EXPECT_EQ(cloud(row, cloud::Visible), 1.0f);
    EXPECT_EQ(view.FlagOfPoint.upper(), 9);
}

TEST(PointCloudBuild, IdenticalRowsCarryDeviationLengthAndStandInColouring) {
    JobState job =
        sceneJob({{"A", 1, 2, 3}, {"B", 0, 0, 0}}, {{"A", 0, 0, 0}, {"B", 0, 0, 0}}, {{"M", 5, 5, 5}});
    ScreenProperties view = topView();
    PointCloud cloud;
    buildPointCloud(cloud, job, view);
    ASSERT_EQ(cloud.count(), 5);
    EXPECT_EQ(cloud(1, cloud::DeviationX), 1.0f);
    EXPECT_EQ(cloud(1, cloud::DeviationY), 2.0f);
    EXPECT_EQ(cloud(1, cloud::DeviationZ), 3.0f);
    EXPECT_FLOAT_EQ(cloud(1, cloud::ColourBasis), std::sqrt(14.0f));
    EXPECT_EQ(cloud(1, cloud::VectorZ), 3.0f);  // stand-in: the vector is the deviation
    for (std::int32_t row = 3; row <= 5; ++row) {
        EXPECT_EQ(cloud(row, cloud::DeviationX), 0.0f) << row;
        EXPECT_EQ(cloud(row, cloud::ColourBasis), 0.0f) << row;
        EXPECT_EQ(cloud(row, cloud::VectorX), 0.0f) << row;
    }
    for (std::int32_t row = 1; row <= 5; ++row) {
        EXPECT_EQ(cloud(row, cloud::Colour), static_cast<float>(storedColour(0, 255, 0))) << row;
        EXPECT_EQ(cloud(row, cloud::ToleranceClass), 0.0f) << row;
    }
}

// A classification that puts every identical point in `klass`, and colours by class.
CloudColouring everyPointInClass(float klass, std::vector<std::string>* calls = nullptr) {
    CloudColouring c;
    c.classify = [klass, calls](PointCloud& cloud, ScreenProperties&, const JobState&) {
        if (calls) calls->push_back("classify");
        // Every row, so that a filter that wrongly read the other rows would show.
        for (std::int32_t i = 1; i <= cloud.count(); ++i) cloud(i, cloud::ToleranceClass) = klass;
    };
    c.colour = [calls](PointCloud& cloud, const ScreenProperties&, const JobState&) {
        if (calls) calls->push_back("colour");
        for (std::int32_t i = 1; i <= cloud.count(); ++i)
            cloud(i, cloud::Colour) = 100 + cloud(i, cloud::ToleranceClass);
    };
    return c;
}

struct FilterCase {
    const char* what;
    bool viewAllMcs, viewAllOcs, onlyIfTrafo, onlyIfNotTrafo, dontViewOot;
    float klass;
    // Shown marks of rows 1..4: MCS sides of A (used) and B (three flags 0), their OCS sides.
    float shown[4];
};

TEST(PointCloudBuild, ViewFiltersActOnMcsSidesOnly) {
    const FilterCase cases[] = {
        {"all MCS, all OCS", true, true, false, false, false, 1, {1, 1, 1, 1}},
        {"no MCS", false, true, false, false, false, 1, {0, 0, 1, 1}},
        {"used only", false, false, true, false, false, 1, {1, 0, 0, 0}},
        {"not used only", false, true, false, true, false, 1, {0, 1, 1, 1}},
        {"not used, whatever ViewAllMCS", true, false, false, true, false, 1, {1, 1, 0, 0}},
        {"out of tolerance hidden", true, true, true, true, true, 11, {0, 0, 1, 1}},
        {"below tolerance hidden", true, true, false, false, true, -11, {0, 0, 1, 1}},
        {"inside tolerance kept", true, true, false, false, true, 10, {1, 1, 1, 1}},
        {"OCS sides never hidden", false, true, false, false, true, 99, {0, 0, 1, 1}},
    };
    for (const FilterCase& c : cases) {
        JobState job = sceneJob({{"A", 1, 0, 0}, {"B", 2, 0, 0}}, {{"A", 1, 0, 0}, {"B", 2, 0, 0}});
        job.UseFlags[1] = 0, job.UseFlags[2] = 1, job.UseFlags[3] = 0;  // A: y used
        job.UseFlags[4] = job.UseFlags[5] = job.UseFlags[6] = 0;        // B: not used
        auto& f = job.GraphicsFlags;
        f.ViewAllMCS = c.viewAllMcs, f.ViewAllOCS = c.viewAllOcs;
        f.ViewOnlyIfTrafo = c.onlyIfTrafo, f.ViewOnlyIfNotTrafo = c.onlyIfNotTrafo,
        f.DontViewOOT = c.dontViewOot;
        ScreenProperties view = topView();
        PointCloud cloud;
        buildPointCloud(cloud, job, view, everyPointInClass(c.klass));
        for (std::int32_t row = 1; row <= 4; ++row)
            EXPECT_EQ(cloud(row, cloud::Shown), c.shown[row - 1]) << c.what << ", row " << row;
    }
}

TEST(PointCloudBuild, OnlyPointsFollowTheirOwnSwitchesAndNoFilterTouchesThem) {
    JobState job = sceneJob({}, {}, {{"M1", 1, 0, 0}}, {{"O1", 2, 0, 0}});
    auto& f = job.GraphicsFlags;
    f.ViewAllonlyMCS = false, f.ViewAllonlyOCS = true;
    f.ViewOnlyIfTrafo = f.ViewOnlyIfNotTrafo = f.DontViewOOT = true;
    ScreenProperties view = topView();
    PointCloud cloud;
    buildPointCloud(cloud, job, view, everyPointInClass(50));
    ASSERT_EQ(cloud.count(), 2);
    EXPECT_EQ(cloud(1, cloud::Shown), 0.0f);
    EXPECT_EQ(cloud(2, cloud::Shown), 1.0f);
    EXPECT_EQ(cloud(1, cloud::DeviationX), 0.0f);
}

TEST(PointCloudBuild, ClassesThenColoursThroughTheHooks) {
    JobState job = sceneJob({{"A", 1, 0, 0}}, {{"A", 0, 0, 0}});
    std::vector<std::string> calls;
    ScreenProperties view = topView();
    PointCloud cloud;
    buildPointCloud(cloud, job, view, everyPointInClass(3, &calls));
    EXPECT_EQ(calls, (std::vector<std::string>{"classify", "colour"}));
    EXPECT_EQ(cloud(1, cloud::Colour), 103.0f);
    EXPECT_EQ(cloud(2, cloud::Colour), 103.0f);
}

TEST(PointCloudBuild, RebuildKeepsFlagsOfRowsThatRemain) {
    JobState job = testing::makePointJob(3, 2, 1);
    ScreenProperties view = topView();
    view.FlagOfPoint.resize(20);
    view.FlagOfPoint.set(5, 2);
    view.FlagOfPoint.set(12, 1);
    PointCloud cloud;
    buildPointCloud(cloud, job, view);
    EXPECT_EQ(view.FlagOfPoint.upper(), 9);
    EXPECT_EQ(view.FlagOfPoint[5], 2);   // row 5 now holds another point, the flag stays
    EXPECT_EQ(view.FlagOfPoint[12], 0);  // gone with its row
    EXPECT_EQ(view.FlagOfPoint.flaggedRows().size(), 1u);
}

TEST(PointCloudBuild, CountsAheadOfTheArraysReadAsFarAsTheArraysGo) {
    JobState job = sceneJob({{"A", 1, 0, 0}}, {{"A", 0, 0, 0}}, {{"M", 3, 3, 3}});
    job.McsCount = 5;  // two MCS-only points more than the arrays hold
    job.UseFlags.resize(1);
    ScreenProperties view = topView();
    PointCloud cloud;
    buildPointCloud(cloud, job, view);
    ASSERT_EQ(cloud.count(), 6);
    EXPECT_EQ(cloud.name(3), "M");
    EXPECT_EQ(cloud.name(5), "");
    EXPECT_EQ(cloud(5, cloud::X), 0.0f);
}

TEST(PointCloudBuild, LargeJobsAreBuiltWhole) {
    JobState job = testing::makePointJob(20000, 100, 50);  // beyond the 16-bit count of old files
    ScreenProperties view = topView();
    PointCloud cloud;
    buildPointCloud(cloud, job, view);
    EXPECT_EQ(cloud.count(), 40150);
    EXPECT_EQ(cloud.name(40150), "O20050");
    EXPECT_EQ(cloud.name(20001), "P1");
}

}  // namespace
}  // namespace kal
