#include <gtest/gtest.h>

#include <QApplication>
#include <QStatusBar>
#include <QTest>

#include "shell/ui/WindowCapture.h"
#include "support/FakePlatform.h"
#include "view3d/DisplayListRaster.h"
#include "view3d/ScreenScene.h"
#include "view3d/ui/DisplayListPainter.h"
#include "view3d/ui/FormScreen.h"

namespace kal {
namespace {

constexpr StoredColour kRed = storedColour(255, 0, 0);
constexpr StoredColour kBlue = storedColour(0, 0, 255);
constexpr StoredColour kGreen = storedColour(0, 255, 0);
constexpr StoredColour kWhite = storedColour(255, 255, 255);
constexpr StoredColour kBlack = storedColour(0, 0, 0);

StoredColour at(const QImage& image, int x, int y) {
    return ImageBuffer::fromPixel(static_cast<std::uint32_t>(image.pixel(x, y)));
}

TEST(DisplayListPainter, EachPrimitiveLandsOnItsPixelsInListOrder) {
    DisplayList list;
    list.clear(kWhite);
    list.add(FilledRect{0, 0, 8, 8, kGreen});
    list.add(PixelSquare{5, 5, 1, kRed});  // drawn over the rectangle
    list.add(PixelSquare{20, 5, 0, kBlue});
    list.add(PixelSquare{-1, 39, 2, kRed});  // clipped at the picture's edge, never outside it
    list.add(Segment{{5, 30}, {25, 30}, 1, kBlue});
    list.add(Circle{{40, 10}, 3, 1, kBlack, true, kRed});
    ImageBuffer pixels(50, 40);
    paintDisplayList(list, pixels, QFont());
    const QImage image = pictureOf(pixels);

    EXPECT_EQ(at(image, 4, 4), kRed);
    EXPECT_EQ(at(image, 6, 6), kRed);
    EXPECT_EQ(at(image, 7, 7), kGreen);  // the square is 3 × 3
    EXPECT_EQ(at(image, 3, 3), kGreen);
    EXPECT_EQ(at(image, 20, 5), kBlue);
    EXPECT_EQ(at(image, 21, 5), kWhite);
    EXPECT_EQ(at(image, 0, 38), kRed);
    EXPECT_EQ(at(image, 5, 30), kBlue);
    EXPECT_EQ(at(image, 15, 30), kBlue);
    EXPECT_EQ(at(image, 25, 30), kBlue);  // both ends drawn
    EXPECT_EQ(at(image, 15, 31), kWhite);
    EXPECT_EQ(at(image, 40, 10), kRed);
    EXPECT_EQ(at(image, 30, 20), kWhite);
}

TEST(DisplayListPainter, PointsAndVectorsGetTheSamePixelsAsTheCoreRasteriser) {
    DisplayList list;
    list.clear(kBlack);
    unsigned seed = 7;
    auto next = [&seed](int range) {
        return static_cast<int>((seed = seed * 1103515245u + 12345u) >> 8) % range;
    };
    for (int i = 0; i < 300; ++i) {
        const float x = static_cast<float>(next(140) - 20), y = static_cast<float>(next(120) - 20);
        list.add(PixelSquare{static_cast<int>(x), static_cast<int>(y), next(3), kGreen});
        list.add(Segment{{x, y},
                         {x + next(60) - 30 + 0.5f, y + next(60) - 30},
                         1 + next(3),
                         kRed,
                         static_cast<PenStyle>(next(3))});
    }
    list.add(Segment{{-1e6f, 40}, {1e6f, 41}, 1, kBlue});  // far-away ends still draw their visible part
    ImageBuffer painted(100, 80), expected(100, 80);
    paintDisplayList(list, painted, QFont());
    rasterise(list, expected);
    EXPECT_EQ(painted.pixels(), expected.pixels());
    EXPECT_TRUE(ImageBuffer::fromPixel(painted.pixel(50, 40)) == kBlue ||
                ImageBuffer::fromPixel(painted.pixel(50, 41)) == kBlue);
}

TEST(DisplayListPainter, TextIsDrawnWithTheFontInsideItsBox) {
    DisplayList list;
    list.clear(kWhite);
    TextLabel label;
    label.at = {10, 10};
    label.text = "WWW";
    label.colour = kBlack;
    list.add(label);
    ImageBuffer pixels(120, 60);
    const QFont font;
    paintDisplayList(list, pixels, font);
    const QImage image = pictureOf(pixels);
    const QFontMetrics metrics(font);
    int dark = 0, outside = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            if (at(image, x, y) == kWhite) continue;
            const bool inside = x >= 10 && y >= 10 && x < 10 + metrics.horizontalAdvance("WWW") + 1 &&
                                y < 10 + metrics.height() + 1;
            (inside ? dark : outside) += 1;
        }
    EXPECT_GT(dark, 5);
    EXPECT_EQ(outside, 0);
}

struct Window {
    GraphicsSession session;
    testing::FakePrompter prompter;
    int scenes = 0;
    FormScreen w{session, ScreenServices{}, &prompter};
    Window() {
        w.services().drawScene = [this](ScreenModel& m) {
            ++scenes;
            m.display.add(PixelSquare{m.width / 2, m.height / 2, 2, kRed});
        };
        w.resize(400, 300);
        w.show();
        QApplication::processEvents();
    }
};

TEST(FormScreen, ManyRedrawRequestsInOnePassMakeOneFrame) {
    Window f;
    for (int i = 0; i < 100; ++i) f.w.redraw();
    EXPECT_EQ(f.w.frameCount(), 0);  // nothing is drawn inside the requests
    QApplication::processEvents();
    EXPECT_EQ(f.w.frameCount(), 1);
    EXPECT_EQ(f.scenes, 1);
    for (int i = 0; i < 5; ++i) f.w.redraw();
    QApplication::processEvents();
    QApplication::processEvents();
    EXPECT_EQ(f.w.frameCount(), 2);
    QApplication::processEvents();
    EXPECT_EQ(f.w.frameCount(), 2);  // no request, no frame
}

TEST(FormScreen, RenderNowDrawsAPendingFrameAtOnceAndOnlyThen) {
    Window f;
    f.w.renderNow();
    EXPECT_EQ(f.w.frameCount(), 0);
    f.w.redraw();
    f.w.renderNow();
    EXPECT_EQ(f.w.frameCount(), 1);
    QApplication::processEvents();
    EXPECT_EQ(f.w.frameCount(), 1);  // the armed timer found nothing left to do
    const QImage& back = f.w.backBuffer();
    EXPECT_EQ(back.format(), QImage::Format_RGB32);
    EXPECT_EQ(back.size(), f.w.surface()->size());
    EXPECT_EQ(at(back, back.width() / 2, back.height() / 2), kRed);
}

TEST(FormScreen, TheSurfaceAndStatusBarCarryTheirNames) {
    Window f;
    EXPECT_EQ(f.w.surface()->objectName(), "ScreenPixel");
    EXPECT_EQ(f.w.statusBar()->objectName(), "StatusBar1");
    EXPECT_EQ(f.w.statusPanel()->width(), 200);
    EXPECT_EQ(f.w.model().width, f.w.surface()->width());
    EXPECT_EQ(f.w.model().height, f.w.surface()->height());
}

// Records what the surface hands on, as navigation and picking receive it.
struct RecordingInput : ScreenInput {
    std::vector<std::string> seen;
    void mousePress(FormScreen& w, QMouseEvent*) override { seen.push_back("press " + at(w)); }
    void mouseMove(FormScreen& w, QMouseEvent*) override { seen.push_back("move " + at(w)); }
    void mouseRelease(FormScreen& w, QMouseEvent*) override { seen.push_back("release " + at(w)); }
    void mouseDoubleClick(FormScreen& w, QMouseEvent*) override { seen.push_back("double " + at(w)); }
    void keyPress(FormScreen&, QKeyEvent* e) override { seen.push_back("key " + std::to_string(e->key())); }
    static std::string at(FormScreen& w) {
        return std::to_string(static_cast<int>(w.model().MouseX)) + "," +
               std::to_string(static_cast<int>(w.model().MouseY));
    }
};

TEST(FormScreen, TheSurfaceHandsMouseAndKeysToItsInputWithTheMousePositionKept) {
    Window f;
    RecordingInput input;
    f.w.setInput(&input);
    QTest::mousePress(f.w.surface(), Qt::LeftButton, {}, QPoint(40, 30));
    QTest::mouseMove(f.w.surface(), QPoint(50, 35));
    QTest::mouseRelease(f.w.surface(), Qt::LeftButton, {}, QPoint(50, 35));
    QTest::keyClick(f.w.surface(), Qt::Key_B);
    EXPECT_EQ(input.seen, (std::vector<std::string>{"press 40,30", "move 50,35", "release 50,35",
                                                    "key " + std::to_string(Qt::Key_B)}));
    f.w.setInput(nullptr);
    QTest::mousePress(f.w.surface(), Qt::LeftButton, {}, QPoint(7, 8));  // no handler: the position is kept
    EXPECT_EQ(f.w.model().MouseX, 7);
    EXPECT_EQ(input.seen.size(), 4u);
}

TEST(FormScreen, OverlaysDrawAfterTheSceneOnEveryFrame) {
    Window f;
    f.w.addOverlay([](const ScreenModel&, DisplayList& list) { list.add(PixelSquare{1, 1, 0, kBlue}); });
    f.w.redraw();
    f.w.renderNow();
    ASSERT_FALSE(f.w.model().display.items.empty());
    EXPECT_EQ(f.w.model().display.items.back(), Primitive(PixelSquare{1, 1, 0, kBlue}));
    EXPECT_EQ(at(f.w.backBuffer(), 1, 1), kBlue);
}

// A resize never leaves a black or stale picture: the view follows and the new picture is there
// before the surface is painted.
TEST(FormScreen, AResizedWindowFollowsAndRedrawsAtItsNewSizeAtOnce) {
    Window f;
    std::vector<std::pair<SurfaceSize, SurfaceSize>> followed;
    f.w.services().resized = [&](ScreenModel& m, SurfaceSize before) {
        followed.push_back({before, surfaceOf(m)});
    };
    f.w.resize(500, 380);  // before the first picture: the load fits to the size then
    EXPECT_TRUE(followed.empty());
    EXPECT_EQ(f.w.frameCount(), 0);

    f.w.redraw();
    f.w.renderNow();
    const SurfaceSize first = surfaceOf(f.w.model());
    f.w.resize(320, 600);
    ASSERT_EQ(followed.size(), 1u);
    EXPECT_EQ(followed[0].first, first);
    EXPECT_EQ(followed[0].second.width, f.w.surface()->width());
    EXPECT_EQ(followed[0].second.height, f.w.surface()->height());
    EXPECT_EQ(f.w.frameCount(), 2);  // drawn inside the resize, not at some later command
    EXPECT_EQ(f.w.backBuffer().size(), f.w.surface()->size());
    EXPECT_EQ(at(f.w.backBuffer(), f.w.surface()->width() / 2, f.w.surface()->height() / 2), kRed);
    const QImage shown = f.w.surface()->grab().toImage();
    EXPECT_EQ(shown.size(), f.w.surface()->size());
    EXPECT_EQ(at(shown, shown.width() / 2, shown.height() / 2), kRed);
}

TEST(FormScreen, ThePrintPictureIsTheClientAreaLessFivePixelsOnWhiteAndTheWindowComesBack) {
    Window f;
    f.w.setBackColour(kBlack);
    std::vector<TextLabel> labelsWhilePrinting;
    f.w.services().drawScene = [&](ScreenModel& m) { m.display.add(PixelSquare{5, 5, 0, kRed}); };
    const QImage picture = f.w.printPicture([&](QWidget* window) {
        for (const Primitive& p : f.w.model().display.items)
            if (const auto* t = std::get_if<TextLabel>(&p)) labelsWhilePrinting.push_back(*t);
        return captureClientArea(window);
    });
    EXPECT_EQ(picture.width(), f.w.width() - 5);
    EXPECT_EQ(picture.height(), f.w.height() - 5);
    // White background, no status bar: the bottom of the picture is the surface's white.
    EXPECT_EQ(at(picture, picture.width() / 2, picture.height() - 1), kWhite);
    ASSERT_EQ(labelsWhilePrinting.size(), 1u);
    EXPECT_EQ(labelsWhilePrinting[0].at, (PixelPoint{0, 0}));
    EXPECT_EQ(labelsWhilePrinting[0].text.rfind("calculated with ", 0), 0u);

    // Afterwards: the background colour, the status bar, and no credit line in the next picture.
    EXPECT_EQ(f.w.model().backColour, kBlack);
    EXPECT_TRUE(f.w.statusBar()->isVisible());
    for (const Primitive& p : f.w.model().display.items) EXPECT_FALSE(std::holds_alternative<TextLabel>(p));
    EXPECT_EQ(at(f.w.backBuffer(), f.w.backBuffer().width() / 2, 3), kBlack);
}

TEST(FormScreen, TheWindowComesBackEvenWhenTheCaptureFails) {
    Window f;
    f.w.setBackColour(kBlue);
    EXPECT_THROW(f.w.printPicture([](QWidget*) -> QImage { throw std::runtime_error("no picture"); }),
                 std::runtime_error);
    EXPECT_EQ(f.w.model().backColour, kBlue);
    EXPECT_TRUE(f.w.statusBar()->isVisible());
}

}  // namespace
}  // namespace kal
