#include "shell/WindowTiling.h"

namespace kal {

std::vector<TileRect> tileSideBySide(int count, int width, int height) {
    std::vector<TileRect> tiles;
    if (count < 1 || width < 1 || height < 1) return tiles;
    tiles.reserve(static_cast<std::size_t>(count));
    const int base = width / count;
    const int extra = width % count;
    int x = 0;
    for (int i = 0; i < count; ++i) {
        const int w = base + (i < extra ? 1 : 0);
        tiles.push_back({x, 0, w, height});
        x += w;
    }
    return tiles;
}

}  // namespace kal
