#include "view3d/DisplayListRaster.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace kal {

namespace {

constexpr double kLongestSteppedLine = 1 << 20;

// Dash patterns, in pen widths from the start of a line, bit k for step k: dotted 1 on, 2 off;
// dash-dot 4 on, 2 off, 1 on, 2 off (the proportions of Qt's dotted and dash-dot pens).
struct DashPattern {
    std::uint32_t bits;
    int period;
    bool on(long long step) const { return ((bits >> (step % period)) & 1u) != 0; }
};
constexpr DashPattern kDotted{0b001u, 3};
constexpr DashPattern kDashDotted{0b001001111u, 9};

const DashPattern* dashPattern(PenStyle style) {
    switch (style) {
        case PenStyle::Dot:
            return &kDotted;
        case PenStyle::DashDot:
            return &kDashDotted;
        case PenStyle::Solid:
            break;
    }
    return nullptr;
}

// Nearest integer, halves to even, without a library call: adding and taking off 1.5·2^52
// leaves the value rounded in the default rounding mode.
inline double roundHalfEven(double v) {
    constexpr double kMagic = 6755399441055744.0;
    return std::fabs(v) < 1e15 ? (v + kMagic) - kMagic : v;
}

// Pixel (x, y) is the unit square around the point (x, y): a shape covers a pixel when it
// covers the pixel's centre. Every routine clips to the picture before it loops.
class Rasteriser {
  public:
    explicit Rasteriser(ImageBuffer& image) : image_(image), width_(image.width()), height_(image.height()) {}

    // Pixels x0..x1 of row y (inclusive), clipped.
    void span(int y, double x0, double x1, std::uint32_t pixel) {
        if (y < 0 || y >= height_) return;
        const double lo = std::max(std::ceil(x0), 0.0);
        const double hi = std::min(std::floor(x1), static_cast<double>(width_ - 1));
        if (!(lo <= hi)) return;
        std::uint32_t* line = image_.scanLine(y);
        std::fill(line + static_cast<int>(lo), line + static_cast<int>(hi) + 1, pixel);
    }

    // Rows from ceil(top) to floor(bottom), clipped to the picture.
    bool rows(double top, double bottom, int& first, int& last) const {
        if (!(top <= bottom)) return false;  // also NaN
        const double f = std::max(std::ceil(top), 0.0);
        const double l = std::min(std::floor(bottom), static_cast<double>(height_ - 1));
        if (!(f <= l)) return false;
        first = static_cast<int>(f), last = static_cast<int>(l);
        return true;
    }

    void square(const PixelSquare& s) {
        if (s.half < 0) return;
        const std::uint32_t pixel = ImageBuffer::toPixel(s.colour);
        const double x = s.x, y = s.y, h = s.half;
        int first, last;
        if (!rows(y - h, y + h, first, last)) return;
        for (int row = first; row <= last; ++row) span(row, x - h, x + h, pixel);
    }

    void rect(const FilledRect& r) {
        if (r.width <= 0 || r.height <= 0) return;
        const std::uint32_t pixel = ImageBuffer::toPixel(r.colour);
        const double left = r.left, top = r.top;
        int first, last;
        if (!rows(top, top + r.height - 1.0, first, last)) return;
        for (int row = first; row <= last; ++row) span(row, left, left + r.width - 1.0, pixel);
    }

    // A disc of radius `radius`, or the ring between `inner` and `radius`.
    void disc(double cx, double cy, double radius, double inner, std::uint32_t pixel) {
        if (!std::isfinite(cx) || !std::isfinite(cy) || !(radius >= 0)) return;
        int first, last;
        if (!rows(cy - radius, cy + radius, first, last)) return;
        const double r2 = radius * radius, i2 = inner * inner;
        for (int row = first; row <= last; ++row) {
            const double dy = row - cy;
            const double w = std::sqrt(std::max(r2 - dy * dy, 0.0));
            if (inner > 0 && dy * dy < i2) {
                const double wi = std::sqrt(i2 - dy * dy);
                // Pixels strictly inside the inner circle stay untouched.
                span(row, cx - w, std::nextafter(cx - wi, -INFINITY), pixel);
                span(row, std::nextafter(cx + wi, INFINITY), cx + w, pixel);
            } else {
                span(row, cx - w, cx + w, pixel);
            }
        }
    }

