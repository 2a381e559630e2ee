#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <filesystem>
#include <functional>
#include <map>
#include <numbers>
#include <string>
#include <vector>

#include "network/NetworkCalculation.h"
#include "network/NetworkDatum.h"
#include "network/NetworkReduction.h"
#include "network/SyntheticNetwork.h"
#include "platform/Regional.h"
#include "shared/NumberText.h"
#include "shell/JobReset.h"
#include "support/FakePlatform.h"
#include "support/FakeProgress.h"
#include "support/TempDir.h"

namespace kal {
namespace {

using testing::fillSyntheticNetwork;

class QuietMainWindow : public MainWindowView {
  public:
    void setMainCaption(const std::string&) override {}
    void showUnitNames(const std::string&, const std::string&) override {}
    void enableMainWindow(bool) override {}
    void refreshState() override {}
};

// The window's three boxes as texts, newest lines on top as the window shows them.
class RecordingView : public NetworkView {
  public:
    void step(const std::string& line) override { whatDo = line + "\r\n" + whatDo; }
    void summary(const std::string& line) override { run = line + "\r\n" + run; }
    void clearSummary() override { run.clear(); }
    void showResults(const std::string& text) override { results = text; }
    std::string whatDo, run, results;
};

std::string firstLine(const std::string& text) { return text.substr(0, text.find("\r\n")); }

struct NetworkFixture {
    platform::ScopedDecimalSeparator point{'.'};
    testing::TempDir dir;
    testing::FakePrompter prompter;
    testing::FakeEventPump events;
    testing::FakeClipboard clipboard;
    RecordingView view;
    QuietMainWindow mainWindow;
    JobState job;
    NetworkServices services;

