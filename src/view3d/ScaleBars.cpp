#include "view3d/ScaleBars.h"

#include <algorithm>
#include <cmath>

#include "shared/NumberText.h"
#include "view3d/OverlayInputs.h"
#include "view3d/StandardPalette.h"

namespace kal {

namespace {

// Enough factors of 10 for any finite double; the loop never runs away.
constexpr int kMaxScaleSteps = 700;
// More decimals than a double holds digits would print noise.
constexpr int kMaxLengthDecimals = 17;

// The captions stand at x = 200 and the bars start at x = 400 and keep this much clear of the
// right edge; a window narrower than a full bar needs moves both left, the captions down to the
// column they must keep clear of.
constexpr double kCaptionLeft = 200;
constexpr double kCaptionToBar = 200;
constexpr double kRightMargin = 10;
constexpr double kLongestBar = 300;
constexpr double kShortestBar = 30;
constexpr double kTickHalf = 3;

constexpr double kCaptionGap = 8;  // between a caption and its bar

struct BarRequest {
    std::string prefix;
    double startUnit = 0;
    double pixelsPerStartUnit = 0;
    double labelTop = 0;
    double barRow = 0;
};

void drawBar(DisplayList& list, const BarRequest& bar, const ScaleBarOptions& options, OverlayRoom* room) {
    const double labelTop = bar.labelTop, barRow = bar.barRow;
    if (labelTop < 0 || barRow - kTickHalf < 0) return;  // no row for it above the window's top
    const int surfaceWidth = options.surfaceWidth;
    const double shift =
        std::max(kCaptionLeft + kCaptionToBar + kLongestBar + kRightMargin - surfaceWidth, 0.0);
    const double captionLeft = std::max(kCaptionLeft - shift, options.clearLeft);
    auto captionText = [&](double unit) {
        return bar.prefix + scaleBarLengthText(unit) + " " + options.lengthUnitName;
    };
    auto captionSize = [&](const std::string& text) {
        return options.measure ? options.measure(text) : platform::TextSize{0, 0};
    };
    // The bar ends before the right margin and before anything already placed in its rows.
    double rightEnd = surfaceWidth - kRightMargin;
    if (room) {
        const float bandTop = static_cast<float>(std::min(labelTop, barRow - kTickHalf));
        const float bandBottom = static_cast<float>(
            std::max(labelTop + captionSize(captionText(1)).height, barRow + kTickHalf + 1));
        rightEnd = room->freeUntil(static_cast<float>(captionLeft), {0, bandTop, 1, bandBottom},
                                   static_cast<float>(rightEnd + kRightMargin)) -
                   kRightMargin;
    }
    // The caption's width depends on the length the bar shows, and the bar's room on the
    // caption's width: settle both in a few rounds.
    // Where the 200 pixels before the bar leave it too little room, a measured caption lets the
    // bar start right after it.
    auto barStart = [&](double captionWidth) {
        double start = captionLeft + kCaptionToBar;
        const double afterCaption = captionLeft + captionWidth + kCaptionGap;
        if (options.measure && rightEnd - start < kShortestBar) start = afterCaption;
        return std::max(start, afterCaption);
    };
    double barLeft = barStart(0);
    ScaleBarFit fit;
    std::string text;
    platform::TextSize size;
    for (int round = 0; round < 3; ++round) {
        const double roomForBar = std::min(rightEnd - barLeft, kLongestBar);
        if (!(roomForBar >= kShortestBar)) return;  // no room right of what the caption must keep clear of
        fit = fitScaleBar(bar.startUnit, bar.pixelsPerStartUnit, roomForBar);
        if (!fit.drawn) return;
        text = captionText(fit.unit);
        size = captionSize(text);
        const double wanted = barStart(size.width);
        if (wanted <= barLeft) break;
        barLeft = wanted;
    }
    if (!(barLeft + fit.pixels <= rightEnd + 0.5)) return;
    const OverlayBox captionBox{static_cast<float>(captionLeft), static_cast<float>(labelTop),
                                static_cast<float>(captionLeft + size.width),
                                static_cast<float>(labelTop + size.height)};
    const OverlayBox barBox{static_cast<float>(barLeft), static_cast<float>(barRow - kTickHalf),
                            static_cast<float>(barLeft + fit.pixels + 1),
                            static_cast<float>(barRow + kTickHalf + 1)};
    if (room && !(room->isFree(captionBox) && room->isFree(barBox))) return;
    const StoredColour textColour = list.background == paletteColour(palette::LightRed)
                                        ? paletteColour(palette::Black)
                                        : paletteColour(palette::LightRed);
    list.add(TextLabel{{static_cast<float>(captionLeft), static_cast<float>(labelTop)}, text, textColour});
    const StoredColour colour = paletteColour(palette::LightBlue);
    const auto y = static_cast<float>(barRow);
    const auto left = static_cast<float>(barLeft);
    const auto right = static_cast<float>(barLeft + fit.pixels);
    list.add(Segment{{left, y}, {right, y}, 1, colour});
    list.add(Segment{{left, y + 3}, {left, y - 3}, 1, colour});
    list.add(Segment{{right, y + 3}, {right, y - 3}, 1, colour});
    if (room) {
        room->take(captionBox);
        room->take(barBox);
    }
}

}  // namespace

std::string scaleBarLengthText(double unit) {
    // Three decimals down to 0.1; a shorter length gets as many more as keep three significant
    // digits, so a bar of 0.0001 never reads 0.000.
    int decimals = 3;
    if (unit > 0 && std::isfinite(unit)) {
        const int magnitude = static_cast<int>(std::floor(std::log10(unit) + 1e-9));
        decimals = std::clamp(2 - magnitude, 3, kMaxLengthDecimals);
    }
    return formatNumber(unit, "0." + std::string(static_cast<std::size_t>(decimals), '0'));
}

ScaleBarFit fitScaleBar(double startUnit, double pixelsPerStartUnit, double longest) {
    ScaleBarFit fit{false, pixelsPerStartUnit, startUnit};
    if (!(pixelsPerStartUnit > 0) || !std::isfinite(pixelsPerStartUnit)) return fit;
    if (!(longest > 0) || !std::isfinite(longest)) return fit;
    const double shortest = longest / 10;
    for (int step = 0; step < kMaxScaleSteps; ++step) {
        if (fit.pixels > longest) fit.pixels /= 10, fit.unit /= 10;
        if (fit.pixels < shortest) fit.pixels *= 10, fit.unit *= 10;
        if (fit.pixels >= shortest && fit.pixels <= longest) {
            fit.drawn = std::isfinite(fit.unit) && fit.unit > 0;
            return fit;
        }
    }
    return fit;
}

void drawScaleBars(DisplayList& list, int surfaceHeight, const ScaleBarOptions& options, OverlayRoom* room) {
    const double factor = overlayLengthFactor(options.lengthFactor);
    drawBar(list,
            {"Scale ", 1000, 1000 / factor * options.massstab, surfaceHeight - 65.0, surfaceHeight - 60.0},
            options, room);
    if (options.vectorMode)
        drawBar(list,
                {"Scale Vector ", 0.1, 0.1 / factor * options.vecMassstab, surfaceHeight - 95.0,
                 surfaceHeight - 90.0},
                options, room);
}

}  // namespace kal
