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
struct TextLabel {
    PixelPoint at;
    std::string text;  // UTF-8
    StoredColour colour = 0;
    bool opaque = false;  // background box in `background` behind the text
    StoredColour background = 0;
    bool operator==(const TextLabel&) const = default;
};

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