    NetworkFixture() {
        job.LengthUnitName = "millimeter", job.AngleUnitName = "degree";
        job.LengthFactor = 1.0, job.AngleFactor = 180.0 / std::numbers::pi;
        job.DigitLength = 3, job.DigitAngle = 4;
        services.prompter = &prompter;
        services.events = &events;
        services.clipboard = &clipboard;
        services.view = &view;
        services.dataFolder = dir.file("data");
        services.load.resetJob = [this](JobState& j) { initializeJob(j, mainWindow); };
    }
    NetworkRunOutcome calculate(const std::string& percent = "100") {
        return calculateNetwork(job, percent, services);
    }
    bool anythingWritten() const { return std::filesystem::exists(services.dataFolder); }
    std::string messages() const {
        std::string all;
        for (const auto& t : prompter.texts()) all += t + "\n";
        return all;
    }
};

// The index of a loaded point: the load sorts the identical points by name.
std::int32_t loadedIndex(const JobState& job, const std::string& name) {
    const auto at = std::find(job.MCS_Name.begin(), job.MCS_Name.end(), name);
    return at == job.MCS_Name.end() ? 0 : static_cast<std::int32_t>(at - job.MCS_Name.begin());
}

double relativeError(double value, double truth) {
    return std::fabs(value - truth) / std::max(1.0, std::fabs(truth));
}

// ---- The main flow ----

TEST(NetworkAdjustment, RecoversSyntheticNetworkAndLoadsItAsPointSets) {
    NetworkFixture f;
    const auto net = fillSyntheticNetwork(f.job, 5, 20);
    const auto outcome = f.calculate();
    ASSERT_EQ(outcome.status, NetworkRunStatus::Loaded) << f.messages();
    EXPECT_EQ(outcome.end, NetworkRunEnd::Converged);
    EXPECT_EQ(outcome.unknowns, 69);
    EXPECT_EQ(outcome.observations, 100);
    // The loaded MCS holds the adjusted stations and points, the OCS the start values.
    ASSERT_EQ(f.job.IdenticalCount, 25);
    EXPECT_EQ(f.job.McsOnlyCount, 0);
    EXPECT_EQ(f.job.OcsOnlyCount, 0);
    for (std::int32_t n = 1; n <= 25; ++n) {
        const Matrix& truth = n <= 5 ? net.trueStations : net.truePoints;
        const std::int32_t row = n <= 5 ? n : n - 5;
        const std::int32_t k = loadedIndex(f.job, (n <= 5 ? "S" : "P") + std::to_string(row));
        ASSERT_GT(k, 0) << n;
        EXPECT_EQ(f.job.OCS_Name[static_cast<std::size_t>(k)], f.job.MCS_Name[static_cast<std::size_t>(k)]);
        EXPECT_LT(relativeError(f.job.MCS_X[k], truth(row, 1)), 1e-9) << k;
        EXPECT_LT(relativeError(f.job.MCS_Y[k], truth(row, 2)), 1e-9) << k;
        EXPECT_LT(relativeError(f.job.MCS_Z[k], truth(row, 3)), 1e-9) << k;
    }
    EXPECT_LT(relativeError(f.job.OCS_X[loadedIndex(f.job, "P2")], f.job.BuendelPunktDaten(2, 1)), 1e-14);
    // The stations are adjusted in place; the input points never change.
    EXPECT_LT(relativeError(f.job.BuendelStationDaten(5, 2), net.trueStations(5, 2)), 1e-9);
    EXPECT_TRUE(f.job.DataLoaded);
    EXPECT_TRUE(f.job.JobDirty);
    EXPECT_FALSE(f.job.StopFlag);
    EXPECT_TRUE(std::filesystem::exists(f.services.dataFolder + "/" + kNetworkMcsFile));
    EXPECT_TRUE(std::filesystem::exists(f.services.dataFolder + "/" + kNetworkOcsFile));
    // The boxes: the newest step on top, the end said, the listing with σ "0" for held ones.
    EXPECT_EQ(firstLine(f.view.whatDo), "calculating unknowns");
    EXPECT_NE(f.view.whatDo.find("calculationg A Matrix\r\nIteration 1\r\n"), std::string::npos);
    EXPECT_EQ(firstLine(f.view.run), "converged after " + std::to_string(outcome.iterations) + " iterations");
    EXPECT_EQ(f.view.results.substr(0, 3), "S1\t");
    EXPECT_NE(f.view.results.find("\t0\t0\t0\r\nS2\t"), std::string::npos);
    EXPECT_NE(f.view.results.find("S5\tP20\t"), std::string::npos);
    EXPECT_EQ(f.clipboard.text().substr(0, 5), "x i\r\n");
    EXPECT_TRUE(f.prompter.shown().empty()) << f.messages();
}

TEST(NetworkAdjustment, HalfThePointsUnderACommaSeparatorRoundTripThroughTheFiles) {
    NetworkFixture f;
    platform::ScopedDecimalSeparator comma(',');
    const auto net = fillSyntheticNetwork(f.job, 5, 20);
    const auto outcome = f.calculate("50");
    ASSERT_EQ(outcome.status, NetworkRunStatus::Loaded) << f.messages();
    EXPECT_EQ(outcome.unknowns, 39);
    EXPECT_EQ(outcome.observations, 50);
    EXPECT_EQ(f.job.IdenticalCount, 15);
    EXPECT_EQ(loadedIndex(f.job, "P2"), 0);
    const std::int32_t p19 = loadedIndex(f.job, "P19");
    ASSERT_GT(p19, 0);
    EXPECT_LT(relativeError(f.job.MCS_Z[p19], net.truePoints(19, 3)), 1e-9);
    const std::string mcs = testing::TempDir::read(f.services.dataFolder + "/" + kNetworkMcsFile);
    EXPECT_NE(mcs.find("P19\t" + generalText(f.job.MCS_X[p19])), std::string::npos);
    EXPECT_NE(generalText(f.job.MCS_X[p19]).find(','), std::string::npos);
}

TEST(NetworkAdjustment, NoisyDistancesGiveS0OfTheRedundancy) {
    NetworkFixture f;
    const double sigma = 0.05;
    fillSyntheticNetwork(f.job, 8, 100, sigma);
    const auto outcome = f.calculate();
    ASSERT_EQ(outcome.status, NetworkRunStatus::Loaded) << f.messages();
    const double w = outcome.observations, u = outcome.unknowns;  // 800 and 318
    const double expected = sigma * std::sqrt((w - u) / (w - 1.0));
    // s0² ~ σ²·χ²(w − u)/(w − 1): its relative spread is about 1/√(2·482) = 3 %.
    EXPECT_NEAR(outcome.s0, expected, 0.1 * expected);
}

// The listing's lines split into tab-separated fields.
std::vector<std::vector<std::string>> listingFields(const std::string& listing) {
    std::vector<std::vector<std::string>> lines;
    std::size_t from = 0;
    for (std::size_t end; (end = listing.find("\r\n", from)) != std::string::npos; from = end + 2) {
        std::vector<std::string> fields;
        const std::string line = listing.substr(from, end - from);
        std::size_t a = 0;
        for (std::size_t t; (t = line.find('\t', a)) != std::string::npos; a = t + 1)
            fields.push_back(line.substr(a, t - a));
        fields.push_back(line.substr(a));
        lines.push_back(fields);
    }
    return lines;
}

// The number after `label` in the newest summary line that holds it.
double summaryValue(const std::string& run, const std::string& label) {
    const std::size_t at = run.find(label);
    if (at == std::string::npos) return std::nan("");
    return std::stod(run.substr(at + label.size()));
}

// Four stations and six points measured from each are just determined (24 distances, 24 unknowns):
// every distance can be met on its own. One pair measured twice, 0.3 mm apart, is then met in the
// middle: the adjusted distance D + 0.05 of the measured D − 0.1 and D + 0.2 leaves the residuals
// (adjusted minus measured) +0.15 and −0.15 and every other residual 0; [v] = 0, [vv] = 0.045.
TEST(NetworkAdjustment, ResidualsOfADoublyMeasuredDistanceMeetInTheMiddle) {
    NetworkFixture f;
    fillSyntheticNetwork(f.job, 4, 6);
    const double D = f.job.BuendelBeobWert[1];  // S1 to P1, the first observation
    ASSERT_EQ(f.job.BuendelBeob[1][1] + f.job.BuendelBeob[1][2], "S1P1");
    f.job.BuendelBeobWert[1] = D - 0.1;
    f.job.BuendelBeob.push_back({std::string(), "S1", "P1"});
    f.job.BuendelBeobWert.push_back(D + 0.2);
    f.job.AnzBuendelBeob = 25;
    const auto outcome = f.calculate();
    ASSERT_EQ(outcome.status, NetworkRunStatus::Loaded) << f.messages();
    ASSERT_EQ(outcome.observations, 25);
    ASSERT_EQ(outcome.unknowns, 24);
    std::vector<double> v;
    for (const auto& fields : listingFields(f.view.results))
        if (fields.size() == 3) v.push_back(std::stod(fields[2]));
    ASSERT_EQ(v.size(), 25u);
    EXPECT_NEAR(v.front(), 0.15, 1e-5);
    EXPECT_NEAR(v.back(), -0.15, 1e-5);
    for (std::size_t i = 1; i + 1 < v.size(); ++i) EXPECT_NEAR(v[i], 0.0, 1e-5) << i;
    EXPECT_NEAR(summaryValue(f.view.run, "[v] "), 0.0, 1e-5);
    EXPECT_NEAR(summaryValue(f.view.run, "[vv] "), 0.045, 1e-5);
    EXPECT_NEAR(outcome.s0, std::sqrt(0.045 / 24.0), 1e-5);
}

// On a noisy network every residual is the adjusted distance minus the measured one, row by row in
// the order of the observations, and [v] and [vv] are their sum and sum of squares. The adjusted
// distances come from the adjusted coordinates the listing shows.
TEST(NetworkAdjustment, ResidualsAreAdjustedMinusMeasuredDistancesAndSumToV) {
    NetworkFixture f;
    fillSyntheticNetwork(f.job, 5, 12, 0.2);
    const auto outcome = f.calculate();
    ASSERT_EQ(outcome.status, NetworkRunStatus::Loaded) << f.messages();
    std::map<std::string, std::array<double, 3>> place;
    std::vector<std::vector<std::string>> rows;
    for (const auto& fields : listingFields(f.view.results)) {
        if (fields.size() == 7)
            place[fields[0]] = {std::stod(fields[1]), std::stod(fields[2]), std::stod(fields[3])};
        else if (fields.size() == 3)
            rows.push_back(fields);
    }
    ASSERT_EQ(rows.size(), 60u);
    double sumV = 0, sumVV = 0;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(rows[i][0], f.job.BuendelBeob[i + 1][1]);
        EXPECT_EQ(rows[i][1], f.job.BuendelBeob[i + 1][2]);
        const auto& s = place.at(rows[i][0]);
        const auto& p = place.at(rows[i][1]);
        const double adjusted = std::hypot(s[0] - p[0], s[1] - p[1], s[2] - p[2]);
        const double v = std::stod(rows[i][2]);
        EXPECT_NEAR(v, adjusted - f.job.BuendelBeobWert[i + 1], 1e-6);
        sumV += v, sumVV += v * v;
    }
    EXPECT_GT(std::fabs(sumV), 1e-3);  // a sum that a dropped or mis-signed row would change
    EXPECT_NEAR(summaryValue(f.view.run, "[v] "), sumV, 1e-9);
    EXPECT_NEAR(summaryValue(f.view.run, "[vv] "), sumVV, 1e-9);
}

// ---- Refused before the first iteration, each with its cause; nothing written or changed ----

struct RefusalCase {
    const char* label;
    std::int32_t stations, points;
    std::function<void(JobState&)> spoil;
    const char* percent;
    const char* message;  // a part of the one message shown
};

class NetworkRefusal : public ::testing::TestWithParam<RefusalCase> {};

TEST_P(NetworkRefusal, NamesTheCauseAndChangesNothing) {
    const RefusalCase& c = GetParam();
    NetworkFixture f;
    fillSyntheticNetwork(f.job, c.stations, c.points);
    if (c.spoil) c.spoil(f.job);
    const Matrix stations = f.job.BuendelStationDaten;
    const auto outcome = f.calculate(c.percent);
    EXPECT_EQ(outcome.status, NetworkRunStatus::Refused);
    ASSERT_EQ(f.prompter.texts().size(), 1u) << f.messages();
    EXPECT_NE(f.prompter.texts()[0].find(c.message), std::string::npos) << f.messages();
    EXPECT_EQ(f.view.whatDo, "");  // no iteration began
    EXPECT_FALSE(f.anythingWritten());
    EXPECT_EQ(f.job.BuendelStationDaten, stations);
    EXPECT_EQ(f.job.McsCount, 0);
    EXPECT_FALSE(f.job.JobDirty);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NetworkRefusal,
    ::testing::Values(
        RefusalCase{"ThreeStations", 3, 10, nullptr, "100", "30 distances for 33 unknowns"},
        RefusalCase{"TwoStations", 2, 10, nullptr, "100", kStationsInOneLine},
        RefusalCase{"NoNetwork", 0, 0, nullptr, "100", kStationsInOneLine},
        RefusalCase{"PointSeenByTwo", 5, 10,
                    [](JobState& j) {
                        for (std::size_t i = 1; i < j.BuendelBeob.size(); ++i)
                            if (j.BuendelBeob[i][2] == "P2" && j.BuendelBeob[i][1] != "S1" &&
                                j.BuendelBeob[i][1] != "S4")
                                j.BuendelBeob[i][2] = "nowhere";
                    },
                    "100", "\"P2\" is measured from 2 station(s) only"},
        RefusalCase{"RepeatedPoint", 5, 10, [](JobState& j) { j.BuendelPunkt[7] = "P3"; }, "100",
                    "\"P3\" is given twice (points 3 and 7)"},
        RefusalCase{"RepeatedStation", 5, 10, [](JobState& j) { j.BuendelStation[4] = "S2"; }, "100",
                    "\"S2\" is given twice (stations 2 and 4)"},
        RefusalCase{"StationNameOnPoint", 5, 10, [](JobState& j) { j.BuendelPunkt[4] = "S5"; }, "100",
                    "\"S5\" is given to a station and to object point 4"},
        RefusalCase{"ZeroDistance", 5, 10, [](JobState& j) { j.BuendelBeobWert[17] = 0.0; }, "100",
                    "Distance 17 of the network file (S2 - P7) is 0; a distance must be above 0."},
        RefusalCase{"NegativeDistance", 5, 10, [](JobState& j) { j.BuendelBeobWert[3] = -4.5; }, "100",
                    "Distance 3 of the network file (S1 - P3) is -4.5"},
        RefusalCase{"StationOnPoint", 5, 10,
                    [](JobState& j) {
                        for (int a = 1; a <= 3; ++a) j.BuendelStationDaten(4, a) = j.BuendelPunktDaten(6, a);
                    },
                    "100", "Station \"S4\" stands on object point \"P6\" (their distance is 0)"},
        RefusalCase{"PercentZero", 5, 10, nullptr, "0", "a number above 0 and at most 100"},
        RefusalCase{"Percent101", 5, 10, nullptr, "101", "a number above 0 and at most 100"},
        RefusalCase{"PercentNoNumber", 5, 10, nullptr, "half", "a number above 0 and at most 100"},
        RefusalCase{"PercentChoosesNone", 5, 10, nullptr, "5", "no point is used"}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(NetworkAdjustment, StationsInOneLineStopInTheFirstIterationWithNothingWritten) {
    NetworkFixture f;
    fillSyntheticNetwork(f.job, 5, 10);
    // Stations 3 to 5 on the line through S1 and S2.
    for (std::int32_t s = 3; s <= 5; ++s)
        for (int a = 1; a <= 3; ++a)
            f.job.BuendelStationDaten(s, a) =
                f.job.BuendelStationDaten(1, a) +
                (s - 1.5) * (f.job.BuendelStationDaten(2, a) - f.job.BuendelStationDaten(1, a));
    const Matrix stations = f.job.BuendelStationDaten;
    EXPECT_EQ(f.calculate().status, NetworkRunStatus::Failed);
    EXPECT_EQ(f.prompter.texts(), std::vector<std::string>{kStationsInOneLine});
    EXPECT_EQ(f.view.whatDo, "calculationg A Matrix\r\nIteration 1\r\n");
    EXPECT_FALSE(f.anythingWritten());
    EXPECT_EQ(f.job.BuendelStationDaten, stations);
}

// ---- Percentages and the datum ----

TEST(NetworkReduction, PercentagesOfTenPoints) {
    using Indices = std::vector<std::int32_t>;
    const struct {
        const char* text;
        Indices calculate;
    } cases[] = {
        {"50", {1, 3, 5, 7, 9}},
        {"60", {1, 2, 3, 4, 5, 6}},
        {"30", {1, 4, 7}},
        {"100", {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}},
        {"0", {}},
        {"101", {}},
        {"-20", {}},
    };
    for (const auto& c : cases) {
        const auto r = reductionPercent(c.text, ReductionRule::Calculate);
        ASSERT_TRUE(r) << c.text;
        EXPECT_EQ(reducedPointIndices(*r, 10, ReductionRule::Calculate), c.calculate) << c.text;
    }
    // The variant reads a leading number with "." whatever the locale and rounds half to even.
    platform::ScopedDecimalSeparator comma(',');
    EXPECT_EQ(reductionPercent("50.5", ReductionRule::FixedDatumRun), 50.5);
    EXPECT_EQ(reductionPercent("50.5", ReductionRule::Calculate), std::nullopt);
    EXPECT_EQ(reductionPercent("50,5", ReductionRule::Calculate), 50.5);
    EXPECT_EQ(reducedPointIndices(25, 10, ReductionRule::FixedDatumRun), (Indices{1, 5}));        // 2.5 -> 2
    EXPECT_EQ(reducedPointIndices(35, 10, ReductionRule::FixedDatumRun), (Indices{1, 3, 5, 7}));  // 3.5 -> 4
    EXPECT_EQ(reducedPointIndices(35, 10, ReductionRule::Calculate), (Indices{1, 3, 5}));
}

TEST(NetworkDatum, FreeAxisOfStationTwoFollowsTheLargestComponent) {
    EXPECT_EQ(freeAxisOfStation2(-100, 0, 5), 1);
    EXPECT_EQ(freeAxisOfStation2(3, 3, 3), 3);
    EXPECT_EQ(freeAxisOfStation2(100, 0, 5), 1);
    EXPECT_EQ(freeAxisOfStation2(0, -7, 7), 3);
    EXPECT_EQ(freeAxisOfStation2(4, -4, 1), 2);
}

TEST(NetworkDatum, ThirdStationHoldsTheCoordinateAcrossTheBaselineTurn) {
    Matrix s(4, 3);
    // S1 − S2 along x; S3 on the line (skipped); S4 off it in y: the turn about the baseline moves
    // S4 along z, so S4 holds z and keeps x and y free.
    s(1, 1) = 100, s(2, 1) = 0, s(3, 1) = 300;
    s(4, 1) = 50, s(4, 2) = 80;
    const auto d = chooseDatum(s, 4, NetworkDatumKind::Chosen);
    ASSERT_TRUE(d);
    EXPECT_EQ(d->station2FreeAxis, 1);
    EXPECT_EQ(d->thirdStation, 4);
    EXPECT_EQ(d->heldColumns, (std::array<std::int32_t, 6>{12, 6, 5, 3, 2, 1}));
    EXPECT_FALSE(chooseDatum(s, 3, NetworkDatumKind::Chosen));
    EXPECT_EQ(chooseDatum(s, 3, NetworkDatumKind::Fixed)->heldColumns,
              (std::array<std::int32_t, 6>{7, 5, 4, 3, 2, 1}));
    EXPECT_FALSE(chooseDatum(s, 2, NetworkDatumKind::Fixed));
}

// ---- Ends of a run ----

TEST(NetworkAdjustment, CapEndsWithNotConvergedAndPutsTheStationsBack) {
    NetworkFixture f;
    fillSyntheticNetwork(f.job, 5, 20, 0.0, 60.0);
    f.services.maxIterations = 2;
    const Matrix stations = f.job.BuendelStationDaten;
    const auto outcome = f.calculate();
    EXPECT_EQ(outcome.status, NetworkRunStatus::NotConverged);
    EXPECT_EQ(outcome.iterations, 2);
    ASSERT_EQ(f.prompter.texts().size(), 1u);
    EXPECT_NE(f.prompter.texts()[0].find("(not converged)"), std::string::npos);
    EXPECT_EQ(firstLine(f.view.run), "not converged after 2 iterations");
    EXPECT_EQ(f.job.BuendelStationDaten, stations);
    EXPECT_FALSE(f.anythingWritten());
    EXPECT_EQ(f.clipboard.writes(), 0);
}

TEST(NetworkAdjustment, InconsistentDistancesNeverRunForeverNorStoreNonFiniteValues) {
    NetworkFixture f;
    fillSyntheticNetwork(f.job, 5, 20);
    std::mt19937 random(3);
    std::uniform_real_distribution<double> factor(0.05, 20.0);
    for (std::size_t i = 1; i < f.job.BuendelBeobWert.size(); ++i) f.job.BuendelBeobWert[i] *= factor(random);
    const Matrix stations = f.job.BuendelStationDaten;
    const auto outcome = f.calculate();
    ASSERT_NE(outcome.status, NetworkRunStatus::Loaded);
    EXPECT_LE(outcome.iterations, kNetworkIterationCap);
    EXPECT_EQ(f.job.BuendelStationDaten, stations);
    EXPECT_FALSE(f.anythingWritten());
}

TEST(NetworkAdjustment, StopWhileIdleIsForgottenAndTheNextRunConverges) {
    NetworkFixture f;
    fillSyntheticNetwork(f.job, 5, 20);
    f.job.StopFlag = true;  // STOP pressed while nothing ran
    const auto outcome = f.calculate();
    ASSERT_EQ(outcome.status, NetworkRunStatus::Loaded) << f.messages();
    EXPECT_EQ(outcome.end, NetworkRunEnd::Converged);
    EXPECT_GE(outcome.iterations, 2);
    EXPECT_FALSE(f.job.StopFlag);
}

TEST(NetworkAdjustment, StopDuringARunFinishesTheIterationAndLoadsItsResults) {
    NetworkFixture f;
    fillSyntheticNetwork(f.job, 5, 20, 0.0, 30.0);
    f.events.onEvents([&f](int) { f.job.StopFlag = true; });
    const auto outcome = f.calculate();
    ASSERT_EQ(outcome.status, NetworkRunStatus::Loaded) << f.messages();
    EXPECT_EQ(outcome.end, NetworkRunEnd::Stopped);
    EXPECT_EQ(outcome.iterations, 1);
    EXPECT_EQ(firstLine(f.view.run), "stopped after 1 iterations");
    EXPECT_FALSE(f.job.StopFlag);
    EXPECT_EQ(f.job.IdenticalCount, 25);
}

TEST(NetworkAdjustment, ProgressWindowFollowsTheInversionAndItsCancelStopsTheRun) {
    NetworkFixture f;
    testing::FakeProgress progress;
    f.services.progress = &progress;
    fillSyntheticNetwork(f.job, 5, 20, 0.0, 30.0);
    progress.onValue = [&progress](int) { progress.stop = true; };
    const auto outcome = f.calculate();
    EXPECT_EQ(outcome.status, NetworkRunStatus::Loaded) << f.messages();
    EXPECT_EQ(outcome.end, NetworkRunEnd::Stopped);
    EXPECT_EQ(outcome.iterations, 1);
    EXPECT_EQ(progress.captions, std::vector<std::string>{"Network adjustment - Progress"});
    ASSERT_FALSE(progress.values.empty());
    EXPECT_EQ(progress.values.back(), 100);
    EXPECT_FALSE(progress.isOpen);
    EXPECT_FALSE(f.job.StopFlag);
}

TEST(NetworkAdjustment, ReloadKeepsUseFlagsByNameAndADeclinedLoadPutsTheStationsBack) {
    NetworkFixture f;
    fillSyntheticNetwork(f.job, 5, 20, 0.0, 5.0);
    ASSERT_EQ(f.calculate().status, NetworkRunStatus::Loaded) << f.messages();
    // Point P3 left out in x and z; the job saved.
    const std::int32_t p3 = loadedIndex(f.job, "P3") - 1;
    ASSERT_GE(p3, 0);
    f.job.UseFlags[3 * p3 + 1] = 0, f.job.UseFlags[3 * p3 + 3] = 0;
    f.job.JobDirty = false;
    const Matrix adjusted = f.job.BuendelStationDaten;
    for (int a = 1; a <= 3; ++a) f.job.BuendelStationDaten(4, a) += 3.0;  // a fresh start for station 4

    f.prompter.answer(platform::Answer::No);  // "Overwrite old Points?"
    const Matrix before = f.job.BuendelStationDaten;
    EXPECT_EQ(f.calculate().status, NetworkRunStatus::NotLoaded);
    EXPECT_EQ(f.job.BuendelStationDaten, before);
    EXPECT_FALSE(f.job.JobDirty);

    f.prompter.answer(platform::Answer::Yes);
    ASSERT_EQ(f.calculate().status, NetworkRunStatus::Loaded) << f.messages();
    EXPECT_TRUE(f.job.JobDirty);
    const std::int32_t q3 = loadedIndex(f.job, "P3") - 1;
    ASSERT_GE(q3, 0);
    EXPECT_EQ(f.job.UseFlags[3 * q3 + 1], 0);
    EXPECT_EQ(f.job.UseFlags[3 * q3 + 2], 1);
    EXPECT_EQ(f.job.UseFlags[3 * q3 + 3], 0);
    EXPECT_EQ(std::count(f.job.UseFlags.begin() + 1, f.job.UseFlags.end(), 1), 3 * 25 - 2);
    EXPECT_NEAR(f.job.BuendelStationDaten(4, 1), adjusted(4, 1), 1e-6);
}

TEST(NetworkAdjustment, UnreachedStationIsNotDeterminedRatherThanAHugeSigma) {
    NetworkFixture f;
    fillSyntheticNetwork(f.job, 5, 20);
    f.job.AnzBuendelStation = 6;
    f.job.BuendelStation.push_back("Lonely");
    Matrix stations(6, 3);
    for (std::int32_t s = 1; s <= 5; ++s)
        for (int a = 1; a <= 3; ++a) stations(s, a) = f.job.BuendelStationDaten(s, a);
    stations(6, 1) = 9000, stations(6, 2) = 9000, stations(6, 3) = 9000;
    f.job.BuendelStationDaten = stations;
    ASSERT_EQ(f.calculate().status, NetworkRunStatus::Loaded) << f.messages();
    EXPECT_NE(
        f.view.results.find("Lonely\t9000\t9000\t9000\tnot determined\tnot determined\tnot determined\r\n"),
        std::string::npos)
        << f.view.results;
}

// ---- The fixed-datum variant ----

TEST(NetworkFixedDatumVariant, AdjustsOnlyTheStationsAndTheNextCalculateStartsFromThem) {
    NetworkFixture f;
    const auto net = fillSyntheticNetwork(f.job, 5, 20);
    const auto outcome = runFixedDatumVariant(f.job, "100", f.services);
    ASSERT_EQ(outcome.status, NetworkRunStatus::Adjusted) << f.messages();
    EXPECT_LT(relativeError(f.job.BuendelStationDaten(4, 3), net.trueStations(4, 3)), 1e-9);
    EXPECT_EQ(f.view.whatDo, "");
    EXPECT_EQ(f.view.run, "");
    EXPECT_EQ(f.clipboard.writes(), 0);
    EXPECT_FALSE(f.anythingWritten());
    EXPECT_EQ(f.job.McsCount, 0);

    ASSERT_EQ(f.calculate().status, NetworkRunStatus::Loaded) << f.messages();
    const std::string ocs = testing::TempDir::read(f.services.dataFolder + "/" + kNetworkOcsFile);
    const std::string s4 = "S4\t" + generalText(f.job.BuendelStationDaten(4, 1));
    EXPECT_NE(ocs.find(s4), std::string::npos) << ocs;
}

TEST(NetworkFixedDatumVariant, RefusesFewerThanThreeStationsAndHonoursStop) {
    NetworkFixture f;
    fillSyntheticNetwork(f.job, 2, 10);
    EXPECT_EQ(runFixedDatumVariant(f.job, "100", f.services).status, NetworkRunStatus::Refused);
    EXPECT_EQ(f.prompter.texts(), std::vector<std::string>{kStationsInOneLine});

    NetworkFixture g;
    fillSyntheticNetwork(g.job, 5, 20, 0.0, 30.0);
    g.events.onEvents([&g](int) { g.job.StopFlag = true; });
    const auto outcome = runFixedDatumVariant(g.job, "100", g.services);
    EXPECT_EQ(outcome.status, NetworkRunStatus::Adjusted);
    EXPECT_EQ(outcome.end, NetworkRunEnd::Stopped);
    EXPECT_EQ(outcome.iterations, 1);
}

}  // namespace
}  // namespace kal
