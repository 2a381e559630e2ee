// The File menu drives the job commands: Save as writes the job and the recent entry shows it;
// the recent entry opens it again into the window's saved-view list.
#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <filesystem>

#include "shell/ui/MainJobWindow.h"
#include "support/FakeFileDialogs.h"
#include "support/FakePlatform.h"
#include "support/SampleJobs.h"
#include "support/TempDir.h"

namespace kal {
namespace {

TEST(MainJobWindow, FileMenuSavesAndTheRecentEntryOpensTheJobAgain) {
    testing::TempDir dir;
    JobState job = testing::makeFullJob();
    testing::FakePrompter prompter;
    testing::FakeFileDialogs dialogs;
    FormMain main(job, prompter);
    main.setSplashInterval(-1);
    job.CurrentJobFile = kUntitledJobFile;
    MainJobWindow window(main, job);
    JobCommands commands(job, prompter, dialogs, window);
    connectJobCommands(main, commands);

    const std::string path = dir.file("cell.tfo");
    dialogs.answer(path);
    main.actionNamed("MenuFileSaveAs")->trigger();
    ASSERT_TRUE(std::filesystem::exists(path));
    EXPECT_EQ(main.actionNamed("MenueDateiAlt1")->text().toStdString(), "&1 " + path);
    EXPECT_NE(main.windowTitle().toStdString().find(path), std::string::npos);

    job.SavedViewNames.clear();
    job.ViewCount = 0;
    job.JobDirty = false;
    main.actionNamed("MenueDateiAlt1")->trigger();
    EXPECT_EQ(job.ViewCount, 2);
    ASSERT_EQ(main.comboSaveView()->count(), 2);
    EXPECT_EQ(main.comboSaveView()->itemText(1).toStdString(), "Detail oben");
    EXPECT_EQ(main.statusPanel(1)->text().toStdString(), "inch");
    EXPECT_TRUE(prompter.shown().empty());
}

}  // namespace
}  // namespace kal
