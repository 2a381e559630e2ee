#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QMdiSubWindow>
#include <QTimer>
#include <cstdlib>
#include <filesystem>

#include "app/NetworkWindows.h"
#include "network/SyntheticNetwork.h"
#include "network/ui/FormBuendel.h"
#include "platform/Regional.h"
#include "shared/Units.h"
#include "support/FakePlatform.h"
#include "support/TempDir.h"

namespace kal {
namespace {

void saveCapture(QWidget* w, const char* name) {
    if (const char* dir = std::getenv("KALVORETH_CAPTURE_DIR"))
        w->grab().save(QString::fromStdString(std::string(dir) + "/" + name));
}

// The main window with the network window's wiring, a data folder of its own and scripted boxes.
struct Program {
    platform::ScopedDecimalSeparator point{'.'};
    testing::TempDir dir;
    JobState job;
    testing::FakePrompter prompter;
    JobEvents events;
    FormMain main{job, prompter};
    CalculationWindows calculation{job, events, main, prompter};
    NetworkWindows network{job, events, main, prompter, nullptr, &calculation};
    int replaced = 0;
    Subscription subscription;

    Program() {
        main.setSplashInterval(-1);
        job.LengthUnitName = "millimeter", job.AngleUnitName = "degree", job.DigitLength = 3,
        job.DigitAngle = 4;
        applyUnitSettings(job);
        job.AppDataFolder = dir.file("data");
        main.refreshControls();
        subscription = events.subscribe(JobEvent::PointsReplaced, Subscriber::Other, [this] { ++replaced; });
    }
};

TEST(FormBuendel, DesignCaptionsAndHiddenMenuEntry) {
    Program p;
    QAction* menu = p.main.action(Command::NetworkAdjustmentMenu);
    ASSERT_NE(menu, nullptr);
    EXPECT_FALSE(menu->isVisible());
    EXPECT_FALSE(menu->isEnabled());
    FormBuendel& w = p.network.open();
    EXPECT_EQ(w.windowTitle(), QString::fromUtf8("B\xC3\xBCndel "));
    EXPECT_EQ(w.objectName(), "FormBuendel");
    EXPECT_EQ(w.reduceBox()->text(), "100");
    EXPECT_EQ(w.reduceBox()->objectName(), "TextReduce");
    EXPECT_EQ(w.calculateButton()->text(), "&Calculate");
    EXPECT_EQ(w.stopButton()->text(), "&S T O P");
    EXPECT_EQ(w.fixedDatumButton()->text(), "Command1");
    EXPECT_EQ(w.fixedDatumButton()->objectName(), "Command1");
    EXPECT_EQ(w.findChild<QLabel*>("Label2")->text(), "% of the original Points");
    EXPECT_EQ(w.findChild<QGroupBox*>("Frame1")->title(), "Running Calculation ...");
    EXPECT_EQ(w.size(), QSize(1068, 568));
    EXPECT_EQ(&p.network.open(), &w);  // a second opening only brings it forward
    EXPECT_EQ(p.main.mdiArea()->subWindowList().size(), 1);
}

TEST(FormBuendel, CalculateRunsWithButtonsLockedLoadsThePointsAndFillsTheBoxes) {
    Program p;
    testing::fillSyntheticNetwork(p.job, 5, 20);
    p.main.connectCommand(Command::InputFiles, [] {});  // as the input dialog's wiring does
    p.main.refreshControls();
    FormBuendel& w = p.network.open();
    const bool newJobEnabled = p.main.action(Command::NewJob)->isEnabled();
    ASSERT_TRUE(p.main.action(Command::InputFiles)->isEnabled());
    bool checked = false;
    // While the run lets events through: both calculation buttons disabled, STOP enabled, the
    // job's commands waiting.
    QMetaObject::Connection watch;
    QTimer timer;
    timer.setInterval(0);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        if (!w.isRunning() || checked) return;
        checked = true;
        EXPECT_FALSE(w.calculateButton()->isEnabled());
        EXPECT_FALSE(w.fixedDatumButton()->isEnabled());
        EXPECT_TRUE(w.stopButton()->isEnabled());
        EXPECT_FALSE(p.main.action(Command::InputFiles)->isEnabled());
    });
    timer.start();
    w.calculateButton()->click();
    timer.stop();
    EXPECT_TRUE(checked);
    EXPECT_TRUE(p.prompter.shown().empty()) << ::testing::PrintToString(p.prompter.texts());
    EXPECT_TRUE(w.calculateButton()->isEnabled());
    EXPECT_TRUE(w.fixedDatumButton()->isEnabled());
    EXPECT_EQ(p.main.action(Command::NewJob)->isEnabled(), newJobEnabled);
    EXPECT_TRUE(p.main.action(Command::InputFiles)->isEnabled());
    EXPECT_EQ(p.job.IdenticalCount, 25);
    EXPECT_TRUE(p.job.JobDirty);
    EXPECT_EQ(p.replaced, 1);
    EXPECT_TRUE(w.runBox()->toPlainText().startsWith("converged after"));
    EXPECT_TRUE(w.whatDoBox()->toPlainText().startsWith("calculating unknowns\n"));
    EXPECT_TRUE(w.resultsBox()->toPlainText().startsWith("S1\t"));
    EXPECT_EQ(QApplication::clipboard()->text().left(4), "x i\r");
    EXPECT_TRUE(std::filesystem::exists(p.job.AppDataFolder + "/" + kNetworkMcsFile));
    saveCapture(&w, "network-window.png");
}

TEST(FormBuendel, StopWhileIdleThenCalculateRunsNormally) {
    Program p;
    testing::fillSyntheticNetwork(p.job, 5, 20);
    FormBuendel& w = p.network.open();
    w.stopButton()->click();
    EXPECT_TRUE(p.job.StopFlag);
    const NetworkRunOutcome outcome = w.calculate();
    EXPECT_EQ(outcome.end, NetworkRunEnd::Converged);
    EXPECT_GE(outcome.iterations, 2);
    EXPECT_FALSE(p.job.StopFlag);
}

TEST(FormBuendel, ClosingDuringARunStopsItAndTheWindowGoesAfterwards) {
    Program p;
    testing::fillSyntheticNetwork(p.job, 5, 20, 0.0, 30.0);
    FormBuendel& w = p.network.open();
    QPointer<FormBuendel> guard(&w);
    QTimer::singleShot(0, [&] {
        if (p.network.window()) p.network.window()->parentWidget()->close();
    });
    const NetworkRunOutcome outcome = w.calculate();
    EXPECT_EQ(outcome.end, NetworkRunEnd::Stopped);
    EXPECT_EQ(outcome.status, NetworkRunStatus::Loaded);
    EXPECT_EQ(p.network.window(), nullptr);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(guard.isNull());
}

TEST(FormBuendel, FixedDatumVariantWithTwoStationsShowsAMessage) {
    Program p;
    testing::fillSyntheticNetwork(p.job, 2, 10);
    FormBuendel& w = p.network.open();
    w.fixedDatumButton()->click();
    EXPECT_EQ(p.prompter.texts(), std::vector<std::string>{kStationsInOneLine});
    EXPECT_TRUE(w.fixedDatumButton()->isEnabled());
}

}  // namespace
}  // namespace kal
