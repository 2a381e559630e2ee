#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <functional>
#include <numbers>

#include "input/MatchingMethods.h"
#include "input/PointLoad.h"
#include "jobfile/JobFileWriter.h"
#include "platform/Regional.h"
#include "shell/JobReset.h"
#include "support/CalculationFixture.h"
#include "support/FakePlatform.h"
#include "support/FakeProgress.h"
#include "support/TempDir.h"

namespace kal {
namespace {

using Names = std::vector<std::string>;
constexpr double kDeg = std::numbers::pi / 180.0;

std::string example(const std::string& name) { return std::string(KALVORETH_EXAMPLES) + "/" + name; }

class QuietMainWindow : public MainWindowView {
  public:
    void setMainCaption(const std::string&) override {}
    void showUnitNames(const std::string&, const std::string&) override {}
    void enableMainWindow(bool) override {}
    void refreshState() override {}
};

// A progress window whose user presses Cancel as soon as it shows.
class CancelAtOnce : public testing::FakeProgress {
  public:
    bool stopRequested() const override { return isOpen; }
};

// The cell of examples/: OCS = (1000 - y, x - 500, z + 250) of the MCS.
void expectCellPair(const JobState& job, std::int32_t k) {
    const auto i = static_cast<std::size_t>(k);
    EXPECT_NEAR(job.OCS_X[k], 1000.0 - job.MCS_Y[k], 1e-9) << job.MCS_Name[i];
    EXPECT_NEAR(job.OCS_Y[k], job.MCS_X[k] - 500.0, 1e-9) << job.MCS_Name[i];
    EXPECT_NEAR(job.OCS_Z[i], job.MCS_Z[i] + 250.0, 1e-9) << job.MCS_Name[i];
}

struct LoadFixture {
    platform::ScopedDecimalSeparator point{'.'};
    testing::TempDir dir;
    testing::FakePrompter prompter;
    testing::FakeEventPump events;
    testing::FakeProgress progress;
    CancelAtOnce cancelAtOnce;
    JobEvents hub;
    int replaced = 0;
    Subscription subscription;
    QuietMainWindow mainWindow;
    JobState job;
    PointLoadServices services;

    LoadFixture() {
        job.LengthUnitName = "millimeter", job.AngleUnitName = "degree";
        job.LengthFactor = 1.0, job.AngleFactor = 1.0 / kDeg;
        job.DigitLength = 3, job.DigitAngle = 4;
        subscription = hub.subscribe(JobEvent::PointsReplaced, Subscriber::Other, [this] { ++replaced; });
        services.prompter = &prompter;
        services.events = &events;
        services.progress = &progress;
        services.jobEvents = &hub;
        services.resetJob = [this](JobState& j) { initializeJob(j, mainWindow); };
    }

