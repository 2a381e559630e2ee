#include <gtest/gtest.h>

#include <QApplication>
#include <QChartView>
#include <QLineSeries>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QValueAxis>
#include <cmath>
#include <cstdlib>

#include "app/CalculationWindows.h"
#include "app/ChartWindows.h"
#include "calculation/ui/PointTable.h"
#include "details/DistanceTestSupport.h"
#include "details/TrumpetGraph.h"
#include "platform/Regional.h"
#include "shell/EditCommands.h"
#include "support/FakeFileDialogs.h"
#include "support/FakePlatform.h"
#include "support/FakeProgress.h"
#include "support/TempDir.h"
#include "support/ui/GridFit.h"

namespace kal {
namespace {

void saveCapture(QWidget* w, const char* name) {
    if (const char* dir = std::getenv("KALVORETH_CAPTURE_DIR"))
        w->grab().save(QString::fromStdString(std::string(dir) + "/" + name));
}

// The main window with the chart windows' wiring, a job of identical points and scripted dialogs.
struct Program {
    platform::ScopedDecimalSeparator point{'.'};
    JobState job = testing::distanceJob(testing::scaledCloud(40, 20.0, 0.3));
    testing::FakePrompter prompter;
    testing::FakeFileDialogs dialogs;
    JobEvents events;
    FormMain main{job, prompter};
    ChartWindows charts{job, events, main, prompter, dialogs};

