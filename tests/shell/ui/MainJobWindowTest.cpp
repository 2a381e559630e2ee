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

// A main window with the job commands connected, answering through fakes.
struct ConnectedWindow {
    JobState job = testing::makeFullJob();
    testing::FakePrompter prompter;
    testing::FakeFileDialogs dialogs;
    FormMain main{job, prompter};
    MainJobWindow window{main, job};
    JobCommands commands{job, prompter, dialogs, window};

    ConnectedWindow() {
        main.setSplashInterval(-1);
        job.CurrentJobFile = kUntitledJobFile;
        connectJobCommands(main, commands);
    }
};

TEST(MainJobWindow, FileMenuSavesAndTheRecentEntryOpensTheJobAgain) {
    testing::TempDir dir;
    ConnectedWindow w;
    auto& [job, prompter, dialogs, main, window, commands] = w;

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

// Before, the toolbar's New, Open and Save buttons were connected to nothing.
TEST(MainJobWindow, FileToolbarButtonsRunTheirMenuCommandsOnce) {
    testing::TempDir dir;
    ConnectedWindow w;
    auto& [job, prompter, dialogs, main, window, commands] = w;

    // Save on an untitled job asks for a name once and writes the file.
    const std::string path = dir.file("toolbar.tfo");
    dialogs.answer(path);
    main.toolButton(Command::SaveJob)->click();
    EXPECT_TRUE(std::filesystem::exists(path));
    EXPECT_EQ(job.CurrentJobFile, path);

    // New on the saved job asks only for the new job's name and empties the job.
    dialogs.answer(dir.file("new.tfo"));
    main.toolButton(Command::NewJob)->click();
    EXPECT_EQ(job.CurrentJobFile, dir.file("new.tfo"));
    EXPECT_EQ(job.IdenticalCount, 0);
    EXPECT_FALSE(job.DataLoaded);

    // Open brings it back.
    dialogs.answer(path);
    main.toolButton(Command::OpenJob)->click();
    EXPECT_TRUE(job.DataLoaded);
    EXPECT_EQ(job.CurrentJobFile, path);
    EXPECT_TRUE(prompter.shown().empty());
}

// A job that names units this program does not know opens in millimetre and degree, and one
// message box says so (through the window's prompter, never a box a test cannot answer).
TEST(MainJobWindow, OpeningAJobWithUnknownUnitsSaysWhichUnitsAreUsed) {
    testing::TempDir dir;
    ConnectedWindow w;
    const std::string path = dir.file("units.tfo");
    w.job.LengthUnitName = "furlong";
    w.job.AngleUnitName = "turns";
    ASSERT_TRUE(w.commands.saveJobAt(path));
    ASSERT_TRUE(w.commands.openJobAt(path));
    ASSERT_EQ(w.prompter.shown().size(), 1u);
    EXPECT_EQ(w.prompter.shown()[0].text,
              "The length unit \"furlong\" is unknown; millimeter is used.\r\n"
              "The angle unit \"turns\" is unknown; degree is used.");
    EXPECT_EQ(w.job.LengthUnitName, "millimeter");
    EXPECT_EQ(w.job.AngleUnitName, "degree");
}

}  // namespace
}  // namespace kal
