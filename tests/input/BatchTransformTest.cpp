#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "input/BatchTransform.h"
#include "support/FakePlatform.h"
#include "support/FakeProgress.h"
#include "support/KnownTransformJob.h"
#include "support/TempDir.h"

namespace kal {
namespace {

namespace fs = std::filesystem;
using testing::FakeProgress;
using testing::FakePrompter;
using testing::ShownBox;
using testing::TempDir;

// A calculated pure translation (10, 20, 30) mm, millimetre with 3 decimals.
JobState translatedJob(const char* lengthUnit = "millimeter") {
    JobState job;
    testing::setMillimetreDegree(job, lengthUnit);
    job.TraX() = 10, job.TraY() = 20, job.TraZ() = 30;
    job.ScaleX() = job.ScaleY() = job.ScaleZ() = 1;
    job.TrafoCalculated = true;
    return job;
}

// The bytes of a literal, embedded NULs included.
template <std::size_t N>
std::string bytesOf(const char (&s)[N]) {
    return std::string(s, N - 1);
}

void writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

struct Folders {
    TempDir dir;
    std::string mcs, tcs;
    explicit Folders(const std::string& tcsName = "tcs") {
        mcs = dir.file("mcs"), tcs = dir.file(tcsName);
        fs::create_directories(mcs), fs::create_directories(tcs);
    }
    std::string in(const std::string& name, const std::string& bytes) const {
        writeFile(mcs + "/" + name, bytes);
        return mcs + "/" + name;
    }
    std::string out(const std::string& name) const { return tcs + "/" + name; }
    BatchChoices choices() const { return {mcs, tcs}; }
};

struct BatchRig {
    FakePrompter prompter;
    FakeProgress progress;
    BatchServices services() {
        BatchServices s;
        s.prompter = &prompter, s.progress = &progress;
        return s;
    }
    std::vector<const ShownBox*> questions() const {
        std::vector<const ShownBox*> q;
        for (const auto& b : prompter.shown())
            if (b.kind == ShownBox::Custom) q.push_back(&b);
        return q;
    }
};

std::string slurp(const std::string& path) { return TempDir::read(path); }

TEST(BatchTransform, OutputNameIsCutAtTheFirstDot) {
    const std::pair<const char*, const char*> cases[] = {
        {"points.txt", "points_out.txt"}, {"points.old.txt", "points_out.old.txt"},
        {"noext", "noext_out"},           {".hidden", "_out.hidden"},
        {"trailing.", "trailing_out."},   {"Zelle 1.TXT", "Zelle 1_out.TXT"},
    };
    for (const auto& [in, out] : cases) EXPECT_EQ(batchOutputName(in), out) << in;
}

TEST(BatchTransform, FolderTextsEndWithOneSlash) {
    EXPECT_EQ(folderWithSeparator("C:\\data\\"), "C:\\data/");
    EXPECT_EQ(folderWithSeparator("/home/u/data"), "/home/u/data/");
    EXPECT_EQ(folderWithSeparator("/home/u/data/"), "/home/u/data/");
    EXPECT_EQ(folderWithSeparator(""), "");
}

// Each input gives its output bytes exactly: names, display unit and digits, "." whatever the
// system's separator, Tabs, CR LF; three-column files are named by point count.
TEST(BatchTransform, OutputLinesInDisplayUnitWithPointTabsAndCrLf) {
    struct Case {
        const char* what;
        const char* unit;
        char separator;
        const char* input;
        const char* expected;
    };
    const Case cases[] = {
        {"translation", "millimeter", '.', "P1;1;2;3", "P1\t11.000\t22.000\t33.000\r\n"},
        {"metre", "meter", '.', "P1;1;2;3\r\n", "P1\t1.010\t2.020\t3.030\r\n"},
        {"comma system", "millimeter", ',', "P1;1,5;-2,25;3\nP2;0;0;-30\n",
         "P1\t11.500\t17.750\t33.000\r\nP2\t10.000\t20.000\t0.000\r\n"},
        {"three columns, empty line", "millimeter", '.', "1 2 3\n\n4 5 6\n",
         "1\t11.000\t22.000\t33.000\r\n2\t14.000\t25.000\t36.000\r\n"},
        {"Tab file, name with a blank", "millimeter", '.', "Point 7\t0\t0\t0\r\n",
         "Point 7\t10.000\t20.000\t30.000\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Folders f("old.data");  // a dot in the target folder's name does not move the output
        f.in("points.txt", c.input);
        BatchRig run;
        auto services = run.services();
        services.decimalSeparator = c.separator;
        const auto outcome = runBatchTransform(translatedJob(c.unit), f.choices(), services);
        EXPECT_EQ(outcome.end, BatchOutcome::End::Completed);
        ASSERT_EQ(outcome.written, std::vector<std::string>{f.out("points_out.txt")});
        EXPECT_EQ(slurp(f.out("points_out.txt")), c.expected);
        EXPECT_TRUE(outcome.skipped.empty());
    }
}

TEST(BatchTransform, FilesThatAreNoPointFilesAreSkippedListedAndLeftAlone) {
    Folders f;
    const std::string ini = "[Settings]\r\nBatchType=1\r\nBatchMCSDir=C:\\data\\\r\n[LastEntry]\r\n";
    const std::string job = bytesOf("1.2.3\0\0\0\x05\0P1;1;2;3\r\n");
    const std::string binary = bytesOf("\x89PNG\r\n\x1a\n\0\0\0\rIHDR 1 2 3\n");
    const auto iniPath = f.in("Kalvoreth.ini", ini);
    const auto jobPath = f.in("cell.tfo", job);
    const auto binPath = f.in("photo.png", binary);
    f.in("a.txt", "P1;1;2;3\r\n");
    f.in("b.txt", "Q1 0 0 0\r\nQ2 1 1 1\r\n");
    BatchRig run;
    const auto outcome = runBatchTransform(translatedJob(), f.choices(), run.services());

    EXPECT_EQ(outcome.end, BatchOutcome::End::Completed);
    EXPECT_EQ(outcome.fileCount, 5);
    EXPECT_EQ(outcome.written, (std::vector<std::string>{f.out("a_out.txt"), f.out("b_out.txt")}));
    ASSERT_EQ(outcome.skipped.size(), 3u);
    std::vector<std::string> skipped;
    for (const auto& s : outcome.skipped) skipped.push_back(s.path);
    std::sort(skipped.begin(), skipped.end());
    EXPECT_EQ(skipped, (std::vector<std::string>{iniPath, jobPath, binPath}));
    EXPECT_EQ(slurp(iniPath), ini);
    EXPECT_EQ(slurp(jobPath), job);
    EXPECT_EQ(slurp(binPath), binary);
    EXPECT_EQ(std::distance(fs::directory_iterator(f.mcs), fs::directory_iterator()), 5);  // no backups
    EXPECT_EQ(std::distance(fs::directory_iterator(f.tcs), fs::directory_iterator()), 2);
    EXPECT_EQ(slurp(f.out("b_out.txt")), "Q1\t10.000\t20.000\t30.000\r\nQ2\t11.000\t21.000\t31.000\r\n");
    // No question about them, and one list at the end naming all three.
    ASSERT_EQ(run.prompter.shown().size(), 1u);
    const auto& list = run.prompter.shown().back().text;
    for (const auto& p : {iniPath, jobPath, binPath}) EXPECT_NE(list.find(p), std::string::npos) << p;
    EXPECT_EQ(list, batchSummary(outcome));
}

TEST(BatchTransform, TextTheCheckRefusesAndAnEarlierOutputAreSkipped) {
    Folders f;
    f.in("points.txt", "P1;1;2;3\r\n");
    const std::string notes = "Measured on Monday by the night shift.\r\nAsk Anna about it.\r\n";
    const auto notesPath = f.in("notes.txt", notes);
    const auto oldOutput = f.in("points_out.txt", "P1\t11.000\t22.000\t33.000\r\n");
    writeFile(f.out("points_out.txt"), "old");
    BatchRig run;
    run.prompter.answerCustom(1);
    const auto outcome = runBatchTransform(translatedJob(), f.choices(), run.services());
    EXPECT_EQ(outcome.written, (std::vector<std::string>{f.out("points_out.txt")}));
    ASSERT_EQ(outcome.skipped.size(), 2u);
    EXPECT_EQ(outcome.skipped[0].path, notesPath);
    EXPECT_EQ(outcome.skipped[1].path, oldOutput);  // never read as an input: it is points.txt's output
    EXPECT_EQ(slurp(notesPath), notes);
    EXPECT_FALSE(fs::exists(f.out("notes_out.txt")));
}

TEST(BatchTransform, SameFolderForBothKeepsOutputsBesideInputsAndDoesNotReadThem) {
    Folders f;
    f.in("points.txt", "P1;1;2;3\r\n");
    BatchRig first;
    auto outcome = runBatchTransform(translatedJob(), {f.mcs, f.mcs + "/"}, first.services());
    EXPECT_EQ(outcome.written, std::vector<std::string>{f.mcs + "/points_out.txt"});
    EXPECT_TRUE(first.prompter.shown().empty());

    BatchRig second;
    second.prompter.answerCustom(1);
    outcome = runBatchTransform(translatedJob(), {f.mcs, f.mcs}, second.services());
    EXPECT_EQ(outcome.written, std::vector<std::string>{f.mcs + "/points_out.txt"});
    ASSERT_EQ(outcome.skipped.size(), 1u);
    EXPECT_EQ(outcome.skipped[0].path, f.mcs + "/points_out.txt");
    EXPECT_FALSE(fs::exists(f.mcs + "/points_out_out.txt"));
}

TEST(BatchTransform, OverwriteQuestionAnsweredEachWay) {
    struct Case {
        const char* what;
        std::vector<int> answers;
        int questions;
        int overwritten;  // of a, b, c in order
        BatchOutcome::End end;
    };
    const Case cases[] = {
        {"overwrite each", {1, 1, 1}, 3, 3, BatchOutcome::End::Completed},
        {"overwrite all once", {2}, 1, 3, BatchOutcome::End::Completed},
        {"overwrite, then cancel", {1, 3}, 2, 1, BatchOutcome::End::Cancelled},
        {"cancel at once", {3}, 1, 0, BatchOutcome::End::Cancelled},
        {"close box", {0}, 1, 0, BatchOutcome::End::Cancelled},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Folders f;
        for (const char* n : {"a", "b", "c"}) {
            f.in(std::string(n) + ".txt", "P1;1;2;3\r\n");
            writeFile(f.out(std::string(n) + "_out.txt"), "old");
        }
        BatchRig run;
        for (int a : c.answers) run.prompter.answerCustom(a);
        const auto outcome = runBatchTransform(translatedJob(), f.choices(), run.services());
        EXPECT_EQ(outcome.end, c.end);
        EXPECT_TRUE(run.prompter.exhausted());
        const auto q = run.questions();
        ASSERT_EQ(static_cast<int>(q.size()), c.questions);
        EXPECT_EQ(q[0]->text, "File \r\n" + f.out("a_out.txt") + "\r\n does allready exist, will you..");
        EXPECT_EQ(q[0]->title, "File does exist");
        EXPECT_EQ(q[0]->captions, (std::vector<std::string>{"overwrite", "overwrite all ", "Cancel Batch"}));
        int k = 0;
        for (const char* n : {"a", "b", "c"})
            EXPECT_EQ(slurp(f.out(std::string(n) + "_out.txt")) != "old", k++ < c.overwritten) << n;
        EXPECT_FALSE(run.progress.isOpen);
    }
}

TEST(BatchTransform, OverwriteAllHoldsForOneRunOnly) {
    Folders f;
    f.in("a.txt", "P1;1;2;3\r\n");
    f.in("b.txt", "P1;1;2;3\r\n");
    for (int r = 0; r < 2; ++r) {
        BatchRig run;
        run.prompter.answerCustom(2);
        runBatchTransform(translatedJob(), f.choices(), run.services());
        EXPECT_EQ(run.questions().size(), r == 0 ? 0u : 1u);
    }
}

TEST(BatchTransform, StopEndsTheRunBetweenFiles) {
    Folders f;
    for (const char* n : {"a", "b", "c"}) f.in(std::string(n) + ".txt", "P1;1;2;3\r\n");
    BatchRig run;
    std::vector<std::string> status;
    auto services = run.services();
    services.showStatus = [&](const std::string& count, const std::string& path) {
        status.push_back(count + " | " + path);
    };
    run.progress.onValue = [&](int) { run.progress.stop = true; };  // Stop pressed while file 1 ran
    const auto outcome = runBatchTransform(translatedJob(), f.choices(), services);
    EXPECT_EQ(outcome.end, BatchOutcome::End::Stopped);
    EXPECT_EQ(outcome.written, std::vector<std::string>{f.out("a_out.txt")});
    EXPECT_FALSE(fs::exists(f.out("b_out.txt")));
    EXPECT_EQ(status, std::vector<std::string>{"Calculating on File 1 of 3 Files | " + f.mcs + "/a.txt"});
    EXPECT_EQ(run.progress.captions, std::vector<std::string>{"Batch File Transform - Progress"});
    EXPECT_EQ(run.progress.values, std::vector<int>{33});
    EXPECT_EQ(run.progress.closes, 1);
}

TEST(BatchTransform, AnOutputThatCannotBeCreatedIsListedAndTheRunGoesOn) {
    Folders f;
    for (const char* n : {"a", "b"}) f.in(std::string(n) + ".txt", "P1;1;2;3\r\n");
    fs::create_directories(f.out("a_out.txt") + "/inside");  // a folder in the way
    BatchRig run;
    const auto outcome = runBatchTransform(translatedJob(), f.choices(), run.services());
    EXPECT_EQ(outcome.end, BatchOutcome::End::Completed);
    ASSERT_EQ(outcome.notCreated.size(), 1u);
    EXPECT_EQ(outcome.notCreated[0].path, f.out("a_out.txt"));
    EXPECT_FALSE(outcome.notCreated[0].reason.empty());
    EXPECT_EQ(outcome.written, std::vector<std::string>{f.out("b_out.txt")});
    EXPECT_TRUE(fs::is_directory(f.out("a_out.txt") + "/inside"));
    ASSERT_EQ(run.prompter.shown().size(), 1u);
    EXPECT_NE(run.prompter.shown()[0].text.find(f.out("a_out.txt")), std::string::npos);

    // A missing target folder: every output listed, no file anywhere else.
    BatchRig missing;
    const auto none = runBatchTransform(translatedJob(), {f.mcs, f.dir.file("nowhere")}, missing.services());
    EXPECT_EQ(none.notCreated.size(), 2u);
    EXPECT_TRUE(none.written.empty());
    EXPECT_FALSE(fs::exists(f.dir.file("nowhere")));
}

TEST(BatchTransform, RefusedWithoutTransformationOrFolder) {
    Folders f;
    f.in("a.txt", "P1;1;2;3\r\n");
    JobState notCalculated = translatedJob();
    notCalculated.TrafoCalculated = false;
    struct Case {
        JobState job;
        BatchChoices choices;
        const char* message;
    };
    const Case cases[] = {
        {notCalculated, f.choices(), "No Transformation calculated"},
        {translatedJob(), {"", f.tcs}, "No MCS Directory choosen"},
        {translatedJob(), {f.mcs, ""}, "No TCS Directory choosen"},
    };
    for (const auto& c : cases) {
        BatchRig run;
        const auto outcome = runBatchTransform(c.job, c.choices, run.services());
        EXPECT_EQ(outcome.end, BatchOutcome::End::Refused);
        EXPECT_EQ(run.prompter.texts(), std::vector<std::string>{c.message});
        EXPECT_TRUE(run.progress.captions.empty());
    }
    EXPECT_FALSE(fs::exists(f.out("a_out.txt")));
}

// The folders and option numbers are stored once the run accepted them, before any file is
// read; a refused run stores nothing.
TEST(BatchTransform, SettingsAreStoredOnlyByARunThatStarts) {
    Folders f;
    f.in("a.txt", "P1;1;2;3\r\n");
    std::vector<std::vector<IniEntry>> stored;
    auto record = [&](const std::vector<IniEntry>& e) { stored.push_back(e); };

    BatchRig refused;
    auto services = refused.services();
    services.writeSettings = record;
    runBatchTransform(translatedJob(), {"", f.tcs}, services);
    EXPECT_TRUE(stored.empty());

    BatchRig run;
    services = run.services();
    services.writeSettings = record;
    runBatchTransform(translatedJob(), {f.mcs, f.tcs + "\\", 1, 2}, services);
    ASSERT_EQ(stored.size(), 1u);
    std::vector<std::string> lines;
    for (const auto& e : stored[0]) lines.push_back(e.section + "|" + e.key + "=" + e.value.text());
    EXPECT_EQ(lines, (std::vector<std::string>{"Roots|BatchMCSDir=" + f.mcs + "/",
                                               "Roots|BatchTCSDir=" + f.tcs + "/", "Settings|BatchType=1",
                                               "Settings|BatchWriteType=2"}));
}

TEST(BatchTransform, WindowOpensWithTheStoredFoldersOrTheDefault) {
    TempDir dir;
    const std::string ini = dir.write("Kalvoreth.ini",
                                      "[Roots]\r\nBatchMCSDir=C:\\cell\\\r\n\r\n[Settings]\r\nBatchType=2\r\n"
                                      "BatchWriteType=7\r\n\r\n[LastEntry]\r\n");
    EXPECT_EQ(batchWindowSettings(ini, "/data"), (BatchWindowSettings{"C:\\cell/", "/data", 2, 1}));
    EXPECT_EQ(batchWindowSettings(dir.file("none.ini"), "/data"),
              (BatchWindowSettings{"/data", "/data", 1, 1}));

    // What a run stores, the next opening shows.
    writeIniValues(ini, batchSettingsEntries({"/m", "/t/", 1, 2}));
    EXPECT_EQ(batchWindowSettings(ini, "/data"), (BatchWindowSettings{"/m/", "/t/", 1, 2}));
}

}  // namespace
}  // namespace kal
