#pragma once
// Window > "&Arrange" and "&Cascade" as places for the main window's child windows, in pixels of
// the work area. Arrange tiles side by side, one column each, every column the full height of the
// area (Qt's own tiling makes a grid of rows and columns); Cascade steps each window down and to
// the right and keeps its size (Qt's own cascade sets every window to its size hint, which for a
// window without one is a bare title strip). Neither ever makes a window smaller than its usable
// minimum: what does not fit is reached by scrolling the work area.
#include <vector>

namespace kal {

struct TileRect {
    int x = 0, y = 0, width = 0, height = 0;
    bool operator==(const TileRect&) const = default;
};

struct TileSize {
    int width = 0, height = 0;
    bool operator==(const TileSize&) const = default;
};

// The columns for `count` windows in an area of `width` x `height` pixels, left to right. The
// columns fill the width exactly: the pixels that do not divide evenly go one each to the first
// columns. Empty for a count below 1 or an empty area. O(count).
std::vector<TileRect> tileSideBySide(int count, int width, int height);

// The same for windows with the given minimum sizes, one column per entry, left to right: a window
// whose minimum is wider than an even share gets its minimum, the others share what is left
// evenly, never below their own minimum; a column is the area's height or the window's minimum
// height when that is taller. The columns fill the width exactly when the minimums allow it, and
// run past its right edge when they together are wider than the area. O(count²) at worst.
std::vector<TileRect> tileSideBySide(const std::vector<TileSize>& minimums, int width, int height);

// Window > "&Cascade" for windows of the given sizes and minimum sizes, in the order given, in an
// area of `width` x `height` pixels: window i stands `step` pixels right of and below window i-1;
// a window whose minimum would reach past the area at its step starts again at the top-left
// corner. Each keeps its size, at least its minimum, and shrinks to stay inside the area from its
// place only as far as its minimum allows. O(count).
std::vector<TileRect> cascadeKeepingSizes(const std::vector<TileSize>& sizes,
                                          const std::vector<TileSize>& minimums, int width, int height,
                                          int step);

// Where a window of `size` opened beside a window at (`previousX`, `previousY`) goes: one cascade
// step right of and below it, shrunk to stay inside the area as far as its `minimum` allows (a
// window of the default size fills most of the area, and going back to the corner would cover
// the previous window exactly); at the area's top-left corner only when even its minimum would
// reach past the area from that step.
TileRect nextCascadePlace(int previousX, int previousY, TileSize size, TileSize minimum, int width, int height,
                          int step);

}  // namespace kal