    void circle(const Circle& c) {
        const double r = c.radius;
        if (!(r >= 0) || !std::isfinite(r)) return;
        if (c.filled) disc(c.centre.x, c.centre.y, r, 0, ImageBuffer::toPixel(c.fill));
        if (c.penWidth > 0) {
            const double half = std::max(c.penWidth, 1) / 2.0;
            disc(c.centre.x, c.centre.y, r + half, std::max(r - half, 0.0), ImageBuffer::toPixel(c.outline));
        }
    }

    // Even-odd scan-line fill of a closed polygon.
    void fillPolygon(const PixelPoint* corners, std::size_t n, std::uint32_t pixel) {
        if (n < 3) return;
        double top = INFINITY, bottom = -INFINITY;
        for (std::size_t k = 0; k < n; ++k) {
            if (!std::isfinite(corners[k].x) || !std::isfinite(corners[k].y)) return;
            top = std::min(top, double(corners[k].y)), bottom = std::max(bottom, double(corners[k].y));
        }
        int first, last;
        if (!rows(top, bottom, first, last)) return;
        crossings_.clear();
        for (int row = first; row <= last; ++row) {
            crossings_.clear();
            const double y = row;
            for (std::size_t k = 0; k < n; ++k) {
                const PixelPoint& a = corners[k];
                const PixelPoint& b = corners[(k + 1) % n];
                // Half-open in y so a corner on the row counts once.
                if ((a.y <= y && b.y > y) || (b.y <= y && a.y > y))
                    crossings_.push_back(a.x + (y - a.y) / (double(b.y) - a.y) * (double(b.x) - a.x));
            }
            std::sort(crossings_.begin(), crossings_.end());
            for (std::size_t k = 0; k + 1 < crossings_.size(); k += 2)
                span(row, crossings_[k], crossings_[k + 1], pixel);
        }
    }

    void segment(PixelPoint from, PixelPoint to, int penWidth, std::uint32_t pixel,
                 PenStyle style = PenStyle::Solid) {
        if (!std::isfinite(from.x) || !std::isfinite(from.y) || !std::isfinite(to.x) || !std::isfinite(to.y))
            return;
        const DashPattern* dashes = dashPattern(style);
        if (penWidth <= 1) {
            thinLine(from.x, from.y, to.x, to.y, pixel, dashes);
            return;
        }
        if (dashes) {
            dashedThickLine(from, to, penWidth, pixel, *dashes);
            return;
        }
        // A thick line: the rectangle around it and round ends, as a wide pen draws it.
        const double half = penWidth / 2.0;
        double x0 = from.x, y0 = from.y, x1 = to.x, y1 = to.y;
        if (!clipToPicture(x0, y0, x1, y1, half + 1)) return;
        const double dx = x1 - x0, dy = y1 - y0, length = std::hypot(dx, dy);
        if (length > 0) {
            const double nx = -dy / length * half, ny = dx / length * half;
            const PixelPoint corners[4] = {{float(x0 + nx), float(y0 + ny)},
                                           {float(x1 + nx), float(y1 + ny)},
                                           {float(x1 - nx), float(y1 - ny)},
                                           {float(x0 - nx), float(y0 - ny)}};
            fillPolygon(corners, 4, pixel);
        }
        disc(x0, y0, half, 0, pixel);
        disc(x1, y1, half, 0, pixel);
    }

