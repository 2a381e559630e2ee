#include <gtest/gtest.h>

#include <QApplication>
#include <QStatusBar>
#include <QTest>
#include <QWheelEvent>
#include <memory>

#include "view3d/CloudProjection.h"
#include "view3d/RedrawPipeline.h"
#include "view3d/ui/ScreenNavigationInput.h"

namespace kal {
namespace {

constexpr double kPi = 3.14159265358979;

// A graphics window with a 400 × 400 surface over a four-point cloud, the navigation attached,
// counting the views it stores.
struct NavigatedScreen {
    GraphicsSession session;
    PointCloud cloud;
    int stores = 0;
    std::unique_ptr<FormScreen> window;
    ScreenNavigationInput* input = nullptr;

    NavigatedScreen() {
        cloud.reset(4);
        const float xyz[4][3] = {{0, 0, 0}, {100, 0, 0}, {0, 100, 0}, {100, 100, 50}};
        for (int i = 1; i <= 4; ++i) {
            for (int c = 0; c < 3; ++c) cloud(i, cloud::X + c) = xyz[i - 1][c];
            cloud(i, cloud::Shown) = 1;
            cloud(i, cloud::Visible) = 1;
            cloud.name(i) = "P" + std::to_string(i);
        }
        ScreenServices services;
        services.project = [this](ScreenModel& m) {
            ProjectionInputs in;
            in.surface = {m.width, m.height, 0};
            projectCloud(cloud, m.view, m.origin, in, m.arrays);
            computePixels(m.view, in, m.arrays);
        };
        services.drawScene = services.project;
        services.storeView = [this](FormScreen&) { ++stores; };
        window = std::make_unique<FormScreen>(session, services, nullptr);
        window->surface()->setFixedSize(400, 400);
        ScreenProperties& view = window->model().view;
        view.Massstab = 1;
        view.BigNess = 2;
        view.ViewAngles.resize(2, 3);
        view.ViewAngles(1, 1) = -kPi;
        input = new ScreenNavigationInput(*window);
        input->setScene(&cloud, 0);
        window->show();
        QCoreApplication::processEvents();
        window->redraw();
        window->renderNow();
    }
    QWidget* surface() const { return window->surface(); }
    ScreenProperties& view() const { return window->model().view; }
    void drag(QPoint from, QPoint to, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::mouseMove(surface(), from);
        QTest::mousePress(surface(), Qt::LeftButton, modifiers, from);
        QTest::mouseMove(surface(), to);
        QTest::mouseRelease(surface(), Qt::LeftButton, modifiers, to);
    }
};

TEST(ScreenNavigationInput, SurfaceIsFourHundredSquare) {
    NavigatedScreen s;
    EXPECT_EQ(s.window->model().width, 400);
    EXPECT_EQ(s.window->model().height, 400);
}

TEST(ScreenNavigationInput, ShiftDragTwoByTenTurnsOnlyTheFirstAxis) {
    NavigatedScreen s;
    QTest::keyPress(s.surface(), Qt::Key_Shift, Qt::ShiftModifier);
    s.drag({100, 100}, {102, 110}, Qt::ShiftModifier);
    EXPECT_NEAR(s.view().ViewAngles(1, 1), -kPi + 0.08, 1e-9);
    EXPECT_NEAR(s.view().ViewAngles(1, 2), 0, 1e-12);
    EXPECT_NEAR(s.view().ViewAngles(1, 3), 0, 1e-12);
    EXPECT_EQ(s.view().Massstab, 1);
    EXPECT_EQ(s.stores, 1);
}

TEST(ScreenNavigationInput, NumpadPlusAtEightHundredGivesThousand) {
    NavigatedScreen s;
    s.view().Massstab = 800;
    QTest::mouseMove(s.surface(), {200, 200});
    QTest::keyClick(s.surface(), Qt::Key_Plus, Qt::KeypadModifier);
    EXPECT_EQ(s.view().Massstab, 1000);
    EXPECT_EQ(s.stores, 1);
    QTest::keyClick(s.surface(), Qt::Key_Plus);  // the main keyboard's plus is no zoom key
    EXPECT_EQ(s.view().Massstab, 1000);
}

TEST(ScreenNavigationInput, RubberBandBoxes) {
    struct Case {
        const char* what;
        QPoint from, to;
        float massstab;
    };
    const std::vector<Case> cases = {
        {"100 x 50 at Massstab 1", {100, 100}, {200, 150}, 4},
        {"9 x 9 zooms", {100, 100}, {109, 109}, 400.0f / 9},
        {"8 x 20 does not", {100, 100}, {108, 120}, 1},
        {"up-left box zooms", {200, 150}, {100, 100}, 4},
    };
    for (const auto& c : cases) {
        NavigatedScreen s;
        s.drag(c.from, c.to);
        EXPECT_FLOAT_EQ(s.view().Massstab, c.massstab) << c.what;
        EXPECT_EQ(s.stores, 1) << c.what;
    }
}

TEST(ScreenNavigationInput, RubberBandIsDrawnWhileDragging) {
    NavigatedScreen s;
    QTest::mouseMove(s.surface(), {100, 100});
    QTest::mousePress(s.surface(), Qt::LeftButton, Qt::NoModifier, {100, 100});
    QTest::mouseMove(s.surface(), {200, 150});
    s.input->flushMove();
    s.window->renderNow();
    EXPECT_EQ(s.window->backBuffer().pixelColor(150, 100), QColor(0, 0, 0));  // top edge
    EXPECT_EQ(s.window->backBuffer().pixelColor(150, 125), QColor(255, 255, 255));
    QTest::mouseRelease(s.surface(), Qt::LeftButton, Qt::NoModifier, {200, 150});
    s.window->renderNow();
    EXPECT_FALSE(s.input->navigator().state.band.visible);
}

TEST(ScreenNavigationInput, BHeldAndTenPixelsLeftRaisesBlackZ) {
    NavigatedScreen s;
    s.input->navigator().PlaneNormal = {0, 0.7, 0.7, 0};
    s.view().BlackZ = 5;
    QTest::keyPress(s.surface(), Qt::Key_B);
    s.drag({200, 200}, {190, 200});
    QTest::keyRelease(s.surface(), Qt::Key_B);
    EXPECT_EQ(s.view().BlackZ, 15);
    EXPECT_EQ(s.view().Massstab, 1);
}

TEST(ScreenNavigationInput, WheelZoomsInAboutTheMouseOutAboutTheCentreOneStepPerEvent) {
    NavigatedScreen s;
    QTest::mouseMove(s.surface(), {120, 80});
    QCoreApplication::processEvents();
    const double worldX = (120 - s.view().OffsetX) / 1.0;
    auto sendWheel = [&](int delta) {
        QWheelEvent e(QPointF(300, 300), s.surface()->mapToGlobal(QPointF(300, 300)), QPoint(),
                      QPoint(0, delta), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(s.surface(), &e);
    };
    sendWheel(240);
    EXPECT_FLOAT_EQ(s.view().Massstab, static_cast<float>(1 / 0.7));
    EXPECT_NEAR(s.view().Massstab * worldX + s.view().OffsetX, 120, 1e-3);  // about the mouse, not (300, 300)
    EXPECT_FALSE(s.session.ZoomAtMouse);
    EXPECT_EQ(s.stores, 1);
    const float before = s.view().Massstab;
    const double centre = (200 - s.view().OffsetX) / before;
    sendWheel(-120);
    EXPECT_FLOAT_EQ(s.view().Massstab, before * 0.7f);
    EXPECT_NEAR(s.view().Massstab * centre + s.view().OffsetX, 200, 1e-3);
    EXPECT_EQ(s.stores, 2);
}

TEST(ScreenNavigationInput, ManyMovesCostOneHoverAndOneFrame) {
    NavigatedScreen s;
    s.window->renderNow();
    const int frames = s.window->frameCount();
    QTest::mousePress(s.surface(), Qt::LeftButton, Qt::NoModifier, {10, 10});
    for (int k = 0; k < 40; ++k) QTest::mouseMove(s.surface(), {20 + k, 20 + k});
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    EXPECT_EQ(s.window->frameCount(), frames + 1);
    EXPECT_EQ(s.input->navigator().state.MouseX, 59);
}

TEST(ScreenNavigationInput, HoverFillsTheStatusPanels) {
    NavigatedScreen s;
    const auto& arrays = s.window->model().arrays;
    const QPoint at(static_cast<int>(arrays.PixelX[2]), static_cast<int>(arrays.PixelY[2]));
    QTest::mouseMove(s.surface(), at);
    s.input->flushMove();
    EXPECT_EQ(s.window->statusPanel()->text(), "Pnt.ID: P2");
    auto* index = s.window->findChild<QLabel*>("StatusPanel8");
    ASSERT_NE(index, nullptr);
    EXPECT_EQ(index->text(), "index 2");
}

TEST(ScreenNavigationInput, AnimationRunsOnATimerPausesAndStopsWhenTheWindowCloses) {
    NavigatedScreen s;
    s.input->startAnalyse();
    QTest::qWait(200);
    EXPECT_GT(s.input->animationFrames(), 1);
    QTest::keyClick(s.surface(), Qt::Key_Pause);
    EXPECT_TRUE(s.input->animation().paused());
    const int paused = s.input->animationFrames();
    QTest::qWait(120);
    EXPECT_EQ(s.input->animationFrames(), paused);
    QTest::keyClick(s.surface(), Qt::Key_Pause);
    QTest::qWait(120);
    EXPECT_GT(s.input->animationFrames(), paused);
    s.window->close();
    const int closed = s.input->animationFrames();
    EXPECT_FALSE(s.input->analysing());
    QTest::qWait(120);
    EXPECT_EQ(s.input->animationFrames(), closed);
}

TEST(ScreenNavigationInput, StoppingTheAnimationRedraws) {
    NavigatedScreen s;
    s.input->startAnalyse();
    QTest::qWait(100);
    s.input->stopAnalyse();
    EXPECT_TRUE(s.window->redrawPending());
    EXPECT_FALSE(s.input->analysing());
}

// The whole road a user takes: turn the view by a Shift-drag, pick a point, lay a line between
// two points; the window's picture (drawn by the redraw pipeline) shows the ring and the line.
// With KALVORETH_CAPTURE_DIR set, the picture is saved there for a look.
TEST(ScreenNavigationInput, TurnPickAndLineShowInThePicture) {
    NavigatedScreen s;
    JobState job;
    std::string selected;
    s.window->services().drawScene = [&](ScreenModel& m) {
        RedrawInputs in;
        in.surface = {m.width, m.height, 0};
        in.background = m.backColour;
        in.SelectedPointName = selected;
        in.SetLine = m.SetLine;
        in.SelectedLine = s.input->navigator().state.SelectedLine;
        in.MouseX = m.MouseX;
        in.MouseY = m.MouseY;
        redrawScene(s.cloud, m.view, m.arrays, m.origin, job, in, {}, {}, m.display);
    };
    s.input->pointPicked = [&](std::int32_t row) {
        selected = s.cloud.name(row);
        s.window->redraw();
    };
    s.view().OffsetX = -200;
    s.view().OffsetY = -200;
    s.view().Massstab = 1.5f;
    for (int i = 1; i <= 4; ++i) s.cloud(i, cloud::Colour) = static_cast<float>(storedColour(200, 0, 0));
    s.view().BigNess = 3;
    s.window->redraw();
    s.window->renderNow();

    QTest::keyPress(s.surface(), Qt::Key_Shift, Qt::ShiftModifier);
    s.drag({200, 200}, {230, 180}, Qt::ShiftModifier);
    QTest::keyRelease(s.surface(), Qt::Key_Shift);
    s.window->renderNow();
    const auto& a = s.window->model().arrays;
    auto pixelOf = [&](int row) {
        return QPoint(static_cast<int>(std::lround(a.PixelX[static_cast<std::size_t>(row)])),
                      static_cast<int>(std::lround(a.PixelY[static_cast<std::size_t>(row)])));
    };
    EXPECT_NE(s.view().ViewAngles(1, 2), 0);  // turned about both axes

    QTest::mouseClick(s.surface(), Qt::LeftButton, Qt::NoModifier, pixelOf(4));
    EXPECT_EQ(selected, "P4");

    s.view().LineMode = true;
    s.window->model().SetLine = true;
    QTest::mouseClick(s.surface(), Qt::LeftButton, Qt::NoModifier, pixelOf(2));
    QTest::mouseClick(s.surface(), Qt::LeftButton, Qt::NoModifier, pixelOf(3));
    QTest::mouseDClick(s.surface(), Qt::LeftButton, Qt::NoModifier, pixelOf(3));
    EXPECT_EQ(s.view().LineCount, 1);
    EXPECT_EQ(s.view().LineStartPoint, 0);
    s.window->redraw();
    s.window->renderNow();

    const QImage& picture = s.window->backBuffer();
    const QPoint from = pixelOf(2), to = pixelOf(3);
    const QPoint middle((from.x() + to.x()) / 2, (from.y() + to.y()) / 2);
    EXPECT_EQ(picture.pixelColor(middle), QColor(0, 0, 255)) << "the line between P2 and P3";
    for (int row : {1, 4})
        EXPECT_EQ(picture.pixelColor(pixelOf(row)), QColor(200, 0, 0)) << row;  // 2, 3 under the line
    if (const char* dir = std::getenv("KALVORETH_CAPTURE_DIR"))
        picture.save(QString::fromLocal8Bit(dir) + "/navigation-turn-pick-line.png");
}

}  // namespace
}  // namespace kal
