#include <gtest/gtest.h>

#include <filesystem>

#include "input/ClipboardPointFiles.h"
#include "input/MoreMcsImport.h"
#include "jobfile/JobFileWriter.h"
#include "platform/Regional.h"
#include "support/FakePlatform.h"
#include "support/TempDir.h"

namespace kal {
namespace {

using Names = std::vector<std::string>;

// A loaded job: pairs A, B; MCS-only C; OCS-only Z. Millimetres, not calculated.
struct ImportFixture {
    platform::ScopedDecimalSeparator point{'.'};
    testing::TempDir dir;
    testing::FakePrompter prompter;
    JobEvents hub;
    int replaced = 0;
    Subscription subscription;
    JobState job;

    ImportFixture() {
        job.LengthFactor = 1.0, job.AngleFactor = 1.0, job.LengthUnitName = "millimeter";
        job.MCS_Name = {"", "A", "B", "C"};
        job.MCS_X = TaggedArray(3), job.MCS_Y = TaggedArray(3);
        job.MCS_Z = {0, 3, 6, 9};
        job.OCS_Name = {"", "A", "B", "Z"};
        job.OCS_X = TaggedArray(3), job.OCS_Y = TaggedArray(3);
        job.OCS_Z = {0, 3, 6, 9};
        for (std::int32_t i = 1; i <= 3; ++i) {
            job.MCS_X.set(i, i), job.MCS_Y.set(i, 2 * i);
            job.OCS_X.set(i, i), job.OCS_Y.set(i, 2 * i);
        }
        job.McsCount = job.OcsCount = 3;
        job.IdenticalCount = 2;
        job.UseFlags.assign(7, 1);
        job.sizeDerivedArrays(1);
        job.MCSt_Name = job.MCS_Name;
        for (std::int32_t i = 1; i <= 3; ++i)
            job.MCSt_X.set(i, job.MCS_X[i]), job.MCSt_Y.set(i, job.MCS_Y[i]),
                job.MCSt_Z[static_cast<std::size_t>(i)] = job.MCS_Z[static_cast<std::size_t>(i)];
        job.Params[kScaleX] = job.Params[kScaleY] = job.Params[kScaleZ] = 1.0;
        job.DataLoaded = true;
        subscription = hub.subscribe(JobEvent::PointsReplaced, Subscriber::Other, [this] { ++replaced; });
    }

