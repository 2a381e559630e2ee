#include <gtest/gtest.h>

#include <map>

#include "details/ExportTestSupport.h"
#include "details/RocalExport.h"
#include "platform/Regional.h"
#include "shared/Rotations.h"
#include "support/FakeFileDialogs.h"
#include "support/FakePlatform.h"
#include "support/KnownTransformJob.h"
#include "support/TempDir.h"

namespace kal {
namespace {

TEST(RocalExport, NumbersInTheGeneralFormWithAPoint) {
    platform::ScopedDecimalSeparator comma(',');
    const std::pair<double, const char*> cases[] = {
        {1.0, "1"}, {0.5, "0.5"}, {9e-5, "9E-05"}, {1.5e-17, "1.5E-17"}, {-2.5e-17, "-2.5E-17"}, {-0.0, "0"},
    };
    for (const auto& [x, text] : cases) EXPECT_EQ(rocalNumber(x), text) << x;
}

TEST(RocalExport, IdentityFileHasNoMinusZeroAndNoFinalLineEnd) {
    platform::ScopedDecimalSeparator comma(',');
    Matrix I(3, 3);
    matFromAnglesXYZ(0, 0, 0, I);
    const std::string bytes = rocalFileBytes(I, 12.5, -0.0, 9e-5);
    const std::string expected = "[1,0,0,12.5;\r\n0,1,0,0;\r\n0,0,1,9E-05;\r\n0,0,0,1]";
    EXPECT_EQ(bytes, expected);
    EXPECT_EQ(bytes.size(), std::string("[1,0,0,12.5;").size() + std::string("0,1,0,0;").size() +
                                std::string("0,0,1,9E-05;").size() + std::string("0,0,0,1]").size() + 6);
    EXPECT_EQ(bytes.find(' '), std::string::npos);
}

class RocalFlow : public ::testing::Test {
  protected:
    void SetUp() override {
        testing::setMillimetreDegree(job);
        job.TrafoCalculated = true;
        job.TraX() = 1.0;
        job.CurrentJobFile = "..\\default.tfo";
        job.LastRocalRoot = "/old";
        services.prompter = &prompter;
        services.fileDialogs = &dialogs;
        services.writeSetting = [this](const std::string& s, const std::string& k, const std::string& v) {
            settings[s + "/" + k] = v;
        };
    }
    JobState job;
    testing::TempDir dir;
    testing::FakePrompter prompter;
    testing::FakeFileDialogs dialogs;
    ExportServices services;
    std::map<std::string, std::string> settings;
};

TEST_F(RocalFlow, WritesTheNameAsChosenAndStoresTheFolder) {
    dialogs.answer(dir.file("robot"));
    EXPECT_EQ(exportRocal(job, services), ExportOutcome::Written);
    EXPECT_EQ(testing::TempDir::read(dir.file("robot")), "[1,0,0,1;\r\n0,1,0,0;\r\n0,0,1,0;\r\n0,0,0,1]");
    EXPECT_EQ(settings["Roots/LastRocalRoot"], dir.path());
    EXPECT_EQ(dialogs.shown().at(0).folder, "/old");
    EXPECT_EQ(dialogs.shown().at(0).title, "Export Rocal *.bas File");
    EXPECT_TRUE(prompter.texts().empty());
}

TEST_F(RocalFlow, ProposesTheJobsNameAndCancelWritesNothing) {
    job.CurrentJobFile = dir.file("job1.tfo");
    dialogs.answer(std::nullopt);
    EXPECT_EQ(exportRocal(job, services), ExportOutcome::Cancelled);
    EXPECT_EQ(dialogs.shown().at(0).folder, dir.file("job1.bas"));
    EXPECT_TRUE(settings.empty());
    EXPECT_EQ(job.LastRocalRoot, "/old");
    EXPECT_TRUE(testing::namesIn(dir.path()).empty());
}

TEST_F(RocalFlow, WithoutACalculationOnlyTheMessage) {
    job.TrafoCalculated = false;
    EXPECT_EQ(exportRocal(job, services), ExportOutcome::Refused);
    EXPECT_EQ(prompter.texts(),
              std::vector<std::string>{"You must make a calculation to export a *.bas File"});
}

TEST_F(RocalFlow, ReadOnlyFolderAndFullDiskFailWithAMessageAndKeepTheOldFile) {
    const std::string target = dir.write("cell.bas", "old");
    for (int mode = 0; mode < 2; ++mode) {
        dialogs.answer(target);
        ExportOutcome outcome;
        if (mode == 0) {
            testing::ReadOnlyFolderScope readOnly(dir.path());
            outcome = exportRocal(job, services);
        } else {
            testing::FileSizeLimitScope full(10);
            outcome = exportRocal(job, services);
        }
        EXPECT_EQ(outcome, ExportOutcome::Failed) << mode;
        EXPECT_EQ(testing::TempDir::read(target), "old");
        EXPECT_EQ(testing::namesIn(dir.path()), (std::set<std::string>{"cell.bas"}));
        ASSERT_FALSE(prompter.texts().empty());
        EXPECT_NE(prompter.texts().back().find("could not be written"), std::string::npos);
    }
}

}  // namespace
}  // namespace kal
