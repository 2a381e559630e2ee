#pragma once
// Window > "&Arrange" and "&Cascade" as places for the main window's child windows, in pixels of
// the work area. Arrange tiles side by side, one column each, every column the full height of the
// area (Qt's own tiling makes a grid of rows and columns); where the windows do not fit side by
// side at their minimum sizes, it puts the fewest of them above one another that lets them fit,
// and the windows even that leaves no room for overlap in a cascade inside the area.
// Cascade steps each window down and to the right and keeps its size (Qt's own cascade sets every
// window to its size hint, which for a window without one is a bare title strip). Neither ever
// makes a window smaller than the size it keeps: only a window that keeps more than the work area
// is reached by scrolling the area.
#include <cstddef>
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

// The same for windows with the given minimum sizes, in the order given. Where the minimums fit
// side by side, one column per window; otherwise the windows go in their order into columns of at
// most k windows one above the other, k the smallest that lets every column fit (a column takes
// fewer where the next window's minimum height would not fit below the others'). Across the
// columns, a column whose widest minimum is above an even share gets that minimum and the others
// share what is left evenly; down a column the windows share its height the same way. The tiles
// then fill the area exactly. Where no stacking fits, the one reaching least far past the area is
// taken with every window at no less than its minimum, and the area scrolls. O(count²) at worst.
std::vector<TileRect> tileSideBySide(const std::vector<TileSize>& minimums, int width, int height);

// A child window as Arrange sees it: the outer size it keeps (what its layout enforces: it never
// becomes smaller) and the outer size at which all of it shows (larger where its content scrolls
// inside it).
struct ArrangedWindow {
    TileSize kept;
    TileSize whole;
};

// Window > "&Arrange": every window's place inside an area of `width` x `height` pixels. Each
// window is tiled at the size that shows all of it, as far as the area holds that, and never
// below the size it keeps. Where they all fit, they are the tiles of tileSideBySide in the order
// given (the active window first). Otherwise, the largest first, a window joins the tiles where
// they all still fit inside the area with it, and the windows that do not fit stand over the
// tiles in a cascade `step` pixels (one title bar) apart, from the left edge one step below the
// top (the top row's title bars stay in view), shortened by their step as far as they keep and
// moved back inside where a step would take them past the edge. Only a window that keeps more
// than the area reaches past it. `cascaded`, when given, receives the indices of the windows in
// the cascade, back to front. O(count³) at worst.
std::vector<TileRect> arrangeInside(const std::vector<ArrangedWindow>& windows, int width, int height,
                                    int step, std::vector<std::size_t>* cascaded = nullptr);

// Window > "&Cascade" for windows of the given sizes and minimum sizes, in the order given (the
// back one first), in an area of `width` x `height` pixels: window i stands `step` pixels (one
// title bar) right of and below window i-1, so every title bar stays in view. Each keeps its size,
// at least its minimum, and shrinks to stay inside the area from its place only as far as its
// minimum allows; a window whose minimum reaches past the area from its step keeps its step, and
// the area scrolls to it (going back to the corner would cover the first window's title bar).
// O(count).
std::vector<TileRect> cascadeKeepingSizes(const std::vector<TileSize>& sizes,
                                          const std::vector<TileSize>& minimums, int width, int height,
                                          int step);

// Where a window of `size` opened beside a window at (`previousX`, `previousY`) goes: one cascade
// step right of and below it, shrunk to stay inside the area as far as its `minimum` allows (a
// window of the default size fills most of the area, and going back to the corner would cover
// the previous window exactly); at the area's top-left corner only when even its minimum would
// reach past the area from that step.
TileRect nextCascadePlace(int previousX, int previousY, TileSize size, TileSize minimum, int width,
                          int height, int step);

}  // namespace kal
