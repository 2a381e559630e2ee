#pragma once
// The trumpet graph (FormTrompete's picture): for every unordered pair of identical points its
// delta s against its OCS distance, as a 3 x 3 dark magenta block on a white 784 x 429 picture
// with a zero line and a vertical axis, no labels.
//
// Mapping, in single precision as the pairs are kept: D is the largest OCS distance, M the larger
// of |smallest delta s| and largest delta s; xs = (W - 100) / D, ys = (H - 100) / (2 M); a pair
// maps to x0 = xs * DistOCS + 50, y0 = H/2 - ys * DeltaS and sets the pixels
// (round(x0 + a), round(y0 + b)) for a, b = 1..3, halves rounded to even. Distance 0 lies on the
// axis x = 50, the largest at x0 = W - 50; +M at y0 = 50, -M at y0 = H - 50. The zero line lies on
// row round(H/2) = 214. When every delta s is 0 (M = 0) the blocks lie on the zero line (ys = 0);
// when all OCS points coincide (D = 0) on the axis (xs = 0). Lengths are millimetres and the axes
// carry no numbers, so the display unit changes nothing.
//
// Cost: two passes over the n(n-1)/2 pairs (extremes, then the blocks; one when the analysis
// handed its extremes), each pair recomputed from the snapshot; 5 * 10^7 pairs at 10^4 points. Pixels are
// written through scan lines and clipped to the picture. The passes let events through at most every
// `interval`, show their progress and end when Stop is pressed.
#include <chrono>
#include <cstdint>

#include "details/DistanceAnalysis.h"
#include "platform/EventPump.h"
#include "platform/Progress.h"
#include "shared/ImageBuffer.h"

namespace kal {

inline constexpr int kTrumpetWidth = 784;   // 11760 twips
inline constexpr int kTrumpetHeight = 429;  // 6435 twips
inline constexpr const char* kTrumpetCaption = "Lengthdeviationdiagramm - Trumpet";

// RGB(128, 0, 128) as a picture pixel.
inline constexpr std::uint32_t kTrumpetPointPixel = ImageBuffer::toPixel(storedColour(128, 0, 128));
inline constexpr std::uint32_t kTrumpetAxisPixel = 0xFF000000u;

struct TrumpetScale {
    float largestDistance = -1e8f;  // D
    float largestDeltaS = -1e8f;    // +M after symmetrising
    float smallestDeltaS = 1e8f;    // -M
    float xs = 0, ys = 0;
};

// The extremes and factors of the pairs of `points` for a picture of width x height.
TrumpetScale trumpetScaleOf(const DistanceSnapshot& points, int width = kTrumpetWidth,
                            int height = kTrumpetHeight);

struct TrumpetServices {
    platform::EventPump* events = nullptr;
    platform::Progress* progress = nullptr;
    std::chrono::milliseconds interval{40};
};

// Draws the whole picture into `picture` (resized to 784 x 429 and cleared to white); false when
// Stop ended the drawing (the picture then is incomplete and not to be shown). `known`, when given,
// are the pairs' extremes as the analysis gathered them, which saves the first pass.
bool drawTrumpetGraph(const DistanceSnapshot& points, ImageBuffer& picture,
                      const TrumpetServices& services = {}, const PairExtremes* known = nullptr);

// The picture of a completed analysis (its pairs and the extremes it gathered).
inline bool drawTrumpetGraph(const DistanceAnalysis& analysis, ImageBuffer& picture,
                             const TrumpetServices& services = {}) {
    return drawTrumpetGraph(analysis.points, picture, services, &analysis.extremes);
}

}  // namespace kal
