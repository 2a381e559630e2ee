// The program's start and end as a whole: the start-up flow with the real main window.
#include <gtest/gtest.h>

#include <QMdiSubWindow>

#include "shell/StartUp.h"
#include "shell/ui/FormMain.h"
#include "support/FakePlatform.h"
#include "support/TempDir.h"

namespace kal {
namespace {

struct Program {
    explicit Program(const testing::TempDir& home)
        : main(job, prompter),
          jobFiles(prompter),
          startUp(job, main, jobFiles, prompter, system,
                  [&home](const std::string& name) -> std::optional<std::string> {
                      if (name == "HOME") return home.path();
                      return std::nullopt;
                  }) {
        main.setSplashInterval(0);  // shown and gone at once
        main.windowPositions().setWritable([this] { return startUp.settingsWritable(); });
        main.windowPositions().setProblemReporter(
            [this](const std::string& why) { startUp.reportSettingsProblem(why); });
        main.setCloseGuard([this] { return startUp.shutDown(); });
    }
    struct System : platform::SystemInfo {
        std::string productName() const override { return "Linux"; }
        std::string cpuArchitecture() const override { return "x86_64"; }
    } system;
    JobState job;
    testing::FakePrompter prompter;
    FormMain main;
    JobFileCommandsUnavailable jobFiles;
    StartUp startUp;
};

TEST(ProgramStartAndEnd, StartsWithTheUntitledCaptionAndEndsClosingItsWindows) {
    testing::TempDir home;
    Program p(home);
    p.startUp.startProgram({});
    p.main.show();
    EXPECT_EQ(p.main.windowTitle().toStdString(), "Kalvoreth Version 2.0.63 | ..\\default.tfo");
    EXPECT_EQ(p.main.statusPanel(1)->text(), "millimeter");
    EXPECT_EQ(p.job.IniFilePath, home.file(".config/Kalvoreth/Kalvoreth.ini"));

    p.main.progressWindow().open();
    EXPECT_EQ(p.main.childWindowCount(), 1);
    EXPECT_TRUE(p.main.close());
    EXPECT_EQ(p.main.childWindowCount(), 0);
    EXPECT_TRUE(p.prompter.shown().empty());
    // The progress window stored its position on the way out.
    EXPECT_NE(testing::TempDir::read(p.job.IniFilePath).find("FormProgressBarTop="), std::string::npos);
}

TEST(ProgramStartAndEnd, AYesWhoseSaveFailsKeepsTheProgramOpenAndSaysWhy) {
    testing::TempDir home;
    Program p(home);
    p.startUp.startProgram({});
    p.main.show();
    p.job.JobDirty = true;
    p.prompter.answer(platform::Answer::Yes);
    EXPECT_FALSE(p.main.close());
    EXPECT_TRUE(p.main.isVisible());
    ASSERT_EQ(p.prompter.shown().size(), 2u);
    EXPECT_EQ(p.prompter.shown()[1].text, "Jobs cannot be saved in this build.");

    p.prompter.answer(platform::Answer::No);
    EXPECT_TRUE(p.main.close());
}

}  // namespace
}  // namespace kal
