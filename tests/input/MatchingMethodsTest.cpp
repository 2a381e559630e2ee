#include <gtest/gtest.h>

#include <filesystem>

#include "input/EttaPrompt.h"
#include "input/MatchingMethods.h"
#include "platform/Regional.h"
#include "support/FakePlatform.h"
#include "support/FakeProgress.h"
#include "support/TempDir.h"

namespace kal {
namespace {

using Names = std::vector<std::string>;

PointSet points(std::initializer_list<std::tuple<const char*, double, double, double>> list) {
    PointSet set;
    for (const auto& [name, x, y, z] : list) set.add(name, x, y, z);
    return set;
}

std::vector<std::string> filesIn(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(folder))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

TEST(CoordinateFlow, GreedyPairsWithPrefixesAndUnitScales) {
    platform::ScopedDecimalSeparator point('.');
    testing::FakePrompter prompter;
    prompter.answerInput("0.8");
    PointSet mcs = points({{"A", 0, 0, 0}, {"B", 0.5, 0, 0}});
    PointSet ocs = points({{"X", 0.45, 0, 0}, {"Y", -0.5, 0, 0}});
    const auto outcome = matchByCoordinates(mcs, ocs, MatchingRequest{}, prompter);
    EXPECT_FALSE(outcome.loadEnds);
    EXPECT_EQ(outcome.identicalCount, 1);
    EXPECT_EQ(mcs.names, (Names{"", "MCS_A=OCS_X", "MCS_B"}));
    EXPECT_EQ(ocs.names, (Names{"", "MCS_A=OCS_X", "OCS_Y"}));
    EXPECT_EQ(prompter.shown().at(0).title, "Etta Value");

    JobState job;
    job.ScaleX() = 1.2, job.ScaleY() = 0.9, job.ScaleZ() = 1.1, job.TraX() = 7;
    applyMatchingOutcome(outcome, job);
    EXPECT_EQ(job.ScaleX(), 1.0);
    EXPECT_EQ(job.ScaleZ(), 1.0);
    EXPECT_EQ(job.TraX(), 7.0);
}

TEST(CoordinateFlow, EmptyToleranceEndsTheLoadAndRobotFormatsAreRefused) {
    testing::FakePrompter prompter;
    prompter.answerInput("");
    PointSet mcs = points({{"A", 0, 0, 0}}), ocs = points({{"X", 0, 0, 0}});
    EXPECT_TRUE(matchByCoordinates(mcs, ocs, MatchingRequest{}, prompter).loadEnds);
    EXPECT_EQ(mcs.names, (Names{"", "A"}));

    MatchingRequest kuka;
    kuka.ocsFormat = kOcsKuka;
    EXPECT_TRUE(matchByCoordinates(mcs, ocs, kuka, prompter).loadEnds);
    testing::FakeProgress progress;
    EXPECT_TRUE(matchByDistances(mcs, ocs, kuka, JobState(), {&prompter, nullptr, &progress}).loadEnds);
    EXPECT_EQ(prompter.texts(), (std::vector<std::string>{ettaPromptText(MatchingMethod::ByCoordinates),
                                                          kGeometryNeedsAscii, kGeometryNeedsAscii}));
    EXPECT_TRUE(progress.captions.empty());
}

struct RenameCase {
    testing::TempDir dir;
    std::string mcsFile, ocsFile;
    testing::FakePrompter prompter;
    MatchingRequest request;

