#include "details/TrumpetGraph.h"

#include <algorithm>
#include <cmath>

namespace kal {

namespace {

// Halves to the even neighbour, as the picture's pixel rule asks.
inline int roundHalfEven(float v) { return static_cast<int>(std::nearbyint(v)); }

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
            for (std::int32_t j = start; j <= end; ++j) visit(trumpetPair(points, i, j));
            done += end - start + 1;
            percent = firstPercent + static_cast<int>((lastPercent - firstPercent) * done / total);
            pump.poll();
            if (window.stopRequested()) return false;
        }
    }
    return !window.stopRequested();
}

class ProgressPump : public platform::EventPump {
  public:
    ProgressPump(platform::ProgressScope& window, platform::EventPump* events)
        : window_(window), events_(events) {}
    void processEvents() override {
        window_.setValue(percent);
        if (events_) events_->processEvents();
    }
    int percent = 0;

  private:
    platform::ProgressScope& window_;
    platform::EventPump* events_;
};

void takeExtremes(TrumpetScale& s, const TrumpetPair& p) {
    if (p.DistOCS > s.largestDistance) s.largestDistance = p.DistOCS;
    if (p.DeltaS > s.largestDeltaS) s.largestDeltaS = p.DeltaS;
    if (p.DeltaS < s.smallestDeltaS) s.smallestDeltaS = p.DeltaS;
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

inline void drawBlock(ImageBuffer& picture, const TrumpetScale& s, const TrumpetPair& p, float halfHeight) {
    const float x0 = s.xs * p.DistOCS + 50.0f;
    const float y0 = halfHeight - s.ys * p.DeltaS;
    const int w = picture.width(), h = picture.height();
    for (int b = 1; b <= 3; ++b) {
        const int y = roundHalfEven(y0 + static_cast<float>(b));
        if (y < 0 || y >= h) continue;
        std::uint32_t* line = picture.scanLine(y);
        for (int a = 1; a <= 3; ++a) {
            const int x = roundHalfEven(x0 + static_cast<float>(a));
            if (x >= 0 && x < w) line[x] = kTrumpetPointPixel;
        }
    }
}

}  // namespace

TrumpetScale trumpetScaleOf(const DistanceSnapshot& points, int width, int height) {
    TrumpetScale s;
    const std::int32_t n = points.count();
    for (std::int32_t i = 1; i < n; ++i)
        for (std::int32_t j = i + 1; j <= n; ++j) takeExtremes(s, trumpetPair(points, i, j));
    finishScale(s, width, height);
    return s;
}

bool drawTrumpetGraph(const DistanceSnapshot& points, ImageBuffer& picture, const TrumpetServices& services) {
    picture.resize(kTrumpetWidth, kTrumpetHeight, 0xFFFFFFFFu);
    platform::ProgressScope window(services.progress, kTrumpetCaption);
    ProgressPump progressPump(window, services.events);
    platform::ThrottledPump pump(&progressPump, services.interval);

    TrumpetScale s;
    if (!forEachPair(points, window, pump, progressPump.percent, 0, 50,
                     [&](const TrumpetPair& p) { takeExtremes(s, p); }))
        return false;
    finishScale(s, picture.width(), picture.height());
    drawAxes(picture);
    const float halfHeight = static_cast<float>(picture.height()) / 2;
    return forEachPair(points, window, pump, progressPump.percent, 50, 100,
                       [&](const TrumpetPair& p) { drawBlock(picture, s, p, halfHeight); });
}

}  // namespace kal
