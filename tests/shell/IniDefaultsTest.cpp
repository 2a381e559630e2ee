#include <gtest/gtest.h>

#include "platform/Regional.h"
#include "shared/IniSettings.h"
#include "shell/IniDefaults.h"
#include "support/TempDir.h"

namespace kal {
namespace {

std::string golden() { return testing::TempDir::read(KALVORETH_TEST_DATA "/shell/DefaultKalvoreth.ini"); }

TEST(IniDefaults, TextIsTheDefaultFileByteForByte) {
    ASSERT_FALSE(golden().empty());
    EXPECT_EQ(iniDefaultText(), golden());
}

TEST(IniDefaults, OneWriteGivesWhatTheKeyByKeyWriterGives) {
    testing::TempDir dir;
    const std::string path = dir.file("Kalvoreth.ini");
    for (const IniEntry& e : iniDefaultEntries()) writeIniValue(path, e.section, e.key, e.value);
    EXPECT_EQ(testing::TempDir::read(path), iniDefaultText());
}

TEST(IniDefaults, EightySixKeysAndTheThresholdTextUnderEitherSeparator) {
    for (char sep : {'.', ','}) {
        platform::ScopedDecimalSeparator scoped(sep);
        EXPECT_EQ(iniDefaultEntries().size(), 86u);
        EXPECT_EQ(iniDefaultText(), golden());
    }
}

TEST(IniDefaults, ReadingTheFreshFileGivesTheDefaultsAndWritesNoRepair) {
    testing::TempDir dir;
    JobState job;
    job.IniFilePath = dir.file("Kalvoreth.ini");
    createIniFile(job);
    EXPECT_TRUE(job.GraphicsFlags.DevVecDirection);
    EXPECT_TRUE(readAllIniSettings(job).empty());
    EXPECT_EQ(testing::TempDir::read(job.IniFilePath), golden());  // no repair written
    EXPECT_EQ(job.MaxIteration, 100);
    EXPECT_DOUBLE_EQ(job.IterationThreshold, 1e-9);
    EXPECT_EQ(job.ClipboardMode, 2);
    EXPECT_EQ(job.RawScale, 2);

    // A run without a settings file starts from the same settings.
    JobState inMemory;
    applyIniDefaults(inMemory);
    EXPECT_EQ(inMemory.GraphicsFlags, job.GraphicsFlags);
    EXPECT_EQ(inMemory.MaxIteration, job.MaxIteration);
    EXPECT_EQ(inMemory.IterationThreshold, job.IterationThreshold);
    EXPECT_EQ(inMemory.ClipboardMode, job.ClipboardMode);
    EXPECT_EQ(inMemory.RawScale, job.RawScale);
    EXPECT_EQ(inMemory.ScreenBackColor, job.ScreenBackColor);
}

}  // namespace
}  // namespace kal
