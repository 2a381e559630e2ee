// Files of older program versions, written here byte by byte in their own layouts, and damaged
// files: every prefix of a valid file and random byte flips.
#include <gtest/gtest.h>

#include <optional>
#include <random>

#include "jobfile/JobFileItems.h"
#include "jobfile/JobFileReader.h"
#include "jobfile/JobFileWriter.h"
#include "shared/Errors.h"
#include "support/ByteBuilder.h"
#include "support/SampleJobs.h"

namespace kal {
namespace {

using testing::ByteBuilder;

struct Layout {
    std::optional<std::string> header;         // current layout: the version header
    int paramTexts = 18;                       // 14, 15 or 18
    bool rdist = true;                         // item 7 ends with R Dist
    std::optional<std::string> versionRecord;  // older layout: the version record's text (none: count 0)
    bool viewFilters = true, paraboloidAndViews = true, robot = true;
};

// A job of two identical points as the program of that layout wrote it.
std::string layoutBytes(const Layout& l) {
    ByteBuilder b;
    if (l.header) b.counted(*l.header);
    for (int set = 0; set < 3; ++set) {
        b.i32(2).element("").element("A").element("B");
        b.i32(2).empty().variant(1.0).variant(4.0);
        b.i32(2).empty().variant(2.0).variant(5.0);
        b.i32(2).f64(0).f64(3.0 + set).f64(6.0);
    }
    b.i32(2).i32(2).i32(2);
    b.i32(6).i16(0);
    for (int k = 1; k <= 6; ++k) b.i16(1);
    for (int k = 0; k < l.paramTexts; ++k) b.element(k == 0 ? "zero" : "float");
    b.boolean(true).boolean(true);  // direction, AutoRecalc (stored true, never applied)
    for (int k = 1; k <= (l.rdist ? 14 : 13); ++k) b.f64(0.5 * k);
    b.counted("meter").counted("rad").i16(2).i16(6).i16(1);
    b.element("").element("A").element("B").element("");
    b.i16(0).i16(1).i16(2).i16(0);
    b.counted("m").counted("o").counted("m.txt").counted("o.txt");
    if (!l.header) {
        if (l.versionRecord)
            b.counted(*l.versionRecord);
        else
            b.i32(0);
    }
    if (l.viewFilters) b.boolean(false).boolean(true).boolean(false).boolean(true);
    if (l.paraboloidAndViews) b.i16(0).i16(0);
    if (l.robot) b.i16(0).i16(0);
    return b.str();
}

// The header the user's answer gives: a file without one is read as the older layout on Yes.
JobFileReadResult readAsUserWould(const std::string& bytes) {
    auto header = probeJobFileHeader(bytes);
    return readJobFile(bytes, header);
}

void expectTwoPoints(const JobState& j) {
    EXPECT_EQ(j.IdenticalCount, 2);
    EXPECT_EQ(j.MCS_Name[2], "B");
    EXPECT_FALSE(j.MCS_X.isAssigned(0));
    EXPECT_EQ(j.MCSt_Z[1], 5.0);
    EXPECT_EQ(j.LengthUnitName, "meter");
    EXPECT_EQ(j.DigitAngle, 6);
    EXPECT_EQ(j.NormMode, 1);
    EXPECT_EQ(j.SeedPointIndex[2], 2);
    EXPECT_EQ(j.OCS_FileName, "o.txt");
    EXPECT_FALSE(j.AutoRecalc);
    EXPECT_EQ(j.RotXSeed, 2.0);
    EXPECT_TRUE(j.DataLoaded);
}

TEST(JobFileLayouts, OlderLayoutWithoutVersionIsReadFromTheFirstByte) {
    std::string bytes = layoutBytes({.header = std::nullopt,
                                     .paramTexts = 14,
                                     .rdist = false,
                                     .versionRecord = std::nullopt,
                                     .viewFilters = false,
                                     .paraboloidAndViews = false,
                                     .robot = false});
    auto header = probeJobFileHeader(bytes);
    ASSERT_EQ(header.kind, JobFileHeader::Kind::NotAJob);  // "\0\0" after the bound 2 is no version
    EXPECT_EQ(header.version.text, "1.2.40");
    auto r = readJobFile(bytes, header);
    expectTwoPoints(r.job);
    EXPECT_EQ(r.job.ParamState[0], "");
    EXPECT_EQ(r.job.ParamState[13], "float");
    for (int k = 14; k <= 17; ++k) EXPECT_EQ(r.job.ParamState[k], "not used") << k;
    EXPECT_EQ(r.job.Params[kZtoXY], 6.5);
    EXPECT_EQ(r.job.Params[kRDist], 0.0);
    EXPECT_TRUE(r.job.GraphicsFlags.ViewAllMCS && r.job.GraphicsFlags.ViewAllOCS &&
                r.job.GraphicsFlags.ViewAllonlyMCS && r.job.GraphicsFlags.ViewAllonlyOCS);
    EXPECT_TRUE(r.savedViewsMissing);
}

TEST(JobFileLayouts, OlderLayoutWithVersionRecordTakesItsGatesFromTheRecord) {
    std::string bytes = layoutBytes({.header = std::nullopt,
                                     .paramTexts = 14,
                                     .rdist = false,
                                     .versionRecord = "1.3.50",
                                     .viewFilters = true,
                                     .paraboloidAndViews = false,
                                     .robot = false});
    auto r = readAsUserWould(bytes);
    expectTwoPoints(r.job);
    EXPECT_FALSE(r.job.GraphicsFlags.ViewAllMCS);  // item 11 read
    EXPECT_TRUE(r.job.GraphicsFlags.ViewAllOCS);
    EXPECT_TRUE(r.savedViewsMissing);
    EXPECT_EQ(r.version.text, "1.2.40");  // the header's version is the one reported
}

TEST(JobFileLayouts, CurrentLayoutsOfEachVersionGate) {
    struct Case {
        const char* version;
        int texts;
        bool views, robot;
    };
    for (auto c :
         {Case{"1.3.70", 18, false, false}, Case{"2.0.40", 15, true, false}, Case{"2.0.50", 15, true, true},
          Case{"2.0.57", 15, true, true}, Case{"2.0.58", 18, true, true}, Case{"3.0.0", 18, true, true},
          // the gate boundaries, and a version older than 1.3.68 that still exceeds it in one part
          Case{"1.3.71", 18, false, false}, Case{"1.3.72", 18, true, false}, Case{"2.0.46", 15, true, false},
          Case{"2.0.47", 15, true, true}, Case{"1.2.70", 18, false, false}}) {
        std::string bytes = layoutBytes({.header = c.version,
                                         .paramTexts = c.texts,
                                         .rdist = true,
                                         .versionRecord = std::nullopt,
                                         .viewFilters = true,
                                         .paraboloidAndViews = c.views,
                                         .robot = c.robot});
        auto header = probeJobFileHeader(bytes);
        ASSERT_EQ(header.kind, JobFileHeader::Kind::Current) << c.version;
        auto r = readJobFile(bytes, header);
        SCOPED_TRACE(c.version);
        expectTwoPoints(r.job);
        EXPECT_EQ(r.job.Params[kRDist], 7.0);
        EXPECT_EQ(r.savedViewsMissing, !c.views);
        EXPECT_FALSE(r.offsetVectorRead);
        EXPECT_EQ(r.job.ParamState[0], c.texts == 18 ? "zero" : "");
        EXPECT_EQ(r.job.ParamState[14], "float");
        EXPECT_EQ(r.job.ParamState[15], c.texts == 18 ? "float" : "not used");
    }
}

TEST(JobFileLayouts, AHeaderOfEightCharactersOrNotThreeNumbersIsNoHeader) {
    for (std::string text : {"12.0.630", "2.0", "a.b.c", "1..3", "2.0.6x"}) {
        ByteBuilder b;
        b.counted(text).bytes(std::string(64, '\0'));
        EXPECT_EQ(probeJobFileHeader(b.str()).kind, JobFileHeader::Kind::NotAJob) << text;
    }
    for (std::int32_t first : {0, -1, 8, 1000}) {
        ByteBuilder b;
        b.i32(first).bytes(std::string(64, '1'));
        EXPECT_EQ(probeJobFileHeader(b.str()).kind, JobFileHeader::Kind::NotAJob) << first;
    }
    EXPECT_EQ(probeJobFileHeader("").kind, JobFileHeader::Kind::NotAJob);
}

TEST(JobFileLayouts, HeaderGateComparesEachPartOnItsOwn) {
    struct Case {
        const char* version;
        JobFileHeader::Kind kind;
    };
    for (auto c : {Case{"1.3.68", JobFileHeader::Kind::Older}, Case{"1.3.5", JobFileHeader::Kind::Older},
                   Case{"0.0.0", JobFileHeader::Kind::Older}, Case{"1.3.69", JobFileHeader::Kind::Current},
                   Case{"1.2.69", JobFileHeader::Kind::Current}, Case{"1.4.0", JobFileHeader::Kind::Current},
                   Case{"2.0.0", JobFileHeader::Kind::Current}}) {
        ByteBuilder b;
        b.counted(c.version).bytes(std::string(64, '\0'));
        auto header = probeJobFileHeader(b.str());
        EXPECT_EQ(header.kind, c.kind) << c.version;
        EXPECT_EQ(header.version.text, c.version);
    }
}

TEST(JobFileLayouts, ItemsALayoutLacksTakeTheValuesOfAJobThatDoesNotUseThem) {
    std::string bytes = layoutBytes({.header = "1.3.70",
                                     .paramTexts = 18,
                                     .rdist = true,
                                     .versionRecord = std::nullopt,
                                     .viewFilters = true,
                                     .paraboloidAndViews = false,
                                     .robot = false});
    JobState job = testing::makeFullJob();  // the previous job used all of them
    adoptJobFileItems(job, std::move(readAsUserWould(bytes).job));
    EXPECT_FALSE(job.ParaboloidMode);
    EXPECT_EQ(job.ShapeProfile, Matrix());
    EXPECT_EQ(job.ViewCount, 0);
    EXPECT_TRUE(job.SavedViewNames.empty());
    EXPECT_EQ(job.SavedViews[1], ScreenProperties());
    EXPECT_FALSE(job.KukaOcsMode);
    EXPECT_EQ(job.OcsAngles, Matrix());
    EXPECT_EQ(job.RVec_X.upper(), 2);
    EXPECT_FALSE(job.RVec_X.isAssigned(1));
    EXPECT_EQ(job.Params[kRvecX], 0.0);
    EXPECT_TRUE(job.invariantsHold());
}

TEST(JobFileLayouts, BrokenInvariantsAreDamage) {
    Layout current;  // every other item as the default layout has it
    current.header = "2.0.63";
    const std::string good = layoutBytes(current);
    ASSERT_NO_THROW(readAsUserWould(good));
    auto patched = [&](std::size_t at, std::string_view with) {
        std::string b = good;
        b.replace(at, with.size(), with);
        return b;
    };
    // Offsets in the two-point layout: header 10; MCS names start at 10.
    const std::size_t countsAt = 10 + 3 * (4 + 2 + 3 + 3 + 4 + 2 + 10 + 10 + 4 + 2 + 10 + 10 + 4 + 24);
    struct Case {
        const char* what;
        std::string bytes;
    };
    const Case cases[] = {
        {"identical count above the MCS count", patched(countsAt, ByteBuilder().i32(3).str())},
        {"negative identical count", patched(countsAt, ByteBuilder().i32(-1).str())},
        {"MCS count beyond the stored points", patched(countsAt + 4, ByteBuilder().i32(3).str())},
        {"one set's arrays of different bounds", patched(10 + 13, ByteBuilder().i32(1).str())},
        {"variant of another type", patched(10 + 13 + 4, ByteBuilder().i16(8).str())},
        {"huge array bound", patched(10, ByteBuilder().i32(0x7FFFFFFF).str())},
        {"short use flags", patched(countsAt + 12, ByteBuilder().i32(5).str())},
        {"not a number",
         patched(10 + 13 + 4 + 2 + 2, ByteBuilder().f64(std::numeric_limits<double>::quiet_NaN()).str())},
    };
    for (const auto& c : cases) EXPECT_THROW(readAsUserWould(c.bytes), FormatError) << c.what;
}

TEST(JobFileLayouts, SavedViewCountMustMatchItsNamesAndStayWithinFifty) {
    JobState job = testing::makePointJob(2);
    job.SavedViewNames = {"a", "b"};
    job.ViewCount = 2;
    JobFileWriteNotes notes;
    std::string good = writeJobFile(job, notes);
    // Item 13 begins right after the paraboloid switch; find the count by its names.
    auto at = good.find(ByteBuilder().i16(2).i32(1).element("a").str());
    ASSERT_NE(at, std::string::npos);
    for (std::int16_t count : {1, 3, 51, -1}) {
        std::string bad = good;
        bad.replace(at, 2, ByteBuilder().i16(count).str());
        EXPECT_THROW(readAsUserWould(bad), FormatError) << count;
    }
}

// The end of item 14: a file cut exactly there is a complete job in the 14-item layout (a job file
// written before the offset vector was stored).
std::size_t endOfItem14(const std::string& bytes) { return bytes.size() - (4 + 23) - 24; }

TEST(JobFileLayouts, EveryPrefixOfAValidFileIsDamagedExceptTheComplete14ItemLayout) {
    const std::string full = [] {
        JobFileWriteNotes notes;
        return writeJobFile(testing::makeFullJob(), notes);
    }();
    for (std::size_t n = 0; n < full.size(); ++n) {
        std::string prefix = full.substr(0, n);
        if (n == endOfItem14(full)) {
            auto r = readAsUserWould(prefix);
            EXPECT_FALSE(r.offsetVectorRead);
            EXPECT_EQ(r.job.Params[kRvecX], 0.0);
            continue;
        }
        EXPECT_THROW(readAsUserWould(prefix), FormatError) << "prefix of " << n << " bytes";
    }
}

TEST(JobFileLayouts, RandomByteFlipsGiveDamageOrAJobWhoseInvariantsHold) {
    const std::string full = [] {
        JobFileWriteNotes notes;
        return writeJobFile(testing::makeFullJob(), notes);
    }();
    std::mt19937 rng(20240611);
    int damaged = 0, loaded = 0;
    for (int trial = 0; trial < 4000; ++trial) {
        std::string bytes = full;
        int flips = 1 + static_cast<int>(rng() % 4);
        for (int f = 0; f < flips; ++f) bytes[rng() % bytes.size()] ^= static_cast<char>(1 + rng() % 255);
        try {
            auto r = readAsUserWould(bytes);
            ++loaded;
            JobState job;
            adoptJobFileItems(job, std::move(r.job));
            EXPECT_TRUE(job.invariantsHold()) << "trial " << trial;
            EXPECT_LE(job.ViewCount, kMaxSavedViews);
            EXPECT_EQ(static_cast<std::size_t>(job.ViewCount), job.SavedViewNames.size());
            EXPECT_GE(job.MCSt_X.upper(), job.McsCount);
        } catch (const FormatError&) {
            ++damaged;
        }
    }
    EXPECT_GT(damaged, 0);
    EXPECT_GT(loaded, 0);
}

}  // namespace
}  // namespace kal
