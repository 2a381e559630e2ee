// The job file's bytes: the exact layout of a tiny job, byte-identical round trips of jobs with
// every kind of content, and the reader's checks at the door.
#include <gtest/gtest.h>

#include "jobfile/JobFileItems.h"
#include "jobfile/JobFileReader.h"
#include "jobfile/JobFileWriter.h"
#include "jobfile/ViewRecordCodec.h"
#include "support/ByteBuilder.h"
#include "support/SampleJobs.h"

namespace kal {
namespace {

using testing::ByteBuilder;

std::string write(const JobState& job) {
    JobFileWriteNotes notes;
    return writeJobFile(job, notes);
}

JobFileReadResult read(const std::string& bytes) {
    auto header = probeJobFileHeader(bytes);
    return readJobFile(bytes, header);
}

// Save, open into a fresh job, save again.
std::string resave(const std::string& bytes) {
    JobState reopened;
    adoptJobFileItems(reopened, std::move(read(bytes).job));
    return write(reopened);
}

JobState tinyJob() {
    JobState job;
    job.IdenticalCount = job.McsCount = job.OcsCount = 1;
    job.MCS_Name = {"", "A"};
    job.MCS_X = TaggedArray(1);
    job.MCS_X.set(1, 1.0);
    job.MCS_Y = TaggedArray(1);
    job.MCS_Y.set(1, 2.0);
    job.MCS_Z = {0.0, 3.0};
    job.OCS_Name = {"", "A"};
    job.OCS_X = TaggedArray(1);
    job.OCS_X.set(1, 1.5);
    job.OCS_Y = TaggedArray(1);
    job.OCS_Y.set(1, 2.5);
    job.OCS_Z = {0.0, 3.5};
    job.MCSt_Name = job.MCS_Name;
    job.MCSt_X = job.MCS_X;
    job.MCSt_Y = job.MCS_Y;
    job.MCSt_Z = job.MCS_Z;
    job.sizeDerivedArrays(1);
    for (int k = 1; k <= kParamCount; ++k) job.ParamState[static_cast<std::size_t>(k)] = "float";
    job.RichtungMCStoOCS = true;
    job.Params[kScaleXYZ] = 1.0;
    job.LengthUnitName = "millimeter";
    job.AngleUnitName = "degree";
    job.DigitLength = 3;
    job.DigitAngle = 4;
    job.NormMode = kNormL2;
    job.GraphicsFlags.ViewAllMCS = true;
    return job;
}

TEST(JobFileCodec, TinyJobHasTheExactBytesOfTheLayout) {
    ByteBuilder b;
    b.counted("2.0.63");
    for (auto [x, y, z] : {std::tuple{1.0, 2.0, 3.0}, std::tuple{1.5, 2.5, 3.5}, std::tuple{1.0, 2.0, 3.0}}) {
        b.i32(1).element("").element("A");
        b.i32(1).empty().variant(x);
        b.i32(1).empty().variant(y);
        b.i32(1).f64(0.0).f64(z);
    }
    b.i32(1).i32(1).i32(1);                // counts
    b.i32(3).i16(0).i16(1).i16(1).i16(1);  // use flags
    b.element("");                         // parameter state slot 0
    for (int k = 1; k <= 17; ++k) b.element("float");
    b.boolean(true).boolean(false);  // direction, AutoRecalc
    for (int k = 1; k <= 14; ++k) b.f64(k == 10 ? 1.0 : 0.0);
    b.counted("millimeter").counted("degree").i16(3).i16(4).i16(2);
    for (int k = 0; k < 4; ++k) b.element("");
    for (int k = 0; k < 4; ++k) b.i16(0);
    for (int k = 0; k < 4; ++k) b.counted("");
    b.boolean(true).boolean(false).boolean(false).boolean(false);  // view filters
    b.i16(0);                                                      // no paraboloid profile
    b.i16(0);                                                      // no saved views
    b.i16(0).i16(0);                                               // no robot angles
    b.counted("Kalvoreth offset vector").f64(0).f64(0).f64(0);

    EXPECT_EQ(write(tinyJob()), b.str());
}

TEST(JobFileCodec, FullJobSurvivesSaveOpenSaveByteForByte) {
    JobState job = testing::makeFullJob();
    std::string first = write(job);
    auto result = read(first);
    EXPECT_TRUE(result.offsetVectorRead);
    EXPECT_FALSE(result.savedViewsMissing);
    const JobState& r = result.job;
    EXPECT_EQ(r.MCS_Name, job.MCS_Name);
    EXPECT_EQ(r.MCS_X, job.MCS_X);
    EXPECT_EQ(r.OCS_Z, job.OCS_Z);
    EXPECT_EQ(r.MCSt_X, job.MCSt_X);
    EXPECT_EQ(r.UseFlags, job.UseFlags);
    EXPECT_EQ(r.ParamState, job.ParamState);
    EXPECT_EQ(r.Params, job.Params);  // R Dist and the offset vector included
    EXPECT_EQ(r.SeedPointIndex, job.SeedPointIndex);
    EXPECT_EQ(r.ShapeProfile, job.ShapeProfile);
    EXPECT_EQ(r.SavedViewNames, job.SavedViewNames);
    EXPECT_EQ(r.ViewCount, 2);
    for (int k = 0; k <= kMaxSavedViews; ++k) EXPECT_EQ(r.SavedViews[k], job.SavedViews[k]) << "slot " << k;
    EXPECT_EQ(r.OcsAngles, job.OcsAngles);
    EXPECT_EQ(r.RVec_X, job.RVec_X);
    EXPECT_EQ(r.RVec_Z, job.RVec_Z);
    EXPECT_EQ(r.GraphicsFlags.ViewAllOCS, true);
    EXPECT_EQ(r.GraphicsFlags.ViewAllonlyMCS, false);
    EXPECT_EQ(r.NameMCS, "Messung");
    EXPECT_EQ(r.LengthUnitName, "inch");
    EXPECT_TRUE(r.DataLoaded);
    EXPECT_EQ(resave(first), first);
}

TEST(JobFileCodec, RoundTripsAreByteIdenticalForEveryKindOfContent) {
    struct Case {
        const char* name;
        void (*change)(JobState&);
    };
    const Case cases[] = {
        {"points only", [](JobState&) {}},
        {"unmatched points", [](JobState& j) { j = testing::makePointJob(3, 4, 2); }},
        {"paraboloid profile",
         [](JobState& j) {
             j.ParaboloidMode = true;
             j.ShapeProfile.resize(3, 2);
             j.ShapeProfile(2, 1) = 7.5;
         }},
        {"robot angles",
         [](JobState& j) {
             j.QuatOcsMode = true;
             j.OcsAngles.resize(j.OcsCount, 3);
             j.OcsAngles(1, 3) = -1.0;
             j.RVec_X.set(2, 0.5);
         }},
        {"R Dist", [](JobState& j) { j.Params[kRDist] = 4.0625; }},
        {"offset vector", [](JobState& j) { j.Params[kRvecZ] = -9.5; }},
        {"one view, never-sized arrays",
         [](JobState& j) {
             j.SavedViewNames = {"v"};
             j.ViewCount = 1;
         }},
        {"views with flags and lines",
         [](JobState& j) {
             j.SavedViewNames = {"a", "b", "c"};
             j.ViewCount = 3;
             for (int k = 1; k <= 3; ++k) j.SavedViews[k] = testing::makeView(k, k);
         }},
        {"texts outside ASCII", [](JobState& j) { j.NameOCS = "Maße für Rüdiger €"; }},
    };
    for (const auto& c : cases) {
        JobState job = testing::makePointJob(4);
        c.change(job);
        std::string first = write(job);
        EXPECT_EQ(resave(first), first) << c.name;
    }
}

TEST(JobFileCodec, EmptyRecordAndFlagLayoutHaveTheirStatedSizes) {
    LittleEndianWriter w;
    JobFileWriteNotes notes;
    writeScreenProperties(w, ScreenProperties{}, notes);
    EXPECT_EQ(w.size(), 272u);
    LittleEndianWriter f;
    FahneRecord flag;
    flag.Name = "Arial";
    writeFahneRecord(f, flag, notes);
    EXPECT_EQ(f.size(), 75u);
}

TEST(JobFileCodec, UnusedItemsTwelveToFourteenTakeTwoTwoAndFourBytes) {
    JobState job = tinyJob();
    std::string bytes = write(job);
    // Tail: view filters (8), item 12 (2), item 13 (2), item 14 (4), then the offset vector.
    std::string tail = bytes.substr(bytes.size() - (4 + 23 + 24) - 8, 8);
    EXPECT_EQ(tail, std::string("\x00\x00\x00\x00\x00\x00\x00\x00", 8));
}

TEST(JobFileCodec, CharactersOutsideTheCodePageAreWrittenAsQuestionMarksAndReported) {
    JobState job = tinyJob();
    job.NameMCS = "Zürich → Köln";
    JobFileWriteNotes notes;
    auto result = read(writeJobFile(job, notes));
    EXPECT_TRUE(notes.textsLossy);
    EXPECT_EQ(result.job.NameMCS, "Zürich ? Köln");
}

TEST(JobFileCodec, SeedIndexBeyondSixteenBitsIsFoundAgainByName) {
    JobState job = testing::makePointJob(40000);
    job.SeedPointNames = {"", "P1", "P20000", "P39999"};
    job.SeedPointIndex = {0, 1, 20000, 39999};
    JobFileWriteNotes notes;
    auto result = read(writeJobFile(job, notes));
    EXPECT_TRUE(notes.seedIndexLeftOut);
    EXPECT_EQ(result.job.SeedPointIndex, job.SeedPointIndex);
}

TEST(JobFileCodec, LinesToRowsBeyondSixteenBitsAreLeftOutNotWrapped) {
    JobState job = testing::makePointJob(2);
    ScreenProperties view = testing::makeView(1, 3);
    view.Lines(2, 2) = 40000;  // segment 2 reaches row 40000
    job.SavedViewNames = {"v"};
    job.SavedViews[1] = view;
    JobFileWriteNotes notes;
    auto result = read(writeJobFile(job, notes));
    EXPECT_TRUE(notes.linesLeftOut);
    const auto& back = result.job.SavedViews[1];
    ASSERT_EQ(back.LineCount, 2);
    EXPECT_EQ(back.Lines(2, 1), 6);
    EXPECT_EQ(back.Lines(1, 2), 3);  // old segment 3 moved up, nothing wrapped
    EXPECT_EQ(back.Lines(2, 2), 8);
}

TEST(JobFileCodec, PointArraysAreWrittenSizedByTheCountsSoNoOldPointsLeak) {
    JobState job = testing::makePointJob(3);
    JobState bigger = testing::makePointJob(6);
    job.MCS_Name = bigger.MCS_Name;  // arrays left larger by an earlier job
    job.MCS_X = bigger.MCS_X;
    job.UseFlags.resize(40, 1);
    auto result = read(write(job));
    EXPECT_EQ(result.job.MCS_Name.size(), 4u);
    EXPECT_EQ(result.job.MCS_X.upper(), 3);
    EXPECT_EQ(result.job.UseFlags.size(), 10u);
}

TEST(JobFileCodec, AFileWithoutPointsIsNotMarkedLoaded) {
    JobState empty;
    EXPECT_FALSE(read(write(empty)).job.DataLoaded);
    EXPECT_TRUE(read(write(tinyJob())).job.DataLoaded);
}

}  // namespace
}  // namespace kal
