// The job commands: saving and opening through the file system, the messages of each outcome,
// the flows of New, Open, a recent entry and Exit around a changed job, and the recent files.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/fsuid.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>

#include "jobfile/JobFileReader.h"
#include "jobfile/JobFileWriter.h"
#include "shared/AtomicFile.h"
#include "shell/JobCommands.h"
#include "support/FakeFileDialogs.h"
#include "support/FakePlatform.h"
#include "support/SampleJobs.h"

namespace kal {
namespace {

namespace fs = std::filesystem;
using platform::Answer;

// The main window as the commands see it: the reset does what the job reset does to the job.
class FakeJobWindow : public JobWindow {
  public:
    explicit FakeJobWindow(JobState& job) : job_(job) {}
    void closeAllChildForms() override { calls.push_back("close"); }
    void resetJob() override {
        calls.push_back("reset");
        if (job_.CurrentJobFile.empty()) job_.CurrentJobFile = kUntitledJobFile;
        job_.McsCount = job_.OcsCount = job_.IdenticalCount = job_.McsOnlyCount = job_.OcsOnlyCount = 0;
        job_.DataLoaded = job_.TrafoCalculated = job_.MCSOCSGetauscht = false;
        job_.RichtungMCStoOCS = true;
    }
    void unitsChanged() override { calls.push_back("units"); }
    void jobLoaded() override { calls.push_back("loaded"); }
    void refreshState() override { calls.push_back("refresh"); }
    void setBusy(bool busy) override { busyDepth += busy ? 1 : -1; }
    std::vector<std::string> calls;
    int busyDepth = 0;

  private:
    JobState& job_;
};

class JobCommandsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("kalvoreth-jobcmd-" + std::to_string(::getpid()) + "-" +
                                           ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir);
        job = testing::makeFullJob();
        job.CurrentJobFile = kUntitledJobFile;
        job.LastDialogFolder = dir.string() + "/";
    }
    void TearDown() override {
        fs::permissions(dir, fs::perms::owner_all, fs::perm_options::add);
        fs::remove_all(dir);
    }
    std::string path(const std::string& name) const { return (dir / name).string(); }
    JobCommands commands() {
        return JobCommands(job, prompter, dialogs, window,
                           [this](const std::string& section, const SettingsKeys& keys) {
                               if (settingsFail) throw std::runtime_error("settings file is read-only");
                               for (const auto& [k, v] : keys) settings[section + "/" + k] = v;
                           });
    }
    std::string fingerprint(const JobState& j) const {
        JobFileWriteNotes notes;
        return writeJobFile(j, notes) + "|" + j.CurrentJobFile;
    }
    // A second job on disk, to open.
    std::string otherJobFile() {
        JobState other = testing::makePointJob(3);
        other.NameMCS = "other";
        JobFileWriteNotes notes;
        std::string p = path("other.tfo");
        writeFileAtomically(p, writeJobFile(other, notes));
        return p;
    }

    fs::path dir;
    JobState job;
    testing::FakePrompter prompter;
    testing::FakeFileDialogs dialogs;
    FakeJobWindow window{job};
    std::map<std::string, std::string> settings;
    bool settingsFail = false;
};

TEST_F(JobCommandsTest, SaveAsWritesTheJobAndOpenBringsItBack) {
    job.JobDirty = true;
    dialogs.answer(path("a.tfo"));
    ASSERT_TRUE(commands().saveJobAsCommand());
    EXPECT_EQ(dialogs.shown()[0].title, "File save as");
    EXPECT_EQ(dialogs.shown()[0].filter, "tfo Datei (*.tfo)");
    EXPECT_EQ(dialogs.shown()[0].defaultSuffix, "tfo");
    EXPECT_FALSE(job.JobDirty);
    EXPECT_EQ(job.CurrentJobFile, path("a.tfo"));
    EXPECT_EQ(job.RecentFiles[1], path("a.tfo"));
    EXPECT_EQ(settings["Files/LastFile1"], path("a.tfo"));
    EXPECT_EQ(settings["Roots/LastDir"], dir.string() + "/");

    const std::string saved = fingerprint(job);
    JobState fresh;
    testing::FakePrompter p2;
    testing::FakeFileDialogs d2;
    FakeJobWindow w2(fresh);
    JobCommands c2(fresh, p2, d2, w2);
    fresh.JobDirty = true;
    ASSERT_TRUE(c2.openJobAt(path("a.tfo")));
    EXPECT_EQ(fingerprint(fresh), saved);
    EXPECT_FALSE(fresh.JobDirty);
    EXPECT_TRUE(fresh.DataLoaded);
    EXPECT_EQ(w2.calls, (std::vector<std::string>{"close", "reset", "units", "loaded", "refresh"}));
    EXPECT_TRUE(p2.shown().empty());
    EXPECT_TRUE(fresh.RecentFiles[1].empty());  // opening never touches the recent files
    EXPECT_EQ(w2.busyDepth, 0);
}

