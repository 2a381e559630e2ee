#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEvent>

#include "app/ColorBarWindows.h"
#include "platform/Regional.h"
#include "support/FakeColourBarWindow.h"
#include "support/FakePlatform.h"

namespace kal {
namespace {

struct Program {
    platform::ScopedDecimalSeparator point{'.'};
    JobState job = testing::colourBarSampleJob();
    testing::FakePrompter prompter;
    FormMain main{job, prompter};
    ColorBarWindows colourBar{job, main, prompter};
    testing::FakeColourBarWindow window{job};

    Program() {
        main.setSplashInterval(-1);
        colourBar.setTargetFinder([this] { return &window; });
    }
};

TEST(ColorBarWindows, EntryDisabledWithoutAGraphicsWindow) {
    Program p;
    p.main.refreshControls();
    EXPECT_FALSE(p.main.action(Command::ColorBar)->isEnabled());
    EXPECT_FALSE(p.main.action(Command::ToleranceMenu)->isEnabled());
    // Reached anyway (a shortcut), the commands do nothing without a graphics window.
    p.colourBar.setTargetFinder([] { return nullptr; });
    p.colourBar.toggleDialog();
    p.colourBar.toggleSettings();
    EXPECT_FALSE(p.colourBar.dialog());
    EXPECT_FALSE(p.job.ColourBarShown);
}

TEST(ColorBarWindows, ColorBarShowsAndClosesTheDialog) {
    Program p;
    p.colourBar.toggleDialog();
    ASSERT_TRUE(p.colourBar.dialog());
    EXPECT_TRUE(p.colourBar.dialog()->isVisible());
    EXPECT_TRUE(p.job.ColourBarShown);
    EXPECT_TRUE(p.main.action(Command::ColorBar)->isChecked());
    EXPECT_EQ(p.colourBar.dialog()->windowTitle(), "ColorBar - Tolerance");

    p.colourBar.model().mutableFields().twoColour = true;
    EXPECT_TRUE(p.colourBar.twoColourActive());

    p.colourBar.toggleDialog();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(p.colourBar.dialog());
    EXPECT_FALSE(p.job.ColourBarShown);
    EXPECT_FALSE(p.main.action(Command::ColorBar)->isChecked());
    EXPECT_FALSE(p.colourBar.twoColourActive());  // the entry is no longer checked
}

TEST(ColorBarWindows, SettingsFoldsAndChecksColorBar) {
    Program p;
    p.colourBar.toggleDialog();
    p.colourBar.toggleSettings();
    EXPECT_FALSE(p.colourBar.dialog()->isExpanded());
    EXPECT_FALSE(p.main.action(Command::ColorBarSettings)->isChecked());
    p.colourBar.toggleSettings();
    EXPECT_TRUE(p.colourBar.dialog()->isExpanded());
    EXPECT_TRUE(p.main.action(Command::ColorBarSettings)->isChecked());
    EXPECT_TRUE(p.main.action(Command::ColorBar)->isChecked());
}

TEST(ColorBarWindows, WindowLoadAppliesAndActivationReloads) {
    Program p;
    p.window.view.Max = 0.5;
    p.window.view.Min = -0.5;
    p.colourBar.windowLoaded();  // loaded hidden
    ASSERT_TRUE(p.colourBar.dialog());
    EXPECT_FALSE(p.colourBar.dialog()->isVisible());
    EXPECT_EQ(p.window.recolours, 1);

    p.colourBar.toggleDialog();
    p.window.view.Max = 2;
    p.colourBar.windowActivated();
    EXPECT_EQ(p.colourBar.dialog()->upperLimitBox()->text(), "2.00");
    p.colourBar.lastWindowClosed();
    EXPECT_FALSE(p.job.ColourBarShown);
}

}  // namespace
}  // namespace kal