    // A wide pen with dashes: each run of "on" pen widths drawn as a solid piece. The pattern
    // starts where the line enters the picture.
    void dashedThickLine(PixelPoint from, PixelPoint to, int penWidth, std::uint32_t pixel,
                         const DashPattern& dashes) {
        double x0 = from.x, y0 = from.y, x1 = to.x, y1 = to.y;
        if (!clipToPicture(x0, y0, x1, y1, penWidth + 1.0)) return;
        const double length = std::hypot(x1 - x0, y1 - y0);
        const auto units = static_cast<long long>(std::ceil(length / penWidth));
        const auto at = [&](double d) {
            const double t = length > 0 ? std::min(d / length, 1.0) : 0.0;
            return PixelPoint{static_cast<float>(x0 + t * (x1 - x0)), static_cast<float>(y0 + t * (y1 - y0))};
        };
        for (long long u = 0; u < std::max(units, 1LL); ++u) {
            if (!dashes.on(u)) continue;
            long long end = u;
            while (end + 1 < units && dashes.on(end + 1)) ++end;
            segment(at(double(u) * penWidth), at(double(end + 1) * penWidth), penWidth, pixel);
            u = end;
        }
    }

    void polygon(const Polygon& p) {
        for (const PixelPoint& corner : p.corners)
            if (!std::isfinite(corner.x) || !std::isfinite(corner.y)) return;
        if (p.filled) fillPolygon(p.corners.data(), p.corners.size(), ImageBuffer::toPixel(p.fill));
        if (p.penWidth > 0 && !p.corners.empty()) {
            const std::uint32_t pixel = ImageBuffer::toPixel(p.outline);
            for (std::size_t k = 0; k < p.corners.size(); ++k)
                segment(p.corners[k], p.corners[(k + 1) % p.corners.size()], p.penWidth, pixel);
        }
    }

    void textBox(const TextLabel& t, const platform::TextMetrics& metrics) {
        const platform::TextSize size = metrics.measure(t.text, t.font);
        if (size.width <= 0 || size.height <= 0 || !std::isfinite(t.at.x) || !std::isfinite(t.at.y)) return;
        const PixelPoint origin = textOrigin(t, size.width, size.height);
        const float l = origin.x, top = origin.y, r = l + size.width - 1, b = top + size.height - 1;
        if (t.opaque)
            fillPolygon(std::vector<PixelPoint>{{l, top}, {r, top}, {r, b}, {l, b}}.data(), 4,
                        ImageBuffer::toPixel(t.background));
        const std::uint32_t pixel = ImageBuffer::toPixel(t.colour);
        thinLine(l, top, r, top, pixel), thinLine(r, top, r, b, pixel);
        thinLine(r, b, l, b, pixel), thinLine(l, b, l, top, pixel);
    }

  private:
    // Cohen-Sutherland against the picture grown by `margin`; false when nothing is left. An end
    // moved onto an edge takes that edge's coordinate exactly, so a long horizontal or vertical
    // line keeps its row or column however far away its ends lie.
    bool clipToPicture(double& x0, double& y0, double& x1, double& y1, double margin) const {
        const double xmin = -margin, ymin = -margin, xmax = width_ - 1 + margin, ymax = height_ - 1 + margin;
        enum : int { kLeft = 1, kRight = 2, kTop = 4, kBottom = 8 };
        const auto code = [&](double x, double y) {
            return (x < xmin ? kLeft : x > xmax ? kRight : 0) | (y < ymin ? kTop : y > ymax ? kBottom : 0);
        };
        int c0 = code(x0, y0), c1 = code(x1, y1);
        for (int round = 0; round < 8; ++round) {
            if ((c0 | c1) == 0) return true;
            if ((c0 & c1) != 0) return false;
            const int out = c0 != 0 ? c0 : c1;
            double x, y;
            if (out & (kLeft | kRight)) {
                x = out & kLeft ? xmin : xmax;
                y = y0 + (y1 - y0) * ((x - x0) / (x1 - x0));
            } else {
                y = out & kTop ? ymin : ymax;
                x = x0 + (x1 - x0) * ((y - y0) / (y1 - y0));
            }
            if (out == c0)
                x0 = x, y0 = y, c0 = code(x0, y0);
            else
                x1 = x, y1 = y, c1 = code(x1, y1);
        }
        return (c0 | c1) == 0;
    }

