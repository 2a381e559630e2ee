#include <gtest/gtest.h>

#include <QApplication>
#include <QCoreApplication>
#include <QEvent>
#include <QMdiSubWindow>
#include <cstdlib>

#include "annotation/ClassColours.h"
#include "app/ColorBarWindows.h"
#include "platform/Regional.h"
#include "shared/NumberText.h"
#include "shared/Units.h"
#include "support/FakeColourBarWindow.h"
#include "support/FakePlatform.h"
#include "support/SampleJobs.h"
#include "support/ui/GraphicsProgram.h"
#include "view3d/ui/DisplayListPainter.h"

namespace kal {
namespace {

struct Program {
    platform::ScopedDecimalSeparator point{'.'};
    JobState job = testing::colourBarSampleJob();
    testing::FakePrompter prompter;
    FormMain main{job, prompter};
    JobEvents events;
    ScreenWindows screens{job, events, main, prompter};
    ColorBarWindows colourBar{job, main, prompter, screens};
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
    p.window.view.Max = 3;
    p.colourBar.viewRestored(false);  // shown: the controls follow the restored view
    EXPECT_EQ(p.colourBar.dialog()->upperLimitBox()->text(), "3.00");
    p.colourBar.lastWindowClosed();
    EXPECT_FALSE(p.job.ColourBarShown);
}

}  // namespace
}  // namespace kal

namespace kal {
namespace {

// The demo job in real graphics windows, coloured and wired as the program does it.
struct GraphicsProgram : testing::GraphicsProgram {
    ColorBarWindows colourBar{job, main, prompter, screens};