TEST_F(JobCommandsTest, OpenLeavesTheJobUntouchedForAMissingForeignOrDamagedFile) {
    const std::string before = fingerprint(job);
    std::string foreign = path("notes.txt");
    std::ofstream(foreign) << "hello world, this is not a job file at all\n";
    std::string damaged = path("cut.tfo");
    {
        JobFileWriteNotes notes;
        std::string full = writeJobFile(job, notes);
        std::ofstream(damaged, std::ios::binary) << full.substr(0, full.size() / 2);
    }
    auto c = commands();
    EXPECT_FALSE(c.openJobAt(path("gone.tfo")));
    prompter.answer(Answer::No);
    EXPECT_FALSE(c.openJobAt(foreign));
    prompter.answer(Answer::Yes);  // try it anyway: damaged as the older layout
    EXPECT_FALSE(c.openJobAt(foreign));
    EXPECT_FALSE(c.openJobAt(damaged));
    auto texts = prompter.texts();
    ASSERT_EQ(texts.size(), 5u);
    EXPECT_EQ(texts[0], job_messages::kMissing);
    EXPECT_EQ(texts[1], job_messages::notAJob());
    EXPECT_EQ(texts[2], job_messages::notAJob());
    EXPECT_EQ(texts[3].rfind(std::string(job_messages::kDamaged) + "\r\n\r\n", 0), 0u) << texts[3];
    EXPECT_EQ(texts[4].rfind(std::string(job_messages::kDamaged) + "\r\n\r\nthe ", 0), 0u) << texts[4];
    EXPECT_NE(texts[4].find("more than the file holds"), std::string::npos) << texts[4];
    EXPECT_EQ(fingerprint(job), before);
    EXPECT_TRUE(window.calls.empty());
}

// A folder is not "missing": the message says what it is, for opening and for saving alike.
TEST_F(JobCommandsTest, AFolderGivenAsTheJobFileIsReportedAsAFolder) {
    const std::string before = fingerprint(job);
    fs::create_directory(path("jobs.tfo"));
    auto c = commands();
    EXPECT_FALSE(c.openJobAt(path("jobs.tfo")));
    EXPECT_FALSE(c.saveJobAt(path("jobs.tfo")));
    const auto texts = prompter.texts();
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0], job_messages::folderNotJob(path("jobs.tfo")));
    EXPECT_NE(texts[0].find("is a folder"), std::string::npos);
    EXPECT_NE(texts[0], job_messages::kMissing);
    EXPECT_NE(texts[1].find("is a folder"), std::string::npos) << texts[1];
    EXPECT_TRUE(fs::is_directory(path("jobs.tfo")));
    EXPECT_EQ(fingerprint(job), before);
}

// An always-Yes prompter: every prefix goes as deep into the reader as it can.
class YesPrompter : public platform::Prompter {
  public:
    int shown = 0;

  protected:
    Answer showMessage(const std::string&, platform::Buttons b, const std::string&, platform::Icon) override {
        ++shown;
        return b == platform::Buttons::Ok ? Answer::Ok : Answer::Yes;
    }
    int showCustom(const std::string&, const std::string&, const std::vector<std::string>&) override {
        return 1;
    }
    std::optional<std::string> showInput(const std::string&, const std::string&,
                                         const std::string&) override {
        return std::nullopt;
    }
};