    // One pixel per step along the longer direction, both ends drawn.
    void thinLine(double x0, double y0, double x1, double y1, std::uint32_t pixel,
                  const DashPattern* dashes = nullptr) {
        const auto stepsBetween = [](double ax, double ay, double bx, double by) {
            return std::max(std::fabs(roundHalfEven(bx) - roundHalfEven(ax)),
                            std::fabs(roundHalfEven(by) - roundHalfEven(ay)));
        };
        const auto inside = [&](double x, double y) { return x >= 0 && y >= 0 && x < width_ && y < height_; };
        double steps = stepsBetween(x0, y0, x1, y1);
        double kFirst = 0, kLast = steps;
        if (!inside(x0, y0) || !inside(x1, y1)) {
            // Clipped with the whole line's ends kept as the grid of the steps, so a clipped line
            // lands on the same pixels as the whole one.
            double cx0 = x0, cy0 = y0, cx1 = x1, cy1 = y1;
            if (!clipToPicture(cx0, cy0, cx1, cy1, 1)) return;
            if (steps > kLongestSteppedLine) {
                // Ends far beyond the picture: only the clipped part can be stepped precisely.
                x0 = cx0, y0 = cy0, x1 = cx1, y1 = cy1;
                steps = kLast = stepsBetween(x0, y0, x1, y1);
            } else if (steps > 0) {
                const double dx = x1 - x0, dy = y1 - y0;
                const bool alongX = std::fabs(dx) >= std::fabs(dy);
                const double a = alongX ? (cx0 - x0) / dx : (cy0 - y0) / dy;
                const double b = alongX ? (cx1 - x0) / dx : (cy1 - y0) / dy;
                kFirst = std::max(0.0, std::floor(std::min(a, b) * steps) - 1);
                kLast = std::min(steps, std::ceil(std::max(a, b) * steps) + 1);
            }
        }
        if (steps == 0) {
            setPixel(roundHalfEven(x0), roundHalfEven(y0), pixel);
            return;
        }
        const double sx = (x1 - x0) / steps, sy = (y1 - y0) / steps;
        if (dashes) {
            for (double k = kFirst; k <= kLast; ++k)
                if (dashes->on(static_cast<long long>(k)))
                    setPixel(roundHalfEven(x0 + sx * k), roundHalfEven(y0 + sy * k), pixel);
            return;
        }
        for (double k = kFirst; k <= kLast; ++k)
            setPixel(roundHalfEven(x0 + sx * k), roundHalfEven(y0 + sy * k), pixel);
    }

    void setPixel(double x, double y, std::uint32_t pixel) {
        if (x >= 0 && y >= 0 && x < width_ && y < height_)
            image_.scanLine(static_cast<int>(y))[static_cast<int>(x)] = pixel;
    }

    ImageBuffer& image_;
    int width_, height_;
    std::vector<double> crossings_;
};

struct Draw {
    Rasteriser& raster;
    const RasterOptions& options;
    void operator()(const PixelSquare& s) const { raster.square(s); }
    void operator()(const Circle& c) const { raster.circle(c); }
    void operator()(const Segment& s) const {
        raster.segment(s.from, s.to, s.penWidth, ImageBuffer::toPixel(s.colour), s.style);
    }
    void operator()(const Polygon& p) const { raster.polygon(p); }
    void operator()(const FilledRect& r) const { raster.rect(r); }
    void operator()(const TextLabel& t) const {
        if (options.textBoxes) raster.textBox(t, *options.textBoxes);
    }
};

}  // namespace

void rasterise(const DisplayList& list, ImageBuffer& image, const RasterOptions& options) {
    if (options.fillBackground) image.fill(ImageBuffer::toPixel(list.background));
    if (image.width() <= 0 || image.height() <= 0) return;
    Rasteriser raster(image);
    const Draw draw{raster, options};
    for (const Primitive& item : list.items) std::visit(draw, item);
}

void rasterise(const Primitive& item, ImageBuffer& image, const RasterOptions& options) {
    if (image.width() <= 0 || image.height() <= 0) return;
    Rasteriser raster(image);
    std::visit(Draw{raster, options}, item);
}

}  // namespace kal
