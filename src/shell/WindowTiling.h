#pragma once
// Window > "&Arrange": the main window's child windows tiled side by side, one column each, every
// column the full height of the area. (Qt's own tiling makes a grid of rows and columns.)
#include <vector>

namespace kal {

struct TileRect {
    int x = 0, y = 0, width = 0, height = 0;
    bool operator==(const TileRect&) const = default;
};

// The columns for `count` windows in an area of `width` x `height` pixels, left to right. The
// columns fill the width exactly: the pixels that do not divide evenly go one each to the first
// columns. Empty for a count below 1 or an empty area. O(count).
std::vector<TileRect> tileSideBySide(int count, int width, int height);

}  // namespace kal
