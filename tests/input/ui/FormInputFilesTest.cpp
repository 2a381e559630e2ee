#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QMdiSubWindow>
#include <QTimer>
#include <QToolButton>
#include <cmath>
#include <cstdlib>
#include <random>

#include "app/CalculationWindows.h"
#include "app/InputToolWindows.h"
#include "app/InputWindows.h"
#include "calculation/ui/FormTrafoBerechnung.h"
#include "input/MatchingMethods.h"
#include "input/ui/FormInputFiles.h"
#include "jobfile/JobFileWriter.h"
#include "platform/Regional.h"
#include "shared/WindowPos.h"
#include "shell/JobCommands.h"
#include "shell/ui/FormMain.h"
#include "shell/ui/FormProgressBar.h"
#include "shell/ui/MainJobWindow.h"
#include "support/FakeFileDialogs.h"
#include "support/FakePlatform.h"
#include "support/TempDir.h"

namespace kal {
namespace {

constexpr double kPi = 3.14159265358979;

std::string example(const std::string& name) { return std::string(KALVORETH_EXAMPLES) + "/" + name; }

void saveCapture(QWidget& w, const char* name) {
    if (const char* dir = std::getenv("KALVORETH_CAPTURE_DIR"))
        w.grab().save(QString::fromStdString(std::string(dir) + "/" + name));
}

// The dialog alone, with a load that records its services.
struct Dialog {
    JobState job;
    testing::FakeFileDialogs dialogs;
    std::unique_ptr<FormInputFiles> form;

