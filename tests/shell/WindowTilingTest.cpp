#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>

#include "shell/WindowTiling.h"

namespace kal {

void PrintTo(const TileRect& r, std::ostream* os) {
    *os << "(" << r.x << "," << r.y << " " << r.width << "x" << r.height << ")";
}

namespace {

TEST(WindowTiling, ColumnsSideBySideFillTheAreaExactly) {
    using R = TileRect;
    struct Case {
        int count, width, height;
        std::vector<TileRect> tiles;
    };
    const Case cases[] = {
        {1, 800, 600, {R{0, 0, 800, 600}}},
        {2, 800, 600, {R{0, 0, 400, 600}, R{400, 0, 400, 600}}},
        // 1000 = 3 * 333 + 1: the odd pixel goes to the first column.
        {3, 1000, 500, {R{0, 0, 334, 500}, R{334, 0, 333, 500}, R{667, 0, 333, 500}}},
        {4, 1002, 10, {R{0, 0, 251, 10}, R{251, 0, 251, 10}, R{502, 0, 250, 10}, R{752, 0, 250, 10}}},
        {0, 800, 600, {}},
        {2, 0, 600, {}},
        {2, 800, 0, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.count << " in " << c.width << "x" << c.height);
        EXPECT_EQ(tileSideBySide(c.count, c.width, c.height), c.tiles);
    }
    // Many windows: still one row of columns, never a grid.
    const auto many = tileSideBySide(7, 1400, 900);
    ASSERT_EQ(many.size(), 7u);
    for (const TileRect& r : many) EXPECT_EQ(r.height, 900);
    EXPECT_EQ(many.back().x + many.back().width, 1400);
}

// A window that needs more than an even share keeps its minimum; the others share what is left
// and never go below their own minimum either. Columns no window can give up run past the edge.
TEST(WindowTiling, ColumnsNeverGoBelowAWindowsMinimum) {
    using R = TileRect;
    using S = TileSize;
    struct Case {
        const char* what;
        std::vector<TileSize> minimums;
        int width, height;
        std::vector<TileRect> tiles;
    };
    const Case cases[] = {
        {"small minimums: even columns",
         {S{200, 150}, S{200, 150}, S{200, 150}},
         1200,
         600,
         {R{0, 0, 400, 600}, R{400, 0, 400, 600}, R{800, 0, 400, 600}}},
        {"the calculation window needs 700: the others share 500",
         {S{200, 150}, S{700, 760}, S{200, 150}},
         1200,
         600,
         {R{0, 0, 250, 600}, R{250, 0, 700, 760}, R{950, 0, 250, 600}}},
        {"500 above a third; then 300 above half of what is left",
         {S{500, 1}, S{300, 1}, S{100, 1}},
         1000,
         500,
         {R{0, 0, 500, 500}, R{500, 0, 300, 500}, R{800, 0, 200, 500}}},
        {"too tall to stack and together wider than the area: every window at its minimum, scrolled to",
         {S{500, 250}, S{600, 250}, S{200, 250}},
         1000,
         400,
         {R{0, 0, 500, 400}, R{500, 0, 600, 400}, R{1100, 0, 200, 400}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(tileSideBySide(c.minimums, c.width, c.height), c.tiles);
    }
}

// Where the minimums do not fit side by side, windows go above one another, the fewest per column
// that lets every column fit; every window then lies wholly inside the area and none is below its
// minimum. A single row ran past the right edge: the last window became a column reached only by
// scrolling.
TEST(WindowTiling, WindowsThatDoNotFitSideBySideGoIntoMoreRows) {
    using R = TileRect;
    using S = TileSize;
    struct Case {
        const char* what;
        std::vector<TileSize> minimums;
        int width, height;
        std::vector<TileRect> tiles;
    };
    const S graphics{214, 220}, sheet{204, 154}, calculation{1146, 790}, input{642, 556};
    const Case cases[] = {
        {"three side by side would be 1300 wide: two above one another, then the third",
         {S{500, 150}, S{600, 150}, S{200, 150}},
         1000,
         400,
         {R{0, 0, 600, 200}, R{0, 200, 600, 200}, R{600, 0, 400, 400}}},
        {"the calculation window alone in its column, the graphics windows three above one another",
         {calculation, graphics, graphics, graphics, graphics, sheet},
         1600,
         870,
         {R{0, 0, 1146, 870}, R{1146, 0, 227, 290}, R{1146, 290, 227, 290}, R{1146, 580, 227, 290},
          R{1373, 0, 227, 435}, R{1373, 435, 227, 435}}},
        {"a column ends early where the next minimum height no longer fits below",
         {graphics, calculation, graphics, graphics, graphics},
         1600,
         870,
         {R{0, 0, 227, 870}, R{227, 0, 1146, 870}, R{1373, 0, 227, 290}, R{1373, 290, 227, 290},
          R{1373, 580, 227, 290}}},
        {"two minimums that exactly fill the height stack in one column, not side by side past the edge",
         {S{600, 300}, S{600, 300}},
         1000,
         600,
         {R{0, 0, 1000, 300}, R{0, 300, 1000, 300}}},
        {"input files keeps the height its buttons need; the window below it takes the rest",
         {input, graphics, graphics},
         1000,
         870,
         {R{0, 0, 642, 556}, R{0, 556, 642, 314}, R{642, 0, 358, 870}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::vector<TileRect> tiles = tileSideBySide(c.minimums, c.width, c.height);
        EXPECT_EQ(tiles, c.tiles);
        ASSERT_EQ(tiles.size(), c.minimums.size());
        for (std::size_t i = 0; i < tiles.size(); ++i) {
            SCOPED_TRACE(i);
            EXPECT_GE(tiles[i].width, c.minimums[i].width);
            EXPECT_GE(tiles[i].height, c.minimums[i].height);
            EXPECT_GE(tiles[i].x, 0);
            EXPECT_GE(tiles[i].y, 0);
            EXPECT_LE(tiles[i].x + tiles[i].width, c.width);
            EXPECT_LE(tiles[i].y + tiles[i].height, c.height);
        }
    }
}

// Arrange tiles each window at the size that shows all of it, as far as the area holds that, and
// never below the size it keeps; the windows the tiles leave no room for stand in a cascade inside
// the area. Tiles taken from a smaller figure than the window kept let it reach past the edge.
TEST(WindowTiling, ArrangeKeepsEveryWindowInsideTheArea) {
    using R = TileRect;
    using S = TileSize;
    struct Case {
        const char* what;
        std::vector<ArrangedWindow> windows;
        int width, height;
        std::vector<TileRect> places;
        std::vector<std::size_t> cascaded;
    };
    const ArrangedWindow graphics{S{214, 220}, S{214, 220}}, sheet{S{204, 154}, S{204, 154}},
        calculation{S{334, 289}, S{1056, 765}}, input{S{642, 556}, S{642, 556}};
    const Case cases[] = {
        {"the size a window keeps counts, not a smaller figure for all of it",
         {{S{700, 300}, S{200, 150}}, sheet},
         1000,
         600,
         {R{0, 0, 700, 600}, R{700, 0, 300, 600}},
         {}},
        {"content larger than the area: tiled at the area's height, scrolled inside",
         {calculation, graphics},
         1366,
         640,
         {R{0, 0, 1056, 640}, R{1056, 0, 310, 640}},
         {}},
        {"1366 x 768: the calculation window tiled first, the others beside it as far as they fit, the "
         "rest over it below its title bar",
         {graphics, graphics, graphics, graphics, calculation, sheet},
         1366,
         640,
         {R{1056, 0, 310, 220}, R{1056, 220, 310, 220}, R{0, 25, 214, 220}, R{25, 50, 214, 220},
          R{0, 0, 1056, 640}, R{1056, 440, 310, 200}},
         {2, 3}},
        {"1600 x 1000: six windows all tiled",
         {calculation, graphics, graphics, graphics, graphics, sheet},
         1600,
         870,
         {R{0, 0, 1056, 870}, R{1056, 0, 272, 290}, R{1056, 290, 272, 290}, R{1056, 580, 272, 290},
          R{1328, 0, 272, 435}, R{1328, 435, 272, 435}},
         {}},
        {"those that do not fit: a cascade over the tiled one, a step apart, moved back inside at the edge",
         {input, input, input, input},
         700,
         600,
         {R{0, 0, 700, 600}, R{0, 25, 642, 556}, R{25, 44, 642, 556}, R{50, 44, 642, 556}},
         {1, 2, 3}},
        {"a window that keeps more than the area: at the corner, the area scrolls",
         {{S{1200, 700}, S{1200, 700}}},
         1000,
         600,
         {R{0, 0, 1200, 700}},
         {0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<std::size_t> cascaded{99};
        const std::vector<TileRect> places = arrangeInside(c.windows, c.width, c.height, 25, &cascaded);
        EXPECT_EQ(places, c.places);
        EXPECT_EQ(cascaded, c.cascaded);
        ASSERT_EQ(places.size(), c.windows.size());
        for (std::size_t i = 0; i < places.size(); ++i) {
            SCOPED_TRACE(i);
            EXPECT_GE(places[i].width, c.windows[i].kept.width);
            EXPECT_GE(places[i].height, c.windows[i].kept.height);
            if (c.windows[i].kept.width > c.width || c.windows[i].kept.height > c.height) continue;
            EXPECT_GE(places[i].x, 0);
            EXPECT_GE(places[i].y, 0);
            EXPECT_LE(places[i].x + places[i].width, c.width);
            EXPECT_LE(places[i].y + places[i].height, c.height);
        }
        // No window of the cascade lies on a tile's title bar.
        for (std::size_t i = 0; i < places.size(); ++i) {
            if (std::find(cascaded.begin(), cascaded.end(), i) != cascaded.end()) continue;
            for (std::size_t k : cascaded) {
                const TileRect& over = places[k];
                const bool covers = over.x < places[i].x + places[i].width &&
                                    places[i].x < over.x + over.width && over.y < places[i].y + 25 &&
                                    places[i].y < over.y + over.height;
                EXPECT_FALSE(covers) << "window " << k << " on the title bar of window " << i;
            }
        }
    }
    EXPECT_TRUE(arrangeInside({}, 800, 600, 25).empty());
    EXPECT_TRUE(arrangeInside({sheet}, 0, 600, 25).empty());
}

// Cascade keeps each window's size (Qt's own cascade sets windows without a size hint to a title
// strip), steps them by one title bar, starts again at the corner when a window's minimum would
// reach past the area, and shrinks a window into the area only down to its minimum.
TEST(WindowTiling, CascadeKeepsSizesAndNeverGoesBelowTheMinimum) {
    using R = TileRect;
    using S = TileSize;
    struct Case {
        const char* what;
        std::vector<TileSize> sizes, minimums;
        int width, height, step;
        std::vector<TileRect> places;
    };
    const Case cases[] = {
        {"three graphics windows keep their size",
         {S{660, 520}, S{660, 520}, S{660, 520}},
         {S{210, 200}, S{210, 200}, S{210, 200}},
         1200,
         700,
         25,
         {R{0, 0, 660, 520}, R{25, 25, 660, 520}, R{50, 50, 660, 520}}},
        {"a window taller than the area below its step shrinks, not below its minimum",
         {S{300, 700}, S{300, 700}},
         {S{200, 150}, S{200, 650}},
         1000,
         680,
         30,
         {R{0, 0, 300, 680}, R{30, 30, 300, 650}}},
        {"a window smaller than its minimum grows to it",
         {S{120, 28}},
         {S{200, 150}},
         800,
         600,
         25,
         {R{0, 0, 200, 150}}},
        {"where the minimum no longer fits below its step, the window keeps the step: the area scrolls",
         {S{200, 150}, S{200, 150}, S{200, 150}},
         {S{200, 150}, S{200, 150}, S{200, 150}},
         800,
         200,
         30,
         {R{0, 0, 200, 150}, R{30, 30, 200, 150}, R{60, 60, 200, 150}}},
        {"the calculation window third, taller than the area below its step, never on the first's title bar",
         {S{900, 600}, S{660, 520}, S{1146, 790}},
         {S{204, 154}, S{214, 220}, S{1146, 790}},
         1200,
         780,
         25,
         {R{0, 0, 900, 600}, R{25, 25, 660, 520}, R{50, 50, 1146, 790}}},
        {"an area smaller than a window's minimum: the window keeps its minimum",
         {S{1146, 790}},
         {S{1146, 790}},
         600,
         400,
         25,
         {R{0, 0, 1146, 790}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(cascadeKeepingSizes(c.sizes, c.minimums, c.width, c.height, c.step), c.places);
    }
    EXPECT_TRUE(cascadeKeepingSizes({S{300, 200}}, {S{200, 150}}, 0, 600, 25).empty());
}

TEST(WindowTiling, NextWindowStandsOneCascadeStepFurtherOrBackAtTheCorner) {
    const TileSize least{200, 150};
    EXPECT_EQ(nextCascadePlace(0, 0, {660, 520}, least, 1200, 800, 25), (TileRect{25, 25, 660, 520}));
    EXPECT_EQ(nextCascadePlace(100, 40, {660, 520}, least, 1200, 800, 25), (TileRect{125, 65, 660, 520}));
    // One more step would reach past the bottom or right edge: the window gives up what it must.
    EXPECT_EQ(nextCascadePlace(100, 270, {660, 520}, least, 1200, 800, 25), (TileRect{125, 295, 660, 505}));
    EXPECT_EQ(nextCascadePlace(530, 0, {660, 520}, least, 1200, 800, 25), (TileRect{555, 25, 645, 520}));
    // The settings' default size nearly fills the area: each new window still stands a step on.
    EXPECT_EQ(nextCascadePlace(0, 0, {1101, 780}, least, 1240, 780, 25), (TileRect{25, 25, 1101, 755}));
    EXPECT_EQ(nextCascadePlace(25, 25, {1101, 755}, least, 1240, 780, 25), (TileRect{50, 50, 1101, 730}));
    // Only where even the minimum no longer fits does it start again at the corner.
    EXPECT_EQ(nextCascadePlace(1000, 100, {660, 520}, least, 1200, 800, 25), (TileRect{0, 0, 660, 520}));
    EXPECT_EQ(nextCascadePlace(100, 640, {660, 520}, least, 1200, 800, 25), (TileRect{0, 0, 660, 520}));
}

}  // namespace
}  // namespace kal
