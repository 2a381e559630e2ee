#include "details/TrumpetGraph.h"

#include <algorithm>
#include <cmath>

#include "details/ProgressPump.h"

namespace kal {

namespace {

// Halves to the even neighbour, as the picture's pixel rule asks. Adding and taking away 1.5 * 2^23
// leaves a float of magnitude below 2^22 rounded to a whole number by the processor's own rule
// (to nearest, halves to even), without a library call per pixel. Larger values lie far outside
// the picture; they map to a position left of it.
inline int roundHalfEven(float v) {
    constexpr float kShift = 12582912.0f;
    if (!(std::fabs(v) < 4194304.0f)) return -1;
    // Float arithmetic here is single precision throughout (SSE), and the sum is not reassociated.
    const float shifted = v + kShift;
    return static_cast<int>(shifted - kShift);
}

// Visits the pairs i < j in table order, letting events through between chunks; false on Stop.
template <typename Visit>
bool forEachPair(const DistanceSnapshot& points, platform::ProgressScope& window,
                 platform::ThrottledPump& pump, int& percent, int firstPercent, int lastPercent,
                 Visit visit) {
    const std::int32_t n = points.count();
    const double total = 0.5 * n * (n - 1.0);
    double done = 0;
    constexpr std::int32_t kChunk = 1024;
    for (std::int32_t i = 1; i < n; ++i) {
        for (std::int32_t start = i + 1; start <= n; start += kChunk) {
            const std::int32_t end = std::min(n, start + kChunk - 1);
            for (std::int32_t j = start; j <= end; ++j) {
                float distOcs, deltaS;
                trumpetDistanceAndDeltaS(points, i, j, distOcs, deltaS);
                visit(distOcs, deltaS);
            }
            done += end - start + 1;
            percent = firstPercent + static_cast<int>((lastPercent - firstPercent) * done / total);
            pump.poll();
            if (window.stopRequested()) return false;
        }
    }
    return !window.stopRequested();
}

inline void takeExtremes(TrumpetScale& s, float distOcs, float deltaS) {
    if (distOcs > s.largestDistance) s.largestDistance = distOcs;
    if (deltaS > s.largestDeltaS) s.largestDeltaS = deltaS;
    if (deltaS < s.smallestDeltaS) s.smallestDeltaS = deltaS;
}

void finishScale(TrumpetScale& s, int width, int height) {
    const float m = std::max(std::fabs(s.smallestDeltaS), s.largestDeltaS);
    s.smallestDeltaS = -m;
    s.largestDeltaS = m;
    // No spread, no stretch: the blocks stay on the axis or the zero line.
    s.xs = s.largestDistance > 0 ? static_cast<float>(width - 100) / s.largestDistance : 0.0f;
    const float range = s.largestDeltaS - s.smallestDeltaS;
    s.ys = range > 0 && std::isfinite(range) ? static_cast<float>(height - 100) / range : 0.0f;
    if (!std::isfinite(s.xs)) s.xs = 0;
    if (!std::isfinite(s.ys)) s.ys = 0;
}

void drawAxes(ImageBuffer& picture) {
    const int w = picture.width(), h = picture.height();
    const int zeroRow = roundHalfEven(static_cast<float>(h) / 2);
    if (zeroRow >= 0 && zeroRow < h) {
        std::uint32_t* line = picture.scanLine(zeroRow);
        for (int x = std::max(0, 50); x <= std::min(w - 1, w - 50); ++x) line[x] = kTrumpetAxisPixel;
    }
    for (int y = std::max(0, 50); y <= std::min(h - 1, h - 50); ++y)
        if (50 < w) picture.scanLine(y)[50] = kTrumpetAxisPixel;
}

inline void drawBlock(ImageBuffer& picture, const TrumpetScale& s, float distOcs, float deltaS,
                      float halfHeight) {
    const float x0 = s.xs * distOcs + 50.0f;
    const float y0 = halfHeight - s.ys * deltaS;
    const int w = picture.width(), h = picture.height();
    int xs[3];
    for (int a = 1; a <= 3; ++a) xs[a - 1] = roundHalfEven(x0 + static_cast<float>(a));
    for (int b = 1; b <= 3; ++b) {
        const int y = roundHalfEven(y0 + static_cast<float>(b));
        if (y < 0 || y >= h) continue;
        std::uint32_t* line = picture.scanLine(y);
        for (int x : xs)
            if (x >= 0 && x < w) line[x] = kTrumpetPointPixel;
    }
}

}  // namespace

TrumpetScale trumpetScaleOf(const DistanceSnapshot& points, int width, int height) {
    TrumpetScale s;
    const std::int32_t n = points.count();
    for (std::int32_t i = 1; i < n; ++i)
        for (std::int32_t j = i + 1; j <= n; ++j) {
            float distOcs, deltaS;
            trumpetDistanceAndDeltaS(points, i, j, distOcs, deltaS);
            takeExtremes(s, distOcs, deltaS);
        }
    finishScale(s, width, height);
    return s;
}

bool drawTrumpetGraph(const DistanceSnapshot& points, ImageBuffer& picture, const TrumpetServices& services,
                      const PairExtremes* known) {
    picture.resize(kTrumpetWidth, kTrumpetHeight, 0xFFFFFFFFu);
    platform::ProgressScope window(services.progress, kTrumpetCaption);
    ProgressPump progressPump(window, services.events);
    platform::ThrottledPump pump(&progressPump, services.interval);

    TrumpetScale s;
    if (known) {
        s.largestDistance = known->largestDistOcs;
        s.largestDeltaS = known->largestDeltaS;
        s.smallestDeltaS = known->smallestDeltaS;
    } else if (!forEachPair(points, window, pump, progressPump.percent, 0, 50,
                            [&](float distOcs, float deltaS) { takeExtremes(s, distOcs, deltaS); })) {
        return false;
    }
    finishScale(s, picture.width(), picture.height());
    drawAxes(picture);
    const float halfHeight = static_cast<float>(picture.height()) / 2;
    return forEachPair(
        points, window, pump, progressPump.percent, known ? 0 : 50, 100,
        [&](float distOcs, float deltaS) { drawBlock(picture, s, distOcs, deltaS, halfHeight); });
}

}  // namespace kal
