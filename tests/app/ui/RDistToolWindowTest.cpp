// The robot-tool job of examples/ (tool-mcs.txt, tool-ocs.txt: each OCS point 50 mm from its
// transformed MCS point) in the calculation window as the program wires it: the 6-parameter preset,
// "R Dist." ticked, Calculate. The window shows R Dist 50.000 and no message (the fit used to stop
// with the singular message).
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>
#include <cstdlib>
#include <string>

#include "app/CalculationWindows.h"
#include "calculation/ui/FormTrafoBerechnung.h"
#include "platform/Regional.h"
#include "shared/Units.h"
#include "shell/ui/FormMain.h"
#include "support/FakePlatform.h"
#include "support/SampleJobs.h"

namespace kal {
namespace {

JobState toolJob() {
    const std::string folder = KALVORETH_EXAMPLES;
    JobState job = testing::makeJobFromPointFiles(folder + "/tool-mcs.txt", folder + "/tool-ocs.txt");
    job.MaxIteration = 100;
    job.RawScale = 2;
    job.SeedPointNames = {"", "P1", "P2", "P3"};
    job.SeedPointIndex = {0, 1, 2, 3};
    job.Params[kScaleX] = job.Params[kScaleY] = job.Params[kScaleZ] = job.Params[kScaleXYZ] = 1.0;
    job.NameMCS = "tool-mcs";
    job.NameOCS = "tool-ocs";
    job.MCS_FileName = "tool-mcs.txt";
    job.OCS_FileName = "tool-ocs.txt";
    return job;
}

TEST(RDistToolWindow, TenPointToolJobShowsRDistFifty) {
    platform::ScopedDecimalSeparator point{'.'};
    JobState job = toolJob();
    ASSERT_EQ(job.IdenticalCount, 10);
    testing::FakePrompter prompter;
    JobEvents events;
    FormMain main{job, prompter};
    CalculationWindows calculation{job, events, main, prompter};
    main.setSplashInterval(-1);
    main.resize(1400, 1000);
    applyUnitSettings(job);
    main.refreshControls();
    main.show();
    FormTrafoBerechnung* window = &calculation.ensureOpen();
    window->presetButton(Preset::SixParameter)->click();
    window->row(kRDist).estimate->click();
    QApplication::processEvents();
    ASSERT_TRUE(window->row(kRDist).estimate->isChecked());
    window->calculateButton()->click();
    QApplication::processEvents();
    EXPECT_TRUE(prompter.texts().empty()) << ::testing::PrintToString(prompter.texts());
    EXPECT_TRUE(job.TrafoCalculated);
    EXPECT_EQ(window->row(kRDist).value->text().toStdString(), "50.000");
    EXPECT_EQ(window->row(kTraX).value->text().toStdString(), "100.000");
    EXPECT_EQ(window->row(kTraY).value->text().toStdString(), "-50.000");
    EXPECT_EQ(window->row(kTraZ).value->text().toStdString(), "25.000");
    if (const char* dir = std::getenv("KALVORETH_CAPTURE_DIR")) {
        QApplication::processEvents();
        window->grab().save(QString::fromStdString(std::string(dir) + "/rdist-tool-calculation.png"));
        main.grab().save(QString::fromStdString(std::string(dir) + "/rdist-tool-main.png"));
    }
}

}  // namespace
}  // namespace kal
