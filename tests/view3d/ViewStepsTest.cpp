#include <gtest/gtest.h>

#include <cmath>

#include "support/FakePlatform.h"
#include "view3d/ViewProjection.h"
#include "view3d/ViewSteps.h"

namespace kal {
namespace {

// A window of 800 × 600 with counters for what the steps call back.
struct Steps {
    ScreenModel screen;
    GraphicsSession session;
    testing::FakePrompter prompter;
    int projects = 0, redraws = 0, stores = 0;
    ScreenActions actions;

    Steps() {
        screen.width = 800;
        screen.height = 600;
        screen.view.Massstab = 2;
        screen.view.OffsetX = 30;
        screen.view.OffsetY = -20;
        screen.view.Vec_Massstab = 400;
        ensureViewAngles(screen.view);
        actions.project = [this] { ++projects; };
        actions.redraw = [this] { ++redraws; };
        actions.storeView = [this] { ++stores; };
        actions.prompter = &prompter;
    }
    ViewProjection projection() const {
        return {0.3,          -0.2, 0.1, screen.view.Massstab, screen.view.OffsetX, screen.view.OffsetY,
                screen.height};
    }
};

TEST(ZoomSteps, ZoomInThenZoomOutAboutTheCentreRestoresZoomAndOffsets) {
    struct Case {
        float massstab, offsetX, offsetY;
    };
    for (const Case c :
         {Case{1, 0, 0}, Case{2, 30, -20}, Case{0.0125f, 412.5f, 97.25f}, Case{850, -1e5f, 3e4f}}) {
        Steps s;
        s.screen.view.Massstab = c.massstab, s.screen.view.OffsetX = c.offsetX,
        s.screen.view.OffsetY = c.offsetY;
        zoomIn(s.screen, s.session, s.actions);
        EXPECT_NEAR(s.screen.view.Massstab, c.massstab / 0.7, c.massstab * 1e-6);
        zoomOut(s.screen, s.actions);
        EXPECT_NEAR(s.screen.view.Massstab, c.massstab, c.massstab * 1e-6);
        const float tolerance = 1e-5f * (std::abs(c.offsetX) + std::abs(c.offsetY) + 400);
        EXPECT_NEAR(s.screen.view.OffsetX, c.offsetX, tolerance);
        EXPECT_NEAR(s.screen.view.OffsetY, c.offsetY, tolerance);
        EXPECT_EQ(s.redraws, 2);
        EXPECT_EQ(s.stores, 2);  // each step is one undo entry
    }
}

TEST(ZoomSteps, TheWorldPointUnderTheZoomPixelStaysInPlace) {
    Steps s;
    const ViewPoint before = s.projection().pixelToWorld(400, 300, 0);
    zoomOut(s.screen, s.actions);  // about the centre (400, 300)
    const ViewPoint centre = s.projection().worldToPixel(before.x, before.y, before.z);
    EXPECT_NEAR(centre.x, 400, 1e-3);
    EXPECT_NEAR(centre.y, 300, 1e-3);

    s.session.ZoomAtMouse = true;
    s.screen.MouseX = 120, s.screen.MouseY = 75;
    const ViewPoint underMouse = s.projection().pixelToWorld(120, 75, 0);
    zoomIn(s.screen, s.session, s.actions);
    const ViewPoint after = s.projection().worldToPixel(underMouse.x, underMouse.y, underMouse.z);
    EXPECT_NEAR(after.x, 120, 1e-3);
    EXPECT_NEAR(after.y, 75, 1e-3);
}

TEST(ZoomSteps, ZoomAtMouseIsClearedOnlyByZoomIn) {
    Steps s;
    s.session.ZoomAtMouse = true;
    s.screen.MouseX = 10, s.screen.MouseY = 10;
    zoomOut(s.screen, s.actions);
    EXPECT_TRUE(s.session.ZoomAtMouse);  // zoom-out neither reads nor clears it
    zoomIn(s.screen, s.session, s.actions);
    EXPECT_FALSE(s.session.ZoomAtMouse);
    // The next zoom-in is about the centre again: the centre's world point stays.
    const ViewPoint centre = s.projection().pixelToWorld(400, 300, 0);
    zoomIn(s.screen, s.session, s.actions);
    EXPECT_NEAR(s.projection().worldToPixel(centre.x, centre.y, centre.z).x, 400, 1e-3);
}

TEST(ZoomSteps, ZoomStaysFiniteAfterHundredsOfSteps) {
    Steps s;
    for (int i = 0; i < 400; ++i) zoomIn(s.screen, s.session, s.actions);
    EXPECT_TRUE(std::isfinite(s.screen.view.Massstab));
    EXPECT_LE(s.screen.view.Massstab, kMaxMassstab * 1.0001);
    EXPECT_TRUE(std::isfinite(s.screen.view.OffsetX));
    for (int i = 0; i < 800; ++i) zoomOut(s.screen, s.actions);
    EXPECT_GE(s.screen.view.Massstab, kMinMassstab * 0.9999);
    EXPECT_GT(s.screen.view.Massstab, 0);
    EXPECT_EQ(s.stores, 1200);  // a step at the limit still stores
}

TEST(StandardViews, EachSetsTheListedAnglesProjectsRedrawsAndStoresWithoutFitting) {
    struct Case {
        StandardView view;
        double a1, a2, a3;
    };
    const Case cases[] = {
        {StandardView::Top, -3.14159265358979, 0, 0},
        {StandardView::Side, 4.712388980384685, 0, 0},
        {StandardView::Front, 4.712388980384685, 4.712388980384685, 0},
        {StandardView::Iso, 3.6651914291880923, -0.87266462599716477, -0.87266462599716477},
    };
    for (const Case& c : cases) {
        Steps s;
        showStandardView(s.screen, c.view, s.actions);
        EXPECT_NEAR(s.screen.view.ViewAngles(1, 1), c.a1, 1e-12);
        EXPECT_NEAR(s.screen.view.ViewAngles(1, 2), c.a2, 1e-12);
        EXPECT_NEAR(s.screen.view.ViewAngles(1, 3), c.a3, 1e-12);
        EXPECT_EQ(s.projects, 1);
        EXPECT_EQ(s.redraws, 1);
        EXPECT_EQ(s.stores, 1);
        EXPECT_EQ(s.screen.view.Massstab, 2.0f);
        EXPECT_EQ(s.screen.view.OffsetX, 30.0f);
    }
    EXPECT_EQ(standardViewAngles(StandardView::Top).a1, -3.14159265358979);  // the decimal value, not π
}

TEST(StandardViews, TopViewTwiceStoresTwoEqualViews) {
    Steps s;
    std::vector<ScreenProperties> ring;
    s.actions.storeView = [&] { ring.push_back(s.screen.view); };
    showStandardView(s.screen, StandardView::Top, s.actions);
    showStandardView(s.screen, StandardView::Top, s.actions);
    ASSERT_EQ(ring.size(), 2u);
    EXPECT_EQ(ring[0], ring[1]);
}

TEST(VectorScale, LongerAt8e6ShowsTheMessageKeepsTheScaleAndStillStores) {
    Steps s;
    s.session.ScreenWindowActive = true;
    s.screen.view.Vec_Massstab = 8e6f;
    makeVectorsLonger(s.screen, s.session, s.actions);
    EXPECT_EQ(s.prompter.texts(), std::vector<std::string>{"Vectors can not be made longer"});
    EXPECT_NEAR(s.screen.view.Vec_Massstab, 8e6f, 1.0f);
    EXPECT_EQ(s.stores, 1);
    EXPECT_EQ(s.redraws, 1);
}

TEST(VectorScale, StepsBy1Point5WithinTheLimitsAndRedrawOnlyWhileAWindowIsActive) {
    Steps s;
    s.screen.view.Vec_Massstab = 400;
    makeVectorsLonger(s.screen, s.session, s.actions);
    EXPECT_FLOAT_EQ(s.screen.view.Vec_Massstab, 600);
    makeVectorsShorter(s.screen, s.session, s.actions);
    makeVectorsShorter(s.screen, s.session, s.actions);
    EXPECT_NEAR(s.screen.view.Vec_Massstab, 400 / 1.5, 1e-3);
    EXPECT_EQ(s.redraws, 0);  // no graphics window active
    EXPECT_EQ(s.stores, 3);
    EXPECT_TRUE(s.prompter.texts().empty());

    s.screen.view.Vec_Massstab = 1.2e-30f;
    makeVectorsShorter(s.screen, s.session, s.actions);
    EXPECT_EQ(s.prompter.texts(), std::vector<std::string>{"Vectors can not be made smaller"});
    EXPECT_NEAR(s.screen.view.Vec_Massstab, 1.2e-30f, 1e-36f);
}

TEST(VectorScale, TheLimitsThemselvesAreAccepted) {
    ScreenProperties v;
    v.Vec_Massstab = 1e7f / 1.5f;
    ASSERT_LE(static_cast<float>(v.Vec_Massstab * 1.5), 1e7f);
    EXPECT_TRUE(scaleVectorsLonger(v, nullptr));
    v.Vec_Massstab = 1.5e-30f;
    if (static_cast<float>(v.Vec_Massstab / 1.5) >= 1e-30f) {
        EXPECT_TRUE(scaleVectorsShorter(v, nullptr));
    }
}

}  // namespace
}  // namespace kal
