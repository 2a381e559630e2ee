#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <cstdlib>

#include "app/InputToolWindows.h"
#include "input/RobotFileReaders.h"
#include "input/ui/FormInputStatistic.h"
#include "shared/WindowPos.h"
#include "support/FakePlatform.h"
#include "support/KnownTransformJob.h"
#include "support/TempDir.h"

namespace kal {
namespace {

// A job as a KUKA load by name leaves it: two pairs, A from 10° to 40°, display degree with 4 digits.
void loadKukaCell(JobState& job) {
    testing::setMillimetreDegree(job);
    ReadOptions read;
    read.lengthFactor = job.LengthFactor, read.angleFactor = job.AngleFactor;
    const auto ocs = parseKukaDatFile(
        "DECL E6POS XP1={X 1,Y 2,Z 3,A 10,B 0,C -90,S 6,T 27}\r\n"
        "DECL E6POS XP2={X 4,Y 5,Z 6,A 40,B 0,C -90,S 6,T 27}\r\n",
        "cell.dat", read);
    job.AbcRange1 = ocs.ranges->range1, job.AbcRange2 = ocs.ranges->range2,
    job.AbcRange3 = ocs.ranges->range3;
    job.KukaOcsMode = true;
    job.NameMCS = "Cell", job.NameOCS = "Robot";
    job.MCS_FileName = "/data/cell.txt", job.OCS_FileName = "/data/cell.dat";
    testing::sizeIdentical(job, 2);
    job.MCS_Name = job.OCS_Name = {"", "1", "2"};
    job.DataLoaded = true;
}

struct Program {
    testing::TempDir dir;
    JobState job;
    testing::FakePrompter prompter;
    JobEvents events;
    FormMain main{job, prompter};
    InputToolWindows tools{job, events, main, prompter};

    Program() {
        main.setSplashInterval(-1);
        main.resize(1200, 900);
        main.show();
    }
    QAction* statisticCommand() { return main.action(Command::InputStatistic); }
};

void saveCapture(QWidget& w, const char* name) {
    if (const char* dir = std::getenv("KALVORETH_CAPTURE_DIR"))
        w.grab().save(QString::fromStdString(std::string(dir) + "/" + name));
}

TEST(FormInputStatistic, MenuEntryShowsKukaRangesAndEscClosesIt) {
    Program p;
    loadKukaCell(p.job);
    ASSERT_TRUE(p.statisticCommand()->isEnabled());
    p.statisticCommand()->trigger();
    FormInputStatistic* w = p.tools.statisticsWindow();
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(p.statisticCommand()->isChecked());
    EXPECT_EQ(w->windowTitle(), "Input Statistic");
    EXPECT_EQ(w->rangeFrame()->title(), "ABC Range in degree");
    EXPECT_EQ(w->rangeLabel(0)->text(), "Range A");
    EXPECT_EQ(w->rangeBox(0)->text(), "30.0000");
    EXPECT_EQ(w->rangeBox(0)->objectName(), "TextRangeA");
    EXPECT_TRUE(w->rangeBox(0)->isEnabled());
    EXPECT_TRUE(w->rangeFrame()->isEnabled());
    EXPECT_EQ(w->frame(1)->title(), "MCS - Points in Cell File");
    EXPECT_EQ(w->frame(7)->title(), "OCS - Robot Filename");
    EXPECT_EQ(w->textBox(3)->text(), "2");
    EXPECT_EQ(w->textBox(7)->text(), "/data/cell.dat");
    EXPECT_EQ(w->closeButton()->text(), "&Close");
    EXPECT_EQ(w->inputFilesButton()->text(), "&to Input Files");
    saveCapture(*w, "FormInputStatistic.png");

    QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(w, &esc);
    EXPECT_EQ(p.tools.statisticsWindow(), nullptr);
    EXPECT_FALSE(p.statisticCommand()->isChecked());

    // The entry opens and closes it in turn.
    p.statisticCommand()->trigger();
    EXPECT_NE(p.tools.statisticsWindow(), nullptr);
    p.statisticCommand()->trigger();
    EXPECT_EQ(p.tools.statisticsWindow(), nullptr);
    EXPECT_FALSE(p.statisticCommand()->isChecked());
}

// The open window follows the points and units; formats without ranges read "not in use".
TEST(FormInputStatistic, OpenWindowIsRefilledWhenPointsOrUnitsChange) {
    Program p;
    loadKukaCell(p.job);
    FormInputStatistic& w = p.tools.showStatistics();
    p.job.KukaOcsMode = false, p.job.FanucOcsMode = true;
    p.job.McsCount = 5, p.job.McsOnlyCount = 3;
    p.events.publish(JobEvent::PointsReplaced);
    EXPECT_EQ(w.textBox(1)->text(), "5");
    EXPECT_EQ(w.textBox(4)->text(), "3");
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(w.rangeBox(i)->text(), "not in use");
        EXPECT_FALSE(w.rangeBox(i)->isEnabled());
    }
    EXPECT_FALSE(w.rangeFrame()->isEnabled());

