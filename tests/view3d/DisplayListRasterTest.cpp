#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "support/FakeTextMetrics.h"
#include "view3d/DisplayListRaster.h"

namespace kal {
namespace {

constexpr StoredColour kWhite = storedColour(255, 255, 255);
constexpr StoredColour kInk = storedColour(10, 20, 30);

struct Picture {
    ImageBuffer image{40, 30, 0};
    DisplayList list;
    Picture() { list.background = kWhite; }
    void draw(const RasterOptions& options = {}) { rasterise(list, image, options); }
    bool inked(int x, int y) const { return ImageBuffer::fromPixel(image.pixel(x, y)) == kInk; }
    int inkCount() const {
        int n = 0;
        for (std::uint32_t p : image.pixels()) n += ImageBuffer::fromPixel(p) == kInk;
        return n;
    }
};

TEST(DisplayListRaster, BackgroundFillsThePicture) {
    Picture p;
    p.draw();
    EXPECT_EQ(ImageBuffer::fromPixel(p.image.pixel(0, 0)), kWhite);
    EXPECT_EQ(ImageBuffer::fromPixel(p.image.pixel(39, 29)), kWhite);
}

TEST(DisplayListRaster, PixelSquaresAreSetExactlyAndClipped) {
    Picture p;
    p.list.add(PixelSquare{10, 10, 1, kInk});
    p.draw();
    EXPECT_EQ(p.inkCount(), 9);
    for (int x = 9; x <= 11; ++x)
        for (int y = 9; y <= 11; ++y) EXPECT_TRUE(p.inked(x, y));
    Picture corner;
    corner.list.add(PixelSquare{0, 29, 2, kInk});
    corner.list.add(PixelSquare{-3, 5, 2, kInk});          // just off the left edge
    corner.list.add(PixelSquare{2000000000, 5, 2, kInk});  // far away
    corner.draw();
    EXPECT_EQ(corner.inkCount(), 9);
}

TEST(DisplayListRaster, ThinSegmentsDrawBothEnds) {
    Picture p;
    p.list.add(Segment{{2, 3}, {12, 3}, 1, kInk});
    p.list.add(Segment{{20, 5}, {25, 15}, 1, kInk});
    p.list.add(Segment{{30, 20}, {30, 20}, 1, kInk});  // zero length: one pixel
    p.draw();
    for (int x = 2; x <= 12; ++x) EXPECT_TRUE(p.inked(x, 3)) << x;
    EXPECT_FALSE(p.inked(1, 3));
    EXPECT_FALSE(p.inked(13, 3));
    EXPECT_TRUE(p.inked(20, 5));
    EXPECT_TRUE(p.inked(25, 15));
    for (int y = 5; y <= 15; ++y) {  // one pixel in every row of a steep line
        int inRow = 0;
        for (int x = 18; x <= 27; ++x) inRow += p.inked(x, y);
        EXPECT_EQ(inRow, 1) << y;
    }
    EXPECT_TRUE(p.inked(30, 20));
    EXPECT_EQ(p.inkCount(), 11 + 11 + 1);
}

TEST(DisplayListRaster, ClippedLinesKeepTheirPixels) {
    Picture whole, clipped;
    whole.image.resize(400, 30, 0);
    whole.list.add(Segment{{-100.3f, 2.2f}, {300.6f, 27.9f}, 1, kInk});
    whole.draw();
    clipped.list.add(Segment{{-100.3f, 2.2f}, {300.6f, 27.9f}, 1, kInk});
    clipped.draw();
    for (int x = 0; x < 40; ++x)
        for (int y = 0; y < 30; ++y) EXPECT_EQ(whole.inked(x, y), clipped.inked(x, y)) << x << ", " << y;
}

TEST(DisplayListRaster, WideSegmentsCoverTheirWidth) {
    Picture p;
    p.list.add(Segment{{5, 15}, {30, 15}, 5, kInk});
    p.draw();
    for (int y = 13; y <= 17; ++y) EXPECT_TRUE(p.inked(15, y)) << y;
    EXPECT_FALSE(p.inked(15, 12));
    EXPECT_FALSE(p.inked(15, 18));
    EXPECT_TRUE(p.inked(3, 15));  // round end
    EXPECT_FALSE(p.inked(2, 15));
}

TEST(DisplayListRaster, DottedAndDashDottedLinesKeepTheirPattern) {
    Picture p;
    Segment dotted{{0, 5}, {29, 5}, 1, kInk};
    dotted.style = PenStyle::Dot;
    Segment dashDotted{{0, 10}, {17, 10}, 1, kInk};
    dashDotted.style = PenStyle::DashDot;
    Segment wide{{0, 20}, {35, 20}, 3, kInk};
    wide.style = PenStyle::Dot;
    p.list.add(dotted);
    p.list.add(dashDotted);
    p.list.add(wide);
    p.draw();
    for (int x = 0; x <= 29; ++x) EXPECT_EQ(p.inked(x, 5), x % 3 == 0) << x;
    const char* dashDot = "111100100111100100";  // 4 on, 2 off, 1 on, 2 off
    for (int x = 0; x <= 17; ++x) EXPECT_EQ(p.inked(x, 10), dashDot[x] == '1') << x;
    EXPECT_TRUE(p.inked(1, 20));  // the first dash of the wide line, 3 px long
    EXPECT_TRUE(p.inked(1, 21));
    EXPECT_FALSE(p.inked(6, 20));  // its first gap
    EXPECT_TRUE(p.inked(10, 20));  // the second dash
}

TEST(DisplayListRaster, CirclesFilledAndOutlined) {
    Picture p;
    p.list.add(Circle{{10, 10}, 2, 1, kInk, true, kInk});  // a point of BigNess 4
    p.draw();
    EXPECT_TRUE(p.inked(10, 10));
    EXPECT_TRUE(p.inked(12, 10));
    EXPECT_TRUE(p.inked(10, 8));
    EXPECT_FALSE(p.inked(13, 10));
    EXPECT_FALSE(p.inked(12, 12));
    EXPECT_EQ(p.inkCount(), 21);  // 5 × 5 without the corners

    Picture ring;
    ring.list.add(Circle{{20, 15}, 8, 3, kInk, false, 0});
    ring.draw();
    EXPECT_FALSE(ring.inked(20, 15));
    EXPECT_FALSE(ring.inked(24, 15));
    EXPECT_TRUE(ring.inked(27, 15));
    EXPECT_TRUE(ring.inked(28, 15));
    EXPECT_TRUE(ring.inked(29, 15));
    EXPECT_FALSE(ring.inked(30, 15));
    EXPECT_TRUE(ring.inked(20, 7));
}

TEST(DisplayListRaster, PolygonsAndRectangles) {
    Picture p;
    p.list.add(Polygon{{{2, 2}, {20, 2}, {2, 20}}, 0, 0, true, kInk});
    p.list.add(FilledRect{25, 5, 4, 3, kInk});
    p.draw();
    EXPECT_TRUE(p.inked(4, 4));
    EXPECT_FALSE(p.inked(18, 18));
    EXPECT_TRUE(p.inked(25, 5));
    EXPECT_TRUE(p.inked(28, 7));
    EXPECT_FALSE(p.inked(29, 7));  // right and bottom edges exclusive
    EXPECT_FALSE(p.inked(28, 8));

    Picture outline;
    outline.list.add(Polygon{{{5, 5}, {15, 5}, {15, 15}, {5, 15}}, 1, kInk, false, 0});
    outline.draw();
    EXPECT_TRUE(outline.inked(5, 10));
    EXPECT_TRUE(outline.inked(10, 15));
    EXPECT_FALSE(outline.inked(10, 10));
}

TEST(DisplayListRaster, TextIsSkippedOrOutlinedAsItsBox) {
    Picture skipped;
    skipped.list.add(TextLabel{{3, 4}, "ab", kInk});
    skipped.draw();
    EXPECT_EQ(skipped.inkCount(), 0);

    Picture boxed;
    boxed.list.add(TextLabel{{3, 4}, "ab", kInk});
    const FakeTextMetrics metrics;  // 8 × 16 per character
    boxed.draw({true, &metrics});
    EXPECT_TRUE(boxed.inked(3, 4));
    EXPECT_TRUE(boxed.inked(18, 19));
    EXPECT_FALSE(boxed.inked(19, 19));
    EXPECT_FALSE(boxed.inked(10, 10));
}

TEST(DisplayListRaster, NonFiniteAndHugeCoordinatesDrawNothingOrClip) {
    const float nan = std::numeric_limits<float>::quiet_NaN(), inf = std::numeric_limits<float>::infinity();
    Picture p;
    p.list.add(Segment{{nan, 1}, {5, 5}, 1, kInk});
    p.list.add(Segment{{inf, 1}, {5, 5}, 3, kInk});
    p.list.add(Circle{{nan, 5}, 3, 1, kInk, true, kInk});
    p.list.add(Circle{{5, 5}, inf, 1, kInk, true, kInk});
    p.list.add(Polygon{{{nan, 0}, {5, 5}, {0, 5}}, 1, kInk, true, kInk});
    p.draw();
    EXPECT_EQ(p.inkCount(), 0);

    Picture far;
    far.list.add(Segment{{-1e30f, 10}, {1e30f, 10}, 1, kInk});  // clipped to the picture first
    far.list.add(Segment{{-1e30f, 20}, {1e30f, 20}, 4, kInk});
    far.draw();
    EXPECT_TRUE(far.inked(0, 10));
    EXPECT_TRUE(far.inked(39, 10));
    EXPECT_TRUE(far.inked(20, 20));
}

TEST(DisplayListRaster, EmptyPictureIsLeftAlone) {
    ImageBuffer empty;
    DisplayList list;
    list.add(PixelSquare{0, 0, 3, kInk});
    rasterise(list, empty);
    EXPECT_EQ(empty.width(), 0);
}

}  // namespace
}  // namespace kal
