#pragma once
// A redraw's picture as plain primitives in pixel space, in drawing order. The core stages
// (cloud, lines, hiding plane, overlays, axes, stroke digits, colour bar, flag leaders) append
// to it; the graphics window rasterises it into its back buffer, and tests read it or render
// it into an ImageBuffer with rasterise() (DisplayListRaster.h).
//
// Colours are R + 256 G + 65536 B, as the job keeps them. Positions are pixels, x to the right,
// y down, (0, 0) the top-left pixel of the drawing surface.
#include <cstdint>
#include <string>
#include <variant>
#include <vector>

#include "platform/TextMetrics.h"
#include "shared/ImageBuffer.h"

namespace kal {

struct PixelPoint {
    float x = 0;
    float y = 0;
    bool operator==(const PixelPoint&) const = default;
};

// A square of single pixels (2·half + 1)² centred on (x, y), set directly: the small points.
struct PixelSquare {
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::int32_t half = 0;
    StoredColour colour = 0;
    bool operator==(const PixelSquare&) const = default;
};

// A circle; filled when `filled`, its outline `penWidth` pixels wide.
struct Circle {
    PixelPoint centre;
    float radius = 0;
    std::int32_t penWidth = 1;
    StoredColour outline = 0;
    bool filled = false;
    StoredColour fill = 0;
    bool operator==(const Circle&) const = default;
};

// How a line is stroked: the MCS axes are dotted, the quaternion vector dash-dot.
enum class PenStyle : std::uint8_t { Solid, Dot, DashDot };

// A straight line from `from` to `to`, both ends drawn, `penWidth` pixels wide.
struct Segment {
    PixelPoint from;
    PixelPoint to;
    std::int32_t penWidth = 1;
    StoredColour colour = 0;
    PenStyle style = PenStyle::Solid;
    bool operator==(const Segment&) const = default;
};

// A closed polygon, filled when `filled`, outlined when penWidth > 0.
struct Polygon {
    std::vector<PixelPoint> corners;
    std::int32_t penWidth = 1;
    StoredColour outline = 0;
    bool filled = false;
    StoredColour fill = 0;
    bool operator==(const Polygon&) const = default;
};

// A filled axis-aligned rectangle, right and bottom edges exclusive (colour bar cells, boxes).
struct FilledRect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
    StoredColour colour = 0;
    bool operator==(const FilledRect&) const = default;
};

// Text drawn by the window with its font; (x, y) is the top-left corner of the text's box.
// How a text sits in its cell.
enum class TextAlign : std::uint8_t { LeftTop, CentreTop, RightTop, LeftCentre, RightCentre };

struct TextLabel {
    PixelPoint at;
    std::string text;  // UTF-8
    StoredColour colour = 0;
    bool opaque = false;  // background box in `background` behind the text
    StoredColour background = 0;
    // The font; an empty name or a size below 1 takes that part from the window's label font.
    platform::TextFont font{};
    // A cell (both sizes above 0) with its top-left corner at `at`: the text is set inside it,
    // kTextCellInset pixels in from the left and right and 1 from the top and bottom, aligned by
    // `align`, and cut at the cell's edges. Without a cell the text starts at `at`.
    int cellWidth = 0;
    int cellHeight = 0;
    TextAlign align = TextAlign::LeftTop;
    bool operator==(const TextLabel&) const = default;
};
inline constexpr int kTextCellInset = 2;

// The top-left corner of a text of `width` × `height` pixels as `label` sets it.
inline PixelPoint textOrigin(const TextLabel& label, int width, int height) {
    if (label.cellWidth <= 0 || label.cellHeight <= 0) return label.at;
    const float left = label.at.x + kTextCellInset, right = label.at.x + label.cellWidth - kTextCellInset;
    const float top = label.at.y + 1, bottom = label.at.y + label.cellHeight - 1;
    PixelPoint p{left, top};
    switch (label.align) {
        case TextAlign::LeftTop:
            break;
        case TextAlign::CentreTop:
            p.x = (left + right - static_cast<float>(width)) / 2;
            break;
        case TextAlign::RightTop:
            p.x = right - static_cast<float>(width);
            break;
        case TextAlign::LeftCentre:
            p.y = (top + bottom - static_cast<float>(height)) / 2;
            break;
        case TextAlign::RightCentre:
            p.x = right - static_cast<float>(width);
            p.y = (top + bottom - static_cast<float>(height)) / 2;
            break;
    }
    return p;
}

using Primitive = std::variant<PixelSquare, Circle, Segment, Polygon, FilledRect, TextLabel>;

struct DisplayList {
    StoredColour background = storedColour(255, 255, 255);
    std::vector<Primitive> items;

    void clear(StoredColour backgroundColour) {
        background = backgroundColour;
        items.clear();  // keeps the capacity for the next redraw
    }
    template <class T>
    void add(T primitive) {
        items.emplace_back(std::move(primitive));
    }
};

}  // namespace kal
