#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <cmath>
#include <cstdlib>

#include "app/CalculationWindows.h"
#include "calculation/ui/FormTrafoBerechnung.h"
#include "engine/Sigma.h"
#include "results/ui/CalculationResultDisplay.h"
#include "shared/NumberText.h"
#include "shared/Units.h"
#include "shared/ui/NumberBox.h"
#include "shell/JobCommands.h"
#include "shell/ui/FormMain.h"
#include "shell/ui/MainJobWindow.h"
#include "support/DishJob.h"
#include "support/FakeFileDialogs.h"
#include "support/FakePlatform.h"

namespace kal {
namespace {

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
};

QString box(QWidget& w, const char* name) {
    auto* e = w.findChild<QLineEdit*>(name);
    return e ? e->text() : QStringLiteral("<missing %1>").arg(name);
}

QString length(const JobState& job, double mm) {
    return QString::fromStdString(formatNumber(mm * job.LengthFactor, job.LengthFormat));
}

// The engine's own numbers, scanned here independently of the display.
struct EngineNumbers {
    double maxX = -1e300, minZ = 1e300, s0 = 0, sx = 0, sy = 0, sz = 0;
    std::int32_t maxXPoint = 0, minZPoint = 0;
};
EngineNumbers scan(const CalcResults& r) {
    EngineNumbers e;
    for (std::int32_t p = 1; 3 * p <= r.ObservationCount; ++p) {
        if (r.Weights(3 * p - 2, 1) > 0 && r.Residuals(3 * p - 2, 1) > e.maxX)
            e.maxX = r.Residuals(3 * p - 2, 1), e.maxXPoint = p;
        if (r.Weights(3 * p, 1) > 0 && r.Residuals(3 * p, 1) < e.minZ)
            e.minZ = r.Residuals(3 * p, 1), e.minZPoint = p;
    }
    calculateSigma(r.Residuals, r.Weights, r.UnknownCount, r.ObservationCount, e.s0, e.sx, e.sy, e.sz);
    return e;
}

// With KALVORETH_CAPTURE_DIR set, the main window is shown with the calculation window in it and
// both pictures are saved there (to look at the window as a user sees it).
void saveCapture(QWidget& main, QWidget& w, const char* name) {
    const char* dir = std::getenv("KALVORETH_CAPTURE_DIR");
    if (!dir) return;
    main.resize(1400, 900);
    main.show();
    for (int k = 0; k < 20; ++k) QApplication::processEvents();
    w.grab().save(QString::fromStdString(std::string(dir) + "/" + name));
    main.grab().save(QString::fromStdString(std::string(dir) + "/main-" + name));
}

// Opens the demo job and its calculation window, calculates, and reads the result boxes, the
// extremes, the arrows and the report against the engine; then changes the units to metre.
TEST(CalculationResultDisplay, ShowsTheDemoJobsResultsAndFollowsAUnitChange) {
    Program p;
    ASSERT_TRUE(p.openDemoJob());
    p.job.ClipboardMode = 2;
    FormTrafoBerechnung& w = p.windows.ensureOpen();
    CalculationResultDisplay* display = p.windows.resultDisplay();
    ASSERT_NE(display, nullptr);
    // A fresh window shows no arrow and no result.
    for (int q = 0; q < kStatCount; ++q) {
        EXPECT_FALSE(display->greenArrow(static_cast<StatQuantity>(q))->isVisibleTo(&w));
        EXPECT_FALSE(display->redArrow(static_cast<StatQuantity>(q))->isVisibleTo(&w));
    }
    p.job.TrafoCalculated = false;
    QApplication::clipboard()->setText("before");

    w.calculateButton()->click();
    const CalcResults& r = w.flow().results();
    const EngineNumbers e = scan(r);
    EXPECT_TRUE(p.job.TrafoCalculated);
    EXPECT_EQ(box(w, "TextMaxDevX"), length(p.job, e.maxX));
    EXPECT_EQ(box(w, "TextMaxDevXPkt"),
              QString::fromStdString(p.job.MCS_Name[static_cast<std::size_t>(e.maxXPoint)]));
    EXPECT_EQ(box(w, "TextMinDevZ"), length(p.job, e.minZ));
    EXPECT_EQ(box(w, "TextMinDevZPkt"),
              QString::fromStdString(p.job.MCS_Name[static_cast<std::size_t>(e.minZPoint)]));
    EXPECT_EQ(box(w, "TextS0"), length(p.job, e.s0));
    EXPECT_EQ(box(w, "TextSxyz"), length(p.job, std::sqrt(e.sx * e.sx + e.sy * e.sy + e.sz * e.sz)));
    EXPECT_DOUBLE_EQ(p.job.MaxDevX, e.maxX);
    // tra x is the first estimated parameter: its sigma is sqrt(Q11)·s0.
    EXPECT_EQ(box(w, "TextSigmaTransX"), length(p.job, std::sqrt(std::fabs(r.CofactorMatrix(1, 1))) * e.s0));
    EXPECT_FALSE(box(w, "TextSignifikanzRotZ").isEmpty());
    EXPECT_EQ(box(w, "TextSigmaScaleXYZ"), "");  // not estimated: never written
    // The first display of a window: red arrows only.
    for (int q = 0; q < kStatCount; ++q) {
        EXPECT_TRUE(display->redArrow(static_cast<StatQuantity>(q))->isVisibleTo(&w)) << q;
        EXPECT_FALSE(display->greenArrow(static_cast<StatQuantity>(q))->isVisibleTo(&w)) << q;
    }
    // The report: six points, twenty lines around them.
    const QString report = QApplication::clipboard()->text();
    EXPECT_EQ(report.count("\r\n") + 1, p.job.IdenticalCount + 20);
    EXPECT_TRUE(report.startsWith("Start = MCS File: "));
    EXPECT_TRUE(w.seedButton()->isEnabled());
    saveCapture(p.main, w, "calculation-results.png");

    // Metre: every length box is rewritten in the new unit, the comparison is made again.
    p.job.LengthUnitName = "meter";
    applyUnitSettings(p.job);
    p.events.publish(JobEvent::UnitsChanged);
    EXPECT_EQ(w.row(kTraX).value->text(), length(p.job, p.job.TraX()));
    EXPECT_EQ(box(w, "TextMaxDevX"), length(p.job, e.maxX));
    EXPECT_EQ(box(w, "TextSigmaTransX"), length(p.job, std::sqrt(std::fabs(r.CofactorMatrix(1, 1))) * e.s0));
    EXPECT_EQ(w.statusPanel(8)->text(), "meter");
    EXPECT_TRUE(w.findChild<QLineEdit*>("TextScaleX")->toolTip().endsWith(" ppm"));
    EXPECT_TRUE(QApplication::clipboard()->text().contains("\tmeter"));
}

// With twelve scale digits the scale sigma is wider than its box: the box shows the number's
// start ("0.0000…", not "…000003465936") and the whole number in its tooltip.
TEST(CalculationResultDisplay, ANarrowResultBoxShowsTheStartOfItsNumberAndAllOfItInItsTooltip) {
    Program p;
    ASSERT_TRUE(p.openDemoJob());
    p.job.DigitScale = 1;
    applyUnitSettings(p.job);
    // Residuals, so the scale has a sigma other than 0.
    p.job.MCS_X.set(1, p.job.MCS_X[1] + 0.05);
    p.job.MCSt_X.set(1, p.job.MCS_X[1]);
    FormTrafoBerechnung& w = p.windows.ensureOpen();
    w.presetButton(Preset::SevenParameter)->click();
    w.calculateButton()->click();
    auto* sigma = w.findChild<QLineEdit*>("TextSigmaScaleXYZ");
    ASSERT_NE(sigma, nullptr);
    const QString number = sigma->text();
    ASSERT_EQ(number.size(), 14) << number.toStdString();  // "0." and twelve digits
    ASSERT_TRUE(number.startsWith("0.")) << number.toStdString();
    ASSERT_NE(number, "0.000000000000");
    w.show();
    QApplication::processEvents();
    const QImage shown = sigma->grab().toImage();
    saveCapture(p.main, w, "small-calculation-scale-sigma.png");

    // The box shows the start: a longer text with the same start looks the same, while one with
    // another start does not.
    sigma->setText(number + "999999");
    EXPECT_EQ(sigma->grab().toImage(), shown) << "the box shows the end of " << number.toStdString();
    sigma->setText("9" + number.mid(1));
    EXPECT_NE(sigma->grab().toImage(), shown);
    sigma->setText(number);

    auto* box = qobject_cast<NumberBox*>(sigma);
    ASSERT_NE(box, nullptr) << "the result boxes are number boxes";
    EXPECT_TRUE(box->textCut());
    EXPECT_EQ(box->shownToolTip(), number);
    // A box whose number fits keeps its own tooltip and adds none.
    auto* value = qobject_cast<NumberBox*>(w.findChild<QLineEdit*>("TextTraX"));
    ASSERT_NE(value, nullptr);
    EXPECT_FALSE(value->textCut()) << value->text().toStdString();
    EXPECT_EQ(value->shownToolTip(), value->toolTip());
}

QString tip(QWidget& w, const char* name) {
    auto* e = w.findChild<QLineEdit*>(name);
    return e ? e->toolTip() : QStringLiteral("<missing %1>").arg(name);
}

// Under L1 and minimax the weights are those of the last reweighting step: s0 and the sigmas made
// from them are no sigmas of the result (on the exactly fitting demo cell they read 0.000 beside a
// value/sigma of millions). The sigma boxes stay empty and say why; the report's sigma fields stay
// empty; the residual extremes stay. L2 brings the sigmas back and clears the tooltips.
TEST(CalculationResultDisplay, UnderL1AndMinimaxTheSigmaBoxesAndReportFieldsStayEmptyWithTheReason) {
    const char* sigmaBoxes[] = {"TextSigmaTransX", "TextSignifikanzTransX",
                                "TextSigmaRotZ",   "TextSignifikanzRotZ",
                                "TextS0",          "TextSxyz",
                                "TextSx",          "TextSy",
                                "TextSz"};
    for (const std::int16_t norm : {kNormL1, kNormMinimax}) {
        SCOPED_TRACE(norm);
        Program p;
        ASSERT_TRUE(p.openDemoJob());
        p.job.ClipboardMode = 2;
        FormTrafoBerechnung& w = p.windows.ensureOpen();
        w.normButton(kNormL2)->click();
        w.calculateButton()->click();
        ASSERT_FALSE(box(w, "TextSigmaTransX").isEmpty());  // an L2 sigma to be replaced
        EXPECT_TRUE(tip(w, "TextSigmaTransX").isEmpty());

        w.normButton(norm)->click();
        ASSERT_EQ(p.job.NormMode, norm);
        QApplication::clipboard()->setText("before");
        w.calculateButton()->click();
        ASSERT_TRUE(p.job.TrafoCalculated);
        for (const char* name : sigmaBoxes) {
            EXPECT_EQ(box(w, name), "") << name;
            EXPECT_TRUE(tip(w, name).startsWith("No sigma under the ")) << name;
            EXPECT_TRUE(tip(w, name).contains(norm == kNormL1 ? "L1" : "Loo")) << name;
        }
        EXPECT_FALSE(box(w, "TextMaxDevX").isEmpty());  // the residuals are results
        CalculationResultDisplay* display = p.windows.resultDisplay();
        EXPECT_FALSE(display->redArrow(kStatS0)->isVisibleTo(&w));
        EXPECT_FALSE(display->greenArrow(kStatS0)->isVisibleTo(&w));
        // The report: "s0 " TAB (empty) TAB unit TAB "sigma xyz " TAB (empty) TAB unit.
        const QString report = QApplication::clipboard()->text();
        EXPECT_TRUE(report.contains("\r\ns0 \t\tmillimeter\tsigma xyz \t\tmillimeter\r\n"))
            << report.toStdString();
        EXPECT_TRUE(report.contains("\r\nsx   \t\tmax x ")) << report.toStdString();
        if (norm == kNormL1) saveCapture(p.main, w, "calculation-l1.png");

        // A units change keeps them empty: the last adjustment was still L1 or minimax.
        p.job.LengthUnitName = "meter";
        applyUnitSettings(p.job);
        p.events.publish(JobEvent::UnitsChanged);
        EXPECT_EQ(box(w, "TextSigmaTransX"), "");
        EXPECT_EQ(box(w, "TextS0"), "");

        // Back to L2: sigmas again, no tooltip.
        w.normButton(kNormL2)->click();
        w.calculateButton()->click();
        EXPECT_FALSE(box(w, "TextSigmaTransX").isEmpty());
        EXPECT_FALSE(box(w, "TextS0").isEmpty());
        EXPECT_TRUE(tip(w, "TextSigmaTransX").isEmpty());
        EXPECT_TRUE(tip(w, "TextS0").isEmpty());
    }
}

// A paraboloid job with rot z'' estimated: the values that turn with the surface's axis show no
// sigma and say why in the tooltip; tra z and s0, which the points determine, keep theirs. With
// rot z'' held every sigma is there again and no tooltip is left.
TEST(CalculationResultDisplay, ValuesTheSurfaceLeavesOpenShowNoSigmaWithTheReason) {
    testing::DishRecipe recipe;
    recipe.focal = 200.0;
    recipe.noise = 0.01;
    recipe.truth.tra[0] = 30.0;
    recipe.truth.tra[1] = 12.0;
    recipe.truth.tra[2] = -8.0;
    recipe.truth.rot[0] = 0.05;
    recipe.truth.rot[1] = -0.03;
    recipe.truth.rot[2] = 0.4;
    Program p;
    p.job = testing::makeDishJob(recipe);
    p.job.TrafoFormGeladen = false;
    FormTrafoBerechnung& w = p.windows.ensureOpen();
    ASSERT_TRUE(w.row(kRotZ).estimate->isChecked());
    w.calculateButton()->click();
    ASSERT_TRUE(p.job.TrafoCalculated);
    for (const char* name : {"TextSigmaTransX", "TextSignifikanzTransX", "TextSigmaTransY", "TextSigmaRotX",
                             "TextSigmaRotY", "TextSigmaRotZ", "TextSignifikanzRotZ"}) {
        EXPECT_EQ(box(w, name), "") << name;
        EXPECT_EQ(tip(w, name).toStdString(), kOpenBySurfaceTooltip) << name;
    }
    EXPECT_FALSE(box(w, "TextSigmaTransZ").isEmpty());
    EXPECT_TRUE(tip(w, "TextSigmaTransZ").isEmpty());
    EXPECT_FALSE(box(w, "TextS0").isEmpty());

    w.row(kRotZ).estimate->click();
    ASSERT_FALSE(w.row(kRotZ).estimate->isChecked());
    w.calculateButton()->click();
    for (const char* name : {"TextSigmaTransX", "TextSigmaRotZ", "TextSigmaRotX"}) {
        EXPECT_TRUE(tip(w, name).isEmpty()) << name;
    }
    EXPECT_FALSE(box(w, "TextSigmaTransX").isEmpty());
    EXPECT_FALSE(box(w, "TextSigmaRotX").isEmpty());
}

// The units window's OK before any calculation in this window: boxes reformatted, the job not
// marked calculated, nothing put on the clipboard.
TEST(CalculationResultDisplay, UnitsChangeBeforeAnyCalculationMarksNothingCalculated) {
    Program p;
    ASSERT_TRUE(p.openDemoJob());
    p.job.ClipboardMode = 2;
    p.job.TrafoCalculated = false;
    FormTrafoBerechnung& w = p.windows.ensureOpen();
    QApplication::clipboard()->setText("kept");
    p.job.LengthUnitName = "meter";
    applyUnitSettings(p.job);
    p.events.publish(JobEvent::UnitsChanged);
    EXPECT_FALSE(p.job.TrafoCalculated);
    EXPECT_EQ(QApplication::clipboard()->text(), "kept");
    EXPECT_EQ(w.row(kTraX).value->text(), length(p.job, p.job.TraX()));
    EXPECT_EQ(box(w, "TextMaxDevX"), "");
    EXPECT_FALSE(p.main.action(Command::CalculationWindow) == nullptr);
}

// A second calculation of the same job compares with the first: equal magnitudes stay red, and
// the preset buttons' reset empties the result boxes.
TEST(CalculationResultDisplay, SecondCalculationComparesWithTheFirstAndResetEmptiesTheBoxes) {
    Program p;
    ASSERT_TRUE(p.openDemoJob());
    p.job.ClipboardMode = 1;
    FormTrafoBerechnung& w = p.windows.ensureOpen();
    w.calculateButton()->click();
    w.calculateButton()->click();
    CalculationResultDisplay* display = p.windows.resultDisplay();
    int shown = 0;
    for (int q = 0; q < kStatCount; ++q)
        shown += display->redArrow(static_cast<StatQuantity>(q))->isVisibleTo(&w) +
                 display->greenArrow(static_cast<StatQuantity>(q))->isVisibleTo(&w);
    EXPECT_EQ(shown, kStatCount);  // one arrow each
    EXPECT_FALSE(box(w, "TextSigmaTransX").isEmpty());
    w.presetButton(Preset::SevenParameter)->click();
    EXPECT_EQ(box(w, "TextSigmaTransX"), "");
    EXPECT_EQ(box(w, "TextMaxDevX"), "");
    EXPECT_FALSE(box(w, "TextS0").isEmpty());  // s0 and sigma xyz stay
}

// Mode 4: the clipboard holds the translations and the negated rotations of the parameter block,
// while the rotation boxes switch to the other solution once the calculation has let go of them.
TEST(CalculationResultDisplay, CellCalibrationModeShowsTheOtherRotationSolution) {
    Program p;
    ASSERT_TRUE(p.openDemoJob());
    p.job.ClipboardMode = 4;
    p.job.InvertedBMW = false;
    FormTrafoBerechnung& w = p.windows.ensureOpen();
    w.calculateButton()->click();
    const QString rotZ = w.row(kRotZ).value->text();
    QApplication::processEvents();
    QApplication::processEvents();
    const QString expected = length(p.job, p.job.TraX()) + "\t" + length(p.job, p.job.TraY()) + "\t" +
                             length(p.job, p.job.TraZ()) + "\t" +
                             QString::fromStdString(*angleText(p.job, -p.job.RotX())) + "\t" +
                             QString::fromStdString(*angleText(p.job, -p.job.RotY())) + "\t" +
                             QString::fromStdString(*angleText(p.job, -p.job.RotZ())) + "\t";
    EXPECT_EQ(QApplication::clipboard()->text(), expected);
    EXPECT_EQ(rotZ, "-90.0000");
    // rot z'' = -90° has the other solution (180°, 180°, 90°).
    EXPECT_EQ(w.row(kRotX).value->text(), "180.0000");
    EXPECT_EQ(w.row(kRotZ).value->text(), "90.0000");
}

}  // namespace
}  // namespace kal