    std::string savedBytes() const {
        JobFileWriteNotes notes;
        return writeJobFile(job, notes);
    }
};

PointLoadRequest request(const std::string& mcs, const std::string& ocs, OcsFormat format = kOcsAscii,
                         PointMatchMethod method = PointMatchMethod::ByName) {
    PointLoadRequest r;
    r.mcsFile = mcs, r.ocsFile = ocs, r.ocsFormat = format, r.method = method;
    r.nameMcs = "Cell", r.nameOcs = "Robot";
    return r;
}

// ---- Every format with the method it allows, and the geometric methods on ASCII files ----

struct FormatCase {
    const char* label;
    const char* mcsFile;
    const char* ocsFile;
    OcsFormat format;
    PointMatchMethod method;
    const char* etta;  // the tolerance answered, or nullptr when none is asked
    Names mcsNames;    // after the load, in matching order
    bool withAngles;   // OcsAngles filled, point 4 with A -45°, B 30°, C 170°
    bool withRanges;   // AbcRange set (KUKA, quaternions)
    bool cellPairs;    // the pairs follow the cell's transformation
};

const Names kP = {"", "P1", "P2", "P3", "P4", "P5", "P6"};
const Names kN = {"", "1", "2", "3", "4", "5", "6"};

class LoadEachFormat : public ::testing::TestWithParam<FormatCase> {};

TEST_P(LoadEachFormat, CommitsPairsNamesAndAngles) {
    const FormatCase& c = GetParam();
    LoadFixture f;
    if (c.etta) f.prompter.answerInput(c.etta);
    const auto outcome =
        loadPoints(f.job, request(example(c.mcsFile), example(c.ocsFile), c.format, c.method), f.services);
    ASSERT_EQ(outcome.status, PointLoadStatus::Loaded) << ::testing::PrintToString(f.prompter.texts());
    EXPECT_EQ(f.job.IdenticalCount, 6);
    EXPECT_EQ(f.job.McsCount, 6);
    EXPECT_EQ(f.job.OcsCount, 6);
    EXPECT_EQ(f.job.McsOnlyCount, 0);
    EXPECT_EQ(f.job.MCS_Name, c.mcsNames);
    EXPECT_EQ(f.job.OCS_Name, c.mcsNames);
    EXPECT_EQ(f.job.MCSt_Name, c.mcsNames);
    std::vector<std::int16_t> allUsed(19, 1);
    allUsed[0] = 0;
    EXPECT_EQ(f.job.UseFlags, allUsed);
    EXPECT_EQ(f.job.MCSt_X.upper(), 6);
    EXPECT_EQ(f.job.MCSt_X[6], f.job.MCS_X[6]);
    if (c.cellPairs)
        for (std::int32_t k = 1; k <= 6; ++k) expectCellPair(f.job, k);
    if (c.withAngles) {
        ASSERT_EQ(f.job.OcsAngles.rows(), 6);
        EXPECT_NEAR(f.job.OcsAngles(4, 1), -45 * kDeg, 1e-6);
        EXPECT_NEAR(f.job.OcsAngles(4, 2), 30 * kDeg, 1e-6);
        EXPECT_NEAR(f.job.OcsAngles(4, 3), 170 * kDeg, 1e-6);
        EXPECT_NEAR(f.job.OcsAngles(2, 1), 90 * kDeg, 1e-6);
    } else {
        EXPECT_EQ(f.job.OcsAngles.rows(), 0);
    }
    if (c.withRanges)
        EXPECT_NEAR(f.job.AbcRange1, 225 * kDeg, 1e-6);  // A from -135° to 90°
    else
        EXPECT_EQ(f.job.AbcRange1, 0.0);
    EXPECT_TRUE(f.job.DataLoaded);
    EXPECT_TRUE(f.job.JobDirty);
    EXPECT_EQ(f.replaced, 1);
    EXPECT_EQ(f.job.MCS_FileName, example(c.mcsFile));
    EXPECT_EQ(f.job.OCS_FileName, example(c.ocsFile));
    EXPECT_EQ(f.job.OcsFormatIndex, c.format);
    EXPECT_EQ(f.job.NameMCS, "Cell");
    EXPECT_EQ(f.job.NameOCS, "Robot");
    ASSERT_EQ(outcome.settings.size(), 7u);
    EXPECT_EQ(outcome.settings[5].value.text(), example(c.ocsFile));
    EXPECT_EQ(outcome.settings[2].value.text(), std::string(KALVORETH_EXAMPLES));
    EXPECT_TRUE(f.prompter.exhausted());
}

INSTANTIATE_TEST_SUITE_P(
    Formats, LoadEachFormat,
    ::testing::Values(FormatCase{"AsciiByName", "cell-mcs.txt", "cell-ocs.txt", kOcsAscii,
                                 PointMatchMethod::ByName, nullptr, kP, false, false, true},
                      FormatCase{"KukaByName", "cell-mcs-xyz.txt", "cell-ocs.dat", kOcsKuka,
                                 PointMatchMethod::ByName, nullptr, kN, true, true, true},
                      FormatCase{"ModxByName", "cell-mcs.txt", "cell-ocs.modx", kOcsModx,
                                 PointMatchMethod::ByName, nullptr, kN, true, false, true},
                      FormatCase{"FanucByName", "cell-mcs-xyz.txt", "cell-ocs.ls", kOcsFanuc,
                                 PointMatchMethod::ByName, nullptr, kN, true, false, true},
                      FormatCase{"XyzAbcByName", "cell-mcs.txt", "cell-ocs-abc.txt", kOcsXyzAbc,
                                 PointMatchMethod::ByName, nullptr, kP, true, false, true},
                      FormatCase{"QuaternionByName", "cell-mcs.txt", "cell-ocs-quat.txt", kOcsQuat,
                                 PointMatchMethod::ByName, nullptr, kP, true, true, true},
                      FormatCase{"AsciiByDistances",
                                 "cell-mcs.txt",
                                 "cell-ocs.txt",
                                 kOcsAscii,
                                 PointMatchMethod::ByDistances,
                                 "0.8",
                                 {"", "MCS_P1=OCS_P1", "MCS_P2=OCS_P2", "MCS_P3=OCS_P3", "MCS_P4=OCS_P4",
                                  "MCS_P5=OCS_P5", "MCS_P6=OCS_P6"},
                                 false,
                                 false,
                                 true},
                      FormatCase{"AsciiByCoordinates",
                                 "cell-mcs.txt",
                                 "cell-mcs-xyz.txt",
                                 kOcsAscii,
                                 PointMatchMethod::ByCoordinates,
                                 "0.8",
                                 {"", "MCS_P1=OCS_1", "MCS_P2=OCS_2", "MCS_P3=OCS_3", "MCS_P4=OCS_4",
                                  "MCS_P5=OCS_5", "MCS_P6=OCS_6"},
                                 false,
                                 false,
                                 false}),
    [](const ::testing::TestParamInfo<FormatCase>& info) { return std::string(info.param.label); });

TEST(LoadPoints, DistanceMatchingSeedsTheCellsTransformation) {
    LoadFixture f;
    f.prompter.answerInput("0.8");
    const auto outcome = loadPoints(
        f.job,
        request(example("cell-mcs.txt"), example("cell-ocs.txt"), kOcsAscii, PointMatchMethod::ByDistances),
        f.services);
    ASSERT_EQ(outcome.status, PointLoadStatus::Loaded);
    EXPECT_NEAR(f.job.TraX(), 1000.0, 1e-6);
    EXPECT_NEAR(f.job.TraY(), -500.0, 1e-6);
    EXPECT_NEAR(f.job.TraZ(), 250.0, 1e-6);
    EXPECT_NEAR(f.job.RotZSeed, 90 * kDeg, 1e-9);
    EXPECT_EQ(f.job.SeedPointIndex, (std::array<std::int32_t, 4>{0, 1, 2, 3}));
    EXPECT_EQ(f.progress.captions, (std::vector<std::string>{kAutoFindCaption}));
}

TEST(LoadPoints, ACalculationRecoversTheLoadedCellsTransformation) {
    for (const auto& [mcs, ocs, format] : {std::tuple{"cell-mcs.txt", "cell-ocs.txt", kOcsAscii},
                                           std::tuple{"cell-mcs-xyz.txt", "cell-ocs.dat", kOcsKuka}}) {
        LoadFixture f;
        ASSERT_EQ(loadPoints(f.job, request(example(mcs), example(ocs), format), f.services).status,
                  PointLoadStatus::Loaded);
        // What the calculation window's set-up gives a fresh job: seeds, unit scales, the L2 norm.
        f.job.SeedPointIndex = {0, 1, 2, 3};
        f.job.SeedPointNames = {"", f.job.MCS_Name[1], f.job.MCS_Name[2], f.job.MCS_Name[3]};
        f.job.ScaleX() = f.job.ScaleY() = f.job.ScaleZ() = f.job.ScaleXYZ() = 1.0;
        f.job.MaxIteration = 100, f.job.NormMode = kNormL2, f.job.TrafoFormGeladen = true;
        testing::CalculationFixture calc(f.job);
        ASSERT_EQ(calc.calculate(), CalcStatus::Solved)
            << ocs << ::testing::PrintToString(calc.prompter.texts());
        EXPECT_NEAR(calc.job.TraX(), 1000.0, 1e-6) << ocs;
        EXPECT_NEAR(calc.job.TraY(), -500.0, 1e-6) << ocs;
        EXPECT_NEAR(calc.job.TraZ(), 250.0, 1e-6) << ocs;
        EXPECT_NEAR(calc.job.RotX(), 0.0, 1e-9) << ocs;
        EXPECT_NEAR(calc.job.RotY(), 0.0, 1e-9) << ocs;
        EXPECT_NEAR(std::abs(calc.job.RotZ()), 90 * kDeg, 1e-9) << ocs;  // a quarter turn about z
        for (std::int32_t k = 1; k <= 6; ++k) {
            EXPECT_NEAR(calc.job.MCSt_X[k], calc.job.OCS_X[k], 1e-6) << ocs << k;
            EXPECT_NEAR(calc.job.MCSt_Y[k], calc.job.OCS_Y[k], 1e-6) << ocs << k;
            EXPECT_NEAR(calc.job.MCSt_Z[static_cast<std::size_t>(k)],
                        calc.job.OCS_Z[static_cast<std::size_t>(k)], 1e-6)
                << ocs << k;
        }
    }
}

TEST(LoadPoints, CoordinateMatchingSetsUnitAxisScales) {
    LoadFixture f;
    f.job.ScaleX() = 1.5, f.job.ScaleY() = 0.5, f.job.ScaleZ() = 2;
    f.prompter.answerInput("0.8");
    ASSERT_EQ(loadPoints(f.job,
                         request(example("cell-mcs.txt"), example("cell-mcs-xyz.txt"), kOcsAscii,
                                 PointMatchMethod::ByCoordinates),
                         f.services)
                  .status,
              PointLoadStatus::Loaded);
    EXPECT_EQ(f.job.ScaleX(), 1.0);
    EXPECT_EQ(f.job.ScaleY(), 1.0);
    EXPECT_EQ(f.job.ScaleZ(), 1.0);
}

TEST(LoadPoints, ParaboloidOcsIsTheFootPointsAndTheProfileIsKept) {
    LoadFixture f;
    // z = r² / 100, r = 0..40: points on it are their own foot points; (10, 0, 50) lies above.
    std::string profile;
    for (int r = 0; r <= 40; r += 2)
        profile += std::to_string(r) + " " + std::to_string(r * r / 100.0) + "\r\n";
    const auto profileFile = f.dir.write("profile.txt", profile);
    const auto mcs = f.dir.write("mcs.txt", "A 6 8 1\r\nB 0 20 4\r\nC 10 0 50\r\n");
    const auto outcome = loadPoints(f.job, request(mcs, profileFile, kOcsParaboloid), f.services);
    ASSERT_EQ(outcome.status, PointLoadStatus::Loaded) << ::testing::PrintToString(f.prompter.texts());
    EXPECT_EQ(f.job.IdenticalCount, 3);
    EXPECT_EQ(f.job.OCS_Name, (Names{"", "A", "B", "C"}));
    EXPECT_NEAR(f.job.OCS_X[1], 6, 1e-6);
    EXPECT_NEAR(f.job.OCS_Y[1], 8, 1e-6);
    EXPECT_NEAR(f.job.OCS_Z[1], 1, 1e-6);
    EXPECT_NEAR(f.job.OCS_Z[2], 4, 1e-6);
    EXPECT_LT(f.job.OCS_Z[3], 50.0);  // pulled onto the surface
    EXPECT_EQ(f.job.MCS_Z[3], 50.0);
    EXPECT_EQ(f.job.ShapeProfile.rows(), 21);
    EXPECT_TRUE(f.job.ParaboloidMode);
    EXPECT_EQ(f.job.OCS_FileName, profileFile);
    EXPECT_EQ(f.job.ParaboloidDatei, profileFile);
}

TEST(LoadPoints, ReloadKeepsUseFlagsByNameAndAsksBeforeReplacing) {
    LoadFixture f;
    ASSERT_EQ(loadPoints(f.job, request(example("cell-mcs.txt"), example("cell-ocs.txt")), f.services).status,
              PointLoadStatus::Loaded);
    f.job.UseFlags[3 * (2 - 1) + 2] = 0;  // P2 y left out
    f.job.TrafoCalculated = true;
    // The second OCS lacks P1: P2 is pair 1 now and keeps its flag.
    const auto ocs = f.dir.write("ocs.txt", "P2;1;2;3\nP3;4;5;6\nP9;7;8;9\n");
    f.prompter.answer(platform::Answer::Yes);
    ASSERT_EQ(loadPoints(f.job, request(example("cell-mcs.txt"), ocs), f.services).status,
              PointLoadStatus::Loaded);
    EXPECT_EQ(f.prompter.shown().at(0).title, kOverwriteTitle);
    EXPECT_EQ(f.prompter.shown().at(0).text, kOverwriteQuestion);
    EXPECT_EQ(f.job.IdenticalCount, 2);
    EXPECT_EQ(f.job.UseFlags, (std::vector<std::int16_t>{0, 1, 0, 1, 1, 1, 1}));
    EXPECT_FALSE(f.job.TrafoCalculated);  // the reset ran
    EXPECT_EQ(f.job.OcsOnlyCount, 1);
    EXPECT_EQ(f.job.FileDelimiter, ";");
    EXPECT_EQ(f.replaced, 2);

    // From the clipboard: no question.
    auto clip = request(example("cell-mcs.txt"), example("cell-ocs.txt"));
    clip.fromClipboard = true;
    const auto boxes = f.prompter.shown().size();
    ASSERT_EQ(loadPoints(f.job, clip, f.services).status, PointLoadStatus::Loaded);
    EXPECT_EQ(f.prompter.shown().size(), boxes);
    EXPECT_EQ(f.job.FileDelimiter, ";");
    EXPECT_EQ(f.job.IdenticalCount, 6);
}

// Sigmas of a Monte Carlo series drawn from other points must not survive a load, also the first
// load after an empty job (no reset runs then).
TEST(LoadPoints, ForgetsMonteCarloRunsOfEarlierPoints) {
    for (bool loadedBefore : {false, true}) {
        SCOPED_TRACE(loadedBefore ? "replacing points" : "first load");
        LoadFixture f;
        if (loadedBefore) {
            ASSERT_EQ(loadPoints(f.job, request(example("cell-mcs.txt"), example("cell-ocs.txt")), f.services).status,
                      PointLoadStatus::Loaded);
            f.prompter.answer(platform::Answer::Yes);
        }
        f.job.McCompleted = true;
        for (auto& runs : f.job.McRuns) runs = {0.0, 1.0, 2.0, 3.0};
        ASSERT_EQ(loadPoints(f.job, request(example("cell-mcs.txt"), example("cell-ocs.txt")), f.services).status,
                  PointLoadStatus::Loaded);
        EXPECT_FALSE(f.job.McCompleted);
        for (const auto& runs : f.job.McRuns) EXPECT_TRUE(runs.empty());
    }
}

// ---- Refusals and failures: the message, and the job as it was ----

struct FailureCase {
    const char* label;
    // Writes the files into the folder and returns the request; may script answers.
    std::function<PointLoadRequest(LoadFixture&)> setUp;
    bool asksOverwrite;  // the question comes before the failure (answered Yes)
    std::function<std::string(const LoadFixture&, const PointLoadRequest&)> message;  // the last box
    PointLoadStatus status;
};

class LoadFailure : public ::testing::TestWithParam<FailureCase> {};

TEST_P(LoadFailure, ShowsItsMessageAndLeavesTheJobAsItWas) {
    const FailureCase& c = GetParam();
    LoadFixture f;
    ASSERT_EQ(loadPoints(f.job, request(example("cell-mcs.txt"), example("cell-ocs.txt")), f.services).status,
              PointLoadStatus::Loaded);
    f.job.UseFlags[1] = 0;
    f.job.JobDirty = false;
    const std::string before = f.savedBytes();
    const JobState copy = f.job;
    const auto boxes = f.prompter.shown().size();

    const PointLoadRequest r = c.setUp(f);
    if (c.asksOverwrite) f.prompter.answer(platform::Answer::Yes);
    const auto outcome = loadPoints(f.job, r, f.services);

    EXPECT_EQ(outcome.status, c.status);
    ASSERT_GT(f.prompter.shown().size(), boxes);
    EXPECT_EQ(f.prompter.shown().back().text, c.message(f, r));
    EXPECT_EQ(f.prompter.shown().at(boxes).title, c.asksOverwrite ? kOverwriteTitle : "");
    EXPECT_EQ(f.savedBytes(), before);
    EXPECT_EQ(f.job.MCS_FileName, copy.MCS_FileName);
    EXPECT_EQ(f.job.NameOCS, copy.NameOCS);
    EXPECT_EQ(f.job.MCSt_Name, copy.MCSt_Name);
    EXPECT_EQ(f.job.FileDelimiter, copy.FileDelimiter);
    EXPECT_EQ(f.job.OcsFormatIndex, copy.OcsFormatIndex);
    EXPECT_TRUE(f.job.DataLoaded);
    EXPECT_FALSE(f.job.JobDirty);
    EXPECT_EQ(f.replaced, 1);
    EXPECT_TRUE(f.prompter.exhausted());
}

std::string lineMessage(const std::string& path, const std::string& what) {
    return "File: \n" + path + "\n\nIn Row " + what;
}

INSTANTIATE_TEST_SUITE_P(
    Failures, LoadFailure,
    ::testing::Values(
        FailureCase{
            "MissingMcsFile",
            [](LoadFixture& f) { return request(f.dir.file("none.txt"), example("cell-ocs.txt")); }, false,
            [](const LoadFixture&, const PointLoadRequest& r) { return r.mcsFile + "\n\n is not existing"; },
            PointLoadStatus::Refused},
        FailureCase{
            "MissingOcsFile",
            [](LoadFixture& f) { return request(example("cell-mcs.txt"), f.dir.file("no ocs.txt")); }, false,
            [](const LoadFixture&, const PointLoadRequest& r) { return r.ocsFile + "\n\n is not existing"; },
            PointLoadStatus::Refused},
        FailureCase{"MalformedLine",
                    [](LoadFixture& f) {
                        return request(example("cell-mcs.txt"),
                                       f.dir.write("ocs.txt", "P1;1;2;3\nP2;1;x;3\n"));
                    },
                    true,
                    [](const LoadFixture&, const PointLoadRequest& r) {
                        return lineMessage(r.ocsFile, "2 the value \"x\" is not a number");
                    },
                    PointLoadStatus::Refused},
        FailureCase{"RobotFileWithDistances",
                    [](LoadFixture&) {
                        return request(example("cell-mcs-xyz.txt"), example("cell-ocs.dat"), kOcsKuka,
                                       PointMatchMethod::ByDistances);
                    },
                    false, [](const LoadFixture&, const PointLoadRequest&) { return kGeometryNeedsAscii; },
                    PointLoadStatus::Refused},
        FailureCase{"ShapeWithCoordinates",
                    [](LoadFixture& f) {
                        return request(example("cell-mcs.txt"), f.dir.write("p.txt", "0 0\n1 1\n"),
                                       kOcsParaboloid, PointMatchMethod::ByCoordinates);
                    },
                    false, [](const LoadFixture&, const PointLoadRequest&) { return kGeometryNeedsAscii; },
                    PointLoadStatus::Refused},
        FailureCase{"CancelledDistanceSearch",
                    [](LoadFixture& f) {
                        f.services.progress = &f.cancelAtOnce;
                        f.prompter.answerInput("0.8");
                        return request(example("cell-mcs.txt"), example("cell-ocs.txt"), kOcsAscii,
                                       PointMatchMethod::ByDistances);
                    },
                    true, [](const LoadFixture&, const PointLoadRequest&) { return kSearchStopped; },
                    PointLoadStatus::Cancelled},
        FailureCase{"EmptyTolerance",
                    [](LoadFixture& f) {
                        f.prompter.answerInput("");
                        return request(example("cell-mcs.txt"), example("cell-mcs-xyz.txt"), kOcsAscii,
                                       PointMatchMethod::ByCoordinates);
                    },
                    true,
                    [](const LoadFixture& f, const PointLoadRequest&) {
                        return f.prompter.shown().back().text;  // the prompt itself is the last box
                    },
                    PointLoadStatus::Cancelled},
        FailureCase{"BadProfile",
                    [](LoadFixture& f) {
                        return request(example("cell-mcs.txt"), f.dir.write("p.txt", "1 1\n"),
                                       kOcsParaboloid);
                    },
                    true,
                    [](const LoadFixture& f, const PointLoadRequest&) {
                        const auto& text = f.prompter.shown().back().text;
                        EXPECT_NE(text.find("no usable shape profile"), std::string::npos) << text;
                        return text;
                    },
                    PointLoadStatus::Refused},
        FailureCase{
            "DoubleName",
            [](LoadFixture& f) {
                return request(f.dir.write("mcs.txt", "P7 1 2 3\nP7 4 5 6\n"), example("cell-ocs.txt"));
            },
            true,
            [](const LoadFixture&, const PointLoadRequest&) {
                return std::string(
                    "There might be a double Pointnumber in the MCS File. \nPlease check Point Number P7");
            },
            PointLoadStatus::Refused}),
    [](const ::testing::TestParamInfo<FailureCase>& info) { return std::string(info.param.label); });

TEST(LoadPoints, NoToTheOverwriteQuestionKeepsTheJob) {
    LoadFixture f;
    ASSERT_EQ(loadPoints(f.job, request(example("cell-mcs.txt"), example("cell-ocs.txt")), f.services).status,
              PointLoadStatus::Loaded);
    const std::string before = f.savedBytes();
    f.prompter.answer(platform::Answer::No);
    auto r = request(example("cell-mcs-xyz.txt"), example("cell-ocs.dat"), kOcsKuka);
    r.nameMcs = "Other";
    EXPECT_EQ(loadPoints(f.job, r, f.services).status, PointLoadStatus::Declined);
    EXPECT_EQ(f.savedBytes(), before);
    EXPECT_EQ(f.prompter.shown().size(), 1u);
}

TEST(LoadPoints, NetworkFileFillsTheTablesAlone) {
    LoadFixture f;
    const auto file =
        f.dir.write("net.txt",
                    "Theodolite\nS1 0 0 0\nc\nS2 10 0 0\nc\nEND\nObject Points\nA 1 2 3\nc\nEND\n"
                    "Distances\nS1 A 3.5\nS2 A 9.25\nEND\n");
    PointLoadRequest r;
    r.networkFile = file;
    EXPECT_EQ(loadPoints(f.job, r, f.services).status, PointLoadStatus::NetworkLoaded);
    EXPECT_EQ(f.job.AnzBuendelStation, 2);
    EXPECT_EQ(f.job.AnzBuendelPunkt, 1);
    EXPECT_EQ(f.job.AnzBuendelBeob, 2);
    EXPECT_EQ(f.job.BuendelBeob[2][1], "S2");
    EXPECT_EQ(f.job.BuendelBeob[2][2], "A");
    EXPECT_EQ(f.job.BuendelBeobWert[2], 9.25);
    EXPECT_EQ(f.job.BuendelStationDaten(2, 1), 10.0);
    EXPECT_TRUE(f.job.DataLoaded);
    EXPECT_EQ(f.job.McsCount, 0);
    EXPECT_EQ(f.prompter.texts().back(), "Found 2 Stations and 1 Object Points and 2 Distance Observations");
}

TEST(LoadPoints, WritesItsSettingsAfterACompleteLoadOnly) {
    LoadFixture f;
    f.services.iniFile = f.dir.file("Kalvoreth.ini");
    ASSERT_EQ(
        loadPoints(f.job, request(f.dir.file("none.txt"), example("cell-ocs.dat"), kOcsKuka), f.services)
            .status,
        PointLoadStatus::Refused);
    EXPECT_FALSE(std::filesystem::exists(f.services.iniFile));
    ASSERT_EQ(
        loadPoints(f.job, request(example("cell-mcs-xyz.txt"), example("cell-ocs.dat"), kOcsKuka), f.services)
            .status,
        PointLoadStatus::Loaded);
    EXPECT_EQ(readIniValue(f.services.iniFile, "OCS_FileName"), example("cell-ocs.dat"));
    EXPECT_EQ(readIniValue(f.services.iniFile, "LastOCSRoot"), std::string(KALVORETH_EXAMPLES));
    EXPECT_EQ(readIniValue(f.services.iniFile, "NameMCS"), "Cell");
    EXPECT_EQ(readIniValue(f.services.iniFile, "LastDropDownInfoInOCS"), "1");
    EXPECT_EQ(f.job.KUKADatei, example("cell-ocs.dat"));
    EXPECT_TRUE(f.job.KukaOcsMode);
    EXPECT_FALSE(f.job.AsciiOcsMode);
}

// The next input dialog starts each browse button in its own file's folder: the MCS file's folder
// for the MCS, the OCS file's for the OCS, never the other way round.
TEST(LoadPoints, RemembersTheMcsFilesFolderForTheMcsAndTheOcsFilesForTheOcs) {
    LoadFixture f;
    f.services.iniFile = f.dir.file("Kalvoreth.ini");
    const std::string mcsFolder = f.dir.file("mcs-side"), ocsFolder = f.dir.file("ocs-side");
    std::filesystem::create_directories(mcsFolder);
    std::filesystem::create_directories(ocsFolder);
    const std::string mcs = mcsFolder + "/cell-mcs.txt", ocs = ocsFolder + "/cell-ocs.txt";
    std::filesystem::copy_file(example("cell-mcs.txt"), mcs);
    std::filesystem::copy_file(example("cell-ocs.txt"), ocs);
    const PointLoadOutcome outcome = loadPoints(f.job, request(mcs, ocs), f.services);
    ASSERT_EQ(outcome.status, PointLoadStatus::Loaded) << ::testing::PrintToString(f.prompter.texts());
    EXPECT_EQ(readIniValue(f.services.iniFile, "LastMCSRoot"), mcsFolder);
    EXPECT_EQ(readIniValue(f.services.iniFile, "LastOCSRoot"), ocsFolder);
    EXPECT_EQ(readIniValue(f.services.iniFile, "MCS_FileName"), mcs);
    EXPECT_EQ(readIniValue(f.services.iniFile, "OCS_FileName"), ocs);
}

TEST(LoadPoints, PathFolderCutsAtTheLastSeparator) {
    testing::FakePrompter prompter;
    EXPECT_EQ(pathFolder("C:\\a\\b.txt", &prompter), "C:\\a");
    EXPECT_EQ(pathFolder("/home/u/a.txt", &prompter), "/home/u");
    EXPECT_TRUE(prompter.shown().empty());
    EXPECT_EQ(pathFolder("a.txt", &prompter), "");
    EXPECT_EQ(prompter.texts(), (std::vector<std::string>{"Error in Function Pfad"}));
}

TEST(LoadPoints, OcsLimitFromTheControls) {
    EXPECT_EQ(ocsLimitFromControls(false, "10"), std::nullopt);
    EXPECT_EQ(ocsLimitFromControls(true, ""), std::nullopt);
    EXPECT_EQ(ocsLimitFromControls(true, "10"), 10);
    EXPECT_EQ(ocsLimitFromControls(true, "99999999999"), std::nullopt);
}

}  // namespace
}  // namespace kal