    p.job.FanucOcsMode = false, p.job.KukaOcsMode = true;
    p.job.AngleUnitName = "rad", p.job.DigitAngle = 3;
    applyUnitSettings(p.job);
    p.events.publish(JobEvent::UnitsChanged);
    EXPECT_EQ(w.rangeFrame()->title(), "ABC Range in rad");
    EXPECT_EQ(w.rangeBox(0)->text(), "0.524");
}

// The position comes from the settings when the window is made; a fill after a load leaves a
// window the user moved where it is, and closing stores where it stands.
TEST(FormInputStatistic, PositionIsRestoredWhenCreatedNotAtEveryFill) {
    Program p;
    p.job.IniFilePath = p.dir.write("Kalvoreth.ini", "[LastEntry]\r\n");
    writeWindowTwips(p.job.IniFilePath, "FormInputStatistic", {6810, 1500, 6180, 3000});
    loadKukaCell(p.job);
    p.tools.showStatistics();
    QWidget* sub = p.tools.statisticsWindow()->parentWidget();
    ASSERT_TRUE(sub->inherits("QMdiSubWindow"));
    const double dpi = p.main.screen()->logicalDotsPerInch();
    EXPECT_EQ(sub->pos(), QPoint(twipsToPixels(3000, dpi), twipsToPixels(1500, dpi)));
    sub->move(40, 30);
    p.tools.showStatistics();  // what a load does
    EXPECT_EQ(sub->pos(), QPoint(40, 30));

    p.tools.statisticsWindow()->closeButton()->click();
    EXPECT_EQ(p.tools.statisticsWindow(), nullptr);
    const WindowTwips stored = readWindowTwips(p.job.IniFilePath, "FormInputStatistic");
    EXPECT_EQ(stored.Left, pixelsToTwips(40, dpi));
    EXPECT_EQ(stored.Top, pixelsToTwips(30, dpi));
}

TEST(FormInputStatistic, ToInputFilesClosesAndRunsTheInputFilesCommand) {
    Program p;
    p.tools.showStatistics();
    EXPECT_FALSE(p.tools.statisticsWindow()->inputFilesButton()->isEnabled());  // no dialog yet
    p.statisticCommand()->trigger();

    int opened = 0;
    p.main.connectCommand(Command::InputFiles, [&] { ++opened; });
    p.tools.showStatistics();
    ASSERT_TRUE(p.tools.statisticsWindow()->inputFilesButton()->isEnabled());
    p.tools.statisticsWindow()->inputFilesButton()->click();
    EXPECT_EQ(opened, 1);
    EXPECT_EQ(p.tools.statisticsWindow(), nullptr);
    EXPECT_FALSE(p.statisticCommand()->isChecked());
}

// The input dialog's services: the clipboard file in the data folder, and the more-MCS import
// that shows the statistics afterwards.
TEST(FormInputStatistic, MoreMcsImportShowsTheNewCounts) {
    Program p;
    loadKukaCell(p.job);
    // Without a data folder (no place found at start-up) nothing is written anywhere else.
    EXPECT_EQ(p.tools.pointFileFromClipboard(ClipboardPointFile::Mcs), "");
    ASSERT_EQ(p.prompter.shown().size(), 1u);
    p.job.AppDataFolder = p.dir.file("share/Kalvoreth");
    QApplication::clipboard()->setText("N 7 8 9");
    const std::string path = p.tools.pointFileFromClipboard(ClipboardPointFile::MoreMcs);
    EXPECT_EQ(path, p.job.AppDataFolder + "/MoreMcs.txt");
    EXPECT_EQ(testing::TempDir::read(path), "N 7 8 9\r\n");

    ASSERT_TRUE(p.tools.importMoreMcs({path, "_b", false})) << ::testing::PrintToString(p.prompter.texts());
    FormInputStatistic* w = p.tools.statisticsWindow();
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(p.statisticCommand()->isChecked());
    EXPECT_EQ(w->textBox(1)->text(), "3");
    EXPECT_EQ(w->textBox(4)->text(), "1");
    EXPECT_EQ(p.job.MCS_Name.back(), "N_b");

    // No file chosen: the message, and no window.
    w->closeButton()->click();
    EXPECT_FALSE(p.tools.importMoreMcs({"", "", true}));
    EXPECT_EQ(p.prompter.texts().back(), "Please select a File with the browse button");
    EXPECT_EQ(p.tools.statisticsWindow(), nullptr);
}

}  // namespace
}  // namespace kal