    Program() {
        main.setSplashInterval(-1);
        main.refreshControls();
        main.resize(1300, 900);
    }
    // Lets the queued activation of the analysis window run.
    static void settle() {
        for (int k = 0; k < 5; ++k) QApplication::processEvents();
    }
};

// Nothing chosen yet is no chart failure: the message says where rows are chosen. The chart's own
// message stays for values it cannot draw.
TEST(ChartWindows, GraphDataWithNoRowsChosenSaysHowToChooseThemAndOpensNoWindow) {
    Program p;
    ASSERT_TRUE(p.main.action(Command::GraphData)->isEnabled());
    p.job.AuswahlPkt.clear();
    p.job.AnzAuswahl = 0;
    p.main.action(Command::GraphData)->trigger();
    EXPECT_EQ(p.prompter.texts(), std::vector<std::string>{kNoRowsToGraphMessage});
    EXPECT_NE(std::string(kNoRowsToGraphMessage).find("main sheet"), std::string::npos);
    EXPECT_NE(std::string(kNoRowsToGraphMessage).find("right mouse button"), std::string::npos);
    EXPECT_EQ(p.charts.chartWindow(), nullptr);
    EXPECT_TRUE(p.main.mdiArea()->subWindowList().isEmpty());

    p.job.AuswahlPkt = {0.1, std::nan("")};
    p.job.AnzAuswahl = 2;
    p.main.action(Command::GraphData)->trigger();
    EXPECT_EQ(p.prompter.texts().back(), kChartFailedMessage);
    EXPECT_EQ(p.charts.chartWindow(), nullptr);

    p.job.IdenticalCount = 0;
    p.job.AuswahlPkt = {1.0};
    p.job.AnzAuswahl = 1;
    p.main.action(Command::GraphData)->trigger();
    EXPECT_EQ(p.prompter.texts().back(), kNoPointsToGraphMessage);
    EXPECT_EQ(p.charts.chartWindow(), nullptr);
}

TEST(ChartWindows, GraphDataChartsTheSelectedValuesOnASymmetricAxis) {
    Program p;
    p.job.AuswahlPkt = {0.2, -0.5, 0.1};
    p.job.AnzAuswahl = 3;
    p.main.action(Command::GraphData)->trigger();
    FormGrafik* chart = p.charts.chartWindow();
    ASSERT_NE(chart, nullptr);
    EXPECT_EQ(chart->windowTitle(), "Graph Data");
    EXPECT_EQ(chart->chartView()->chart()->title(), "Datas Graph");
    EXPECT_EQ(chart->valueAxis()->titleText(), "[dev.]");
    EXPECT_DOUBLE_EQ(chart->valueAxis()->min(), -0.7);
    EXPECT_DOUBLE_EQ(chart->valueAxis()->max(), 0.7);
    ASSERT_EQ(chart->valueSeries()->count(), 3);
    EXPECT_EQ(chart->valueSeries()->at(1), QPointF(1, -0.5));
    EXPECT_EQ(chart->zeroSeries()->at(2), QPointF(2, 0));
    EXPECT_TRUE(chart->zeroSeries()->pointsVisible());
    EXPECT_EQ(chart->valueSeries()->color(), QColor(0, 0, 250));
    EXPECT_EQ(chart->zeroSeries()->color(), QColor(100, 100, 255));
    QApplication::processEvents();
    saveCapture(p.main.mdiArea()->activeSubWindow(), "graph-data.png");

    // A long selection replaces the content of the same window and draws no markers.
    p.job.AuswahlPkt.assign(20000, 0.0);
    p.job.AuswahlPkt[7] = -10;
    p.job.AnzAuswahl = 20000;
    p.main.action(Command::GraphData)->trigger();
    EXPECT_EQ(p.charts.chartWindow(), chart);
    EXPECT_EQ(chart->valueSeries()->count(), 20000);
    EXPECT_FALSE(chart->zeroSeries()->pointsVisible());
    EXPECT_DOUBLE_EQ(chart->valueAxis()->max(), 13.1);
    EXPECT_EQ(p.main.mdiArea()->subWindowList().size(), 1);
}

// The point table's right click leaves its own values for the Edit menu, and "Graph Data" charts
// them (the table's values, not its texts).
TEST(ChartWindows, GraphDataChartsTheRowsRightClickedInThePointTable) {
    Program p;
    CalculationWindows calculation{p.job, p.events, p.main, p.prompter};
    PointTable* table = calculation.ensureOpen().pointTable();
    ASSERT_NE(table, nullptr);
    QApplication::processEvents();
    table->selectBlock(2, 1, 9, 1);
    const QModelIndex cell = table->gridModel().index(9, 1);
    table->scrollTo(cell);
    const QPoint at = table->visualRect(cell).center();
    QMouseEvent press(QEvent::MouseButtonPress, at, table->viewport()->mapToGlobal(at), Qt::RightButton,
                      Qt::RightButton, Qt::NoModifier);
    QApplication::sendEvent(table->viewport(), &press);
    if (QMenu* edit = p.main.action(Command::EditMenu)->menu()) edit->close();
    ASSERT_EQ(table->selectedValues().size(), 8u);
    EXPECT_EQ(p.job.AuswahlPkt, table->selectedValues());
    EXPECT_EQ(p.job.AnzAuswahl, 8);
    EXPECT_EQ(p.job.ClipboardText, table->clipboardText());

    p.main.action(Command::GraphData)->trigger();
    ASSERT_NE(p.charts.chartWindow(), nullptr);
    const QLineSeries* values = p.charts.chartWindow()->valueSeries();
    ASSERT_EQ(values->count(), 8);
    for (int k = 0; k < 8; ++k)
        EXPECT_EQ(values->at(k).y(), table->selectedValues()[static_cast<std::size_t>(k)]);
}

TEST(ChartWindows, DistanceScaleRunsOnActivationWithoutCalibrationBeforeACalculation) {
    Program p;
    ASSERT_TRUE(p.main.action(Command::DistanceScale)->isEnabled());
    p.main.action(Command::DistanceScale)->trigger();
    FormDistanceScale* w = p.charts.distanceWindow();
    ASSERT_NE(w, nullptr);
    Program::settle();
    ASSERT_NE(w->analysis(), nullptr);
    EXPECT_EQ(p.charts.trumpetPairs(), w->analysis());
    EXPECT_FALSE(w->withCalibrationOption()->isEnabled());
    EXPECT_TRUE(w->withoutCalibrationOption()->isChecked());
    EXPECT_FALSE(w->withCalibration());
    EXPECT_EQ(w->table()->model()->rowCount(), 40);
    EXPECT_EQ(w->table()->model()->headerData(5, Qt::Horizontal).toString(), "max Scale ");
    EXPECT_EQ(w->table()->model()->index(0, 0).data().toString(), "P1");
    EXPECT_TRUE(w->trumpetGraphButton()->isEnabled());
    EXPECT_TRUE(p.main.action(Command::DistanceScale)->isEnabled());  // given back after the run
    // The columns fit their titles ("Schnitt Abs(delta s)") and numbers.
    EXPECT_EQ(testing::cutTitles(*w->table()), std::vector<std::string>{});
    EXPECT_EQ(testing::cutCellTexts(*w->table()), std::vector<std::string>{});

    // Activated again with nothing changed: no new run. After a change of the points: a new one,
    // which keeps a width the user dragged.
    const auto first = w->analysis();
    w->activate();
    EXPECT_EQ(w->analysis(), first);
    w->table()->setColumnWidth(2, 33);
    p.events.publish(JobEvent::PointsReplaced);
    w->activate();
    EXPECT_NE(w->analysis(), first);
    EXPECT_EQ(w->table()->columnWidth(2), 33);

    // A change of units rewrites the table without a run.
    const auto second = w->analysis();
    const QString mm = w->table()->model()->index(0, 1).data().toString();
    p.job.LengthFactor = 0.001;
    p.job.LengthFormat = "0.000000";
    p.events.publish(JobEvent::UnitsChanged);
    EXPECT_EQ(w->analysis(), second);
    EXPECT_NE(w->table()->model()->index(0, 1).data().toString(), mm);
    // Only the column the user made narrow cuts its title.
    EXPECT_EQ(testing::cutTitles(*w->table()), std::vector<std::string>{"2: bei Pkt"});
    saveCapture(p.main.mdiArea()->activeSubWindow(), "distance-scale.png");
}

TEST(ChartWindows, DistanceScaleWithoutIdenticalPointsShowsTheMessage) {
    Program p;
    p.job.IdenticalCount = 0;
    p.main.action(Command::DistanceScale)->trigger();
    EXPECT_EQ(p.prompter.texts(), std::vector<std::string>{kNoPointsForDistanceScaleMessage});
    EXPECT_EQ(p.charts.distanceWindow(), nullptr);
}

// A distance window's services on scripted fakes, letting events through after every step.
struct DistanceFakes {
    testing::FakePrompter prompter;
    testing::FakeProgress progress;
    testing::FakeEventPump pump;
    DistanceWindowServices services() {
        DistanceWindowServices s;
        s.prompter = &prompter;
        s.events = &pump;
        s.progress = &progress;
        s.interval = std::chrono::milliseconds(0);
        return s;
    }
};

TEST(FormDistanceScale, StopLeavesThePreviousTable) {
    platform::ScopedDecimalSeparator point{'.'};
    JobState job = testing::distanceJob(testing::scaledCloud(300, 10.0));
    job.TrafoCalculated = true;
    DistanceFakes fakes;
    auto& [prompter, progress, pump] = fakes;
    DistanceWindowServices s = fakes.services();
    int busy = 0, analysed = 0;
    s.setLongWorkRunning = [&](bool running) { busy += running ? 1 : -1; };
    s.analysed = [&](std::shared_ptr<const DistanceAnalysis>) { ++analysed; };
    FormDistanceScale w(job, s);
    w.activate();
    ASSERT_NE(w.analysis(), nullptr);
    EXPECT_TRUE(w.withCalibration());
    const auto before = w.analysis();
    const QString cell = w.table()->model()->index(3, 1).data().toString();

    pump.onEvents([&](int) {
        EXPECT_TRUE(w.running());
        EXPECT_FALSE(w.withoutCalibrationOption()->isEnabled());  // no second run meanwhile
        progress.stop = true;
    });
    w.withoutCalibrationOption()->click();
    EXPECT_EQ(w.analysis(), before);
    EXPECT_EQ(w.table()->model()->rowCount(), 300);
    EXPECT_EQ(w.table()->model()->index(3, 1).data().toString(), cell);
    EXPECT_EQ(analysed, 1);
    EXPECT_EQ(busy, 0);
    EXPECT_FALSE(w.running());
    EXPECT_TRUE(w.withoutCalibrationOption()->isEnabled());
    EXPECT_TRUE(prompter.shown().empty());

    // A close during a run waits for its end, then happens.
    w.show();
    bool closed = false;
    QObject::connect(&w, &FormDistanceScale::closed, [&] { closed = true; });
    pump.onEvents([&](int) {
        EXPECT_FALSE(w.close());
        EXPECT_TRUE(w.isVisible());
    });
    w.withCalibrationOption()->click();
    EXPECT_FALSE(closed);
    QApplication::processEvents();
    EXPECT_TRUE(closed);
    EXPECT_FALSE(w.isVisible());
}

// A stopped re-run in the other mode leaves the previous table, so the mode goes back to the
// table's: the option buttons never name a mode whose numbers are not shown.
TEST(FormDistanceScale, StopDuringARunInTheOtherModePutsTheModeBack) {
    platform::ScopedDecimalSeparator point{'.'};
    JobState job = testing::distanceJob(testing::scaledCloud(200, 10.0));
    job.TrafoCalculated = true;
    DistanceFakes fakes;
    auto& [prompter, progress, pump] = fakes;
    DistanceWindowServices s = fakes.services();
    FormDistanceScale w(job, s);
    w.activate();
    ASSERT_NE(w.analysis(), nullptr);
    ASSERT_TRUE(w.analysis()->points.withCalibration);

    for (const bool shownMode : {true, false}) {
        SCOPED_TRACE(shownMode);
        const auto shown = w.analysis();
        ASSERT_EQ(shown->points.withCalibration, shownMode);
        pump.onEvents([&](int) { progress.stop = true; });
        (shownMode ? w.withoutCalibrationOption() : w.withCalibrationOption())->click();
        EXPECT_EQ(w.analysis(), shown);
        EXPECT_EQ(w.withCalibration(), shownMode);
        EXPECT_EQ(w.withCalibrationOption()->isChecked(), shownMode);
        EXPECT_EQ(w.withoutCalibrationOption()->isChecked(), !shownMode);

        // A run that is let finish takes the other mode, and its buttons say so.
        pump.onEvents([](int) {});
        progress.stop = false;
        (shownMode ? w.withoutCalibrationOption() : w.withCalibrationOption())->click();
        ASSERT_NE(w.analysis(), shown);
        EXPECT_EQ(w.analysis()->points.withCalibration, !shownMode);
        EXPECT_EQ(w.withCalibration(), !shownMode);
        EXPECT_EQ(w.withCalibrationOption()->isChecked(), !shownMode);
    }
    EXPECT_TRUE(prompter.shown().empty());
}

TEST(ChartWindows, TrumpetGraphShowsThePairsOfTheLastAnalysisAndKeepsThem) {
    Program p;
    p.main.action(Command::DistanceScale)->trigger();
    Program::settle();
    FormDistanceScale* w = p.charts.distanceWindow();
    ASSERT_NE(w, nullptr);
    ASSERT_NE(w->analysis(), nullptr);
    w->trumpetGraphButton()->click();
    FormTrompete* t = p.charts.trumpetWindow();
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->windowTitle(), "Lengthdeviationdiagramm - Trumpet");
    ImageBuffer expected;
    ASSERT_TRUE(drawTrumpetGraph(w->analysis()->points, expected));  // both passes, from the pairs alone
    EXPECT_EQ(t->picture().pixels(), expected.pixels());
    EXPECT_EQ(t->screen().size(), QSize(784, 429));
    EXPECT_EQ(t->screen().pixel(50, 100), qRgb(0, 0, 0));
    QApplication::processEvents();
    saveCapture(p.main.mdiArea()->activeSubWindow(), "trumpet.png");

