#pragma once
// Zooming a view about a fixed pixel: the world point under (cx, cy) stays where it is.
// OffsetY counts from the bottom edge upwards (pixel row = height − (coordinate × Massstab +
// OffsetY)), so the row is turned round first. The three members are single precision.
#include <cmath>

#include "shared/ViewRecords.h"

namespace kal {

// Massstab stays inside this range in every zoom path: beyond it single precision runs into
// infinity or denormals after a few hundred steps and the overlays stop making sense.
inline constexpr double kMinMassstab = 1e-9;
inline constexpr double kMaxMassstab = 1e9;

inline double clampMassstab(double m) {
    return m < kMinMassstab ? kMinMassstab : (m > kMaxMassstab ? kMaxMassstab : m);
}

// Zooms by `factor` (new Massstab = Massstab × factor, clamped) about the pixel (cx, cy) of a
// surface `height` pixels high. The factor actually applied after clamping moves the offsets,
// so the fixed pixel really stays fixed. Returns false, changing nothing, when the zoom is not
// finite and positive.
inline bool zoomAboutPixel(ScreenProperties& view, double cx, double cy, double factor, int height) {
    const double m = view.Massstab;
    if (!(m > 0) || !std::isfinite(m) || !(factor > 0) || !std::isfinite(factor)) return false;
    const double target = clampMassstab(m * factor);
    const double f = target / m;
    const double rowUp = height - cy;
    view.OffsetX = static_cast<float>(cx - (cx - view.OffsetX) * f);
    view.OffsetY = static_cast<float>(rowUp - (rowUp - view.OffsetY) * f);
    view.Massstab = static_cast<float>(target);
    return true;
}

}  // namespace kal