TEST_F(JobCommandsTest, EveryPrefixOfAJobFileIsRefusedAndTheCurrentJobStays) {
    JobFileWriteNotes notes;
    const std::string full = writeJobFile(testing::makeFullJob(), notes);
    JobState current = testing::makePointJob(2);
    current.CurrentJobFile = "/jobs/current.tfo";
    const std::string before = fingerprint(current);
    YesPrompter yes;
    FakeJobWindow w(current);
    JobCommands c(current, yes, dialogs, w);
    const std::size_t endOfItem14 = full.size() - (4 + 23) - 24;
    for (std::size_t n = 0; n < full.size(); n += (n < 600 ? 1 : 7)) {
        if (n == endOfItem14) continue;  // the complete 14-item layout, without the trailing item
        ASSERT_FALSE(c.openJobBytes(std::string_view(full).substr(0, n), "/jobs/cut.tfo")) << n;
    }
    EXPECT_EQ(fingerprint(current), before);
    EXPECT_TRUE(w.calls.empty());
}

TEST_F(JobCommandsTest, VersionMessagesFollowTheFileVersion) {
    auto withHeader = [](const std::string& bytes, const std::string& version) {
        return std::string("\x06\x00\x00\x00", 4) + version + bytes.substr(10);
    };
    JobFileWriteNotes notes;
    const std::string current = writeJobFile(testing::makePointJob(2), notes);
    auto c = commands();
    ASSERT_TRUE(c.openJobBytes(current, path("x.tfo")));
    EXPECT_TRUE(prompter.shown().empty());
    ASSERT_TRUE(c.openJobBytes(withHeader(current, "3.0.00"), path("x.tfo")));
    ASSERT_TRUE(c.openJobBytes(withHeader(current, "2.0.60"), path("x.tfo")));
    auto texts = prompter.texts();
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0],
              "File Version is higher than your Softwareversion!\r\n\r\nFile Version is 3.0.00\r\nSoftware "
              "Version is "
              "2.0.63\r\nThis can cause trouble with your data!");
    EXPECT_EQ(texts[1],
              "File Version is lower than your Softwareversion!\r\n\r\nFile Version is 2.0.60\r\nSoftware "
              "Version is "
              "2.0.63\r\nKalvoreth will convert Job to actual Softwareversion");
}

TEST_F(JobCommandsTest, SaveIntoAReadOnlyFolderFailsAndKeepsTheOldFile) {
    std::string target = path("job.tfo");
    std::ofstream(target) << "old contents";
    job.CurrentJobFile = target;
    job.JobDirty = true;
    fs::permissions(dir, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                             fs::perms::others_read | fs::perms::others_exec);
    // Root passes permission checks; a file-system identity of nobody makes the folder count.
    const uid_t previous = ::setfsuid(65534);
    bool saved = commands().saveJobCommand();
    ::setfsuid(previous);
    EXPECT_FALSE(saved);
    EXPECT_EQ(readFileBytes(target), "old contents");
    EXPECT_TRUE(job.JobDirty);
    EXPECT_TRUE(job.RecentFiles[1].empty());
    ASSERT_EQ(prompter.texts().size(), 1u);
    EXPECT_EQ(prompter.texts()[0].rfind("The job could not be saved to " + target + ".\r\n\r\n", 0), 0u);
    EXPECT_NE(prompter.texts()[0].find("Permission denied"), std::string::npos) << prompter.texts()[0];
}

TEST_F(JobCommandsTest, SaveOntoAFullDiskFailsAndLeavesTheOldFileAndNoTemporaryFile) {
    std::string target = path("job.tfo");
    std::ofstream(target) << "old contents";
    dialogs.answer(target);
    auto c = commands();
    // The disk fills after 1000 bytes: writes beyond fail with EFBIG, as with ENOSPC.
    struct sigaction ignore {
    }, old{};
    ignore.sa_handler = SIG_IGN;
    ::sigaction(SIGXFSZ, &ignore, &old);
    rlimit limit{}, saved{};
    ::getrlimit(RLIMIT_FSIZE, &saved);
    limit = saved;
    limit.rlim_cur = 1000;
    ::setrlimit(RLIMIT_FSIZE, &limit);
    bool ok = c.saveJobAsCommand();
    ::setrlimit(RLIMIT_FSIZE, &saved);
    ::sigaction(SIGXFSZ, &old, nullptr);
    EXPECT_FALSE(ok);
    EXPECT_EQ(readFileBytes(target), "old contents");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
    EXPECT_EQ(job.CurrentJobFile, kUntitledJobFile);  // the name goes back: nothing was written there
    EXPECT_TRUE(job.RecentFiles[1].empty());
    ASSERT_EQ(prompter.texts().size(), 1u);
    EXPECT_NE(prompter.texts()[0].find("File too large"), std::string::npos) << prompter.texts()[0];
}

