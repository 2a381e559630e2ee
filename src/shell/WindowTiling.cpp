#include "shell/WindowTiling.h"

#include <algorithm>

namespace kal {

std::vector<TileRect> tileSideBySide(int count, int width, int height) {
    return tileSideBySide(std::vector<TileSize>(static_cast<std::size_t>(std::max(0, count))), width, height);
}

std::vector<TileRect> tileSideBySide(const std::vector<TileSize>& minimums, int width, int height) {
    std::vector<TileRect> tiles;
    const std::size_t count = minimums.size();
    if (count < 1 || width < 1 || height < 1) return tiles;

    // Windows that need more than an even share take their minimum; the rest share what is left.
    // Each round fixes at least one window or ends, so there are at most `count` rounds.
    std::vector<int> widths(count, 0);
    std::vector<bool> fixed(count, false);
    long long left = width;
    std::size_t open = count;
    for (bool changed = true; changed && open > 0;) {
        changed = false;
        const long long share = left / static_cast<long long>(open);
        for (std::size_t i = 0; i < count; ++i) {
            if (fixed[i] || minimums[i].width <= share) continue;
            widths[i] = minimums[i].width;
            fixed[i] = true;
            left -= minimums[i].width;
            --open;
            changed = true;
        }
    }
    if (open > 0) {
        const long long base = left / static_cast<long long>(open);
        long long extra = left % static_cast<long long>(open);
        for (std::size_t i = 0; i < count; ++i) {
            if (fixed[i]) continue;
            widths[i] = static_cast<int>(base + (extra > 0 ? 1 : 0));
            if (extra > 0) --extra;
        }
    }

    tiles.reserve(count);
    int x = 0;
    for (std::size_t i = 0; i < count; ++i) {
        tiles.push_back({x, 0, widths[i], std::max(height, minimums[i].height)});
        x += widths[i];
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
    int k = 0;
    for (std::size_t i = 0; i < sizes.size(); ++i) {
        const TileSize least = i < minimums.size() ? minimums[i] : TileSize{};
        const int minWidth = std::max(1, least.width), minHeight = std::max(1, least.height);
        if (k > 0 && (k * step + minWidth > width || k * step + minHeight > height)) k = 0;
        const int at = k * step;
        // Its own size, then inside the area from its place, but never below its minimum.
        const int w = std::max(minWidth, std::min(std::max(sizes[i].width, minWidth), width - at));
        const int h = std::max(minHeight, std::min(std::max(sizes[i].height, minHeight), height - at));
        places.push_back({at, at, w, h});
        ++k;
    }
    return places;
}

TileRect nextCascadePlace(int previousX, int previousY, TileSize size, TileSize minimum, int width, int height,
                          int step) {
    const int minWidth = std::max(1, minimum.width), minHeight = std::max(1, minimum.height);
    const int x = previousX + step, y = previousY + step;
    if (x < 0 || y < 0 || x + minWidth > width || y + minHeight > height)
        return {0, 0, size.width, size.height};
    const int w = std::max(minWidth, std::min(size.width, width - x));
    const int h = std::max(minHeight, std::min(size.height, height - y));
    return {x, y, w, h};
}

}  // namespace kal
