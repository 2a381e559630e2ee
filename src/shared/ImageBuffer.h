#pragma once
// A plain 32-bit picture the core can draw into without Qt: pixels are 0xFFRRGGBB, row by row,
// so a window wraps the buffer in a QImage (Format_RGB32) without converting a pixel.
//
// Colours elsewhere in the job (job file, INI file, view records) are stored as one number,
// R + 256 G + 65536 B, so stored files keep their values; toPixel and fromPixel convert between
// the two.
#include <cassert>
#include <cstdint>
#include <vector>

namespace kal {

// R + 256 G + 65536 B, as the job file, the INI file and the point cloud keep colours.
using StoredColour = std::int32_t;

constexpr StoredColour storedColour(int r, int g, int b) { return r + 256 * g + 65536 * b; }

class ImageBuffer {
  public:
    ImageBuffer() = default;
    ImageBuffer(int width, int height, std::uint32_t fill = 0xFFFFFFFFu) { resize(width, height, fill); }

    void resize(int width, int height, std::uint32_t fill = 0xFFFFFFFFu) {
        assert(width >= 0 && height >= 0);
        width_ = width;
        height_ = height;
        pixels_.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), fill);
    }
    void fill(std::uint32_t pixel) { pixels_.assign(pixels_.size(), pixel); }

    int width() const { return width_; }
    int height() const { return height_; }
    bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }

    std::uint32_t* scanLine(int y) {
        assert(y >= 0 && y < height_);
        return pixels_.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width_);
    }
    const std::uint32_t* scanLine(int y) const {
        assert(y >= 0 && y < height_);
        return pixels_.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width_);
    }
    std::uint32_t pixel(int x, int y) const { return scanLine(y)[x]; }
    // Sets one pixel; positions outside the picture are ignored, as a device context clips.
    void setPixel(int x, int y, std::uint32_t pixel) {
        if (contains(x, y)) scanLine(y)[x] = pixel;
    }

    const std::vector<std::uint32_t>& pixels() const { return pixels_; }
    std::uint32_t* data() { return pixels_.data(); }
    const std::uint32_t* data() const { return pixels_.data(); }

    // 0xFFRRGGBB from R + 256 G + 65536 B (bits above the blue byte are ignored).
    static constexpr std::uint32_t toPixel(StoredColour colour) {
        const auto c = static_cast<std::uint32_t>(colour);
        return 0xFF000000u | ((c & 0xFFu) << 16) | (c & 0xFF00u) | ((c >> 16) & 0xFFu);
    }
    static constexpr StoredColour fromPixel(std::uint32_t pixel) {
        return storedColour(static_cast<int>((pixel >> 16) & 0xFFu), static_cast<int>((pixel >> 8) & 0xFFu),
                            static_cast<int>(pixel & 0xFFu));
    }

  private:
    int width_ = 0;
    int height_ = 0;
    std::vector<std::uint32_t> pixels_;
};

}  // namespace kal
