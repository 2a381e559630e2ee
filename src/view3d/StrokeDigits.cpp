#include "view3d/StrokeDigits.h"

#include <cmath>
#include <cstdint>
#include <utility>

#include "shared/NumberText.h"
#include "view3d/PixelRound.h"

namespace kal {

namespace {

constexpr std::array<std::pair<int, int>, 7> kTemplate = {
    {{0, 0}, {2, 1}, {6, 1}, {2, 4}, {6, 4}, {2, 7}, {6, 7}}};

// Up to five strokes between anchors, in drawing order.
struct Glyph {
    int count = 0;
    std::array<std::pair<int, int>, 5> stroke{};
};

const Glyph* glyphOf(char c) {
    static const Glyph kDigits[10] = {
        {4, {{{1, 2}, {2, 6}, {6, 5}, {5, 1}}}},          // 0
        {1, {{{6, 2}}}},                                  // 1: the right-hand vertical
        {5, {{{1, 2}, {2, 4}, {4, 3}, {3, 5}, {5, 6}}}},  // 2
        {4, {{{1, 2}, {2, 6}, {6, 5}, {3, 4}}}},          // 3
        {3, {{{2, 6}, {3, 1}, {3, 4}}}},                  // 4
        {5, {{{1, 2}, {1, 3}, {6, 5}, {4, 6}, {3, 4}}}},  // 5
        {5, {{{1, 2}, {4, 6}, {6, 5}, {5, 1}, {3, 4}}}},  // 6
        {3, {{{1, 2}, {2, 6}, {3, 1}}}},                  // 7: with the short upper-left stroke
        {5, {{{1, 2}, {2, 6}, {6, 5}, {5, 1}, {3, 4}}}},  // 8
        {5, {{{1, 2}, {2, 6}, {6, 5}, {3, 1}, {3, 4}}}},  // 9
    };
    static const Glyph kMinus = {1, {{{3, 4}}}};
    if (c >= '0' && c <= '9') return &kDigits[c - '0'];
    if (c == '-') return &kMinus;
    return nullptr;
}

// The glyph rotation and the pen advance convert degrees with slightly different constants;
// both are kept so labels land on the same pixels as before.
constexpr double kGlyphDegreesPerRadian = 180.0 / 3.1415926535;
constexpr double kAdvanceDegreesPerRadian = 57.2957;

}  // namespace

std::int32_t strokePenWidth(double m) {
    if (!(m >= 1)) return 1;
    const double w = roundHalfEven(m);
    return w > 1e6 ? 1000000 : static_cast<std::int32_t>(w);
}

StrokeAnchors strokeAnchors(double x, double y, double m, double winkel) {
    StrokeAnchors a;
    a.penWidth = strokePenWidth(m);
    std::array<double, 7> px{}, py{};
    for (int k = 1; k <= 6; ++k) px[k] = kTemplate[k].first, py[k] = kTemplate[k].second;
    if (m != 1)
        for (int k = 1; k <= 6; ++k) px[k] = roundHalfEven(px[k] * m), py[k] = roundHalfEven(py[k] * m);
    if (winkel != 0) {
        const double w = winkel / kGlyphDegreesPerRadian;
        const double c = std::cos(w), s = std::sin(w);
        for (int k = 1; k <= 6; ++k) {
            const double rx = roundHalfEven(px[k] * c - py[k] * s);
            const double ry = roundHalfEven(px[k] * s + py[k] * c);
            px[k] = rx, py[k] = ry;
        }
    }
    for (int k = 1; k <= 6; ++k)
        a.point[k] = {static_cast<float>(roundHalfEven(px[k] + x)),
                      static_cast<float>(roundHalfEven(py[k] + y))};
    return a;
}

bool drawStrokeGlyph(DisplayList& list, char c, double x, double y, double m, double winkel,
                     StoredColour colour) {
    if (c == '.') {
        const StrokeAnchors a = strokeAnchors(x, y, m, winkel);
        list.add(Circle{a.point[5], static_cast<float>(0.3 * m), a.penWidth, colour, true, colour});
        return true;
    }
    const Glyph* glyph = glyphOf(c);
    if (!glyph) return false;
    const StrokeAnchors a = strokeAnchors(x, y, m, winkel);
    for (int k = 0; k < glyph->count; ++k) {
        const auto [from, to] = glyph->stroke[static_cast<std::size_t>(k)];
        list.add(Segment{a.point[from], a.point[to], a.penWidth, colour});
    }
    return true;
}

void drawStrokeText(DisplayList& list, std::string_view text, double& x, double& y, double m, double winkel,
                    StoredColour colour) {
    const double w = winkel / kAdvanceDegreesPerRadian;
    const double c = std::cos(w), s = std::sin(w);
    for (const char ch : text) {
        drawStrokeGlyph(list, ch, x, y, m, winkel, colour);
        if (ch == '.') x -= 4 * m * c, y -= 4 * m * s;  // the point is narrow: it takes 2·M in all
        x += 6 * m * c;
        y += 6 * m * s;
    }
}

void drawStrokeNumber(DisplayList& list, double number, std::string_view pattern, double& x, double& y,
                      double m, double winkel, StoredColour colour, StrokeSurface surface) {
    if (!std::isfinite(number) || !std::isfinite(x) || !std::isfinite(y)) return;
    if (std::fabs(x) > 1.1 * surface.width || std::fabs(y) > 1.1 * surface.height) return;
    drawStrokeText(list, formatNumber(number, pattern, '.'), x, y, m, winkel, colour);
}

}  // namespace kal
