#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>
#include <array>
#include <cstdlib>

#include "app/CalculationWindows.h"
#include "calculation/ui/FormTrafoBerechnung.h"
#include "platform/Regional.h"
#include "results/ui/CalculationResultDisplay.h"
#include "shared/Units.h"
#include "shell/ui/FormMain.h"
#include "support/FakePlatform.h"
#include "support/SampleJobs.h"

namespace kal {
namespace {

// The demo cell (six points) in the calculation window as the program wires it, with the six
// parameters chosen; calculations are counted as they start.
struct Program {
    platform::ScopedDecimalSeparator point{'.'};
    JobState job = testing::makeDemoJob(KALVORETH_EXAMPLES);
    testing::FakePrompter prompter;
    JobEvents events;
    FormMain main{job, prompter};
    CalculationWindows calculation{job, events, main, prompter};
    FormTrafoBerechnung* window = nullptr;
    int calculations = 0;
    Subscription counter = events.subscribe(JobEvent::CalculationStarted, Subscriber::Other,
                                            [this] { ++calculations; });

    Program() {
        main.setSplashInterval(-1);
        main.resize(1400, 1000);
        applyUnitSettings(job);
        main.refreshControls();
        main.show();
        window = &calculation.ensureOpen();
        window->presetButton(Preset::SixParameter)->click();
        QApplication::processEvents();
    }
    QLineEdit* nameBox(ExtremeIndex e) const { return calculation.resultDisplay()->extremeNameBox(e); }
    void calculate() {
        window->calculateButton()->click();
        QApplication::processEvents();
    }
    void setAutoRecalc(bool on) {
        window->autoRecalcBox()->setChecked(on);
        ASSERT_EQ(job.AutoRecalc, on);
    }
    std::array<std::int16_t, 3> flagsOf(const std::string& name) const {
        for (std::int32_t i = 1; i <= job.IdenticalCount; ++i)
            if (job.MCS_Name[static_cast<std::size_t>(i)] == name)
                return {job.UseFlags[static_cast<std::size_t>(3 * i - 2)],
                        job.UseFlags[static_cast<std::size_t>(3 * i - 1)],
                        job.UseFlags[static_cast<std::size_t>(3 * i)]};
        ADD_FAILURE() << "no point " << name;
        return {};
    }
    std::vector<std::int16_t> allFlags() const { return {job.UseFlags.begin(), job.UseFlags.end()}; }
};

void saveCapture(QWidget* w, const char* name) {
    if (const char* dir = std::getenv("KALVORETH_CAPTURE_DIR"))
        w->grab().save(QString::fromStdString(std::string(dir) + "/" + name));
}

// Each point-name box of the statistics leaves its point's residual of its own component out (and a
// second double click takes it back in); under "Auto recalculate" each double click calculates once.
TEST(CalculationWindows, ANameBoxDoubleClickTogglesItsComponentWithOneRecalculation) {
    Program p;
    p.calculate();
    ASSERT_TRUE(p.job.TrafoCalculated);
    p.setAutoRecalc(true);
    const struct {
        ExtremeIndex box;
        const char* objectName;
        int component;
    } cases[] = {{kExtMaxX, "TextMaxDevXPkt", 0}, {kExtMinX, "TextMinDevXPkt", 0},
                 {kExtMaxY, "TextMaxDevYPkt", 1}, {kExtMinY, "TextMinDevYPkt", 1},
                 {kExtMaxZ, "TextMaxDevZPkt", 2}, {kExtMinZ, "TextMinDevZPkt", 2}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.objectName);
        QLineEdit* box = p.nameBox(c.box);
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->objectName(), c.objectName);
        EXPECT_EQ(box->toolTip(), "Double Click to unuse Point");
        const std::string name = box->text().toStdString();
        ASSERT_FALSE(name.empty());
        std::array<std::int16_t, 3> expected = p.flagsOf(name);
        expected[static_cast<std::size_t>(c.component)] ^= 1;
        const int before = p.calculations;
        p.job.JobDirty = false;
        QTest::mouseDClick(box, Qt::LeftButton);
        QApplication::processEvents();
        EXPECT_EQ(p.flagsOf(name), expected);
        EXPECT_EQ(p.calculations, before + 1);
        EXPECT_TRUE(p.job.JobDirty);
        // The point is shown in the table as left out (or used again).
        PointTable& table = *p.window->pointTable();
        const int row = table.rowOfName(name);
        ASSERT_GE(row, 0);
        EXPECT_EQ(table.gridModel().data(table.gridModel().index(row, 5 + c.component)).toString(),
                  expected[static_cast<std::size_t>(c.component)] == 1 ? "X" : "");
    }
    saveCapture(p.window, "calculation-name-boxes.png");

