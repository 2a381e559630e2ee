#include <gtest/gtest.h>

#include <QApplication>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTimer>
#include <QToolButton>
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "app/CalculationWindows.h"
#include "calculation/CalculationWindowLayout.h"
#include "calculation/ui/FormTrafoBerechnung.h"
#include "shared/WindowPos.h"
#include "shell/CalculationWindowSwitch.h"
#include "shell/JobCommands.h"
#include "shell/ui/FormMain.h"
#include "shell/ui/MainJobWindow.h"
#include "support/FakeFileDialogs.h"
#include "support/FakePlatform.h"
#include "support/FakeProgress.h"
#include "support/KnownTransformJob.h"
#include "support/SampleJobs.h"
#include "support/TempDir.h"
#include "support/ui/GridFit.h"

namespace kal {
namespace {

constexpr double kPi = 3.14159265358979;

// The program's pieces around the calculation window: the main window, the job commands that open
// the demo job, and the window's wiring, with scripted message boxes.
struct Program {
    JobState job;
    testing::FakePrompter prompter;
    testing::FakeFileDialogs dialogs;
    JobEvents events;
    FormMain main{job, prompter};
    MainJobWindow jobWindow{main, job};
    JobCommands commands{job, prompter, dialogs, jobWindow};
    CalculationWindows windows{job, events, main, prompter};

