#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "app/InputToolWindows.h"
#include "input/ui/FormBatch.h"
#include "support/FakePlatform.h"
#include "support/KnownTransformJob.h"
#include "support/TempDir.h"

namespace kal {
namespace {

namespace fs = std::filesystem;

void put(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

// A calculated pure translation (10, 20, 30) mm, millimetre with 3 decimals.
void translate(JobState& job) {
    testing::setMillimetreDegree(job);
    job.TraX() = 10, job.TraY() = 20, job.TraZ() = 30;
    job.ScaleX() = job.ScaleY() = job.ScaleZ() = 1;
    job.TrafoCalculated = true;
    job.DataLoaded = true;
}

struct Window {
    testing::TempDir dir;
    JobState job;
    testing::FakePrompter prompter;
    std::vector<bool> longWork;
    std::vector<std::vector<IniEntry>> stored;
    std::vector<std::string> explored;
    std::string mcs = dir.file("mcs"), tcs = dir.file("tcs");
    std::unique_ptr<FormBatch> form;

    explicit Window(BatchWindowSettings settings = {}) {
        fs::create_directories(mcs), fs::create_directories(tcs);
        BatchWindowHooks hooks;
        hooks.chooseFolder = [this](const std::string& top, const std::string& start) {
            return top == "Choose the TCS = Target Directory" ? tcs : start + "-chosen";
        };
        hooks.exploreFolder = [this](const std::string& f) {
            explored.push_back(f);
            return true;
        };
        hooks.writeSettings = [this](const std::vector<IniEntry>& e) { stored.push_back(e); };
        hooks.setLongWorkRunning = [this](bool on) { longWork.push_back(on); };
        form = std::make_unique<FormBatch>(job, platform::Services{&prompter}, std::move(hooks), settings);
    }
};

void saveCapture(QWidget& w, const char* name) {
    if (const char* dir = std::getenv("KALVORETH_CAPTURE_DIR"))
        w.grab().save(QString::fromStdString(std::string(dir) + "/" + name));
}

TEST(FormBatch, OpensWithItsSettingsAndTheDesignsCaptions) {
    Window w({"/data/in/", "/data/out/", 2, 2});
    FormBatch& f = *w.form;
    EXPECT_EQ(f.windowTitle(), "Batch File Transform");
    EXPECT_EQ(f.mcsFolderBox()->text(), "/data/in/");
    EXPECT_EQ(f.tcsFolderBox()->text(), "/data/out/");
    EXPECT_EQ(f.batchType(), 2);  // kept, though its option is neither shown nor offered
    EXPECT_EQ(f.writeType(), 2);
    EXPECT_FALSE(f.newCalculationOption()->isEnabled());
    EXPECT_TRUE(f.newCalculationOption()->isHidden());
    EXPECT_TRUE(f.writeAllOption()->isHidden());
    EXPECT_FALSE(f.sameAsMcsBox()->isChecked());
    EXPECT_EQ(f.exploreMcsButton()->toolTip(), "Does not work with Win7 or higer");
    EXPECT_EQ(f.startButton()->text(), "&Start Batch");
    EXPECT_EQ(f.cancelButton()->objectName(), "BtnCancel");

    Window plain;
    EXPECT_TRUE(plain.form->actualParametersOption()->isChecked());
    EXPECT_TRUE(plain.form->onlyMcsOption()->isChecked());
    EXPECT_EQ(plain.form->batchType(), 1);
    EXPECT_EQ(plain.form->writeType(), 1);
}

TEST(FormBatch, FolderButtonsAndSameAsMcs) {
    Window w({"/data/in", "/data/out", 1, 1});
    FormBatch& f = *w.form;
    f.browseMcsButton()->click();
    EXPECT_EQ(f.mcsFolderBox()->text(), "/data/in-chosen");
    f.exploreTcsButton()->click();
    EXPECT_EQ(w.explored, std::vector<std::string>{"/data/out"});  // the folder itself

    f.sameAsMcsBox()->click();
    EXPECT_EQ(f.tcsFolderBox()->text(), "/data/in-chosen");
    EXPECT_FALSE(f.tcsFolderBox()->isEnabled());
    EXPECT_FALSE(f.browseTcsButton()->isEnabled());
    f.mcsFolderBox()->setText("/elsewhere");  // later changes are not copied
    EXPECT_EQ(f.tcsFolderBox()->text(), "/data/in-chosen");
    f.sameAsMcsBox()->click();
    EXPECT_TRUE(f.tcsFolderBox()->isEnabled());
    EXPECT_TRUE(f.browseTcsButton()->isEnabled());
}

TEST(FormBatch, RunThroughTheWindowWritesOutputsAndShowsTheLastFile) {
    Window w;
    translate(w.job);
    put(w.mcs + "/a.txt", "P1;1;2;3\r\n");
    put(w.mcs + "/b.txt", "P1;1;2;3\r\n");
    FormBatch& f = *w.form;
    f.mcsFolderBox()->setText(QString::fromStdString(w.mcs));
    f.tcsFolderBox()->setText(QString::fromStdString(w.tcs));
    f.show();
    const auto outcome = f.startBatch();
    EXPECT_EQ(outcome.end, BatchOutcome::End::Completed);
    EXPECT_EQ(testing::TempDir::read(w.tcs + "/b_out.txt"), "P1\t11.000\t22.000\t33.000\r\n");
    EXPECT_EQ(f.countLabel()->text(), "Calculating on File 2 of 2 Files");
    EXPECT_EQ(f.pathLabel()->text().toStdString(), w.mcs + "/b.txt");
    EXPECT_EQ(f.progressBar()->value(), 100);
    EXPECT_EQ(w.longWork, (std::vector<bool>{true, false}));
    ASSERT_EQ(w.stored.size(), 1u);
    EXPECT_EQ(w.stored[0][0].value.text(), w.mcs + "/");
    EXPECT_TRUE(f.startButton()->isEnabled());
    EXPECT_TRUE(f.isVisible());
    EXPECT_TRUE(w.prompter.shown().empty());
    saveCapture(f, "FormBatch.png");
}

TEST(FormBatch, RefusedRunLeavesTheCommandsAlone) {
    Window w;
    put(w.mcs + "/a.txt", "P1;1;2;3\r\n");
    w.form->mcsFolderBox()->setText(QString::fromStdString(w.mcs));
    w.form->startBatch();
    EXPECT_EQ(w.prompter.texts(), std::vector<std::string>{"No Transformation calculated"});
    EXPECT_TRUE(w.longWork.empty());
    EXPECT_TRUE(w.stored.empty());
    EXPECT_FALSE(fs::exists(w.tcs + "/a_out.txt"));
}

// While a run works, Cancel, Esc and the close box ask it to stop after the current file; the
// window stays to show where it stopped, and closes on the next Cancel.
TEST(FormBatch, CancelWhileRunningStopsTheRunAndKeepsTheWindow) {
    Window w;
    FormBatch& f = *w.form;
    f.show();
    f.progress().open("Batch File Transform - Progress");
    EXPECT_TRUE(f.running());
    EXPECT_FALSE(f.startButton()->isEnabled());
    EXPECT_FALSE(f.mcsFolderBox()->isEnabled());
    f.cancelButton()->click();
    EXPECT_TRUE(f.progress().stopRequested());
    EXPECT_TRUE(f.isVisible());
    f.progress().close();
    f.progress().open("again");  // a new run forgets the old stop
    EXPECT_FALSE(f.progress().stopRequested());
    f.close();
    EXPECT_TRUE(f.progress().stopRequested());
    EXPECT_TRUE(f.isVisible());
    f.progress().close();
    EXPECT_EQ(w.longWork, (std::vector<bool>{true, false, true, false}));
    EXPECT_TRUE(f.startButton()->isEnabled());
    f.cancelButton()->click();
    EXPECT_FALSE(f.isVisible());
}

// A prompter that looks at the main window's commands when the run asks its question.
class WatchingPrompter : public testing::FakePrompter {
  public:
    std::function<void()> onCustom;

  protected:
    int showCustom(const std::string& text, const std::string& title,
                   const std::vector<std::string>& captions) override {
        if (onCustom) onCustom();
        return FakePrompter::showCustom(text, title, captions);
    }
};

// "Batch Transform" shows the window modally; while its run works the commands that change the
// job wait; the folders are stored in the settings file for the next opening.
TEST(FormBatch, MenuEntryShowsTheWindowAndTheRunHoldsTheJobCommands) {
    testing::TempDir dir;
    JobState job;
    translate(job);
    job.IniFilePath = dir.write("Kalvoreth.ini", "[LastEntry]\r\n");
    job.AppDataFolder = dir.file("share");
    WatchingPrompter prompter;
    JobEvents events;
    FormMain main{job, prompter};
    main.setSplashInterval(-1);
    main.connectCommand(Command::NewJob, [] {});
    InputToolWindows tools{job, events, main, prompter};
    const std::string mcs = dir.file("in"), tcs = dir.file("out");
    fs::create_directories(mcs), fs::create_directories(tcs);
    put(mcs + "/a.txt", "P1;1;2;3\r\n");
    put(tcs + "/a_out.txt", "old");

    QAction* batch = main.action(Command::BatchTransform);
    ASSERT_TRUE(batch->isEnabled());
    ASSERT_TRUE(main.action(Command::NewJob)->isEnabled());
    bool newJobDuringRun = true, shown = false;
    prompter.onCustom = [&] { newJobDuringRun = main.action(Command::NewJob)->isEnabled(); };
    prompter.answerCustom(1);
    tools.whenBatchWindowShows([&](FormBatch& f) {
        shown = true;
        EXPECT_TRUE(f.isModal());
        EXPECT_EQ(f.mcsFolderBox()->text().toStdString(), job.AppDataFolder);  // no stored folder yet
        f.mcsFolderBox()->setText(QString::fromStdString(mcs));
        f.tcsFolderBox()->setText(QString::fromStdString(tcs));
        f.startBatch();
        f.cancelButton()->click();
    });
    batch->trigger();
    EXPECT_TRUE(shown);
    EXPECT_FALSE(newJobDuringRun);
    EXPECT_TRUE(main.action(Command::NewJob)->isEnabled());
    EXPECT_EQ(testing::TempDir::read(tcs + "/a_out.txt"), "P1\t11.000\t22.000\t33.000\r\n");
    EXPECT_EQ(batchWindowSettings(job.IniFilePath, "/x").mcsDirectory, mcs + "/");
    EXPECT_TRUE(prompter.exhausted());
}

}  // namespace
}  // namespace kal
