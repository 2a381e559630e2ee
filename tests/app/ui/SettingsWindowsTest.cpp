#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QMdiSubWindow>
#include <QPointer>
#include <QTest>
#include <cstdlib>

#include "app/SettingsWindows.h"
#include "platform/Regional.h"
#include "shared/IniFile.h"
#include "shared/Units.h"
#include "shell/HelpInfo.h"
#include "shell/JobCommands.h"
#include "shell/ui/MainJobWindow.h"
#include "support/FakeFileDialogs.h"
#include "support/FakePlatform.h"
#include "support/TempDir.h"

namespace kal {
namespace {

// The main window with the calculation window's and the settings windows' wiring, a settings file
// and a data folder of its own, and scripted message boxes.
struct Program {
    platform::ScopedDecimalSeparator point{'.'};
    testing::TempDir dir;
    JobState job;
    testing::FakePrompter prompter;
    JobEvents events;
    FormMain main{job, prompter};
    CalculationWindows calculation{job, events, main, prompter};
    SettingsWindows settings{job, events, main, prompter, calculation};
    std::vector<std::string> opened;

    Program() {
        main.setSplashInterval(-1);
        job.LengthUnitName = "millimeter", job.AngleUnitName = "degree", job.DigitLength = 3,
        job.DigitAngle = 4;
        applyUnitSettings(job);
        job.IniFilePath =
            dir.write("Kalvoreth.ini", "[Units]\r\nUnitLength=millimeter\r\n\r\n[LastEntry]\r\n");
        job.AppDataFolder = dir.file("data");
        job.OsNameString = "Debian GNU/Linux 12 (bookworm) 64-bit";
        job.MaxIteration = 100;
        settings.setOpener([this](const std::string& target) {
            opened.push_back(target);
            return true;
        });
        main.refreshControls();
    }
};

void saveCapture(QWidget* w, const char* name) {
    if (const char* dir = std::getenv("KALVORETH_CAPTURE_DIR"))
        w->grab().save(QString::fromStdString(std::string(dir) + "/" + name));
}

TEST(SettingsWindows, MenuEntriesOpenTheirWindows) {
    Program p;
    for (Command c : {Command::Options, Command::Units, Command::Info, Command::Special})
        EXPECT_TRUE(p.main.action(c)->isEnabled()) << commandInfo(c).objectName;
    p.main.action(Command::Info)->trigger();
    ASSERT_NE(p.settings.infoWindow(), nullptr);
    p.main.action(Command::Info)->trigger();  // opening it again only activates it
    EXPECT_EQ(p.main.mdiArea()->subWindowList().size(), 1);
    p.main.action(Command::Options)->trigger();
    ASSERT_NE(p.settings.optionsDialog(), nullptr);
    EXPECT_TRUE(p.settings.optionsDialog()->isModal());
    p.settings.optionsDialog()->cancelButton()->click();
}

TEST(SettingsWindows, UnitsOkStoresAppliesAndRefreshesTheOpenWindows) {
    Program p;
    p.calculation.ensureOpen();
    p.main.action(Command::Units)->trigger();
    FormUnits* w = p.settings.unitsWindow();
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(p.job.JobDirty);  // the menu marks the job changed at once
    saveCapture(w->window() ? w->parentWidget() : w, "units.png");
    // The windows that show units (main sheet, results, flags) hear of OK once, through the hub,
    // when the new units are applied and stored (EverydayRoad shows them follow).
    std::vector<std::string> heard;
    const Subscription probe = p.events.subscribe(JobEvent::UnitsChanged, Subscriber::MainSheet, [&] {
        heard.push_back(
            p.job.LengthUnitName + " " +
            (testing::TempDir::read(p.job.IniFilePath).find("UnitLength=meter") != std::string::npos
                 ? "stored"
                 : "not stored"));
    });
    w->lengthList()->setCurrentIndex(1);
    w->angleList()->setCurrentIndex(1);
    w->digitLengthList()->setCurrentIndex(2);
    w->digitAngleList()->setCurrentIndex(5);
    w->phiThetaBox()->setChecked(true);
    w->digitScaleList()->setCurrentIndex(1);
    w->okButton()->click();
    QApplication::processEvents();

    const std::string ini = testing::TempDir::read(p.job.IniFilePath);
    for (const char* line : {"UnitLength=meter\r\n", "UnitAngle=grad (gon)\r\n", "DigitLength= 2\r\n",
                             "DigitAngle= 5\r\n", "PhiThetaAsQ=True\r\n", "DigitScale= 1\r\n"})
        EXPECT_NE(ini.find(line), std::string::npos) << line;
    EXPECT_DOUBLE_EQ(p.job.LengthFactor, 0.001);
    EXPECT_EQ(p.job.LengthFormat, "0.00");
    EXPECT_EQ(p.job.AngleFormat, "0.00000");
    EXPECT_EQ(heard, (std::vector<std::string>{"meter stored"}));
    EXPECT_EQ(p.settings.unitsWindow(), nullptr);
    EXPECT_EQ(p.main.statusPanel(1)->text(), "meter");
    EXPECT_EQ(p.calculation.window()->statusPanel(8)->text(), "meter");
    EXPECT_EQ(p.calculation.window()->statusPanel(9)->text(), "grad (gon)");
    EXPECT_FALSE(p.job.TrafoCalculated);
    EXPECT_FALSE(p.main.action(Command::ExportRobCad)->isEnabled() &&
                 p.main.action(Command::ExportMenu)->isEnabled());
}

TEST(SettingsWindows, InfoShowsTheProgramAndReloadsTheSettingsFile) {
    Program p;
    FormMenuHelpInfo& w = p.settings.openInfo();
    EXPECT_EQ(w.windowTitle(), " Info  Kalvoreth ");
    EXPECT_EQ(w.versionLabel()->text(), "Version 2.0.63");
    EXPECT_EQ(w.osLabel()->text(), "Debian GNU/Linux 12 (bookworm) 64-bit");
    EXPECT_EQ(w.iniFileLabel()->text(), QString::fromStdString(p.job.IniFilePath));
    saveCapture(w.parentWidget(), "info.png");

    w.mailButton()->click();
    ASSERT_EQ(p.opened.size(), 1u);
    EXPECT_EQ(p.opened[0],
              "mailto:" + std::string(kSupportMailAddress) +
                  "?Subject=Kalvoreth issue&Body=Kalvoreth Parameter (do not delete)%0A2%0A0%0A63%0A%0A"
                  "Dear Kalvoreth Team, %0A%0A");
    w.editIniButton()->click();
    EXPECT_EQ(p.opened.back(), p.job.IniFilePath);

    // A hand edit to metre, then "load ini File": lengths show in metre at once.
    testing::TempDir::read(p.job.IniFilePath);
    writeIniValue(p.job.IniFilePath, "Units", "UnitLength", "meter");
    w.reloadButton()->click();
    EXPECT_EQ(p.job.LengthUnitName, "meter");
    EXPECT_DOUBLE_EQ(p.job.LengthFactor, 0.001);
    EXPECT_EQ(p.main.statusPanel(1)->text(), "meter");
    EXPECT_TRUE(p.prompter.shown().empty());
}

TEST(SettingsWindows, OpenThatFailsSaysSo) {
    Program p;
    p.settings.setOpener([](const std::string&) { return false; });
    p.settings.openInfo().webPageButton()->click();
    ASSERT_EQ(p.prompter.shown().size(), 1u);
    EXPECT_EQ(p.prompter.shown()[0].text, "Could not open " + std::string(kMakerWebPage));
}

TEST(SettingsWindows, QuickTransformationCalculatesInTheCalculationWindow) {
    Program p;
    p.job.ClipboardMode = 1;  // the calculation copies nothing: the line follows the pasted table
    // The first three points as seeds, as the point table chooses them when it fills for a new job.
    p.job.SeedPointNames = {"", "P1", "P2", "P3"};
    p.job.SeedPointIndex = {0, 1, 2, 3};
    const std::string table =
        "P1\t0\t0\t0\t\tP1\t10\t0\t0\r\nP2\t100\t0\t0\t\tP2\t110\t0\t0\r\n"
        "P3\t0\t100\t0\t\tP3\t10\t100\t0\r\nP4\t0\t0\t100\t\tP4\t10\t0\t100.1\r\n";
    QGuiApplication::clipboard()->setText(QString::fromStdString(table));
    ASSERT_EQ(p.settings.runQuickTransformation(), QuickTransformationResult::Solved)
        << ::testing::PrintToString(p.prompter.texts());
    ASSERT_NE(p.calculation.window(), nullptr);
    EXPECT_EQ(p.job.IdenticalCount, 4);
    const std::string text = QGuiApplication::clipboard()->text().toStdString();
    EXPECT_EQ(text.rfind(table, 0), 0u);
    EXPECT_NE(text.find("\ts0 \t"), std::string::npos) << text;
    EXPECT_NE(text.find("\tSpanne z \t"), std::string::npos) << text;
    EXPECT_TRUE(p.main.action(Command::Special)->isEnabled());
}

// Ctrl+W belonged to "&Spezial" and to the Close of every child window: with a child window
// focused the key was ambiguous and ran neither. It runs the quick transformation, once; the
// child window closes by Ctrl+F4.
TEST(SettingsWindows, CtrlWRunsTheQuickTransformationOnceWhileAChildWindowHasTheFocus) {
    Program p;
    p.job.ClipboardMode = 1;
    p.job.SeedPointNames = {"", "P1", "P2", "P3"};
    p.job.SeedPointIndex = {0, 1, 2, 3};
    QGuiApplication::clipboard()->setText(
        "P1\t0\t0\t0\t\tP1\t10\t0\t0\r\nP2\t100\t0\t0\t\tP2\t110\t0\t0\r\n"
        "P3\t0\t100\t0\t\tP3\t10\t100\t0\r\nP4\t0\t0\t100\t\tP4\t10\t0\t100.1\r\n");
    p.main.show();
    p.main.action(Command::Info)->trigger();
    QApplication::processEvents();
    QMdiSubWindow* info = p.main.mdiArea()->activeSubWindow();
    ASSERT_NE(info, nullptr);
    ASSERT_EQ(info->widget(), p.settings.infoWindow());
    QWidget* focus = QApplication::focusWidget();
    ASSERT_TRUE(focus && info->isAncestorOf(focus)) << "the child window has the focus";

    int runs = 0;
    QObject::connect(p.main.action(Command::Special), &QAction::triggered, [&runs] { ++runs; });
    QTest::keyClick(&p.main, Qt::Key_W, Qt::ControlModifier);
    QApplication::processEvents();
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(p.job.IdenticalCount, 4);  // the table was loaded and calculated
    EXPECT_NE(p.calculation.window(), nullptr);
    EXPECT_NE(p.settings.infoWindow(), nullptr);  // Ctrl+W closes no child window

    p.main.mdiArea()->setActiveSubWindow(p.main.mdiArea()->subWindowList().front());
    QApplication::processEvents();
    QMdiSubWindow* active = p.main.mdiArea()->activeSubWindow();
    ASSERT_NE(active, nullptr);
    const QPointer<QMdiSubWindow> closing = active;
    QTest::keyClick(&p.main, Qt::Key_F4, Qt::ControlModifier);
    QApplication::processEvents();
    EXPECT_TRUE(!closing || !closing->isVisible());
    EXPECT_EQ(runs, 1);
}

}  // namespace
}  // namespace kal
