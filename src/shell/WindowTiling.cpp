#include "shell/WindowTiling.h"

#include <algorithm>

namespace kal {

std::vector<TileRect> tileSideBySide(int count, int width, int height) {
    return tileSideBySide(std::vector<TileSize>(static_cast<std::size_t>(std::max(0, count))), width, height);
}

namespace {

// Lengths along one direction for items with the given minimums sharing `total`: an item whose
// minimum is above an even share gets its minimum, the others share what is left evenly (the
// pixels that do not divide go one each to the first of them). Never below a minimum, so the
// lengths add up to more than `total` where the minimums do. Each round fixes at least one item
// or ends, so there are at most `count` rounds: O(count²) at worst.
std::vector<int> shareWithMinimums(const std::vector<int>& minimums, int total) {
    const std::size_t count = minimums.size();
    std::vector<int> lengths(count, 0);
    std::vector<bool> fixed(count, false);
    long long left = total;
    std::size_t open = count;
    for (bool changed = true; changed && open > 0;) {
        changed = false;
        const long long share = left / static_cast<long long>(open);
        for (std::size_t i = 0; i < count; ++i) {
            if (fixed[i] || minimums[i] <= share) continue;
            lengths[i] = minimums[i];
            fixed[i] = true;
            left -= minimums[i];
            --open;
            changed = true;
        }
    }
    if (open > 0) {
        const long long base = left / static_cast<long long>(open);
        long long extra = left % static_cast<long long>(open);
        for (std::size_t i = 0; i < count; ++i) {
            if (fixed[i]) continue;
            lengths[i] = static_cast<int>(base + (extra > 0 ? 1 : 0));
            if (extra > 0) --extra;
        }
    }
    return lengths;
}

// Windows first .. first + count - 1, one above the other.
struct Column {
    std::size_t first = 0, count = 0;
    long long minWidth = 0, minHeight = 0;
};

// The windows in their order into columns of at most `perColumn` windows each; a column ends
// early where the next window's minimum height would not fit below the others' in `height`.
std::vector<Column> stackIntoColumns(const std::vector<TileSize>& minimums, std::size_t perColumn,
                                     int height) {
    std::vector<Column> columns;
    for (std::size_t i = 0; i < minimums.size(); ++i) {
        const int w = std::max(0, minimums[i].width), h = std::max(0, minimums[i].height);
        if (columns.empty() || columns.back().count >= perColumn || columns.back().minHeight + h > height)
            columns.push_back({i, 0, 0, 0});
        Column& c = columns.back();
        ++c.count;
        c.minWidth = std::max<long long>(c.minWidth, w);
        c.minHeight += h;
    }
    return columns;
}

// How far the columns at their minimums reach past the area: 0 when they fit.
long long overflowOf(const std::vector<Column>& columns, int width, int height) {
    long long totalWidth = 0, pastBottom = 0;
    for (const Column& c : columns) {
        totalWidth += c.minWidth;
        pastBottom = std::max(pastBottom, c.minHeight - height);
    }
    return std::max(0LL, totalWidth - width) + pastBottom;
}

// Side by side where the minimums allow it, else the fewest windows above one another that lets
// every column fit; where nothing fits, the stacking that reaches least far past (`overflow` then
// tells how far).
std::vector<Column> planColumns(const std::vector<TileSize>& minimums, int width, int height,
                                long long* overflow = nullptr) {
    std::vector<Column> columns;
    long long leastOverflow = -1;
    for (std::size_t perColumn = 1; perColumn <= minimums.size(); ++perColumn) {
        std::vector<Column> candidate = stackIntoColumns(minimums, perColumn, height);
        const long long past = overflowOf(candidate, width, height);
        if (leastOverflow < 0 || past < leastOverflow) {
            columns = std::move(candidate);
            leastOverflow = past;
        }
        if (past == 0) break;
    }
    if (overflow) *overflow = std::max(0LL, leastOverflow);
    return columns;
}

}  // namespace

std::vector<TileRect> tileSideBySide(const std::vector<TileSize>& minimums, int width, int height) {
    std::vector<TileRect> tiles;
    const std::size_t count = minimums.size();
    if (count < 1 || width < 1 || height < 1) return tiles;
    const std::vector<Column> columns = planColumns(minimums, width, height);

    std::vector<int> columnMinimums;
    for (const Column& c : columns) columnMinimums.push_back(static_cast<int>(c.minWidth));
    const std::vector<int> widths = shareWithMinimums(columnMinimums, width);
    tiles.reserve(count);
    int x = 0;
    for (std::size_t k = 0; k < columns.size(); ++k) {
        std::vector<int> heightMinimums;
        for (std::size_t i = 0; i < columns[k].count; ++i)
            heightMinimums.push_back(std::max(0, minimums[columns[k].first + i].height));
        const std::vector<int> heights = shareWithMinimums(heightMinimums, height);
        int y = 0;
        for (int h : heights) {
            tiles.push_back({x, y, widths[k], h});
            y += h;
        }
        x += widths[k];
    }
    return tiles;
}

std::vector<TileRect> cascadeKeepingSizes(const std::vector<TileSize>& sizes,
                                          const std::vector<TileSize>& minimums, int width, int height,
                                          int step) {
    std::vector<TileRect> places;
    if (width < 1 || height < 1) return places;
    step = std::max(0, step);
    places.reserve(sizes.size());
    // Each window keeps its own step: one going back to the corner would lie on the first window's
    // title bar, and a window moved up from its step on the title bars of those before it.
    for (std::size_t i = 0; i < sizes.size(); ++i) {
        const TileSize least = i < minimums.size() ? minimums[i] : TileSize{};
        const int minWidth = std::max(1, least.width), minHeight = std::max(1, least.height);
        const int at = static_cast<int>(std::min<long long>(static_cast<long long>(i) * step, 1 << 24));
        // Its own size, then inside the area from its place, but never below its minimum.
        const int w = std::max(minWidth, std::min(std::max(sizes[i].width, minWidth), width - at));
        const int h = std::max(minHeight, std::min(std::max(sizes[i].height, minHeight), height - at));
        places.push_back({at, at, w, h});
    }
    return places;
}

std::vector<TileRect> arrangeInside(const std::vector<ArrangedWindow>& windows, int width, int height,
                                    int step, std::vector<std::size_t>* cascaded) {
    std::vector<TileRect> places;
    if (cascaded) cascaded->clear();
    if (windows.empty() || width < 1 || height < 1) return places;
    step = std::max(0, step);

    // What each window is tiled at: the size that shows all of it, as far as the area holds that,
    // and never less than what the window keeps.
    std::vector<TileSize> wanted;
    wanted.reserve(windows.size());
    for (const ArrangedWindow& w : windows) {
        const int keptWidth = std::max(1, w.kept.width), keptHeight = std::max(1, w.kept.height);
        wanted.push_back({std::max(keptWidth, std::min(std::max(w.whole.width, keptWidth), width)),
                          std::max(keptHeight, std::min(std::max(w.whole.height, keptHeight), height))});
    }

    // Where they do not all fit in their order, the largest come first: each window joins the
    // tiling where the tiling still fits with it. The largest then stand alone in the columns at
    // the left, and the cascade over them covers none of the tiles' title bars.
    std::vector<std::size_t> order(windows.size());
    for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
    long long overflow = 0;
    planColumns(wanted, width, height, &overflow);
    if (overflow > 0)
        std::stable_sort(order.begin(), order.end(), [&wanted](std::size_t a, std::size_t b) {
            return static_cast<long long>(wanted[a].width) * wanted[a].height >
                   static_cast<long long>(wanted[b].width) * wanted[b].height;
        });
    std::vector<std::size_t> tiled, stacked;
    std::vector<TileSize> tiledSizes;
    for (std::size_t i : order) {
        tiledSizes.push_back(wanted[i]);
        planColumns(tiledSizes, width, height, &overflow);
        if (overflow == 0) {
            tiled.push_back(i);
        } else {
            tiledSizes.pop_back();
            stacked.push_back(i);
        }
    }
    std::sort(stacked.begin(), stacked.end());  // the cascade in the windows' own order

    places.resize(windows.size());
    const std::vector<TileRect> tiles = tileSideBySide(tiledSizes, width, height);
    for (std::size_t k = 0; k < tiled.size(); ++k) places[tiled[k]] = tiles[k];
    // The rest one title bar apart, the first one title bar below the top, so that the title bars
    // of the tiles along the top stay in view. Each is as large as it is tiled at, less what would
    // reach past the area from its step (never below what it keeps), and is moved back inside
    // where even that does not fit.
    for (std::size_t k = 0; k < stacked.size(); ++k) {
        const ArrangedWindow& window = windows[stacked[k]];
        const TileSize size = wanted[stacked[k]];
        const long long left = static_cast<long long>(k) * step, top = left + (tiled.empty() ? 0 : step);
        const int w = static_cast<int>(std::max<long long>(std::max(1, window.kept.width),
                                                           std::min<long long>(size.width, width - left)));
        const int h = static_cast<int>(std::max<long long>(std::max(1, window.kept.height),
                                                           std::min<long long>(size.height, height - top)));
        const int x = static_cast<int>(std::clamp<long long>(left, 0, std::max(0, width - w)));
        const int y = static_cast<int>(std::clamp<long long>(top, 0, std::max(0, height - h)));
        places[stacked[k]] = {x, y, w, h};
    }
    if (cascaded) *cascaded = std::move(stacked);
    return places;
}

TileRect nextCascadePlace(int previousX, int previousY, TileSize size, TileSize minimum, int width,
                          int height, int step) {
    const int minWidth = std::max(1, minimum.width), minHeight = std::max(1, minimum.height);
    const int x = previousX + step, y = previousY + step;
    if (x < 0 || y < 0 || x + minWidth > width || y + minHeight > height)
        return {0, 0, size.width, size.height};
    const int w = std::max(minWidth, std::min(size.width, width - x));
    const int h = std::max(minHeight, std::min(size.height, height - y));
    return {x, y, w, h};
}

}  // namespace kal