    GraphicsProgram() {
        renderOnOpen = false;
        job.GraphicsFlags.ShowColorBar = true;  // as the settings file's default has it
        job.LengthUnitName = "millimeter", job.AngleUnitName = "degree";
        applyUnitSettings(job);
        show();
    }
};

// The dialog's limit boxes as the default window's own limits would read in them.
std::string boxText(double mm) { return formatNumber(mm, "0.00"); }

void expectDialogShowsTheDefaultWindow(GraphicsProgram& p, const char* when) {
    SCOPED_TRACE(when);
    FormScreen* w = p.screens.defaultWindow();
    ASSERT_TRUE(w && p.colourBar.dialog());
    EXPECT_EQ(p.colourBar.dialog()->upperLimitBox()->text().toStdString(), boxText(w->model().view.Max));
    EXPECT_EQ(p.colourBar.dialog()->lowerLimitBox()->text().toStdString(), boxText(w->model().view.Min));
}

// A second window's bar showed ±0.10 while the dialog said ±0.01: the dialog and the window it
// serves must show one pair of limits, whichever window opened or was shown last.
TEST(ColorBarWindows, TheDialogAndTheDefaultWindowShowTheSameLimits) {
    GraphicsProgram p;
    FormScreen& first = p.open();
    first.model().view.Max = 0.1, first.model().view.Min = -0.1;
    p.main.action(Command::ColorBar)->trigger();  // shown
    QApplication::processEvents();
    expectDialogShowsTheDefaultWindow(p, "shown on the first window");
    p.main.action(Command::ColorBar)->trigger();  // closed
    QApplication::processEvents();

    FormScreen& second = p.open();  // loads the dialog hidden for the second window
    QApplication::processEvents();
    second.model().view.Max = 0.01, second.model().view.Min = -0.01;  // a record of another job
    p.main.action(Command::ColorBar)->trigger();
    QApplication::processEvents();
    expectDialogShowsTheDefaultWindow(p, "shown after a second window opened");

    p.main.action(Command::ColorBar)->trigger();
    QApplication::processEvents();
    FormScreen& third = p.open();
    third.model().view.Max = 0.25, third.model().view.Min = -0.25;
    p.main.action(Command::ColorBar)->trigger();
    QApplication::processEvents();
    expectDialogShowsTheDefaultWindow(p, "shown after a third window opened");
}

// How the two came apart: a new window's load writes the dialog's settings into it, and that
// write is refused as a whole when a box holds no valid value, here the grid distance 0 a cloud
// smaller than the window's seventh gives. The new window then kept the limits of the default
// record while the dialog went on showing the previous window's.
TEST(ColorBarWindows, ARefusedWriteOnLoadStillLeavesTheDialogOnTheNewWindowsLimits) {
    GraphicsProgram p;
    FormScreen& first = p.open();
    first.model().view.ADis = 0;
    first.model().view.Max = 0.01, first.model().view.Min = -0.01;
    p.main.action(Command::ColorBar)->trigger();
    QApplication::processEvents();
    expectDialogShowsTheDefaultWindow(p, "shown on the first window");

    p.job.DefaultScreenProperties = first.model().view;
    p.job.DefaultScreenProperties.ADis = 10;
    p.job.DefaultScreenProperties.Max = 0.1, p.job.DefaultScreenProperties.Min = -0.1;
    FormScreen& second = p.open();
    QApplication::processEvents();
    ASSERT_EQ(p.screens.defaultWindow(), &second);
    EXPECT_DOUBLE_EQ(second.model().view.Max, 0.1);
    expectDialogShowsTheDefaultWindow(p, "after the second window opened with the dialog shown");
}

TEST(ColorBarWindows, GraphicsWindowIsColouredAndTheDialogActsOnIt) {
    GraphicsProgram p;
    FormScreen& w = p.open();
    ASSERT_TRUE(p.main.action(Command::ColorBar)->isEnabled());
    ScreenModel& m = w.model();
    // The identical points carry real classes and class colours, not the stand-in green.
    bool someOtherColour = false;
    for (std::int32_t row = 1; row <= p.job.IdenticalCount; ++row)
        someOtherColour |= m.cloud(row, cloud::Colour) != static_cast<float>(storedColour(0, 255, 0));
    EXPECT_TRUE(someOtherColour);

    p.main.action(Command::ColorBar)->trigger();
    QApplication::processEvents();
    ASSERT_TRUE(p.colourBar.dialog());
    EXPECT_TRUE(p.colourBar.dialog()->isVisible());
    p.colourBar.dialog()->positiveCountBox()->setText("4");
    p.colourBar.dialog()->positiveCountBox()->setModified(true);
    emit p.colourBar.dialog()->positiveCountBox()->editingFinished();
    EXPECT_EQ(m.view.AnzKlassenPos, 4);
    EXPECT_TRUE(p.colourBar.dialog()->problemLabel()->isHidden());
    w.renderNow();
    EXPECT_EQ(w.frameCount(), 2);  // the apply redrew the window

    // The bar is drawn at the right edge of the window's picture.
    w.renderNow();
    const ColourBarGeometry g = colourBarGeometry(m.width, m.height, 4, m.view.AnzKlassenNeg);
    bool barCell = false;
    for (const Primitive& item : m.display.items)
        if (const auto* r = std::get_if<FilledRect>(&item)) {
            barCell |= r->left == g.left && r->width == g.width;
        }

    EXPECT_TRUE(barCell);
    if (const char* dir = std::getenv("KALVORETH_CAPTURE_DIR")) {
        p.main.grab().save(QString::fromStdString(std::string(dir) + "/ColorBarProgram.png"));
    }

    w.closeWindow();
    QApplication::processEvents();
    EXPECT_FALSE(p.job.ColourBarShown);  // the last window took the dialog with it
}

// Arranging, maximising or dragging a border resized a graphics window to a black or clipped
// picture until the next command, and the fit put points under the colour bar. The window shows
// its cloud at the new size at once, every drawn point left of the bar's column.
TEST(ColorBarWindows, AResizedWindowRepaintsAtItsNewSizeWithTheBarClearOfTheCloud) {
    GraphicsProgram p;
    FormScreen& w = p.open();
    w.renderNow();
    auto* frame = qobject_cast<QMdiSubWindow*>(w.parentWidget());
    ASSERT_NE(frame, nullptr);
    const ScreenModel& m = w.model();
    auto expectCloudClearOfTheBar = [&](const char* when) {
        SCOPED_TRACE(when);
        // Grabbed at once, before any event passes: the picture must already be the new one.
        const QImage shown = w.surface()->grab().toImage();
        ASSERT_EQ(shown.size(), w.surface()->size());
        ASSERT_EQ(m.width, shown.width());
        ASSERT_EQ(m.height, shown.height());
        const int barColumn = shown.width() - colourBarColumnWidth(shown.width(), shown.height());
        const QRgb background = qtColour(m.backColour).rgb();
        int drawn = 0, shownRows = 0;
        for (std::int32_t row = 1; row <= m.cloud.count(); ++row) {
            if (m.cloud(row, cloud::Shown) != 1) continue;
            ++shownRows;
            const QPoint at = testing::pixelOf(w, row);
            EXPECT_TRUE(at.x() >= 0 && at.x() < barColumn && at.y() >= 0 && at.y() < shown.height())
                << m.cloud.name(row) << " at " << at.x() << "," << at.y() << ", bar column from "
                << barColumn;
            if (shown.rect().contains(at) && shown.pixel(at) != background) ++drawn;
        }
        EXPECT_GT(shownRows, 0);
        EXPECT_EQ(drawn, shownRows);  // the cloud is on the picture, not only in the arrays
        const ColourBarGeometry g =
            colourBarGeometry(shown.width(), shown.height(), m.view.AnzKlassenPos, m.view.AnzKlassenNeg);
        EXPECT_NE(shown.pixel(g.left + g.width / 2, g.bottom - 3), background) << "the bar is drawn";
    };
    expectCloudClearOfTheBar("opened");
    frame->resize(900, 360);  // wide and low
    expectCloudClearOfTheBar("wide");
    frame->resize(300, 640);  // narrow: the bar's column takes a larger share
    expectCloudClearOfTheBar("narrow");
    frame->showMaximized();
    expectCloudClearOfTheBar("maximised");
    frame->showNormal();
    expectCloudClearOfTheBar("restored");
    if (const char* dir = std::getenv("KALVORETH_CAPTURE_DIR")) {
        frame->resize(520, 380);
        p.main.grab().save(QString::fromStdString(std::string(dir) + "/closing-resized-graphics.png"));
    }
}

}  // namespace
}  // namespace kal