// Changed job × {Yes, No} × {save succeeds, is cancelled, fails} for New, Open, a recent entry and
// Exit: the command goes on only after No or a save that happened.
TEST_F(JobCommandsTest, ChangedJobFlowsGoOnOnlyAfterNoOrASave) {
    enum class Save { Succeeds, Cancelled, Fails };
    enum class Command { New, Open, Recent, Exit };
    for (Command command : {Command::New, Command::Open, Command::Recent, Command::Exit})
        for (Answer answer : {Answer::Yes, Answer::No})
            for (Save save : {Save::Succeeds, Save::Cancelled, Save::Fails}) {
                SCOPED_TRACE(::testing::Message() << "command " << static_cast<int>(command) << ", answer "
                                                  << (answer == Answer::Yes ? "Yes" : "No") << ", save "
                                                  << static_cast<int>(save));
                job = testing::makeFullJob();
                job.JobDirty = true;
                job.LastDialogFolder = dir.string() + "/";
                job.CurrentJobFile = save == Save::Succeeds ? path("mine.tfo")
                                     : save == Save::Fails  ? path("no-such-folder/mine.tfo")
                                                            : std::string(kUntitledJobFile);
                fs::remove(path("mine.tfo"));
                const std::string other = otherJobFile();
                job.RecentFiles = {"", other, "", "", ""};
                prompter = testing::FakePrompter();
                dialogs = testing::FakeFileDialogs();
                prompter.answer(answer);
                const bool yes = answer == Answer::Yes;
                if (yes && save == Save::Cancelled) dialogs.answer(std::nullopt);  // the Save as dialog
                const bool saved = yes && save == Save::Succeeds;
                const bool goOn = !yes || saved;
                if (goOn && command == Command::New) dialogs.answer(path("new.tfo"));
                if (goOn && command == Command::Open) dialogs.answer(other);
                const std::string before = fingerprint(job);

                auto c = commands();
                bool closed = false;
                switch (command) {
                    case Command::New:
                        c.newJob();
                        break;
                    case Command::Open:
                        c.openJobChosen();
                        break;
                    case Command::Recent:
                        c.openRecentFile(1);
                        break;
                    case Command::Exit:
                        closed = c.queryClose();
                        break;
                }
                EXPECT_TRUE(dialogs.exhausted());
                EXPECT_TRUE(prompter.exhausted());
                EXPECT_EQ(fs::exists(path("mine.tfo")), saved);
                if (!goOn) {
                    EXPECT_EQ(fingerprint(job), before) << "the job was given up";
                    EXPECT_TRUE(job.JobDirty);
                    EXPECT_FALSE(closed);
                    continue;
                }
                switch (command) {
                    case Command::New:
                        EXPECT_EQ(job.CurrentJobFile, path("new.tfo"));
                        EXPECT_FALSE(job.DataLoaded);
                        EXPECT_FALSE(job.JobDirty);
                        EXPECT_FALSE(fs::exists(path("new.tfo")));
                        break;
                    case Command::Open:
                    case Command::Recent:
                        EXPECT_EQ(job.CurrentJobFile, other);
                        EXPECT_EQ(job.NameMCS, "other");
                        EXPECT_FALSE(job.JobDirty);
                        break;
                    case Command::Exit:
                        EXPECT_TRUE(closed);
                        break;
                }
            }
}

