#include <gtest/gtest.h>

#include "support/FakePlatform.h"
#include "view3d/GraphicsCommands.h"

namespace kal {
namespace {

struct Commands {
    ScreenModel screen;
    testing::FakePrompter prompter;
    int redraws = 0, stores = 0, refreshes = 0;
    ScreenActions actions;
    std::function<void()> refresh = [this] { ++refreshes; };
    Commands() {
        screen.view.BigNess = 2;
        screen.view.Vec_Massstab = 400;
        actions.redraw = [this] { ++redraws; };
        actions.storeView = [this] { ++stores; };
        actions.prompter = &prompter;
    }
};

TEST(PointSizeCommands, SmallerAtOneChangesAndStoresNothing) {
    Commands c;
    c.screen.view.BigNess = 1;
    EXPECT_FALSE(pointsSmaller(c.screen, c.actions));
    EXPECT_EQ(c.screen.view.BigNess, 1);
    EXPECT_EQ(c.stores, 0);
    EXPECT_EQ(c.redraws, 0);
}

TEST(PointSizeCommands, BiggerThenSmallerReturnsTheSizeWithTwoStores) {
    Commands c;
    pointsBigger(c.screen, c.actions);
    EXPECT_EQ(c.screen.view.BigNess, 3);
    EXPECT_TRUE(pointsSmaller(c.screen, c.actions));
    EXPECT_EQ(c.screen.view.BigNess, 2);
    EXPECT_EQ(c.stores, 2);
    smallPoints(c.screen, c.actions);
    EXPECT_EQ(c.screen.view.BigNess, 1);
    EXPECT_EQ(c.stores, 3);
}

TEST(PointSizeCommands, BiggerNeverWrapsTheSixteenBitSize) {
    Commands c;
    c.screen.view.BigNess = 32767;
    pointsBigger(c.screen, c.actions);
    EXPECT_EQ(c.screen.view.BigNess, 32767);
}

TEST(VectorCommands, MoreAt8e6ShowsTheMessageKeepsTheScaleAndStoresNothing) {
    Commands c;
    c.screen.view.Vec_Massstab = 8e6f;
    EXPECT_FALSE(analyseMore(c.screen, c.actions));
    EXPECT_EQ(c.prompter.texts(), std::vector<std::string>{"Vectors can not be made longer"});
    EXPECT_NEAR(c.screen.view.Vec_Massstab, 8e6f, 1.0f);
    EXPECT_EQ(c.stores, 0);
    EXPECT_EQ(c.redraws, 1);
    EXPECT_TRUE(analyseLess(c.screen, c.actions));
    EXPECT_NEAR(c.screen.view.Vec_Massstab, 8e6f / 1.5f, 1.0f);
    EXPECT_EQ(c.stores, 0);
}

TEST(VectorCommands, LongerAndShorterStoreOnceAndRedrawAgain) {
    Commands c;
    GraphicsSession active;
    active.ScreenWindowActive = true;
    vectorsLongerCommand(c.screen, active, c.actions);
    EXPECT_FLOAT_EQ(c.screen.view.Vec_Massstab, 600);
    EXPECT_EQ(c.stores, 1);
    EXPECT_EQ(c.redraws, 2);
    vectorsShorterCommand(c.screen, GraphicsSession{}, c.actions);
    EXPECT_FLOAT_EQ(c.screen.view.Vec_Massstab, 400);
    EXPECT_EQ(c.stores, 2);
    EXPECT_EQ(c.redraws, 3);  // the window's own redraw waits for an active window
}

TEST(VectorCommands, VectorModeFlipsRefreshesRedrawsAndStores) {
    Commands c;
    toggleVectorMode(c.screen, c.actions, c.refresh);
    EXPECT_TRUE(c.screen.view.VectorMode);
    toggleVectorMode(c.screen, c.actions, c.refresh);
    EXPECT_FALSE(c.screen.view.VectorMode);
    EXPECT_EQ(c.refreshes, 2);
    EXPECT_EQ(c.redraws, 2);
    EXPECT_EQ(c.stores, 2);
}

TEST(ModeCommands, EachModeFollowsItsCheckMark) {
    Commands c;
    EXPECT_EQ(toggleFlagMode(c.screen, false).pointerToDefault, false);
    EXPECT_TRUE(c.screen.view.Faehnchenmode);
    EXPECT_TRUE(toggleFlagMode(c.screen, true).pointerToDefault);
    EXPECT_FALSE(c.screen.view.Faehnchenmode);

    EXPECT_TRUE(toggleLineMode(c.screen, false).redraw);
    EXPECT_TRUE(c.screen.view.LineMode);

    c.screen.DeleteLine = true;
    toggleSetLine(c.screen, false);  // set-line on turns delete-line off
    EXPECT_TRUE(c.screen.SetLine);
    EXPECT_FALSE(c.screen.DeleteLine);
    toggleDeleteLine(c.screen, false);  // and the other way round
    EXPECT_TRUE(c.screen.DeleteLine);
    EXPECT_FALSE(c.screen.SetLine);
    const ModeToggle off = toggleDeleteLine(c.screen, true);
    EXPECT_FALSE(c.screen.DeleteLine);
    EXPECT_TRUE(off.pointerToDefault);
    const ModeToggle setOff = (toggleSetLine(c.screen, false), toggleSetLine(c.screen, true));
    EXPECT_TRUE(setOff.pointerToDefault);
    EXPECT_TRUE(setOff.redraw);
}

}  // namespace
}  // namespace kal
