#include <gtest/gtest.h>

#include <filesystem>

#include "platform/Regional.h"
#include "shared/Errors.h"
#include "shared/Units.h"
#include "shell/JobReset.h"
#include "shell/QuickTransformation.h"
#include "support/FakePlatform.h"
#include "support/TempDir.h"

namespace kal {
namespace {

const std::string kTable = "P1\t1\t2\t3\t\tP1\t10\t20\t30\r\nP2\t4\t5\t6\t\tP2\t40\t50\t60\r\n";

class QuietMainWindow : public MainWindowView {
  public:
    void setMainCaption(const std::string&) override {}
    void showUnitNames(const std::string&, const std::string&) override {}
    void enableMainWindow(bool) override {}
    void refreshState() override {}
};

struct QuickFixture {
    platform::ScopedDecimalSeparator point{'.'};
    testing::TempDir dir;
    testing::FakePrompter prompter;
    testing::FakeClipboard clipboard;
    JobEvents hub;
    QuietMainWindow mainWindow;
    JobState job;
    QuickTransformationServices services;
    int calculations = 0;
    CalcStatus status = CalcStatus::Solved;

    QuickFixture() {
        job.LengthUnitName = "millimeter", job.AngleUnitName = "degree";
        job.DigitLength = 3, job.DigitAngle = 4;
        applyUnitSettings(job);
        services.clipboard = &clipboard;
        services.load.prompter = &prompter;
        services.load.jobEvents = &hub;
        services.load.resetJob = [this](JobState& j) { initializeJob(j, mainWindow); };
        services.dataFolder = dir.file("data");
        // The calculation as the result display ends it: statistics in the job, the report copied.
        services.calculate = [this] {
            ++calculations;
            if (status == CalcStatus::Solved) {
                job.SigmaXyz = 0.0123, job.MaxDevX = 0.05, job.MinDevX = -0.03;
                job.MaxDevY = job.MinDevY = job.MaxDevZ = job.MinDevZ = 0;
                clipboard.setText("report");
            }
            return status;
        };
    }
    std::string mcsFile() const { return dir.file("data/mcs.txt"); }
    std::string ocsFile() const { return dir.file("data/ocs.txt"); }
};

TEST(QuickTransformation, TableBecomesTheTwoPointFilesByteForByte) {
    QuickFixture f;
    f.clipboard.setText(kTable);
    runQuickTransformation(f.job, f.services);
    EXPECT_EQ(testing::TempDir::read(f.mcsFile()), "P1\t\t1\t\t2\t\t3\t\r\nP2\t\t4\t\t5\t\t6\t\r\n\r\n");
    EXPECT_EQ(testing::TempDir::read(f.ocsFile()), "P1\t\t10\t\t20\t\t30\r\nP2\t\t40\t\t50\t\t60\r\n");
}

TEST(QuickTransformation, SolvedCalculationAppendsTheStatisticsLine) {
    QuickFixture f;
    f.clipboard.setText(
        "P1\t0\t0\t0\t\tP1\t10\t0\t0\r\nP2\t100\t0\t0\t\tP2\t110\t0\t0\r\n"
        "P3\t0\t100\t0\t\tP3\t10\t100\t0\r\nP4\t0\t0\t100\t\tP4\t10\t0\t100\r\n");
    f.job.UseFlags = {0};
    EXPECT_EQ(runQuickTransformation(f.job, f.services), QuickTransformationResult::Solved);
    EXPECT_EQ(f.calculations, 1);
    EXPECT_EQ(f.clipboard.text(), "report\ts0 \t0.012\tSpanne x \t0.080\tSpanne y \t0.000\tSpanne z \t0.000");
    // Loaded by name from the two files, every observation used.
    EXPECT_EQ(f.job.IdenticalCount, 4);
    EXPECT_EQ(f.job.MCS_FileName, f.mcsFile());
    EXPECT_EQ(f.job.OCS_FileName, f.ocsFile());
    EXPECT_FALSE(f.job.ParaboloidMode);
    for (std::int32_t i = 1; i <= 12; ++i) EXPECT_EQ(f.job.UseFlags[i], 1) << i;
}

// After a calculation that did not solve, the statistics of an earlier one would be stale.
TEST(QuickTransformation, UnsolvedCalculationLeavesTheClipboardAsItWasLeft) {
    for (CalcStatus status : {CalcStatus::Refused, CalcStatus::Stopped, CalcStatus::Failed}) {
        QuickFixture f;
        f.status = status;
        f.job.SigmaXyz = 5;
        const std::string table =
            "A\t0\t0\t0\t\tA\t1\t0\t0\nB\t9\t0\t0\t\tB\t10\t0\t0\nC\t0\t9\t0\t\tC\t1\t9\t0\n";
        f.clipboard.setText(table);
        EXPECT_EQ(runQuickTransformation(f.job, f.services), QuickTransformationResult::NotSolved);
        EXPECT_EQ(f.clipboard.text(), table);
    }
}

// Guards against a scan that reads across line ends, where a short row would swallow the next one.
TEST(QuickTransformation, ShortRowIsRefusedNamingItAndNothingIsWritten) {
    QuickFixture f;
    f.job.ClipInput = false;
    f.clipboard.setText(
        "P1\t1\t2\t3\t\tP1\t10\t20\t30\r\nP2\t4\t5\t6\tP2\t40\t50\t60\r\nP3\t1\t1\t1\t\tP3\t1\t1\t1\r\n");
    EXPECT_EQ(runQuickTransformation(f.job, f.services), QuickTransformationResult::TableRefused);
    ASSERT_EQ(f.prompter.shown().size(), 1u);
    const std::string& text = f.prompter.shown()[0].text;
    EXPECT_EQ(text.rfind("Fehler beim Einlesen\n", 0), 0u) << text;
    EXPECT_NE(text.find("Row 2 has 8 fields"), std::string::npos) << text;
    EXPECT_FALSE(std::filesystem::exists(f.mcsFile()));
    EXPECT_FALSE(std::filesystem::exists(f.ocsFile()));
    EXPECT_EQ(f.calculations, 0);
    EXPECT_FALSE(f.job.DataLoaded);
    EXPECT_FALSE(f.job.ClipInput);
    EXPECT_EQ(f.job.McsCount, 0);
}

TEST(QuickTransformation, DataFolderThatCannotBeMadeIsNamedAndNothingIsLoaded) {
    QuickFixture f;
    f.services.dataFolder = f.dir.write("occupied", "a file, not a folder");
    f.clipboard.setText(kTable);
    EXPECT_EQ(runQuickTransformation(f.job, f.services), QuickTransformationResult::FilesFailed);
    ASSERT_EQ(f.prompter.shown().size(), 1u);
    EXPECT_NE(f.prompter.shown()[0].text.find(f.services.dataFolder), std::string::npos)
        << f.prompter.shown()[0].text;
    EXPECT_FALSE(f.job.DataLoaded);
    EXPECT_EQ(f.calculations, 0);
}

TEST(QuickTransformation, TableRowsAndLineEnds) {
    const struct {
        const char* name;
        std::string table;
        std::string mcs;
        std::string ocs;
    } cases[] = {
        {"LF row ends", "A\t1\t2\t3\t\tA\t4\t5\t6\n", "A\t\t1\t\t2\t\t3\t\r\n\r\n", "A\t\t4\t\t5\t\t6\r\n"},
        {"CR row ends", "A\t1\t2\t3\t\tA\t4\t5\t6\rB\t1\t2\t3\tx\tB\t4\t5\t6\r",
         "A\t\t1\t\t2\t\t3\t\r\nB\t\t1\t\t2\t\t3\t\r\n\r\n", "A\t\t4\t\t5\t\t6\r\nB\t\t4\t\t5\t\t6\r\n"},
        {"last row without a line break", "A\t1\t2\t3\t\tA\t4\t5\t6", "A\t\t1\t\t2\t\t3\t\r\n\r\n",
         "A\t\t4\t\t5\t\t6\r\n"},
        {"columns after the OCS z stay", "A\t1\t2\t3\t\tA\t4\t5\t6\t7\tnote\r\n",
         "A\t\t1\t\t2\t\t3\t\r\n\r\n", "A\t\t4\t\t5\t\t6\t7\tnote\r\n"},
        {"one stray character and blank lines after the table", "A\t1\t2\t3\t\tA\t4\t5\t6\r\n\r\n\r\nx",
         "A\t\t1\t\t2\t\t3\t\r\n\r\n", "A\t\t4\t\t5\t\t6\r\n"},
        {"trailing lines of blanks are dropped like empty ones", "A\t1\t2\t3\t\tA\t4\t5\t6\r\n  \r\n",
         "A\t\t1\t\t2\t\t3\t\r\n\r\n", "A\t\t4\t\t5\t\t6\r\n"},
        {"trailing blanks without a line end and an empty spreadsheet row",
         "A\t1\t2\t3\t\tA\t4\t5\t6\n\t\t\t\t\t\t\t\t\n \t  ", "A\t\t1\t\t2\t\t3\t\r\n\r\n",
         "A\t\t4\t\t5\t\t6\r\n"},
    };
    for (const auto& c : cases) {
        const QuickPointFiles files = splitQuickTable(c.table);
        EXPECT_EQ(files.mcs, c.mcs) << c.name;
        EXPECT_EQ(files.ocs, c.ocs) << c.name;
    }
}

TEST(QuickTransformation, TablesThatDoNotFitAreRefused) {
    const struct {
        std::string table;
        const char* why;
    } cases[] = {
        {"", "no table"},
        {"A\t1\t2\t3\tA\t4\t5\t6\r\n", "Row 1 has 8 fields"},  // no separating column
        {"A\t1\t2\t3\t\tA\t4\t5\t6\r\n\r\nB\t1\t2\t3\t\tB\t4\t5\t6\r\n", "Row 2 has 1 field;"},
        {"A\t1\t2\t3\t\tA\t4\t5\t6\r\nxy", "Row 2 has 1 field;"},  // two stray characters start a row
        // Only blank lines at the end are dropped: one between rows is still a row.
        {"A\t1\t2\t3\t\tA\t4\t5\t6\r\n  \r\nB\t1\t2\t3\t\tB\t4\t5\t6\r\n", "Row 2 has 1 field;"},
    };
    for (const auto& c : cases) {
        try {
            splitQuickTable(c.table);
            ADD_FAILURE() << c.why;
        } catch (const FormatError& e) {
            EXPECT_EQ(std::string(e.what()).rfind("Fehler beim Einlesen\n", 0), 0u);
            EXPECT_NE(std::string(e.what()).find(c.why), std::string::npos) << e.what();
        }
    }
}

TEST(QuickTransformation, StatisticsLineInTheDisplayUnit) {
    JobState job;
    job.LengthFactor = 0.001, job.LengthFormat = "0.00000";
    job.SigmaXyz = 12, job.MaxDevZ = 30, job.MinDevZ = -20;
    EXPECT_EQ(quickStatisticsLine(job),
              "\ts0 \t0.01200\tSpanne x \t0.00000\tSpanne y \t0.00000\tSpanne z \t0.05000");
}

// After an L1 or minimax calculation there is no sigma of the result: the s0 field stays empty,
// the spans stay.
TEST(QuickTransformation, StatisticsLineHasNoSigmaUnderL1AndMinimax) {
    for (const std::int16_t norm : {kNormL1, kNormMinimax}) {
        JobState job;
        job.NormMode = norm;
        job.LengthFactor = 1, job.LengthFormat = "0.000";
        job.SigmaXyz = 0.5, job.MaxDevX = 0.25, job.MinDevX = -0.25;
        EXPECT_EQ(quickStatisticsLine(job),
                  "\ts0 \t\tSpanne x \t0.500\tSpanne y \t0.000\tSpanne z \t0.000")
            << norm;
    }
}

}  // namespace
}  // namespace kal