    RenameCase(const std::string& mcsText, const std::string& ocsText) {
        mcsFile = dir.write("mcs.txt", mcsText);
        ocsFile = dir.write("ocs.txt", ocsText);
        request.mcsFileName = mcsFile, request.ocsFileName = ocsFile;
        request.fileDelimiter = ';';
        prompter.answerInput("0.5");
    }
};

TEST(CoordinateFlow, RenamedFileIsRewrittenAndTheOriginalKeptAsItsNextBackup) {
    platform::ScopedDecimalSeparator point('.');
    const std::string original = "A;0;0;0\nB;5;5;5\n";
    RenameCase c(original, "X;0.0001;0;0\n");
    c.dir.write("mcs.txt.$", "an older backup");
    c.request.renameMcs = true;
    c.request.lengthFactor = 0.001;  // the files were read in metres
    PointSet mcs = points({{"A", 0, 0, 0}, {"B", 5000, 5000, 5000}});
    PointSet ocs = points({{"X", 0.1, 0, 0}});
    const auto outcome = matchByCoordinates(mcs, ocs, c.request, c.prompter);
    EXPECT_FALSE(outcome.loadEnds);
    EXPECT_EQ(outcome.identicalCount, 1);
    EXPECT_EQ(mcs.names, (Names{"", "X", "B"}));  // no prefixes with a rename box
    EXPECT_EQ(ocs.names, (Names{"", "X"}));
    EXPECT_EQ(testing::TempDir::read(c.mcsFile), "X;0;0;0\r\nB;5;5;5\r\n");
    EXPECT_EQ(testing::TempDir::read(c.dir.file("mcs.txt.$.$")), original);
    EXPECT_EQ(testing::TempDir::read(c.dir.file("mcs.txt.$")), "an older backup");
    EXPECT_EQ(testing::TempDir::read(c.ocsFile), "X;0.0001;0;0\n");
    EXPECT_EQ(outcome.backups, (std::vector<std::string>{c.dir.file("mcs.txt.$.$")}));
    EXPECT_EQ(filesIn(c.dir.path()),
              (std::vector<std::string>{"mcs.txt", "mcs.txt.$", "mcs.txt.$.$", "ocs.txt"}));
}

TEST(CoordinateFlow, RenameThatWouldDoubleANameTouchesNoFile) {
    const std::string original = "A;0;0;0\r\nB;100;0;0\r\n";
    RenameCase c(original, "B;0.1;0;0\r\n");
    c.request.renameMcs = true;
    // A takes the OCS name B, which the unpaired MCS point B already has.
    PointSet mcs = points({{"A", 0, 0, 0}, {"B", 100, 0, 0}});
    PointSet ocs = points({{"B", 0.1, 0, 0}});
    const auto outcome = matchByCoordinates(mcs, ocs, c.request, c.prompter);
    EXPECT_TRUE(outcome.loadEnds);
    EXPECT_EQ(c.prompter.texts().back(),
              "There might be a double Pointnumber in the MCS File. \nPlease check Point Number B");
    EXPECT_EQ(testing::TempDir::read(c.mcsFile), original);
    EXPECT_EQ(filesIn(c.dir.path()), (std::vector<std::string>{"mcs.txt", "ocs.txt"}));
}

TEST(CoordinateFlow, FailedRewriteLeavesTheUsersFileAndEndsTheLoadWithAMessage) {
    const std::string original = "A;0;0;0\r\n";
    RenameCase c(original, "X;0.1;0;0\r\n");
    c.request.renameOcs = true;
    // A folder where the new text would be written first: the write fails before the original
    // is moved.
    std::filesystem::create_directory(c.dir.file("ocs.txt.kalvoreth-new"));
    std::filesystem::create_directory(c.dir.file("ocs.txt.kalvoreth-new/blocked"));
    PointSet mcs = points({{"A", 0, 0, 0}}), ocs = points({{"X", 0.1, 0, 0}});
    const auto outcome = matchByCoordinates(mcs, ocs, c.request, c.prompter);
    EXPECT_TRUE(outcome.loadEnds);
    EXPECT_TRUE(outcome.backups.empty());
    EXPECT_EQ(c.prompter.texts().back().rfind(
                  "The point names could not be written back; the files are unchanged.", 0),
              0u);
    EXPECT_EQ(testing::TempDir::read(c.ocsFile), "X;0.1;0;0\r\n");
    EXPECT_FALSE(std::filesystem::exists(c.dir.file("ocs.txt.$")));
}

TEST(CoordinateFlow, RewriteKeepsAWindows1252FileInItsEncoding) {
    platform::ScopedDecimalSeparator point('.');
    RenameCase c("A;0;0;0\r\n",
                 "Pr\xfc"
                 "f;0.1;0;0\r\n");  // "Prüf" in Windows-1252
    c.request.renameMcs = true;
    c.dir.write("mcs.txt", "B\xe4r;0;0;0\r\n");  // "Bär"
    PointSet mcs = points({{"B\xc3\xa4r", 0, 0, 0}}), ocs = points({{"Pr\xc3\xbc"
                                                                     "f",
                                                                     0.1, 0, 0}});
    const auto outcome = matchByCoordinates(mcs, ocs, c.request, c.prompter);
    EXPECT_FALSE(outcome.loadEnds);
    EXPECT_EQ(testing::TempDir::read(c.mcsFile),
              "Pr\xfc"
              "f;0;0;0\r\n");
}

TEST(DistanceFlow, TrianglePairsAndTheSeedBecomesTheJobsTransformation) {
    platform::ScopedDecimalSeparator point('.');
    testing::FakePrompter prompter;
    testing::FakeProgress progress;
    prompter.answerInput("0.8");
    PointSet mcs = points({{"P1", 0, 0, 0}, {"P2", 3, 0, 0}, {"P3", 0, 4, 0}, {"P4", 90, 90, 90}});
    PointSet ocs = points({{"Q1", 10, 10, 0}, {"Q2", 10, 13, 0}, {"Q3", 6, 10, 0}});
    MatchingRequest request;
    request.renameMcs = true;  // the rename boxes act in the coordinate flow only
    request.mcsFileName = "/nonexistent/mcs.txt";
    JobState job;
    job.RotX() = 0.25;
    const auto outcome = matchByDistances(mcs, ocs, request, job, {&prompter, nullptr, &progress});
    EXPECT_FALSE(outcome.loadEnds);
    EXPECT_EQ(outcome.identicalCount, 3);
    EXPECT_EQ(mcs.names, (Names{"", "MCS_P1=OCS_Q1", "MCS_P2=OCS_Q2", "MCS_P3=OCS_Q3", "MCS_P4"}));
    EXPECT_EQ(ocs.names, (Names{"", "MCS_P1=OCS_Q1", "MCS_P2=OCS_Q2", "MCS_P3=OCS_Q3"}));
    EXPECT_EQ(prompter.shown().at(0).text, ettaPromptText(MatchingMethod::ByDistances));
    ASSERT_TRUE(outcome.seed);
    applyMatchingOutcome(outcome, job);
    EXPECT_EQ(job.SeedPointIndex, (std::array<std::int32_t, 4>{0, 1, 2, 3}));
    EXPECT_EQ(job.RotXSeed, outcome.seed->RotXSeed);
    EXPECT_EQ(job.TraX(), outcome.seed->TraX);
    EXPECT_EQ(job.RotX(), 0.25);  // the seed rotation goes to the working copy only
}

TEST(DistanceFlow, UnsolvedSearchLetsTheLoadGoOnWithPrefixedNames) {
    testing::FakePrompter prompter;
    prompter.answerInput("0.8");
    PointSet mcs = points({{"P1", 0, 0, 0}, {"P2", 3, 0, 0}});
    PointSet ocs = points({{"Q1", 0, 0, 0}, {"Q2", 3, 0, 0}, {"Q3", 3, 3, 0}, {"Q4", 0, 3, 0}});
    const auto outcome = matchByDistances(mcs, ocs, MatchingRequest{}, JobState(), {&prompter});
    EXPECT_FALSE(outcome.loadEnds);
    EXPECT_EQ(outcome.identicalCount, 0);
    EXPECT_FALSE(outcome.seed);
    EXPECT_EQ(mcs.names, (Names{"", "MCS_P1", "MCS_P2"}));
    EXPECT_EQ(prompter.texts().back(),
              "Could not solve the auto find problem, maybe try changing ETTA Value");
}

}  // namespace
}  // namespace kal
