#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>

#include "app/CalculationWindows.h"
#include "app/InputWindows.h"
#include "app/SettingsWindows.h"
#include "app/SheetWindows.h"
#include "calculation/ui/FormTrafoBerechnung.h"
#include "platform/Regional.h"
#include "results/MainSheet.h"
#include "results/ui/CalculationResultDisplay.h"
#include "results/ui/FormMainSheet.h"
#include "shared/NumberText.h"
#include "shared/Units.h"
#include "shell/ui/FormMain.h"
#include "shell/ui/FormUnits.h"
#include "support/FakeFileDialogs.h"
#include "support/FakePlatform.h"
#include "support/TempDir.h"

namespace kal {
namespace {

std::string example(const std::string& name) { return std::string(KALVORETH_EXAMPLES) + "/" + name; }

// The windows of the everyday road, wired as the program wires them.
struct Program {
    platform::ScopedDecimalSeparator point{'.'};
    testing::TempDir dir;
    JobState job;
    testing::FakePrompter prompter;
    testing::FakeFileDialogs dialogs;
    JobEvents events;
    FormMain main{job, prompter};
    CalculationWindows calculation{job, events, main, prompter};
    SheetWindows sheet{job, events, main, prompter};
    InputWindows input{job, events, main, prompter, dialogs, &calculation};
    SettingsWindows settings{job, events, main, prompter, calculation};

    Program() {
        main.setSplashInterval(-1);
        main.resize(1400, 1000);
        job.LengthUnitName = "millimeter", job.AngleUnitName = "degree", job.DigitLength = 3,
        job.DigitAngle = 4;
        applyUnitSettings(job);
        job.IniFilePath = dir.write("Kalvoreth.ini", "[Units]\r\nUnitLength=millimeter\r\n");
        job.AppDataFolder = dir.file("data");
        main.refreshControls();
        main.show();
    }
    std::string sheetCell(const std::string& name, int column) const {
        const FormMainSheet* w = sheet.window();
        if (!w) return "<no sheet>";
        const auto row = w->sheet().rowOfName(name);
        return row ? w->sheet().text(*row, column) : "<no row>";
    }
};

// The road a user walks every day: load the robot cell through the input-files dialog, calculate in
// the calculation window, read the result boxes and the main sheet, then switch the units to metre.
TEST(EverydayRoad, LoadCalculateReadAndChangeUnits) {
    Program p;
    p.main.action(Command::InputFiles)->trigger();
    FormInputFiles* in = p.input.window();
    ASSERT_NE(in, nullptr);
    in->pathBox(PathBox::Mcs)->setText(QString::fromStdString(example("cell-mcs-xyz.txt")));
    in->pathBox(PathBox::Mcs)->textEdited(in->pathBox(PathBox::Mcs)->text());
    in->pathBox(PathBox::Ocs)->setText(QString::fromStdString(example("cell-ocs.dat")));
    in->pathBox(PathBox::Ocs)->textEdited(in->pathBox(PathBox::Ocs)->text());
    in->formatList()->setCurrentIndex(kOcsKuka);
    in->byIdOption()->click();
    in->okButton()->click();
    ASSERT_EQ(p.job.IdenticalCount, 6);

    p.main.action(Command::CalculationWindow)->trigger();
    FormTrafoBerechnung* calc = p.calculation.window();
    ASSERT_NE(calc, nullptr);
    calc->presetButton(Preset::SixParameter)->click();
    calc->calculateButton()->click();
    QApplication::processEvents();
    ASSERT_TRUE(p.job.TrafoCalculated);
    EXPECT_NEAR(p.job.TraX(), 1000, 1e-6);

    // The result boxes show the engine's parameters and residual statistics.
    const CalculationResultDisplay* results = p.calculation.resultDisplay();
    ASSERT_NE(results, nullptr);
    EXPECT_EQ(calc->row(1).value->text().toStdString(), formatNumber(p.job.TraX(), p.job.LengthFormat));
    EXPECT_EQ(calc->row(1).value->text(), "1000.000");
    EXPECT_EQ(calc->row(6).value->text(), "-90.0000");
    EXPECT_EQ(results->statisticsBox(kStatS0)->text(), "0.000");
    EXPECT_FALSE(results->extremeNameBox(kExtMaxXyz)->text().isEmpty());

    // The main sheet shows the same transformed points; every residual is zero for this cell.
    ASSERT_NE(p.sheet.window(), nullptr);
    for (int i = 1; i <= 6; ++i) {
        const std::string name = p.job.MCS_Name[static_cast<std::size_t>(i)];
        EXPECT_EQ(p.sheetCell(name, 1), formatNumber(p.job.MCSt_X[i], p.job.LengthFormat)) << name;
        EXPECT_EQ(p.sheetCell(name, 4), formatNumber(p.job.OCS_X[i], p.job.LengthFormat)) << name;
        EXPECT_EQ(p.sheetCell(name, 7), "0.000") << name;
    }
    EXPECT_EQ(p.sheetCell("2", 4), "879.500");

    // Metre: the calculation window, its result boxes and the main sheet all follow.
    p.main.action(Command::Units)->trigger();
    FormUnits* units = p.settings.unitsWindow();
    ASSERT_NE(units, nullptr);
    units->lengthList()->setCurrentIndex(units->lengthList()->findText("meter"));
    units->okButton()->click();
    QApplication::processEvents();
    ASSERT_DOUBLE_EQ(p.job.LengthFactor, 0.001);
    EXPECT_EQ(calc->row(1).value->text(), "1.000");
    EXPECT_EQ(results->statisticsBox(kStatS0)->text(), "0.000");
    EXPECT_EQ(p.sheetCell("2", 4), "0.880");
    EXPECT_EQ(calc->statusPanel(8)->text(), "meter");
}

}  // namespace
}  // namespace kal
