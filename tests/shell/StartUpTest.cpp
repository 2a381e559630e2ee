#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "shared/IniFile.h"
#include "shared/IniSettings.h"
#include "shell/DefaultViewSettings.h"
#include "shell/IniDefaults.h"
#include "shell/StartUp.h"
#include "support/FakePlatform.h"
#include "support/TempDir.h"

namespace kal {
namespace {

namespace fs = std::filesystem;
using platform::Answer;

struct RecordingHost : StartUpHost {
    void setMainCaption(const std::string& c) override { captions.push_back(c); }
    void showUnitNames(const std::string& l, const std::string& a) override { units = l + "|" + a; }
    void enableMainWindow(bool e) override { enabled = e; }
    void refreshState() override { ++refreshes; }
    void showSplash() override { ++splashes; }
    void closeAllWindows() override { ++windowsClosed; }

    std::vector<std::string> captions;
    std::string units;
    bool enabled = false;
    int refreshes = 0, splashes = 0, windowsClosed = 0;
};

struct RecordingJobFiles : JobFileCommands {
    void openJobFile(const std::string& path) override { opened.push_back(path); }
    bool saveJob() override {
        ++saves;
        return saveSucceeds;
    }
    std::vector<std::string> opened;
    int saves = 0;
    bool saveSucceeds = true;
};

struct FixedSystem : platform::SystemInfo {
    std::string productName() const override { return "Debian GNU/Linux 12 (bookworm)"; }
    std::string cpuArchitecture() const override { return "x86_64"; }
};

// One program run against a settings folder in a temporary place.
struct ProgramRun {
    explicit ProgramRun(const testing::TempDir& home)
        : startUp(job, host, jobFiles, prompter, system,
                  [&home](const std::string& name) -> std::optional<std::string> {
                      if (name == "HOME") return home.path();
                      if (name == "XDG_CONFIG_HOME") return home.file("config/deeper");
                      if (name == "XDG_DATA_HOME") return home.file("data");
                      return std::nullopt;
                  }) {}

