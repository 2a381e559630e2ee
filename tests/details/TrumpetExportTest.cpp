#include <gtest/gtest.h>

#include <filesystem>

#include "details/DistanceTestSupport.h"
#include "details/ExportTestSupport.h"
#include "details/TrumpetExport.h"
#include "platform/Regional.h"
#include "support/FakeFileDialogs.h"
#include "support/FakePlatform.h"
#include "support/FakeProgress.h"
#include "support/TempDir.h"

namespace kal {
namespace {

using testing::distanceJob;

struct ExportRig {
    testing::FakePrompter prompter;
    testing::FakeFileDialogs dialogs;
    testing::FakeProgress progress;
    testing::FakeEventPump pump;
    TrumpetExportServices services() {
        TrumpetExportServices s;
        s.exports.prompter = &prompter;
        s.exports.fileDialogs = &dialogs;
        s.events = &pump;
        s.progress = &progress;
        return s;
    }
};

std::size_t lineCount(const std::string& text) {
    std::size_t n = 0;
    for (std::size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at + 2)) ++n;
    return n;
}

TEST(TrumpetExport, TwoPointsGiveOneLine) {
    const platform::ScopedDecimalSeparator dot('.');
    JobState job = distanceJob({{"A", 0, 0, 0, 0, 0, 0}, {"B", 1000, 0, 0, 1000.5, 0, 0}});
    testing::TempDir dir;
    ExportRig rig;
    rig.dialogs.answer(dir.file("pairs.txt"));
    const DistanceSnapshot points = takeDistanceSnapshot(job, false);
    EXPECT_EQ(exportTrumpetPairs(points, job.LengthFactor, job.LengthFormat, rig.services()),
              ExportOutcome::Written);
    EXPECT_EQ(testing::TempDir::read(dir.file("pairs.txt")), "A\tB\t1000\t1000.5\t0.500\r\n");
    EXPECT_TRUE(rig.dialogs.shown().at(0).filter.empty());
    EXPECT_TRUE(rig.dialogs.shown().at(0).defaultSuffix.empty());
}

TEST(TrumpetExport, MetresChangeDeltaSOnlyAndTheSeparatorIsTheUsers) {
    const platform::ScopedDecimalSeparator comma(',');
    JobState job = distanceJob({{"A", 0, 0, 0, 0, 0, 0}, {"B", 1234.5678, 0, 0, 1234.5698, 0, 0}});
    testing::TempDir dir;
    std::string line;
    appendTrumpetExportLine(line, takeDistanceSnapshot(job, false), 1, 2, 0.001, "0.000000");
    EXPECT_EQ(line, "A\tB\t1234,568\t1234,57\t0,000002\r\n");
}

TEST(TrumpetExport, WritesEveryUnorderedPairInOrderAcrossChunks) {
    const platform::ScopedDecimalSeparator dot('.');
    JobState job = distanceJob(testing::scaledCloud(30, 10.0));
    const DistanceSnapshot points = takeDistanceSnapshot(job, false);
    testing::TempDir dir;
    ExportRig rig;
    TrumpetExportServices s = rig.services();
    s.chunkBytes = 100;  // a few lines per chunk
    ASSERT_EQ(writeTrumpetPairs(dir.file("p.txt"), points, 1.0, "0.000", s), ExportOutcome::Written);
    std::string expected;
    for (std::int32_t i = 1; i < 30; ++i)
        for (std::int32_t j = i + 1; j <= 30; ++j)
            appendTrumpetExportLine(expected, points, i, j, 1.0, "0.000");
    const std::string written = testing::TempDir::read(dir.file("p.txt"));
    EXPECT_EQ(lineCount(written), 30u * 29u / 2u);
    EXPECT_EQ(written, expected);
}

TEST(TrumpetExport, AnExistingFileIsReplacedWholeOnYesAndKeptOnNo) {
    const platform::ScopedDecimalSeparator dot('.');
    JobState job = distanceJob({{"A", 0, 0, 0, 0, 0, 0}, {"B", 10, 0, 0, 10, 0, 0}});
    const DistanceSnapshot points = takeDistanceSnapshot(job, false);
    testing::TempDir dir;
    const std::string old(5000, 'x');
    const std::string path = dir.write("pairs.txt", old);
    {
        ExportRig rig;
        rig.dialogs.answer(path);
        rig.prompter.answer(platform::Answer::No);
        EXPECT_EQ(exportTrumpetPairs(points, 1.0, "0.000", rig.services()), ExportOutcome::Cancelled);
        EXPECT_EQ(rig.prompter.texts(),
                  std::vector<std::string>{"File " + path + " is existing.\nWill you replace it?"});
        EXPECT_EQ(testing::TempDir::read(path), old);
    }
    {
        ExportRig rig;
        rig.dialogs.answer(path);
        rig.prompter.answer(platform::Answer::Yes);
        EXPECT_EQ(exportTrumpetPairs(points, 1.0, "0.000", rig.services()), ExportOutcome::Written);
        EXPECT_EQ(testing::TempDir::read(path), "A\tB\t10\t10\t0.000\r\n");
    }
    ExportRig cancelled;
    cancelled.dialogs.answer(std::nullopt);
    EXPECT_EQ(exportTrumpetPairs(points, 1.0, "0.000", cancelled.services()), ExportOutcome::Cancelled);
}

TEST(TrumpetExport, StopLeavesTheOldFileAndNoTemporary) {
    JobState job = distanceJob(testing::scaledCloud(60, 10.0));
    const DistanceSnapshot points = takeDistanceSnapshot(job, false);
    testing::TempDir dir;
    const std::string path = dir.write("pairs.txt", "old content\r\n");
    ExportRig rig;
    rig.pump.onEvents([&](int) { rig.progress.stop = true; });
    TrumpetExportServices s = rig.services();
    s.chunkBytes = 256;
    s.interval = std::chrono::milliseconds(0);
    EXPECT_EQ(writeTrumpetPairs(path, points, 1.0, "0.000", s), ExportOutcome::Cancelled);
    EXPECT_EQ(testing::TempDir::read(path), "old content\r\n");
    EXPECT_EQ(testing::namesIn(dir.path()), std::set<std::string>{"pairs.txt"});
    EXPECT_TRUE(rig.prompter.shown().empty());
    EXPECT_FALSE(rig.progress.isOpen);
}

TEST(TrumpetExport, AFailedWriteSaysWhyAndKeepsTheOldFile) {
    JobState job = distanceJob(testing::scaledCloud(60, 10.0));
    const DistanceSnapshot points = takeDistanceSnapshot(job, false);
    testing::TempDir dir;
    const std::string path = dir.write("pairs.txt", "old content\r\n");
    ExportRig rig;
    TrumpetExportServices s = rig.services();
    s.chunkBytes = 256;
    {
        testing::FileSizeLimitScope full(4096);  // a full disk after 4 KB
        EXPECT_EQ(writeTrumpetPairs(path, points, 1.0, "0.000", s), ExportOutcome::Failed);
    }
    EXPECT_EQ(testing::TempDir::read(path), "old content\r\n");
    EXPECT_EQ(testing::namesIn(dir.path()), std::set<std::string>{"pairs.txt"});
    ASSERT_EQ(rig.prompter.shown().size(), 1u);
    EXPECT_NE(rig.prompter.texts()[0].find("could not be written"), std::string::npos);
}

}  // namespace
}  // namespace kal