    explicit Dialog(std::function<void(JobState&)> prepare = {}) {
        if (prepare) prepare(job);
        InputFilesWindowServices s;
        s.fileDialogs = &dialogs;
        s.loadServices = [] { return PointLoadServices(); };
        form = std::make_unique<FormInputFiles>(job, std::move(s));
    }
};

TEST(FormInputFiles, OpenedWithoutDataShowsTheDesignWithMoreMcsLimitAndRenameDisabled) {
    Dialog d;
    FormInputFiles& w = *d.form;
    EXPECT_EQ(w.windowTitle(), "Input Files");
    EXPECT_TRUE(w.byIdOption()->isChecked());
    EXPECT_EQ(w.byIdOption()->text(), "by Point ID / Point Number (default)");
    EXPECT_FALSE(w.frame("FrameMoreMCS")->isEnabled());
    for (PathBox box : {PathBox::MoreMcs}) {
        EXPECT_FALSE(w.browseButton(box)->isEnabled());
        EXPECT_FALSE(w.explorerButton(box)->isEnabled());
        EXPECT_FALSE(w.editButton(box)->isEnabled());
    }
    EXPECT_FALSE(w.importButton()->isEnabled());
    EXPECT_FALSE(w.useOnlyFirstBox()->isEnabled());
    EXPECT_FALSE(w.maxOcsLabel1()->isEnabled());
    EXPECT_FALSE(w.maxOcsBox()->isEnabled());
    EXPECT_FALSE(w.maxOcsLabel2()->isEnabled());
    EXPECT_FALSE(w.renamePointsMcsBox()->isEnabled());
    EXPECT_FALSE(w.renamePointsOcsBox()->isEnabled());
    EXPECT_TRUE(w.okButton()->isEnabled());
    EXPECT_TRUE(w.prefixOption()->isChecked());
    EXPECT_EQ(w.renameMcsBox()->text(), "MCS");
    EXPECT_EQ(w.renameOcsBox()->text(), "OCS");
    EXPECT_EQ(w.maxOcsBox()->text(), "10");
    EXPECT_EQ(w.frame("FrameOCSFile")->title(), "OCS File = Object Coordinate System =  Target System");
    EXPECT_EQ(w.explorerButton(PathBox::Ocs)->toolTip(), "Browse File with Windows Explorer");
    EXPECT_EQ(w.importButton()->text(), "&Import ");
    EXPECT_EQ(w.formatList()->count(), 7);
    EXPECT_EQ(w.findChild<QPushButton*>("Command2")->isVisibleTo(&w), false);
    EXPECT_EQ(w.findChild<QLineEdit*>("TextNameMCS"), w.pathBox(PathBox::Mcs));
}

TEST(FormInputFiles, DistanceChosenOffersUseOnlyTheFirstAndItsTickTheLimit) {
    Dialog d;
    FormInputFiles& w = *d.form;
    w.byDistanceOption()->click();
    EXPECT_TRUE(w.useOnlyFirstBox()->isEnabled());
    EXPECT_FALSE(w.maxOcsBox()->isEnabled());
    w.useOnlyFirstBox()->click();
    EXPECT_TRUE(w.maxOcsLabel1()->isEnabled());
    EXPECT_TRUE(w.maxOcsBox()->isEnabled());
    EXPECT_TRUE(w.maxOcsLabel2()->isEnabled());
    w.byCoordinateOption()->click();
    EXPECT_FALSE(w.useOnlyFirstBox()->isEnabled());
    EXPECT_FALSE(w.maxOcsBox()->isEnabled());
    EXPECT_TRUE(w.renamePointsMcsBox()->isEnabled());
    w.renamePointsMcsBox()->click();
    w.renamePointsOcsBox()->click();
    EXPECT_FALSE(w.renamePointsMcsBox()->isChecked());
    EXPECT_TRUE(w.renamePointsOcsBox()->isChecked());
    w.byIdOption()->click();
    EXPECT_FALSE(w.renamePointsOcsBox()->isEnabled());
    EXPECT_TRUE(w.renamePointsOcsBox()->isChecked());
    EXPECT_EQ(w.model().state().method, PointMatchMethod::ByName);
}

TEST(FormInputFiles, SavedIndexThreeSelectsTheFanucEntryAndTheJobWaitsForTheLoad) {
    Dialog d([](JobState& job) {
        job.OcsFormatIndex = kOcsFanuc;
        job.AsciiOcsMode = true;
    });
    FormInputFiles& w = *d.form;
    EXPECT_EQ(w.formatList()->currentIndex(), 3);
    EXPECT_EQ(w.formatList()->currentText(), "Fanuc Robot file (*.ls) W = Rx, P = Ry', R = Rz''");
    EXPECT_EQ(w.model().request().ocsFormat, kOcsFanuc);
    w.formatList()->setCurrentIndex(1);
    EXPECT_EQ(w.model().request().ocsFormat, kOcsKuka);
    EXPECT_EQ(d.job.OcsFormatIndex, kOcsFanuc);  // the choice is the dialog's until a load commits it
    EXPECT_TRUE(d.job.AsciiOcsMode);
}

TEST(FormInputFiles, ALetterInTheLimitTextRestoresTheLastAcceptedText) {
    Dialog d;
    QLineEdit* box = d.form->maxOcsBox();
    box->end(false);
    box->insert("x");  // "10x": back to the "10" the box opened with, never empty
    EXPECT_EQ(box->text(), "10");
    box->clear();
    box->insert("25");
    EXPECT_EQ(box->text(), "25");
    box->insert("a");
    EXPECT_EQ(box->text(), "25");
    EXPECT_EQ(d.form->model().state().maxOcsText, "25");
}

TEST(FormInputFiles, NarrowerThan650TwipsGives800) {
    Dialog d;
    FormInputFiles& w = *d.form;
    const double dpi = w.logicalDpiX();
    w.show();
    w.resize(twipsToPixels(600, dpi), w.height());
    QApplication::processEvents();
    EXPECT_EQ(w.width(), twipsToPixels(800, dpi));
    EXPECT_EQ(w.frame("FrameMCSFile")->width(), twipsToPixels(350, dpi));
    EXPECT_EQ(w.pathBox(PathBox::Ocs)->width(), twipsToPixels(200, dpi));
    w.resize(twipsToPixels(12000, dpi), w.height());
    EXPECT_EQ(w.width(), twipsToPixels(12000, dpi));
    EXPECT_EQ(w.frame("FrameMoreMCS")->width(), twipsToPixels(11550, dpi));
    EXPECT_EQ(w.pathBox(PathBox::MoreMcs)->width(), twipsToPixels(11400, dpi));
}

TEST(FormInputFiles, BrowseFillsTheBoxFromTheLastFolder) {
    Dialog d([](JobState& job) { job.LastOCSRoot = "/robots"; });
    d.dialogs.answer("/robots/cell.ls");
    d.form->browseButton(PathBox::Ocs)->click();
    EXPECT_EQ(d.form->pathBox(PathBox::Ocs)->text(), "/robots/cell.ls");
    ASSERT_EQ(d.dialogs.shown().size(), 1u);
    EXPECT_EQ(d.dialogs.shown()[0].folder, "/robots");
}

TEST(FormInputFiles, WhileALoadRunsItsButtonsAndItsCloseWait) {
    JobState job;
    testing::FakePrompter prompter;
    bool checked = false;
    FormInputFiles* form = nullptr;
    InputFilesWindowServices s;
    s.loadServices = [&] {
        PointLoadServices l;
        l.prompter = &prompter;
        return l;
    };
    s.loadRunning = [&](bool running) {
        if (!running) return;
        checked = true;
        EXPECT_FALSE(form->okButton()->isEnabled());
        EXPECT_FALSE(form->applyButton()->isEnabled());
        EXPECT_FALSE(form->cancelButton()->isEnabled());
        EXPECT_FALSE(form->close());  // the close box waits too
        EXPECT_FALSE(form->runLoad());
    };
    FormInputFiles w(job, std::move(s));
    form = &w;
    w.show();
    w.pathBox(PathBox::Mcs)->setText("/nowhere/mcs.txt");  // a refusal is enough: the load ran
    w.applyButton()->click();
    EXPECT_TRUE(checked);
    EXPECT_TRUE(w.isVisible());  // Apply stays open
    EXPECT_TRUE(w.okButton()->isEnabled());
    EXPECT_TRUE(w.cancelButton()->isEnabled());
    w.okButton()->click();  // OK closes whatever the load did
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(prompter.texts().size(), 2u);
}

// ---- The dialog in the program ----

// The program's pieces around the dialog: the main window, the job commands, the calculation
// window and the dialog's wiring, with scripted message boxes.
struct Program {
    platform::ScopedDecimalSeparator point{'.'};
    JobState job;
    testing::FakePrompter prompter;
    testing::FakeFileDialogs dialogs;
    JobEvents events;
    FormMain main{job, prompter};
    MainJobWindow jobWindow{main, job};
    JobCommands commands{job, prompter, dialogs, jobWindow};
    CalculationWindows calculation{job, events, main, prompter};
    InputWindows input{job, events, main, prompter, dialogs, &calculation};