    // Without automatic recalculation the flag changes and nothing is calculated.
    p.setAutoRecalc(false);
    const std::string name = p.nameBox(kExtMaxY)->text().toStdString();
    std::array<std::int16_t, 3> expected = p.flagsOf(name);
    expected[1] ^= 1;
    const int before = p.calculations;
    QTest::mouseDClick(p.nameBox(kExtMaxY), Qt::LeftButton);
    EXPECT_EQ(p.flagsOf(name), expected);
    EXPECT_EQ(p.calculations, before);
}

// The box of the largest 3-D residual leaves x, y and z of its point out with one calculation, and
// "Auto recalculate" is ticked again afterwards.
TEST(CalculationWindows, TheMaxXyzBoxTogglesAllThreeFlagsWithOneRecalculation) {
    Program p;
    p.calculate();
    QLineEdit* box = p.nameBox(kExtMaxXyz);
    EXPECT_EQ(box->objectName(), "TextMaxDevXYZPkt");
    EXPECT_EQ(box->toolTip(), "Double Click to unuse Point");
    const std::string name = box->text().toStdString();
    ASSERT_FALSE(name.empty());
    ASSERT_EQ(p.flagsOf(name), (std::array<std::int16_t, 3>{1, 1, 1}));

    p.setAutoRecalc(true);
    const int before = p.calculations;
    QTest::mouseDClick(box, Qt::LeftButton);
    QApplication::processEvents();
    EXPECT_EQ(p.flagsOf(name), (std::array<std::int16_t, 3>{0, 0, 0}));
    EXPECT_EQ(p.calculations, before + 1);
    EXPECT_TRUE(p.job.AutoRecalc);
    EXPECT_TRUE(p.window->autoRecalcBox()->isChecked());

    // Without automatic recalculation: all three back, no calculation, the box stays unticked.
    p.setAutoRecalc(false);
    const std::string again = box->text().toStdString();
    const std::array<std::int16_t, 3> was = p.flagsOf(again);
    QTest::mouseDClick(box, Qt::LeftButton);
    EXPECT_EQ(p.flagsOf(again), (std::array<std::int16_t, 3>{static_cast<std::int16_t>(was[0] ^ 1),
                                                             static_cast<std::int16_t>(was[1] ^ 1),
                                                             static_cast<std::int16_t>(was[2] ^ 1)}));
    EXPECT_EQ(p.calculations, before + 1);
    EXPECT_FALSE(p.job.AutoRecalc);
    EXPECT_FALSE(p.window->autoRecalcBox()->isChecked());
}

// Before the first calculation the boxes are empty: a double click changes nothing and calculates
// nothing, also under "Auto recalculate".
TEST(CalculationWindows, AnEmptyNameBoxDoesNothing) {
    Program p;
    p.setAutoRecalc(true);
    const std::vector<std::int16_t> flags = p.allFlags();
    for (int e = 0; e < kExtremeCount; ++e) {
        QLineEdit* box = p.nameBox(static_cast<ExtremeIndex>(e));
        ASSERT_TRUE(box->text().isEmpty()) << e;
        QTest::mouseDClick(box, Qt::LeftButton);
    }
    EXPECT_EQ(p.allFlags(), flags);
    EXPECT_EQ(p.calculations, 0);
    EXPECT_TRUE(p.window->autoRecalcBox()->isChecked());
}

}  // namespace
}  // namespace kal
