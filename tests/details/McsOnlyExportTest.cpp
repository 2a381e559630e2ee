#include <gtest/gtest.h>

#include "details/ExportTestSupport.h"
#include "details/McsOnlyExport.h"
#include "input/AsciiPointReader.h"
#include "platform/Regional.h"
#include "support/FakePlatform.h"
#include "support/KnownTransformJob.h"
#include "support/TempDir.h"

namespace kal {
namespace {

// Two identical points and `only` MCS-only points after them.
JobState jobWithMcsOnly(std::int32_t only) {
    JobState job;
    testing::setMillimetreDegree(job);
    testing::sizeIdentical(job, 2);
    job.McsCount = 2 + only;
    job.sizeDerivedArrays(1);
    const double values[][3] = {{1.5, -2.25, 1000.0}, {-0.0004, 3.14159, -7.0}, {12345.6785, 0.0, -0.5}};
    for (std::int32_t i = 3; i <= job.McsCount; ++i) {
        const auto& v = values[(i - 3) % 3];
        job.MCSt_Name[static_cast<std::size_t>(i)] = i == 3 ? "1001" : "P" + std::to_string(i);
        job.MCSt_X.set(i, v[0]);
        job.MCSt_Y.set(i, v[1]);
        job.MCSt_Z[static_cast<std::size_t>(i)] = v[2];
    }
    return job;
}

TEST(McsOnlyExport, TargetNameCutsAFourCharacterExtension) {
    const std::pair<const char*, const char*> cases[] = {
        {"D:\\cell\\job1.dat", "D:\\cell\\job1.txt"},
        {"/home/u/job1.tfo", "/home/u/job1.txt"},
        {"/home/u/job", "/home/u/job.txt"},
        {"/home/u.d/jobfile", "/home/u.d/jobfile.txt"},
        {"..\\default.tfo", ""},
        {"", ""},
    };
    for (const auto& [job, target] : cases) EXPECT_EQ(mcsOnlyFileName(job), target) << job;
}

TEST(McsOnlyExport, LinesInTheLengthPatternWithoutMinusZero) {
    JobState job = jobWithMcsOnly(3);
    EXPECT_EQ(mcsOnlyFileBytes(job),
              "1001\t1.500\t-2.250\t1000.000\r\n"
              "P4\t0.000\t3.142\t-7.000\r\n"
              "P5\t12345.679\t0.000\t-0.500\r\n");
    job.DigitLength = 0;
    applyUnitSettings(job);
    EXPECT_EQ(mcsOnlyFileBytes(job).substr(0, 16), "1001\t2\t-2\t1000\r\n");
    EXPECT_EQ(mcsOnlyFileBytes(jobWithMcsOnly(0)), "");
}

TEST(McsOnlyExport, TheProgramsOwnReaderTakesTheFileBack) {
    for (const char separator : {'.', ','}) {
        platform::ScopedDecimalSeparator regional(separator);
        JobState job = jobWithMcsOnly(3);
        job.DigitLength = 6;
        applyUnitSettings(job);
        testing::TempDir dir;
        job.CurrentJobFile = dir.file("job1.tfo");
        ASSERT_EQ(exportMcsOnlyPoints(job, ExportServices{}), ExportOutcome::Written);
        const std::string path = dir.file("job1.txt");
        ReadOptions options;
        options.decimalSeparator = separator;
        const AsciiPointFile file = parseAsciiPointFile(testing::TempDir::read(path), path, options);
        ASSERT_EQ(file.points.count(), 3) << separator;
        for (std::int32_t k = 1; k <= 3; ++k) {
            EXPECT_EQ(file.points.names[static_cast<std::size_t>(k)],
                      job.MCSt_Name[static_cast<std::size_t>(k + 2)]);
            EXPECT_NEAR(file.points.x[static_cast<std::size_t>(k)], job.MCSt_X[k + 2], 5e-7);
            EXPECT_NEAR(file.points.y[static_cast<std::size_t>(k)], job.MCSt_Y[k + 2], 5e-7);
            EXPECT_NEAR(file.points.z[static_cast<std::size_t>(k)],
                        job.MCSt_Z[static_cast<std::size_t>(k + 2)], 5e-7);
        }
    }
}

TEST(McsOnlyExport, NoNameNoFileAndTheReplaceQuestion) {
    testing::TempDir dir;
    testing::FakePrompter prompter;
    ExportServices services;
    services.prompter = &prompter;
    JobState job = jobWithMcsOnly(0);
    job.CurrentJobFile = "..\\default.tfo";
    EXPECT_EQ(exportMcsOnlyPoints(job, services), ExportOutcome::Refused);
    EXPECT_EQ(prompter.texts().back(), "Noch kein Dateiname vergeben; mache nix");

    job.CurrentJobFile = dir.file("job1.tfo");
    const std::string target = dir.write("job1.txt", "old");
    prompter.answer(platform::Answer::No);
    EXPECT_EQ(exportMcsOnlyPoints(job, services), ExportOutcome::Cancelled);
    EXPECT_EQ(testing::TempDir::read(target), "old");
    EXPECT_EQ(prompter.texts().back(), "File " + target + " is existing.\nWill you replace it?");

    prompter.answer(platform::Answer::Yes);
    int busy = 0;
    services.showBusy = [&busy](bool on) { busy += on ? 1 : -1; };
    EXPECT_EQ(exportMcsOnlyPoints(job, services), ExportOutcome::Written);
    EXPECT_EQ(testing::TempDir::read(target), "");  // no MCS-only points: an empty file
    EXPECT_EQ(busy, 0);

    // Counts beyond the transformed set are refused at the door, before any question.
    JobState broken = jobWithMcsOnly(2);
    broken.CurrentJobFile = dir.file("job1.tfo");
    broken.McsCount = 10;
    EXPECT_EQ(exportMcsOnlyPoints(broken, services), ExportOutcome::Refused);
    EXPECT_EQ(testing::TempDir::read(target), "");

    // A job file named like its own target is never overwritten by the export.
    job.CurrentJobFile = dir.write("points.txt", "the job");
    EXPECT_EQ(exportMcsOnlyPoints(job, services), ExportOutcome::Refused);
    EXPECT_EQ(testing::TempDir::read(job.CurrentJobFile), "the job");
}

TEST(McsOnlyExport, ReadOnlyFolderAndFullDiskFailWithAMessageAndKeepTheOldFile) {
    testing::TempDir dir;
    testing::FakePrompter prompter;
    ExportServices services;
    services.prompter = &prompter;
    int busy = 0;
    services.showBusy = [&busy](bool on) { busy += on ? 1 : -1; };
    JobState job = jobWithMcsOnly(300);
    job.CurrentJobFile = dir.file("job1.tfo");
    const std::string target = dir.write("job1.txt", "old");
    for (int mode = 0; mode < 2; ++mode) {
        prompter.answer(platform::Answer::Yes);
        ExportOutcome outcome;
        if (mode == 0) {
            testing::ReadOnlyFolderScope readOnly(dir.path());
            outcome = exportMcsOnlyPoints(job, services);
        } else {
            testing::FileSizeLimitScope full(1000);
            outcome = exportMcsOnlyPoints(job, services);
        }
        EXPECT_EQ(outcome, ExportOutcome::Failed) << mode;
        EXPECT_EQ(busy, 0);
        EXPECT_EQ(testing::TempDir::read(target), "old");
        EXPECT_EQ(testing::namesIn(dir.path()), (std::set<std::string>{"job1.txt"}));
        EXPECT_NE(prompter.texts().back().find("could not be written"), std::string::npos);
    }
}

}  // namespace
}  // namespace kal
