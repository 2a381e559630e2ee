#include <gtest/gtest.h>

#include "shell/WindowTiling.h"

namespace kal {
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

}  // namespace
}  // namespace kal
