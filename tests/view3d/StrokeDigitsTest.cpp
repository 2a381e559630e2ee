#include <gtest/gtest.h>

#include <cmath>

#include "platform/Regional.h"
#include "view3d/StrokeDigits.h"

namespace kal {
namespace {

constexpr StoredColour kGrey = storedColour(128, 128, 128);

TEST(StrokeDigits, AnchorsScaleRoundHalfToEvenAndSetThePen) {
    struct Case {
        double m;
        PixelPoint p1, p6;
        int pen;
    };
    const Case cases[] = {
        {1.0, {2, 1}, {6, 7}, 1},
        {1.4, {3, 1}, {8, 10}, 1},   // 2.8, 1.4, 8.4, 9.8
        {2.5, {5, 2}, {15, 18}, 2},  // 2.5 and 17.5 go to the even neighbour, the pen too
        {0.5, {1, 0}, {3, 4}, 1},    // 0.5 → 0, 3.5 → 4
    };
    for (const Case& c : cases) {
        const StrokeAnchors a = strokeAnchors(0, 0, c.m, 0);
        EXPECT_EQ(a.point[1], c.p1) << c.m;
        EXPECT_EQ(a.point[6], c.p6) << c.m;
        EXPECT_EQ(a.penWidth, c.pen) << c.m;
    }
}

TEST(StrokeDigits, AnchorsMoveToThePenPositionAfterRounding) {
    const StrokeAnchors a = strokeAnchors(10.4, 20.6, 1, 0);
    EXPECT_EQ(a.point[1], (PixelPoint{12, 22}));
    EXPECT_EQ(a.point[6], (PixelPoint{16, 28}));
}

TEST(StrokeDigits, Winkel90TurnsEachGlyphAQuarterTurnClockwise) {
    // The "1" is the upward stroke P6–P2; a quarter turn clockwise makes it point right.
    DisplayList list;
    ASSERT_TRUE(drawStrokeGlyph(list, '1', 100, 50, 1, 90, kGrey));
    ASSERT_EQ(list.items.size(), 1u);
    const auto& s = std::get<Segment>(list.items[0]);
    EXPECT_EQ(s.from, (PixelPoint{100 - 7, 50 + 6}));  // P6 (6, 7) → (−7, 6)
    EXPECT_EQ(s.to, (PixelPoint{100 - 1, 50 + 6}));    // P2 (6, 1) → (−1, 6)
    const StrokeAnchors a = strokeAnchors(0, 0, 1, 90);
    EXPECT_EQ(a.point[1], (PixelPoint{-1, 2}));
}

TEST(StrokeDigits, GlyphsDrawTheirStrokesInOrder) {
    struct Case {
        char c;
        std::vector<std::pair<int, int>> strokes;
    };
    const Case cases[] = {
        {'0', {{1, 2}, {2, 6}, {6, 5}, {5, 1}}},
        {'2', {{1, 2}, {2, 4}, {4, 3}, {3, 5}, {5, 6}}},
        {'4', {{2, 6}, {3, 1}, {3, 4}}},
        {'7', {{1, 2}, {2, 6}, {3, 1}}},
        {'9', {{1, 2}, {2, 6}, {6, 5}, {3, 1}, {3, 4}}},
        {'-', {{3, 4}}},
    };
    const StrokeAnchors a = strokeAnchors(30, 40, 2, 0);
    for (const Case& c : cases) {
        DisplayList list;
        ASSERT_TRUE(drawStrokeGlyph(list, c.c, 30, 40, 2, 0, kGrey));
        ASSERT_EQ(list.items.size(), c.strokes.size()) << c.c;
        for (std::size_t k = 0; k < c.strokes.size(); ++k) {
            const auto& s = std::get<Segment>(list.items[k]);
            EXPECT_EQ(s.from, a.point[static_cast<std::size_t>(c.strokes[k].first)]) << c.c << k;
            EXPECT_EQ(s.to, a.point[static_cast<std::size_t>(c.strokes[k].second)]) << c.c << k;
            EXPECT_EQ(s.penWidth, 2);
            EXPECT_EQ(s.colour, kGrey);
        }
    }
}

TEST(StrokeDigits, DotIsAFilledCircleAroundP5AndOtherCharactersDrawNothing) {
    DisplayList list;
    ASSERT_TRUE(drawStrokeGlyph(list, '.', 0, 0, 2, 0, kGrey));
    const auto& c = std::get<Circle>(list.items.at(0));
    EXPECT_EQ(c.centre, (PixelPoint{4, 14}));
    EXPECT_FLOAT_EQ(c.radius, 0.6f);
    EXPECT_TRUE(c.filled);
    EXPECT_EQ(c.fill, kGrey);
    EXPECT_EQ(c.outline, kGrey);
    EXPECT_FALSE(drawStrokeGlyph(list, ',', 0, 0, 2, 0, kGrey));
    EXPECT_FALSE(drawStrokeGlyph(list, 'E', 0, 0, 2, 0, kGrey));
    EXPECT_EQ(list.items.size(), 1u);
}

// The glyphs of `text` drawn one by one at the pen positions `advances` (in units of M along
// the writing direction).
DisplayList expectedGlyphs(std::string_view text, const std::vector<double>& advances, double x, double y,
                           double m, double winkel) {
    DisplayList list;
    const double w = winkel / 57.2957;
    for (std::size_t k = 0; k < text.size(); ++k)
        drawStrokeGlyph(list, text[k], x + advances[k] * m * std::cos(w), y + advances[k] * m * std::sin(w),
                        m, winkel, kGrey);
    return list;
}

TEST(StrokeDigits, NumberDrawsItsGlyphsAndEnds26MPastTheStart) {
    for (const double winkel : {0.0, 30.0}) {
        DisplayList list;
        double x = 100, y = 200;
        drawStrokeNumber(list, 12.5, "0.00", x, y, 1.4, winkel, kGrey, {800, 600});
        // "1" at 0, "2" at 6M, "." at 12M, "5" at 14M (the point takes 2M), "0" at 20M.
        EXPECT_EQ(list.items, expectedGlyphs("12.50", {0, 6, 12, 14, 20}, 100, 200, 1.4, winkel).items)
            << winkel;
        const double w = winkel / 57.2957;
        EXPECT_NEAR(x, 100 + 26 * 1.4 * std::cos(w), 1e-9);
        EXPECT_NEAR(y, 200 + 26 * 1.4 * std::sin(w), 1e-9);
    }
}

TEST(StrokeDigits, NumberWritesAPointUnderACommaLocaleAndNeverMinusZero) {
    platform::ScopedDecimalSeparator comma(',');
    DisplayList list;
    double x = 0, y = 0;
    drawStrokeNumber(list, 12.5, "0.00", x, y, 1, 0, kGrey, {800, 600});
    EXPECT_EQ(list.items, expectedGlyphs("12.50", {0, 6, 12, 14, 20}, 0, 0, 1, 0).items);

    DisplayList tiny;
    x = 0;
    drawStrokeNumber(tiny, -0.0001, "0.00", x, y, 1, 0, kGrey, {800, 600});
    EXPECT_EQ(tiny.items, expectedGlyphs("0.00", {0, 6, 8, 14}, 0, 0, 1, 0).items);
}

TEST(StrokeDigits, NumberStartingFarOffTheSurfaceDrawsNothing) {
    struct Case {
        double x, y;
        bool drawn;
    };
    const Case cases[] = {
        {881, 10, false},  // beyond 1.1 × 800, even though later characters would not matter
        {-880, 10, true},  // down to −1.1 × the width is drawn
        {10, -661, false}, {10, 660, true}, {NAN, 10, false}, {10, INFINITY, false},
    };
    for (const Case& c : cases) {
        DisplayList list;
        double x = c.x, y = c.y;
        drawStrokeNumber(list, 7, "0", x, y, 1, 0, kGrey, {800, 600});
        EXPECT_EQ(!list.items.empty(), c.drawn) << c.x << " " << c.y;
        if (!c.drawn && std::isfinite(c.x)) {
            EXPECT_EQ(x, c.x);
        }
    }
    DisplayList list;
    double x = 0, y = 0;
    drawStrokeNumber(list, NAN, "0", x, y, 1, 0, kGrey, {800, 600});
    EXPECT_TRUE(list.items.empty());
}

TEST(StrokeDigits, MinusIsFollowedByDigitsThatDoNotOverlapIt) {
    DisplayList list;
    double x = 0, y = 0;
    drawStrokeNumber(list, -3, "0", x, y, 1, 0, kGrey, {800, 600});
    ASSERT_GE(list.items.size(), 2u);
    const auto& minus = std::get<Segment>(list.items[0]);
    const auto& firstOfThree = std::get<Segment>(list.items[1]);
    EXPECT_LT(std::max(minus.from.x, minus.to.x), std::min(firstOfThree.from.x, firstOfThree.to.x));
    EXPECT_DOUBLE_EQ(x, 12);
}

}  // namespace
}  // namespace kal
