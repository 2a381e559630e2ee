#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QMdiSubWindow>
#include <QPushButton>
#include <cstdlib>
#include <map>

#include "app/CalculationWindows.h"
#include "app/DetailsWindows.h"
#include "calculation/ui/FormTrafoBerechnung.h"
#include "details/ui/FormTrafoDetails.h"
#include "engine/InverseTrafo.h"
#include "shell/JobCommands.h"
#include "shell/ui/FormMain.h"
#include "shell/ui/MainJobWindow.h"
#include "support/FakeFileDialogs.h"
#include "support/FakePlatform.h"
#include "support/KnownTransformJob.h"
#include "support/TempDir.h"

namespace kal {
namespace {

void saveCapture(QWidget& w, const char* name) {
    if (const char* dir = std::getenv("KALVORETH_CAPTURE_DIR"))
        w.grab().save(QString::fromStdString(std::string(dir) + "/" + name));
}

JobState calculatedJob() {
    JobState job;
    testing::setMillimetreDegree(job);
    job.RotX() = job.RotXSeed = 0.3;
    job.RotY() = job.RotYSeed = 0.5;
    job.RotZ() = job.RotZSeed = 0.7;
    job.ScaleX() = job.ScaleY() = job.ScaleZ() = job.ScaleXYZ() = 1.0;
    job.TrafoCalculated = true;
    return job;
}

struct Window {
    JobState& job;
    testing::FakePrompter prompter;
    testing::FakeClipboard clipboard;
    std::map<std::string, std::string> settings;
    std::unique_ptr<FormTrafoDetails> form;

    explicit Window(JobState& j) : job(j) {}
    FormTrafoDetails& open() {
        DetailsWindowServices hooks;
        hooks.writeSetting = [this](const std::string& s, const std::string& k, const std::string& v) {
            settings[s + "/" + k] = v;
        };
        form = std::make_unique<FormTrafoDetails>(job, platform::Services{&prompter, &clipboard}, hooks);
        return *form;
    }
};

std::string cellText(DataGrid* grid, int row, int column) {
    return grid->model()->index(row, column).data().toString().toStdString();
}

TEST(FormTrafoDetails, ShowsTheFiguresWithTheDesignNames) {
    JobState job = calculatedJob();
    Window w(job);
    FormTrafoDetails& f = w.open();
    EXPECT_EQ(f.windowTitle(), "Transformation Details ...");
    EXPECT_EQ(f.rotationGrid()->objectName(), "GridRotMatrix");
    EXPECT_EQ(f.sequenceGrid(AngleSequence::ZXY)->objectName(), "GridRotZXY");
    EXPECT_EQ(f.clipButton(7)->objectName(), "Command1");
    EXPECT_EQ(f.clipAllButton()->text(), "clip &all");
    EXPECT_EQ(f.gimbalLockBox()->objectName(), "Check1");
    EXPECT_EQ(cellText(f.rotationGrid(), 1, 0), "-0.56535421");
    EXPECT_EQ(cellText(f.quaternionGrid(), 0, 1), "0.88727219");
    EXPECT_EQ(f.inverseGrid()->model()->rowCount(), 13);
    EXPECT_TRUE(w.prompter.shown().empty());

    f.clipButton(0)->click();
    EXPECT_EQ(w.clipboard.text().substr(0, 2), "0.");
    f.clipButton(8)->click();
    EXPECT_EQ(w.clipboard.text().substr(0, 8), "1\t0\t0\t\r\n");
    f.clipAllButton()->click();
    EXPECT_NE(w.clipboard.text().find("last MonteCarlo - sigma of parameter"), std::string::npos);
    f.clipButton(9)->click();  // a single copy after "clip all" reaches the clipboard
    EXPECT_EQ(w.clipboard.text().substr(0, 13), "\tSolution 1\tS");
    saveCapture(f, "details-standalone.png");
}

TEST(FormTrafoDetails, BoldMarksFollowEachFill) {
    JobState job = calculatedJob();
    job.McCompleted = true;
    for (auto& runs : job.McRuns) runs = {0.0, 1.0, 2.0};
    job.ParamState[kTraX] = "float";
    Window w(job);
    FormTrafoDetails& f = w.open();
    const QModelIndex traX = f.monteCarloGrid()->model()->index(0, 0);
    EXPECT_TRUE(traX.data(Qt::FontRole).value<QFont>().bold());
    job.ParamState[kTraX] = "0";
    f.gimbalLockBox()->click();  // refills
    EXPECT_FALSE(f.monteCarloGrid()->model()->index(0, 0).data(Qt::FontRole).value<QFont>().bold());
    EXPECT_TRUE(job.CheckForGimbalLock);
    EXPECT_TRUE(w.settings.empty());  // stored only by "&Close"
    f.closeButton()->click();
    EXPECT_EQ(w.settings["Settings/CheckForGimbalLock"], "True");
}

TEST(FormTrafoDetails, NoInverseMessageAtMostOncePerOpening) {
    JobState job = calculatedJob();
    job.ScaleX() = 1.1;
    job.ScaleY() = 0.9;
    Window w(job);
    FormTrafoDetails& f = w.open();
    EXPECT_EQ(cellText(f.inverseGrid(), 1, 1), "no solution");
    f.gimbalLockBox()->click();
    f.fill();
    ASSERT_EQ(w.prompter.texts().size(), 1u);
    EXPECT_EQ(w.prompter.texts()[0], kNoInverseSolutionMessage);
    w.open();  // a new opening may tell again
    EXPECT_EQ(w.prompter.texts().size(), 2u);
}

TEST(FormTrafoDetails, BeforeACalculationTheBoxChangesOnlyTheSetting) {
    JobState job;
    Window w(job);
    FormTrafoDetails& f = w.open();
    EXPECT_EQ(f.inverseGrid()->model()->rowCount(), 1);
    EXPECT_EQ(cellText(f.rotationGrid(), 0, 0), "");
    f.gimbalLockBox()->click();
    EXPECT_TRUE(job.CheckForGimbalLock);
    EXPECT_EQ(cellText(f.rotationGrid(), 0, 0), "");
    f.clipButton(0)->click();
    EXPECT_EQ(w.clipboard.text(), "0\t0\t0\t\r\n0\t0\t0\t\r\n0\t0\t0\t\r\n\r\n");
    f.clipButton(11)->click();
    EXPECT_EQ(w.clipboard.text().size(), 19u * 3u);
}

// The program's pieces: the main window, the job commands that open the demo job, the
// calculation window and the details wiring with its exports.
struct Program {
    JobState job;
    testing::FakePrompter prompter;
    testing::FakeFileDialogs dialogs;
    JobEvents events;
    FormMain main{job, prompter};
    MainJobWindow jobWindow{main, job};
    JobCommands commands{job, prompter, dialogs, jobWindow};
    CalculationWindows calculation{job, events, main, prompter};
    std::vector<std::string> opened;
    DetailsWindows details{
        job, events, main, prompter, dialogs, {}, [this](const std::string& p) {
                               opened.push_back(p); }};

