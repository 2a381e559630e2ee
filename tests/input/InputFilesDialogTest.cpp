#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <numbers>

#include "input/InputFilesDialog.h"
#include "input/MatchingMethods.h"
#include "jobfile/JobFileWriter.h"
#include "platform/Regional.h"
#include "shell/JobReset.h"
#include "support/FakeFileDialogs.h"
#include "support/FakePlatform.h"
#include "support/FakeProgress.h"
#include "support/TempDir.h"

namespace kal {
namespace {

constexpr double kDeg = std::numbers::pi / 180.0;

std::string example(const std::string& name) { return std::string(KALVORETH_EXAMPLES) + "/" + name; }

TEST(InputFilesDialog, OpenedWithoutDataDisablesMoreMcsLimitAndRenameAndSelectsById) {
    InputFilesDialog d;
    d.open(JobState());
    const InputFilesState& s = d.state();
    EXPECT_EQ(s.method, PointMatchMethod::ByName);
    EXPECT_FALSE(s.moreMcsEnabled);
    EXPECT_FALSE(s.useOnlyFirstEnabled);
    EXPECT_FALSE(s.limitEnabled);
    EXPECT_FALSE(s.renameEnabled);
    EXPECT_TRUE(s.affixIsPrefix);
    EXPECT_EQ(s.nameMcs, "MCS");
    EXPECT_EQ(s.nameOcs, "OCS");
    EXPECT_EQ(s.maxOcsText, "10");
    EXPECT_EQ(s.format, kOcsAscii);
    EXPECT_TRUE(s.okEnabled());
}

TEST(InputFilesDialog, EveryOpeningRefillsTheBoxesFromTheJob) {
    JobState job;
    job.DataLoaded = true;
    job.MCS_FileName = "/data/cell.txt", job.OCS_FileName = "/data/robot.ls";
    job.NameMCS = "Cell", job.NameOCS = "Robot";
    job.OcsFormatIndex = kOcsFanuc;
    InputFilesDialog d;
    d.open(job);
    d.chooseMethod(PointMatchMethod::ByDistances);
    d.setUseOnlyFirst(true);
    d.editMaxOcsText("25");
    d.setPath(PathBox::Mcs, "typed.txt");
    d.setPath(PathBox::MoreMcs, "more.txt");

    d.open(job);
    const InputFilesState& s = d.state();
    EXPECT_EQ(s.mcsPath, "/data/cell.txt");
    EXPECT_EQ(s.ocsPath, "/data/robot.ls");
    EXPECT_EQ(s.nameMcs, "Cell");
    EXPECT_EQ(s.nameOcs, "Robot");
    EXPECT_EQ(s.format, kOcsFanuc);
    EXPECT_EQ(s.method, PointMatchMethod::ByName);
    EXPECT_FALSE(s.useOnlyFirst);
    EXPECT_EQ(s.maxOcsText, "10");
    EXPECT_EQ(s.moreMcsPath, "");
    EXPECT_TRUE(s.moreMcsEnabled);
    // The last accepted limit text starts as the shown "10" again, whatever was accepted before.
    EXPECT_EQ(d.editMaxOcsText("1x"), "10");
}

// A job names its point files as they were picked, often without a folder: the boxes must find
// them beside the job file, not in the folder the program was started from.
TEST(InputFilesDialog, RelativePointFilePathsAreFoundBesideTheJobFile) {
    testing::TempDir dir;
    std::filesystem::create_directories(dir.file("jobs/sub"));
    const std::string job = dir.write("jobs/cell.tfo", "job");
    const std::string beside = dir.write("jobs/m.txt", "P1 1 2 3\n");
    const std::string below = dir.write("jobs/sub/o.txt", "P1 1 2 3\n");
    const std::string elsewhere = dir.write("other.txt", "P1 1 2 3\n");
    struct Case {
        const char* label;
        std::string jobFile;
        std::string stored;
        std::string shown;
    };
    const Case cases[] = {
        {"bare name beside the job", job, "m.txt", beside},
        {"relative folder, Windows separators", job, "sub\\o.txt", below},
        {"relative folder upwards", job, "../other.txt", elsewhere},
        {"not beside the job: as given", job, "missing.txt", "missing.txt"},
        {"absolute path: as given", job, elsewhere, elsewhere},
        {"job without a file: as given", "..\\default.tfo", "m.txt", "m.txt"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        JobState j;
        j.CurrentJobFile = c.jobFile;
        j.MCS_FileName = c.stored, j.OCS_FileName = c.stored;
        InputFilesDialog d;
        d.open(j);
        EXPECT_EQ(d.state().mcsPath, c.shown);
        EXPECT_EQ(d.state().ocsPath, c.shown);
    }
}

TEST(InputFilesDialog, SavedFormatIndexSelectsItsEntryAndAnIndexOutsideTheListTheFirst) {
    const std::pair<int, OcsFormat> cases[] = {{0, kOcsAscii}, {3, kOcsFanuc},  {6, kOcsParaboloid},
                                               {7, kOcsAscii}, {-1, kOcsAscii}, {32767, kOcsAscii}};
    for (const auto& [index, format] : cases) {
        JobState job;
        job.OcsFormatIndex = static_cast<std::int16_t>(index);
        InputFilesDialog d;
        d.open(job);
        EXPECT_EQ(d.state().format, format) << index;
        EXPECT_EQ(d.request().ocsFormat, format) << index;
    }
    EXPECT_STREQ(kOcsFormatEntries[3], "Fanuc Robot file (*.ls) W = Rx, P = Ry', R = Rz''");
}

TEST(InputFilesDialog, EnablingRulesFollowTheMethodAndKeepTheTicks) {
    InputFilesDialog d;
    d.chooseMethod(PointMatchMethod::ByDistances);
    EXPECT_TRUE(d.state().useOnlyFirstEnabled);
    EXPECT_FALSE(d.state().limitEnabled);
    d.setUseOnlyFirst(true);
    EXPECT_TRUE(d.state().limitEnabled);
    d.setUseOnlyFirst(false);
    EXPECT_FALSE(d.state().limitEnabled);
    d.setUseOnlyFirst(true);

    d.chooseMethod(PointMatchMethod::ByCoordinates);
    EXPECT_FALSE(d.state().useOnlyFirstEnabled);
    EXPECT_FALSE(d.state().limitEnabled);
    EXPECT_TRUE(d.state().renameEnabled);
    d.setRenameMcs(true);
    d.setRenameOcs(true);  // one clears the other
    EXPECT_FALSE(d.state().renameMcs);
    EXPECT_TRUE(d.state().renameOcs);
    d.setRenameMcs(true);
    EXPECT_TRUE(d.state().renameMcs);
    EXPECT_FALSE(d.state().renameOcs);

    d.chooseMethod(PointMatchMethod::ByName);
    EXPECT_FALSE(d.state().renameEnabled);
    EXPECT_FALSE(d.state().useOnlyFirstEnabled);
    EXPECT_TRUE(d.state().renameMcs);  // disabling keeps the tick
    EXPECT_TRUE(d.state().useOnlyFirst);
    d.chooseMethod(PointMatchMethod::ByDistances);
    EXPECT_TRUE(d.state().limitEnabled);  // ticked before: the limit comes back with the option
}

TEST(InputFilesDialog, LimitTextTakesDigitsOnlyAndRestoresTheLastAcceptedText) {
    struct Step {
        const char* typed;
        const char* stands;
    };
    const Step steps[] = {
        {"10a", "10"},  // nothing typed yet: back to the "10" the box opened with
        {"2", "2"},
        {"25", "25"},
        {"25x", "25"},
        {"-5", "25"},
        {"2.5", "25"},
        {" 25", "25"},
        {"", ""},
        {"0", "0"},
        {"2147483647", "2147483647"},  // the largest 32-bit count
        {"2147483648", "2147483647"},  // one more does not fit
        {"\xC2\xB2", "2147483647"},    // a superscript two is no digit
    };
    InputFilesDialog d;
    for (const Step& step : steps) {
        EXPECT_EQ(d.editMaxOcsText(step.typed), step.stands) << step.typed;
        EXPECT_EQ(d.state().maxOcsText, step.stands) << step.typed;
    }
}

TEST(InputFilesDialog, NarrowerThan650TwipsGives800) {
    const std::pair<double, InputFilesWidths> cases[] = {
        {0, {800, 350, 200}},           {349, {800, 350, 200}}, {350, {800, 350, 200}},
        {649, {800, 350, 200}},         {650, {650, 200, 50}},  {9540, {9540, 9090, 8940}},
        {20000, {20000, 19550, 19400}},
    };
    for (const auto& [width, expected] : cases) EXPECT_EQ(inputFilesWidths(width), expected) << width;
}

TEST(InputFilesDialog, RequestTakesTheControlsOfTheChosenMethodOnly) {
    InputFilesDialog d;
    d.setPath(PathBox::Mcs, "m.txt");
    d.setPath(PathBox::Ocs, "o.dat");
    d.setNameMcs("Cell");
    d.setNameOcs("Robot");
    d.selectFormat(kOcsKuka);
    d.chooseMethod(PointMatchMethod::ByCoordinates);
    d.setRenameOcs(true);
    d.chooseMethod(PointMatchMethod::ByDistances);
    d.setUseOnlyFirst(true);
    d.editMaxOcsText("7");
    PointLoadRequest r = d.request();
    EXPECT_EQ(r.mcsFile, "m.txt");
    EXPECT_EQ(r.ocsFile, "o.dat");
    EXPECT_EQ(r.nameMcs, "Cell");
    EXPECT_EQ(r.nameOcs, "Robot");
    EXPECT_EQ(r.ocsFormat, kOcsKuka);
    EXPECT_EQ(r.method, PointMatchMethod::ByDistances);
    EXPECT_EQ(r.ocsLimit, 7);
    EXPECT_FALSE(r.renameOcs);  // ticked, but the rename acts in the coordinate matching only
    EXPECT_FALSE(r.fromClipboard);

    d.editMaxOcsText("");  // ticked with an empty text: all OCS points
    EXPECT_EQ(d.request().ocsLimit, std::nullopt);
    d.chooseMethod(PointMatchMethod::ByCoordinates);
    r = d.request();
    EXPECT_TRUE(r.renameOcs);
    EXPECT_EQ(r.ocsLimit, std::nullopt);
}

TEST(InputFilesDialog, StrayKeyInAFreshLimitBoxKeepsTheDistanceSearchAtTenOcsPoints) {
    JobState job;
    InputFilesDialog d;
    d.open(job);
    d.chooseMethod(PointMatchMethod::ByDistances);
    d.setUseOnlyFirst(true);
    // The box opened with "10" and nothing was typed: a letter must not empty it, or the search
    // would run over every OCS point.
    EXPECT_EQ(d.editMaxOcsText("10a"), "10");
    EXPECT_EQ(d.request().ocsLimit, 10);
}

TEST(InputFilesDialog, BrowseStartsInTheLastFoldersAndACancelKeepsTheText) {
    JobState job;
    job.LastMCSRoot = "/m", job.LastOCSRoot = "/o";
    InputFilesDialog d;
    d.open(job);
    testing::FakeFileDialogs dialogs;
    dialogs.answer("/m/a.txt");
    dialogs.answer("/o/b.txt");
    dialogs.answer(std::nullopt);
    dialogs.answer("");
    EXPECT_TRUE(d.browse(PathBox::Mcs, job, dialogs));
    EXPECT_TRUE(d.browse(PathBox::Ocs, job, dialogs));
    d.setPath(PathBox::MoreMcs, "kept.txt");
    EXPECT_FALSE(d.browse(PathBox::MoreMcs, job, dialogs));
    EXPECT_FALSE(d.browse(PathBox::Mcs, job, dialogs));
    EXPECT_EQ(d.state().mcsPath, "/m/a.txt");
    EXPECT_EQ(d.state().ocsPath, "/o/b.txt");
    EXPECT_EQ(d.state().moreMcsPath, "kept.txt");
    ASSERT_EQ(dialogs.shown().size(), 4u);
    EXPECT_EQ(dialogs.shown()[0].folder, "/m");
    EXPECT_EQ(dialogs.shown()[1].folder, "/o");
    EXPECT_EQ(dialogs.shown()[2].folder, "/m");  // more MCS points start where the MCS did

    EXPECT_EQ(d.editTarget(PathBox::Ocs), "/o/b.txt");
    EXPECT_EQ(d.exploreTarget(PathBox::Ocs), "/o/");
    EXPECT_EQ(d.exploreTarget(PathBox::MoreMcs), "");
}

// ---- The load through the dialog ----

class QuietMainWindow : public MainWindowView {
  public:
    void setMainCaption(const std::string&) override {}
    void showUnitNames(const std::string&, const std::string&) override {}
    void enableMainWindow(bool) override {}
    void refreshState() override {}
};

// A progress window whose user presses Cancel as soon as it shows; `whileOpen` runs once then.
class CancelAtOnce : public testing::FakeProgress {
  public:
    bool stopRequested() const override {
        if (isOpen && whileOpen && !checked_) checked_ = true, whileOpen();
        return isOpen;
    }
    std::function<void()> whileOpen;

  private:
    mutable bool checked_ = false;
};

struct DialogFixture {
    platform::ScopedDecimalSeparator point{'.'};
    testing::TempDir dir;
    testing::FakePrompter prompter;
    testing::FakeEventPump events;
    testing::FakeProgress progress;
    CancelAtOnce cancelAtOnce;
    QuietMainWindow mainWindow;
    JobState job;
    PointLoadServices services;
    InputFilesDialog dialog;
    std::vector<bool> running;  // what the hooks heard

    DialogFixture() {
        job.LengthUnitName = "millimeter", job.AngleUnitName = "degree";
        job.LengthFactor = 1.0, job.AngleFactor = 1.0 / kDeg;
        services.prompter = &prompter;
        services.events = &events;
        services.progress = &progress;
        services.resetJob = [this](JobState& j) { initializeJob(j, mainWindow); };
    }
    std::optional<PointLoadOutcome> load() {
        return dialog.load(job, services, {[this](bool r) { running.push_back(r); }});
    }
    void choose(const std::string& mcs, const std::string& ocs, int format, PointMatchMethod method) {
        dialog.open(job);
        dialog.setPath(PathBox::Mcs, mcs);
        dialog.setPath(PathBox::Ocs, ocs);
        dialog.selectFormat(format);
        dialog.chooseMethod(method);
    }
    std::string savedBytes() const {
        JobFileWriteNotes notes;
        return writeJobFile(job, notes);
    }
};

struct RefusalCase {
    const char* label;
    std::function<void(DialogFixture&)> setUp;  // chooses in the dialog, may script answers
    std::function<std::string(DialogFixture&)> message;
    PointLoadStatus status;
};

class DialogLoadRefusal : public ::testing::TestWithParam<RefusalCase> {};

TEST_P(DialogLoadRefusal, ShowsItsMessageAndTheJobsBytesStay) {
    const RefusalCase& c = GetParam();
    DialogFixture f;
    f.choose(example("cell-mcs.txt"), example("cell-ocs.txt"), kOcsAscii, PointMatchMethod::ByName);
    ASSERT_EQ(f.load()->status, PointLoadStatus::Loaded);
    f.job.JobDirty = false;
    const std::string before = f.savedBytes();
    f.running.clear();

    c.setUp(f);
    const auto outcome = f.load();
    ASSERT_TRUE(outcome.has_value());
    EXPECT_EQ(outcome->status, c.status);
    ASSERT_FALSE(f.prompter.shown().empty());
    EXPECT_EQ(f.prompter.shown().back().text, c.message(f));
    EXPECT_EQ(f.savedBytes(), before);
    EXPECT_FALSE(f.job.JobDirty);
    EXPECT_EQ(f.running, (std::vector<bool>{true, false}));
    EXPECT_FALSE(f.dialog.state().loadRunning);
    EXPECT_TRUE(f.prompter.exhausted());
}

INSTANTIATE_TEST_SUITE_P(
    Refusals, DialogLoadRefusal,
    ::testing::Values(
        RefusalCase{"MissingFile",
                    [](DialogFixture& f) {
                        f.choose(f.dir.file("gone.txt"), example("cell-ocs.txt"), kOcsAscii,
                                 PointMatchMethod::ByName);
                    },
                    [](DialogFixture& f) { return f.dir.file("gone.txt") + "\n\n is not existing"; },
                    PointLoadStatus::Refused},
        RefusalCase{"MalformedLine",
                    [](DialogFixture& f) {
                        f.choose(f.dir.write("mcs.txt", "A;1;2;3\nB;4;;6\n"), example("cell-ocs.txt"),
                                 kOcsAscii, PointMatchMethod::ByName);
                        f.prompter.answer(platform::Answer::Yes);  // replace the loaded points
                    },
                    [](DialogFixture& f) {
                        const std::string text = f.prompter.shown().back().text;
                        EXPECT_NE(text.find(f.dir.file("mcs.txt")), std::string::npos) << text;
                        EXPECT_NE(text.find("In Row 2"), std::string::npos) << text;
                        return text;
                    },
                    PointLoadStatus::Refused},
        RefusalCase{"RobotFileWithDistances",
                    [](DialogFixture& f) {
                        f.choose(example("cell-mcs-xyz.txt"), example("cell-ocs.ls"), kOcsFanuc,
                                 PointMatchMethod::ByDistances);
                    },
                    [](DialogFixture&) { return std::string(kGeometryNeedsAscii); },
                    PointLoadStatus::Refused},
        RefusalCase{"CancelledDistanceSearch",
                    [](DialogFixture& f) {
                        f.choose(example("cell-mcs.txt"), example("cell-ocs.txt"), kOcsAscii,
                                 PointMatchMethod::ByDistances);
                        f.prompter.answer(platform::Answer::Yes);
                        f.prompter.answerInput("0.8");
                        // Cancel as the window shows; meanwhile OK is blocked and a second load refused.
                        f.services.progress = &f.cancelAtOnce;
                        f.cancelAtOnce.whileOpen = [&f] {
                            EXPECT_TRUE(f.dialog.state().loadRunning);
                            EXPECT_FALSE(f.dialog.state().okEnabled());
                            EXPECT_FALSE(f.dialog.state().closeAllowed());
                            EXPECT_EQ(f.dialog.load(f.job, f.services), std::nullopt);
                        };
                    },
                    [](DialogFixture& f) {
                        EXPECT_EQ(f.cancelAtOnce.captions,
                                  std::vector<std::string>{"AutoFind Indentically Points - Progress"});
                        EXPECT_EQ(f.cancelAtOnce.closes, 1);
                        return std::string(kSearchStopped);
                    },
                    PointLoadStatus::Cancelled}),
    [](const ::testing::TestParamInfo<RefusalCase>& info) { return std::string(info.param.label); });

TEST(InputFilesDialog, NoLoadWhileACalculationRuns) {
    DialogFixture f;
    f.choose(example("cell-mcs.txt"), example("cell-ocs.txt"), kOcsAscii, PointMatchMethod::ByName);
    f.dialog.setJobBusy(true);
    EXPECT_FALSE(f.dialog.state().okEnabled());
    EXPECT_TRUE(f.dialog.state().closeAllowed());
    EXPECT_EQ(f.load(), std::nullopt);
    EXPECT_FALSE(f.job.DataLoaded);
    EXPECT_TRUE(f.running.empty());
    f.dialog.setJobBusy(false);
    f.dialog.open(f.job);  // an opening keeps knowing about the calculation
    f.dialog.setJobBusy(true);
    f.dialog.open(f.job);
    EXPECT_FALSE(f.dialog.state().okEnabled());
}

TEST(InputFilesDialog, ChoosingAFormatChangesTheJobOnlyWhenALoadCommitsIt) {
    DialogFixture f;
    f.choose(example("cell-mcs-xyz.txt"), example("cell-ocs.dat"), kOcsKuka, PointMatchMethod::ByName);
    ASSERT_EQ(f.load()->status, PointLoadStatus::Loaded);
    EXPECT_TRUE(f.job.KukaOcsMode);
    EXPECT_EQ(f.job.OCS_FileName, example("cell-ocs.dat"));
    f.dialog.open(f.job);
    EXPECT_EQ(f.dialog.state().ocsPath, example("cell-ocs.dat"));  // the robot file itself
    EXPECT_EQ(f.dialog.state().format, kOcsKuka);
    f.dialog.selectFormat(kOcsFanuc);
    EXPECT_TRUE(f.job.KukaOcsMode);
    EXPECT_FALSE(f.job.FanucOcsMode);
    EXPECT_EQ(f.job.OcsFormatIndex, kOcsKuka);
}

}  // namespace
}  // namespace kal