    JobState job;
    RecordingHost host;
    RecordingJobFiles jobFiles;
    testing::FakePrompter prompter;
    FixedSystem system;
    StartUp startUp;
};

std::string iniPath(const testing::TempDir& home) {
    return home.file("config/deeper/Kalvoreth/Kalvoreth.ini");
}
std::string golden() { return testing::TempDir::read(KALVORETH_TEST_DATA "/shell/DefaultKalvoreth.ini"); }

TEST(StartUp, FirstStartWritesTheDefaultFileAndTheSecondReadsItWithoutRewriting) {
    testing::TempDir home;
    {
        ProgramRun run(home);
        run.startUp.startProgram({});
        EXPECT_EQ(run.job.IniFilePath, iniPath(home));  // folders created, all levels
        EXPECT_EQ(testing::TempDir::read(iniPath(home)), golden());
        EXPECT_TRUE(run.prompter.shown().empty());
        EXPECT_TRUE(run.startUp.settingsWritable());
        EXPECT_TRUE(run.startUp.shutDown());
    }
    const auto stamp = fs::file_time_type::clock::now() - std::chrono::hours(24);
    fs::last_write_time(iniPath(home), stamp);
    {
        ProgramRun run(home);
        run.startUp.startProgram({});
        EXPECT_EQ(run.job.MaxIteration, 100);
        EXPECT_EQ(run.job.ClipboardMode, 2);
        EXPECT_TRUE(run.job.GraphicsFlags.DevVecDirection);
        EXPECT_TRUE(run.prompter.shown().empty());
        EXPECT_TRUE(run.startUp.shutDown());
    }
    EXPECT_EQ(fs::last_write_time(iniPath(home)), stamp);
    EXPECT_EQ(testing::TempDir::read(iniPath(home)), golden());
}

TEST(StartUp, AnExistingFileIsNeverFilledUpWithDefaults) {
    testing::TempDir home;
    fs::create_directories(fs::path(iniPath(home)).parent_path());
    const std::string own = "[Global]\r\nMaxIteration=7\r\nOmrivel_Etta=1E-06\r\n\r\n[LastEntry]\r\n";
    std::ofstream(iniPath(home), std::ios::binary) << own;
    ProgramRun run(home);
    run.startUp.startProgram({});
    EXPECT_EQ(run.job.MaxIteration, 7);
    EXPECT_EQ(testing::TempDir::read(iniPath(home)), own);
}

TEST(StartUp, RunsItsStepsInOrderAndLeavesAnEmptyUntitledJob) {
    testing::TempDir home;
    ProgramRun run(home);
    run.job.JobDirty = true;  // the reset keeps it
    run.startUp.startProgram({});
    EXPECT_EQ(run.host.splashes, 1);
    EXPECT_EQ(run.job.OsNameString, "Debian GNU/Linux 12 (bookworm), 64-bit");
    EXPECT_EQ(run.job.CurrentJobFile, "..\\default.tfo");
    ASSERT_FALSE(run.host.captions.empty());
    EXPECT_EQ(run.host.captions.back(), "Kalvoreth Version 2.0.63 | ..\\default.tfo");
    EXPECT_EQ(run.host.units, "millimeter|degree");
    EXPECT_TRUE(run.host.enabled);
    EXPECT_GE(run.host.refreshes, 1);
    EXPECT_FALSE(run.job.DataLoaded);
    EXPECT_TRUE(run.job.JobDirty);
    EXPECT_EQ(run.job.AppDataFolder, home.file("data/Kalvoreth"));
    EXPECT_TRUE(run.jobFiles.opened.empty());
}

TEST(CommandLineJobFile, FirstOperandWithoutItsPairOfQuotes) {
    struct Case {
        std::vector<std::string> args;
        std::optional<std::string> path;
    };
    const Case cases[] = {
        {{}, std::nullopt},
        {{"\"/home/u/My Jobs/a.tfo\""}, "/home/u/My Jobs/a.tfo"},
        {{"/home/u/a.tfo"}, "/home/u/a.tfo"},      // no quotes: nothing is cut off
        {{"\"/home/u/a.tfo"}, "\"/home/u/a.tfo"},  // one quote alone stays
        {{"\"\""}, std::nullopt},
        {{"", "/b.tfo"}, "/b.tfo"},
        {{"/c.tfo", "/d.tfo"}, "/c.tfo"},
        {{"-odd.tfo"}, "-odd.tfo"},  // an operand after "--": the options are gone already
    };
    for (const auto& c : cases) EXPECT_EQ(commandLineJobFile(c.args), c.path);
}

TEST(StartUp, OpensTheJobNamedOnTheCommandLineUnderItsName) {
    testing::TempDir home;
    ProgramRun run(home);
    run.startUp.startProgram({"\"/jobs/cell 4.tfo\""});
    EXPECT_EQ(run.jobFiles.opened, std::vector<std::string>{"/jobs/cell 4.tfo"});
    EXPECT_EQ(run.job.CurrentJobFile, "/jobs/cell 4.tfo");
}

TEST(StartUp, ShutDownWithAChangedJob) {
    struct Case {
        Answer answer;
        bool saveSucceeds;
        bool closes;
        int saves;
    };
    const Case cases[] = {
        {Answer::No, true, true, 0},
        {Answer::Yes, true, true, 1},
        {Answer::Yes, false, false, 1},  // a "Yes" whose save fails keeps the program open
    };
    for (const auto& c : cases) {
        testing::TempDir home;
        ProgramRun run(home);
        run.startUp.startProgram({});
        run.job.JobDirty = true;
        run.jobFiles.saveSucceeds = c.saveSucceeds;
        run.prompter.answer(c.answer);
        EXPECT_EQ(run.startUp.shutDown(), c.closes);
        EXPECT_EQ(run.jobFiles.saves, c.saves);
        EXPECT_EQ(run.host.windowsClosed, c.closes ? 1 : 0);
        ASSERT_EQ(run.prompter.shown().size(), 1u);
        EXPECT_EQ(run.prompter.shown()[0].text,
                  "Changes have been made to the job.\r\n\r\n..\\default.tfo\r\n\r\nDo you want to save it?");
        EXPECT_EQ(run.prompter.shown()[0].buttons, platform::Buttons::YesNo);
    }
}

TEST(StartUp, ShutDownOfAnUnchangedJobAsksNothing) {
    testing::TempDir home;
    ProgramRun run(home);
    run.startUp.startProgram({});
    EXPECT_TRUE(run.startUp.shutDown());
    EXPECT_TRUE(run.prompter.shown().empty());
    EXPECT_EQ(run.host.windowsClosed, 1);
}

TEST(StartUp, AReadOnlySettingsFileIsReadToldOnceAndLeftAsItIs) {
    testing::TempDir home;
    fs::create_directories(fs::path(iniPath(home)).parent_path());
    // A value that asks for a repair, which must not reach the file.
    const std::string own = "[Settings]\r\nClipboardValue=7\r\nRawScale=1\r\n\r\n[LastEntry]\r\n";
    std::ofstream(iniPath(home), std::ios::binary) << own;
    fs::permissions(iniPath(home), fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);

    ProgramRun run(home);
    run.startUp.startProgram({});
    EXPECT_EQ(run.job.RawScale, 1);
    EXPECT_EQ(run.job.ClipboardMode, 2);
    EXPECT_FALSE(run.startUp.settingsWritable());
    EXPECT_EQ(run.job.IniFilePath, iniPath(home));
    ASSERT_EQ(run.prompter.shown().size(), 1u);
    EXPECT_NE(run.prompter.shown()[0].text.find("read-only"), std::string::npos);

    run.job.DefaultScreenProperties.ADis = 10;
    run.startUp.reportSettingsProblem("a window position");  // told already: not again
    EXPECT_TRUE(run.startUp.shutDown());
    EXPECT_EQ(run.prompter.shown().size(), 1u);
    EXPECT_EQ(testing::TempDir::read(iniPath(home)), own);
    EXPECT_EQ(fs::status(iniPath(home)).permissions() & fs::perms::owner_write, fs::perms::none);
}

TEST(StartUp, ADamagedSettingsFileKeepsWhatReadsAndToldOnce) {
    testing::TempDir home;
    fs::create_directories(fs::path(iniPath(home)).parent_path());
    std::ofstream(iniPath(home), std::ios::binary)
        << "[Global]\r\nMaxIteration=55\r\nOmrivel_Etta=1E-09\r\n\x01\xff\xfe garbage\r\nsigmaX=abc\r\n"
           "UnitLength=furlong\r\nDigitLength=99\r\n";
    ProgramRun run(home);
    run.startUp.startProgram({});
    EXPECT_EQ(run.job.MaxIteration, 55);
    EXPECT_EQ(run.job.LengthUnitName, "millimeter");  // the reset's default
    ASSERT_EQ(run.prompter.shown().size(), 1u);
    EXPECT_NE(run.prompter.shown()[0].text.find("could not be read in full"), std::string::npos);
    EXPECT_NE(run.prompter.shown()[0].text.find("sigmaX=abc"), std::string::npos);
    EXPECT_TRUE(run.startUp.shutDown());
    EXPECT_EQ(run.prompter.shown().size(), 1u);
}

// Ten skipped lines are listed in full; from the eleventh on, the first ten are listed and one line
// counts the rest.
TEST(StartUp, TheMoreLineOfSkippedSettingsAppearsOnlyBeyondTenProblems) {
    struct Case {
        int badLines;
        const char* moreLine;  // empty: none
    } cases[] = {{9, ""}, {10, ""}, {11, "... and 1 more."}, {12, "... and 2 more."}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.badLines);
        testing::TempDir home;
        fs::create_directories(fs::path(iniPath(home)).parent_path());
        std::string text = "[Global]\r\n";
        for (int i = 1; i <= c.badLines; ++i) text += "sigmaX=bad" + std::to_string(i) + "x\r\n";
        std::ofstream(iniPath(home), std::ios::binary) << text;
        ProgramRun run(home);
        run.startUp.startProgram({});
        ASSERT_EQ(run.prompter.shown().size(), 1u);
        const std::string& shown = run.prompter.shown()[0].text;
        const int listed = std::min(c.badLines, 10);
        for (int i = 1; i <= c.badLines; ++i)
            EXPECT_EQ(shown.find("sigmaX=bad" + std::to_string(i) + "x") != std::string::npos, i <= listed)
                << i;
        EXPECT_EQ(shown.find("more.") != std::string::npos, *c.moreLine != 0);
        if (*c.moreLine) {
            EXPECT_EQ(shown.substr(shown.size() - std::strlen(c.moreLine)), c.moreLine);
        }
    }
}

TEST(StartUp, AFolderWhereTheSettingsFileShouldBeGivesDefaultsInMemoryAndNoWrites) {
    testing::TempDir home;
    fs::create_directories(iniPath(home));  // a folder where the file should be
    ProgramRun run(home);
    run.startUp.startProgram({});
    ASSERT_EQ(run.prompter.shown().size(), 1u);
    EXPECT_NE(run.prompter.shown()[0].text.find("default settings"), std::string::npos);
    EXPECT_EQ(run.job.IniFilePath, "");
    EXPECT_EQ(run.job.MaxIteration, 100);
    EXPECT_EQ(run.job.ClipboardMode, 2);
    EXPECT_FALSE(run.startUp.settingsWritable());
    run.job.DefaultScreenProperties.ADis = 10;
    EXPECT_TRUE(run.startUp.shutDown());
    EXPECT_EQ(run.prompter.shown().size(), 1u);
    EXPECT_TRUE(fs::is_directory(iniPath(home)));
}

TEST(StartUp, ASettingsFolderThatCannotBeMadeGivesDefaultsInMemory) {
    testing::TempDir home;
    std::ofstream(home.file("config")) << "a file where the folder should be";
    ProgramRun run(home);
    run.startUp.startProgram({});
    ASSERT_EQ(run.prompter.shown().size(), 1u);
    EXPECT_NE(run.prompter.shown()[0].text.find("could not be created"), std::string::npos);
    EXPECT_EQ(run.job.MaxIteration, 100);
    EXPECT_TRUE(run.startUp.shutDown());
}

// The default view record at shut-down.
TEST(StartUp, DefaultViewRecordGoesToTheSettingsOnlyWhenSet) {
    struct Case {
        std::int32_t ADis;
        std::int16_t FahneAnzahl;
        std::size_t localGraphicsKeys, flagKeys;
    };
    const Case cases[] = {{0, 2, 0, 0}, {10, 0, 24, 0}, {10, 3, 24, 32}};
    for (const auto& c : cases) {
        testing::TempDir home;
        ProgramRun run(home);
        run.startUp.startProgram({});
        ScreenProperties& d = run.job.DefaultScreenProperties;
        d.ADis = c.ADis;
        d.FahneAnzahl = c.FahneAnzahl;
        d.FahneProps.assign(static_cast<std::size_t>(c.FahneAnzahl) + 1, FahneRecord{});
        EXPECT_TRUE(run.startUp.shutDown());
        const std::string text = testing::TempDir::read(iniPath(home));
        EXPECT_EQ(text.find("[LocalGraphics]") != std::string::npos, c.localGraphicsKeys > 0);
        EXPECT_EQ(text.find("[FahnenProp]") != std::string::npos, c.flagKeys > 0);
        EXPECT_EQ(defaultViewIniEntries(d).size(), c.localGraphicsKeys + c.flagKeys);
    }
}

TEST(StartUp, TheLastFlagComesBackAtTheNextStartAsAOneFlagRecord) {
    testing::TempDir home;
    FahneRecord third;
    third.ShowActual = true;
    third.Name = "DejaVu Sans";
    third.Size = 9.5f;
    third.Left = -12;
    third.Forecolor = 255;
    {
        ProgramRun run(home);
        run.startUp.startProgram({});
        ScreenProperties& d = run.job.DefaultScreenProperties;
        d.ADis = 10;
        d.BDis = 20;
        d.Vec_Massstab = 12.5f;
        d.CS_Type = "CYL";
        d.BinaerModus = true;
        d.FahneAnzahl = 3;
        d.FahneProps.assign(4, FahneRecord{});
        d.FahneProps[3] = third;
        EXPECT_TRUE(run.startUp.shutDown());
    }
    ProgramRun next(home);
    next.startUp.startProgram({});
    const ScreenProperties& d = next.job.DefaultScreenProperties;
    EXPECT_EQ(d.ADis, 10);
    EXPECT_EQ(d.BDis, 20);
    EXPECT_EQ(d.Vec_Massstab, 12.5f);
    EXPECT_EQ(d.CS_Type, "CYL");
    EXPECT_TRUE(d.BinaerModus);
    EXPECT_EQ(d.FahneAnzahl, 1);
    ASSERT_EQ(d.FahneProps.size(), 2u);
    EXPECT_EQ(d.FahneProps[1], third);
    EXPECT_TRUE(next.prompter.shown().empty());
}

}  // namespace
}  // namespace kal