    // A new analysis leaves the open picture as it was; another click only brings it forward.
    p.events.publish(JobEvent::PointsReplaced);
    p.job.OCS_X.set(1, p.job.OCS_X[1] + 5.0);
    w->activate();
    w->trumpetGraphButton()->click();
    EXPECT_EQ(p.charts.trumpetWindow(), t);
    EXPECT_EQ(t->picture().pixels(), expected.pixels());

    // The pairs outlive the analysis window.
    p.main.mdiArea()->closeAllSubWindows();
    QApplication::processEvents();
    EXPECT_EQ(p.charts.distanceWindow(), nullptr);
    EXPECT_NE(p.charts.trumpetPairs(), nullptr);
}

// The trumpet window once had no close button and ignored Escape and Ctrl+F4; opened while the
// child windows were maximised it filled the work area, and that size was stored for every later
// session. It closes by its button, Escape and Ctrl+F4, and keeps its own size.
TEST(ChartWindows, TheTrumpetWindowClosesByItsButtonEscapeAndCtrlF4AndKeepsItsOwnSize) {
    Program p;
    testing::TempDir dir;
    p.job.IniFilePath = dir.write("Kalvoreth.ini",
                                  "[Window]\r\nFormTrompeteHeight=7000\r\nFormTrompeteTop=300\r\n"
                                  "FormTrompeteWidth=12000\r\nFormTrompeteLeft=300\r\n");
    p.main.show();
    p.main.action(Command::DistanceScale)->trigger();
    Program::settle();
    FormDistanceScale* analysis = p.charts.distanceWindow();
    ASSERT_NE(analysis, nullptr);
    auto* analysisFrame = qobject_cast<QMdiSubWindow*>(analysis->parentWidget());
    analysisFrame->showMaximized();
    QApplication::processEvents();

    auto openTrumpet = [&]() -> QMdiSubWindow* {
        analysis->trumpetGraphButton()->click();
        QApplication::processEvents();
        FormTrompete* t = p.charts.trumpetWindow();
        return t ? qobject_cast<QMdiSubWindow*>(t->parentWidget()) : nullptr;
    };
    QMdiSubWindow* frame = openTrumpet();
    ASSERT_NE(frame, nullptr);
    const QSize area = p.main.mdiArea()->viewport()->size();
    EXPECT_FALSE(frame->isMaximized());
    saveCapture(&p.main, "closing-trumpet.png");
    const QSize own = frame->size();
    EXPECT_EQ(own, QSize(twipsOnScreen(frame, 12000), twipsOnScreen(frame, 7000)));
    EXPECT_LT(own.width(), area.width());
    const Qt::WindowFlags flags = frame->windowFlags();
    EXPECT_TRUE(flags.testFlag(Qt::WindowSystemMenuHint) && flags.testFlag(Qt::WindowCloseButtonHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowMaximizeButtonHint) ||
                 flags.testFlag(Qt::WindowMinimizeButtonHint));

    // Escape, with the picture focused as an activated window has it.
    ASSERT_TRUE(QApplication::focusWidget() && frame->isAncestorOf(QApplication::focusWidget()));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    QApplication::processEvents();
    EXPECT_EQ(p.charts.trumpetWindow(), nullptr);

    // Stored and restored at its own size, not the work area's.
    frame = openTrumpet();
    ASSERT_NE(frame, nullptr);
    EXPECT_FALSE(frame->isMaximized());
    EXPECT_EQ(frame->size(), own);
    frame->showMaximized();  // as the work area does when it maximises the active window
    QApplication::processEvents();
    QTest::keyClick(&p.main, Qt::Key_F4, Qt::ControlModifier);
    QApplication::processEvents();
    EXPECT_EQ(p.charts.trumpetWindow(), nullptr);

    // Closed while maximised, it still stored its own size. The close button is the system menu's
    // Close.
    frame = openTrumpet();
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->size(), own);
    QAction* close = nullptr;
    for (QAction* a : frame->systemMenu()->actions())
        if (a->shortcut() == QKeySequence("Ctrl+F4")) close = a;
    ASSERT_NE(close, nullptr);
    close->trigger();
    QApplication::processEvents();
    EXPECT_EQ(p.charts.trumpetWindow(), nullptr);
}

