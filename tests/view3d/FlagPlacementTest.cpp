#include <gtest/gtest.h>

#include "PickingFixture.h"
#include "view3d/FlagPlacement.h"

namespace kal {
namespace {

TEST(FlagPlacement, NewFlagCornerTable) {
    struct Case {
        const char* what;
        NewFlagPlacement in;
        FlagCorner expected;
    };
    // Surface 400 × 300; new flag 80 × 40; current flag 60 × 30.
    auto base = [](float mx, float my, float px, float py) {
        NewFlagPlacement in;
        in.MouseX = mx, in.MouseY = my, in.pointX = px, in.pointY = py;
        in.currentWidth = 60, in.currentHeight = 30, in.width = 80, in.height = 40;
        in.surfaceWidth = 400, in.surfaceHeight = 300;
        return in;
    };
    NewFlagPlacement snapped = base(117, 93, 100, 80);
    snapped.snap = true;
    snapped.GridLength = 25;
    NewFlagPlacement noGrid = snapped;
    noGrid.GridLength = 0;
    NewFlagPlacement border = base(50, 60, 100, 100);
    border.placeAtMouse = true;
    const std::vector<Case> cases = {
        {"right of and below the point: corner at the mouse", base(120, 90, 100, 80), {120, 90}},
        {"left of and above: shifted by the current flag", base(90, 70, 100, 80), {30, 40}},
        {"shift below zero: 0", base(20, 10, 100, 80), {0, 0}},
        {"off the right and bottom: margins 10 and 20", base(350, 280, 100, 80), {310, 240}},
        {"snapped down to the grid", snapped, {100, 75}},
        {"grid 0 never snaps", noGrid, {117, 93}},
        {"border options: at the mouse", border, {50, 60}},
        {"halves to even", base(120.5f, 90.5f, 100, 80), {120, 90}},
    };
    for (const auto& c : cases) EXPECT_EQ(placeNewFlag(c.in), c.expected) << c.what;
}

TEST(FlagPlacement, DropCornerTable) {
    EXPECT_EQ(dropFlag(100, 80, 10, 5, false, 0), (FlagCorner{90, 75}));
    EXPECT_EQ(dropFlag(5, 3, 10, 5, false, 0), (FlagCorner{0, 0}));  // dropped above or left → 0
    EXPECT_EQ(dropFlag(100, 80, 10, 5, true, 20), (FlagCorner{80, 60}));
    EXPECT_EQ(dropFlag(109, 84, 10, 5, true, 20), (FlagCorner{100, 80}));  // (v + 1) reaches the next line
    EXPECT_EQ(dropFlag(100, 80, 10, 5, true, 0), (FlagCorner{90, 75}));    // grid 0: no snap
}

TEST(FlagPlacement, FirstFlagOfAnEmptyDefaultShowsTheTenFields) {
    ScreenProperties view, defaults;
    view.FahneProps.resize(1);
    view.FahneProps[0].Name = "Arial";
    EXPECT_EQ(addFlagLayout(view, defaults), 1);
    EXPECT_EQ(view.FahneAnzahl, 1);
    ASSERT_EQ(view.FahneProps.size(), 2u);
    const FahneRecord& r = view.FahneProps[1];
    EXPECT_TRUE(r.ShowActual && r.ShowNominal && r.showX && r.showY && r.showZ && r.ShowDev && r.ShowTolCol &&
                r.ShowLegendeXYZ && r.ShowLegendeName && r.ShowGrid);
    EXPECT_FALSE(r.ShowPointNumber || r.show3D || r.SnaptoGrid);
    EXPECT_EQ(r.Name, "Arial");  // the template's other fields
}

TEST(FlagPlacement, NewLayoutFollowsTheDefaultOrTheCurrentFlag) {
    ScreenProperties view, defaults;
    defaults.FahneAnzahl = 2;
    defaults.FahneProps.resize(3);
    defaults.FahneProps[2].show3D = true;
    view.FahneProps.resize(1);
    EXPECT_EQ(addFlagLayout(view, defaults), 1);
    EXPECT_TRUE(view.FahneProps[1].show3D);
    EXPECT_FALSE(view.FahneProps[1].ShowGrid);

    view.FahneProps[1].showPhi = true;
    view.CurrentFahne = 1;
    EXPECT_EQ(addFlagLayout(view, defaults), 2);
    EXPECT_TRUE(view.FahneProps[2].showPhi);
    EXPECT_EQ(view.CurrentFahne, 1);

    view.CurrentFahne = 9;  // names no flag: as none
    addFlagLayout(view, defaults);
    EXPECT_FALSE(view.FahneProps[3].showPhi);
    EXPECT_TRUE(view.FahneProps[3].show3D);
}

TEST(FlagPlacement, PreconditionsAndFlagRows) {
    test::PixelScene scene({{0, 0}, {1, 1}, {2, 2}});
    ScreenProperties view;
    view.FlagOfPoint.set(2, 4);
    EXPECT_TRUE(canCreateFlag(view, scene.cloud, 1, true));
    EXPECT_FALSE(canCreateFlag(view, scene.cloud, 1, false));  // outside the surface
    EXPECT_FALSE(canCreateFlag(view, scene.cloud, 2, true));   // already flagged
    scene.hide(3);
    EXPECT_FALSE(canCreateFlag(view, scene.cloud, 3, true));
    EXPECT_FALSE(canCreateFlag(view, scene.cloud, 0, true));
    EXPECT_EQ(rowOfFlag(view, 4, 3), 2);
    EXPECT_EQ(rowOfFlag(view, 5, 3), 0);  // no row carries it: the search ends
    EXPECT_EQ(rowOfFlag(view, 4, 1), 0);
}

}  // namespace
}  // namespace kal
