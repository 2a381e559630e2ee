#include <gtest/gtest.h>

#include "shared/IniFile.h"
#include "shared/Units.h"
#include "shell/UnitsSettings.h"
#include "support/TempDir.h"

namespace kal {
namespace {

// Records OK's steps in the order they reach the windows.
class RecordingUnitsHost : public UnitsOkHost {
  public:
    bool sheetOpen = false, calculationOpen = false;
    std::vector<std::string> steps;
    std::vector<IniEntry> written;
    const JobState* job = nullptr;

    void showUnitNames(const std::string& l, const std::string& a) override {
        steps.push_back("status bar " + l + " / " + a);
    }
    void closeUnitsWindow() override { steps.push_back("close"); }
    bool mainSheetOpen() const override { return sheetOpen; }
    void refillMainSheet() override { steps.push_back("main sheet " + job->LengthFormat); }
    bool calculationWindowOpen() const override { return calculationOpen; }
    void showResultsAgain() override { steps.push_back("results"); }
    void showCalculationUnitNames(const std::string& l, const std::string& a) override {
        steps.push_back("panels 8, 9 " + l + " / " + a);
    }
    void writeSettings(const std::vector<IniEntry>& entries) override {
        steps.push_back("settings");
        written = entries;
    }
    void redrawFlags() override { steps.push_back("flags"); }
};

JobState millimetreJob() {
    JobState job;
    job.LengthUnitName = "millimeter", job.AngleUnitName = "degree";
    job.DigitLength = 3, job.DigitAngle = 4, job.DigitScale = 0;
    applyUnitSettings(job);
    return job;
}

const UnitsChoice kMeterGon{1, 1, 2, 5, 1, true};

TEST(UnitsSettings, OkStoresTheChoiceInTheSettingsFileWithItsSignPositions) {
    testing::TempDir dir;
    const std::string ini = dir.write("Kalvoreth.ini", "[Units]\r\nUnitLength=inch\r\n\r\n[LastEntry]\r\n");
    JobState job = millimetreJob();
    RecordingUnitsHost host;
    host.job = &job;
    applyUnitsChoice(job, kMeterGon, host);
    writeIniValues(ini, host.written);
    const std::string text = testing::TempDir::read(ini);
    for (const char* line : {"UnitLength=meter\r\n", "UnitAngle=grad (gon)\r\n", "DigitLength= 2\r\n",
                             "DigitAngle= 5\r\n", "PhiThetaAsQ=True\r\n", "DigitScale= 1\r\n"})
        EXPECT_NE(text.find(line), std::string::npos) << line;
    EXPECT_EQ(text.find("inch"), std::string::npos);
    EXPECT_DOUBLE_EQ(job.LengthFactor, 0.001);
    EXPECT_EQ(job.LengthFormat, "0.00");
    EXPECT_EQ(job.AngleFormat, "0.00000");
    EXPECT_EQ(job.ScaleFormat, "0.000000000000");
    EXPECT_TRUE(job.PhiThetaAsQ);
}

TEST(UnitsSettings, OkRunsItsStepsInOrderAndReachesOnlyOpenWindows) {
    const struct {
        bool sheet, calculation;
        std::vector<std::string> steps;
    } cases[] = {
        {true,
         true,
         {"status bar meter / grad (gon)", "close", "main sheet 0.00", "results",
          "panels 8, 9 meter / grad (gon)", "settings", "flags"}},
        {false, false, {"status bar meter / grad (gon)", "close", "settings", "flags"}},
        {false,
         true,
         {"status bar meter / grad (gon)", "close", "results", "panels 8, 9 meter / grad (gon)", "settings",
          "flags"}},
    };
    for (const auto& c : cases) {
        JobState job = millimetreJob();
        RecordingUnitsHost host;
        host.job = &job;
        host.sheetOpen = c.sheet, host.calculationOpen = c.calculation;
        applyUnitsChoice(job, kMeterGon, host);
        EXPECT_EQ(host.steps, c.steps);
    }
}

// Units are kept in the job file, so OK marks the job changed; before a calculation it marks
// nothing calculated (the exports stay disabled).
TEST(UnitsSettings, OkMarksTheJobChangedButNotCalculated) {
    JobState job = millimetreJob();
    RecordingUnitsHost host;
    host.job = &job;
    host.calculationOpen = true;
    applyUnitsChoice(job, unitsChoiceForJob(job), host);
    EXPECT_TRUE(job.JobDirty);
    EXPECT_FALSE(job.TrafoCalculated);
    EXPECT_EQ(host.steps.size(), 6u);  // an unchanged choice still refreshes everything
}

TEST(UnitsSettings, UnknownNamesAndDigitsSelectTheDefaultsAtOpening) {
    JobState job;
    job.LengthUnitName = "furlong", job.AngleUnitName = "";
    job.DigitLength = 9, job.DigitAngle = -1, job.DigitScale = 2;
    EXPECT_EQ(unitsChoiceForJob(job), UnitsChoice{});
    EXPECT_EQ(UnitsChoice{}, (UnitsChoice{0, 0, 3, 4, 0, false}));

    job = millimetreJob();
    job.LengthUnitName = "feet", job.AngleUnitName = kDmsUnitName, job.DigitLength = 6,
    job.PhiThetaAsQ = true;
    EXPECT_EQ(unitsChoiceForJob(job), (UnitsChoice{3, 6, 6, 4, 0, true}));
}

TEST(UnitsSettings, OkNeverStoresAnEmptyNameOrANegativeIndex) {
    JobState job = millimetreJob();
    RecordingUnitsHost host;
    host.job = &job;
    applyUnitsChoice(job, UnitsChoice{-1, 99, -1, 7, 5, false}, host);
    EXPECT_EQ(job.LengthUnitName, "millimeter");
    EXPECT_EQ(job.AngleUnitName, "degree");
    EXPECT_EQ(job.DigitLength, 3);
    EXPECT_EQ(job.DigitAngle, 4);
    EXPECT_EQ(job.DigitScale, 0);
}

}  // namespace
}  // namespace kal