// The trumpet graph opened over a maximised analysis window and closed again: the work area went
// back to its oldest child window (maximised in the analysis window's place), not to the window the
// graph came from.
TEST(ChartWindows, ClosingTheTrumpetGraphReturnsToTheMaximisedAnalysisWindow) {
    Program p;
    p.main.show();
    QMdiSubWindow* older = p.main.mdiArea()->addSubWindow(new QWidget);
    older->setWindowTitle("Older");
    older->show();
    p.main.action(Command::DistanceScale)->trigger();
    Program::settle();
    FormDistanceScale* analysis = p.charts.distanceWindow();
    ASSERT_NE(analysis, nullptr);
    auto* analysisFrame = qobject_cast<QMdiSubWindow*>(analysis->parentWidget());
    analysisFrame->showMaximized();
    p.main.mdiArea()->setActiveSubWindow(analysisFrame);
    QApplication::processEvents();

    analysis->trumpetGraphButton()->click();
    QApplication::processEvents();
    ASSERT_NE(p.charts.trumpetWindow(), nullptr);
    EXPECT_TRUE(analysisFrame->isMaximized());
    EXPECT_FALSE(older->isMaximized());

    QTest::keyClick(&p.main, Qt::Key_F4, Qt::ControlModifier);
    QApplication::processEvents();
    ASSERT_EQ(p.charts.trumpetWindow(), nullptr);
    EXPECT_EQ(p.main.mdiArea()->activeSubWindow(), analysisFrame);
    EXPECT_TRUE(analysisFrame->isMaximized());
    EXPECT_FALSE(older->isMaximized());
}

TEST(ChartWindows, SaveTrumpedDataWritesThePairsOfTheTableShown) {
    Program p;
    testing::TempDir dir;
    p.main.action(Command::DistanceScale)->trigger();
    Program::settle();
    FormDistanceScale* w = p.charts.distanceWindow();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->saveTrumpetDataButton()->text(), "Save Trumped Data");
    p.dialogs.answer(dir.file("pairs.txt"));
    // The job changes after the analysis: the export still writes the table's 40 points.
    p.job.IdenticalCount = 3;
    w->saveTrumpetDataButton()->click();
    const std::string text = testing::TempDir::read(dir.file("pairs.txt"));
    std::size_t lines = 0;
    for (char c : text) lines += c == '\n';
    EXPECT_EQ(lines, 40u * 39u / 2u);
    EXPECT_EQ(text.substr(0, 6), "P1\tP2\t");
}

}  // namespace
}  // namespace kal
