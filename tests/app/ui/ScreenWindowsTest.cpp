#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QGuiApplication>
#include <QMdiArea>
#include <QPushButton>
#include <QTimer>
#include <cmath>

#include "app/ScreenWindows.h"
#include "platform/Regional.h"
#include "shell/ui/FormMain.h"
#include "support/FakePlatform.h"
#include "support/SampleJobs.h"
#include "support/ui/GraphicsProgram.h"
#include "view3d/ui/FormBlackPlane.h"

namespace kal {
namespace {

// The main window with the demo job loaded and the graphics windows wired as the program wires
// them; stores into the undo ring are counted per window.
struct Program : testing::GraphicsProgram {
    std::map<FormScreen*, int> stores;

    Program() {
        renderOnOpen = false;
        screens.setStoreView([this](FormScreen& w) { ++stores[&w]; });
        show();
    }
    static QMdiSubWindow* frame(FormScreen& w) { return qobject_cast<QMdiSubWindow*>(w.parentWidget()); }
};

// Navigation, the colour bar and whatever else attaches to a new window each hear of it; one that
// goes away stops hearing.
TEST(ScreenWindows, EveryOpenedListenerHearsOfANewWindow) {
    Program p;
    std::vector<std::string> heard;
    const int first = p.screens.addWindowOpened([&](FormScreen&) { heard.push_back("navigation"); });
    p.screens.addWindowOpened([&](FormScreen&) { heard.push_back("colour bar"); });
    p.open();
    EXPECT_EQ(heard, (std::vector<std::string>{"navigation", "colour bar"}));
    p.screens.removeWindowOpened(first);
    p.open();
    EXPECT_EQ(heard, (std::vector<std::string>{"navigation", "colour bar", "colour bar"}));
}

TEST(ScreenWindows, GraphicsCommandsWaitForAWindowAndTheGraphicsEntryOpensOne) {
    Program p;
    EXPECT_TRUE(p.main.action(Command::GraphicsWindow)->isEnabled());
    EXPECT_TRUE(p.main.action(Command::GraphicsButton)->isEnabled());
    EXPECT_FALSE(p.main.action(Command::ZoomIn)->isEnabled());
    EXPECT_FALSE(p.main.action(Command::TopView)->isEnabled());
    p.screens.zoomIn();  // no window: nothing to act on, nothing fails
    EXPECT_EQ(p.screens.defaultWindow(), nullptr);

    FormScreen& w = p.open();
    EXPECT_TRUE(p.main.action(Command::GraphicsWindow)->isChecked());
    EXPECT_TRUE(p.main.action(Command::ZoomIn)->isEnabled());
    EXPECT_TRUE(p.main.action(Command::TopView)->isEnabled());
    EXPECT_EQ(p.screens.defaultWindow(), &w);
    EXPECT_EQ(p.main.graphicsWindows().windowCount(), 1);
    EXPECT_TRUE(p.stores.empty());  // the load stores no view

    p.main.toolButton(Command::GraphicsButton)->click();  // the toolbar's "Graphics" opens another
    QApplication::processEvents();
    EXPECT_EQ(p.screens.windows().size(), 2u);

    for (FormScreen* s : p.screens.windows()) s->closeWindow();
    QApplication::processEvents();
    EXPECT_EQ(p.main.graphicsWindows().windowCount(), 0);
    EXPECT_FALSE(p.main.action(Command::GraphicsWindow)->isChecked());
    EXPECT_FALSE(p.main.action(Command::ZoomIn)->isEnabled());
}

TEST(ScreenWindows, TheSecondWindowIsTheDefaultUntilTheFirstIsActivated) {
    Program p;
    FormScreen& first = p.open();
    FormScreen& second = p.open();
    EXPECT_EQ(Program::frame(first)->windowTitle(), "Screen");
    EXPECT_EQ(Program::frame(second)->windowTitle(), "Screen - DEFAULT");
    EXPECT_EQ(p.screens.defaultWindow(), &second);

    p.main.mdiArea()->setActiveSubWindow(Program::frame(first));
    QApplication::processEvents();
    EXPECT_EQ(Program::frame(first)->windowTitle(), "Screen - DEFAULT");
    EXPECT_EQ(Program::frame(second)->windowTitle(), "Screen");
    EXPECT_EQ(p.screens.defaultWindow(), &first);
    EXPECT_TRUE(p.screens.session().ScreenWindowActive);
}

TEST(ScreenWindows, TwoWindowsKeepTheirOwnProjections) {
    Program p;
    FormScreen& first = p.open();
    FormScreen& second = p.open();
    first.renderNow();
    second.renderNow();
    const ScreenModel before = first.model();
    ASSERT_GT(before.cloud.count(), 0);

    p.run(Command::ZoomIn);  // the default window, the second
    p.run(Command::SideView);
    second.renderNow();
    first.redraw();
    first.renderNow();  // redrawing the first after the second keeps the first's own view
    EXPECT_EQ(first.model().view.Massstab, before.view.Massstab);
    EXPECT_EQ(first.model().view.ViewAngles, before.view.ViewAngles);
    EXPECT_EQ(first.model().arrays.PixelX, before.arrays.PixelX);
    EXPECT_EQ(first.model().arrays.PixelY, before.arrays.PixelY);
    EXPECT_NE(second.model().view.Massstab, before.view.Massstab);
    EXPECT_NE(second.model().arrays.PixelY, before.arrays.PixelY);
    EXPECT_EQ(p.stores[&second], 2);
    EXPECT_EQ(p.stores[&first], 0);
}

TEST(ScreenWindows, TheDemoJobIsDrawnWhereTheProjectionPutsItsPoints) {
    Program p;
    FormScreen& w = p.open();
    w.renderNow();
    const ScreenModel& m = w.model();
    EXPECT_GT(m.view.Massstab, 0);
    EXPECT_GT(m.view.ADis, 0);
    int squares = 0, checked = 0;
    for (const Primitive& item : m.display.items)
        if (const auto* s = std::get_if<PixelSquare>(&item)) {
            ++squares;
            if (s->x >= 0 && s->y >= 0 && s->x < w.backBuffer().width() && s->y < w.backBuffer().height() &&
                checked < 3) {
                ++checked;
                // The last square drawn on that pixel wins; the first ones of the cloud sit apart.
                EXPECT_NE(
                    ImageBuffer::fromPixel(static_cast<std::uint32_t>(w.backBuffer().pixel(s->x, s->y))),
                    m.display.background);
            }
        }
    EXPECT_GE(squares, m.cloud.count() / 2);
    EXPECT_GT(checked, 0);
}

TEST(ScreenWindows, AWindowOpensOnAnEmptyOrAFlatCloudWithAUsableView) {
    for (const bool flat : {false, true}) {
        Program p;
        p.job = flat ? testing::makePointJob(3) : JobState{};
        p.job.DataLoaded = true;
        if (flat)
            for (std::int32_t i = 1; i <= 3; ++i) {
                p.job.MCS_X.set(i, 5), p.job.MCS_Y.set(i, 5), p.job.MCS_Z.at(i) = 5;
                p.job.MCSt_X.set(i, 5), p.job.MCSt_Y.set(i, 5), p.job.MCSt_Z.at(i) = 5;
                p.job.OCS_X.set(i, 5), p.job.OCS_Y.set(i, 5), p.job.OCS_Z.at(i) = 5;
            }
        p.main.refreshControls();
        FormScreen& w = p.open();
        w.renderNow();
        const ScreenProperties& v = w.model().view;
        EXPECT_TRUE(std::isfinite(v.Massstab) && v.Massstab > 0) << flat;
        EXPECT_TRUE(std::isfinite(v.OffsetX) && std::isfinite(v.OffsetY)) << flat;
        EXPECT_GE(v.ADis, 0) << flat;
        EXPECT_TRUE(std::isfinite(v.Vec_Massstab) && v.Vec_Massstab > 0) << flat;
        EXPECT_TRUE(p.prompter.texts().empty()) << flat;
        EXPECT_EQ(w.frameCount(), 1);
    }
}

TEST(ScreenWindows, PointSizeCommandsStoreOnlyWhenTheSizeChanges) {
    Program p;
    FormScreen& w = p.open();
    p.run(Command::SmallPoints);
    EXPECT_EQ(w.model().view.BigNess, 1);
    EXPECT_EQ(p.stores[&w], 1);
    p.run(Command::PointsSmaller);  // at 1: nothing, no store
    EXPECT_EQ(w.model().view.BigNess, 1);
    EXPECT_EQ(p.stores[&w], 1);
    p.run(Command::PointsBigger);
    p.run(Command::PointsSmaller);
    EXPECT_EQ(w.model().view.BigNess, 1);
    EXPECT_EQ(p.stores[&w], 3);
}

TEST(ScreenWindows, MoreAtEightMillionShowsTheMessageAndStoresNothing) {
    Program p;
    FormScreen& w = p.open();
    w.model().view.Vec_Massstab = 8e6f;
    p.main.action(Command::AnalyseMore)->setEnabled(true);  // as analyse mode enables it
    p.run(Command::AnalyseMore);
    EXPECT_EQ(p.prompter.texts(), std::vector<std::string>{"Vectors can not be made longer"});
    EXPECT_NEAR(w.model().view.Vec_Massstab, 8e6f, 1.0f);
    EXPECT_EQ(p.stores[&w], 0);
}

TEST(ScreenWindows, ManyCommandsInOnePassPaintOneFrame) {
    Program p;
    FormScreen& w = p.open();
    const int frames = w.frameCount();
    for (int i = 0; i < 10; ++i) p.main.action(Command::PointsBigger)->trigger();
    p.main.action(Command::ZoomIn)->trigger();
    p.main.action(Command::TopView)->trigger();
    QApplication::processEvents();
    EXPECT_EQ(w.frameCount(), frames + 1);
    EXPECT_EQ(p.stores[&w], 12);
}

TEST(ScreenWindows, PrintPutsTheClientAreaLessFivePixelsOnTheClipboard) {
    Program p;
    FormScreen& w = p.open();
    w.setBackColour(storedColour(0, 0, 0));
    QGuiApplication::clipboard()->setText("before");
    p.run(Command::PrintGraphicsToClipboard);
    const QImage picture = QGuiApplication::clipboard()->image();
    ASSERT_FALSE(picture.isNull());
    EXPECT_EQ(picture.size(), QSize(w.width() - 5, w.height() - 5));
    EXPECT_TRUE(QGuiApplication::clipboard()->text().isEmpty()) << "the picture replaces the clipboard";
    EXPECT_EQ(w.model().backColour, storedColour(0, 0, 0));
    EXPECT_TRUE(w.statusBar()->isVisible());
}

TEST(ScreenWindows, ModeCommandsFollowTheWindowAndTheMenusFollowTheModes) {
    Program p;
    FormScreen& w = p.open();
    p.run(Command::VectorMode);
    EXPECT_TRUE(w.model().view.VectorMode);
    EXPECT_TRUE(p.main.action(Command::VectorMode)->isChecked());
    EXPECT_TRUE(p.main.action(Command::VectorsLonger)->isEnabled());
    p.run(Command::FlagMode);
    EXPECT_TRUE(w.model().view.Faehnchenmode);
    EXPECT_TRUE(p.main.action(Command::FlagMode)->isChecked());
    p.run(Command::FlagMode);
    EXPECT_FALSE(w.model().view.Faehnchenmode);
    EXPECT_FALSE(p.main.action(Command::FlagMode)->isChecked());
    p.run(Command::LineMode);
    EXPECT_TRUE(w.model().view.LineMode);
    p.run(Command::SetLines);
    EXPECT_TRUE(w.model().SetLine);
    p.run(Command::DeleteLines);
    EXPECT_TRUE(w.model().DeleteLine);
    EXPECT_FALSE(w.model().SetLine);
    p.run(Command::LineMode);  // line mode off clears both sub-states
    EXPECT_FALSE(w.model().view.LineMode);
    EXPECT_FALSE(w.model().DeleteLine);
    p.run(Command::RotateAbout);
    EXPECT_TRUE(w.model().origin.RecentreFlag);
    p.run(Command::RotateAbout);
    EXPECT_FALSE(w.model().origin.RecentreFlag);
}

TEST(ScreenWindows, ClosingAWindowClearsEveryOriginShift) {
    Program p;
    FormScreen& first = p.open();
    FormScreen& second = p.open();
    first.model().origin.OriginShiftX = 5;
    second.model().origin.OriginShiftY = 7;
    second.closeWindow();
    QApplication::processEvents();
    ASSERT_EQ(p.screens.windows().size(), 1u);
    EXPECT_EQ(first.model().origin.OriginShiftX, 0);
    EXPECT_EQ(p.screens.defaultWindow(), &first);  // found anew: the first loaded
}

TEST(ScreenWindows, TheBlackPlaneDialogHidesPointsOfTheDefaultWindow) {
    Program p;
    FormScreen& w = p.open();
    w.renderNow();
    bool shown = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<FormBlackPlane*>(QApplication::activeModalWidget());
        if (!dialog) return;
        shown = true;
        dialog->activateBox()->click();
        dialog->initialiseButton()->click();
        dialog->okButton()->click();
    });
    p.run(Command::HidingPlane);
    ASSERT_TRUE(shown);
    EXPECT_TRUE(w.model().view.BlackPlane);
    EXPECT_TRUE(w.model().view.BlackInitial);
    EXPECT_EQ(w.model().view.BlackThick, 100);
    w.renderNow();
    int visible = 0;
    for (std::int32_t r = 1; r <= w.model().cloud.count(); ++r)
        visible += w.model().cloud(r, cloud::Visible) != 0;
    EXPECT_LT(visible, w.model().cloud.count());  // a slice 100 deep of a cell a metre deep
    EXPECT_GE(p.stores[&w], 1);
}

}  // namespace
}  // namespace kal
