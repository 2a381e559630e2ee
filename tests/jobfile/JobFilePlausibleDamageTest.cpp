// Damaged job files in which every field on its own looks plausible (a count that could be right,
// a table of a size that could be right): the reader must say which invariant is broken, or load
// a state that holds together, never carry the damage into the job.
#include <gtest/gtest.h>

#include <array>

#include "jobfile/JobFileItems.h"
#include "jobfile/JobFileReader.h"
#include "jobfile/JobFileWriter.h"
#include "jobfile/LittleEndianWriter.h"
#include "jobfile/ViewRecordCodec.h"
#include "shared/Errors.h"
#include "support/ByteBuilder.h"
#include "support/SampleJobs.h"

namespace kal {
namespace {

using testing::ByteBuilder;

std::string write(const JobState& job) {
    JobFileWriteNotes notes;
    return writeJobFile(job, notes);
}

JobFileReadResult read(const std::string& bytes) { return readJobFile(bytes, probeJobFileHeader(bytes)); }

// The message of the FormatError the bytes give; "" when they load.
std::string damageOf(const std::string& bytes) {
    try {
        read(bytes);
    } catch (const FormatError& e) {
        return e.what();
    }
    return "";
}

// `bytes` with the first occurrence of `from` (which must occur) replaced by `to`.
std::string replaced(const std::string& bytes, const std::string& from, const std::string& to) {
    const auto at = bytes.find(from);
    EXPECT_NE(at, std::string::npos);
    if (at == std::string::npos) return bytes;
    std::string out = bytes;
    out.replace(at, from.size(), to);
    return out;
}

// Two matched points: counts 2 2 2, use flags 0..6.
std::string countsAndFlags(std::int32_t identical, std::int32_t mcs, std::int32_t ocs, std::int32_t flagUpper,
                           int flagsStored) {
    ByteBuilder b;
    b.i32(identical).i32(mcs).i32(ocs).i32(flagUpper);
    for (int k = 0; k < flagsStored; ++k) b.i16(k == 0 ? 0 : 1);
    return b.str();
}

TEST(JobFilePlausibleDamage, EachBrokenInvariantIsNamedInTheMessage) {
    const JobState job = testing::makePointJob(2);
    const std::string good = write(job);
    ASSERT_EQ(damageOf(good), "");
    const std::string goodCounts = countsAndFlags(2, 2, 2, 6, 7);

    // A view whose line count says 3 while its table holds 2 segments.
    JobState withView = testing::makePointJob(2);
    withView.SavedViewNames = {"v"};
    withView.ViewCount = 1;
    withView.SavedViews[1] = testing::makeView(1, 2);
    ASSERT_EQ(withView.SavedViews[1].LineCount, 2);
    const std::string viewFile = write(withView);
    LittleEndianWriter record;
    JobFileWriteNotes notes;
    writeScreenProperties(record, withView.SavedViews[1], notes);
    const std::string viewBytes = record.take();
    std::string tooManyLines = viewBytes;
    tooManyLines.replace(tooManyLines.size() - 4, 4, ByteBuilder().i32(3).str());

    // Pairs claimed, but the OCS set is empty.
    JobState onlyMcs = testing::makePointJob(2);
    onlyMcs.OcsCount = 0;

    struct Case {
        const char* what;
        std::string bytes;
        const char* message;
    };
    const Case cases[] = {
        // Four use flags, consistent in themselves, for two points that need seven.
        {"use flags shorter than the points", replaced(good, goodCounts, countsAndFlags(2, 2, 2, 3, 4)),
         "the use flags (3) do not cover the 2 identical points"},
        {"no use flags at all for two points", replaced(good, goodCounts, countsAndFlags(2, 2, 2, 0, 1)),
         "the use flags (0) do not cover the 2 identical points"},
        {"an MCS count larger than its table", replaced(good, goodCounts, countsAndFlags(2, 3, 2, 6, 7)),
         "the MCS point count 3 exceeds the points stored"},
        {"an OCS count larger than its table", replaced(good, goodCounts, countsAndFlags(2, 2, 3, 6, 7)),
         "the OCS point count 3 exceeds the points stored"},
        {"more pairs than points", replaced(good, goodCounts, countsAndFlags(3, 2, 2, 9, 10)),
         "there are more identical points (3) than MCS (2) or OCS points (2)"},
        {"a line count larger than its table", replaced(viewFile, viewBytes, tooManyLines),
         "the line count 3 of a saved view does not match its line table"},
        {"pairs without OCS points", write(onlyMcs),
         "there are more identical points (2) than MCS (2) or OCS points (0)"},
    };
    for (const auto& c : cases) {
        const std::string message = damageOf(c.bytes);
        EXPECT_NE(message.find(c.message), std::string::npos) << c.what << ": \"" << message << "\"";
    }
}

// A seed index the file holds but that points beyond the matched points is found again by the
// seed's name; without a name it is cleared, never kept pointing at no pair.
TEST(JobFilePlausibleDamage, SeedIndicesBeyondTheMatchedPointsAreFoundByNameOrCleared) {
    JobState job = testing::makePointJob(3, 2, 1);
    job.SeedPointNames = {"", "P1", "P3", ""};
    job.SeedPointIndex = {0, 1, 3, 0};
    const std::string good = write(job);
    const std::string seeds = ByteBuilder().i16(0).i16(1).i16(3).i16(0).str();
    ASSERT_NE(good.find(ByteBuilder().element("P3").element("").str() + seeds), std::string::npos);

    struct Case {
        std::int16_t index1, index2, index3;
        std::array<std::int32_t, 4> loaded;
    };
    const Case cases[] = {
        {1, 3, 0, {0, 1, 3, 0}},      // as written
        {4, 3, 0, {0, 1, 3, 0}},      // 4 is an MCS-only point, not a pair: found by "P1"
        {1, 32767, 0, {0, 1, 3, 0}},  // the largest field value: found by "P3"
        {1, -2, 0, {0, 1, 3, 0}},     // negative
        {1, 3, 5, {0, 1, 3, 0}},      // beyond the pairs and no name: cleared
        {1, 3, 2, {0, 1, 3, 2}},      // a valid pair without a name stays
    };
    for (const auto& c : cases) {
        const std::string bytes =
            replaced(good, seeds, ByteBuilder().i16(0).i16(c.index1).i16(c.index2).i16(c.index3).str());
        JobState loaded;
        adoptJobFileItems(loaded, std::move(read(bytes).job));
        EXPECT_EQ(loaded.SeedPointIndex, c.loaded) << c.index1 << " " << c.index2 << " " << c.index3;
        EXPECT_TRUE(loaded.invariantsHold());
    }
}

// The 16-bit seed field holds 32767 exactly; 32768 is written as 0 and found again by name.
TEST(JobFilePlausibleDamage, ASeedIndexOf32767IsStoredAsItIsAndOneMoreByName) {
    JobState job = testing::makePointJob(32768);
    job.SeedPointNames = {"", "P1", "", "P32768"};  // no name for 32767: only the field can hold it
    job.SeedPointIndex = {0, 1, 32767, 32768};
    JobFileWriteNotes notes;
    const std::string bytes = writeJobFile(job, notes);
    EXPECT_TRUE(notes.seedIndexLeftOut);
    EXPECT_NE(bytes.find(ByteBuilder().i16(0).i16(1).i16(32767).i16(0).str()), std::string::npos);
    EXPECT_EQ(read(bytes).job.SeedPointIndex, job.SeedPointIndex);

    job.SeedPointIndex = {0, 1, 32767, 2};
    JobFileWriteNotes within;
    writeJobFile(job, within);
    EXPECT_FALSE(within.seedIndexLeftOut);
}

// A job of one point set only is a sound job: its points load, and nothing is paired.
TEST(JobFilePlausibleDamage, AJobOfOnlyOnePointSetLoadsThatSet) {
    struct Case {
        const char* what;
        std::int32_t mcs, ocs;
    };
    for (const auto& c : {Case{"MCS only", 3, 0}, Case{"OCS only", 0, 4}}) {
        SCOPED_TRACE(c.what);
        const JobState job = testing::makePointJob(0, c.mcs, c.ocs);
        JobState loaded = testing::makeFullJob();  // the previous job had pairs and views
        adoptJobFileItems(loaded, std::move(read(write(job)).job));
        EXPECT_EQ(loaded.IdenticalCount, 0);
        EXPECT_EQ(loaded.McsCount, c.mcs);
        EXPECT_EQ(loaded.OcsCount, c.ocs);
        EXPECT_EQ(loaded.McsOnlyCount, c.mcs);
        EXPECT_EQ(loaded.OcsOnlyCount, c.ocs);
        EXPECT_TRUE(loaded.DataLoaded);
        EXPECT_TRUE(loaded.invariantsHold());
        ASSERT_EQ(loaded.MCS_Name.size(), static_cast<std::size_t>(c.mcs) + 1);
        ASSERT_EQ(loaded.OCS_Name.size(), static_cast<std::size_t>(c.ocs) + 1);
        EXPECT_EQ(loaded.MCS_Name.back(), c.mcs > 0 ? "M3" : "");
        EXPECT_EQ(loaded.OCS_Name.back(), c.ocs > 0 ? "O4" : "");
        ASSERT_GE(loaded.UseFlags.size(), 1u);
        EXPECT_EQ(loaded.UseFlags.size(), 1u);
    }
}

}  // namespace
}  // namespace kal