    Program() { main.setSplashInterval(-1); }
    bool openDemoJob() { return commands.openJobAt(std::string(KALVORETH_EXAMPLES) + "/demo-job.tfo"); }
    QAction* calculationCommand() { return main.action(Command::CalculationWindow); }
};

void saveCapture(QWidget& w, const char* name) {
    if (const char* dir = std::getenv("KALVORETH_CAPTURE_DIR"))
        w.grab().save(QString::fromStdString(std::string(dir) + "/" + name));
}

// Opens the demo job, opens the window through the menu entry, chooses a preset, calculates and
// reads the known transformation; then stops a long Monte Carlo series with STOP.
TEST(FormTrafoBerechnung, WalksTheCalculationOfTheDemoJob) {
    Program p;
    ASSERT_TRUE(p.openDemoJob());
    p.calculationCommand()->trigger();
    FormTrafoBerechnung* w = p.windows.window();
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(p.calculationCommand()->isChecked());
    EXPECT_TRUE(p.main.toolButton(Command::CalculationWindow)->isChecked());
    EXPECT_TRUE(p.job.TrafoFormGeladen);
    EXPECT_TRUE(p.prompter.shown().empty());  // six identical points: no box
    EXPECT_EQ(w->windowTitle(), "Transformation Calculation");
    // The demo job was calculated with six parameters: the rows come back from it.
    for (int slot = kTraX; slot <= kRotZ; ++slot) EXPECT_TRUE(w->row(slot).estimate->isChecked()) << slot;
    EXPECT_EQ(w->statusPanel(8)->text(), "millimeter");
    EXPECT_EQ(w->statusPanel(9)->text(), "degree");
    EXPECT_FALSE(w->stopButton()->isEnabled());

    w->presetButton(Preset::SevenParameter)->click();
    EXPECT_TRUE(w->row(kScaleXYZ).estimate->isChecked());
    EXPECT_EQ(w->row(kScaleXYZ).value->text(), "float");
    w->calculateButton()->click();
    EXPECT_NEAR(p.job.TraX(), 1000.0, 1e-6);
    EXPECT_NEAR(p.job.TraY(), -500.0, 1e-6);
    EXPECT_NEAR(p.job.TraZ(), 250.0, 1e-6);
    // x_OCS = 1000 − y_MCS: a quarter turn about z, −90° in the program's rotation convention
    // (the transpose of Rx·Ry'·Rz'').
    EXPECT_NEAR(p.job.RotZ(), -kPi / 2, 1e-9);
    EXPECT_NEAR(p.job.ScaleXYZ(), 1.0, 1e-9);
    EXPECT_EQ(w->row(kTraX).value->text(), "1000.000");
    EXPECT_EQ(w->row(kRotZ).value->text(), "-90.0000");
    EXPECT_EQ(w->statusPanel(2)->text(), "...ready");
    EXPECT_TRUE(w->calculateButton()->isEnabled());
    EXPECT_FALSE(w->stopButton()->isEnabled());
    saveCapture(*w, "calculation-window.png");

    // The table shows the residuals of the known transformation, point by point.
    PointTable& table = *w->pointTable();
    const auto cell = [&](int row, int column) {
        return table.gridModel().data(table.gridModel().index(row, column)).toString();
    };
    ASSERT_EQ(table.gridModel().rowCount(), p.job.IdenticalCount);
    for (int row = 0; row < p.job.IdenticalCount; ++row)
        for (int column = 2; column <= 4; ++column)
            EXPECT_EQ(cell(row, column), "0.000") << row << "," << column;

    // With automatic recalculation, a point's x left out (space bar on its use cell) calculates
    // again without it.
    w->autoRecalcBox()->setChecked(true);
    ASSERT_TRUE(p.job.AutoRecalc);
    int calculations = 0;
    auto counter = p.events.subscribe(JobEvent::ResultsChanged, Subscriber::Other, [&] { ++calculations; });
    p.job.JobDirty = false;
    table.setCurrentCell(2, 5);
    QKeyEvent space(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier);
    QApplication::sendEvent(&table, &space);
    EXPECT_EQ(calculations, 1);
    EXPECT_EQ(p.job.UseFlags[7], 0);
    EXPECT_TRUE(p.job.JobDirty);
    EXPECT_EQ(cell(2, 5), "");
    EXPECT_EQ(w->statusPanel(2)->text(), "...ready");
    EXPECT_NEAR(p.job.TraX(), 1000.0, 1e-6);
    w->autoRecalcBox()->setChecked(false);
    counter.reset();

    // A long series: STOP ends it at its next check.
    p.job.MonteCarloRuns = 1000000;
    p.job.sigmaX = p.job.sigmaY = p.job.sigmaZ = 0.1;
    w->monteCarloBox()->click();
    ASSERT_TRUE(p.job.MonteCarloOn);
    bool stopLive = false, boxesLocked = false;
    QTimer::singleShot(300, w, [&] {
        stopLive = w->stopButton()->isEnabled();
        boxesLocked =
            !w->row(kTraX).estimate->isEnabled() && !w->presetButton(Preset::NineParameter)->isEnabled();
        w->stopButton()->click();
    });
    QElapsedTimer clock;
    clock.start();
    w->calculateButton()->click();
    EXPECT_LT(clock.elapsed(), 60000);
    EXPECT_TRUE(stopLive);
    EXPECT_TRUE(boxesLocked);
    EXPECT_FALSE(p.job.McCompleted);
    EXPECT_FALSE(p.job.StopFlag);
    EXPECT_FALSE(w->stopButton()->isEnabled());
    EXPECT_TRUE(w->calculateButton()->isEnabled());
    EXPECT_TRUE(w->row(kTraX).estimate->isEnabled());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    // The second choice of the command closes the window and releases the button.
    p.calculationCommand()->trigger();
    EXPECT_EQ(p.windows.window(), nullptr);
    EXPECT_FALSE(p.calculationCommand()->isChecked());
    EXPECT_FALSE(p.job.TrafoFormGeladen);
}

TEST(FormTrafoBerechnung, TooFewIdenticalPointsOpenNothingAndLeaveTheButtonUnpressed) {
    struct Case {
        std::int32_t points;
        std::vector<std::string> boxes;
        bool opens;
    };
    const Case cases[] = {
        {1, {kLessThanTwoPointsMessage}, false},
        {2, {kLessThanThreePointsMessage}, true},
        {3, {}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.points);
        Program p;
        testing::SyntheticRecipe recipe;
        recipe.points = c.points;
        p.job = testing::makeSyntheticJob(recipe);
        p.job.TrafoFormGeladen = false;
        p.main.toolButton(Command::CalculationWindow)->click();  // the toolbar button runs the same command
        EXPECT_EQ(p.prompter.texts(), c.boxes);
        EXPECT_EQ(p.windows.window() != nullptr, c.opens);
        EXPECT_EQ(p.calculationCommand()->isChecked(), c.opens);
        EXPECT_EQ(p.main.toolButton(Command::CalculationWindow)->isChecked(), c.opens);
    }
}

TEST(FormTrafoBerechnung, ClosingTheWindowReleasesTheCommand) {
    Program p;
    ASSERT_TRUE(p.openDemoJob());
    FormTrafoBerechnung& w = p.windows.ensureOpen();
    EXPECT_TRUE(p.calculationCommand()->isChecked());
    w.closeButton()->click();
    QCoreApplication::processEvents();
    EXPECT_EQ(p.windows.window(), nullptr);
    EXPECT_FALSE(p.calculationCommand()->isChecked());
    EXPECT_FALSE(p.job.TrafoFormGeladen);
}

struct Standalone {
    JobState job;
    testing::FakePrompter prompter;
    testing::FakeClipboard clipboard;
    testing::FakeEventPump pump;
    testing::FakeProgress progress;
    JobEvents events;
    std::unique_ptr<FormTrafoBerechnung> w;