    Program() {
        main.setSplashInterval(-1);
        main.resize(1300, 900);
        main.show();
    }
    // The demo job gives the units (millimetres, degrees) and loaded points.
    bool openDemoJob() { return commands.openJobAt(example("demo-job.tfo")); }
    FormInputFiles& openDialog() {
        main.action(Command::InputFiles)->trigger();
        EXPECT_NE(input.window(), nullptr);
        return *input.window();
    }
    std::string savedBytes() const {
        JobFileWriteNotes notes;
        return writeJobFile(job, notes);
    }
};

void choose(FormInputFiles& w, const std::string& mcs, const std::string& ocs, int format,
            QRadioButton* method) {
    w.pathBox(PathBox::Mcs)->setText(QString::fromStdString(mcs));
    w.pathBox(PathBox::Mcs)->textEdited(w.pathBox(PathBox::Mcs)->text());
    w.pathBox(PathBox::Ocs)->setText(QString::fromStdString(ocs));
    w.pathBox(PathBox::Ocs)->textEdited(w.pathBox(PathBox::Ocs)->text());
    w.formatList()->setCurrentIndex(format);
    method->click();
}

// Calculates in the calculation window and checks the transformation of the pairs.
void expectCalculation(Program& p, double traX, double traY, double traZ, double rotZ) {
    FormTrafoBerechnung* c = p.calculation.window();
    ASSERT_NE(c, nullptr);
    c->presetButton(Preset::SixParameter)->click();
    c->calculateButton()->click();
    EXPECT_NEAR(p.job.TraX(), traX, 1e-6);
    EXPECT_NEAR(p.job.TraY(), traY, 1e-6);
    EXPECT_NEAR(p.job.TraZ(), traZ, 1e-6);
    EXPECT_NEAR(p.job.RotX(), 0.0, 1e-9);
    EXPECT_NEAR(p.job.RotY(), 0.0, 1e-9);
    EXPECT_NEAR(p.job.RotZ(), rotZ, 1e-9);
}

TEST(InputWindows, LoadsTheRobotCellByNameAndByCoordinatesAndTheCalculationRecoversIt) {
    Program p;
    ASSERT_TRUE(p.openDemoJob());
    p.main.action(Command::CalculationWindow)->trigger();
    FormTrafoBerechnung* before = p.calculation.window();
    ASSERT_NE(before, nullptr);

    // By name: the measured cell against the robot's KUKA positions.
    FormInputFiles& w = p.openDialog();
    // The job stores its point file without a folder: the box names the file found beside the job.
    EXPECT_EQ(w.pathBox(PathBox::Mcs)->text().toStdString(), example(p.job.MCS_FileName));
    EXPECT_TRUE(w.frame("FrameMoreMCS")->isEnabled());  // points are loaded
    saveCapture(*p.input.window()->parentWidget(), "input-files-dialog.png");
    choose(w, example("cell-mcs-xyz.txt"), example("cell-ocs.dat"), kOcsKuka, w.byIdOption());
    w.renameMcsBox()->setText("Cell");
    w.renameMcsBox()->textEdited("Cell");
    p.prompter.answer(platform::Answer::Yes);  // replace the demo job's points
    w.okButton()->click();
    EXPECT_EQ(p.input.window(), nullptr);      // OK closed it
    ASSERT_EQ(p.prompter.texts().size(), 2u);  // the question, then the note on the 3-column file
    EXPECT_EQ(p.prompter.texts()[0], kOverwriteQuestion);
    EXPECT_EQ(p.job.IdenticalCount, 6);
    EXPECT_EQ(p.job.MCS_Name, (std::vector<std::string>{"", "1", "2", "3", "4", "5", "6"}));
    EXPECT_EQ(p.job.OCS_Name, p.job.MCS_Name);
    EXPECT_EQ(p.job.OCS_X[2], 879.5);
    EXPECT_TRUE(p.job.KukaOcsMode);
    EXPECT_EQ(p.job.NameMCS, "Cell");
    EXPECT_EQ(p.job.OCS_FileName, example("cell-ocs.dat"));
    EXPECT_NEAR(p.job.OcsAngles(4, 1), -45 * kPi / 180, 1e-9);
    // The open calculation window was set up again for the new points.
    EXPECT_NE(p.calculation.window(), nullptr);
    EXPECT_TRUE(p.main.action(Command::CalculationWindow)->isChecked());
    // x_OCS = 1000 − y_MCS: a quarter turn about z, −90° in the program's rotation convention.
    expectCalculation(p, 1000, -500, 250, -kPi / 2);

    // By coordinates: the cell's names against the same points numbered 1 ... 6.
    FormInputFiles& again = p.openDialog();
    EXPECT_EQ(again.formatList()->currentIndex(), kOcsKuka);  // refilled from the job
    EXPECT_EQ(again.renameMcsBox()->text(), "Cell");
    choose(again, example("cell-mcs.txt"), example("cell-mcs-xyz.txt"), kOcsAscii,
           again.byCoordinateOption());
    p.prompter.answer(platform::Answer::Yes);
    p.prompter.answerInput("0.8");
    again.okButton()->click();
    EXPECT_TRUE(p.prompter.exhausted());
    EXPECT_EQ(p.job.IdenticalCount, 6);
    EXPECT_EQ(p.job.MCS_Name[1], "MCS_P1=OCS_1");
    EXPECT_EQ(p.job.MCS_Name[6], "MCS_P6=OCS_6");
    EXPECT_TRUE(p.job.AsciiOcsMode);
    expectCalculation(p, 0, 0, 0, 0);
}

// Points far apart at random, and the same points moved by the cell's transformation.
std::pair<std::string, std::string> writeLargeCell(testing::TempDir& dir, int n) {
    std::mt19937 random(7);
    std::uniform_real_distribution<double> c(-5000, 5000);
    std::string mcs, ocs;
    char line[160];
    for (int i = 1; i <= n; ++i) {
        const double x = c(random), y = c(random), z = c(random);
        std::snprintf(line, sizeof line, "M%d;%.4f;%.4f;%.4f\n", i, x, y, z);
        mcs += line;
        std::snprintf(line, sizeof line, "O%d;%.4f;%.4f;%.4f\n", i, 1000 - y, x - 500, z + 250);
        ocs += line;
    }
    return {dir.write("mcs.txt", mcs), dir.write("ocs.txt", ocs)};
}

TEST(InputWindows, DistanceSearchShowsItsProgressBlocksTheProgramAndItsStopChangesNothing) {
    Program p;
    testing::TempDir dir;
    ASSERT_TRUE(p.openDemoJob());
    p.job.JobDirty = false;
    p.main.action(Command::CalculationWindow)->trigger();
    ASSERT_NE(p.calculation.window(), nullptr);
    const std::string before = p.savedBytes();
    const auto [mcs, ocs] = writeLargeCell(dir, 3000);

    FormInputFiles& w = p.openDialog();
    choose(w, mcs, ocs, kOcsAscii, w.byDistanceOption());
    p.prompter.answer(platform::Answer::Yes);
    p.prompter.answerInput("0.8");
    bool seen = false;
    QTimer::singleShot(0, &p.main, [&] {
        seen = true;
        auto& progress = dynamic_cast<QtProgressWindow&>(p.main.progressWindow());
        ASSERT_TRUE(progress.isOpen());
        EXPECT_EQ(progress.form()->windowTitle(), "AutoFind Indentically Points - Progress");
        FormInputFiles* dialog = p.input.window();
        ASSERT_NE(dialog, nullptr);
        EXPECT_FALSE(dialog->okButton()->isEnabled());
        EXPECT_FALSE(dialog->applyButton()->isEnabled());
        EXPECT_FALSE(dialog->cancelButton()->isEnabled());
        dialog->parentWidget()->close();  // the close box waits for the load
        EXPECT_TRUE(dialog->isVisible());
        EXPECT_FALSE(p.main.action(Command::InputFiles)->isEnabled());
        EXPECT_FALSE(p.main.action(Command::OpenJob)->isEnabled());
        EXPECT_FALSE(p.main.action(Command::CalculationWindow)->isEnabled());
        EXPECT_FALSE(p.calculation.window()->isEnabled());  // no Calculate meanwhile
        saveCapture(p.main, "input-files-distance-search.png");
        progress.form()->cancelButton()->click();
    });
    w.okButton()->click();
    EXPECT_TRUE(seen);
    EXPECT_EQ(p.prompter.texts().back(), kSearchStopped);
    EXPECT_EQ(p.savedBytes(), before);
    EXPECT_EQ(p.input.window(), nullptr);  // OK closes whatever the load did
    EXPECT_TRUE(p.main.action(Command::InputFiles)->isEnabled());
    EXPECT_TRUE(p.main.action(Command::CalculationWindow)->isEnabled());
    EXPECT_TRUE(p.calculation.window()->isEnabled());
    EXPECT_TRUE(p.calculation.window()->calculateButton()->isEnabled());
}

TEST(InputWindows, OkAndApplyWaitWhileACalculationRuns) {
    Program p;
    ASSERT_TRUE(p.openDemoJob());
    FormInputFiles& w = p.openDialog();
    p.events.publish(JobEvent::CalculationStarted);
    EXPECT_FALSE(w.okButton()->isEnabled());
    EXPECT_FALSE(w.applyButton()->isEnabled());
    EXPECT_TRUE(w.cancelButton()->isEnabled());
    p.events.publish(JobEvent::CalculationEnded);
    EXPECT_TRUE(w.okButton()->isEnabled());
    w.cancelButton()->click();
    EXPECT_EQ(p.input.window(), nullptr);
}

// The dialog with the program's input tools: a "..from Clipboard" button writes the clipboard's
// points to the data folder and puts that file in its box; a load then shows the statistics.
TEST(InputWindows, ClipboardButtonFillsItsBoxAndALoadShowsTheStatistics) {
    Program p;
    testing::TempDir dir;
    InputToolWindows tools{p.job, p.events, p.main, p.prompter};
    p.input.setInputTools(&tools);
    ASSERT_TRUE(p.openDemoJob());  // the units and a data folder of a set-up program
    p.job.AppDataFolder = dir.path();

    FormInputFiles& w = p.openDialog();
    ASSERT_TRUE(w.clipboardButton(PathBox::Mcs)->isEnabled());
    QGuiApplication::clipboard()->setText("A;1;2;3\r\nB;4;5;7\r\nC;7;9;8\r\n");
    w.clipboardButton(PathBox::Mcs)->click();
    const std::string mcsFile = w.pathBox(PathBox::Mcs)->text().toStdString();
    EXPECT_EQ(mcsFile.rfind(dir.path(), 0), 0u) << mcsFile;
    QGuiApplication::clipboard()->setText("A;11;2;3\r\nB;14;5;7\r\nC;17;9;8\r\n");
    w.clipboardButton(PathBox::Ocs)->click();
    EXPECT_NE(w.pathBox(PathBox::Ocs)->text().toStdString(), mcsFile);

    EXPECT_EQ(tools.statisticsWindow(), nullptr);
    p.prompter.answer(platform::Answer::Yes);  // replace the demo job's points
    w.okButton()->click();
    EXPECT_TRUE(p.prompter.exhausted());
    EXPECT_EQ(p.job.IdenticalCount, 3);
    ASSERT_NE(tools.statisticsWindow(), nullptr);  // shown and filled by the load
    EXPECT_EQ(tools.statisticsWindow()->textBox(3)->text(), "3");
}

}  // namespace
}  // namespace kal
