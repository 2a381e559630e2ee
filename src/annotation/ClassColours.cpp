#include "annotation/ClassColours.h"

#include <algorithm>
#include <cmath>

#include "shared/NumberText.h"

namespace kal {

namespace {

// Nearest integer, halves to even.
int roundHalfEven(double v) { return static_cast<int>(std::nearbyint(v)); }

constexpr StoredColour kGreen = storedColour(0, 255, 0);
constexpr StoredColour kWhite = storedColour(255, 255, 255);
constexpr StoredColour kBlack = 0;

bool countsUsable(const ClassColourSettings& s) { return s.AnzKlassenPos >= 1 && s.AnzKlassenNeg >= 1; }

StoredColour colourOf(std::int32_t c, const ClassColourSettings& s) {
    const bool outside = c > s.AnzKlassenPos || c < -s.AnzKlassenNeg;
    if (s.twoColour) {
        const bool even = c % 2 == 0;
        const bool green = c >= 0 ? even : !even;
        return green ? kGreen : kWhite;
    }
    if (outside) {
        if (s.AusserhalbTol) return s.OuterColor;
        return c > 0 ? storedColour(255, 0, 0) : storedColour(0, 0, 255);
    }
    float tf = 0;
    if (c > 0)
        tf = static_cast<float>(static_cast<double>(c) / s.AnzKlassenPos);
    else if (c < 0)
        tf = static_cast<float>(static_cast<double>(c) / s.AnzKlassenNeg);
    const double t = tf;
    int r = 0, g = 0, b = 0;
    if (t < -0.5) {
        g = roundHalfEven(std::fabs(t + 1) * 335);
        b = 255;
    } else if (t < 0) {
        g = roundHalfEven(255 - std::fabs(t) * 200);
        b = roundHalfEven(std::fabs(t) / 0.5 * 255);
    } else if (t == 0) {
        g = 255;
    } else if (t <= 0.5) {
        r = roundHalfEven(t / 0.5 * 255);
        g = roundHalfEven(255 - t * 200);
    } else {
        r = 255;
        g = roundHalfEven(std::fabs(t - 1) * 335);
    }
    return storedColour(r, g, b);
}

}  // namespace

ClassColourSettings classColourSettings(const ScreenProperties& view, bool twoColour) {
    ClassColourSettings s;
    s.AnzKlassenPos = view.AnzKlassenPos;
    s.AnzKlassenNeg = view.AnzKlassenNeg;
    s.AusserhalbTol = view.AusserhalbTol;
    s.OuterColor = view.OuterColor;
    s.twoColour = twoColour;
    return s;
}

std::optional<StoredColour> classColour(std::int32_t toleranceClass, const ClassColourSettings& settings) {
    if (!countsUsable(settings)) return std::nullopt;
    return colourOf(toleranceClass, settings);
}

void colourRows(PointCloud& cloud, const ClassColourSettings& settings) {
    if (!countsUsable(settings)) return;
    // Classes are whole numbers; anything else in the column (a cloud row never classified)
    // rounds, and values beyond the 32-bit range are held at its ends.
    for (std::int32_t row = 1; row <= cloud.count(); ++row) {
        const double stored = cloud(row, cloud::ToleranceClass);
        const double c =
            std::isnan(stored) ? 0.0 : std::clamp(std::nearbyint(stored), -2147483648.0, 2147483647.0);
        cloud(row, cloud::Colour) = static_cast<float>(colourOf(static_cast<std::int32_t>(c), settings));
    }
}

ColourBarGeometry colourBarGeometry(std::int32_t W, std::int32_t H, std::int32_t pos, std::int32_t neg) {
    ColourBarGeometry g;
    g.halfHeight = roundHalfEven(H / 3.0);
    g.width = roundHalfEven(g.halfHeight / 9.0);
    g.bottom = roundHalfEven((H - 2.0 * g.halfHeight) * 2.5);
    const std::int32_t fromRight = std::min(roundHalfEven(W / 7.0), 75);
    g.left = W - fromRight;
    g.rowsPerNegativeClass = neg >= 1 ? roundHalfEven(static_cast<double>(g.halfHeight) / neg) : 0;
    g.rowsPerPositiveClass = pos >= 1 ? roundHalfEven(static_cast<double>(g.halfHeight) / pos) : 0;
    const float labelX = static_cast<float>(g.left - 1.5 * g.width);
    g.minLabel = {labelX, static_cast<float>(g.bottom - g.width / 2.0)};
    g.maxLabel = {labelX, static_cast<float>(g.bottom - 2.0 * g.halfHeight)};
    return g;
}

std::int32_t colourBarColumnWidth(std::int32_t W, std::int32_t H) {
    if (W <= 0 || H <= 0) return 0;
    // Where the bar stands does not depend on the class counts.
    const ColourBarGeometry g = colourBarGeometry(W, H, 1, 1);
    const auto labelLeft = static_cast<std::int32_t>(std::floor(g.minLabel.x));
    return std::clamp(W - labelLeft, 0, W);
}

void drawColourBar(DisplayList& list, std::int32_t W, std::int32_t H, const ClassColourSettings& settings,
                   const ColourBarLabels& labels) {
    if (!countsUsable(settings)) return;
    const ColourBarGeometry g = colourBarGeometry(W, H, settings.AnzKlassenPos, settings.AnzKlassenNeg);
    // Each class a block of rows from x to x + b (right edge exclusive), counted upward from y0.
    std::int32_t rowsDone = 0;
    auto block = [&](std::int32_t rows, StoredColour colour) {
        if (rows > 0) list.add(FilledRect{g.left, g.bottom - rowsDone - rows, g.width, rows, colour});
        rowsDone += rows;
    };
    for (std::int32_t k = 1; k <= settings.AnzKlassenNeg; ++k)
        block(g.rowsPerNegativeClass, colourOf(k - settings.AnzKlassenNeg - 1, settings));
    list.add(FilledRect{g.left, g.bottom - rowsDone, g.width, 1, kBlack});  // the zero mark
    for (std::int32_t k = 1; k <= settings.AnzKlassenPos; ++k)
        block(g.rowsPerPositiveClass, colourOf(k, settings));

    const StoredColour textColour =
        list.background == storedColour(255, 255, 255) ? kBlack : storedColour(192, 192, 192);
    const std::string pattern = decimalsPattern(labels.decimals);
    auto label = [&](PixelPoint at, double value) {
        if (at.x > W || at.y > H) return;  // beyond the picture: no label
        list.add(TextLabel{at, formatNumber(labels.LengthFactor * value, pattern), textColour});
    };
    label(g.minLabel, labels.Min);
    label(g.maxLabel, labels.Max);
}

std::vector<StoredColour> previewStripColumns(std::int32_t s, const ClassColourSettings& settings) {
    std::vector<StoredColour> columns;
    if (!countsUsable(settings) || s < 0) return columns;
    columns.push_back(kBlack);  // element 0, unused
    const std::int32_t perNegative = roundHalfEven((s / 2.0) / settings.AnzKlassenNeg);
    const std::int32_t perPositive = roundHalfEven((s / 2.0) / settings.AnzKlassenPos);
    for (std::int32_t k = 1; k <= settings.AnzKlassenNeg; ++k)
        columns.insert(columns.end(), static_cast<std::size_t>(perNegative),
                       colourOf(k - settings.AnzKlassenNeg - 1, settings));
    columns.back() = kBlack;  // zero mark; on element 0 when no negative column was drawn
    for (std::int32_t k = 1; k <= settings.AnzKlassenPos; ++k)
        columns.insert(columns.end(), static_cast<std::size_t>(perPositive), colourOf(k, settings));
    return columns;
}

}  // namespace kal