    explicit Standalone(JobState j) : job(std::move(j)) {}
    FormTrafoBerechnung& open(CalculationWindowServices hooks = {}) {
        job.TrafoFormGeladen = false;
        w = std::make_unique<FormTrafoBerechnung>(
            job, events, platform::Services{&prompter, &clipboard, &pump, nullptr, &progress},
            std::move(hooks));
        return *w;
    }
};

// A table of nine columns, as the point table has.
class NineColumns : public GridSource {
  public:
    std::int32_t rowCount() const override { return 3; }
    std::int32_t columnCount() const override { return 9; }
    std::string headerText(std::int32_t) const override { return {}; }
    std::string text(std::int32_t, std::int32_t) const override { return "x"; }
};

// The demo job calculated with rot z'' estimated (sigma 0 and a huge value/sigma), then again
// with rot z'' held, then with tra x held as well: a held parameter's sigma and value/sigma boxes
// are empty after each calculation, never the figures of an earlier one.
TEST(FormTrafoBerechnung, AHeldParameterShowsNoSigmaOfAnEarlierCalculation) {
    Program p;
    ASSERT_TRUE(p.openDemoJob());
    p.calculationCommand()->trigger();
    FormTrafoBerechnung* w = p.windows.window();
    ASSERT_NE(w, nullptr);
    w->calculateButton()->click();
    ASSERT_FALSE(w->row(kRotZ).sigma->text().isEmpty());
    ASSERT_FALSE(w->row(kRotZ).significance->text().isEmpty());
    ASSERT_FALSE(w->row(kTraX).significance->text().isEmpty());
    for (const int held : {kRotZ, kTraX}) {
        SCOPED_TRACE(held);
        w->row(held).estimate->click();
        ASSERT_FALSE(w->row(held).estimate->isChecked());
        w->calculateButton()->click();
        for (const int slot : {kRotZ, kTraX}) {
            if (slot == kTraX && held == kRotZ) continue;  // still estimated
            EXPECT_EQ(w->row(slot).sigma->text().toStdString(), "") << slot;
            EXPECT_EQ(w->row(slot).significance->text().toStdString(), "") << slot;
        }
        EXPECT_FALSE(w->row(kTraY).sigma->text().isEmpty());  // estimated: this run's sigma
    }
}

// 10^5 points: the name column fits the longest name, also where that name is one of a few
// among the rows a fit samples, and the last one ("P100000") is not cut to "P1000…".
TEST(FormTrafoBerechnung, TheNameColumnFitsTheLongestNameOfALargeJob) {
    JobState job = testing::makePointJob(100'000);
    job.MCS_Name[50'001] = "P100000-rework";  // row 50000, between two sampled rows
    job.MCSt_Name = job.MCS_Name;
    Standalone s(std::move(job));
    FormTrafoBerechnung& w = s.open();
    w.show();
    QApplication::processEvents();
    PointTable& table = *w.pointTable();
    for (const int row : {50'000, 99'999}) {
        const QModelIndex index = table.gridModel().index(row, kPointNameColumn);
        table.scrollTo(index);
        QApplication::processEvents();
        EXPECT_FALSE(testing::cellTextCut(table, row, kPointNameColumn))
            << index.data().toString().toStdString();
    }
}

// Widths come from "col_fb_N" (a column without a key fits its contents), reach the table when it has its
// columns and again after it rebuilds them, and the user's widths are stored when the window closes.
TEST(FormTrafoBerechnung, ColumnWidthsComeFromTheSettingsAndGoBackThere) {
    testing::TempDir dir;
    Standalone s(testing::makeSyntheticJob({}));
    s.job.IniFilePath = dir.write(
        "Kalvoreth.ini", "[Cols]\r\ncol_fb_1=1234.6\r\ncol_fb_2=abc\r\ncol_fb_4=0\r\n\r\n[LastEntry]\r\n");
    std::vector<IniEntry> stored;
    CalculationWindowServices hooks;
    hooks.writeSettings = [&](const std::vector<IniEntry>& entries) { stored = entries; };
    FormTrafoBerechnung& w = s.open(hooks);
    NineColumns source;
    w.pointTable()->setSource(&source);
    const double dpi = w.logicalDpiX();
    EXPECT_EQ(w.pointTable()->columnWidth(1), twipsToPixels(1235, dpi));
    EXPECT_EQ(w.pointTable()->columnWidth(2), twipsToPixels(900, dpi));
    // col_fb_3 was never stored: the column fits its title and texts.
    EXPECT_EQ(w.pointTable()->columnWidth(3), w.pointTable()->fittedColumnWidth(3));
    EXPECT_EQ(w.pointTable()->columnWidth(4), twipsToPixels(900, dpi));
    w.pointTable()->setColumnWidth(3, 150);  // the user widens a column
    w.pointTable()->gridModel().reset();     // the table rebuilds its columns
    EXPECT_EQ(w.pointTable()->columnWidth(3), 150);
    w.close();
    // The settings file's widths and the user's go back; the fitted columns 5 to 7 are fitted
    // again next time rather than fixed at this job's numbers.
    ASSERT_EQ(stored.size(), 4u);
    EXPECT_EQ(stored[0].key, "col_fb_1");
    EXPECT_EQ(stored[0].value.text(), "1235");
    EXPECT_EQ(stored[1].value.text(), "900");
    EXPECT_EQ(stored[2].key, "col_fb_3");
    EXPECT_EQ(stored[2].value.text(), std::to_string(static_cast<int>(pixelsToTwips(150, dpi))));
    EXPECT_EQ(stored[3].key, "col_fb_4");
    EXPECT_FALSE(s.job.TrafoFormGeladen);
    w.pointTable()->setSource(nullptr);
}

TEST(FormTrafoBerechnung, ParaboloidModeKeepsL1LooAndTheDirectionButtonDisabled) {
    Standalone s(testing::makeSyntheticJob({}));
    s.job.ParaboloidMode = true;
    s.job.ParamState = {};
    FormTrafoBerechnung& w = s.open();
    EXPECT_FALSE(w.normButton(kNormL1)->isEnabled());
    EXPECT_FALSE(w.normButton(kNormMinimax)->isEnabled());
    EXPECT_TRUE(w.normButton(kNormL2)->isChecked());
    EXPECT_FALSE(w.directionButton()->isEnabled());
    EXPECT_FALSE(w.row(kRDist).estimate->isEnabled());
    EXPECT_TRUE(w.presetButton(Preset::SixParameter)->isChecked());
    EXPECT_EQ(w.normButton(kNormMinimax)->text(), "Loo - max to min\n- in Betta state -");
}

TEST(FormTrafoBerechnung, RightColumnFollowsTheWidth) {
    Standalone s(testing::makeSyntheticJob({}));
    FormTrafoBerechnung& w = s.open();
    const double dpi = w.logicalDpiX();
    for (double twips : {17610.0, 10000.0}) {
        SCOPED_TRACE(twips);
        w.resize(twipsToPixels(twips, dpi), w.height());
        w.show();
        QCoreApplication::processEvents();
        // The controls stand on a canvas as wide as the window, or at its minimum, scrolled.
        const QWidget* canvas = w.findChild<QWidget*>("CalculationCanvas");
        ASSERT_NE(canvas, nullptr);
        EXPECT_EQ(canvas->width(), std::max(w.width(), canvas->minimumWidth()));
        const CalculationWindowColumns c = layoutForWidth(pixelsToTwips(canvas->width(), dpi));
        EXPECT_EQ(w.pointTable()->width(), twipsToPixels(c.tableWidth, dpi));
        EXPECT_EQ(w.frame("Frame2")->x(), twipsToPixels(c.controlLeft, dpi));
        EXPECT_EQ(w.closeButton()->x(), twipsToPixels(c.buttonsLeft, dpi));
    }
}

// A calculation ending near the gimbal lock colours rot y' at once; the question comes after the
// calculation, once, and Yes calculates once more with rot x held at 0.
TEST(FormTrafoBerechnung, GimbalLockColoursAtOnceAndAsksAfterTheCalculation) {
    testing::SyntheticRecipe recipe;
    recipe.truth.rot[1] = 89.9 * kPi / 180;
    Standalone s(testing::makeSyntheticJob(recipe));
    s.job.GimbalLockBorder = 0.01;
    s.job.ParamState = {};
    FormTrafoBerechnung& w = s.open();
    int calculations = 0;
    auto counter = s.events.subscribe(JobEvent::ResultsChanged, Subscriber::Other, [&] { ++calculations; });
    w.calculateButton()->click();
    ASSERT_EQ(calculations, 1);
    EXPECT_EQ(w.row(kRotY).value->palette().color(QPalette::Base), QColor(255, 0, 0));
    EXPECT_TRUE(s.prompter.shown().empty());
    s.prompter.answer(platform::Answer::Yes);
    QCoreApplication::processEvents();
    ASSERT_EQ(s.prompter.shown().size(), 1u);
    EXPECT_EQ(s.prompter.shown()[0].title, kGimbalLockTitle);
    EXPECT_EQ(calculations, 2);
    EXPECT_FALSE(w.row(kRotX).estimate->isChecked());
    EXPECT_EQ(w.row(kRotY).value->palette().color(QPalette::Base), QColor(255, 255, 255));
    QCoreApplication::processEvents();
    EXPECT_EQ(s.prompter.shown().size(), 1u);
}

// The question is waiting when another calculation starts, and that calculation lets events
// through (a Monte Carlo series): the question is not asked inside it, but once after it, and Yes
// then runs one calculation.
TEST(FormTrafoBerechnung, GimbalLockQuestionIsNeverAskedInsideARunningCalculation) {
    testing::SyntheticRecipe recipe;
    recipe.truth.rot[1] = 89.9 * kPi / 180;
    Standalone s(testing::makeSyntheticJob(recipe));
    s.job.GimbalLockBorder = 0.01;
    s.job.ParamState = {};
    s.job.MonteCarloRuns = 3000;  // long enough to let events through
    s.job.sigmaX = s.job.sigmaY = s.job.sigmaZ = 0.01;
    FormTrafoBerechnung& w = s.open();
    int calculations = 0, eventsMidRun = 0;
    std::size_t boxesMidRun = 0;
    auto counter = s.events.subscribe(JobEvent::ResultsChanged, Subscriber::Other, [&] { ++calculations; });
    w.calculateButton()->click();  // leaves the question waiting
    ASSERT_TRUE(s.prompter.shown().empty());
    w.monteCarloBox()->click();
    s.pump.onEvents([&](int) {
        QCoreApplication::processEvents();  // the waiting question's turn comes here
        ++eventsMidRun;
        boxesMidRun += s.prompter.shown().size();
    });
    w.calculateButton()->click();
    EXPECT_GT(eventsMidRun, 0);
    EXPECT_EQ(boxesMidRun, 0u);
    EXPECT_EQ(calculations, 2);
    s.prompter.answer(platform::Answer::Yes);
    QCoreApplication::processEvents();
    EXPECT_EQ(s.prompter.shown().size(), 1u);
    EXPECT_EQ(calculations, 3);
    EXPECT_FALSE(w.row(kRotX).estimate->isChecked());
}

TEST(FormTrafoBerechnung, SecondRotationSolutionChangesOnlyTheBoxes) {
    Standalone s(testing::makeSyntheticJob({}));
    s.job.ParamState = {};
    FormTrafoBerechnung& w = s.open();
    w.calculateButton()->click();
    const QString first = w.row(kRotX).value->text();
    const auto params = s.job.Params;
    w.secondRotationButton()->click();
    EXPECT_NE(w.row(kRotX).value->text(), first);
    w.secondRotationButton()->click();
    EXPECT_EQ(w.row(kRotX).value->text(), first);
    EXPECT_EQ(s.job.Params, params);
}

}  // namespace
}  // namespace kal