    // Stands in for the result display, which marks the job calculated once results stand.
    Subscription resultDisplay = events.subscribe(JobEvent::ResultsChanged, Subscriber::ResultDisplay,
                                                  [this] { job.TrafoCalculated = true; });

    Program() {
        main.setSplashInterval(-1);
        job.MaxIteration = 100;  // the INI default
        calculation.setShowDetails([this] { details.ensureOpen(); });
    }
};

TEST(DetailsWindows, DemoJobDetailsOpenFromTheCalculationWindowAndCloseOnTheNextCalculation) {
    Program p;
    ASSERT_TRUE(p.commands.openJobAt(std::string(KALVORETH_EXAMPLES) + "/demo-job.tfo"));
    p.main.refreshControls();
    EXPECT_FALSE(p.main.action(Command::ExportMenu)->isEnabled());
    p.main.action(Command::CalculationWindow)->trigger();
    FormTrafoBerechnung* calc = p.calculation.window();
    ASSERT_NE(calc, nullptr);
    calc->presetButton(Preset::SevenParameter)->click();
    calc->calculateButton()->click();
    ASSERT_TRUE(p.job.TrafoCalculated) << ::testing::PrintToString(p.prompter.texts());
    p.main.refreshControls();
    EXPECT_TRUE(p.main.action(Command::ExportMenu)->isEnabled());

    ASSERT_TRUE(calc->detailsButton()->isEnabled());
    calc->detailsButton()->click();
    FormTrafoDetails* d = p.details.window();
    ASSERT_NE(d, nullptr);
    // The solution that turns about z alone, −90° (the other turns 180° about x and y as well).
    DataGrid* xyz = d->sequenceGrid(AngleSequence::XYZ);
    EXPECT_EQ(cellText(xyz, 1, 2) + " " + cellText(xyz, 2, 2) + " " + cellText(xyz, 3, 2),
              "0.0000 0.0000 -90.0000")
        << cellText(xyz, 1, 1) + " " + cellText(xyz, 2, 1) + " " + cellText(xyz, 3, 1);
    EXPECT_EQ(cellText(d->homogeneousGrid(), 0, 3), "1000.000");
    d->parentWidget()->resize(d->parentWidget()->sizeHint());
    saveCapture(*d->parentWidget(), "details-demo-job.png");
    // On a real display (xvfb) the program's window can stay up for a screen capture.
    if (const char* hold = std::getenv("KALVORETH_CAPTURE_HOLD_MS")) {
        p.main.showMaximized();
        d->parentWidget()->move(0, 0);
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < std::atoi(hold)) QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    }

    // A change of units refills the open window (no window mixes two units).
    p.job.LengthUnitName = "meter";
    applyUnitSettings(p.job);
    p.events.publish(JobEvent::UnitsChanged);
    EXPECT_EQ(cellText(d->homogeneousGrid(), 0, 3), "1.000");

    calc->calculateButton()->click();  // a new calculation closes the details window
    EXPECT_EQ(p.details.window(), nullptr);

    p.job.LengthUnitName = "millimeter";
    applyUnitSettings(p.job);

    // The RobCad export through the menu entry: the file, then the desktop is asked to open it.
    testing::TempDir dir;
    p.details.ensureOpen();
    p.dialogs.answer(dir.file("demo"));
    p.prompter.answerInput("Wob");
    p.prompter.answerInput("afo910");
    p.prompter.answerInput("r2a");
    p.main.action(Command::ExportRobCad)->trigger();
    EXPECT_EQ(p.opened, std::vector<std::string>{dir.file("demo.rf")});
    EXPECT_EQ(p.details.window(), nullptr);  // the export ends with the details window closed
    EXPECT_NE(testing::TempDir::read(dir.file("demo.rf")).find("r2a_calpos =FRA / 1.0000E+03 , -5.0000E+02"),
              std::string::npos);
}

}  // namespace
}  // namespace kal
