#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "PickingFixture.h"
#include "view3d/ScreenNavigator.h"

namespace kal {
namespace {

constexpr double kPi = 3.14159265358979;
constexpr double kKeyTurn = 6.28318530717958 / 4 / 10;

// A navigator over a 400 × 400 surface, counting the undo-ring stores.
struct Harness {
    ScreenProperties view;
    test::PixelScene scene{{{50, 50}, {100, 100}, {300, 300}, {200, 120}}};
    int stores = 0;
    int colourDialogs = 0;
    std::vector<std::int32_t> flags;
    ScreenNavigator nav{view};

    Harness() {
        view.Massstab = 1;
        view.ViewAngles.resize(2, 3);
        view.ViewAngles(1, 1) = -kPi;
        nav.hooks().storeView = [this] { ++stores; };
        nav.hooks().chooseBackgroundColour = [this] { ++colourDialogs; };
        nav.hooks().createFlag = [this](std::int32_t row) { flags.push_back(row); };
        nav.setScene(&scene.cloud, &scene.arrays, 0);
        nav.setSurface(400, 400);
    }
    NavigationOutcome moveTo(float x, float y, int buttons = 0) { return nav.move({x, y, buttons, 0}); }
    NavigationOutcome clickAt(float x, float y, int button = mouse::Left) {
        moveTo(x, y);
        nav.press({x, y, button, 0});
        return nav.release({x, y, button, 0});
    }
    NavigationOutcome drag(float x0, float y0, float x1, float y1) {
        moveTo(x0, y0);
        nav.press({x0, y0, mouse::Left, 0});
        moveTo(x1, y1, mouse::Left);
        return nav.release({x1, y1, mouse::Left, 0});
    }
    NavigationOutcome key(int code, int modifiers = 0) { return nav.keyDown({code, modifiers, false}); }
    NavigationOutcome keyRelease(int code) { return nav.keyUp({code, 0, false}); }
    double angle(int k) const { return view.ViewAngles(1, k); }
};

TEST(ScreenNavigator, ShiftDragTwoByTenTurnsOnlyTheFirstAxis) {
    Harness h;
    h.key(16, modifier::Shift);
    h.moveTo(100, 100);
    h.nav.press({100, 100, mouse::Left, modifier::Shift});
    const auto moved = h.moveTo(102, 110, mouse::Left);
    EXPECT_TRUE(moved.redraw);
    EXPECT_NEAR(h.angle(1), -kPi + 0.08, 1e-9);
    EXPECT_NEAR(h.angle(2), 0, 1e-12);
    EXPECT_NEAR(h.angle(3), 0, 1e-12);
    const auto released = h.nav.release({102, 110, mouse::Left, modifier::Shift});
    EXPECT_EQ(released.stores, 1);
    EXPECT_EQ(h.view.Massstab, 1);  // no box zoom after a rotation
}

TEST(ScreenNavigator, RotationKeepsTheTripleNearerTheCurrentAngles) {
    Harness h;
    h.view.ViewAngles(1, 1) = 0.3;
    h.view.ViewAngles(1, 2) = 0.4;
    h.view.ViewAngles(1, 3) = -0.2;
    h.key(16, modifier::Shift);
    h.moveTo(100, 100);
    h.nav.press({100, 100, mouse::Left, modifier::Shift});
    h.moveTo(110, 100, mouse::Left);  // a small turn about the second axis
    EXPECT_NEAR(h.angle(1), 0.3, 0.1);
    EXPECT_NEAR(h.angle(2), 0.4, 0.1);
    EXPECT_NEAR(h.angle(3), -0.2, 0.1);
    EXPECT_GT(std::fabs(h.angle(2) - 0.4) + std::fabs(h.angle(1) - 0.3), 1e-3);
}

TEST(ScreenNavigator, DragKindIsFixedWhenTheButtonGoesDown) {
    Harness h;
    h.key(16, modifier::Shift);
    h.moveTo(100, 100);
    h.nav.press({100, 100, mouse::Left, modifier::Shift});
    h.keyRelease(16);  // Shift let go mid-drag
    h.moveTo(150, 160, mouse::Left);
    h.nav.release({150, 160, mouse::Left, 0});
    EXPECT_NE(h.angle(1), -kPi);    // still turned
    EXPECT_EQ(h.view.Massstab, 1);  // and no box zoom
}

TEST(ScreenNavigator, CtrlDragPansWithTheMouse) {
    Harness h;
    h.view.OffsetX = 5;
    h.view.OffsetY = 7;
    h.key(17, modifier::Ctrl);
    h.drag(100, 100, 130, 90);
    EXPECT_EQ(h.view.OffsetX, 35);
    EXPECT_EQ(h.view.OffsetY, 17);  // up the screen is up the offset
}

TEST(ScreenNavigator, RubberBandZoomTable) {
    struct Case {
        const char* what;
        float x0, y0, x1, y1;
        float expectedMassstab;
    };
    const std::vector<Case> cases = {
        {"100 x 50 box at Massstab 1", 100, 100, 200, 150, 4},
        {"dragged up and left", 200, 150, 100, 100, 4},
        {"9 x 9 zooms", 100, 100, 109, 109, 400.0f / 9},
        {"8 x 20 does not", 100, 100, 108, 120, 1},
        {"20 x 8 does not", 100, 100, 120, 108, 1},
        {"no horizontal movement does not", 100, 100, 100, 150, 1},
    };
    for (const auto& c : cases) {
        Harness h;
        const auto out = h.drag(c.x0, c.y0, c.x1, c.y1);
        EXPECT_FLOAT_EQ(h.view.Massstab, c.expectedMassstab) << c.what;
        EXPECT_EQ(out.stores, 1) << c.what;
        EXPECT_FALSE(h.nav.state.band.visible) << c.what;
        if (c.expectedMassstab != 1) {
            // The box centre lands on the surface centre.
            const double cx = (c.x0 + c.x1) / 2.0, cy = (c.y0 + c.y1) / 2.0;
            const double vx = cx, vy = 400 - cy;  // Massstab 1, offsets 0 before
            EXPECT_NEAR(h.view.Massstab * vx + h.view.OffsetX, 200, 1e-3) << c.what;
            EXPECT_NEAR(400 - (h.view.Massstab * vy + h.view.OffsetY), 200, 1e-3) << c.what;
            EXPECT_FALSE(out.picked.has_value()) << c.what << ": the click after a box zoom selects nothing";
        }
    }
}

TEST(ScreenNavigator, RubberBandIsShownOnlyTowardsRightAndDown) {
    Harness h;
    h.moveTo(100, 100);
    h.nav.press({100, 100, mouse::Left, 0});
    auto out = h.moveTo(140, 130, mouse::Left);
    EXPECT_TRUE(out.rubberBandChanged);
    EXPECT_EQ(h.nav.state.band, (RubberBand{true, 100, 100, 40, 30, storedColour(0, 0, 0)}));
    h.moveTo(90, 130, mouse::Left);
    EXPECT_FALSE(h.nav.state.band.visible);
}

TEST(ScreenNavigator, BandBorderIsWhiteOnBlack) {
    Harness h;
    h.nav.setBackground(storedColour(0, 0, 0));
    h.moveTo(10, 10);
    h.nav.press({10, 10, mouse::Left, 0});
    h.moveTo(40, 40, mouse::Left);
    EXPECT_EQ(h.nav.state.band.border, storedColour(255, 255, 255));
}

TEST(ScreenNavigator, PlaneKeysMoveDepthAndThickness) {
    Harness h;
    h.nav.PlaneNormal = {0, 0.5, 0, 0.8};
    h.view.BlackZ = 3;
    h.key(keycode::B);
    h.drag(200, 200, 190, 200);  // 10 px to the left
    EXPECT_EQ(h.view.BlackZ, 13);
    EXPECT_EQ(h.nav.PlaneNormal[2], 1);  // a zero element counts as 1
    EXPECT_EQ(h.view.Massstab, 1);
    h.keyRelease(keycode::B);

    h.nav.PlaneNormal = {0, -0.5, -0.5, 0};
    h.key(keycode::B);
    h.drag(200, 200, 190, 200);
    EXPECT_EQ(h.view.BlackZ, 3);
    h.keyRelease(keycode::B);

    h.view.BlackThick = 5;
    h.nav.PlaneNormal = {0, 1, 1, 0};
    h.key(keycode::T);
    h.drag(200, 200, 230, 200);  // would give −25
    EXPECT_EQ(h.view.BlackThick, 0);
}

TEST(ScreenNavigator, HeldKeyRepeatsDoNotEndTheMode) {
    Harness h;
    h.key(keycode::B);
    h.nav.keyUp({keycode::B, 0, true});
    EXPECT_TRUE(h.nav.state.BlackZKeyMode);
    h.keyRelease(keycode::B);
    EXPECT_FALSE(h.nav.state.BlackZKeyMode);
}

TEST(ScreenNavigator, NumpadPlusCapsAtThousandWithMatchingOffsets) {
    Harness h;
    h.view.Massstab = 800;
    h.view.OffsetX = 10;
    h.view.OffsetY = 20;
    h.moveTo(200, 100);
    const auto out = h.key(keycode::NumpadPlus);
    EXPECT_EQ(h.view.Massstab, 1000);
    EXPECT_FLOAT_EQ(h.view.OffsetX, static_cast<float>(200 - (200 - 10) * 1.25));
    EXPECT_FLOAT_EQ(h.view.OffsetY, static_cast<float>(300 - (300 - 20) * 1.25));
    EXPECT_TRUE(out.redraw);
    EXPECT_EQ(out.stores, 1);

    Harness small;
    small.view.Massstab = 7;
    small.moveTo(200, 200);
    small.key(keycode::NumpadPlus);
    EXPECT_FLOAT_EQ(small.view.Massstab, static_cast<float>(7 / 0.7));
}

TEST(ScreenNavigator, NumpadMinusZoomsOutAboutTheMouseUnlessShiftIsHeld) {
    Harness h;
    h.view.Massstab = 10;
    h.moveTo(100, 300);
    auto out = h.key(keycode::NumpadMinus);
    EXPECT_FLOAT_EQ(h.view.Massstab, 7);
    EXPECT_FLOAT_EQ(h.view.OffsetX, 100 - 100 * 0.7f);
    EXPECT_EQ(out.stores, 1);

    h.key(16, modifier::Shift);
    out = h.key(keycode::NumpadMinus, modifier::Shift);
    EXPECT_FLOAT_EQ(h.view.Massstab, 7);
    EXPECT_EQ(out.stores, 1);
    EXPECT_EQ(h.nav.state.MouseButton, mouse::Right);
}

TEST(ScreenNavigator, ArrowsPanOrTurnAndStore) {
    Harness h;
    h.nav.setSurface(800, 400);
    h.key(keycode::Left);
    EXPECT_EQ(h.view.OffsetX, -20);
    h.key(keycode::Right);
    EXPECT_EQ(h.view.OffsetX, 0);  // Left then Right restores
    h.key(keycode::Up);
    EXPECT_EQ(h.view.OffsetY, 10);
    h.key(keycode::Down);
    EXPECT_EQ(h.view.OffsetY, 0);
    EXPECT_EQ(h.stores, 4);

    h.key(16, modifier::Shift);
    h.key(keycode::Left, modifier::Shift);
    EXPECT_DOUBLE_EQ(h.angle(2), -kKeyTurn);
    EXPECT_EQ(h.view.OffsetX, 0);
    h.keyRelease(16);
    h.key(keycode::Left);
    EXPECT_DOUBLE_EQ(h.angle(2), -kKeyTurn);
    EXPECT_EQ(h.view.OffsetX, -20);
}

TEST(ScreenNavigator, RollKeysTurnTheThirdAngleOnlyWithShiftButAlwaysStore) {
    Harness h;
    auto out = h.key(keycode::R);
    EXPECT_EQ(h.angle(3), 0);
    EXPECT_EQ(out.stores, 1);
    EXPECT_FALSE(out.redraw);
    h.key(16, modifier::Shift);
    out = h.key(keycode::R, modifier::Shift);
    EXPECT_DOUBLE_EQ(h.angle(3), -kKeyTurn);
    EXPECT_TRUE(out.redraw);
    h.key(keycode::L, modifier::Shift);
    EXPECT_DOUBLE_EQ(h.angle(3), 0);
}

TEST(ScreenNavigator, PauseOnlyWhileAnalysing) {
    Harness h;
    int pauses = 0;
    h.nav.hooks().pauseKey = [&] { ++pauses; };
    EXPECT_EQ(h.key(keycode::Pause).stores, 0);
    h.nav.modes.AnalyseFlag = true;
    h.key(keycode::Pause);
    EXPECT_EQ(pauses, 1);
}

TEST(ScreenNavigator, ClickPicksTheNearestPointAndItsPartner) {
    Harness h;
    auto out = h.clickAt(298, 305);
    ASSERT_TRUE(out.picked.has_value());
    EXPECT_EQ(*out.picked, 3);
    EXPECT_EQ(out.stores, 1);  // every release outside flag mode stores
    h.nav.setScene(&h.scene.cloud, &h.scene.arrays, 2);
    out = h.clickAt(301, 301);
    EXPECT_EQ(*out.picked, 1);  // row 3 is the OCS copy of row 1
}

TEST(ScreenNavigator, RightPressZoomsOutAboutTheMouseAndItsClickDoesNothing) {
    Harness h;
    h.view.Massstab = 2;
    auto out = h.clickAt(100, 100, mouse::Right);
    EXPECT_FLOAT_EQ(h.view.Massstab, 1.4f);
    EXPECT_FLOAT_EQ(h.view.OffsetX, 100 - 100 * 0.7f);
    EXPECT_FLOAT_EQ(h.view.OffsetY, 300 - 300 * 0.7f);
    EXPECT_FALSE(out.picked.has_value());
}

TEST(ScreenNavigator, FlagModeClickCreatesAFlagAndDoesNotStore) {
    Harness h;
    h.nav.modes.Faehnchenmode = true;
    h.moveTo(101, 99);
    h.nav.press({101, 99, mouse::Left, 0});
    const auto out = h.nav.release({101, 99, mouse::Left, 0});
    EXPECT_EQ(h.flags, std::vector<std::int32_t>{2});
    EXPECT_EQ(out.stores, 0);
}

TEST(ScreenNavigator, SetLineClicksChainAndADoubleClickEndsTheChain) {
    Harness h;
    h.nav.modes.LineMode = h.nav.modes.SetLine = true;
    h.clickAt(50, 50);    // A
    h.clickAt(100, 100);  // B
    h.clickAt(300, 300);  // C, the first half of the double click
    // The double click's second half: double-click press, then a release that is MouseUp only.
    h.nav.doubleClickPress({300, 300, mouse::Left, 0});
    h.nav.release({300, 300, mouse::Left, 0});
    EXPECT_EQ(h.view.LineStartPoint, 0);
    h.clickAt(200, 120);             // D starts a new chain
    EXPECT_EQ(h.view.LineCount, 2);  // A–B, B–C, and no C–D
    EXPECT_EQ(h.view.Lines(1, 2), 2);
    EXPECT_EQ(h.view.Lines(2, 2), 3);
    EXPECT_EQ(h.view.LineStartPoint, 4);
    EXPECT_EQ(h.colourDialogs, 0);  // no colour dialog in line mode
}

TEST(ScreenNavigator, DeleteLineHoverMarksAndClickRemoves) {
    Harness h;
    h.nav.modes.LineMode = h.nav.modes.SetLine = true;
    h.clickAt(50, 50);
    h.clickAt(100, 100);
    h.clickAt(300, 300);
    h.nav.modes.SetLine = false;
    h.nav.modes.DeleteLine = true;
    h.moveTo(200, 205);  // near segment 2 (B–C); the hover finds row 4
    EXPECT_EQ(h.nav.state.SelectedLine, 2);
    h.nav.press({200, 205, mouse::Left, 0});
    const auto out = h.nav.release({200, 205, mouse::Left, 0});
    EXPECT_TRUE(out.redraw);
    EXPECT_EQ(h.view.LineCount, 1);
    EXPECT_EQ(h.nav.state.SelectedLine, 1);
}

TEST(ScreenNavigator, DoubleClickOutsideLineModeOpensTheColourDialogAndStores) {
    Harness h;
    h.moveTo(10, 10);
    h.nav.press({10, 10, mouse::Left, 0});
    h.nav.release({10, 10, mouse::Left, 0});
    const auto out = h.nav.doubleClickPress({10, 10, mouse::Left, 0});
    EXPECT_EQ(h.colourDialogs, 1);
    EXPECT_EQ(out.stores, 1);
}

TEST(ScreenNavigator, HoverReportsThePointAndTheAxisToolTip) {
    Harness h;
    auto out = h.moveTo(49, 52);
    EXPECT_TRUE(out.hoverSearched);
    EXPECT_EQ(out.hoveredRow, 1);
    h.scene.hide(1);
    h.nav.pixelsChanged();
    out = h.moveTo(50, 300);
    EXPECT_EQ(out.hoveredRow, 0);  // nothing within 173 px while row 1 is hidden
    ASSERT_TRUE(out.toolTip.has_value());
    EXPECT_EQ(*out.toolTip, kAxisToolTip);
    out = h.moveTo(50, 290);
    EXPECT_FALSE(out.toolTip.has_value());  // unchanged
    out = h.moveTo(150, 150);
    EXPECT_EQ(*out.toolTip, "");
}

TEST(ScreenNavigator, HoverPanelTexts) {
    test::PixelScene scene({{0, 0}});
    scene.cloud.name(1) = "A7";
    scene.cloud(1, cloud::X) = 1.5f;
    scene.cloud(1, cloud::DeviationZ) = -0.25f;
    const auto panels = hoverPanelTexts(scene.cloud, 1, 1.0, "0.000");
    EXPECT_EQ(panels[0], "Pnt.ID: A7");
    EXPECT_EQ(panels[1], "x: 1.500");
    EXPECT_EQ(panels[6], "dz: -0.250");
    EXPECT_EQ(panels[7], "index 1");
    const auto none = hoverPanelTexts(scene.cloud, 0, 1.0, "0.000");
    EXPECT_EQ(none[0], "no Pt Id.");
    EXPECT_EQ(none[1], "");
}

TEST(ScreenNavigator, WheelForwardZoomsInAboutTheMouseBackwardOutAboutTheCentre) {
    Harness h;
    h.view.Massstab = 2;
    h.view.OffsetX = 30;
    h.view.OffsetY = 40;
    h.moveTo(120, 80);
    const double worldX = (120 - 30) / 2.0, worldY = (400 - 80 - 40) / 2.0;
    auto out = h.nav.wheel(240);  // one step, however large
    EXPECT_FLOAT_EQ(h.view.Massstab, static_cast<float>(2 / 0.7));
    EXPECT_NEAR(h.view.Massstab * worldX + h.view.OffsetX, 120, 1e-3);
    EXPECT_NEAR(400 - (h.view.Massstab * worldY + h.view.OffsetY), 80, 1e-3);
    EXPECT_EQ(out.stores, 1);
    EXPECT_TRUE(out.redraw);

    const float before = h.view.Massstab;
    const double centreX = (200 - h.view.OffsetX) / before, centreY = (200 - h.view.OffsetY) / before;
    out = h.nav.wheel(-120);
    EXPECT_FLOAT_EQ(h.view.Massstab, before * 0.7f);
    EXPECT_NEAR(h.view.Massstab * centreX + h.view.OffsetX, 200, 1e-3);
    EXPECT_NEAR(h.view.Massstab * centreY + h.view.OffsetY, 200, 1e-3);
}

TEST(ScreenNavigator, SmallWheelDeltasAddUpToOneStep) {
    Harness h;
    EXPECT_EQ(h.nav.wheel(60).stores, 0);
    EXPECT_EQ(h.view.Massstab, 1);
    EXPECT_EQ(h.nav.wheel(60).stores, 1);
    EXPECT_FLOAT_EQ(h.view.Massstab, static_cast<float>(1 / 0.7));
    h.nav.wheel(60);
    EXPECT_EQ(h.nav.wheel(-60).stores, 0);  // a change of direction starts again
    EXPECT_EQ(h.stores, 1);
}

}  // namespace
}  // namespace kal