TEST_F(JobCommandsTest, RecentFilesMoveByExactPathAndNeverListTheUntitledJob) {
    struct Case {
        const char* name;
        std::array<std::string, 5> before;
        std::string saved;
        std::array<std::string, 5> after;
    };
    const Case cases[] = {
        {"slot 3 moves to the top", {"", "a", "b", "c", "d"}, "c", {"", "c", "a", "b", "d"}},
        {"a new path drops slot 4", {"", "a", "b", "c", "d"}, "e", {"", "e", "a", "b", "c"}},
        {"slot 1 stays", {"", "a", "b", "c", "d"}, "a", {"", "a", "b", "c", "d"}},
        {"another letter case is another path",
         {"", "a", "/x/Job.tfo", "", ""},
         "/x/job.tfo",
         {"", "/x/job.tfo", "a", "/x/Job.tfo", ""}},
        {"the untitled job in any case", {"", "a", "", "", ""}, "..\\DEFAULT.TFO", {"", "a", "", "", ""}},
    };
    for (const auto& c : cases) {
        job.RecentFiles = c.before;
        job.CurrentJobFile = c.saved;
        settings.clear();
        commands().pushRecentFile();
        EXPECT_EQ(job.RecentFiles, c.after) << c.name;
        if (c.before != c.after) {
            for (int i = 1; i <= 4; ++i)
                EXPECT_EQ(settings["Files/LastFile" + std::to_string(i)], c.after[i]) << c.name;
        }
    }
}

TEST_F(JobCommandsTest, AFailingRecentFilesWriteIsReportedAndTheSaveStillCounts) {
    job.CurrentJobFile = path("a.tfo");
    job.JobDirty = true;
    settingsFail = true;
    EXPECT_TRUE(commands().saveJobCommand());
    EXPECT_FALSE(job.JobDirty);
    EXPECT_EQ(job.RecentFiles[1], path("a.tfo"));
    ASSERT_EQ(prompter.texts().size(), 1u);
    EXPECT_NE(prompter.texts()[0].find("recent files"), std::string::npos);
}

TEST_F(JobCommandsTest, SaveWithoutDataIsRefusedAndUntitledSaveAsksForAName) {
    job.DataLoaded = false;
    EXPECT_FALSE(commands().saveJobCommand());
    EXPECT_EQ(prompter.texts(), std::vector<std::string>{job_messages::kNoData});
    job.DataLoaded = true;
    dialogs.answer(std::nullopt);
    EXPECT_FALSE(commands().saveJobCommand());
    ASSERT_EQ(dialogs.shown().size(), 1u);
    EXPECT_EQ(dialogs.shown()[0].title, "File save as");
}

TEST_F(JobCommandsTest, NewAsksForANameAndStartsAnEmptyJobWithoutWriting) {
    dialogs.answer(path("fresh.tfo"));
    commands().newJob();
    ASSERT_EQ(dialogs.shown().size(), 1u);
    EXPECT_EQ(dialogs.shown()[0].title, "New File ");
    EXPECT_EQ(dialogs.shown()[0].filter, "tfo Dateien (*.tfo);;Alle Dateien (*)");
    EXPECT_EQ(dialogs.shown()[0].folder, dir.string() + "/");
    EXPECT_EQ(job.CurrentJobFile, path("fresh.tfo"));
    EXPECT_EQ(job.McsCount, 0);
    EXPECT_EQ(job.UseFlags.size(), 1u);
    EXPECT_FALSE(job.DataLoaded);
    EXPECT_FALSE(fs::exists(path("fresh.tfo")));
    // No point of the old job is saved with the new one.
    JobFileWriteNotes notes;
    std::string bytes = writeJobFile(job, notes);
    auto back = readJobFile(bytes, probeJobFileHeader(bytes));
    EXPECT_EQ(back.job.MCS_Name.size(), 1u);
    EXPECT_EQ(back.job.MCSt_X.upper(), 0);
}

TEST_F(JobCommandsTest, OffsetVectorSurvivesSaveAndReopen) {
    job.Params[kRvecX] = 0.125;
    job.Params[kRvecY] = -7.0;
    job.Params[kRvecZ] = 1e-7;
    job.CurrentJobFile = path("v.tfo");
    ASSERT_TRUE(commands().saveJobCommand());
    JobState back;
    FakeJobWindow w(back);
    JobCommands c(back, prompter, dialogs, w);
    ASSERT_TRUE(c.openJobAt(path("v.tfo")));
    EXPECT_EQ(back.Params[kRvecX], 0.125);
    EXPECT_EQ(back.Params[kRvecY], -7.0);
    EXPECT_EQ(back.Params[kRvecZ], 1e-7);
    EXPECT_FALSE(back.AutoRecalc);
    EXPECT_FALSE(back.TrafoCalculated);
}

}  // namespace
}  // namespace kal