    bool run(const std::string& text, const std::string& affix, bool prefix) {
        return importMoreMcs(job, {dir.write("more.txt", text), affix, prefix}, prompter, &hub);
    }
    std::string savedBytes() const {
        JobFileWriteNotes notes;
        return writeJobFile(job, notes);
    }
};

TEST(MoreMcsImport, ThreeColumnsWithPrefixAreNamedByNumber) {
    ImportFixture f;
    ASSERT_TRUE(f.run("10 20 30\r\n40 50 60\r\n", "N", true)) << ::testing::PrintToString(f.prompter.texts());
    EXPECT_EQ(f.job.MCS_Name, (Names{"", "A", "B", "C", "N1", "N2"}));
    EXPECT_EQ(f.job.McsCount, 5);
    EXPECT_EQ(f.job.McsOnlyCount, 3);
    EXPECT_EQ(f.job.IdenticalCount, 2);
    EXPECT_EQ(f.job.OcsCount, 3);
    EXPECT_EQ(f.job.UseFlags.size(), 7u);
    EXPECT_EQ(f.job.MCS_X[5], 40.0);
    EXPECT_EQ(f.job.MCS_Z[5], 60.0);
    // Not calculated: the transformed set takes the MCS values as they are.
    EXPECT_EQ(f.job.MCSt_Name, f.job.MCS_Name);
    EXPECT_EQ(f.job.MCSt_X[4], 10.0);
    EXPECT_EQ(f.job.MCSt_Y[4], 20.0);
    EXPECT_EQ(f.job.MCSt_Z[4], 30.0);
    EXPECT_TRUE(f.job.JobDirty);
    EXPECT_EQ(f.replaced, 1);
    EXPECT_TRUE(f.job.invariantsHold());
}

TEST(MoreMcsImport, FourColumnsWithSuffixKeepTheirNames) {
    ImportFixture f;
    ASSERT_TRUE(f.run("Q1;1;2;3\nQ7;4;5;6\n", "_b", false));
    EXPECT_EQ(f.job.MCS_Name, (Names{"", "A", "B", "C", "Q1_b", "Q7_b"}));
}

TEST(MoreMcsImport, AfterAPureTranslationTheNewAndOldMcsOnlyPointsAreShifted) {
    ImportFixture f;
    f.job.TraX() = 10, f.job.TraY() = 20, f.job.TraZ() = 30;
    f.job.TrafoCalculated = true;
    f.job.MCSt_X.set(1, -1);  // a pair's transformed value is not touched
    ASSERT_TRUE(f.run("P1 1 2 3\n", "", true));
    EXPECT_EQ(f.job.MCSt_Name, (Names{"", "A", "B", "C", "P1"}));
    EXPECT_NEAR(f.job.MCSt_X[4], 11.0, 1e-12);
    EXPECT_NEAR(f.job.MCSt_Y[4], 22.0, 1e-12);
    EXPECT_NEAR(f.job.MCSt_Z[4], 33.0, 1e-12);
    EXPECT_NEAR(f.job.MCSt_X[3], 13.0, 1e-12);  // C (3, 6, 9), transformed again
    EXPECT_NEAR(f.job.MCSt_Z[3], 39.0, 1e-12);
    EXPECT_EQ(f.job.MCSt_X[1], -1.0);
}

TEST(MoreMcsImport, LengthsAreTakenInTheDisplayUnit) {
    ImportFixture f;
    f.job.LengthFactor = 0.1;  // centimetres
    ASSERT_TRUE(f.run("P1 1 2 3\n", "x", true));
    EXPECT_NEAR(f.job.MCS_X[4], 10.0, 1e-12);
}

struct RefusedImport {
    const char* label;
    const char* text;  // nullptr: the file box is empty
    const char* affix;
    const char* message;  // the last box's text begins with it
};

class MoreMcsRefusal : public ::testing::TestWithParam<RefusedImport> {};

TEST_P(MoreMcsRefusal, LeavesTheJobAsItWas) {
    const RefusedImport& c = GetParam();
    ImportFixture f;
    const std::string before = f.savedBytes();
    const JobState copy = f.job;
    const bool imported =
        c.text ? f.run(c.text, c.affix, true) : importMoreMcs(f.job, {"", c.affix, true}, f.prompter, &f.hub);
    EXPECT_FALSE(imported);
    ASSERT_FALSE(f.prompter.shown().empty());
    EXPECT_EQ(f.prompter.shown().back().text.rfind(c.message, 0), 0u) << f.prompter.shown().back().text;
    EXPECT_EQ(f.savedBytes(), before);
    EXPECT_EQ(f.job.MCSt_Name, copy.MCSt_Name);
    EXPECT_FALSE(f.job.JobDirty);
    EXPECT_EQ(f.replaced, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Refusals, MoreMcsRefusal,
    ::testing::Values(RefusedImport{"EmptyBox", nullptr, "", kSelectMoreMcsFile},
                      RefusedImport{"NonNumberInLastLine", "P1 1 2 3\nP2 4 y 6\n", "N", "File: "},
                      RefusedImport{"NonNumberInFirstLine", "P1 x 2 3\nP2 4 5 6\n", "N", "File: "},
                      RefusedImport{"ShortLine", "P1;1;2;3\nP2;4;5\n", "N", "File: "},
                      RefusedImport{"NameAlreadyInTheMcs", "C 1 2 3\n", "", "The Point Number C"}),
    [](const ::testing::TestParamInfo<RefusedImport>& info) { return std::string(info.param.label); });

TEST(MoreMcsImport, ANameClashWithAnAffixIsImportedWithAWarning) {
    ImportFixture f;
    ASSERT_TRUE(f.run("C 1 2 3\n", "C", false));  // "CC" is new; so is nothing else
    EXPECT_TRUE(f.prompter.shown().empty());
    ASSERT_TRUE(f.run("1 1 2 3\n", "C", true));  // "C1": new again
    ASSERT_TRUE(f.run("1 9 9 9\n", "C", true));  // "C1" once more: warned, imported
    EXPECT_EQ(f.prompter.texts().size(), 1u);
    EXPECT_EQ(f.job.McsCount, 6);
}

TEST(ClipboardPointFiles, WriteTheTextWithCrLfIntoTheDataFolder) {
    testing::TempDir dir;
    testing::FakeClipboard clipboard;
    const std::string folder = dir.file("data/Kalvoreth");
    clipboard.setText("P1\t1\t2\t3\r\nP2\t4\t5\t6");
    const auto path = writeClipboardPointFile(clipboard, folder, ClipboardPointFile::Mcs);
    EXPECT_EQ(path, folder + "/mcs.txt");
    EXPECT_EQ(testing::TempDir::read(path), "P1\t1\t2\t3\r\nP2\t4\t5\t6\r\n");

    clipboard.setText("");
    EXPECT_EQ(writeClipboardPointFile(clipboard, folder, ClipboardPointFile::MoreMcs),
              folder + "/MoreMcs.txt");
    EXPECT_EQ(testing::TempDir::read(folder + "/MoreMcs.txt"), "\r\n");
    EXPECT_EQ(writeClipboardPointFile(clipboard, folder, ClipboardPointFile::Ocs), folder + "/ocs.txt");
}

}  // namespace
}  // namespace kal
