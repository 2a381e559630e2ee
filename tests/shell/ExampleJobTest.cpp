// The demo job of examples/ (the demo cell's point files, matched) opens through the job commands
// and holds what its recipe says.
// Set KALVORETH_WRITE_EXAMPLES=1 to write it anew from the recipe.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "input/InputFilesDialog.h"
#include "input/PointLoad.h"
#include "jobfile/JobFileWriter.h"
#include "shared/AtomicFile.h"
#include "shared/Units.h"
#include "shell/JobCommands.h"
#include "support/FakeFileDialogs.h"
#include "support/FakePlatform.h"
#include "support/SampleJobs.h"

namespace kal {
namespace {

class SilentWindow : public JobWindow {
    void closeAllChildForms() override {}
    void resetJob() override {}
    void unitsChanged() override {}
    void jobLoaded() override {}
    void refreshState() override {}
    void setBusy(bool) override {}
};

TEST(ExampleJob, DemoJobOpensAndIsWhatItsRecipeWrites) {
    const std::string path = std::string(KALVORETH_EXAMPLES) + "/demo-job.tfo";
    JobFileWriteNotes notes;
    const std::string recipe = writeJobFile(testing::makeDemoJob(KALVORETH_EXAMPLES), notes);
    if (const char* write = std::getenv("KALVORETH_WRITE_EXAMPLES"); write && std::string(write) == "1")
        writeFileAtomically(path, recipe);
    EXPECT_EQ(readFileBytes(path), recipe);

    JobState job;
    testing::FakePrompter prompter;
    testing::FakeFileDialogs dialogs;
    SilentWindow window;
    JobCommands commands(job, prompter, dialogs, window);
    ASSERT_TRUE(commands.openJobAt(path));
    EXPECT_TRUE(prompter.shown().empty());
    EXPECT_EQ(job.IdenticalCount, 6);
    EXPECT_EQ(job.MCS_Name[1], "P1");
    EXPECT_EQ(job.OCS_X[1], 799.75);
    EXPECT_EQ(job.SavedViewNames, std::vector<std::string>{"Overview"});
    EXPECT_TRUE(job.DataLoaded);
    EXPECT_TRUE(job.invariantsHold());
}

// The demo job names its point files without a folder. Opened from any working folder, the input
// dialog's boxes find them beside the job and Apply loads them (it used to say "cell-mcs.txt ...
// is not existing").
TEST(ExampleJob, DemoJobsPointFilesLoadFromTheInputDialog) {
    const std::string path = std::string(KALVORETH_EXAMPLES) + "/demo-job.tfo";
    JobState job;
    testing::FakePrompter prompter;
    testing::FakeFileDialogs dialogs;
    SilentWindow window;
    JobCommands commands(job, prompter, dialogs, window);
    ASSERT_TRUE(commands.openJobAt(path));
    ASSERT_EQ(job.MCS_FileName, "cell-mcs.txt");
    applyUnitSettings(job);  // what the main window does when a job opens

    InputFilesDialog dialog;
    dialog.open(job);
    EXPECT_EQ(std::filesystem::path(dialog.state().mcsPath),
              (std::filesystem::path(KALVORETH_EXAMPLES) / "cell-mcs.txt").lexically_normal());
    PointLoadServices services;
    services.prompter = &prompter;
    prompter.answer(platform::Answer::Yes);  // replace the job's points
    const PointLoadOutcome outcome = loadPoints(job, dialog.request(), services);
    std::string told;
    for (const auto& box : prompter.shown()) told += box.text + " | ";
    EXPECT_EQ(outcome.status, PointLoadStatus::Loaded) << told;
    EXPECT_EQ(job.IdenticalCount, 6);
}

}  // namespace
}  // namespace kal
