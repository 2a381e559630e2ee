#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>

#include "platform/Regional.h"
#include "shared/IniFile.h"
#include "shared/Units.h"
#include "shell/ui/FormOptions.h"
#include "support/FakePlatform.h"
#include "support/TempDir.h"

namespace kal {
namespace {

struct OptionsFixture {
    platform::ScopedDecimalSeparator point{'.'};
    testing::TempDir dir;
    testing::FakePrompter prompter;
    JobState job;
    std::string ini;

    OptionsFixture() {
        job.LengthUnitName = "millimeter", job.AngleUnitName = "degree", job.DigitLength = 3,
        job.DigitAngle = 4;
        applyUnitSettings(job);
        job.ClipboardMode = 2, job.MonteCarloRuns = 0, job.sigmaX = 0.01;
        job.GimbalLockBorder = 0.3 * kUnitPi / 180;
        ini = dir.write("Kalvoreth.ini", "[Settings]\r\nClipboardValue=2\r\n\r\n[LastEntry]\r\n");
    }
    std::unique_ptr<FormOptions> open() {
        auto w = std::make_unique<FormOptions>(
            job, prompter, [this](const std::vector<IniEntry>& e) { writeIniValues(ini, e); });
        w->show();
        return w;
    }
};

TEST(FormOptions, ShowsTheJobsSettingsWithRunsZeroAsHundred) {
    OptionsFixture f;
    auto w = f.open();
    EXPECT_EQ(w->windowTitle(), "Options");
    EXPECT_TRUE(w->modeButton(2)->isChecked());
    EXPECT_EQ(w->modeButton(2)->objectName(), "OptionALL");
    EXPECT_EQ(w->runsBox()->text(), "100");
    EXPECT_EQ(f.job.MonteCarloRuns, 100);
    EXPECT_EQ(w->sigmaBox(0)->text(), "0.01");
    EXPECT_EQ(w->gimbalLockBox()->text(), "0.3");
    EXPECT_EQ(w->tabs()->count(), 3);
    EXPECT_EQ(w->tabs()->tabText(1), "Monte Carlo Settings");
    if (const char* dir = std::getenv("KALVORETH_CAPTURE_DIR")) {
        for (int i = 0; i < 3; ++i) {
            w->tabs()->setCurrentIndex(i);
            w->grab().save(
                QString::fromStdString(std::string(dir) + "/options-" + std::to_string(i) + ".png"));
        }
    }
}

// Whatever mode is stored, the last one included, its own button is the one selected, and only
// that mode's modifier box is enabled.
TEST(FormOptions, EveryStoredClipboardModeIsTheOneShownSelected) {
    for (std::int16_t mode = 1; mode <= 5; ++mode) {
        SCOPED_TRACE(mode);
        OptionsFixture f;
        f.job.ClipboardMode = mode;
        auto w = f.open();
        for (int button = 1; button <= 5; ++button)
            EXPECT_EQ(w->modeButton(button)->isChecked(), button == mode) << button;
        EXPECT_EQ(w->invertedBox()->isEnabled(), mode == 4);
        EXPECT_EQ(w->adTcpBox()->isEnabled(), mode == 5);
        // OK keeps the stored mode.
        w->okButton()->click();
        EXPECT_EQ(f.job.ClipboardMode, mode);
    }
}

TEST(FormOptions, ModeButtonsEnableTheirModifierWhoseTickStillApplies) {
    OptionsFixture f;
    auto w = f.open();
    EXPECT_FALSE(w->invertedBox()->isEnabled());
    w->modeButton(4)->click();
    EXPECT_TRUE(w->invertedBox()->isEnabled());
    EXPECT_FALSE(w->adTcpBox()->isEnabled());
    w->invertedBox()->setChecked(true);
    w->modeButton(5)->click();
    EXPECT_FALSE(w->invertedBox()->isEnabled());
    EXPECT_TRUE(w->adTcpBox()->isEnabled());
    w->modeButton(2)->click();
    w->okButton()->click();
    EXPECT_EQ(w->result(), QDialog::Accepted);
    EXPECT_TRUE(f.job.InvertedBMW);
    EXPECT_EQ(f.job.ClipboardMode, 2);
    const std::string text = testing::TempDir::read(f.ini);
    EXPECT_NE(text.find("InvertedBMW=True\r\n"), std::string::npos);
    EXPECT_NE(text.find("MonteCarloRuns=100\r\n"), std::string::npos);
}

// Guards against applying and writing the keys before the non-number is met: OK checks every
// box first, then applies and writes all keys or none.
TEST(FormOptions, NonNumberIsNamedAndNothingIsAppliedOrWritten) {
    OptionsFixture f;
    auto w = f.open();
    const std::string before = testing::TempDir::read(f.ini);
    w->modeButton(5)->click();
    w->tableHeadingBox()->setChecked(true);
    w->sigmaBox(0)->setText("abc");
    w->okButton()->click();
    ASSERT_EQ(f.prompter.shown().size(), 1u);
    EXPECT_EQ(f.prompter.shown()[0].text,
              "Please enter a number for Standard Deviation for MCS x Coordinates.");
    EXPECT_EQ(testing::TempDir::read(f.ini), before);
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(w->tabs()->currentIndex(), 1);
    EXPECT_EQ(w->sigmaBox(0)->selectedText(), "abc");
    EXPECT_EQ(f.job.ClipboardMode, 2);
    EXPECT_FALSE(f.job.TabelHeadMainSheet);
    EXPECT_DOUBLE_EQ(f.job.sigmaX, 0.01);

    // Mended, OK goes through.
    w->sigmaBox(0)->setText("0.02");
    w->okButton()->click();
    EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(f.job.ClipboardMode, 5);
    EXPECT_NE(testing::TempDir::read(f.ini).find("sigmaX=0.02\r\n"), std::string::npos);
}

TEST(FormOptions, CancelWritesNothing) {
    OptionsFixture f;
    auto w = f.open();
    const std::string before = testing::TempDir::read(f.ini);
    w->modeButton(1)->click();
    w->runsBox()->setText("7");
    w->cancelButton()->click();
    EXPECT_EQ(w->result(), QDialog::Rejected);
    EXPECT_EQ(testing::TempDir::read(f.ini), before);
    EXPECT_EQ(f.job.ClipboardMode, 2);
    EXPECT_EQ(f.job.MonteCarloRuns, 100);  // set at opening
}

}  // namespace
}  // namespace kal
