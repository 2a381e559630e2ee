// The file flow of the dialog wrapper: filters in Qt's form, the remembered folder, and a choice
// that stands even when the settings file cannot be written.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "shared/IniFile.h"
#include "shell/CommonDialog.h"
#include "support/FakeFileDialogs.h"
#include "support/TempDir.h"

namespace kal {
namespace {

TEST(CommonDialog, FiltersBecomeQtFilters) {
    struct Case {
        const char* pairs;
        const char* qt;
    };
    for (auto c :
         {Case{"tfo Dateien (*.tfo)|*.tfo|Alle Dateien (*.*)|*.*|", "tfo Dateien (*.tfo);;Alle Dateien (*)"},
          Case{"tfo Datei (*.tfo)|*.tfo", "tfo Datei (*.tfo)"},
          Case{"Text|*.txt;*.csv|", "Text (*.txt *.csv)"}, Case{"Alles|*.*", "Alles (*)"}, Case{"", ""}}) {
        EXPECT_EQ(qtFileFilter(c.pairs), c.qt) << c.pairs;
    }
}

TEST(CommonDialog, AChosenFileSetsTheFolderAndCancelChangesNothing) {
    JobState job;
    std::vector<std::pair<std::string, SettingsKeys>> writes;
    SettingsWriter settings = [&](const std::string& section, const SettingsKeys& keys) {
        writes.emplace_back(section, keys);
    };
    testing::FakeFileDialogs dialogs;
    const std::string tmp = std::filesystem::temp_directory_path().string();
    dialogs.answer(tmp + "/jobs/a.tfo");
    EXPECT_EQ(showFileDialog(dialogs, job, settings, kDialogOpen, "Open File ", "x|*.x", tmp, ""),
              tmp + "/jobs/a.tfo");
    EXPECT_EQ(job.LastDialogFolder, tmp + "/jobs/");
    ASSERT_EQ(writes.size(), 1u);
    EXPECT_EQ(writes[0].first, "Roots");
    EXPECT_EQ(writes[0].second, (SettingsKeys{{"LastDir", tmp + "/jobs/"}}));
    EXPECT_FALSE(dialogs.shown()[0].save);
    EXPECT_EQ(dialogs.shown()[0].folder, tmp);

    dialogs.answer(std::nullopt);
    EXPECT_EQ(showFileDialog(dialogs, job, settings, kDialogSave, "t", "x|*.x", tmp, "tfo"), "");
    EXPECT_EQ(job.LastDialogFolder, tmp + "/jobs/");
    EXPECT_EQ(writes.size(), 1u);
    EXPECT_TRUE(dialogs.shown()[1].save);
    EXPECT_EQ(dialogs.shown()[1].defaultSuffix, "tfo");
}

TEST(CommonDialog, ChoiceStandsWhenTheSettingsFileCannotBeWritten) {
    JobState job;
    SettingsWriter failing = [](const std::string&, const SettingsKeys&) {
        throw std::runtime_error("read-only");
    };
    testing::FakeFileDialogs dialogs;
    dialogs.answer("/data/b.tfo");
    EXPECT_EQ(showFileDialog(dialogs, job, failing, kDialogSave, "t", "", "/", "tfo"), "/data/b.tfo");
    EXPECT_EQ(job.LastDialogFolder, "/data/");
}

TEST(CommonDialog, AFolderThatNoLongerExistsStartsAtHome) {
    JobState job;
    testing::FakeFileDialogs dialogs;
    dialogs.answer(std::nullopt);
    showFileDialog(dialogs, job, {}, kDialogOpen, "t", "", "/no/such/folder/", "");
    const char* home = std::getenv("HOME");
    EXPECT_EQ(dialogs.shown()[0].folder, home ? home : "/");
}

TEST(CommonDialog, LastDirGoesToTheSettingsFileAndNoOtherKeyChanges) {
    testing::TempDir dir;
    const std::string ini = dir.file("Kalvoreth.ini");
    writeIniValue(ini, "Files", "LastFile1", "/old/one.tfo");
    JobState job;
    testing::FakeFileDialogs dialogs;
    dialogs.answer("/data/jobs/c.tfo");
    showFileDialog(dialogs, job, iniFileSettingsWriter(ini), kDialogOpen, "t", "", "/", "");
    EXPECT_EQ(readIniValue(ini, "LastDir"), "/data/jobs/");
    EXPECT_EQ(readIniValue(ini, "LastFile1"), "/old/one.tfo");
}

}  // namespace
}  // namespace kal
